// VM records over the web-services client against govmomi's own client on the same endpoint, in the same run: every
// record of the large endpoint (1,000 VMs) through the bridge (BrowseInventoryByMoref of the root, a backup's mask)
// against govmomi-reader reading the same property paths and related objects; and CheckConnection against one
// SessionIsActive round trip. Usage: bench_vim_records [rounds] [endpoint file to reuse].
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <mono/metadata/appdomain.h>
#include <mono/metadata/object.h>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "VISDKCppBridge.h"
#include "VISDKHelper.h"

using namespace visdkbench;
using VMInfoStructs::SVMInfo;

namespace {

const UINT64 kMask = VM_PROP_VM_HOST_INFO | VM_PROP_VM_CFG_FILE | VM_PROP_VM_SNAPSHOT_LIST | VM_PROP_VM_DISK_LIST | VM_PROP_VM_NW_LIST;
const int kChecks = 200;

long long RoundTrips()
{
    MonoObject* boxed = visdktest::CallStatic("VimStats", "RoundTrips", nullptr);
    Check(boxed != nullptr, "VimStats.RoundTrips");
    return *static_cast<long long*>(mono_object_unbox(boxed));
}

// The VM property paths the client asks for a mask: the Go side reads exactly these.
std::string PathsFor(UINT64 mask)
{
    void* args[] = {&mask};
    auto* paths = reinterpret_cast<MonoArray*>(visdktest::CallStatic("VimClient", "PathsFor", args));
    Check(paths != nullptr, "VimClient.PathsFor");
    std::string joined;
    for (uintptr_t i = 0; i < mono_array_length(paths); ++i)
        joined += (i ? "," : "") + Utf8(reinterpret_cast<MonoObject*>(mono_array_get(paths, MonoString*, i)));
    return joined;
}

std::map<std::string, double> RunReader(const std::string& arguments)
{
    std::string command = std::string(VISDK_BENCH_READER) + " " + arguments;
    std::map<std::string, double> figures;
    FILE* pipe = popen(command.c_str(), "r");
    Check(pipe != nullptr, command);
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find_first_of(" \n", at);
            std::string word = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
            size_t equals = word.find('=');
            if (equals != std::string::npos)
                figures[word.substr(0, equals)] = std::atof(word.c_str() + equals + 1);
            at = end == std::string::npos ? text.size() : end + 1;
        }
    }
    Check(pclose(pipe) == 0, "govmomi-reader failed: " + command);
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 5;
    std::string file = argc > 2 ? argv[2] : std::string(VISDK_BENCH_FILES) + "/bench_vim_records.env";
    bool started = argc <= 2;
    if (started) {
        std::string start = std::string(VISDK_BENCH_SCRIPTS) + "/start.sh " + VISDK_BENCH_ENDPOINT + " " + file + " -vm 500 > /dev/null";
        Check(std::system(start.c_str()) == 0, "starting the endpoint: " + start);
    }
    auto env = ReadEnv(file);
    const std::string url = env["VISDK_ENDPOINT_URL"], user = env["VISDK_ENDPOINT_USER"], password = env["VISDK_ENDPOINT_PASSWORD"];
    setenv("VISDK_TRUST_THUMBPRINT", env["VISDK_ENDPOINT_THUMBPRINT"].c_str(), 1);
    VISDKCppBridge::DebugLog::SetThreshold(0);
    visdktest::Bridge();
    std::printf("# VM records over the web-services client against govmomi's client on one endpoint; best of %d rounds each;\n"
                "# ratio = bridge time / govmomi time\n", rounds);

    VISDKCppBridge::CVISDKCppBridge bridge;
    std::string server = url, vm;
    bridge.SetVMFocus(server, vm, 0);
    Check(bridge.Connect(url, user, password) == 1, "connect: " + bridge.GetLastErrorString());

    // Every VM's record through the bridge; beside it the same read on the managed side alone (SOAP, XML, records, on a
    // session of its own), the conversion of its list to native records and govmomi-reader's read, rounds interleaved
    // so that both sides meet the same load. The first read of each session makes its view.
    MonoObject* wrapper = NewWrapper();
    MonoClass* klass = mono_object_get_class(wrapper);
    void* connectArgs[] = {Str(url), Str(user), Str(password)};
    Invoke(Method(klass, "Connect", 3), wrapper, connectArgs);
    MonoMethod* browse = Method(klass, "BrowseInventoryByMoref", 4);
    int kind = 0, flags = 0;
    UINT64 mask = kMask;
    void* browseArgs[] = {Str(""), &kind, &mask, &flags};
    Check(Invoke(browse, wrapper, browseArgs) != nullptr, "managed browse");
    std::vector<SVMInfo> vms;
    Check(bridge.BrowseInventoryByMoref("", 0, kMask, 0, vms) == 1, "browse: " + bridge.GetLastErrorString());
    const std::string readerArguments = "-url " + url + " -user '" + user + "' -password '" + password + "' -thumbprint " +
                                        env["VISDK_ENDPOINT_THUMBPRINT"] + " -paths " + PathsFor(kMask);
    double bridgeBest = 1e300, managedBest = 1e300, convertBest = 1e300, goBest = 1e300, goCheckUs = 0, goTrips = 0, goVms = 0;
    long long trips = 0;
    for (int round = 0; round < rounds; ++round) {
        CollectGarbage();
        long long before = RoundTrips();
        Clock::time_point start = Clock::now();
        Check(bridge.BrowseInventoryByMoref("", 0, kMask, 0, vms) == 1, "browse: " + bridge.GetLastErrorString());
        bridgeBest = std::min(bridgeBest, Seconds(start));
        trips = RoundTrips() - before;

        CollectGarbage();
        start = Clock::now();
        MonoObject* list = Invoke(browse, wrapper, browseArgs);
        managedBest = std::min(managedBest, Seconds(start));
        uint32_t pin = mono_gchandle_new(list, 1);
        std::vector<SVMInfo> converted;
        start = Clock::now();
        VISDKHelper::CVISDKHelper::ConvertVMInfoList(converted, list);
        convertBest = std::min(convertBest, Seconds(start));
        mono_gchandle_free(pin);
        Check(converted.size() == vms.size(), "converted every record");

        // govmomi's turn, in the same round: two reads per run, the second with its caches warm.
        auto go = RunReader(readerArguments + " -rounds 2" + (round == 0 ? " -checks " + std::to_string(kChecks) : ""));
        goBest = std::min(goBest, go["best_ms"]);
        if (round == 0)
            goCheckUs = go["check_us"];
        goTrips = go["round_trips"];
        goVms = go["vms"];
    }
    size_t count = vms.size();
    Check(count >= 1000 && !vms[0].diskList.empty() && !vms[0].networkCards.empty() && !vms[0].hostName.empty(), "records are filled");
    Check(goVms == static_cast<double>(count), "govmomi-reader read as many VMs");
    double goMs = goBest, bridgeMs = bridgeBest * 1e3;
    std::printf("bench vim_browse_%zu_vms: bridge %.1f ms, govmomi %.1f ms, ratio %.2f (goal <= 1.20); round trips per 1,000 VMs: "
                "bridge %.1f, govmomi %.1f\n",
                count, bridgeMs, goMs, bridgeMs / goMs, trips * 1000.0 / count, goTrips * 1000.0 / count);
    std::printf("# bridge: %.1f ms managed (SOAP, XML, records), %.1f ms converting %zu records to native; mask 0x%llx; paths %s\n",
                managedBest * 1e3, convertBest * 1e3, count, static_cast<unsigned long long>(kMask), PathsFor(kMask).c_str());

    Check(bridge.CheckConnection() == 1, "check");
    long long before = RoundTrips();
    Clock::time_point start = Clock::now();
    for (int i = 0; i < kChecks; ++i)
        Check(bridge.CheckConnection() == 1, "check: " + bridge.GetLastErrorString());
    double checkUs = Seconds(start) * 1e6 / kChecks;
    std::printf("bench vim_check_connection: bridge %.0f us/call (%.1f round trips), SessionIsActive by govmomi %.0f us/call, ratio %.2f\n", checkUs,
                static_cast<double>(RoundTrips() - before) / kChecks, goCheckUs, checkUs / goCheckUs);
    std::fflush(stdout);

    bridge.Disconnect();
    if (started) {
        std::string stop = std::string(VISDK_BENCH_SCRIPTS) + "/stop.sh " + file + " > /dev/null";
        Check(std::system(stop.c_str()) == 0, "stopping the endpoint");
    }
    return 0;
}
