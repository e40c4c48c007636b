// Record conversions: field names, dates, unix ids, nested lists.
#include <gtest/gtest.h>

#include <functional>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;
using VISDKHelper::CVISDKHelper;

namespace {

using RecordsTest = ProbeTest;

TEST_F(RecordsTest, GuestFileRoundTripsEveryField)
{
    SGuestFile file;
    file.name = "/home/backup/\xC3\xA9t\xC3\xA9.txt";
    file.size = 5000000000LL;
    file.type = 2;
    file.modifiedTime = 1717405200;
    file.accessTime = 1717405300;
    file.createTime = 86400;
    file.unixUserId = 1000;
    file.unixGroupId = 100;
    file.unixMode = 0100644;
    MonoObject* object = NewRecord("SGuestFileLib");
    CVISDKHelper::ConvertObject(object, file);
    MonoClass* klass = mono_object_get_class(object);
    EXPECT_EQ(GetIntFieldValue(klass, object, "unixUserId"), 1000);
    EXPECT_EQ(GetIntFieldValue(klass, object, "unixGroupId"), 100);
    EXPECT_EQ(Ticks(GetStructFieldValue(klass, object, "modifiedTime")), 621355968000000000LL + 1717405200LL * 10000000LL);
    SGuestFile back;
    CVISDKHelper::ConvertObject(back, object);
    EXPECT_EQ(back.name, file.name);
    EXPECT_EQ(back.size, file.size);
    EXPECT_EQ(back.type, 2);
    EXPECT_EQ(back.modifiedTime, file.modifiedTime);
    EXPECT_EQ(back.accessTime, file.accessTime);
    EXPECT_EQ(back.createTime, 86400);
    EXPECT_EQ(back.unixUserId, 1000);
    EXPECT_EQ(back.unixGroupId, 100);
    EXPECT_EQ(back.unixMode, 0100644);
    EXPECT_TRUE(log.Entries().empty()) << log.Dump();
}

TEST_F(RecordsTest, GuestFileWithUnsetDatesReadsTheZeroTickConversion)
{
    MonoObject* object = NewRecord("SGuestFileLib");
    SGuestFile file;
    CVISDKHelper::ConvertObject(file, object);
    EXPECT_EQ(file.modifiedTime, 1782538810570LL) << "an unset DateTime is 0001-01-01";
}

TEST_F(RecordsTest, AForeignItemConvertsFieldByFieldWithDefaults)
{
    // An option value read as a guest OS: "fullName" and "guestID" are missing.
    MonoObject* option = NewRecord("SVMOptionValueLib");
    SGuestOSInfo os;
    CVISDKHelper::ConvertObject(os, option);
    EXPECT_EQ(os.fullName, "") << "a missing field reads empty, not the default";
    EXPECT_EQ(os.guestID, "");
    EXPECT_EQ(os.strAux01, "Any");
    EXPECT_EQ(os.nAux01, 0);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Could not find field [fullName]", "Could not find field [guestID]"}));
}

TEST_F(RecordsTest, GuestOSListKeepsItsAnyDefaults)
{
    MonoObject* item = NewRecord("SGuestOSInfoLib");
    SetStringFieldValue(mono_object_get_class(item), item, "fullName", "Ubuntu Linux (64-bit)");
    SetStringFieldValue(mono_object_get_class(item), item, "guestID", "ubuntu64Guest");
    MonoObject* list = NewList("SGuestOSInfoLib");
    ListAdd(list, item);
    std::vector<SGuestOSInfo> out;
    CVISDKHelper::ConvertGuestOSInfoList(out, list);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].fullName, "Ubuntu Linux (64-bit)");
    EXPECT_EQ(out[0].guestID, "ubuntu64Guest");
    EXPECT_EQ(out[0].strAux02, "Any");
    EXPECT_EQ(out[0].strAux04, "Any");
}

TEST_F(RecordsTest, OwnersAreRead)
{
    MonoObject* item = NewRecord("SVMOwnerInfoLib");
    MonoClass* klass = mono_object_get_class(item);
    SetStringFieldValue(klass, item, "name", "VSPHERE.LOCAL\\backup");
    SetBoolFieldValue(klass, item, "group", true);
    SetBoolFieldValue(klass, item, "readAccess", true);
    MonoObject* list = NewList("SVMOwnerInfoLib");
    ListAdd(list, item);
    std::vector<SVMOwnerInfo> owners;
    CVISDKHelper::ConvertVMOwnerInfoList(owners, list);
    ASSERT_EQ(owners.size(), 1u);
    EXPECT_EQ(owners[0].name, "VSPHERE.LOCAL\\backup");
    EXPECT_TRUE(owners[0].group);
    EXPECT_FALSE(owners[0].fullAccess);
    EXPECT_TRUE(owners[0].readAccess);
}

MonoObject* Extent(long long start, long long length)
{
    MonoObject* extent = NewRecord("SDiskChangeExtentLib");
    SetLongFieldValue(mono_object_get_class(extent), extent, "llStart", start);
    SetLongFieldValue(mono_object_get_class(extent), extent, "llLength", length);
    return extent;
}

