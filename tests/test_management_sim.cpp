// End to end against the simulated vCenter: tags, fields, configuration values, policies and filters, tasks,
// relocation, reconfiguration, OVF import, cloning and customisation.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <unistd.h>

#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;

namespace {

const char* kServer = "vcenter.sim.local";

class ManagementSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        probe::Reset();
        CallStatic("Simulator", "Reset", nullptr);
        ASSERT_EQ(bridge.Connect(kServer, "administrator@vsphere.local", "VMware1!"), 1) << bridge.GetLastErrorString();
    }
    void TearDown() override { bridge.Disconnect(); }

    SVMInfo Vm(const char* name)
    {
        SVMInfo info;
        EXPECT_EQ(bridge.GetVMInfoForVM(name, "", "", VM_PROP_ALL, 0, info), 1) << name << ": " << bridge.GetLastErrorString();
        return info;
    }

    // Polls until the task ends; returns whether it failed.
    bool RunTask(const std::string& task, std::string* vm = nullptr)
    {
        bool done = false, failed = false;
        int progress = -1, last = -1;
        std::string made;
        for (int polls = 0; !done && polls < 100; ++polls) {
            EXPECT_TRUE(bridge.CheckNewVMTaskProgress(task, done, failed, progress, made)) << bridge.GetLastErrorString();
            EXPECT_GE(progress, last);
            last = progress;
        }
        EXPECT_TRUE(done);
        EXPECT_EQ(progress, 100);
        if (vm)
            *vm = made;
        return failed;
    }

    static std::vector<std::string> Names(const std::vector<SVMInfo>& vms)
    {
        std::vector<std::string> names;
        for (const SVMInfo& vm : vms)
            names.push_back(vm.strName);
        std::sort(names.begin(), names.end());
        return names;
    }

    CVISDKCppBridge& bridge = Bridge();
};

SInventoryInfo TagNode(const char* name, const char* category)
{
    SInventoryInfo tag;
    tag.strName = name;
    tag.children.resize(1);
    tag.children[0].strName = category;
    return tag;
}

TEST_F(ManagementSimTest, TaggedVMIsFoundByTagAndCategory)
{
    std::vector<SInventoryInfo> tags{TagNode("Silver", "Backup Policy")};
    EXPECT_EQ(bridge.AttachTagsToVM("vm-app01", tags), 1) << bridge.GetLastErrorString();

    std::vector<SVMInfo> vms;
    ASSERT_EQ(bridge.GetVMInfoListForTag("Silver", "Backup Policy", VM_PROP_ALL, 0, vms), 1);
    EXPECT_EQ(Names(vms), std::vector<std::string>{"vm-app01"});
    ASSERT_EQ(bridge.GetVMInfoListForCategory("Backup Policy", "", VM_PROP_ALL, 0, vms), 1);
    EXPECT_EQ(Names(vms), (std::vector<std::string>{"vm-app01", "vm-db01", "vm-web01"}));

    std::vector<SInventoryInfo> found;
    ASSERT_EQ(bridge.GetTagsForVM("vm-app01", found), 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].strName, "Silver");
    ASSERT_EQ(found[0].children.size(), 1u);
    EXPECT_EQ(found[0].children[0].strName, "Backup Policy");

    // A tag by its id, as listed, attaches too; an unknown one is refused as a whole, and reported as a failure.
    std::vector<SInventoryInfo> byId(1);
    byId[0].strGUID = found[0].strGUID;
    EXPECT_EQ(bridge.AttachTagsToVM("vm-dr01", byId), 1);
    std::vector<SInventoryInfo> unknown{TagNode("Test", "Environment"), TagNode("Platinum", "Backup Policy")};
    EXPECT_EQ(bridge.AttachTagsToVM("vm-dr01", unknown), 0);
    EXPECT_NE(bridge.GetLastErrorString().find("Platinum"), std::string::npos);
    ASSERT_EQ(bridge.GetTagsForVM("vm-dr01", found), 1);
    EXPECT_EQ(found.size(), 1u);
    EXPECT_EQ(bridge.GetVMInfoListForTag("Platinum", "", 0, 0, vms), 0);
}

