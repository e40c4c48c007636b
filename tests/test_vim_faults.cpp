// The web-services client through the fault proxy: every kind of network and server misbehaviour against every
// family of operation. Each call must end within its timeouts with a clear failure (or a success the server's state
// bears out), and the server must be changed at most once, checked on the endpoint directly, never through the proxy.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>

#include "Endpoint.h"
#include "FaultProxy.h"
#include "LocalFiles.h"
#include "TestSupport.h"

using namespace visdktest;
namespace fs = std::filesystem;

namespace {

constexpr double kTimeoutSeconds = 2;
// Connect and read timeout, plus room for the requests around the faulty one on a busy machine.
constexpr double kBoundSeconds = 2 * kTimeoutSeconds + 6;
// A stall or trickle ends on its own after this, so a client that ignores its timeouts fails the bound, not the run.
constexpr long long kGiveUpMs = 14000;

// Everything this process writes goes under one directory, so the password scan sees all of it.
struct Scratch {
    TempDir dir;
    fs::path stderrFile;
    Scratch()
    {
        setenv("VISDK_CONNECT_TIMEOUT", "2", 1);
        setenv("VISDK_READ_TIMEOUT", "2", 1);
        setenv("TMPDIR", dir.Path().c_str(), 1);
        setenv("HOME", dir.Path().c_str(), 1);
        stderrFile = dir / "stderr.txt";
        int fd = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 2);
            close(fd);
        }
    }
};
Scratch& Files()
{
    static Scratch scratch;
    return scratch;
}
// Before main: the runtime reads the timeouts once, at its start.
const bool g_scratchReady = (Files(), true);

LogCapture& Log()
{
    static LogCapture* capture = [] {
        auto* made = new LogCapture;
        VISDKCppBridge::DebugLog::SetThreshold(INT_MAX);
        return made;
    }();
    return *capture;
}

std::vector<std::string>& Messages()
{
    static std::vector<std::string> messages;
    return messages;
}

FaultProxy& Proxy()
{
    static FaultProxy proxy;
    return proxy;
}

// The runtime up, trusting the proxy, every log line captured at the highest level.
void Start()
{
    Log();
    Proxy();
    setenv("VISDK_TRUST_THUMBPRINT", Proxy().Thumbprint().c_str(), 1);
    Bridge();
}

std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> ProxyBridge(bool connect = true)
{
    const Endpoint& e = Endpoint::Get();
    auto bridge = std::make_unique<VISDKCppBridge::CVISDKCppBridge>();
    std::string server = Proxy().Url(), vm;
    EXPECT_EQ(bridge->SetVMFocus(server, vm, 0), 1);
    EXPECT_EQ(bridge->SetLogParameters(INT_MAX, 10, 2, 1), 1) << bridge->GetLastErrorString();
    if (connect) {
        EXPECT_EQ(bridge->Connect(Proxy().Url(), e.user, e.password), 1) << bridge->GetLastErrorString();
    }
    return bridge;
}

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

enum class Family { Session, Read, Task, Transfer };
enum class Outcome { Fails, Succeeds, Either };

struct Expect {
    Outcome outcome = Outcome::Either;
    // A failure's message holds one of these (any message when empty).
    std::vector<std::string> messages;
    bool applies = true;
};

struct Kind {
    const char* name;
    FaultRule rule;
    Expect session, read, task, transfer;
    const Expect& For(Family family) const
    {
        switch (family) {
        case Family::Session: return session;
        case Family::Read: return read;
        case Family::Task: return task;
        default: return transfer;
        }
    }
};

FaultRule Rule(const std::string& kind, const std::string& variant = "", bool noForward = false, int count = 1)
{
    FaultRule rule;
    rule.kind = kind;
    rule.count = count;
    rule.variant = variant;
    rule.noForward = noForward;
    rule.stallMs = kGiveUpMs;
    // Only the text of the answer is cut off by the client's limit; more would only cost time.
    rule.bytes = 300LL << 20;
    return rule;
}

const Expect kInTime{Outcome::Fails, {"in time"}};
const Expect kAny{Outcome::Either, {}};
const Expect kNoTask{Outcome::Fails, {"no task"}};
const Expect kFound{Outcome::Succeeds, {}};
const Expect kFails{Outcome::Fails, {}};
const Expect kSkip{Outcome::Either, {}, false};

