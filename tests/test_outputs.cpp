// What each operation copies back, and when.
#include <gtest/gtest.h>

#include <functional>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace visdktest;
using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using VISDKHelper::CVISDKHelper;

namespace {

const long long kTicks1970 = 621355968000000000LL;

using OutputsTest = ProbeTest;

// Operations whose output string is copied back only on success.
struct OutputRow {
    const char* managed;
    int slot;
    std::function<long long(std::string&)> call;
};

const OutputRow kOutputRows[] = {
    {"CreateBackupSnapshot", 4, [](std::string& out) { return Bridge().CreateBackupSnapshot("vm", "h", true, false, out); }},
    {"CreateSnapshotWithName", 6,
     [](std::string& out) { return Bridge().CreateSnapshotWithName("vm", "h", "n", "d", true, false, out); }},
    {"CreateReplicationSnapshot", 4, [](std::string& out) { return Bridge().CreateReplicationSnapshot("vm", "h", false, true, out); }},
    {"RemoveSnapshot_Task", 3, [](std::string& out) { return Bridge().RemoveSnapshot_Task("vm", "h", "snap", out); }},
    {"CheckCreateSnapshotMethodDisabled", 2, [](std::string& out) { return Bridge().CheckCreateSnapshotMethodDisabled("vm", "h", out); }},
    {"GetGuestTempFolder", 4, [](std::string& out) { return Bridge().GetGuestTempFolder("vm", "h", "u", "p", out); }},
};

void ReturnStatus(const char* managed, int status)
{
    std::string name = managed;
    if (name == "CheckCreateSnapshotMethodDisabled" || name == "GetGuestTempFolder")
        probe::ReturnBool(managed, status != 0);
    else
        probe::ReturnInt(managed, status);
}

TEST_F(OutputsTest, OutputStringsFollowTheResult)
{
    for (const OutputRow& row : kOutputRows) {
        probe::Reset();
        std::string out = "keep";
        probe::Out(row.managed, row.slot, ManagedString("written"));
        ReturnStatus(row.managed, 0);
        EXPECT_EQ(row.call(out), 0) << row.managed;
        EXPECT_EQ(out, "keep") << row.managed;

        ReturnStatus(row.managed, 1);
        EXPECT_NE(row.call(out), 0) << row.managed;
        EXPECT_EQ(out, "written") << row.managed;

        probe::Reset();
        ReturnStatus(row.managed, 1);
        out = "keep";
        EXPECT_NE(row.call(out), 0) << row.managed;
        EXPECT_EQ(out, "") << row.managed << ": a null output becomes empty";

        probe::Reset();
        probe::Out(row.managed, row.slot, ManagedString("written"));
        probe::Throw(row.managed, "System.InvalidOperationException");
        out = "keep";
        EXPECT_EQ(row.call(out), 0) << row.managed;
        EXPECT_EQ(out, "keep") << row.managed;
    }
}

TEST_F(OutputsTest, StatusIsPassedThroughUnchanged)
{
    std::string out;
    probe::ReturnInt("CreateBackupSnapshot", -7);
    EXPECT_EQ(Bridge().CreateBackupSnapshot("vm", "h", true, true, out), -7);
}

// Values the managed side writes straight into the caller's variable, whatever happens afterwards.
struct DirectRow {
    const char* managed;
    int slot;
    std::function<MonoObject*()> value;
    long long expected;
    std::function<long long(bool& result)> call; // returns the caller's variable after the call
};

const DirectRow kDirectRows[] = {
    {"CountBackupSnapshots", 2, [] { return BoxInt(9); }, 9,
     [](bool& result) {
         int count = 1;
         result = Bridge().CountBackupSnapshots("vm", "h", count) != 0;
         return static_cast<long long>(count);
     }},
    {"CountReplicationSnapshots", 2, [] { return BoxInt(4); }, 4,
     [](bool& result) {
         int count = 1;
         result = Bridge().CountReplicationSnapshots("vm", "h", count) != 0;
         return static_cast<long long>(count);
     }},
    {"GetSnapshotSize", 3, [] { return BoxLong(5000000000LL); }, 5000000000LL,
     [](bool& result) {
         unsigned long long size = 1;
         result = Bridge().GetSnapshotSize("vm", "h", "s", size);
         return static_cast<long long>(size);
     }},
    {"ExecuteScriptInGuest", 9, [] { return BoxInt(3); }, 3,
     [](bool& result) {
         int code = 1;
         result = Bridge().ExecuteScriptInGuest("vm", "h", "u", "p", "s", "a", "w", 10, "sh", code);
         return static_cast<long long>(code);
     }},
    {"ExecuteProcessInGuest", 8, [] { return BoxInt(127); }, 127,
     [](bool& result) {
         int code = 1;
         result = Bridge().ExecuteProcessInGuest("vm", "h", "u", "p", "s", "a", "w", 10, code);
         return static_cast<long long>(code);
     }},
    {"IsProcessRunningInGuest", 6, [] { return BoxBool(true); }, 1,
     [](bool& result) {
         bool running = false;
         result = Bridge().IsProcessRunningInGuest("vm", "h", "u", "p", "proc", 42, running);
         return static_cast<long long>(running);
     }},
    {"ComputeGuestSize", 2, [] { return BoxLong(1LL << 40); }, 1LL << 40,
     [](bool& result) {
         unsigned long long size = 1;
         result = Bridge().ComputeGuestSize("vm", "h", size);
         return static_cast<long long>(size);
     }},
};

TEST_F(OutputsTest, DirectOutputsHoldWhatTheManagedSideWroteEvenWhenItThrew)
{
    for (const DirectRow& row : kDirectRows) {
        MonoObject* value = row.value();
        long long expected = row.expected;
        probe::Reset();
        probe::Out(row.managed, row.slot, value);
        bool result = true;
        EXPECT_EQ(row.call(result), expected) << row.managed;
        EXPECT_FALSE(result) << row.managed << ": the probe's default result";

        probe::Reset();
        probe::Out(row.managed, row.slot, value);
        probe::Throw(row.managed, "System.TimeoutException");
        EXPECT_EQ(row.call(result), expected) << row.managed;
        EXPECT_FALSE(result) << row.managed;
    }
}

TEST_F(OutputsTest, SnapshotInfoCopiesOnlyOnTrue)
{
    const long long created = 1700000000LL;
    probe::Out("GetSnapshotInfo", 3, ManagedString("nightly"));
    probe::Out("GetSnapshotInfo", 4, ManagedDate(kTicks1970 + created * 10000000LL + 9000000LL));
    probe::Out("GetSnapshotInfo", 5, ManagedString("before upgrade"));
    probe::Out("GetSnapshotInfo", 6, BoxBool(true));
    probe::ReturnBool("GetSnapshotInfo", false);
    std::string name = "n0", description = "d0";
    time_t when = 77;
    bool flag = false;
    EXPECT_FALSE(Bridge().GetSnapshotInfo("vm", "h", "snap-1", name, when, description, flag));
    EXPECT_EQ(name, "n0");
    EXPECT_EQ(when, 77);
    EXPECT_EQ(description, "d0");
    EXPECT_TRUE(flag) << "written by the managed side whatever the result";

    probe::ReturnBool("GetSnapshotInfo", true);
    flag = false;
    EXPECT_TRUE(Bridge().GetSnapshotInfo("vm", "h", "snap-1", name, when, description, flag));
    EXPECT_EQ(name, "nightly");
    EXPECT_EQ(when, created) << "fractions of a second are dropped";
    EXPECT_EQ(description, "before upgrade");
    EXPECT_TRUE(flag);
}

TEST_F(OutputsTest, SnapshotInfoWithAnUnsetDateGivesTheZeroTickConversion)
{
    probe::ReturnBool("GetSnapshotInfo", true);
    std::string name, description;
    time_t when = 0;
    bool flag = false;
    EXPECT_TRUE(Bridge().GetSnapshotInfo("vm", "h", "s", name, when, description, flag));
    EXPECT_EQ(when, 1782538810570LL);
}

TEST_F(OutputsTest, SnapshotFileNameNeedsAnAnswer)
{
    std::string file = "[old] stale.vmdk";
    probe::ReturnNull("GetSnapshotFileNameUsingSnapMoref");
    EXPECT_EQ(Bridge().GetSnapshotFileNameUsingSnapMoref("vm", "h", "s", file), 0);
    EXPECT_EQ(file, "[old] stale.vmdk");
    EXPECT_EQ(log.Count("Result is invalid (string)"), 1);

    probe::ReturnString("GetSnapshotFileNameUsingSnapMoref", "");
    EXPECT_EQ(Bridge().GetSnapshotFileNameUsingSnapMoref("vm", "h", "s", file), 0);
    EXPECT_EQ(file, "");

    probe::ReturnString("GetSnapshotFileNameUsingSnapMoref", "[ds1] vm/vm-000001.vmdk");
    EXPECT_EQ(Bridge().GetSnapshotFileNameUsingSnapMoref("vm", "h", "s", file), 1);
    EXPECT_EQ(file, "[ds1] vm/vm-000001.vmdk");

    probe::Throw("GetSnapshotFileNameUsingSnapMoref", "System.InvalidOperationException");
    file = "kept";
    EXPECT_EQ(Bridge().GetSnapshotFileNameUsingSnapMoref("vm", "h", "s", file), 0);
    EXPECT_EQ(file, "kept");
}

TEST_F(OutputsTest, ChangeIdIsFreshOnlyWhenOneCameBack)
{
    std::string id = "52 aa/3";
    probe::ReturnNull("GetChangeIdForDisk");
    EXPECT_EQ(Bridge().GetChangeIdForDisk("vm", "h", "s", "2000", id), 0);
    EXPECT_EQ(id, "52 aa/3");

    // An empty text is how the client answers a failure: no fresh id either.
    probe::ReturnString("GetChangeIdForDisk", "");
    EXPECT_EQ(Bridge().GetChangeIdForDisk("vm", "h", "s", "2000", id), 0);
    EXPECT_EQ(id, "");

    probe::ReturnString("GetChangeIdForDisk", "52 aa/4");
    EXPECT_EQ(Bridge().GetChangeIdForDisk("vm", "h", "s", "2000", id), 1);
    EXPECT_EQ(id, "52 aa/4");

    probe::Throw("GetChangeIdForDisk", "System.InvalidOperationException");
    EXPECT_EQ(Bridge().GetChangeIdForDisk("vm", "h", "s", "2000", id), 0);
    EXPECT_EQ(id, "52 aa/4");
}

TEST_F(OutputsTest, AccountChecksCopyTheirListOnlyOnTrue)
{
    std::vector<std::string> missing{"earlier"};
    probe::Out("VerifyAccountForBackup", 0, NewStringList({"Datastore.Browse", "VirtualMachine.State.CreateSnapshot"}));
    probe::ReturnBool("VerifyAccountForBackup", false);
    EXPECT_FALSE(Bridge().VerifyAccountForBackup(missing));
    EXPECT_EQ(missing, std::vector<std::string>{"earlier"});

    probe::ReturnBool("VerifyAccountForBackup", true);
    EXPECT_TRUE(Bridge().VerifyAccountForBackup(missing));
    EXPECT_EQ(missing, (std::vector<std::string>{"Datastore.Browse", "VirtualMachine.State.CreateSnapshot"}));

    probe::Reset();
    probe::ReturnBool("VerifyAccountForSnap", true);
    EXPECT_TRUE(Bridge().VerifyAccountForSnap(missing));
    EXPECT_TRUE(missing.empty());
}

MonoObject* GuestFileObject(const SGuestFile& file)
{
    MonoObject* object = NewRecord("SGuestFileLib");
    CVISDKHelper::ConvertObject(object, file);
    return object;
}

TEST_F(OutputsTest, BrowseGuestReplacesTheVectorOnlyOnTrue)
{
    SGuestFile a, b;
    a.name = "etc";
    a.type = 1;
    b.name = "passwd";
    b.size = 2048;
    MonoObject* list = NewList("SGuestFileLib");
    ListAdd(list, GuestFileObject(a));
    ListAdd(list, GuestFileObject(b));
    std::vector<SGuestFile> files(1);
    files[0].name = "earlier";
    probe::Out("BrowseGuest", 5, list);
    probe::ReturnBool("BrowseGuest", false);
    EXPECT_FALSE(Bridge().BrowseGuest("vm", "h", "u", "p", "/", files));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, "earlier");

