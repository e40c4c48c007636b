// Inventory list results through the bridge (GetInventoryInfoList, GetHostInfoList) against direct reads with cached handles.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"

using namespace visdkbench;
using namespace VMInfoStructs;
namespace probe = visdktest::probe;

namespace {

const int kNodes = 10000;
const int kHosts = 100;
const int kDatastoresPerHost = 4;

struct Enumerator {
    MonoMethod* getEnumerator;
    MonoMethod* moveNext;
    MonoMethod* current;

    explicit Enumerator(const char* className)
    {
        MonoClass* klass = Class(className);
        getEnumerator = Method(klass, "GetEnumerator", 1);
        moveNext = Method(klass, "MoveNext", 0);
        current = Method(klass, "Current", 0);
    }

    template <typename Item>
    void Walk(MonoObject* list, Item&& item) const
    {
        if (!list)
            return;
        void* args[] = {list};
        MonoObject* exception = nullptr;
        MonoObject* enumerator = mono_runtime_invoke(getEnumerator, nullptr, args, &exception);
        if (!enumerator || exception)
            return;
        for (;;) {
            MonoObject* more = mono_runtime_invoke(moveNext, enumerator, nullptr, &exception);
            if (!more || exception || !*static_cast<unsigned char*>(mono_object_unbox(more)))
                return;
            MonoObject* element = mono_runtime_invoke(current, enumerator, nullptr, &exception);
            if (exception)
                return;
            item(element);
        }
    }
};

template <typename T>
T Read(MonoObject* object, MonoClassField* field)
{
    T value{};
    mono_field_get_value(object, field, &value);
    return value;
}

std::string Text(MonoObject* object, MonoClassField* field) { return Utf8(Read<MonoObject*>(object, field)); }

template <typename T>
void Set(MonoObject* object, MonoClassField* field, T value)
{
    mono_field_set_value(object, field, &value);
}

void SetText(MonoObject* object, MonoClassField* field, const std::string& text) { mono_field_set_value(object, field, Str(text)); }

void Add(MonoObject* list, MonoObject* boxed)
{
    void* args[] = {mono_object_unbox(boxed)};
    Invoke(Method(mono_object_get_class(list), "Add", 1), list, args);
}

struct NodeClasses {
    MonoClass* node = Class("SInventoryInfoLib");
    MonoClassField* name = Field(node, "strName");
    MonoClassField* guid = Field(node, "strGUID");
    MonoClassField* type = Field(node, "type");
    MonoClassField* flags = Field(node, "flags");
    MonoClassField* children = Field(node, "children");
    Enumerator nodes{"SInventoryInfoLibListEnumerator"};

    void ReadNode(SInventoryInfo& out, MonoObject* item) const
    {
        out.strName = Text(item, name);
        out.type = Read<int32_t>(item, type);
        out.strGUID = Text(item, guid);
        out.flags = Read<int32_t>(item, flags);
        out.children.clear();
        nodes.Walk(Read<MonoObject*>(item, children), [&](MonoObject* child) {
            SInventoryInfo node;
            ReadNode(node, child);
            out.children.push_back(node);
        });
    }
};

// The host record's fields in the conversion's reading order, and its datastores.
struct HostClasses {
    MonoClass* host = Class("SHostInfoLib");
    MonoClass* ds = Class("SDatastoreInfoLib");
    std::vector<MonoClassField*> strings;
    MonoClassField *clustered, *clusterName, *clusterMoref, *faultDomain, *faultTolerance, *numVms, *connection, *maintenance;
    std::vector<MonoClassField*> texts2, ints;
    MonoClassField *memoryTotal, *memoryUsed, *datastores;
    std::vector<MonoClassField*> nullLists;
    MonoClassField *dsAccessible, *dsName, *dsMoref, *dsTotal, *dsFree, *dsType, *dsUuid, *dsPath, *dsBlock, *dsShared, *dsVms, *dsExtents;
    Enumerator hosts{"SHostInfoLibListEnumerator"};
    Enumerator dsList{"SDatastoreInfoLibListEnumerator"};

