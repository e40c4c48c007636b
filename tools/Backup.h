#ifndef VISDK_TOOLS_BACKUP_H
#define VISDK_TOOLS_BACKUP_H

#include <string>
#include <vector>

#include "CliSupport.h"

namespace visdk {

// visdk backup VM [--state FILE] [--write [DISK:]OFFSET:LENGTH ...] [--passes N] [--disks KEY,...]
int RunBackup(Session& session, const Arguments& args, const std::vector<std::string>& operands);

} // namespace visdk

#endif
