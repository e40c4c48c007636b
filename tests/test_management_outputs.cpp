// What the tag, policy, filter, task, OVF, clone and customisation operations copy back, and when.
#include <gtest/gtest.h>

#include <functional>

#include "ManagedValue.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace visdktest;
using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using VISDKHelper::CVISDKHelper;

namespace {

using ManagementOutputsTest = ProbeTest;

MonoObject* VmObject(const std::string& name, long long cpus)
{
    MonoObject* vm = NewRecord("SVMInfoLib");
    SetStringFieldValue(mono_object_get_class(vm), vm, "strName", name);
    SetLongFieldValue(mono_object_get_class(vm), vm, "numOfCPU", cpus);
    return vm;
}

MonoObject* DiskObject(const std::string& file, const std::string& policy)
{
    SDisk disk;
    disk.strFileName = file;
    disk.vmStoragePolicyName = policy;
    MonoObject* object = NewRecord("SDiskLib");
    CVISDKHelper::ConvertObject(object, disk);
    return object;
}

SVMOptionValue SVMOption(const std::string& key, const std::string& value)
{
    SVMOptionValue option;
    option.key = key;
    option.value = value;
    return option;
}

MonoObject* OptionValueOf(const std::string& key, const std::string& value)
{
    SVMOptionValue option = SVMOption(key, value);
    MonoObject* object = NewRecord("SVMOptionValueLib");
    CVISDKHelper::ConvertObject(object, option);
    return object;
}

size_t ListCount(MonoObject* list)
{
    std::vector<SInventoryInfo> items;
    CVISDKHelper::ConvertInventoryInfoList(items, list);
    return items.size();
}

// A boxed flag or integer decides by its value; any other object means done; none means failure.
TEST_F(ManagementOutputsTest, AttachTagsToVMReadsABoxedAnswerByItsValue)
{
    struct Case {
        const char* what;
        MonoObject* answer;
        int expected;
    };
    const Case cases[] = {
        {"true", BoxBool(true), 1},          {"false", BoxBool(false), 0},   {"int 0", BoxInt(0), 0},
        {"int -1", BoxInt(-1), 1},           {"long 0", BoxLong(0), 0},      {"long 2^40", BoxLong(1LL << 40), 1},
        {"record", NewRecord("SInventoryInfoLib"), 1}, {"empty string", ManagedString(""), 1}, {"null", nullptr, 0},
    };
    for (const Case& c : cases) {
        probe::ReturnRaw("AttachTagsToVM", c.answer);
        std::vector<SInventoryInfo> tags;
        EXPECT_EQ(Bridge().AttachTagsToVM("vm", tags), c.expected) << c.what;
        ASSERT_NE(probe::Arg("AttachTagsToVM", 1), nullptr) << c.what;
        EXPECT_EQ(ListCount(probe::Arg("AttachTagsToVM", 1)), 0u) << c.what;
    }
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

// Output strings of int and bool operations come back only with a success.
TEST_F(ManagementOutputsTest, OutputStringsFollowTheResult)
{
    struct Case {
        const char* managed;
        int slot;
        bool boolean;
        std::function<long long(std::string&)> call;
    };
    const Case cases[] = {
        {"GetCustomField", 3, false, [](std::string& out) { return Bridge().GetCustomField("vm", "h", "f", out); }},
        {"GetHostConfigValue", 2, false, [](std::string& out) { return Bridge().GetHostConfigValue("h", "k", out); }},
        {"CloneAndReConfigVM_Task", 3, false,
         [](std::string& out) {
             SVMInfo info;
             return Bridge().CloneAndReConfigVM_Task(info, "src", "h", out);
         }},
        {"IsRelocateTaskInProgress", 2, true, [](std::string& out) { return Bridge().IsRelocateTaskInProgress("vm", "h", out); }},
        {"RelocateVM_Task", 7, true,
         [](std::string& out) { return Bridge().RelocateVM_Task("vm", "h", "t", "ds", "p", false, std::vector<SDisk>(), out); }},
        {"CheckNewVMTaskProgress", 4, true,
         [](std::string& out) {
             bool done = false, failed = false;
             int progress = 0;
             return Bridge().CheckNewVMTaskProgress("task-1", done, failed, progress, out);
         }},
    };
    for (const Case& c : cases) {
        probe::Reset();
        probe::Out(c.managed, c.slot, ManagedString("written"));
        std::string out = "keep";
        c.boolean ? probe::ReturnBool(c.managed, false) : probe::ReturnInt(c.managed, 0);
        EXPECT_EQ(c.call(out), 0) << c.managed;
        EXPECT_EQ(out, "keep") << c.managed;
        c.boolean ? probe::ReturnBool(c.managed, true) : probe::ReturnInt(c.managed, 3);
        EXPECT_NE(c.call(out), 0) << c.managed;
        EXPECT_EQ(out, "written") << c.managed;
        probe::Throw(c.managed, "System.InvalidOperationException");
        out = "keep";
        EXPECT_EQ(c.call(out), 0) << c.managed;
        EXPECT_EQ(out, "keep") << c.managed;
    }
}

TEST_F(ManagementOutputsTest, ListQueriesKeepTheVectorWithoutAListAndEmptyItForAnEmptyOne)
{
    std::vector<SInventoryInfo> tags(2);
    probe::ReturnNull("GetTagsForVM");
    EXPECT_EQ(Bridge().GetTagsForVM("vm", tags), 0);
    EXPECT_EQ(tags.size(), 2u);
    probe::Return("GetTagsForVM", NewList("SInventoryInfoLib"));
    EXPECT_EQ(Bridge().GetTagsForVM("vm", tags), 1);
    EXPECT_TRUE(tags.empty());

    std::vector<SVMInfo> vms(1);
    probe::ReturnNull("GetIOFilterAttachedVMList");
    EXPECT_FALSE(Bridge().GetIOFilterAttachedVMList("cl", "f", vms));
    EXPECT_EQ(vms.size(), 1u);
    MonoObject* list = NewList("SVMInfoLib");
    ListAdd(list, VmObject("web", 2));
    ListAdd(list, VmObject("db", 4));
    probe::Return("GetIOFilterAttachedVMList", list);
    EXPECT_TRUE(Bridge().GetIOFilterAttachedVMList("cl", "f", vms));
    ASSERT_EQ(vms.size(), 2u);
    EXPECT_EQ(vms[1].strName, "db");
    EXPECT_EQ(vms[1].numOfCPU, 4);

    vms.resize(3);
    probe::Return("GetVMInfoListForCategory", NewList("SVMInfoLib"));
    EXPECT_EQ(Bridge().GetVMInfoListForCategory("Backup", "", VM_PROP_ALL, 0, vms), 1);
    EXPECT_TRUE(vms.empty());
}

TEST_F(ManagementOutputsTest, ConfigValuesComeBackOnlyOnTrue)
{
    std::vector<SVMOptionValue> values(1);
    values[0].key = "kept";
    MonoObject* list = NewList("SVMOptionValueLib");
    ListAdd(list, OptionValueOf("bios.bootOrder", "disk"));
    probe::Out("GetConfigValues", 2, list);
    probe::ReturnBool("GetConfigValues", false);
    EXPECT_FALSE(Bridge().GetConfigValues("vm", "h", values));
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].key, "kept");

