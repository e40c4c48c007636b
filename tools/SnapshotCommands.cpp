#include <cstdio>

#include "Commands.h"
#include "JsonOutput.h"

namespace visdk {

namespace {

using VISDKCppBridge::CVISDKCppBridge;

int CreateSnapshot(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    bool named = args.Has("name"), replication = args.Has("replication");
    bool quiesce = args.Has("quiesce"), memory = args.Has("memory");
    if (named && replication)
        throw UsageError("--name and --replication exclude each other");
    if (args.Has("description") && !named)
        throw UsageError("--description needs --name");
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

int ListSnapshots(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    int backups = 0, replications = 0;
    if (!session.Bridge().CountBackupSnapshots(vm, "", backups))
        return session.Fail(vm + ": count backup snapshots");
    if (!session.Bridge().CountReplicationSnapshots(vm, "", replications))
        return session.Fail(vm + ": count replication snapshots");
    // The current snapshot, when there is one; its absence is no failure.
    std::string name, description;
    time_t created = 0;
    bool quiesced = false;
    bool current = session.Bridge().GetSnapshotInfo(vm, "", "", name, created, description, quiesced);
    if (args.Json()) {
        Json currentJson = current ? Json{{"name", name}, {"created", IsoTime(created)}, {"createdUnix", static_cast<long long>(created)}}
                                   : Json(nullptr);
        PrintJson(Json{{"vm", vm}, {"backupSnapshots", backups}, {"replicationSnapshots", replications}, {"current", currentJson}});
        return kExitOk;
    }
    std::printf("backup snapshots: %d\nreplication snapshots: %d\n", backups, replications);
    std::printf("current snapshot: %s\n", current ? (name + " (" + IsoTime(created) + ")").c_str() : "none");
    return kExitOk;
}

int ShowSnapshot(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string &vm = operands[0], &snapshot = operands[1];
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
    if (current ? !session.Bridge().RevertToCurrentSnapshot(vm, "") : !session.Bridge().RevertToSnapshot(vm, "", operands[1]))
        return session.Fail(vm + ": revert to " + (current ? "the current snapshot" : operands[1]));
    if (args.Json())
        PrintJson(Json{{"vm", vm}, {"revertedTo", current ? Json(nullptr) : Json(operands[1])}});
    else
        std::printf("%s: reverted to %s\n", vm.c_str(), current ? "the current snapshot" : operands[1].c_str());
    return kExitOk;
}

int RemoveSnapshot(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    bool all = args.Has("all"), old = args.Has("older-than"), one = operands.size() == 2;
    if (all + old + one != 1)
        throw UsageError("snapshot remove needs exactly one of SNAP, --all and --older-than DAYS");
    CVISDKCppBridge& bridge = session.Bridge();
    Json result{{"vm", vm}};
    std::string text;
    if (one) {
        if (!bridge.RemoveSnapshot(vm, "", operands[1]))
            return session.Fail(vm + ": remove " + operands[1]);
        result["removed"] = operands[1];
        text = "removed " + operands[1];
    } else if (all) {
        if (!bridge.RemoveSnapshots(vm, ""))
            return session.Fail(vm + ": remove all snapshots");
        result["removed"] = "all";
        text = "removed all snapshots";
    } else {
        int days = static_cast<int>(ParseNumber(args.Value("older-than"), "--older-than", 0, 100000));
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
        {"snapshot create", "VM [--name N [--description D]] [--replication] [--quiesce] [--memory]",
         "take a backup snapshot, or a named or replication one; prints its id", "name= description= replication quiesce memory",
         1, 1, CreateSnapshot},
        {"snapshot list", "VM", "count the backup and replication snapshots and name the current one", "", 1, 1, ListSnapshots},
        {"snapshot info", "VM SNAP", "show a snapshot's name, time, description, quiescing, size and file", "", 2, 2,
         ShowSnapshot},
        {"snapshot revert", "VM [SNAP]", "revert to SNAP, or to the current snapshot", "", 1, 2, RevertSnapshot},
        {"snapshot remove", "VM SNAP|--all|--older-than DAYS",
         "remove one snapshot, all of them, or backup and replication snapshots older than DAYS", "all older-than=", 1, 2,
         RemoveSnapshot},
    };
}

} // namespace visdk
