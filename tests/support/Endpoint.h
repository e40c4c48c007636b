#ifndef VISDK_TEST_ENDPOINT_H
#define VISDK_TEST_ENDPOINT_H

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "VISDKCppBridge.h"

namespace visdktest {

// The test endpoint this process runs against: the file VISDK_TEST_ENDPOINT names (see cmake/TestEndpoint.cmake).
struct Endpoint {
    std::string url, host, port, thumbprint, cert, user, password, model;
    // The file the endpoint writes every request and response to (the traced fixture only; else empty).
    std::string trace;
    int vms = 0;
    // Read once; a test process without the variable or file fails its first test that asks.
    static const Endpoint& Get();
};

// Trusts the endpoint's certificate by its thumbprint (for clients made from now on) and brings the runtime up.
void TrustEndpoint();

// A bridge of its own, focused on the endpoint and (unless told not to) connected with the endpoint's account.
std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> EndpointBridge(bool connect = true);

// One curl request to the endpoint, its certificate trusted: the options, and the body (when not empty) from a file.
std::string Curl(const std::string& options, const std::string& body = "");

// A bridge focused on another server (a loopback responder, say) and connected to it.
std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> ServerBridge(const std::string& url, const std::string& user = "tester",
                                                              const std::string& password = "pw");

// The server's side of the story, asked over a session of its own with curl, never through the client under test:
// what a test checks its results against.
class RawSoap {
public:
    RawSoap();
    ~RawSoap();
    // The whole response document of one method call; `arguments` is the XML inside the method element after _this.
    std::string Call(const std::string& method, const std::string& thisType, const std::string& thisValue, const std::string& arguments = "");
    // The same for the storage policy service (urn:pbm at /pbm) in this session.
    std::string Pbm(const std::string& method, const std::string& thisType, const std::string& thisValue, const std::string& arguments = "");
    // A property's raw XML (the <val> element's inner text or markup) of one object; "" when unset.
    std::string Property(const std::string& type, const std::string& moref, const std::string& path);
    // The managed object id of the object of that type and name ("" when none).
    std::string Moref(const std::string& type, const std::string& name);
    // Every object of the type: (moref, name) pairs.
    std::vector<std::pair<std::string, std::string>> All(const std::string& type);

private:
    std::string Post(const std::string& body, const std::string& path = "/sdk");
    std::string m_jar;
    std::string m_sessionManager, m_propertyCollector, m_viewManager, m_rootFolder;
};

// A test that works on one VM of the endpoint's: a connected bridge, the server's own session, the VM's moref; the VM
// is powered on again after each test.
class EndpointVmTest : public ::testing::Test {
protected:
    explicit EndpointVmTest(std::string vmName) : vm(std::move(vmName)) {}
    void SetUp() override;
    void TearDown() override;
    // A property of the VM as the server holds it.
    std::string Get(const std::string& path) { return server.Property("VirtualMachine", moref, path); }

    const std::string vm;
    std::string moref;
    RawSoap server;
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
};

// The text of the first element of that local name in an XML text ("" when none).
std::string XmlText(const std::string& xml, const std::string& element);
// Every occurrence's text.
std::vector<std::string> XmlTexts(const std::string& xml, const std::string& element);

// One text field of every record, sorted: lists compared whatever their order.
template <class T>
std::vector<std::string> Sorted(const std::vector<T>& items, std::string T::*field)
{
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.*field);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace visdktest

#endif