    probe::ReturnBool("GetConfigValues", true);
    EXPECT_TRUE(Bridge().GetConfigValues("vm", "h", values));
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].key, "bios.bootOrder");
    EXPECT_EQ(values[0].value, "disk");

    probe::Reset();
    probe::ReturnBool("GetConfigValues", true);
    EXPECT_TRUE(Bridge().GetConfigValues("vm", "h", values));
    EXPECT_TRUE(values.empty());
}

TEST_F(ManagementOutputsTest, StoragePoliciesRebuildTheDisksOnlyOnTrue)
{
    std::vector<SDisk> disks(2);
    disks[0].strFileName = "[ds1] vm/vm.vmdk";
    disks[1].strFileName = "[ds1] vm/vm_1.vmdk";
    std::string name = "n", id = "i";
    MonoObject* list = NewList("SDiskLib");
    ListAdd(list, DiskObject("[ds1] vm/vm.vmdk", "Gold"));
    probe::Out("GetVMStoragePolicies", 2, ManagedString("Gold"));
    probe::Out("GetVMStoragePolicies", 3, ManagedString("id-gold"));
    probe::Out("GetVMStoragePolicies", 4, list);
    probe::ReturnBool("GetVMStoragePolicies", false);
    EXPECT_FALSE(Bridge().GetVMStoragePolicies("vm", "h", name, id, disks));
    EXPECT_EQ(name, "n");
    EXPECT_EQ(id, "i");
    ASSERT_EQ(disks.size(), 2u);
    EXPECT_EQ(disks[1].strFileName, "[ds1] vm/vm_1.vmdk");
    // The list the managed side received was built from the caller's disks.
    std::vector<SDisk> sent;
    CVISDKHelper::ConvertDiskList(sent, probe::Arg("GetVMStoragePolicies", 4));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].strFileName, "[ds1] vm/vm_1.vmdk");

    probe::ReturnBool("GetVMStoragePolicies", true);
    EXPECT_TRUE(Bridge().GetVMStoragePolicies("vm", "h", name, id, disks));
    EXPECT_EQ(name, "Gold");
    EXPECT_EQ(id, "id-gold");
    ASSERT_EQ(disks.size(), 1u);
    EXPECT_EQ(disks[0].vmStoragePolicyName, "Gold");
}

