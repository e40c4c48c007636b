// visdk: drives a vCenter or ESX host through VISDKCppBridge from the command line.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"

using namespace visdk;

int main(int argc, char** argv)
{
    std::string helpHint = "visdk --help";
    try {
        CommandLine line = ParseCommandLine(argc, argv);
        if (line.command)
            helpHint = std::string("visdk ") + line.command->words + " --help";
        if (line.help) {
            PrintHelpFor(line);
            return kExitOk;
        }
        if (line.version) {
            std::printf("visdk %s\n", VISDK_VERSION);
            return kExitOk;
        }
        if (!line.command) {
            PrintGroup(line.group);
            return kExitOk;
        }
        const Command& command = *line.command;
        if (command.check)
            command.check(line.args, line.operands);
        // The stand-in reads it when its inventory is first built, which is after the runtime starts.
        if (line.args.Has("sim-state")) {
            std::string path = line.args.Value("sim-state");
            if (path.empty())
                throw UsageError("--sim-state needs a file name");
            setenv("VISDK_SIM_STATE", path.c_str(), 1);
        }
        InstallLogSink(line.args.Has("verbose"));
        Session session(line.args);
        if (int status = session.Open())
            return status;
        return command.run(session, line.args, line.operands);
    } catch (const LoginError& error) {
        std::fprintf(stderr, "visdk: %s\n", error.what());
        return kExitUsage;
    } catch (const UsageError& error) {
        std::fprintf(stderr, "visdk: %s\n(see %s)\n", error.what(), helpHint.c_str());
        return kExitUsage;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "visdk: stopped by an unexpected failure: %s\n", error.what());
        return kExitFailed;
    }
}
