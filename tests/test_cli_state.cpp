// The simulator's state file as users share it: runs at the same time, its mode, owner and link, its content store,
// and the ways it can fail, which must end a run with an error and leave the file as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CliFixture.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Result = visdktest::CliResult;

constexpr uid_t kNobody = 65534;

using visdktest::ReadFile;

void WriteFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The CLI fixture's private folder, open to the unprivileged runs below.
class StateFileTest : public visdktest::CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        // Runs under another account must reach the files beneath.
        fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                                 fs::perms::others_exec);
    }

    Result Run(std::vector<std::string> args, const std::string& path = "")
    {
        args.insert(args.end(), {"--sim-state", path.empty() ? state : path});
        return visdktest::RunCli(args, {}, dir.string());
    }

    Json RunJson(std::vector<std::string> args)
    {
        args.push_back("--json");
        return visdktest::JsonOutput(Run(args));
    }

    // A run under an account that may not write the test's directories; as root the run drops to nobody.
    Result RunUnprivileged(const std::vector<std::string>& args, const std::string& path)
    {
        if (geteuid() != 0)
            return Run(args, path);
        std::vector<std::string> words{VISDK_CLI};
        words.insert(words.end(), args.begin(), args.end());
        words.insert(words.end(), {"--sim-state", path});
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        const std::string out = (dir / "unprivileged.out").string(), err = (dir / "unprivileged.err").string();
        pid_t pid = fork();
        if (pid == 0) {
            int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0 || setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 ||
                setuid(kNobody) != 0)
                _exit(126);
            execv(VISDK_CLI, argv.data());
            _exit(127);
        }
        Result result;
        result.status = visdktest::WaitCli(pid);
        result.out = ReadFile(out);
        result.err = ReadFile(err);
        return result;
    }
};

// Eight runs at once, each with its own change: folders on a datastore and snapshots of three VMs. Every one of
// them is there afterwards, whether the runs start without a state file or with one.
TEST_F(StateFileTest, ConcurrentRunsKeepEveryChange)
{
    const std::vector<std::string> vms{"vm-web01", "vm-app01", "vm-db01"};
    for (const std::string round : {"fresh", "shared"}) {
        std::vector<std::vector<std::string>> commands;
        for (int i = 0; i < 5; ++i)
            commands.push_back({"datastore", "mkdir", "datastore1", round + "-folder" + std::to_string(i)});
        for (const std::string& vm : vms)
            commands.push_back({"snapshot", "create", vm, "--name", round + "-" + vm});
        std::vector<pid_t> pids;
        for (size_t i = 0; i < commands.size(); ++i) {
            std::vector<std::string> args = commands[i];
            args.insert(args.end(), {"--sim-state", state});
            visdktest::CliStdio io;
            io.out = (dir / ("run" + std::to_string(i) + ".out")).string();
            io.err = (dir / ("run" + std::to_string(i) + ".err")).string();
            pids.push_back(visdktest::StartCli(args, {}, io));
        }
        for (size_t i = 0; i < pids.size(); ++i)
            EXPECT_EQ(visdktest::WaitCli(pids[i]), 0) << round << " run " << i << ": " << ReadFile(dir / ("run" + std::to_string(i) + ".err"));

        Json listing = RunJson({"datastore", "ls", "datastore1"});
        for (int i = 0; i < 5; ++i) {
            const std::string name = round + "-folder" + std::to_string(i);
            EXPECT_TRUE(std::any_of(listing["files"].begin(), listing["files"].end(), [&](const Json& f) { return f["path"] == name; }))
                << name << " is lost: " << listing.dump();
        }
        for (const std::string& vm : vms) {
            Result info = Run({"snapshot", "info", vm, round + "-" + vm});
            EXPECT_EQ(info.status, 0) << "the snapshot of " << vm << " is lost: " << info.err;
        }
    }
}

