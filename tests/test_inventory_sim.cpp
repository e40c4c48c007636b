// The simulated inventory end to end: lists agree with lookups, refreshes, snapshot volumes, log bundles, clocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <unistd.h>

#include "ManagedValue.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;

namespace {

const char* kServer = "vcenter.sim.local";
const char* kAdmin = "administrator@vsphere.local";
const char* kPassword = "VMware1!";

long long SimNow()
{
    MonoObject* now = CallStatic("Simulator", "Now", nullptr);
    return *static_cast<long long*>(mono_object_unbox(now));
}

bool SimAddHost(const char* name, const char* cluster, const char* datastores)
{
    void* args[] = {std2gc(name), std2gc(cluster), std2gc(datastores)};
    MonoObject* done = CallStatic("Simulator", "AddHost", args);
    return done && *static_cast<bool*>(mono_object_unbox(done));
}

bool SimVm(const char* helper, std::initializer_list<const char*> texts)
{
    std::vector<void*> args;
    for (const char* text : texts)
        args.push_back(std2gc(text));
    MonoObject* done = CallStatic("Simulator", helper, args.data());
    return done && *static_cast<bool*>(mono_object_unbox(done));
}

bool SimLoad(const std::string& path)
{
    void* args[] = {std2gc(path)};
    MonoObject* done = CallStatic("Simulator", "Load", args);
    return done && *static_cast<bool*>(mono_object_unbox(done));
}

std::string Shell(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

class InventorySim : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bridge();
        probe::Reset();
        CallStatic("Simulator", "Reset", nullptr);
        ASSERT_EQ(Bridge().Connect(kServer, kAdmin, kPassword), 1) << Bridge().GetLastErrorString();
        char pattern[] = "/tmp/visdk-inventory-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        Bridge().Disconnect();
        Shell("rm -rf '" + dir + "'");
    }
    std::string dir;
};

void CountNodes(const std::vector<SInventoryInfo>& nodes, std::map<int, int>& byType, std::vector<const SInventoryInfo*>& all)
{
    for (const SInventoryInfo& n : nodes) {
        byType[n.type]++;
        all.push_back(&n);
        CountNodes(n.children, byType, all);
    }
}

