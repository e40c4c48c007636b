// End to end against the stand-in's simulated vCenter: sessions, power, snapshots, incremental backup, guests.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <thread>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;

namespace {

const char* kServer = "vcenter.sim.local";
const char* kAdmin = "administrator@vsphere.local";
const char* kPassword = "VMware1!";

long long SimNow()
{
    MonoObject* now = CallStatic("Simulator", "Now", nullptr);
    return *static_cast<long long*>(mono_object_unbox(now));
}

// True when `text` has the shape `shape`: 'H' an upper-case hex digit, 'h' a lower-case one, '#' one or more
// decimal digits, anything else itself. (std::regex trips GCC 12's uninitialized-use warning under sanitizers.)
bool HasShape(const std::string& text, const std::string& shape)
{
    size_t at = 0;
    for (char want : shape) {
        if (want == '#') {
            size_t from = at;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
                ++at;
            if (at == from)
                return false;
            continue;
        }
        if (at == text.size())
            return false;
        char got = text[at++];
        bool hex = std::isdigit(static_cast<unsigned char>(got));
        if (want == 'H' ? !(hex || (got >= 'A' && got <= 'F')) : want == 'h' ? !(hex || (got >= 'a' && got <= 'f')) : got != want)
            return false;
    }
    return at == text.size();
}

std::string Repeat(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

void SimAdvance(long long seconds)
{
    void* args[] = {&seconds};
    CallStatic("Simulator", "AdvanceTime", args);
}

bool SimWrite(const char* vm, const char* disk, long long offset, long long length)
{
    void* args[] = {std2gc(vm), std2gc(disk), &offset, &length};
    MonoObject* done = CallStatic("Simulator", "WriteDisk", args);
    return done && *static_cast<bool*>(mono_object_unbox(done));
}

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        probe::Reset();
        CallStatic("Simulator", "Reset", nullptr);
        ASSERT_EQ(Bridge().Connect(kServer, kAdmin, kPassword), 1) << Bridge().GetLastErrorString();
    }
    void TearDown() override { Bridge().Disconnect(); }
};

TEST(Sessions, LoginFactsAndRefusals)
{
    CVISDKCppBridge& bridge = Bridge();
    EXPECT_EQ(bridge.Connect(kServer, kAdmin, "wrong"), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "Cannot complete login due to an incorrect user name or password.");
    EXPECT_EQ(bridge.CheckConnection(), 0);

    ASSERT_EQ(bridge.Connect(kServer, kAdmin, kPassword), 1);
    EXPECT_EQ(bridge.CheckConnection(), 1);
    EXPECT_TRUE(bridge.IsVCenterConnection());
    EXPECT_EQ(bridge.GetConnectionVersion(), 8);
    EXPECT_EQ(bridge.GetConnectionApiVersion(), 802);
    EXPECT_FALSE(bridge.GetSessionKey().empty());
    EXPECT_EQ(bridge.GetSessionCookie().rfind("vmware_soap_session=", 0), 0u);
    EXPECT_TRUE(HasShape(bridge.GetCertificateThumbprint(), Repeat("HH:", 19) + "HH"))
        << bridge.GetCertificateThumbprint();
    std::vector<std::string> missing{"stale"};
    EXPECT_TRUE(bridge.VerifyAccountForBackup(missing));
    EXPECT_TRUE(missing.empty());
    EXPECT_EQ(bridge.Disconnect(), 1);
    EXPECT_EQ(bridge.CheckConnection(), 0);
}

TEST(Sessions, RestrictedAccountAndEsxHost)
{
    CVISDKCppBridge bridge;
    std::string first = kServer, second;
    ASSERT_EQ(bridge.SetVMFocus(first, second, 0), 1);
    ASSERT_EQ(bridge.Connect(kServer, "backup-ro@vsphere.local", "ReadOnly1!"), 1);
    std::vector<std::string> missing{"kept"};
    EXPECT_FALSE(bridge.VerifyAccountForSnap(missing));
    EXPECT_EQ(missing, std::vector<std::string>{"kept"}) << "the list follows only a true answer";
    EXPECT_EQ(bridge.PowerOffVM("vm-web01", ""), 0);
    EXPECT_NE(bridge.GetLastErrorString().find("Permission to perform this operation was denied."), std::string::npos);

    ASSERT_EQ(bridge.Connect("esx01.sim.local", "root", kPassword), 1);
    EXPECT_FALSE(bridge.IsVCenterConnection());
    bridge.ReleaseConnection();
}

