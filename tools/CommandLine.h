#ifndef VISDK_TOOLS_COMMAND_LINE_H
#define VISDK_TOOLS_COMMAND_LINE_H

#include <string>
#include <vector>

#include "Commands.h"

namespace visdk {

// What a command line asks for: a command with its options and operands, help, the version, or a group's listing.
struct CommandLine {
    // Null for a group named alone, help or the version.
    const Command* command = nullptr;
    // The words of the deepest command or group named ("" for none).
    std::string group;
    bool help = false;
    bool version = false;
    Arguments args;
    Operands operands;
};

// The space separated words of a text, such as a command's name.
std::vector<std::string> Words(const std::string& text);

// Parses against every command's options; a malformed line throws UsageError. No command means the first one (session).
CommandLine ParseCommandLine(int argc, char** argv);

// Help for what the line named: the whole tool, one group or one command.
void PrintHelpFor(const CommandLine& line);
// The commands under a group such as "vm".
void PrintGroup(const std::string& group);

} // namespace visdk

#endif
