#ifndef VISDK_FIELD_IO_H
#define VISDK_FIELD_IO_H

// Field-by-field movers for the record tables: each record lists its (member, "managedName")
// rows once, and a FieldReader or FieldWriter walks them.

#include <string>
#include <vector>

#include "CVIWrapperPtr.h"
#include "ListTraits.h"
#include "ManagedValue.h"
#include "RuntimeApi.h"

namespace VISDKHelper {

class FieldReader {
public:
    explicit FieldReader(MonoObject* object)
        : m_object(object), m_class(object ? VISDKCppBridge::g_mono.mono_object_get_class(object) : nullptr)
    {
    }
    bool Valid() const { return m_class != nullptr; }

    void Field(std::string& member, const char* name) { member = VISDKCppBridge::GetStringFieldValue(m_class, m_object, name); }
    void Field(int32_t& member, const char* name) { member = VISDKCppBridge::GetIntFieldValue(m_class, m_object, name); }
    void Field(int64_t& member, const char* name) { member = VISDKCppBridge::GetLongFieldValue(m_class, m_object, name); }
    void Field(bool& member, const char* name) { member = VISDKCppBridge::GetBoolFieldValue(m_class, m_object, name); }
    void Date(time_t& member, const char* name) { member = VISDKCppBridge::GetDateTimeFieldValue(m_class, m_object, name); }
    template <typename T>
    void Field(std::vector<T>& member, const char* name)
    {
        ListOf<T>::Read(member, VISDKCppBridge::GetFieldValue(m_class, m_object, name));
    }
    // A value-type field holding a record; absent or unreadable, it leaves the member as it was, unlogged.
    template <typename T>
    void Nested(T& member, const char* name)
    {
        MonoObject* boxed = VISDKCppBridge::GetStructFieldValue(m_class, m_object, name);
        if (boxed)
            CVISDKHelper::ConvertObject(member, boxed);
    }
    // The managed value of a row whose member is computed from it.
    template <typename T>
    T Value(const char* name)
    {
        T value{};
        Field(value, name);
        return value;
    }

private:
    MonoObject* m_object;
    MonoClass* m_class;
};

class FieldWriter {
public:
    explicit FieldWriter(MonoObject* object)
        : m_object(object), m_class(object ? VISDKCppBridge::g_mono.mono_object_get_class(object) : nullptr)
    {
    }
    bool Valid() const { return m_class != nullptr; }

    void Field(const std::string& member, const char* name) { VISDKCppBridge::SetStringFieldValue(m_class, m_object, name, member); }
    void Field(const int32_t& member, const char* name) { VISDKCppBridge::SetIntFieldValue(m_class, m_object, name, member); }
    void Field(const int64_t& member, const char* name) { VISDKCppBridge::SetLongFieldValue(m_class, m_object, name, member); }
    void Field(const bool& member, const char* name) { VISDKCppBridge::SetBoolFieldValue(m_class, m_object, name, member); }
    void Date(const time_t& member, const char* name) { VISDKCppBridge::SetDateTimeFieldValue(m_class, m_object, name, member); }
    template <typename T>
    void Field(const std::vector<T>& member, const char* name)
    {
        MonoObject* list = nullptr;
        ListOf<T>::Write(list, member);
        VISDKCppBridge::SetObjectFieldValue(m_class, m_object, name, list);
    }
    // A record stored by value: a new managed record is filled and its data copied into the field.
    template <typename T>
    void Nested(const T& member, const char* name)
    {
        MonoObject* item = VISDKCppBridge::NewManagedObject(ManagedClassOf<T>::name, false);
        if (!item)
            return;
        CVISDKHelper::ConvertObject(item, member);
        if (MonoClassField* field = NestedField(name, item))
            VISDKCppBridge::g_mono.mono_field_set_value(m_object, field, VISDKCppBridge::g_mono.mono_object_unbox(item));
    }

private:
    // The field only when it holds exactly the item's value type: the runtime copies the item's bytes unchecked.
    MonoClassField* NestedField(const char* name, MonoObject* item)
    {
        using VISDKCppBridge::g_mono;
        MonoClassField* field = g_mono.mono_class_get_field_from_name(m_class, name);
        if (!field) {
            VISDKCppBridge::g_debug.Error("Could not find field [%s]", name);
            return nullptr;
        }
        MonoType* type = g_mono.mono_field_get_type(field);
        MonoClass* itemClass = g_mono.mono_object_get_class(item);
        if (!type || g_mono.mono_class_from_mono_type(type) != itemClass || !g_mono.mono_class_is_valuetype(itemClass)) {
            VISDKCppBridge::g_debug.Error("Field [%s] is not of the expected type", name);
            return nullptr;
        }
        return field;
    }

    MonoObject* m_object;
    MonoClass* m_class;
};

// Rows that only one direction carries: the other direction's walker skips them.
template <typename Member>
void ReadOnly(FieldReader& io, Member& member, const char* name)
{
    io.Field(member, name);
}
template <typename Member>
void ReadOnly(FieldWriter&, const Member&, const char*)
{
}

// Reads a record through its field table; a null object leaves the record as it was.
template <typename Record, typename Table>
void ReadRecord(Record& record, MonoObject* object, Table table)
{
    FieldReader reader(object);
    if (reader.Valid())
        table(reader, record);
}

template <typename Record, typename Table>
void WriteRecord(MonoObject* object, const Record& record, Table table)
{
    FieldWriter writer(object);
    if (writer.Valid())
        table(writer, record);
}

} // namespace VISDKHelper

#endif