TEST_F(SimulatorTest, PowerCycle)
{
    CVISDKCppBridge& bridge = Bridge();
    EXPECT_EQ(bridge.PowerOnVM("vm-app01", "esx02.sim.local"), 1);
    EXPECT_EQ(bridge.PowerOnVM("vm-app01", "esx02.sim.local"), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "The attempted operation cannot be performed in the current state (Powered on).");
    EXPECT_EQ(bridge.SuspendVM("vm-app01", ""), 1);
    EXPECT_EQ(bridge.PowerOnVM("vm-app01", ""), 1);
    EXPECT_EQ(bridge.PowerOffVM("vm-app01", ""), 1);
    EXPECT_EQ(bridge.PowerOffVM("vm-app01", ""), 0);
    EXPECT_EQ(bridge.RenameVM("vm-app01", "", "vm-app02"), 1);
    EXPECT_EQ(bridge.AnnotateVM("vm-app02", "", "nightly backup"), 1);
    EXPECT_EQ(bridge.MarkAsTemplate("vm-app02", ""), 1);
    EXPECT_EQ(bridge.PowerOnVM("vm-app02", ""), 0) << "templates do not power on";
}

TEST_F(SimulatorTest, SnapshotScenario)
{
    CVISDKCppBridge& bridge = Bridge();
    const char* vm = "vm-web01";
    std::string first, second, named;
    ASSERT_EQ(bridge.CreateBackupSnapshot(vm, "", false, false, first), 1);
    ASSERT_EQ(bridge.CreateBackupSnapshot(vm, "", true, false, second), 1);
    ASSERT_EQ(bridge.CreateSnapshotWithName(vm, "", "before upgrade", "kernel 6.1", false, false, named), 1);
    EXPECT_NE(first, second);
    int backups = -1, replicas = -1;
    EXPECT_EQ(bridge.CountBackupSnapshots(vm, "", backups), 1);
    EXPECT_EQ(bridge.CountReplicationSnapshots(vm, "", replicas), 1);
    EXPECT_EQ(backups, 2);
    EXPECT_EQ(replicas, 0);

    std::string name, description;
    time_t created = 0;
    bool quiesced = true;
    ASSERT_TRUE(bridge.GetSnapshotInfo(vm, "", named, name, created, description, quiesced));
    EXPECT_EQ(name, "before upgrade");
    EXPECT_EQ(description, "kernel 6.1");
    EXPECT_EQ(static_cast<long long>(created), SimNow() - 1) << "each creation advances the clock by a second";
    EXPECT_FALSE(quiesced);

    unsigned long long size = 0;
    EXPECT_TRUE(bridge.GetSnapshotSize(vm, "", first, size));
    EXPECT_GT(size, 0u);
    std::string file;
    EXPECT_EQ(bridge.GetSnapshotFileNameUsingSnapMoref(vm, "", first, file), 1);
    EXPECT_EQ(file.rfind("[datastore", 0), 0u) << file;

    EXPECT_TRUE(bridge.RevertToSnapshot(vm, "", first));
    SimAdvance(3 * 86400);
    EXPECT_EQ(bridge.RemoveOldSnapshots(vm, "", 2), 1);
    EXPECT_EQ(bridge.CountBackupSnapshots(vm, "", backups), 1);
    EXPECT_EQ(backups, 0);
    EXPECT_TRUE(bridge.GetSnapshotInfo(vm, "", named, name, created, description, quiesced)) << "user snapshots stay";
    EXPECT_EQ(bridge.RemoveSnapshots(vm, ""), 1);
    EXPECT_FALSE(bridge.GetSnapshotInfo(vm, "", named, name, created, description, quiesced));
}

struct Area {
    long long start, length;
    bool operator==(const Area& other) const { return start == other.start && length == other.length; }
};

