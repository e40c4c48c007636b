#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "Commands.h"
#include "JsonOutput.h"
#include "Progress.h"

namespace visdk {

namespace {

const char kAllAreas[] = "*";
const size_t kListedExtents = 8;

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
    // The passes so far, as the JSON summary reports them.
    const Json& Passes() const { return m_passes; }

    void StartPass(int pass, int passes)
    {
        m_passes.push_back(Json{{"pass", pass}, {"writes", Json::array()}, {"snapshot", ""}, {"disks", Json::array()}});
        if (m_text)
            std::printf("pass %d of %d\n", pass, passes);
    }

    bool ApplyWrites(const std::vector<PlannedWrite>& writes)
    {
        for (const PlannedWrite& write : writes) {
            if (!GuestWrite(m_session, m_vm, write.disk, write.offset, write.length))
                return false;
            m_passes.back()["writes"].push_back(Json{{"disk", write.disk}, {"offset", write.offset}, {"length", write.length}});
            if (m_text)
                std::printf("  guest write: %lld bytes at offset %lld of disk %lld (%s)\n", write.length, write.offset, write.disk,
                            GuestDevice(write.disk).c_str());
        }
        return true;
    }

    int Pass()
    {
        if (!m_bridge.SetChangeTrackingEnabled(m_vm, ""))
            return m_session.Fail(m_vm + ": enable change tracking");
        std::string snapshot;
        if (!m_bridge.CreateBackupSnapshot(m_vm, "", false, false, snapshot))
            return m_session.Fail(m_vm + ": create backup snapshot");
        m_passes.back()["snapshot"] = snapshot;
        if (m_text)
            std::printf("  snapshot: %s\n", snapshot.c_str());

        std::map<std::string, std::string> taken;
        int status = ReadDisks(snapshot, taken);
        if (!m_bridge.RemoveSnapshot(m_vm, "", snapshot))
            status = m_session.Fail(m_vm + ": remove snapshot " + snapshot);
        else if (m_text)
            std::printf("  snapshot %s removed\n", snapshot.c_str());
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
            std::string changeId;
            if (!m_bridge.GetChangeIdForDisk(m_vm, "", snapshot, disk.name, changeId) || changeId.empty()) {
                changeId.clear();
                std::fprintf(stderr, "visdk: %s: disk %s: no change id in snapshot %s (%s); the next run cannot start from this one\n",
                             m_vm.c_str(), disk.name.c_str(), snapshot.c_str(), m_session.LastError().c_str());
            }
            auto previous = m_known.find(disk.name);
            std::string since = previous == m_known.end() ? kAllAreas : previous->second;
            std::vector<Extent> extents;
            if (!Walk(snapshot, disk.name, since, disk.capacity, extents)) {
                if (since == kAllAreas)
                    return m_session.Fail(m_vm + ": changed areas of disk " + disk.name);
                std::fprintf(stderr, "visdk: %s: disk %s: previous change id refused (%s); reading all allocated areas instead\n",
                             m_vm.c_str(), disk.name.c_str(), m_session.LastError().c_str());
                since = kAllAreas;
                extents.clear();
                if (!Walk(snapshot, disk.name, since, disk.capacity, extents))
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
        while (offset < capacity) {
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
        std::printf("    change id: %s\n", changeId.c_str());
    }

    Session& m_session;
    VISDKCppBridge::CVISDKCppBridge& m_bridge;
    std::string m_vm;
    std::vector<std::string> m_disks;
    std::map<std::string, std::string> m_known;
    bool m_text;
    Json m_passes = Json::array();
};

int RunBackup(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    int passes = static_cast<int>(ParseNumber(args.Value("passes", "1"), "--passes", 1, 1000));
    std::vector<PlannedWrite> writes;
    for (const std::string& text : args.Values("write"))
        writes.push_back(ParseWrite(text));
    std::vector<std::string> disks;
    if (args.Has("disks")) {
        for (const std::string& disk : Split(args.Value("disks"), ','))
            if (!disk.empty())
                disks.push_back(disk);
        if (disks.empty())
            throw UsageError("--disks needs at least one disk key");
    }
    if (!writes.empty() && passes == 1)
        std::fprintf(stderr, "visdk: --write applies between passes; with one pass nothing is written\n");

    // With a simulator state and no --state, the change ids live beside it, so that runs on one state follow each other.
    std::string idsPath = args.Value("state");
    if (idsPath.empty() && args.Has("sim-state"))
        idsPath = args.Value("sim-state") + ".backup";
    StateFile state(idsPath);
    state.Load();
    Backup backup(session, vm, disks, state.IdsOf(vm), args.Json());
    int status = kExitOk;
    for (int pass = 1; pass <= passes && status == kExitOk; ++pass) {
        backup.StartPass(pass, passes);
        if (pass > 1 && !backup.ApplyWrites(writes))
            status = kExitFailed;
        else
            status = backup.Pass();
    }
    state.SetIds(vm, backup.Known());
    if (!state.Save() && status == kExitOk)
        status = kExitFailed;
    if (status == kExitOk && args.Json())
        PrintJson(Json{{"vm", vm}, {"passes", backup.Passes()}});
    return status;
}

} // namespace

std::vector<Command> BackupCommands()
{
    return {{"backup", "VM [--state FILE] [--write [DISK:]OFFSET:LENGTH ...] [--passes N] [--disks KEY,...]",
             "incremental backup passes (snapshot, change ids, changed areas); --write writes in the guest between passes,\n"
             "      on disk 2000 unless DISK is given; --state FILE keeps the change ids between runs (default with\n"
             "      --sim-state PATH: PATH.backup)",
             "state= write= passes= disks= guest-user= guest-password=", 1, 1, RunBackup}};
}

} // namespace visdk
