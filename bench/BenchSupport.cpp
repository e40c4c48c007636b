#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <mono/metadata/appdomain.h>
#include <mono/metadata/class.h>
#include <mono/metadata/mono-gc.h>

#include "ManagedValue.h"
#include "TestSupport.h"

using VISDKCppBridge::g_domain;
using VISDKCppBridge::g_image;

namespace visdkbench {

Settings g_settings;
volatile long long g_sink = 0;

void Begin(int argc, char** argv, const char* title, bool throughProbe)
{
    if (argc > 1) {
        double seconds = std::atof(argv[1]);
        if (seconds > 0)
            g_settings.seconds = seconds;
    }
    VISDKCppBridge::DebugLog::SetThreshold(0);
    visdktest::Bridge();
    if (!g_domain || !g_image)
        Fail("the runtime did not come up");
    std::printf("# %s\n", title);
    std::printf("# runtime %s; best of %d rounds of ~%.2f s per side; ratio = bridge time / floor time\n",
                VISDKCppBridge::g_monoVersionString.c_str(), g_settings.rounds, g_settings.seconds);
    if (throughProbe)
        std::printf("# every CVIWrapper call records itself in the test probe (reflection, managed side); bridge and floor\n"
                    "# invoke the same managed method, so that fixed cost is in both figures and pulls the ratio toward 1\n");
    std::fflush(stdout);
}

std::map<std::string, std::string> ReadEnv(const std::string& path)
{
    std::map<std::string, std::string> values;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::exit(1);
}

void Check(bool ok, const std::string& what)
{
    if (!ok)
        Fail("check failed: " + what);
}

MonoClass* Class(const char* name)
{
    MonoClass* klass = mono_class_from_name(g_image, "VISDKWrapper", name);
    if (!klass)
        Fail(std::string("no class ") + name);
    return klass;
}

MonoMethod* Method(MonoClass* klass, const char* name, int params)
{
    MonoMethod* method = mono_class_get_method_from_name(klass, name, params);
    if (!method)
        Fail(std::string("no method ") + mono_class_get_name(klass) + "." + name);
    return method;
}

MonoClassField* Field(MonoClass* klass, const char* name)
{
    MonoClassField* field = mono_class_get_field_from_name(klass, name);
    if (!field)
        Fail(std::string("no field ") + mono_class_get_name(klass) + "." + name);
    return field;
}

MonoObject* Invoke(MonoMethod* method, void* instance, void** args)
{
    MonoObject* exception = nullptr;
    MonoObject* result = mono_runtime_invoke(method, instance, args, &exception);
    if (exception)
        Fail(std::string("managed exception in ") + mono_method_get_name(method) + ": " +
             VISDKCppBridge::ClassNameOf(exception));
    return result;
}

MonoObject* Pin(MonoObject* object)
{
    if (!object)
        Fail("nothing to pin");
    mono_gchandle_new(object, 1);
    return object;
}

MonoObject* NewWrapper()
{
    MonoObject* wrapper = VISDKCppBridge::NewManagedObject("CVIWrapper", true);
    if (!wrapper)
        Fail("could not construct a CVIWrapper");
    return Pin(wrapper);
}

MonoObject* NewValue(MonoClass* klass) { return mono_object_new(g_domain, klass); }

std::string Utf8(MonoObject* text)
{
    if (!text)
        return std::string();
    char* utf8 = mono_string_to_utf8(reinterpret_cast<MonoString*>(text));
    std::string copy(utf8 ? utf8 : "");
    mono_free(utf8);
    return copy;
}

void CollectGarbage() { mono_gc_collect(mono_gc_max_generation()); }

BenchEndpoint::BenchEndpoint(const std::string& reuse, const std::string& name, const std::string& arguments)
    : m_file(reuse.empty() ? std::string(VISDK_BENCH_FILES) + "/" + name + ".env" : reuse), m_started(reuse.empty())
{
    if (m_started) {
        std::string start = std::string(VISDK_BENCH_SCRIPTS) + "/start.sh " + VISDK_BENCH_ENDPOINT + " " + m_file + " " + arguments + " > /dev/null";
        Check(std::system(start.c_str()) == 0, "starting the endpoint: " + start);
    }
    std::ifstream in(m_file);
    for (std::string line; std::getline(in, line);) {
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            m_values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    Check(!m_values["VISDK_ENDPOINT_URL"].empty(), "no endpoint in " + m_file);
    setenv("VISDK_TRUST_THUMBPRINT", m_values["VISDK_ENDPOINT_THUMBPRINT"].c_str(), 1);
}

BenchEndpoint::~BenchEndpoint()
{
    std::string stop = std::string(VISDK_BENCH_SCRIPTS) + "/stop.sh " + m_file + " > /dev/null";
    if (m_started && std::system(stop.c_str()) != 0)
        std::fprintf(stderr, "bench: stopping the endpoint failed: %s\n", stop.c_str());
}

std::string BenchEndpoint::operator[](const std::string& key) const
{
    auto found = m_values.find(key);
    return found == m_values.end() ? "" : found->second;
}

void PrintCall(const char* name, const Figures& figures)
{
    std::printf("bench %s: bridge %.0f ns/call, floor %.0f ns/call, ratio %.2f\n", name, figures.bridgeNs, figures.floorNs,
                figures.bridgeNs / figures.floorNs);
    std::fflush(stdout);
}

void PrintRate(const char* name, const Figures& figures, double items, const char* unit)
{
    double bridgeItemNs = figures.bridgeNs / items, floorItemNs = figures.floorNs / items;
    std::printf("bench %s: bridge %.1f ns/%s (%.2f M %ss/s), floor %.1f ns/%s (%.2f M %ss/s), ratio %.2f\n", name, bridgeItemNs,
                unit, 1e3 / bridgeItemNs, unit, floorItemNs, unit, 1e3 / floorItemNs, unit, figures.bridgeNs / figures.floorNs);
    std::fflush(stdout);
}

} // namespace visdkbench