Expect Fails(std::vector<std::string> messages) { return Expect{Outcome::Fails, std::move(messages)}; }

const std::vector<Kind> kKinds = {
    {"ResetBefore", Rule("reset_before"), kAny, kAny, kNoTask, kAny},
    {"ResetAfter", Rule("reset_after"), kAny, kAny, kFound, kAny},
    {"Stall", Rule("stall"), kInTime, kInTime, kFound, kAny},
    {"StallUnsent", Rule("stall", "", true), kInTime, kInTime, kNoTask, kFails},
    {"StallAfterHeaders", Rule("stall", "after_headers"), kInTime, kInTime, kFound, kAny},
    {"Trickle", Rule("trickle"), kInTime, kInTime, kFound, kAny},
    {"Http500Page", Rule("http500"), Fails({"The server answered 500 ("}), Fails({"The server answered 500 ("}),
     Fails({"The server answered 500 ("}), Fails({"500"})},
    {"Http500Fault", Rule("http500", "soap"), Fails({"injected by the fault proxy"}), Fails({"injected by the fault proxy"}),
     Fails({"injected by the fault proxy"}), kFails},
    {"Http503Page", Rule("http503"), Fails({"The server answered 503 ("}), Fails({"The server answered 503 ("}),
     Fails({"The server answered 503 ("}), Fails({"503"})},
    {"Http503Fault", Rule("http503", "soap"), Fails({"503", "injected by the fault proxy"}),
     Fails({"503", "injected by the fault proxy"}), Fails({"503", "injected by the fault proxy"}), kFails},
    {"Truncate", Rule("truncate"), Fails({"The server's answer to"}), Fails({"The server's answer to"}),
     Expect{Outcome::Either, {"The server's answer to", "no task"}}, kAny},
    {"XmlBomb", Rule("xml_bomb"), Fails({"DTD"}), Fails({"DTD"}), Fails({"DTD"}), kSkip},
    {"ExternalEntity", Rule("xml_bomb", "external"), Fails({"DTD"}), Fails({"DTD"}), Fails({"DTD"}), kSkip},
    {"Huge", Rule("huge"), kSkip, Fails({"is larger than 256 MiB", "in time"}), kSkip, kSkip},
    {"ExpireSession", Rule("expire_session"), kAny, kFound, kAny, kAny},
    {"RedirectOnce", Rule("redirect_loop"), kFound, kFound, kFound, kFails},
    {"RedirectLoop", Rule("redirect_loop", "", false, 4), Fails({"more than 3 times"}), Fails({"more than 3 times"}),
     Fails({"more than 3 times"}), kFails},
    {"RedirectElsewhere", Rule("redirect_loop", "other_host"), Fails({"another host"}), Fails({"another host"}),
     Fails({"another host"}), kFails},
};

const char* const kPowerVm = "DC0_H0_VM0";
const char* const kSnapshotVm = "DC0_H0_VM1";
const char* const kDatastore = "LocalDS_0";

// The server's own view of what an operation changed.
struct Server {
    RawSoap raw;
    std::string taskManager;
    Server() { taskManager = XmlText(raw.Call("RetrieveServiceContent", "ServiceInstance", "ServiceInstance"), "taskManager"); }
    std::set<std::string> Tasks()
    {
        std::vector<std::string> all = XmlTexts(raw.Property("TaskManager", taskManager, "recentTask"), "ManagedObjectReference");
        return {all.begin(), all.end()};
    }
    // Tasks queued on the entity since `before`.
    int TasksOn(const std::string& entity, const std::set<std::string>& before)
    {
        int count = 0;
        for (const std::string& task : Tasks())
            if (!before.count(task) && raw.Property("Task", task, "info.entity") == entity)
                ++count;
        return count;
    }
    std::string Power(const std::string& vm) { return raw.Property("VirtualMachine", vm, "runtime.powerState"); }
    void SetPower(const std::string& vm, bool on)
    {
        if ((Power(vm) == "poweredOn") != on)
            raw.Call(on ? "PowerOnVM_Task" : "PowerOffVM_Task", "VirtualMachine", vm);
    }
    int Snapshots(const std::string& vm, const std::string& name)
    {
        int count = 0;
        for (const std::string& each : XmlTexts(raw.Property("VirtualMachine", vm, "snapshot"), "name"))
            count += each == name;
        return count;
    }
};