TEST_F(InventorySim, HostsAndDatastoresAgreeBetweenListsAndLookups)
{
    CVISDKCppBridge& b = Bridge();
    std::vector<SHostInfo> hosts;
    ASSERT_EQ(b.GetHostInfoList(hosts, VM_PROP_ALL, 0), 1);
    ASSERT_EQ(hosts.size(), 2u);
    std::vector<SDatastoreInfo> datastores;
    ASSERT_EQ(b.GetDSInfoList(datastores, VM_PROP_ALL, 0), 1);
    std::map<std::string, SDatastoreInfo> byName;
    for (const SDatastoreInfo& d : datastores)
        byName[d.strDataStoreName] = d;
    EXPECT_EQ(byName.size(), 3u);

    for (const SHostInfo& h : hosts) {
        SHostInfo one;
        ASSERT_EQ(b.GetHostInfoForHost(h.strHostName, VM_PROP_ALL, 0, one), 1) << h.strHostName;
        EXPECT_EQ(one.strMoRef, h.strMoRef);
        EXPECT_EQ(one.strHostDatacenter, "Datacenter");
        EXPECT_EQ(one.numVMAndTemplates, h.numVMAndTemplates);
        EXPECT_EQ(one.memoryUsedBytes, h.memoryUsedBytes);
        EXPECT_GT(one.memoryUsedBytes, 0);
        EXPECT_EQ(one.storageAdapterList.size(), 3u);
        EXPECT_EQ(one.virtualNetAdapterList.size(), 2u);
        SInventoryInfo pool;
        ASSERT_EQ(b.GetInventoryObjectByMoref(one.strResourcePool, 5, 0, 0, pool), 1);
        EXPECT_EQ(pool.strName, "Resources");
        std::string datacenter;
        EXPECT_EQ(b.GetDatacenterNameFromHostName(h.strHostName, datacenter), 1);
        EXPECT_EQ(datacenter, "Datacenter");

        std::vector<SDatastoreInfo> mounted;
        ASSERT_EQ(b.GetDSInfoListForHostOrCluster(h.strHostName, mounted, VM_PROP_ALL, 0), 1);
        ASSERT_EQ(mounted.size(), one.datastoreList.size());
        for (const SDatastoreInfo& d : one.datastoreList) {
            ASSERT_TRUE(byName.count(d.strDataStoreName)) << d.strDataStoreName;
            SDatastoreInfo looked;
            ASSERT_EQ(b.GetDSInfoForDS(d.strDataStoreName, "", h.strHostName, VM_PROP_ALL, 0, looked), 1);
            EXPECT_EQ(looked.strDataStoreUUID, byName[d.strDataStoreName].strDataStoreUUID);
            EXPECT_EQ(looked.strMoref, d.strMoref);
            EXPECT_EQ(looked.i64TotalSize, d.i64TotalSize);
            SDatastoreInfo byUuid;
            ASSERT_EQ(b.GetDSInfoForDS("", looked.strDataStoreUUID, "", 0, 0, byUuid), 1);
            EXPECT_EQ(byUuid.strDataStoreName, d.strDataStoreName);
            std::vector<std::string> sharers;
            ASSERT_TRUE(b.GetHostListForDatastore(d.strDataStoreName, sharers));
            EXPECT_NE(std::find(sharers.begin(), sharers.end(), h.strHostName), sharers.end());
            EXPECT_EQ(looked.isShared, sharers.size() > 1 || looked.strDataStoreType == "NFS");
        }
    }
    // datastore2 is mounted on esx01 only: not there for esx02, and the shared one is shared.
    SDatastoreInfo info;
    info.strDataStoreName = "untouched";
    EXPECT_EQ(b.GetDSInfoForDS("datastore2", "", "esx02.sim.local", 0, 0, info), 0);
    EXPECT_EQ(info.strDataStoreName, "untouched");
    EXPECT_TRUE(byName["datastore1"].isShared);
    EXPECT_FALSE(byName["datastore2"].isShared);
    EXPECT_EQ(byName["datastore1"].vmInfoList.size(), 3u);
}

