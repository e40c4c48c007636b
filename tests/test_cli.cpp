// The visdk CLI as users script it: one process per run, a simulator state shared between runs, JSON on stdout.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CliFixture.h"
#include "CliProcess.h"
#include "CliSupport.h"
#include "Progress.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

using Result = visdktest::CliResult;
using visdktest::CliTest;
using visdktest::ReadFile;
using visdktest::WriteFile;

Json Disk(const Json& backup, const std::string& key)
{
    for (const Json& disk : backup["passes"].back()["disks"])
        if (disk["disk"] == key)
            return disk;
    ADD_FAILURE() << "no disk " << key << " in " << backup.dump();
    return Json();
}

TEST_F(CliTest, InventoryChangesMadeInOneRunAreSeenByTheNext)
{
    EXPECT_EQ(RunJson({"vm", "power", "vm-app01", "on"})["changed"], true);
    // The state the VM already has is no failure: nothing is done, and the output says so.
    Json again = RunJson({"vm", "power", "vm-app01", "on"});
    EXPECT_EQ(again["changed"], false);
    EXPECT_EQ(again["done"], "already powered on");

    Json created = RunJson({"snapshot", "create", "vm-web01", "--name", "keep", "--description", "kept between runs"});
    ASSERT_TRUE(created["snapshot"].is_string());
    std::string id = created["snapshot"];

    Json listed = RunJson({"snapshot", "list", "vm-web01"});
    EXPECT_EQ(listed["current"]["name"], "keep");
    Json info = RunJson({"snapshot", "info", "vm-web01", id});
    EXPECT_EQ(info["name"], "keep");
    EXPECT_EQ(info["description"], "kept between runs");
    // The next snapshot id continues after the kept one instead of reusing it.
    Json next = RunJson({"snapshot", "create", "vm-web01"});
    EXPECT_NE(next["snapshot"], id);
    EXPECT_EQ(RunJson({"snapshot", "list", "vm-web01"})["backupSnapshots"], 1);

    // Texts XML would not carry as they are come back unchanged.
    const std::string odd = "two\nlines\twith\x01 control <&\"> and \xe2\x82\xac", packedLook = "b64:aGVsbG8=";
    Json other = RunJson({"snapshot", "create", "vm-db01", "--name", packedLook, "--description", odd});
    Json otherInfo = RunJson({"snapshot", "info", "vm-db01", other["snapshot"]});
    EXPECT_EQ(otherInfo["name"], packedLook);
    EXPECT_EQ(otherInfo["description"], odd);

    RunJson({"guest", "run", "vm-web01", "mkdir -p /root/kept/deeper; touch /root/kept/file"});
    Json listing = RunJson({"guest", "ls", "vm-web01", "/root/kept"});
    ASSERT_EQ(listing["files"].size(), 2u) << listing.dump();
    EXPECT_EQ(listing["files"][0]["name"], "deeper");
    EXPECT_EQ(listing["files"][1]["name"], "file");

    // Reading it back loses nothing: a run that changes nothing finds the same inventory and leaves the file alone.
    const std::string kept = ReadFile(state);
    RunJson({"snapshot", "list", "vm-db01"});
    EXPECT_EQ(ReadFile(state), kept);

    EXPECT_EQ(ReadFile(state).find("VMware1!"), std::string::npos) << "the state holds the login password";

    // Without a state file every run starts from the configured inventory.
    Result fresh = Run({"snapshot", "list", "vm-web01", "--json"});
    ASSERT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_TRUE(Json::parse(fresh.out)["current"].is_null()) << fresh.out;
}

