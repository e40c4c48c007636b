// visdk: drives a vCenter or ESX host through VISDKCppBridge from the command line.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "Backup.h"
#include "CliSupport.h"

using namespace visdk;
using VISDKCppBridge::CVISDKCppBridge;

namespace {

using Operands = std::vector<std::string>;
using Handler = int (*)(Session&, const Arguments&, const Operands&);

struct Command {
    const char* words;
    const char* synopsis;
    const char* summary;
    // Accepted beyond the global options, space separated.
    const char* options;
    size_t minOperands;
    size_t maxOperands;
    Handler run;
};

const char kGlobalOptions[] = "server user password verbose help";

int ShowSession(Session& session, const Arguments&, const Operands&)
{
    CVISDKCppBridge& bridge = session.Bridge();
    std::string thumbprint = bridge.GetCertificateThumbprint();
    std::printf("server: %s\n", session.Server().c_str());
    std::printf("vCenter: %s\n", bridge.IsVCenterConnection() ? "yes" : "no");
    std::printf("connection version: %d\n", bridge.GetConnectionVersion());
    std::printf("API version: %d\n", bridge.GetConnectionApiVersion());
    std::printf("session key: %s\n", bridge.GetSessionKey().empty() ? "missing" : "present");
    std::printf("session cookie: %s\n", bridge.GetSessionCookie().empty() ? "missing" : "present");
    std::printf("certificate thumbprint: %s\n", thumbprint.empty() ? "unknown" : thumbprint.c_str());

    std::vector<std::string> missing;
    bool held = bridge.VerifyAccountForBackup(missing);
    if (held && missing.empty()) {
        std::printf("backup privileges: ok\n");
    } else if (!missing.empty()) {
        std::string list;
        for (const std::string& privilege : missing)
            list += (list.empty() ? "" : ", ") + privilege;
        std::printf("backup privileges: missing %s\n", list.c_str());
    } else {
        // The bridge hands the list over only with a positive answer.
        std::printf("backup privileges: not all held\n");
    }
    return kExitOk;
}

using PowerOp = int (CVISDKCppBridge::*)(const std::string&, const std::string&);

struct PowerStep {
    const char* what;
    PowerOp op;
};

struct PowerAction {
    const char* name;
    const char* done;
    PowerStep steps[2];
};

const PowerAction kPowerActions[] = {
    {"on", "powered on", {{"power on", &CVISDKCppBridge::PowerOnVM}, {nullptr, nullptr}}},
    {"off", "powered off", {{"power off", &CVISDKCppBridge::PowerOffVM}, {nullptr, nullptr}}},
    {"suspend", "suspended", {{"suspend", &CVISDKCppBridge::SuspendVM}, {nullptr, nullptr}}},
    {"shutdown", "shut down", {{"shut down", &CVISDKCppBridge::ShutdownVM}, {nullptr, nullptr}}},
    {"reset", "reset (powered off and on)",
     {{"power off", &CVISDKCppBridge::PowerOffVM}, {"power on", &CVISDKCppBridge::PowerOnVM}}},
};

int PowerVm(Session& session, const Arguments&, const Operands& operands)
{
    const std::string& vm = operands[0];
    for (const PowerAction& action : kPowerActions) {
        if (operands[1] != action.name)
            continue;
        for (const PowerStep& step : action.steps)
            if (step.op && !(session.Bridge().*step.op)(vm, ""))
                return session.Fail(vm + ": " + step.what);
        std::printf("%s: %s\n", vm.c_str(), action.done);
        return kExitOk;
    }
    throw UsageError("power action must be on, off, suspend, shutdown or reset, not '" + operands[1] + "'");
}

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
    std::printf("%s\n", id.c_str());
    return kExitOk;
}

int ListSnapshots(Session& session, const Arguments&, const Operands& operands)
{
    const std::string& vm = operands[0];
    int backups = 0, replications = 0;
    if (!session.Bridge().CountBackupSnapshots(vm, "", backups))
        return session.Fail(vm + ": count backup snapshots");
    if (!session.Bridge().CountReplicationSnapshots(vm, "", replications))
        return session.Fail(vm + ": count replication snapshots");
    std::printf("backup snapshots: %d\nreplication snapshots: %d\n", backups, replications);
    return kExitOk;
}

int ShowSnapshot(Session& session, const Arguments&, const Operands& operands)
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
    std::printf("id: %s\nname: %s\ncreated: %s\ndescription: %s\nquiesced: %s\nsize: %s (%llu bytes)\nfile: %s\n",
                snapshot.c_str(), name.c_str(), IsoTime(created).c_str(), description.c_str(), quiesced ? "yes" : "no",
                HumanBytes(size).c_str(), size, file.c_str());
    return kExitOk;
}

