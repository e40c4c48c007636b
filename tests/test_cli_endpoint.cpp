// The visdk CLI against the test endpoint, one process per run as users run it: session facts, power checked on the
// server, the password's sources and where it must never show, the terminal prompt and the connect failures.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CliProcess.h"
#include "Endpoint.h"

using namespace visdktest;
using Json = nlohmann::json;
namespace fs = std::filesystem;

namespace {

// Reads the terminal's output until it shows `until` (everything, when empty), the terminal closes, or a minute passes.
std::string ReadScreen(int master, const std::string& until)
{
    std::string screen;
    for (;;) {
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 60000) != 1) {
            ADD_FAILURE() << "the terminal stayed silent; it showed: " << screen;
            return screen;
        }
        char buffer[4096];
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            return screen;
        screen.append(buffer, static_cast<size_t>(n));
        if (!until.empty() && screen.find(until) != std::string::npos)
            return screen;
    }
}

// A run the test started, ended if it is still there when the test leaves early.
struct Running {
    pid_t pid;
    ~Running()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            WaitCli(pid);
        }
    }
    int Wait()
    {
        int status = WaitCli(pid);
        pid = -1;
        return status;
    }
};

bool EchoOn(int master)
{
    termios mode{};
    EXPECT_EQ(tcgetattr(master, &mode), 0);
    return (mode.c_lflag & ECHO) != 0;
}

class CliEndpoint : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/visdk-cli-endpoint-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        passwordFile = PasswordFile("pw", e.password, 0600);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string PasswordFile(const std::string& name, const std::string& password, mode_t mode)
    {
        std::string path = (dir / name).string();
        std::ofstream(path) << password << "\n";
        chmod(path.c_str(), mode);
        return path;
    }

    // Every run is checked for the password in what it printed.
    CliResult Run(const std::vector<std::string>& args, const EnvList& env)
    {
        CliResult result = RunCli(args, env, dir.string());
        EXPECT_EQ(result.out.find(e.password), std::string::npos) << result.out;
        EXPECT_EQ(result.err.find(e.password), std::string::npos) << result.err;
        return result;
    }

    Json RunJson(std::vector<std::string> args, const EnvList& env)
    {
        args.push_back("--json");
        return JsonOutput(Run(args, env));
    }

    EnvList Trusted(EnvList env = {}) const
    {
        env.push_back("VISDK_TRUST_THUMBPRINT=" + e.thumbprint);
        return env;
    }
    // The endpoint's server and user from the environment; the password is for each test to give.
    EnvList Account(EnvList env = {}) const
    {
        env.insert(env.end(), {"VISDK_SERVER=" + e.url, "VISDK_USER=" + e.user});
        return Trusted(env);
    }
    EnvList LoggedIn() const { return Account({"VISDK_PASSWORD=" + e.password}); }

    const Endpoint& e = Endpoint::Get();
    fs::path dir;
    std::string passwordFile;
};

