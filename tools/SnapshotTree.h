#ifndef VISDK_TOOLS_SNAPSHOT_TREE_H
#define VISDK_TOOLS_SNAPSHOT_TREE_H

#include <string>
#include <vector>

#include "CliSupport.h"
#include "JsonOutput.h"

namespace visdk {

// One snapshot of a VM's tree read flat, parents before children; its own children are left out.
struct SnapshotEntry {
    VMInfoStructs::SSnapshot snapshot;
    int depth = 0;
    std::string parent;
};

std::vector<SnapshotEntry> Flatten(const std::vector<VMInfoStructs::SSnapshot>& roots);
// The VM's snapshot tree, flat; false when the VM cannot be read.
bool ReadSnapshots(VISDKCppBridge::CVISDKCppBridge& bridge, const std::string& vm, std::vector<SnapshotEntry>& snapshots);

// A snapshot with its children, nested.
Json SnapshotJson(const VMInfoStructs::SSnapshot& snapshot);

// The id of the snapshot SNAP names: an id as it is, else the one snapshot of that name. A name that several carry
// throws UsageError listing their ids; one nobody carries is returned as given, for the server to refuse.
std::string SnapshotIdOf(const std::vector<SnapshotEntry>& snapshots, const std::string& vm, const std::string& snap);

} // namespace visdk

#endif
