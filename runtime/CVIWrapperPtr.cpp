#include "CVIWrapperPtr.h"

#include <stdlib.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include <mono/metadata/object.h>

#include "LookupCache.h"
#include "ManagedValue.h"
#include "RuntimeApi.h"
#include "RuntimeInternal.h"

namespace VISDKCppBridge {

MonoDomain* g_domain = nullptr;
MonoImage* g_image = nullptr;
std::string g_monoVersionString;
int32_t g_monoMajorVersion = 0;
int32_t g_monoMinorVersion = 1;

// Built in this order at load and destroyed in reverse at exit.
DebugLog g_debug;
PlatformMutex CVIWrapperPtr::c_monoInitCS;
PlatformEvent CVIWrapperPtr::c_monoInitEvent;
PlatformEvent CVIWrapperPtr::c_monoQuitEvent;
PlatformThread CVIWrapperPtr::c_monoThread;
bool CVIWrapperPtr::c_monoInitStatus = false;
bool CVIWrapperPtr::c_monoThreadRunning = false;

namespace {

// Initial-exec: every call reads it, and the general TLS model would cost a runtime lookup each time.
__attribute__((tls_model("initial-exec"))) thread_local bool t_attached = false;

const unsigned kQuitPollMs = 10000;
const unsigned kFirstJoinMs = 5000;
const unsigned kSecondJoinMs = 25000;

// The status is written once by the runtime thread and read lock-free by every operation.
bool RuntimeUp() { return __atomic_load_n(&CVIWrapperPtr::c_monoInitStatus, __ATOMIC_ACQUIRE); }

void SetRuntimeUp(bool up) { __atomic_store_n(&CVIWrapperPtr::c_monoInitStatus, up, __ATOMIC_RELEASE); }

// Reads a number the way std::stoi does, without throwing; false leaves `out` alone.
bool LeadingNumber(const std::string& text, int32_t& out)
{
    errno = 0;
    char* end = nullptr;
    long value = strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

// The managed client's way into the host's log: "VISDKWrapper.NativeLog::Write" (level 0 for errors).
void ManagedLogWrite(int32_t level, MonoString* text)
{
    std::string line = gc2std(text);
    if (level <= 0)
        g_debug.Error("%s", line.c_str());
    else
        g_debug.DebugLevel(level, "%s", line.c_str());
}

} // namespace

MonoMethod* CachedMethod(MonoClass* klass, const char* name, int slots)
{
    struct Found {
        MonoMethod* method;
    };
    return ProcessCache<Found>()
        .Get(klass, name, slots,
             [&] {
                 MonoMethod* method = g_mono.mono_class_get_method_from_name(klass, name, -1);
                 // Overloads of one name are told apart by their parameter count when the caller knows it.
                 if (method && slots >= 0) {
                     MonoMethodSignature* signature = g_mono.mono_method_signature(method);
                     if (!signature || static_cast<int>(g_mono.mono_signature_get_param_count(signature)) != slots) {
                         if (MonoMethod* exact = g_mono.mono_class_get_method_from_name(klass, name, slots))
                             method = exact;
                     }
                 }
                 return Found{method};
             })
        .value.method;
}

bool ThreadIsAttached() { return t_attached; }

CVIWrapperPtr::CVIWrapperPtr() : m_wrapperClass(nullptr), m_gcHandle(0) {}

CVIWrapperPtr::~CVIWrapperPtr()
{
    if (m_gcHandle != 0) {
        g_mono.mono_gchandle_free(m_gcHandle);
        m_gcHandle = 0;
    }
}

bool CVIWrapperPtr::Init()
{
    bool status;
    {
        PlatformMutex::Lock lock(c_monoInitCS);
        if (!c_monoThreadRunning)
            StartMonoThread();
        status = RuntimeUp();
    }
    if (!status)
        return false;
    ThreadAttach();
    // Each call replaces the managed instance; the earlier one is released rather than kept alive.
    if (m_gcHandle != 0) {
        g_mono.mono_gchandle_free(m_gcHandle);
        m_gcHandle = 0;
    }
    m_wrapperClass = g_mono.mono_class_from_name(g_image, "VISDKWrapper", "CVIWrapper");
    if (!m_wrapperClass) {
        g_debug.Error("Failed to get mono class");
        return false;
    }
    MonoObject* object = g_mono.mono_object_new(g_domain, m_wrapperClass);
    if (!object) {
        g_debug.Error("Failed to create mono object");
        return false;
    }
    m_gcHandle = g_mono.mono_gchandle_new(object, 0);
    if (!RunDefaultConstructor(object)) {
        g_mono.mono_gchandle_free(m_gcHandle);
        m_gcHandle = 0;
        return false;
    }
    return true;
}

bool CVIWrapperPtr::StartMonoThread()
{
    bool created = c_monoThread.Create(&CVIWrapperPtr::MonoThread, nullptr);
    c_monoThreadRunning = true;
    if (!created) {
        // Without a runtime thread nobody would set the start event: a failed start, final for the process.
        g_debug.Error("Failed to create the mono thread");
        SetRuntimeUp(false);
        return false;
    }
    g_debug.DebugLevel(2, "Waiting for mono initialization");
    c_monoInitEvent.Wait();
    g_debug.DebugLevel(2, "Done waiting for mono initialization");
    return RuntimeUp();
}

void* CVIWrapperPtr::MonoThread(void*)
{
    bool up = InitMono();
    SetRuntimeUp(up);
    c_monoInitEvent.Set();
    g_debug.Debug("mono initialization complete - %s", g_monoVersionString.c_str());
    if (up) {
        while (!c_monoQuitEvent.Wait(kQuitPollMs)) {
        }
    }
    if (g_monoMajorVersion <= 5) {
        g_debug.Debug("mono thread suspending");
        for (;;)
            SleepMs(kQuitPollMs);
    }
    g_debug.Debug("mono thread exiting");
    return nullptr;
}

void CVIWrapperPtr::ParseVersion(const std::string& buildInfo)
{
    std::vector<std::string> pieces = SplitString(buildInfo, ".");
    if (pieces.size() > 1)
        LeadingNumber(pieces[0], g_monoMajorVersion);
    if (pieces.size() > 2)
        LeadingNumber(pieces[1], g_monoMinorVersion);
}

bool CVIWrapperPtr::InitMono()
{
    std::string home = GetHomeDirectory();
    if (home.empty()) {
        g_debug.Error("Could not find the directory of the bridge library");
        return false;
    }
    if (!g_domain) {
        setenv("MONO_THREADS_SUSPEND", "preemptive", 1);
        if (!RuntimeApi::Initialize())
            return false;
        g_mono.mono_config_parse(nullptr);
        g_domain = g_mono.mono_jit_init("VISDKCppBridge");
        if (!g_domain)
            return false;
        if (char* info = g_mono.mono_get_runtime_build_info()) {
            g_monoVersionString = info;
            g_mono.mono_free(info);
            ParseVersion(g_monoVersionString);
        }
        g_mono.mono_domain_set_config(g_domain, home.c_str(), "VISDKWrapper.config");
        g_mono.mono_add_internal_call("VISDKWrapper.NativeLog::Write", reinterpret_cast<const void*>(&ManagedLogWrite));
    }
    if (g_image)
        return true;
    std::string path = JoinPath(home, "VISDKWrapper.dll");
    g_mono.mono_thread_attach(g_domain);
    MonoAssembly* assembly = g_mono.mono_domain_assembly_open(g_domain, path.c_str());
    if (!assembly)
        return false;
    g_image = g_mono.mono_assembly_get_image(assembly);
    return g_image != nullptr;
}

void CVIWrapperPtr::CleanupMono()
{
    // Only a thread this library attached is detached: asking the runtime about any other thread aborts.
    if (g_domain && t_attached) {
        if (::MonoThread* thread = g_mono.mono_thread_current())
            g_mono.mono_thread_detach(thread);
        t_attached = false;
    }
    c_monoQuitEvent.Set();
    if (g_monoMajorVersion <= 5)
        return;
    if (c_monoThread.Join(kFirstJoinMs))
        return;
    g_debug.Debug("waiting for mono thread to exit");
    if (!c_monoThread.Join(kSecondJoinMs))
        g_debug.Debug("timeout waiting for mono thread to exit");
}

bool CVIWrapperPtr::ThreadAttach()
{
    if (!RuntimeUp())
        return false;
    if (!t_attached) {
        g_mono.mono_thread_attach(g_domain);
        t_attached = true;
    }
    return true;
}

MonoObject* CVIWrapperPtr::Invoke(const char* method, void** args) { return InvokeMethod(FindMethod(method), args); }

MonoMethod* CVIWrapperPtr::FindMethod(const char* method, int slots)
{
    if (!RuntimeUp())
        return nullptr;
    // An object whose Init never succeeded has neither class nor instance.
    if (!m_wrapperClass || m_gcHandle == 0) {
        g_debug.Error("object has been destroyed");
        return nullptr;
    }
    MonoMethod* found = CachedMethod(m_wrapperClass, method, slots);
    if (!found)
        g_debug.Error("Could not find method [%s]", method);
    return found;
}

MonoObject* CVIWrapperPtr::InvokeMethod(MonoMethod* method, void** args)
{
    if (!method)
        return nullptr;
    MonoObject* instance = g_mono.mono_gchandle_get_target(m_gcHandle);
    if (!instance) {
        g_debug.Error("object has been destroyed");
        return nullptr;
    }
    MonoObject* exception = nullptr;
    void* unused = nullptr;
    MonoObject* result = g_mono.mono_runtime_invoke(method, instance, args ? args : &unused, &exception);
    // Its class name is taken now, before the runtime runs again and a collection can move the object.
    if (exception)
        throw ManagedException(exception);
    return result;
}

namespace {

// A boxed integer or flag of a result, read by its managed type. `widest` is the widest integer type the result
// kind takes (4 or 8 bytes); a narrower one is widened, since it keeps its value. Anything else is refused.
bool BoxedInteger(MonoObject* result, int widest, int64_t& value)
{
    MonoClass* klass = result ? g_mono.mono_object_get_class(result) : nullptr;
    if (!klass)
        return false;
    // Unboxed only once the class is known to be one of these value types.
    auto read = [result](auto type) { return static_cast<int64_t>(*static_cast<const decltype(type)*>(g_mono.mono_object_unbox(result))); };
    if (klass == g_mono.mono_get_int32_class())
        value = read(int32_t());
    else if (klass == g_mono.mono_get_int64_class() && widest == 8)
        value = read(int64_t());
    else if (klass == g_mono.mono_get_uint32_class() && widest == 8)
        value = read(uint32_t());
    else if (klass == g_mono.mono_get_int16_class())
        value = read(int16_t());
    else if (klass == g_mono.mono_get_uint16_class())
        value = read(uint16_t());
    else if (klass == g_mono.mono_get_sbyte_class())
        value = read(int8_t());
    else if (klass == g_mono.mono_get_byte_class())
        value = read(uint8_t());
    else
        return false;
    return true;
}

} // namespace

int CVIWrapperPtr::IntResult(MonoObject* result, int failure)
{
    int64_t value;
    if (!BoxedInteger(result, 4, value)) {
        g_debug.Error("Result is invalid (int)");
        return failure;
    }
    return static_cast<int>(value);
}

long long CVIWrapperPtr::LongResult(MonoObject* result, long long failure)
{
    int64_t value;
    if (!BoxedInteger(result, 8, value)) {
        g_debug.Error("Result is invalid (int)");
        return failure;
    }
    return value;
}

bool CVIWrapperPtr::BoolResult(MonoObject* result, bool failure)
{
    if (!result || g_mono.mono_object_get_class(result) != g_mono.mono_get_boolean_class()) {
        g_debug.Error("Result is invalid (bool)");
        return failure;
    }
    return *static_cast<const unsigned char*>(g_mono.mono_object_unbox(result)) != 0;
}

std::string CVIWrapperPtr::StringResult(MonoObject* result, std::string& inout)
{
    if (!result || g_mono.mono_object_get_class(result) != g_mono.mono_get_string_class()) {
        g_debug.Error("Result is invalid (string)");
        return inout;
    }
    inout = gc2std(reinterpret_cast<MonoString*>(result));
    return inout;
}

int CVIWrapperPtr::Invoke(int failure, const char* method, void** args) { return IntResult(Invoke(method, args), failure); }

long long CVIWrapperPtr::Invoke(long long failure, const char* method, void** args)
{
    return LongResult(Invoke(method, args), failure);
}

bool CVIWrapperPtr::Invoke(bool failure, const char* method, void** args) { return BoolResult(Invoke(method, args), failure); }

std::string CVIWrapperPtr::Invoke(std::string& inout, const char* method, void** args)
{
    return StringResult(Invoke(method, args), inout);
}

} // namespace VISDKCppBridge
