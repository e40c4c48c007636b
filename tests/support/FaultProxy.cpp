#include "FaultProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include <nlohmann/json.hpp>

namespace visdktest {

namespace fs = std::filesystem;

std::string FaultRule::Json() const
{
    nlohmann::json rule{{"method", method}, {"count", count}, {"rate", rate}, {"seed", seed}};
    if (!kind.empty())
        rule["kind"] = kind;
    if (!kinds.empty())
        rule["kinds"] = kinds;
    if (!variant.empty())
        rule["variant"] = variant;
    if (stallMs)
        rule["stallMs"] = stallMs;
    if (noForward)
        rule["noForward"] = true;
    if (trickleMs)
        rule["trickleMs"] = trickleMs;
    if (bytes)
        rule["bytes"] = bytes;
    return rule.dump();
}

int FaultCounters::Forwarded(const std::string& method) const
{
    auto it = forwarded.find(method);
    return it == forwarded.end() ? 0 : it->second;
}

int FaultCounters::Faults(const std::string& kind) const
{
    auto it = faults.find(kind);
    return it == faults.end() ? 0 : it->second;
}

FaultProxy::FaultProxy(const std::string& endpointFile, const std::string& initialRules)
{
    std::string upstream = endpointFile;
    if (upstream.empty()) {
        const char* named = getenv("VISDK_TEST_ENDPOINT");
        if (!named)
            throw std::runtime_error("VISDK_TEST_ENDPOINT is not set: no endpoint to put the fault proxy in front of");
        upstream = named;
    }
    char dir[] = "/tmp/visdk-fault-proxy-XXXXXX";
    if (!mkdtemp(dir))
        throw std::runtime_error("cannot make a directory for the fault proxy");
    m_dir = dir;
    const std::string env = m_dir + "/proxy.env", log = m_dir + "/proxy.log";
    std::vector<std::string> args{VISDK_FAULT_PROXY, "-env", env, "-upstream-env", upstream};
    if (!initialRules.empty()) {
        args.push_back("-rules");
        args.push_back(initialRules);
    }
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        // Gone with the process that started it, however that one ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(1);
        int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = open("/dev/null", O_RDONLY);
        if (out >= 0 && in >= 0) {
            dup2(in, 0);
            dup2(out, 1);
            dup2(out, 2);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (m_pid < 0) {
        fs::remove_all(m_dir);
        throw std::runtime_error("cannot start the fault proxy");
    }
    for (int waited = 0; waited < 300 && !fs::exists(env); ++waited) {
        int status;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            std::ifstream in(log);
            std::string why((std::istreambuf_iterator<char>(in)), {});
            fs::remove_all(m_dir);
            throw std::runtime_error("the fault proxy exited at its start: " + why);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::ifstream in(env);
    for (std::string line; std::getline(in, line);) {
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            m_values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    if (!m_values.count("VISDK_PROXY_URL") || !m_values.count("VISDK_PROXY_CONTROL_PORT")) {
        Stop();
        throw std::runtime_error("the fault proxy wrote no " + env + " within 30 s");
    }
}

FaultProxy::~FaultProxy() { Stop(); }

void FaultProxy::Stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status;
        bool gone = false;
        for (int waited = 0; waited < 50 && !gone; ++waited) {
            gone = waitpid(m_pid, &status, WNOHANG) == m_pid;
            if (!gone)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (!gone) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
        }
        m_pid = -1;
    }
    if (!m_dir.empty()) {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
        m_dir.clear();
    }
}

bool FaultProxy::Running() const { return m_pid > 0 && kill(m_pid, 0) == 0; }

std::string FaultProxy::Control(const std::string& method, const std::string& path, const std::string& body, std::string* answer)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return "no socket for the fault proxy's control port";
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(std::stoi(m_values.at("VISDK_PROXY_CONTROL_PORT"))));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval limit{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return "cannot reach the fault proxy's control port";
    }
    std::string request = method + " " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n" + body;
    std::string reply;
    bool sent = send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size());
    char buffer[8192];
    for (ssize_t n; sent && (n = recv(fd, buffer, sizeof buffer, 0)) > 0;)
        reply.append(buffer, static_cast<size_t>(n));
    close(fd);
    size_t space = reply.find(' '), end = reply.find("\r\n\r\n");
    if (space == std::string::npos || end == std::string::npos)
        return "the fault proxy gave no answer to " + method + " " + path;
    int status = atoi(reply.c_str() + space + 1);
    std::string content = reply.substr(end + 4);
    if (status / 100 != 2)
        return "the fault proxy answered " + std::to_string(status) + " to " + method + " " + path + ": " + content;
    if (answer)
        *answer = content;
    return "";
}

std::string FaultProxy::Set(const std::vector<FaultRule>& rules)
{
    std::string body = "[";
    for (const FaultRule& rule : rules)
        body += (body.size() > 1 ? "," : "") + rule.Json();
    return Control("PUT", "/rules", body + "]");
}

std::string FaultProxy::Clear() { return Control("DELETE", "/rules", ""); }

std::string FaultProxy::ResetCounters() { return Control("DELETE", "/counters", ""); }

std::string FaultProxy::SetTls(const std::string& certificate, const std::string& maxVersion)
{
    return Control("PUT", "/tls", nlohmann::json{{"certificate", certificate}, {"max", maxVersion}}.dump());
}

FaultCounters FaultProxy::Counters()
{
    FaultCounters counters;
    std::string answer;
    if (!Control("GET", "/counters", "", &answer).empty())
        return counters;
    nlohmann::json all = nlohmann::json::parse(answer, nullptr, false);
    if (all.is_discarded())
        return counters;
    if (all["forwarded"].is_object())
        counters.forwarded = all["forwarded"].get<std::map<std::string, int>>();
    if (all["faults"].is_object())
        counters.faults = all["faults"].get<std::map<std::string, int>>();
    if (all["events"].is_array())
        counters.events = all["events"].get<std::vector<std::string>>();
    return counters;
}

} // namespace visdktest
