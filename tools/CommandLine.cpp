#include "CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>

#include <CLI/CLI.hpp>

namespace visdk {

namespace {

const char kGlobalOptions[] = "server= user= password-file= sim-state= json verbose help version";

using Family = std::vector<Command> (*)();

// Help order; a new command file adds its family here.
const Family kFamilies[] = {SessionCommands, VmCommands, DatastoreCommands, SnapshotCommands, BackupCommands, GuestCommands,
                            InventoryCommands, ManagementCommands};

// "name= flag" as (name, takes a value) pairs.
std::vector<std::pair<std::string, bool>> Declared(const std::string& list)
{
    std::vector<std::pair<std::string, bool>> options;
    for (std::string word : Words(list)) {
        bool value = word.back() == '=';
        if (value)
            word.pop_back();
        options.emplace_back(word, value);
    }
    return options;
}

bool TakenByAnyCommand(const std::string& name)
{
    for (const Command& command : AllCommands())
        for (const auto& option : Declared(command.options))
            if (option.first == name)
                return true;
    return false;
}

// The command tree in CLI11, one app per group and command. Each level takes at most one subcommand, so an operand
// that happens to be a command's name (a tag called "backup") stays an operand.
class Grammar {
public:
    Grammar()
    {
        m_root.set_help_flag();
        m_root.allow_extras();
        m_root.fallthrough();
        m_root.require_subcommand(0, 1);
        Declare(m_root, kGlobalOptions);
        for (const Command& command : AllCommands())
            Add(command);
    }

    CommandLine Parse(int argc, char** argv)
    {
        Prescan(argc, argv);
        // Words after "--" are operands; CLI11 would end a subcommand there instead.
        int parsed = 1;
        while (parsed < argc && std::string(argv[parsed]) != "--")
            ++parsed;
        try {
            m_root.parse(parsed, argv);
        } catch (const CLI::ParseError& error) {
            std::smatch missing;
            std::string text = error.what();
            if (std::regex_match(text, missing, std::regex("(-[-\\w]+): \\d+ required .*missing")))
                throw UsageError("option '" + missing[1].str() + "' needs a value");
            throw UsageError(text);
        }
        std::vector<CLI::App*> chain{&m_root};
        while (!chain.back()->get_subcommands().empty())
            chain.push_back(chain.back()->get_subcommands().front());
        CommandLine line;
        line.group = m_words[chain.back()];
        for (CLI::App* app : chain)
            Collect(*app, line.args);
        std::vector<std::string> extra = m_root.remaining();
        auto leaf = m_commands.find(chain.back());
        if (leaf == m_commands.end() && parsed + 1 < argc)
            extra.push_back(argv[parsed + 1]);
        if (!extra.empty())
            Refuse(extra.front(), chain.back(), std::vector<std::string>(argv + 1, argv + argc));
        line.help = m_help->count() > 0;
        line.version = m_version->count() > 0;
        if (leaf != m_commands.end()) {
            line.command = leaf->second;
            line.operands = m_operandValues[chain.back()];
            line.operands.insert(line.operands.end(), argv + std::min(parsed + 1, argc), argv + argc);
        } else if (chain.size() == 1) {
            line.command = &AllCommands().front();
        }
        if (line.command && !line.help && !line.version &&
            (line.operands.size() < line.command->minOperands || line.operands.size() > line.command->maxOperands))
            throw UsageError("usage: visdk " + std::string(line.command->words) + " " + line.command->synopsis);
        return line;
    }

private:
    void Declare(CLI::App& app, const std::string& list)
    {
        for (const auto& option : Declared(list)) {
            std::string names = "--" + option.first;
            if (option.first == "verbose" || option.first == "help")
                names = std::string("-") + option.first[0] + "," + names;
            CLI::Option* declared = option.second ? app.add_option(names)->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                                                  : app.add_flag(names);
            m_names[declared] = {option.first, option.second};
            if (&app == &m_root && option.first == "help")
                m_help = declared;
            if (&app == &m_root && option.first == "version")
                m_version = declared;
        }
    }

    void Add(const Command& command)
    {
        std::vector<std::string> words = Words(command.words);
        CLI::App* at = &m_root;
        std::string path;
        for (const std::string& word : words) {
            path += (path.empty() ? "" : " ") + word;
            CLI::App* next = nullptr;
            for (CLI::App* sub : at->get_subcommands([](const CLI::App*) { return true; }))
                if (sub->get_name() == word)
                    next = sub;
            if (!next) {
                next = at->add_subcommand(word);
                m_words[next] = path;
            }
            at = next;
        }
        m_commands[at] = &command;
        m_operands[at] = at->add_option("operands", m_operandValues[at])->expected(0, CLI::detail::expected_max_vector_size);
        Declare(*at, command.options);
    }

    // What CLI11 would take quietly: an empty "--name=" would swallow the next word as its value.
    static void Prescan(int argc, char** argv)
    {
        for (int i = 1; i < argc; ++i) {
            std::string word = argv[i];
            if (word == "--")
                return;
            if (word == "--password" || word.rfind("--password=", 0) == 0)
                throw UsageError(std::string("--password is not taken, as the process list shows the command line: use ") + kPasswordSources);
            if (word.size() > 3 && word.compare(0, 2, "--") == 0 && word.back() == '=')
                throw UsageError(word.substr(0, word.size() - 1) + " needs a value");
        }
    }

    void Collect(const CLI::App& app, Arguments& args) const
    {
        for (const CLI::Option* option : app.get_options()) {
            auto name = m_names.find(option);
            if (name == m_names.end() || option->count() == 0)
                continue;
            if (!name->second.second)
                args.options.emplace(name->second.first, "");
            else
                for (const std::string& value : option->results())
                    args.options.emplace(name->second.first, value);
        }
    }

