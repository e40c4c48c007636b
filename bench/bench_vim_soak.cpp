// bench_vim_soak: threads, each with a bridge of its own, run reads, snapshots and power cycles for a long time
// through the fault proxy, which spoils a small share of the requests. It fails on any call that outlasts its timeouts,
// on any success the server's own state contradicts, and on resident memory growing by more than the allowance.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include "BenchSupport.h"
#include "Endpoint.h"
#include "FaultProxy.h"
#include "TestSupport.h"
#include "VISDKCppBridge.h"

using namespace visdkbench;
using visdktest::FaultProxy;
using visdktest::FaultRule;
using visdktest::RawSoap;

namespace {

long ResidentKb()
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// A failure's message reduced to its kind, so thousands of them print as a few lines.
std::string Bucket(const std::string& message)
{
    static const std::vector<std::pair<const char*, const char*>> kinds = {
        {"in time", "timeout"},           {"no task", "task not found, nothing started"},
        {"DTD", "DTD refused"},           {"is larger than", "answer over the size cap"},
        {"redirected", "redirect"},       {"The server answered 5", "HTTP 5xx"},
        {"injected by the fault proxy", "SOAP fault 5xx"}, {"The server's answer to", "broken answer"},
        {"NotAuthenticated", "session"},  {"not authenticated", "session"},
        {"The connection to", "connection dropped"}, {"(Found)", "redirect"},
    };
    if (message.empty())
        return "no message";
    for (const auto& [part, name] : kinds)
        if (message.find(part) != std::string::npos)
            return name;
    return "other: " + message.substr(0, 100);
}

struct Totals {
    std::mutex mutex;
    std::vector<double> latencies;
    std::map<std::string, long> failures;
    std::map<std::string, long> calls;
    std::vector<std::string> problems;
    std::atomic<long> slow{0}, contradictions{0};

    void Add(const std::string& op, double seconds, bool ok, const std::string& message)
    {
        std::lock_guard<std::mutex> lock(mutex);
        latencies.push_back(seconds);
        ++calls[op];
        if (!ok)
            ++failures[Bucket(message) + " (" + op + ")"];
    }
    void Problem(const std::string& what)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (problems.size() < 50)
            problems.push_back(what);
        std::fprintf(stderr, "soak: %s\n", what.c_str());
    }
};

struct Options {
    double minutes = 10;
    int threads = 4;
    double rate = 0.02;
    double timeout = 3;
    bool huge = false;
    long growthMb = 16;
    unsigned seed = 1;
};