TEST_F(CliEndpoint, SessionFactsAreTheServersInTextAndJson)
{
    const std::string hostPort = e.host + ":" + e.port;
    struct Case {
        std::vector<std::string> args;
        EnvList env;
        std::string server;
    };
    const Case cases[] = {
        {{"--server", e.url, "--user", e.user}, Trusted({"VISDK_PASSWORD=" + e.password}), e.url},
        {{}, Trusted({"VISDK_SERVER=" + hostPort, "VISDK_USER=" + e.user, "VISDK_PASSWORD=" + e.password}), hostPort},
        // --server wins over VISDK_SERVER (a closed port here); -v shows the log, which must not hold the password.
        {{"-v", "--server", "https://" + hostPort, "--password-file", passwordFile},
         Trusted({"VISDK_SERVER=https://127.0.0.1:1/sdk", "VISDK_USER=" + e.user}), "https://" + hostPort},
    };
    for (const Case& c : cases) {
        Json session = RunJson(c.args, c.env);
        EXPECT_EQ(session["server"], c.server);
        EXPECT_EQ(session["vcenter"], true) << c.server;
        EXPECT_EQ(session["connectionVersion"], 6) << c.server;
        EXPECT_EQ(session["apiVersion"], 650) << c.server;
        EXPECT_EQ(session["sessionKey"], true) << c.server;
        EXPECT_EQ(session["sessionCookie"], true) << c.server;
        EXPECT_EQ(session["certificateThumbprint"], e.thumbprint) << c.server;
        EXPECT_EQ(session["backupPrivileges"], Json::parse(R"({"held": true, "missing": []})")) << c.server;
    }

    CliResult text = Run({"session"}, LoggedIn());
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("server: " + e.url + "\nvCenter: yes\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("certificate thumbprint: " + e.thumbprint + "\nbackup privileges: ok\n"), std::string::npos) << text.out;
}

TEST_F(CliEndpoint, PowerCommandsChangeTheVmOnTheServer)
{
    RawSoap server;
    // Not the VM test_vim_connection powers: the fixture's server is shared.
    const std::string vm = "DC0_C0_RP0_VM1", state = (dir / "sim.state").string();
    const std::string moref = server.Moref("VirtualMachine", vm);
    ASSERT_NE(moref, "");
    const std::string onServer = server.Property("VirtualMachine", moref, "runtime.powerState");
    ASSERT_EQ(onServer, "poweredOn");

    const std::pair<const char*, const char*> steps[] = {
        {"off", "poweredOff"}, {"on", "poweredOn"}, {"suspend", "suspended"}, {"on", "poweredOn"}, {"reset", "poweredOn"},
    };
    for (const auto& [action, expected] : steps) {
        Json done = RunJson({"vm", "power", vm, action, "--sim-state", state}, LoggedIn());
        EXPECT_EQ(done["vm"], vm);
        EXPECT_EQ(done["action"], action);
        EXPECT_EQ(server.Property("VirtualMachine", moref, "runtime.powerState"), expected) << action;
    }
    EXPECT_EQ(ReadWholeFile(state).find(e.password), std::string::npos);

    // The state the server reports already is left as it is.
    RunJson({"vm", "power", vm, "off"}, LoggedIn());
    Json again = RunJson({"vm", "power", vm, "shutdown"}, LoggedIn());
    EXPECT_EQ(again["changed"], false);
    EXPECT_EQ(again["done"], "already powered off");

    // The server's refusals fail the run with the client's text.
    const std::pair<std::vector<std::string>, std::string> failures[] = {
        {{"vm", "power", vm, "reset"}, vm + ": power off: The attempted operation cannot be performed in the current state (Powered off)."},
        {{"vm", "power", "no-such-vm", "on"}, "no-such-vm: power on: Virtual machine 'no-such-vm' was not found."},
        {{"guest", "ls", vm, "/etc"}, vm + ": list /etc: GuestFileManager:" + server.Property("GuestOperationsManager", "guestOperationsManager", "fileManager") +
                                          " does not implement: ListFilesInGuest"},
    };
    for (const auto& [args, message] : failures) {
        std::vector<std::string> json = args;
        json.push_back("--json");
        CliResult result = Run(json, LoggedIn());
        EXPECT_EQ(result.status, 1) << message;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("visdk: " + message), std::string::npos) << result.err;
    }
    RunJson({"vm", "power", vm, "on"}, LoggedIn());
    EXPECT_EQ(server.Property("VirtualMachine", moref, "runtime.powerState"), "poweredOn");
}

TEST_F(CliEndpoint, ThePasswordComesFromTheFileThenTheEnvironment)
{
    const std::string wrongFile = PasswordFile("wrong", "wrong-password", 0600), openFile = PasswordFile("open", e.password, 0640);
    const std::string loginFailed = "visdk: cannot connect to " + e.url + " as " + e.user + ": Login failure";
    struct Case {
        const char* what;
        std::vector<std::string> args;
        EnvList env;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"file", {"--password-file", passwordFile}, {}, 0, ""},
        {"environment", {}, {"VISDK_PASSWORD=" + e.password}, 0, ""},
        {"file before environment", {"--password-file", passwordFile}, {"VISDK_PASSWORD=wrong-password"}, 0, ""},
        {"file before environment, wrong", {"--password-file", wrongFile}, {"VISDK_PASSWORD=" + e.password}, 2, loginFailed},
        {"environment, wrong", {}, {"VISDK_PASSWORD=wrong-password"}, 2, loginFailed},
        {"file open to the group", {"--password-file", openFile}, {}, 2,
         "visdk: the password file '" + openFile + "' is refused: group or others have access to it (mode 0640); chmod 600 it"},
        {"none, and no terminal", {}, {}, 2,
         "visdk: no password for " + e.user + " at " + e.url +
             ": give --password-file FILE or VISDK_PASSWORD, or run on a terminal to be asked"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        CliResult result = Run(args, Account(c.env));
        EXPECT_EQ(result.status, c.status) << c.what << ": " << result.err;
        if (c.status == 0) {
            EXPECT_EQ(Json::parse(result.out)["server"], e.url) << c.what;
        } else {
            EXPECT_EQ(result.out, "") << c.what;
            EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
        }
    }
}

