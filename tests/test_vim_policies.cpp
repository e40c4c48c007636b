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
    // A policy's name as the endpoint's policy service gives it.
    std::string PolicyName(const std::string& id)
    {
        return XmlText(server.Pbm("PbmRetrieveContent", "PbmProfileProfileManager", "ProfileManager", "<profileIds><uniqueId>" + id + "</uniqueId></profileIds>"),
                       "name");
    }
    std::vector<std::string> DiskKeys()
    {
        std::vector<std::string> keys;
        std::string devices = Get("config.hardware.device");
        std::regex disk("<VirtualDevice [^>]*type=\"VirtualDisk\">\\s*<key>([0-9]+)</key>");
        for (auto it = std::sregex_iterator(devices.begin(), devices.end(), disk); it != std::sregex_iterator(); ++it)
            keys.push_back((*it)[1].str());
        return keys;
    }
    const std::string vsan = "aa6d5a82-1c88-45da-85d3-3d74b91a5bad";
};

TEST_F(VimPolicies, PoliciesAreNamedAndPlacedByThePolicyService)
{
    const std::string name = PolicyName(vsan);
    ASSERT_EQ(name, "vSAN Default Storage Policy");
    // The endpoint associates no policy with anything: the VM and its disks have none.
    std::string policyName = "stale", policyId = "stale";
    std::vector<SDisk> disks;
    ASSERT_TRUE(bridge->GetVMStoragePolicies(vm, "", policyName, policyId, disks)) << bridge->GetLastErrorString();
    EXPECT_EQ(policyName + "|" + policyId, "|");
    std::vector<std::string> keys;
    for (const SDisk& d : disks) {
        keys.push_back(std::to_string(d.nDeviceKey));
        EXPECT_EQ(d.vmStoragePolicyName + d.vmStoragePolicyId, "");
    }
    EXPECT_EQ(keys, DiskKeys());
    ASSERT_FALSE(disks.empty());
    std::vector<SDisk> one(1);
    one[0].strLabel = disks[0].strLabel;
    one[0].strFileName = "kept";
    ASSERT_TRUE(bridge->GetVMStoragePolicies(moref, "", policyName, policyId, one)) << bridge->GetLastErrorString();
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].strFileName, "kept") << "the given record comes back with its policy";
    one[0] = SDisk();
    one[0].nDeviceKey = 987654;
    EXPECT_FALSE(bridge->GetVMStoragePolicies(vm, "", policyName, policyId, one));
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: deviceKey (987654)");
    EXPECT_EQ(one[0].nDeviceKey, 987654);

    // Attaching reconfigures the VM (the endpoint keeps no association); detaching finds nothing attached.
    EXPECT_TRUE(bridge->AttachVMStoragePolicyToVM(vm, "", name, "")) << bridge->GetLastErrorString();
    EXPECT_TRUE(bridge->AttachVMStoragePolicyToVMAndDisks(vm, "", "", vsan, disks)) << bridge->GetLastErrorString();
    EXPECT_FALSE(bridge->DetachVMStoragePolicyFromVM(vm, "", "", ""));
    EXPECT_EQ(bridge->GetLastErrorString(), "The storage policy '' is not attached to '" + vm + "'.");
    EXPECT_FALSE(bridge->DetachVMStoragePolicyFromVM(vm, "", "", vsan));
    EXPECT_EQ(bridge->GetLastErrorString(), "The storage policy '" + name + "' is not attached to '" + vm + "'.");
    const struct {
        std::function<bool()> call;
        std::string error;
    } unknown[] = {
        {[&] { return bridge->AttachVMStoragePolicyToVM(vm, "", "Platinum", ""); }, "The storage policy 'Platinum' was not found."},
        {[&] { return bridge->AttachVMStoragePolicyToVM(vm, "", name, "0000-none"); }, "The storage policy '0000-none' was not found."},
        {[&] { return bridge->DetachVMStoragePolicyFromVM(vm, "", "Platinum", ""); }, "The storage policy 'Platinum' was not found."},
        {[&] { return bridge->AttachVMStoragePolicyToVMAndDisks(vm, "", name, "", one); }, "A specified parameter was not correct: deviceKey (987654)"},
    };
    for (const auto& u : unknown) {
        EXPECT_FALSE(u.call()) << u.error;
        EXPECT_EQ(bridge->GetLastErrorString(), u.error);
    }
}

