// Virtual-machine side records: disks, controllers, network cards, snapshots, files, layout and the VM itself.
#include <gtest/gtest.h>

#include "RecordBuilder.h"

using namespace VMInfoStructs;
using namespace visdktest;
using VISDKHelper::CVISDKHelper;

namespace {

using VmRecordsTest = ProbeTest;

template <typename Record>
Record Read(Managed object)
{
    Record record;
    CVISDKHelper::ConvertObject(record, object.ref());
    return record;
}

template <typename Record>
Managed Write(const char* className, const Record& record)
{
    Managed object(className);
    CVISDKHelper::ConvertObject(object.ref(), record);
    return object;
}

TEST_F(VmRecordsTest, DiskTypeComesFromTheFourVendorFlags)
{
    struct Case {
        int flat, split, rawDeviceMap, compatMode, expected;
    };
    const Case cases[] = {
        {0, 0, 7, 7, 1}, {0, 1, 7, 7, 5}, {0, 2, 1, 0, 0},  {1, 0, 1, 1, 3},   {1, 1, 0, 0, 6},
        {1, -1, 1, 0, 0}, {2, 0, 1, 0, 10}, {2, 9, 1, 1, 11}, {-1, 0, 1, 2, 0}, {3, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        Managed disk("SDiskLib");
        disk.Int("nFlat", c.flat).Int("nSplit", c.split).Int("nRawDeviceMap", c.rawDeviceMap).Int("nRDMCompatMode", c.compatMode);
        EXPECT_EQ(Read<SDisk>(disk).nDiskType, c.expected) << c.flat << "," << c.split << "," << c.rawDeviceMap << "," << c.compatMode;
        EXPECT_EQ(Write("SDiskLib", Read<SDisk>(disk)).i32("nFlat"), 0) << "the disk type is never written back";
    }
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VmRecordsTest, DiskCodesMapBothWays)
{
    struct Case {
        const char* field;
        int managed;
        std::function<int(const SDisk&)> native;
        int expected;
    };
    auto datastore = [](const SDisk& d) { return static_cast<int>(d.nDatastoreType); };
    auto cdrom = [](const SDisk& d) { return d.nCDRomDevice; };
    auto independent = [](const SDisk& d) { return static_cast<int>(d.bIndependentMode); };
    auto persistent = [](const SDisk& d) { return static_cast<int>(d.bPersistentMode); };
    const Case cases[] = {
        {"nDatastoreType", 0, datastore, 1}, {"nDatastoreType", 1, datastore, 2}, {"nDatastoreType", 2, datastore, 3},
        {"nDatastoreType", 3, datastore, 4}, {"nDatastoreType", 7, datastore, 0}, {"nDatastoreType", -1, datastore, 0},
        {"nCDRomDevice", 1, cdrom, 2},       {"nCDRomDevice", 0, cdrom, 1},       {"nCDRomDevice", 2, cdrom, 1},
        {"nIndependentMode", 1, independent, 1}, {"nIndependentMode", 2, independent, 0}, {"nIndependentMode", 0, independent, 0},
        {"nPersistentMode", 1, persistent, 1},   {"nPersistentMode", -1, persistent, 0},
    };
    for (const Case& c : cases) {
        Managed disk("SDiskLib");
        disk.Int(c.field, c.managed);
        EXPECT_EQ(c.native(Read<SDisk>(disk)), c.expected) << c.field << "=" << c.managed;
    }
}

// A host may hold a code this build does not list (a newer datastore kind, say): it must survive copies unchanged,
// which an enum without a fixed type would not promise.
TEST_F(VmRecordsTest, UnlistedDatastoreCodesSurviveCopies)
{
    SDisk disk;
    disk.nDatastoreType = static_cast<DatastoreType_t>(9);
    SVMInfo vm;
    vm.diskList.push_back(disk);
    SVMInfo copy(vm);
    SVMInfo assigned;
    assigned = copy;
    EXPECT_EQ(static_cast<int>(assigned.diskList.at(0).nDatastoreType), 9);
    static_assert(sizeof(DatastoreType_t) == sizeof(int), "the record layout keeps its size");
}

TEST_F(VmRecordsTest, DiskCodesAreWrittenBackAsManagedCodes)
{
    struct Case {
        std::function<void(SDisk&)> set;
        const char* field;
        int expected;
    };
    const Case cases[] = {
        {[](SDisk& d) { d.nDatastoreType = eDatastoreType1; }, "nDatastoreType", 0},
        {[](SDisk& d) { d.nDatastoreType = eDatastoreType4; }, "nDatastoreType", 3},
        {[](SDisk& d) { d.nDatastoreType = eDatastoreTypeUnknown; }, "nDatastoreType", -1},
        {[](SDisk& d) { d.nDatastoreType = static_cast<DatastoreType_t>(5); }, "nDatastoreType", -1},
        {[](SDisk& d) { d.nCDRomDevice = 2; }, "nCDRomDevice", 1},
        {[](SDisk& d) { d.nCDRomDevice = 1; }, "nCDRomDevice", 0},
        {[](SDisk& d) { d.nCDRomDevice = 3; }, "nCDRomDevice", 0},
        {[](SDisk& d) { d.bIndependentMode = true; }, "nIndependentMode", 1},
        {[](SDisk& d) { d.bPersistentMode = true; }, "nPersistentMode", 1},
        {[](SDisk& d) { d.bPersistentMode = false; }, "nPersistentMode", 0},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SDisk disk;
        cases[i].set(disk);
        EXPECT_EQ(Write("SDiskLib", disk).i32(cases[i].field), cases[i].expected) << "case " << i;
    }
}

TEST_F(VmRecordsTest, ProvisioningPrefersThinAndMapsBack)
{
    struct Case {
        int thin, eager, provision;
    };
    const Case reads[] = {{1, 1, 2}, {1, 0, 2}, {0, 1, 3}, {0, 0, 1}, {2, 1, 3}, {0, 2, 1}};
    for (const Case& c : reads) {
        Managed disk("SDiskLib");
        disk.Int("nThinProvisioned", c.thin).Int("nEagerZero", c.eager);
        SDisk native = Read<SDisk>(disk);
        EXPECT_EQ(native.nProvisionType, c.provision) << c.thin << "," << c.eager;
        Managed back = Write("SDiskLib", native);
        EXPECT_EQ(back.i32("nThinProvisioned"), c.provision == 2 ? 1 : 0);
        EXPECT_EQ(back.i32("nEagerZero"), c.provision == 3 ? 1 : 0);
    }
    SDisk unset;
    Managed written = Write("SDiskLib", unset);
    EXPECT_EQ(written.i32("nThinProvisioned"), 0);
    EXPECT_EQ(written.i32("nEagerZero"), 0);
    EXPECT_EQ(written.i32("nCDRomDevice"), 0);
    EXPECT_EQ(written.i32("nDatastoreType"), -1);
}

TEST_F(VmRecordsTest, DiskRoundTripCarriesEveryConvertedMember)
{
    SDisk disk;
    disk.strFileName = "[ds-gold] vm-01/vm-01_1.vmdk";
    disk.nDeviceKey = 2001;
    disk.bIndependentMode = true;
    disk.bPersistentMode = true;
    disk.llMaxSizeInBytes = 5LL << 40;
    disk.llCurrSizeInBytes = (3LL << 32) + 7;
    disk.strControllerType = "ParaVirtualSCSIController";
    disk.nControllerBusNumber = 3;
    disk.nUnitNumber = 14;
    disk.strLabel = "Hard disk 2";
    disk.nDatastoreType = eDatastoreType3;
    disk.strDataStoreName = "ds-gold";
    disk.nProvisionType = 3;
    disk.strLUNUUID = "0200000000600508b1001c";
    disk.strParentFileName = "[ds-gold] base/base.vmdk";
    disk.strParentNameForMultidatastore = "[ds-silver] base/base.vmdk";
    disk.nCDRomDevice = 2;
    disk.vmStoragePolicyName = "Gold";
    disk.vmStoragePolicyId = "aa6d5a82-1c88";
    disk.strUUID = "not sent";
    disk.strVMFSPath = "not sent either";
    Managed object = Write("SDiskLib", disk);
    EXPECT_EQ(object.str("strUUID"), "");
    EXPECT_EQ(object.str("strVMFSPath"), "");
    object.Int("nFlat", 1);
    SDisk back = Read<SDisk>(object);
    EXPECT_EQ(back.strFileName, disk.strFileName);
    EXPECT_EQ(back.nDeviceKey, 2001);
    EXPECT_TRUE(back.bIndependentMode);
    EXPECT_TRUE(back.bPersistentMode);
    EXPECT_EQ(back.llMaxSizeInBytes, 5LL << 40);
    EXPECT_EQ(back.llCurrSizeInBytes, (3LL << 32) + 7);
    EXPECT_EQ(back.strControllerType, disk.strControllerType);
    EXPECT_EQ(back.nControllerBusNumber, 3);
    EXPECT_EQ(back.nUnitNumber, 14);
    EXPECT_EQ(back.strLabel, disk.strLabel);
    EXPECT_EQ(back.nDatastoreType, eDatastoreType3);
    EXPECT_EQ(back.strDataStoreName, disk.strDataStoreName);
    EXPECT_EQ(back.nProvisionType, 3);
    EXPECT_EQ(back.strLUNUUID, disk.strLUNUUID);
    EXPECT_EQ(back.strParentFileName, disk.strParentFileName);
    EXPECT_EQ(back.strParentNameForMultidatastore, disk.strParentNameForMultidatastore);
    EXPECT_EQ(back.nCDRomDevice, 2);
    EXPECT_EQ(back.vmStoragePolicyName, disk.vmStoragePolicyName);
    EXPECT_EQ(back.vmStoragePolicyId, disk.vmStoragePolicyId);
    EXPECT_EQ(back.nDiskType, 3);
    EXPECT_EQ(back.strUUID, "");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VmRecordsTest, DisksReadFromAListKeepTheirUnconvertedDefaults)
{
    Managed disk("SDiskLib");
    disk.Str("strUUID", "6000C29a").Str("strVMFSPath", "/vmfs/volumes/ds/vm/vm.vmdk");
    std::vector<SDisk> disks(3);
    disks[0].nAux04 = 0;
    CVISDKHelper::ConvertDiskList(disks, ListOfRecords("SDiskLib", {disk, Managed("SDiskLib")}));
    ASSERT_EQ(disks.size(), 2u);
    EXPECT_EQ(disks[0].strUUID, "6000C29a");
    EXPECT_EQ(disks[0].strVMFSPath, "/vmfs/volumes/ds/vm/vm.vmdk");
    for (const SDisk& d : disks) {
        EXPECT_EQ(d.nAux01, 1);
        EXPECT_TRUE(d.bAux02);
        EXPECT_EQ(d.llAux03, -1);
        EXPECT_TRUE(d.bAux10);
        EXPECT_EQ(d.nAux04, 512);
        EXPECT_EQ(d.llAux01, 0);
        EXPECT_FALSE(d.bAux11);
        EXPECT_TRUE(d.childDiskList.empty());
        EXPECT_EQ(d.nDiskType, 1) << "all vendor flags zero";
        EXPECT_EQ(d.nProvisionType, 1);
    }
}

TEST_F(VmRecordsTest, ControllersAndNetworkCardsTravelBothWays)
{
    SVMDiskController controller;
    controller.strControllerType = "VirtualLsiLogicSASController";
    controller.nControllerBusNumber = 2;
    controller.strScsiControllerType = "lsilogic-sas";
    controller.sharedBus = true;
    MonoObject* list = nullptr;
    CVISDKHelper::ConvertDiskControllerList(list, std::vector<SVMDiskController>{SVMDiskController(), controller});
    ASSERT_NE(list, nullptr);
    std::vector<SVMDiskController> controllers;
    CVISDKHelper::ConvertDiskControllerList(controllers, list);
    ASSERT_EQ(controllers.size(), 2u);
    EXPECT_EQ(controllers[0].strControllerType, "");
    EXPECT_FALSE(controllers[0].sharedBus);
    EXPECT_EQ(controllers[1].strControllerType, "VirtualLsiLogicSASController");
    EXPECT_EQ(controllers[1].nControllerBusNumber, 2);
    EXPECT_EQ(controllers[1].strScsiControllerType, "lsilogic-sas");
    EXPECT_TRUE(controllers[1].sharedBus);

    SVMNetworkCard card;
    card.label = "Network adapter 1";
    card.networkName = "VM Network";
    card.networkId = "network-17";
    card.macAddress = "00:50:56:9a:0b:1c";
    card.nicType = "vmxnet3";
    card.isConnected = false;
    card.ipAddress = "10.0.0.7";
    card.strAux01 = "kept";
    Managed object = Write("SVMNetworkCardLib", card);
    EXPECT_EQ(object.str("ipAddress"), "") << "the IP address is never sent";
    object.Str("ipAddress", "192.168.1.20");
    SVMNetworkCard back = card;
    CVISDKHelper::ConvertObject(back, object.ref());
    EXPECT_EQ(back.label, card.label);
    EXPECT_EQ(back.networkName, card.networkName);
    EXPECT_EQ(back.networkId, card.networkId);
    EXPECT_EQ(back.macAddress, card.macAddress);
    EXPECT_EQ(back.nicType, card.nicType);
    EXPECT_FALSE(back.isConnected);
    EXPECT_EQ(back.ipAddress, "192.168.1.20");
    EXPECT_EQ(back.strAux01, "kept");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VmRecordsTest, ANetworkCardWithoutIsConnectedReadsDisconnected)
{
    // An option value has none of a card's fields.
    SVMNetworkCard card = Read<SVMNetworkCard>(Managed("SVMOptionValueLib"));
    EXPECT_FALSE(card.isConnected);
    EXPECT_TRUE(SVMNetworkCard().isConnected);
}

Managed Snapshot(const char* name, time_t created, std::initializer_list<Managed> children)
{
    Managed snapshot("SSnapshotLib");
    snapshot.Str("strName", name).Str("strMoRef", std::string("snapshot-") + name).Date("creationTime", created);
    if (children.size())
        snapshot.Object("childSnapshots", ListOfRecords("SSnapshotLib", children));
    return snapshot;
}

TEST_F(VmRecordsTest, SnapshotTreeReadsDepthFirstInOrder)
{
    Managed root = Snapshot("root", 1700000000, {Snapshot("a", 1700000100, {Snapshot("a1", 1700000200, {Snapshot("a1x", 1700000300, {})})}),
                                                 Snapshot("b", 1700000400, {})});
    root.Str("strDescription", "nightly");
    std::vector<SSnapshot> tree;
    CVISDKHelper::ConvertSnapshotList(tree, ListOfRecords("SSnapshotLib", {root}));
    ASSERT_EQ(tree.size(), 1u);
    const SSnapshot& top = tree[0];
    EXPECT_EQ(top.strName, "root");
    EXPECT_EQ(top.strMoRef, "snapshot-root");
    EXPECT_EQ(top.strDescription, "nightly");
    EXPECT_EQ(top.creationTime, 1700000000);
    ASSERT_EQ(top.childSnapshots.size(), 2u);
    EXPECT_EQ(top.childSnapshots[0].strName, "a");
    EXPECT_EQ(top.childSnapshots[1].strName, "b");
    EXPECT_TRUE(top.childSnapshots[1].childSnapshots.empty());
    ASSERT_EQ(top.childSnapshots[0].childSnapshots.size(), 1u);
    const SSnapshot& a1 = top.childSnapshots[0].childSnapshots[0];
    EXPECT_EQ(a1.creationTime, 1700000200);
    ASSERT_EQ(a1.childSnapshots.size(), 1u);
    EXPECT_EQ(a1.childSnapshots[0].strName, "a1x");
    EXPECT_TRUE(a1.childSnapshots[0].childSnapshots.empty());
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VmRecordsTest, FilesAndLayoutAreRead)
{
    Managed vmx("SVMFileLib");
    vmx.Str("strName", "vm-01.vmx").Long("lSize", 3LL << 31).Int("eFileType", 4).Date("modifiedTime", 1600000000);
    std::vector<SVMFile> files;
    CVISDKHelper::ConvertVMFileList(files, ListOfRecords("SVMFileLib", {vmx, Managed("SVMFileLib")}));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].strName, "vm-01.vmx");
    EXPECT_EQ(files[0].lSize, 3LL << 31);
    EXPECT_EQ(files[0].eFileType, 4);
    EXPECT_EQ(files[0].modifiedTime, 1600000000);
    EXPECT_EQ(files[1].eFileType, 0);
    EXPECT_EQ(SVMFile().eFileType, -1);
    EXPECT_EQ(Read<SVMFile>(Managed("SVMOptionValueLib")).eFileType, 0) << "a missing type reads 0, not -1";