    probe::ReturnBool("BrowseGuest", true);
    EXPECT_TRUE(Bridge().BrowseGuest("vm", "h", "u", "p", "/", files));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "etc");
    EXPECT_EQ(files[1].size, 2048);

    probe::Reset();
    probe::ReturnBool("BrowseGuestFolders", true);
    EXPECT_TRUE(Bridge().BrowseGuestFolders("vm", "h", "u", "p", "/", files));
    EXPECT_TRUE(files.empty());
}

TEST_F(OutputsTest, ChangeGuestFileAttributesSendsTheRecordByValue)
{
    SGuestFile file;
    file.name = "/var/log/app.log";
    file.size = 123;
    file.modifiedTime = 1600000000;
    file.unixUserId = 1000;
    file.unixGroupId = 100;
    file.unixMode = 0640;
    probe::ReturnBool("ChangeGuestFileAttributes", true);
    EXPECT_TRUE(Bridge().ChangeGuestFileAttributes("vm", "h", "u", "p", "/var/log/app.log", file));
    MonoObject* received = probe::Arg("ChangeGuestFileAttributes", 5);
    SGuestFile back;
    CVISDKHelper::ConvertObject(back, received);
    EXPECT_EQ(back.name, file.name);
    EXPECT_EQ(back.size, 123);
    EXPECT_EQ(back.modifiedTime, 1600000000);
    EXPECT_EQ(back.unixUserId, 1000);
    EXPECT_EQ(back.unixGroupId, 100);
    EXPECT_EQ(back.unixMode, 0640);
}