TEST_F(RecordsTest, NullNestedListClearsTheCallersExtents)
{
    MonoObject* info = NewRecord("SDiskChangeInfoLib");
    SetLongFieldValue(mono_object_get_class(info), info, "llLength", 4096);
    SDiskChangeInfo changes;
    changes.changedAreaList.resize(3);
    changes.llAux01 = 9;
    CVISDKHelper::ConvertObject(changes, info);
    EXPECT_TRUE(changes.changedAreaList.empty());
    EXPECT_EQ(changes.llLength, 4096);
    EXPECT_EQ(changes.llAux01, 9) << "not a managed field";

    MonoObject* list = NewList("SDiskChangeExtentLib");
    ListAdd(list, Extent(0, 512));
    ListAdd(list, Extent(1LL << 40, 1LL << 20));
    SetObjectFieldValue(mono_object_get_class(info), info, "changedAreaList", list);
    CVISDKHelper::ConvertObject(changes, info);
    ASSERT_EQ(changes.changedAreaList.size(), 2u);
    EXPECT_EQ(changes.changedAreaList[1].llStart, 1LL << 40);
    EXPECT_EQ(changes.changedAreaList[1].llLength, 1LL << 20);
}

TEST_F(RecordsTest, MetadataReadsThroughTheOptionValueEnumerator)
{
    std::vector<SVMOptionValue> pairs{{"uuid", "6000C29"}, {"geometry.cylinders", "16383"}};
    MonoObject* list = nullptr;
    CVISDKHelper::ConvertVMOptionValueList(list, pairs);
    std::vector<SDiskMetadataInfo> metadata(5);
    CVISDKHelper::ConvertSVMOptionValueLibList(metadata, list);
    ASSERT_EQ(metadata.size(), 2u);
    EXPECT_EQ(metadata[0].key, "uuid");
    EXPECT_EQ(metadata[1].value, "16383");
}

// Converting from an object that has none of the fields logs each field's name, in conversion order.
struct FieldOrder {
    const char* record;
    std::function<void(MonoObject*&)> convert;
    std::vector<const char*> fields;
};

template <typename Record>
std::function<void(MonoObject*&)> Reads()
{
    return [](MonoObject*& object) {
        Record record;
        CVISDKHelper::ConvertObject(record, object);
    };
}

template <typename Record>
std::function<void(MonoObject*&)> Writes()
{
    return [](MonoObject*& object) { CVISDKHelper::ConvertObject(object, Record()); };
}

TEST_F(RecordsTest, FieldsAreReadAndWrittenByNameInOrder)
{
    const FieldOrder tables[] = {
        {"SVMOwnerInfo", Reads<SVMOwnerInfo>(), {"name", "group", "fullAccess", "readAccess"}},
        {"SVMOptionValue", Reads<SVMOptionValue>(), {"key", "value"}},
        {"SVMOptionValue out", Writes<SVMOptionValue>(), {"key", "value"}},
        {"SGuestFile", Reads<SGuestFile>(), {"name", "size", "type", "unixUserId", "unixGroupId", "unixMode"}},
        {"SGuestFile out", Writes<SGuestFile>(),
         {"name", "size", "type", "modifiedTime", "accessTime", "createTime", "unixUserId", "unixGroupId", "unixMode"}},
        {"SGuestOSInfo", Reads<SGuestOSInfo>(), {"fullName", "guestID"}},
        {"SDiskChangeExtent", Reads<SDiskChangeExtent>(), {"llLength", "llStart"}},
        {"SDiskChangeInfo", Reads<SDiskChangeInfo>(), {"llStartOffset", "llLength", "changedAreaList"}},
        {"SDiskBlockMapExtentInfo", Reads<SDiskBlockMapExtentInfo>(), {"length", "logicalStart", "physicalStart"}},
        {"SDiskBlockMapInfo", Reads<SDiskBlockMapInfo>(), {"element", "MapAreaList"}},
        {"SDiskTotalBlockInfo", Reads<SDiskTotalBlockInfo>(), {"totalsize", "TotalMapAreaList"}},
        {"SDiskMetadataInfo", Reads<SDiskMetadataInfo>(), {"key", "value"}},
    };
    for (const FieldOrder& table : tables) {
        log.Clear();
        MonoObject* foreign = ManagedDate(0);
        table.convert(foreign);
        std::vector<std::string> expected;
        for (const char* field : table.fields)
            expected.push_back(std::string("Could not find field [") + field + "]");
        EXPECT_EQ(log.Errors(), expected) << table.record;
    }
}

TEST_F(RecordsTest, NullItemsLeaveTheirElementAtDefaults)
{
    SGuestFile file;
    file.name = "kept";
    MonoObject* none = nullptr;
    CVISDKHelper::ConvertObject(file, none);
    EXPECT_EQ(file.name, "kept");
    CVISDKHelper::ConvertObject(none, file);
    EXPECT_TRUE(log.Entries().empty());
}

} // namespace
