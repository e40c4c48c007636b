// End to end against the simulated vCenter: VM lifecycle, lookups, datastore files and space.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <unistd.h>

#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;

namespace {

const char* kServer = "vcenter.sim.local";
const char* kHost = "esx01.sim.local";

class VmSimulatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        probe::Reset();
        CallStatic("Simulator", "Reset", nullptr);
        ASSERT_EQ(bridge.Connect(kServer, "administrator@vsphere.local", "VMware1!"), 1) << bridge.GetLastErrorString();
        dir = testing::TempDir() + "vmsim-" + std::to_string(getpid()) + "-";
    }
    void TearDown() override { bridge.Disconnect(); }

    // Free space as the space check reports it when asked for more than any datastore holds.
    long long FreeMB(const char* datastore)
    {
        EXPECT_EQ(bridge.CheckdatastoreSpace(datastore, "", INT_MAX), 0);
        std::smatch match;
        std::string text = bridge.GetLastErrorString();
        if (!std::regex_search(text, match, std::regex("([0-9]+) MB free")))
            return -1;
        return std::stoll(match[1]);
    }

    bool Listed(const char* datastore, const char* folder, const std::string& entry)
    {
        std::vector<std::string> files;
        if (!bridge.GetFilesOnDSForHost("", datastore, folder, "", true, files))
            return false;
        return std::find(files.begin(), files.end(), entry) != files.end();
    }

    CVISDKCppBridge& bridge = Bridge();
    std::string dir;
};

std::string WriteLocal(const std::string& path, size_t size)
{
    std::mt19937 random(static_cast<unsigned>(size));
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 4096 < 16 ? 0 : random() & 0xFF);
    std::ofstream(path, std::ios::binary) << bytes;
    return bytes;
}

