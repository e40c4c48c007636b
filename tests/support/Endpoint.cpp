#include "Endpoint.h"

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <regex>
#include <stdexcept>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace visdktest {

const Endpoint& Endpoint::Get()
{
    static const Endpoint endpoint = [] {
        Endpoint e;
        const char* path = getenv("VISDK_TEST_ENDPOINT");
        if (!path)
            throw std::runtime_error("VISDK_TEST_ENDPOINT is not set: run this test through ctest");
        std::ifstream in(path);
        if (!in)
            throw std::runtime_error(std::string("cannot read the endpoint file ") + path);
        std::map<std::string, std::string> values;
        for (std::string line; std::getline(in, line);) {
            size_t equals = line.find('=');
            if (equals != std::string::npos)
                values[line.substr(0, equals)] = line.substr(equals + 1);
        }
        e.url = values["VISDK_ENDPOINT_URL"];
        e.host = values["VISDK_ENDPOINT_HOST"];
        e.port = values["VISDK_ENDPOINT_PORT"];
        e.thumbprint = values["VISDK_ENDPOINT_THUMBPRINT"];
        e.cert = values["VISDK_ENDPOINT_CERT"];
        e.user = values["VISDK_ENDPOINT_USER"];
        e.password = values["VISDK_ENDPOINT_PASSWORD"];
        e.model = values["VISDK_ENDPOINT_MODEL"];
        e.trace = values["VISDK_ENDPOINT_TRACE"];
        e.vms = atoi(values["VISDK_ENDPOINT_VMS"].c_str());
        return e;
    }();
    return endpoint;
}

void TrustEndpoint()
{
    setenv("VISDK_TRUST_THUMBPRINT", Endpoint::Get().thumbprint.c_str(), 1);
    Bridge();
}

std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> EndpointBridge(bool connect)
{
    const Endpoint& e = Endpoint::Get();
    auto bridge = std::make_unique<VISDKCppBridge::CVISDKCppBridge>();
    std::string server = e.url, vm;
    EXPECT_EQ(bridge->SetVMFocus(server, vm, 0), 1);
    if (connect) {
        EXPECT_EQ(bridge->Connect(e.url, e.user, e.password), 1) << bridge->GetLastErrorString();
    }
    return bridge;
}

std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> ServerBridge(const std::string& url, const std::string& user, const std::string& password)
{
    Bridge();
    auto bridge = std::make_unique<VISDKCppBridge::CVISDKCppBridge>();
    std::string server = url, vm;
    EXPECT_EQ(bridge->SetVMFocus(server, vm, 0), 1);
    EXPECT_EQ(bridge->Connect(url, user, password), 1) << bridge->GetLastErrorString();
    return bridge;
}

void EndpointVmTest::SetUp()
{
    TrustEndpoint();
    bridge = EndpointBridge();
    moref = server.Moref("VirtualMachine", vm);
    ASSERT_NE(moref, "") << vm;
}

void EndpointVmTest::TearDown()
{
    if (Get("runtime.powerState") != "poweredOn") server.Call("PowerOnVM_Task", "VirtualMachine", moref);
}

namespace {

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Envelope(const std::string& method, const std::string& thisType, const std::string& thisValue, const std::string& arguments,
                     const std::string& ns = "urn:vim25")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><soapenv:Body><" +
           method + " xmlns=\"" + ns + "\"><_this type=\"" + thisType + "\">" + Escape(thisValue) + "</_this>" + arguments + "</" + method +
           "></soapenv:Body></soapenv:Envelope>";
}

} // namespace

RawSoap::RawSoap()
{
    char path[] = "/tmp/visdk-raw-soap-XXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0)
        close(fd);
    m_jar = path;
    const Endpoint& e = Endpoint::Get();
    // The service's objects are named differently by a vCenter and a host: ask, never assume.
    std::string content = Call("RetrieveServiceContent", "ServiceInstance", "ServiceInstance");
    m_sessionManager = XmlText(content, "sessionManager");
    m_propertyCollector = XmlText(content, "propertyCollector");
    m_viewManager = XmlText(content, "viewManager");
    m_rootFolder = XmlText(content, "rootFolder");
    std::string login = Call("Login", "SessionManager", m_sessionManager,
                             "<userName>" + Escape(e.user) + "</userName><password>" + Escape(e.password) + "</password>");
    if (login.find("<key>") == std::string::npos)
        ADD_FAILURE() << "raw login failed: " << login;
}