Server& Raw()
{
    static Server server;
    return server;
}

// One operation: what it sends (the proxy's name for it), how to prepare the server, run it, and check the server.
struct Operation {
    const char* name;
    Family family;
    std::string method;
    // Runs the call on a connected bridge (or an unconnected one for Connect); true on success.
    std::function<bool(VISDKCppBridge::CVISDKCppBridge&, const std::string& tag)> run;
    // Checks the server after the call: `ok` is the call's result.
    std::function<void(bool ok, const std::string& tag, const std::set<std::string>& tasksBefore)> check;
    std::function<void(const std::string& tag)> prepare = [](const std::string&) {};
    bool connected = true;
};

std::string VmMoref(const char* name)
{
    static std::map<std::string, std::string> morefs;
    std::string& moref = morefs[name];
    if (moref.empty())
        moref = Raw().raw.Moref("VirtualMachine", name);
    return moref;
}

fs::path DatastoreRoot()
{
    static fs::path root = Raw().raw.Property("Datastore", Raw().raw.Moref("Datastore", kDatastore), "info.url");
    return root;
}

const std::string kUpload = Pattern(200000);

const std::vector<Operation>& Operations()
{
    static const std::vector<Operation> operations = {
        {"Connect", Family::Session, "Login",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string&) {
             return b.Connect(Proxy().Url(), Endpoint::Get().user, Endpoint::Get().password) == 1;
         },
         [](bool, const std::string&, const std::set<std::string>&) {}, [](const std::string&) {}, false},
        {"CheckConnection", Family::Session, "SessionIsActive",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string&) { return b.CheckConnection() == 1; },
         [](bool, const std::string&, const std::set<std::string>&) {}},
        {"VmInfo", Family::Read, "RetrievePropertiesEx",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string&) {
             VMInfoStructs::SVMInfo info;
             bool ok = b.GetVMInfoForVM(kSnapshotVm, "", "", MIN_VM_PROPS, 0, info) == 1;
             if (ok) {
                 EXPECT_EQ(info.strName, kSnapshotVm) << "a success is the VM asked for";
             }
             return ok;
         },
         [](bool, const std::string&, const std::set<std::string>&) {}},
        {"HostList", Family::Read, "RetrievePropertiesEx",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string&) {
             std::vector<VMInfoStructs::SHostInfo> hosts;
             bool ok = b.GetHostInfoList(hosts, VM_PROP_ALL, 0) == 1;
             if (ok) {
                 EXPECT_EQ(hosts.size(), Raw().raw.All("HostSystem").size()) << "a success is the whole list";
             }
             return ok;
         },
         [](bool, const std::string&, const std::set<std::string>&) {}},
        {"DatastoreList", Family::Read, "RetrievePropertiesEx",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string&) {
             std::vector<VMInfoStructs::SDatastoreInfo> all;
             bool ok = b.GetDSInfoList(all, VM_PROP_ALL, 0) == 1;
             if (ok) {
                 EXPECT_FALSE(all.empty());
             }
             return ok;
         },
         [](bool, const std::string&, const std::set<std::string>&) {}},
        {"CreateSnapshot", Family::Task, "CreateSnapshot_Task",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string& tag) {
             std::string id;
             return b.CreateSnapshotWithName(kSnapshotVm, "", tag, "made through the fault proxy", false, false, id) == 1;
         },
         [](bool ok, const std::string& tag, const std::set<std::string>& before) {
             int made = Raw().Snapshots(VmMoref(kSnapshotVm), tag);
             EXPECT_LE(made, 1) << "a snapshot is never made twice";
             if (ok) {
                 EXPECT_EQ(made, 1) << "a success the server bears out";
             }
             EXPECT_LE(Raw().TasksOn(VmMoref(kSnapshotVm), before), 1);
         }},
        {"RemoveSnapshot", Family::Task, "RemoveSnapshot_Task",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string& tag) { return b.RemoveSnapshot(kSnapshotVm, "", tag) == 1; },
         [](bool ok, const std::string& tag, const std::set<std::string>& before) {
             if (ok) {
                 EXPECT_EQ(Raw().Snapshots(VmMoref(kSnapshotVm), tag), 0);
             }
             EXPECT_LE(Raw().TasksOn(VmMoref(kSnapshotVm), before), 1);
         },
         [](const std::string& tag) {
             Raw().raw.Call("CreateSnapshot_Task", "VirtualMachine", VmMoref(kSnapshotVm),
                            "<name>" + tag + "</name><memory>false</memory><quiesce>false</quiesce>");
             ASSERT_EQ(Raw().Snapshots(VmMoref(kSnapshotVm), tag), 1);
         }},
        {"PowerOn", Family::Task, "PowerOnVM_Task",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string&) { return b.PowerOnVM(kPowerVm, "") == 1; },
         [](bool ok, const std::string&, const std::set<std::string>& before) {
             if (ok) {
                 EXPECT_EQ(Raw().Power(VmMoref(kPowerVm)), "poweredOn");
             }
             EXPECT_LE(Raw().TasksOn(VmMoref(kPowerVm), before), 1) << "a VM is never powered on twice";
         },
         [](const std::string&) { Raw().SetPower(VmMoref(kPowerVm), false); }},
        {"PowerOff", Family::Task, "PowerOffVM_Task",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string&) { return b.PowerOffVM(kPowerVm, "") == 1; },
         [](bool ok, const std::string&, const std::set<std::string>& before) {
             if (ok) {
                 EXPECT_EQ(Raw().Power(VmMoref(kPowerVm)), "poweredOff");
             }
             EXPECT_LE(Raw().TasksOn(VmMoref(kPowerVm), before), 1);
         },
         [](const std::string&) { Raw().SetPower(VmMoref(kPowerVm), true); }},
        {"Upload", Family::Transfer, "PUT /folder",
         [](VISDKCppBridge::CVISDKCppBridge& b, const std::string& tag) {
             WriteFile(Files().dir / "upload.bin", kUpload);
             return b.UploadDatastoreFile("", kDatastore, "visdk-faults/" + tag, (Files().dir / "upload.bin").string(), "") == 1;
         },
         [](bool ok, const std::string& tag, const std::set<std::string>&) {
             fs::path stored = DatastoreRoot() / "visdk-faults" / tag;
             if (ok) {
                 EXPECT_TRUE(ReadFile(stored) == kUpload) << "a success stored the whole file";
             }
         }},
    };
    return operations;
}

