#ifndef VISDK_LIST_FRAMEWORK_H
#define VISDK_LIST_FRAMEWORK_H

// The list templates, included only by the sources that instantiate them.

#include <string>
#include <utility>
#include <vector>

#include "CVIWrapperPtr.h"
#include "LookupCache.h"
#include "ManagedValue.h"
#include "RuntimeApi.h"
#include "RuntimeInternal.h"
#include "VISDKHelper.h"

namespace VISDKHelper {

using VISDKCppBridge::g_debug;
using VISDKCppBridge::g_mono;

// The class of a method's first parameter, or null.
inline MonoClass* FirstParameterClass(MonoMethod* method)
{
    MonoMethodSignature* signature = g_mono.mono_method_signature(method);
    void* iterator = nullptr;
    MonoType* type = signature ? g_mono.mono_signature_get_params(signature, &iterator) : nullptr;
    return type ? g_mono.mono_class_from_mono_type(type) : nullptr;
}

// The runtime does not check argument types: a list of another kind would be misread as this one.
inline bool ListFits(MonoObject* list, MonoClass* expected, const char* enumeratorClass)
{
    if (expected && g_mono.mono_object_isinst(list, expected))
        return true;
    g_debug.Error("List of class [%s] does not fit enumerator [%s]", VISDKCppBridge::ClassNameOf(list).c_str(), enumeratorClass);
    return false;
}

// Likewise for the items handed to "Add": its parameter must be of the item's class.
inline bool ItemFits(MonoClass* parameter, MonoClass* itemClass, MonoObject* list)
{
    if (parameter && parameter == itemClass)
        return true;
    g_debug.Error("List of class [%s] does not take items of class [%s]", VISDKCppBridge::ClassNameOf(list).c_str(),
                  itemClass ? g_mono.mono_class_get_name(itemClass) : "");
    return false;
}

// vSphere's trees (folders, pools, vApps, snapshot chains of at most 32) stay far below this; a deeper or cyclic
// managed tree would otherwise exhaust the native stack of the converting thread.
constexpr int kMaxRecordDepth = 128;

// Counts the lists being converted on this thread; a list one level past the limit is cut (left empty) and logged.
class DepthGuard {
public:
    explicit DepthGuard(const char* listName) : m_within(++Depth() <= kMaxRecordDepth)
    {
        if (!m_within)
            g_debug.Error("Record tree deeper than %d levels: subtree cut at [%s]", kMaxRecordDepth, listName);
    }
    ~DepthGuard() { --Depth(); }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    bool Within() const { return m_within; }

private:
    static int& Depth()
    {
        static thread_local int depth = 0;
        return depth;
    }
    bool m_within;
};


// The managed lists being read on this thread, innermost first: a list met again below itself is a loop, and is cut
// instead of being read until the depth limit. Each link lives on the native stack of its ConvertList frame, which the
// collector scans, so the lists it names stay where they are while it is read.
class ReadPath {
public:
    ReadPath(MonoObject* list, const char* enumeratorClass) : m_list(list), m_outer(Innermost())
    {
        if (!m_outer)
            Nested() = 0;
        for (const ReadPath* outer = m_outer; outer; outer = outer->m_outer)
            if (outer->m_list == list) {
                g_debug.Error("Record tree loops back on itself: subtree cut at [%s]", enumeratorClass);
                m_ok = false;
                break;
            }
        Innermost() = this;
    }
    ~ReadPath() { Innermost() = m_outer; }
    ReadPath(const ReadPath&) = delete;
    ReadPath& operator=(const ReadPath&) = delete;
    bool Ok() const { return m_ok; }