TEST_F(VimPolicies, CompatibleDatastoresAreThePlacementSolvers)
{
    const std::string local = server.Moref("Datastore", "LocalDS_0");
    std::vector<std::string> names;
    std::vector<SDatastoreInfo> found;
    for (const std::string& policy : {std::string("vSAN Default Storage Policy"), vsan}) {
        ASSERT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy(policy, names, found), 1) << bridge->GetLastErrorString();
        ASSERT_EQ(found.size(), 1u) << policy;
        EXPECT_EQ(found[0].strDataStoreName, "LocalDS_0");
        EXPECT_EQ(found[0].strMoref, local);
    }
    names = {"LocalDS_0"};
    ASSERT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy(vsan, names, found), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(found.size(), 1u);
    names = {"no-such-datastore"};
    ASSERT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy(vsan, names, found), 1) << bridge->GetLastErrorString();
    EXPECT_TRUE(found.empty());
    found.resize(2);
    EXPECT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy("Platinum", names, found), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The storage policy 'Platinum' was not found.");
    EXPECT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy("", names, found), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: profileId");
    EXPECT_EQ(found.size(), 2u);
}

TEST_F(VimPolicies, TheEndpointsFilterManagerAnswersEveryMethodWithItsFault)
{
    SIOFilterStatus status;
    status.strId = "stale";
    status.hostStatusList.resize(2);
    std::vector<SVMInfo> vms(1);
    const struct {
        std::function<bool()> call;
        std::string error;
    } cases[] = {
        {[&] { return bridge->InstallIOFilter("DC0_C0", "vmw-cache", "1.0", "https://127.0.0.1/cache.vib", "DC0"); }, "QueryIoFilterInfo"},
        {[&] { return bridge->UninstallIOFilter("DC0_C0", "vmw-cache", ""); }, "QueryIoFilterInfo"},
        {[&] { return bridge->GetIOFilterStatus("DC0_C0", "vmw-cache", "", status); }, "QueryIoFilterInfo"},
        {[&] { return bridge->GetIOFilterAttachedVMList("DC0_C0", "vmw-cache", vms); }, "QueryIoFilterInfo"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.call());
        EXPECT_EQ(bridge->GetLastErrorString(), "IoFilterManager:IoFilterManager does not implement: " + c.error);
    }
    EXPECT_EQ(vms.size(), 1u);
    // The record is filled from the managed object whatever the answer: nothing was written into it.
    EXPECT_EQ(status.strId, "");
    EXPECT_TRUE(status.hostStatusList.empty());

    // Arguments are checked before anything goes out.
    const struct {
        std::function<bool()> call;
        std::string error;
    } refused[] = {
        {[&] { return bridge->InstallIOFilter("DC0_C0", "vmw-cache", "1.0", "ftp://127.0.0.1/cache.vib", ""); }, "A specified parameter was not correct: vibUrl"},
        {[&] { return bridge->InstallIOFilter("DC0_C0", "vmw-cache", "", "https://127.0.0.1/cache.vib", ""); }, "A specified parameter was not correct: version"},
        {[&] { return bridge->InstallIOFilter("DC0_C0", "vmw-cache", "1.0", "https://127.0.0.1/cache.vib", "DC9"); },
         "The cluster 'DC0_C0' is not in datacenter 'DC9'."},
        {[&] { return bridge->InstallIOFilter("DC0_H0", "vmw-cache", "1.0", "https://127.0.0.1/cache.vib", ""); }, "The cluster 'DC0_H0' was not found."},
        {[&] { return bridge->GetIOFilterAttachedVMList("no-cluster", "vmw-cache", vms); }, "The cluster 'no-cluster' was not found."},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(r.call());
        EXPECT_EQ(bridge->GetLastErrorString(), r.error);
    }
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
}

TEST(VimPolicyAnswers, APolicyServiceWithoutTheBulkQueryIsAskedPerObject)
{
    FakeVCenter center = PolicyCenter();
    center.answers.erase("PbmQueryAssociatedProfiles");
    center.answers["PbmQueryAssociatedProfile"] = Pbm("PbmQueryAssociatedProfile", "<returnval><uniqueId>p-silver</uniqueId></returnval>");
    Responder responder(center);
    auto bridge = ServerBridge(responder.Url());
    std::string name, id;
    std::vector<SDisk> disks(1);
    disks[0].nDeviceKey = 2001;
    ASSERT_TRUE(bridge->GetVMStoragePolicies("vm-5", "", name, id, disks)) << bridge->GetLastErrorString();
    EXPECT_EQ(name, "Silver");
    ASSERT_EQ(disks.size(), 1u);
    EXPECT_EQ(disks[0].vmStoragePolicyId, "p-silver");
    EXPECT_EQ(responder.Count("PbmQueryAssociatedProfile"), 2);
}