TEST_F(OutputsTest, DeleteDirectoryNeverWritesItsFifthArgument)
{
    std::string path = "/tmp/work";
    probe::ReturnBool("DeleteDirectoryInGuest", true);
    EXPECT_TRUE(Bridge().DeleteDirectoryInGuest("vm", "h", "u", "p", path));
    EXPECT_EQ(path, "/tmp/work");
    EXPECT_EQ(probe::ArgText("DeleteDirectoryInGuest", 4), "String:/tmp/work");
}

MonoObject* ExtentObject(long long length, long long logical, long long physical)
{
    MonoObject* object = NewRecord("SDiskBlockMapExtentInfoLib");
    MonoClass* klass = mono_object_get_class(object);
    SetLongFieldValue(klass, object, "length", length);
    SetLongFieldValue(klass, object, "logicalStart", logical);
    SetLongFieldValue(klass, object, "physicalStart", physical);
    return object;
}

MonoObject* BlockMapObject(const std::string& element, int extents)
{
    MonoObject* object = NewRecord("SDiskBlockMapInfoLib");
    MonoClass* klass = mono_object_get_class(object);
    SetStringFieldValue(klass, object, "element", element);
    MonoObject* list = NewList("SDiskBlockMapExtentInfoLib");
    for (int i = 0; i < extents; ++i)
        ListAdd(list, ExtentObject(4096, i * 4096LL, 1000000 + i * 4096LL));
    SetObjectFieldValue(klass, object, "MapAreaList", list);
    return object;
}

