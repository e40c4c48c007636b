#include "ManagedValue.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <limits>

#include <mono/metadata/blob.h>

#include "CVIWrapperPtr.h"
#include "LookupCache.h"
#include "RuntimeApi.h"
#include "RuntimeInternal.h"

namespace VISDKCppBridge {

namespace {

const char* const kNamespace = "VISDKWrapper";
const long long kTicksAt1970 = 621355968000000000LL;
const long long kTicksPerSecond = 10000000LL;
const long long kMaxDateTimeTicks = 3155378975999999999LL;

// Length of the valid UTF-8 sequence at `p`, or 0 when the bytes there are not one.
size_t Utf8SequenceLength(const unsigned char* p, const unsigned char* end)
{
    unsigned char lead = p[0];
    if (lead < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F; // no encoded surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (static_cast<size_t>(end - p) < length)
        return 0;
    if (p[1] < low || p[1] > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return length;
}

// The text up to its first NUL, with every byte that does not start a valid sequence replaced by U+FFFD.
bool SanitizeUtf8(const char* text, std::string& clean)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + std::strlen(text);
    const unsigned char* start = p;
    bool replaced = false;
    while (p < end) {
        size_t length = Utf8SequenceLength(p, end);
        if (length == 0) {
            clean.append(reinterpret_cast<const char*>(start), static_cast<size_t>(p - start));
            clean += "\xEF\xBF\xBD";
            replaced = true;
            ++p;
            start = p;
        } else {
            p += length;
        }
    }
    if (replaced)
        clean.append(reinterpret_cast<const char*>(start), static_cast<size_t>(end - start));
    return replaced;
}

// The core library's DateTime, its Ticks property and AddTicks, found once.
struct DateTimeHandles {
    MonoClass* klass;
    MonoProperty* ticks;
    MonoMethod* addTicks;
};

const DateTimeHandles& DateTime()
{
    static const DateTimeHandles kNone{nullptr, nullptr, nullptr};
    static std::atomic<const DateTimeHandles*> found{nullptr};
    if (const DateTimeHandles* handles = found.load(std::memory_order_acquire))
        return *handles;
    MonoImage* corlib = g_domain ? g_mono.mono_get_corlib() : nullptr;
    if (!corlib)
        return kNone;
    const DateTimeHandles& handles =
        ProcessCache<DateTimeHandles>()
            .Get(corlib, "System.DateTime", 0,
                 [&] {
                     MonoClass* klass = g_mono.mono_class_from_name(corlib, "System", "DateTime");
                     return DateTimeHandles{klass, klass ? g_mono.mono_class_get_property_from_name(klass, "Ticks") : nullptr,
                                            klass ? g_mono.mono_class_get_method_from_name(klass, "AddTicks", -1) : nullptr};
                 })
            .value;
    found.store(&handles, std::memory_order_release);
    return handles;
}

MonoClass* DateTimeClass() { return DateTime().klass; }

enum FieldKind : uint8_t { Reference = 1, String = 2, Int32 = 4, Int64 = 8, Boolean = 16, DateTimeValue = 32 };

// The kinds a field's managed type can be read and written as.
uint8_t KindsOf(MonoClassField* field)
{
    MonoType* type = g_mono.mono_field_get_type(field);
    if (!type)
        return 0;
    switch (g_mono.mono_type_get_type(type)) {
    case MONO_TYPE_STRING:
        return String | Reference;
    case MONO_TYPE_I4:
    case MONO_TYPE_U4:
        return Int32;
    case MONO_TYPE_I8:
    case MONO_TYPE_U8:
        return Int64;
    case MONO_TYPE_BOOLEAN:
        return Boolean;
    case MONO_TYPE_VALUETYPE:
        return g_mono.mono_class_from_mono_type(type) == DateTimeClass() ? DateTimeValue : 0;
    case MONO_TYPE_CLASS:
    case MONO_TYPE_OBJECT:
    case MONO_TYPE_SZARRAY:
    case MONO_TYPE_ARRAY:
        return Reference;
    case MONO_TYPE_GENERICINST: {
        MonoClass* klass = g_mono.mono_class_from_mono_type(type);
        return klass && !g_mono.mono_class_is_valuetype(klass) ? Reference : 0;
    }
    default:
        return 0;
    }
}

// The handle's field when it has the expected kind; logs and gives null otherwise.
MonoClassField* CheckedField(const FieldHandle* handle, const char* name, FieldKind kind, bool logMissing = true)
{
    if (!handle || !handle->field) {
        if (logMissing)
            g_debug.Error("Could not find field [%s]", name ? name : "");
        return nullptr;
    }
    if (!(handle->kinds & kind)) {
        g_debug.Error("Field [%s] is not of the expected type", name);
        return nullptr;
    }
    return handle->field;
}

// The named field when the object has it with the expected kind; logs and gives null otherwise.
MonoClassField* FindField(MonoClass* klass, MonoObject* object, const char* name, FieldKind kind, bool logMissing = true)
{
    return CheckedField(klass && object && name ? LookupField(klass, name) : nullptr, name, kind, logMissing);
}

template <typename T>
T ReadField(MonoClass* klass, MonoObject* object, const char* name, FieldKind kind)
{
    T value{};
    if (MonoClassField* field = FindField(klass, object, name, kind))
        g_mono.mono_field_get_value(object, field, &value);
    return value;
}

template <typename T>
void WriteField(MonoClass* klass, MonoObject* object, const char* name, FieldKind kind, T value)
{
    if (MonoClassField* field = FindField(klass, object, name, kind))
        g_mono.mono_field_set_value(object, field, &value);
}

void CopyName(char (&target)[96], const char* name) noexcept
{
    snprintf(target, sizeof target, "%s", name ? name : "");
}

inline bool IsLeadSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsTrailSurrogate(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Writes the UTF-8 form of a code point of two bytes or more; gives the end.
char* AppendCodePoint(char* p, uint32_t c)
{
    if (c < 0x800) {
        *p++ = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        *p++ = static_cast<char>(0xE0 | (c >> 12));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        *p++ = static_cast<char>(0xF0 | (c >> 18));
        *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
    return p;
}

} // namespace

VISDK_API __attribute__((tls_model("initial-exec"))) thread_local ConversionFaults t_conversionFaults;

void NoteTextWithNul(const char* where) noexcept
{
    if (t_conversionFaults.nulTexts++ == 0)
        CopyName(t_conversionFaults.nulWhere, where);
}

void NoteIncompleteList(const char* listClass) noexcept
{
    if (t_conversionFaults.lists++ == 0)
        CopyName(t_conversionFaults.listClass, listClass);
}

void ClearConversionFaults() noexcept
{
    t_conversionFaults.nulTexts = 0;
    t_conversionFaults.lists = 0;
}

const FieldHandle* LookupField(MonoClass* klass, const char* name)
{
    return &ProcessCache<FieldHandle>()
                .Get(klass, name, 0,
                     [&] {
                         MonoClassField* field = g_mono.mono_class_get_field_from_name(klass, name);
                         return FieldHandle{field, field ? KindsOf(field) : uint8_t(0)};
                     })
                .value;
}

namespace {

template <typename T>
T ReadHandle(MonoObject* object, const FieldHandle* handle, const char* name, FieldKind kind)
{
    T value{};
    if (MonoClassField* field = CheckedField(object ? handle : nullptr, name, kind))
        g_mono.mono_field_get_value(object, field, &value);
    return value;
}

template <typename T>
void WriteHandle(MonoObject* object, const FieldHandle* handle, const char* name, FieldKind kind, T value)
{
    if (MonoClassField* field = CheckedField(object ? handle : nullptr, name, kind))
        g_mono.mono_field_set_value(object, field, &value);
}

} // namespace

std::string ReadStringField(MonoObject* object, const FieldHandle* handle, const char* name)
{
    return gc2std(reinterpret_cast<MonoString*>(ReadHandle<MonoObject*>(object, handle, name, String)));
}

int32_t ReadIntField(MonoObject* object, const FieldHandle* handle, const char* name)
{
    return ReadHandle<int32_t>(object, handle, name, Int32);
}

int64_t ReadLongField(MonoObject* object, const FieldHandle* handle, const char* name)
{
    return ReadHandle<int64_t>(object, handle, name, Int64);
}

bool ReadBoolField(MonoObject* object, const FieldHandle* handle, const char* name)
{
    return ReadHandle<unsigned char>(object, handle, name, Boolean) != 0;
}

MonoObject* ReadReferenceField(MonoObject* object, const FieldHandle* handle, const char* name)
{
    return ReadHandle<MonoObject*>(object, handle, name, Reference);
}

MonoObject* ReadStructField(MonoObject* object, const FieldHandle* handle)
{
    return object && handle && handle->field ? g_mono.mono_field_get_value_object(g_domain, handle->field, object) : nullptr;
}

time_t ReadDateField(MonoObject* object, const FieldHandle* handle)
{
    MonoObject* value = ReadStructField(object, handle);
    return value ? DateTimeToTimeT(value) : 0;
}

void WriteStringField(MonoObject* object, const FieldHandle* handle, const char* name, const std::string& value)
{
    if (MonoClassField* field = CheckedField(object ? handle : nullptr, name, String))
        g_mono.mono_field_set_value(object, field, std2gc(value, name));
}

void WriteIntField(MonoObject* object, const FieldHandle* handle, const char* name, int32_t value)
{
    WriteHandle<int32_t>(object, handle, name, Int32, value);
}

void WriteLongField(MonoObject* object, const FieldHandle* handle, const char* name, int64_t value)
{
    WriteHandle<int64_t>(object, handle, name, Int64, value);
}

void WriteBoolField(MonoObject* object, const FieldHandle* handle, const char* name, bool value)
{
    WriteHandle<unsigned char>(object, handle, name, Boolean, value ? 1 : 0);
}

void WriteDateField(MonoObject* object, const FieldHandle* handle, const char* name, time_t value)
{
    MonoClassField* field = CheckedField(object ? handle : nullptr, name, DateTimeValue);
    if (!field)
        return;
    MonoObject* date = TimeTToDateTime(value);
    if (date)
        g_mono.mono_field_set_value(object, field, g_mono.mono_object_unbox(date));
}

void WriteReferenceField(MonoObject* object, const FieldHandle* handle, const char* name, MonoObject* value)
{
    if (MonoClassField* field = CheckedField(object ? handle : nullptr, name, Reference))
        g_mono.mono_field_set_value(object, field, value);
}

bool RunDefaultConstructor(MonoObject* object)
{
    MonoClass* klass = g_mono.mono_object_get_class(object);
    if (g_mono.mono_class_is_valuetype(klass))
        return true;
    MonoMethod* constructor = g_mono.mono_class_get_method_from_name(klass, ".ctor", 0);
    if (!constructor) {
        g_debug.Error("Could not find the default constructor of class [%s]", g_mono.mono_class_get_name(klass));
        return false;
    }
    bool threw = false;
    InvokeCaptured(constructor, object, nullptr, g_mono.mono_class_get_name(klass), &threw);
    return !threw;
}

MonoObject* InvokeCaptured(MonoMethod* method, void* instance, void** args, const char* what, bool* threw)
{
    MonoObject* exception = nullptr;
    void* unused = nullptr;
    MonoObject* result = g_mono.mono_runtime_invoke(method, instance, args ? args : &unused, &exception);
    if (threw)
        *threw = exception != nullptr;
    if (exception) {
        g_debug.Error("Exception caught in [%s] - %s", what ? what : "", ClassNameOf(exception).c_str());
        return nullptr;
    }
    return result;
}

const void* UnboxedValue(MonoObject* boxed, size_t size)
{
    if (!boxed)
        return nullptr;
    struct ValueSize {
        int32_t bytes; // -1 for a reference type
    };
    MonoClass* klass = g_mono.mono_object_get_class(boxed);
    if (!klass)
        return nullptr;
    int32_t bytes = ProcessCache<ValueSize>()
                        .Get(klass, "", 0,
                             [&] {
                                 return ValueSize{g_mono.mono_class_is_valuetype(klass) ? g_mono.mono_class_value_size(klass, nullptr)
                                                                                         : -1};
                             })
                        .value.bytes;
    if (bytes < 0 || bytes < static_cast<int32_t>(size))
        return nullptr;
    return g_mono.mono_object_unbox(boxed);
}

MonoString* std2gc(const std::string& text) { return std2gc(text, ""); }

MonoString* std2gc(const std::string& text, const char* where)
{
    if (!g_domain)
        return nullptr;
    // Only the part before a NUL can cross; the frame refuses the call rather than pass a shortened name on.
    if (std::memchr(text.data(), '\0', text.size()))
        NoteTextWithNul(where);
    std::string clean;
    if (SanitizeUtf8(text.c_str(), clean)) {
        g_debug.Debug("Text is not valid UTF-8; invalid bytes replaced");
        return g_mono.mono_string_new(g_domain, clean.c_str());
    }
    return g_mono.mono_string_new(g_domain, text.c_str());
}

std::string gc2std(MonoString* text)
{
    if (!text)
        return std::string();
    const uint16_t* chars = g_mono.mono_string_chars(text);
    size_t length = static_cast<size_t>(std::max(g_mono.mono_string_length(text), 0));
    if (!chars || length == 0)
        return std::string();
    // Measured first, so the text is written once into a buffer of its exact size.
    size_t bytes = 0;
    for (size_t i = 0; i < length; ++i) {
        uint32_t c = chars[i];
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (IsLeadSurrogate(c) && i + 1 < length && IsTrailSurrogate(chars[i + 1]))
            bytes += 4, ++i;
        else
            bytes += 3; // the character itself, or U+FFFD for an unpaired surrogate
    }
    std::string out(bytes, '\0');
    char* p = &out[0];
    bool replaced = false;
    for (size_t i = 0; i < length; ++i) {
        uint32_t c = chars[i];
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            continue;
        }
        if (IsLeadSurrogate(c) && i + 1 < length && IsTrailSurrogate(chars[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (chars[++i] - 0xDC00u);
        } else if (IsLeadSurrogate(c) || IsTrailSurrogate(c)) {
            c = 0xFFFD;
            replaced = true;
        }
        p = AppendCodePoint(p, c);
    }
    if (replaced)
        g_debug.Error("Managed text holds an unpaired surrogate; replaced by U+FFFD");
    return out;
}

std::string ClassNameOf(MonoObject* object)
{
    if (!object)
        return std::string();
    MonoClass* klass = g_mono.mono_object_get_class(object);
    const char* name = klass ? g_mono.mono_class_get_name(klass) : nullptr;
    return name ? name : "";
}

void LogException(const char* function, MonoObject* exception)
{
    LogException(function, ManagedException(exception));
}

void LogException(const char* function, const ManagedException& exception) noexcept
{
    DebugLog log;
    log.ErrorTagged(function, "Exception caught in bridge - %s\n", exception.ClassName());
}

ManagedException::ManagedException(MonoObject* exception) noexcept
{
    MonoClass* klass = exception ? g_mono.mono_object_get_class(exception) : nullptr;
    const char* name = klass ? g_mono.mono_class_get_name(klass) : nullptr;
    snprintf(m_className, sizeof m_className, "%s", name ? name : "");
}

const char* ManagedException::what() const noexcept { return m_className; }

MonoClass* WrapperClass(const char* className)
{
    struct Found {
        MonoClass* klass;
    };
    if (!g_image || !className)
        return nullptr;
    return ProcessCache<Found>()
        .Get(g_image, className, 0, [&] { return Found{g_mono.mono_class_from_name(g_image, kNamespace, className)}; })
        .value.klass;
}

MonoObject* NewManagedObject(const char* className, bool runConstructor)
{
    return NewObjectOfClass(WrapperClass(className), className, runConstructor);
}

MonoObject* NewObjectOfClass(MonoClass* klass, const char* className, bool runConstructor)
{
    if (!klass) {
        g_debug.Error("Could not find class [%s]", className);
        return nullptr;
    }
    MonoObject* object = g_mono.mono_object_new(g_domain, klass);
    if (!object) {
        g_debug.Error("Could not create object of class [%s]", className);
        return nullptr;
    }
    if (runConstructor && !RunDefaultConstructor(object))
        return nullptr;
    return object;
}

MonoObject* NewManagedDateTime()
{
    MonoClass* klass = g_domain ? DateTimeClass() : nullptr;
    if (!klass) {
        g_debug.Error("Could not get datetime class");
        return nullptr;
    }
    MonoObject* object = g_mono.mono_object_new(g_domain, klass);
    if (!object)
        g_debug.Error("Could not create datetime object");
    return object;
}

MonoObject* GetFieldValue(MonoClass* klass, MonoObject* object, const char* field)
{
    return ReadField<MonoObject*>(klass, object, field, Reference);
}

std::string GetStringFieldValue(MonoClass* klass, MonoObject* object, const char* field)
{
    return gc2std(reinterpret_cast<MonoString*>(ReadField<MonoObject*>(klass, object, field, String)));
}

bool GetBoolFieldValue(MonoClass* klass, MonoObject* object, const char* field)
{
    return ReadField<unsigned char>(klass, object, field, Boolean) != 0;
}

int GetIntFieldValue(MonoClass* klass, MonoObject* object, const char* field)
{
    return ReadField<int32_t>(klass, object, field, Int32);
}

long GetLongFieldValue(MonoClass* klass, MonoObject* object, const char* field)
{
    return ReadField<int64_t>(klass, object, field, Int64);
}

MonoObject* GetStructFieldValue(MonoClass* klass, MonoObject* object, const char* field)
{
    if (!klass || !object)
        return nullptr;
    return ReadStructField(object, field ? LookupField(klass, field) : nullptr);
}

time_t GetDateTimeFieldValue(MonoClass* klass, MonoObject* object, const char* field)
{
    MonoObject* value = GetStructFieldValue(klass, object, field);
    return value ? DateTimeToTimeT(value) : 0;
}

bool IsStringFieldEmpty(MonoObject* object, const char* field)
{
    MonoClass* klass = object ? g_mono.mono_object_get_class(object) : nullptr;
    if (!klass)
        return true;
    MonoObject* value = GetFieldValue(klass, object, field);
    if (!value)
        return true;
    // A reference that is not a string counts as empty rather than being misread.
    if (g_mono.mono_object_get_class(value) != g_mono.mono_get_string_class())
        return true;
    return g_mono.mono_string_length(reinterpret_cast<MonoString*>(value)) == 0;
}

void SetFieldValue(MonoClass* klass, MonoObject* object, const char* field, void* value)
{
    MonoClassField* found = klass && object && field ? LookupField(klass, field)->field : nullptr;
    if (!found) {
        g_debug.Error("Could not find field [%s]", field);
        return;
    }
    g_mono.mono_field_set_value(object, found, value);
}

void SetStringFieldValue(MonoClass* klass, MonoObject* object, const char* field, const std::string& value)
{
    if (MonoClassField* found = FindField(klass, object, field, String))
        g_mono.mono_field_set_value(object, found, std2gc(value, field));
}

void SetIntFieldValue(MonoClass* klass, MonoObject* object, const char* field, int value)
{
    WriteField<int32_t>(klass, object, field, Int32, value);
}

void SetLongFieldValue(MonoClass* klass, MonoObject* object, const char* field, long value)
{
    WriteField<int64_t>(klass, object, field, Int64, value);
}

void SetBoolFieldValue(MonoClass* klass, MonoObject* object, const char* field, bool value)
{
    WriteField<unsigned char>(klass, object, field, Boolean, value ? 1 : 0);
}

void SetDateTimeFieldValue(MonoClass* klass, MonoObject* object, const char* field, time_t value)
{
    MonoClassField* found = FindField(klass, object, field, DateTimeValue);
    if (!found)
        return;
    MonoObject* date = TimeTToDateTime(value);
    if (date)
        g_mono.mono_field_set_value(object, found, g_mono.mono_object_unbox(date));
}

void SetObjectFieldValue(MonoClass* klass, MonoObject* object, const char* field, MonoObject* value)
{
    if (MonoClassField* found = FindField(klass, object, field, Reference))
        g_mono.mono_field_set_value(object, found, value);
}

time_t DateTimeToTimeT(MonoObject* dateTime)
{
    MonoClass* klass = dateTime ? g_mono.mono_object_get_class(dateTime) : nullptr;
    if (!klass) {
        g_debug.Error("Could not get datetime class");
        return 0;
    }
    MonoProperty* ticks = klass == DateTimeClass() ? DateTime().ticks : g_mono.mono_class_get_property_from_name(klass, "Ticks");
    if (!ticks) {
        g_debug.Error("Could not get datetime Ticks property");
        return 0;
    }
    MonoObject* exception = nullptr;
    void* unused = nullptr;
    MonoObject* value = g_mono.mono_property_get_value(ticks, g_mono.mono_object_unbox(dateTime), &unused, &exception);
    const void* data = exception ? nullptr : UnboxedValue(value, sizeof(uint64_t));
    if (!data) {
        g_debug.Error("Could not get datetime ticks property value");
        return 0;
    }
    uint64_t raw;
    std::memcpy(&raw, data, sizeof raw);
    // Unsigned on purpose: dates before 1970 wrap to large positive values, which callers rely on.
    return static_cast<time_t>((raw - static_cast<uint64_t>(kTicksAt1970)) / static_cast<uint64_t>(kTicksPerSecond));
}

MonoObject* TimeTToDateTime(time_t seconds)
{
    MonoClass* klass = g_domain ? DateTimeClass() : nullptr;
    if (!klass) {
        g_debug.Error("Could not get datetime class");
        return nullptr;
    }
    MonoMethod* addTicks = DateTime().addTicks;
    if (!addTicks) {
        g_debug.Error("Could not get datetime AddTicks method");
        return nullptr;
    }
    MonoObject* base = g_mono.mono_object_new(g_domain, klass);
    if (!base) {
        g_debug.Error("Could not create datetime object");
        return nullptr;
    }
    long long ticks = 0;
    if (__builtin_mul_overflow(static_cast<long long>(seconds), kTicksPerSecond, &ticks) ||
        __builtin_add_overflow(ticks, kTicksAt1970, &ticks) || ticks < 0 || ticks > kMaxDateTimeTicks) {
        g_debug.Error("Time %lld is outside the range of DateTime", static_cast<long long>(seconds));
        return base;
    }
    void* args[] = {&ticks};
    bool threw = false;
    MonoObject* result = InvokeCaptured(addTicks, g_mono.mono_object_unbox(base), args, "DateTime.AddTicks", &threw);
    return result ? result : base;
}

MonoClass* mono_image_get_classes(MonoImage* image, void** cursor)
{
    if (!cursor || !image)
        return nullptr;
    uint32_t* counter = reinterpret_cast<uint32_t*>(cursor);
    if (*counter == 0)
        *counter = 1;
    int rows = g_mono.mono_image_get_table_rows(image, 2);
    if (rows > static_cast<int>(*counter)) {
        *counter += 1;
        return g_mono.mono_class_get(image, *counter | 0x02000000);
    }
    *counter = 0;
    return nullptr;
}

void DumpClasses()
{
    if (!g_image)
        return;
    uint32_t cursor = 0;
    while (MonoClass* klass = mono_image_get_classes(g_image, reinterpret_cast<void**>(&cursor)))
        g_debug.Debug("Class: %s\n", g_mono.mono_class_get_name(klass));
}

void DumpClassMethods(MonoClass* klass)
{
    if (!klass)
        return;
    void* iterator = nullptr;
    while (MonoMethod* method = g_mono.mono_class_get_methods(klass, &iterator))
        g_debug.Debug("Method: %s\n", g_mono.mono_method_get_name(method));
}

void DumpClassFields(MonoClass* klass)
{
    if (!klass)
        return;
    void* iterator = nullptr;
    while (MonoClassField* field = g_mono.mono_class_get_fields(klass, &iterator))
        g_debug.Debug("Field: %s\n", g_mono.mono_field_get_name(field));
}

void DumpMethod(MonoMethod* method)
{
    if (!method)
        return;
    MonoMethodSignature* signature = g_mono.mono_method_signature(method);
    char* name = g_mono.mono_method_full_name(method, 1);
    char* description = g_mono.mono_signature_get_desc(signature, 1);
    g_debug.Debug("Method: %s   %d params   %s", name ? name : "",
                  static_cast<int>(g_mono.mono_signature_get_param_count(signature)), description ? description : "");
    g_mono.mono_free(name);
    g_mono.mono_free(description);
}

} // namespace VISDKCppBridge