    HostClasses()
    {
        for (const char* n : {"strHostName", "strMoRef", "strHostDatacenter", "strHostDatacenterPath", "strHostDatacenterMoRef",
                              "strVMFolderPath", "strResourcePool"})
            strings.push_back(Field(host, n));
        clustered = Field(host, "bClustered");
        clusterName = Field(host, "clusterName");
        clusterMoref = Field(host, "strClusterMoref");
        faultDomain = Field(host, "faultDomain");
        faultTolerance = Field(host, "faultToleranceEnabled");
        numVms = Field(host, "numVMAndTemplates");
        connection = Field(host, "connectionState");
        maintenance = Field(host, "maintenanceMode");
        for (const char* n : {"version", "fullVersion", "manufacturer", "model"})
            texts2.push_back(Field(host, n));
        for (const char* n : {"logicalProcessors", "processorSockets", "cpuTotalMhz", "cpuUsedMhz"})
            ints.push_back(Field(host, n));
        memoryTotal = Field(host, "memoryTotalBytes");
        memoryUsed = Field(host, "memoryUsedMBytes");
        datastores = Field(host, "datastoreList");
        for (const char* n : {"physicalNetAdapterList", "virtualNetAdapterList", "vmInfoList", "nwList", "storageAdapterList"})
            nullLists.push_back(Field(host, n));
        dsAccessible = Field(ds, "accessible");
        dsName = Field(ds, "strDataStoreName");
        dsMoref = Field(ds, "strMoref");
        dsTotal = Field(ds, "i64TotalSize");
        dsFree = Field(ds, "i64FreeSpace");
        dsType = Field(ds, "strDataStoreType");
        dsUuid = Field(ds, "strDataStoreUUID");
        dsPath = Field(ds, "strDatastorePath");
        dsBlock = Field(ds, "blockSizeMB");
        dsShared = Field(ds, "isShared");
        dsVms = Field(ds, "vmInfoList");
        dsExtents = Field(ds, "extentsInfoList");
    }

