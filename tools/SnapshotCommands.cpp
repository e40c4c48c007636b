#include <cstdio>

#include "Commands.h"
#include "JsonOutput.h"
#include "SnapshotTree.h"

namespace visdk {

namespace {

using VISDKCppBridge::CVISDKCppBridge;

void CheckCreate(const Arguments& args, const Operands&)
{
    bool named = args.Has("name");
    if (named && args.Has("replication"))
        throw UsageError("--name and --replication exclude each other");
    if (args.Has("description") && !named)
        throw UsageError("--description needs --name");
    if (named && args.Value("name").empty())
        throw UsageError("--name needs a snapshot name");
}

int CreateSnapshot(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    bool named = args.Has("name"), replication = args.Has("replication");
    bool quiesce = args.Has("quiesce"), memory = args.Has("memory");
    CVISDKCppBridge& bridge = session.Bridge();
    std::string id;
    int created = named ? bridge.CreateSnapshotWithName(vm, "", args.Value("name"), args.Value("description"), quiesce, memory, id)
                  : replication ? bridge.CreateReplicationSnapshot(vm, "", quiesce, memory, id)
                                : bridge.CreateBackupSnapshot(vm, "", quiesce, memory, id);
    if (!created)
        return session.Fail(vm + ": create snapshot");
    if (args.Json())
        PrintJson(Json{{"vm", vm}, {"snapshot", id}, {"kind", named ? "user" : replication ? "replication" : "backup"}});
    else
        std::printf("%s\n", id.c_str());
    return kExitOk;
}

// The current snapshot is known by its name and time only; it is marked when exactly one entry carries both.
int ListSnapshots(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    int backups = 0, replications = 0;
    if (!session.Bridge().CountBackupSnapshots(vm, "", backups))
        return session.Fail(vm + ": count backup snapshots");
    if (!session.Bridge().CountReplicationSnapshots(vm, "", replications))
        return session.Fail(vm + ": count replication snapshots");
    std::vector<SnapshotEntry> snapshots;
    if (!ReadSnapshots(session.Bridge(), vm, snapshots))
        return session.Fail(vm + ": snapshots");
    // The current snapshot, when there is one; its absence is no failure.
    std::string name, description;
    time_t created = 0;
    bool quiesced = false;
    bool current = session.Bridge().GetSnapshotInfo(vm, "", "", name, created, description, quiesced);
    std::string currentId;
    for (const SnapshotEntry& entry : snapshots)
        if (current && entry.snapshot.strName == name && entry.snapshot.creationTime == created)
            currentId = currentId.empty() ? entry.snapshot.strMoRef : "?";
    if (currentId == "?")
        currentId.clear();
    if (args.Json()) {
        Json currentJson = current ? Json{{"name", name}, {"created", IsoTime(created)}, {"createdUnix", static_cast<long long>(created)}}
                                   : Json(nullptr);
        if (current && !currentId.empty())
            currentJson["id"] = currentId;
        Json list = Json::array();
        for (const SnapshotEntry& entry : snapshots)
            list.push_back(Json{{"id", entry.snapshot.strMoRef},
                                {"name", entry.snapshot.strName},
                                {"description", entry.snapshot.strDescription},
                                {"created", IsoTime(entry.snapshot.creationTime)},
                                {"createdUnix", static_cast<long long>(entry.snapshot.creationTime)},
                                {"parent", entry.parent.empty() ? Json(nullptr) : Json(entry.parent)}});
        PrintJson(Json{{"vm", vm},
                       {"backupSnapshots", backups},
                       {"replicationSnapshots", replications},
                       {"current", currentJson},
                       {"snapshots", list}});
        return kExitOk;
    }
    std::printf("backup snapshots: %d\nreplication snapshots: %d\n", backups, replications);
    std::printf("current snapshot: %s\n", current ? (name + " (" + IsoTime(created) + ")").c_str() : "none");
    std::printf("snapshots: %zu\n", snapshots.size());
    for (const SnapshotEntry& entry : snapshots)
        std::printf("  %-16s %s  %s%s\n", entry.snapshot.strMoRef.c_str(), IsoTime(entry.snapshot.creationTime).c_str(),
                    entry.snapshot.strName.c_str(), entry.snapshot.strMoRef == currentId ? "  (current)" : "");
    return kExitOk;
}

int ShowTree(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    VMInfoStructs::SVMInfo info;
    if (!session.Bridge().GetVMInfoForVM(vm, "", "", VM_PROP_VM_SNAPSHOT_LIST, 0, info))
        return session.Fail(vm + ": snapshots");
    if (args.Json()) {
        Json roots = Json::array();
        for (const VMInfoStructs::SSnapshot& snapshot : info.snapshotList)
            roots.push_back(SnapshotJson(snapshot));
        PrintJson(Json{{"vm", vm}, {"snapshots", roots}});
        return kExitOk;
    }
    std::printf("%s%s\n", vm.c_str(), info.snapshotList.empty() ? ": no snapshots" : "");
    for (const SnapshotEntry& entry : Flatten(info.snapshotList))
        std::printf("%*s%s (%s, %s)\n", 2 + entry.depth * 2, "", entry.snapshot.strName.c_str(), entry.snapshot.strMoRef.c_str(),
                    IsoTime(entry.snapshot.creationTime).c_str());
    return kExitOk;
}

// SNAP as an id, resolving a name first; kExitOk with the id, else the failure printed.
int Resolve(Session& session, const std::string& vm, const std::string& snap, std::string& id)
{
    std::vector<SnapshotEntry> snapshots;
    if (!ReadSnapshots(session.Bridge(), vm, snapshots))
        return session.Fail(vm + ": snapshots");
    id = SnapshotIdOf(snapshots, vm, snap);
    return kExitOk;
}

int ShowSnapshot(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    std::string snapshot;
    if (int status = Resolve(session, vm, operands[1], snapshot))
        return status;
    CVISDKCppBridge& bridge = session.Bridge();
    std::string name, description, file;
    time_t created = 0;
    bool quiesced = false;
    unsigned long long size = 0;
    if (!bridge.GetSnapshotInfo(vm, "", snapshot, name, created, description, quiesced))
        return session.Fail(vm + ": snapshot " + snapshot);
    if (!bridge.GetSnapshotSize(vm, "", snapshot, size))
        return session.Fail(vm + ": size of snapshot " + snapshot);
    if (!bridge.GetSnapshotFileNameUsingSnapMoref(vm, "", snapshot, file))
        return session.Fail(vm + ": file of snapshot " + snapshot);
    if (args.Json()) {
        PrintJson(Json{{"vm", vm},
                       {"id", snapshot},
                       {"name", name},
                       {"created", IsoTime(created)},
                       {"createdUnix", static_cast<long long>(created)},
                       {"description", description},
                       {"quiesced", quiesced},
                       {"size", size},
                       {"file", file}});
        return kExitOk;
    }
    std::printf("id: %s\nname: %s\ncreated: %s\ndescription: %s\nquiesced: %s\nsize: %s (%llu bytes)\nfile: %s\n",
                snapshot.c_str(), name.c_str(), IsoTime(created).c_str(), description.c_str(), quiesced ? "yes" : "no",
                HumanBytes(size).c_str(), size, file.c_str());
    return kExitOk;
}

int RevertSnapshot(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    bool current = operands.size() == 1;
    std::string id;
    if (!current)
        if (int status = Resolve(session, vm, operands[1], id))
            return status;
    if (current ? !session.Bridge().RevertToCurrentSnapshot(vm, "") : !session.Bridge().RevertToSnapshot(vm, "", id))
        return session.Fail(vm + ": revert to " + (current ? "the current snapshot" : operands[1]));
    if (args.Json())
        PrintJson(Json{{"vm", vm}, {"revertedTo", current ? Json(nullptr) : Json(id)}});
    else
        std::printf("%s: reverted to %s\n", vm.c_str(), current ? "the current snapshot" : id.c_str());
    return kExitOk;
}

int OlderThanDays(const Arguments& args) { return static_cast<int>(ParseNumber(args.Value("older-than"), "--older-than", 0, 100000)); }

void CheckRemove(const Arguments& args, const Operands& operands)
{
    bool all = args.Has("all"), old = args.Has("older-than"), one = operands.size() == 2;
    if (all + old + one != 1)
        throw UsageError("snapshot remove needs exactly one of SNAP, --all and --older-than DAYS");
    if (old)
        OlderThanDays(args);
}

int RemoveSnapshot(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    bool all = args.Has("all");
    CVISDKCppBridge& bridge = session.Bridge();
    Json result{{"vm", vm}};
    std::string text;
    if (operands.size() == 2) {
        std::string id;
        if (int status = Resolve(session, vm, operands[1], id))
            return status;
        if (!bridge.RemoveSnapshot(vm, "", id))
            return session.Fail(vm + ": remove " + operands[1]);
        result["removed"] = id;
        text = "removed " + id;
    } else if (all) {
        if (!bridge.RemoveSnapshots(vm, ""))
            return session.Fail(vm + ": remove all snapshots");
        result["removed"] = "all";
        text = "removed all snapshots";
    } else {
        int days = OlderThanDays(args);
        if (!bridge.RemoveOldSnapshots(vm, "", days))
            return session.Fail(vm + ": remove old snapshots");
        result["removed"] = "older";
        result["olderThanDays"] = days;
        text = "removed backup and replication snapshots older than " + std::to_string(days) + (days == 1 ? " day" : " days");
    }
    if (args.Json())
        PrintJson(result);
    else
        std::printf("%s: %s\n", vm.c_str(), text.c_str());
    return kExitOk;
}

} // namespace

std::vector<Command> SnapshotCommands()
{
    return {
        // SNAP is a snapshot's id or its name; a name several snapshots carry is refused.
        {"snapshot create", "VM [--name N [--description D]] [--replication] [--quiesce] [--memory]",
         "take a backup snapshot, or a named or replication one; prints its id", "name= description= replication quiesce memory",
         1, 1, CreateSnapshot, CheckCreate},
        {"snapshot list", "VM", "list the snapshots, count the backup and replication ones and name the current one", "", 1, 1,
         ListSnapshots},
        {"snapshot tree", "VM", "show the snapshots as a tree, children under their parents", "", 1, 1, ShowTree},
        {"snapshot info", "VM SNAP", "show a snapshot's name, time, description, quiescing, size and file", "", 2, 2,
         ShowSnapshot},
        {"snapshot revert", "VM [SNAP]", "revert to SNAP, or to the current snapshot", "", 1, 2, RevertSnapshot},
        {"snapshot remove", "VM SNAP|--all|--older-than DAYS",
         "remove one snapshot, all of them, or backup and replication snapshots older than DAYS", "all older-than=", 1, 2,
         RemoveSnapshot, CheckRemove},
    };
}

} // namespace visdk
