// Platform services, pure helpers, records, and the bridge before any runtime start.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "CVIWrapperPtr.h"
#include "Rows.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace VISDKCppBridge;
using namespace visdktest;
using VISDKHelper::CVISDKHelper;

namespace {

struct VersionCase {
    const char* text;
    int major;
    int minor;
};

TEST(Version, BuildInformationTexts)
{
    const VersionCase cases[] = {
        {"6.12.0.122 (tarball Mon Feb 22 2021)", 6, 12},
        {"6.8.0.105 (Debian 6.8.0.105+dfsg-3.3)", 6, 8},
        {"5.20.1.34", 5, 20},
        {"6.12", 6, 1},     // two pieces: the minor keeps its value
        {"6", 0, 1},        // one piece: nothing changes
        {"x.y.z", 0, 1},    // no leading number: nothing changes
        {" 7.-2.1", 7, -2}, // read as std::stoi reads
        {"", 0, 1},
    };
    for (const VersionCase& c : cases) {
        g_monoMajorVersion = 0;
        g_monoMinorVersion = 1;
        CVIWrapperPtr::ParseVersion(c.text);
        EXPECT_EQ(g_monoMajorVersion, c.major) << c.text;
        EXPECT_EQ(g_monoMinorVersion, c.minor) << c.text;
    }
    g_monoMajorVersion = 0;
    g_monoMinorVersion = 1;
}

TEST(Paths, SplitAndJoin)
{
    EXPECT_EQ(SplitString("a.b..c", "."), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitString("abc", "::"), std::vector<std::string>{"abc"});
    EXPECT_EQ(SplitString("a::b", "::"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(JoinPath("/opt/x", "VISDKWrapper.dll"), "/opt/x/VISDKWrapper.dll");
    EXPECT_EQ(JoinPath("/opt/x/", "VISDKWrapper.dll"), "/opt/x/VISDKWrapper.dll");
}

TEST(Paths, HomeIsTheLibraryDirectory)
{
    std::string home = GetHomeDirectory();
    ASSERT_FALSE(home.empty());
    EXPECT_EQ(home[0], '/');
    EXPECT_EQ(access(JoinPath(home, "libVISDKCppBridge.so.1").c_str(), F_OK), 0) << home;
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_NE(home, std::string(cwd));
}

// Runs `body` with standard error sent to a file, and returns what was written.
template <typename Body>
std::string CaptureStderr(Body body)
{
    char path[] = "/tmp/visdk-stderr-XXXXXX";
    int fd = mkstemp(path);
    int saved = dup(STDERR_FILENO);
    dup2(fd, STDERR_FILENO);
    body();
    dup2(saved, STDERR_FILENO);
    close(saved);
    close(fd);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    unlink(path);
    return text.str();
}

TEST(Logger, DefaultSinkWritesOneLinePerMessage)
{
    std::string text = CaptureStderr([] {
        g_debug.Error("Could not find method [%s]", "PowerOnVM");
        DebugLog().ErrorTagged("int X::Y()", "Exception caught in bridge - %s\n", "TimeoutException");
        g_debug.Debug("mono thread exiting");
        g_debug.DebugLevel(2, "Waiting for mono initialization");
    });
    EXPECT_EQ(text, "VISDKCppBridge ERROR: Could not find method [PowerOnVM]\n"
                    "VISDKCppBridge ERROR [int X::Y()]: Exception caught in bridge - TimeoutException\n"
                    "VISDKCppBridge DEBUG: mono thread exiting\n");
    DebugLog::SetThreshold(2);
    text = CaptureStderr([] { g_debug.DebugLevel(2, "Waiting for mono initialization"); });
    EXPECT_EQ(text, "VISDKCppBridge DEBUG2: Waiting for mono initialization\n");
    DebugLog::SetThreshold(1);
}

TEST(Logger, ConcurrentLinesNeverInterleave)
{
    const int threads = 8, lines = 400;
    std::string text = CaptureStderr([&] {
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([t] {
                std::string payload(200, static_cast<char>('a' + t));
                for (int i = 0; i < lines; ++i)
                    g_debug.Error("%d %s", t, payload.c_str());
            });
        for (auto& worker : workers)
            worker.join();
    });
    std::istringstream in(text);
    std::string line;
    int count = 0;
    while (std::getline(in, line)) {
        ++count;
        ASSERT_EQ(line.size(), std::string("VISDKCppBridge ERROR: 0 ").size() + 200) << line;
        char mark = line.back();
        EXPECT_EQ(line.find_first_not_of(mark, line.size() - 200), std::string::npos);
    }
    EXPECT_EQ(count, threads * lines);
}

TEST(Logger, HostSinkAndThreshold)
{
    LogCapture log;
    DebugLog::SetThreshold(1);
    g_debug.DebugLevel(2, "hidden %d", 2);
    g_debug.Debug("shown %d", 1);
    g_debug.ErrorTagged("tag", "failed %s", "here");
    std::vector<LogEntry> entries = log.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].level, 1);
    EXPECT_EQ(entries[0].text, "shown 1");
    EXPECT_EQ(entries[1].level, 0);
    EXPECT_EQ(entries[1].tag, "tag");
    EXPECT_EQ(entries[1].text, "failed here");
}

TEST(Platform, EventsAndThreads)
{
    PlatformEvent event;
    EXPECT_FALSE(event.Wait(10));
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_TRUE(event.Wait(10)) << "an event stays set";

    static PlatformEvent release;
    PlatformThread thread;
    ASSERT_TRUE(thread.Create([](void*) -> void* {
        release.Wait();
        return nullptr;
    }, nullptr));
    EXPECT_FALSE(thread.Join(20));
    release.Set();
    EXPECT_TRUE(thread.Join(10000));
}

TEST(TypeMapping, DiskTypeFromVendorFlags)
{
    struct Case {
        int flat, split, rdm, compat, expected;
    };
    const Case cases[] = {{0, 0, 5, 5, 1}, {0, 1, 0, 0, 5}, {0, 2, 1, 1, 0}, {1, 0, 9, 9, 3}, {1, 1, 0, 0, 6},
                          {1, -1, 1, 0, 0}, {2, 0, 1, 1, 11}, {2, 0, 1, 0, 10}, {2, 7, 1, 2, 0}, {-1, 0, 0, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(CVISDKHelper::_GetZTDiskTypeFromVendorType(c.flat, c.split, c.rdm, c.compat), c.expected)
            << c.flat << "," << c.split << "," << c.rdm << "," << c.compat;
}

TEST(TypeMapping, DatastoreTypeBothWays)
{
    for (int managed = -2; managed <= 5; ++managed) {
        int native = CVISDKHelper::_GetZTDatastoreType(managed);
        bool known = managed >= 0 && managed <= 3;
        EXPECT_EQ(native, known ? managed + 1 : 0) << managed;
        EXPECT_EQ(CVISDKHelper::_GetZTDatastoreTypeValue(static_cast<DatastoreType_t>(native)), known ? managed : -1) << managed;
    }
    EXPECT_EQ(CVISDKHelper::_GetZTDatastoreTypeValue(static_cast<DatastoreType_t>(9)), -1);
}

TEST(Records, DefaultsAndCopies)
{
    VMInfoStructs::SGuestOSInfo os;
    EXPECT_EQ(os.nAux01, 0);
    EXPECT_EQ(os.fullName, "Any");
    EXPECT_EQ(os.guestID, "");
    EXPECT_EQ(os.strAux01 + os.strAux02 + os.strAux03 + os.strAux04, "AnyAnyAnyAny");
    os.guestID = "ubuntu64Guest";
    os = os;
    VMInfoStructs::SGuestOSInfo copy(os);
    EXPECT_EQ(copy.guestID, "ubuntu64Guest");

    VMInfoStructs::SGuestFile file;
    EXPECT_EQ(file.size + file.type + file.modifiedTime + file.unixMode, 0);
    file.name = "a";
    file.unixUserId = 1000;
    VMInfoStructs::SGuestFile other;
    other = file;
    other._Copy(other);
    EXPECT_EQ(other.name, "a");
    EXPECT_EQ(other.unixUserId, 1000);

    VMInfoStructs::SVMOwnerInfo owner;
    EXPECT_FALSE(owner.group || owner.fullAccess || owner.readAccess);
    VMInfoStructs::SDiskChangeExtent extent;
    EXPECT_EQ(extent.llAux01 + extent.llStart + extent.llLength, 0);
}

// The rest runs with the runtime never started.
TEST(BeforeStart, ConnectionOperationsFailQuietlyOrWithTheirMessage)
{
    LogCapture log;
    CVISDKCppBridge bridge;
    EXPECT_EQ(bridge.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 0);
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(bridge.GetLastErrorString(), "Mono framework is not initialized");
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(bridge.Disconnect(), 0);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Result is invalid (int)"});
}

TEST(BeforeStart, EveryOperationGivesItsFailureValueAndLeavesOutputsAlone)
{
    LogCapture log;
    CVISDKCppBridge bridge;
    for (const Row& row : Rows()) {
        if (std::string(row.managed) == "Connect" || std::string(row.managed) == "GetLastErrorString")
            continue;
        log.Clear();
        EXPECT_EQ(row.call(bridge), row.failure) << row.managed;
        std::vector<std::string> expected;
        if (!row.nullMessage.empty())
            expected.push_back(row.nullMessage);
        EXPECT_EQ(log.Errors(), expected) << row.managed;
    }
    VMInfoStructs::SDiskTotalBlockInfo blocks;
    blocks.totalsize = 5;
    std::vector<VMInfoStructs::SDiskMetadataInfo> metadata(2);
    bridge.GetDiskBlockInfo("a", "b", "c", "d", true, blocks, metadata);
    EXPECT_EQ(blocks.totalsize, 5);
    EXPECT_EQ(metadata.size(), 2u);
    std::string snapshot = "kept";
    bridge.CreateBackupSnapshot("a", "b", true, true, snapshot);
    EXPECT_EQ(snapshot, "kept");
}

TEST(BeforeStart, CleanupFromAnyThreadIsHarmless)
{
    std::thread([] { CVISDKCppBridge().Cleanup(); }).join();
    EXPECT_FALSE(CVIWrapperPtr::c_monoThreadRunning);
}

TEST(BeforeStart, NothingAboveStartedTheRuntime)
{
    EXPECT_FALSE(CVIWrapperPtr::c_monoThreadRunning);
    EXPECT_FALSE(CVIWrapperPtr::c_monoInitStatus);
    EXPECT_EQ(g_domain, nullptr);
}

} // namespace
