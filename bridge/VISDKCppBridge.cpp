#include "VISDKCppBridge.h"

#include "BridgeFrame.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <mono/metadata/blob.h>

namespace VISDKCppBridge {

namespace frame {

const char* SignatureText(const char* prettyFunction, char* buffer, size_t size) noexcept
{
    // GCC spells the constant string parameter with its namespace; the logged texts do not.
    static const char kCompiler[] = "const std::string&";
    static const char kLogged[] = "const string&";
    const size_t compilerLength = sizeof kCompiler - 1, loggedLength = sizeof kLogged - 1;
    if (!buffer || size == 0)
        return "";
    size_t out = 0;
    for (const char* p = prettyFunction ? prettyFunction : ""; *p && out + 1 < size;) {
        if (std::strncmp(p, kCompiler, compilerLength) == 0) {
            size_t room = std::min(loggedLength, size - 1 - out);
            std::memcpy(buffer + out, kLogged, room);
            out += room;
            p += compilerLength;
        } else {
            buffer[out++] = *p++;
        }
    }
    buffer[out] = '\0';
    return buffer;
}

std::string SignatureText(const char* prettyFunction)
{
    char buffer[2048];
    return SignatureText(prettyFunction, buffer, sizeof buffer);
}

void LogManagedException(const char* prettyFunction, const ManagedException& exception) noexcept
{
    char signature[1024];
    LogException(SignatureText(prettyFunction, signature, sizeof signature), exception);
}

void LogNativeException(const char* prettyFunction, const char* what) noexcept
{
    char signature[1024];
    g_debug.ErrorTagged(SignatureText(prettyFunction, signature, sizeof signature), "Native exception caught in bridge - %s",
                        what ? what : "an exception of no standard type");
}

bool ResultsWhole() noexcept
{
    if (t_conversionFaults.lists == 0)
        return true;
    LogIncompleteList();
    return false;
}

Param::Param(MonoType* type)
    : code(type ? g_mono.mono_type_get_type(type) : 0), byRef(type && g_mono.mono_type_is_byref(type)),
      klass(type ? g_mono.mono_class_from_mono_type(type) : nullptr)
{
}

bool Param::IsString() const { return code == MONO_TYPE_STRING; }

bool Param::IsObject() const { return code == MONO_TYPE_OBJECT; }

bool Param::IsReference() const
{
    switch (code) {
    case MONO_TYPE_STRING:
    case MONO_TYPE_CLASS:
    case MONO_TYPE_OBJECT:
    case MONO_TYPE_SZARRAY:
    case MONO_TYPE_ARRAY:
        return true;
    case MONO_TYPE_GENERICINST:
        return klass && !g_mono.mono_class_is_valuetype(klass);
    default:
        return false;
    }
}

bool Param::IsValueOf(MonoObject* boxed) const
{
    return boxed && klass && g_mono.mono_class_is_valuetype(klass) && klass == g_mono.mono_object_get_class(boxed);
}

bool Param::Holds(MonoObject* object) const { return IsReference() && object && g_mono.mono_object_isinst(object, klass); }

bool Param::IsBoolean() const { return code == MONO_TYPE_BOOLEAN; }

bool Param::IsInteger(size_t size) const
{
    if (size == 4)
        return code == MONO_TYPE_I4 || code == MONO_TYPE_U4;
    return size == 8 && (code == MONO_TYPE_I8 || code == MONO_TYPE_U8);
}

MonoMethodSignature* SignatureOf(MonoMethod* method, const char* name, int slots, int* expected)
{
    MonoMethodSignature* signature = g_mono.mono_method_signature(method);
    int count = signature ? static_cast<int>(g_mono.mono_signature_get_param_count(signature)) : -1;
    if (expected)
        *expected = count;
    if (count != slots) {
        LogCountMismatch(name, count, slots);
        return nullptr;
    }
    return signature;
}

void LogCountMismatch(const char* method, int expected, int slots)
{
    g_debug.Error("Method [%s] takes %d parameters, not %d", method, expected, slots);
}

MonoType* NextParam(MonoMethodSignature* signature, void** iterator) { return g_mono.mono_signature_get_params(signature, iterator); }

void LogUnfit(const char* method, int index)
{
    g_debug.Error("Parameter #%d of method [%s] does not take the value passed", index, method);
}

void LogUnprepared(const char* method) { g_debug.Error("Could not prepare the arguments of method [%s]", method); }

void LogTextWithNul(const char* method, int index)
{
    const char* where = t_conversionFaults.nulWhere;
    if (*where)
        g_debug.Error("Parameter #%d of method [%s] holds a text with a NUL byte in [%s]; the call is refused", index, method, where);
    else
        g_debug.Error("Parameter #%d of method [%s] holds a text with a NUL byte; the call is refused", index, method);
}

void LogIncompleteList() { g_debug.Error("List conversion incomplete: [%s]", t_conversionFaults.listClass); }

} // namespace frame

using namespace frame;

namespace {

// Stands in for a holder that could not be allocated: it never gets an instance, so every operation fails
// ("object has been destroyed") instead of the constructor throwing into the host.
CVIWrapperPtr& Unallocated()
{
    static CVIWrapperPtr holder;
    return holder;
}

CVIWrapperPtr* NewHolder() noexcept
{
    CVIWrapperPtr* holder = new (std::nothrow) CVIWrapperPtr;
    if (holder)
        return holder;
    g_debug.Error("Not enough memory to create the bridge object");
    return &Unallocated();
}

} // namespace

CVISDKCppBridge::CVISDKCppBridge() : m_wrapper(NewHolder()), m_locale(0) {}

CVISDKCppBridge::CVISDKCppBridge(int locale) : m_wrapper(NewHolder()), m_locale(locale) {}

CVISDKCppBridge::~CVISDKCppBridge()
{
    if (m_wrapper != &Unallocated())
        delete m_wrapper;
}

void CVISDKCppBridge::Cleanup()
{
    try {
        CVIWrapperPtr::CleanupMono();
    } catch (...) {
        LogNativeException(__PRETTY_FUNCTION__, nullptr);
    }
}

void CVISDKCppBridge::SetLocale(int locale) { m_locale = locale; }

int CVISDKCppBridge::SetVMFocus(std::string& first, std::string& second, unsigned long long value)
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, 0, [&](bool) {
        if (m_wrapper == &Unallocated() || !m_wrapper->Init()) {
            g_debug.Error("Failed to initialize VISDKWrapper");
            return 0;
        }
        return Invoke<Int, Always, S, S, V<unsigned long long>>(*m_wrapper, m_wrapper->ThreadAttach(), "SetVMFocus", first, second,
                                                                value);
    });
}

