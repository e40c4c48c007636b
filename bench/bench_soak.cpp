// Soak: eight threads call every forwarding operation in turn, half on one shared bridge object and half on
// their own, while another thread forces full collections. Prints calls done, failures and resident memory.
// Optional arguments: calls per thread (default 100000), allowed growth of resident memory in MB (default 8).
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include <mono/jit/jit.h>
#include <mono/metadata/mono-gc.h>
#include <mono/metadata/threads.h>

#include "BenchSupport.h"
#include "ManagedValue.h"
#include "PlatformServices.h"
#include "Rows.h"
#include "TestSupport.h"

using namespace visdkbench;
using VISDKCppBridge::CVISDKCppBridge;

namespace {

const int kThreads = 8;

long ResidentKb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::atomic<long long> g_errors{0};

void CountErrors(int level, const char*, const char* text, void*)
{
    if (level == VISDKCppBridge::DebugLog::LevelError && g_errors++ < 5)
        std::fprintf(stderr, "soak: error logged: %s\n", text);
}

} // namespace

int main(int argc, char** argv)
{
    long long perThread = argc > 1 ? std::atoll(argv[1]) : 100000;
    long allowedMb = argc > 2 ? std::atol(argv[2]) : 8;
    Begin(1, argv, "soak: every operation from 8 threads, half on one shared bridge, with forced collections", false);
    CVISDKCppBridge& shared = visdktest::Bridge();
    visdktest::probe::Reset();

    // Every operation answers with its success value; each call must bring back exactly that.
    const std::vector<visdktest::Row>& rows = visdktest::Rows();
    std::vector<std::string> expected;
    for (const visdktest::Row& row : rows)
        expected.push_back(row.succeed(row.managed));
    VISDKCppBridge::DebugLog::SetSink(&CountErrors, nullptr);

    std::atomic<long long> done{0}, failures{0};
    std::atomic<bool> finished{false};
    std::atomic<int> ready{0};
    std::atomic<long> baselineKb{0};
    const long startKb = ResidentKb();

    auto worker = [&](int index) {
        std::unique_ptr<CVISDKCppBridge> own;
        if (index % 2) {
            own.reset(new CVISDKCppBridge);
            std::string first = "vcenter.sim.local", second;
            if (own->SetVMFocus(first, second, 0) != 1)
                ++failures;
        }
        CVISDKCppBridge& bridge = own ? *own : shared;
        for (long long call = 0; call < perThread; ++call) {
            size_t at = static_cast<size_t>(call + index * 7) % rows.size();
            if (rows[at].call(bridge) != expected[at] && failures++ < 5)
                std::fprintf(stderr, "soak: %s gave an unexpected result\n", rows[at].managed);
            // Memory is measured from the point every thread has warmed up.
            if (call == perThread / 10 && ++ready == kThreads)
                baselineKb = ResidentKb();
            ++done;
        }
    };

    std::thread collector([&] {
        mono_thread_attach(VISDKCppBridge::g_domain);
        while (!finished) {
            mono_gc_collect(mono_gc_max_generation());
            VISDKCppBridge::SleepMs(20);
        }
        mono_thread_detach(mono_thread_current());
    });
    // A run that stops advancing is a deadlock: say so instead of hanging.
    std::thread watchdog([&] {
        long long last = -1;
        int still = 0;
        while (!finished) {
            VISDKCppBridge::SleepMs(1000);
            long long now = done.load();
            still = now == last ? still + 1 : 0;
            last = now;
            if (still == 60) {
                std::fprintf(stderr, "soak: no call finished for 60 s after %lld calls: deadlock\n", now);
                std::fflush(nullptr);
                _exit(2);
            }
        }
    });

    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back(worker, i);
    for (std::thread& thread : threads)
        thread.join();
    finished = true;
    collector.join();
    watchdog.join();
    mono_gc_collect(mono_gc_max_generation());
    const long endKb = ResidentKb();
    VISDKCppBridge::DebugLog::SetSink(nullptr, nullptr);

    long growthKb = endKb - baselineKb.load();
    std::printf("calls_done        %lld\n", done.load());
    std::printf("failures          %lld\n", failures.load());
    std::printf("errors_logged     %lld\n", g_errors.load());
    std::printf("rss_start_kb      %ld\n", startKb);
    std::printf("rss_warm_kb       %ld\n", baselineKb.load());
    std::printf("rss_end_kb        %ld\n", endKb);
    std::printf("rss_growth_kb     %ld (allowed %ld)\n", growthKb, allowedMb * 1024);
    bool ok = done.load() == perThread * kThreads && failures.load() == 0 && g_errors.load() == 0 && growthKb <= allowedMb * 1024;
    std::printf("%s\n", ok ? "soak passed" : "soak FAILED");
    return ok ? 0 : 1;
}