TEST_F(InventorySim, ContainersAgreeBetweenListsAndLookups)
{
    CVISDKCppBridge& b = Bridge();
    std::vector<SClusterInfo> clusters;
    ASSERT_EQ(b.GetClusterInfoList(clusters, VM_PROP_ALL, 0), 1);
    ASSERT_EQ(clusters.size(), 1u);
    SClusterInfo cluster;
    ASSERT_EQ(b.GetClusterInfoForCluster("Cluster01", VM_PROP_ALL, 0, cluster), 1);
    EXPECT_EQ(cluster.strClusterMoref, clusters[0].strClusterMoref);
    ASSERT_EQ(cluster.hostInfoList.size(), 1u);
    EXPECT_TRUE(cluster.hostInfoList[0].bClustered);
    EXPECT_EQ(cluster.hostInfoList[0].clusterName, "Cluster01");
    EXPECT_EQ(cluster.vmInfoList.size(), 3u);

    std::vector<SResourcePoolInfo> pools;
    ASSERT_EQ(b.GetResourcePoolList(pools, VM_PROP_ALL, 0), 1);
    ASSERT_EQ(pools.size(), 2u) << "one root pool per cluster or standalone host";
    const SResourcePoolInfo& root = pools[0];
    ASSERT_EQ(root.childPoolList.size(), 1u);
    EXPECT_EQ(root.childPoolList[0].strResourcePoolName, "Production");
    ASSERT_EQ(root.childPoolList[0].childPoolList.size(), 1u);
    EXPECT_EQ(root.childPoolList[0].childPoolList[0].vmInfoList[0].strName, "vm-db01");
    SResourcePoolInfo databases;
    ASSERT_EQ(b.GetRPInfoForRP("Databases", "Cluster01", VM_PROP_ALL, 0, databases), 1);
    EXPECT_EQ(databases.vmInfoList.size(), 1u);
    EXPECT_EQ(b.GetRPInfoForRP("Databases", "esx02.sim.local", VM_PROP_ALL, 0, databases), 0);
    std::vector<SResourcePoolInfo> forHost;
    ASSERT_EQ(b.GetResourcePoolListForHostOrCluster("esx02.sim.local", forHost, VM_PROP_ALL, 0), 1);
    ASSERT_EQ(forHost.size(), 1u);
    EXPECT_EQ(forHost[0].vmInfoList.size(), 2u);

    std::vector<SVAppInfo> vapps;
    ASSERT_EQ(b.GetVAppInfoList(vapps, VM_PROP_ALL, 0), 1);
    ASSERT_EQ(vapps.size(), 1u);
    EXPECT_EQ(vapps[0].strVAppName, "DR-App");
    ASSERT_EQ(vapps[0].vmInfoList.size(), 1u);
    EXPECT_EQ(vapps[0].vmInfoList[0].strName, "vm-dr01");

    std::vector<SDataCenterInfo> datacenters;
    ASSERT_EQ(b.GetDCInfoList(datacenters, VM_PROP_ALL, 0), 1);
    ASSERT_EQ(datacenters.size(), 1u);
    EXPECT_EQ(datacenters[0].strMoRef, "datacenter-2");
    EXPECT_EQ(datacenters[0].vmInfoList.size(), 5u);

    std::string datastore, moref;
    ASSERT_EQ(b.SelectDatastoreFromResourcePool("Production", datastore, moref), 1);
    EXPECT_EQ(datastore, "nfs-backup") << "the roomiest datastore every host of the cluster mounts";
    SDatastoreInfo chosen;
    ASSERT_EQ(b.GetDSInfoForDS(datastore, "", "", 0, 0, chosen), 1);
    EXPECT_EQ(chosen.strMoref, moref);
}

TEST_F(InventorySim, TreeNodesAreTheObjectsTheirReferencesName)
{
    CVISDKCppBridge& b = Bridge();
    std::vector<SInventoryInfo> tree;
    ASSERT_EQ(b.GetInventoryInfoList(tree, VM_PROP_ALL, 0), 1);
    std::map<int, int> byType;
    std::vector<const SInventoryInfo*> all;
    CountNodes(tree, byType, all);
    EXPECT_EQ(byType[2], 1);   // datacenter
    EXPECT_EQ(byType[3], 1);   // cluster
    EXPECT_EQ(byType[4], 2);   // hosts
    EXPECT_EQ(byType[6], 1);   // vApp
    EXPECT_EQ(byType[7], 10);  // each VM in the VM folders and in its pool
    for (const SInventoryInfo* node : all) {
        SInventoryInfo one;
        ASSERT_EQ(b.GetInventoryObjectByMoref(node->strGUID, node->type, 0, 0, one), 1) << node->strName;
        EXPECT_EQ(one.strName, node->strName);
        EXPECT_EQ(one.flags, node->flags);
        EXPECT_EQ(one.children.size(), node->children.size()) << node->strName;
    }
    SInventoryInfo web;
    ASSERT_EQ(b.GetInventoryObjectByMoref("vm-101", 7, 0, 0, web), 1);
    EXPECT_EQ(web.flags, INVENTORY_INFO_FLAG_POWERED_ON | INVENTORY_INFO_FLAG_TOOLS_RUNNING);
    EXPECT_EQ(b.GetInventoryObjectByMoref("vm-101", 4, 0, 0, web), 0) << "not a host";

    std::vector<SInventoryInfo> level;
    ASSERT_EQ(b.BrowseInventory("", SInventoryInfo(), level, 0, 0), 1);
    ASSERT_EQ(level.size(), 1u);
    ASSERT_EQ(b.BrowseInventory("Datacenter/vm/Linux", SInventoryInfo(), level, 0, 0), 1);
    ASSERT_EQ(level.size(), 2u);
    EXPECT_EQ(level[0].strName, "Web");
    ASSERT_EQ(b.BrowseInventory("ignored", level[0], level, 0, 0), 1) << "the node's reference wins";
    ASSERT_EQ(level.size(), 1u);
    EXPECT_EQ(level[0].strName, "vm-web01");

    std::vector<SInventoryInfo> vms;
    ASSERT_EQ(b.GetVMInventoryInfoListForHostOrCluster("Cluster01", vms, 0, 0), 1);
    EXPECT_EQ(vms.size(), 3u);
}