    void ReadHost(SHostInfo& out, MonoObject* item) const
    {
        std::string* members[] = {&out.strHostName, &out.strMoRef, &out.strHostDatacenter, &out.strHostDatacenterPath,
                                  &out.strHostDatacenterMoRef, &out.strVMFolderPath, &out.strResourcePool};
        for (size_t i = 0; i < strings.size(); ++i)
            *members[i] = Text(item, strings[i]);
        out.bClustered = Read<unsigned char>(item, clustered) != 0;
        if (out.bClustered) {
            out.clusterName = Text(item, clusterName);
            out.strClusterMoref = Text(item, clusterMoref);
            out.faultDomain = Text(item, faultDomain);
        }
        out.faultToleranceEnabled = Read<unsigned char>(item, faultTolerance) != 0;
        out.numVMAndTemplates = Read<int32_t>(item, numVms);
        out.connectionState = Read<int32_t>(item, connection);
        out.maintenanceMode = Read<unsigned char>(item, maintenance) != 0;
        std::string* more[] = {&out.version, &out.fullVersion, &out.manufacturer, &out.model};
        for (size_t i = 0; i < texts2.size(); ++i)
            *more[i] = Text(item, texts2[i]);
        int32_t* numbers[] = {&out.logicalProcessors, &out.processorSockets, &out.cpuTotalMhz, &out.cpuUsedMhz};
        for (size_t i = 0; i < ints.size(); ++i)
            *numbers[i] = Read<int32_t>(item, ints[i]);
        out.memoryTotalBytes = Read<int64_t>(item, memoryTotal);
        out.memoryUsedBytes = Read<int64_t>(item, memoryUsed) << 20;
        for (MonoClassField* list : nullLists)
            if (Read<MonoObject*>(item, list))
                Fail("the host lists other than datastores are null here");
        out.datastoreList.clear();
        dsList.Walk(Read<MonoObject*>(item, datastores), [&](MonoObject* d) {
            SDatastoreInfo info;
            info.accessible = Read<unsigned char>(d, dsAccessible) != 0;
            info.strDataStoreName = Text(d, dsName);
            info.strMoref = Text(d, dsMoref);
            info.i64TotalSize = Read<int64_t>(d, dsTotal);
            info.i64FreeSpace = Read<int64_t>(d, dsFree);
            info.strDataStoreType = Text(d, dsType);
            info.strDataStoreUUID = Text(d, dsUuid);
            info.strDatastorePath = Text(d, dsPath);
            info.blockSizeMB = Read<int32_t>(d, dsBlock);
            info.isShared = Read<unsigned char>(d, dsShared) != 0;
            if (Read<MonoObject*>(d, dsVms) || Read<MonoObject*>(d, dsExtents))
                Fail("the datastore lists are null here");
            out.datastoreList.push_back(info);
        });
    }
};

// Leaf nodes as the simulator answers them: each with an empty child list.
MonoObject* BuildNodes(const NodeClasses& c)
{
    MonoObject* list = Pin(visdktest::NewList("SInventoryInfoLib"));
    for (int i = 0; i < kNodes; ++i) {
        MonoObject* node = NewValue(c.node);
        char name[32], guid[32];
        std::snprintf(name, sizeof name, "gen-vm%05d", i + 1);
        std::snprintf(guid, sizeof guid, "vm-%d", 2000 + i);
        SetText(node, c.name, name);
        SetText(node, c.guid, guid);
        Set<int32_t>(node, c.type, 7);
        Set<int32_t>(node, c.flags, i % 3 == 0 ? 0 : 5);
        mono_field_set_value(node, c.children, visdktest::NewList("SInventoryInfoLib"));
        Add(list, node);
    }
    return list;
}

MonoObject* BuildHosts(const HostClasses& c)
{
    MonoObject* list = Pin(visdktest::NewList("SHostInfoLib"));
    for (int i = 0; i < kHosts; ++i) {
        MonoObject* host = NewValue(c.host);
        char name[48];
        std::snprintf(name, sizeof name, "gen-esx%03d.sim.local", i + 1);
        const std::string texts[] = {name, "host-" + std::to_string(3000 + i), "gen-dc01", "/gen-dc01", "datacenter-1001",
                                     "gen-dc01/vm", "resgroup-" + std::to_string(4000 + i / 10)};
        for (size_t k = 0; k < c.strings.size(); ++k)
            SetText(host, c.strings[k], texts[k]);
        Set<unsigned char>(host, c.clustered, 1);
        SetText(host, c.clusterName, "gen-dc01-cl" + std::to_string(i % 5 + 1));
        SetText(host, c.clusterMoref, "domain-c" + std::to_string(1000 + i % 5));
        SetText(host, c.faultDomain, "");
        Set<unsigned char>(host, c.faultTolerance, 1);
        Set<int32_t>(host, c.numVms, 100);
        Set<int32_t>(host, c.connection, 0);
        Set<unsigned char>(host, c.maintenance, 0);
        const char* more[] = {"8.0.1", "VMware ESXi 8.0.1 build-22088981", "Dell Inc.", "PowerEdge R650"};
        for (size_t k = 0; k < c.texts2.size(); ++k)
            SetText(host, c.texts2[k], more[k]);
        const int32_t numbers[] = {64, 2, 83200, 8320};
        for (size_t k = 0; k < c.ints.size(); ++k)
            Set<int32_t>(host, c.ints[k], numbers[k]);
        Set<int64_t>(host, c.memoryTotal, 512LL << 30);
        Set<int64_t>(host, c.memoryUsed, 65536);
        MonoObject* datastores = visdktest::NewList("SDatastoreInfoLib");
        for (int d = 0; d < kDatastoresPerHost; ++d) {
            MonoObject* ds = NewValue(c.ds);
            std::string dsName = "gen-ds" + std::to_string((i / 10) * kDatastoresPerHost + d + 1);
            Set<unsigned char>(ds, c.dsAccessible, 1);
            SetText(ds, c.dsName, dsName);
            SetText(ds, c.dsMoref, "datastore-" + std::to_string(5000 + d));
            Set<int64_t>(ds, c.dsTotal, 4096LL << 30);
            Set<int64_t>(ds, c.dsFree, 1024LL << 30);
            SetText(ds, c.dsType, "VMFS");
            SetText(ds, c.dsUuid, "5f1e2d3c-4b5a6978-8796-a5b4c3d2e1f0");
            SetText(ds, c.dsPath, "/vmfs/volumes/5f1e2d3c-4b5a6978-8796-a5b4c3d2e1f0");
            Set<int32_t>(ds, c.dsBlock, 1);
            Set<unsigned char>(ds, c.dsShared, 1);
            Add(datastores, ds);
        }
        mono_field_set_value(host, c.datastores, datastores);
        Add(list, host);
    }
    return list;
}

bool SameNodes(const std::vector<SInventoryInfo>& a, const std::vector<SInventoryInfo>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].strName != b[i].strName || a[i].strGUID != b[i].strGUID || a[i].type != b[i].type || a[i].flags != b[i].flags ||
            !SameNodes(a[i].children, b[i].children))
            return false;
    return true;
}

