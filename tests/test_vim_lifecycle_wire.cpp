// What the test endpoint cannot show of the VM lifecycle operations, on a loopback responder serving a small vCenter
// as the API defines its answers: LUNs to map, a second datastore, a missing privilege.
#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "Responder.h"
#include "TestSupport.h"

using namespace visdktest;
using Request = Responder::Request;
using Reply = Responder::Reply;

namespace {

std::string Val(const std::string& type, const std::string& inner, const std::string& refType = "")
{
    return "<val xsi:type=\"" + type + "\"" + (refType.empty() ? "" : " type=\"" + refType + "\"") + ">" + inner + "</val>";
}
std::string Ref(const std::string& type, const std::string& id) { return Val("ManagedObjectReference", id, type); }
std::string Refs(const std::string& type, std::initializer_list<const char*> ids)
{
    std::string inner;
    for (const char* id : ids)
        inner += "<ManagedObjectReference type=\"" + type + "\">" + id + "</ManagedObjectReference>";
    return Val("ArrayOfManagedObjectReference", inner);
}
std::string Str(const std::string& text) { return Val("xsd:string", text); }
std::string Device(const std::string& type, int key, const std::string& backing, int unit)
{
    return "<VirtualDevice xsi:type=\"" + type + "\"><key>" + std::to_string(key) + "</key>" + backing + "<controllerKey>1000</controllerKey><unitNumber>" +
           std::to_string(unit) + "</unitNumber><capacityInKB>1048576</capacityInKB></VirtualDevice>";
}
std::string Lun(const std::string& id) { return "<canonicalName>naa." + id + "</canonicalName><deviceName>/vmfs/devices/disks/naa." + id + "</deviceName>"; }

// Host esx1 (host-1) mounts the VMFS datastore ds1 and the NFS one nas and sees two LUNs; VM web (vm-1) has two disks
// on ds1 and, once reconfigured, maps the first LUN.
class SmallVCenter {
public:
    SmallVCenter() : server([this](const Request& request) { return Answer(request); }) {}
    std::string LastBody(const std::string& method)
    {
        std::string last;
        for (const Request& r : server.Requests())
            if (r.soapMethod == method)
                last = r.body;
        return last;
    }
    Responder server;

private:
    std::map<std::string, std::pair<std::string, std::string>> Objects() const
    {
        auto flat = [](const std::string& file) {
            return "<backing xsi:type=\"VirtualDiskFlatVer2BackingInfo\"><fileName>" + file + "</fileName><datastore type=\"Datastore\">datastore-1</datastore></backing>";
        };
        std::string devices = "<VirtualDevice xsi:type=\"VirtualLsiLogicController\"><key>1000</key><busNumber>0</busNumber></VirtualDevice>" +
                              Device("VirtualDisk", 2000, flat("[ds1] web/web.vmdk"), 0) + Device("VirtualDisk", 2001, flat("[ds1] web/web_1.vmdk"), 1);
        if (mapped)
            devices += Device("VirtualDisk", 2002, "<backing xsi:type=\"VirtualDiskRawDiskMappingVer1BackingInfo\"><fileName>[ds1] web/web_rdm1.vmdk</fileName>"
                                                   "<deviceName>/vmfs/devices/disks/naa.6001</deviceName></backing>", 2);
        auto props = [](std::initializer_list<std::pair<const char*, std::string>> list) {
            std::string out;
            for (const auto& [path, val] : list)
                out += "<propSet><name>" + std::string(path) + "</name>" + val + "</propSet>";
            return out;
        };
        return {
            {"datacenter-1", {"Datacenter", props({{"name", Str("DC")}, {"vmFolder", Ref("Folder", "group-v1")}, {"datastore", Refs("Datastore", {"datastore-1"})}})}},
            {"domain-s1", {"ComputeResource", props({{"name", Str("esx1")}, {"parent", Ref("Datacenter", "datacenter-1")}, {"host", Refs("HostSystem", {"host-1"})},
                                                     {"resourcePool", Ref("ResourcePool", "resgroup-1")}})}},
            {"resgroup-1", {"ResourcePool", props({{"name", Str("Resources")}, {"parent", Ref("ComputeResource", "domain-s1")}})}},
            {"host-1", {"HostSystem", props({{"name", Str("esx1")}, {"parent", Ref("ComputeResource", "domain-s1")},
                                             {"datastore", Refs("Datastore", {"datastore-1", "datastore-2"})},
                                             {"config.storageDevice.scsiLun", Val("ArrayOfScsiLun", "<ScsiLun xsi:type=\"HostScsiDisk\">" + Lun("6001") +
                                                                                      "<uuid>02000000006001</uuid></ScsiLun><ScsiLun xsi:type=\"HostScsiDisk\">" +
                                                                                      Lun("6002") + "</ScsiLun>")}})}},
            {"datastore-1", {"Datastore", props({{"name", Str("ds1")}, {"summary.type", Str("VMFS")}})}},
            {"datastore-2", {"Datastore", props({{"name", Str("nas")}, {"summary.type", Str("NFS")}})}},
            {"vm-1", {"VirtualMachine", props({{"name", Str("web")}, {"config.files.vmPathName", Str("[ds1] web/web.vmx")}, {"runtime.host", Ref("HostSystem", "host-1")},
                                               {"resourcePool", Ref("ResourcePool", "resgroup-1")},
                                               {"config.hardware.device", Val("ArrayOfVirtualDevice", devices)}})}},
            {"task-1", {"Task", props({{"info", Val("TaskInfo", "<key>task-1</key><state>success</state>")}})}},
        };
    }

