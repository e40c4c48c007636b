// Storage policies and IO filters through the web-services client. Against the test endpoint: its policy service
// (names, placement; it associates no policy with anything) and its IO filter manager (which implements none of its
// methods: the requests go out and its fault comes back). Against a loopback responder: a vCenter that associates
// policies and has filters, answered in the documents the API defines.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <set>

#include "Endpoint.h"
#include "Responder.h"
#include "TestSupport.h"

using namespace visdktest;
using namespace VMInfoStructs;
using Request = Responder::Request;
using Reply = Responder::Reply;

namespace {

class VimPolicies : public EndpointVmTest {
protected:
    VimPolicies() : EndpointVmTest("DC0_H0_VM0") {}
    // Every call fails with the text; a table of them.
    void Fail(const std::vector<std::pair<std::function<bool()>, std::string>>& calls)
    {
        for (const auto& [call, error] : calls) {
            EXPECT_FALSE(call()) << error;
            EXPECT_EQ(bridge->GetLastErrorString(), error);
        }
    }
    const std::string vsan = "aa6d5a82-1c88-45da-85d3-3d74b91a5bad";
};

TEST_F(VimPolicies, PoliciesAreNamedAndPlacedByThePolicyService)
{
    const std::string name = XmlText(server.Pbm("PbmRetrieveContent", "PbmProfileProfileManager", "ProfileManager",
                                                "<profileIds><uniqueId>" + vsan + "</uniqueId></profileIds>"),
                                     "name");
    ASSERT_EQ(name, "vSAN Default Storage Policy");
    // The endpoint associates no policy with anything: the VM and its disks have none.
    std::string policyName = "stale", policyId = "stale";
    std::vector<SDisk> disks;
    ASSERT_TRUE(bridge->GetVMStoragePolicies(vm, "", policyName, policyId, disks)) << bridge->GetLastErrorString();
    EXPECT_EQ(policyName + "|" + policyId, "|");
    ASSERT_EQ(disks.size(), XmlTexts(Get("config.hardware.device"), "diskMode").size());
    EXPECT_EQ(disks[0].vmStoragePolicyName + disks[0].vmStoragePolicyId, "");
    EXPECT_NE(Get("config.hardware.device").find("<key>" + std::to_string(disks[0].nDeviceKey) + "</key>"), std::string::npos);
    std::vector<SDisk> one(1);
    one[0].strLabel = disks[0].strLabel;
    one[0].strFileName = "kept";
    ASSERT_TRUE(bridge->GetVMStoragePolicies(moref, "", policyName, policyId, one)) << bridge->GetLastErrorString();
    EXPECT_EQ(one.at(0).strFileName, "kept") << "the given record comes back with its policy";

    // Attaching reconfigures the VM (the endpoint keeps no association); detaching finds nothing attached.
    EXPECT_TRUE(bridge->AttachVMStoragePolicyToVM(vm, "", name, "")) << bridge->GetLastErrorString();
    EXPECT_TRUE(bridge->AttachVMStoragePolicyToVMAndDisks(vm, "", "", vsan, disks)) << bridge->GetLastErrorString();
    one[0] = SDisk();
    one[0].nDeviceKey = 987654;
    Fail({{[&] { return bridge->DetachVMStoragePolicyFromVM(vm, "", "", ""); }, "The storage policy '' is not attached to '" + vm + "'."},
          {[&] { return bridge->DetachVMStoragePolicyFromVM(vm, "", "", vsan); }, "The storage policy '" + name + "' is not attached to '" + vm + "'."},
          {[&] { return bridge->AttachVMStoragePolicyToVM(vm, "", "Platinum", ""); }, "The storage policy 'Platinum' was not found."},
          {[&] { return bridge->AttachVMStoragePolicyToVM(vm, "", name, "0000-none"); }, "The storage policy '0000-none' was not found."},
          {[&] { return bridge->GetVMStoragePolicies(vm, "", policyName, policyId, one); }, "A specified parameter was not correct: deviceKey (987654)"}});
    EXPECT_EQ(one.at(0).nDeviceKey, 987654);

    // Placement: by name or id, among all datastores or the named ones.
    std::vector<std::string> names;
    std::vector<SDatastoreInfo> found;
    for (const std::string& policy : {name, vsan}) {
        ASSERT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy(policy, names, found), 1) << bridge->GetLastErrorString();
        ASSERT_EQ(found.size(), 1u) << policy;
        EXPECT_EQ(found[0].strDataStoreName + "|" + found[0].strMoref, "LocalDS_0|" + server.Moref("Datastore", "LocalDS_0"));
    }
    names = {"no-such-datastore"};
    ASSERT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy(vsan, names, found), 1) << bridge->GetLastErrorString();
    EXPECT_TRUE(found.empty());
    Fail({{[&] { return bridge->GetCompatibleDatastoresForStoragePolicy("Platinum", names, found) != 0; }, "The storage policy 'Platinum' was not found."},
          {[&] { return bridge->GetCompatibleDatastoresForStoragePolicy("", names, found) != 0; }, "A specified parameter was not correct: profileId"}});
}

