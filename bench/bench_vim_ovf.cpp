// OVF import of a 1 GiB disk over the web-services client against curl, on one endpoint in the same run: the bridge's
// FinishOVFImport (the upload to the lease with its progress reports, the lease's completion and the VM's record)
// against curl POSTing the same file to the same lease's URL; and this process's peak resident memory during the
// bridge's transfer against its resident memory just before. Usage: bench_vim_ovf [rounds] [endpoint file to reuse].
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "VISDKCppBridge.h"

using namespace visdkbench;
using VMInfoStructs::SVMInfo;
using VMInfoStructs::SVMOptionValue;

namespace {

const long long kDiskBytes = 1LL << 30;

// A field of /proc/self/status in MiB (VmRSS, VmHWM).
double StatusMiB(const std::string& field)
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::atof(line.c_str() + field.size() + 1) / 1024.0;
    Fail("no " + field + " in /proc/self/status");
}

// Processor time (user and system) of this process, or of its children that ended, in seconds.
double Cpu(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Makes the peak resident size (VmHWM) start again from the current one.
void ResetPeak()
{
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    Check(static_cast<bool>(out.flush()), "resetting the peak resident size (/proc/self/clear_refs)");
}

// A descriptor of one VM with one disk of `capacityMiB` backed by the file `href` beside it.
std::string Descriptor(const std::string& href, long long capacityMiB)
{
    return R"(<Envelope xmlns="http://schemas.dmtf.org/ovf/envelope/1" xmlns:ovf="http://schemas.dmtf.org/ovf/envelope/1"
  xmlns:rasd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_ResourceAllocationSettingData"
  xmlns:vssd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_VirtualSystemSettingData">
  <References><File ovf:id="f1" ovf:href=")" + href + R"("/></References>
  <DiskSection><Disk ovf:diskId="d1" ovf:fileRef="f1" ovf:capacity=")" + std::to_string(capacityMiB) + R"(" ovf:capacityAllocationUnits="byte * 2^20"/></DiskSection>
  <VirtualSystem ovf:id="bench"><Name>bench</Name><VirtualHardwareSection>
    <System><vssd:InstanceID>0</vssd:InstanceID><vssd:VirtualSystemType>vmx-13</vssd:VirtualSystemType></System>
    <Item><rasd:InstanceID>3</rasd:InstanceID><rasd:ResourceSubType>lsilogic</rasd:ResourceSubType><rasd:ResourceType>6</rasd:ResourceType></Item>
    <Item><rasd:HostResource>ovf:/disk/d1</rasd:HostResource><rasd:InstanceID>4</rasd:InstanceID><rasd:Parent>3</rasd:Parent>
      <rasd:ResourceType>17</rasd:ResourceType></Item>
  </VirtualHardwareSection></VirtualSystem></Envelope>)";
}

// Writes `bytes` of varied content, a block at a time.
void WriteDisk(const std::string& path, long long bytes)
{
    std::vector<char> block(1 << 20);
    unsigned x = 12345;
    std::ofstream out(path, std::ios::binary);
    for (long long left = bytes; left > 0; left -= static_cast<long long>(block.size())) {
        for (char& c : block)
            c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
        out.write(block.data(), static_cast<std::streamsize>(std::min<long long>(left, static_cast<long long>(block.size()))));
    }
    Check(static_cast<bool>(out.flush()), "writing " + path);
}

// Starts an import of the descriptor under a new name: the lease and the disk's URL.
std::pair<std::string, std::string> Start(VISDKCppBridge::CVISDKCppBridge& bridge, const std::string& descriptor, const std::string& name)
{
    SVMInfo info;
    info.strName = name;
    std::string lease;
    std::vector<SVMOptionValue> uploads, none;
    bool started = bridge.StartOVFImport(descriptor, info, lease, uploads, none);
    Check(started, "start: " + bridge.GetLastErrorString());
    Check(uploads.size() == 1, "one upload");
    return {lease, uploads[0].value};
}