TEST_F(InventorySim, VmsAddedOrRemovedBesideTheClientFindTheirPlace)
{
    CVISDKCppBridge& b = Bridge();
    ASSERT_TRUE(SimVm("AddVm", {"vm-new01", "esx02.sim.local", "datastore1"}));
    std::string moref;
    ASSERT_TRUE(b.DoesVMExist("vm-new01", "", "", "Datacenter", moref));
    SInventoryInfo node, host;
    ASSERT_EQ(b.GetInventoryObjectByMoref(moref, 7, 0, 0, node), 1);
    EXPECT_EQ(node.strName, "vm-new01");
    ASSERT_EQ(b.GetInventoryObjectByMoref("host-22", 4, 0, 0, host), 1);
    ASSERT_EQ(host.children.size(), 3u) << "in the standalone host's root pool";
    EXPECT_EQ(host.children.back().strName, "vm-new01");
    std::vector<SInventoryInfo> folder;
    ASSERT_EQ(b.BrowseInventory("Datacenter/vm", SInventoryInfo(), folder, 0, 0), 1);
    EXPECT_EQ(folder.back().strName, "vm-new01");

    ASSERT_TRUE(SimVm("RemoveVm", {"vm-web01"}));
    SResourcePoolInfo production;
    ASSERT_EQ(b.GetRPInfoForRP("Production", "Cluster01", VM_PROP_ALL, 0, production), 1);
    EXPECT_TRUE(production.vmInfoList.empty());
    SInventoryInfo gone;
    EXPECT_EQ(b.GetInventoryObjectByMoref("vm-101", 0, 0, 0, gone), 0);
    ASSERT_EQ(b.BrowseInventory("Datacenter/vm/Linux/Web", SInventoryInfo(), folder, 0, 0), 1);
    EXPECT_TRUE(folder.empty());
}

TEST_F(InventorySim, ListsHoldTheirMembersUntilRefreshed)
{
    CVISDKCppBridge& b = Bridge();
    std::vector<SHostInfo> hosts;
    ASSERT_EQ(b.GetHostInfoList(hosts, 0, 0), 1);
    ASSERT_TRUE(SimAddHost("esx03.sim.local", "Cluster01", "datastore1"));
    ASSERT_EQ(b.GetHostInfoList(hosts, 0, 0), 1);
    EXPECT_EQ(hosts.size(), 2u) << "cached until refreshed";
    SHostInfo added;
    EXPECT_EQ(b.GetHostInfoForHost("esx03.sim.local", VM_PROP_ALL, 0, added), 1) << "lookups see the model at once";
    EXPECT_EQ(b.RefreshHostInfoList(0, 0), 3);
    ASSERT_EQ(b.GetHostInfoList(hosts, 0, 0), 1);
    EXPECT_EQ(hosts.size(), 3u);
    EXPECT_EQ(b.RefreshDSInfoList(0, 0), 3);
    EXPECT_EQ(b.RefreshClusterInfoList(0, 0), 1);
    EXPECT_EQ(b.RefreshVMInfoList(0, 0), 5);
    b.Disconnect();
    EXPECT_EQ(b.RefreshHostInfoList(0, 0), 0);
    EXPECT_EQ(b.GetLastErrorString(), "The session is not authenticated.");
}

