#include "SnapshotTree.h"

namespace visdk {

namespace {

void Add(const std::vector<VMInfoStructs::SSnapshot>& level, int depth, const std::string& parent, std::vector<SnapshotEntry>& flat)
{
    for (const VMInfoStructs::SSnapshot& snapshot : level) {
        SnapshotEntry entry;
        entry.snapshot = snapshot;
        entry.snapshot.childSnapshots.clear();
        entry.depth = depth;
        entry.parent = parent;
        flat.push_back(std::move(entry));
        Add(snapshot.childSnapshots, depth + 1, snapshot.strMoRef, flat);
    }
}

} // namespace

std::vector<SnapshotEntry> Flatten(const std::vector<VMInfoStructs::SSnapshot>& roots)
{
    std::vector<SnapshotEntry> flat;
    Add(roots, 0, "", flat);
    return flat;
}

bool ReadSnapshots(VISDKCppBridge::CVISDKCppBridge& bridge, const std::string& vm, std::vector<SnapshotEntry>& snapshots)
{
    VMInfoStructs::SVMInfo info;
    if (!bridge.GetVMInfoForVM(vm, "", "", VM_PROP_VM_SNAPSHOT_LIST, 0, info))
        return false;
    snapshots = Flatten(info.snapshotList);
    return true;
}

Json SnapshotJson(const VMInfoStructs::SSnapshot& snapshot)
{
    Json children = Json::array();
    for (const VMInfoStructs::SSnapshot& child : snapshot.childSnapshots)
        children.push_back(SnapshotJson(child));
    return Json{{"id", snapshot.strMoRef},
                {"name", snapshot.strName},
                {"description", snapshot.strDescription},
                {"created", IsoTime(snapshot.creationTime)},
                {"children", children}};
}

std::string SnapshotIdOf(const std::vector<SnapshotEntry>& snapshots, const std::string& vm, const std::string& snap)
{
    std::vector<std::string> named;
    for (const SnapshotEntry& entry : snapshots) {
        if (entry.snapshot.strMoRef == snap)
            return snap;
        if (entry.snapshot.strName == snap)
            named.push_back(entry.snapshot.strMoRef);
    }
    if (named.size() == 1)
        return named[0];
    if (named.empty())
        return snap;
    std::string ids;
    for (const std::string& id : named)
        ids += (ids.empty() ? "" : ", ") + id;
    throw UsageError(vm + ": " + std::to_string(named.size()) + " snapshots are named '" + snap + "' (" + ids + "): name one by its id");
}

} // namespace visdk