    // An unknown word after the group's own words continues them; one before stands alone.
    void Refuse(const std::string& word, CLI::App* at, const std::vector<std::string>& line) const
    {
        std::string where = m_words.at(at);
        if (word.size() < 2 || word[0] != '-') {
            std::vector<std::string> words = Words(where);
            auto group = words.empty() ? line.end() : std::find(line.begin(), line.end(), words.back());
            bool after = group != line.end() && std::find(group, line.end(), word) != line.end();
            throw UsageError("unknown command '" + (after ? where + " " + word : word) + "'");
        }
        std::string name = word.substr(word.find_first_not_of('-'));
        name = name.substr(0, name.find('='));
        if (m_commands.count(at) && TakenByAnyCommand(name))
            throw UsageError("'" + where + "' takes no option '--" + name + "'");
        if (TakenByAnyCommand(name))
            throw UsageError("option '--" + name + "' belongs to a command: give it after the command's words");
        throw UsageError("unknown option '" + word.substr(0, word.find('=')) + "'");
    }

    CLI::App m_root{"drives a vCenter or ESX host through VISDKCppBridge", "visdk"};
    std::map<const CLI::App*, std::string> m_words{{&m_root, ""}};
    std::map<const CLI::App*, const Command*> m_commands;
    std::map<const CLI::App*, CLI::Option*> m_operands;
    std::map<const CLI::App*, std::vector<std::string>> m_operandValues;
    std::map<const CLI::Option*, std::pair<std::string, bool>> m_names;
    CLI::Option* m_help = nullptr;
    CLI::Option* m_version = nullptr;
};

void PrintEntry(const Command& command, size_t skip)
{
    std::vector<std::string> words = Words(command.words);
    std::string name;
    for (size_t i = skip; i < words.size(); ++i)
        name += (name.empty() ? "" : " ") + words[i];
    std::printf("  %s%s%s\n      %s\n", name.c_str(), *command.synopsis ? " " : "", command.synopsis, command.summary);
}

bool InGroup(const Command& command, const std::string& group)
{
    std::string words = command.words;
    return group.empty() || words == group || words.rfind(group + " ", 0) == 0;
}

void PrintToolHelp()
{
    std::printf("usage: visdk [--server S] [--user U] [--password-file FILE] [--json] [--sim-state PATH] [-v] [COMMAND ...]\n\n"
                "commands (visdk COMMAND --help shows one):\n");
    for (const Command& command : AllCommands())
        PrintEntry(command, 0);
    std::printf("\noptions:\n"
                "  --server S              vCenter or ESX host: HOST, HOST:PORT or https://HOST[:PORT]/sdk\n"
                "                          (VISDK_SERVER; default the simulator's vcenter.sim.local)\n"
                "  --user U                login user (VISDK_USER; default administrator@vsphere.local)\n"
                "  --password-file FILE    read the login password from FILE's first line (- for standard input);\n"
                "                          a regular file must be private to its owner (chmod 600). Else\n"
                "                          VISDK_PASSWORD, else the simulator's own account needs none, else a\n"
                "                          prompt when stdin is a terminal\n"
                "  --guest-user U          guest account for guest commands and --write (default root)\n"
                "  --guest-password P      its password (default guestpass)\n"
                "  --json                  print one JSON object on stdout instead of text (nothing on failure)\n"
                "  --sim-state PATH        keep the simulator's inventory in PATH between runs (VISDK_SIM_STATE)\n"
                "  -v, --verbose           show the bridge's debug log on stderr\n"
                "  -h, --help              show this text\n"
                "  --version               show the version\n"
                "\ncertificate trust for a real server: VISDK_TRUST_THUMBPRINT=AA:BB:..., VISDK_CA_BUNDLE=PEM-FILE,\n"
                "or VISDK_TLS_INSECURE=1 (labs only)\n"
                "\nfile operands: '-' is standard output for downloads and standard input for uploads\n"
                "\nexit status: 0 done, 1 the operation failed, 2 usage or connection error, 130 interrupted\n");
}

void PrintCommandHelp(const Command& command)
{
    std::printf("usage: visdk %s%s%s\n\n  %s\n", command.words, *command.synopsis ? " " : "", command.synopsis, command.summary);
    std::vector<std::pair<std::string, bool>> options = Declared(command.options);
    if (!options.empty()) {
        std::printf("\noptions:");
        for (const auto& option : options)
            std::printf(" --%s%s", option.first.c_str(), option.second ? " VALUE" : "");
        std::printf("\n");
    }
    std::printf("\nglobal options (--server, --user, --password-file, --json, --sim-state, -v): see visdk --help\n");
}

} // namespace

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

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

CommandLine ParseCommandLine(int argc, char** argv)
{
    // CLI11 keeps its parse results in the apps, so each line gets a grammar of its own.
    Grammar grammar;
    return grammar.Parse(argc, argv);
}

void PrintGroup(const std::string& group)
{
    std::printf("usage: visdk %s COMMAND ...\n\ncommands of '%s' (visdk %s COMMAND --help shows one):\n", group.c_str(), group.c_str(),
                group.c_str());
    for (const Command& command : AllCommands())
        if (InGroup(command, group))
            PrintEntry(command, Words(group).size());
}

void PrintHelpFor(const CommandLine& line)
{
    if (line.group.empty())
        PrintToolHelp();
    else if (line.command)
        PrintCommandHelp(*line.command);
    else
        PrintGroup(line.group);
}

} // namespace visdk