TEST_F(VimPolicies, TheEndpointsFilterManagerAnswersEveryMethodWithItsFault)
{
    SIOFilterStatus status;
    status.strId = "stale";
    std::vector<SVMInfo> vms(1);
    const std::string fault = "IoFilterManager:IoFilterManager does not implement: QueryIoFilterInfo", vib = "https://127.0.0.1/cache.vib";
    Fail({{[&] { return bridge->InstallIOFilter("DC0_C0", "vmw-cache", "1.0", vib, "DC0"); }, fault},
          {[&] { return bridge->UninstallIOFilter("DC0_C0", "vmw-cache", ""); }, fault},
          {[&] { return bridge->GetIOFilterStatus("DC0_C0", "vmw-cache", "", status); }, fault},
          {[&] { return bridge->GetIOFilterAttachedVMList("DC0_C0", "vmw-cache", vms); }, fault},
          // Arguments are checked before anything goes out.
          {[&] { return bridge->InstallIOFilter("DC0_C0", "vmw-cache", "1.0", "ftp://127.0.0.1/cache.vib", ""); }, "A specified parameter was not correct: vibUrl"},
          {[&] { return bridge->InstallIOFilter("DC0_C0", "vmw-cache", "1.0", vib, "DC9"); }, "The cluster 'DC0_C0' is not in datacenter 'DC9'."},
          {[&] { return bridge->InstallIOFilter("DC0_H0", "vmw-cache", "1.0", vib, ""); }, "The cluster 'DC0_H0' was not found."}});
    EXPECT_EQ(vms.size(), 1u);
    EXPECT_EQ(status.strId, "") << "the record is filled from the managed object whatever the answer";
}

// ---- a vCenter that associates policies and has filters, on a loopback responder ----

std::string Prop(const std::string& name, const std::string& val) { return "<propSet><name>" + name + "</name>" + val + "</propSet>"; }
std::string Text(const std::string& text) { return "<val xsi:type=\"xsd:string\">" + text + "</val>"; }
std::string RefVal(const std::string& type, const std::string& id)
{
    return "<val xsi:type=\"ManagedObjectReference\" type=\"" + type + "\">" + id + "</val>";
}
std::string Refs(const std::string& type, const std::vector<std::string>& ids)
{
    std::string xml = "<val xsi:type=\"ArrayOfManagedObjectReference\">";
    for (const std::string& id : ids)
        xml += "<ManagedObjectReference type=\"" + type + "\">" + id + "</ManagedObjectReference>";
    return xml + "</val>";
}
std::string Object(const std::string& type, const std::string& id, const std::string& props)
{
    return "<objects><obj type=\"" + type + "\">" + id + "</obj>" + props + "</objects>";
}
std::string Disk(int key, const std::string& label, const std::string& file)
{
    return "<VirtualDevice xsi:type=\"VirtualDisk\"><key>" + std::to_string(key) + "</key><deviceInfo><label>" + label +
           "</label><summary>s</summary></deviceInfo><backing xsi:type=\"VirtualDiskFlatVer2BackingInfo\"><fileName>" + file +
           "</fileName><datastore type=\"Datastore\">datastore-1</datastore><diskMode>persistent</diskMode><uuid>6000C29" + std::to_string(key) +
           "</uuid></backing><controllerKey>1000</controllerKey><unitNumber>" + std::to_string(key - 2000) +
           "</unitNumber><capacityInKB>1048576</capacityInKB></VirtualDevice>";
}
std::string Pbm(const std::string& method, const std::string& inner)
{
    return Responder::Envelope("<" + method + "Response xmlns=\"urn:pbm\">" + inner + "</" + method + "Response>");
}