TEST_F(ManagementSimTest, BackupFieldsAreWrittenAndReadBack)
{
    EXPECT_EQ(bridge.SetBackupStatusCustomField("vm-web01", "", "Completed", "job-17", "2 disks, 6.0 GB", 0x8000000000000005ULL, 42), 1);
    std::string value = "old";
    ASSERT_EQ(bridge.GetCustomField("vm-web01", "", "Backup Status", value), 1) << bridge.GetLastErrorString();
    EXPECT_EQ(value, "Completed (job job-17): 2 disks, 6.0 GB [9223372036854775813/42]");

    EXPECT_EQ(bridge.SetLastBackupCustomField("vm-web01", "2024-06-03 09:00"), 1);
    ASSERT_EQ(bridge.GetCustomField("vm-web01", "", "Last Backup", value), 1);
    EXPECT_EQ(value, "2024-06-03 09:00");

    // A field must be defined before it takes values; an unknown one leaves the caller's text alone.
    EXPECT_EQ(bridge.SetCustomField("vm-web01", "", "Retention", "30d"), 0);
    value = "kept";
    EXPECT_EQ(bridge.GetCustomField("vm-web01", "", "Retention", value), 0);
    EXPECT_EQ(value, "kept");
    EXPECT_EQ(bridge.AddCustomField("Retention"), 1);
    EXPECT_EQ(bridge.AddCustomField("Retention"), 1);
    EXPECT_EQ(bridge.SetCustomField("vm-web01", "", "Retention", "30d"), 1);
    ASSERT_EQ(bridge.GetCustomField("vm-db01", "", "Retention", value), 1);
    EXPECT_EQ(value, "");
}

TEST_F(ManagementSimTest, ConfigurationValuesOfVMsAndHosts)
{
    std::vector<SVMOptionValue> values(2);
    values[0].key = "guestinfo.backup.id";
    values[0].value = "b-1";
    values[1].key = "disk.EnableUUID";
    values[1].value = "TRUE";
    EXPECT_TRUE(bridge.SetConfigValues("vm-web01", "", values));
    values.resize(1);
    values[0].value = "";
    EXPECT_TRUE(bridge.SetConfigValues("vm-web01", "", values));
    std::vector<SVMOptionValue> read;
    ASSERT_TRUE(bridge.GetConfigValues("vm-web01", "", read));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].key, "disk.EnableUUID");
    values[0].key = "no key";
    EXPECT_FALSE(bridge.SetConfigValues("vm-web01", "", values));

    std::string value = "kept";
    EXPECT_EQ(bridge.GetHostConfigValue("esx01.sim.local", "Bogus", value), 0);
    EXPECT_EQ(value, "kept");
    EXPECT_EQ(bridge.SetHostConfigValue("esx01.sim.local", "NFS.MaxVolumes", "32"), 1);
    ASSERT_EQ(bridge.GetHostConfigValue("esx01.sim.local", "NFS.MaxVolumes", value), 1);
    EXPECT_EQ(value, "32");
    ASSERT_EQ(bridge.GetHostConfigValue("esx02.sim.local", "NFS.MaxVolumes", value), 1);
    EXPECT_EQ(value, "8");
}

TEST_F(ManagementSimTest, RelocationMovesDisksAndFilesToTheNewDatastore)
{
    SVMInfo before = Vm("vm-app01");
    ASSERT_EQ(before.strDataStoreName, "datastore1");
    ASSERT_FALSE(before.diskList.empty());
    std::vector<SDisk> none;
    std::string task = "kept";
    // datastore2 is mounted on esx01 only.
    EXPECT_FALSE(bridge.RelocateVM_Task("vm-app01", "", "esx02.sim.local", "datastore2", "", false, none, task));
    EXPECT_EQ(task, "kept");
    ASSERT_TRUE(bridge.RelocateVM_Task("vm-app01", "", "esx01.sim.local", "datastore2", "", false, none, task))
        << bridge.GetLastErrorString();
    std::string running;
    EXPECT_TRUE(bridge.IsRelocateTaskInProgress("vm-app01", "", running));
    EXPECT_EQ(running, task);
    EXPECT_EQ(Vm("vm-app01").strDataStoreName, "datastore1");
    EXPECT_FALSE(RunTask(task));

    SVMInfo after = Vm("vm-app01");
    EXPECT_EQ(after.strDataStoreName, "datastore2");
    EXPECT_EQ(after.hostName, "esx01.sim.local");
    ASSERT_EQ(after.diskList.size(), before.diskList.size());
    for (const SDisk& disk : after.diskList) {
        EXPECT_EQ(disk.strFileName.rfind("[datastore2] vm-app01/", 0), 0u) << disk.strFileName;
        EXPECT_EQ(disk.strDataStoreName, "datastore2");
    }
    std::vector<std::string> files;
    ASSERT_EQ(bridge.GetFilesOnDSForHost("", "datastore2", "vm-app01", "", true, files), 1);
    EXPECT_NE(std::find(files.begin(), files.end(), "vm-app01/vm-app01.vmx"), files.end());
    EXPECT_EQ(bridge.GetFilesOnDSForHost("", "datastore1", "vm-app01", "", true, files), 0);
    EXPECT_FALSE(bridge.IsRelocateTaskInProgress("vm-app01", "", running));
}