    Managed layout("SFilelayoutLib");
    layout.Object("diskList", ListOfRecords("SDiskLib", {Managed("SDiskLib").Str("strFileName", "vm-01.vmdk")}));
    layout.Object("fileList", ListOfRecords("SVMFileLib", {vmx, vmx}));
    SFilelayout native = Read<SFilelayout>(layout);
    ASSERT_EQ(native.diskList.size(), 1u);
    EXPECT_EQ(native.diskList[0].strFileName, "vm-01.vmdk");
    EXPECT_EQ(native.fileList.size(), 2u);
}

// A managed VM with a distinctive value in every field that is read.
Managed FullManagedVM()
{
    Managed vm("SVMInfoLib");
    const char* strings[] = {"strName", "strGuestOSName", "strUuid", "strBiosUuid", "strInstanceUuid", "strConfigFile", "strMoRef",
                             "strGuestOSVersion", "vmVersion", "strDataStoreName", "strDataCenterName", "strDataCenterPath",
                             "strResourcePoolPath", "strInventoryPath", "hostName", "hostVersion", "hostBuild", "hostFullVersion",
                             "clusterMorefString", "clusterName", "ipAddress", "dnsHostName", "KyStubReparseData", "strToolsStatus",
                             "strFirmware", "notes", "bootTime", "vmStoragePolicyId", "vmStoragePolicyName", "managedBy",
                             "managedByType", "isoPath"};
    for (const char* field : strings)
        vm.Str(field, std::string("v:") + field);
    vm.Bool("changeTrackingEnabled", true).Bool("templateVM", true).Bool("bDiskUUIDEnabled", true).Bool("bIsSnapPresent", true);
    vm.Bool("vAppEnabled", true).Bool("supportPVEnabled", true);
    vm.Int("connectionState", 2).Int("hostConnectionState", 3).Int("poweredState", 1).Int("m_nStubbedSubclientID", 77);
    vm.Int("m_nPowerOffTimeInHours", 48).Int("toolsStatus", 4).Int("toolsVersion", 12352).Int("numEthernetCards", 2);
    vm.Long("guestSize", 9LL << 33).Long("usedSize", 5LL << 33).Long("videoRamSizeInKb", 4096).Long("numOfCPU", 16);
    vm.Long("numDisks", 2).Long("memorySizeInMB", 65536).Long("memoryResvInMB", 1024).Long("memoryReservation", 2048);
    vm.Long("memoryLimit", 2).Long("memoryShares", 163840);
    vm.Object("diskList", ListOfRecords("SDiskLib", {Managed("SDiskLib").Str("strFileName", "d0"), Managed("SDiskLib").Str("strFileName", "d1")}));
    vm.Object("diskControllerList", ListOfRecords("SDiskControllerLib", {Managed("SDiskControllerLib").Int("nControllerBusNumber", 1),
                                                                         Managed("SDiskControllerLib").Int("nControllerBusNumber", 2)}));
    vm.Object("snapshotList", ListOfRecords("SSnapshotLib", {Snapshot("s0", 1, {}), Snapshot("s1", 2, {})}));
    vm.Object("vmPaths", NewStringList({"/dc/vm/a", "/dc/vm/b"}));
    vm.Object("networkCards", ListOfRecords("SVMNetworkCardLib", {Managed("SVMNetworkCardLib").Str("label", "n0"),
                                                                  Managed("SVMNetworkCardLib").Str("label", "n1")}));
    vm.Object("owners", ListOfRecords("SVMOwnerInfoLib", {Managed("SVMOwnerInfoLib").Str("name", "o0"), Managed("SVMOwnerInfoLib").Str("name", "o1")}));
    vm.Object("optionValues", ListOfRecords("SVMOptionValueLib", {Managed("SVMOptionValueLib").Str("key", "k0"),
                                                                  Managed("SVMOptionValueLib").Str("key", "k1")}));
    vm.Object("customAttributes", ListOfRecords("SVMOptionValueLib", {Managed("SVMOptionValueLib").Str("key", "c0"),
                                                                      Managed("SVMOptionValueLib").Str("key", "c1")}));
    Managed layout("SFilelayoutLib");
    layout.Object("fileList", ListOfRecords("SVMFileLib", {Managed("SVMFileLib").Str("strName", "vm.vmx"), Managed("SVMFileLib").Str("strName", "vm.nvram")}));
    vm.Nested("fileLayout", layout);
    return vm;
}

