#ifndef VISDK_BENCH_SUPPORT_H
#define VISDK_BENCH_SUPPORT_H

#include <algorithm>
#include <chrono>
#include <map>
#include <string>

#include <mono/metadata/object.h>

#include "CVIWrapperPtr.h"

namespace visdkbench {

using Clock = std::chrono::steady_clock;

struct Figures {
    double bridgeNs;
    double floorNs;
};

struct Settings {
    double seconds = 0.3; // per side and round
    int rounds = 3;
};

extern Settings g_settings;
// Results are added here so no measured call can be dropped.
extern volatile long long g_sink;

// Brings the runtime up and prints the notes; argv[1], if given, is the seconds per side and round.
void Begin(int argc, char** argv, const char* title, bool throughProbe);
[[noreturn]] void Fail(const std::string& what);
void Check(bool ok, const std::string& what);

MonoClass* Class(const char* name);
MonoMethod* Method(MonoClass* klass, const char* name, int params);
MonoClassField* Field(MonoClass* klass, const char* name);
// Invokes for set-up; a managed exception ends the run.
MonoObject* Invoke(MonoMethod* method, void* instance, void** args);
// Keeps the object alive and in place for the rest of the process.
MonoObject* Pin(MonoObject* object);
MonoObject* NewWrapper();
MonoObject* NewValue(MonoClass* klass);
inline MonoString* Str(const std::string& text) { return mono_string_new(VISDKCppBridge::g_domain, text.c_str()); }
std::string Utf8(MonoObject* text);
void CollectGarbage();
// The NAME=value lines of a test endpoint's file.
std::map<std::string, std::string> ReadEnv(const std::string& path);

// The test endpoint of one run: the endpoint file `reuse` names, as it is, else one started on FILES/NAME.env with
// `arguments` (tests/endpoint/start.sh) and stopped when this goes. Gives its VISDK_ENDPOINT_* values; clients made
// from now on trust its certificate.
class BenchEndpoint {
public:
    BenchEndpoint(const std::string& reuse, const std::string& name, const std::string& arguments);
    ~BenchEndpoint();
    BenchEndpoint(const BenchEndpoint&) = delete;
    BenchEndpoint& operator=(const BenchEndpoint&) = delete;
    std::string operator[](const std::string& key) const;

private:
    std::string m_file;
    bool m_started;
    std::map<std::string, std::string> m_values;
};

inline double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Runs `body` in batches of about 20 ms until `seconds` of measured time; `refresh` runs untimed before each batch.
template <typename Body, typename Refresh>
double NsPerOp(Body& body, Refresh& refresh, double seconds)
{
    CollectGarbage();
    refresh();
    Clock::time_point start = Clock::now();
    body();
    double perOp = Seconds(start);
    double total = 0;
    long long ops = 0;
    while (total < seconds) {
        long long batch = std::max(1LL, static_cast<long long>(0.02 / std::max(perOp, 1e-9)));
        refresh();
        start = Clock::now();
        for (long long i = 0; i < batch; ++i)
            body();
        double spent = Seconds(start);
        total += spent;
        ops += batch;
        perOp = spent / static_cast<double>(batch);
    }
    return total * 1e9 / static_cast<double>(ops);
}

// Bridge and floor take turns; each side keeps its best round.
template <typename Bridge, typename Floor, typename Refresh>
Figures Compare(Bridge&& bridge, Floor&& floor, Refresh&& refresh)
{
    Figures best{1e300, 1e300};
    for (int round = 0; round < g_settings.rounds; ++round) {
        best.bridgeNs = std::min(best.bridgeNs, NsPerOp(bridge, refresh, g_settings.seconds));
        best.floorNs = std::min(best.floorNs, NsPerOp(floor, refresh, g_settings.seconds));
    }
    return best;
}

void PrintCall(const char* name, const Figures& figures);
void PrintRate(const char* name, const Figures& figures, double items, const char* unit);

} // namespace visdkbench

#endif
