// A process in which no bridge ever started the runtime: every operation fails at once with its value.
#include <gtest/gtest.h>

#include <thread>

#include "CVIWrapperPtr.h"
#include "Rows.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace visdktest;

namespace {

TEST(NeverStarted, EveryOperationFailsWithoutReachingTheRuntime)
{
    LogCapture log;
    CVISDKCppBridge bridge;
    for (const Row& row : Rows()) {
        log.Clear();
        std::string managed = row.managed;
        if (managed == "GetLastErrorString") {
            EXPECT_EQ(row.call(bridge), "Mono framework is not initialized");
            EXPECT_TRUE(log.Entries().empty()) << log.Dump();
            continue;
        }
        bool changed = false;
        EXPECT_EQ(CallWatched(row, bridge, changed), row.failure) << row.managed;
        EXPECT_FALSE(changed) << row.managed << ": outputs are left alone while the runtime is down";
        // Only the typed result's own message: nothing was converted, looked up or invoked.
        std::vector<std::string> expected;
        if (!row.nullMessage.empty() && managed != "Connect")
            expected.push_back(row.nullMessage);
        EXPECT_EQ(log.Errors(), expected) << row.managed;
    }
    EXPECT_FALSE(CVIWrapperPtr::c_monoThreadRunning) << "no operation may start the runtime";
    EXPECT_EQ(g_domain, nullptr);
}

TEST(NeverStarted, CleanupFromManyThreadsEndsCleanly)
{
    LogCapture log;
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([] {
            CVISDKCppBridge bridge;
            bridge.Cleanup();
        });
    for (auto& thread : threads)
        thread.join();
    CVISDKCppBridge bridge;
    EXPECT_EQ(bridge.Disconnect(), 0);
    EXPECT_FALSE(CVIWrapperPtr::c_monoThreadRunning);
}

} // namespace
