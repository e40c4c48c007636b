#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <utility>

#include "Commands.h"
#include "FileArguments.h"
#include "Interrupt.h"
#include "JsonOutput.h"
#include "Progress.h"
#include "SnapshotTree.h"

namespace visdk {

namespace {

const char kAllAreas[] = "*";
const size_t kListedExtents = 8;
// The name and description mark the snapshots this command takes, so a later run can tell the ones a killed run left.
const char kSnapshotDescription[] = "Backup snapshot taken by visdk backup";
const std::regex kSnapshotName("^backup-\\d{8}-\\d{6}$");
const std::regex kSnapshotOwner("process (\\d+) on ([^;]+);");
// Tests only: the process stops itself once its snapshot is taken, to be signalled at a known point.
const char kStopAfterSnapshot[] = "VISDK_BACKUP_STOP_AFTER_SNAPSHOT";

struct Extent {
    long long start;
    long long length;
};

struct PlannedWrite {
    long long disk;
    long long offset;
    long long length;
};

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.push_back("");
    return parts;
}

struct Plan {
    int passes = 1;
    std::vector<PlannedWrite> writes;
    std::vector<std::string> disks;
    // Where the change ids are kept ("" for nowhere).
    std::string idsPath;
};

PlannedWrite ParseWrite(const std::string& text)
{
    std::vector<std::string> parts = Split(text, ':');
    if (parts.size() != 2 && parts.size() != 3)
        throw UsageError("--write takes [DISK:]OFFSET:LENGTH, not '" + text + "'");
    PlannedWrite write{2000, 0, 0};
    size_t at = 0;
    if (parts.size() == 3)
        write.disk = ParseDiskKey(parts[at++]);
    write.offset = ParseNumber(parts[at++], "write offset", 0, LLONG_MAX);
    write.length = ParseNumber(parts[at], "write length", 1, LLONG_MAX);
    return write;
}

Plan ParsePlan(const Arguments& args)
{
    Plan plan;
    plan.passes = static_cast<int>(ParseNumber(args.Value("passes", "1"), "--passes", 1, 1000));
    for (const std::string& text : args.Values("write"))
        plan.writes.push_back(ParseWrite(text));
    if (args.Has("disks")) {
        for (const std::string& disk : Split(args.Value("disks"), ','))
            if (!disk.empty())
                plan.disks.push_back(std::to_string(ParseNumber(disk, "--disks entry (a disk key)", 0, INT_MAX)));
        if (plan.disks.empty())
            throw UsageError("--disks needs at least one disk key");
    }
    // With a simulator state and no --state, the change ids live beside it, so that runs on one state follow each other.
    plan.idsPath = args.Value("state");
    if (args.Has("state") && plan.idsPath.empty())
        throw UsageError("--state needs a file name");
    if (plan.idsPath.empty() && args.Has("sim-state"))
        plan.idsPath = args.Value("sim-state") + ".backup";
    return plan;
}

void CheckBackup(const Arguments& args, const Operands&)
{
    Plan plan = ParsePlan(args);
    if (!plan.idsPath.empty())
        CheckOutputPath(plan.idsPath, "the state file", true);
}

std::string HostName()
{
    char name[256] = "";
    gethostname(name, sizeof name - 1);
    return name;
}

std::string SnapshotStamp()
{
    time_t now = time(nullptr);
    struct tm parts;
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "backup-%Y%m%d-%H%M%S", &parts);
    return text;
}

// A run on this machine that still lives owns its snapshot; one elsewhere cannot be asked, and is taken as gone.
bool OwnerAlive(const std::string& description)
{
    std::smatch owner;
    if (!std::regex_search(description, owner, kSnapshotOwner) || owner[2].str() != HostName())
        return false;
    pid_t pid = static_cast<pid_t>(std::atol(owner[1].str().c_str()));
    if (pid <= 0 || pid == getpid() || (kill(pid, 0) != 0 && errno != EPERM))
        return false;
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name == "visdk";
}

