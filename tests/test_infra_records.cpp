// Infrastructure records: inventory nodes, hosts, datastores, containers, networks, adapters, LUNs, filters, versions.
#include <gtest/gtest.h>

#include "FieldIo.h"
#include "RecordBuilder.h"

using namespace VMInfoStructs;
using namespace visdktest;
using VISDKHelper::CVISDKHelper;

namespace {

using InfraRecordsTest = ProbeTest;

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

TEST_F(InfraRecordsTest, SelectionMasksPartitionTheSixtyFourBits)
{
    const UINT64 groups[] = {VM_PROP_ALL_VM, VM_PROP_ALL_HOST, VM_PROP_ALL_DS, VM_PROP_ALL_OTHER, VM_PROP_ALL_SPECIAL};
    UINT64 unused = VM_PROP_ALL;
    for (UINT64 group : groups) {
        EXPECT_EQ(unused & group, group) << std::hex << group << " overlaps another group";
        unused &= ~group;
    }
    EXPECT_EQ(unused, 0u);
    struct Bit {
        UINT64 value;
        int bit;
        UINT64 group;
    };
    const Bit bits[] = {
        {VM_PROP_VM_HOST_INFO, 0, VM_PROP_ALL_VM},          {VM_PROP_VM_ATTRIBUTES, 13, VM_PROP_ALL_VM},
        {VM_PROP_VM_DISK_LIST_ADVANCED, 8, VM_PROP_ALL_VM}, {VM_PROP_HOST_KEY_PAIR_LIST, 23, VM_PROP_ALL_HOST},
        {VM_PROP_HOST_NW_ADAP_INFO, 31, VM_PROP_ALL_HOST},  {VM_PROP_DS_EXTENT_LIST, 32, VM_PROP_ALL_DS},
        {VM_PROP_DS_VM_LIST, 34, VM_PROP_ALL_DS},           {VM_PROP_VAPP_VM_LIST, 44, VM_PROP_ALL_OTHER},
        {VM_PROP_DATACENTER_DS_LIST, 49, VM_PROP_ALL_OTHER}, {VM_PROP_CLUSTER_HOST_LIST, 53, VM_PROP_ALL_OTHER},
        {VM_PROP_INCLUDE_PUBLIC_TEMPLATES, 62, VM_PROP_ALL_SPECIAL}, {VM_PROP_INCLUDE_KY_BACKUP, 63, VM_PROP_ALL_SPECIAL},
    };
    for (const Bit& b : bits) {
        EXPECT_EQ(b.value, 1ULL << b.bit);
        EXPECT_EQ(b.value & b.group, b.value) << "bit " << b.bit;
    }
    EXPECT_EQ(MIN_VM_PROPS, 0u);
    EXPECT_EQ(INVENTORY_INFO_FLAG_POWERED_ON | INVENTORY_INFO_FLAG_TEMPLATE | INVENTORY_INFO_FLAG_TOOLS_RUNNING |
                  INVENTORY_INFO_FLAG_MAINTAINANCE_MODE,
              15);
}

Managed Node(const char* name, int flags, std::initializer_list<Managed> children)
{
    Managed node("SInventoryInfoLib");
    node.Str("strName", name).Str("strGUID", std::string("group-") + name).Int("type", static_cast<int>(std::string(name).size())).Int("flags", flags);
    if (children.size())
        node.Object("children", ListOfRecords("SInventoryInfoLib", children));
    return node;
}

void ExpectTree(const SInventoryInfo& root)
{
    EXPECT_EQ(root.strName, "dc");
    EXPECT_EQ(root.strGUID, "group-dc");
    EXPECT_EQ(root.type, 2);
    ASSERT_EQ(root.children.size(), 3u);
    EXPECT_EQ(root.children[0].strName, "folder");
    EXPECT_EQ(root.children[1].strName, "vm-a");
    EXPECT_EQ(root.children[2].strName, "vm-b");
    EXPECT_EQ(root.children[1].flags, INVENTORY_INFO_FLAG_POWERED_ON | INVENTORY_INFO_FLAG_TOOLS_RUNNING);
    ASSERT_EQ(root.children[0].children.size(), 2u);
    EXPECT_EQ(root.children[0].children[0].strName, "sub");
    EXPECT_EQ(root.children[0].children[1].strName, "tpl");
    EXPECT_EQ(root.children[0].children[1].flags, INVENTORY_INFO_FLAG_TEMPLATE);
    ASSERT_EQ(root.children[0].children[0].children.size(), 1u);
    EXPECT_EQ(root.children[0].children[0].children[0].strName, "deep");
    EXPECT_EQ(root.children[0].children[0].children[0].type, 4);
    EXPECT_TRUE(root.children[0].children[0].children[0].children.empty());
}

TEST_F(InfraRecordsTest, InventoryTreeCrossesBothWaysInOrder)
{
    Managed managed = Node("dc", 0, {Node("folder", 0, {Node("sub", 0, {Node("deep", 8, {})}), Node("tpl", 2, {})}), Node("vm-a", 5, {}),
                                      Node("vm-b", 0, {})});
    std::vector<SInventoryInfo> nodes(4);
    CVISDKHelper::ConvertInventoryInfoList(nodes, ListOfRecords("SInventoryInfoLib", {managed}));
    ASSERT_EQ(nodes.size(), 1u);
    ExpectTree(nodes[0]);
    const SInventoryInfo& vmA = nodes[0].children[1];
    EXPECT_TRUE(vmA.flags & INVENTORY_INFO_FLAG_POWERED_ON);
    EXPECT_TRUE(vmA.flags & INVENTORY_INFO_FLAG_TOOLS_RUNNING);
    EXPECT_FALSE(vmA.flags & INVENTORY_INFO_FLAG_TEMPLATE);

    MonoObject* list = nullptr;
    CVISDKHelper::ConvertInventoryInfoList(list, nodes);
    ASSERT_NE(list, nullptr);
    Managed sentRoot = ListItem(list, 0);
    EXPECT_EQ(sentRoot.str("strGUID"), "group-dc");
    Managed sentLeaf = ListItem(ListItem(sentRoot.object("children"), 0).object("children"), 0);
    EXPECT_EQ(sentLeaf.str("strName"), "sub");
    ASSERT_NE(sentLeaf.object("children"), nullptr);
    EXPECT_EQ(ListCount(ListItem(sentLeaf.object("children"), 0).object("children")), 0) << "a leaf sends an empty list, not null";
    std::vector<SInventoryInfo> back;
    CVISDKHelper::ConvertInventoryInfoList(back, list);
    ASSERT_EQ(back.size(), 1u);
    ExpectTree(back[0]);

    SInventoryInfo copy = back[0];
    ExpectTree(copy);
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(InfraRecordsTest, ANodeWithoutChildrenReplacesOldChildren)
{
    SInventoryInfo node;
    node.children.resize(3);
    CVISDKHelper::ConvertObject(node, Node("leaf", 1, {}).ref());
    EXPECT_EQ(node.strName, "leaf");
    EXPECT_TRUE(node.children.empty());
    EXPECT_TRUE(log.Errors().empty());
}

Managed NetAdapter(const char* device, int speed)
{
    Managed adapter("SHostNetworkAdapterInfoLib");
    adapter.Str("device", device).Str("configured", "true").Str("switchedType", "vSwitch0").Str("portGroup", "Management Network");
    adapter.Str("macAddress", "ac:1f:6b:00:00:01").Str("ipAddress", "10.1.1.5").Str("subnetMask", "255.255.255.0");
    return adapter.Bool("wakeOnLANSupported", speed > 0).Int("speed", speed);
}

Managed StorageAdapter(const char* type)
{
    Managed adapter("SHostStorageAdapterInfoLib");
    adapter.Str("strAdapterType", type).Str("strRemoteHost", "san.example.com").Str("strRemotePath", "/export/vol1");
    adapter.Str("strIscsiName", "iqn.1998-01.com.vmware:esx01").Str("strIscsiAlias", "esx01");
    return adapter.Str("strportWorldWideName", "20:00:00:25:b5:01:00:0f").Str("strnodeWorldWideName", "20:00:00:25:b5:00:00:0f");
}

Managed ManagedHost(const char* name, bool clustered)
{
    Managed host("SHostInfoLib");
    host.Str("strHostName", name).Str("strMoRef", "host-10").Str("strHostDatacenter", "DC1").Str("strHostDatacenterPath", "/DC1");
    host.Str("strHostDatacenterMoRef", "datacenter-2").Str("strVMFolderPath", "/DC1/vm").Str("strResourcePool", "Resources");
    host.Bool("bClustered", clustered).Str("clusterName", "Prod").Str("strClusterMoref", "domain-c7").Str("faultDomain", "fd-1");
    host.Bool("faultToleranceEnabled", true).Int("numVMAndTemplates", 42).Int("connectionState", 2).Bool("maintenanceMode", true);
    host.Str("version", "8.0.2").Str("fullVersion", "VMware ESXi 8.0.2 build-22380479").Str("manufacturer", "Dell Inc.").Str("model", "R750");
    host.Int("logicalProcessors", 64).Int("processorSockets", 2).Int("cpuTotalMhz", 166400).Int("cpuUsedMhz", 12000);
    host.Long("memoryTotalBytes", 549755813888LL).Long("memoryUsedMBytes", 3);
    return host;
}

TEST_F(InfraRecordsTest, HostFieldsUnitsAndListsAreRead)
{
    Managed host = ManagedHost("esx01.lab", true);
    host.Object("physicalNetAdapterList", ListOfRecords("SHostNetworkAdapterInfoLib", {NetAdapter("vmnic0", 10000), NetAdapter("vmnic1", 0)}));
    host.Object("virtualNetAdapterList", ListOfRecords("SHostNetworkAdapterInfoLib", {}));
    host.Object("vmInfoList", ListOfRecords("SVMInfoLib", {Managed("SVMInfoLib").Str("strName", "vm-1"), Managed("SVMInfoLib").Str("strName", "vm-2")}));
    host.Object("datastoreList", ListOfRecords("SDatastoreInfoLib", {Managed("SDatastoreInfoLib").Str("strDataStoreName", "ds1")}));
    host.Object("nwList", ListOfRecords("SNetworkInfoLib", {Managed("SNetworkInfoLib").Str("strNetworkName", "VM Network").Str("strNetworkMoref", "network-5")}));
    host.Object("storageAdapterList", ListOfRecords("SHostStorageAdapterInfoLib", {StorageAdapter("iSCSI"), StorageAdapter("FibreChannel")}));
    SHostInfo native;
    native.virtualNetAdapterList.resize(2);
    CVISDKHelper::ConvertObject(native, host.ref());
    EXPECT_EQ(native.strHostName, "esx01.lab");
    EXPECT_EQ(native.strMoRef, "host-10");
    EXPECT_EQ(native.strHostDatacenter, "DC1");
    EXPECT_EQ(native.strHostDatacenterPath, "/DC1");
    EXPECT_EQ(native.strHostDatacenterMoRef, "datacenter-2");
    EXPECT_EQ(native.strVMFolderPath, "/DC1/vm");
    EXPECT_EQ(native.strResourcePool, "Resources");
    EXPECT_TRUE(native.bClustered);
    EXPECT_EQ(native.clusterName, "Prod");
    EXPECT_EQ(native.strClusterMoref, "domain-c7");
    EXPECT_EQ(native.faultDomain, "fd-1");
    EXPECT_TRUE(native.faultToleranceEnabled);
    EXPECT_EQ(native.numVMAndTemplates, 42);
    EXPECT_EQ(native.connectionState, 2);
    EXPECT_TRUE(native.maintenanceMode);
    EXPECT_EQ(native.version, "8.0.2");
    EXPECT_EQ(native.fullVersion, "VMware ESXi 8.0.2 build-22380479");
    EXPECT_EQ(native.manufacturer, "Dell Inc.");
    EXPECT_EQ(native.model, "R750");
    EXPECT_EQ(native.logicalProcessors, 64);
    EXPECT_EQ(native.processorSockets, 2);
    EXPECT_EQ(native.cpuTotalMhz, 166400);
    EXPECT_EQ(native.cpuUsedMhz, 12000);
    EXPECT_EQ(native.memoryTotalBytes, 549755813888LL) << "bytes, unscaled";
    EXPECT_EQ(native.memoryUsedBytes, 3145728) << "megabytes scaled to bytes";
    ASSERT_EQ(native.physicalNetAdapterList.size(), 2u);
    const SHostNetworkAdapterInfo& nic = native.physicalNetAdapterList[0];
    EXPECT_EQ(nic.device, "vmnic0");
    EXPECT_EQ(nic.configured, "true");
    EXPECT_EQ(nic.switchedType, "vSwitch0");
    EXPECT_EQ(nic.portGroup, "Management Network");
    EXPECT_EQ(nic.macAddress, "ac:1f:6b:00:00:01");
    EXPECT_EQ(nic.ipAddress, "10.1.1.5");
    EXPECT_EQ(nic.subnetMask, "255.255.255.0");
    EXPECT_TRUE(nic.wakeOnLANSupported);
    EXPECT_EQ(nic.speed, 10000);
    EXPECT_FALSE(native.physicalNetAdapterList[1].wakeOnLANSupported);
    EXPECT_TRUE(native.virtualNetAdapterList.empty());
    ASSERT_EQ(native.vmInfoList.size(), 2u);
    EXPECT_EQ(native.vmInfoList[1].strName, "vm-2");
    EXPECT_EQ(native.vmInfoList[1].toolsStatus, 0) << "read from the managed zero value";
    ASSERT_EQ(native.datastoreList.size(), 1u);
    EXPECT_EQ(native.datastoreList[0].strDataStoreName, "ds1");
    ASSERT_EQ(native.nwList.size(), 1u);
    EXPECT_EQ(native.nwList[0].strNetworkMoref, "network-5");
    EXPECT_TRUE(native.nwList[0].subnetList.empty());
    ASSERT_EQ(native.storageAdapterList.size(), 2u);
    EXPECT_EQ(native.storageAdapterList[1].strAdapterType, "FibreChannel");
    EXPECT_EQ(native.storageAdapterList[1].strnodeWorldWideName, "20:00:00:25:b5:00:00:0f");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(InfraRecordsTest, ANonClusteredHostKeepsTheOldClusterPlacement)
{
    SHostInfo native;
    CVISDKHelper::ConvertObject(native, ManagedHost("esx01", true).ref());
    native.vmInfoList.resize(2);
    Managed standalone = ManagedHost("esx02", false);
    standalone.Str("clusterName", "Other").Str("strClusterMoref", "domain-c9").Str("faultDomain", "fd-9").Long("memoryUsedMBytes", -1);
    CVISDKHelper::ConvertObject(native, standalone.ref());
    EXPECT_EQ(native.strHostName, "esx02");
    EXPECT_FALSE(native.bClustered);
    EXPECT_EQ(native.clusterName, "Prod");
    EXPECT_EQ(native.strClusterMoref, "domain-c7");
    EXPECT_EQ(native.faultDomain, "fd-1");
    EXPECT_EQ(native.memoryUsedBytes, -1048576);
    EXPECT_TRUE(native.vmInfoList.empty()) << "null lists read empty";
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(InfraRecordsTest, CopiesCarryTheHostsSubRecords)
{
    SHostInfo host;
    host.strHostName = "esx03";
    host.strAux08 = "aux";
    host.replicaSetting.bAux01 = true;
    host.replicaSetting.sourceList.resize(2);
    host.replicaSetting.sourceList[1].strAux03 = "source-2";
    host.keyPairList.resize(1);
    host.keyPairList[0].strAux02 = "pair";
    host.roleList.resize(2);
    host.roleList[1].strAux01 = "Admin";
    host.securityGroupList.resize(1);
    host.vmInfoList.resize(1);
    host.vmInfoList[0].fcAdapterList.resize(1);
    host.vmInfoList[0].fcAdapterList[0].strAux03 = "fc";
    host.datastoreList.resize(1);
    host.datastoreList[0].extentsInfoList.resize(1);
    host.datastoreList[0].extentsInfoList[0].TargetAdapter.strIscsiAlias = "alias";
    host.nwList.resize(1);
    host.nwList[0].subnetList.resize(1);
    host.nwList[0].subnetList[0].networkCardList.resize(2);
    host.nwList[0].subnetList[0].networkCardList[1].strAux03 = "subnet card";
    auto expectCarried = [](const SHostInfo& h) {
        EXPECT_EQ(h.strHostName, "esx03");
        EXPECT_EQ(h.strAux08, "aux");
        EXPECT_TRUE(h.replicaSetting.bAux01);
        ASSERT_EQ(h.replicaSetting.sourceList.size(), 2u);
        EXPECT_EQ(h.replicaSetting.sourceList[1].strAux03, "source-2");
        ASSERT_EQ(h.keyPairList.size(), 1u);
        EXPECT_EQ(h.keyPairList[0].strAux02, "pair");
        ASSERT_EQ(h.roleList.size(), 2u);
        EXPECT_EQ(h.roleList[1].strAux01, "Admin");
        EXPECT_EQ(h.securityGroupList.size(), 1u);
        ASSERT_EQ(h.vmInfoList.size(), 1u);
        ASSERT_EQ(h.vmInfoList[0].fcAdapterList.size(), 1u);
        EXPECT_EQ(h.vmInfoList[0].fcAdapterList[0].strAux03, "fc");
        ASSERT_EQ(h.datastoreList.size(), 1u);
        ASSERT_EQ(h.datastoreList[0].extentsInfoList.size(), 1u);
        EXPECT_EQ(h.datastoreList[0].extentsInfoList[0].TargetAdapter.strIscsiAlias, "alias");
        ASSERT_EQ(h.nwList.size(), 1u);
        ASSERT_EQ(h.nwList[0].subnetList.size(), 1u);
        ASSERT_EQ(h.nwList[0].subnetList[0].networkCardList.size(), 2u);
        EXPECT_EQ(h.nwList[0].subnetList[0].networkCardList[1].strAux03, "subnet card");
        EXPECT_TRUE(h.nwList[0].subnetList[0].networkCardList[1].isConnected);
    };
    SHostInfo constructed(host);
    expectCarried(constructed);
    SHostInfo assigned;
    assigned = host;
    expectCarried(assigned);
    assigned = assigned;
    expectCarried(assigned);
    std::vector<SHostInfo> hosts{SHostInfo()};
    hosts.push_back(host);
    hosts.insert(hosts.begin(), host);
    expectCarried(hosts[0]);
    expectCarried(hosts[2]);
    SClusterInfo cluster;
    cluster.hostInfoList = hosts;
    SDataCenterInfo datacenter;
    datacenter.clusterList.push_back(cluster);
    SDataCenterInfo datacenterCopy(datacenter);
    expectCarried(datacenterCopy.clusterList[0].hostInfoList[2]);
}

TEST_F(InfraRecordsTest, DatastoresSendTheirIdentityAndListsOnly)
{
    Managed managed("SDatastoreInfoLib");
    managed.Bool("accessible", false).Str("strDataStoreName", "ds-gold").Str("strMoref", "datastore-11").Long("i64TotalSize", 4LL << 40);
    managed.Long("i64FreeSpace", 1LL << 40).Str("strDataStoreType", "VMFS").Str("strDataStoreUUID", "64a5c3e2-9f0f").Str("strDatastorePath", "/vmfs/volumes/64a5c3e2");
    managed.Int("blockSizeMB", 1).Bool("isShared", true);
    Managed lun("SSCSILUNInfoLib");
    lun.Str("strCanonicalName", "naa.600508b1001c").Nested("TargetAdapter", StorageAdapter("iSCSI"));
    managed.Object("extentsInfoList", ListOfRecords("SSCSILUNInfoLib", {lun}));
    managed.Object("vmInfoList", ListOfRecords("SVMInfoLib", {Managed("SVMInfoLib").Str("strName", "vm-a"), Managed("SVMInfoLib").Str("strName", "vm-b")}));
    SDatastoreInfo native = Read<SDatastoreInfo>(managed);
    EXPECT_FALSE(native.accessible);
    EXPECT_EQ(native.strDataStoreName, "ds-gold");
    EXPECT_EQ(native.strMoref, "datastore-11");
    EXPECT_EQ(native.i64TotalSize, 4LL << 40);
    EXPECT_EQ(native.i64FreeSpace, 1LL << 40);
    EXPECT_EQ(native.strDataStoreType, "VMFS");
    EXPECT_EQ(native.strDataStoreUUID, "64a5c3e2-9f0f");
    EXPECT_EQ(native.strDatastorePath, "/vmfs/volumes/64a5c3e2");
    EXPECT_EQ(native.blockSizeMB, 1);
    EXPECT_TRUE(native.isShared);
    ASSERT_EQ(native.extentsInfoList.size(), 1u);
    EXPECT_EQ(native.extentsInfoList[0].TargetAdapter.strIscsiName, "iqn.1998-01.com.vmware:esx01");
    ASSERT_EQ(native.vmInfoList.size(), 2u);

    // Sent to a fresh managed object and read back: the managed side's own values come back, not the native ones.
    Managed sent = Write("SDatastoreInfoLib", native);
    EXPECT_FALSE(sent.flag("accessible"));
    EXPECT_EQ(sent.str("strMoref"), "");
    EXPECT_EQ(sent.i64("i64TotalSize"), 0);
    SDatastoreInfo back = Read<SDatastoreInfo>(sent);
    EXPECT_EQ(back.strDataStoreName, "ds-gold");
    EXPECT_EQ(back.strDataStoreType, "VMFS");
    EXPECT_EQ(back.strDataStoreUUID, "64a5c3e2-9f0f");
    EXPECT_EQ(back.strDatastorePath, "/vmfs/volumes/64a5c3e2");
    ASSERT_EQ(back.vmInfoList.size(), 2u);
    EXPECT_EQ(back.vmInfoList[1].strName, "vm-b");
    ASSERT_EQ(back.extentsInfoList.size(), 1u);
    EXPECT_EQ(back.extentsInfoList[0].strCanonicalName, "naa.600508b1001c");
    EXPECT_EQ(back.extentsInfoList[0].TargetAdapter.strRemotePath, "/export/vol1");
    EXPECT_FALSE(back.accessible);
    EXPECT_EQ(back.strMoref, "");
    EXPECT_EQ(back.i64FreeSpace, 0);
    EXPECT_FALSE(back.isShared);

    Managed empty = Write("SDatastoreInfoLib", SDatastoreInfo());
    ASSERT_NE(empty.object("vmInfoList"), nullptr);
    ASSERT_NE(empty.object("extentsInfoList"), nullptr);
    EXPECT_EQ(ListCount(empty.object("vmInfoList")) + ListCount(empty.object("extentsInfoList")), 0);
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(InfraRecordsTest, LunsCarryTheirEmbeddedAdapterBothWays)
{
    SSCSILunInfo lun;
    lun.strCanonicalName = "naa.6000c29";
    lun.strKey = "key-vim.host.ScsiDisk-0200";
    lun.strUUID = "0200000000";
    lun.strLUNSerialNo = "SN-42";
    lun.strStandardInquiry = "VMware Virtual disk";
    lun.strVendor = "VMware";
    lun.TargetAdapter.strAdapterType = "iSCSI";
    lun.TargetAdapter.strRemoteHost = "10.9.9.9";
    lun.TargetAdapter.strRemotePath = "/lun0";
    lun.TargetAdapter.strIscsiName = "iqn.x";
    lun.TargetAdapter.strIscsiAlias = "alias";
    lun.TargetAdapter.strportWorldWideName = "pwwn";
    lun.TargetAdapter.strnodeWorldWideName = "nwwn";
    MonoObject* list = nullptr;
    CVISDKHelper::ConvertSCSILunInfoList(list, std::vector<SSCSILunInfo>{lun, SSCSILunInfo()});
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListItem(list, 0).nested("TargetAdapter").str("strIscsiAlias"), "alias");
    std::vector<SSCSILunInfo> back;
    CVISDKHelper::ConvertSCSILunInfoList(back, list);
    ASSERT_EQ(back.size(), 2u);
    const SSCSILunInfo& b = back[0];
    EXPECT_EQ(b.strCanonicalName + "|" + b.strKey + "|" + b.strUUID + "|" + b.strLUNSerialNo + "|" + b.strStandardInquiry + "|" + b.strVendor,
              "naa.6000c29|key-vim.host.ScsiDisk-0200|0200000000|SN-42|VMware Virtual disk|VMware");
    const SHostStorageAdapterInfo& a = b.TargetAdapter;
    EXPECT_EQ(a.strAdapterType + "|" + a.strRemoteHost + "|" + a.strRemotePath + "|" + a.strIscsiName + "|" + a.strIscsiAlias + "|" +
                  a.strportWorldWideName + "|" + a.strnodeWorldWideName,
              "iSCSI|10.9.9.9|/lun0|iqn.x|alias|pwwn|nwwn");
    EXPECT_EQ(back[1].TargetAdapter.strAdapterType, "");

    Managed adapter = Write("SHostStorageAdapterInfoLib", lun.TargetAdapter);
    EXPECT_EQ(adapter.str("strportWorldWideName"), "pwwn");
    EXPECT_EQ(Read<SHostStorageAdapterInfo>(adapter).strRemoteHost, "10.9.9.9");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(InfraRecordsTest, ALunWithoutATargetAdapterKeepsItsOwn)
{
    SSCSILunInfo lun;
    lun.TargetAdapter.strIscsiName = "kept";
    // A storage adapter has no LUN fields: six strings are logged missing, the adapter silently kept.
    CVISDKHelper::ConvertObject(lun, StorageAdapter("iSCSI").ref());
    EXPECT_EQ(lun.TargetAdapter.strIscsiName, "kept");
    EXPECT_EQ(log.Count("Could not find field [TargetAdapter]"), 0);
    EXPECT_EQ(log.Errors().size(), 6u);
}

TEST_F(InfraRecordsTest, AnAdapterIsNotStoredIntoAFieldOfAnotherType)
{
    // "fileLayout" holds a layout by value; an adapter's bytes must not be copied over it.
    Managed vm("SVMInfoLib");
    vm.Nested("fileLayout", Managed("SFilelayoutLib").Object("diskList", ListOfRecords("SDiskLib", {Managed("SDiskLib")})));
    VISDKHelper::FieldWriter writer(vm.get());
    writer.Nested(SHostStorageAdapterInfo(), "fileLayout");
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Field [fileLayout] is not of the expected type"});
    EXPECT_EQ(ListCount(vm.nested("fileLayout").object("diskList")), 1);
}

Managed Pool(const char* name, int type, std::initializer_list<Managed> children)
{
    Managed pool("SResourcePoolInfoLib");
    pool.Str("strResourcePoolName", name).Int("type", type);
    pool.Object("vmInfoList", ListOfRecords("SVMInfoLib", {Managed("SVMInfoLib").Str("strName", std::string("vm-in-") + name)}));
    if (children.size())
        pool.Object("childPoolList", ListOfRecords("SResourcePoolInfoLib", children));
    return pool;
}

TEST_F(InfraRecordsTest, ContainerRecordsReadTheirTrees)
{
    std::vector<SResourcePoolInfo> pools;
    CVISDKHelper::ConvertResourcePoolInfoList(
        pools, ListOfRecords("SResourcePoolInfoLib", {Pool("Resources", 1, {Pool("Prod", 2, {Pool("Prod-DB", 2, {})}), Pool("Test", 3, {})})}));
    ASSERT_EQ(pools.size(), 1u);
    EXPECT_EQ(pools[0].strResourcePoolName, "Resources");
    EXPECT_EQ(pools[0].type, 1);
    ASSERT_EQ(pools[0].childPoolList.size(), 2u);
    EXPECT_EQ(pools[0].childPoolList[0].strResourcePoolName, "Prod");
    EXPECT_EQ(pools[0].childPoolList[1].type, 3);
    ASSERT_EQ(pools[0].childPoolList[0].childPoolList.size(), 1u);
    const SResourcePoolInfo& deepest = pools[0].childPoolList[0].childPoolList[0];
    EXPECT_EQ(deepest.strResourcePoolName, "Prod-DB");
    ASSERT_EQ(deepest.vmInfoList.size(), 1u);
    EXPECT_EQ(deepest.vmInfoList[0].strName, "vm-in-Prod-DB");
    EXPECT_TRUE(deepest.childPoolList.empty());

    Managed child("SVAppInfoLib");
    child.Str("strVAppName", "inner");
    Managed vapp("SVAppInfoLib");
    vapp.Str("strVAppName", "outer").Object("childVAppList", ListOfRecords("SVAppInfoLib", {child, child}));
    std::vector<SVAppInfo> vapps;
    CVISDKHelper::ConvertVAppInfoList(vapps, ListOfRecords("SVAppInfoLib", {vapp}));
    ASSERT_EQ(vapps.size(), 1u);
    EXPECT_EQ(vapps[0].strVAppName, "outer");
    ASSERT_EQ(vapps[0].childVAppList.size(), 2u);
    EXPECT_EQ(vapps[0].childVAppList[1].strVAppName, "inner");

    Managed cluster("SClusterInfoLib");
    Managed host = ManagedHost("esx01", true);
    host.Object("physicalNetAdapterList", ListOfRecords("SHostNetworkAdapterInfoLib", {NetAdapter("vmnic0", 1000)}));
    cluster.Str("strClusterName", "Prod").Str("strClusterMoref", "domain-c7").Object("hostInfoList", ListOfRecords("SHostInfoLib", {host, ManagedHost("esx02", false)}));
    cluster.Object("vmInfoList", ListOfRecords("SVMInfoLib", {}));
    std::vector<SClusterInfo> clusters;
    CVISDKHelper::ConvertClusterInfoList(clusters, ListOfRecords("SClusterInfoLib", {cluster}));
    ASSERT_EQ(clusters.size(), 1u);
    EXPECT_EQ(clusters[0].strClusterMoref, "domain-c7");
    EXPECT_TRUE(clusters[0].vmInfoList.empty());
    ASSERT_EQ(clusters[0].hostInfoList.size(), 2u);
    EXPECT_EQ(clusters[0].hostInfoList[0].physicalNetAdapterList.size(), 1u);
    EXPECT_EQ(clusters[0].hostInfoList[0].clusterName, "Prod");
    EXPECT_EQ(clusters[0].hostInfoList[1].clusterName, "") << "a fresh element of a non-clustered host";
    EXPECT_EQ(clusters[0].hostInfoList[1].memoryUsedBytes, 3145728);

    Managed datacenter("SDataCenterInfoLib");
    datacenter.Str("strName", "DC1").Str("strMoRef", "datacenter-2").Object("vmInfoList", ListOfRecords("SVMInfoLib", {Managed("SVMInfoLib")}));
    std::vector<SDataCenterInfo> datacenters;
    CVISDKHelper::ConvertDataCenterInfoList(datacenters, ListOfRecords("SDataCenterInfoLib", {datacenter}));
    ASSERT_EQ(datacenters.size(), 1u);
    EXPECT_EQ(datacenters[0].strName, "DC1");
    EXPECT_EQ(datacenters[0].strMoRef, "datacenter-2");
    EXPECT_EQ(datacenters[0].vmInfoList.size(), 1u);
    EXPECT_TRUE(datacenters[0].datastoreList.empty() && datacenters[0].clusterList.empty() && datacenters[0].hostInfoList.empty());
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

Managed HostResult(const char* host, const std::vector<std::string>& errors)
{
    Managed result("SIOFilterHostResultLib");
    result.Str("host", host).Object("errStrList", NewStringList(errors));
    return result;
}

TEST_F(InfraRecordsTest, IOFilterStatusAndVersionAreRead)
{
    for (int state : {1, 0, 2, -1}) {
        Managed status("SIOFilterResultLib");
        status.Int("eFilterState", state);
        EXPECT_EQ(Read<SIOFilterStatus>(status).bFilterState, state == 1) << state;
    }
    Managed status("SIOFilterResultLib");
    status.Str("strId", "vmwarevmcrypt").Str("strVersion", "1.0.0").Int("eFilterState", 1).Int("eFilterInstallStatus", 3);
    status.Object("hostStatusList", ListOfRecords("SIOFilterHostResultLib", {HostResult("esx01", {}), HostResult("esx02", {"no space", "timeout"}),
                                                                             HostResult("esx03", {})}));
    SIOFilterStatus native;
    native.hostStatusList.resize(5);
    CVISDKHelper::ConvertObject(native, status.ref());
    EXPECT_EQ(native.strId, "vmwarevmcrypt");
    EXPECT_EQ(native.strVersion, "1.0.0");
    EXPECT_TRUE(native.bFilterState);
    EXPECT_EQ(native.eFilterInstallStatus, 3);
    ASSERT_EQ(native.hostStatusList.size(), 3u);
    EXPECT_EQ(native.hostStatusList[0].host, "esx01");
    EXPECT_EQ(native.hostStatusList[1].errStrList, (std::vector<std::string>{"no space", "timeout"}));
    EXPECT_EQ(native.hostStatusList[2].host, "esx03");
    EXPECT_TRUE(native.hostStatusList[2].errStrList.empty());

    Managed version("SMgmtVersionLib");
    version.Str("strVersion", "8.0.2").Str("strFullVersion", "VMware vCenter Server 8.0.2 build-22385739");
    SMgmtVersion mgmt = Read<SMgmtVersion>(version);
    EXPECT_EQ(mgmt.strVersion, "8.0.2");
    EXPECT_EQ(mgmt.strBuild, "");
    EXPECT_EQ(mgmt.strFullVersion, "VMware vCenter Server 8.0.2 build-22385739");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(InfraRecordsTest, SnapshotMountContextIsSent)
{
    SnapRestoreCtx ctx;
    ctx.strEsxServerName = "esx01.lab";
    ctx.bPrimaryDeviceMount = true;
    Managed sent = Write("SnapRestoreCtxLib", ctx);
    EXPECT_EQ(sent.str("strEsxServerName"), "esx01.lab");
    EXPECT_FALSE(sent.flag("bResignatureVol"));
    EXPECT_TRUE(sent.flag("bPrimaryDeviceMount"));
    ASSERT_NE(sent.object("datastores"), nullptr) << "no datastores is an empty list, not null";
    EXPECT_EQ(ListCount(sent.object("datastores")), 0);

    ctx.datastores.resize(2);
    ctx.datastores[1].strDataStoreName = "snap-ds";
    ctx.bResignatureVol = true;
    sent = Write("SnapRestoreCtxLib", ctx);
    ASSERT_EQ(ListCount(sent.object("datastores")), 2);
    EXPECT_EQ(ListItem(sent.object("datastores"), 1).str("strDataStoreName"), "snap-ds");
    EXPECT_TRUE(sent.flag("bResignatureVol"));
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(InfraRecordsTest, FieldsAreReadAndWrittenByNameInOrder)
{
    const FieldOrder tables[] = {
        {"SInventoryInfo", Reads<SInventoryInfo>(), {"strName", "type", "strGUID", "flags", "children"}},
        {"SInventoryInfo out", Writes<SInventoryInfo>(), {"strName", "strGUID", "type", "flags", "children"}},
        {"SHostInfo", Reads<SHostInfo>(),
         {"strHostName", "strMoRef", "strHostDatacenter", "strHostDatacenterPath", "strHostDatacenterMoRef", "strVMFolderPath",
          "strResourcePool", "bClustered", "faultToleranceEnabled", "numVMAndTemplates", "connectionState", "maintenanceMode", "version",
          "fullVersion", "manufacturer", "model", "logicalProcessors", "processorSockets", "cpuTotalMhz", "cpuUsedMhz",
          "memoryTotalBytes", "memoryUsedMBytes", "physicalNetAdapterList", "virtualNetAdapterList", "vmInfoList", "datastoreList",
          "nwList", "storageAdapterList"}},
        {"SDatastoreInfo", Reads<SDatastoreInfo>(),
         {"accessible", "strDataStoreName", "strMoref", "i64TotalSize", "i64FreeSpace", "strDataStoreType", "strDataStoreUUID",
          "strDatastorePath", "blockSizeMB", "isShared", "vmInfoList", "extentsInfoList"}},
        {"SDatastoreInfo out", Writes<SDatastoreInfo>(),
         {"strDataStoreName", "strDataStoreType", "strDataStoreUUID", "strDatastorePath", "vmInfoList", "extentsInfoList"}},
        {"SDataCenterInfo", Reads<SDataCenterInfo>(), {"strName", "strMoRef", "vmInfoList"}},
        {"SClusterInfo", Reads<SClusterInfo>(), {"strClusterName", "strClusterMoref", "vmInfoList", "hostInfoList"}},
        {"SResourcePoolInfo", Reads<SResourcePoolInfo>(), {"strResourcePoolName", "type", "vmInfoList", "childPoolList"}},
        {"SVAppInfo", Reads<SVAppInfo>(), {"strVAppName", "vmInfoList", "childVAppList"}},
        {"SNetworkInfo", Reads<SNetworkInfo>(), {"strNetworkName", "strNetworkMoref"}},
        {"SHostNetworkAdapterInfo", Reads<SHostNetworkAdapterInfo>(),
         {"device", "configured", "switchedType", "portGroup", "macAddress", "ipAddress", "subnetMask", "wakeOnLANSupported", "speed"}},
        {"SHostStorageAdapterInfo", Reads<SHostStorageAdapterInfo>(),
         {"strAdapterType", "strRemoteHost", "strRemotePath", "strIscsiName", "strIscsiAlias", "strportWorldWideName", "strnodeWorldWideName"}},
        {"SHostStorageAdapterInfo out", Writes<SHostStorageAdapterInfo>(),
         {"strAdapterType", "strRemoteHost", "strRemotePath", "strIscsiName", "strIscsiAlias", "strportWorldWideName", "strnodeWorldWideName"}},
        {"SSCSILunInfo", Reads<SSCSILunInfo>(), {"strCanonicalName", "strKey", "strUUID", "strLUNSerialNo", "strStandardInquiry", "strVendor"}},
        {"SSCSILunInfo out", Writes<SSCSILunInfo>(),
         {"strCanonicalName", "strKey", "strUUID", "strLUNSerialNo", "strStandardInquiry", "strVendor", "TargetAdapter"}},
        {"SIOFilterStatus", Reads<SIOFilterStatus>(), {"strId", "strVersion", "eFilterState", "eFilterInstallStatus", "hostStatusList"}},
        {"SIOFilterHostStatus", Reads<SIOFilterHostStatus>(), {"host", "errStrList"}},
        {"SMgmtVersion", Reads<SMgmtVersion>(), {"strVersion", "strBuild", "strFullVersion"}},
        {"SnapRestoreCtx out", Writes<SnapRestoreCtx>(), {"strEsxServerName", "datastores", "bResignatureVol", "bPrimaryDeviceMount"}},
    };
    for (const FieldOrder& table : tables) {
        log.Clear();
        MonoObject* foreign = ManagedDate(0);
        table.convert(foreign);
        EXPECT_EQ(log.Errors(), MissingFieldErrors(table.fields)) << table.record;
    }
}

} // namespace
