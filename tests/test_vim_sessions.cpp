// A session the server forgets, an answer the connection loses, a server that echoes a password: the web-services
// client logs in again where that is safe, never sends a task-starting request twice, and keeps the password to itself.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "CannedVCenter.h"
#include "LocalFiles.h"
#include "TestSupport.h"

using namespace visdktest;
using Request = Responder::Request;
using Reply = Responder::Reply;

namespace {

const std::string kVm = CannedVCenter::Object("VirtualMachine", "vm-1", "web", {{"runtime.powerState", "<val xsi:type=\"VirtualMachinePowerState\">poweredOff</val>"}});

// The time as xsd:dateTime with milliseconds, as a server gives it.
std::string Now(int offsetSeconds = 0)
{
    auto now = std::chrono::system_clock::now() + std::chrono::seconds(offsetSeconds);
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    long ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", std::gmtime(&t));
    return std::string(text) + "." + std::to_string(1000 + ms).substr(1) + "Z";
}

std::string TaskInfo(const std::string& task, const std::string& entity, const std::string& name, const std::string& queued)
{
    return "<objects><obj type=\"Task\">" + task + "</obj><propSet><name>info</name><val xsi:type=\"TaskInfo\"><key>" + task + "</key><task type=\"Task\">" +
           task + "</task><name>" + name + "</name><descriptionId>VirtualMachine.powerOn</descriptionId><entity type=\"VirtualMachine\">" +
           entity + "</entity><state>success</state><queueTime>" + queued + "</queueTime></val></propSet></objects>";
}

// Answers what the task lookup asks: the server's time, its recent tasks and their infos.
bool AnswerTaskLookup(const Request& request, Reply& reply, const std::vector<std::string>& tasks)
{
    if (request.soapMethod == "CurrentTime") {
        reply.body = Responder::Response("CurrentTime", "<returnval>" + Now() + "</returnval>");
        return true;
    }
    if (request.soapMethod != "RetrievePropertiesEx")
        return false;
    if (request.body.find("<type>TaskManager</type>") != std::string::npos) {
        std::string refs;
        for (const std::string& task : tasks)
            refs += "<ManagedObjectReference type=\"Task\">" + task.substr(task.find("<key>") + 5, task.find("</key>") - task.find("<key>") - 5) +
                    "</ManagedObjectReference>";
        reply.body = Responder::Response("RetrievePropertiesEx", "<returnval><objects><obj type=\"TaskManager\">TaskManager</obj><propSet><name>recentTask"
                                                                 "</name><val xsi:type=\"ArrayOfManagedObjectReference\">" +
                                                                     refs + "</val></propSet></objects></returnval>");
        return true;
    }
    if (request.body.find("<type>Task</type>") != std::string::npos) {
        std::string all;
        for (const std::string& task : tasks)
            all += task;
        reply.body = Responder::Response("RetrievePropertiesEx", "<returnval>" + all + "</returnval>");
        return true;
    }
    return false;
}

TEST(VimLostAnswers, ATaskStartedWhoseAnswerIsLostIsFoundAndNeverSentAgain)
{
    // A recent task: its id, its VM, and whether it was queued an hour before the request came (else as it came).
    struct Recent {
        std::string task, vm;
        bool older = false;
    };
    struct Case {
        const char* what;
        std::vector<Recent> recent;
        int result;
        std::string error;
    };
    const Case cases[] = {
        {"the server started it", {{"task-9", "vm-1"}}, 1, ""},
        {"the server started nothing", {}, 0, "; no task for PowerOnVM_Task is among the server's recent tasks, and it was not sent again"},
        {"only an older task", {{"task-2", "vm-1", true}}, 0, "is among the server's recent tasks"},
        {"only another VM's task", {{"task-3", "vm-2"}}, 0, "is among the server's recent tasks"},
        {"two that could be it", {{"task-4", "vm-1"}, {"task-5", "vm-1"}}, 0,
         "; whether the server started PowerOnVM_Task could not be found out: 2 recent tasks (task-4, task-5) could be it"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> tasks;
        bool lost = false;
        CannedVCenter server({kVm}, [&](const Request& request, Reply& reply) {
            if (request.soapMethod == "PowerOnVM_Task") {
                lost = true;
                for (const Recent& r : c.recent)
                    tasks.push_back(TaskInfo(r.task, r.vm, "PowerOnVM_Task", Now(r.older ? -3600 : 0)));
                reply.closeInstead = true;
                return true;
            }
            return lost && AnswerTaskLookup(request, reply, tasks);
        });
        auto bridge = server.Connect();
        EXPECT_EQ(bridge->PowerOnVM("web", ""), c.result) << c.what << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(server.Bodies("PowerOnVM_Task").size(), 1u) << c.what << ": the request went out once";
        if (!c.error.empty()) {
            std::string error = bridge->GetLastErrorString();
            EXPECT_EQ(error.rfind("The connection to " + server.Authority() + " failed", 0), 0u) << c.what << ": " << error;
            EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
        }
    }
}

TEST(VimLostAnswers, AReadWhoseConnectionBreaksGoesOnceMore)
{
    for (int breaks : {1, 2}) {
        int broken = 0;
        CannedVCenter server({kVm}, [&](const Request& request, Reply& reply) {
            if (request.soapMethod == "RetrievePropertiesEx" && broken < breaks) {
                ++broken;
                reply.closeInstead = true;
                return true;
            }
            return false;
        });
        auto bridge = server.Connect();
        EXPECT_EQ(bridge->PowerOnVM("web", ""), breaks == 1 ? 1 : 0) << breaks << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(server.Bodies("PowerOnVM_Task").size(), breaks == 1 ? 1u : 0u) << breaks;
        if (breaks == 2) {
            EXPECT_EQ(bridge->GetLastErrorString().rfind("The connection to " + server.Authority() + " failed", 0), 0u) << bridge->GetLastErrorString();
        }
    }
}

TEST(VimExpiredSessions, AForgottenSessionIsMadeAnewAndTheRefusedRequestRepeated)
{
    // The first time the method comes, the server has forgotten the session.
    struct Case {
        const char* what;
        std::string forgetsAt;
        int logins;
    };
    const Case cases[] = {
        {"a read", "RetrievePropertiesEx", 2},
        {"a task-starting request, which the server refused", "PowerOnVM_Task", 2},
    };
    for (const Case& c : cases) {
        bool forgot = false;
        CannedVCenter server({kVm}, [&](const Request& request, Reply& reply) {
            if (request.soapMethod == c.forgetsAt && !forgot && request.body.find("<type>TaskManager</type>") == std::string::npos) {
                forgot = true;
                reply.status = 500, reply.body = Responder::Fault("NotAuthenticated", "The session is not authenticated.");
                return true;
            }
            return false;
        });
        auto bridge = server.Connect();
        LogCapture log;
        EXPECT_EQ(bridge->PowerOnVM("web", ""), 1) << c.what << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(server.Bodies("Login").size(), static_cast<size_t>(c.logins)) << c.what;
        EXPECT_TRUE(log.Errors().empty()) << log.Dump();
        // The new session serves the next calls too.
        EXPECT_EQ(bridge->PowerOnVM("web", ""), 1) << c.what;
        EXPECT_EQ(server.Bodies("Login").size(), static_cast<size_t>(c.logins)) << c.what;
    }
}

TEST(VimExpiredSessions, ALoginRefusedOnTheWayBackFailsTheCallAndIsNotRepeated)
{
    int logins = 0;
    CannedVCenter server({kVm}, [&](const Request& request, Reply& reply) {
        if (request.soapMethod == "Login" && ++logins > 1) {
            reply.status = 500, reply.body = Responder::Fault("InvalidLogin", "");
            return true;
        }
        if (request.soapMethod == "RetrievePropertiesEx") {
            reply.status = 500, reply.body = Responder::Fault("NotAuthenticated", "The session is not authenticated.");
            return true;
        }
        return false;
    });
    auto bridge = server.Connect();
    EXPECT_EQ(bridge->PowerOnVM("web", ""), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The session on " + server.Authority() +
                                                " has ended, and logging in again was refused: Cannot complete login due to an incorrect user name or password.");
    EXPECT_EQ(bridge->PowerOnVM("web", ""), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The session is not authenticated.") << "the refused credentials are dropped";
    EXPECT_EQ(logins, 2);
    EXPECT_EQ(server.Bodies("PowerOnVM_Task").size(), 0u);
}

TEST(VimSecrets, APasswordTheServerEchoesGoesNoFurther)
{
    const std::string password = "S3cret-Echo!";
    CannedVCenter server({kVm}, [&](const Request& request, Reply& reply) {
        if (request.soapMethod == "Login") {
            reply.status = 500, reply.body = Responder::Fault("InvalidLogin", "no user with password " + password);
            return true;
        }
        return false;
    });
    LogCapture log;
    Bridge();
    VISDKCppBridge::CVISDKCppBridge bridge;
    std::string url = server.responder.Url(), vm;
    ASSERT_EQ(bridge.SetVMFocus(url, vm, 0), 1);
    EXPECT_EQ(bridge.Connect(url, "tester", password), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "no user with password ********");
    // One the request cannot carry is refused without being shown.
    EXPECT_EQ(bridge.Connect(url, "tester", password + "\x01"), 0);
    EXPECT_EQ(bridge.GetLastErrorString(), "A specified parameter was not correct: the password holds a character the request cannot carry");
    EXPECT_EQ(log.Dump().find(password), std::string::npos) << log.Dump();
}

} // namespace

namespace {

// openssl's test server on a free loopback port, speaking only the given protocol version, until destroyed.
class OldTlsServer {
public:
    OldTlsServer(const std::string& dir, const std::string& protocol)
    {
        std::string cert = dir + "/cert.pem", key = dir + "/key.pem";
        std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -keyout " + key + " -out " + cert + " -days 2 -subj /CN=127.0.0.1 2>/dev/null";
        if (access(cert.c_str(), R_OK) != 0 && std::system(make.c_str()) != 0)
            ADD_FAILURE() << "openssl could not make a certificate";
        int probe = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(probe, reinterpret_cast<sockaddr*>(&address), size);
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
        close(probe);
        std::string accept = "127.0.0.1:" + std::to_string(port);
        m_pid = fork();
        if (m_pid == 0) {
            int quiet = open("/dev/null", O_RDWR);
            dup2(quiet, 0), dup2(quiet, 1), dup2(quiet, 2);
            execlp("openssl", "openssl", "s_server", "-accept", accept.c_str(), "-cert", cert.c_str(), "-key", key.c_str(), protocol.c_str(),
                   "-cipher", "DEFAULT@SECLEVEL=0", "-www", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100; ++i) {
            int s = socket(AF_INET, SOCK_STREAM, 0);
            bool up = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            close(s);
            if (up)
                break;
            usleep(50000);
        }
    }
    ~OldTlsServer()
    {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    int port = 0;

private:
    pid_t m_pid = -1;
};

TEST(VimTls, OnlyTls12AndLaterAreSpoken)
{
    TempDir dir;
    // Trust is not the question here: the protocol is.
    setenv("VISDK_TLS_INSECURE", "1", 1);
    struct Case {
        const char* protocol;
        std::string error;
    };
    const Case cases[] = {
        {"-tls1", "The secure connection to 127.0.0.1:"},
        {"-tls1_1", "The secure connection to 127.0.0.1:"},
        // Past the handshake, openssl's page server leaves a POST unanswered.
        {"-tls1_2", "The server 127.0.0.1:"},
    };
    for (const Case& c : cases) {
        OldTlsServer server(dir.Path().string(), c.protocol);
        Bridge();
        VISDKCppBridge::CVISDKCppBridge bridge;
        std::string url = "https://127.0.0.1:" + std::to_string(server.port) + "/sdk", vm;
        ASSERT_EQ(bridge.SetVMFocus(url, vm, 0), 1);
        EXPECT_EQ(bridge.Connect(url, "tester", "pw"), 0) << c.protocol;
        EXPECT_EQ(bridge.GetLastErrorString().rfind(c.error, 0), 0u) << c.protocol << ": " << bridge.GetLastErrorString();
    }
    unsetenv("VISDK_TLS_INSECURE");
}

} // namespace

namespace {

TEST(VimBadValues, AValueOfTheWrongKindIsSkippedAndLogged)
{
    const std::string summary = "<val xsi:type=\"DatastoreSummary\"><name>ds1</name><capacity>lots</capacity><freeSpace>99999999999999999999</freeSpace>"
                                "<accessible>perhaps</accessible><type>VMFS</type></val>";
    const std::string info = "<val xsi:type=\"VmfsDatastoreInfo\"><name>ds1</name><vmfs><blockSizeMb>4294967296</blockSizeMb><uuid>u-1</uuid></vmfs></val>";
    CannedVCenter server({CannedVCenter::Object("Datastore", "ds-1", "ds1", {{"summary", summary}, {"info", info}})}, nullptr);
    auto bridge = server.Connect();
    LogCapture log;
    std::vector<VMInfoStructs::SDatastoreInfo> datastores;
    ASSERT_EQ(bridge->GetDSInfoList(datastores, 0, 0), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(datastores.size(), 1u);
    EXPECT_EQ(datastores[0].strDataStoreName, "ds1") << "the rest of the record stands";
    EXPECT_EQ(datastores[0].i64TotalSize, 0);
    EXPECT_EQ(datastores[0].i64FreeSpace, 0);
    EXPECT_EQ(datastores[0].blockSizeMB, 0);
    EXPECT_FALSE(datastores[0].accessible);
    for (const char* line : {"The server sent 'lots' for capacity, which is not a whole number; it is skipped",
                             "The server sent '99999999999999999999' for freeSpace, which is not a whole number; it is skipped",
                             "The server sent 'perhaps' for accessible, which is not true or false; it is skipped",
                             "The server sent '4294967296' for blockSizeMb, which is not a 32-bit number; it is skipped"})
        EXPECT_GE(log.CountContaining(line), 1) << line << "\n" << log.Dump();
}

} // namespace
