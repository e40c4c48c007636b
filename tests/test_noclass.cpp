// A wrapper assembly that loads but yields no usable CVIWrapper instance: the runtime stays up.
#include <gtest/gtest.h>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace visdktest;

namespace {

TEST(NoInstance, FocusFailsButTheRuntimeStaysUp)
{
    LogCapture log;
    CVISDKCppBridge bridge;
    std::string first = "vcenter.sim.local", second;
    EXPECT_EQ(bridge.SetVMFocus(first, second, 0), 0);
#ifdef VISDK_TEST_CTOR_THROWS
    EXPECT_EQ(log.CountContaining("FileNotFoundException"), 1) << log.Dump();
#else
    EXPECT_EQ(log.Count("Failed to get mono class"), 1);
#endif
    EXPECT_EQ(log.Count("Failed to initialize VISDKWrapper"), 1);
    EXPECT_TRUE(CVIWrapperPtr::c_monoInitStatus);
    EXPECT_NE(g_image, nullptr);
    EXPECT_EQ(gc2std(std2gc("still working")), "still working");

    log.Clear();
    EXPECT_EQ(bridge.SetVMFocus(first, second, 0), 0);
    EXPECT_EQ(log.Count("Waiting for mono initialization"), 0);
    EXPECT_EQ(log.Count("Failed to initialize VISDKWrapper"), 1);
}

TEST(NoInstance, OperationsFailWithoutReachingManagedCode)
{
    LogCapture log;
    CVISDKCppBridge bridge;
    std::string first, second;
    bridge.SetVMFocus(first, second, 0);
    log.Clear();
    EXPECT_EQ(bridge.PowerOnVM("vm-web01", "esx01"), 0);
    EXPECT_EQ(log.Errors(), (std::vector<std::string>{"object has been destroyed", "Result is invalid (int)"}));
    EXPECT_EQ(bridge.GetLastErrorString(), "");
}

} // namespace
