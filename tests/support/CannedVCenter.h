#ifndef VISDK_TEST_CANNED_VCENTER_H
#define VISDK_TEST_CANNED_VCENTER_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Responder.h"
#include "VISDKCppBridge.h"

namespace visdktest {

// A loopback server of canned answers, enough of a vCenter (or a host) for one operation: its service content, a
// login, one view over the inventory objects the test gives, every *_Task ending at once with the test's result or
// fault; whatever else (a /folder or /downloads path, a method the test looks at) the test's own handler answers first.
class CannedVCenter {
public:
    using Handler = std::function<bool(const Responder::Request&, Responder::Reply&)>;
    // `objects`: <objects> elements as RetrievePropertiesEx returns them; a read of chosen objects gets only those.
    CannedVCenter(std::vector<std::string> objects, Handler handler, bool vcenter = true);

    // A bridge focused on this server and logged in.
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> Connect();
    std::string Authority() const; // 127.0.0.1:PORT
    // The bodies of the SOAP requests of that method.
    std::vector<std::string> Bodies(const std::string& soapMethod) const;

    // A finished task's result element (`<result xsi:type=...>...</result>`), or its fault (`<error>...</error>`).
    std::string taskResult, taskError;
    Responder responder;

    // An object with a name and further properties, each as (path, <val ...>...</val>).
    static std::string Object(const std::string& type, const std::string& moref, const std::string& name,
                              const std::vector<std::pair<std::string, std::string>>& properties = {});
    static std::string Ref(const std::string& type, const std::string& moref);

private:
    Responder::Reply Answer(const Responder::Request& request);
    std::vector<std::string> m_objects;
    Handler m_handler;
    bool m_vcenter;
};

} // namespace visdktest

#endif
