// What the VM lifecycle, lookup and datastore operations copy back, and when.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "ManagedValue.h"
#include "TestSupport.h"

using namespace visdktest;
using namespace VISDKCppBridge;
using namespace VMInfoStructs;

namespace {

using VmOutputsTest = ProbeTest;

MonoObject* VmObject(const char* name, const char* uuid)
{
    MonoObject* vm = NewRecord("SVMInfoLib");
    MonoClass* klass = mono_object_get_class(vm);
    if (name)
        SetStringFieldValue(klass, vm, "strName", name);
    if (uuid)
        SetStringFieldValue(klass, vm, "strUuid", uuid);
    SetLongFieldValue(klass, vm, "memorySizeInMB", 4096);
    return vm;
}

// Output strings of int operations: taken only with a non-zero status; in-out ones start as the caller's text.
struct StringRow {
    const char* managed;
    int slot;
    bool inOut;
    std::function<int(std::string&)> call;
};

const StringRow kStringRows[] = {
    {"CreateVM", 5, false, [](std::string& out) { return Bridge().CreateVM("n", "h", "ds", "g", "net", out); }},
    {"RegisterVM", 5, true, [](std::string& out) { return Bridge().RegisterVM("[ds] a/a.vmx", "n", "h", "p", "f", out); }},
    {"RegisterVMWithNewUUID", 3, false, [](std::string& out) { return Bridge().RegisterVMWithNewUUID("[ds] a/a.vmx", "n", "h", out); }},
    {"ReRegisterVM", 1, true, [](std::string& out) { return Bridge().ReregisterVM("[ds] a/a.vmx", out); }},
};

TEST_F(VmOutputsTest, OutputStringsFollowTheStatus)
{
    for (const StringRow& row : kStringRows) {
        probe::Reset();
        std::string out = "mine";
        probe::Out(row.managed, row.slot, ManagedString("written"));
        probe::ReturnInt(row.managed, 0);
        EXPECT_EQ(row.call(out), 0) << row.managed;
        EXPECT_EQ(out, "mine") << row.managed;
        EXPECT_EQ(probe::ArgText(row.managed, row.slot), row.inOut ? "String:mine" : "null") << row.managed;

        probe::ReturnInt(row.managed, 3);
        EXPECT_EQ(row.call(out), 3) << row.managed;
        EXPECT_EQ(out, "written") << row.managed;

        // Untouched by the managed side: an in-out string comes back as it went, an output one as empty.
        probe::Reset();
        probe::ReturnInt(row.managed, 1);
        out = "mine";
        EXPECT_EQ(row.call(out), 1) << row.managed;
        EXPECT_EQ(out, row.inOut ? "mine" : "") << row.managed;

        probe::Reset();
        probe::Out(row.managed, row.slot, ManagedString("written"));
        probe::Throw(row.managed, "System.InvalidOperationException");
        out = "mine";
        EXPECT_EQ(row.call(out), 0) << row.managed;
        EXPECT_EQ(out, "mine") << row.managed;
    }
}

TEST_F(VmOutputsTest, CreateVirtualMachineSendsTheRecordAndTakesBackOnlyTheUuid)
{
    SVMInfo info;
    info.strName = "new-vm";
    info.strUuid = "old";
    info.memorySizeInMB = 2048;
    info.diskList.resize(2);
    info.diskList[1].llMaxSizeInBytes = 1LL << 34;

    probe::ReturnInt("CreateVirtualMachine", 0);
    probe::Out("CreateVirtualMachine", 1, ManagedString("4201"));
    EXPECT_EQ(Bridge().CreateVirtualMachine(info), 0);
    EXPECT_EQ(info.strUuid, "old");

    probe::ReturnInt("CreateVirtualMachine", 1);
    EXPECT_EQ(Bridge().CreateVirtualMachine(info), 1);
    EXPECT_EQ(info.strUuid, "4201");
    MonoObject* sent = probe::Arg("CreateVirtualMachine", 0);
    MonoClass* klass = mono_object_get_class(sent);
    EXPECT_EQ(GetStringFieldValue(klass, sent, "strName"), "new-vm");
    EXPECT_EQ(GetLongFieldValue(klass, sent, "memorySizeInMB"), 2048);

    probe::Reset();
    probe::ReturnInt("CreateVirtualMachine", 5);
    EXPECT_EQ(Bridge().CreateVirtualMachine(info), 5);
    EXPECT_EQ(info.strUuid, "");
    EXPECT_EQ(info.strName, "new-vm");
    EXPECT_EQ(info.memorySizeInMB, 2048);
    ASSERT_EQ(info.diskList.size(), 2u);
    EXPECT_EQ(info.diskList[1].llMaxSizeInBytes, 1LL << 34);

    info.strUuid = "kept";
    probe::Throw("CreateVirtualMachine", "System.InvalidOperationException");
    EXPECT_EQ(Bridge().CreateVirtualMachine(info), 0);
    EXPECT_EQ(info.strUuid, "kept");
}

// Each lookup with the key fields it needs.
struct LookupRow {
    const char* managed;
    bool nameOnly; // accepts an object without a UUID
    std::function<int(SVMInfo&)> call;
};

const LookupRow kLookups[] = {
    {"GetVMInfoForVM", true, [](SVMInfo& vm) { return Bridge().GetVMInfoForVM("vm", "h", "", 0x10, 0, vm); }},
    {"GetVMInfoForVMSnapshot", false,
     [](SVMInfo& vm) {
         std::string snapshot;
         return Bridge().GetVMInfoForVMSnapshot("vm", "h", 0x10, 0, snapshot, vm);
     }},
    {"GetVMInfoForVMByVMX", false, [](SVMInfo& vm) { return Bridge().GetVMInfoForVMByVMX("[ds] vm/vm.vmx", 0x10, 0, vm); }},
    {"GetVMInfoForVMByMoref", false, [](SVMInfo& vm) { return static_cast<int>(Bridge().GetVMInfoForVMByMoref("vm-1", 0x10, 0, vm)); }},
};

TEST_F(VmOutputsTest, LookupsFillTheRecordOnlyWhenTheKeyFieldsAreThere)
{
    struct Answer {
        const char* name;
        const char* uuid;
    };
    for (const LookupRow& row : kLookups) {
        for (Answer answer : {Answer{nullptr, "4200"}, Answer{"", "4200"}, Answer{"vm", nullptr}, Answer{"vm", ""}, Answer{"vm", "4200"}}) {
            probe::Reset();
            probe::Return(row.managed, VmObject(answer.name, answer.uuid));
            SVMInfo vm;
            vm.strName = "before";
            vm.memorySizeInMB = 7;
            bool named = answer.name && *answer.name;
            bool keyed = named && (row.nameOnly || (answer.uuid && *answer.uuid));
            std::string label = std::string(row.managed) + " name=" + (answer.name ? answer.name : "null") + " uuid=" +
                                (answer.uuid ? answer.uuid : "null");
            EXPECT_EQ(row.call(vm), keyed ? 1 : 0) << label;
            EXPECT_EQ(vm.strName, keyed ? "vm" : "before") << label;
            EXPECT_EQ(vm.memorySizeInMB, keyed ? 4096 : 7) << label;
        }
    }
}

TEST_F(VmOutputsTest, SnapshotLookupGivesItsStringBackBeforeTheKeyTest)
{
    SVMInfo vm;
    vm.strName = "before";
    std::string snapshot = "current";
    probe::Return("GetVMInfoForVMSnapshot", VmObject("vm", ""));
    probe::Out("GetVMInfoForVMSnapshot", 4, ManagedString("snapshot-12"));
    EXPECT_EQ(Bridge().GetVMInfoForVMSnapshot("vm", "h", 0, 0, snapshot, vm), 0);
    EXPECT_EQ(snapshot, "snapshot-12");
    EXPECT_EQ(vm.strName, "before");
    EXPECT_EQ(probe::ArgText("GetVMInfoForVMSnapshot", 4), "String:current");

    probe::ReturnNull("GetVMInfoForVMSnapshot");
    probe::Out("GetVMInfoForVMSnapshot", 4, nullptr);
    EXPECT_EQ(Bridge().GetVMInfoForVMSnapshot("vm", "h", 0, 0, snapshot, vm), 0);
    EXPECT_EQ(snapshot, "");

    snapshot = "mine";
    probe::Out("GetVMInfoForVMSnapshot", 4, ManagedString("snapshot-13"));
    probe::Throw("GetVMInfoForVMSnapshot", "System.InvalidOperationException");
    EXPECT_EQ(Bridge().GetVMInfoForVMSnapshot("vm", "h", 0, 0, snapshot, vm), 0);
    EXPECT_EQ(snapshot, "mine");
}

TEST_F(VmOutputsTest, ListsAreRebuiltOnlyFromAnAnswer)
{
    std::vector<SVMInfo> vms(2);
    std::vector<std::string> files{"old"};
    probe::ReturnNull("BrowseInventoryByName");
    probe::ReturnNull("GetFilesOnDSForHost");
    EXPECT_EQ(Bridge().BrowseInventoryByName("*", 0, 0, 0, vms), 0);
    EXPECT_EQ(Bridge().GetFilesOnDSForHost("h", "ds", "", false, files), 0);
    EXPECT_EQ(vms.size(), 2u);
    EXPECT_EQ(files, std::vector<std::string>{"old"});

    MonoObject* list = NewList("SVMInfoLib");
    ListAdd(list, VmObject("a", "1"));
    ListAdd(list, VmObject("", ""));
    probe::Return("BrowseInventoryByMoref", list);
    probe::Return("GetFilesOnDSForHost", NewStringList({}));
    EXPECT_EQ(Bridge().BrowseInventoryByMoref("group-v4", 0, 0, 0, vms), 1);
    EXPECT_EQ(Bridge().GetFilesOnDSForHost("h", "ds", "", false, files), 1);
    // Browsing has no key test: every item comes over.
    ASSERT_EQ(vms.size(), 2u);
    EXPECT_EQ(vms[0].strName, "a");
    EXPECT_EQ(vms[1].strName, "");
    EXPECT_TRUE(files.empty());

    probe::Return("BrowseInventoryByName", NewList("SVMInfoLib"));
    EXPECT_EQ(Bridge().BrowseInventoryByName("*", 0, 0, 0, vms), 1);
    EXPECT_TRUE(vms.empty());
}

TEST_F(VmOutputsTest, BrowsingFromAFreshThreadAttachesItFirst)
{
    MonoObject* list = NewList("SVMInfoLib");
    ListAdd(list, VmObject("a", "1"));
    probe::Return("BrowseInventoryByName", list);
    std::vector<SVMInfo> vms;
    int result = 0;
    std::thread([&] { result = Bridge().BrowseInventoryByName("a", 0, 0, 0, vms); }).join();
    EXPECT_EQ(result, 1);
    ASSERT_EQ(vms.size(), 1u);
    EXPECT_EQ(vms[0].strName, "a");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VmOutputsTest, FileDetailsAreOverwrittenWhateverTheAnswer)
{
    SVMFile file;
    file.strName = "stale";
    file.lSize = 9;
    probe::ReturnBool("GetDetailsForFileOnHost", false);
    EXPECT_FALSE(Bridge().GetDetailsForFileOnHost("h", "dc", "ds", "f", true, true, file));
    EXPECT_EQ(file.strName, "");
    EXPECT_EQ(file.lSize, 0);
    EXPECT_EQ(file.eFileType, 0);

    MonoObject* answer = NewRecord("SVMFileLib");
    MonoClass* klass = mono_object_get_class(answer);
    SetStringFieldValue(klass, answer, "strName", "[ds] vm/vm.vmx");
    SetLongFieldValue(klass, answer, "lSize", 3000);
    probe::Out("GetDetailsForFileOnHost", 6, answer);
    EXPECT_FALSE(Bridge().GetDetailsForFileOnHost("h", "dc", "ds", "f", true, true, file));
    EXPECT_EQ(file.strName, "[ds] vm/vm.vmx");
    EXPECT_EQ(file.lSize, 3000);

    file.strName = "kept";
    probe::Throw("GetDetailsForFileOnHost", "System.InvalidOperationException");
    EXPECT_FALSE(Bridge().GetDetailsForFileOnHost("h", "dc", "ds", "f", true, true, file));
    EXPECT_EQ(file.strName, "kept");
}

TEST_F(VmOutputsTest, ConsolidationFlagReachesOnlyTheThreeArgumentCaller)
{
    probe::ReturnBool("ConsolidateVMDisks", true);
    probe::Out("ConsolidateVMDisks", 2, BoxBool(true));
    bool needed = false;
    EXPECT_TRUE(Bridge().ConsolidateVMDisks("vm", "h", needed));
    EXPECT_TRUE(needed);
    EXPECT_TRUE(Bridge().ConsolidateVMDisks("vm", "h"));
    EXPECT_EQ(probe::ArgText("ConsolidateVMDisks", 2), "Boolean:False");
    EXPECT_EQ(probe::CallCount("ConsolidateVMDisks"), 2);
}

TEST_F(VmOutputsTest, RdmPathIsNeverAnEarlierAnswer)
{
    probe::ReturnString("AddRDMToVM", "[ds] vm/vm_rdm1.vmdk");
    EXPECT_EQ(Bridge().AddRDMToVM("vm", "h", "naa.1", "physicalMode", 0, 1, 10, "ds"), "[ds] vm/vm_rdm1.vmdk");
    probe::Throw("AddRDMToVM", "System.InvalidOperationException");
    EXPECT_EQ(Bridge().AddRDMToVM("vm", "h", "naa.1", "physicalMode", 0, 1, 10, "ds"), "");
}

TEST_F(VmOutputsTest, CopyFormsReachTheOverloadOfTheirLength)
{
    probe::ReturnInt("CopyDatastoreFile", 1);
    EXPECT_EQ(Bridge().CopyDatastoreFile("dc", "a", "x", "b", "y", "h"), 1);
    EXPECT_EQ(probe::ArgCount("CopyDatastoreFile"), 6);
    EXPECT_EQ(Bridge().CopyDatastoreFile("dc", "a", "x", "b", "y", "h", "dc2"), 1);
    EXPECT_EQ(probe::ArgCount("CopyDatastoreFile"), 7);
    EXPECT_EQ(probe::ArgText("CopyDatastoreFile", 6), "String:dc2");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

} // namespace