TEST_F(StateFileTest, SavingKeepsTheFilesModeOwnerAndLink)
{
    ASSERT_EQ(Run({"snapshot", "create", "vm-web01", "--name", "first"}).status, 0);
    const bool root = geteuid() == 0;
    for (mode_t mode : {0600, 0640, 0604}) {
        ASSERT_EQ(chmod(state.c_str(), mode), 0);
        if (root) {
            ASSERT_EQ(chown(state.c_str(), 4321, 4322), 0);
        }
        const std::string name = "mode" + std::to_string(mode);
        Result changed = Run({"snapshot", "create", "vm-web01", "--name", name});
        ASSERT_EQ(changed.status, 0) << changed.err;
        struct stat st {};
        ASSERT_EQ(stat(state.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        if (root) {
            EXPECT_EQ(st.st_uid, 4321u);
            EXPECT_EQ(st.st_gid, 4322u);
        }
        EXPECT_NE(ReadFile(state).find(name), std::string::npos) << "the change was not saved";
    }

    // A state reached through a link is written where the link points, and the link stays.
    fs::create_directory(dir / "real");
    fs::rename(state, dir / "real" / "target.state");
    fs::create_symlink("real/target.state", state);
    ASSERT_EQ(Run({"snapshot", "create", "vm-web01", "--name", "through-link"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(state));
    EXPECT_EQ(fs::read_symlink(state), "real/target.state");
    EXPECT_NE(ReadFile(dir / "real" / "target.state").find("through-link"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "real" / "target.state.lock"));
    EXPECT_EQ(Run({"snapshot", "info", "vm-web01", "mode384"}).status, 0) << "what was saved before the link is lost";
}

// Every way the state cannot be read or written fails the run with a message and leaves the file alone.
TEST_F(StateFileTest, UnusableStateFailsTheRunAndKeepsTheFile)
{
    ASSERT_EQ(Run({"snapshot", "create", "vm-web01", "--name", "kept"}).status, 0);
    const std::string good = ReadFile(state);
    fs::create_directory(dir / "locked");
    WriteFile(dir / "locked" / "sim.state", good);
    fs::create_directory(dir / "lockless");
    WriteFile(dir / "lockless" / "sim.state", good);
    WriteFile(dir / "lockless" / "sim.state.lock", "");
    chmod((dir / "lockless" / "sim.state.lock").c_str(), 0666);
    for (const char* sub : {"locked", "lockless"})
        chmod((dir / sub).c_str(), 0555);
    WriteFile(dir / "corrupt.state", "VISDKSIM 2 5 0000\nhello");

    struct Case {
        const char* what;
        std::string path;
        bool unprivileged;
        const char* message;
    };
    const Case cases[] = {
        {"missing directory", (dir / "missing" / "sim.state").string(), false, "its directory '" },
        {"corrupt file", (dir / "corrupt.state").string(), false, "is refused: its content does not match its checksum"},
        {"unwritable directory", (dir / "locked" / "sim.state").string(), true, "cannot open the lock file"},
        {"unwritable directory with a lock file", (dir / "lockless" / "sim.state").string(), true, "The simulator state was not saved to"},
    };
    for (const Case& c : cases) {
        const std::string before = fs::exists(c.path) ? ReadFile(c.path) : "";
        const std::vector<std::string> args{"snapshot", "create", "vm-web01", "--name", "unsaved"};
        Result result = c.unprivileged ? RunUnprivileged(args, c.path) : Run(args, c.path);
        EXPECT_NE(result.status, 0) << c.what;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
        EXPECT_EQ(fs::exists(c.path) ? ReadFile(c.path) : "", before) << c.what;
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));
    for (const auto& entry : fs::directory_iterator(dir / "lockless"))
        EXPECT_TRUE(entry.path().filename() == "sim.state" || entry.path().filename() == "sim.state.lock") << entry.path();
}

// File contents live in the store beside the state, one file each, and go when the file they belong to goes.
TEST_F(StateFileTest, ContentsLiveBesideTheStateAndLeaveWithTheirFile)
{
    std::string big(3 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 + i / 4096);
    WriteFile(dir / "big.bin", big);
    WriteFile(dir / "small.txt", "a line\n");
    // The store is as private as the state it belongs to.
    ASSERT_EQ(Run({"session"}).status, 0);
    ASSERT_EQ(chmod(state.c_str(), 0600), 0);
    ASSERT_EQ(Run({"datastore", "upload", (dir / "big.bin").string(), "datastore1", "big.bin"}).status, 0);
    ASSERT_EQ(Run({"datastore", "upload", (dir / "small.txt").string(), "datastore1", "small.txt"}).status, 0);
    ASSERT_EQ(Run({"datastore", "upload", (dir / "big.bin").string(), "datastore1", "other.bin"}).status, 0);
    // An upload over a file replaces its content, and the old one goes.
    ASSERT_EQ(Run({"datastore", "upload", (dir / "big.bin").string(), "datastore1", "other.bin"}).status, 0);

    const fs::path store = state + ".d";
    auto stored = [&] { return std::distance(fs::directory_iterator(store), fs::directory_iterator()); };
    EXPECT_LT(fs::file_size(state), 1u << 20) << "the content is inside the state file";
    ASSERT_TRUE(fs::is_directory(store));
    EXPECT_EQ(stored(), 2) << "small contents stay inline, each large one has a file";
    EXPECT_EQ(fs::status(store).permissions(), fs::perms::owner_all);
    for (const auto& entry : fs::directory_iterator(store))
        EXPECT_EQ(entry.status().permissions(), fs::perms::owner_read | fs::perms::owner_write) << entry.path();

    for (const char* name : {"big.bin", "other.bin"}) {
        ASSERT_EQ(Run({"datastore", "download", "datastore1", name, (dir / "back.bin").string()}).status, 0);
        EXPECT_EQ(ReadFile(dir / "back.bin"), big) << name;
    }
    ASSERT_EQ(Run({"datastore", "download", "datastore1", "small.txt", (dir / "back.txt").string()}).status, 0);
    EXPECT_EQ(ReadFile(dir / "back.txt"), "a line\n");

    ASSERT_EQ(Run({"datastore", "rm", "datastore1", "big.bin"}).status, 0);
    EXPECT_EQ(stored(), 1);
    ASSERT_EQ(Run({"datastore", "rm", "datastore1", "other.bin"}).status, 0);
    EXPECT_EQ(stored(), 0) << "the store keeps a content nothing names";

    // A content the state names but the store lost is a damaged state, not an empty file.
    ASSERT_EQ(Run({"datastore", "upload", (dir / "big.bin").string(), "datastore1", "again.bin"}).status, 0);
    const std::string kept = ReadFile(state);
    fs::remove(fs::directory_iterator(store)->path());
    Result refused = Run({"datastore", "ls", "datastore1"});
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("is missing from"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadFile(state), kept);
}

// Repeated backups with guest writes between them leave a state no larger than a few passes do: written areas
// combine, removed snapshots' deltas merge, and the oldest change IDs and processes are let go.
TEST_F(StateFileTest, RepeatedBackupsDoNotGrowTheState)
{
    auto records = [](const std::string& text) {
        return std::vector<size_t>{Count(text, "<write "), Count(text, "<changeId "), Count(text, "<segment "), Count(text, "<span "),
                                   Count(text, "<process ")};
    };
    const std::vector<std::string> writes{"--write", "0:4096", "--write", "2001:4096:8192"};
    auto backup = [&](const char* passes) {
        std::vector<std::string> args{"backup", "vm-db01", "--passes", passes};
        args.insert(args.end(), writes.begin(), writes.end());
        return Run(args);
    };
    ASSERT_EQ(backup("36").status, 0);
    const std::vector<size_t> settled = records(ReadFile(state));
    ASSERT_EQ(backup("10").status, 0);
    EXPECT_EQ(records(ReadFile(state)), settled) << "writes, change IDs, segments, spans, processes";

    // What the history still answers is right: a pass finds exactly what was written since the one before.
    Json last = RunJson({"backup", "vm-db01", "--passes", "2", "--write", "1048576:8192"});
    for (const Json& disk : last["passes"].back()["disks"]) {
        EXPECT_EQ(disk["mode"], "incremental") << disk.dump();
        EXPECT_EQ(disk["extents"], disk["disk"] == "2000" ? Json::parse(R"([{"offset": 1048576, "length": 8192}])") : Json::array())
            << disk.dump();
    }
}

} // namespace