TEST_F(VmRecordsTest, EveryReadMemberOfAVMIsFilled)
{
    SVMInfo vm;
    vm.isoPath = "[iso] kept.iso";
    CVISDKHelper::ConvertObject(vm, FullManagedVM().ref());
    const std::pair<const std::string*, const char*> strings[] = {
        {&vm.strName, "strName"}, {&vm.strGuestOSName, "strGuestOSName"}, {&vm.strUuid, "strUuid"}, {&vm.strBiosUuid, "strBiosUuid"},
        {&vm.strInstanceUuid, "strInstanceUuid"}, {&vm.strConfigFile, "strConfigFile"}, {&vm.strMoRef, "strMoRef"},
        {&vm.strGuestOSVersion, "strGuestOSVersion"}, {&vm.vmVersion, "vmVersion"}, {&vm.strDataStoreName, "strDataStoreName"},
        {&vm.strDataCenterName, "strDataCenterName"}, {&vm.strDataCenterPath, "strDataCenterPath"},
        {&vm.strResourcePoolPath, "strResourcePoolPath"}, {&vm.strInventoryPath, "strInventoryPath"}, {&vm.hostName, "hostName"},
        {&vm.hostVersion, "hostVersion"}, {&vm.hostBuild, "hostBuild"}, {&vm.hostFullVersion, "hostFullVersion"},
        {&vm.clusterMorefString, "clusterMorefString"}, {&vm.clusterName, "clusterName"}, {&vm.ipAddress, "ipAddress"},
        {&vm.dnsHostName, "dnsHostName"}, {&vm.KyStubReparseData, "KyStubReparseData"}, {&vm.strToolsStatus, "strToolsStatus"},
        {&vm.strFirmware, "strFirmware"}, {&vm.notes, "notes"}, {&vm.bootTime, "bootTime"}, {&vm.vmStoragePolicyId, "vmStoragePolicyId"},
        {&vm.vmStoragePolicyName, "vmStoragePolicyName"}, {&vm.managedBy, "managedBy"}, {&vm.managedByType, "managedByType"},
    };
    for (const auto& s : strings)
        EXPECT_EQ(*s.first, std::string("v:") + s.second);
    EXPECT_EQ(vm.isoPath, "[iso] kept.iso") << "never read";
    EXPECT_TRUE(vm.changeTrackingEnabled && vm.templateVM && vm.bDiskUUIDEnabled && vm.bIsSnapPresent && vm.vAppEnabled && vm.supportPVEnabled);
    EXPECT_EQ(vm.connectionState, 2);
    EXPECT_EQ(vm.hostConnectionState, 3);
    EXPECT_EQ(vm.poweredState, 1);
    EXPECT_EQ(vm.m_nStubbedSubclientID, 77);
    EXPECT_EQ(vm.m_nPowerOffTimeInHours, 48);
    EXPECT_EQ(vm.toolsStatus, 4);
    EXPECT_EQ(vm.toolsVersion, 12352);
    EXPECT_EQ(vm.numEthernetCards, 2);
    EXPECT_EQ(vm.guestSize, 9LL << 33);
    EXPECT_EQ(vm.usedSize, 5LL << 33);
    EXPECT_EQ(vm.videoRamSize, 4194304);
    EXPECT_EQ(vm.numOfCPU, 16);
    EXPECT_EQ(vm.numDisks, 2);
    EXPECT_EQ(vm.memorySizeInMB, 65536);
    EXPECT_EQ(vm.memoryResvInMB, 1024);
    EXPECT_EQ(vm.memoryReservation, 2048);
    EXPECT_EQ(vm.memoryLimit, 2097152);
    EXPECT_EQ(vm.memoryShares, 163840);
    ASSERT_EQ(vm.diskList.size(), 2u);
    EXPECT_EQ(vm.diskList[1].strFileName, "d1");
    ASSERT_EQ(vm.diskControllerList.size(), 2u);
    EXPECT_EQ(vm.diskControllerList[1].nControllerBusNumber, 2);
    ASSERT_EQ(vm.snapshotList.size(), 2u);
    EXPECT_EQ(vm.snapshotList[1].strName, "s1");
    EXPECT_EQ(vm.vmPaths, (std::vector<std::string>{"/dc/vm/a", "/dc/vm/b"}));
    ASSERT_EQ(vm.networkCards.size(), 2u);
    EXPECT_EQ(vm.networkCards[1].label, "n1");
    ASSERT_EQ(vm.owners.size(), 2u);
    EXPECT_EQ(vm.owners[1].name, "o1");
    ASSERT_EQ(vm.optionValues.size(), 2u);
    EXPECT_EQ(vm.optionValues[1].key, "k1");
    ASSERT_EQ(vm.customAttributes.size(), 2u);
    EXPECT_EQ(vm.customAttributes[0].key, "c0");
    ASSERT_EQ(vm.fileLayout.fileList.size(), 2u);
    EXPECT_EQ(vm.fileLayout.fileList[1].strName, "vm.nvram");
    EXPECT_TRUE(vm.fileLayout.diskList.empty());
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VmRecordsTest, MemoryLimitAndVideoRamAreScaled)
{
    struct Case {
        const char* field;
        long long managed;
        int64_t SVMInfo::*member;
        long long expected;
    };
    const Case cases[] = {
        {"memoryLimit", 0, &SVMInfo::memoryLimit, -10},
        {"memoryLimit", 2, &SVMInfo::memoryLimit, 2097152},
        {"memoryLimit", -1, &SVMInfo::memoryLimit, -1048576},
        {"memoryLimit", 1LL << 32, &SVMInfo::memoryLimit, 1LL << 52},
        {"memoryLimit", (1LL << 32) + 1, &SVMInfo::memoryLimit, (1LL << 52) + (1LL << 20)},
        {"videoRamSizeInKb", 4096, &SVMInfo::videoRamSize, 4194304},
        {"videoRamSizeInKb", 0, &SVMInfo::videoRamSize, 0},
        {"videoRamSizeInKb", 1LL << 40, &SVMInfo::videoRamSize, 1LL << 50},
    };
    for (const Case& c : cases) {
        Managed vm("SVMInfoLib");
        vm.Long(c.field, c.managed);
        SVMInfo native = Read<SVMInfo>(vm);
        EXPECT_EQ(native.*c.member, c.expected) << c.field << "=" << c.managed;
    }
}