// Answers by method; RetrievePropertiesEx by the first type it asks for.
class FakeVCenter {
public:
    std::map<std::string, std::string> answers;  // method or "Retrieve:Type" -> response body
    Reply operator()(const Request& request) const
    {
        Reply reply;
        if (answers.count(request.soapMethod) == 0 && Responder::AnswerSession(request, reply))
            return reply;
        std::string key = request.soapMethod;
        std::smatch type;
        if (key == "RetrievePropertiesEx" && std::regex_search(request.body, type, std::regex("<type>([A-Za-z]+)</type>")))
            key = "Retrieve:" + type[1].str();
        auto found = answers.find(key);
        if (found != answers.end())
            reply.body = found->second;
        else if (key.rfind("Retrieve:", 0) == 0)
            reply.body = Responder::Response("RetrievePropertiesEx", "<returnval></returnval>");
        else
            reply.status = 500, reply.body = Responder::Fault("MethodNotFound", "unexpected " + key);
        return reply;
    }
};

std::vector<std::string> Bodies(const Responder& responder, const std::string& method)
{
    std::vector<std::string> bodies;
    for (const Request& request : responder.Requests())
        if (request.soapMethod == method)
            bodies.push_back(request.body);
    return bodies;
}

FakeVCenter PolicyCenter()
{
    FakeVCenter center;
    const std::string vm = Object("VirtualMachine", "vm-5",
                                  Prop("name", Text("app5")) + Prop("config.hardware.device", "<val xsi:type=\"ArrayOfVirtualDevice\">" +
                                                                                                  Disk(2000, "Hard disk 1", "[ds1] app5/app5.vmdk") +
                                                                                                  Disk(2001, "Hard disk 2", "[ds1] app5/app5_1.vmdk") + "</val>"));
    center.answers["Retrieve:VirtualMachine"] = Responder::Response("RetrievePropertiesEx", "<returnval>" + vm + "</returnval>");
    center.answers["Retrieve:Task"] = Responder::Response(
        "RetrievePropertiesEx", "<returnval>" + Object("Task", "task-1", Prop("info", "<val xsi:type=\"TaskInfo\"><key>task-1</key><state>success</state></val>")) +
                                    "</returnval>");
    center.answers["ReconfigVM_Task"] = Responder::Response("ReconfigVM_Task", "<returnval type=\"Task\">task-1</returnval>");
    center.answers["PbmRetrieveServiceContent"] = Pbm(
        "PbmRetrieveServiceContent", "<returnval><aboutInfo><name>PBM</name><version>7.0</version><instanceUuid>u</instanceUuid></aboutInfo>"
                                     "<profileManager type=\"PbmProfileProfileManager\">ProfileManager</profileManager>"
                                     "<placementSolver type=\"PbmPlacementSolver\">placementSolver</placementSolver></returnval>");
    center.answers["PbmQueryAssociatedProfiles"] = Pbm(
        "PbmQueryAssociatedProfiles",
        "<returnval><object><objectType>virtualMachine</objectType><key>vm-5</key></object><profileId><uniqueId>p-gold</uniqueId></profileId></returnval>"
        "<returnval><object><objectType>virtualDiskId</objectType><key>vm-5:2000</key></object><profileId><uniqueId>p-gold</uniqueId></profileId></returnval>"
        "<returnval><object><objectType>virtualDiskId</objectType><key>vm-5:2001</key></object><profileId><uniqueId>p-silver</uniqueId></profileId>"
        "</returnval>");
    center.answers["PbmQueryProfile"] = Pbm("PbmQueryProfile", "<returnval><uniqueId>p-gold</uniqueId></returnval><returnval><uniqueId>p-silver</uniqueId></returnval>");
    center.answers["PbmRetrieveContent"] = Pbm(
        "PbmRetrieveContent", "<returnval xsi:type=\"PbmCapabilityProfile\"><profileId><uniqueId>p-gold</uniqueId></profileId><name>Gold</name></returnval>"
                              "<returnval xsi:type=\"PbmCapabilityProfile\"><profileId><uniqueId>p-silver</uniqueId></profileId><name>Silver</name></returnval>");
    center.answers["CreateContainerView"] = Responder::Response("CreateContainerView", "<returnval type=\"ContainerView\">session[1]all</returnval>");
    std::string stores;
    for (const char* name : {"fast", "slow"})
        stores += Object("Datastore", std::string("datastore-") + name, Prop("name", Text(name)));
    center.answers["Retrieve:HostSystem"] = Responder::Response("RetrievePropertiesEx", "<returnval>" + stores + "</returnval>");
    center.answers["PbmCheckRequirements"] = Pbm(
        "PbmCheckRequirements", "<returnval><hub><hubType>Datastore</hubType><hubId>datastore-fast</hubId></hub></returnval>"
                                "<returnval><hub><hubType>Datastore</hubType><hubId>datastore-slow</hubId></hub><error><fault xsi:type=\"PbmFault\"/>"
                                "<localizedMessage>Datastore does not satisfy compatibility requirements.</localizedMessage></error></returnval>");
    return center;
}

