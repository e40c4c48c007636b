// Remembered lookups under threads: the first lookups race, answers never change, operations keep their results.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "LookupCache.h"
#include "TestSupport.h"

using namespace VISDKCppBridge;
using namespace VMInfoStructs;
using namespace visdktest;

namespace {

const int kThreads = 8;

// Lets the threads start together so the first lookups really race.
class StartLine {
public:
    explicit StartLine(int parties) : m_waiting(parties) {}
    void Arrive()
    {
        m_waiting.fetch_sub(1);
        while (m_waiting.load() > 0)
            std::this_thread::yield();
    }

private:
    std::atomic<int> m_waiting;
};

TEST(LookupCache, EachKeyIsMadeOnceAndKeepsItsEntryWhileTheTableGrows)
{
    struct Made {
        int value;
    };
    LookupCache<Made> cache;
    const int keys = 20000;
    std::vector<std::atomic<int>> makes(keys);
    std::vector<std::atomic<const void*>> first(keys);
    for (int i = 0; i < keys; ++i) {
        makes[i] = 0;
        first[i] = nullptr;
    }
    StartLine line(kThreads);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            line.Arrive();
            for (int round = 0; round < 3; ++round) {
                for (int n = 0; n < keys; ++n) {
                    int i = (n * 7 + t * 2503) % keys;
                    std::string name = "key-" + std::to_string(i);
                    const void* owner = reinterpret_cast<const void*>(static_cast<uintptr_t>(i % 13 + 1));
                    const auto& entry = cache.Get(owner, name.c_str(), i % 3, [&] {
                        makes[i].fetch_add(1);
                        return Made{i};
                    });
                    const void* expected = nullptr;
                    first[i].compare_exchange_strong(expected, &entry);
                    if (entry.value.value != i || first[i].load() != &entry)
                        wrong.fetch_add(1);
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(cache.Size(), static_cast<size_t>(keys));
    for (int i = 0; i < keys; ++i)
        ASSERT_EQ(makes[i].load(), 1) << "key " << i;
}

TEST(LookupCache, KeysDifferingOnlyInOwnerOrNumberAreApart)
{
    struct Made {
        int value;
    };
    LookupCache<Made> cache;
    int a = 0, b = 0;
    EXPECT_EQ(cache.Get(&a, "Name", -1, [] { return Made{1}; }).value.value, 1);
    EXPECT_EQ(cache.Get(&b, "Name", -1, [] { return Made{2}; }).value.value, 2);
    EXPECT_EQ(cache.Get(&a, "Name", 3, [] { return Made{3}; }).value.value, 3);
    EXPECT_EQ(cache.Get(&a, "Name2", -1, [] { return Made{4}; }).value.value, 4);
    EXPECT_EQ(cache.Get(&a, "Name", -1, [] { return Made{5}; }).value.value, 1);
}

// Eight threads, half on one shared bridge and half on their own, run the same and different operations at once
// from a cold start; every answer must be the simulator's.
TEST(RememberedLookups, HoldUnderEightThreadsOnTheSimulator)
{
    CVISDKCppBridge& shared = Bridge();
    ASSERT_EQ(shared.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!"), 1);
    std::vector<std::unique_ptr<CVISDKCppBridge>> own;
    for (int t = 0; t < kThreads / 2; ++t) {
        own.emplace_back(new CVISDKCppBridge);
        std::string server = "vcenter.sim.local", vm;
        ASSERT_EQ(own.back()->SetVMFocus(server, vm, 0), 1);
        ASSERT_EQ(own.back()->Connect(server, "administrator@vsphere.local", "VMware1!"), 1);
    }

    using Check = std::function<bool(CVISDKCppBridge&)>;
    const std::vector<std::pair<const char*, Check>> checks = {
        {"CheckConnection", [](CVISDKCppBridge& b) { return b.CheckConnection() == 1; }},
        {"GetConnectionVersion", [](CVISDKCppBridge& b) { return b.GetConnectionVersion() == 8; }},
        {"IsVCenterConnection", [](CVISDKCppBridge& b) { return b.IsVCenterConnection(); }},
        {"GetSessionCookie", [](CVISDKCppBridge& b) { return b.GetSessionCookie().rfind("vmware_soap_session=", 0) == 0; }},
        {"VerifyAccountForBackup",
         [](CVISDKCppBridge& b) {
             std::vector<std::string> missing{"stale"};
             return b.VerifyAccountForBackup(missing) && missing.empty();
         }},
        {"CountBackupSnapshots",
         [](CVISDKCppBridge& b) {
             int count = -1;
             return b.CountBackupSnapshots("vm-db01", "", count) == 1 && count == 1;
         }},
        {"GetSnapshotInfo",
         [](CVISDKCppBridge& b) {
             std::string name, description;
             time_t created = 0;
             bool quiesced = false;
             return b.GetSnapshotInfo("vm-db01", "", "snapshot-11", name, created, description, quiesced) &&
                    name == "Before upgrade" && created > 0;
         }},
        {"BrowseGuest",
         [](CVISDKCppBridge& b) {
             std::vector<SGuestFile> files;
             return b.BrowseGuest("vm-web01", "", "root", "guestpass", "/", files) && !files.empty();
         }},
        {"QueryChangedDiskAreas",
         [](CVISDKCppBridge& b) {
             SDiskChangeInfo changes;
             return b.QueryChangedDiskAreas("vm-web01", "", "", "2000", 0, "*", changes) == 1 && !changes.changedAreaList.empty();
         }},
        {"GetGuestTempFolder",
         [](CVISDKCppBridge& b) {
             std::string folder = "kept";
             return !b.GetGuestTempFolder("vm-web01", "", "nobody", "wrong", folder) && folder == "kept";
         }},
    };

    LogCapture log;
    StartLine line(kThreads);
    std::atomic<int> failures{0};
    std::vector<std::string> failed(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        CVISDKCppBridge& bridge = t % 2 == 0 ? shared : *own[t / 2];
        threads.emplace_back([&, t] {
            line.Arrive();
            for (int i = 0; i < 300; ++i) {
                // Half the threads run the checks in step (same operation at once), half staggered (different ones).
                const auto& check = checks[(t % 4 < 2 ? i : i + t * 3) % checks.size()];
                if (!check.second(bridge)) {
                    failures.fetch_add(1);
                    failed[t] = check.first;
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0) << "last failure per thread: " << ::testing::PrintToString(failed);
    for (auto& bridge : own)
        bridge->Disconnect();
    shared.Disconnect();
}

} // namespace