// The status record is overwritten from the managed object whatever the answer; only an exception spares it.
TEST_F(ManagementOutputsTest, IOFilterStatusIsFilledWhateverTheResult)
{
    SIOFilterStatus status;
    status.bFilterState = true;
    status.eFilterInstallStatus = 7;
    status.strId = "old";
    status.hostStatusList.resize(2);
    probe::Throw("GetIOFilterStatus", "System.InvalidOperationException");
    EXPECT_FALSE(Bridge().GetIOFilterStatus("cl", "f", "", status));
    EXPECT_EQ(status.strId, "old");
    EXPECT_EQ(status.hostStatusList.size(), 2u);

    probe::Reset();
    probe::ReturnBool("GetIOFilterStatus", false);
    EXPECT_FALSE(Bridge().GetIOFilterStatus("cl", "f", "", status));
    EXPECT_FALSE(status.bFilterState);
    EXPECT_EQ(status.eFilterInstallStatus, 0);
    EXPECT_EQ(status.strId, "");
    EXPECT_TRUE(status.hostStatusList.empty());
}

// The managed side writes the caller's flags and progress itself, even when it throws afterwards.
TEST_F(ManagementOutputsTest, TaskPollingLeavesWhatTheManagedSideWrote)
{
    probe::Out("CheckTaskProgress", 1, BoxBool(true));
    probe::Out("CheckTaskProgress", 3, BoxInt(60));
    probe::Throw("CheckTaskProgress", "System.InvalidOperationException");
    bool done = false, failed = true;
    int progress = 5;
    EXPECT_FALSE(Bridge().CheckTaskProgress("task-1", done, failed, progress));
    EXPECT_TRUE(done);
    EXPECT_TRUE(failed);
    EXPECT_EQ(progress, 60);

    probe::Out("WaitForTask", 3, BoxBool(true));
    probe::ReturnBool("WaitForTask", false);
    done = true;
    failed = false;
    EXPECT_FALSE(Bridge().WaitForTask("task-1", 10, done, failed));
    EXPECT_TRUE(done);
    EXPECT_TRUE(failed);
}