TEST(VimPolicyAnswers, DatastoresWithAPlacementErrorAreNotCompatible)
{
    FakeVCenter center = PolicyCenter();
    center.answers["CreateContainerView"] = Responder::Response("CreateContainerView", "<returnval type=\"ContainerView\">session[1]all</returnval>");
    std::string stores;
    for (const auto& [id, name] : std::map<std::string, std::string>{{"datastore-1", "fast"}, {"datastore-2", "slow"}})
        stores += Object("Datastore", id, Prop("name", Text(name)) + Prop("summary", "<val xsi:type=\"DatastoreSummary\"><name>" + name + "</name><type>VMFS</type>"
                                                                                    "<capacity>100</capacity><freeSpace>50</freeSpace><accessible>true</accessible></val>"));
    center.answers["Retrieve:HostSystem"] = Responder::Response("RetrievePropertiesEx", "<returnval>" + stores + "</returnval>");
    center.answers["PbmCheckRequirements"] = Pbm(
        "PbmCheckRequirements", "<returnval><hub><hubType>Datastore</hubType><hubId>datastore-1</hubId></hub></returnval>"
                                "<returnval><hub><hubType>Datastore</hubType><hubId>datastore-2</hubId></hub><error><fault xsi:type=\"PbmFault\"/>"
                                "<localizedMessage>Datastore does not satisfy compatibility requirements.</localizedMessage></error></returnval>");
    Responder responder(center);
    auto bridge = ServerBridge(responder.Url());
    std::vector<std::string> names;
    std::vector<SDatastoreInfo> found;
    ASSERT_EQ(bridge->GetCompatibleDatastoresForStoragePolicy("Gold", names, found), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].strDataStoreName + "|" + found[0].strMoref, "fast|datastore-1");
    auto check = Bodies(responder, "PbmCheckRequirements");
    ASSERT_EQ(check.size(), 1u);
    EXPECT_NE(check[0].find("<hubsToSearch><hubType>Datastore</hubType><hubId>datastore-1</hubId></hubsToSearch><hubsToSearch><hubType>Datastore"
                            "</hubType><hubId>datastore-2</hubId></hubsToSearch><placementSubjectRequirement xsi:type=\"PbmPlacementCapabilityProfile"
                            "Requirement\"><profileId><uniqueId>p-gold</uniqueId></profileId></placementSubjectRequirement>"),
              std::string::npos)
        << check[0];
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
    EXPECT_EQ(status.hostStatusList[0].host, "esxA");
    EXPECT_TRUE(status.hostStatusList[0].errStrList.empty());
    EXPECT_EQ(status.hostStatusList[1].host, "esxB");
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
    EXPECT_FALSE(bridge->UninstallIOFilter("Cl", "vmw-other", ""));
    EXPECT_EQ(bridge->GetLastErrorString(), "The IO filter 'vmw-other' is not installed on cluster 'Cl'.");

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
    EXPECT_EQ(bridge->InstallIOFilter("Cl", "vmw-cache", "1.0", "https://127.0.0.1/cache.vib", ""), false);
    EXPECT_EQ(responder.Count("InstallIoFilter_Task") + responder.Count("UpgradeIoFilter_Task"), 3)
        << "a version with issues is installed again: " << bridge->GetLastErrorString();

    // Without issues and users, a filter installs whole and uninstalls.
    center.answers["QueryIoFilterIssues"] = Responder::Response("QueryIoFilterIssues", "<returnval><opType>install</opType></returnval>");
    center.answers["QueryDisksUsingFilter"] = Responder::Response("QueryDisksUsingFilter", "");
    Responder calm(center);
    bridge = ServerBridge(calm.Url());
    EXPECT_TRUE(bridge->GetIOFilterStatus("Cl", "vmw-cache", "1.0", status)) << bridge->GetLastErrorString();
    EXPECT_TRUE(status.bFilterState);
    EXPECT_FALSE(bridge->InstallIOFilter("Cl", "vmw-cache", "1.0", "https://127.0.0.1/cache.vib", ""));
    EXPECT_EQ(bridge->GetLastErrorString(), "The IO filter 'vmw-cache' version 1.0 is already installed on cluster 'Cl'.");
    EXPECT_TRUE(bridge->InstallIOFilter("Cl", "vmw-new", "1.0", "https://127.0.0.1/new.vib", "")) << bridge->GetLastErrorString();
    EXPECT_TRUE(bridge->UninstallIOFilter("Cl", "vmw-cache", "1.0")) << bridge->GetLastErrorString();
    auto uninstall = Bodies(calm, "UninstallIoFilter_Task");
    ASSERT_EQ(uninstall.size(), 1u);
    EXPECT_NE(uninstall[0].find("<filterId>vmw-cache</filterId><compRes type=\"ClusterComputeResource\">domain-c7</compRes></Uninstall"), std::string::npos)
        << uninstall[0];
}

} // namespace
