// The command line as users type it, the checks made before the runtime starts, snapshots named by name, standard
// input and output as files, and a backup that is interrupted or killed.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "CommandLine.h"

namespace {

using namespace visdktest;

visdk::CommandLine Parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "visdk");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    return visdk::ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, OperandsStayOperandsWhateverTheyLookLike)
{
    struct Case {
        std::vector<std::string> words;
        const char* command;
        std::vector<std::string> operands;
    };
    const Case cases[] = {
        {{"guest", "write", "vm", "2000", "-1", "4096"}, "guest write", {"vm", "2000", "-1", "4096"}},
        {{"tag", "attach", "vm", "backup", "session", "vm"}, "tag attach", {"vm", "backup", "session", "vm"}},
        {{"--json", "snapshot", "info", "vm", "--", "--json"}, "snapshot info", {"vm", "--json"}},
        {{"-v", "inventory"}, "inventory", {}},
        {{}, "session", {}},
    };
    for (const Case& c : cases) {
        visdk::CommandLine line = Parse(c.words);
        ASSERT_NE(line.command, nullptr) << c.command;
        EXPECT_STREQ(line.command->words, c.command);
        EXPECT_EQ(line.operands, c.operands) << c.command;
    }

    visdk::CommandLine line = Parse({"backup", "vm", "--write", "1:2", "--json", "--write=3:4", "--sim-state", "s", "-v"});
    EXPECT_EQ(line.args.Values("write"), (std::vector<std::string>{"1:2", "3:4"}));
    EXPECT_TRUE(line.args.Json());
    EXPECT_TRUE(line.args.Has("verbose"));
    EXPECT_EQ(line.args.Value("sim-state"), "s");
    EXPECT_EQ(Parse({"snapshot", "create", "vm", "--name", "n", "--description", "-x"}).args.Value("description"), "-x");
    EXPECT_FALSE(Parse({"guest", "run", "vm", "--", "--json"}).args.Json());
}

TEST(CommandLine, MalformedLinesAreRefusedWithTheReason)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"vm", "bogus"}, "unknown command 'vm bogus'"},
        {{"bogus", "vm"}, "unknown command 'bogus'"},
        {{"vm", "--", "info"}, "unknown command 'vm info'"},
        {{"vm", "info", "x", "--state", "y"}, "'vm info' takes no option '--state'"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"snapshot", "list"}, "usage: visdk snapshot list VM"},
        {{"snapshot", "info", "a", "b", "c"}, "usage: visdk snapshot info VM SNAP"},
        {{"--server"}, "option '--server' needs a value"},
        {{"vm", "create", "x", "--host="}, "--host needs a value"},
        {{"--password", "x"}, "--password is not taken"},
        {{"session", "--password=x"}, "--password is not taken"},
    };
    for (const auto& c : cases) {
        try {
            Parse(c.first);
            ADD_FAILURE() << "accepted: " << c.second;
        } catch (const visdk::UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(c.second), std::string::npos) << error.what();
        }
    }
}

TEST(CommandLine, EveryCommandHasHelpAndEveryGroupListsItsCommands)
{
    for (const visdk::Command& command : visdk::AllCommands()) {
        std::vector<std::string> words = visdk::Words(command.words);
        words.push_back("--help");
        visdk::CommandLine line = Parse(words);
        EXPECT_TRUE(line.help) << command.words;
        EXPECT_EQ(line.command, &command) << command.words;
        if (words.size() > 2) {
            visdk::CommandLine group = Parse({words[0]});
            EXPECT_EQ(group.command, nullptr) << words[0];
            EXPECT_EQ(group.group, words[0]);
        }
    }
    EXPECT_TRUE(Parse({"--version"}).version);
}

TEST_F(CliTest, HelpVersionAndGroupListingsNeedNoRuntime)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--version"}, "visdk " VISDK_VERSION "\n"},
        {{"vm"}, "  power VM on|off|suspend|shutdown|reset\n"},
        {{"snapshot", "tree", "--help"}, "usage: visdk snapshot tree VM\n"},
        {{"-h"}, "  snapshot tree VM\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.first;
        args.push_back("-v");
        Result result = Run(args);
        EXPECT_EQ(result.status, 0) << args[0] << ": " << result.err;
        EXPECT_NE(result.out.find(c.second), std::string::npos) << result.out;
        EXPECT_EQ(result.err, "") << args[0];
    }
}

const char kTinyOvf[] = R"(<Envelope xmlns="http://schemas.dmtf.org/ovf/envelope/1" xmlns:ovf="http://schemas.dmtf.org/ovf/envelope/1">
  <References><ovf:File ovf:id="f1" ovf:href="tiny-disk1.vmdk"/></References>
  <VirtualSystem ovf:id="tiny"><Name>tiny</Name></VirtualSystem></Envelope>)";

