#include <cstdio>

#include "Commands.h"
#include "JsonOutput.h"

namespace visdk {

namespace {

using namespace VMInfoStructs;

// The stand-in client's object kinds in an inventory node's type.
const char* KindName(int type)
{
    static const char* const names[] = {"object", "folder", "datacenter", "cluster", "host", "resource pool",
                                        "vApp", "vm", "datastore", "network", "distributed port group"};
    return type >= 0 && type < static_cast<int>(sizeof names / sizeof names[0]) ? names[type] : "object";
}

std::vector<std::string> FlagNames(int flags)
{
    std::vector<std::string> names;
    if (flags & INVENTORY_INFO_FLAG_POWERED_ON)
        names.push_back("powered on");
    if (flags & INVENTORY_INFO_FLAG_TEMPLATE)
        names.push_back("template");
    if (flags & INVENTORY_INFO_FLAG_TOOLS_RUNNING)
        names.push_back("tools running");
    if (flags & INVENTORY_INFO_FLAG_MAINTAINANCE_MODE)
        names.push_back("maintenance");
    return names;
}

std::string Joined(const std::vector<std::string>& items, const char* separator = ", ")
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : separator) + item;
    return text;
}

Json NodeJson(const SInventoryInfo& node)
{
    Json children = Json::array();
    for (const SInventoryInfo& child : node.children)
        children.push_back(NodeJson(child));
    return Json{{"name", node.strName}, {"moref", node.strGUID}, {"kind", KindName(node.type)}, {"type", node.type},
                {"flags", FlagNames(node.flags)}, {"children", children}};
}

void PrintNode(const SInventoryInfo& node, int depth)
{
    std::vector<std::string> flags = FlagNames(node.flags);
    std::printf("%*s%s (%s %s)%s\n", depth * 2, "", node.strName.c_str(), KindName(node.type), node.strGUID.c_str(),
                flags.empty() ? "" : (" [" + Joined(flags) + "]").c_str());
    for (const SInventoryInfo& child : node.children)
        PrintNode(child, depth + 1);
}

int ShowInventory(Session& session, const Arguments& args, const Operands&)
{
    std::vector<SInventoryInfo> tree;
    if (!session.Bridge().GetInventoryInfoList(tree, VM_PROP_ALL, 0))
        return session.Fail("inventory");
    if (args.Json()) {
        Json datacenters = Json::array();
        for (const SInventoryInfo& node : tree)
            datacenters.push_back(NodeJson(node));
        PrintJson(Json{{"inventory", datacenters}});
        return kExitOk;
    }
    for (const SInventoryInfo& node : tree)
        PrintNode(node, 0);
    return kExitOk;
}

int ShowHost(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& name = operands[0];
    VISDKCppBridge::CVISDKCppBridge& bridge = session.Bridge();
    SHostInfo host;
    if (!bridge.GetHostInfoForHost(name, VM_PROP_ALL, 0, host))
        return session.Fail(name + ": host");
    std::string addresses;
    if (!bridge.GetHostKernelIPList(host.strHostName, addresses))
        return session.Fail(name + ": VMkernel addresses");
    std::string time = bridge.GetCurrentTimeOnHost(host.strHostName);
    std::vector<std::string> datastores, networks, vms;
    for (const SDatastoreInfo& d : host.datastoreList)
        datastores.push_back(d.strDataStoreName);
    for (const SNetworkInfo& n : host.nwList)
        networks.push_back(n.strNetworkName);
    for (const SVMInfo& vm : host.vmInfoList)
        vms.push_back(vm.strName);
    const char* states[] = {"connected", "disconnected", "not responding"};
    std::string state = host.connectionState >= 0 && host.connectionState < 3 ? states[host.connectionState]
                                                                               : std::to_string(host.connectionState);
    if (args.Json()) {
        Json adapters = Json::array();
        for (const SHostStorageAdapterInfo& a : host.storageAdapterList)
            adapters.push_back(Json{{"type", a.strAdapterType}, {"iscsiName", a.strIscsiName}, {"portWwn", a.strportWorldWideName}});
        PrintJson(Json{{"name", host.strHostName},
                       {"moref", host.strMoRef},
                       {"datacenter", host.strHostDatacenter},
                       {"cluster", host.bClustered ? Json(host.clusterName) : Json(nullptr)},
                       {"version", host.version},
                       {"fullVersion", host.fullVersion},
                       {"hardware", host.manufacturer + " " + host.model},
                       {"connectionState", state},
                       {"maintenanceMode", host.maintenanceMode},
                       {"processorSockets", host.processorSockets},
                       {"logicalProcessors", host.logicalProcessors},
                       {"cpuTotalMhz", host.cpuTotalMhz},
                       {"cpuUsedMhz", host.cpuUsedMhz},
                       {"memoryTotalBytes", host.memoryTotalBytes},
                       {"memoryUsedBytes", host.memoryUsedBytes},
                       {"vms", vms},
                       {"datastores", datastores},
                       {"networks", networks},
                       {"storageAdapters", adapters},
                       {"vmkernelAddresses", addresses},
                       {"time", time}});
        return kExitOk;
    }
    std::printf("name: %s\nmoref: %s\ndatacenter: %s\ncluster: %s\nversion: %s\nhardware: %s %s\nstate: %s%s\n",
                host.strHostName.c_str(), host.strMoRef.c_str(), host.strHostDatacenter.c_str(),
                host.bClustered ? host.clusterName.c_str() : "(standalone)", host.fullVersion.c_str(), host.manufacturer.c_str(),
                host.model.c_str(), state.c_str(), host.maintenanceMode ? ", maintenance mode" : "");
    std::printf("cpu: %d sockets, %d logical processors, %d of %d MHz used\nmemory: %s of %s used\n", host.processorSockets,
                host.logicalProcessors, host.cpuUsedMhz, host.cpuTotalMhz, HumanBytes(host.memoryUsedBytes).c_str(),
                HumanBytes(host.memoryTotalBytes).c_str());
    std::printf("vms: %d\ndatastores: %s\nnetworks: %s\nvmkernel addresses: %s\ntime: %s\n", host.numVMAndTemplates,
                Joined(datastores).c_str(), Joined(networks).c_str(), addresses.c_str(), time.c_str());
    return kExitOk;
}

