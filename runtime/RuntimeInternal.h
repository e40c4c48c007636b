#ifndef VISDK_RUNTIME_INTERNAL_H
#define VISDK_RUNTIME_INTERNAL_H

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

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

// A field of a class, looked up once per process (field null when the class lacks it), with the kinds its
// managed type can be read and written as.
struct FieldHandle {
    MonoClassField* field;
    uint8_t kinds;
};
VISDK_API const FieldHandle* LookupField(MonoClass* klass, const char* name);

// The typed field accessors on a field already looked up; `name` is for the messages, which are those of the
// accessors by name. Struct and date reads log nothing for a missing field.
VISDK_API std::string ReadStringField(MonoObject* object, const FieldHandle* handle, const char* name);
VISDK_API int32_t ReadIntField(MonoObject* object, const FieldHandle* handle, const char* name);
VISDK_API int64_t ReadLongField(MonoObject* object, const FieldHandle* handle, const char* name);
VISDK_API bool ReadBoolField(MonoObject* object, const FieldHandle* handle, const char* name);
VISDK_API MonoObject* ReadReferenceField(MonoObject* object, const FieldHandle* handle, const char* name);
VISDK_API MonoObject* ReadStructField(MonoObject* object, const FieldHandle* handle);
VISDK_API time_t ReadDateField(MonoObject* object, const FieldHandle* handle);
VISDK_API void WriteStringField(MonoObject* object, const FieldHandle* handle, const char* name, const std::string& value);
VISDK_API void WriteIntField(MonoObject* object, const FieldHandle* handle, const char* name, int32_t value);
VISDK_API void WriteLongField(MonoObject* object, const FieldHandle* handle, const char* name, int64_t value);
VISDK_API void WriteBoolField(MonoObject* object, const FieldHandle* handle, const char* name, bool value);
VISDK_API void WriteDateField(MonoObject* object, const FieldHandle* handle, const char* name, time_t value);
VISDK_API void WriteReferenceField(MonoObject* object, const FieldHandle* handle, const char* name, MonoObject* value);

// True while the calling thread is attached through this library.
bool ThreadIsAttached();

// What the conversions of the current operation on this thread could not do whole. The frame clears it when an
// operation starts, and reads it once the arguments are built and again once the results are converted.
// Trivial, so the thread-local needs no constructor call.
struct ConversionFaults {
    unsigned nulTexts;      // texts met with a NUL byte
    unsigned lists;         // lists that could not be converted whole
    char nulWhere[96];      // where the first such text was: a field or list, "" for a plain text
    char listClass[96];     // the first such list's enumerator or item class
};
extern VISDK_API __attribute__((tls_model("initial-exec"))) thread_local ConversionFaults t_conversionFaults;

VISDK_API void NoteTextWithNul(const char* where) noexcept;
VISDK_API void NoteIncompleteList(const char* listClass) noexcept;
VISDK_API void ClearConversionFaults() noexcept;

} // namespace VISDKCppBridge

#endif