RawSoap::~RawSoap() { unlink(m_jar.c_str()); }

std::string Curl(const std::string& options, const std::string& body)
{
    char bodyPath[] = "/tmp/visdk-curl-body-XXXXXX";
    int fd = mkstemp(bodyPath);
    if (fd < 0)
        return "";
    ssize_t written = write(fd, body.data(), body.size());
    close(fd);
    std::string out;
    std::string command = "curl -s --cacert '" + Endpoint::Get().cert + "' " + options + (body.empty() ? "" : std::string(" --data-binary @") + bodyPath);
    if (written == static_cast<ssize_t>(body.size()))
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[65536];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
                out.append(buffer, n);
            pclose(pipe);
        }
    unlink(bodyPath);
    return out;
}

std::string RawSoap::Post(const std::string& body, const std::string& path)
{
    const Endpoint& e = Endpoint::Get();
    return Curl("-b '" + m_jar + "' -c '" + m_jar + "' -H 'Content-Type: text/xml; charset=utf-8' -H 'SOAPAction: \"urn:vim25/6.5\"' '" +
                    e.url.substr(0, e.url.rfind("/sdk")) + path + "'",
                body);
}

std::string RawSoap::Call(const std::string& method, const std::string& thisType, const std::string& thisValue, const std::string& arguments)
{
    return Post(Envelope(method, thisType, thisValue, arguments));
}

std::string RawSoap::Pbm(const std::string& method, const std::string& thisType, const std::string& thisValue, const std::string& arguments)
{
    return Post(Envelope(method, thisType, thisValue, arguments, "urn:pbm"), "/pbm");
}

std::string RawSoap::Property(const std::string& type, const std::string& moref, const std::string& path)
{
    std::string response = Call("RetrievePropertiesEx", "PropertyCollector", m_propertyCollector,
                                "<specSet><propSet><type>" + type + "</type><pathSet>" + Escape(path) + "</pathSet></propSet><objectSet><obj type=\"" +
                                    type + "\">" + Escape(moref) + "</obj></objectSet></specSet><options/>");
    std::smatch match;
    static const std::regex val("<val[^>]*>([\\s\\S]*?)</val>\\s*</propSet>");
    return std::regex_search(response, match, val) ? match[1].str() : "";
}

std::vector<std::pair<std::string, std::string>> RawSoap::All(const std::string& type)
{
    std::string view = XmlText(Call("CreateContainerView", "ViewManager", m_viewManager,
                                    "<container type=\"Folder\">" + m_rootFolder + "</container><type>" + type + "</type><recursive>true</recursive>"),
                               "returnval");
    std::string response = Call("RetrievePropertiesEx", "PropertyCollector", m_propertyCollector,
                                "<specSet><propSet><type>" + type + "</type><pathSet>name</pathSet></propSet><objectSet><obj type=\"ContainerView\">" +
                                    Escape(view) + "</obj><skip>true</skip><selectSet xsi:type=\"TraversalSpec\"><name>v</name><type>ContainerView</type>"
                                    "<path>view</path><skip>false</skip></selectSet></objectSet></specSet><options/>");
    std::vector<std::pair<std::string, std::string>> all;
    static const std::regex object("<objects><obj[^>]*>([^<]*)</obj>[\\s\\S]*?<val[^>]*>([^<]*)</val>");
    for (auto it = std::sregex_iterator(response.begin(), response.end(), object); it != std::sregex_iterator(); ++it)
        all.emplace_back((*it)[1].str(), (*it)[2].str());
    return all;
}

std::string RawSoap::Moref(const std::string& type, const std::string& name)
{
    for (const auto& [moref, objectName] : All(type))
        if (objectName == name)
            return moref;
    return "";
}

std::vector<std::string> XmlTexts(const std::string& xml, const std::string& element)
{
    std::vector<std::string> texts;
    std::regex pattern("<(?:[A-Za-z0-9_-]+:)?" + element + "(?:\\s[^>]*)?>([^<]*)</");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), pattern); it != std::sregex_iterator(); ++it)
        texts.push_back((*it)[1].str());
    return texts;
}

std::string XmlText(const std::string& xml, const std::string& element)
{
    std::vector<std::string> texts = XmlTexts(xml, element);
    return texts.empty() ? "" : texts[0];
}

} // namespace visdktest
