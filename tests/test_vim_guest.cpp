// Guest operations through the web-services client. The endpoint's guest managers implement only the file transfers,
// which need a container runtime it lacks: there each request goes out and the server's fault comes back. Listings,
// transfers and processes are read from a loopback vCenter of our own answering as the API defines them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "Endpoint.h"
#include "FakeVcenter.h"

using namespace visdktest;
using Request = Responder::Request;
namespace fs = std::filesystem;

namespace {

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class VimGuest : public EndpointVmTest {
protected:
    VimGuest() : EndpointVmTest("DC0_H0_VM0") {}
};

TEST_F(VimGuest, EachRequestGoesOutAndTheServersFaultComesBack)
{
    auto missing = [&](const char* kind, const char* type, const char* method) {
        return std::string(type) + ":" + server.Property("GuestOperationsManager", "guestOperationsManager", kind) + " does not implement: " + method;
    };
    const std::string unavailable = "The guest operations agent could not be contacted.", local = fs::temp_directory_path() / ("visdk-" + std::to_string(getpid()));
    std::ofstream(local) << "payload";
    ASSERT_EQ(Get("guest.toolsRunningStatus"), "guestToolsNotRunning");
    std::vector<VMInfoStructs::SGuestFile> list;
    std::string folder, dir = "/tmp/x", root = "/";
    int result = 0;
    bool running = false;
    unsigned long long size = 0;
    auto& b = *bridge;
    const std::string u = "root", p = "guestpass";
    const std::tuple<std::function<bool()>, std::string> cases[] = {
        {[&] { return b.BrowseGuestFolders(vm, "", u, p, "/etc", list); }, missing("fileManager", "GuestFileManager", "ListFilesInGuest")},
        {[&] { return b.CreateGuestFolder(vm, "", u, p, dir); }, missing("fileManager", "GuestFileManager", "MakeDirectoryInGuest")},
        {[&] { return b.DeleteDirectoryInGuest(vm, "", u, p, dir); }, missing("fileManager", "GuestFileManager", "DeleteDirectoryInGuest")},
        {[&] { return b.CopyFileFromGuest(vm, "", u, p, "/etc/hosts", local + ".from"); }, unavailable},
        {[&] { return b.CopyFileToGuest(vm, "", u, p, local, "/tmp/hosts", true); }, unavailable},
        {[&] { return b.ExecuteScriptInGuest(vm, "", u, p, "exit 3", "", "", 10, "", result); }, missing("fileManager", "GuestFileManager", "CreateTemporaryFileInGuest")},
        {[&] { return b.ExecuteProcessInGuest(vm, "", u, p, "/bin/true", "", "", 10, result); }, missing("processManager", "GuestProcessManager", "StartProgramInGuest")},
        {[&] { return b.IsProcessRunningInGuest(vm, "", u, p, "", 1, running); }, missing("processManager", "GuestProcessManager", "ListProcessesInGuest")},
        {[&] { return b.GetGuestTempFolder(vm, "", u, p, folder); }, missing("fileManager", "GuestFileManager", "CreateTemporaryDirectoryInGuest")},
        {[&] { return b.ChangeGuestFileAttributes(vm, "", u, p, dir, {}); }, missing("fileManager", "GuestFileManager", "ChangeFileAttributesInGuest")},
        {[&] { return b.ComputeGuestSize(vm, "", size); }, "Cannot complete operation because VMware Tools is not running in this virtual machine."},
        // Refused before anything goes out.
        {[&] { return b.BrowseGuest(vm, "", u, p, "", list); }, "A specified parameter was not correct: path"},
        {[&] { return b.DeleteDirectoryInGuest(vm, "", u, p, root); }, "A specified parameter was not correct: directoryPath"},
        {[&] { return b.CopyFileToGuest(vm, "", u, p, local + ".none", dir, true); }, "The local file " + local + ".none was not found"},
    };
    for (const auto& [call, error] : cases) {
        EXPECT_FALSE(call()) << error;
        EXPECT_EQ(bridge->GetLastErrorString(), error);
    }
    EXPECT_FALSE(fs::exists(local + ".from"));
    fs::remove(local);
}

// guest-vm (vm-9) runs its tools. Listings come two entries a page. A started program gets pid 4242 and has ended with
// status 3 at its second listing, but /bin/sleep (pid 99) runs on. The transfer URLs name the server "*".
class VimGuestAnswers : public ::testing::Test {
protected:
    VimGuestAnswers()
    {
        server.Put("VirtualMachine", "vm-9", "name", FakeVcenter::Val("xsd:string", "guest-vm"));
        bridge = server.Connected();
    }
    bool Answer(const Request& request, Responder::Reply& reply)
    {
        const std::string& m = request.soapMethod;
        std::string answer, pid = XmlText(request.body, "pids");
        if (m.empty()) {
            reply.body = request.method == "GET" && request.path == "/guestFile?id=1&token=t" ? content : "";
            return true;
        } else if (m == "ListFilesInGuest") {
            size_t index = std::stoul(XmlText(request.body, "index"));
            for (size_t i = index; i < listing.size() && i < index + 2; ++i)
                answer += listing[i];
            answer = "<returnval>" + answer + "<remaining>" + std::to_string(listing.size() - std::min(listing.size(), index + 2)) + "</remaining></returnval>";
        } else if (m == "InitiateFileTransferFromGuest") {
            answer = "<returnval><size>12</size><url>http://*/guestFile?id=1&amp;token=t</url></returnval>";
        } else if (m == "InitiateFileTransferToGuest") {
            answer = "<returnval>http://*:" + Url().substr(17, Url().size() - 21) + "/guestFile?id=2&amp;token=u</returnval>";
        } else if (m == "StartProgramInGuest") {
            listed = 0;
            answer = std::string("<returnval>") + (XmlText(request.body, "programPath") == "/bin/sleep" ? "99" : "4242") + "</returnval>";
        } else if (m == "ListProcessesInGuest" && (pid == "4242" || pid == "99")) {
            answer = "<returnval><name>" + std::string(pid == "99" ? "sleep</name><pid>99</pid><owner>u</owner><cmdLine>/bin/sleep 600" :
                     "backup-agent</name><pid>4242</pid><owner>u</owner><cmdLine>/usr/bin/backup-agent --once") + "</cmdLine><startTime>2024-06-03T09:00:00Z"
                     "</startTime>" + (pid == "4242" && ++listed >= 2 ? "<endTime>2024-06-03T09:00:05Z</endTime><exitCode>3</exitCode>" : "") + "</returnval>";
        } else if (m == "CreateTemporaryFileInGuest" || m == "CreateTemporaryDirectoryInGuest") {
            answer = m == "CreateTemporaryFileInGuest" ? "<returnval>/tmp/visdk-1.sh</returnval>" : "<returnval>/var/tmp/visdk-2</returnval>";
        } else if (m != "ListProcessesInGuest" && m.find("Guest") == std::string::npos) {
            return false;
        }
        if (request.body.find("<password>wrong</password>") != std::string::npos)
            reply.status = 500, reply.body = Responder::Fault("InvalidGuestLogin", "");
        else
            reply.body = Responder::Response(m, answer);
        return true;
    }
    std::string Url() const { return server.Url(); }
    std::string Sent(const std::string& method, size_t at = 0) const { return server.Calls(method).at(at).body; }

