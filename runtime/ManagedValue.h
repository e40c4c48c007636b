#ifndef VISDK_MANAGED_VALUE_H
#define VISDK_MANAGED_VALUE_H

#include <ctime>
#include <exception>
#include <string>

#include "MonoTypes.h"
#include "VISDKExport.h"

namespace VISDKCppBridge {

// A managed exception as the invocation layer throws it. Only its class name travels: the exception object lives on
// the collector's heap, which may move or free it while the native exception unwinds.
class VISDK_API ManagedException : public std::exception {
public:
    explicit ManagedException(MonoObject* exception) noexcept;
    const char* what() const noexcept override;
    const char* ClassName() const noexcept { return m_className; }

private:
    char m_className[128];
};

// Text crosses as UTF-8; bytes that are not valid UTF-8 become U+FFFD. Only the part before a NUL byte crosses:
// the text is noted for the calling operation's frame, with `where` (a field or list name) saying where it was.
VISDK_API MonoString* std2gc(const std::string& text);
VISDK_API MonoString* std2gc(const std::string& text, const char* where);
// The whole text, embedded NULs included; an unpaired surrogate becomes U+FFFD (logged once per text).
VISDK_API std::string gc2std(MonoString* text);
VISDK_API void LogException(const char* function, MonoObject* exception);
VISDK_API void LogException(const char* function, const ManagedException& exception) noexcept;
// Class name of a managed object, or "" for null.
VISDK_API std::string ClassNameOf(MonoObject* object);

// A class of the wrapper assembly's namespace by name, looked up once per process; null when absent.
VISDK_API MonoClass* WrapperClass(const char* className);
VISDK_API MonoObject* NewManagedObject(const char* className, bool runConstructor);
// The same for a class already looked up (null logs as a missing class of that name).
VISDK_API MonoObject* NewObjectOfClass(MonoClass* klass, const char* className, bool runConstructor);
VISDK_API MonoObject* NewManagedDateTime();

VISDK_API MonoObject* GetFieldValue(MonoClass* klass, MonoObject* object, const char* field);
VISDK_API std::string GetStringFieldValue(MonoClass* klass, MonoObject* object, const char* field);
VISDK_API bool GetBoolFieldValue(MonoClass* klass, MonoObject* object, const char* field);
VISDK_API int GetIntFieldValue(MonoClass* klass, MonoObject* object, const char* field);
VISDK_API long GetLongFieldValue(MonoClass* klass, MonoObject* object, const char* field);
VISDK_API MonoObject* GetStructFieldValue(MonoClass* klass, MonoObject* object, const char* field);
VISDK_API time_t GetDateTimeFieldValue(MonoClass* klass, MonoObject* object, const char* field);
VISDK_API bool IsStringFieldEmpty(MonoObject* object, const char* field);
VISDK_API void SetFieldValue(MonoClass* klass, MonoObject* object, const char* field, void* value);

// Typed writers: each checks the field's managed type before storing.
VISDK_API void SetStringFieldValue(MonoClass* klass, MonoObject* object, const char* field, const std::string& value);
VISDK_API void SetIntFieldValue(MonoClass* klass, MonoObject* object, const char* field, int value);
VISDK_API void SetLongFieldValue(MonoClass* klass, MonoObject* object, const char* field, long value);
VISDK_API void SetBoolFieldValue(MonoClass* klass, MonoObject* object, const char* field, bool value);
VISDK_API void SetDateTimeFieldValue(MonoClass* klass, MonoObject* object, const char* field, time_t value);
VISDK_API void SetObjectFieldValue(MonoClass* klass, MonoObject* object, const char* field, MonoObject* value);

VISDK_API time_t DateTimeToTimeT(MonoObject* dateTime);
VISDK_API MonoObject* TimeTToDateTime(time_t seconds);

VISDK_API MonoClass* mono_image_get_classes(MonoImage* image, void** cursor);
VISDK_API void DumpClasses();
VISDK_API void DumpClassMethods(MonoClass* klass);
VISDK_API void DumpClassFields(MonoClass* klass);
VISDK_API void DumpMethod(MonoMethod* method);

} // namespace VISDKCppBridge

#endif
