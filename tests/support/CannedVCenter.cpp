#include "CannedVCenter.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace visdktest {

CannedVCenter::CannedVCenter(std::vector<std::string> objects, Handler handler, bool vcenter)
    : responder([this](const Responder::Request& r) { return Answer(r); }), m_objects(std::move(objects)), m_handler(std::move(handler)),
      m_vcenter(vcenter)
{
}

std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> CannedVCenter::Connect()
{
    Bridge();
    auto bridge = std::make_unique<VISDKCppBridge::CVISDKCppBridge>();
    std::string url = responder.Url(), vm;
    EXPECT_EQ(bridge->SetVMFocus(url, vm, 0), 1);
    EXPECT_EQ(bridge->Connect(url, "tester", "pw"), 1) << bridge->GetLastErrorString();
    return bridge;
}

std::string CannedVCenter::Authority() const
{
    std::string url = responder.Url();
    return url.substr(7, url.size() - 11);
}

std::vector<std::string> CannedVCenter::Bodies(const std::string& soapMethod) const
{
    std::vector<std::string> bodies;
    for (const Responder::Request& r : responder.Requests())
        if (r.soapMethod == soapMethod)
            bodies.push_back(r.body);
    return bodies;
}

std::string CannedVCenter::Ref(const std::string& type, const std::string& moref)
{
    return "<val type=\"" + type + "\" xsi:type=\"ManagedObjectReference\">" + moref + "</val>";
}

std::string CannedVCenter::Object(const std::string& type, const std::string& moref, const std::string& name,
                                  const std::vector<std::pair<std::string, std::string>>& properties)
{
    std::string xml = "<objects><obj type=\"" + type + "\">" + moref + "</obj><propSet><name>name</name><val xsi:type=\"xsd:string\">" + name +
                      "</val></propSet>";
    for (const auto& [path, val] : properties)
        xml += "<propSet><name>" + path + "</name>" + val + "</propSet>";
    return xml + "</objects>";
}

Responder::Reply CannedVCenter::Answer(const Responder::Request& request)
{
    Responder::Reply reply;
    const std::string& m = request.soapMethod;
    if (m_handler && m_handler(request, reply))
        return reply;
    if (m == "RetrieveServiceContent") {
        reply.body = Responder::Response(
            m, std::string("<returnval><rootFolder type=\"Folder\">group-d1</rootFolder><propertyCollector type=\"PropertyCollector\">pc"
                           "</propertyCollector><viewManager type=\"ViewManager\">vm</viewManager><about><name>VMware vCenter Server</name>"
                           "<fullName>VMware vCenter Server 8.0.2 build-22617221</fullName><version>8.0.2</version><build>22617221</build>"
                           "<apiType>") +
                   (m_vcenter ? "VirtualCenter" : "HostAgent") +
                   "</apiType><apiVersion>8.0.2.0</apiVersion></about><sessionManager type=\"SessionManager\">sm</sessionManager>"
                   "<taskManager type=\"TaskManager\">TaskManager</taskManager><authorizationManager type=\"AuthorizationManager\">am</authorizationManager><fileManager type=\"FileManager\">fm"
                   "</fileManager><diagnosticManager type=\"DiagnosticManager\">dm</diagnosticManager></returnval>");
    } else if (Responder::AnswerSession(request, reply)) {
    } else if (m == "CreateContainerView") {
        reply.body = Responder::Response(m, "<returnval type=\"ContainerView\">view</returnval>");
    } else if (m == "RetrievePropertiesEx" && request.body.find("<type>Task</type>") != std::string::npos) {
        reply.body = Responder::Response(m, "<returnval><objects><obj type=\"Task\">task-1</obj><propSet><name>info</name><val xsi:type=\"TaskInfo\">"
                                            "<key>task-1</key><state>" +
                                                std::string(taskError.empty() ? "success" : "error") + "</state>" + taskError + taskResult +
                                                "</val></propSet></objects></returnval>");
    } else if (m == "RetrievePropertiesEx") {
        bool all = request.body.find("<obj type=\"ContainerView\">") != std::string::npos;
        std::string found;
        for (const std::string& object : m_objects) {
            size_t close = object.find("</obj>"), open = object.rfind('>', close);
            if (all || request.body.find(object.substr(open, close - open) + "</obj>") != std::string::npos)
                found += object;
        }
        reply.body = Responder::Response(m, "<returnval>" + found + "</returnval>");
    } else if (m == "MakeDirectory") {
        reply.body = Responder::Response(m, "");
    } else if (m.size() > 5 && m.compare(m.size() - 5, 5, "_Task") == 0) {
        reply.body = Responder::Response(m, "<returnval type=\"Task\">task-1</returnval>");
    } else {
        reply.status = 500, reply.body = Responder::Fault("MethodNotFound", "unexpected " + m);
    }
    return reply;
}

} // namespace visdktest