std::vector<Area> Merge(std::vector<Area> areas)
{
    std::sort(areas.begin(), areas.end(), [](const Area& a, const Area& b) { return a.start < b.start; });
    std::vector<Area> merged;
    for (const Area& area : areas) {
        if (!merged.empty() && merged.back().start + merged.back().length >= area.start)
            merged.back().length = std::max(merged.back().start + merged.back().length, area.start + area.length) - merged.back().start;
        else
            merged.push_back(area);
    }
    return merged;
}

// Walks a disk window by window, checking that the windows tile it.
std::vector<Area> ChangedAreas(const char* vm, const std::string& snapshot, const char* disk, const std::string& changeId,
                               long long capacity, int* windows = nullptr)
{
    std::vector<Area> areas;
    long long offset = 0;
    int count = 0;
    while (offset < capacity) {
        SDiskChangeInfo info;
        EXPECT_EQ(Bridge().QueryChangedDiskAreas(vm, "", snapshot, disk, offset, changeId, info), 1) << Bridge().GetLastErrorString();
        EXPECT_EQ(info.llStartOffset, offset) << "no gap, no overlap";
        if (info.llLength <= 0)
            break;
        long long previousEnd = offset;
        for (const SDiskChangeExtent& extent : info.changedAreaList) {
            EXPECT_GE(extent.llStart, previousEnd) << "ascending and disjoint";
            EXPECT_LE(extent.llStart + extent.llLength, offset + info.llLength) << "inside its window";
            previousEnd = extent.llStart + extent.llLength;
            areas.push_back({extent.llStart, extent.llLength});
        }
        offset += info.llLength;
        ++count;
    }
    EXPECT_EQ(offset, capacity);
    if (windows)
        *windows = count;
    return areas;
}

TEST_F(SimulatorTest, IncrementalBackup)
{
    CVISDKCppBridge& bridge = Bridge();
    const char* vm = "vm-web01";
    const char* disk = "2000";
    ASSERT_EQ(bridge.SetChangeTrackingEnabled(vm, ""), 1);
    std::string snapshot1;
    ASSERT_EQ(bridge.CreateBackupSnapshot(vm, "", false, false, snapshot1), 1);
    std::string changeId1;
    ASSERT_EQ(bridge.GetChangeIdForDisk(vm, "", snapshot1, disk, changeId1), 1);
    EXPECT_TRUE(HasShape(changeId1, "52" + Repeat(" hh", 7) + "-hh" + Repeat(" hh", 7) + "/#")) << changeId1;

    SDiskTotalBlockInfo blocks;
    std::vector<SDiskMetadataInfo> metadata;
    ASSERT_EQ(bridge.GetDiskBlockInfo(vm, "", snapshot1, disk, false, blocks, metadata), 1);
    const long long capacity = blocks.totalsize;
    EXPECT_EQ(capacity, 16LL << 30);
    EXPECT_FALSE(metadata.empty());
    std::vector<Area> mapped;
    for (const SDiskBlockMapInfo& element : blocks.TotalMapAreaList)
        for (const SDiskBlockMapExtentInfo& extent : element.MapAreaList)
            mapped.push_back({extent.logicalStart, extent.length});

    int windows = 0;
    std::vector<Area> full = ChangedAreas(vm, snapshot1, disk, "*", capacity, &windows);
    EXPECT_GT(windows, 1) << "a large disk takes several calls";
    EXPECT_EQ(Merge(full), Merge(mapped)) << "a full pass is the allocated areas";

    const std::vector<Area> written{{1LL << 20, 65536}, {8LL << 30, 4096}, {(8LL << 30) + 4096, 4096}, {(16LL << 30) - 512, 512}};
    for (const Area& area : written)
        ASSERT_TRUE(SimWrite(vm, disk, area.start, area.length));
    std::string snapshot2;
    ASSERT_EQ(bridge.CreateBackupSnapshot(vm, "", false, false, snapshot2), 1);
    std::vector<Area> changed = ChangedAreas(vm, snapshot2, disk, changeId1, capacity);
    EXPECT_EQ(changed, Merge(written)) << "exactly the written extents, merged";

    std::string changeId2;
    ASSERT_EQ(bridge.GetChangeIdForDisk(vm, "", snapshot2, disk, changeId2), 1);
    EXPECT_NE(changeId2, changeId1);
    EXPECT_TRUE(ChangedAreas(vm, snapshot2, disk, changeId2, capacity).empty());

    // Re-enabling tracking starts a new epoch: older ids are refused, not misread.
    ASSERT_EQ(bridge.SetChangeTrackingDisabled(vm, ""), 1);
    ASSERT_EQ(bridge.SetChangeTrackingEnabled(vm, ""), 1);
    SDiskChangeInfo stale;
    EXPECT_EQ(bridge.QueryChangedDiskAreas(vm, "", snapshot2, disk, 0, changeId1, stale), 0);
    EXPECT_NE(bridge.GetLastErrorString().find("FileFault"), std::string::npos);
    EXPECT_EQ(bridge.RemoveSnapshots(vm, ""), 1);
}