// One thread's work on the VM it alone uses, every success checked on the server through a session of its own.
void Work(int index, const std::string& vm, const Options& options, const std::string& url, Totals& totals,
          Clock::time_point end)
{
    const std::string user = visdktest::Endpoint::Get().user, password = visdktest::Endpoint::Get().password;
    RawSoap server;
    const std::string moref = server.Moref("VirtualMachine", vm);
    auto connect = [&] {
        auto bridge = std::make_unique<VISDKCppBridge::CVISDKCppBridge>();
        std::string focus = url, none;
        bridge->SetVMFocus(focus, none, 0);
        bridge->Connect(url, user, password);
        return bridge;
    };
    auto bridge = connect();
    // Any single call: one request waits out its connect and read timeouts, a task lookup another read timeout.
    const double allowed = 2 * options.timeout + options.timeout + 10;
    std::mt19937 random(options.seed * 7919u + static_cast<unsigned>(index));
    int serial = 0;
    auto timed = [&](const std::string& op, auto&& call) {
        auto start = Clock::now();
        bool ok = call();
        double took = Seconds(start);
        std::string message = ok ? "" : bridge->GetLastErrorString();
        totals.Add(op, took, ok, message);
        if (took > allowed) {
            ++totals.slow;
            totals.Problem(op + " on " + vm + " took " + std::to_string(took) + " s: " + message);
        }
        return ok;
    };
    auto snapshots = [&](const std::string& name) {
        int count = 0;
        for (const std::string& each : visdktest::XmlTexts(server.Property("VirtualMachine", moref, "snapshot"), "name"))
            count += each == name;
        return count;
    };
    auto contradiction = [&](const std::string& what) {
        ++totals.contradictions;
        totals.Problem(what);
    };
    while (Clock::now() < end) {
        int pick = static_cast<int>(random() % 8);
        if (pick < 4) {
            if (pick % 2 == 0) {
                VMInfoStructs::SVMInfo info;
                if (timed("GetVMInfoForVM", [&] { return bridge->GetVMInfoForVM(vm, "", "", MIN_VM_PROPS, 0, info) == 1; }) &&
                    info.strName != vm)
                    contradiction("GetVMInfoForVM(" + vm + ") named " + info.strName);
            } else {
                std::vector<VMInfoStructs::SHostInfo> hosts;
                if (timed("GetHostInfoList", [&] { return bridge->GetHostInfoList(hosts, VM_PROP_ALL, 0) == 1; }) && hosts.empty())
                    contradiction("GetHostInfoList succeeded with no host");
            }
        } else if (pick < 6) {
            std::string name = "soak-" + std::to_string(index) + "-" + std::to_string(++serial), id;
            bool made = timed("CreateSnapshot", [&] { return bridge->CreateSnapshotWithName(vm, "", name, "soak", false, false, id) == 1; });
            int count = snapshots(name);
            if (count > 1 || (made && count != 1))
                contradiction("snapshot " + name + " of " + vm + " exists " + std::to_string(count) + " times after " +
                              (made ? "a success" : "a failure"));
            if (count > 0) {
                bool removed = timed("RemoveSnapshot", [&] { return bridge->RemoveSnapshot(vm, "", name) == 1; });
                if (removed && snapshots(name) != 0)
                    contradiction("snapshot " + name + " of " + vm + " is still there after its removal succeeded");
            }
            // A failure may leave a snapshot behind; the tree stays small.
            if (!made || count == 0)
                server.Call("RemoveAllSnapshots_Task", "VirtualMachine", moref);
        } else {
            bool on = server.Property("VirtualMachine", moref, "runtime.powerState") == "poweredOn";
            const char* op = on ? "PowerOffVM" : "PowerOnVM";
            bool ok = timed(op, [&] { return (on ? bridge->PowerOffVM(vm, "") : bridge->PowerOnVM(vm, "")) == 1; });
            std::string state = server.Property("VirtualMachine", moref, "runtime.powerState");
            if (ok && state != (on ? "poweredOff" : "poweredOn"))
                contradiction(std::string(op) + "(" + vm + ") succeeded but the server says " + state);
        }
        if (bridge->CheckConnection() != 1)
            bridge = connect();
    }
}

