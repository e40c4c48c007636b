#ifndef VISDK_TOOLS_COMMANDS_H
#define VISDK_TOOLS_COMMANDS_H

#include <string>
#include <vector>

#include "CliSupport.h"

namespace visdk {

using Operands = std::vector<std::string>;
using Handler = int (*)(Session&, const Arguments&, const Operands&);
// Checks the line before the runtime starts; throws UsageError.
using Checker = void (*)(const Arguments&, const Operands&);

struct Command {
    // The leading words that name it, e.g. "snapshot list".
    const char* words;
    const char* synopsis;
    const char* summary;
    // Options accepted beyond the global ones, space separated; a trailing '=' marks one that takes a value.
    const char* options;
    size_t minOperands;
    size_t maxOperands;
    Handler run;
    Checker check = nullptr;
};

// One function per family, each in its own source; visdk.cpp lists them in help order (kFamilies).
std::vector<Command> SessionCommands();
std::vector<Command> VmCommands();
std::vector<Command> DatastoreCommands();
std::vector<Command> SnapshotCommands();
std::vector<Command> BackupCommands();
std::vector<Command> GuestCommands();
std::vector<Command> InventoryCommands();
std::vector<Command> ManagementCommands();

// Every command of every family, in help order.
const std::vector<Command>& AllCommands();

} // namespace visdk

#endif