TEST_F(CliEndpoint, ConnectFailuresPrintTheClientsReason)
{
    const std::string untrusted = "The certificate of " + e.host + ":" + e.port + " is not trusted (SHA-1 thumbprint " + e.thumbprint +
                                  "). To trust it, set VISDK_TRUST_THUMBPRINT=" + e.thumbprint;
    const std::string password = "VISDK_PASSWORD=" + e.password, pinned = "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:00:11:22:33";
    struct Case {
        std::string server;
        EnvList env;
        std::string message;
    };
    const Case cases[] = {
        {e.url, {password}, untrusted},
        {e.url, {password, "VISDK_TRUST_THUMBPRINT=" + pinned},
         "The certificate of " + e.host + ":" + e.port + " has changed: it presents SHA-1 thumbprint " + e.thumbprint + ", but " + pinned + " is pinned"},
        {"https://127.0.0.1:1/sdk", Trusted({password}), "Unable to connect to the remote server 127.0.0.1:1"},
    };
    for (const Case& c : cases) {
        CliResult result = Run({"--json", "--server", c.server, "--user", e.user}, c.env);
        EXPECT_EQ(result.status, 2) << c.server;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("visdk: cannot connect to " + c.server + " as " + e.user + ": " + c.message), std::string::npos)
            << result.err;
    }

    // A bundle holding the certificate trusts it; the lab switch trusts anything and says so without -v.
    EXPECT_EQ(RunJson({}, {"VISDK_SERVER=" + e.url, "VISDK_USER=" + e.user, password, "VISDK_CA_BUNDLE=" + e.cert})["vcenter"], true);
    CliResult insecure = Run({}, {"VISDK_SERVER=" + e.url, "VISDK_USER=" + e.user, password, "VISDK_TLS_INSECURE=1"});
    EXPECT_EQ(insecure.status, 0) << insecure.err;
    EXPECT_NE(insecure.err.find("VISDK_TLS_INSECURE=1 is set: server certificates are not checked"), std::string::npos) << insecure.err;
}

