// The web-services client against the test endpoint: connecting, trust, sessions, the account checks, power and the
// failures a real server gives. Results are checked against what the server holds, asked independently.
#include <gtest/gtest.h>

#include <chrono>
#include <stdlib.h>

#include "Endpoint.h"
#include "TestSupport.h"

using namespace visdktest;
using VISDKCppBridge::CVISDKCppBridge;

namespace {

class VimConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        TrustEndpoint();
        log.Clear();
    }
    const Endpoint& e = Endpoint::Get();
    LogCapture log;
};

TEST_F(VimConnection, ASessionIsTheServersAndSaysWhatItIs)
{
    auto bridge = EndpointBridge();
    EXPECT_EQ(bridge->CheckConnection(), 1);
    EXPECT_TRUE(bridge->IsVCenterConnection());
    EXPECT_EQ(bridge->GetConnectionVersion(), 6);
    EXPECT_EQ(bridge->GetConnectionApiVersion(), 650);
    EXPECT_EQ(bridge->GetCertificateThumbprint(), e.thumbprint);
    std::string key = bridge->GetSessionKey();
    EXPECT_EQ(bridge->GetSessionCookie(), "vmware_soap_session=" + key);
    RawSoap server;
    EXPECT_EQ(XmlText(server.Call("SessionIsActive", "SessionManager", "SessionManager",
                                  "<sessionID>" + key + "</sessionID><userName>" + e.user + "</userName>"),
                      "returnval"),
              "true");

    for (auto verify : {&CVISDKCppBridge::VerifyAccountForBackup, &CVISDKCppBridge::VerifyAccountForRestore,
                        &CVISDKCppBridge::VerifyAccountForSnap}) {
        std::vector<std::string> missing{"stale"};
        EXPECT_TRUE(((*bridge).*verify)(missing)) << bridge->GetLastErrorString();
        EXPECT_TRUE(missing.empty());
    }

    EXPECT_EQ(bridge->Disconnect(), 1);
    EXPECT_EQ(XmlText(server.Call("SessionIsActive", "SessionManager", "SessionManager",
                                  "<sessionID>" + key + "</sessionID><userName>" + e.user + "</userName>"),
                      "returnval"),
              "false")
        << "the server has ended the session";
    EXPECT_EQ(bridge->CheckConnection(), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The session is not authenticated.");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VimConnection, EveryFormOfTheServerNameReachesIt)
{
    for (const std::string& server : {e.url, e.host + ":" + e.port, "https://" + e.host + ":" + e.port}) {
        CVISDKCppBridge bridge;
        std::string focus = server, vm;
        ASSERT_EQ(bridge.SetVMFocus(focus, vm, 0), 1);
        EXPECT_EQ(bridge.Connect(server, e.user, e.password), 1) << server << ": " << bridge.GetLastErrorString();
        EXPECT_EQ(bridge.CheckConnection(), 1) << server;
    }
}

TEST_F(VimConnection, WrongCredentialsFailWithTheServersMessage)
{
    auto bridge = EndpointBridge(false);
    EXPECT_EQ(bridge->Connect(e.url, e.user, "not the password"), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Login failure");
    EXPECT_EQ(bridge->CheckConnection(), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The session is not authenticated.");
    // The same client logs in once the password is right.
    EXPECT_EQ(bridge->Connect(e.url, e.user, e.password), 1) << bridge->GetLastErrorString();
}

TEST_F(VimConnection, AnUntrustedCertificateFailsNamingItsThumbprint)
{
    unsetenv("VISDK_TRUST_THUMBPRINT");
    auto bridge = EndpointBridge(false);
    EXPECT_EQ(bridge->Connect(e.url, e.user, e.password), 0);
    std::string error = bridge->GetLastErrorString();
    EXPECT_NE(error.find("is not trusted (SHA-1 thumbprint " + e.thumbprint + ")"), std::string::npos) << error;
    EXPECT_NE(error.find("VISDK_TRUST_THUMBPRINT=" + e.thumbprint), std::string::npos) << error;

    // Another pin is no pin for this server.
    setenv("VISDK_TRUST_THUMBPRINT", "00:11:22:33:44:55:66:77:88:99:AA:BB:CC:DD:EE:FF:00:11:22:33", 1);
    auto pinnedElsewhere = EndpointBridge(false);
    EXPECT_EQ(pinnedElsewhere->Connect(e.url, e.user, e.password), 0);

    // A CA bundle that holds the server's certificate trusts it; the lab switch trusts anything, with a warning.
    unsetenv("VISDK_TRUST_THUMBPRINT");
    setenv("VISDK_CA_BUNDLE", e.cert.c_str(), 1);
    auto byBundle = EndpointBridge(false);
    EXPECT_EQ(byBundle->Connect(e.url, e.user, e.password), 1) << byBundle->GetLastErrorString();
    unsetenv("VISDK_CA_BUNDLE");
    setenv("VISDK_TLS_INSECURE", "1", 1);
    log.Clear();
    auto insecure = EndpointBridge(false);
    EXPECT_EQ(insecure->Connect(e.url, e.user, e.password), 1) << insecure->GetLastErrorString();
    unsetenv("VISDK_TLS_INSECURE");
    EXPECT_EQ(log.CountContaining("VISDK_TLS_INSECURE=1 is set: server certificates are not checked"), 1) << log.Dump();
}

TEST_F(VimConnection, AClosedPortFailsAtOnce)
{
    auto bridge = EndpointBridge(false);
    auto start = std::chrono::steady_clock::now();
    // Port 1 on loopback: nothing listens there.
    EXPECT_EQ(bridge->Connect("https://127.0.0.1:1/sdk", e.user, e.password), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    EXPECT_EQ(bridge->GetLastErrorString().rfind("Unable to connect to the remote server 127.0.0.1:1", 0), 0u) << bridge->GetLastErrorString();
}

TEST_F(VimConnection, ServerNamesThatNameNoServerAreRefusedBeforeAnythingGoesOut)
{
    auto bridge = EndpointBridge(false);
    EXPECT_EQ(bridge->Connect("http://vc.example.com/sdk", e.user, e.password), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Plain http is accepted only for a loopback test server: 'http://vc.example.com/sdk'");
    EXPECT_EQ(bridge->Connect("ftp://127.0.0.1/sdk", e.user, e.password), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: server 'ftp://127.0.0.1/sdk'");
}

TEST_F(VimConnection, PowerOperationsChangeWhatTheServerHoldsAndItsFaultsComeBack)
{
    auto bridge = EndpointBridge();
    RawSoap server;
    const std::string vm = "DC0_H0_VM0";
    std::string moref = server.Moref("VirtualMachine", vm);
    ASSERT_NE(moref, "");
    auto state = [&] { return server.Property("VirtualMachine", moref, "runtime.powerState"); };
    EXPECT_EQ(state(), "poweredOn");

    EXPECT_EQ(bridge->PowerOffVM(vm, ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(state(), "poweredOff");
    EXPECT_EQ(bridge->PowerOffVM(moref, ""), 0) << "by its managed object id, and already off";
    EXPECT_EQ(bridge->GetLastErrorString(), "The attempted operation cannot be performed in the current state (Powered off).");
    EXPECT_EQ(bridge->PowerOnVM(vm, ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(state(), "poweredOn");
    EXPECT_EQ(bridge->GetLastErrorString(), "");

    EXPECT_EQ(bridge->PowerOnVM("no-such-vm", ""), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Virtual machine 'no-such-vm' was not found.");
}

} // namespace
