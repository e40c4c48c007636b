#include <cstdio>

#include "Commands.h"
#include "JsonOutput.h"

namespace visdk {

namespace {

int ShowSession(Session& session, const Arguments& args, const Operands&)
{
    VISDKCppBridge::CVISDKCppBridge& bridge = session.Bridge();
    bool vcenter = bridge.IsVCenterConnection();
    int version = bridge.GetConnectionVersion(), apiVersion = bridge.GetConnectionApiVersion();
    bool key = !bridge.GetSessionKey().empty(), cookie = !bridge.GetSessionCookie().empty();
    std::string thumbprint = bridge.GetCertificateThumbprint();
    std::vector<std::string> missing;
    bool held = bridge.VerifyAccountForBackup(missing) && missing.empty();

    if (args.Json()) {
        PrintJson(Json{{"server", session.Server()},
                       {"vcenter", vcenter},
                       {"connectionVersion", version},
                       {"apiVersion", apiVersion},
                       {"sessionKey", key},
                       {"sessionCookie", cookie},
                       {"certificateThumbprint", thumbprint},
                       {"backupPrivileges", Json{{"held", held}, {"missing", missing}}}});
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
        // The bridge hands the list over only with a positive answer.
        std::printf("backup privileges: not all held\n");
    }
    return kExitOk;
}

} // namespace

std::vector<Command> SessionCommands()
{
    return {{"session", "", "show the session facts (the default command)", "", 0, 0, ShowSession}};
}

} // namespace visdk
