#ifndef VISDK_FIELD_IO_H
#define VISDK_FIELD_IO_H

// Field-by-field movers for the record tables: each record lists its (member, "managedName")
// rows once, and a FieldReader or FieldWriter walks them.

#include <atomic>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "CVIWrapperPtr.h"
#include "ListTraits.h"
#include "ManagedValue.h"
#include "RuntimeApi.h"
#include "RuntimeInternal.h"

namespace VISDKHelper {

using VISDKCppBridge::FieldHandle;

// The fields one record table asks for, in its order, for one class.
struct RowTable {
    MonoClass* klass;
    std::vector<std::pair<const char*, const FieldHandle*>> rows;
};

// Finds a table's fields by position: a walk that asks for the same names (the same literals) in the same order
// as the first one skips the lookup by name. The first walk of a table records the order for the ones after it.
class RowCursor {
public:
    RowCursor(std::atomic<const RowTable*>* slot, MonoClass* klass) : m_slot(slot), m_class(klass)
    {
        const RowTable* table = slot ? slot->load(std::memory_order_acquire) : nullptr;
        if (table && table->klass == klass)
            m_table = table;
        m_recording = slot && !table;
    }
    RowCursor(const RowCursor&) = delete;
    RowCursor& operator=(const RowCursor&) = delete;

    // Destructors must not throw: without memory for the table, the next walk records the order instead.
    ~RowCursor()
    {
        if (!m_recording || m_rows.empty())
            return;
        const RowTable* expected = nullptr;
        RowTable* table = new (std::nothrow) RowTable{m_class, std::move(m_rows)};
        if (table && !m_slot->compare_exchange_strong(expected, table, std::memory_order_acq_rel))
            delete table;
    }

    const FieldHandle* Handle(const char* name)
    {
        if (m_table) {
            const auto& rows = m_table->rows;
            if (m_next < rows.size() && rows[m_next].first == name)
                return rows[m_next++].second;
            // A row the first walk skipped (or asked for elsewhere): find it by its place in the table.
            for (size_t i = 0; i < rows.size(); ++i)
                if (rows[i].first == name) {
                    m_next = i + 1;
                    return rows[i].second;
                }
        }
        const FieldHandle* handle = VISDKCppBridge::LookupField(m_class, name);
        if (m_recording)
            m_rows.emplace_back(name, handle);
        return handle;
    }

private:
    std::atomic<const RowTable*>* m_slot;
    MonoClass* m_class;
    const RowTable* m_table = nullptr;
    bool m_recording = false;
    size_t m_next = 0;
    std::vector<std::pair<const char*, const FieldHandle*>> m_rows;
};

class FieldReader {
public:
    explicit FieldReader(MonoObject* object, std::atomic<const RowTable*>* rows = nullptr)
        : m_object(object), m_class(object ? VISDKCppBridge::g_mono.mono_object_get_class(object) : nullptr), m_rows(rows, m_class)
    {
    }
    bool Valid() const { return m_class != nullptr; }

    void Field(std::string& member, const char* name) { member = VISDKCppBridge::ReadStringField(m_object, m_rows.Handle(name), name); }
    void Field(int32_t& member, const char* name) { member = VISDKCppBridge::ReadIntField(m_object, m_rows.Handle(name), name); }
    void Field(int64_t& member, const char* name) { member = VISDKCppBridge::ReadLongField(m_object, m_rows.Handle(name), name); }
    void Field(bool& member, const char* name) { member = VISDKCppBridge::ReadBoolField(m_object, m_rows.Handle(name), name); }
    void Date(time_t& member, const char* name) { member = VISDKCppBridge::ReadDateField(m_object, m_rows.Handle(name)); }
    template <typename T>
    void Field(std::vector<T>& member, const char* name)
    {
        ListOf<T>::Read(member, VISDKCppBridge::ReadReferenceField(m_object, m_rows.Handle(name), name));
    }
    // A value-type field holding a record; absent or unreadable, it leaves the member as it was, unlogged.
    template <typename T>
    void Nested(T& member, const char* name)
    {
        MonoObject* boxed = VISDKCppBridge::ReadStructField(m_object, m_rows.Handle(name));
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
    RowCursor m_rows;
};

class FieldWriter {
public:
    explicit FieldWriter(MonoObject* object, std::atomic<const RowTable*>* rows = nullptr)
        : m_object(object), m_class(object ? VISDKCppBridge::g_mono.mono_object_get_class(object) : nullptr), m_rows(rows, m_class)
    {
    }
    bool Valid() const { return m_class != nullptr; }

    void Field(const std::string& member, const char* name)
    {
        VISDKCppBridge::WriteStringField(m_object, m_rows.Handle(name), name, member);
    }
    void Field(const int32_t& member, const char* name) { VISDKCppBridge::WriteIntField(m_object, m_rows.Handle(name), name, member); }
    void Field(const int64_t& member, const char* name) { VISDKCppBridge::WriteLongField(m_object, m_rows.Handle(name), name, member); }
    void Field(const bool& member, const char* name) { VISDKCppBridge::WriteBoolField(m_object, m_rows.Handle(name), name, member); }
    void Date(const time_t& member, const char* name) { VISDKCppBridge::WriteDateField(m_object, m_rows.Handle(name), name, member); }
    template <typename T>
    void Field(const std::vector<T>& member, const char* name)
    {
        MonoObject* list = nullptr;
        ListOf<T>::Write(list, member);
        VISDKCppBridge::WriteReferenceField(m_object, m_rows.Handle(name), name, list);
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
        MonoClassField* field = m_rows.Handle(name)->field;
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
    RowCursor m_rows;
};

// Unit scaling of managed 64-bit counts, unsigned so that a negative count shifts without overflowing a signed value.
inline int64_t ScaledLeft(int64_t value, unsigned bits) { return static_cast<int64_t>(static_cast<uint64_t>(value) << bits); }

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
    static std::atomic<const RowTable*> rows{nullptr};
    FieldReader reader(object, &rows);
    if (reader.Valid())
        table(reader, record);
}

template <typename Record, typename Table>
void WriteRecord(MonoObject* object, const Record& record, Table table)
{
    static std::atomic<const RowTable*> rows{nullptr};
    FieldWriter writer(object, &rows);
    if (writer.Valid())
        table(writer, record);
}

} // namespace VISDKHelper

#endif