// The bench's folder (its 1 GiB disk), removed however the run ends.
std::string g_dir;
void RemoveFolder() { std::filesystem::remove_all(g_dir); }

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 3;
    BenchEndpoint env(argc > 2 ? argv[2] : "", "bench_vim_ovf", "");
    const std::string url = env["VISDK_ENDPOINT_URL"], cert = env["VISDK_ENDPOINT_CERT"];
    VISDKCppBridge::DebugLog::SetThreshold(0);
    visdktest::Bridge();

    const std::string dir = g_dir = std::string(VISDK_BENCH_FILES) + "/bench_vim_ovf-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(dir);
    std::atexit(RemoveFolder);
    WriteDisk(dir + "big.vmdk", kDiskBytes);
    WriteDisk(dir + "small.vmdk", 1 << 20);
    std::ofstream(dir + "big.ovf") << Descriptor("big.vmdk", kDiskBytes >> 20);
    std::ofstream(dir + "small.ovf") << Descriptor("small.vmdk", 1);
    std::printf("# OVF import of a %lld MiB disk over the web-services client against curl POSTing it to the same lease, on one\n"
                "# endpoint over TLS; best of %d rounds each; ratio = bridge throughput / curl throughput\n",
                kDiskBytes >> 20, rounds);

    VISDKCppBridge::CVISDKCppBridge bridge;
    std::string server = url, vm;
    bridge.SetVMFocus(server, vm, 0);
    int connected = bridge.Connect(url, env["VISDK_ENDPOINT_USER"], env["VISDK_ENDPOINT_PASSWORD"]);
    Check(connected == 1, "connect: " + bridge.GetLastErrorString());
    // A small import first: the client's code is compiled and its connections are open before anything is measured.
    SVMInfo info;
    bool warm = bridge.FinishOVFImport(Start(bridge, dir + "small.ovf", "bench-ovf-warm").first, info);
    Check(warm, "warm-up: " + bridge.GetLastErrorString());

    double bridgeBest = 1e300, curlBest = 1e300, bridgeCpu = 1e300, curlCpu = 1e300, idle = 0, peak = 0;
    for (int round = 0; round < rounds; ++round) {
        auto [lease, device] = Start(bridge, dir + "big.ovf", "bench-ovf-" + std::to_string(round));
        // curl's turn, to the lease's own URL; the lease takes any number of uploads until it completes.
        std::string curl = "curl -s -g -o /dev/null -w '%{http_code}' --cacert '" + cert +
                           "' -H 'Expect:' -H 'Content-Type: application/x-vnd.vmware-streamVmdk' -X POST -T '" + dir + "big.vmdk' '" + device + "'";
        double cpu = Cpu(RUSAGE_CHILDREN);
        Clock::time_point start = Clock::now();
        FILE* pipe = popen(curl.c_str(), "r");
        Check(pipe != nullptr, curl);
        char code[8] = {};
        size_t n = std::fread(code, 1, sizeof code - 1, pipe);
        Check(pclose(pipe) == 0 && n > 0 && std::string(code) == "200", "curl's upload: " + std::string(code));
        curlBest = std::min(curlBest, Seconds(start));
        curlCpu = std::min(curlCpu, Cpu(RUSAGE_CHILDREN) - cpu);

        CollectGarbage();
        double before = StatusMiB("VmRSS");
        ResetPeak();
        cpu = Cpu(RUSAGE_SELF);
        start = Clock::now();
        bool finished = bridge.FinishOVFImport(lease, info);
        bridgeBest = std::min(bridgeBest, Seconds(start));
        bridgeCpu = std::min(bridgeCpu, Cpu(RUSAGE_SELF) - cpu);
        Check(finished, "finish: " + bridge.GetLastErrorString());
        double during = StatusMiB("VmHWM");
        if (during - before > peak - idle)
            idle = before, peak = during;
        Check(info.diskList.size() == 1 && info.diskList[0].llMaxSizeInBytes == kDiskBytes, "the new VM's record holds its disk");
    }
    const double mib = static_cast<double>(kDiskBytes >> 20);
    std::printf("bench vim_ovf_import_%lldMiB: bridge %.0f MiB/s (%.2f s), curl %.0f MiB/s (%.2f s), ratio %.2f (goal >= 0.80); resident memory "
                "during the bridge's transfer %.0f MiB, idle before it %.0f MiB: +%.1f MiB (goal < 64)\n",
                kDiskBytes >> 20, mib / bridgeBest, bridgeBest, mib / curlBest, curlBest, curlBest / bridgeBest, peak, idle, peak - idle);
    std::printf("# processor time per transfer (user + system, best round): bridge %.2f s, curl %.2f s; the endpoint's own not counted\n",
                bridgeCpu, curlCpu);
    std::fflush(stdout);

    bridge.Disconnect();
    return 0;
}
