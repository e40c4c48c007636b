#ifndef VISDK_TEST_RESPONDER_H
#define VISDK_TEST_RESPONDER_H

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace visdktest {

// A plain-HTTP server on loopback that answers each request as a test tells it: canned SOAP documents shaped as the
// API defines them, or the misbehaviour of a hostile server. It keeps connections alive like a real one.
class Responder {
public:
    struct Request {
        std::string method, path, body;
        std::string head; // the request line and headers
        std::string soapMethod; // the first element inside the SOAP body ("" when none)
    };
    struct Reply {
        int status = 200;
        std::string contentType = "text/xml; charset=utf-8";
        std::string body;
        std::vector<std::string> headers;  // extra "Name: value" lines
        bool chunked = false;              // send the body chunked, without a length
        long long streamBytes = 0;         // after the body, stream this many more bytes of `streamUnit`, unbuffered
        std::string streamUnit = " ";
        std::string streamTail;            // sent after the streamed bytes
        int delayMs = 0;                   // wait before answering
        int pauseMs = 0;                   // wait after the body, before the streamed bytes
        int trickleMs = 0;                 // stream one unit at a time, this long apart
        bool closeInstead = false;         // close the connection without a word
        long long contentLength = -1;      // claim this length instead of the body's
    };
    using Handler = std::function<Reply(const Request&)>;

    explicit Responder(Handler handler);
    ~Responder();
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    std::string Url() const; // http://127.0.0.1:PORT/sdk
    std::vector<Request> Requests() const;
    int Count(const std::string& soapMethod) const;

    // A SOAP response element wrapped in its envelope; a fault of the given vSphere type and message.
    static std::string Envelope(const std::string& bodyXml);
    static std::string Response(const std::string& method, const std::string& inner);
    static std::string Fault(const std::string& type, const std::string& message, const std::string& detailXml = "");
    // The service content, login and logout of a vCenter, so a client gets as far as the call a test is about.
    static bool AnswerSession(const Request& request, Reply& reply);

private:
    void Serve(int client);
    void Pause(int ms);
    Handler m_handler;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_acceptor;
    mutable std::mutex m_mutex;
    std::vector<Request> m_requests;
    std::vector<std::thread> m_workers;
    std::vector<int> m_clients;
};

} // namespace visdktest

#endif
