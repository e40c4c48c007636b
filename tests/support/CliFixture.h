#ifndef VISDK_TEST_CLI_FIXTURE_H
#define VISDK_TEST_CLI_FIXTURE_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CliProcess.h"

// A test of visdk runs that share one simulator state in a private folder.
namespace visdktest {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Result = CliResult;

inline std::string ReadFile(const fs::path& path) { return visdktest::ReadWholeFile(path.string()); }

inline void WriteFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("VISDK_SIM_STATE");
        char pattern[] = "/tmp/visdk-cli-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        state = (dir / "sim.state").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    Result Run(const std::vector<std::string>& args, const visdktest::EnvList& env = {})
    {
        return visdktest::RunCli(args, env, dir.string());
    }

    // Runs with the shared state and --json; the run must succeed and print exactly one JSON value.
    Json RunJson(std::vector<std::string> args, const visdktest::EnvList& env = {})
    {
        args.insert(args.end(), {"--sim-state", state, "--json"});
        return visdktest::JsonOutput(Run(args, env));
    }

    fs::path dir;
    std::string state;
};

} // namespace visdktest

#endif
