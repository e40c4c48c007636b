#include <climits>
#include <cstdio>

#include "Commands.h"
#include "JsonOutput.h"

namespace visdk {

namespace {

const char kGuestOptions[] = "guest-user= guest-password=";

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

int ListGuest(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string &vm = operands[0], &path = operands[1];
    std::vector<VMInfoStructs::SGuestFile> files;
    if (!session.Bridge().BrowseGuest(vm, "", session.GuestUser(), session.GuestPassword(), path, files))
        return session.Fail(vm + ": list " + path);
    if (args.Json()) {
        Json entries = Json::array();
        for (const VMInfoStructs::SGuestFile& file : files)
            entries.push_back(Json{{"name", file.name},
                                   {"type", file.type == 1 ? "directory" : file.type == 0 ? "file" : "other"},
                                   {"mode", file.unixMode},
                                   {"uid", file.unixUserId},
                                   {"gid", file.unixGroupId},
                                   {"size", static_cast<long long>(file.size)},
                                   {"modified", IsoTime(file.modifiedTime)}});
        PrintJson(Json{{"vm", vm}, {"path", path}, {"files", entries}});
        return kExitOk;
    }
    for (const VMInfoStructs::SGuestFile& file : files)
        std::printf("%s %5d %5d %12lld %s %s\n", ModeText(file).c_str(), file.unixUserId, file.unixGroupId,
                    static_cast<long long>(file.size), IsoTime(file.modifiedTime).c_str(), file.name.c_str());
    return kExitOk;
}

int RunInGuest(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string &vm = operands[0], &script = operands[1];
    int exitCode = -1;
    if (!session.Bridge().ExecuteScriptInGuest(vm, "", session.GuestUser(), session.GuestPassword(), script, "", "", 0, "",
                                               exitCode))
        return session.Fail(vm + ": run script");
    if (args.Json())
        PrintJson(Json{{"vm", vm}, {"exitCode", exitCode}});
    else
        std::printf("exit code: %d\n", exitCode);
    return kExitOk;
}

struct Write {
    long long disk, offset, length;
};

Write ParseWrite(const Operands& operands)
{
    return {ParseDiskKey(operands[1]), ParseNumber(operands[2], "offset", 0, LLONG_MAX), ParseNumber(operands[3], "length", 1, LLONG_MAX)};
}

void CheckWrite(const Arguments&, const Operands& operands) { ParseWrite(operands); }

int WriteInGuest(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    const Write write = ParseWrite(operands);
    const long long disk = write.disk, offset = write.offset, length = write.length;
    if (!GuestWrite(session, vm, disk, offset, length))
        return kExitFailed;
    if (args.Json())
        PrintJson(Json{{"vm", vm}, {"disk", disk}, {"device", GuestDevice(disk)}, {"offset", offset}, {"length", length}});
    else
        std::printf("%s: wrote %lld bytes at offset %lld of disk %lld (%s)\n", vm.c_str(), length, offset, disk,
                    GuestDevice(disk).c_str());
    return kExitOk;
}

} // namespace

std::vector<Command> GuestCommands()
{
    return {
        {"guest ls", "VM PATH", "list a guest folder", kGuestOptions, 2, 2, ListGuest},
        {"guest run", "VM SCRIPT", "run a shell script in the guest and print its exit code", kGuestOptions, 2, 2, RunInGuest},
        {"guest write", "VM DISK OFFSET LENGTH", "write LENGTH bytes at OFFSET of disk DISK (2000 = /dev/sda) with the guest's dd",
         kGuestOptions, 4, 4, WriteInGuest, CheckWrite},
    };
}

} // namespace visdk