TEST_F(InventorySim, LunsAdaptersAndGuestSupport)
{
    CVISDKCppBridge& b = Bridge();
    std::vector<SSCSILunInfo> luns;
    ASSERT_EQ(b.GetDeviceList("esx01.sim.local", "", luns), 1);
    ASSERT_EQ(luns.size(), 4u) << "boot disk, two datastore LUNs, one free LUN";
    std::vector<SSCSILunInfo> viaIscsi;
    ASSERT_EQ(b.GetDeviceList("esx01.sim.local", "vmhba64", viaIscsi), 1);
    ASSERT_EQ(viaIscsi.size(), 2u);
    EXPECT_EQ(viaIscsi[0].TargetAdapter.strAdapterType, "InternetScsi");

    SDatastoreInfo rdm;
    EXPECT_TRUE(b.GetLUNInformationForRDM("esx01.sim.local", luns[3].strCanonicalName, rdm));
    EXPECT_EQ(rdm.strDataStoreType, "RDM");
    ASSERT_EQ(rdm.extentsInfoList.size(), 1u);
    EXPECT_EQ(rdm.extentsInfoList[0].strUUID, luns[3].strUUID);
    SDatastoreInfo inUse;
    EXPECT_FALSE(b.GetLUNInformationForRDM("esx01.sim.local", viaIscsi[0].strCanonicalName, inUse)) << "backs a datastore";

    SHostInfo host;
    ASSERT_EQ(b.GetHostInfoForHost("esx01.sim.local", VM_PROP_ALL, 0, host), 1);
    SHostStorageAdapterInfo iscsi;
    for (const SHostStorageAdapterInfo& a : host.storageAdapterList)
        if (a.strAdapterType == "InternetScsi")
            iscsi = a;
    std::vector<SDatastoreInfo> through(1);
    through[0].strDataStoreName = "datastore2";
    EXPECT_EQ(b.RefreshHostAdapter("esx01.sim.local", iscsi, through), 1);
    through[0].strDataStoreName = "nfs-backup";
    EXPECT_EQ(b.RefreshHostAdapter("esx01.sim.local", iscsi, through), 0);

    std::string ips;
    EXPECT_EQ(b.GetHostKernelIPList("esx01.sim.local", ips), 1);
    EXPECT_EQ(ips, host.virtualNetAdapterList[0].ipAddress + "," + host.virtualNetAdapterList[1].ipAddress);

    std::vector<SGuestOSInfo> guests, older;
    ASSERT_EQ(b.GetSupportedGuestOSInfoListForHostOrCluster("esx01.sim.local", guests), 1);
    ASSERT_EQ(b.GetSupportedGuestOSInfoListForHostOrCluster("esx02.sim.local", older), 1);
    EXPECT_GT(guests.size(), older.size()) << "a newer host runs more guests";

    std::string moref;
    EXPECT_TRUE(b.DoesVMExist("vm-app01", "", "esx02.sim.local", "Datacenter", moref));
    EXPECT_EQ(moref, "vm-103");
    moref = "keep";
    EXPECT_FALSE(b.DoesVMExist("vm-app01", "", "esx01.sim.local", "", moref));
    EXPECT_EQ(moref, "keep");
    EXPECT_EQ(b.CheckHostForVMName("esx01.sim.local", "vm-web01"), 1);
    EXPECT_EQ(b.CheckHostForVMName("esx02.sim.local", "vm-web01"), 0);
}

SnapRestoreCtx Context(const char* host, const char* datastore, bool resignature)
{
    SnapRestoreCtx context;
    context.strEsxServerName = host;
    context.datastores.resize(1);
    context.datastores[0].strDataStoreName = datastore;
    context.bResignatureVol = resignature;
    return context;
}