TEST_F(ManagementSimTest, OneDiskMovesAloneWhenTheOthersStay)
{
    SVMInfo db = Vm("vm-db01");
    ASSERT_EQ(db.diskList.size(), 2u);
    std::vector<SDisk> moved{db.diskList[1]};
    moved[0].strDataStoreName = "datastore1";
    ASSERT_TRUE(bridge.RelocateVM("vm-db01", "", "", "", "", true, moved)) << bridge.GetLastErrorString();
    SVMInfo after = Vm("vm-db01");
    EXPECT_EQ(after.strDataStoreName, "datastore2");
    EXPECT_EQ(after.diskList[0].strDataStoreName, "datastore2");
    EXPECT_EQ(after.diskList[1].strDataStoreName, "datastore1");
    // Its snapshot deltas stay in the home folder; the base disk is what moved.
    EXPECT_EQ(after.diskList[1].strVMFSPath, "[datastore1] vm-db01/vm-db01_1.vmdk");
}

TEST_F(ManagementSimTest, CancelledTaskChangesNothing)
{
    std::string task, running, description;
    ASSERT_TRUE(bridge.RelocateVM_Task("vm-web01", "", "", "datastore2", "", false, {}, task)) << bridge.GetLastErrorString();
    bool done = true, failed = true;
    int progress = -1;
    ASSERT_TRUE(bridge.CheckTaskProgress(task, done, failed, progress));
    EXPECT_FALSE(done);
    EXPECT_FALSE(failed);
    EXPECT_GT(progress, 0);
    EXPECT_LT(progress, 100);
    ASSERT_TRUE(bridge.CheckForRunningTasksOnVM("vm-web01", "", running, description));
    EXPECT_EQ(running, task);
    EXPECT_EQ(description, "Relocate virtual machine");
    // A second move waits for the first.
    EXPECT_FALSE(bridge.RelocateVM("vm-web01", "", "", "nfs-backup", "", false, {}));

    EXPECT_TRUE(bridge.CancelTask(task));
    EXPECT_FALSE(bridge.CancelTask(task));
    ASSERT_TRUE(bridge.CheckTaskProgress(task, done, failed, progress));
    EXPECT_TRUE(done);
    EXPECT_TRUE(failed);
    EXPECT_EQ(bridge.GetLastErrorString(), "The task was canceled by a user.");
    EXPECT_FALSE(bridge.WaitForTask(task, 0, done, failed));
    EXPECT_TRUE(done && failed);
    EXPECT_EQ(Vm("vm-web01").strDataStoreName, "datastore1");
    EXPECT_FALSE(bridge.CheckForRunningTasksOnVM("vm-web01", "", running, description));
    EXPECT_FALSE(bridge.CheckTaskProgress("task-999999", done, failed, progress));
}

TEST_F(ManagementSimTest, SnapshotRemovalTaskCanBeWaitedFor)
{
    std::string task;
    ASSERT_EQ(bridge.RemoveSnapshot_Task("vm-db01", "", "snapshot-12", task), 1) << bridge.GetLastErrorString();
    bool done = false, failed = true;
    EXPECT_TRUE(bridge.WaitForTask(task, 10, done, failed)) << bridge.GetLastErrorString();
    EXPECT_TRUE(done);
    EXPECT_FALSE(failed);
}

TEST_F(ManagementSimTest, WaitForTaskRunsItWithinTheTimeout)
{
    std::string task;
    ASSERT_TRUE(bridge.RelocateVM_Task("vm-app01", "", "", "nfs-backup", "", false, {}, task)) << bridge.GetLastErrorString();
    bool done = true, failed = true;
    EXPECT_FALSE(bridge.WaitForTask(task, 5, done, failed));
    EXPECT_FALSE(done);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(bridge.WaitForTask(task, 0, done, failed));
    EXPECT_TRUE(done);
    EXPECT_FALSE(failed);
    EXPECT_EQ(Vm("vm-app01").strDataStoreName, "nfs-backup");
}