int RevertSnapshot(Session& session, const Arguments&, const Operands& operands)
{
    const std::string& vm = operands[0];
    if (operands.size() == 1) {
        if (!session.Bridge().RevertToCurrentSnapshot(vm, ""))
            return session.Fail(vm + ": revert to the current snapshot");
        std::printf("%s: reverted to the current snapshot\n", vm.c_str());
        return kExitOk;
    }
    if (!session.Bridge().RevertToSnapshot(vm, "", operands[1]))
        return session.Fail(vm + ": revert to " + operands[1]);
    std::printf("%s: reverted to %s\n", vm.c_str(), operands[1].c_str());
    return kExitOk;
}

int RemoveSnapshot(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    bool all = args.Has("all"), old = args.Has("older-than"), one = operands.size() == 2;
    if (all + old + one != 1)
        throw UsageError("snapshot remove needs exactly one of SNAP, --all and --older-than DAYS");
    CVISDKCppBridge& bridge = session.Bridge();
    if (one) {
        if (!bridge.RemoveSnapshot(vm, "", operands[1]))
            return session.Fail(vm + ": remove " + operands[1]);
        std::printf("%s: removed %s\n", vm.c_str(), operands[1].c_str());
    } else if (all) {
        if (!bridge.RemoveSnapshots(vm, ""))
            return session.Fail(vm + ": remove all snapshots");
        std::printf("%s: removed all snapshots\n", vm.c_str());
    } else {
        int days = static_cast<int>(ParseNumber(args.Value("older-than"), "--older-than", 0, 100000));
        if (!bridge.RemoveOldSnapshots(vm, "", days))
            return session.Fail(vm + ": remove old snapshots");
        std::printf("%s: removed backup and replication snapshots older than %d day%s\n", vm.c_str(), days, days == 1 ? "" : "s");
    }
    return kExitOk;
}

std::string ModeText(const VMInfoStructs::SGuestFile& file)
{
    std::string text = file.type == 1 ? "d" : file.type == 0 ? "-" : "?";
    for (int shift = 6; shift >= 0; shift -= 3) {
        text += (file.unixMode >> shift) & 4 ? 'r' : '-';
        text += (file.unixMode >> shift) & 2 ? 'w' : '-';
        text += (file.unixMode >> shift) & 1 ? 'x' : '-';
    }
    return text;
}

int ListGuest(Session& session, const Arguments&, const Operands& operands)
{
    const std::string &vm = operands[0], &path = operands[1];
    std::vector<VMInfoStructs::SGuestFile> files;
    if (!session.Bridge().BrowseGuest(vm, "", session.GuestUser(), session.GuestPassword(), path, files))
        return session.Fail(vm + ": list " + path);
    for (const VMInfoStructs::SGuestFile& file : files)
        std::printf("%s %5d %5d %12lld %s %s\n", ModeText(file).c_str(), file.unixUserId, file.unixGroupId,
                    static_cast<long long>(file.size), IsoTime(file.modifiedTime).c_str(), file.name.c_str());
    return kExitOk;
}

int RunInGuest(Session& session, const Arguments&, const Operands& operands)
{
    const std::string &vm = operands[0], &script = operands[1];
    int exitCode = -1;
    if (!session.Bridge().ExecuteScriptInGuest(vm, "", session.GuestUser(), session.GuestPassword(), script, "", "", 0, "",
                                               exitCode))
        return session.Fail(vm + ": run script");
    std::printf("exit code: %d\n", exitCode);
    return kExitOk;
}

int WriteInGuest(Session& session, const Arguments&, const Operands& operands)
{
    const std::string& vm = operands[0];
    long long disk = ParseDiskKey(operands[1]);
    long long offset = ParseNumber(operands[2], "offset", 0, LLONG_MAX);
    long long length = ParseNumber(operands[3], "length", 1, LLONG_MAX);
    if (!GuestWrite(session, vm, disk, offset, length))
        return kExitFailed;
    std::printf("%s: wrote %lld bytes at offset %lld of disk %lld (%s)\n", vm.c_str(), length, offset, disk,
                GuestDevice(disk).c_str());
    return kExitOk;
}