TEST(VimPolicyAnswers, AssociatedPoliciesAreReadAndChangedPerDisk)
{
    Responder responder(PolicyCenter());
    auto bridge = ServerBridge(responder.Url());
    std::string name, id;
    std::vector<SDisk> disks;
    ASSERT_TRUE(bridge->GetVMStoragePolicies("vm-5", "", name, id, disks)) << bridge->GetLastErrorString();
    EXPECT_EQ(name + "|" + id, "Gold|p-gold");
    ASSERT_EQ(disks.size(), 2u);
    EXPECT_EQ(disks[0].strFileName + "|" + disks[0].vmStoragePolicyName + "|" + disks[0].vmStoragePolicyId, "[ds1] app5/app5.vmdk|Gold|p-gold");
    EXPECT_EQ(disks[1].strLabel + "|" + disks[1].vmStoragePolicyName + "|" + disks[1].vmStoragePolicyId, "Hard disk 2|Silver|p-silver");
    // The policy service is asked at /pbm in its namespace, in the vCenter session (its cookie in the SOAP header),
    // for the home and both disks at once.
    std::string query;
    for (const Request& request : responder.Requests())
        if (request.soapMethod == "PbmQueryAssociatedProfiles")
            query = request.path + " " + request.body;
    EXPECT_EQ(query.rfind("/pbm ", 0), 0u) << query;
    EXPECT_NE(query.find("<vcSessionCookie>52aa-session</vcSessionCookie>"), std::string::npos) << query;
    EXPECT_NE(query.find("<PbmQueryAssociatedProfiles xmlns=\"urn:pbm\"><_this type=\"PbmProfileProfileManager\">ProfileManager</_this>"
                         "<entities><objectType>virtualMachine</objectType><key>vm-5</key></entities>"
                         "<entities><objectType>virtualDiskId</objectType><key>vm-5:2000</key></entities>"
                         "<entities><objectType>virtualDiskId</objectType><key>vm-5:2001</key></entities>"),
              std::string::npos)
        << query;

    // Detaching one policy edits only what carries it; detaching any edits the home and every disk that has one.
    ASSERT_TRUE(bridge->DetachVMStoragePolicyFromVM("vm-5", "", "Silver", "")) << bridge->GetLastErrorString();
    ASSERT_TRUE(bridge->DetachVMStoragePolicyFromVM("vm-5", "", "", "")) << bridge->GetLastErrorString();
    std::vector<SDisk> first(1);
    first[0].strFileName = "[ds1] app5/app5.vmdk";
    ASSERT_TRUE(bridge->AttachVMStoragePolicyToVMAndDisks("vm-5", "", "", "p-silver", first)) << bridge->GetLastErrorString();
    auto changes = Bodies(responder, "ReconfigVM_Task");
    ASSERT_EQ(changes.size(), 3u);
    const std::string empty = "<profile xsi:type=\"VirtualMachineEmptyProfileSpec\" /></deviceChange>";
    EXPECT_EQ(changes[0].find("<vmProfile"), std::string::npos) << changes[0];
    EXPECT_NE(changes[0].find("<key>2001</key>"), std::string::npos) << changes[0];
    EXPECT_EQ(changes[0].find("<key>2000</key>"), std::string::npos) << changes[0];
    EXPECT_NE(changes[0].find(empty), std::string::npos) << changes[0];
    EXPECT_NE(changes[1].find("<deviceChange><operation>edit</operation><device xsi:type=\"VirtualDisk\"><key>2000</key>"), std::string::npos);
    EXPECT_NE(changes[1].find("<vmProfile xsi:type=\"VirtualMachineEmptyProfileSpec\" /></spec>"), std::string::npos) << changes[1];
    EXPECT_NE(changes[2].find("<key>2000</key>"), std::string::npos) << changes[2];
    EXPECT_EQ(changes[2].find("<key>2001</key>"), std::string::npos) << changes[2];
    EXPECT_NE(changes[2].find("<profile xsi:type=\"VirtualMachineDefinedProfileSpec\"><profileId>p-silver</profileId></profile></deviceChange>"
                              "<vmProfile xsi:type=\"VirtualMachineDefinedProfileSpec\"><profileId>p-silver</profileId></vmProfile>"),
              std::string::npos)
        << changes[2];

    // Datastores the placement solver answers with an error are not compatible.
    std::vector<std::string> names;
    std::vector<SDatastoreInfo> found;
    ASSERT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy("Gold", names, found), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].strDataStoreName + "|" + found[0].strMoref, "fast|datastore-fast");
    EXPECT_NE(Bodies(responder, "PbmCheckRequirements").at(0).find(
                  "<hubId>datastore-slow</hubId></hubsToSearch><placementSubjectRequirement xsi:type=\"PbmPlacementCapabilityProfileRequirement\">"
                  "<profileId><uniqueId>p-gold</uniqueId></profileId></placementSubjectRequirement>"),
              std::string::npos);
}