// Lines of "vm disk changeId"; the change id has spaces of its own and runs to the end of the line.
class StateFile {
public:
    explicit StateFile(std::string path) : m_path(std::move(path)) {}

    void Load()
    {
        if (m_path.empty())
            return;
        std::ifstream in(m_path);
        if (!in) {
            if (access(m_path.c_str(), F_OK) == 0)
                throw UsageError("cannot read the state file '" + m_path + "'");
            return;
        }
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            if (line.empty() || line[0] == '#')
                continue;
            std::istringstream fields(line);
            std::string vm, disk, changeId;
            fields >> vm >> disk;
            std::getline(fields >> std::ws, changeId);
            if (changeId.empty()) {
                std::fprintf(stderr, "visdk: %s:%d: ignoring a line without a change id\n", m_path.c_str(), number);
                continue;
            }
            m_ids[{vm, disk}] = changeId;
        }
    }

    bool Save() const
    {
        if (m_path.empty())
            return true;
        std::string temporary = m_path + ".tmp";
        {
            std::ofstream out(temporary, std::ios::trunc);
            for (const auto& entry : m_ids)
                out << entry.first.first << ' ' << entry.first.second << ' ' << entry.second << '\n';
            if (!out.flush()) {
                std::fprintf(stderr, "visdk: cannot write the state file '%s'\n", temporary.c_str());
                return false;
            }
        }
        if (std::rename(temporary.c_str(), m_path.c_str()) != 0) {
            std::perror(("visdk: cannot replace the state file '" + m_path + "'").c_str());
            return false;
        }
        return true;
    }

    std::map<std::string, std::string> IdsOf(const std::string& vm) const
    {
        std::map<std::string, std::string> ids;
        for (const auto& entry : m_ids)
            if (entry.first.first == vm)
                ids[entry.first.second] = entry.second;
        return ids;
    }

    void SetIds(const std::string& vm, const std::map<std::string, std::string>& ids)
    {
        for (const auto& entry : ids)
            m_ids[{vm, entry.first}] = entry.second;
    }

private:
    std::string m_path;
    std::map<std::pair<std::string, std::string>, std::string> m_ids;
};

class Backup {
public:
    Backup(Session& session, std::string vm, std::vector<std::string> disks, std::map<std::string, std::string> known, bool json)
        : m_session(session), m_bridge(session.Bridge()), m_vm(std::move(vm)), m_disks(std::move(disks)), m_known(std::move(known)),
          m_text(!json)
    {
    }

    const std::map<std::string, std::string>& Known() const { return m_known; }
    const Json& Removed() const { return m_removed; }

    // Removes the snapshots that earlier runs, killed before they could, left on the VM.
    int RemoveLeftovers()
    {
        std::vector<SnapshotEntry> snapshots;
        if (!ReadSnapshots(m_bridge, m_vm, snapshots))
            return m_session.Fail(m_vm + ": snapshots");
        for (const SnapshotEntry& entry : snapshots) {
            const VMInfoStructs::SSnapshot& snapshot = entry.snapshot;
            if (!std::regex_match(snapshot.strName, kSnapshotName) || snapshot.strDescription.rfind(kSnapshotDescription, 0) != 0)
                continue;
            if (OwnerAlive(snapshot.strDescription)) {
                std::fprintf(stderr, "visdk: %s: snapshot %s belongs to a backup still running (%s); left alone\n", m_vm.c_str(),
                             snapshot.strMoRef.c_str(), snapshot.strDescription.c_str());
                continue;
            }
            if (!m_bridge.RemoveSnapshot(m_vm, "", snapshot.strMoRef))
                return m_session.Fail(m_vm + ": remove snapshot " + snapshot.strMoRef + " left by an interrupted backup");
            m_removed.push_back(snapshot.strMoRef);
            std::fprintf(stderr, "visdk: %s: removed snapshot %s (%s) left by an interrupted backup\n", m_vm.c_str(),
                         snapshot.strMoRef.c_str(), snapshot.strName.c_str());
        }
        return kExitOk;
    }
    // The passes so far, as the JSON summary reports them.
    const Json& Passes() const { return m_passes; }

