// The web-services client against a standalone ESX host: its service objects are named as a host names them, and a
// session check that a host does not implement falls back to one that it does.
#include <gtest/gtest.h>

#include "Endpoint.h"
#include "TestSupport.h"

using namespace visdktest;

namespace {

TEST(VimEsx, AHostSessionWorksAndSaysItIsNoVCenter)
{
    TrustEndpoint();
    LogCapture log;
    auto bridge = EndpointBridge();
    EXPECT_FALSE(bridge->IsVCenterConnection());
    EXPECT_EQ(bridge->GetConnectionVersion(), 6);
    EXPECT_EQ(bridge->CheckConnection(), 1) << bridge->GetLastErrorString();
    std::vector<std::string> missing;
    EXPECT_TRUE(bridge->VerifyAccountForSnap(missing)) << bridge->GetLastErrorString();

    RawSoap server;
    std::vector<std::pair<std::string, std::string>> vms = server.All("VirtualMachine");
    ASSERT_FALSE(vms.empty());
    const auto& [moref, name] = vms[0];
    EXPECT_EQ(bridge->PowerOffVM(name, ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(server.Property("VirtualMachine", moref, "runtime.powerState"), "poweredOff");
    EXPECT_EQ(bridge->PowerOnVM(moref, ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(server.Property("VirtualMachine", moref, "runtime.powerState"), "poweredOn");

    EXPECT_EQ(bridge->Disconnect(), 1);
    EXPECT_EQ(bridge->CheckConnection(), 0);
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

} // namespace
