#ifndef VISDK_RECORD_BUILDER_H
#define VISDK_RECORD_BUILDER_H

// Managed record objects built and inspected field by field, for the record conversion tests.

#include <ctime>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <mono/metadata/object.h>

#include "ManagedValue.h"
#include "TestSupport.h"
#include "VISDKHelper.h"

namespace visdktest {

class Managed {
public:
    explicit Managed(const char* className) : m_object(NewRecord(className)) {}
    explicit Managed(MonoObject* object) : m_object(object) {}

    MonoObject* get() const { return m_object; }
    MonoObject*& ref() { return m_object; }

    Managed& Str(const char* field, const std::string& value)
    {
        VISDKCppBridge::SetStringFieldValue(klass(), m_object, field, value);
        return *this;
    }
    Managed& Int(const char* field, int value)
    {
        VISDKCppBridge::SetIntFieldValue(klass(), m_object, field, value);
        return *this;
    }
    Managed& Long(const char* field, long long value)
    {
        VISDKCppBridge::SetLongFieldValue(klass(), m_object, field, static_cast<long>(value));
        return *this;
    }
    Managed& Bool(const char* field, bool value)
    {
        VISDKCppBridge::SetBoolFieldValue(klass(), m_object, field, value);
        return *this;
    }
    Managed& Date(const char* field, time_t value)
    {
        VISDKCppBridge::SetDateTimeFieldValue(klass(), m_object, field, value);
        return *this;
    }
    Managed& Object(const char* field, MonoObject* value)
    {
        VISDKCppBridge::SetObjectFieldValue(klass(), m_object, field, value);
        return *this;
    }
    // Copies a value-type record into a field that holds it by value.
    Managed& Nested(const char* field, const Managed& record)
    {
        VISDKCppBridge::SetFieldValue(klass(), m_object, field, mono_object_unbox(record.get()));
        return *this;
    }

    std::string str(const char* field) const { return VISDKCppBridge::GetStringFieldValue(klass(), m_object, field); }
    int i32(const char* field) const { return VISDKCppBridge::GetIntFieldValue(klass(), m_object, field); }
    long long i64(const char* field) const { return VISDKCppBridge::GetLongFieldValue(klass(), m_object, field); }
    bool flag(const char* field) const { return VISDKCppBridge::GetBoolFieldValue(klass(), m_object, field); }
    time_t date(const char* field) const { return VISDKCppBridge::GetDateTimeFieldValue(klass(), m_object, field); }
    MonoObject* object(const char* field) const { return VISDKCppBridge::GetFieldValue(klass(), m_object, field); }
    Managed nested(const char* field) const { return Managed(VISDKCppBridge::GetStructFieldValue(klass(), m_object, field)); }

private:
    MonoClass* klass() const { return mono_object_get_class(m_object); }
    MonoObject* m_object;
};

// A managed list of the given item class holding the records, in order.
inline MonoObject* ListOfRecords(const char* itemClass, std::initializer_list<Managed> items)
{
    MonoObject* list = NewList(itemClass);
    for (const Managed& item : items)
        ListAdd(list, item.get());
    return list;
}

inline int ListCount(MonoObject* list)
{
    MonoMethod* getter = mono_class_get_method_from_name(mono_object_get_class(list), "get_Count", 0);
    return *static_cast<int*>(mono_object_unbox(mono_runtime_invoke(getter, list, nullptr, nullptr)));
}

// The boxed item at `index` of a managed list.
inline Managed ListItem(MonoObject* list, int index)
{
    MonoMethod* getter = mono_class_get_method_from_name(mono_object_get_class(list), "get_Item", 1);
    void* args[] = {&index};
    return Managed(mono_runtime_invoke(getter, list, args, nullptr));
}

// Converting from or into an object that has none of the fields logs each field's name, in conversion order.
struct FieldOrder {
    const char* record;
    std::function<void(MonoObject*&)> convert;
    std::vector<const char*> fields;
};

template <typename Record>
std::function<void(MonoObject*&)> Reads()
{
    return [](MonoObject*& object) {
        Record record;
        VISDKHelper::CVISDKHelper::ConvertObject(record, object);
    };
}

template <typename Record>
std::function<void(MonoObject*&)> Writes()
{
    return [](MonoObject*& object) { VISDKHelper::CVISDKHelper::ConvertObject(object, Record()); };
}

inline std::vector<std::string> MissingFieldErrors(const std::vector<const char*>& fields)
{
    std::vector<std::string> expected;
    for (const char* field : fields)
        expected.push_back(std::string("Could not find field [") + field + "]");
    return expected;
}

} // namespace visdktest

#endif