    void StartPass(int pass, int passes)
    {
        m_passes.push_back(Json{{"pass", pass}, {"writes", Json::array()}, {"snapshot", ""}, {"disks", Json::array()}});
        Say("pass %d of %d\n", pass, passes);
    }

    bool Interrupted() const { return InterruptGuard::Signal() != 0; }

    bool ApplyWrites(const std::vector<PlannedWrite>& writes)
    {
        for (const PlannedWrite& write : writes) {
            if (Interrupted() || !GuestWrite(m_session, m_vm, write.disk, write.offset, write.length))
                return false;
            m_passes.back()["writes"].push_back(Json{{"disk", write.disk}, {"offset", write.offset}, {"length", write.length}});
            Say("  guest write: %lld bytes at offset %lld of disk %lld (%s)\n", write.length, write.offset, write.disk,
                GuestDevice(write.disk).c_str());
        }
        return true;
    }

    int Pass()
    {
        if (!m_bridge.SetChangeTrackingEnabled(m_vm, ""))
            return m_session.Fail(m_vm + ": enable change tracking");
        if (Interrupted())
            return kExitInterrupted;
        std::string snapshot;
        std::string description = std::string(kSnapshotDescription) + ", process " + std::to_string(getpid()) + " on " + HostName() +
                                  "; removed when the run ends";
        if (!m_bridge.CreateSnapshotWithName(m_vm, "", SnapshotStamp(), description, false, false, snapshot))
            return m_session.Fail(m_vm + ": create backup snapshot");
        m_passes.back()["snapshot"] = snapshot;
        Say("  snapshot: %s\n", snapshot.c_str());
        const char* stop = std::getenv(kStopAfterSnapshot);
        if (stop && *stop == '1')
            raise(SIGSTOP);

        std::map<std::string, std::string> taken;
        int status = Interrupted() ? kExitInterrupted : ReadDisks(snapshot, taken);
        if (!m_bridge.RemoveSnapshot(m_vm, "", snapshot))
            status = m_session.Fail(m_vm + ": remove snapshot " + snapshot);
        else if (status == kExitInterrupted)
            std::fprintf(stderr, "visdk: %s: interrupted by %s; snapshot %s removed\n", m_vm.c_str(),
                         InterruptGuard::Name(InterruptGuard::Signal()), snapshot.c_str());
        else
            Say("  snapshot %s removed\n", snapshot.c_str());
        for (const auto& entry : taken)
            m_known[entry.first] = entry.second;
        return status;
    }

private:
    struct DiskToRead {
        std::string name;
        long long capacity;
    };

    // The snapshot's disks and their sizes from its VM record: every disk, or those --disks names by key, label or file.
    int Disks(const std::string& snapshot, std::vector<DiskToRead>& disks)
    {
        VMInfoStructs::SVMInfo info;
        std::string at = snapshot;
        if (!m_bridge.GetVMInfoForVMSnapshot(m_vm, "", VM_PROP_VM_DISK_LIST, 0, at, info))
            return m_session.Fail(m_vm + ": disks of snapshot " + snapshot);
        if (m_disks.empty())
            for (const VMInfoStructs::SDisk& disk : info.diskList)
                disks.push_back({std::to_string(disk.nDeviceKey), disk.llMaxSizeInBytes});
        for (const std::string& name : m_disks) {
            auto found = std::find_if(info.diskList.begin(), info.diskList.end(), [&](const VMInfoStructs::SDisk& disk) {
                return std::to_string(disk.nDeviceKey) == name || disk.strLabel == name || disk.strFileName == name;
            });
            if (found == info.diskList.end()) {
                std::fprintf(stderr, "visdk: %s: snapshot %s has no disk %s\n", m_vm.c_str(), snapshot.c_str(), name.c_str());
                return kExitFailed;
            }
            disks.push_back({name, found->llMaxSizeInBytes});
        }
        if (disks.empty()) {
            std::fprintf(stderr, "visdk: %s: snapshot %s has no disks\n", m_vm.c_str(), snapshot.c_str());
            return kExitFailed;
        }
        return kExitOk;
    }

