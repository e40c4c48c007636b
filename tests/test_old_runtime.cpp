// A runtime that reports major version 5: the runtime thread parks for ever and Cleanup does not wait.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "CVIWrapperPtr.h"
#include "RuntimeApi.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace visdktest;

namespace {

char* OldBuildInfo() { return strdup("5.20.1.34 (tarball Thu Jan  9 2020)"); }

bool WaitForLog(const LogCapture& log, const std::string& text)
{
    for (int i = 0; i < 3000 && log.Count(text) == 0; ++i)
        SleepMs(10);
    return log.Count(text) > 0;
}

TEST(OldRuntime, CleanupReturnsAtOnceAndTheThreadParks)
{
    g_mono.mono_get_runtime_build_info = &OldBuildInfo;
    LogCapture log;
    Bridge();
    EXPECT_EQ(g_monoMajorVersion, 5);
    EXPECT_EQ(g_monoMinorVersion, 20);
    EXPECT_EQ(Bridge().Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 1);
    Bridge().Cleanup();
    EXPECT_TRUE(WaitForLog(log, "mono thread suspending"));
    EXPECT_EQ(log.Count("mono thread exiting"), 0);
    EXPECT_EQ(log.Count("waiting for mono thread to exit"), 0);
    EXPECT_EQ(Bridge().CheckConnection(), 1) << "the runtime is never shut down";
}

} // namespace
