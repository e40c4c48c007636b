// visdk: drives a vCenter or ESX host through VISDKCppBridge from the command line.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "CliSupport.h"
#include "Commands.h"

namespace visdk {

namespace {

const char kGlobalOptions[] = "server= user= password-file= verbose help json sim-state=";

using Family = std::vector<Command> (*)();

// Help order; a new command file adds its family here.
const Family kFamilies[] = {SessionCommands, VmCommands, DatastoreCommands, SnapshotCommands, BackupCommands, GuestCommands,
                            InventoryCommands, ManagementCommands};

} // namespace

const std::vector<Command>& AllCommands()
{
    static const std::vector<Command> commands = [] {
        std::vector<Command> all;
        for (Family family : kFamilies)
            for (const Command& command : family())
                all.push_back(command);
        return all;
    }();
    return commands;
}

} // namespace visdk

using namespace visdk;

namespace {

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool Contains(const std::vector<std::string>& list, const std::string& word)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

OptionTable KnownOptions()
{
    OptionTable table;
    AddOptions(table, kGlobalOptions);
    for (const Command& command : AllCommands())
        AddOptions(table, command.options);
    return table;
}

// The command whose words lead the command line (the longest such), and how many words that took.
const Command* FindCommand(const std::vector<std::string>& words, size_t& used)
{
    const std::vector<Command>& commands = AllCommands();
    if (words.empty()) {
        used = 0;
        return &commands.front();
    }
    const Command* found = nullptr;
    used = 0;
    for (const Command& command : commands) {
        std::vector<std::string> name = Words(command.words);
        if (words.size() >= name.size() && name.size() > used && std::equal(name.begin(), name.end(), words.begin())) {
            used = name.size();
            found = &command;
        }
    }
    return found;
}

void PrintHelp()
{
    std::printf("usage: visdk [--server S] [--user U] [--password-file FILE] [--json] [--sim-state PATH] [-v] [COMMAND ...]\n\n"
                "commands:\n");
    for (const Command& command : AllCommands())
        std::printf("  %s%s%s\n      %s\n", command.words, *command.synopsis ? " " : "", command.synopsis, command.summary);
    std::printf("\noptions:\n"
                "  --server S              vCenter or ESX host: HOST, HOST:PORT or https://HOST[:PORT]/sdk\n"
                "                          (VISDK_SERVER; default the simulator's vcenter.sim.local)\n"
                "  --user U                login user (VISDK_USER; default administrator@vsphere.local)\n"
                "  --password-file FILE    read the login password from FILE's first line; a regular file must be\n"
                "                          private to its owner (chmod 600). Else VISDK_PASSWORD, else the simulator's\n"
                "                          own account needs none, else a prompt when stdin is a terminal\n"
                "  --guest-user U          guest account for guest commands and --write (default root)\n"
                "  --guest-password P      its password (default guestpass)\n"
                "  --json                  print one JSON object on stdout instead of text (nothing on failure)\n"
                "  --sim-state PATH        keep the simulator's inventory in PATH between runs (VISDK_SIM_STATE)\n"
                "  -v, --verbose           show the bridge's debug log on stderr\n"
                "  -h, --help              show this text\n"
                "\ncertificate trust for a real server: VISDK_TRUST_THUMBPRINT=AA:BB:..., VISDK_CA_BUNDLE=PEM-FILE,\n"
                "or VISDK_TLS_INSECURE=1 (labs only)\n"
                "\nexit status: 0 done, 1 the operation failed, 2 usage or connection error\n");
}

const Command& Resolve(const Arguments& args, Operands& operands)
{
    size_t used = 0;
    const Command* command = FindCommand(args.words, used);
    if (!command)
        throw UsageError("unknown command '" + args.words[0] + (args.words.size() > 1 ? " " + args.words[1] : "") + "'");
    operands.assign(args.words.begin() + static_cast<long>(used), args.words.end());
    std::vector<std::string> global = OptionNames(kGlobalOptions), own = OptionNames(command->options);
    for (const auto& option : args.options)
        if (!Contains(global, option.first) && !Contains(own, option.first))
            throw UsageError("'" + std::string(command->words) + "' takes no option '--" + option.first + "'");
    if (operands.size() < command->minOperands || operands.size() > command->maxOperands)
        throw UsageError("usage: visdk " + std::string(command->words) + " " + command->synopsis);
    return *command;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        Arguments args = Arguments::Parse(argc, argv, KnownOptions());
        if (args.Has("help")) {
            PrintHelp();
            return kExitOk;
        }
        Operands operands;
        const Command& command = Resolve(args, operands);
        // The stand-in reads it when its inventory is first built, which is after the runtime starts.
        if (args.Has("sim-state")) {
            std::string path = args.Value("sim-state");
            if (path.empty())
                throw UsageError("--sim-state needs a file name");
            setenv("VISDK_SIM_STATE", path.c_str(), 1);
        }
        InstallLogSink(args.Has("verbose"));
        Session session(args);
        if (int status = session.Open())
            return status;
        return command.run(session, args, operands);
    } catch (const LoginError& error) {
        std::fprintf(stderr, "visdk: %s\n", error.what());
        return kExitUsage;
    } catch (const UsageError& error) {
        std::fprintf(stderr, "visdk: %s\n(see visdk --help)\n", error.what());
        return kExitUsage;
    }
}