int CVISDKCppBridge::SetLogParameters(int first, int second, int third, int fourth)
{
    return Forward<Int, Always, V<int>, V<int>, V<int>, V<int>>(*m_wrapper, __PRETTY_FUNCTION__, "SetLogParameters", first, second,
                                                                  third, fourth);
}

std::string CVISDKCppBridge::GetLastErrorString()
{
    return Guarded(*m_wrapper, __PRETTY_FUNCTION__, Str::Failure(), [&](bool up) {
        if (!up)
            return std::string("Mono framework is not initialized");
        return Invoke<Str, Always>(*m_wrapper, up, "GetLastErrorString");
    });
}

int CVISDKCppBridge::Connect(const string& first, const string& second, const string& third)
{
    if (!m_wrapper->ThreadAttach())
        return 0;
    return Forward<Int, Always, S, S, S>(*m_wrapper, __PRETTY_FUNCTION__, "Connect", first, second, third);
}

int CVISDKCppBridge::Disconnect() { return Forward<Int, Always>(*m_wrapper, __PRETTY_FUNCTION__, "Disconnect"); }

int CVISDKCppBridge::CheckConnection() { return Forward<Int, Always>(*m_wrapper, __PRETTY_FUNCTION__, "CheckConnection"); }

void CVISDKCppBridge::ReleaseConnection() { Forward<Void, Always>(*m_wrapper, __PRETTY_FUNCTION__, "ReleaseConnection"); }

bool CVISDKCppBridge::VerifyAccountForBackup(std::vector<std::string>& missing)
{
    return Forward<Bool, IfTrue, LO<std::string>>(*m_wrapper, __PRETTY_FUNCTION__, "VerifyAccountForBackup", missing);
}

bool CVISDKCppBridge::VerifyAccountForRestore(std::vector<std::string>& missing)
{
    return Forward<Bool, IfTrue, LO<std::string>>(*m_wrapper, __PRETTY_FUNCTION__, "VerifyAccountForRestore", missing);
}

bool CVISDKCppBridge::VerifyAccountForSnap(std::vector<std::string>& missing)
{
    return Forward<Bool, IfTrue, LO<std::string>>(*m_wrapper, __PRETTY_FUNCTION__, "VerifyAccountForSnap", missing);
}

bool CVISDKCppBridge::IsVCenterConnection() { return Forward<Bool, Always>(*m_wrapper, __PRETTY_FUNCTION__, "IsVCenterConnection"); }

std::string CVISDKCppBridge::GetCertificateThumbprint()
{
    return Forward<Str, Always>(*m_wrapper, __PRETTY_FUNCTION__, "GetCertificateThumbprint");
}

std::string CVISDKCppBridge::GetSessionKey() { return Forward<Str, Always>(*m_wrapper, __PRETTY_FUNCTION__, "GetSessionKey"); }

std::string CVISDKCppBridge::GetSessionCookie() { return Forward<Str, Always>(*m_wrapper, __PRETTY_FUNCTION__, "GetSessionCookie"); }

int CVISDKCppBridge::GetConnectionVersion() { return Forward<Int, Always>(*m_wrapper, __PRETTY_FUNCTION__, "GetConnectionVersion"); }

int CVISDKCppBridge::GetConnectionApiVersion()
{
    return Forward<Int, Always>(*m_wrapper, __PRETTY_FUNCTION__, "GetConnectionApiVersion");
}

void CVISDKCppBridge::SetUseInstanceUuid(bool use)
{
    Forward<Void, Always, V<bool>>(*m_wrapper, __PRETTY_FUNCTION__, "SetUseInstanceUuid", use);
}

} // namespace VISDKCppBridge
