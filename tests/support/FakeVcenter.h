#ifndef VISDK_TEST_FAKE_VCENTER_H
#define VISDK_TEST_FAKE_VCENTER_H

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <atomic>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Responder.h"
#include "TestSupport.h"

namespace visdktest {

// A loopback vCenter holding a few objects, for the client's way to the call a test is about: service content (with
// the guest operations manager), login, property reads (every property held of each object asked), container views
// and *_Task methods that have succeeded at once. Other methods go to the test's handler first (given the server, to
// change what it holds); what it leaves unanswered gets those answers, else MethodNotFound.
class FakeVcenter {
public:
    using Handler = std::function<bool(FakeVcenter&, const Responder::Request&, Responder::Reply&)>;
    using Areas = std::vector<std::pair<long long, long long>>;

    explicit FakeVcenter(Handler methods) : m_methods(std::move(methods)), m_server([this](const Responder::Request& r) { return Answer(r); })
    {
        Put("GuestOperationsManager", "guestOperationsManager", "fileManager", "<val xsi:type=\"ManagedObjectReference\" type=\"GuestFileManager\">files</val>");
        Put("GuestOperationsManager", "guestOperationsManager", "processManager",
            "<val xsi:type=\"ManagedObjectReference\" type=\"GuestProcessManager\">processes</val>");
    }

    static std::string Val(const std::string& xsiType, const std::string& inner) { return "<val xsi:type=\"" + xsiType + "\">" + inner + "</val>"; }
    // config.hardware.device with one 16 GiB disk, 2000 "Hard disk 1", whose backing holds those files and change id.
    static std::string OneDisk(const std::string& files, const std::string& changeId)
    {
        return Val("ArrayOfVirtualDevice", "<VirtualDevice xsi:type=\"VirtualDisk\"><key>2000</key><deviceInfo><label>Hard disk 1</label><summary/></deviceInfo>"
                                           "<backing xsi:type=\"VirtualDiskFlatVer2BackingInfo\">" + files + "<changeId>" + changeId +
                                           "</changeId></backing><capacityInKB>16777216</capacityInKB></VirtualDevice>");
    }
    // A VM's snapshot property with one snapshot, the current one.
    static std::string OneSnapshot(const std::string& moref, const std::string& name)
    {
        const std::string ref = "type=\"VirtualMachineSnapshot\">" + moref + "</";
        return Val("VirtualMachineSnapshotInfo", "<currentSnapshot " + ref + "currentSnapshot><rootSnapshotList><snapshot " + ref + "snapshot><name>" + name +
                                                     "</name><description>Backup snapshot</description></rootSnapshotList>");
    }
    // QueryChangedDiskAreas' answer for [start, end): the areas within it, cut at its ends.
    static std::string ChangeInfo(long long start, long long end, const Areas& areas)
    {
        std::string xml = "<returnval><startOffset>" + std::to_string(start) + "</startOffset><length>" + std::to_string(end - start) + "</length>";
        for (const auto& [at, length] : areas)
            if (at < end && at + length > start)
                xml += "<changedArea><start>" + std::to_string(std::max(at, start)) + "</start><length>" +
                       std::to_string(std::min(at + length, end) - std::max(at, start)) + "</length></changedArea>";
        return Responder::Response("QueryChangedDiskAreas", xml + "</returnval>");
    }

    // Sets one property of an object (made on first use); an empty value removes it.
    void Put(const std::string& type, const std::string& moref, const std::string& path, const std::string& val)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (val.empty())
            m_objects[type][moref].erase(path);
        else
            m_objects[type][moref][path] = val;
    }
    // The response of a task that has succeeded with that result (a <result> element, or nothing).
    std::string Task(const std::string& method, const std::string& resultXml = "")
    {
        std::string task = "task-" + std::to_string(++m_tasks);
        Put("Task", task, "info", Val("TaskInfo", "<key>" + task + "</key><state>success</state>" + resultXml));
        return Responder::Response(method, "<returnval type=\"Task\">" + task + "</returnval>");
    }

    std::string Url() const { return m_server.Url(); }
    // The requests of one SOAP method in order ("": the plain HTTP ones).
    std::vector<Responder::Request> Calls(const std::string& method) const
    {
        std::vector<Responder::Request> calls;
        for (const Responder::Request& request : m_server.Requests())
            if (request.soapMethod == method)
                calls.push_back(request);
        return calls;
    }
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> Connected()
    {
        Bridge();
        auto bridge = std::make_unique<VISDKCppBridge::CVISDKCppBridge>();
        std::string url = Url(), noVm;
        EXPECT_EQ(bridge->SetVMFocus(url, noVm, 0), 1);
        EXPECT_EQ(bridge->Connect(url, "tester", "pw"), 1) << bridge->GetLastErrorString();
        return bridge;
    }

private:
    Responder::Reply Answer(const Responder::Request& request)
    {
        Responder::Reply reply;
        const std::string& method = request.soapMethod;
        if (Responder::AnswerSession(request, reply)) {
            if (method == "RetrieveServiceContent")
                reply.body.insert(reply.body.find("</returnval>"), "<guestOperationsManager type=\"GuestOperationsManager\">guestOperationsManager"
                                                                   "</guestOperationsManager>");
        } else if (m_methods(*this, request, reply)) {
        } else if (method == "RetrievePropertiesEx") {
            reply.body = Responder::Response(method, "<returnval>" + Objects(request.body) + "</returnval>");
        } else if (method == "CreateContainerView") {
            reply.body = Responder::Response(method, "<returnval type=\"ContainerView\">session[1]view</returnval>");
        } else if (method.size() > 5 && method.compare(method.size() - 5, 5, "_Task") == 0) {
            reply.body = Task(method);
        } else {
            reply.status = 500;
            reply.body = Responder::Fault("MethodNotFound", "The test server does not implement " + method);
        }
        return reply;
    }

    // The objects a retrieval names, or through a container view every object of its property sets' types.
    std::string Objects(const std::string& body)
    {
        static const std::regex type("<propSet><type>([^<]+)</type>"), object("<obj type=\"([^\"]+)\">([^<]*)</obj>");
        std::vector<std::pair<std::string, std::string>> asked;
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = std::sregex_iterator(body.begin(), body.end(), object); it != std::sregex_iterator(); ++it)
            if ((*it)[1] != "ContainerView")
                asked.emplace_back((*it)[1], (*it)[2]);
            else
                for (auto t = std::sregex_iterator(body.begin(), body.end(), type); t != std::sregex_iterator(); ++t)
                    for (const auto& held : m_objects[(*t)[1]])
                        asked.emplace_back((*t)[1], held.first);
        std::string xml;
        for (const auto& [t, moref] : asked) {
            auto held = m_objects[t].find(moref);
            if (held == m_objects[t].end())
                continue;
            xml += "<objects><obj type=\"" + t + "\">" + moref + "</obj>";
            for (const auto& [path, val] : held->second)
                xml += "<propSet><name>" + path + "</name>" + val + "</propSet>";
            xml += "</objects>";
        }
        return xml;
    }

    Handler m_methods;
    std::mutex m_mutex;
    std::atomic<int> m_tasks{0};
    // type -> moref -> path -> <val> element
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> m_objects;
    Responder m_server;
};

} // namespace visdktest

#endif