std::string Percentile(std::vector<double>& values, double share)
{
    if (values.empty())
        return "-";
    size_t at = std::min(values.size() - 1, static_cast<size_t>(share * static_cast<double>(values.size())));
    std::nth_element(values.begin(), values.begin() + static_cast<long>(at), values.end());
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", values[at]);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    double hours = 0;
    CLI::App app{"Soak through the fault proxy: reads, snapshots and power cycles on a test endpoint it starts"};
    app.add_option("--minutes", options.minutes, "how long to run")->check(CLI::PositiveNumber);
    app.add_option("--hours", hours, "how long to run, in hours (instead of --minutes)")->check(CLI::PositiveNumber);
    app.add_option("--threads", options.threads, "threads, each with a bridge and a VM of its own (at most 4)")->check(CLI::Range(1, 4));
    app.add_option("--rate", options.rate, "share of requests the proxy spoils")->check(CLI::Range(0.0, 1.0));
    app.add_option("--timeout", options.timeout, "connect and read timeout of the client, seconds")->check(CLI::PositiveNumber);
    app.add_flag("--huge", options.huge, "now and then answer 1 GiB");
    app.add_option("--growth-mb", options.growthMb, "resident memory growth allowed after the warm-up");
    app.add_option("--seed", options.seed, "seed of the proxy's and the workload's choices");
    CLI11_PARSE(app, argc, argv);
    if (hours > 0)
        options.minutes = hours * 60;

    const std::string timeout = std::to_string(options.timeout);
    setenv("VISDK_CONNECT_TIMEOUT", timeout.c_str(), 1);
    setenv("VISDK_READ_TIMEOUT", timeout.c_str(), 1);
    VISDKCppBridge::DebugLog::SetThreshold(0);
    BenchEndpoint endpoint("", "soak", "");
    setenv("VISDK_TEST_ENDPOINT", (std::string(VISDK_BENCH_FILES) + "/soak.env").c_str(), 1);

    // Each kind (and variant) is a rule of its own, the first that fires wins: together about `rate` of all requests.
    std::vector<FaultRule> rules;
    std::vector<std::pair<std::string, std::string>> kinds = {
        {"reset_before", ""}, {"reset_after", ""}, {"stall", ""}, {"trickle", ""}, {"http500", ""}, {"http500", "soap"},
        {"http503", ""}, {"truncate", ""}, {"xml_bomb", ""}, {"xml_bomb", "external"}, {"expire_session", ""},
        {"redirect_loop", ""}, {"redirect_loop", "other_host"}};
    for (size_t i = 0; i < kinds.size(); ++i) {
        FaultRule rule;
        rule.kind = kinds[i].first;
        rule.variant = kinds[i].second;
        rule.count = 0;
        rule.rate = options.rate / static_cast<double>(kinds.size());
        rule.seed = options.seed * 1000 + static_cast<long long>(i);
        // A client that ignores its timeouts is caught by the latency check rather than hanging the run.
        rule.stallMs = static_cast<long long>(options.timeout * 5000);
        rules.push_back(rule);
    }
    if (options.huge) {
        FaultRule rule;
        rule.kind = "huge";
        rule.count = 0;
        rule.rate = options.rate / 50;
        rule.seed = options.seed;
        rules.push_back(rule);
    }
    FaultProxy proxy;
    setenv("VISDK_TRUST_THUMBPRINT", proxy.Thumbprint().c_str(), 1);
    visdktest::Bridge();

    std::printf("# bench_vim_soak: %d threads for %.1f min through the fault proxy, %.1f%% of requests spoiled%s; timeouts %.1f s\n",
                options.threads, options.minutes, options.rate * 100, options.huge ? " (1 GiB answers included)" : "", options.timeout);
    std::fflush(stdout);

    const std::vector<std::string> vms = {"DC0_H0_VM0", "DC0_H0_VM1", "DC0_C0_RP0_VM0", "DC0_C0_RP0_VM1"};
    Totals totals;
    auto start = Clock::now();
    auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.minutes * 60));
    // The faults start once every thread has its connection; memory is measured from the end of a warm-up.
    std::vector<std::thread> threads;
    for (int i = 0; i < options.threads; ++i)
        threads.emplace_back(Work, i, vms[static_cast<size_t>(i)], std::cref(options), proxy.Url(), std::ref(totals), end);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    Check(proxy.Set(rules).empty(), "setting the proxy's rules");
    const double total = options.minutes * 60;
    const double warmUp = std::min(60.0, total * 0.2);
    std::this_thread::sleep_for(std::chrono::duration<double>(std::max(0.0, warmUp - Seconds(start))));
    long rssStart = ResidentKb();
    std::this_thread::sleep_for(std::chrono::duration<double>(std::max(0.0, (warmUp + total) / 2 - Seconds(start))));
    long rssMiddle = ResidentKb();
    for (std::thread& thread : threads)
        thread.join();
    long rssEnd = ResidentKb();
    visdktest::FaultCounters injected = proxy.Counters();
    proxy.Clear();

    long calls = 0, failed = 0;
    for (const auto& [op, count] : totals.calls) {
        calls += count;
        std::printf("calls %-18s %ld\n", op.c_str(), count);
    }
    for (const auto& [kind, count] : totals.failures) {
        failed += count;
        std::printf("failed %-40s %ld\n", kind.c_str(), count);
    }
    for (const auto& [kind, count] : injected.faults)
        std::printf("injected %-16s %d\n", kind.c_str(), count);
    std::vector<double> latencies = totals.latencies;
    double max = latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end());
    std::printf("calls %ld, failed %ld (%.2f%%), %.1f calls/s\n", calls, failed, calls ? 100.0 * static_cast<double>(failed) / static_cast<double>(calls) : 0,
                static_cast<double>(calls) / Seconds(start));
    std::printf("latency p50 %s, p99 %s, max %.3f s\n", Percentile(latencies, 0.5).c_str(), Percentile(latencies, 0.99).c_str(), max);
    std::printf("VmRSS after warm-up %ld KiB, middle %ld KiB, end %ld KiB (growth %+ld KiB)\n", rssStart, rssMiddle, rssEnd, rssEnd - rssStart);
    std::printf("calls over their timeouts %ld, successes the server contradicts %ld\n", totals.slow.load(), totals.contradictions.load());

    bool failedRun = totals.slow > 0 || totals.contradictions > 0 || rssEnd - rssStart > options.growthMb * 1024 || calls == 0;
    std::printf("%s\n", failedRun ? "SOAK FAILED" : "soak passed");
    return failedRun ? 1 : 0;
}
