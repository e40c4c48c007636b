#ifndef VISDK_TEST_CLI_PROCESS_H
#define VISDK_TEST_CLI_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// The visdk CLI run as its own process (VISDK_CLI names the binary), for the tests that drive it as users do.
namespace visdktest {

// "NAME=VALUE" entries for one run. The variables that pick a server, an account or a trust are dropped from the test's
// own environment first, so a developer's shell settings never leak into a run.
using EnvList = std::vector<std::string>;

struct CliStdio {
    std::string in = "/dev/null", out, err;
    // `in` is a terminal: the run gets a session of its own with it as the controlling terminal.
    bool terminal = false;
};

struct CliResult {
    int status = -1;
    std::string out, err;
};

pid_t StartCli(const std::vector<std::string>& args, const EnvList& env, const CliStdio& io);
// The exit status, or 128 + the signal that ended it.
int WaitCli(pid_t pid);
// Runs to the end with stdin /dev/null and stdout and stderr caught in files under dir.
CliResult RunCli(const std::vector<std::string>& args, const EnvList& env, const std::string& dir);

// The one JSON value a --json run printed; a failed run or other output fails the test.
nlohmann::json JsonOutput(const CliResult& result);

std::string ReadWholeFile(const std::string& path);

} // namespace visdktest

#endif