bool SameHosts(const std::vector<SHostInfo>& a, const std::vector<SHostInfo>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const SHostInfo &x = a[i], &y = b[i];
        if (x.strHostName != y.strHostName || x.strResourcePool != y.strResourcePool || x.clusterName != y.clusterName ||
            x.fullVersion != y.fullVersion || x.cpuTotalMhz != y.cpuTotalMhz || x.memoryUsedBytes != y.memoryUsedBytes ||
            x.datastoreList.size() != y.datastoreList.size())
            return false;
        for (size_t d = 0; d < x.datastoreList.size(); ++d)
            if (x.datastoreList[d].strDataStoreName != y.datastoreList[d].strDataStoreName ||
                x.datastoreList[d].i64FreeSpace != y.datastoreList[d].i64FreeSpace)
                return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Begin(argc, argv, "inventory lists: GetInventoryInfoList (10,000 nodes) and GetHostInfoList (100 hosts with 4 datastores each), "
                      "answered by the probe with objects built once", true);
    VISDKCppBridge::CVISDKCppBridge& bridge = visdktest::Bridge();
    MonoObject* wrapper = NewWrapper();
    MonoClass* wrapperClass = mono_object_get_class(wrapper);
    MonoMethod* inventoryMethod = Method(wrapperClass, "GetInventoryInfoList", 2);
    MonoMethod* hostMethod = Method(wrapperClass, "GetHostInfoList", 2);

    Clock::time_point built = Clock::now();
    NodeClasses nodeClasses;
    HostClasses hostClasses;
    MonoObject* nodes = BuildNodes(nodeClasses);
    MonoObject* hosts = BuildHosts(hostClasses);
    std::printf("# managed objects built in %.2f s\n", Seconds(built));

    const UINT64 mask = VM_PROP_ALL;
    const int flags = 0;
    auto floorInventory = [&](std::vector<SInventoryInfo>& out) {
        UINT64 m = mask;
        int f = flags;
        void* args[] = {&m, &f};
        MonoObject* exception = nullptr;
        MonoObject* list = mono_runtime_invoke(inventoryMethod, wrapper, args, &exception);
        if (!list || exception)
            return 0;
        out.clear();
        nodeClasses.nodes.Walk(list, [&](MonoObject* item) {
            SInventoryInfo node;
            nodeClasses.ReadNode(node, item);
            out.push_back(node);
        });
        return 1;
    };
    auto floorHosts = [&](std::vector<SHostInfo>& out) {
        UINT64 m = mask;
        int f = flags;
        void* args[] = {&m, &f};
        MonoObject* exception = nullptr;
        MonoObject* list = mono_runtime_invoke(hostMethod, wrapper, args, &exception);
        if (!list || exception)
            return 0;
        out.clear();
        hostClasses.hosts.Walk(list, [&](MonoObject* item) {
            SHostInfo host;
            hostClasses.ReadHost(host, item);
            out.push_back(host);
        });
        return 1;
    };
    auto rules = [&] {
        probe::Reset();
        probe::Return("GetInventoryInfoList", nodes);
        probe::Return("GetHostInfoList", hosts);
    };
    rules();

    std::vector<SInventoryInfo> nodesBridge, nodesDirect;
    Check(bridge.GetInventoryInfoList(nodesBridge, mask, flags) == 1, "bridge GetInventoryInfoList answered 1");
    Check(floorInventory(nodesDirect) == 1, "direct GetInventoryInfoList answered");
    Check(nodesBridge.size() == static_cast<size_t>(kNodes) && SameNodes(nodesBridge, nodesDirect), "both sides read the same 10,000 nodes");
    std::vector<SHostInfo> hostsBridge, hostsDirect;
    Check(bridge.GetHostInfoList(hostsBridge, mask, flags) == 1, "bridge GetHostInfoList answered 1");
    Check(floorHosts(hostsDirect) == 1, "direct GetHostInfoList answered");
    Check(hostsBridge.size() == static_cast<size_t>(kHosts) && SameHosts(hostsBridge, hostsDirect), "both sides read the same 100 hosts");

    Figures inventory = Compare([&] { g_sink += bridge.GetInventoryInfoList(nodesBridge, mask, flags); },
                                [&] { g_sink += floorInventory(nodesDirect); }, rules);
    PrintRate("get_inventory_info_list_10k", inventory, kNodes, "record");
    Figures hostFigures = Compare([&] { g_sink += bridge.GetHostInfoList(hostsBridge, mask, flags); },
                                  [&] { g_sink += floorHosts(hostsDirect); }, rules);
    PrintRate("get_host_info_list_100", hostFigures, kHosts + kHosts * kDatastoresPerHost, "record");

    std::printf("# records: get_inventory_info_list_10k = 10,000 nodes (each with an empty child list) per call; "
                "get_host_info_list_100 = 100 hosts + 400 datastores per call\n"
                "# floor: the same managed call (method looked up once, same argument slots), then class, field and enumerator "
                "handles looked up once, mono_field_get_value per field\n");
    return 0;
}