TEST_F(VmRecordsTest, WritingAVMSendsItsRequestFieldsAndFourLists)
{
    SVMInfo vm;
    Managed defaults = Write("SVMInfoLib", vm);
    EXPECT_EQ(defaults.i64("memorySizeInMB"), -1);
    EXPECT_EQ(defaults.i64("numOfCPU"), 0);
    EXPECT_EQ(defaults.i32("hostConnectionState"), -1);
    for (const char* list : {"diskList", "diskControllerList", "networkCards", "optionValues"}) {
        ASSERT_NE(defaults.object(list), nullptr) << list;
        EXPECT_EQ(ListCount(defaults.object(list)), 0) << list;
    }
    EXPECT_EQ(defaults.object("snapshotList"), nullptr);
    EXPECT_EQ(defaults.object("customAttributes"), nullptr);

    SVMInfo full;
    CVISDKHelper::ConvertObject(full, FullManagedVM().ref());
    full.isoPath = "[iso] install.iso";
    Managed sent = Write("SVMInfoLib", full);
    const char* written[] = {"strName", "strUuid", "strInstanceUuid", "strBiosUuid", "strGuestOSName", "strMoRef", "strGuestOSVersion",
                             "strConfigFile", "vmVersion", "strDataCenterName", "strDataCenterPath", "hostName", "hostVersion",
                             "hostFullVersion", "ipAddress", "dnsHostName", "strDataStoreName", "strFirmware", "strResourcePoolPath",
                             "strInventoryPath"};
    for (const char* field : written)
        EXPECT_EQ(sent.str(field), std::string("v:") + field);
    EXPECT_EQ(sent.str("isoPath"), "[iso] install.iso");
    for (const char* field : {"strToolsStatus", "clusterName", "clusterMorefString", "hostBuild", "bootTime", "notes", "KyStubReparseData",
                              "vmStoragePolicyId", "vmStoragePolicyName", "managedBy", "managedByType"})
        EXPECT_EQ(sent.str(field), "") << field << " is never sent";
    EXPECT_TRUE(sent.flag("changeTrackingEnabled"));
    EXPECT_TRUE(sent.flag("templateVM"));
    EXPECT_FALSE(sent.flag("vAppEnabled"));
    EXPECT_EQ(sent.i32("connectionState"), 2);
    EXPECT_EQ(sent.i32("hostConnectionState"), 3);
    EXPECT_EQ(sent.i32("numEthernetCards"), 2);
    EXPECT_EQ(sent.i64("numDisks"), 2);
    EXPECT_EQ(sent.i64("numOfCPU"), 16);
    EXPECT_EQ(sent.i64("memorySizeInMB"), 65536) << "megabytes, unscaled";
    for (const char* field : {"memoryLimit", "memoryShares", "memoryResvInMB", "memoryReservation", "videoRamSizeInKb", "guestSize", "usedSize"})
        EXPECT_EQ(sent.i64(field), 0) << field << " is never sent";
    EXPECT_EQ(sent.i32("toolsStatus"), 0);
    EXPECT_EQ(sent.i32("poweredState"), 0);
    EXPECT_EQ(ListCount(sent.object("diskList")), 2);
    EXPECT_EQ(ListItem(sent.object("diskList"), 1).str("strFileName"), "d1");
    EXPECT_EQ(ListItem(sent.object("diskControllerList"), 1).i32("nControllerBusNumber"), 2);
    EXPECT_EQ(ListItem(sent.object("networkCards"), 0).str("label"), "n0");
    EXPECT_EQ(ListItem(sent.object("optionValues"), 1).str("key"), "k1");
    EXPECT_EQ(sent.object("owners"), nullptr);
    EXPECT_EQ(sent.object("vmPaths"), nullptr);
    EXPECT_TRUE(sent.nested("fileLayout").object("fileList") == nullptr) << "the layout is never sent";
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VmRecordsTest, ReadingLeavesIsoPathAndAMissingLayoutAlone)
{
    SVMInfo vm;
    vm.isoPath = "[iso] a.iso";
    vm.fileLayout.fileList.resize(2);
    vm.fileLayout.fileList[1].strName = "kept.vmx";
    vm.diskList.resize(4);
    // A layout record has a "diskList" but no "fileLayout" of its own.
    Managed notAVM("SFilelayoutLib");
    notAVM.Object("diskList", ListOfRecords("SDiskLib", {Managed("SDiskLib")}));
    log.Clear();
    CVISDKHelper::ConvertObject(vm, notAVM.ref());
    EXPECT_EQ(vm.isoPath, "[iso] a.iso");
    ASSERT_EQ(vm.fileLayout.fileList.size(), 2u);
    EXPECT_EQ(vm.fileLayout.fileList[1].strName, "kept.vmx");
    EXPECT_EQ(vm.diskList.size(), 1u);
    EXPECT_EQ(log.Count("Could not find field [fileLayout]"), 0);
    EXPECT_EQ(log.Count("Could not find field [strName]"), 1) << "the other fields are still read and logged";
    EXPECT_EQ(vm.memoryLimit, -10) << "a missing limit reads as none set";
    EXPECT_EQ(vm.videoRamSize, 0);
}