TEST_F(InventorySim, SnapshotVolumeMountsOnceAndExposesTheDisks)
{
    CVISDKCppBridge& b = Bridge();
    SDatastoreInfo source;
    ASSERT_EQ(b.GetDSInfoForDS("datastore2", "", "", 0, 0, source), 1);

    EXPECT_EQ(b.MountSnap(Context("esx01.sim.local", "datastore2", false)), 0) << "same UUID as a mounted volume";
    SnapRestoreCtx context = Context("esx01.sim.local", "", true);
    context.datastores[0].strDataStoreUUID = source.strDataStoreUUID;
    ASSERT_EQ(b.MountSnap(context), 1) << b.GetLastErrorString();

    std::vector<SDatastoreInfo> mounted;
    ASSERT_EQ(b.GetDSInfoListForHostOrCluster("esx01.sim.local", mounted, VM_PROP_DS_VM_LIST, 0), 1);
    const SDatastoreInfo* volume = nullptr;
    for (const SDatastoreInfo& d : mounted)
        if (d.strDataStoreName.rfind("snap-", 0) == 0)
            volume = &d;
    ASSERT_NE(volume, nullptr);
    EXPECT_NE(volume->strDataStoreUUID, source.strDataStoreUUID) << "resignatured";
    EXPECT_EQ(volume->strDataStoreName.substr(volume->strDataStoreName.size() - 10), "datastore2");
    std::set<std::string> exposed;
    for (const SVMInfo& vm : volume->vmInfoList)
        exposed.insert(vm.strName);
    EXPECT_EQ(exposed, (std::set<std::string>{"vm-db01", "vm-dr01"}));
    std::string name = volume->strDataStoreName;
    std::vector<std::string> hosts;
    ASSERT_TRUE(b.GetHostListForDatastore(name, hosts));
    EXPECT_EQ(hosts, std::vector<std::string>{"esx01.sim.local"});
    std::vector<SHostStorageAdapterInfo> none;
    SHostInfo host;
    ASSERT_EQ(b.GetHostInfoForHost("esx01.sim.local", VM_PROP_HOST_DS_LIST, 0, host), 1);
    EXPECT_EQ(host.datastoreList.size(), 4u);

    EXPECT_EQ(b.MountSnap(context), 0) << "the same snapshot twice";
    EXPECT_NE(b.GetLastErrorString().find("already mounted"), std::string::npos) << b.GetLastErrorString();
    EXPECT_EQ(b.MountSnap(Context("esx02.sim.local", "datastore2", true)), 0) << "nor on another host";

    EXPECT_EQ(b.UnMountSnap(context, "no-such-volume"), 0);
    EXPECT_EQ(b.UnMountSnap(context, name), 1);
    SDatastoreInfo gone;
    EXPECT_EQ(b.GetDSInfoForDS(name, "", "", 0, 0, gone), 0);
    EXPECT_EQ(b.UnMountSnap(context, ""), 0) << "nothing left to unmount";
    EXPECT_EQ(b.MountSnap(Context("esx02.sim.local", "datastore2", false)), 1) << "free again, and esx02 does not mount the original";
    EXPECT_EQ(b.UnMountSnap(Context("esx02.sim.local", "datastore2", false), ""), 1);
}

TEST_F(InventorySim, LogBundlesAreArchives)
{
    CVISDKCppBridge& b = Bridge();
    std::string file = dir + "/esx01.tgz";
    ASSERT_TRUE(b.DownloadHostLogBundle("esx01.sim.local", file)) << b.GetLastErrorString();
    std::string listing = Shell("tar -tzf '" + file + "'");
    EXPECT_NE(listing.find("/var/log/vmkernel.log"), std::string::npos) << listing;
    EXPECT_NE(listing.find("/etc/vmware/esx.conf"), std::string::npos) << listing;
    std::string conf = Shell("tar -xzOf '" + file + "' --wildcards '*/etc/vmware/esx.conf'");
    EXPECT_NE(conf.find("esx01.sim.local"), std::string::npos) << conf;

    ASSERT_TRUE(b.DownloadServerLogBundle(dir)) << "into a directory, under the bundle's own name";
    std::string names = Shell("ls '" + dir + "'");
    EXPECT_NE(names.find("vc-vcenter.sim.local-"), std::string::npos) << names;
    EXPECT_EQ(Shell("cd '" + dir + "' && mkdir x && tar -xzf vc-*.tgz -C x && find x -name vpxd.log | wc -l"), "1\n");

    EXPECT_FALSE(b.DownloadHostLogBundle("esx99.sim.local", file));
    EXPECT_FALSE(b.DownloadServerLogBundle(dir + "/missing/dir/file.tgz"));
}