    const std::string user = "backup", password = "p<w", content = std::string("guest\0bytes\n", 12);
    const std::vector<std::string> listing = {
        "<files><path>.</path><type>directory</type><size>4096</size></files>", "<files><path>..</path><type>directory</type><size>4096</size></files>",
        "<files><path>a.txt</path><type>file</type><size>5</size><attributes xsi:type=\"GuestPosixFileAttributes\"><modificationTime>2024-06-03T09:00:00Z"
        "</modificationTime><accessTime>2024-06-04T10:30:00.123456789Z</accessTime><ownerId>1000</ownerId><groupId>100</groupId><permissions>420"
        "</permissions></attributes></files>",
        "<files><path>sub</path><type>directory</type><size>4096</size></files>", "<files><path>link</path><type>symlink</type><size>7</size></files>",
    };
    int listed = 0;
    FakeVcenter server{[this](FakeVcenter&, const Request& request, Responder::Reply& reply) { return Answer(request, reply); }};
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
};

TEST_F(VimGuestAnswers, ListingsPageUntilNoneRemainAndFilesTravelThroughTheServersUrls)
{
    std::vector<VMInfoStructs::SGuestFile> files, folders;
    ASSERT_TRUE(bridge->BrowseGuest("guest-vm", "", user, password, "/data", files)) << bridge->GetLastErrorString();
    ASSERT_EQ(files.size(), 3u) << "'.' and '..' left out";
    const VMInfoStructs::SGuestFile& a = files[0];
    EXPECT_EQ(std::make_tuple(a.name, a.size, a.type, a.modifiedTime, a.accessTime, a.createTime, a.unixUserId, a.unixGroupId, a.unixMode),
              std::make_tuple(std::string("a.txt"), 5L, 0, 1717405200L, 1717497000L, 0L, 1000, 100, 0644));
    EXPECT_EQ(files[1].type, 1);
    EXPECT_EQ(files[2].type, 0) << "a link is no folder";
    EXPECT_EQ(XmlTexts(Sent("ListFilesInGuest", 0) + Sent("ListFilesInGuest", 1) + Sent("ListFilesInGuest", 2), "index"), (std::vector<std::string>{"0", "2", "4"}));
    EXPECT_NE(Sent("ListFilesInGuest").find("<_this type=\"GuestFileManager\">files</_this><vm type=\"VirtualMachine\">vm-9</vm><auth xsi:type="
                                            "\"NamePasswordAuthentication\"><interactiveSession>false</interactiveSession><username>backup</username>"
                                            "<password>p&lt;w</password></auth><filePath>/data</filePath>"),
              std::string::npos);
    ASSERT_TRUE(bridge->BrowseGuestFolders("guest-vm", "", user, password, "/data", folders));
    EXPECT_EQ(Sorted(folders, &VMInfoStructs::SGuestFile::name), std::vector<std::string>{"sub"});

    const std::string local = fs::temp_directory_path() / ("visdk-guest-" + std::to_string(getpid()));
    ASSERT_TRUE(bridge->CopyFileFromGuest("vm-9", "", user, password, "/etc/data.bin", local)) << bridge->GetLastErrorString();
    EXPECT_EQ(ReadWholeFile(local), content);
    std::ofstream(local, std::ios::binary | std::ios::trunc) << std::string(3 << 20, 'x') << content;
    ASSERT_TRUE(bridge->CopyFileToGuest("vm-9", "", user, password, local, "/tmp/up load", false)) << bridge->GetLastErrorString();
    EXPECT_EQ(server.Calls("").back().body, ReadWholeFile(local)) << "the bytes PUT to the URL handed out";
    EXPECT_NE(Sent("InitiateFileTransferToGuest").find("<guestFilePath>/tmp/up load</guestFilePath><fileAttributes xsi:type=\"GuestFileAttributes\" />"
                                                       "<fileSize>3145740</fileSize><overwrite>false</overwrite>"),
              std::string::npos);
    fs::remove(local);
}

TEST_F(VimGuestAnswers, ProgramsAndScriptsAreWaitedForAndTheRestAskedAsTheApiDefinesIt)
{
    int result = -1;
    ASSERT_TRUE(bridge->ExecuteProcessInGuest("vm-9", "", user, password, "/usr/bin/backup-agent", "--once", "/opt", 30, result));
    EXPECT_EQ(result, 3);
    EXPECT_NE(Sent("StartProgramInGuest").find("<spec xsi:type=\"GuestProgramSpec\"><programPath>/usr/bin/backup-agent</programPath><arguments>--once"
                                               "</arguments><workingDirectory>/opt</workingDirectory></spec>"),
              std::string::npos);
    ASSERT_TRUE(bridge->ExecuteProcessInGuest("vm-9", "", user, password, "/usr/bin/backup-agent", "", "", 0, result));
    EXPECT_EQ(result, 4242) << "started only";
    EXPECT_EQ(server.Calls("ListProcessesInGuest").size(), 2u);
    EXPECT_FALSE(bridge->ExecuteProcessInGuest("vm-9", "", user, password, "/bin/sleep", "600", "", 1, result));
    EXPECT_EQ(result, 99);
    EXPECT_EQ(bridge->GetLastErrorString(), "The process 99 did not finish within 1 seconds.");
    const std::tuple<std::string, long, bool, bool> processes[] = {
        {"sleep", 99, true, true}, {"/bin/sleep", 99, true, true}, {"bash", 99, false, false}, {"backup-agent", 4242, true, true},
        {"", 4242, true, false}, {"", 7, false, false},
    };
    for (const auto& [program, pid, found, running] : processes) {
        bool state = !running;
        EXPECT_EQ(bridge->IsProcessRunningInGuest("vm-9", "", user, password, program, pid, state), found) << program << " " << pid;
        EXPECT_EQ(state, found ? running : !running) << program << " " << pid;
    }
    EXPECT_EQ(bridge->GetLastErrorString(), "The process 7 was not found in the guest.");

    ASSERT_TRUE(bridge->ExecuteScriptInGuest("vm-9", "", user, password, "echo 'it''s'\nexit 3\n", "/bin/bash", "/home/b", 60, "/tmp/out put", result));
    EXPECT_EQ(result, 3);
    EXPECT_EQ(server.Calls("").back().body, "echo 'it''s'\nexit 3\n");
    EXPECT_NE(Sent("StartProgramInGuest", 3).find("<programPath>/bin/bash</programPath><arguments>'/tmp/visdk-1.sh' &gt; '/tmp/out put' 2&gt;&amp;1"),
              std::string::npos);
    EXPECT_EQ(XmlText(Sent("DeleteFileInGuest"), "filePath"), "/tmp/visdk-1.sh");

    std::string folder, dir = "/srv/old";
    VMInfoStructs::SGuestFile full, bare;
    full.modifiedTime = 1717405200, full.accessTime = 1717497000, full.unixUserId = 1000, full.unixGroupId = 100, full.unixMode = 0600;
    ASSERT_TRUE(bridge->GetGuestTempFolder("vm-9", "", user, password, folder) && bridge->CreateGuestFolder("vm-9", "", user, password, "/srv/n") &&
                bridge->DeleteDirectoryInGuest("vm-9", "", user, password, dir) && bridge->ChangeGuestFileAttributes("vm-9", "", user, password, "/a", full) &&
                bridge->ChangeGuestFileAttributes("vm-9", "", user, password, "/b", bare))
        << bridge->GetLastErrorString();
    EXPECT_EQ(folder, "/var/tmp");
    const std::tuple<std::string, size_t, std::string> asked[] = {
        {"DeleteDirectoryInGuest", 0, "<directoryPath>/var/tmp/visdk-2</directoryPath><recursive>false</recursive>"},
        {"MakeDirectoryInGuest", 0, "<directoryPath>/srv/n</directoryPath><createParentDirectories>true</createParentDirectories>"},
        {"DeleteDirectoryInGuest", 1, "<directoryPath>/srv/old</directoryPath><recursive>true</recursive>"},
        {"ChangeFileAttributesInGuest", 0, "<fileAttributes xsi:type=\"GuestPosixFileAttributes\"><modificationTime>2024-06-03T09:00:00.000Z</modificationTime>"
                                           "<accessTime>2024-06-04T10:30:00.000Z</accessTime><ownerId>1000</ownerId><groupId>100</groupId><permissions>384"},
        {"ChangeFileAttributesInGuest", 1, "<fileAttributes xsi:type=\"GuestPosixFileAttributes\"><ownerId>0</ownerId><groupId>0</groupId></fileAttributes>"},
    };
    for (const auto& [method, at, xml] : asked)
        EXPECT_NE(Sent(method, at).find(xml), std::string::npos) << method << ": " << xml;
    EXPECT_FALSE(bridge->CreateGuestFolder("vm-9", "", user, "wrong", "/x"));
    EXPECT_EQ(bridge->GetLastErrorString(), "Failed to authenticate with the guest operating system using the supplied credentials.");

    unsigned long long size = 0;
    server.Put("VirtualMachine", "vm-9", "runtime.powerState", FakeVcenter::Val("VirtualMachinePowerState", "poweredOn"));
    server.Put("VirtualMachine", "vm-9", "guest.toolsRunningStatus", FakeVcenter::Val("xsd:string", "guestToolsRunning"));
    server.Put("VirtualMachine", "vm-9", "guest.disk", FakeVcenter::Val("ArrayOfGuestDiskInfo", "<GuestDiskInfo><capacity>10737418240</capacity><freeSpace>"
                                                                        "4294967296</freeSpace></GuestDiskInfo><GuestDiskInfo><capacity>8192</capacity></GuestDiskInfo>"));
    EXPECT_TRUE(bridge->ComputeGuestSize("vm-9", "", size)) << bridge->GetLastErrorString();
    EXPECT_EQ(size, 6442450944ULL + 8192);
}

} // namespace
