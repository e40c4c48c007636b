#include <cstdio>

#include "Commands.h"
#include "JsonOutput.h"

namespace visdk {

namespace {

using VISDKCppBridge::CVISDKCppBridge;
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

int PowerVm(Session& session, const Arguments& args, const Operands& operands)
{
    const std::string& vm = operands[0];
    for (const PowerAction& action : kPowerActions) {
        if (operands[1] != action.name)
            continue;
        for (const PowerStep& step : action.steps)
            if (step.op && !(session.Bridge().*step.op)(vm, ""))
                return session.Fail(vm + ": " + step.what);
        if (args.Json())
            PrintJson(Json{{"vm", vm}, {"action", action.name}, {"done", action.done}});
        else
            std::printf("%s: %s\n", vm.c_str(), action.done);
        return kExitOk;
    }
    throw UsageError("power action must be on, off, suspend, shutdown or reset, not '" + operands[1] + "'");
}

} // namespace

std::vector<Command> VmCommands()
{
    return {{"vm power", "VM on|off|suspend|shutdown|reset", "change the power state; reset powers off, then on", "", 2, 2, PowerVm}};
}

} // namespace visdk