FakeVCenter FilterCenter()
{
    FakeVCenter center;
    center.answers["RetrieveServiceContent"] = Responder::Response(
        "RetrieveServiceContent", "<returnval><rootFolder type=\"Folder\">group-d1</rootFolder><propertyCollector type=\"PropertyCollector\">"
                                  "propertyCollector</propertyCollector><viewManager type=\"ViewManager\">ViewManager</viewManager><about><version>7.0.3"
                                  "</version><apiType>VirtualCenter</apiType><apiVersion>7.0.3.0</apiVersion></about><sessionManager type=\"SessionManager\">"
                                  "SessionManager</sessionManager><ioFilterManager type=\"IoFilterManager\">IoFilterManager</ioFilterManager></returnval>");
    center.answers["CreateContainerView"] = Responder::Response("CreateContainerView", "<returnval type=\"ContainerView\">session[1]all</returnval>");
    center.answers["Retrieve:Datacenter"] = Responder::Response(
        "RetrievePropertiesEx",
        "<returnval>" + Object("Datacenter", "datacenter-1", Prop("name", Text("DC"))) +
            Object("Folder", "group-h2", Prop("name", Text("host")) + Prop("parent", RefVal("Datacenter", "datacenter-1"))) +
            Object("ClusterComputeResource", "domain-c7",
                   Prop("name", Text("Cl")) + Prop("parent", RefVal("Folder", "group-h2")) + Prop("host", Refs("HostSystem", {"host-1", "host-2"}))) +
            Object("HostSystem", "host-1", Prop("name", Text("esxA")) + Prop("parent", RefVal("ClusterComputeResource", "domain-c7"))) +
            Object("HostSystem", "host-2", Prop("name", Text("esxB")) + Prop("parent", RefVal("ClusterComputeResource", "domain-c7"))) + "</returnval>");
    center.answers["Retrieve:VirtualMachine"] = Responder::Response(
        "RetrievePropertiesEx", "<returnval>" + Object("VirtualMachine", "vm-5", Prop("name", Text("app5"))) +
                                    Object("VirtualMachine", "vm-6", Prop("name", Text("app6"))) + "</returnval>");
    center.answers["Retrieve:Task"] = Responder::Response(
        "RetrievePropertiesEx", "<returnval>" + Object("Task", "task-2", Prop("info", "<val xsi:type=\"TaskInfo\"><key>task-2</key><state>success</state></val>")) +
                                    "</returnval>");
    center.answers["QueryIoFilterInfo"] = Responder::Response(
        "QueryIoFilterInfo", "<returnval><id>vmw-cache</id><name>cache</name><vendor>VMW</vendor><version>1.0</version><opType>install</opType></returnval>");
    center.answers["QueryIoFilterIssues"] = Responder::Response(
        "QueryIoFilterIssues", "<returnval><opType>install</opType><hostIssue><host type=\"HostSystem\">host-2</host><issue><fault xsi:type=\"HostNotConnected\"/>"
                               "<localizedMessage>Host esxB is not connected.</localizedMessage></issue></hostIssue></returnval>");
    center.answers["QueryDisksUsingFilter"] = Responder::Response(
        "QueryDisksUsingFilter", "<returnval><vm type=\"VirtualMachine\">vm-5</vm><diskId>2000</diskId></returnval><returnval><vm type=\"VirtualMachine\">"
                                 "vm-5</vm><diskId>2001</diskId></returnval><returnval><vm type=\"VirtualMachine\">vm-6</vm><diskId>2000</diskId></returnval>");
    for (const char* task : {"InstallIoFilter_Task", "UpgradeIoFilter_Task", "UninstallIoFilter_Task"})
        center.answers[task] = Responder::Response(task, "<returnval type=\"Task\">task-2</returnval>");
    return center;
}