// Tags, fields, moves, clones and imports made in one run are there in the next.
TEST_F(CliTest, ManagementCommandsKeepTheirWorkBetweenRuns)
{
    RunJson({"tag", "attach", "vm-app01", "Silver", "--category", "Backup Policy"});
    Json tagged = RunJson({"tag", "ls", "--tag", "Silver"});
    ASSERT_EQ(tagged["vms"].size(), 1u) << tagged.dump();
    EXPECT_EQ(tagged["vms"][0]["name"], "vm-app01");
    Json tags = RunJson({"tag", "ls", "vm-app01"});
    ASSERT_EQ(tags["tags"].size(), 1u);
    EXPECT_EQ(tags["tags"][0]["category"], "Backup Policy");
    Result unknown = Run({"tag", "attach", "vm-app01", "Platinum", "--sim-state", state});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("Platinum"), std::string::npos) << unknown.err;

    RunJson({"field", "set", "vm-web01", "Retention", "30d", "--define"});
    EXPECT_EQ(RunJson({"field", "get", "vm-web01", "Retention"})["value"], "30d");

    Json moved = RunJson({"vm", "relocate", "vm-app01", "--host", "esx01.sim.local", "--datastore", "datastore2"});
    EXPECT_EQ(moved["datastore"], "datastore2");
    ASSERT_FALSE(moved["disks"].empty());
    for (const Json& disk : moved["disks"])
        EXPECT_EQ(disk["datastore"], "datastore2") << moved.dump();

    Json clone = RunJson({"vm", "clone", "vm-web01", "web-copy", "--cpus", "2"});
    ASSERT_TRUE(clone["moref"].is_string());
    Json reconfigured = RunJson({"vm", "reconfigure", "web-copy", "--memory-mb", "2048", "--network", "DMZ"});
    EXPECT_EQ(reconfigured["cpus"], 2);
    EXPECT_EQ(reconfigured["memoryMB"], 2048);
    EXPECT_EQ(reconfigured["networks"], Json::array({"DMZ"}));

    WriteFile(dir / "tiny.ovf", R"(<Envelope xmlns="http://schemas.dmtf.org/ovf/envelope/1" xmlns:ovf="http://schemas.dmtf.org/ovf/envelope/1"
        xmlns:rasd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_ResourceAllocationSettingData">
      <References><File ovf:id="f1" ovf:href="tiny-disk1.vmdk"/></References>
      <DiskSection><Disk ovf:diskId="d1" ovf:fileRef="f1" ovf:capacity="64" ovf:capacityAllocationUnits="byte * 2^20"/></DiskSection>
      <VirtualSystem ovf:id="tiny"><Name>tiny</Name><VirtualHardwareSection>
        <Item><rasd:ResourceType>17</rasd:ResourceType><rasd:HostResource>ovf:/disk/d1</rasd:HostResource></Item>
      </VirtualHardwareSection></VirtualSystem></Envelope>)");
    WriteFile(dir / "tiny-disk1.vmdk", std::string(4096, 'x'));
    Json imported = RunJson({"ovf", "import", (dir / "tiny.ovf").string(), "--datastore", "datastore1"});
    EXPECT_EQ(imported["name"], "tiny");
    ASSERT_EQ(imported["uploaded"].size(), 1u) << imported.dump();
    EXPECT_EQ(imported["uploaded"][0]["to"], "[datastore1] tiny/tiny.vmdk");
    Json info = RunJson({"vm", "info", "tiny"});
    EXPECT_EQ(info["name"], "tiny") << info.dump();

    // A descriptor's file names never reach outside its folder.
    WriteFile(dir / "secret.vmdk", "not for the datastore");
    fs::create_directory(dir / "ovf");
    std::string escaping = ReadFile(dir / "tiny.ovf");
    escaping.replace(escaping.find("tiny-disk1.vmdk"), 15, "../secret.vmdk");
    escaping.replace(escaping.find("<Name>tiny"), 10, "<Name>tiny2");
    WriteFile(dir / "ovf" / "escaping.ovf", escaping);
    Result refused = Run({"ovf", "import", (dir / "ovf" / "escaping.ovf").string(), "--sim-state", state});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("the disk file '../secret.vmdk' is not beside the descriptor"), std::string::npos) << refused.err;
    EXPECT_EQ(RunJson({"vm", "info", "tiny"})["name"], "tiny");
    EXPECT_NE(Run({"vm", "info", "tiny2", "--sim-state", state}).status, 0) << "a refused import created its VM";

    // What was kept reads back whole: a run that changes nothing leaves the file as it was.
    const std::string kept = ReadFile(state);
    RunJson({"tag", "ls", "vm-app01"});
    RunJson({"field", "get", "vm-web01", "Retention"});
    EXPECT_EQ(ReadFile(state), kept);
}

TEST_F(CliTest, WritesBetweenBackupRunsAreExactlyTheNextIncrement)
{
    Json first = RunJson({"backup", "vm-web01"});
    EXPECT_EQ(Disk(first, "2000")["mode"], "full");
    EXPECT_EQ(Disk(first, "2000")["bytes"], 6442450944LL);

    RunJson({"guest", "write", "vm-web01", "2000", "5242880", "8192"});
    RunJson({"guest", "write", "vm-web01", "2000", "5251072", "4096"});
    RunJson({"guest", "write", "vm-web01", "2001", "7516192768", "65536"});

    Json second = RunJson({"backup", "vm-web01"});
    Json disk0 = Disk(second, "2000"), disk1 = Disk(second, "2001");
    EXPECT_EQ(disk0["mode"], "incremental");
    EXPECT_EQ(disk0["extents"], Json::parse(R"([{"offset": 5242880, "length": 12288}])"));
    EXPECT_EQ(disk1["mode"], "incremental");
    EXPECT_EQ(disk1["extents"], Json::parse(R"([{"offset": 7516192768, "length": 65536}])"));
    EXPECT_NE(disk0["changeId"], Disk(first, "2000")["changeId"]);

    Json third = RunJson({"backup", "vm-web01"});
    EXPECT_EQ(Disk(third, "2000")["extentCount"], 0);
    EXPECT_EQ(Disk(third, "2001")["extentCount"], 0);
}