using Case = std::tuple<size_t, size_t>;

class VimFaults : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        Start();
        ASSERT_TRUE(Proxy().Running());
        ASSERT_EQ(Proxy().Clear(), "");
    }
    void TearDown() override
    {
        Proxy().Clear();
        Raw().raw.Call("RemoveAllSnapshots_Task", "VirtualMachine", VmMoref(kSnapshotVm));
        std::error_code ignored;
        fs::remove_all(DatastoreRoot() / "visdk-faults", ignored);
    }
};

TEST_P(VimFaults, EndsInTimeClearlyAndChangesTheServerAtMostOnce)
{
    const Kind& kind = kKinds[std::get<0>(GetParam())];
    const Operation& op = Operations()[std::get<1>(GetParam())];
    const Expect& expect = kind.For(op.family);
    if (!expect.applies)
        GTEST_SKIP() << kind.name << " does not apply to " << op.name;
    const std::string tag = std::string("fault-") + kind.name + "-" + op.name;

    auto bridge = ProxyBridge(op.connected);
    op.prepare(tag);
    std::set<std::string> tasksBefore = Raw().Tasks();
    FaultRule rule = kind.rule;
    rule.method = op.method;
    ASSERT_EQ(Proxy().Set(rule), "");
    ASSERT_EQ(Proxy().ResetCounters(), "");

    const int leaksBefore = Log().CountContaining("Exception caught");
    auto start = std::chrono::steady_clock::now();
    bool ok = op.run(*bridge, tag);
    double took = Since(start);
    std::string message = bridge->GetLastErrorString();
    Messages().push_back(message);
    FaultCounters counters = Proxy().Counters();
    Proxy().Clear();

    EXPECT_EQ(counters.faults.size(), 1u) << "the fault was injected: " << counters.events.size();
    EXPECT_LT(took, kBoundSeconds) << "no call waits much longer than its timeouts";
    if (expect.outcome == Outcome::Fails) {
        EXPECT_FALSE(ok) << "the call failed";
    }
    if (expect.outcome == Outcome::Succeeds) {
        EXPECT_TRUE(ok) << message;
    }
    EXPECT_EQ(Log().CountContaining("Exception caught"), leaksBefore) << "a fault is a result, never an exception across the bridge\n" << Log().Dump();
    if (!ok) {
        EXPECT_NE(message, "") << "a failure says why";
        bool named = expect.messages.empty();
        for (const std::string& part : expect.messages)
            named = named || message.find(part) != std::string::npos;
        EXPECT_TRUE(named) << message;
        EXPECT_EQ(message.find("root:x:0"), std::string::npos) << "no external entity is read";
    }
    op.check(ok, tag, tasksBefore);

    // Nothing is lost: the next client through the same proxy works.
    auto after = ProxyBridge();
    EXPECT_EQ(after->CheckConnection(), 1) << after->GetLastErrorString();
}

