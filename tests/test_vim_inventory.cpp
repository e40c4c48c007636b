// The web-services client's inventory against the test endpoint (vCenter model): lists, lookups, the tree, pools and
// datastores, each checked against what the server holds, read over a session of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <regex>

#include "Endpoint.h"
#include "TestSupport.h"

using namespace visdktest;
using namespace VMInfoStructs;

namespace {

using visdktest::Sorted;

std::vector<std::string> Sorted(std::vector<std::string> items)
{
    std::sort(items.begin(), items.end());
    return items;
}

class VimInventory : public ::testing::Test {
protected:
    void SetUp() override
    {
        TrustEndpoint();
        bridge = EndpointBridge();
        Names({}, "VirtualMachine");
        Names({}, "HostSystem");
    }
    std::vector<std::string> Refs(const std::string& type, const std::string& moref, const std::string& path)
    {
        return XmlTexts(server.Property(type, moref, path), "ManagedObjectReference");
    }
    // The names of objects of a type (or its subtypes), sorted.
    std::vector<std::string> Names(const std::vector<std::string>& morefs, const std::string& type)
    {
        auto& known = names[type];
        if (known.empty())
            for (const auto& [moref, name] : server.All(type))
                known[moref] = name;
        std::vector<std::string> out;
        for (const auto& m : morefs)
            out.push_back(known[m]);
        return Sorted(out);
    }
    // The VMs registered on a host, or on every host of a cluster.
    std::vector<std::string> VmsOn(const std::string& type, const std::string& moref)
    {
        std::vector<std::string> vms;
        for (const auto& h : type == "HostSystem" ? std::vector<std::string>{moref} : Refs(type, moref, "host"))
            for (const auto& v : Refs("HostSystem", h, "vm"))
                vms.push_back(v);
        return Names(vms, "VirtualMachine");
    }
    RawSoap server;
    const std::string cluster = server.Moref("ClusterComputeResource", "DC0_C0");
    const std::string datastore = server.Moref("Datastore", "LocalDS_0");
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
    std::map<std::string, std::map<std::string, std::string>> names;
    std::map<std::string, std::string>& vmNames = names["VirtualMachine"];
    std::map<std::string, std::string>& hostNames = names["HostSystem"];
};

TEST_F(VimInventory, HostRecordsAreTheServersHosts)
{
    std::vector<SHostInfo> hosts;
    ASSERT_EQ(bridge->GetHostInfoList(hosts, VM_PROP_ALL, 0), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(hosts.size(), hostNames.size());
    for (const auto& h : hosts) {
        SCOPED_TRACE(h.strHostName);
        ASSERT_EQ(hostNames[h.strMoRef], h.strHostName);
        std::string parent = server.Property("HostSystem", h.strMoRef, "parent");
        EXPECT_EQ(h.bClustered, parent == cluster);
        EXPECT_EQ(h.clusterName, h.bClustered ? "DC0_C0" : "");
        EXPECT_EQ(h.strResourcePool, server.Property(h.bClustered ? "ClusterComputeResource" : "ComputeResource", parent, "resourcePool"));
        EXPECT_EQ(h.strHostDatacenter + " " + h.strHostDatacenterPath + " " + h.strVMFolderPath, "DC0 /DC0 DC0/vm");
        EXPECT_EQ(h.strHostDatacenterMoRef, server.Moref("Datacenter", "DC0"));
        EXPECT_EQ(h.numVMAndTemplates, static_cast<int>(Refs("HostSystem", h.strMoRef, "vm").size()));
        EXPECT_EQ(Sorted(h.vmInfoList, &SVMInfo::strName), VmsOn("HostSystem", h.strMoRef));
        EXPECT_EQ(Sorted(h.datastoreList, &SDatastoreInfo::strDataStoreName), Names(Refs("HostSystem", h.strMoRef, "datastore"), "Datastore"));
        EXPECT_EQ(Sorted(h.nwList, &SNetworkInfo::strNetworkName), Names(Refs("HostSystem", h.strMoRef, "network"), "Network"));
        EXPECT_EQ(h.fullVersion, XmlText(server.Property("HostSystem", h.strMoRef, "config.product"), "fullName"));
        EXPECT_EQ(h.memoryTotalBytes, std::stoll(XmlText(server.Property("HostSystem", h.strMoRef, "summary.hardware"), "memorySize")));
        EXPECT_EQ(h.connectionState, 0);
        EXPECT_EQ(Sorted(h.virtualNetAdapterList, &SHostNetworkAdapterInfo::ipAddress),
                  Sorted(XmlTexts(server.Property("HostSystem", h.strMoRef, "config.network.vnic"), "ipAddress")));
        EXPECT_EQ(h.physicalNetAdapterList.size(), XmlTexts(server.Property("HostSystem", h.strMoRef, "config.network.pnic"), "device").size());
        EXPECT_EQ(h.storageAdapterList.size(), XmlTexts(server.Property("HostSystem", h.strMoRef, "config.storageDevice.hostBusAdapter"), "device").size());
    }
}

TEST_F(VimInventory, TheMaskDecidesWhichListsComeBack)
{
    using Count = std::function<size_t(const SHostInfo&)>;
    const std::vector<std::pair<UINT64, Count>> lists = {
        {VM_PROP_HOST_VM_LIST, [](const SHostInfo& h) { return h.vmInfoList.size(); }},
        {VM_PROP_HOST_DS_LIST, [](const SHostInfo& h) { return h.datastoreList.size(); }},
        {VM_PROP_HOST_NW_LIST, [](const SHostInfo& h) { return h.nwList.size(); }},
        {VM_PROP_HOST_ADAP_INFO, [](const SHostInfo& h) { return h.storageAdapterList.size(); }},
        {VM_PROP_HOST_NW_ADAP_INFO, [](const SHostInfo& h) { return h.physicalNetAdapterList.size() + h.virtualNetAdapterList.size(); }},
    };
    for (const auto& [bit, _] : lists) {
        SHostInfo host;
        ASSERT_EQ(bridge->GetHostInfoForHost("DC0_H0", bit, 0, host), 1) << bridge->GetLastErrorString();
        EXPECT_EQ(host.numVMAndTemplates, 2) << "counted whatever the mask";
        for (const auto& [other, count] : lists)
            EXPECT_EQ(count(host) > 0, other == bit) << std::hex << "mask " << bit << ", list " << other;
    }
    SDatastoreInfo ds;
    for (UINT64 mask : {UINT64(0), VM_PROP_DS_VM_LIST}) {
        ASSERT_EQ(bridge->GetDSInfoForDS("LocalDS_0", "", "", mask, 0, ds), 1) << bridge->GetLastErrorString();
        EXPECT_EQ(Sorted(ds.vmInfoList, &SVMInfo::strName), mask ? Names(Refs("Datastore", datastore, "vm"), "VirtualMachine") : std::vector<std::string>{});
    }
    // A cluster holds its hosts and the VMs registered on them.
    for (UINT64 mask : {UINT64(0), VM_PROP_CLUSTER_HOST_LIST, VM_PROP_CLUSTER_VM_LIST}) {
        SClusterInfo c;
        ASSERT_EQ(bridge->GetClusterInfoForCluster(mask ? cluster : "DC0_C0", mask, 0, c), 1) << bridge->GetLastErrorString();
        EXPECT_EQ(c.strClusterName + " " + c.strClusterMoref, "DC0_C0 " + cluster);
        EXPECT_EQ(Sorted(c.hostInfoList, &SHostInfo::strHostName),
                  mask == VM_PROP_CLUSTER_HOST_LIST ? Names(Refs("ClusterComputeResource", cluster, "host"), "HostSystem") : std::vector<std::string>{});
        EXPECT_EQ(Sorted(c.vmInfoList, &SVMInfo::strName), mask == VM_PROP_CLUSTER_VM_LIST ? VmsOn("ClusterComputeResource", cluster) : std::vector<std::string>{});
    }
    std::vector<SClusterInfo> clusters;
    ASSERT_EQ(bridge->GetClusterInfoList(clusters, VM_PROP_ALL, 0), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Sorted(clusters, &SClusterInfo::strClusterMoref), std::vector<std::string>{cluster});
    SClusterInfo none;
    EXPECT_EQ(bridge->GetClusterInfoForCluster("DC0_H0", 0, 0, none), 0) << "a standalone host's compute resource is no cluster";
    EXPECT_EQ(bridge->GetLastErrorString(), "The cluster 'DC0_H0' was not found.");
}

TEST_F(VimInventory, DatastoresCarryTheServersSizesAndMounts)
{
    std::vector<SDatastoreInfo> all;
    ASSERT_EQ(bridge->GetDSInfoList(all, VM_PROP_ALL, 0), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(all.size(), 1u);
    const SDatastoreInfo ds = all[0];
    std::string summary = server.Property("Datastore", datastore, "summary");
    EXPECT_EQ(ds.strDataStoreName + " " + ds.strMoref, "LocalDS_0 " + datastore);
    EXPECT_EQ(ds.i64TotalSize, std::stoll(XmlText(summary, "capacity")));
    EXPECT_EQ(ds.i64FreeSpace, std::stoll(XmlText(summary, "freeSpace")));
    EXPECT_EQ(ds.strDataStoreType, XmlText(summary, "type"));
    EXPECT_TRUE(ds.accessible);
    EXPECT_TRUE(ds.isShared) << "every host lists it, though its own mount list names one";
    EXPECT_TRUE(std::regex_match(ds.strDataStoreUUID, std::regex("[0-9a-f]{8}-[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{12}"))) << ds.strDataStoreUUID;

    // By name (in any case), reference or UUID, and mounted where asked: the same datastore and UUID each time.
    for (const auto& [name, uuid, where] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {datastore, "", ""}, {"", ds.strDataStoreUUID, ""}, {"localds_0", "", "DC0_H0"}, {"LocalDS_0", "", "DC0_C0"}}) {
        SDatastoreInfo again;
        EXPECT_EQ(bridge->GetDSInfoForDS(name, uuid, where, 0, 0, again), 1) << name << uuid << where << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(again.strMoref + again.strDataStoreUUID, ds.strMoref + ds.strDataStoreUUID);
    }
    for (const auto& [name, where, error] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"nope", "", "The datastore 'nope' was not found."}, {"LocalDS_0", "no-host", "The host or cluster 'no-host' was not found."}}) {
        SDatastoreInfo none;
        EXPECT_EQ(bridge->GetDSInfoForDS(name, "", where, 0, 0, none), 0);
        EXPECT_EQ(bridge->GetLastErrorString(), error);
    }

