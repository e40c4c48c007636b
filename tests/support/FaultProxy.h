#ifndef VISDK_TEST_FAULT_PROXY_H
#define VISDK_TEST_FAULT_PROXY_H

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace visdktest {

// One fault rule of tests/faultproxy: for requests of `method` ("*": any; a SOAP method's name, or "PUT /folder"
// and the like for plain HTTP), the next `count` of them, or each with probability `rate`, get `kind` (or one of
// `kinds`, drawn by the rule's seeded generator).
struct FaultRule {
    std::string method = "*";
    std::string kind;
    int count = 1;
    double rate = 0;
    long long seed = 1;
    std::string variant;
    std::vector<std::string> kinds;
    long long stallMs = 0;    // stall and trickle: give up after this long (0: only when the client leaves)
    bool noForward = false;   // stall without sending the request on
    long long trickleMs = 0;  // trickle: pause between bytes (0: a second)
    long long bytes = 0;      // huge: the body's size (0: 1 GiB)
    std::string Json() const;
};

struct FaultCounters {
    std::map<std::string, int> forwarded; // requests that reached the endpoint, by method
    std::map<std::string, int> faults;    // faults injected, by kind
    std::vector<std::string> events;      // "METHOD kind" of each fault, in order
    int Forwarded(const std::string& method) const;
    int Faults(const std::string& kind) const;
};

// The fault proxy started in front of a test endpoint (the file VISDK_TEST_ENDPOINT names unless another is given),
// stopped with this object: no process is left behind, even when the test process dies.
class FaultProxy {
public:
    // Throws std::runtime_error when the proxy cannot be started.
    explicit FaultProxy(const std::string& endpointFile = "", const std::string& initialRules = "");
    ~FaultProxy();
    FaultProxy(const FaultProxy&) = delete;
    FaultProxy& operator=(const FaultProxy&) = delete;

    // https://127.0.0.1:PORT/sdk, its certificate's SHA-1 thumbprint, and that of the certificate it can switch to.
    const std::string& Url() const { return m_values.at("VISDK_PROXY_URL"); }
    const std::string& Thumbprint() const { return m_values.at("VISDK_PROXY_THUMBPRINT"); }
    const std::string& AlternateThumbprint() const { return m_values.at("VISDK_PROXY_ALTERNATE_THUMBPRINT"); }
    bool Running() const;

    // Each gives "" on success, else what went wrong.
    std::string Set(const std::vector<FaultRule>& rules);
    std::string Set(const FaultRule& rule) { return Set(std::vector<FaultRule>{rule}); }
    std::string Clear();
    std::string ResetCounters();
    // certificate: "primary" or "alternate" ("" keeps it); maxVersion: "1.0", "1.1", "1.2" or "" (current protocols).
    std::string SetTls(const std::string& certificate, const std::string& maxVersion);
    FaultCounters Counters();

private:
    void Stop();
    std::string Control(const std::string& method, const std::string& path, const std::string& body, std::string* answer = nullptr);
    pid_t m_pid = -1;
    std::string m_dir;
    std::map<std::string, std::string> m_values;
};

} // namespace visdktest

#endif