// The prompt, through a pseudo-terminal: the typed password logs in and is never shown, and echo comes back also when
// the run is interrupted at the prompt.
TEST_F(CliEndpoint, APromptOnTheTerminalTakesThePasswordUnseen)
{
    const std::string question = "Password for " + e.user + " at " + e.url + ": ";
    auto start = [&](int& master) {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        EXPECT_GE(master, 0);
        EXPECT_EQ(grantpt(master), 0);
        EXPECT_EQ(unlockpt(master), 0);
        CliStdio io;
        io.in = io.err = ptsname(master);
        io.out = (dir / "stdout").string();
        io.terminal = true;
        return StartCli({"--json"}, Account(), io);
    };

    int master = -1;
    Running run{start(master)};
    std::string screen = ReadScreen(master, question);
    ASSERT_NE(screen.find(question), std::string::npos) << screen;
    std::string typed = e.password + "\n";
    ASSERT_EQ(write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    screen += ReadScreen(master, "");
    EXPECT_EQ(run.Wait(), 0) << screen;
    EXPECT_EQ(screen.find(e.password), std::string::npos) << "echoed: " << screen;
    std::string out = ReadWholeFile((dir / "stdout").string());
    EXPECT_EQ(out.find(e.password), std::string::npos);
    EXPECT_EQ(Json::parse(out)["certificateThumbprint"], e.thumbprint) << out;
    EXPECT_TRUE(EchoOn(master));
    close(master);

    Running interrupted{start(master)};
    ASSERT_NE(ReadScreen(master, question).find(question), std::string::npos);
    ASSERT_FALSE(EchoOn(master)) << "echo is off while the question waits";
    ASSERT_EQ(write(master, "\x03", 1), 1);  // Ctrl-C
    ReadScreen(master, "");
    EXPECT_EQ(interrupted.Wait(), 128 + SIGINT);
    EXPECT_TRUE(EchoOn(master)) << "the interrupted prompt left the terminal without echo";
    close(master);
}

// While a run is logging in, /proc shows neither its command line nor its environment holding the password. The server
// is a loopback socket that never answers, so the run waits there until it is ended.
TEST_F(CliEndpoint, ThePasswordIsNotInTheProcessTable)
{
    const std::pair<std::vector<std::string>, EnvList> sources[] = {
        {{}, {"VISDK_PASSWORD=" + e.password}},
        {{"--password-file", passwordFile}, {"VISDK_PASSWORD=" + e.password}},
    };
    for (const auto& [args, env] : sources) {
        int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(listener, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
        ASSERT_EQ(listen(listener, 4), 0);
        ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
        const std::string silent = "https://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/sdk";

        std::vector<std::string> words{"--server", silent, "--user", e.user};
        words.insert(words.end(), args.begin(), args.end());
        CliStdio io;
        io.out = (dir / "stdout").string();
        io.err = (dir / "stderr").string();
        Running run{StartCli(words, Trusted(env), io)};
        pollfd connecting{listener, POLLIN, 0};
        EXPECT_EQ(poll(&connecting, 1, 60000), 1) << "the run never reached the server: " << ReadWholeFile(io.err);
        const std::string proc = "/proc/" + std::to_string(run.pid);
        std::string commandLine = ReadWholeFile(proc + "/cmdline"), environment = ReadWholeFile(proc + "/environ");
        EXPECT_NE(commandLine.find(silent), std::string::npos) << "read another process's command line";
        EXPECT_EQ(commandLine.find(e.password), std::string::npos);
        EXPECT_EQ(environment.find(e.password), std::string::npos);
        close(listener);
    }
}

TEST_F(CliEndpoint, OvfImportLeavesTheDisksToTheServersLease)
{
    std::ofstream(dir / "cli-import.ovf") << R"(<Envelope xmlns="http://schemas.dmtf.org/ovf/envelope/1" xmlns:ovf="http://schemas.dmtf.org/ovf/envelope/1"
        xmlns:rasd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_ResourceAllocationSettingData"
        xmlns:vssd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_VirtualSystemSettingData">
      <References><File ovf:id="f1" ovf:href="cli-import-1.vmdk"/></References>
      <DiskSection><Disk ovf:diskId="d1" ovf:fileRef="f1" ovf:capacity="4" ovf:capacityAllocationUnits="byte * 2^20"/></DiskSection>
      <VirtualSystem ovf:id="cli-import"><Name>cli-import</Name><VirtualHardwareSection>
        <System><vssd:InstanceID>0</vssd:InstanceID><vssd:VirtualSystemType>vmx-13</vssd:VirtualSystemType></System>
        <Item><rasd:InstanceID>3</rasd:InstanceID><rasd:ResourceSubType>lsilogic</rasd:ResourceSubType><rasd:ResourceType>6</rasd:ResourceType></Item>
        <Item><rasd:HostResource>ovf:/disk/d1</rasd:HostResource><rasd:InstanceID>4</rasd:InstanceID><rasd:Parent>3</rasd:Parent>
          <rasd:ResourceType>17</rasd:ResourceType></Item>
      </VirtualHardwareSection></VirtualSystem></Envelope>)";
    std::ofstream(dir / "cli-import-1.vmdk") << std::string(100000, 'x');
    Json imported = RunJson({"ovf", "import", (dir / "cli-import.ovf").string(), "--datastore", "LocalDS_0"}, LoggedIn());
    RawSoap server;
    const std::string moref = server.Moref("VirtualMachine", "cli-import");
    EXPECT_NE(moref, "");
    EXPECT_EQ(imported["moref"], moref) << imported.dump();
    ASSERT_EQ(imported["uploaded"].size(), 1u) << imported.dump();
    EXPECT_EQ(imported["uploaded"][0]["file"], "cli-import-1.vmdk");
    EXPECT_EQ(imported["uploaded"][0]["to"].get<std::string>().find("https://" + e.host + ":" + e.port + "/nfc/"), 0u) << imported.dump();
    EXPECT_NE(ReadWholeFile(std::string(getenv("VISDK_TEST_ENDPOINT")) + ".log").find("/cli-import/disk-0.vmdk: transferred 100000 bytes"),
              std::string::npos)
        << "the endpoint's lease received the file";
    server.Call("Destroy_Task", "VirtualMachine", moref);
}

} // namespace
