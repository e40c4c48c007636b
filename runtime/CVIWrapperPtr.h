#ifndef VISDK_CVIWRAPPERPTR_H
#define VISDK_CVIWRAPPERPTR_H

#include <cstdint>
#include <string>

#include "MonoTypes.h"
#include "PlatformServices.h"
#include "VISDKExport.h"

namespace VISDKCppBridge {

extern VISDK_API MonoDomain* g_domain;
extern VISDK_API MonoImage* g_image;
extern VISDK_API std::string g_monoVersionString;
extern VISDK_API int32_t g_monoMajorVersion;
extern VISDK_API int32_t g_monoMinorVersion;
extern VISDK_API DebugLog g_debug;

// Holds one managed CVIWrapper instance by GC handle, and the process-wide runtime state.
class VISDK_API CVIWrapperPtr {
public:
    CVIWrapperPtr();
    ~CVIWrapperPtr();
    CVIWrapperPtr(const CVIWrapperPtr&) = delete;
    CVIWrapperPtr& operator=(const CVIWrapperPtr&) = delete;

    bool Init();
    bool StartMonoThread();
    bool ThreadAttach();

    static void* MonoThread(void* argument);
    static bool InitMono();
    static void CleanupMono();
    // Reads the major and minor numbers from a runtime build-information text.
    static void ParseVersion(const std::string& buildInfo);

    // Throws the managed exception as MonoObject*.
    MonoObject* Invoke(const char* method, void** args);
    int Invoke(int failure, const char* method, void** args);
    long long Invoke(long long failure, const char* method, void** args);
    bool Invoke(bool failure, const char* method, void** args);
    std::string Invoke(std::string& inout, const char* method, void** args);

    // The core call in two steps: the named method (null, logged, when it cannot be had), then the call.
    // With a slot count, an overload taking exactly that many parameters is preferred to the first of the name.
    MonoMethod* FindMethod(const char* method, int slots = -1);
    MonoObject* InvokeMethod(MonoMethod* method, void** args);
    // The typed overloads' result rules, applied to a core result.
    static int IntResult(MonoObject* result, int failure);
    static long long LongResult(MonoObject* result, long long failure);
    static bool BoolResult(MonoObject* result, bool failure);
    static std::string StringResult(MonoObject* result, std::string& inout);

    static PlatformMutex c_monoInitCS;
    static PlatformEvent c_monoInitEvent;
    static PlatformEvent c_monoQuitEvent;
    static PlatformThread c_monoThread;
    static bool c_monoInitStatus;
    static bool c_monoThreadRunning;

    MonoClass* m_wrapperClass;
    uint32_t m_gcHandle;
};

} // namespace VISDKCppBridge

#endif