INSTANTIATE_TEST_SUITE_P(Matrix, VimFaults, ::testing::Combine(::testing::Range<size_t>(0, kKinds.size()), ::testing::Range<size_t>(0, Operations().size())),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(kKinds[std::get<0>(info.param)].name) + "_" + Operations()[std::get<1>(info.param)].name;
                         });

std::string Hex(const std::string& thumbprint)
{
    std::string out;
    for (char c : thumbprint)
        if (isxdigit(static_cast<unsigned char>(c)))
            out += static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return out;
}

// A Connect the client must refuse at the handshake, without a request going through: its message.
std::string RefusedConnect(const std::string& certificate, const std::string& maxVersion)
{
    Start();
    EXPECT_EQ(Proxy().SetTls(certificate, maxVersion), "");
    EXPECT_EQ(Proxy().ResetCounters(), "");
    auto bridge = ProxyBridge(false);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(bridge->Connect(Proxy().Url(), Endpoint::Get().user, Endpoint::Get().password), 0);
    EXPECT_LT(Since(start), kBoundSeconds);
    std::string message = bridge->GetLastErrorString();
    Messages().push_back(message);
    EXPECT_NE(message, "");
    EXPECT_TRUE(Proxy().Counters().forwarded.empty()) << "nothing went through";
    EXPECT_EQ(Proxy().SetTls("primary", ""), "");
    auto after = ProxyBridge();
    EXPECT_EQ(after->CheckConnection(), 1) << "back to normal: " << after->GetLastErrorString();
    return message;
}

TEST(VimFaultsTls, OldProtocolsAreRefused)
{
    for (const char* version : {"1.0", "1.1"}) {
        SCOPED_TRACE(version);
        RefusedConnect("", version);
    }
}

TEST(VimFaultsTls, AChangedCertificateFailsNamingBothThumbprints)
{
    std::string message = RefusedConnect("alternate", "");
    EXPECT_NE(Hex(message).find(Hex(Proxy().Thumbprint())), std::string::npos) << message;
    EXPECT_NE(Hex(message).find(Hex(Proxy().AlternateThumbprint())), std::string::npos) << message;
}

// A wrong password's failure names the user, never the password; the scan of everything is at the very end.
TEST(VimFaultsPassword, AWrongPasswordIsNotRepeated)
{
    Start();
    auto bridge = ProxyBridge(false);
    const std::string wrong = "wrong-" + Endpoint::Get().password;
    EXPECT_EQ(bridge->Connect(Proxy().Url(), Endpoint::Get().user, wrong), 0);
    std::string message = bridge->GetLastErrorString();
    Messages().push_back(message);
    EXPECT_NE(message, "");
    EXPECT_EQ(message.find(wrong), std::string::npos) << message;
}

// After every test: the password is in no log line at the highest level, no failure's text, nor any file this
// process wrote (its standard error included).
class PasswordScan : public ::testing::Environment {
public:
    void TearDown() override
    {
        const std::string password = Endpoint::Get().password;
        ASSERT_GT(Log().Entries().size(), 0u) << "the log was captured";
        for (const LogEntry& entry : Log().Entries())
            EXPECT_EQ(entry.text.find(password), std::string::npos) << entry.text;
        for (const std::string& message : Messages())
            EXPECT_EQ(message.find(password), std::string::npos) << message;
        fflush(stderr);
        for (const auto& file : fs::recursive_directory_iterator(Files().dir.Path())) {
            if (file.is_regular_file()) {
                EXPECT_EQ(ReadFile(file.path()).find(password), std::string::npos) << file.path();
            }
        }
    }
};
::testing::Environment* const g_passwordScan = ::testing::AddGlobalTestEnvironment(new PasswordScan);

} // namespace