const char* kOvf = R"(<?xml version="1.0" encoding="UTF-8"?>
<Envelope xmlns="http://schemas.dmtf.org/ovf/envelope/1" xmlns:ovf="http://schemas.dmtf.org/ovf/envelope/1"
    xmlns:rasd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_ResourceAllocationSettingData"
    xmlns:vssd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_VirtualSystemSettingData"
    xmlns:vmw="http://www.vmware.com/schema/ovf">
  <References><File ovf:id="file1" ovf:href="appliance-disk1.vmdk" ovf:size="1048576"/></References>
  <DiskSection><Info>Disks</Info>
    <Disk ovf:diskId="vmdisk1" ovf:fileRef="file1" ovf:capacity="2" ovf:capacityAllocationUnits="byte * 2^30"/>
  </DiskSection>
  <NetworkSection><Info>Networks</Info><Network ovf:name="Appliance LAN"/></NetworkSection>
  <VirtualSystem ovf:id="appliance">
    <Info>A small appliance</Info>
    <Name>appliance</Name>
    <AnnotationSection><Info>Notes</Info><Annotation>Imported from OVF</Annotation></AnnotationSection>
    <OperatingSystemSection ovf:id="101" vmw:osType="debian11_64Guest"><Info>OS</Info></OperatingSystemSection>
    <VirtualHardwareSection><Info>Hardware</Info>
      <System><vssd:VirtualSystemType>vmx-15</vssd:VirtualSystemType></System>
      <Item><rasd:ResourceType>3</rasd:ResourceType><rasd:VirtualQuantity>2</rasd:VirtualQuantity></Item>
      <Item><rasd:AllocationUnits>byte * 2^20</rasd:AllocationUnits><rasd:ResourceType>4</rasd:ResourceType><rasd:VirtualQuantity>2048</rasd:VirtualQuantity></Item>
      <Item><rasd:ResourceType>10</rasd:ResourceType><rasd:Connection>Appliance LAN</rasd:Connection></Item>
      <Item><rasd:HostResource>ovf:/disk/vmdisk1</rasd:HostResource><rasd:ResourceType>17</rasd:ResourceType></Item>
    </VirtualHardwareSection>
  </VirtualSystem>
</Envelope>
)";

std::string WriteFile(const std::string& name, const std::string& text)
{
    std::string path = testing::TempDir() + "mgmt-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path) << text;
    return path;
}

TEST_F(ManagementSimTest, OvfImportCreatesTheDescribedVM)
{
    std::string path = WriteFile("appliance.ovf", kOvf);
    SVMInfo info;
    info.strName = "ovf-appliance";
    info.strDataStoreName = "datastore2";
    std::string lease;
    std::vector<SVMOptionValue> uploads, options(1);
    options[0].key = "network:Appliance LAN";
    options[0].value = "DMZ";
    ASSERT_TRUE(bridge.StartOVFImport(path, info, lease, uploads, options)) << bridge.GetLastErrorString();
    EXPECT_EQ(info.strName, "ovf-appliance");
    EXPECT_EQ(info.numOfCPU, 2);
    EXPECT_EQ(info.memorySizeInMB, 2048);
    EXPECT_EQ(info.vmVersion, "vmx-15");
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].key, "appliance-disk1.vmdk");
    EXPECT_EQ(uploads[0].value, "[datastore2] ovf-appliance/ovf-appliance.vmdk");

    EXPECT_TRUE(bridge.UpdateOVFImportProgress(lease, 50));
    EXPECT_FALSE(bridge.UpdateOVFImportProgress(lease, 40));
    ASSERT_TRUE(bridge.FinishOVFImport(lease, info)) << bridge.GetLastErrorString();
    EXPECT_FALSE(bridge.FinishOVFImport(lease, info));

    SVMInfo vm = Vm("ovf-appliance");
    EXPECT_EQ(vm.strUuid, info.strUuid);
    EXPECT_EQ(vm.strGuestOSName, "debian11_64Guest");
    EXPECT_EQ(vm.notes, "Imported from OVF");
    ASSERT_EQ(vm.diskList.size(), 1u);
    EXPECT_EQ(vm.diskList[0].llMaxSizeInBytes, 2LL << 30);
    ASSERT_EQ(vm.networkCards.size(), 1u);
    EXPECT_EQ(vm.networkCards[0].networkName, "DMZ");
}

