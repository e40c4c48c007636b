#include "CliProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

extern char** environ;

namespace visdktest {

namespace {

const char* const kControlled[] = {"VISDK_SERVER", "VISDK_USER", "VISDK_PASSWORD", "VISDK_TRUST_THUMBPRINT", "VISDK_CA_BUNDLE",
                                   "VISDK_TLS_INSECURE"};

bool Controlled(const std::string& entry)
{
    for (const char* name : kControlled)
        if (entry.compare(0, entry.find('='), name) == 0)
            return true;
    return false;
}

} // namespace

pid_t StartCli(const std::vector<std::string>& args, const EnvList& env, const CliStdio& io)
{
    std::vector<std::string> words{VISDK_CLI}, variables;
    words.insert(words.end(), args.begin(), args.end());
    for (char** entry = environ; *entry; ++entry)
        if (!Controlled(*entry))
            variables.push_back(*entry);
    variables.insert(variables.end(), env.begin(), env.end());
    std::vector<char*> argv, envp;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session leader without a terminal takes the first one it opens as its controlling terminal.
    if (io.terminal)
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_addopen(&actions, 0, io.in.c_str(), io.terminal ? O_RDWR : O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, io.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (io.err == io.in)
        posix_spawn_file_actions_adddup2(&actions, 0, 2);
    else
        posix_spawn_file_actions_addopen(&actions, 2, io.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, VISDK_CLI, &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << VISDK_CLI;
        return -1;
    }
    return pid;
}

int WaitCli(pid_t pid)
{
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

CliResult RunCli(const std::vector<std::string>& args, const EnvList& env, const std::string& dir)
{
    CliStdio io;
    io.out = dir + "/stdout";
    io.err = dir + "/stderr";
    CliResult result;
    result.status = WaitCli(StartCli(args, env, io));
    result.out = ReadWholeFile(io.out);
    result.err = ReadWholeFile(io.err);
    return result;
}

nlohmann::json JsonOutput(const CliResult& result)
{
    EXPECT_EQ(result.status, 0) << result.err;
    try {
        return nlohmann::json::parse(result.out);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what() << "\nstdout: " << result.out;
        return nlohmann::json();
    }
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace visdktest