TEST(VimFilterAnswers, StatusUsersAndTasksComeFromTheFilterManager)
{
    FakeVCenter center = FilterCenter();
    Responder responder(center);
    auto bridge = ServerBridge(responder.Url());
    SIOFilterStatus status;
    EXPECT_FALSE(bridge->GetIOFilterStatus("Cl", "vmw-cache", "", status)) << "one host has an issue";
    EXPECT_EQ(status.strId + "|" + status.strVersion, "vmw-cache|1.0");
    EXPECT_FALSE(status.bFilterState);
    EXPECT_EQ(status.eFilterInstallStatus, 2);
    ASSERT_EQ(status.hostStatusList.size(), 2u);
    EXPECT_EQ(status.hostStatusList[0].host + "|" + std::to_string(status.hostStatusList[0].errStrList.size()) + "|" + status.hostStatusList[1].host,
              "esxA|0|esxB");
    EXPECT_EQ(status.hostStatusList[1].errStrList, std::vector<std::string>{"Host esxB is not connected."});
    EXPECT_FALSE(bridge->GetIOFilterStatus("domain-c7", "vmw-cache", "2.0", status)) << "another version";
    EXPECT_EQ(status.eFilterInstallStatus, 0);
    EXPECT_EQ(status.hostStatusList.at(1).errStrList, std::vector<std::string>{"The IO filter 'vmw-cache' is not installed."});

    std::vector<SVMInfo> users;
    ASSERT_TRUE(bridge->GetIOFilterAttachedVMList("Cl", "vmw-cache", users)) << bridge->GetLastErrorString();
    std::set<std::string> names;
    for (const SVMInfo& v : users)
        names.insert(v.strName + "|" + v.strMoRef);
    EXPECT_EQ(names, (std::set<std::string>{"app5|vm-5", "app6|vm-6"}));
    EXPECT_FALSE(bridge->UninstallIOFilter("Cl", "vmw-cache", ""));
    EXPECT_EQ(bridge->GetLastErrorString(), "The IO filter 'vmw-cache' is in use by: app5, app6.");

    // Another version upgrades, a new filter installs; a host's issue after the task makes the call false with it.
    EXPECT_FALSE(bridge->InstallIOFilter("Cl", "vmw-cache", "2.0", "https://127.0.0.1/cache-2.vib", "DC"));
    EXPECT_EQ(bridge->GetLastErrorString(), "esxB: Host esxB is not connected.");
    EXPECT_FALSE(bridge->InstallIOFilter("Cl", "vmw-new", "1.0", "https://127.0.0.1/new.zip", "datacenter-1"));
    auto upgrade = Bodies(responder, "UpgradeIoFilter_Task"), install = Bodies(responder, "InstallIoFilter_Task");
    ASSERT_EQ(upgrade.size(), 1u);
    ASSERT_EQ(install.size(), 1u);
    EXPECT_NE(upgrade[0].find("<filterId>vmw-cache</filterId><compRes type=\"ClusterComputeResource\">domain-c7</compRes><vibUrl>https://127.0.0.1/"
                              "cache-2.vib</vibUrl>"),
              std::string::npos)
        << upgrade[0];
    EXPECT_NE(install[0].find("<vibUrl>https://127.0.0.1/new.zip</vibUrl><compRes type=\"ClusterComputeResource\">domain-c7</compRes>"), std::string::npos)
        << install[0];

    // Without issues and users, a filter installs whole and uninstalls.
    center.answers["QueryIoFilterIssues"] = Responder::Response("QueryIoFilterIssues", "<returnval><opType>install</opType></returnval>");
    center.answers["QueryDisksUsingFilter"] = Responder::Response("QueryDisksUsingFilter", "");
    Responder calm(center);
    bridge = ServerBridge(calm.Url());
    EXPECT_TRUE(bridge->GetIOFilterStatus("Cl", "vmw-cache", "1.0", status)) << bridge->GetLastErrorString();
    EXPECT_TRUE(status.bFilterState);
    EXPECT_FALSE(bridge->InstallIOFilter("Cl", "vmw-cache", "1.0", "https://127.0.0.1/cache.vib", ""));
    EXPECT_EQ(bridge->GetLastErrorString(), "The IO filter 'vmw-cache' version 1.0 is already installed on cluster 'Cl'.");
    EXPECT_TRUE(bridge->UninstallIOFilter("Cl", "vmw-cache", "1.0")) << bridge->GetLastErrorString();
    auto uninstall = Bodies(calm, "UninstallIoFilter_Task");
    ASSERT_EQ(uninstall.size(), 1u);
    EXPECT_NE(uninstall[0].find("<filterId>vmw-cache</filterId><compRes type=\"ClusterComputeResource\">domain-c7</compRes></Uninstall"), std::string::npos)
        << uninstall[0];
}

} // namespace