TEST_F(ManagementSimTest, OvfImportRefusesWhatItCannotRead)
{
    std::string lease = "kept";
    std::vector<SVMOptionValue> uploads, none;
    SVMInfo info;
    info.strName = "kept";
    // An entity declaration would let a descriptor pull in local files.
    std::string entity = WriteFile("entity.ovf", "<?xml version=\"1.0\"?><!DOCTYPE e [<!ENTITY x SYSTEM \"file:///etc/hostname\">]>"
                                                 "<Envelope><VirtualSystem><Name>&x;</Name></VirtualSystem></Envelope>");
    const std::string sources[] = {entity, WriteFile("broken.ovf", "<Envelope><VirtualSystem>"),
                                   WriteFile("empty.ovf", "<Envelope xmlns=\"http://schemas.dmtf.org/ovf/envelope/1\"/>"),
                                   testing::TempDir() + "no-such.ovf", "http://example.invalid/a.ovf",
                                   WriteFile("huge.ovf", std::string(kOvf).replace(std::string(kOvf).find("ovf:capacity=\"2\""), 16,
                                                                                   "ovf:capacity=\"99999999999\""))};
    for (const std::string& source : sources) {
        EXPECT_FALSE(bridge.StartOVFImport(source, info, lease, uploads, none)) << source;
        EXPECT_FALSE(bridge.GetLastErrorString().empty()) << source;
    }
    EXPECT_EQ(info.strName, "kept");
    EXPECT_EQ(lease, "kept");
    std::vector<SVMOptionValue> unknown(1);
    unknown[0].key = "colour";
    EXPECT_FALSE(bridge.StartOVFImport(WriteFile("ok.ovf", kOvf), info, lease, uploads, unknown));
}

TEST_F(ManagementSimTest, CloneIsANewVMWithItsOwnDisks)
{
    SVMInfo wanted;
    wanted.strName = "web-clone";
    wanted.numOfCPU = 4;
    std::string task;
    ASSERT_EQ(bridge.CloneAndReConfigVM_Task(wanted, "vm-web01", "", task), 1) << bridge.GetLastErrorString();
    SVMInfo missing;
    EXPECT_EQ(bridge.GetVMInfoForVM("web-clone", "", "", 0, 0, missing), 0);
    std::string moref;
    EXPECT_FALSE(RunTask(task, &moref));

    SVMInfo source = Vm("vm-web01"), clone = Vm("web-clone");
    EXPECT_EQ(clone.strMoRef, moref);
    EXPECT_NE(clone.strUuid, source.strUuid);
    EXPECT_EQ(clone.numOfCPU, 4);
    EXPECT_EQ(clone.poweredState, 0);
    ASSERT_EQ(clone.diskList.size(), source.diskList.size());
    for (size_t i = 0; i < clone.diskList.size(); ++i) {
        EXPECT_EQ(clone.diskList[i].strFileName.rfind("[datastore1] web-clone/", 0), 0u) << clone.diskList[i].strFileName;
        EXPECT_NE(clone.diskList[i].strUUID, source.diskList[i].strUUID);
        EXPECT_EQ(clone.diskList[i].llMaxSizeInBytes, source.diskList[i].llMaxSizeInBytes);
    }
    EXPECT_EQ(bridge.CloneAndReConfigVM_Task(wanted, "vm-web01", "", task), 0);
}

TEST_F(ManagementSimTest, ReconfigurationChangesTheRecord)
{
    SVMInfo change;
    change.strName = "vm-app01";
    change.numOfCPU = 4;
    change.memorySizeInMB = 8192;
    ASSERT_EQ(bridge.ReconfigureVM(change), 1) << bridge.GetLastErrorString();
    SVMInfo app = Vm("vm-app01");
    EXPECT_EQ(app.numOfCPU, 4);
    EXPECT_EQ(app.memorySizeInMB, 8192);
    // A powered-on VM takes no new CPU count.
    change.strName = "vm-web01";
    EXPECT_EQ(bridge.ReconfigureVM(change), 0);

    std::vector<SVMNetworkCard> cards(2);
    cards[0].networkName = "Backup Network";
    cards[1].networkName = "DMZ";
    ASSERT_TRUE(bridge.ReconfigureVMNetworks("vm-app01", "", cards, true));
    app = Vm("vm-app01");
    ASSERT_EQ(app.networkCards.size(), 2u);
    EXPECT_EQ(app.networkCards[0].networkName, "Backup Network");
    cards.resize(1);
    cards[0].networkName = "No Such Network";
    EXPECT_FALSE(bridge.ReconfigureVMNetworks("vm-app01", "", cards, true));

    ASSERT_TRUE(bridge.ReconfigureVMBootOptions("vm-app01", "", {"cdrom", "disk"}, true, false, false));
    EXPECT_FALSE(bridge.ReconfigureVMBootOptions("vm-app01", "", {"usb"}, false, false, false));
    std::vector<SVMOptionValue> values;
    ASSERT_TRUE(bridge.GetConfigValues("vm-app01", "", values));
    auto order = std::find_if(values.begin(), values.end(), [](const SVMOptionValue& v) { return v.key == "bios.bootOrder"; });
    ASSERT_NE(order, values.end());
    EXPECT_EQ(order->value, "cdrom,disk");

    SVMInfo customize = Vm("vm-app01");
    EXPECT_EQ(bridge.CustomizeVM(customize, "Linux-DHCP"), 1) << bridge.GetLastErrorString();
    customize.numEthernetCards = 1;
    EXPECT_EQ(bridge.CustomizeVM(customize, "Linux-DHCP"), 0);
    EXPECT_NE(bridge.GetLastErrorString().find("does not match"), std::string::npos);
}

