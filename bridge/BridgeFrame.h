#ifndef VISDK_BRIDGE_FRAME_H
#define VISDK_BRIDGE_FRAME_H

// The forwarding frame: each operation names its managed method, its slots with their
// passing modes, its result kind and when outputs are copied back; Forward does the rest.

#include <array>
#include <cstddef>
#include <exception>
#include <ctime>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "CVIWrapperPtr.h"
#include "ListTraits.h"
#include "LookupCache.h"
#include "ManagedValue.h"
#include "RuntimeApi.h"
#include "RuntimeInternal.h"

namespace VISDKCppBridge {
namespace frame {

using VISDKHelper::CVISDKHelper;
using VISDKHelper::ListOf;
using VISDKHelper::ManagedClassOf;

// The operation's signature text, as a managed exception is logged with it.
VISDK_API std::string SignatureText(const char* prettyFunction);
// The same into a buffer of the caller's, for the exception handlers: never throws, cuts a text too long for it.
VISDK_API const char* SignatureText(const char* prettyFunction, char* buffer, size_t size) noexcept;

// The exception handlers' logging; neither throws.
VISDK_API void LogManagedException(const char* prettyFunction, const ManagedException& exception) noexcept;
VISDK_API void LogNativeException(const char* prettyFunction, const char* what) noexcept;

// False, logged, when a list among the results could not be converted whole: the operation must not report success.
VISDK_API bool ResultsWhole() noexcept;

// Attaches, runs the body and turns any exception into the failure value: a managed one, a native one (an
// allocation failure, say) or one of no standard type. Nothing leaves the bridge.
template <typename Result, typename Body>
Result Guarded(CVIWrapperPtr& wrapper, const char* prettyFunction, Result failure, Body&& body) noexcept
{
    try {
        ClearConversionFaults();
        Result result = body(wrapper.ThreadAttach());
        if (!ResultsWhole())
            return failure;
        return result;
    } catch (const ManagedException& exception) {
        LogManagedException(prettyFunction, exception);
    } catch (const std::exception& exception) {
        LogNativeException(prettyFunction, exception.what());
    } catch (...) {
        LogNativeException(prettyFunction, nullptr);
    }
    return failure;
}

// Result kinds.
struct Int {
    using Type = int;
    static Type Failure() { return 0; }
    static Type From(MonoObject* result) { return CVIWrapperPtr::IntResult(result, 0); }
};
struct Long {
    using Type = long long;
    static Type Failure() { return 0; }
    static Type From(MonoObject* result) { return CVIWrapperPtr::LongResult(result, 0); }
};
struct Bool {
    using Type = bool;
    static Type Failure() { return false; }
    static Type From(MonoObject* result) { return CVIWrapperPtr::BoolResult(result, false); }
};
struct Str {
    using Type = std::string;
    static Type Failure() { return std::string(); }
    static Type From(MonoObject* result)
    {
        std::string text;
        return CVIWrapperPtr::StringResult(result, text);
    }
};
// The raw managed result, for operations that interpret it themselves.
struct Object {
    using Type = MonoObject*;
    static Type Failure() { return nullptr; }
    static Type From(MonoObject* result) { return result; }
};
// A managed method without result; the operation returns nothing.
struct Void {
    using Type = int;
    static Type Failure() { return 0; }
    static Type From(MonoObject*) { return 0; }
};

// When a row copies its outputs back.
enum CopyBack { Always, IfNonZero, IfTrue };

template <typename T>
bool Holds(CopyBack when, const T& result)
{
    if (when == Always)
        return true;
    return static_cast<bool>(result);
}

inline bool Holds(CopyBack when, const std::string&) { return when == Always; }

// A managed parameter as far as a slot can tell: the runtime checks none of this when it calls.
struct VISDK_API Param {
    int code;
    bool byRef;
    MonoClass* klass;
    explicit Param(MonoType* type);
    bool IsString() const;
    bool IsObject() const;
    bool IsReference() const;
    bool IsValueOf(MonoObject* boxed) const;
    template <typename T>
    bool IsNumber() const
    {
        return std::is_same<T, bool>::value ? IsBoolean() : IsInteger(sizeof(T));
    }
    bool Holds(MonoObject* object) const;

private:
    bool IsBoolean() const;
    bool IsInteger(size_t size) const;
};

inline MonoClass* ClassOf(MonoObject* object) { return object ? g_mono.mono_object_get_class(object) : nullptr; }

// Passing modes. Each prepares its slot on construction (only while the runtime is up), gives
// it with slot(), tells with ready() whether it could, with accepts() whether the managed parameter
// takes such a slot, with shape() the class of the object it passes (null when its kind alone decides),
// with faults() what its conversion could not do whole, and copies back with commit().

// What building one slot could not do whole: a text with a NUL byte, a list short of items.
struct SlotFaults {
    bool nul = false;
    bool list = false;
};

// Modes that build nothing fault never.
struct Plain {
    SlotFaults faults() const { return {}; }
};

// Modes that build managed objects see what their own build noted.
struct Watched {
    unsigned nulBefore = t_conversionFaults.nulTexts;
    unsigned listsBefore = t_conversionFaults.lists;
    SlotFaults built;
    void Built()
    {
        built.nul = t_conversionFaults.nulTexts != nulBefore;
        built.list = t_conversionFaults.lists != listsBefore;
    }
    SlotFaults faults() const { return built; }
};

// Input string.
struct S : Watched {
    MonoString* value;
    S(const std::string& text, bool up) : value(up ? std2gc(text) : nullptr) { Built(); }
    void* slot() { return value; }
    bool ready() const { return value != nullptr; }
    bool accepts(const Param& p) const { return !p.byRef && p.IsString(); }
    MonoClass* shape() const { return nullptr; }
    void commit() {}
};

// Input number or flag, by the address of the operation's own copy.
template <typename T>
struct V : Plain {
    T copy;
    V(T value, bool) : copy(value) {}
    void* slot() { return &copy; }
    bool ready() const { return true; }
    bool accepts(const Param& p) const { return !p.byRef && p.IsNumber<T>(); }
    MonoClass* shape() const { return nullptr; }
    void commit() {}
};

// Caller's number or flag, written by the managed method directly.
template <typename T>
struct R : Plain {
    T& target;
    R(T& value, bool) : target(value) {}
    void* slot() { return &target; }
    bool ready() const { return true; }
    bool accepts(const Param& p) const { return p.byRef && p.IsNumber<T>(); }
    MonoClass* shape() const { return nullptr; }
    void commit() {}
};

// Output string.
struct OS : Plain {
    std::string& target;
    MonoObject* value = nullptr;
    OS(std::string& text, bool) : target(text) {}
    void* slot() { return &value; }
    bool ready() const { return true; }
    bool accepts(const Param& p) const { return p.byRef && p.IsString(); }
    MonoClass* shape() const { return nullptr; }
    void commit() { CVISDKHelper::ConvertObject(target, value); }
};

// In-out string.
struct IOS : OS, Watched {
    IOS(std::string& text, bool up) : OS(text, up)
    {
        value = up ? reinterpret_cast<MonoObject*>(std2gc(text)) : nullptr;
        Built();
    }
    using Watched::faults;
};

// A new managed record of the record's class, fields zero, made only while the runtime is up.
template <typename Rec>
MonoObject* NewRecordObject(bool up)
{
    return up ? VISDKCppBridge::NewManagedObject(ManagedClassOf<Rec>::name, false) : nullptr;
}

// The same, filled from the native record.
template <typename Rec>
MonoObject* FilledRecordObject(const Rec& record, bool up)
{
    MonoObject* object = NewRecordObject<Rec>(up);
    if (object)
        CVISDKHelper::ConvertObject(object, record);
    return object;
}

// Input record, passed by the value data of a new managed record filled from it.
template <typename Rec>
struct RV : Watched {
    MonoObject* object;
    void* data;
    RV(const Rec& record, bool up)
        : object(FilledRecordObject(record, up)), data(object ? const_cast<void*>(UnboxedValue(object, 0)) : nullptr)
    {
        Built();
    }
    void* slot() { return data; }
    bool ready() const { return data != nullptr; }
    bool accepts(const Param& p) const { return !p.byRef && p.IsValueOf(object); }
    MonoClass* shape() const { return ClassOf(object); }
    void commit() {}
};

// Output record, passed by the value data of a new unfilled managed record and read back from it.
template <typename Rec>
struct RO : Plain {
    Rec& target;
    MonoObject* object;
    void* data;
    RO(Rec& record, bool up)
        : target(record), object(NewRecordObject<Rec>(up)), data(object ? const_cast<void*>(UnboxedValue(object, 0)) : nullptr)
    {
    }
    void* slot() { return data; }
    bool ready() const { return data != nullptr; }
    bool accepts(const Param& p) const { return p.byRef && p.IsValueOf(object); }
    MonoClass* shape() const { return ClassOf(object); }
    void commit() { CVISDKHelper::ConvertObject(target, object); }
};

// In-out record: the address of a variable holding a new managed record filled from it; refilled from what the variable then holds.
template <typename Rec>
struct RR : Watched {
    Rec& target;
    MonoObject* value;
    RR(Rec& record, bool up) : target(record), value(FilledRecordObject(static_cast<const Rec&>(record), up)) { Built(); }
    void* slot() { return &value; }
    bool ready() const { return value != nullptr; }
    bool accepts(const Param& p) const { return p.byRef && p.IsObject(); }
    MonoClass* shape() const { return nullptr; }
    void commit() { CVISDKHelper::ConvertObject(target, value); }
};

// Output record, passed as the new unfilled managed record object itself, which the managed side mutates.
template <typename Rec>
struct RP : Plain {
    Rec& target;
    MonoObject* object;
    RP(Rec& record, bool up) : target(record), object(NewRecordObject<Rec>(up)) {}
    void* slot() { return object; }
    bool ready() const { return object != nullptr; }
    bool accepts(const Param& p) const { return !p.byRef && p.IsObject(); }
    MonoClass* shape() const { return nullptr; }
    void commit() { CVISDKHelper::ConvertObject(target, object); }
};

// Output record through a variable that starts null; a null answer leaves the record alone.
template <typename Rec>
struct OR : Plain {
    Rec& target;
    MonoObject* value = nullptr;
    OR(Rec& record, bool) : target(record) {}
    void* slot() { return &value; }
    bool ready() const { return true; }
    bool accepts(const Param& p) const { return p.byRef && p.IsObject(); }
    MonoClass* shape() const { return nullptr; }
    void commit() { CVISDKHelper::ConvertObject(target, value); }
};

// Input list, built from the vector.
template <typename T>
struct LI : Watched {
    MonoObject* list = nullptr;
    LI(const std::vector<T>& items, bool up)
    {
        if (up)
            ListOf<T>::Write(list, items);
        Built();
    }
    void* slot() { return list; }
    bool ready() const { return list != nullptr; }
    bool accepts(const Param& p) const { return !p.byRef && p.Holds(list); }
    MonoClass* shape() const { return ClassOf(list); }
    void commit() {}
};

// In-out list: the address of a variable holding a list built from the vector; the vector is rebuilt from what it then holds.
template <typename T>
struct LR : Watched {
    std::vector<T>& target;
    MonoObject* list = nullptr;
    LR(std::vector<T>& items, bool up) : target(items)
    {
        if (up)
            ListOf<T>::Write(list, items);
        Built();
    }
    void* slot() { return &list; }
    bool ready() const { return list != nullptr; }
    bool accepts(const Param& p) const { return p.byRef && p.Holds(list); }
    MonoClass* shape() const { return ClassOf(list); }
    void commit() { ListOf<T>::Read(target, list); }
};

// Output list of records or strings; a null list gives an empty vector.
template <typename T>
struct LO : Plain {
    std::vector<T>& target;
    MonoObject* value = nullptr;
    LO(std::vector<T>& list, bool) : target(list) {}
    void* slot() { return &value; }
    bool ready() const { return true; }
    bool accepts(const Param& p) const { return p.byRef && p.IsReference(); }
    MonoClass* shape() const { return nullptr; }
    void commit() { ListOf<T>::Read(target, value); }
};

// Output date: a new managed DateTime passed by its value data, read back as seconds since 1970.
struct DT : Plain {
    time_t& target;
    MonoObject* date;
    DT(time_t& seconds, bool up) : target(seconds), date(up ? NewManagedDateTime() : nullptr) {}
    void* slot() { return date ? g_mono.mono_object_unbox(date) : nullptr; }
    bool ready() const { return date != nullptr; }
    bool accepts(const Param& p) const { return p.byRef && p.IsValueOf(date); }
    MonoClass* shape() const { return ClassOf(date); }
    void commit() { target = DateTimeToTimeT(date); }
};

VISDK_API void LogUnprepared(const char* method);
VISDK_API void LogTextWithNul(const char* method, int index);
VISDK_API void LogIncompleteList();

// True when every slot was built whole. Otherwise the call must not go out: a name cut at a NUL byte would act on
// another object, a list short of items on fewer of them. The first slot of each kind of fault is logged.
template <typename... Modes>
bool ArgumentsWhole(const char* method, std::tuple<Modes...>& modes)
{
    bool nulLogged = false, listLogged = false;
    int index = 0;
    std::apply(
        [&](auto&... mode) {
            (
                [&](const SlotFaults& faults) {
                    ++index;
                    if (faults.nul && !nulLogged) {
                        LogTextWithNul(method, index);
                        nulLogged = true;
                    }
                    if (faults.list && !listLogged) {
                        LogIncompleteList();
                        listLogged = true;
                    }
                }(mode.faults()),
                ...);
        },
        modes);
    if (!nulLogged && !listLogged)
        return true;
    LogUnprepared(method);
    ClearConversionFaults();
    return false;
}

VISDK_API MonoMethodSignature* SignatureOf(MonoMethod* method, const char* name, int slots, int* expected = nullptr);
VISDK_API MonoType* NextParam(MonoMethodSignature* signature, void** iterator);
VISDK_API void LogUnfit(const char* method, int index);

VISDK_API void LogCountMismatch(const char* method, int expected, int slots);

// True when the method takes exactly these slots, each of the kind its mode passes; `unfit` is the first
// slot (1-based) that does not fit, or -1 when the counts differ.
template <typename... Modes>
bool SignatureFits(MonoMethod* found, const char* method, std::tuple<Modes...>& modes, int* unfit = nullptr, int* expected = nullptr)
{
    MonoMethodSignature* signature = SignatureOf(found, method, static_cast<int>(sizeof...(Modes)), expected);
    if (!signature) {
        if (unfit)
            *unfit = -1;
        return false;
    }
    void* iterator = nullptr;
    int index = 0;
    bool fits = true;
    std::apply(
        [&](auto&... mode) {
            ((fits = fits && (++index, mode.accepts(Param(NextParam(signature, &iterator))))), ...);
        },
        modes);
    if (!fits)
        LogUnfit(method, index);
    if (unfit)
        *unfit = fits ? 0 : index;
    return fits;
}

// The slot check's verdict for one method and one set of modes, and the classes of the objects it was made with.
template <typename... Modes>
struct SlotVerdict {
    int unfit;
    int expected;
    std::array<MonoClass*, sizeof...(Modes)> shapes;
};

// SignatureFits, remembered per method: the verdict holds while the slots carry objects of the same classes.
// A refusal is logged on every call, as the first time.
template <typename... Modes>
bool SlotsFit(MonoMethod* found, const char* method, std::tuple<Modes...>& modes)
{
    std::array<MonoClass*, sizeof...(Modes)> shapes{};
    std::apply(
        [&](auto&... mode) {
            size_t index = 0;
            ((shapes[index++] = mode.shape()), ...);
        },
        modes);
    bool fresh = false;
    const SlotVerdict<Modes...>& verdict = ProcessCache<SlotVerdict<Modes...>>()
                                               .Get(found, "", 0,
                                                    [&] {
                                                        fresh = true;
                                                        SlotVerdict<Modes...> made{0, 0, shapes};
                                                        SignatureFits(found, method, modes, &made.unfit, &made.expected);
                                                        return made;
                                                    })
                                               .value;
    if (fresh)
        return verdict.unfit == 0;
    if (verdict.shapes != shapes)
        return SignatureFits(found, method, modes);
    if (verdict.unfit < 0)
        LogCountMismatch(method, verdict.expected, static_cast<int>(sizeof...(Modes)));
    else if (verdict.unfit > 0)
        LogUnfit(method, verdict.unfit);
    return verdict.unfit == 0;
}

// Builds the slots, invokes, and copies back under the row's condition. Runs inside Guarded.
template <typename Kind, CopyBack When, typename... Modes, typename... Natives>
typename Kind::Type Invoke(CVIWrapperPtr& wrapper, bool up, const char* method, Natives&&... natives)
{
    static_assert(sizeof...(Modes) == sizeof...(Natives), "one mode per slot");
    // Braced, so the slots are built in order and the first faulty one is the first that noted its fault.
    std::tuple<Modes...> modes{Modes(natives, up)...};
    void* slots[sizeof...(Modes) + 1] = {};
    bool ready = true;
    std::apply(
        [&](auto&... mode) {
            size_t index = 0;
            ((slots[index++] = mode.slot(), ready = ready && mode.ready()), ...);
        },
        modes);
    if (up && !ArgumentsWhole(method, modes))
        return Kind::Failure();
    if (up && !ready) {
        LogUnprepared(method);
        return Kind::Failure();
    }
    MonoMethod* found = wrapper.FindMethod(method, static_cast<int>(sizeof...(Modes)));
    if (found && !SlotsFit(found, method, modes))
        found = nullptr;
    typename Kind::Type result = Kind::From(wrapper.InvokeMethod(found, slots));
    // Outputs are left alone while the runtime is down: there was nothing to read them from.
    if (up && Holds(When, result))
        std::apply([](auto&... mode) { (mode.commit(), ...); }, modes);
    return result;
}

// One whole forwarding operation.
template <typename Kind, CopyBack When, typename... Modes, typename... Natives>
typename Kind::Type Forward(CVIWrapperPtr& wrapper, const char* prettyFunction, const char* method, Natives&&... natives)
{
    return Guarded(wrapper, prettyFunction, Kind::Failure(), [&](bool up) {
        return Invoke<Kind, When, Modes...>(wrapper, up, method, std::forward<Natives>(natives)...);
    });
}

// True when a core result is a managed string.
inline bool IsString(MonoObject* result)
{
    return result && g_mono.mono_object_get_class(result) == g_mono.mono_get_string_class();
}

} // namespace frame
} // namespace VISDKCppBridge

#endif