const Command kCommands[] = {
    {"session", "", "show the session facts (the default command)", "", 0, 0, ShowSession},
    {"vm power", "VM on|off|suspend|shutdown|reset", "change the power state; reset powers off, then on", "", 2, 2, PowerVm},
    {"snapshot create", "VM [--name N [--description D]] [--replication] [--quiesce] [--memory]",
     "take a backup snapshot, or a named or replication one; prints its id", "name description replication quiesce memory", 1, 1,
     CreateSnapshot},
    {"snapshot list", "VM", "count the backup and replication snapshots", "", 1, 1, ListSnapshots},
    {"snapshot info", "VM SNAP", "show a snapshot's name, time, description, quiescing, size and file", "", 2, 2, ShowSnapshot},
    {"snapshot revert", "VM [SNAP]", "revert to SNAP, or to the current snapshot", "", 1, 2, RevertSnapshot},
    {"snapshot remove", "VM SNAP|--all|--older-than DAYS",
     "remove one snapshot, all of them, or backup and replication snapshots older than DAYS", "all older-than", 1, 2,
     RemoveSnapshot},
    {"backup", "VM [--state FILE] [--write [DISK:]OFFSET:LENGTH ...] [--passes N] [--disks KEY,...]",
     "incremental backup passes (snapshot, change ids, changed areas); --write writes in the guest between passes,\n"
     "      on disk 2000 unless DISK is given",
     "state write passes disks guest-user guest-password", 1, 1, RunBackup},
    {"guest ls", "VM PATH", "list a guest folder", "guest-user guest-password", 2, 2, ListGuest},
    {"guest run", "VM SCRIPT", "run a shell script in the guest and print its exit code", "guest-user guest-password", 2, 2,
     RunInGuest},
    {"guest write", "VM DISK OFFSET LENGTH", "write LENGTH bytes at OFFSET of disk DISK (2000 = /dev/sda) with the guest's dd",
     "guest-user guest-password", 4, 4, WriteInGuest},
};

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool Contains(const std::string& list, const std::string& word)
{
    for (const std::string& entry : Words(list))
        if (entry == word)
            return true;
    return false;
}

// The command that the leading words name, and how many words that took.
const Command* FindCommand(const std::vector<std::string>& words, size_t& used)
{
    if (words.empty()) {
        used = 0;
        return &kCommands[0];
    }
    for (const Command& command : kCommands) {
        std::vector<std::string> name = Words(command.words);
        if (words.size() >= name.size() && std::equal(name.begin(), name.end(), words.begin())) {
            used = name.size();
            return &command;
        }
    }
    return nullptr;
}

void PrintHelp()
{
    std::printf("usage: visdk [--server S] [--user U] [--password P] [-v] [COMMAND ...]\n\ncommands:\n");
    for (const Command& command : kCommands)
        std::printf("  %s%s%s\n      %s\n", command.words, *command.synopsis ? " " : "", command.synopsis, command.summary);
    std::printf("\noptions:\n"
                "  --server S              vCenter or ESX host (default vcenter.sim.local)\n"
                "  --user U                login user (default administrator@vsphere.local)\n"
                "  --password P            login password (default VMware1!)\n"
                "  --guest-user U          guest account for guest commands and --write (default root)\n"
                "  --guest-password P      its password (default guestpass)\n"
                "  -v, --verbose           show the bridge's debug log on stderr\n"
                "  -h, --help              show this text\n"
                "\nexit status: 0 done, 1 the operation failed, 2 usage or connection error\n");
}

const Command& Resolve(const Arguments& args, Operands& operands)
{
    size_t used = 0;
    const Command* command = FindCommand(args.words, used);
    if (!command)
        throw UsageError("unknown command '" + args.words[0] + (args.words.size() > 1 ? " " + args.words[1] : "") + "'");
    operands.assign(args.words.begin() + static_cast<long>(used), args.words.end());
    for (const auto& option : args.options)
        if (!Contains(kGlobalOptions, option.first) && !Contains(command->options, option.first))
            throw UsageError("'" + std::string(command->words) + "' takes no option '--" + option.first + "'");
    if (operands.size() < command->minOperands || operands.size() > command->maxOperands)
        throw UsageError("usage: visdk " + std::string(command->words) + " " + command->synopsis);
    return *command;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        Arguments args = Arguments::Parse(argc, argv);
        if (args.Has("help")) {
            PrintHelp();
            return kExitOk;
        }
        Operands operands;
        const Command& command = Resolve(args, operands);
        InstallLogSink(args.Has("verbose"));
        Session session(args);
        if (int status = session.Open())
            return status;
        return command.run(session, args, operands);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "visdk: %s\n(see visdk --help)\n", error.what());
        return kExitUsage;
    }
}
