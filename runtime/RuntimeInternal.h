#ifndef VISDK_RUNTIME_INTERNAL_H
#define VISDK_RUNTIME_INTERNAL_H

#include <cstddef>

#include "MonoTypes.h"
#include "VISDKExport.h"

namespace VISDKCppBridge {

// Runs the parameterless constructor with the exception captured; false (logged) when it throws.
bool RunDefaultConstructor(MonoObject* object);

// Invokes with the exception captured: a managed exception is logged against `what` and gives null.
VISDK_API MonoObject* InvokeCaptured(MonoMethod* method, void* instance, void** args, const char* what, bool* threw = nullptr);

// Address of a boxed value's data, or null (logged by the caller) unless it is a value type of at least `size` bytes.
VISDK_API const void* UnboxedValue(MonoObject* boxed, size_t size);

// The method of that name on the class, looked up once per process and then remembered, found or not.
// With slots >= 0 an overload with exactly that many parameters is preferred.
VISDK_API MonoMethod* CachedMethod(MonoClass* klass, const char* name, int slots);

// True while the calling thread is attached through this library.
bool ThreadIsAttached();

} // namespace VISDKCppBridge

#endif
