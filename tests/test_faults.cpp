// A wrapper with broken list pieces and records that lack fields: every failure is logged, none is fatal.
#include <gtest/gtest.h>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "RecordBuilder.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;
using VISDKHelper::CVISDKHelper;

namespace {

using FaultsTest = ProbeTest;

TEST_F(FaultsTest, FactoryFailures)
{
    struct Case {
        const char* list;
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {"SDiskLib", {"Failed to get create list method [CreateSDiskLibList]"}},
        {"NullLib", {"Failed to invoke create list method [CreateNullLibList]"}},
        {"ThrowingLib",
         {"Exception caught in [CreateThrowingLibList] - InvalidOperationException",
          "Failed to invoke create list method [CreateThrowingLibList]"}},
    };
    for (int pass = 1; pass <= 2; ++pass)
        for (const Case& c : cases) {
            log.Clear();
            EXPECT_EQ(CVISDKHelper::CreateList(c.list), nullptr) << c.list;
            EXPECT_EQ(log.Errors(), c.errors) << c.list << " pass " << pass;
        }
}

TEST_F(FaultsTest, EnumeratorFailuresLeaveTheVectorEmpty)
{
    struct Case {
        const char* enumerator;
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {"NoCurrentLibListEnumerator", {"Failed to get enumerator method [NoCurrentLibListEnumerator]"}},
        {"NullEnumLibListEnumerator", {"Failed to invoke get enumerator method [NullEnumLibListEnumerator]"}},
        {"ThrowingGetLibListEnumerator",
         {"Exception caught in [GetEnumerator] - InvalidOperationException",
          "Failed to invoke get enumerator method [ThrowingGetLibListEnumerator]"}},
    };
    for (int pass = 1; pass <= 2; ++pass)
        for (const Case& c : cases) {
            log.Clear();
            std::vector<std::string> out{"stale"};
            CVISDKHelper::ConvertList(out, NewStringList({"a", "b"}), nullptr, c.enumerator);
            EXPECT_TRUE(out.empty()) << c.enumerator;
            EXPECT_EQ(log.Errors(), c.errors) << c.enumerator << " pass " << pass;
        }
}

TEST_F(FaultsTest, AThrowingEnumeratorKeepsWhatWasReadBeforeTheThrow)
{
    std::vector<std::string> out;
    CVISDKHelper::ConvertList(out, NewStringList({"first", "second", "third"}), nullptr, "ThrowingLibListEnumerator");
    EXPECT_EQ(out, std::vector<std::string>{"first"});
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Exception caught in [MoveNext] - InvalidOperationException"});
}

TEST_F(FaultsTest, AListWithoutAddIsReportedWithItsMethods)
{
    MonoObject* list = CVISDKHelper::CreateList("NoAddLib");
    ASSERT_NE(list, nullptr);
    std::vector<SVMOptionValue> options{{"k", "v"}};
    CVISDKHelper::ConvertList_NativeToManaged(list, options, nullptr, "SVMOptionValueLib");
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Failed to get add method for class [NoAddList]"});
    EXPECT_GE(log.CountContaining("Method: "), 1) << "the class's methods are dumped";
}

TEST_F(FaultsTest, AThrowingAddStopsTheFill)
{
    MonoObject* list = CVISDKHelper::CreateList("ThrowingAddLib");
    ASSERT_NE(list, nullptr);
    std::vector<SVMOptionValue> options{{"k1", "v1"}, {"k2", "v2"}, {"k3", "v3"}};
    CVISDKHelper::ConvertList_NativeToManaged(list, options, nullptr, "SVMOptionValueLib");
    EXPECT_EQ(log.Count("Exception caught in [Add] - InvalidOperationException"), 1);
    MonoMethod* count = mono_class_get_method_from_name(mono_object_get_class(list), "get_Count", 0);
    EXPECT_EQ(*static_cast<int*>(mono_object_unbox(mono_runtime_invoke(count, list, nullptr, nullptr))), 1);
}

TEST_F(FaultsTest, RecordsLackingFieldsConvertTheRest)
{
    MonoObject* object = NewRecord("SGuestFileLib");
    SGuestFile file;
    file.name = "a.txt";
    file.size = 10;
    file.modifiedTime = 1000;
    file.unixMode = 0600;
    file.unixUserId = 1000;
    for (int pass = 1; pass <= 2; ++pass) {
        log.Clear();
        CVISDKHelper::ConvertObject(object, file);
        EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Could not find field [modifiedTime]", "Could not find field [unixMode]"}))
            << "pass " << pass;
    }
    log.Clear();
    SGuestFile back;
    back.unixMode = 7;
    CVISDKHelper::ConvertObject(back, object);
    EXPECT_EQ(back.name, "a.txt");
    EXPECT_EQ(back.size, 10);
    EXPECT_EQ(back.unixUserId, 1000);
    EXPECT_EQ(back.modifiedTime, 0) << "a missing date reads 0, silently";
    EXPECT_EQ(back.unixMode, 0);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Could not find field [unixMode]"});

    log.Clear();
    MonoObject* list = nullptr;
    CVISDKHelper::ConvertVMOptionValueList(list, std::vector<SVMOptionValue>{{"k1", "v1"}, {"k2", "v2"}});
    EXPECT_EQ(log.Count("Could not find field [value]"), 2);
    std::vector<SVMOptionValue> read;
    CVISDKHelper::ConvertVMOptionValueList(read, list);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].key, "k2");
    EXPECT_EQ(read[1].value, "");
}