TEST_F(SimulatorTest, GuestOperations)
{
    CVISDKCppBridge& bridge = Bridge();
    const char* vm = "vm-web01";
    std::vector<SGuestFile> files;
    ASSERT_TRUE(bridge.BrowseGuest(vm, "", "root", "guestpass", "/", files)) << bridge.GetLastErrorString();
    EXPECT_FALSE(files.empty());
    EXPECT_TRUE(bridge.CreateGuestFolder(vm, "", "root", "guestpass", "/srv/backup/stage"));
    std::vector<SGuestFile> folders;
    ASSERT_TRUE(bridge.BrowseGuestFolders(vm, "", "root", "guestpass", "/srv/backup", folders));
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].type, 1);
    int code = -1;
    EXPECT_TRUE(bridge.ExecuteScriptInGuest(vm, "", "root", "guestpass", "echo flushing; exit 3", "/bin/sh", "/", 60, "", code));
    EXPECT_EQ(code, 3);
    std::string temp;
    EXPECT_TRUE(bridge.GetGuestTempFolder(vm, "", "root", "guestpass", temp));
    EXPECT_EQ(temp, "/tmp");
    bool running = false;
    EXPECT_TRUE(bridge.IsProcessRunningInGuest(vm, "", "root", "guestpass", "", 1, running));
    EXPECT_TRUE(running);
    std::string path = "/srv/backup";
    EXPECT_TRUE(bridge.DeleteDirectoryInGuest(vm, "", "root", "guestpass", path));

    EXPECT_FALSE(bridge.BrowseGuest(vm, "", "root", "wrong", "/", files));
    EXPECT_EQ(bridge.GetLastErrorString(), "Failed to authenticate with the guest operating system using the supplied credentials.");
    EXPECT_FALSE(bridge.BrowseGuest("vm-app01", "", "root", "guestpass", "/", files)) << "powered off";
}

TEST_F(SimulatorTest, ManyThreadsShareOneBridge)
{
    const char* vms[] = {"vm-web01", "vm-db01", "vm-app01", "vm-dr01"};
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (const char* vm : vms)
        ASSERT_EQ(Bridge().SetChangeTrackingEnabled(vm, ""), 1) << vm << ": " << Bridge().GetLastErrorString();
    for (const char* vm : vms)
        threads.emplace_back([vm, &failures] {
            CVISDKCppBridge& bridge = Bridge();
            for (int round = 0; round < 25; ++round) {
                std::vector<std::string> missing;
                failures += !bridge.VerifyAccountForBackup(missing);
                failures += bridge.CheckConnection() != 1;
                std::vector<SGuestFile> files;
                if (std::string(vm) == "vm-web01")
                    failures += !bridge.BrowseGuest(vm, "", "root", "guestpass", "/", files) || files.empty();
                SDiskChangeInfo changes;
                failures += bridge.QueryChangedDiskAreas(vm, "", "", "2000", 0, "*", changes) != 1 || changes.changedAreaList.empty();
                int count = -1;
                failures += bridge.CountBackupSnapshots(vm, "", count) != 1 || count < 0;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
}

} // namespace