TEST_F(ManagementSimTest, FilteredPolicyNeedsItsFilterOnTheCluster)
{
    EXPECT_FALSE(bridge.AttachVMStoragePolicyToVM("vm-db01", "", "Replicated", ""));
    SIOFilterStatus status;
    EXPECT_FALSE(bridge.GetIOFilterStatus("Cluster01", "sim-replication", "", status));
    EXPECT_FALSE(status.bFilterState);
    EXPECT_FALSE(bridge.InstallIOFilter("Cluster01", "sim-replication", "1.0.2", "https://depot.sim.local/sim-replication.txt", ""));
    ASSERT_TRUE(bridge.InstallIOFilter("Cluster01", "sim-replication", "1.0.2", "https://depot.sim.local/sim-replication.vib", ""))
        << bridge.GetLastErrorString();
    ASSERT_TRUE(bridge.GetIOFilterStatus("Cluster01", "sim-replication", "", status));
    EXPECT_TRUE(status.bFilterState);
    EXPECT_EQ(status.strVersion, "1.0.2");
    ASSERT_EQ(status.hostStatusList.size(), 1u);
    EXPECT_EQ(status.hostStatusList[0].host, "esx01.sim.local");
    EXPECT_TRUE(status.hostStatusList[0].errStrList.empty());

    ASSERT_TRUE(bridge.AttachVMStoragePolicyToVM("vm-db01", "", "Replicated", "")) << bridge.GetLastErrorString();
    std::vector<SVMInfo> vms;
    ASSERT_TRUE(bridge.GetIOFilterAttachedVMList("Cluster01", "sim-replication", vms));
    EXPECT_EQ(Names(vms), std::vector<std::string>{"vm-db01"});
    EXPECT_FALSE(bridge.UninstallIOFilter("Cluster01", "sim-replication", ""));

    std::string name, id;
    std::vector<SDisk> disks;
    ASSERT_TRUE(bridge.GetVMStoragePolicies("vm-db01", "", name, id, disks));
    EXPECT_EQ(name, "Replicated");
    ASSERT_EQ(disks.size(), 2u);
    EXPECT_EQ(disks[1].vmStoragePolicyName, "Replicated");

    // Back to the default on one disk only, then detached altogether.
    std::vector<SDisk> one{disks[0]};
    ASSERT_TRUE(bridge.AttachVMStoragePolicyToVMAndDisks("vm-db01", "", "Gold Storage", "", one));
    ASSERT_TRUE(bridge.GetVMStoragePolicies("vm-db01", "", name, id, disks));
    EXPECT_EQ(name, "Gold Storage");
    EXPECT_EQ(disks[0].vmStoragePolicyName, "Gold Storage");
    EXPECT_EQ(disks[1].vmStoragePolicyName, "Replicated");
    ASSERT_TRUE(bridge.DetachVMStoragePolicyFromVM("vm-db01", "", "", ""));
    ASSERT_TRUE(bridge.GetVMStoragePolicies("vm-db01", "", name, id, disks));
    EXPECT_EQ(name, "Datastore Default");
    EXPECT_TRUE(bridge.UninstallIOFilter("Cluster01", "sim-replication", ""));
    EXPECT_FALSE(bridge.GetIOFilterAttachedVMList("Cluster01", "sim-replication", vms));
}

} // namespace
