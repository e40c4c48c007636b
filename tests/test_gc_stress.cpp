// Collections forced from another thread while managed exceptions unwind and nested lists are read: nothing the
// native side holds across a runtime call may be moved or freed under it. Its own process, and worth running under
// the sanitizer build, where a stale object shows as a crash or a report instead of a wrong name.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <mono/metadata/mono-gc.h>
#include <mono/metadata/threads.h>

#include "CVIWrapperPtr.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;

namespace {

// The inventory tree as one text, depth first, so two reads compare whole.
void Flatten(const std::vector<SInventoryInfo>& nodes, std::string& out)
{
    for (const SInventoryInfo& node : nodes) {
        out += node.strName + "(";
        Flatten(node.children, out);
        out += ")";
    }
}

TEST(GcStress, ExceptionsAndNestedListsSurviveCollectionsOnAnotherThread)
{
    LogCapture log;
    CVISDKCppBridge& bridge = Bridge();
    ASSERT_EQ(bridge.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 1);
    probe::Reset();
    probe::Throw("PowerOnVM", "System.TimeoutException");
    std::vector<SInventoryInfo> first;
    ASSERT_EQ(bridge.GetInventoryInfoList(first, 0, 0), 1);
    std::string expected;
    Flatten(first, expected);
    ASSERT_GT(expected.size(), 100u) << "the tree has several levels";

    std::atomic<bool> stop{false};
    std::atomic<long> collections{0};
    std::thread collector([&] {
        mono_thread_attach(g_domain);
        while (!stop) {
            mono_gc_collect(collections % 8 == 7 ? mono_gc_max_generation() : 0);
            ++collections;
        }
    });
    const int kThreads = 3, kRounds = 400;
    std::atomic<int> wrongTrees{0}, wrongResults{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([&] {
            for (int round = 0; round < kRounds; ++round) {
                if (bridge.PowerOnVM("vm-web01", "") != 0)
                    ++wrongResults;
                std::vector<SInventoryInfo> tree;
                std::string text;
                if (bridge.GetInventoryInfoList(tree, 0, 0) != 1)
                    ++wrongResults;
                Flatten(tree, text);
                if (text != expected)
                    ++wrongTrees;
            }
        });
    for (std::thread& worker : workers)
        worker.join();
    stop = true;
    collector.join();

    EXPECT_GT(collections.load(), 10);
    EXPECT_EQ(wrongResults.load(), 0);
    EXPECT_EQ(wrongTrees.load(), 0);
    EXPECT_EQ(log.CountContaining("Exception caught in bridge - TimeoutException"), kThreads * kRounds);
    EXPECT_EQ(static_cast<size_t>(log.CountContaining("Exception caught in bridge - ")), log.Errors().size()) << log.Dump();
}

} // namespace