MonoObject* OptionValue(const std::string& key, const std::string& value)
{
    MonoObject* object = NewRecord("SVMOptionValueLib");
    VISDKHelper::SVMOptionValue native{key, value};
    CVISDKHelper::ConvertObject(object, native);
    return object;
}

TEST_F(OutputsTest, BlockInfoConvertsItsOutputsWhateverTheResult)
{
    MonoObject* total = NewRecord("SDiskTotalBlockInfoLib");
    MonoClass* klass = mono_object_get_class(total);
    SetLongFieldValue(klass, total, "totalsize", 1LL << 34);
    MonoObject* maps = NewList("SDiskBlockMapInfoLib");
    ListAdd(maps, BlockMapObject("disk-flat.vmdk", 3));
    ListAdd(maps, BlockMapObject("disk-delta.vmdk", 0));
    SetObjectFieldValue(klass, total, "TotalMapAreaList", maps);
    MonoObject* metadata = NewList("SVMOptionValueLib");
    ListAdd(metadata, OptionValue("uuid", "6000C29a"));
    ListAdd(metadata, OptionValue("adapterType", "lsilogic"));

    for (int status : {0, 7}) {
        probe::Reset();
        probe::Out("GetDiskBlockInfoList", 5, total);
        probe::Out("GetDiskBlockInfoList", 6, metadata);
        probe::ReturnInt("GetDiskBlockInfoList", status);
        SDiskTotalBlockInfo blocks;
        std::vector<SDiskMetadataInfo> pairs(5);
        EXPECT_EQ(Bridge().GetDiskBlockInfo("vm", "h", "s", "2000", true, blocks, pairs), status);
        EXPECT_EQ(blocks.totalsize, 1LL << 34);
        ASSERT_EQ(blocks.TotalMapAreaList.size(), 2u);
        EXPECT_EQ(blocks.TotalMapAreaList[0].element, "disk-flat.vmdk");
        ASSERT_EQ(blocks.TotalMapAreaList[0].MapAreaList.size(), 3u);
        EXPECT_EQ(blocks.TotalMapAreaList[0].MapAreaList[2].logicalStart, 8192);
        EXPECT_EQ(blocks.TotalMapAreaList[0].MapAreaList[2].physicalStart, 1000000 + 8192);
        EXPECT_TRUE(blocks.TotalMapAreaList[1].MapAreaList.empty());
        ASSERT_EQ(pairs.size(), 2u);
        EXPECT_EQ(pairs[1].key, "adapterType");
        EXPECT_EQ(pairs[1].value, "lsilogic");
    }

    probe::Reset();
    probe::Out("GetDiskBlockInfoList", 5, total);
    probe::ReturnInt("GetDiskBlockInfoList", 1);
    SDiskTotalBlockInfo blocks;
    std::vector<SDiskMetadataInfo> pairs(2);
    EXPECT_EQ(Bridge().GetDiskBlockInfo("vm", "h", "s", "2000", true, blocks, pairs), 1);
    EXPECT_TRUE(pairs.empty()) << "a null metadata list empties the vector";
    EXPECT_EQ(blocks.TotalMapAreaList.size(), 2u);
}