    // A disk without a change id is still read; the next run then starts from the id kept before (or reads it whole).
    int ReadDisks(const std::string& snapshot, std::map<std::string, std::string>& taken)
    {
        std::vector<DiskToRead> disks;
        if (int status = Disks(snapshot, disks))
            return status;
        for (const DiskToRead& disk : disks) {
            if (Interrupted())
                return kExitInterrupted;
            std::string changeId;
            if (!m_bridge.GetChangeIdForDisk(m_vm, "", snapshot, disk.name, changeId) || changeId.empty()) {
                changeId.clear();
                std::fprintf(stderr, "visdk: %s: disk %s: no change id in snapshot %s (%s); the next run cannot start from this one\n",
                             m_vm.c_str(), disk.name.c_str(), snapshot.c_str(), m_session.LastError().c_str());
            }
            auto previous = m_known.find(disk.name);
            std::string since = previous == m_known.end() ? kAllAreas : previous->second;
            std::vector<Extent> extents;
            bool walked = Walk(snapshot, disk.name, since, disk.capacity, extents);
            if (Interrupted())
                return kExitInterrupted;
            if (!walked) {
                if (since == kAllAreas)
                    return m_session.Fail(m_vm + ": changed areas of disk " + disk.name);
                std::fprintf(stderr, "visdk: %s: disk %s: previous change id refused (%s); reading all allocated areas instead\n",
                             m_vm.c_str(), disk.name.c_str(), m_session.LastError().c_str());
                since = kAllAreas;
                extents.clear();
                walked = Walk(snapshot, disk.name, since, disk.capacity, extents);
                if (Interrupted())
                    return kExitInterrupted;
                if (!walked)
                    return m_session.Fail(m_vm + ": changed areas of disk " + disk.name);
            }
            Report(disk.name, since == kAllAreas, extents, changeId);
            if (!changeId.empty())
                taken[disk.name] = changeId;
        }
        return kExitOk;
    }

    // One answer covers one window; the next call starts where that window ends.
    bool Walk(const std::string& snapshot, const std::string& disk, const std::string& since, long long capacity,
              std::vector<Extent>& extents)
    {
        Progress progress(m_vm + " disk " + disk, capacity);
        long long offset = 0;
        while (offset < capacity && !Interrupted()) {
            VMInfoStructs::SDiskChangeInfo answer;
            if (!m_bridge.QueryChangedDiskAreas(m_vm, "", snapshot, disk, offset, since, answer))
                return false;
            for (const VMInfoStructs::SDiskChangeExtent& area : answer.changedAreaList) {
                if (!extents.empty() && extents.back().start + extents.back().length == area.llStart)
                    extents.back().length += area.llLength;
                else
                    extents.push_back({area.llStart, area.llLength});
            }
            long long next = answer.llStartOffset + answer.llLength;
            if (answer.llLength <= 0 || next <= offset) {
                std::fprintf(stderr, "visdk: %s: disk %s: the answer at offset %lld covers nothing; %lld of %lld bytes walked\n",
                             m_vm.c_str(), disk.c_str(), offset, offset, capacity);
                break;
            }
            offset = next;
            progress.Update(offset);
        }
        return true;
    }