TEST_F(VmRecordsTest, VMListElementsKeepTheirListsAndDefaults)
{
    Managed vm("SVMInfoLib");
    vm.Str("hostBuild", "24674464").Int("hostConnectionState", 0);
    vm.Object("diskControllerList", ListOfRecords("SDiskControllerLib", {Managed("SDiskControllerLib").Str("strControllerType", "ide")}));
    std::vector<SVMInfo> vms(2);
    CVISDKHelper::ConvertVMInfoList(vms, ListOfRecords("SVMInfoLib", {vm}));
    ASSERT_EQ(vms.size(), 1u);
    EXPECT_EQ(vms[0].hostBuild, "24674464");
    EXPECT_EQ(vms[0].hostConnectionState, 0);
    ASSERT_EQ(vms[0].diskControllerList.size(), 1u);
    EXPECT_EQ(vms[0].diskControllerList[0].strControllerType, "ide");
    EXPECT_TRUE(vms[0].diskList.empty()) << "a null list reads empty";
    EXPECT_EQ(vms[0].llAux01, -1);
    EXPECT_EQ(vms[0].guestOSInfo.strAux01, "Any");
    EXPECT_EQ(vms[0].isoPath, "");

    MonoObject* list = nullptr;
    CVISDKHelper::ConvertVMInfoList(list, vms);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(ListCount(list), 1);
    EXPECT_EQ(ListItem(list, 0).i32("hostConnectionState"), 0);
    EXPECT_EQ(ListCount(ListItem(list, 0).object("diskControllerList")), 1);
}