std::string ReadLocal(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(VmSimulatorTest, CreateLookUpUnregisterRegisterAndDelete)
{
    std::string uuid;
    ASSERT_EQ(bridge.CreateVM("e2e-vm", kHost, "datastore1", "ubuntu64Guest", "DMZ", uuid), 1) << bridge.GetLastErrorString();
    EXPECT_EQ(uuid.size(), 36u);
    EXPECT_EQ(bridge.CreateVM("e2e-vm", kHost, "datastore1", "", "", uuid), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "The name 'e2e-vm' already exists.");

    SVMInfo vm;
    ASSERT_EQ(bridge.GetVMInfoForVM("e2e-vm", "", "", VM_PROP_ALL, 0, vm), 1);
    EXPECT_EQ(vm.strUuid, uuid);
    EXPECT_EQ(vm.strConfigFile, "[datastore1] e2e-vm/e2e-vm.vmx");
    EXPECT_EQ(vm.hostName, kHost);
    EXPECT_EQ(vm.strInventoryPath, "/Datacenter/vm/e2e-vm");
    ASSERT_EQ(vm.diskList.size(), 1u);
    ASSERT_EQ(vm.networkCards.size(), 1u);
    EXPECT_EQ(vm.networkCards[0].networkName, "DMZ");
    EXPECT_TRUE(Listed("datastore1", "e2e-vm", "e2e-vm/e2e-vm.vmx"));
    const std::string moref = vm.strMoRef;

    ASSERT_EQ(bridge.UnregisterVM("e2e-vm", ""), 1) << bridge.GetLastErrorString();
    SVMInfo gone;
    EXPECT_EQ(bridge.GetVMInfoForVM("e2e-vm", "", "", 0, 0, gone), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "Virtual machine 'e2e-vm' was not found.");
    EXPECT_TRUE(Listed("datastore1", "e2e-vm", "e2e-vm/e2e-vm.vmx")) << "an unregistered VM keeps its files";
    SVMInfo byVmx;
    ASSERT_EQ(bridge.GetVMInfoForVMByVMX("[datastore1] e2e-vm/e2e-vm.vmx", 0, 0, byVmx), 1);
    EXPECT_EQ(byVmx.strMoRef, "");

    std::string registered;
    ASSERT_EQ(bridge.RegisterVM("[datastore1] e2e-vm/e2e-vm.vmx", "", "", "", "", registered), 1) << bridge.GetLastErrorString();
    EXPECT_NE(registered, moref);
    SVMInfo back;
    ASSERT_TRUE(bridge.GetVMInfoForVMByMoref(registered, VM_PROP_VM_NW_LIST, 0, back));
    EXPECT_EQ(back.strUuid, uuid);
    ASSERT_EQ(back.networkCards.size(), 1u);
    EXPECT_EQ(bridge.RegisterVM("[datastore1] e2e-vm/e2e-vm.vmx", "", "", "", "", registered), 0);

    std::string elsewhere = registered;
    EXPECT_EQ(bridge.ReregisterVM("[datastore1] nowhere/nowhere.vmx", elsewhere), 0);
    EXPECT_EQ(elsewhere, registered);
    EXPECT_TRUE(bridge.GetVMInfoForVMByMoref(registered, 0, 0, back)) << "a failed re-registration keeps the VM";

    std::string again = registered;
    ASSERT_EQ(bridge.ReregisterVM("", again), 1) << bridge.GetLastErrorString();
    EXPECT_NE(again, registered);
    EXPECT_FALSE(bridge.GetVMInfoForVMByMoref(registered, 0, 0, back));
    EXPECT_TRUE(bridge.GetVMInfoForVMByMoref(again, 0, 0, back));

    long long before = FreeMB("datastore1");
    ASSERT_EQ(bridge.DeleteVM("e2e-vm", ""), 1) << bridge.GetLastErrorString();
    EXPECT_EQ(bridge.CheckDatastoreFile("", "datastore1", "e2e-vm/e2e-vm.vmx", "", false), 0);
    EXPECT_EQ(bridge.CheckDatastoreFile("", "datastore1", "e2e-vm", "", true), 0) << "the emptied home folder goes too";
    EXPECT_FALSE(bridge.GetVMInfoForVMByMoref(again, 0, 0, back));
    EXPECT_GE(FreeMB("datastore1"), before);
}

TEST_F(VmSimulatorTest, RunningVmsAreNeitherDeletedNorUnregistered)
{
    EXPECT_EQ(bridge.DeleteVM("vm-web01", ""), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "The attempted operation cannot be performed in the current state (Powered on).");
    EXPECT_EQ(bridge.UnregisterVM("vm-web01", ""), 0);
    EXPECT_EQ(bridge.DeleteDatastoreFile("", "datastore1", "vm-web01", ""), 0);
    EXPECT_EQ(bridge.CheckDatastoreFile("", "datastore1", "vm-web01/vm-web01.vmx", "", false), 1);
}

TEST_F(VmSimulatorTest, MaskSelectsWhatTheRecordCarries)
{
    SVMInfo bare, full;
    ASSERT_EQ(bridge.GetVMInfoForVM("vm-db01", "", "", MIN_VM_PROPS, 0, bare), 1);
    ASSERT_EQ(bridge.GetVMInfoForVM("vm-db01", "", "", VM_PROP_ALL, 0, full), 1);
    EXPECT_EQ(bare.strName, "vm-db01");
    EXPECT_EQ(bare.memorySizeInMB, 16384);
    EXPECT_TRUE(bare.diskList.empty());
    EXPECT_TRUE(bare.networkCards.empty());
    EXPECT_TRUE(bare.snapshotList.empty());
    EXPECT_TRUE(bare.hostName.empty());
    EXPECT_TRUE(bare.strConfigFile.empty());
    EXPECT_TRUE(bare.fileLayout.fileList.empty());

    ASSERT_EQ(full.diskList.size(), 2u);
    EXPECT_EQ(full.diskList[1].llMaxSizeInBytes, 100LL << 30);
    EXPECT_EQ(full.diskControllerList.size(), 1u);
    ASSERT_EQ(full.networkCards.size(), 2u);
    EXPECT_EQ(full.networkCards[1].networkName, "Backup Network");
    EXPECT_EQ(full.networkCards[0].macAddress.rfind("00:50:56:", 0), 0u);
    ASSERT_EQ(full.snapshotList.size(), 1u);
    ASSERT_EQ(full.snapshotList[0].childSnapshots.size(), 1u);
    EXPECT_EQ(full.hostName, kHost);
    EXPECT_FALSE(full.fileLayout.fileList.empty());
    EXPECT_EQ(full.strDataCenterName, "Datacenter");
    EXPECT_EQ(full.clusterName, "Cluster01");
    EXPECT_EQ(full.strResourcePoolPath, "/Datacenter/host/Cluster01/Resources/Production/Databases");
    EXPECT_EQ(full.strInventoryPath, "/Datacenter/vm/Linux/Databases/vm-db01");

    SVMInfo disksOnly;
    ASSERT_EQ(bridge.GetVMInfoForVM("vm-db01", "", "", VM_PROP_VM_DISK_LIST, 0, disksOnly), 1);
    EXPECT_EQ(disksOnly.diskList.size(), 2u);
    EXPECT_TRUE(disksOnly.networkCards.empty());
    EXPECT_TRUE(disksOnly.diskList[0].strLUNUUID.empty());
}

TEST_F(VmSimulatorTest, SnapshotLookupAndBrowsing)
{
    SVMInfo vm;
    std::string snapshot = "Before upgrade";
    ASSERT_EQ(bridge.GetVMInfoForVMSnapshot("vm-db01", "", VM_PROP_VM_DISK_LIST, 0, snapshot, vm), 1);
    EXPECT_EQ(snapshot.rfind("snapshot-", 0), 0u);
    ASSERT_EQ(vm.diskList.size(), 2u);
    EXPECT_EQ(vm.diskList[0].strFileName, "[datastore2] vm-db01/vm-db01.vmdk");

    // A name two snapshots carry names neither.
    std::string first, second;
    ASSERT_EQ(bridge.CreateSnapshotWithName("vm-app01", "", "dup", "", false, false, first), 1);
    ASSERT_EQ(bridge.CreateSnapshotWithName("vm-app01", "", "dup", "", false, false, second), 1);
    std::string dup = "dup";
    EXPECT_EQ(bridge.GetVMInfoForVMSnapshot("vm-app01", "", VM_PROP_VM_DISK_LIST, 0, dup, vm), 0);
    EXPECT_EQ(bridge.RemoveSnapshot("vm-app01", "", "dup"), 0);
    EXPECT_EQ(bridge.GetLastErrorString(),
              "The virtual machine 'vm-app01' has several snapshots named 'dup' (" + first + ", " + second + "); name one by its id");
    EXPECT_EQ(bridge.RemoveSnapshot("vm-app01", "", first), 1);
    EXPECT_EQ(bridge.RemoveSnapshot("vm-app01", "", "dup"), 1) << bridge.GetLastErrorString();

    std::vector<SVMInfo> vms;
    ASSERT_EQ(bridge.BrowseInventoryByName("vm-*", 0, 0, 0, vms), 1);
    EXPECT_EQ(vms.size(), 4u);
    ASSERT_EQ(bridge.BrowseInventoryByName("", 2, 0, 0, vms), 1);
    ASSERT_EQ(vms.size(), 1u);
    EXPECT_EQ(vms[0].strName, "tmpl-ubuntu22");
    ASSERT_EQ(bridge.BrowseInventoryByName("datastore2", 0, 0, 0, vms), 1);
    EXPECT_EQ(vms.size(), 2u);
    ASSERT_EQ(bridge.BrowseInventoryByMoref("vm-103", 0, 0, 0, vms), 1);
    ASSERT_EQ(vms.size(), 1u);
    EXPECT_EQ(vms[0].strName, "vm-app01");
    // Containers of the inventory: a cluster, a datacenter, a host, a pool with its child pool, a folder, a datastore.
    const std::pair<const char*, size_t> containers[] = {
        {"domain-c7", 3}, {"datacenter-2", 5}, {"host-22", 2}, {"resgroup-1012", 2}, {"group-v1015", 2}, {"datastore-12", 2}};
    for (const auto& container : containers) {
        ASSERT_EQ(bridge.BrowseInventoryByMoref(container.first, 0, 0, 0, vms), 1) << container.first << bridge.GetLastErrorString();
        EXPECT_EQ(vms.size(), container.second) << container.first;
    }
    EXPECT_EQ(bridge.BrowseInventoryByMoref("vm-999", 0, 0, 0, vms), 0);
    EXPECT_EQ(vms.size(), 2u) << "a miss leaves the vector alone";
}

TEST_F(VmSimulatorTest, UploadListDownloadCopyAndDelete)
{
    const std::string local = dir + "blob.bin", back = dir + "back.bin", copied = dir + "copied.bin";
    const std::string bytes = WriteLocal(local, 3 * 1024 * 1024 + 17);
    long long before = FreeMB("datastore1");

    ASSERT_EQ(bridge.UploadDatastoreFile("", "datastore1", "uploads/blob.bin", local, ""), 1) << bridge.GetLastErrorString();
    std::vector<std::string> files;
    ASSERT_EQ(bridge.GetFilesOnDSForHost(kHost, "datastore1", "uploads", "*.BIN", false, files), 1);
    EXPECT_EQ(files, std::vector<std::string>{"uploads/blob.bin"});
    ASSERT_EQ(bridge.GetFilesOnDSForHost(kHost, "datastore1", "*.bin", true, files), 1);
    EXPECT_EQ(files, std::vector<std::string>{"uploads/blob.bin"});
    long long used = before - FreeMB("datastore1");
    EXPECT_TRUE(used == 3 || used == 4) << used;

    ASSERT_EQ(bridge.DownloadDatastoreFile("", "datastore1", "[datastore1] uploads/blob.bin", back, ""), 1) << bridge.GetLastErrorString();
    EXPECT_TRUE(ReadLocal(back) == bytes);

    SVMFile details;
    ASSERT_TRUE(bridge.GetDetailsForFileOnHost(kHost, "", "datastore1", "uploads/blob.bin", true, false, details));
    EXPECT_EQ(details.lSize, static_cast<long long>(bytes.size()));
    EXPECT_EQ(details.strName, "[datastore1] uploads/blob.bin");

    ASSERT_EQ(bridge.CopyDatastoreFile("", "datastore1", "uploads", "datastore2", "kept/uploads", "", "Datacenter"), 1)
        << bridge.GetLastErrorString();
    ASSERT_EQ(bridge.DownloadDatastoreFileFromHost("", "datastore2", "kept/uploads/blob.bin", copied, kHost), 1)
        << bridge.GetLastErrorString();
    EXPECT_TRUE(ReadLocal(copied) == bytes);
    EXPECT_EQ(bridge.DownloadDatastoreFileFromHost("", "datastore2", "kept/uploads/blob.bin", copied, "esx02.sim.local"), 0);
    EXPECT_EQ(bridge.CopyDatastoreFile("", "datastore1", "uploads/blob.bin", "datastore2", "kept/uploads/blob.bin", ""), 0);

    ASSERT_EQ(bridge.DeleteDatastoreFile("", "datastore1", "uploads", ""), 1);
    EXPECT_EQ(bridge.CheckDatastoreFile("", "datastore1", "uploads/blob.bin", "", false), 0);
    EXPECT_EQ(FreeMB("datastore1"), before);
    EXPECT_EQ(bridge.DownloadDatastoreFile("", "datastore1", "uploads/blob.bin", back, ""), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "File [datastore1] uploads/blob.bin was not found");

    std::remove(local.c_str());
    std::remove(back.c_str());
    std::remove(copied.c_str());
}

TEST_F(VmSimulatorTest, PathsCannotClimbOutOfTheirFolder)
{
    EXPECT_EQ(bridge.DeleteDatastoreFile("", "datastore1", "vm-app01/../vm-web01", ""), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "Invalid datastore path 'vm-app01/../vm-web01'.");
    EXPECT_EQ(bridge.DeleteDatastoreFile("", "datastore1", "", ""), 0) << "the root is not a file";
    EXPECT_EQ(bridge.CreateDatastoreFolder("datastore1", "a/./b"), 0);
    EXPECT_EQ(bridge.CheckDatastoreFile("", "datastore1", "vm-app01/vm-app01.vmx", "", false), 1);
}

TEST_F(VmSimulatorTest, SpaceFollowsWhatIsStored)
{
    long long free = FreeMB("datastore1");
    ASSERT_GT(free, 0);
    EXPECT_EQ(bridge.CheckdatastoreSpace("datastore1", "", static_cast<int>(free)), 1);
    EXPECT_EQ(bridge.CheckdatastoreSpace("datastore1", "", static_cast<int>(free + 1)), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "Insufficient disk space on datastore 'datastore1': " + std::to_string(free + 1) + " MB needed, " +
                                               std::to_string(free) + " MB free.");

    ASSERT_EQ(bridge.AddDiskToVM("vm-app01", "", "", 8LL << 30, false, true, false, false, false), 1) << bridge.GetLastErrorString();
    EXPECT_EQ(FreeMB("datastore1"), free - 8192);
    SVMInfo vm;
    ASSERT_EQ(bridge.GetVMInfoForVM("vm-app01", "", "", VM_PROP_VM_DISK_LIST, 0, vm), 1);
    ASSERT_EQ(vm.diskList.size(), 2u);
    EXPECT_EQ(vm.diskList[1].strFileName, "[datastore1] vm-app01/vm-app01_1.vmdk");
    EXPECT_EQ(vm.diskList[1].nProvisionType, 3);

    EXPECT_EQ(bridge.AddDiskToVM("vm-app01", "", "", (free + 1) << 20, false, false, false, false, false), 0);
    EXPECT_NE(bridge.GetLastErrorString().find("Insufficient disk space"), std::string::npos);

    ASSERT_EQ(bridge.RemoveDiskFromVM("vm-app01", "", "Hard disk 2", false), 1) << bridge.GetLastErrorString();
    EXPECT_EQ(FreeMB("datastore1"), free - 8192) << "a disk taken off without its files still holds its space";
    ASSERT_EQ(bridge.AddDiskToVM("vm-app01", "", "", 1LL << 30, true, false, false, false, false), 1);
    ASSERT_EQ(bridge.GetVMInfoForVM("vm-app01", "", "", VM_PROP_VM_DISK_LIST, 0, vm), 1);
    EXPECT_EQ(vm.diskList.at(1).strFileName, "[datastore1] vm-app01/vm-app01_2.vmdk") << "the kept files are not overwritten";
    ASSERT_EQ(bridge.RemoveDiskFromVM("vm-app01", "", "Hard disk 2", true), 1);
    ASSERT_EQ(bridge.DeleteDatastoreFile("", "datastore1", "vm-app01/vm-app01_1-flat.vmdk", ""), 1);
    ASSERT_EQ(bridge.DeleteDatastoreFile("", "datastore1", "vm-app01/vm-app01_1.vmdk", ""), 1);
    EXPECT_EQ(FreeMB("datastore1"), free);
    EXPECT_EQ(bridge.CheckdatastoreSpace("nope", "", 1), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "The datastore 'nope' was not found.");
}

TEST_F(VmSimulatorTest, RecordCreationDisksIsosAndConsolidation)
{
    SVMInfo info;
    info.strName = "from-record";
    info.strDataStoreName = "datastore2";
    info.numOfCPU = 4;
    info.memorySizeInMB = 8192;
    info.diskList.resize(2);
    info.diskList[0].llMaxSizeInBytes = 20LL << 30;
    info.diskList[0].nProvisionType = 2;
    info.diskList[1].llMaxSizeInBytes = 1LL << 30;
    info.networkCards.resize(1);
    info.networkCards[0].networkName = "Backup Network";
    ASSERT_EQ(bridge.CreateVirtualMachine(info), 1) << bridge.GetLastErrorString();
    EXPECT_EQ(info.strUuid.size(), 36u);

    SVMInfo made;
    ASSERT_EQ(bridge.GetVMInfoForVM("from-record", "", "", VM_PROP_ALL, 0, made), 1);
    EXPECT_EQ(made.strUuid, info.strUuid);
    EXPECT_EQ(made.numOfCPU, 4);
    EXPECT_EQ(made.memorySizeInMB, 8192);
    ASSERT_EQ(made.diskList.size(), 2u);
    EXPECT_EQ(made.diskList[0].nProvisionType, 2);
    EXPECT_EQ(made.diskList[1].nProvisionType, 1);
    EXPECT_EQ(made.diskList[1].strFileName, "[datastore2] from-record/from-record_1.vmdk");
    EXPECT_EQ(made.networkCards.at(0).networkName, "Backup Network");

    std::string rdm = bridge.AddRDMToVM("from-record", "", "naa.600508b1001c3a", "physicalMode", -1, -1, 2048, "");
    EXPECT_EQ(rdm, "[datastore2] from-record/from-record_rdm1.vmdk") << bridge.GetLastErrorString();
    EXPECT_EQ(bridge.AddRDMToVM("vm-db01", "", "naa.600508b1001c3a", "virtualMode", -1, -1, 2048, ""), "");
    EXPECT_EQ(bridge.ChangeDiskUUID("from-record", "2000", "6000C291-aaaa-bbbb-cccc-0123456789ab"), 1) << bridge.GetLastErrorString();
    EXPECT_EQ(bridge.ChangeDiskUUID("from-record", "2001", "6000C291-aaaa-bbbb-cccc-0123456789ab"), 0);

    EXPECT_EQ(bridge.RemoveISOFromVM("vm-app01", "", "ubuntu-22.04.4-live-server-amd64.iso", false), 1) << bridge.GetLastErrorString();
    EXPECT_EQ(bridge.RemoveISOFromVM("vm-app01", "", "ubuntu-22.04.4-live-server-amd64.iso", false), 0);

    EXPECT_FALSE(bridge.CheckVMConsolidateStatus("vm-web01", ""));
    bool needed = true;
    EXPECT_TRUE(bridge.ConsolidateVMDisks("vm-web01", "", needed));
    EXPECT_FALSE(needed);
}

TEST_F(VmSimulatorTest, NasDatastoresAndConnections)
{
    EXPECT_TRUE(bridge.IsDatastoreConnected(kHost, "datastore2"));
    EXPECT_FALSE(bridge.IsDatastoreConnected("esx02.sim.local", "datastore2"));
    ASSERT_EQ(bridge.CreateNASDatastore("esx02.sim.local", "nfs-new", "nas02.sim.local", "/export/vms", false), 1)
        << bridge.GetLastErrorString();
    EXPECT_TRUE(bridge.IsDatastoreConnected("esx02.sim.local", "nfs-new"));
    EXPECT_FALSE(bridge.IsDatastoreConnected(kHost, "nfs-new"));
    EXPECT_EQ(bridge.CreateDatastoreFolder("nfs-new", "backups/daily"), 1);
    EXPECT_EQ(bridge.CheckDatastoreFile("", "nfs-new", "backups/daily", "", true), 1);
    EXPECT_EQ(bridge.CreateNASDatastore("", "nfs-new", "other", "/x", false), 0);
    EXPECT_EQ(bridge.RemoveDatastore("", "datastore1"), 0);
    EXPECT_NE(bridge.GetLastErrorString().find("is in use"), std::string::npos);
    EXPECT_EQ(bridge.RemoveDatastore("", "nfs-new"), 1);
    EXPECT_FALSE(bridge.IsDatastoreConnected("esx02.sim.local", "nfs-new"));
    EXPECT_TRUE(bridge.CheckDownloadFromHostPrivilege(kHost));
    EXPECT_EQ(bridge.GetDownloadDatastoreFileUrl("", "datastore1", "vm-app01/vm-app01.vmx", ""),
              "https://vcenter.sim.local/folder/vm-app01/vm-app01.vmx?dcPath=Datacenter&dsName=datastore1");
}

TEST_F(VmSimulatorTest, ReadOnlyAccountCannotChangeFiles)
{
    CVISDKCppBridge other;
    std::string first = kServer, second;
    ASSERT_EQ(other.SetVMFocus(first, second, 0), 1);
    ASSERT_EQ(other.Connect(kServer, "backup-ro@vsphere.local", "ReadOnly1!"), 1);
    EXPECT_FALSE(other.CheckDownloadFromHostPrivilege(""));
    EXPECT_EQ(other.CreateDatastoreFolder("datastore1", "x"), 0);
    EXPECT_NE(other.GetLastErrorString().find("Datastore.FileManagement"), std::string::npos);
    std::string uuid;
    EXPECT_EQ(other.CreateVM("ro-vm", "", "datastore1", "", "", uuid), 0);
    other.Disconnect();
}

} // namespace