TEST_F(ManagementOutputsTest, OvfStartCopiesRecordLeaseAndUploadsBackOnlyOnTrue)
{
    SVMInfo info;
    info.strName = "asked";
    info.numOfCPU = 8;
    std::string lease = "none";
    std::vector<SVMOptionValue> uploads(1);
    std::vector<SVMOptionValue> options{SVMOption("network:VM Network", "Lab")};
    MonoObject* files = NewList("SVMOptionValueLib");
    ListAdd(files, OptionValueOf("disk1.vmdk", "[ds1] web/web.vmdk"));
    probe::Out("StartOVFImport", 1, VmObject("imported", 2));
    probe::Out("StartOVFImport", 2, ManagedString("lease-1"));
    probe::Out("StartOVFImport", 3, files);
    probe::ReturnBool("StartOVFImport", false);
    EXPECT_FALSE(Bridge().StartOVFImport("/tmp/web.ovf", info, lease, uploads, options));
    EXPECT_EQ(info.strName, "asked");
    EXPECT_EQ(lease, "none");
    EXPECT_EQ(uploads.size(), 1u);
    // The managed side saw the caller's record and options.
    MonoObject* sentRecord = probe::Arg("StartOVFImport", 1);
    EXPECT_EQ(GetStringFieldValue(mono_object_get_class(sentRecord), sentRecord, "strName"), "asked");
    std::vector<SVMOptionValue> sent;
    CVISDKHelper::ConvertVMOptionValueList(sent, probe::Arg("StartOVFImport", 4));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].value, "Lab");

    probe::ReturnBool("StartOVFImport", true);
    EXPECT_TRUE(Bridge().StartOVFImport("/tmp/web.ovf", info, lease, uploads, options));
    EXPECT_EQ(info.strName, "imported");
    EXPECT_EQ(info.numOfCPU, 2);
    EXPECT_EQ(lease, "lease-1");
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].value, "[ds1] web/web.vmdk");

    probe::Reset();
    probe::ReturnBool("StartOVFImport", true);
    EXPECT_TRUE(Bridge().StartOVFImport("/tmp/web.ovf", info, lease, uploads, options));
    EXPECT_TRUE(uploads.empty());
    EXPECT_EQ(lease, "");
}

TEST_F(ManagementOutputsTest, OvfFinishRefillsEveryFieldOnTrueOnly)
{
    SVMInfo info;
    info.strName = "web";
    info.numOfCPU = 4;
    info.notes = "kept";
    probe::Out("FinishOVFImport", 1, VmObject("web-final", 0));
    probe::ReturnBool("FinishOVFImport", false);
    EXPECT_FALSE(Bridge().FinishOVFImport("lease-1", info));
    EXPECT_EQ(info.strName, "web");
    EXPECT_EQ(info.numOfCPU, 4);

    probe::ReturnBool("FinishOVFImport", true);
    EXPECT_TRUE(Bridge().FinishOVFImport("lease-1", info));
    EXPECT_EQ(info.strName, "web-final");
    EXPECT_EQ(info.numOfCPU, 0);
    EXPECT_EQ(info.notes, "");
}

// Only the name, the UUID and the card count travel; every other field is zero or null whatever the caller's record holds.
TEST_F(ManagementOutputsTest, CustomizeVMSendsAPartialRecord)
{
    SVMInfo info;
    info.strName = "web";
    info.strUuid = "4200-aa";
    info.numEthernetCards = 3;
    info.strGuestOSName = "ubuntu64Guest";
    info.numOfCPU = 8;
    info.notes = "note";
    info.templateVM = true;
    info.diskList.resize(2);
    probe::ReturnInt("CustomizeVM", 1);
    EXPECT_EQ(Bridge().CustomizeVM(info, "Linux-DHCP"), 1);
    MonoObject* sent = probe::Arg("CustomizeVM", 0);
    ASSERT_NE(sent, nullptr);
    MonoClass* klass = mono_object_get_class(sent);
    EXPECT_EQ(GetStringFieldValue(klass, sent, "strName"), "web");
    EXPECT_EQ(GetStringFieldValue(klass, sent, "strUuid"), "4200-aa");
    EXPECT_EQ(GetIntFieldValue(klass, sent, "numEthernetCards"), 3);
    for (const char* field : {"strGuestOSName", "notes", "diskList", "networkCards", "strBiosUuid"})
        EXPECT_EQ(GetFieldValue(klass, sent, field), nullptr) << field;
    EXPECT_EQ(GetLongFieldValue(klass, sent, "numOfCPU"), 0);
    EXPECT_FALSE(GetBoolFieldValue(klass, sent, "templateVM"));
    EXPECT_EQ(probe::ArgText("CustomizeVM", 1), "String:Linux-DHCP");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

} // namespace