// -v shows the bridge's log once the runtime starts; a refused line shows none of it.
TEST_F(CliTest, UsageErrorsStopBeforeTheRuntimeStarts)
{
    WriteFile(dir / "tiny.ovf", kTinyOvf);
    const std::string d = dir.string();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"backup", "vm-web01", "--disks", "abc"}, "--disks entry (a disk key) must be a whole number, not 'abc'"},
        {{"backup", "vm-web01", "--passes", "0"}, "--passes must be between 1 and 1000"},
        {{"backup", "vm-web01", "--state", d + "/missing/ids"}, "the state file '" + d + "/missing/ids' cannot be written: there is no folder"},
        {{"backup", "vm-web01", "--state", d}, "the state file '" + d + "' is a folder"},
        {{"vm", "reconfigure", "vm-web01", "--firmware", "uefi"}, "--firmware must be bios or efi, not 'uefi'"},
        {{"vm", "reconfigure", "vm-web01", "--version", "19"}, "--version must be vmx-NN"},
        {{"vm", "create", ""}, "vm create needs a VM name"},
        {{"guest", "write", "vm-web01", "2000", "-1", "4096"}, "offset must be between 0 and"},
        {{"vm", "power", "vm-web01", "sideways"}, "power action must be on, off, suspend, shutdown or reset, not 'sideways'"},
        {{"snapshot", "remove", "vm-web01"}, "snapshot remove needs exactly one of SNAP, --all and --older-than DAYS"},
        {{"datastore", "download", "datastore1", "f", d + "/missing/f"}, "the local file '" + d + "/missing/f' cannot be written"},
        {{"datastore", "download", "datastore1", "f", "-", "--json"}, "--json and '-' both want standard output"},
        {{"datastore", "upload", d + "/absent", "datastore1", "f"}, "the local file '" + d + "/absent' cannot be read"},
        {{"datastore", "upload", "-", "datastore1", "f", "--password-file", "-"}, "standard input cannot hold both"},
        {{"ovf", "import", d + "/tiny.ovf"}, d + "/tiny.ovf: the disk file '" + d + "/tiny-disk1.vmdk' cannot be read"},
        {{"ovf", "import", d + "/tiny.ovf", "--provisioning", "sparse"}, "--provisioning must be thin, thick or eagerZeroedThick"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.first;
        args.insert(args.end(), {"-v", "--sim-state", state});
        Result result = Run(args);
        EXPECT_EQ(result.status, 2) << c.second << ": " << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("visdk: " + c.second), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("bridge debug"), std::string::npos) << c.second;
    }
    EXPECT_FALSE(fs::exists(state)) << "a refused line reached the simulator";
    Result control = Run({"snapshot", "list", "vm-web01", "-v"});
    EXPECT_EQ(control.status, 0);
    EXPECT_NE(control.err.find("bridge debug"), std::string::npos) << "-v no longer shows the runtime starting";
}

TEST_F(CliTest, SnapshotsAreNamedByIdOrByAUniqueName)
{
    std::string first = RunJson({"snapshot", "create", "vm-web01", "--name", "dup"})["snapshot"];
    std::string second = RunJson({"snapshot", "create", "vm-web01", "--name", "dup"})["snapshot"];
    for (const char* command : {"remove", "info", "revert"}) {
        Result ambiguous = Run({"snapshot", command, "vm-web01", "dup", "--sim-state", state});
        EXPECT_EQ(ambiguous.status, 2) << command;
        EXPECT_NE(ambiguous.err.find("2 snapshots are named 'dup' (" + first + ", " + second + "): name one by its id"), std::string::npos)
            << ambiguous.err;
    }
    Json listed = RunJson({"snapshot", "list", "vm-web01"});
    ASSERT_EQ(listed["snapshots"].size(), 2u) << listed.dump();
    EXPECT_EQ(listed["snapshots"][0]["id"], first);
    EXPECT_EQ(listed["snapshots"][1]["parent"], first);
    EXPECT_EQ(listed["current"]["id"], second);

    EXPECT_EQ(RunJson({"snapshot", "remove", "vm-web01", first})["removed"], first);
    EXPECT_EQ(RunJson({"snapshot", "remove", "vm-web01", "dup"})["removed"], second);

    Json info = RunJson({"snapshot", "info", "vm-db01", "Before upgrade"});
    EXPECT_EQ(info["id"], "snapshot-11");
    EXPECT_EQ(info["name"], "Before upgrade");
    Json tree = RunJson({"snapshot", "tree", "vm-db01"});
    ASSERT_EQ(tree["snapshots"].size(), 1u) << tree.dump();
    EXPECT_EQ(tree["snapshots"][0]["id"], "snapshot-11");
    EXPECT_EQ(tree["snapshots"][0]["children"][0]["id"], "snapshot-12");
    Result text = Run({"snapshot", "tree", "vm-db01", "--sim-state", state});
    EXPECT_NE(text.out.find("\n  Before upgrade (snapshot-11, 2024-05-24T09:00:00Z)\n    backup-"), std::string::npos) << text.out;
}