TEST_F(OutputsTest, ChangedAreasConvertFromTheReturnedObject)
{
    MonoObject* info = NewRecord("SDiskChangeInfoLib");
    MonoClass* klass = mono_object_get_class(info);
    SetLongFieldValue(klass, info, "llStartOffset", 65536);
    SetLongFieldValue(klass, info, "llLength", 1LL << 30);
    MonoObject* areas = NewList("SDiskChangeExtentLib");
    for (long long start : {65536LL, 1048576LL}) {
        MonoObject* extent = NewRecord("SDiskChangeExtentLib");
        SetLongFieldValue(mono_object_get_class(extent), extent, "llStart", start);
        SetLongFieldValue(mono_object_get_class(extent), extent, "llLength", 4096);
        ListAdd(areas, extent);
    }
    SetObjectFieldValue(klass, info, "changedAreaList", areas);
    probe::Return("QueryChangedDiskAreas", info);
    SDiskChangeInfo changes;
    EXPECT_EQ(Bridge().QueryChangedDiskAreas("vm", "h", "s", "2000", 65536, "52 aa/1", changes), 1);
    EXPECT_EQ(changes.llStartOffset, 65536);
    EXPECT_EQ(changes.llLength, 1LL << 30);
    ASSERT_EQ(changes.changedAreaList.size(), 2u);
    EXPECT_EQ(changes.changedAreaList[1].llStart, 1048576);
    EXPECT_EQ(changes.changedAreaList[1].llLength, 4096);
    EXPECT_EQ(changes.changedAreaList[1].llAux01, 0);

    probe::ReturnNull("QueryChangedDiskAreas");
    EXPECT_EQ(Bridge().QueryChangedDiskAreas("vm", "h", "s", "2000", 0, "*", changes), 0);
    EXPECT_EQ(changes.changedAreaList.size(), 2u);
}

TEST_F(OutputsTest, PageInfoReadsAStringList)
{
    std::vector<std::string> pages{"old"};
    probe::Return("GetPageInfoForExtent", NewStringList({}));
    EXPECT_TRUE(Bridge().GetPageInfoForExtent("vm", "h", "e", 1, pages));
    EXPECT_TRUE(pages.empty());

    probe::Return("GetPageInfoForExtent", NewStringList({"p0", "p1"}));
    EXPECT_TRUE(Bridge().GetPageInfoForExtent("vm", "h", "e", 1, pages));
    EXPECT_EQ(pages, (std::vector<std::string>{"p0", "p1"}));

    probe::ReturnNull("GetPageInfoForExtent");
    EXPECT_FALSE(Bridge().GetPageInfoForExtent("vm", "h", "e", 1, pages));
    EXPECT_EQ(pages.size(), 2u);
}

} // namespace
