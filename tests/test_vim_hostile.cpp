// The web-services client against servers that page, misbehave or attack: a loopback responder of our own answers
// each request as the test says. Every case gives a failure value and a clear text; none crashes or hangs the host.
// This process's configuration caps an answer at 1 MiB and waits 2 s (support/HostileServers.config).
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>

#include "Responder.h"
#include "TestSupport.h"

using namespace visdktest;
using VISDKCppBridge::CVISDKCppBridge;
using Request = Responder::Request;
using Reply = Responder::Reply;

namespace {

std::unique_ptr<CVISDKCppBridge> Focused(const Responder& server)
{
    Bridge();
    auto bridge = std::make_unique<CVISDKCppBridge>();
    std::string url = server.Url(), vm;
    EXPECT_EQ(bridge->SetVMFocus(url, vm, 0), 1);
    return bridge;
}

std::string Objects(const std::string& type, const std::vector<std::pair<std::string, std::string>>& objects, const std::string& token)
{
    std::string xml = "<returnval>";
    if (!token.empty())
        xml += "<token>" + token + "</token>";
    for (const auto& [moref, name] : objects)
        xml += "<objects><obj type=\"" + type + "\">" + moref + "</obj><propSet><name>name</name><val xsi:type=\"xsd:string\">" + name +
               "</val></propSet></objects>";
    return xml + "</returnval>";
}

TEST(VimHostile, ABulkReadFollowsEveryContinuationToken)
{
    Responder server([](const Request& request) {
        Reply reply;
        if (Responder::AnswerSession(request, reply))
            return reply;
        const std::string& body = request.body;
        if (request.soapMethod == "CreateContainerView")
            reply.body = Responder::Response("CreateContainerView", "<returnval type=\"ContainerView\">session[1]view</returnval>");
        else if (request.soapMethod == "RetrievePropertiesEx" && body.find("<type>Task</type>") != std::string::npos)
            reply.body = Responder::Response("RetrievePropertiesEx",
                                             "<returnval><objects><obj type=\"Task\">task-1</obj><propSet><name>info</name><val xsi:type=\"TaskInfo\">"
                                             "<key>task-1</key><state>success</state></val></propSet></objects></returnval>");
        else if (request.soapMethod == "RetrievePropertiesEx")
            reply.body = Responder::Response("RetrievePropertiesEx", Objects("VirtualMachine", {{"vm-1", "a"}, {"vm-2", "b"}}, "t1"));
        else if (request.soapMethod == "ContinueRetrievePropertiesEx" && body.find(">t1<") != std::string::npos)
            reply.body = Responder::Response("ContinueRetrievePropertiesEx", Objects("VirtualMachine", {{"vm-3", "c"}, {"vm-4", "d"}}, "t2"));
        else if (request.soapMethod == "ContinueRetrievePropertiesEx" && body.find(">t2<") != std::string::npos)
            reply.body = Responder::Response("ContinueRetrievePropertiesEx", Objects("VirtualMachine", {{"vm-5", "target"}}, ""));
        else if (request.soapMethod == "PowerOnVM_Task")
            reply.body = Responder::Response("PowerOnVM_Task", "<returnval type=\"Task\">task-1</returnval>");
        else
            reply.status = 500, reply.body = Responder::Fault("MethodNotFound", "unexpected " + request.soapMethod);
        return reply;
    });
    auto bridge = Focused(server);
    ASSERT_EQ(bridge->Connect(server.Url(), "tester", "pw"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(bridge->PowerOnVM("target", ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(server.Count("ContinueRetrievePropertiesEx"), 2);
    std::string started;
    for (const Request& request : server.Requests()) {
        if (request.soapMethod == "PowerOnVM_Task")
            started = request.body;
        if (request.soapMethod == "RetrievePropertiesEx" && request.body.find("<type>VirtualMachine</type>") != std::string::npos) {
            EXPECT_NE(request.body.find("<maxObjects>2</maxObjects>"), std::string::npos) << "pages of the configured size";
        }
    }
    EXPECT_NE(started.find("type=\"VirtualMachine\">vm-5<"), std::string::npos) << "the VM found on the last page: " << started;
}

TEST(VimHostile, AServerThatPagesWithoutEndIsLeft)
{
    Responder server([](const Request& request) {
        Reply reply;
        if (Responder::AnswerSession(request, reply))
            return reply;
        if (request.soapMethod == "CreateContainerView")
            reply.body = Responder::Response("CreateContainerView", "<returnval type=\"ContainerView\">session[1]view</returnval>");
        else if (request.soapMethod == "RetrievePropertiesEx" || request.soapMethod == "ContinueRetrievePropertiesEx")
            reply.body = Responder::Response(request.soapMethod, Objects("VirtualMachine", {{"vm-1", "a"}}, "again"));
        return reply;
    });
    auto bridge = Focused(server);
    ASSERT_EQ(bridge->Connect(server.Url(), "tester", "pw"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(bridge->PowerOnVM("target", ""), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The server's answer to RetrievePropertiesEx pages without end (2 pages, 2 objects)");
    EXPECT_EQ(server.Count("ContinueRetrievePropertiesEx"), 1);
}

// One misbehaviour of the server answering the first request of a connect, and the text it must give.
struct Misbehaviour {
    const char* name;
    std::function<void(Reply&)> answer;
    std::string error;
};

std::string Opening() { return "<?xml version=\"1.0\"?><soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\"><soapenv:Body>"; }

std::string Repeat(const std::string& unit, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += unit;
    return text;
}

TEST(VimHostile, AMisbehavingServerFailsTheCallWithAClearText)
{
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 \"&lol;&lol;&lol;&lol;\">]>"
                               "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\"><soapenv:Body>&lol2;</soapenv:Body>"
                               "</soapenv:Envelope>";
    const Misbehaviour cases[] = {
        {"an HTML error page", [](Reply& r) { r.status = 503, r.contentType = "text/html", r.body = "<html>down for maintenance</html>"; },
         "The server answered 503 (Service Unavailable) to RetrieveServiceContent"},
        {"a redirect to another host", [](Reply& r) { r.status = 302, r.contentType = "text/html", r.headers = {"Location: https://elsewhere/sdk"}; },
         "The server redirected RetrieveServiceContent to another host (https://elsewhere); the request is not sent there"},
        {"a redirect loop", [](Reply& r) { r.status = 307, r.headers = {"Location: /sdk"}; }, "The server redirected RetrieveServiceContent more than 3 times"},
        {"a redirect without a place", [](Reply& r) { r.status = 302; }, "The server answered 302 (Found) to RetrieveServiceContent"},
        {"an HTML page as a success", [](Reply& r) { r.contentType = "text/html", r.body = "<html>log in first</html>"; },
         "The server answered RetrieveServiceContent with 'text/html', not a SOAP document"},
        {"a server error without a fault", [](Reply& r) { r.status = 500, r.contentType = "text/plain", r.body = "oops"; },
         "The server answered 500 (Internal Server Error) to RetrieveServiceContent"},
        {"a server error whose XML is no fault", [](Reply& r) { r.status = 500, r.body = Opening() + "<a/></soapenv:Body></soapenv:Envelope>"; },
         "The server answered 500 (Internal Server Error) to RetrieveServiceContent"},
        {"a busy server with a fault", [](Reply& r) { r.status = 503, r.body = Responder::Fault("HostCommunication", "The host is busy"); },
         "The host is busy"},
        {"XML without a SOAP body", [](Reply& r) { r.body = "<html>not soap</html>"; }, "The server's answer to RetrieveServiceContent has no SOAP body"},
        {"no XML at all", [](Reply& r) { r.body = "garbage"; }, "The server's answer to RetrieveServiceContent is not a SOAP document"},
        {"a document type with entities", [&](Reply& r) { r.body = laughs; },
         "The server's answer to RetrieveServiceContent holds a document type declaration (DTD), which is refused"},
        {"an external entity", [](Reply& r) { r.body = "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><x>&e;</x>"; },
         "The server's answer to RetrieveServiceContent holds a document type declaration (DTD), which is refused"},
        {"bytes that are not UTF-8", [](Reply& r) { r.body = Opening() + "<a>\xFF\xFE</a></soapenv:Body></soapenv:Envelope>"; },
         "The server's answer to RetrieveServiceContent is not a SOAP document"},
        {"a length beyond the cap", [](Reply& r) { r.body = "<x/>", r.contentLength = 2 << 20; },
         "The server's answer to RetrieveServiceContent is larger than 1 MiB (responseLimitMB)"},
        {"an endless stream", [](Reply& r) { r.chunked = true, r.body = Opening() + "<a>", r.streamBytes = 3 << 20, r.streamUnit = "x"; },
         "The server's answer to RetrieveServiceContent is larger than 1 MiB (responseLimitMB)"},
        {"a flood of tiny elements", [](Reply& r) { r.chunked = true, r.body = Opening() + "<a>", r.streamBytes = 900 << 10, r.streamUnit = "<b/>"; },
         "The server's answer holds more elements than its size allows"},
        {"elements nested without end", [](Reply& r) { r.body = Opening() + Repeat("<a>", 20000); },
         "The server's answer nests deeper than 256 levels"},
        {"an answer cut short", [](Reply& r) { r.body = Opening() + "<RetrieveServiceContentResponse>", r.contentLength = 100000; },
         "The server's answer to RetrieveServiceContent was cut off after "},
        {"a closed connection", [](Reply& r) { r.closeInstead = true; }, "The connection to 127.0.0.1:"},
        {"no answer in time", [](Reply& r) { r.delayMs = 6000, r.body = Responder::Response("RetrieveServiceContent", ""); },
         "The server 127.0.0.1:"},
        // A byte a second never goes silent for long, yet the whole answer has its time too.
        {"a trickle", [](Reply& r) { r.body = Opening(), r.pauseMs = 0, r.streamBytes = 60, r.streamUnit = " ", r.trickleMs = 1000; },
         "The server 127.0.0.1:"},
    };
    for (const Misbehaviour& c : cases) {
        LogCapture log;
        Responder server([&](const Request&) {
            Reply reply;
            c.answer(reply);
            return reply;
        });
        auto bridge = Focused(server);
        EXPECT_EQ(bridge->Connect(server.Url(), "tester", "pw"), 0) << c.name;
        std::string error = bridge->GetLastErrorString();
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.name << ": " << error;
        EXPECT_TRUE(log.Errors().empty()) << c.name << ": nothing leaks as an exception\n" << log.Dump();
    }
}

TEST(VimHostile, AFaultWithoutAMessageGetsATextFromItsType)
{
    Responder server([](const Request& request) {
        Reply reply;
        if (request.soapMethod == "Login")
            reply.status = 500, reply.body = Responder::Fault("InvalidLogin", "");
        else
            Responder::AnswerSession(request, reply);
        return reply;
    });
    auto bridge = Focused(server);
    EXPECT_EQ(bridge->Connect(server.Url(), "tester", "wrong"), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Cannot complete login due to an incorrect user name or password.");
}

TEST(VimHostile, TheClientSpeaksSoapAsTheApiDefinesIt)
{
    Responder server([](const Request& request) {
        Reply reply;
        Responder::AnswerSession(request, reply);
        return reply;
    });
    auto bridge = Focused(server);
    ASSERT_EQ(bridge->Connect(server.Url(), "tester", "p<&>\"w"), 1) << bridge->GetLastErrorString();
    std::vector<Request> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].path, "/sdk");
    EXPECT_NE(requests[1].body.find("<_this type=\"SessionManager\">SessionManager</_this><userName>tester</userName>"
                                     "<password>p&lt;&amp;&gt;\"w</password>"),
              std::string::npos)
        << "arguments in order, text escaped: " << requests[1].body;
    EXPECT_EQ(bridge->GetSessionCookie(), "vmware_soap_session=\"52aa-session\"");
    // A character XML cannot carry is refused before the request that would carry it goes out.
    auto other = Focused(server);
    EXPECT_EQ(other->Connect(server.Url(), std::string("te\x01ster"), "pw"), 0);
    EXPECT_EQ(other->GetLastErrorString(), "A specified parameter was not correct: the text 'te?ster' holds a character the request cannot carry");
    EXPECT_EQ(server.Count("Login"), 1) << "only the first client's login went out";
}

} // namespace