TEST_F(CliTest, DamagedOrForeignStateFilesAreRefusedAndKept)
{
    RunJson({"snapshot", "create", "vm-web01"});
    const std::string good = ReadFile(state);
    ASSERT_EQ(good.compare(0, 11, "VISDKSIM 2 "), 0) << good.substr(0, 40);
    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x20;
    std::string newer = good;
    newer[9] = '7';

    struct Case {
        const char* what;
        std::string content;
        const char* reason;
    };
    const Case cases[] = {
        {"truncated", good.substr(0, good.size() / 2), "it is truncated ("},
        {"empty", "", "the file is empty"},
        {"foreign", "<visdkWrapper clock=\"2024-06-03T09:00:00Z\"/>\n", "it is not a simulator state file"},
        {"altered", flipped, "its content does not match its checksum"},
        {"newer", newer, "it has format version 7, this simulator reads versions 1 to 2"},
        {"longer", good + "tail", "it has 4 bytes after its content"},
    };
    for (const Case& c : cases) {
        WriteFile(state, c.content);
        Result result = Run({"snapshot", "list", "vm-web01", "--sim-state", state, "--json"});
        EXPECT_EQ(result.status, 2) << c.what;
        EXPECT_EQ(result.out, "") << c.what;
        EXPECT_NE(result.err.find("The simulator state file '" + state + "' is refused: " + c.reason), std::string::npos)
            << c.what << ": " << result.err;
        EXPECT_EQ(ReadFile(state), c.content) << c.what;
    }
}

TEST_F(CliTest, ReadCommandsPrintOneObjectWithTypedValues)
{
    Json session = RunJson({});
    EXPECT_EQ(session["server"], "vcenter.sim.local");
    EXPECT_EQ(session["vcenter"], true);
    EXPECT_EQ(session["apiVersion"], 802);
    EXPECT_EQ(session["backupPrivileges"]["held"], true);

    Json esx = RunJson({"session", "--server", "esx01.sim.local", "--user", "root"}, {"VISDK_PASSWORD=VMware1!"});
    EXPECT_EQ(esx["vcenter"], false);
    EXPECT_EQ(esx["connectionVersion"], 8);
    EXPECT_EQ(esx["apiVersion"], 801);

    Json restricted = RunJson({}, {"VISDK_USER=backup-ro@vsphere.local", "VISDK_PASSWORD=ReadOnly1!"});
    EXPECT_EQ(restricted["backupPrivileges"]["held"], false);
    const Json& missing = restricted["backupPrivileges"]["missing"];
    EXPECT_NE(std::find(missing.begin(), missing.end(), "VirtualMachine.State.CreateSnapshot"), missing.end()) << restricted.dump();
    EXPECT_NE(std::find(missing.begin(), missing.end(), "Datastore.Browse"), missing.end()) << restricted.dump();

    Json info = RunJson({"snapshot", "info", "vm-db01", "snapshot-11"});
    EXPECT_EQ(info["name"], "Before upgrade");
    EXPECT_TRUE(info["size"].is_number_unsigned()) << info.dump();
    EXPECT_EQ(info["createdUnix"], 1716541200);
    EXPECT_EQ(info["file"], "[datastore2] vm-db01/vm-db01.vmdk");

    Json counted = RunJson({"snapshot", "list", "vm-db01"});
    EXPECT_EQ(counted["backupSnapshots"], 1);
    EXPECT_EQ(counted["replicationSnapshots"], 0);

    Json listing = RunJson({"guest", "ls", "vm-web01", "/etc"});
    Json hostname;
    for (const Json& file : listing["files"])
        if (file["name"] == "hostname")
            hostname = file;
    EXPECT_EQ(hostname["size"], 9) << listing.dump();
    EXPECT_EQ(hostname["type"], "file");
}

