// The simulator's state file under long histories and large files, through the visdk CLI as users run it:
// a 200-pass backup with a guest write between passes (time per pass at the start and the end, state size), then a
// 200 MB datastore upload (disk used by the state and its content store, peak memory against a plain run).
// Usage: bench_state [passes] [upload MB]
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Run {
    int status = -1;
    double seconds = 0;
    long peakKb = 0;
    std::vector<double> lineTimes; // seconds since start at which each "pass" line appeared
};

// Runs visdk with stdout on a terminal, so that it prints each line as it goes; stderr goes to errPath.
Run Visdk(std::vector<std::string> args, const std::string& errPath)
{
    args.insert(args.begin(), VISDK_CLI);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("bench_state: pseudo-terminal");
        std::exit(1);
    }
    std::string slave = ptsname(master);
    Run run;
    auto start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        setsid();
        int s = open(slave.c_str(), O_RDWR);
        int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = open("/dev/null", O_RDONLY);
        if (s < 0 || e < 0 || in < 0 || dup2(s, 1) < 0 || dup2(e, 2) < 0 || dup2(in, 0) < 0)
            _exit(126);
        close(master);
        execv(VISDK_CLI, argv.data());
        _exit(127);
    }
    std::string line;
    char buffer[4096];
    for (;;) {
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] != '\n') {
                line += buffer[i];
                continue;
            }
            if (line.rfind("pass ", 0) == 0)
                run.lineTimes.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            line.clear();
        }
    }
    close(master);
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) == pid)
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    if (run.status != 0) {
        std::ifstream err(errPath);
        std::fprintf(stderr, "bench_state: visdk %s failed (%d): %s\n", args[1].c_str(), run.status,
                     std::string(std::istreambuf_iterator<char>(err), {}).c_str());
        std::exit(1);
    }
    return run;
}

unsigned long long DiskBytes(const fs::path& path)
{
    std::error_code ec;
    if (fs::is_regular_file(path, ec))
        return fs::file_size(path, ec);
    unsigned long long total = 0;
    if (fs::is_directory(path, ec))
        for (const auto& entry : fs::recursive_directory_iterator(path, ec))
            if (entry.is_regular_file(ec))
                total += entry.file_size(ec);
    return total;
}

double Mb(unsigned long long bytes) { return bytes / 1048576.0; }

// Mean seconds per pass over the first or last `count` passes of a run.
double PerPass(const Run& run, bool first, size_t count)
{
    const std::vector<double>& t = run.lineTimes;
    if (t.size() < count + 1)
        return 0;
    if (first)
        return (t[count] - t[0]) / count;
    return (run.seconds - t[t.size() - count]) / count;
}

} // namespace

int main(int argc, char** argv)
{
    const int passes = argc > 1 ? std::atoi(argv[1]) : 200;
    const int uploadMb = argc > 2 ? std::atoi(argv[2]) : 200;
    char pattern[] = "/tmp/visdk-bench-state-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("bench_state: mkdtemp");
        return 1;
    }
    const fs::path dir = pattern;
    const std::string state = (dir / "sim.state").string(), store = state + ".d", err = (dir / "err").string();

    std::printf("bench_state: the simulator's state file through visdk (%s)\n\n", VISDK_CLI);
    Run plain = Visdk({"session", "--sim-state", state}, err);
    const unsigned long long fresh = DiskBytes(state);
    std::printf("fresh state: %.1f KiB; a plain run (session): %.2f s, peak %.1f MB\n\n", fresh / 1024.0, plain.seconds, plain.peakKb / 1024.0);

    Run backup = Visdk({"backup", "vm-db01", "--passes", std::to_string(passes), "--write", "0:4096", "--sim-state", state}, err);
    const size_t window = std::min<size_t>(10, backup.lineTimes.size() / 2);
    const double early = PerPass(backup, true, window), late = PerPass(backup, false, window);
    std::printf("backup vm-db01 --passes %d --write 0:4096\n", passes);
    std::printf("  total %.2f s, %.3f s per pass over passes 1-%zu, %.3f s over the last %zu (ratio %.2f; goal: about 1)\n",
                backup.seconds, early, window, late, window, early > 0 ? late / early : 0.0);
    std::printf("  state file %.1f KiB (fresh %.1f KiB), content store %.1f KiB, peak %.1f MB\n\n", DiskBytes(state) / 1024.0,
                fresh / 1024.0, DiskBytes(store) / 1024.0, backup.peakKb / 1024.0);

    const fs::path big = dir / "upload.bin";
    {
        std::ofstream out(big, std::ios::binary);
        std::vector<char> block(1 << 20);
        for (int mb = 0; mb < uploadMb; ++mb) {
            for (size_t i = 0; i < block.size(); ++i)
                block[i] = static_cast<char>((i * 131 + mb * 7) >> 3);
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
    const unsigned long long before = DiskBytes(state) + DiskBytes(store);
    Run upload = Visdk({"datastore", "upload", big.string(), "datastore1", "upload.bin", "--sim-state", state}, err);
    const unsigned long long after = DiskBytes(state) + DiskBytes(store);
    std::printf("datastore upload of %d MB\n", uploadMb);
    std::printf("  %.2f s; state file %.1f KiB, content store %.1f MB; disk used grew %.1f MB (goal: about %d MB)\n", upload.seconds,
                DiskBytes(state) / 1024.0, Mb(DiskBytes(store)), Mb(after - before), uploadMb);
    std::printf("  peak %.1f MB, %.1f MB over the plain run (goal: under 64 MB)\n", upload.peakKb / 1024.0,
                (upload.peakKb - plain.peakKb) / 1024.0);
    Run after_upload = Visdk({"session", "--sim-state", state}, err);
    std::printf("  a plain run afterwards: %.2f s, peak %.1f MB\n", after_upload.seconds, after_upload.peakKb / 1024.0);
    Run removed = Visdk({"datastore", "rm", "datastore1", "upload.bin", "--sim-state", state}, err);
    std::printf("  after removing the file: content store %.1f MB (%.2f s)\n", Mb(DiskBytes(store)), removed.seconds);

    fs::remove_all(dir);
    return 0;
}
