// Datastore files through the web-services client against the test endpoint: every result is checked against the
// datastore's own directory on disk (the server's truth, read independently), the server's browser (RawSoap), its
// /folder access (curl) and the requests in its trace. Transfers the endpoint cannot show: test_vim_transfers.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "Endpoint.h"
#include "LocalFiles.h"
#include "TestSupport.h"

using namespace visdktest;
namespace fs = std::filesystem;

namespace {

const std::string ds = "LocalDS_0";

// The URL fetched by curl into the file; false when it fails or the server answers an error.
bool Curl(const std::string& url, const fs::path& to)
{
    return std::system(("curl -sf -o '" + to.string() + "' --cacert '" + Endpoint::Get().cert + "' '" + url + "'").c_str()) == 0;
}

// The endpoint's trace from the test's start on: the requests that went out.
std::string TraceFrom(size_t mark)
{
    std::ifstream in(Endpoint::Get().trace, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(mark));
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class VimDatastore : public ::testing::Test {
protected:
    void SetUp() override
    {
        TrustEndpoint();
        bridge = EndpointBridge();
        root = server.Property("Datastore", server.Moref("Datastore", ds), "info.url");
        ASSERT_FALSE(root.empty());
        mark = fs::exists(Endpoint::Get().trace) ? fs::file_size(Endpoint::Get().trace) : 0;
    }
    void TearDown() override
    {
        for (const char* mine : {"visdk-ds", "visdk-copy", "visdk-host", "visdk-list"})
            fs::remove_all(root / mine);
    }
    std::string Error() { return bridge->GetLastErrorString(); }
    std::vector<std::string> List(const std::string& folder, const std::string& pattern, bool recursive)
    {
        std::vector<std::string> files{"untouched"};
        EXPECT_EQ(bridge->GetFilesOnDSForHost("DC0_H0", ds, folder, pattern, recursive, files), 1) << folder << " " << pattern << ": " << Error();
        return files;
    }

    RawSoap server;
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
    fs::path root;
    TempDir scratch;
    const fs::path& local = scratch.Path();
    size_t mark = 0;
};

TEST_F(VimDatastore, BytesGoUpAndComeBackAsTheServerHoldsThem)
{
    const std::string data = Pattern((3 << 20) + 12345);
    WriteFile(local / "up.bin", data);
    ASSERT_EQ(bridge->UploadDatastoreFile("", ds, "visdk-ds/sub/up.bin", (local / "up.bin").string(), ""), 1) << Error();
    ASSERT_EQ(fs::file_size(root / "visdk-ds/sub/up.bin"), data.size()) << "the parent folders were made";
    EXPECT_TRUE(ReadFile(root / "visdk-ds/sub/up.bin") == data);

    EXPECT_EQ(List("visdk-ds", "*", true), (std::vector<std::string>{"visdk-ds/sub/", "visdk-ds/sub/up.bin"}));
    VMInfoStructs::SVMFile file;
    ASSERT_TRUE(bridge->GetDetailsForFileOnHost("DC0_H0", "DC0", "", "[LocalDS_0] visdk-ds/sub/up.bin", true, true, file)) << Error();
    struct stat st{};
    ASSERT_EQ(stat((root / "visdk-ds/sub/up.bin").c_str(), &st), 0);
    EXPECT_EQ(file.strName, "[LocalDS_0] visdk-ds/sub/up.bin");
    EXPECT_EQ(file.lSize, static_cast<int64_t>(data.size()));
    EXPECT_EQ(file.eFileType, 8);
    EXPECT_EQ(file.modifiedTime, st.st_mtime);
    VMInfoStructs::SVMFile bare;
    ASSERT_TRUE(bridge->GetDetailsForFileOnHost("", "", ds, "visdk-ds/sub", false, false, bare)) << Error();
    EXPECT_EQ(bare.eFileType, 9) << "a folder";
    EXPECT_EQ(bare.lSize, 0) << "the size only when asked";

    ASSERT_EQ(bridge->DownloadDatastoreFile("DC0", ds, "visdk-ds/sub/up.bin", (local / "down.bin").string(), ""), 1) << Error();
    EXPECT_TRUE(ReadFile(local / "down.bin") == data);
    EXPECT_EQ(scratch.Count(), 2u) << "no partial file is left";

    std::string url = bridge->GetDownloadDatastoreFileUrl("", ds, "visdk-ds/sub/up.bin", "");
    EXPECT_EQ(url, "https://127.0.0.1:" + Endpoint::Get().port + "/folder/visdk-ds/sub/up.bin?dcPath=DC0&dsName=LocalDS_0");
    EXPECT_TRUE(Curl(url, local / "curl.bin"));
    EXPECT_TRUE(ReadFile(local / "curl.bin") == data);

    // A name that needs escaping, replaced by a second upload.
    WriteFile(local / "small.txt", "first");
    WriteFile(local / "other.txt", "second, longer");
    ASSERT_EQ(bridge->UploadDatastoreFile("", ds, "visdk-ds/a b&c.txt", (local / "small.txt").string(), ""), 1) << Error();
    ASSERT_EQ(bridge->UploadDatastoreFile("", ds, "visdk-ds/a b&c.txt", (local / "other.txt").string(), ""), 1) << Error();
    EXPECT_EQ(ReadFile(root / "visdk-ds/a b&c.txt"), "second, longer");
    url = bridge->GetDownloadDatastoreFileUrl("", ds, "visdk-ds/a b&c.txt", "");
    EXPECT_NE(url.find("/folder/visdk-ds/a%20b%26c.txt?"), std::string::npos) << url;
    EXPECT_TRUE(Curl(url, local / "curl.txt"));
    EXPECT_EQ(ReadFile(local / "curl.txt"), "second, longer");
}

TEST_F(VimDatastore, FoldersAreMadeCopiedCheckedAndDeletedOnTheServer)
{
    ASSERT_EQ(bridge->CreateDatastoreFolder(ds, "visdk-ds/a/b"), 1) << Error();
    EXPECT_TRUE(fs::is_directory(root / "visdk-ds/a/b")) << "with its parents";
    EXPECT_EQ(bridge->CheckDatastoreFile("", ds, "visdk-ds/a/b", "", true), 1) << Error();
    EXPECT_EQ(bridge->CheckDatastoreFile("", ds, "visdk-ds/a/b", "", false), 0);
    EXPECT_EQ(Error(), "[LocalDS_0] visdk-ds/a/b is a folder");

    WriteFile(root / "visdk-ds/a/b/data.bin", Pattern(100000));
    EXPECT_EQ(bridge->CheckDatastoreFile("DC0", ds, "[LocalDS_0] visdk-ds/a/b/data.bin", "DC0_C0_H1", false), 1) << Error();
    // Both forms; the destination's parents are made.
    ASSERT_EQ(bridge->CopyDatastoreFile("", ds, "visdk-ds/a/b/data.bin", ds, "visdk-copy/x/one.bin", ""), 1) << Error();
    ASSERT_EQ(bridge->CopyDatastoreFile("DC0", ds, "visdk-ds/a/b/data.bin", ds, "visdk-copy/two.bin", "", "DC0"), 1) << Error();
    EXPECT_TRUE(ReadFile(root / "visdk-copy/x/one.bin") == Pattern(100000));
    EXPECT_TRUE(ReadFile(root / "visdk-copy/two.bin") == Pattern(100000));
    EXPECT_EQ(bridge->CopyDatastoreFile("", ds, "visdk-ds/a/b/data.bin", ds, "visdk-copy/two.bin", ""), 0);
    EXPECT_EQ(Error(), "Cannot complete the operation because the file or folder [LocalDS_0] visdk-copy/two.bin already exists");
    EXPECT_EQ(bridge->CopyDatastoreFile("", ds, "visdk-ds/a", ds, "visdk-ds/a/b/c", ""), 0);
    EXPECT_EQ(Error(), "A specified parameter was not correct: destinationName");

    ASSERT_EQ(bridge->DeleteDatastoreFile("", ds, "visdk-copy/two.bin", ""), 1) << Error();
    EXPECT_FALSE(fs::exists(root / "visdk-copy/two.bin"));
    ASSERT_EQ(bridge->DeleteDatastoreFile("DC0", ds, "visdk-ds", ""), 1) << Error();
    EXPECT_FALSE(fs::exists(root / "visdk-ds")) << "a folder with what it holds";
    EXPECT_EQ(bridge->DeleteDatastoreFile("", ds, "visdk-ds", ""), 0);
    EXPECT_EQ(Error(), "File [LocalDS_0] visdk-ds was not found");
    EXPECT_EQ(bridge->DeleteDatastoreFile("", ds, "[LocalDS_0] /", ""), 0) << "never the datastore's root";
    EXPECT_TRUE(fs::is_directory(root / "visdk-copy"));
}

TEST_F(VimDatastore, PatternsAndRecursionPickWhatTheServerLists)
{
    for (const char* name : {"vm/vm.vmx", "vm/vm.log", "vm/vm-flat.vmdk", "vm/vm.vmdk", "vm/old/vm.vmx", "vm/old/notes.txt", "top.iso"})
        WriteFile(root / "visdk-list" / name, name);
    const struct {
        std::string folder, pattern;
        bool recursive;
        std::vector<std::string> files;
    } cases[] = {
        {"visdk-list/vm", "*", false, {"visdk-list/vm/old/", "visdk-list/vm/vm-flat.vmdk", "visdk-list/vm/vm.log", "visdk-list/vm/vm.vmdk", "visdk-list/vm/vm.vmx"}},
        {"visdk-list/vm", "", false, {"visdk-list/vm/old/", "visdk-list/vm/vm-flat.vmdk", "visdk-list/vm/vm.log", "visdk-list/vm/vm.vmdk", "visdk-list/vm/vm.vmx"}},
        {"visdk-list/vm", "*.vmx", false, {"visdk-list/vm/vm.vmx"}},
        {"visdk-list", "*.vmx", true, {"visdk-list/vm/old/vm.vmx", "visdk-list/vm/vm.vmx"}},
        {"[LocalDS_0] visdk-list/", "vm?vm*", true, {"visdk-list/vm/old/vm.vmx", "visdk-list/vm/vm.vmdk", "visdk-list/vm/vm.vmx"}},
        {"visdk-list", "vm*", true, {"visdk-list/vm/", "visdk-list/vm/old/vm.vmx", "visdk-list/vm/vm-flat.vmdk", "visdk-list/vm/vm.log", "visdk-list/vm/vm.vmdk", "visdk-list/vm/vm.vmx"}},
        {"visdk-list/vm/old", "*.vmdk", true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(List(c.folder, c.pattern, c.recursive), c.files) << c.folder << " " << c.pattern << (c.recursive ? " recursive" : "");
}

TEST_F(VimDatastore, WhatIsMissingOrWrongFailsWithItsText)
{
    WriteFile(root / "visdk-ds/file.txt", "x");
    fs::create_directories(root / "visdk-ds/folder");
    const struct {
        const char* name;
        std::function<bool()> call;
        std::string error;
    } cases[] = {
        {"details of a missing file", [&] { VMInfoStructs::SVMFile f; return bridge->GetDetailsForFileOnHost("", "", ds, "visdk-ds/nope.txt", true, true, f); },
         "File [LocalDS_0] visdk-ds/nope.txt was not found"},
        {"a file in a missing folder", [&] { return bridge->CheckDatastoreFile("", ds, "visdk-ds/none/x", "", false) != 0; },
         "File [LocalDS_0] visdk-ds/none/x was not found"},
        {"a missing folder's list", [&] { std::vector<std::string> v; return bridge->GetFilesOnDSForHost("", ds, "visdk-ds/none", "*", false, v) != 0; },
         "File [LocalDS_0] visdk-ds/none was not found"},
        {"an unknown datastore", [&] { return bridge->CheckDatastoreFile("", "NoSuchDS", "x", "", false) != 0; }, "The datastore 'NoSuchDS' was not found."},
        {"a datastore of another datacenter", [&] { return bridge->CheckDatastoreFile("DC9", ds, "visdk-ds/file.txt", "", false) != 0; },
         "The datastore 'LocalDS_0' was not found."},
        {"a path out of its folder", [&] { return bridge->CheckDatastoreFile("", ds, "visdk-ds/../../etc", "", false) != 0; },
         "Invalid datastore path 'visdk-ds/../../etc'."},
        {"a host that does not mount it", [&] { return bridge->CheckDatastoreFile("", ds, "visdk-ds/file.txt", "nohost", false) != 0; },
         "The datastore 'LocalDS_0' is not accessible from host 'nohost'."},
        {"a folder's download", [&] { return bridge->DownloadDatastoreFile("", ds, "visdk-ds/folder", (local / "f").string(), "") != 0; },
         "File [LocalDS_0] visdk-ds/folder is a folder"},
        {"a download without a local path", [&] { return bridge->DownloadDatastoreFile("", ds, "visdk-ds/file.txt", "", "") != 0; },
         "A specified parameter was not correct: localPath"},
        {"a folder without a name", [&] { return bridge->CreateDatastoreFolder(ds, "") != 0; }, "A specified parameter was not correct: path"},
        {"a host download from an unknown host", [&] { return bridge->DownloadDatastoreFileFromHost("", ds, "visdk-ds/file.txt", (local / "h").string(), "nohost") != 0; },
         "The host 'nohost' was not found."},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.call()) << c.name;
        EXPECT_EQ(Error(), c.error) << c.name;
    }
    EXPECT_FALSE(fs::exists(local / "f"));
}

TEST_F(VimDatastore, AHostTransferTakesATicketForTheHostsOwnUrl)
{
    const std::string data = Pattern(1 << 20);
    WriteFile(local / "h.bin", data);
    ASSERT_EQ(bridge->UploadDatastoreFileToHost("", ds, "visdk-host/h.bin", (local / "h.bin").string(), "DC0_H0"), 1) << Error();
    EXPECT_TRUE(ReadFile(root / "visdk-host/h.bin") == data);
    ASSERT_EQ(bridge->DownloadDatastoreFileFromHost("", ds, "visdk-host/h.bin", (local / "back.bin").string(), "DC0_H0"), 1) << Error();
    EXPECT_TRUE(ReadFile(local / "back.bin") == data);
    // The tickets were asked for the host's own URL, without the vCenter's datacenter path.
    std::string trace = TraceFrom(mark);
    for (const char* method : {"httpPut", "httpGet"})
        EXPECT_NE(trace.find(std::string("<method>") + method + "</method><url>https://DC0_H0/folder/visdk-host/h.bin?dsName=LocalDS_0</url>"),
                  std::string::npos)
            << method;

    EXPECT_TRUE(bridge->CheckDownloadFromHostPrivilege("DC0_H0")) << Error();
    EXPECT_TRUE(bridge->CheckDownloadFromHostPrivilege("")) << Error();
    EXPECT_NE(TraceFrom(mark).find("<privId>Datastore.FileManagement</privId>"), std::string::npos);
    EXPECT_FALSE(bridge->CheckDownloadFromHostPrivilege("nohost"));
    EXPECT_EQ(Error(), "The host 'nohost' was not found.");
}

} // namespace