    // Counts one record of `bytes` read; false (logged once per outermost list) when nested lists have given more
    // native bytes than the budget.
    bool Count(size_t bytes, const char* enumeratorClass) const
    {
        if (!m_outer)
            return true;
        long long& nested = Nested();
        long long budget = NestedRecordBytes();
        bool within = nested <= budget;
        nested += static_cast<long long>(bytes);
        if (within && nested > budget)
            g_debug.Error("Record tree holds more than %lld bytes of nested records: rest cut at [%s]", budget, enumeratorClass);
        return nested <= budget;
    }

private:
    static const ReadPath*& Innermost()
    {
        static thread_local const ReadPath* innermost = nullptr;
        return innermost;
    }
    static long long& Nested()
    {
        static thread_local long long nested = 0;
        return nested;
    }
    MonoObject* const m_list;
    const ReadPath* const m_outer;
    bool m_ok = true;
};

// An enumerator class and its three methods, looked up once per process.
struct EnumeratorHandles {
    MonoClass* klass;
    MonoMethod* getEnumerator;
    MonoMethod* moveNext;
    MonoMethod* current;
    MonoClass* listClass; // what GetEnumerator takes
};

inline const EnumeratorHandles& Enumerator(const char* enumeratorClass)
{
    return VISDKCppBridge::ProcessCache<EnumeratorHandles>()
        .Get(VISDKCppBridge::g_image, enumeratorClass, 0,
             [&] {
                 EnumeratorHandles h{VISDKCppBridge::WrapperClass(enumeratorClass), nullptr, nullptr, nullptr, nullptr};
                 if (h.klass) {
                     h.getEnumerator = g_mono.mono_class_get_method_from_name(h.klass, "GetEnumerator", -1);
                     h.moveNext = g_mono.mono_class_get_method_from_name(h.klass, "MoveNext", -1);
                     h.current = g_mono.mono_class_get_method_from_name(h.klass, "Current", -1);
                     h.listClass = h.getEnumerator ? FirstParameterClass(h.getEnumerator) : nullptr;
                 }
                 return h;
             })
        .value;
}

template <typename T>
void CVISDKHelper::ConvertList(std::vector<T>& out, MonoObject* list, MonoObject*, const char* enumeratorClass)
{
    out.clear();
    if (!list)
        return;
    // A list that cannot be read whole is noted: the operation must not report it as complete.
    DepthGuard depth(enumeratorClass);
    if (!depth.Within())
        return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
    ReadPath path(list, enumeratorClass);
    if (!path.Ok())
        return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
    if (!VISDKCppBridge::g_image) {
        g_debug.Error("Failed to get enumerator class [%s]", enumeratorClass);
        return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
    }
    const EnumeratorHandles& handles = Enumerator(enumeratorClass);
    if (!handles.klass) {
        g_debug.Error("Failed to get enumerator class [%s]", enumeratorClass);
        return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
    }
    MonoMethod* getEnumerator = handles.getEnumerator;
    MonoMethod* moveNext = handles.moveNext;
    MonoMethod* current = handles.current;
    if (!getEnumerator || !moveNext || !current) {
        g_debug.Error("Failed to get enumerator method [%s]", enumeratorClass);
        return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
    }
    if (!ListFits(list, handles.listClass, enumeratorClass))
        return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
    void* args[] = {list};
    MonoObject* enumerator = VISDKCppBridge::InvokeCaptured(getEnumerator, nullptr, args, "GetEnumerator");
    if (!enumerator) {
        g_debug.Error("Failed to invoke get enumerator method [%s]", enumeratorClass);
        return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
    }
    // A throwing enumerator ends the walk; what was read before the throw is kept.
    MonoClass* flagClass = nullptr;
    for (;;) {
        MonoObject* flag = VISDKCppBridge::InvokeCaptured(moveNext, enumerator, nullptr, "MoveNext");
        if (!flag)
            return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
        MonoClass* klass = g_mono.mono_object_get_class(flag);
        // The first answer's class is checked once; later answers of the same class are read directly.
        if (klass != flagClass) {
            if (klass != g_mono.mono_get_boolean_class())
                return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
            flagClass = klass;
        }
        if (*static_cast<const unsigned char*>(g_mono.mono_object_unbox(flag)) == 0)
            return;
        if (!path.Count(sizeof(T), enumeratorClass))
            return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
        bool threw = false;
        MonoObject* item = VISDKCppBridge::InvokeCaptured(current, enumerator, nullptr, "Current", &threw);
        if (threw)
            return VISDKCppBridge::NoteIncompleteList(enumeratorClass);
        // Built in place: large records are not worth a temporary and a move each.
        out.emplace_back();
        ConvertObject(out.back(), item);
    }
}

// The method "Add" of a list class and the class it takes, looked up once per process.
struct AddHandles {
    MonoMethod* add;
    MonoClass* parameter;
};

// The "Add" of a list's class, or null after logging the class and its methods.
inline const AddHandles* FindAddMethod(MonoObject* list)
{
    MonoClass* klass = g_mono.mono_object_get_class(list);
    const AddHandles* handles = nullptr;
    if (klass) {
        handles = &VISDKCppBridge::ProcessCache<AddHandles>()
                       .Get(klass, "Add", 0,
                            [&] {
                                MonoMethod* add = g_mono.mono_class_get_method_from_name(klass, "Add", -1);
                                return AddHandles{add, add ? FirstParameterClass(add) : nullptr};
                            })
                       .value;
    }
    if (!handles || !handles->add) {
        g_debug.Error("Failed to get add method for class [%s]", klass ? g_mono.mono_class_get_name(klass) : "");
        if (klass)
            VISDKCppBridge::DumpClassMethods(klass);
        return nullptr;
    }
    return handles;
}

// Hands one item to "Add"; false when it threw (logged), which ends the fill.
inline bool AddItem(MonoMethod* add, MonoObject* list, void* item)
{
    void* args[] = {item};
    bool threw = false;
    VISDKCppBridge::InvokeCaptured(add, list, args, "Add", &threw);
    return !threw;
}

template <typename T>
void CVISDKHelper::ConvertList_NativeToManaged(MonoObject* list, const std::vector<T>& in, MonoObject*, const char* itemClass)
{
    // A list that could not be made was noted where it failed.
    if (!list)
        return;
    DepthGuard depth(itemClass);
    if (!depth.Within())
        return VISDKCppBridge::NoteIncompleteList(itemClass);
    const AddHandles* handles = FindAddMethod(list);
    if (!handles)
        return VISDKCppBridge::NoteIncompleteList(itemClass);
    MonoMethod* add = handles->add;
    MonoClass* parameter = handles->parameter;
    MonoClass* klass = VISDKCppBridge::WrapperClass(itemClass);
    bool byValue = klass && g_mono.mono_class_is_valuetype(klass);
    for (const T& element : in) {
        MonoObject* item = VISDKCppBridge::NewObjectOfClass(klass, itemClass, false);
        if (!item || !ItemFits(parameter, g_mono.mono_object_get_class(item), list))
            return VISDKCppBridge::NoteIncompleteList(itemClass);
        ConvertObject(item, element);
        if (!AddItem(add, list, byValue ? g_mono.mono_object_unbox(item) : item))
            return VISDKCppBridge::NoteIncompleteList(itemClass);
    }
}

} // namespace VISDKHelper

#endif
