// Cleanup on a real runtime: the runtime thread ends promptly, and operations go on from every thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <mono/metadata/mono-gc.h>

#include "CVIWrapperPtr.h"
#include "ManagedValue.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace visdktest;

namespace {

bool WaitForLog(const LogCapture& log, const std::string& text)
{
    for (int i = 0; i < 3000 && log.Count(text) == 0; ++i)
        SleepMs(10);
    return log.Count(text) > 0;
}

// Allocates enough managed strings, and asks for full collections, so the collector has to stop every attached thread.
void ChurnTheCollector()
{
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 2000; ++i)
            std2gc(std::string(256, 'x'));
        mono_gc_collect(mono_gc_max_generation());
    }
}

TEST(Lifecycle, CleanupFromAThreadThatNeverAttached)
{
    LogCapture log;
    Bridge();
    std::thread([] {
        CVISDKCppBridge bridge;
        bridge.Cleanup();
    }).join();
    EXPECT_TRUE(WaitForLog(log, "mono thread exiting"));
    EXPECT_EQ(log.Count("waiting for mono thread to exit"), 0);
    EXPECT_EQ(log.Count("timeout waiting for mono thread to exit"), 0);
}

TEST(Lifecycle, OperationsWorkAfterCleanupFromEveryThread)
{
    Bridge().Cleanup();
    EXPECT_EQ(Bridge().Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 1);
    std::atomic<int> connected{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&] {
            for (int call = 0; call < 50; ++call)
                connected += Bridge().CheckConnection();
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(connected.load(), 200);
    EXPECT_TRUE(CVIWrapperPtr::c_monoInitStatus);
}

// Each thread is attached and working when all of them clean up at once; the ones that go on work after it.
TEST(Lifecycle, CleanupFromManyThreadsAtOnce)
{
    LogCapture log;
    ASSERT_EQ(Bridge().Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 1);
    const int kThreads = 8;
    std::atomic<int> ready{0}, answered{0};
    PlatformEvent go;
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] {
            CVISDKCppBridge own;
            std::string first = "vcenter.sim.local", second;
            own.SetVMFocus(first, second, 0);
            own.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!");
            answered += Bridge().CheckConnection();
            ++ready;
            go.Wait();
            (i % 2 ? own : Bridge()).Cleanup();
            answered += own.CheckConnection() + Bridge().CheckConnection();
        });
    while (ready.load() < kThreads)
        SleepMs(1);
    go.Set();
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(answered.load(), 3 * kThreads);
    EXPECT_EQ(log.Count("timeout waiting for mono thread to exit"), 0);
    EXPECT_EQ(log.Count("waiting for mono thread to exit"), 0) << "the runtime thread had ended, or ends at once";
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
    ChurnTheCollector();
    EXPECT_EQ(Bridge().CheckConnection(), 1);
}

TEST(Lifecycle, ABlockedThreadDoesNotStallCollections)
{
    // One thread cleaned up and now sits in native code; another is attached and sits there too.
    PlatformEvent release, parkedDetached, parkedAttached;
    std::thread detached([&] {
        CVISDKCppBridge bridge;
        std::string first = "vcenter.sim.local", second;
        bridge.SetVMFocus(first, second, 0);
        bridge.Cleanup();
        parkedDetached.Set();
        release.Wait();
    });
    std::thread attached([&] {
        Bridge().CheckConnection();
        parkedAttached.Set();
        release.Wait();
    });
    parkedDetached.Wait();
    parkedAttached.Wait();
    // A stall here would hang until the test's time limit.
    ChurnTheCollector();
    EXPECT_EQ(Bridge().CheckConnection(), 1);
    release.Set();
    detached.join();
    attached.join();
}

TEST(Lifecycle, ShortLivedThreadsComeAndGo)
{
    for (int round = 0; round < 20; ++round) {
        std::vector<std::thread> threads;
        for (int i = 0; i < 4; ++i)
            threads.emplace_back([] { Bridge().CheckConnection(); });
        for (auto& thread : threads)
            thread.join();
    }
    ChurnTheCollector();
    EXPECT_EQ(Bridge().CheckConnection(), 1);
}

TEST(Lifecycle, DestroyingABridgeLeavesTheRuntimeLoaded)
{
    {
        CVISDKCppBridge bridge;
        std::string first = "vcenter.sim.local", second;
        EXPECT_EQ(bridge.SetVMFocus(first, second, 0), 1);
    }
    EXPECT_NE(g_image, nullptr);
    EXPECT_EQ(Bridge().CheckConnection(), 1);

    // A host may let go of a bridge on a thread that never called it.
    auto* focused = new CVISDKCppBridge;
    std::string first = "vcenter.sim.local", second;
    EXPECT_EQ(focused->SetVMFocus(first, second, 0), 1);
    std::thread([focused] { delete focused; }).join();
    ChurnTheCollector();
    EXPECT_EQ(Bridge().CheckConnection(), 1);
}

} // namespace