SVMInfo VMWithCarriedRecords()
{
    SVMInfo vm;
    vm.strName = "carrier";
    vm.strAux34 = "aux34";
    vm.nAux10 = 10;
    vm.llAux03 = 3;
    vm.bAux11 = true;
    vm.keyPairList.resize(2);
    vm.keyPairList[1].strAux02 = "key";
    vm.securityGroupList.resize(1);
    vm.securityGroupList[0].strAux01 = "sg-1";
    vm.fcAdapterList.resize(2);
    vm.fcAdapterList[1].strAux05 = "wwn";
    vm.auxNetworkCards.resize(1);
    vm.auxNetworkCards[0].sAux02 = 7;
    vm.auxStringList2 = {"x", "y"};
    vm.guestOSInfo.fullName = "Other";
    vm.fileLayout.diskList.resize(1);
    vm.fileLayout.diskList[0].strAux33 = "layout disk";
    vm.diskList.resize(1);
    vm.diskList[0].strAux21 = "aux21";
    vm.diskList[0].strAux22 = "aux22";
    vm.diskList[0].strAux32 = "aux32";
    vm.diskList[0].strAux34 = "aux34";
    vm.diskList[0].childDiskList.resize(1);
    vm.diskList[0].childDiskList[0].strAux11 = "child";
    vm.diskList[0].childDiskList[0].llAux06 = 6;
    vm.snapshotList.resize(1);
    vm.snapshotList[0].keyPairList.resize(1);
    vm.snapshotList[0].keyPairList[0].strAux01 = "snapshot key";
    vm.snapshotList[0].childSnapshots.resize(1);
    vm.snapshotList[0].childSnapshots[0].auxStringList = {"deep"};
    vm.networkCards.resize(1);
    vm.networkCards[0].strAux04 = "card";
    return vm;
}

