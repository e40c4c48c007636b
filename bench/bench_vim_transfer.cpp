// Datastore file transfers over the web-services client against curl on the same endpoint, in the same run: a file of
// SIZE MiB (1024 by default) uploaded and downloaded through the bridge, and PUT and GET of the same /folder URL by curl
// with the bridge's session cookie; each side's throughput, their ratio, and this process's peak resident memory during
// each bridge transfer over its idle level. Usage: bench_vim_transfer [size MiB] [rounds] [endpoint file to reuse].
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "VISDKCppBridge.h"

using namespace visdkbench;

namespace {

// A field of /proc/self/status in kB.
long StatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::string(field).size() + 1);
    return -1;
}

// The peak so far becomes the present size (Linux: "5" to clear_refs), so VmHWM afterwards is this transfer's peak.
void ResetPeak()
{
    int fd = open("/proc/self/clear_refs", O_WRONLY);
    Check(fd >= 0 && write(fd, "5", 1) == 1, "resetting VmHWM through /proc/self/clear_refs");
    close(fd);
}

void MakeFile(const std::string& path, long long bytes)
{
    std::vector<char> block(1 << 20);
    unsigned state = 2024;
    for (char& c : block)
        c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
    FILE* f = std::fopen(path.c_str(), "wb");
    Check(f != nullptr, "creating " + path);
    for (long long left = bytes; left > 0; left -= static_cast<long long>(block.size())) {
        block[0] = static_cast<char>(left >> 20); // no two blocks alike
        Check(std::fwrite(block.data(), 1, block.size(), f) == block.size(), "writing " + path);
    }
    std::fclose(f);
}

bool Same(const std::string& a, const std::string& b) { return std::system(("cmp -s '" + a + "' '" + b + "'").c_str()) == 0; }

// curl's transfer of the URL (upload when `from` is given), with the cookie; the seconds it took.
double Curl(const std::string& url, const std::string& cookie, const std::string& cert, const std::string& from, const std::string& to)
{
    std::string command = "curl -sS -f --cacert '" + cert + "' -b '" + cookie + "' " + (from.empty() ? "-o '" + to + "'" : "-T '" + from + "'") + " '" +
                          url + "' > /dev/null";
    Clock::time_point start = Clock::now();
    Check(std::system(command.c_str()) == 0, command);
    return Seconds(start);
}

struct Side {
    double best = 1e300;
    long peakKb = 0;
};

void Print(const char* name, int mib, const Side& bridge, const Side& curl, long idleKb)
{
    double bridgeRate = mib / bridge.best, curlRate = mib / curl.best;
    std::printf("bench %s_%dMiB: bridge %.0f MiB/s, curl %.0f MiB/s, ratio %.2f (goal >= 0.80); peak RSS +%.1f MB over idle %.1f MB (goal < 64)\n",
                name, mib, bridgeRate, curlRate, bridgeRate / curlRate, (bridge.peakKb - idleKb) / 1024.0, idleKb / 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    int mib = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 1024;
    int rounds = argc > 2 && std::atoi(argv[2]) > 0 ? std::atoi(argv[2]) : 2;
    std::string file = argc > 3 ? argv[3] : std::string(VISDK_BENCH_FILES) + "/bench_vim_transfer.env";
    bool started = argc <= 3;
    if (started) {
        std::string start = std::string(VISDK_BENCH_SCRIPTS) + "/start.sh " + VISDK_BENCH_ENDPOINT + " " + file + " > /dev/null";
        Check(std::system(start.c_str()) == 0, "starting the endpoint: " + start);
    }
    auto env = ReadEnv(file);
    const std::string url = env["VISDK_ENDPOINT_URL"], cert = env["VISDK_ENDPOINT_CERT"];
    setenv("VISDK_TRUST_THUMBPRINT", env["VISDK_ENDPOINT_THUMBPRINT"].c_str(), 1);
    VISDKCppBridge::DebugLog::SetThreshold(0);
    visdktest::Bridge();

    const std::string dir = file + ".files", source = dir + "/source.bin";
    Check(std::system(("mkdir -p '" + dir + "'").c_str()) == 0, "making " + dir);
    MakeFile(source, static_cast<long long>(mib) << 20);
    VISDKCppBridge::CVISDKCppBridge bridge;
    std::string server = url, vm;
    bridge.SetVMFocus(server, vm, 0);
    Check(bridge.Connect(url, env["VISDK_ENDPOINT_USER"], env["VISDK_ENDPOINT_PASSWORD"]) == 1, "connect: " + bridge.GetLastErrorString());
    const std::string cookie = bridge.GetSessionCookie(), ds = "LocalDS_0";
    long idleKb = StatusKb("VmRSS:");
    std::printf("# datastore transfers of %d MiB through the bridge and by curl (%s) on one endpoint, best of %d rounds; rates in\n"
                "# MiB/s, ratio = bridge rate / curl rate; peak = VmHWM during the bridge's transfer, idle = VmRSS after connecting\n",
                mib, "PUT and GET of the same /folder URL with the session cookie", rounds);
    std::fflush(stdout);

    Side up, curlUp, down, curlDown;
    for (int round = 0; round < rounds; ++round) {
        CollectGarbage();
        ResetPeak();
        Clock::time_point start = Clock::now();
        Check(bridge.UploadDatastoreFile("", ds, "bench/bridge.bin", source, "") == 1, "upload: " + bridge.GetLastErrorString());
        up.best = std::min(up.best, Seconds(start));
        up.peakKb = std::max(up.peakKb, StatusKb("VmHWM:"));
        std::string got = bridge.GetDownloadDatastoreFileUrl("", ds, "bench/bridge.bin", "");
        Check(!got.empty(), "URL: " + bridge.GetLastErrorString());
        std::string curlUrl = got;
        curlUrl.replace(curlUrl.find("bridge.bin"), 10, "curl.bin");
        curlUp.best = std::min(curlUp.best, Curl(curlUrl, cookie, cert, source, ""));

        CollectGarbage();
        ResetPeak();
        start = Clock::now();
        Check(bridge.DownloadDatastoreFile("", ds, "bench/curl.bin", dir + "/bridge-down.bin", "") == 1, "download: " + bridge.GetLastErrorString());
        down.best = std::min(down.best, Seconds(start));
        down.peakKb = std::max(down.peakKb, StatusKb("VmHWM:"));
        curlDown.best = std::min(curlDown.best, Curl(got, cookie, cert, "", dir + "/curl-down.bin"));
        if (round == 0)
            Check(Same(source, dir + "/bridge-down.bin") && Same(source, dir + "/curl-down.bin"), "the bytes that came back are the bytes sent");
    }
    Print("vim_upload", mib, up, curlUp, idleKb);
    Print("vim_download", mib, down, curlDown, idleKb);
    std::fflush(stdout);

    bridge.DeleteDatastoreFile("", ds, "bench", "");
    bridge.Disconnect();
    std::system(("rm -rf '" + dir + "'").c_str());
    if (started) {
        std::string stop = std::string(VISDK_BENCH_SCRIPTS) + "/stop.sh " + file + " > /dev/null";
        Check(std::system(stop.c_str()) == 0, "stopping the endpoint");
    }
    return 0;
}
