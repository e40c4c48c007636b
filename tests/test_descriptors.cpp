// A host out of file descriptors: the runtime thread's event cannot be made. The start fails and can be retried;
// nothing is thrown into the host. Its own process: the descriptor limit is the whole process's.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <vector>

#include "TestSupport.h"
#include "VISDKCppBridge.h"

using namespace visdktest;

namespace {

TEST(Descriptors, ExhaustedDescriptorsFailTheStartWithoutEndingTheHost)
{
    // UBSan checks each virtual call by probing memory through a pipe: without descriptors every call reads as wrong.
    if (getenv("VISDK_SANITIZED"))
        GTEST_SKIP() << "the sanitizers' own memory probe needs free descriptors";
    LogCapture log;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> held;
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        held.push_back(fd);

    VISDKCppBridge::CVISDKCppBridge bridge;
    std::string server = "vcenter.sim.local", vm;
    EXPECT_EQ(bridge.SetVMFocus(server, vm, 0), 0);
    EXPECT_EQ(bridge.CheckConnection(), 0);

    for (int fd : held)
        close(fd);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_EQ(log.CountContaining("Native exception caught in bridge - Not enough memory to initialize the event object"), 1)
        << log.Dump();

    // Once descriptors are free again, the start is made as if nothing had happened.
    EXPECT_EQ(bridge.SetVMFocus(server, vm, 0), 1) << log.Dump();
    EXPECT_EQ(bridge.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 1);
    EXPECT_EQ(bridge.CheckConnection(), 1);
    bridge.Cleanup();
}

} // namespace