void ExpectCarried(const SVMInfo& vm)
{
    EXPECT_EQ(vm.strName, "carrier");
    EXPECT_EQ(vm.strAux34, "aux34");
    EXPECT_EQ(vm.nAux10, 10);
    EXPECT_EQ(vm.llAux03, 3);
    EXPECT_TRUE(vm.bAux11);
    ASSERT_EQ(vm.keyPairList.size(), 2u);
    EXPECT_EQ(vm.keyPairList[1].strAux02, "key");
    ASSERT_EQ(vm.securityGroupList.size(), 1u);
    EXPECT_EQ(vm.securityGroupList[0].strAux01, "sg-1");
    ASSERT_EQ(vm.fcAdapterList.size(), 2u);
    EXPECT_EQ(vm.fcAdapterList[1].strAux05, "wwn");
    ASSERT_EQ(vm.auxNetworkCards.size(), 1u);
    EXPECT_EQ(vm.auxNetworkCards[0].sAux02, 7);
    EXPECT_EQ(vm.auxStringList2, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(vm.guestOSInfo.fullName, "Other");
    ASSERT_EQ(vm.fileLayout.diskList.size(), 1u);
    EXPECT_EQ(vm.fileLayout.diskList[0].strAux33, "layout disk");
    ASSERT_EQ(vm.diskList.size(), 1u);
    const SDisk& disk = vm.diskList[0];
    EXPECT_EQ(disk.strAux21 + disk.strAux22 + disk.strAux32 + disk.strAux34, "aux21aux22aux32aux34");
    ASSERT_EQ(disk.childDiskList.size(), 1u);
    EXPECT_EQ(disk.childDiskList[0].strAux11, "child");
    EXPECT_EQ(disk.childDiskList[0].llAux06, 6);
    ASSERT_EQ(vm.snapshotList.size(), 1u);
    ASSERT_EQ(vm.snapshotList[0].keyPairList.size(), 1u);
    EXPECT_EQ(vm.snapshotList[0].keyPairList[0].strAux01, "snapshot key");
    ASSERT_EQ(vm.snapshotList[0].childSnapshots.size(), 1u);
    EXPECT_EQ(vm.snapshotList[0].childSnapshots[0].auxStringList, (std::vector<std::string>{"deep"}));
    ASSERT_EQ(vm.networkCards.size(), 1u);
    EXPECT_EQ(vm.networkCards[0].strAux04, "card");
}

TEST_F(VmRecordsTest, CopiesCarryEveryMemberAndSubRecord)
{
    const SVMInfo source = VMWithCarriedRecords();
    SVMInfo constructed(source);
    ExpectCarried(constructed);
    SVMInfo assigned;
    assigned.strAux01 = "overwritten";
    assigned = source;
    ExpectCarried(assigned);
    EXPECT_EQ(assigned.strAux01, "");
    assigned = assigned;
    ExpectCarried(assigned);
    std::vector<SVMInfo> vms;
    vms.push_back(source);
    vms.push_back(source);
    vms.insert(vms.begin(), SVMInfo());
    ExpectCarried(vms[2]);
    std::vector<SVMInfo> copied = vms;
    ExpectCarried(copied[1]);
}

TEST_F(VmRecordsTest, FieldsAreReadAndWrittenByNameInOrder)
{
    const FieldOrder tables[] = {
        {"SDisk", Reads<SDisk>(),
         {"nDeviceKey", "llMaxSizeInBytes", "llCurrSizeInBytes", "nRDMCompatMode", "nRawDeviceMap", "nSplit", "nFlat", "strFileName",
          "strLUNUUID", "strParentFileName", "strControllerType", "nControllerBusNumber", "nUnitNumber", "strLabel", "nDatastoreType",
          "strDataStoreName", "strUUID", "strVMFSPath", "nCDRomDevice", "strParentNameForMultidatastore", "nIndependentMode",
          "nPersistentMode", "nThinProvisioned", "nEagerZero", "vmStoragePolicyId", "vmStoragePolicyName"}},
        {"SDisk out", Writes<SDisk>(),
         {"nDeviceKey", "llMaxSizeInBytes", "llCurrSizeInBytes", "strFileName", "strLUNUUID", "strParentFileName", "strControllerType",
          "nControllerBusNumber", "nUnitNumber", "strLabel", "strDataStoreName", "strParentNameForMultidatastore", "vmStoragePolicyId",
          "vmStoragePolicyName", "nThinProvisioned", "nEagerZero", "nCDRomDevice", "nIndependentMode", "nPersistentMode",
          "nDatastoreType"}},
        {"SVMDiskController", Reads<SVMDiskController>(), {"strControllerType", "strScsiControllerType", "nControllerBusNumber", "sharedBus"}},
        {"SVMDiskController out", Writes<SVMDiskController>(),
         {"nControllerBusNumber", "strScsiControllerType", "strControllerType", "sharedBus"}},
        {"SVMNetworkCard", Reads<SVMNetworkCard>(), {"label", "networkName", "macAddress", "isConnected", "ipAddress", "networkId", "nicType"}},
        {"SVMNetworkCard out", Writes<SVMNetworkCard>(), {"isConnected", "label", "networkName", "networkId", "nicType", "macAddress"}},
        {"SSnapshot", Reads<SSnapshot>(), {"strMoRef", "strName", "strDescription", "childSnapshots"}},
        {"SVMFile", Reads<SVMFile>(), {"strName", "lSize", "eFileType"}},
        {"SFilelayout", Reads<SFilelayout>(), {"diskList", "fileList"}},
        {"SVMInfo", Reads<SVMInfo>(),
         {"strName", "strGuestOSName", "strUuid", "strBiosUuid", "strInstanceUuid", "strConfigFile", "strMoRef", "strGuestOSVersion",
          "vmVersion", "changeTrackingEnabled", "templateVM", "strDataStoreName", "strDataCenterName", "strDataCenterPath",
          "strResourcePoolPath", "strInventoryPath", "connectionState", "hostName", "hostVersion", "hostBuild", "hostFullVersion",
          "hostConnectionState", "clusterMorefString", "clusterName", "ipAddress", "dnsHostName", "poweredState",
          "m_nStubbedSubclientID", "m_nPowerOffTimeInHours", "bDiskUUIDEnabled", "bIsSnapPresent", "KyStubReparseData",
          "strToolsStatus", "toolsStatus", "toolsVersion", "strFirmware", "guestSize", "usedSize", "notes", "diskList",
          "diskControllerList", "snapshotList", "vmPaths", "networkCards", "videoRamSizeInKb", "numOfCPU", "numDisks",
          "memorySizeInMB", "memoryResvInMB", "memoryReservation", "numEthernetCards", "bootTime", "memoryLimit", "memoryShares",
          "vAppEnabled", "supportPVEnabled", "vmStoragePolicyId", "vmStoragePolicyName", "managedBy", "managedByType", "owners",
          "optionValues", "customAttributes"}},
        {"SVMInfo out", Writes<SVMInfo>(),
         {"strName", "strUuid", "strInstanceUuid", "strBiosUuid", "strGuestOSName", "strMoRef", "strGuestOSVersion", "strConfigFile",
          "vmVersion", "changeTrackingEnabled", "templateVM", "strDataCenterName", "strDataCenterPath", "connectionState", "hostName",
          "hostVersion", "hostFullVersion", "hostConnectionState", "ipAddress", "dnsHostName", "numDisks", "numOfCPU", "memorySizeInMB",
          "numEthernetCards", "strDataStoreName", "strFirmware", "strResourcePoolPath", "strInventoryPath", "isoPath", "diskList",
          "diskControllerList", "networkCards", "optionValues"}},
    };
    for (const FieldOrder& table : tables) {
        log.Clear();
        MonoObject* foreign = ManagedDate(0);
        table.convert(foreign);
        EXPECT_EQ(log.Errors(), MissingFieldErrors(table.fields)) << table.record;
    }
}

} // namespace
