#include "Responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <regex>

namespace visdktest {

namespace {

bool SendAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool SendAll(int fd, const std::string& text) { return SendAll(fd, text.data(), text.size()); }

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

} // namespace

Responder::Responder(Handler handler) : m_handler(std::move(handler))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(m_listener, 16);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] {
        while (!m_stop) {
            pollfd entry{m_listener, POLLIN, 0};
            if (::poll(&entry, 1, 100) <= 0)
                continue;
            int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_clients.push_back(client);
            m_workers.emplace_back([this, client] { Serve(client); });
        }
    });
}

Responder::~Responder()
{
    m_stop = true;
    m_acceptor.join();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int client : m_clients)
            ::shutdown(client, SHUT_RDWR);
    }
    for (std::thread& worker : m_workers)
        worker.join();
    for (int client : m_clients)
        ::close(client);
    ::close(m_listener);
}

std::string Responder::Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/sdk"; }

std::vector<Responder::Request> Responder::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

int Responder::Count(const std::string& soapMethod) const
{
    int count = 0;
    for (const Request& request : Requests())
        count += request.soapMethod == soapMethod;
    return count;
}

void Responder::Serve(int client)
{
    // Whatever ends the exchange, the peer sees the connection close.
    struct Closer {
        int fd;
        ~Closer() { ::shutdown(fd, SHUT_RDWR); }
    } closer{client};
    std::string buffer;
    char chunk[65536];
    while (!m_stop) {
        size_t end;
        while ((end = buffer.find("\r\n\r\n")) == std::string::npos) {
            ssize_t n = ::recv(client, chunk, sizeof chunk, 0);
            if (n <= 0)
                return;
            buffer.append(chunk, static_cast<size_t>(n));
        }
        std::string head = buffer.substr(0, end);
        buffer.erase(0, end + 4);
        Request request;
        request.head = head;
        std::smatch match;
        if (std::regex_search(head, match, std::regex("^(\\S+) (\\S+)")))
            request.method = match[1], request.path = match[2];
        size_t length = 0;
        if (std::regex_search(head, match, std::regex("Content-Length: *([0-9]+)", std::regex::icase)))
            length = std::stoul(match[1]);
        while (buffer.size() < length) {
            ssize_t n = ::recv(client, chunk, sizeof chunk, 0);
            if (n <= 0)
                return;
            buffer.append(chunk, static_cast<size_t>(n));
        }
        request.body = buffer.substr(0, length);
        buffer.erase(0, length);
        if (std::regex_search(request.body, match, std::regex("<(?:[A-Za-z0-9]+:)?Body[^>]*>\\s*<(?:[A-Za-z0-9]+:)?([A-Za-z0-9_]+)")))
            request.soapMethod = match[1];
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_requests.push_back(request);
        }
        Reply reply = m_handler(request);
        Pause(reply.delayMs);
        if (reply.closeInstead)
            return;
        std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\nContent-Type: " + reply.contentType + "\r\n";
        for (const std::string& header : reply.headers)
            out += header + "\r\n";
        long long total = static_cast<long long>(reply.body.size()) + reply.streamBytes + static_cast<long long>(reply.streamTail.size());
        if (reply.chunked)
            out += "Transfer-Encoding: chunked\r\n\r\n";
        else
            out += "Content-Length: " + std::to_string(reply.contentLength >= 0 ? reply.contentLength : total) + "\r\n\r\n";
        auto piece = [&](const std::string& data) {
            if (data.empty())
                return true;
            if (!reply.chunked)
                return SendAll(client, data);
            char size[32];
            snprintf(size, sizeof size, "%zx\r\n", data.size());
            return SendAll(client, size) && SendAll(client, data) && SendAll(client, "\r\n");
        };
        if (!SendAll(client, out) || !piece(reply.body))
            return;
        Pause(reply.pauseMs);
        std::string block;
        while (block.size() < 65536)
            block += reply.streamUnit;
        for (long long left = reply.streamBytes; left > 0 && !m_stop;) {
            size_t whole = reply.trickleMs > 0 ? reply.streamUnit.size() : block.size();
            size_t take = static_cast<size_t>(std::min<long long>(left, static_cast<long long>(whole)));
            Pause(reply.trickleMs);
            if (!piece(block.substr(0, take)))
                return;
            left -= static_cast<long long>(take);
        }
        if (!piece(reply.streamTail) || (reply.chunked && !SendAll(client, "0\r\n\r\n")))
            return;
        if (reply.contentLength >= 0 && reply.contentLength != total)
            return;
    }
}

// Waits, but not past the responder's end.
void Responder::Pause(int ms)
{
    for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms); !m_stop && std::chrono::steady_clock::now() < until;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

std::string Responder::Envelope(const std::string& bodyXml)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<soapenv:Envelope xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
           "xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><soapenv:Body>" +
           bodyXml + "</soapenv:Body></soapenv:Envelope>";
}

std::string Responder::Response(const std::string& method, const std::string& inner)
{
    return Envelope("<" + method + "Response xmlns=\"urn:vim25\">" + inner + "</" + method + "Response>");
}

std::string Responder::Fault(const std::string& type, const std::string& message, const std::string& detailXml)
{
    return Envelope("<soapenv:Fault><faultcode>ServerFaultCode</faultcode><faultstring>" + message + "</faultstring><detail><" + type +
                    "Fault xmlns=\"urn:vim25\" xsi:type=\"" + type + "\">" + detailXml + "</" + type + "Fault></detail></soapenv:Fault>");
}

bool Responder::AnswerSession(const Request& request, Reply& reply)
{
    if (request.soapMethod == "RetrieveServiceContent") {
        reply.body = Response(
            "RetrieveServiceContent",
            "<returnval><rootFolder type=\"Folder\">group-d1</rootFolder><propertyCollector type=\"PropertyCollector\">propertyCollector"
            "</propertyCollector><viewManager type=\"ViewManager\">ViewManager</viewManager><about><name>VMware vCenter Server</name>"
            "<version>7.0.3</version><build>1</build><apiType>VirtualCenter</apiType><apiVersion>7.0.3.0</apiVersion></about>"
            "<sessionManager type=\"SessionManager\">SessionManager</sessionManager><authorizationManager type=\"AuthorizationManager\">"
            "AuthorizationManager</authorizationManager><searchIndex type=\"SearchIndex\">SearchIndex</searchIndex></returnval>");
        return true;
    }
    if (request.soapMethod == "Login") {
        reply.body = Response("Login", "<returnval><key>52aa-session</key><userName>tester</userName></returnval>");
        reply.headers.push_back("Set-Cookie: vmware_soap_session=\"52aa-session\"; Path=/; HttpOnly");
        return true;
    }
    if (request.soapMethod == "Logout") {
        reply.body = Response("Logout", "");
        return true;
    }
    return false;
}

} // namespace visdktest