    std::vector<std::string> mounting, hosts;
    for (const auto& [moref, name] : hostNames)
        if (Refs("HostSystem", moref, "datastore") == std::vector<std::string>{datastore})
            mounting.push_back(name);
    ASSERT_TRUE(bridge->GetHostListForDatastore("LocalDS_0", hosts)) << bridge->GetLastErrorString();
    EXPECT_EQ(Sorted(hosts), Sorted(mounting));
    for (const std::string& scope : {std::string("DC0_C0"), cluster, std::string("DC0_H0")}) {
        std::vector<SDatastoreInfo> of;
        ASSERT_EQ(bridge->GetDSInfoListForHostOrCluster(scope, of, 0, 0), 1) << scope << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(Sorted(of, &SDatastoreInfo::strDataStoreName), std::vector<std::string>{"LocalDS_0"}) << scope;
    }

    EXPECT_TRUE(bridge->IsDatastoreConnected("", "LocalDS_0")) << bridge->GetLastErrorString();
    EXPECT_TRUE(bridge->IsDatastoreConnected("DC0_C0_H1", "LocalDS_0")) << bridge->GetLastErrorString();
    EXPECT_FALSE(bridge->IsDatastoreConnected("no-host", "LocalDS_0"));
    EXPECT_FALSE(bridge->IsDatastoreConnected("", "nope"));
    EXPECT_EQ(bridge->GetLastErrorString(), "The datastore 'nope' was not found.");