    Reply Answer(const Request& request)
    {
        std::lock_guard<std::mutex> lock(mutex);
        Reply reply;
        if (Responder::AnswerSession(request, reply))
            return reply;
        const std::string& method = request.soapMethod;
        std::string answer;
        if (method == "CreateContainerView")
            answer = "<returnval type=\"ContainerView\">session[1]view</returnval>";
        else if (method == "RetrievePropertiesEx") {
            // Objects by id, or over a view every object of the types asked; each with all its properties.
            bool view = request.body.find("type=\"ContainerView\"") != std::string::npos;
            answer = "<returnval>";
            for (const auto& [id, object] : Objects())
                if (request.body.find(view ? "<type>" + object.first + "</type>" : "<obj type=\"" + object.first + "\">" + id + "</obj>") != std::string::npos)
                    answer += "<objects><obj type=\"" + object.first + "\">" + id + "</obj>" + object.second + "</objects>";
            answer += "</returnval>";
        } else if (method == "ReconfigVM_Task" || method == "RelocateVM_Task") {
            mapped = mapped || method == "ReconfigVM_Task";
            answer = "<returnval type=\"Task\">task-1</returnval>";
        } else if (method == "HasPrivilegeOnEntity")
            answer = "<returnval>true</returnval><returnval>false</returnval>";
        else {
            reply.status = 500;
            reply.body = Responder::Fault("MethodNotFound", "unexpected " + method);
            return reply;
        }
        reply.body = Responder::Response(method, answer);
        return reply;
    }

    std::mutex mutex;
    bool mapped = false;
};

class VimLifecycleWire : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bridge();
        bridge = std::make_unique<VISDKCppBridge::CVISDKCppBridge>();
        std::string url = vc.server.Url(), vm;
        ASSERT_EQ(bridge->SetVMFocus(url, vm, 0), 1);
        ASSERT_EQ(bridge->Connect(url, "tester", "pw"), 1) << bridge->GetLastErrorString();
    }
    SmallVCenter vc;
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
};

TEST_F(VimLifecycleWire, ALunIsMappedInTheSlotAskedAndTheMappingFileIsTheAnswer)
{
    EXPECT_EQ(bridge->AddRDMToVM("vm-1", "", "naa.6001", "physicalMode", 0, 2, 100, ""), "[ds1] web/web_rdm1.vmdk") << bridge->GetLastErrorString();
    EXPECT_NE(vc.LastBody("ReconfigVM_Task")
                  .find("<operation>add</operation><fileOperation>create</fileOperation><device xsi:type=\"VirtualDisk\"><key>-1</key><backing "
                        "xsi:type=\"VirtualDiskRawDiskMappingVer1BackingInfo\"><fileName>[ds1] web/web_rdm1.vmdk</fileName><lunUuid>02000000006001</lunUuid>"
                        "<deviceName>/vmfs/devices/disks/naa.6001</deviceName><compatibilityMode>physicalMode</compatibilityMode><diskMode>persistent"
                        "</diskMode></backing><controllerKey>1000</controllerKey><unitNumber>2</unitNumber><capacityInKB>102400</capacityInKB>"),
              std::string::npos)
        << vc.LastBody("ReconfigVM_Task");
    const struct {
        std::string lun;
        int bus, unit;
        std::string datastore, error;
    } refused[] = {
        {"naa.6001", -1, -1, "", "The LUN 'naa.6001' is already mapped by 'web'."},
        {"naa.6002", 0, 0, "", "The controller slot 0:0 is not free."},
        {"naa.6002", 0, 7, "", "The controller slot 0:7 is not free."},
        {"naa.6002", -1, -1, "nas", "Raw device mappings need a VMFS datastore; 'nas' is NFS."},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(bridge->AddRDMToVM("vm-1", "", r.lun, "", r.bus, r.unit, 100, r.datastore), "") << r.error;
        EXPECT_EQ(bridge->GetLastErrorString(), r.error);
    }
}

TEST_F(VimLifecycleWire, ListedDisksGoWhereTheySayAndTheOthersFollowUnlessKept)
{
    VMInfoStructs::SDisk first;
    first.strFileName = "[ds1] web/web.vmdk";
    first.strDataStoreName = "ds1";
    for (bool keep : {false, true}) {
        std::string task;
        ASSERT_TRUE(bridge->RelocateVM_Task("web", "", "", "nas", "", keep, {first}, task)) << bridge->GetLastErrorString();
        EXPECT_EQ(task, "task-1");
        EXPECT_NE(vc.LastBody("RelocateVM_Task")
                      .find("<spec><datastore type=\"Datastore\">datastore-2</datastore><disk><diskId>2000</diskId><datastore type=\"Datastore\">datastore-1"
                            "</datastore></disk><disk><diskId>2001</diskId><datastore type=\"Datastore\">" + std::string(keep ? "datastore-1" : "datastore-2") +
                            "</datastore></disk></spec><priority>defaultPriority</priority>"),
                  std::string::npos)
            << keep << ": " << vc.LastBody("RelocateVM_Task");
    }
}

TEST_F(VimLifecycleWire, AMissingPrivilegeIsNamed)
{
    EXPECT_FALSE(bridge->CheckRelocatePrivilegeOnHost("esx1"));
    EXPECT_EQ(bridge->GetLastErrorString(), "Permission to perform this operation was denied. (privilege 'Resource.ColdMigrate' on vim.HostSystem:host-1)");
    EXPECT_NE(vc.LastBody("HasPrivilegeOnEntity")
                  .find("<entity type=\"HostSystem\">host-1</entity><sessionId>52aa-session</sessionId><privId>Resource.HotMigrate</privId>"
                        "<privId>Resource.ColdMigrate</privId>"),
              std::string::npos);
}

} // namespace