TEST_F(InventorySim, ClocksFollowTheSimulation)
{
    CVISDKCppBridge& b = Bridge();
    long long now = SimNow();
    EXPECT_EQ(b.GetCurrentServerTime(), now);
    EXPECT_EQ(b.GetCurrentTimeOnServer(), "2024-06-03T09:00:00.000Z");
    long long hour = 3600;
    void* args[] = {&hour};
    CallStatic("Simulator", "AdvanceTime", args);
    EXPECT_EQ(b.GetCurrentServerTime(), now + 3600);
    EXPECT_EQ(b.GetCurrentTimeOnServer(), "2024-06-03T10:00:00.000Z");
    EXPECT_EQ(b.GetCurrentTimeOnHost("esx02.sim.local"), "2024-06-03T09:59:56.000Z") << "esx02 runs four seconds behind";

    SMgmtVersion version;
    ASSERT_TRUE(b.GetMgmtVersionInfo(version));
    EXPECT_EQ(version.strVersion, "8.0.2");
    EXPECT_EQ(version.strFullVersion, "VMware vCenter Server 8.0.2 build-" + version.strBuild);
}

TEST_F(InventorySim, GeneratedInventoryIsLargeAndTheSameEachTime)
{
    std::string config = dir + "/big.config";
    std::ofstream out(config);
    out << "<configuration><visdkWrapper>"
           "<server name=\"vcenter.sim.local\" kind=\"vcenter\" version=\"8.0.2\">"
           "<account user=\"administrator@vsphere.local\" password=\"VMware1!\" /></server>"
           "<generate datacenters=\"2\" clustersPerDatacenter=\"5\" hosts=\"100\" datastores=\"40\" vms=\"10000\" hostsPerDatastore=\"10\" />"
           "</visdkWrapper></configuration>";
    out.close();
    ASSERT_TRUE(SimLoad(config));
    CVISDKCppBridge& b = Bridge();
    ASSERT_EQ(b.Connect(kServer, kAdmin, kPassword), 1);
    std::vector<SHostInfo> hosts;
    ASSERT_EQ(b.RefreshHostInfoList(0, 0), 100);
    ASSERT_EQ(b.GetHostInfoList(hosts, VM_PROP_HOST_DS_LIST, 0), 1);
    ASSERT_EQ(hosts.size(), 100u);
    EXPECT_EQ(hosts[0].datastoreList.size(), 4u);
    EXPECT_EQ(b.RefreshVMInfoList(0, 0), 10000);
    std::vector<SInventoryInfo> tree;
    ASSERT_EQ(b.RefreshInventoryInfoList(0, 0), 2);
    ASSERT_EQ(b.GetInventoryInfoList(tree, 0, 0), 1);
    std::map<int, int> byType;
    std::vector<const SInventoryInfo*> all;
    CountNodes(tree, byType, all);
    EXPECT_EQ(byType[2], 2);
    EXPECT_EQ(byType[3], 10);
    EXPECT_EQ(byType[4], 100);
    EXPECT_EQ(byType[7], 20000);
    std::vector<std::string> first;
    for (size_t i = 0; i < 50; ++i)
        first.push_back(all[i]->strGUID + all[i]->strName);

    ASSERT_TRUE(SimLoad(config));
    ASSERT_EQ(b.Connect(kServer, kAdmin, kPassword), 1);
    ASSERT_EQ(b.RefreshInventoryInfoList(0, 0), 2);
    ASSERT_EQ(b.GetInventoryInfoList(tree, 0, 0), 1);
    all.clear();
    CountNodes(tree, byType, all);
    for (size_t i = 0; i < 50; ++i)
        EXPECT_EQ(all[i]->strGUID + all[i]->strName, first[i]);
}

} // namespace