TEST_F(CliTest, FailuresKeepTheirExitCodeAndLeaveStdoutEmpty)
{
    struct Case {
        std::vector<std::string> args;
        visdktest::EnvList env;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"snapshot", "info", "vm-web01", "snapshot-99"}, {}, 1, "visdk: vm-web01: snapshot snapshot-99: "},
        {{"vm", "power", "vm-app01", "suspend"}, {}, 1, "vm-app01: suspend: "},
        {{"snapshot", "list"}, {}, 2, "usage: visdk snapshot list VM"},
        {{"inventory-of-nothing"}, {}, 2, "unknown command"},
        {{"session"}, {"VISDK_PASSWORD=s3cret"}, 2, "incorrect user name or password"},
        {{"session", "--sim-state="}, {}, 2, "--sim-state needs a value"},
        {{"session", "--sim-state", ""}, {}, 2, "--sim-state needs a file name"},
        {{"session", "--password", "s3cret"}, {}, 2, "--password is not taken, as the process list shows the command line"},
        {{"session", "--password=s3cret"}, {}, 2, "use --password-file FILE or VISDK_PASSWORD, or run on a terminal"},
        {{"session", "--server", "root:s3cret@esx01.sim.local"}, {}, 2, "the server name must not carry an account"},
        {{"session", "--user", ""}, {}, 2, "--user needs a value"},
        // Another account than the simulator's own needs a password, and a run without a terminal cannot ask.
        {{"session", "--server", "esx01.sim.local", "--user", "root"}, {}, 2, "no password for root at esx01.sim.local: give"},
        {{"session", "--password-file", "/nonexistent/pw"}, {}, 2, "cannot read the password file '/nonexistent/pw'"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        Result result = Run(args, c.env);
        EXPECT_EQ(result.status, c.status) << args[0] << ": " << result.err;
        EXPECT_EQ(result.out, "") << args[0];
        EXPECT_NE(result.err.find(c.message), std::string::npos) << args[0] << ": " << result.err;
        EXPECT_EQ(result.err.find("s3cret"), std::string::npos) << result.err;
    }
}

// A password file is read whole only when it is private to its owner, and only its first line counts.
TEST_F(CliTest, PasswordFilesGiveTheirFirstLineAndMustBePrivate)
{
    struct Case {
        std::string content;
        mode_t mode;
        const char* password;  // nullptr: refused with `reason`
        const char* reason;
    };
    const Case cases[] = {
        {"pw\n", 0600, "pw", ""},
        {"pw", 0400, "pw", ""},
        {"pw\r\nsecond line\n", 0600, "pw", ""},
        {" spaced  pw \n", 0600, " spaced  pw ", ""},
        {"pw\n", 0640, nullptr, "group or others have access to it (mode 0640); chmod 600 it"},
        {"pw\n", 0604, nullptr, "group or others have access to it (mode 0604); chmod 600 it"},
        {"pw\n", 0620, nullptr, "group or others have access to it (mode 0620); chmod 600 it"},
        {"\nsecond line\n", 0600, nullptr, "its first line holds no password"},
        {"", 0600, nullptr, "its first line holds no password"},
        {std::string(5000, 'a') + "\n", 0600, nullptr, "its first line is longer than 4096 bytes"},
    };
    const std::string path = (dir / "pw").string();
    for (const Case& c : cases) {
        WriteFile(path, c.content);
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        if (c.password) {
            EXPECT_EQ(visdk::ReadPasswordFile(path), c.password) << c.content;
            continue;
        }
        try {
            visdk::ReadPasswordFile(path);
            ADD_FAILURE() << "accepted: mode " << c.mode << ", " << c.content.substr(0, 20);
        } catch (const visdk::LoginError& error) {
            EXPECT_EQ(std::string(error.what()), "the password file '" + path + "' is refused: " + c.reason);
        }
    }
    EXPECT_THROW(visdk::ReadPasswordFile(dir.string()), visdk::LoginError);
}

std::string Drawn(bool terminal, long long total, const std::function<void(visdk::Progress&)>& steps)
{
    std::FILE* out = std::tmpfile();
    {
        visdk::Progress progress("disk 2000", total, out, terminal);
        steps(progress);
    }
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(out);
    return text;
}

TEST(Progress, SilentOffTerminalAndBoundedOnOne)
{
    auto everyStep = [](visdk::Progress& progress) {
        for (long long done = 1; done <= 1000000; ++done)
            progress.Update(done);
    };
    EXPECT_EQ(Drawn(false, 1000000, everyStep), "");

    std::string drawn = Drawn(true, 1000000, everyStep);
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), '\r'), 102);  // 0% to 100%, then the clearing
    EXPECT_NE(drawn.find("disk 2000 [###############...............]  50% "), std::string::npos);
    EXPECT_EQ(drawn.substr(drawn.size() - 4), "\r\033[K");

    EXPECT_EQ(Drawn(true, 1 << 30, [](visdk::Progress& progress) { progress.Update(2LL << 30); }).find("100% 1.0 GiB of 1.0 GiB"),
              std::string("\r\033[Kdisk 2000 [##############################] ").size());
}

} // namespace
