// The list framework against the stand-in's factory and enumerators.
#include <gtest/gtest.h>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;
using VISDKHelper::CVISDKHelper;

namespace {

using ListsTest = ProbeTest;

int ManagedCount(MonoObject* list)
{
    MonoMethod* getter = mono_class_get_method_from_name(mono_object_get_class(list), "get_Count", 0);
    MonoObject* count = mono_runtime_invoke(getter, list, nullptr, nullptr);
    return *static_cast<int*>(mono_object_unbox(count));
}

MonoObject* ManagedItem(MonoObject* list, int index)
{
    MonoMethod* getter = mono_class_get_method_from_name(mono_object_get_class(list), "get_Item", 1);
    void* args[] = {&index};
    return mono_runtime_invoke(getter, list, args, nullptr);
}

TEST_F(ListsTest, StringListsKeepTheirOrderBothWays)
{
    std::vector<std::string> native;
    for (int i = 0; i < 1000; ++i)
        native.push_back("item-" + std::to_string(i) + (i % 3 ? "" : " \xC3\xA9"));
    MonoObject* list = nullptr;
    CVISDKHelper::ConvertStringInfoList(list, native);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ManagedCount(list), 1000);
    EXPECT_EQ(Text(ManagedItem(list, 999)), "String:item-999 \xC3\xA9");
    std::vector<std::string> back{"stale"};
    CVISDKHelper::ConvertStringInfoList(back, list);
    EXPECT_EQ(back, native);
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(ListsTest, EmptyAndNullLists)
{
    std::vector<std::string> out{"stale", "entries"};
    CVISDKHelper::ConvertStringInfoList(out, NewStringList({}));
    EXPECT_TRUE(out.empty());
    out = {"stale"};
    CVISDKHelper::ConvertStringInfoList(out, nullptr);
    EXPECT_TRUE(out.empty());
    MonoObject* list = nullptr;
    CVISDKHelper::ConvertStringInfoList(list, std::vector<std::string>{});
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ManagedCount(list), 0);
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(ListsTest, RecordListWritesFreshItemsInVectorOrder)
{
    std::vector<SVMOptionValue> options{{"a", "1"}, {"b", ""}, {"c", "3"}};
    MonoObject* list = nullptr;
    CVISDKHelper::ConvertVMOptionValueList(list, options);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(ManagedCount(list), 3);
    for (int i = 0; i < 3; ++i) {
        MonoObject* item = ManagedItem(list, i);
        MonoClass* klass = mono_object_get_class(item);
        EXPECT_STREQ(mono_class_get_name(klass), "SVMOptionValueLib");
        EXPECT_EQ(GetStringFieldValue(klass, item, "key"), options[i].key);
        EXPECT_EQ(GetStringFieldValue(klass, item, "value"), options[i].value);
    }
    std::vector<SVMOptionValue> back;
    CVISDKHelper::ConvertVMOptionValueList(back, list);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[2].key, "c");
    EXPECT_EQ(back[2].value, "3");
}

TEST_F(ListsTest, NonStringItemsReadAsEmptyStrings)
{
    MonoObject* item = ManagedString("x");
    std::string out = "stale";
    MonoObject* notString = BoxInt(4);
    CVISDKHelper::ConvertObject(out, notString);
    EXPECT_EQ(out, "");
    CVISDKHelper::ConvertObject(out, item);
    EXPECT_EQ(out, "x");
}

TEST_F(ListsTest, MissingNamesAreReported)
{
    std::vector<std::string> out{"stale"};
    CVISDKHelper::ConvertList(out, NewStringList({"a"}), nullptr, "NoSuchLibListEnumerator");
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(CVISDKHelper::CreateList("NoSuchLib"), nullptr);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Failed to get enumerator class [NoSuchLibListEnumerator]",
                                                      "Failed to get create list method [CreateNoSuchLibList]"}));
}

TEST_F(ListsTest, AListOfAnotherKindIsRefusedNotMisread)
{
    MonoObject* files = NewList("SGuestFileLib");
    ListAdd(files, NewRecord("SGuestFileLib"));
    std::vector<std::string> out{"stale"};
    CVISDKHelper::ConvertStringInfoList(out, files);
    EXPECT_TRUE(out.empty());
    std::vector<SVMOptionValue> options{{"k", "v"}};
    CVISDKHelper::ConvertList_NativeToManaged(files, options, nullptr, "SVMOptionValueLib");
    EXPECT_EQ(ManagedCount(files), 1);
    std::vector<std::string> errors = log.Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind("List of class [List`1] does not fit enumerator [SStringInfoLibListEnumerator]", 0), 0u) << errors[0];
    EXPECT_EQ(errors[1], "List of class [List`1] does not take items of class [SVMOptionValueLib]");
}

TEST_F(ListsTest, EveryListNameHasItsFactoryAndEnumerator)
{
    const char* names[] = {"SStringInfoLib", "SVMInfoLib", "SDiskControllerLib", "SDiskLib", "SVMNetworkCardLib",
                           "SDatastoreInfoLib", "SInventoryInfoLib", "SSCSILUNInfoLib", "SVMOptionValueLib",
                           "SHostStorageAdapterInfoLib"};
    for (const char* name : names)
        EXPECT_NE(CVISDKHelper::CreateList(name), nullptr) << name;
    const char* enumerators[] = {
        "SStringInfoLibListEnumerator", "SHostInfoLibListEnumerator", "SVMInfoLibListEnumerator",
        "SDiskControllerLibListEnumerator", "SDiskLibListEnumerator", "SVMFileLibListEnumerator",
        "SVMNetworkCardLibListEnumerator", "SSnapshotLibListEnumerator", "SDatastoreInfoLibListEnumerator",
        "SInventoryInfoLibListEnumerator", "SDataCenterInfoLibListEnumerator", "SClusterInfoLibListEnumerator",
        "SResourcePoolInfoLibListEnumerator", "SVAppInfoLibListEnumerator", "SNetworkInfoLibListEnumerator",
        "SHostStorageAdapterInfoLibListEnumerator", "SHostNetworkAdapterInfoLibListEnumerator", "SSCSILUNInfoLibListEnumerator",
        "SVMOwnerInfoLibListEnumerator", "SVMOptionValueLibListEnumerator", "SDiskChangeExtentLibListEnumerator",
        "SGuestFileLibListEnumerator", "SDiskBlockMapInfoLibListEnumerator", "SDiskBlockMapExtentLibListEnumerator",
        "SGuestOSInfoLibListEnumerator", "SIOFilterHostResultLibListEnumerator"};
    for (const char* name : enumerators) {
        MonoClass* klass = mono_class_from_name(g_image, "VISDKWrapper", name);
        ASSERT_NE(klass, nullptr) << name;
        for (const char* method : {"GetEnumerator", "MoveNext", "Current"})
            EXPECT_NE(mono_class_get_method_from_name(klass, method, -1), nullptr) << name << "." << method;
    }
    EXPECT_TRUE(log.Entries().empty());
}

} // namespace