    int freeMB = static_cast<int>(ds.i64FreeSpace >> 20);
    EXPECT_EQ(bridge->CheckdatastoreSpace("LocalDS_0", "DC0_H0", freeMB), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(bridge->CheckdatastoreSpace("LocalDS_0", "", freeMB + 1), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Insufficient disk space on datastore 'LocalDS_0': " + std::to_string(freeMB + 1) + " MB needed, " +
                                                std::to_string(freeMB) + " MB free.");
    EXPECT_EQ(bridge->CheckdatastoreSpace("LocalDS_0", "no-host", 1), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The datastore 'LocalDS_0' is not accessible from host 'no-host'.");
}

// Pools and a vApp made for the test on the server, removed again at its end.
class VimPools : public VimInventory {
protected:
    void SetUp() override
    {
        VimInventory::SetUp();
        root = server.Property("ClusterComputeResource", cluster, "resourcePool");
        pool = Make("CreateResourcePool", root, "infra-pool");
        child = Make("CreateResourcePool", pool, "infra-child");
        vapp = Make("CreateVApp", root, "infra-vapp");
    }
    void TearDown() override
    {
        for (const auto& [type, moref] : std::vector<std::pair<std::string, std::string>>{{"ResourcePool", child}, {"ResourcePool", pool}, {"VirtualApp", vapp}})
            server.Call("Destroy_Task", type, moref);
    }
    std::string Make(const std::string& method, const std::string& parent, const std::string& name)
    {
        const std::string share = "<reservation>0</reservation><expandableReservation>true</expandableReservation><limit>-1</limit>"
                                  "<shares><shares>4000</shares><level>normal</level></shares>";
        std::string allocation = "<cpuAllocation>" + share + "</cpuAllocation><memoryAllocation>" + share + "</memoryAllocation>";
        std::string made = XmlText(server.Call(method, "ResourcePool", parent, "<name>" + name + "</name>" +
                                   (method == "CreateVApp" ? "<resSpec>" + allocation + "</resSpec><configSpec/>" : "<spec>" + allocation + "</spec>")), "returnval");
        EXPECT_NE(made, "") << method << " " << name;
        return made;
    }
    std::string root, pool, child, vapp;
};

TEST_F(VimPools, PoolsAndVAppsFollowTheServersTree)
{
    std::vector<SResourcePoolInfo> roots;
    ASSERT_EQ(bridge->GetResourcePoolList(roots, 0, 0), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(roots.size(), 2u) << "one root pool per cluster or standalone host";
    auto top = std::find_if(roots.begin(), roots.end(), [](const SResourcePoolInfo& p) { return !p.childPoolList.empty(); });
    ASSERT_NE(top, roots.end());
    EXPECT_EQ(top->type, 0);
    EXPECT_EQ(Sorted(top->vmInfoList, &SVMInfo::strName), Names(Refs("ResourcePool", root, "vm"), "VirtualMachine"));
    ASSERT_EQ(top->childPoolList.size(), 1u) << "the vApp is no pool of the list";
    EXPECT_EQ(top->childPoolList[0].strResourcePoolName + " " + std::to_string(top->childPoolList[0].type), "infra-pool 1");
    EXPECT_EQ(Sorted(top->childPoolList[0].childPoolList, &SResourcePoolInfo::strResourcePoolName), std::vector<std::string>{"infra-child"});

    std::vector<SVAppInfo> vapps;
    ASSERT_EQ(bridge->GetVAppInfoList(vapps, VM_PROP_VAPP_VM_LIST, 0), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Sorted(vapps, &SVAppInfo::strVAppName), std::vector<std::string>{"infra-vapp"});
    EXPECT_EQ(bridge->RefreshResourcePoolList(0, 0), 2);

    for (const auto& [id, owner] : std::vector<std::pair<std::string, std::string>>{
             {"infra-child", ""}, {"Resources/infra-pool/infra-child", "DC0_C0"}, {child, ""}, {"infra-child", "DC0_C0_H2"}}) {
        SResourcePoolInfo found;
        EXPECT_EQ(bridge->GetRPInfoForRP(id, owner, 0, 0, found), 1) << id << " in " << owner << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(found.strResourcePoolName, "infra-child");
    }
    SResourcePoolInfo none;
    EXPECT_EQ(bridge->GetRPInfoForRP("infra-pool", "DC0_H0", 0, 0, none), 0) << "another owner's pool";
    EXPECT_EQ(bridge->GetLastErrorString(), "The resource pool 'infra-pool' was not found.");
    EXPECT_EQ(bridge->GetRPInfoForRP("infra-vapp", "", 0, 0, none), 0) << "a vApp is not a pool here";

    std::vector<SResourcePoolInfo> standalone;
    ASSERT_EQ(bridge->GetResourcePoolListForHostOrCluster("DC0_H0", standalone, 0, 0), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(standalone.size(), 1u);
    EXPECT_EQ(Sorted(standalone[0].vmInfoList, &SVMInfo::strName), VmsOn("HostSystem", server.Moref("HostSystem", "DC0_H0")));

    std::string name, moref;
    EXPECT_EQ(bridge->SelectDatastoreFromResourcePool(pool, name, moref), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(name + " " + moref, "LocalDS_0 " + datastore);
    SInventoryInfo node;
    ASSERT_EQ(bridge->GetInventoryObjectByMoref(pool, 5, 0, 0, node), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Sorted(node.children, &SInventoryInfo::strName), std::vector<std::string>{"infra-child"});
    ASSERT_EQ(bridge->GetInventoryObjectByMoref(vapp, 6, 0, 0, node), 1) << bridge->GetLastErrorString();
}

TEST_F(VimInventory, TheTreeIsTheServersTree)
{
    std::vector<SInventoryInfo> tree;
    ASSERT_EQ(bridge->GetInventoryInfoList(tree, 0, 0), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(tree.size(), 1u);
    EXPECT_EQ(tree[0].strName + " " + tree[0].strGUID + " " + std::to_string(tree[0].type), "DC0 " + server.Moref("Datacenter", "DC0") + " 2");
    std::map<std::string, SInventoryInfo> folders, computes;
    for (const auto& f : tree[0].children)
        folders[f.strName] = f;
    ASSERT_EQ(folders.size(), 4u);
    for (const auto& vm : folders["vm"].children)
        EXPECT_EQ((vm.flags & INVENTORY_INFO_FLAG_POWERED_ON) != 0, server.Property("VirtualMachine", vm.strGUID, "runtime.powerState") == "poweredOn") << vm.strName;
    EXPECT_EQ(Sorted(folders["vm"].children, &SInventoryInfo::strName), Names(Refs("Folder", folders["vm"].strGUID, "childEntity"), "VirtualMachine"));
    for (const auto& c : folders["host"].children)
        computes[c.strName] = c;
    EXPECT_EQ(computes["DC0_C0"].type, 3);
    std::vector<std::string> clusterKids = Names(Refs("ClusterComputeResource", cluster, "host"), "HostSystem");
    for (const auto& v : Names(Refs("ResourcePool", server.Property("ClusterComputeResource", cluster, "resourcePool"), "vm"), "VirtualMachine"))
        clusterKids.push_back(v);
    EXPECT_EQ(Sorted(computes["DC0_C0"].children, &SInventoryInfo::strName), Sorted(clusterKids)) << "its hosts and its root pool's VMs";
    EXPECT_EQ(computes["DC0_H0"].type, 4) << "a standalone host stands for its compute resource";
    EXPECT_EQ(Sorted(computes["DC0_H0"].children, &SInventoryInfo::strName), VmsOn("HostSystem", computes["DC0_H0"].strGUID));
    EXPECT_EQ(folders["datastore"].children.size(), 1u);
    std::vector<std::string> networks;
    for (const auto& [moref, name] : server.All("Network"))
        networks.push_back(name);
    EXPECT_EQ(Sorted(folders["network"].children, &SInventoryInfo::strName), Sorted(networks));

    SInventoryInfo node;
    EXPECT_EQ(bridge->GetInventoryObjectByMoref(cluster, 3, 0, 0, node), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Sorted(node.children, &SInventoryInfo::strName), Sorted(clusterKids));
    for (const auto& [moref, kind, error] : std::vector<std::tuple<std::string, int, std::string>>{
             {cluster, 2, "The object '" + cluster + "' is not of the kind asked for."},
             {"no-such-1", 0, "The object 'vim.ManagedEntity:no-such-1' has already been deleted or has not been completely created"}}) {
        EXPECT_EQ(bridge->GetInventoryObjectByMoref(moref, kind, 0, 0, node), 0);
        EXPECT_EQ(bridge->GetLastErrorString(), error);
    }

    SInventoryInfo at;
    at.strGUID = cluster;
    for (const auto& [path, from, names] : std::vector<std::tuple<std::string, SInventoryInfo, std::vector<std::string>>>{
             {"", {}, {"DC0"}}, {"DC0/host", {}, {"DC0_C0", "DC0_H0"}}, {"DC0/vm", at, Sorted(clusterKids)}}) {
        std::vector<SInventoryInfo> level;
        ASSERT_EQ(bridge->BrowseInventory(path, from, level, 0, 0), 1) << path << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(Sorted(level, &SInventoryInfo::strName), names) << path << " (a node's reference wins over the path)";
        for (const auto& n : level)
            EXPECT_TRUE(n.children.empty()) << "one level only";
    }
    std::vector<SInventoryInfo> level;
    EXPECT_EQ(bridge->BrowseInventory("DC0/nothing", SInventoryInfo{}, level, 0, 0), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The object 'DC0/nothing' was not found.");
    ASSERT_EQ(bridge->GetVMInventoryInfoListForHostOrCluster("DC0_C0", level, 0, 0), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Sorted(level, &SInventoryInfo::strName), VmsOn("ClusterComputeResource", cluster));
}

TEST_F(VimInventory, LookupsAnswerByNameAndReference)
{
    const std::string vm = "DC0_H0_VM0", vmRef = server.Moref("VirtualMachine", vm);
    const std::string uuid = server.Property("VirtualMachine", vmRef, "config.uuid");
    for (const auto& [name, id, host, datacenter, found] : std::vector<std::tuple<std::string, std::string, std::string, std::string, bool>>{
             {vm, "", "", "", true}, {"", uuid, "", "", true}, {vm, uuid, "DC0_H0", "DC0", true},
             {vm, "", "DC0_C0_H0", "", false}, {vm, "", "", "DC1", false}, {"no-vm", "", "", "", false}}) {
        std::string moref = "stale";
        EXPECT_EQ(bridge->DoesVMExist(name, id, host, datacenter, moref), found) << name << "/" << id << "/" << host << "/" << datacenter;
        EXPECT_EQ(moref, found ? vmRef : "stale");
    }
    std::string text;
    EXPECT_FALSE(bridge->DoesVMExist("", "", "", "", text));
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: vm");

    EXPECT_EQ(bridge->CheckHostForVMName("DC0_H0", vm), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(bridge->CheckHostForVMName("DC0_H0", "DC0_C0_RP0_VM0"), 0) << "on another host";
    EXPECT_EQ(bridge->GetDatacenterNameFromHostName("DC0_C0_H1", text), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(text, "DC0");
    const std::string hostRef = server.Moref("HostSystem", "DC0_C0_H1");
    SHostInfo host;
    EXPECT_EQ(bridge->GetHostInfoForHost("dc0_c0_h1", 0, 0, host), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(host.strMoRef, hostRef);
    EXPECT_EQ(bridge->GetHostKernelIPList(hostRef, text), 1) << bridge->GetLastErrorString();
    std::string joined;
    for (const auto& ip : XmlTexts(server.Property("HostSystem", hostRef, "config.network.vnic"), "ipAddress"))
        joined += (joined.empty() ? "" : ",") + ip;
    EXPECT_EQ(text, joined);

    const std::vector<std::function<int()>> unknownHost = {
        [&] { return bridge->CheckHostForVMName("no-host", vm); }, [&] { return bridge->GetHostInfoForHost("no-host", 0, 0, host); },
        [&] { return bridge->GetDatacenterNameFromHostName("no-host", text); }, [&] { return bridge->GetHostKernelIPList("no-host", text); },
        [&] { return static_cast<int>(bridge->GetCurrentTimeOnHost("no-host").size()); }};
    for (const auto& call : unknownHost) {
        EXPECT_EQ(call(), 0);
        EXPECT_EQ(bridge->GetLastErrorString(), "The host 'no-host' was not found.");
    }
}

TEST_F(VimInventory, ListsKeepTheirMembersUntilRefreshed)
{
    for (const auto& [refresh, type] : std::vector<std::pair<std::function<int()>, std::string>>{
             {[&] { return bridge->RefreshHostInfoList(0, 0); }, "HostSystem"}, {[&] { return bridge->RefreshVMInfoList(0, 0); }, "VirtualMachine"},
             {[&] { return bridge->RefreshDSInfoList(0, 0); }, "Datastore"}, {[&] { return bridge->RefreshClusterInfoList(0, 0); }, "ClusterComputeResource"},
             {[&] { return bridge->RefreshInventoryInfoList(0, 0); }, "Datacenter"}, {[&] { return bridge->RefreshVAppInfoList(0, 0); }, "VirtualApp"}})
        EXPECT_EQ(refresh(), std::max<int>(1, server.All(type).size())) << type << ": " << bridge->GetLastErrorString();

    std::vector<SDataCenterInfo> datacenters;
    ASSERT_EQ(bridge->GetDCInfoList(datacenters, 0, 0), 1) << bridge->GetLastErrorString();
    std::string root = XmlText(server.Call("RetrieveServiceContent", "ServiceInstance", "ServiceInstance"), "rootFolder");
    std::string made = XmlText(server.Call("CreateDatacenter", "Folder", root, "<name>infra-dc</name>"), "returnval");
    ASSERT_NE(made, "");
    EXPECT_EQ(bridge->GetDCInfoList(datacenters, 0, 0), 1);
    EXPECT_EQ(Sorted(datacenters, &SDataCenterInfo::strName), std::vector<std::string>{"DC0"}) << "as of the list's first use";
    EXPECT_EQ(bridge->RefreshDCInfoList(0, 0), 2);
    EXPECT_EQ(bridge->GetDCInfoList(datacenters, 0, 0), 1);
    EXPECT_EQ(Sorted(datacenters, &SDataCenterInfo::strName), (std::vector<std::string>{"DC0", "infra-dc"}));
    server.Call("Destroy_Task", "Datacenter", made);
    EXPECT_EQ(bridge->GetDCInfoList(datacenters, VM_PROP_ALL, 0), 1);
    ASSERT_EQ(datacenters.size(), 1u) << "a member gone from the server is gone from the list";
    std::vector<std::string> all;
    for (const auto& [moref, name] : vmNames)
        all.push_back(name);
    EXPECT_EQ(Sorted(datacenters[0].vmInfoList, &SVMInfo::strName), Sorted(all));
}

TEST_F(VimInventory, ClocksAndGuestSystemsComeFromTheServer)
{
    EXPECT_GT(bridge->GetCurrentServerTime(), 0) << bridge->GetLastErrorString();
    std::string text = bridge->GetCurrentTimeOnServer();
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)"))) << text;
    // This server's hosts name a date and time system it does not serve; a vCenter cannot stand in for their clocks.
    EXPECT_EQ(bridge->GetCurrentTimeOnHost("DC0_H0"), "");
    EXPECT_EQ(bridge->GetLastErrorString().rfind("The host 'DC0_H0' does not tell its time: ", 0), 0u) << bridge->GetLastErrorString();

    std::string browser = server.Property("ClusterComputeResource", cluster, "environmentBrowser");
    std::string key = XmlText(server.Call("QueryConfigOptionDescriptor", "EnvironmentBrowser", browser), "key");
    std::string option = server.Call("QueryConfigOptionEx", "EnvironmentBrowser", browser, "<spec><key>" + key + "</key></spec>");
    std::vector<std::string> ids;
    static const std::regex guest("<guestOSDescriptor><id>([^<]*)</id>");
    for (auto it = std::sregex_iterator(option.begin(), option.end(), guest); it != std::sregex_iterator(); ++it)
        ids.push_back((*it)[1].str());
    std::vector<SGuestOSInfo> guests;
    ASSERT_EQ(bridge->GetSupportedGuestOSInfoListForHostOrCluster("DC0_C0", guests), 1) << bridge->GetLastErrorString();
    EXPECT_FALSE(guests.empty());
    EXPECT_EQ(Sorted(guests, &SGuestOSInfo::guestID), Sorted(ids));
    EXPECT_EQ(bridge->GetSupportedGuestOSInfoListForHostOrCluster("no-host", guests), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The host or cluster 'no-host' was not found.");
}

} // namespace