// A VM record whose disk list cannot be read must not pass for the whole VM: a backup of it would miss disks.
TEST_F(FaultsTest, AResultWithAListThatCouldNotBeReadWholeIsAFailureKeepingWhatWasRead)
{
    MonoObject* unreadable = NewStringList({"not", "disks"});
    const std::string notDisks = "List of class [" + ClassNameOf(unreadable) + "] does not fit enumerator [SDiskLibListEnumerator]";
    struct Case {
        const char* method;
        std::function<long long()> call;
    };
    SVMInfo info;
    std::vector<SVMInfo> vms;
    const Case cases[] = {
        {"GetVMInfoForVM", [&] { return Bridge().GetVMInfoForVM("vm-web01", "", "", VM_PROP_ALL, 0, info); }},
        {"BrowseInventoryByName", [&] { return Bridge().BrowseInventoryByName("Cluster01", 0, VM_PROP_ALL, 0, vms); }},
    };
    for (const Case& c : cases) {
        log.Clear();
        MonoObject* vm = Managed("SVMInfoLib").Str("strName", "vm-web01").Str("strUuid", "42").Object("diskList", unreadable).get();
        probe::Return(c.method, std::string(c.method) == "GetVMInfoForVM" ? vm : ListOfRecords("SVMInfoLib", {Managed(vm)}));
        EXPECT_EQ(c.call(), 0) << c.method;
        EXPECT_EQ(log.Errors(), (std::vector<std::string>{notDisks, "List conversion incomplete: [SDiskLibListEnumerator]"})) << c.method;
    }
    EXPECT_EQ(info.strName, "vm-web01") << "what was converted stays";
    ASSERT_EQ(vms.size(), 1u);
    EXPECT_EQ(vms[0].strName, "vm-web01");

    // A list that is simply absent means "none", and is no failure.
    log.Clear();
    probe::Return("GetVMInfoForVM", Managed("SVMInfoLib").Str("strName", "vm-web01").get());
    EXPECT_EQ(Bridge().GetVMInfoForVM("vm-web01", "", "", VM_PROP_ALL, 0, info), 1);
    EXPECT_TRUE(info.diskList.empty());
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

// This wrapper has no factory for disk lists: any call that would carry one goes out without it, so none goes out.
TEST_F(FaultsTest, AnInputListThatCouldNotBeBuiltWholeRefusesTheCall)
{
    SDisk disk;
    disk.strFileName = "[datastore1] vm-web01/vm-web01.vmdk";
    const std::vector<SDisk> disks{disk};
    SVMInfo created;
    created.strName = "vm-new";
    created.diskList = disks;
    struct Case {
        const char* method;
        std::function<bool()> call;
    };
    const Case cases[] = {
        {"RelocateVM", [&] { return Bridge().RelocateVM("vm-web01", "", "esx02.sim.local", "datastore2", "", false, disks); }},
        {"AttachVMStoragePolicyToVMAndDisks", [&] { return Bridge().AttachVMStoragePolicyToVMAndDisks("vm-web01", "", "Gold", "p-1", disks); }},
        {"CreateVirtualMachine", [&] { return Bridge().CreateVirtualMachine(created) != 0; }},
    };
    for (const Case& c : cases) {
        log.Clear();
        probe::ReturnBool(c.method, true);
        probe::ReturnInt(c.method, 1);
        EXPECT_FALSE(c.call()) << c.method;
        EXPECT_EQ(probe::CallCount(c.method), 0) << c.method;
        EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Failed to get create list method [CreateSDiskLibList]",
                                                          "List conversion incomplete: [SDiskLib]",
                                                          std::string("Could not prepare the arguments of method [") + c.method + "]"}))
            << c.method;
    }
}

} // namespace
