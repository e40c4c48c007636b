#ifndef VISDK_TOOLS_CLI_SUPPORT_H
#define VISDK_TOOLS_CLI_SUPPORT_H

#include <ctime>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "Credentials.h"
#include "VISDKCppBridge.h"

namespace visdk {

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitInterrupted = 130 };

// A malformed command line; main prints it with a pointer to --help and exits 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Arguments {
    std::vector<std::string> words;
    // Long option names without dashes; flags hold "".
    std::multimap<std::string, std::string> options;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    // The last value given, else the fallback.
    std::string Value(const std::string& name, const std::string& fallback = "") const;
    std::vector<std::string> Values(const std::string& name) const;
    // --json: the command prints one JSON object on stdout and nothing else there.
    bool Json() const { return Has("json"); }
};

// One connected session for one command; the destructor disconnects and releases the runtime.
class Session {
public:
    // Chooses the login (ChooseLogin): may prompt, and throws LoginError when no password can be had.
    explicit Session(const Arguments& args);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Prints the reason and returns kExitUsage when the runtime or the login fails.
    int Open();

    VISDKCppBridge::CVISDKCppBridge& Bridge() { return m_bridge; }
    const std::string& Server() const { return m_login.server; }
    const std::string& GuestUser() const { return m_guestUser; }
    const std::string& GuestPassword() const { return m_guestPassword; }

    // The managed side's text for the last failure, else the library's last logged error.
    std::string LastError();
    // Prints "visdk: WHAT: <last error>" on stderr and returns kExitFailed.
    int Fail(const std::string& what);

private:
    VISDKCppBridge::CVISDKCppBridge m_bridge;
    Login m_login;
    std::string m_guestUser, m_guestPassword;
    bool m_connected = false;
};

// Routes the library's log through the tool: everything shown with -v, errors otherwise only remembered.
void InstallLogSink(bool verbose);

long long ParseNumber(const std::string& text, const std::string& what, long long min, long long max);
std::string IsoTime(time_t t);
std::string HumanBytes(unsigned long long bytes);

// The guest device that holds the disk with this key: 2000 is /dev/sda.
std::string GuestDevice(long long diskKey);
long long ParseDiskKey(const std::string& text);
// Writes through the guest's dd; prints the failure and returns false when it does not succeed.
bool GuestWrite(Session& session, const std::string& vm, long long diskKey, long long offset, long long length);

} // namespace visdk

#endif