int ShowDatastore(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& name = operands[0];
    VISDKCppBridge::CVISDKCppBridge& bridge = session.Bridge();
    SDatastoreInfo ds;
    if (!bridge.GetDSInfoForDS(name, "", "", VM_PROP_ALL, 0, ds))
        return session.Fail(name + ": datastore");
    std::vector<std::string> hosts, vms, extents;
    if (!bridge.GetHostListForDatastore(ds.strDataStoreName, hosts))
        return session.Fail(name + ": hosts");
    for (const SVMInfo& vm : ds.vmInfoList)
        vms.push_back(vm.strName);
    for (const SSCSILunInfo& lun : ds.extentsInfoList)
        extents.push_back(lun.strCanonicalName);
    if (args.Json()) {
        PrintJson(Json{{"name", ds.strDataStoreName},
                       {"moref", ds.strMoref},
                       {"type", ds.strDataStoreType},
                       {"uuid", ds.strDataStoreUUID},
                       {"path", ds.strDatastorePath},
                       {"accessible", ds.accessible},
                       {"shared", ds.isShared},
                       {"capacityBytes", ds.i64TotalSize},
                       {"freeBytes", ds.i64FreeSpace},
                       {"blockSizeMB", ds.blockSizeMB},
                       {"hosts", hosts},
                       {"vms", vms},
                       {"extents", extents}});
        return kExitOk;
    }
    std::printf("name: %s\nmoref: %s\ntype: %s\nuuid: %s\npath: %s\naccessible: %s\nshared: %s\n", ds.strDataStoreName.c_str(),
                ds.strMoref.c_str(), ds.strDataStoreType.c_str(), ds.strDataStoreUUID.c_str(), ds.strDatastorePath.c_str(),
                ds.accessible ? "yes" : "no", ds.isShared ? "yes" : "no");
    std::printf("capacity: %s\nfree: %s\nhosts: %s\nvms: %s\nextents: %s\n", HumanBytes(ds.i64TotalSize).c_str(),
                HumanBytes(ds.i64FreeSpace).c_str(), Joined(hosts).c_str(), Joined(vms).c_str(), Joined(extents).c_str());
    return kExitOk;
}

} // namespace

std::vector<Command> InventoryCommands()
{
    return {
        {"inventory", "", "print the inventory tree: datacenters, folders, clusters, hosts, pools, vApps, VMs, datastores, networks", "",
         0, 0, ShowInventory},
        {"host info", "HOST", "show a host's placement, hardware, load, datastores, networks, VMkernel addresses and clock", "", 1, 1,
         ShowHost},
        {"datastore info", "DS", "show a datastore's type, identity, space, hosts, VMs and extents", "", 1, 1, ShowDatastore},
    };
}

} // namespace visdk
