#include "CliSupport.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>

#include "PlatformServices.h"

namespace visdk {

namespace {

const char kDefaultGuestUser[] = "root";
const char kDefaultGuestPassword[] = "guestpass";

std::mutex s_logMutex;
std::string s_lastLoggedError;
bool s_verbose = false;

void Sink(int level, const char* tag, const char* text, void*)
{
    std::string line = text ? text : "";
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    std::lock_guard<std::mutex> lock(s_logMutex);
    if (level == VISDKCppBridge::DebugLog::LevelError)
        s_lastLoggedError = line;
    if (!s_verbose) {
        // The managed side's warnings (the lab TLS switch, say) are for the user, also without -v.
        if (line.rfind("Warning: ", 0) == 0)
            std::fprintf(stderr, "visdk: %s\n", line.c_str());
        return;
    }
    std::string prefix = level == VISDKCppBridge::DebugLog::LevelError ? "bridge error" : "bridge debug";
    if (tag && *tag)
        prefix += std::string(" [") + tag + "]";
    std::fprintf(stderr, "%s: %s\n", prefix.c_str(), line.c_str());
}

std::string LastLoggedError()
{
    std::lock_guard<std::mutex> lock(s_logMutex);
    return s_lastLoggedError;
}

} // namespace

std::string Arguments::Value(const std::string& name, const std::string& fallback) const
{
    auto range = options.equal_range(name);
    if (range.first == range.second)
        return fallback;
    return (--range.second)->second;
}

std::vector<std::string> Arguments::Values(const std::string& name) const
{
    std::vector<std::string> values;
    auto range = options.equal_range(name);
    for (auto it = range.first; it != range.second; ++it)
        values.push_back(it->second);
    return values;
}

Session::Session(const Arguments& args)
    : m_login(ChooseLogin(args)),
      m_guestUser(args.Value("guest-user", kDefaultGuestUser)),
      m_guestPassword(args.Value("guest-password", kDefaultGuestPassword))
{
}

Session::~Session()
{
    Wipe(m_login.password);
    if (m_connected)
        m_bridge.Disconnect();
    m_bridge.Cleanup();
}

int Session::Open()
{
    std::string server = m_login.server, noVm;
    if (!m_bridge.SetVMFocus(server, noVm, 0)) {
        std::string detail = LastLoggedError();
        std::fprintf(stderr, "visdk: cannot start the vSphere client (Mono runtime with VISDKWrapper.dll)%s%s\n",
                     detail.empty() ? "" : ": ", detail.c_str());
        return kExitUsage;
    }
    bool connected = m_bridge.Connect(m_login.server, m_login.user, m_login.password);
    Wipe(m_login.password);
    if (!connected) {
        std::fprintf(stderr, "visdk: cannot connect to %s as %s: %s\n", m_login.server.c_str(), m_login.user.c_str(), LastError().c_str());
        return kExitUsage;
    }
    m_connected = true;
    return kExitOk;
}

std::string Session::LastError()
{
    std::string text = m_bridge.GetLastErrorString();
    if (text.empty())
        text = LastLoggedError();
    return text.empty() ? "unknown error (run with -v for the bridge's log)" : text;
}

int Session::Fail(const std::string& what)
{
    std::fprintf(stderr, "visdk: %s: %s\n", what.c_str(), LastError().c_str());
    return kExitFailed;
}

void InstallLogSink(bool verbose)
{
    {
        std::lock_guard<std::mutex> lock(s_logMutex);
        s_verbose = verbose;
    }
    VISDKCppBridge::DebugLog::SetThreshold(verbose ? 2 : VISDKCppBridge::DebugLog::LevelError);
    VISDKCppBridge::DebugLog::SetSink(Sink, nullptr);
}

long long ParseNumber(const std::string& text, const std::string& what, long long min, long long max)
{
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || text[0] == '+' || std::isspace(static_cast<unsigned char>(text[0])))
        throw UsageError(what + " must be a whole number, not '" + text + "'");
    if (value < min || value > max)
        throw UsageError(what + " must be between " + std::to_string(min) + " and " + std::to_string(max));
    return value;
}

std::string IsoTime(time_t t)
{
    struct tm parts;
    if (!gmtime_r(&t, &parts))
        return "?";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string HumanBytes(unsigned long long bytes)
{
    static const char* const kUnits[] = {"bytes", "KiB", "MiB", "GiB", "TiB", "PiB"};
    if (bytes < 1024)
        return std::to_string(bytes) + " bytes";
    double value = static_cast<double>(bytes);
    size_t unit = 0;
    while (value >= 1024 && unit + 1 < sizeof kUnits / sizeof kUnits[0]) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}

std::string GuestDevice(long long diskKey) { return std::string("/dev/sd") + static_cast<char>('a' + (diskKey - 2000)); }

long long ParseDiskKey(const std::string& text) { return ParseNumber(text, "disk key", 2000, 2025); }

bool GuestWrite(Session& session, const std::string& vm, long long diskKey, long long offset, long long length)
{
    std::string device = GuestDevice(diskKey);
    std::string script = "dd of=" + device + " seek=" + std::to_string(offset) + " bytes=" + std::to_string(length);
    int exitCode = -1;
    if (!session.Bridge().ExecuteScriptInGuest(vm, "", session.GuestUser(), session.GuestPassword(), script, "", "", 0, "",
                                               exitCode)) {
        session.Fail(vm + ": guest write to " + device);
        return false;
    }
    if (exitCode != 0) {
        std::fprintf(stderr, "visdk: %s: guest write to %s failed: '%s' exited with status %d\n", vm.c_str(), device.c_str(),
                     script.c_str(), exitCode);
        return false;
    }
    return true;
}

} // namespace visdk
