// A start that fails (no wrapper beside the library, or no runtime library): final, quiet, never fatal.
#include <gtest/gtest.h>

#include <thread>

#include "CVIWrapperPtr.h"
#include "RuntimeApi.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

using namespace VISDKCppBridge;
using namespace visdktest;

namespace {

TEST(FailedStart, EveryFocusFailsAndTheStartIsNotRetried)
{
#ifdef VISDK_TEST_NO_RUNTIME_LIBRARY
    RuntimeApi::SetLibraryName("libmonosgen-absent.so.1");
#endif
    LogCapture log;
    CVISDKCppBridge bridge;
    std::string first = "vcenter.sim.local", second;
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(bridge.SetVMFocus(first, second, 0), 0);
    CVISDKCppBridge other;
    EXPECT_EQ(other.SetVMFocus(first, second, 0), 0);
    EXPECT_EQ(log.Count("Failed to initialize VISDKWrapper"), 4);
    EXPECT_EQ(log.Count("Waiting for mono initialization"), 1);
    EXPECT_FALSE(CVIWrapperPtr::c_monoInitStatus);
    EXPECT_TRUE(CVIWrapperPtr::c_monoThreadRunning);
#ifdef VISDK_TEST_NO_RUNTIME_LIBRARY
    EXPECT_EQ(log.CountContaining("Could not load the Mono runtime library"), 1);
    EXPECT_EQ(g_domain, nullptr);
#else
    EXPECT_NE(g_domain, nullptr) << "the runtime itself came up; only the wrapper was missing";
    EXPECT_EQ(g_image, nullptr);
#endif
}

TEST(FailedStart, OperationsAnswerWithTheirFailureValues)
{
    LogCapture log;
    CVISDKCppBridge bridge;
    EXPECT_EQ(bridge.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 0);
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(bridge.GetLastErrorString(), "Mono framework is not initialized");
    EXPECT_EQ(bridge.Disconnect(), 0);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Result is invalid (int)"});
    log.Clear();
    std::vector<std::string> missing{"kept"};
    EXPECT_FALSE(bridge.VerifyAccountForBackup(missing));
    EXPECT_EQ(missing, std::vector<std::string>{"kept"});
    EXPECT_EQ(bridge.GetSessionKey(), "");
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"Result is invalid (bool)", "Result is invalid (string)"}));
}

TEST(FailedStart, ListFactoryIsReportedMissing)
{
    LogCapture log;
    EXPECT_EQ(VISDKHelper::CVISDKHelper::CreateList("SDiskLib"), nullptr);
    EXPECT_EQ(log.Errors(), std::vector<std::string>{"Failed to get list factory class [SDiskLib]"});
}

TEST(FailedStart, CleanupFromAFreshThreadAndFromThisOne)
{
    std::thread([] { CVISDKCppBridge().Cleanup(); }).join();
    CVISDKCppBridge().Cleanup();
    SUCCEED();
}

} // namespace