    void Report(const std::string& disk, bool full, const std::vector<Extent>& extents, const std::string& changeId)
    {
        unsigned long long bytes = 0;
        Json areas = Json::array();
        for (const Extent& extent : extents) {
            bytes += static_cast<unsigned long long>(extent.length);
            areas.push_back(Json{{"offset", extent.start}, {"length", extent.length}});
        }
        m_passes.back()["disks"].push_back(Json{{"disk", disk},
                                                {"mode", full ? "full" : "incremental"},
                                                {"extentCount", extents.size()},
                                                {"bytes", bytes},
                                                {"extents", areas},
                                                {"changeId", changeId}});
        if (!m_text)
            return;
        std::printf("  disk %s: %s, %zu extent%s, %s", disk.c_str(), full ? "full" : "incremental", extents.size(),
                    extents.size() == 1 ? "" : "s", HumanBytes(bytes).c_str());
        if (bytes >= 1024)
            std::printf(" (%llu bytes)", bytes);
        std::printf("\n");
        for (size_t i = 0; i < extents.size() && i < kListedExtents; ++i)
            std::printf("    offset %lld, %lld bytes\n", extents[i].start, extents[i].length);
        if (extents.size() > kListedExtents)
            std::printf("    ... and %zu more\n", extents.size() - kListedExtents);
        Say("    change id: %s\n", changeId.c_str());
    }

    // Text progress, flushed line by line so that a pipe or a log shows how far a long run got.
    template <typename... Values>
    void Say(const char* format, Values... values) const
    {
        if (!m_text)
            return;
        std::printf(format, values...);
        std::fflush(stdout);
    }

    Session& m_session;
    VISDKCppBridge::CVISDKCppBridge& m_bridge;
    std::string m_vm;
    std::vector<std::string> m_disks;
    std::map<std::string, std::string> m_known;
    bool m_text;
    Json m_passes = Json::array();
    Json m_removed = Json::array();
};

int RunBackup(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    Plan plan = ParsePlan(args);
    if (!plan.writes.empty() && plan.passes == 1)
        std::fprintf(stderr, "visdk: --write applies between passes; with one pass nothing is written\n");

    StateFile state(plan.idsPath);
    state.Load();
    InterruptGuard interrupt;
    Backup backup(session, vm, plan.disks, state.IdsOf(vm), args.Json());
    int status = backup.RemoveLeftovers();
    for (int pass = 1; pass <= plan.passes && status == kExitOk; ++pass) {
        if (backup.Interrupted()) {
            status = kExitInterrupted;
            break;
        }
        backup.StartPass(pass, plan.passes);
        if (pass > 1 && !backup.ApplyWrites(plan.writes))
            status = backup.Interrupted() ? kExitInterrupted : kExitFailed;
        else
            status = backup.Pass();
    }
    // The change ids of every disk read whole are kept, also when a later step failed or was interrupted.
    state.SetIds(vm, backup.Known());
    if (!state.Save() && status == kExitOk)
        status = kExitFailed;
    if (status == kExitInterrupted)
        std::fprintf(stderr, "visdk: %s: backup interrupted by %s; the change ids of the disks read whole are kept\n", vm.c_str(),
                     InterruptGuard::Name(InterruptGuard::Signal()));
    if (status == kExitOk && args.Json())
        PrintJson(Json{{"vm", vm}, {"leftoversRemoved", backup.Removed()}, {"passes", backup.Passes()}});
    return status;
}

} // namespace

std::vector<Command> BackupCommands()
{
    return {{"backup", "VM [--state FILE] [--write [DISK:]OFFSET:LENGTH ...] [--passes N] [--disks KEY,...]",
             "incremental backup passes (snapshot, change ids, changed areas); --write writes in the guest between passes,\n"
             "      on disk 2000 unless DISK is given; --state FILE keeps the change ids between runs (default with\n"
             "      --sim-state PATH: PATH.backup). Ctrl-C removes the snapshot and exits 130; a run removes the\n"
             "      snapshots a killed run left",
             "state= write= passes= disks= guest-user= guest-password=", 1, 1, RunBackup, CheckBackup}};
}

} // namespace visdk
