// A minimal backup engine: connect, take a backup snapshot, read each disk's changed areas, remove the snapshot.
//
//   backup_engine [VM [SERVER USER PASSWORD]] [--since DISK=CHANGEID ...]
//
// Without --since a disk is read in full (its allocated areas); with it, only what changed after CHANGEID. The new
// change id of each disk is printed for the next run.
#include <VISDKCppBridge/VISDKCppBridge.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string vm = "vm-web01";
    std::string server = "vcenter.sim.local";
    std::string user = "administrator@vsphere.local";
    std::string password = "VMware1!";
    std::map<std::string, std::string> since;  // disk key -> change id of the previous backup
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--since") == 0 && i + 1 < argc) {
            std::string pair = argv[++i];
            size_t equals = pair.find('=');
            if (equals == std::string::npos)
                return false;
            options.since[pair.substr(0, equals)] = pair.substr(equals + 1);
        } else {
            words.push_back(argv[i]);
        }
    }
    if (words.size() != 0 && words.size() != 1 && words.size() != 4)
        return false;
    if (!words.empty())
        options.vm = words[0];
    if (words.size() == 4) {
        options.server = words[1];
        options.user = words[2];
        options.password = words[3];
    }
    return true;
}

int Fail(VISDKCppBridge::CVISDKCppBridge& bridge, const std::string& what)
{
    std::fprintf(stderr, "%s: %s\n", what.c_str(), bridge.GetLastErrorString().c_str());
    return 1;
}

// Walks the disk one answer at a time; each answer covers a window and the next starts where it ends.
bool ReadChangedAreas(VISDKCppBridge::CVISDKCppBridge& bridge, const Options& options, const std::string& snapshot,
                      const std::string& disk, const std::string& since, long long capacity)
{
    long long offset = 0, bytes = 0, areas = 0;
    while (offset < capacity) {
        VMInfoStructs::SDiskChangeInfo answer;
        if (!bridge.QueryChangedDiskAreas(options.vm, "", snapshot, disk, offset, since, answer))
            return false;
        for (const VMInfoStructs::SDiskChangeExtent& area : answer.changedAreaList) {
            // A real engine copies [llStart, llStart + llLength) of the snapshot's disk here.
            std::printf("  disk %s: area at %lld, %lld bytes\n", disk.c_str(), area.llStart, area.llLength);
            bytes += area.llLength;
            ++areas;
        }
        long long next = answer.llStartOffset + answer.llLength;
        if (next <= offset)
            break;
        offset = next;
    }
    std::printf("disk %s: %s, %lld areas, %lld bytes\n", disk.c_str(), since == "*" ? "full" : "incremental", areas, bytes);
    return true;
}

int Backup(VISDKCppBridge::CVISDKCppBridge& bridge, const Options& options)
{
    if (!bridge.SetChangeTrackingEnabled(options.vm, ""))
        return Fail(bridge, "cannot enable change tracking");
    std::string snapshot;
    if (!bridge.CreateBackupSnapshot(options.vm, "", false, false, snapshot))
        return Fail(bridge, "cannot take a snapshot");
    std::printf("snapshot %s\n", snapshot.c_str());

    int status = 0;
    for (int key = 2000;; ++key) {
        std::string disk = std::to_string(key), changeId;
        // The wrapper answers an unknown disk key with an empty id: all disks are done.
        if (!bridge.GetChangeIdForDisk(options.vm, "", snapshot, disk, changeId) || changeId.empty())
            break;
        VMInfoStructs::SDiskTotalBlockInfo blocks;
        std::vector<VMInfoStructs::SDiskMetadataInfo> metadata;
        if (!bridge.GetDiskBlockInfo(options.vm, "", snapshot, disk, true, blocks, metadata)) {
            status = Fail(bridge, "disk " + disk + ": size");
            break;
        }
        auto previous = options.since.find(disk);
        std::string since = previous == options.since.end() ? "*" : previous->second;
        if (!ReadChangedAreas(bridge, options, snapshot, disk, since, blocks.totalsize)) {
            status = Fail(bridge, "disk " + disk + ": changed areas");
            break;
        }
        std::printf("disk %s: next change id %s\n", disk.c_str(), changeId.c_str());
    }

    // The snapshot goes whatever happened above.
    if (!bridge.RemoveSnapshot(options.vm, "", snapshot))
        return Fail(bridge, "cannot remove snapshot " + snapshot);
    std::printf("snapshot %s removed\n", snapshot.c_str());
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: backup_engine [VM [SERVER USER PASSWORD]] [--since DISK=CHANGEID ...]\n");
        return 2;
    }
    int status = 2;
    {
        VISDKCppBridge::CVISDKCppBridge bridge;
        std::string server = options.server, vm = options.vm;
        if (!bridge.SetVMFocus(server, vm, 0))
            std::fprintf(stderr, "cannot start the vSphere client\n");
        else if (!bridge.Connect(options.server, options.user, options.password))
            Fail(bridge, "cannot connect");
        else {
            status = Backup(bridge, options);
            bridge.Disconnect();
        }
        bridge.Cleanup();
    }
    return status;
}
