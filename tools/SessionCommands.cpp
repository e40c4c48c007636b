#include <cstdio>

#include "Commands.h"
#include "JsonOutput.h"

namespace visdk {

namespace {

// The clients refuse an account with "... lacks N required privilege(s): A, B"; the bridge hands the list over only
// with a positive answer, so it is read from that text.
std::vector<std::string> MissingFrom(const std::string& error)
{
    const std::string mark = "privilege(s): ";
    std::vector<std::string> missing;
    size_t at = error.find(mark);
    if (at == std::string::npos)
        return missing;
    std::string list = error.substr(at + mark.size());
    for (size_t start = 0; start <= list.size();) {
        size_t comma = list.find(", ", start);
        std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!name.empty())
            missing.push_back(name);
        if (comma == std::string::npos)
            break;
        start = comma + 2;
    }
    return missing;
}

int ShowSession(Session& session, const Arguments& args, const Operands&)
{
    VISDKCppBridge::CVISDKCppBridge& bridge = session.Bridge();
    bool vcenter = bridge.IsVCenterConnection();
    int version = bridge.GetConnectionVersion(), apiVersion = bridge.GetConnectionApiVersion();
    bool key = !bridge.GetSessionKey().empty(), cookie = !bridge.GetSessionCookie().empty();
    std::string thumbprint = bridge.GetCertificateThumbprint();
    std::vector<std::string> missing;
    bool held = bridge.VerifyAccountForBackup(missing) && missing.empty();
    std::string reason;
    if (!held && missing.empty()) {
        reason = session.LastError();
        missing = MissingFrom(reason);
    }

    if (args.Json()) {
        PrintJson(Json{{"server", session.Server()},
                       {"vcenter", vcenter},
                       {"connectionVersion", version},
                       {"apiVersion", apiVersion},
                       {"sessionKey", key},
                       {"sessionCookie", cookie},
                       {"certificateThumbprint", thumbprint},
                       {"backupPrivileges", held || !missing.empty() ? Json{{"held", held}, {"missing", missing}}
                                                                     : Json{{"held", held}, {"missing", missing}, {"reason", reason}}}});
        return kExitOk;
    }
    std::printf("server: %s\n", session.Server().c_str());
    std::printf("vCenter: %s\n", vcenter ? "yes" : "no");
    std::printf("connection version: %d\n", version);
    std::printf("API version: %d\n", apiVersion);
    std::printf("session key: %s\n", key ? "present" : "missing");
    std::printf("session cookie: %s\n", cookie ? "present" : "missing");
    std::printf("certificate thumbprint: %s\n", thumbprint.empty() ? "unknown" : thumbprint.c_str());
    if (held) {
        std::printf("backup privileges: ok\n");
    } else if (!missing.empty()) {
        std::string list;
        for (const std::string& privilege : missing)
            list += (list.empty() ? "" : ", ") + privilege;
        std::printf("backup privileges: missing %s\n", list.c_str());
    } else {
        std::printf("backup privileges: cannot be checked: %s\n", reason.c_str());
    }
    return kExitOk;
}

} // namespace

std::vector<Command> SessionCommands()
{
    return {{"session", "", "show the session facts (the default command)", "", 0, 0, ShowSession}};
}

} // namespace visdk