TEST_F(CliTest, VmCreateNamesItsMorefAndDashIsStandardInputAndOutput)
{
    Json created = RunJson({"vm", "create", "made"});
    ASSERT_TRUE(created["moref"].is_string()) << created.dump();
    Json info = RunJson({"vm", "info", created["moref"]});
    EXPECT_EQ(info["name"], "made");
    EXPECT_EQ(info["uuid"], created["uuid"]);

    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += static_cast<char>(i * 7 % 251);
    WriteFile(dir / "in.bin", bytes);
    CliStdio io;
    io.in = (dir / "in.bin").string();
    io.out = (dir / "out").string();
    io.err = (dir / "err").string();
    EXPECT_EQ(WaitCli(StartCli({"datastore", "upload", "-", "datastore1", "piped.bin", "--sim-state", state}, {}, io)), 0)
        << ReadFile(dir / "err");
    Result down = Run({"datastore", "download", "datastore1", "piped.bin", "-", "--sim-state", state});
    EXPECT_EQ(down.status, 0) << down.err;
    EXPECT_TRUE(down.out == bytes) << down.out.size() << " bytes came back";
    EXPECT_FALSE(fs::exists("-"));

    WriteFile(dir / "pw", "ReadOnly1!\n");
    io.in = (dir / "pw").string();
    EXPECT_EQ(WaitCli(StartCli({"--json", "--user", "backup-ro@vsphere.local", "--password-file", "-"}, {}, io)), 0) << ReadFile(dir / "err");
    EXPECT_EQ(Json::parse(ReadFile(dir / "out"))["backupPrivileges"]["held"], false);
}

// The process stops itself once its snapshot is taken, so each signal lands at a known step.
int WaitStopped(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, WUNTRACED) != pid || !WIFSTOPPED(status)) {
        ADD_FAILURE() << "the backup ended instead of stopping at its snapshot";
        return -1;
    }
    return 0;
}

std::vector<std::string> BackupSnapshots(const Json& listed)
{
    std::vector<std::string> ids;
    for (const Json& snapshot : listed["snapshots"])
        if (snapshot["name"].get<std::string>().rfind("backup-2", 0) == 0)
            ids.push_back(snapshot["id"]);
    return ids;
}

TEST_F(CliTest, AnInterruptedBackupRemovesItsSnapshotAndAKilledOnesIsRemovedByTheNextRun)
{
    const EnvList stopping{"VISDK_BACKUP_STOP_AFTER_SNAPSHOT=1"};
    CliStdio io;
    io.out = (dir / "out").string();
    io.err = (dir / "err").string();
    for (int signal : {SIGINT, SIGTERM}) {
        pid_t pid = StartCli({"backup", "vm-web01", "--passes", "2", "--sim-state", state}, stopping, io);
        ASSERT_EQ(WaitStopped(pid), 0);
        kill(pid, SIGCONT);
        ASSERT_EQ(WaitStopped(pid), 0);
        kill(pid, signal);
        kill(pid, SIGCONT);
        EXPECT_EQ(WaitCli(pid), 130);
        std::string err = ReadFile(io.err);
        EXPECT_NE(err.find(std::string("interrupted by ") + (signal == SIGINT ? "SIGINT" : "SIGTERM") + "; snapshot snapshot-"),
                  std::string::npos)
            << err;
        EXPECT_TRUE(BackupSnapshots(RunJson({"snapshot", "list", "vm-web01"})).empty()) << "the interrupted run left its snapshot";
        // The first pass was whole: its change ids are kept.
        EXPECT_NE(ReadFile(state + ".backup").find("vm-web01 2000 "), std::string::npos);
    }

    pid_t pid = StartCli({"backup", "vm-web01", "--sim-state", state}, stopping, io);
    ASSERT_EQ(WaitStopped(pid), 0);
    kill(pid, SIGKILL);
    EXPECT_EQ(WaitCli(pid), 128 + SIGKILL);
    std::vector<std::string> left = BackupSnapshots(RunJson({"snapshot", "list", "vm-web01"}));
    ASSERT_EQ(left.size(), 1u);
    Json next = RunJson({"backup", "vm-web01"});
    EXPECT_EQ(next["leftoversRemoved"], Json(left));
    EXPECT_TRUE(BackupSnapshots(RunJson({"snapshot", "list", "vm-web01"})).empty());
    // Snapshots a user took are no leftovers.
    RunJson({"snapshot", "create", "vm-web01"});
    EXPECT_EQ(RunJson({"backup", "vm-web01"})["leftoversRemoved"], Json::array());
    EXPECT_EQ(RunJson({"snapshot", "list", "vm-web01"})["backupSnapshots"], 1);
}

} // namespace
