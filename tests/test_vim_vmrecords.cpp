// VM records from the web-services client against a test endpoint of this test's own (it changes the inventory and
// reads the endpoint's trace): every field filled is checked against what the server holds, asked independently; the
// property mask decides both what is filled and which property paths the request asks for; browsing reads the VMs of an
// inventory object in a bounded number of round trips.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "Endpoint.h"
#include "TestSupport.h"

using namespace visdktest;
using namespace VMInfoStructs;

namespace {

const UINT64 kAllVmBits = VM_PROP_VM_HOST_INFO | VM_PROP_VM_GUEST_INFO | VM_PROP_VM_CFG_FILE | VM_PROP_VM_SNAPSHOT_LIST |
                          VM_PROP_VM_DISK_LIST | VM_PROP_VM_NW_LIST | VM_PROP_VM_HOSTDATACENTER | VM_PROP_VM_DISK_LIST_ADVANCED |
                          VM_PROP_VM_DS_FILE_LIST | VM_PROP_VM_POWER_OFF_TIME | VM_PROP_VM_ATTRIBUTES;

long long RoundTrips()
{
    MonoObject* boxed = CallStatic("VimStats", "RoundTrips", nullptr);
    return boxed ? *static_cast<long long*>(mono_object_unbox(boxed)) : -1;
}

// The requests the endpoint received from a mark on, read from its trace.
class Trace {
public:
    Trace() : m_start(Size()) {}
    std::vector<std::string> Requests() const
    {
        std::ifstream in(Endpoint::Get().trace, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(m_start));
        std::vector<std::string> requests;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("Request: ", 0) == 0)
                requests.push_back(line.substr(9));
        return requests;
    }
    // The property paths asked for VirtualMachine objects by the retrievals since the mark.
    std::set<std::string> VmPaths() const
    {
        std::set<std::string> paths;
        static const std::regex propSet("<propSet><type>VirtualMachine</type>([\\s\\S]*?)</propSet>");
        for (const std::string& request : Requests())
            for (auto it = std::sregex_iterator(request.begin(), request.end(), propSet); it != std::sregex_iterator(); ++it)
                for (const std::string& path : XmlTexts((*it)[1].str(), "pathSet"))
                    paths.insert(path);
        return paths;
    }

private:
    static size_t Size()
    {
        std::ifstream in(Endpoint::Get().trace, std::ios::binary | std::ios::ate);
        return in ? static_cast<size_t>(in.tellg()) : 0;
    }
    size_t m_start;
};

// The inner XML of each element of that name (not nested in one another).
std::vector<std::string> Elements(const std::string& xml, const std::string& name)
{
    std::vector<std::string> found;
    std::regex pattern("<" + name + "(\\s[^>]*)?>([\\s\\S]*?)</" + name + ">");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), pattern); it != std::sregex_iterator(); ++it)
        found.push_back((*it)[0].str());
    return found;
}

bool HasType(const std::string& element, const std::string& type)
{
    return element.find(":type=\"" + type + "\"") < element.find('>');
}

long long Number(const std::string& text) { return text.empty() ? 0 : std::stoll(text); }

class VimRecords : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        TrustEndpoint();
        RawSoap server;
        // The facts the simulator leaves unset are set once, on one VM, through the server's own interface.
        std::string vm = server.Moref("VirtualMachine", "DC0_H0_VM0");
        std::string change =
            "<spec><annotation>backed up nightly &amp; kept</annotation>"
            "<extraConfig xsi:type=\"OptionValue\"><key>SET.guest.ipAddress</key><value xsi:type=\"xsd:string\">10.20.30.40</value></extraConfig>"
            "<extraConfig xsi:type=\"OptionValue\"><key>SET.guest.hostName</key><value xsi:type=\"xsd:string\">web01.example.test</value></extraConfig>"
            "<extraConfig xsi:type=\"OptionValue\"><key>SET.guest.toolsStatus</key><value xsi:type=\"xsd:string\">toolsOk</value></extraConfig>"
            "<extraConfig xsi:type=\"OptionValue\"><key>SET.guest.toolsRunningStatus</key><value xsi:type=\"xsd:string\">guestToolsRunning</value></extraConfig>"
            "<extraConfig xsi:type=\"OptionValue\"><key>SET.guest.guestFullName</key><value xsi:type=\"xsd:string\">Debian GNU/Linux 12 (64-bit)</value></extraConfig>"
            "<changeTrackingEnabled>true</changeTrackingEnabled>"
            "<managedBy><extensionKey>com.zantrel.backup</extensionKey><type>VirtualMachine</type></managedBy></spec>";
        std::string task = XmlText(server.Call("ReconfigVM_Task", "VirtualMachine", vm, change), "returnval");
        ASSERT_NE(task, "");
        ASSERT_EQ(XmlText(server.Property("Task", task, "info"), "state"), "success") << server.Property("Task", task, "info");
        std::string snap = XmlText(server.Call("CreateSnapshot_Task", "VirtualMachine", vm,
                                               "<name>before upgrade</name><description>taken by the test</description><memory>false</memory><quiesce>false</quiesce>"),
                                   "returnval");
        ASSERT_EQ(XmlText(server.Property("Task", snap, "info"), "state"), "success");
        std::string field = XmlText(server.Call("AddCustomFieldDef", "CustomFieldsManager", "CustomFieldsManager", "<name>backup-owner</name>"), "key");
        ASSERT_NE(field, "");
        server.Call("SetField", "CustomFieldsManager", "CustomFieldsManager",
                    "<entity type=\"VirtualMachine\">" + vm + "</entity><key>" + field + "</key><value>team-a</value>");
    }
    void SetUp() override { log.Clear(); }

    const Endpoint& e = Endpoint::Get();
    LogCapture log;
    RawSoap server;
};

TEST_F(VimRecords, TheMinimalRecordIsTheServersAndAsksOnlyItsPaths)
{
    auto bridge = EndpointBridge();
    const std::string moref = server.Moref("VirtualMachine", "DC0_H0_VM0");
    auto prop = [&](const std::string& path) { return server.Property("VirtualMachine", moref, path); };
    Trace trace;
    long long before = RoundTrips();
    SVMInfo info;
    ASSERT_TRUE(bridge->GetVMInfoForVMByMoref(moref, MIN_VM_PROPS, 0, info)) << bridge->GetLastErrorString() << log.Dump();
    EXPECT_EQ(RoundTrips() - before, 1) << "one VM, no related objects: one request";

    EXPECT_EQ(info.strName, "DC0_H0_VM0");
    EXPECT_EQ(info.strMoRef, moref);
    EXPECT_EQ(info.strUuid, prop("config.uuid"));
    EXPECT_EQ(info.strBiosUuid, prop("config.uuid"));
    EXPECT_EQ(info.strInstanceUuid, prop("config.instanceUuid"));
    EXPECT_EQ(info.strGuestOSName, prop("config.guestFullName"));
    EXPECT_EQ(info.vmVersion, prop("config.version"));
    EXPECT_EQ(info.strFirmware, prop("config.firmware"));
    EXPECT_EQ(info.strDataStoreName, "LocalDS_0");
    EXPECT_EQ(info.numOfCPU, Number(prop("config.hardware.numCPU")));
    EXPECT_EQ(info.memorySizeInMB, Number(prop("config.hardware.memoryMB")));
    EXPECT_EQ(info.memoryResvInMB, Number(XmlText(prop("config.memoryAllocation"), "reservation")));
    EXPECT_EQ(info.memoryShares, Number(XmlText(prop("config.memoryAllocation"), "shares")));
    long long limit = Number(XmlText(prop("config.memoryAllocation"), "limit"));
    EXPECT_EQ(info.memoryLimit, limit == 0 ? -10 : limit * 1048576) << "megabytes, read as bytes";
    EXPECT_EQ(info.templateVM, prop("config.template") == "true");
    EXPECT_TRUE(info.changeTrackingEnabled);
    EXPECT_EQ(info.notes, "backed up nightly & kept");
    EXPECT_EQ(info.managedBy, "com.zantrel.backup");
    EXPECT_EQ(info.managedByType, "VirtualMachine");
    EXPECT_EQ(prop("runtime.powerState"), "poweredOn");
    EXPECT_EQ(info.poweredState, 1);
    EXPECT_EQ(info.connectionState, 0) << prop("runtime.connectionState");
    EXPECT_EQ(info.strToolsStatus, "toolsOk");
    EXPECT_EQ(info.toolsStatus, 2);
    EXPECT_TRUE(info.bIsSnapPresent);
    EXPECT_EQ(info.bDiskUUIDEnabled, prop("config.flags.diskUuidEnabled") == "true");
    EXPECT_EQ(prop("runtime.bootTime"), "") << "the endpoint keeps no boot time";
    EXPECT_EQ(info.bootTime, "");
    EXPECT_EQ(info.guestSize, Number(XmlText(prop("summary.storage"), "committed")) + Number(XmlText(prop("summary.storage"), "uncommitted")));
    EXPECT_EQ(info.hostConnectionState, -1);
    EXPECT_EQ(info.m_nPowerOffTimeInHours, -1);
    // Nothing the mask leaves out.
    EXPECT_TRUE(info.diskList.empty());
    EXPECT_TRUE(info.diskControllerList.empty());
    EXPECT_TRUE(info.networkCards.empty());
    EXPECT_TRUE(info.snapshotList.empty());
    EXPECT_TRUE(info.vmPaths.empty());
    EXPECT_EQ(info.strConfigFile, "");
    EXPECT_EQ(info.hostName, "");
    EXPECT_EQ(info.ipAddress, "");
    EXPECT_EQ(info.strDataCenterName, "");
    EXPECT_TRUE(info.fileLayout.fileList.empty());

    std::set<std::string> asked = trace.VmPaths();
    EXPECT_TRUE(asked.count("name") && asked.count("config.uuid") && asked.count("runtime.powerState")) << "the base paths are asked";
    for (const std::string& path : asked) {
        EXPECT_EQ(path.find("config.hardware.device"), std::string::npos) << "no device paths without a device bit";
        EXPECT_EQ(path.rfind("layout", 0), std::string::npos) << path;
        EXPECT_NE(path, "snapshot");
        EXPECT_NE(path, "runtime.host");
        EXPECT_NE(path, "network");
    }
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VimRecords, EachMaskBitAsksItsOwnPaths)
{
    auto bridge = EndpointBridge();
    const std::string moref = server.Moref("VirtualMachine", "DC0_H0_VM1");
    const std::map<UINT64, std::vector<std::string>> expected = {
        {VM_PROP_VM_HOST_INFO, {"runtime.host"}},
        {VM_PROP_VM_GUEST_INFO, {"guest.ipAddress", "guest.hostName"}},
        {VM_PROP_VM_CFG_FILE, {"config.files.vmPathName", "layout.disk"}},
        {VM_PROP_VM_SNAPSHOT_LIST, {"snapshot"}},
        {VM_PROP_VM_DISK_LIST, {"config.hardware.device", "layoutEx"}},
        {VM_PROP_VM_NW_LIST, {"config.hardware.device", "network"}},
        {VM_PROP_VM_HOSTDATACENTER, {"parent", "resourcePool"}},
        {VM_PROP_VM_DS_FILE_LIST, {"layoutEx"}},
    };
    for (const auto& [bit, paths] : expected) {
        Trace trace;
        SVMInfo info;
        ASSERT_TRUE(bridge->GetVMInfoForVMByMoref(moref, bit, 0, info)) << bit << ": " << bridge->GetLastErrorString();
        std::set<std::string> asked = trace.VmPaths();
        for (const std::string& path : paths)
            EXPECT_TRUE(asked.count(path)) << "bit " << bit << " asks " << path;
        bool devices = bit == VM_PROP_VM_DISK_LIST || bit == VM_PROP_VM_NW_LIST || bit == VM_PROP_VM_DS_FILE_LIST;
        EXPECT_EQ(asked.count("config.hardware.device"), devices ? 1u : 0u) << "bit " << bit;
    }
}

TEST_F(VimRecords, GuestHostConfigurationAndPlacementAreTheServers)
{
    auto bridge = EndpointBridge();
    const std::string moref = server.Moref("VirtualMachine", "DC0_H0_VM0");
    auto prop = [&](const std::string& path) { return server.Property("VirtualMachine", moref, path); };
    const UINT64 mask = VM_PROP_VM_HOST_INFO | VM_PROP_VM_GUEST_INFO | VM_PROP_VM_CFG_FILE | VM_PROP_VM_HOSTDATACENTER;
    SVMInfo info;
    ASSERT_EQ(bridge->GetVMInfoForVM("DC0_H0_VM0", "", "", mask, 0, info), 1) << bridge->GetLastErrorString();
    // Once the session's views are made: the name lookup, the VM, its host, cluster, folders and pools.
    long long before = RoundTrips();
    ASSERT_EQ(bridge->GetVMInfoForVM("DC0_H0_VM0", "", "", mask, 0, info), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(RoundTrips() - before, 3);

    EXPECT_EQ(info.ipAddress, "10.20.30.40");
    EXPECT_EQ(info.dnsHostName, "web01.example.test");
    EXPECT_EQ(info.strGuestOSVersion, "Debian GNU/Linux 12 (64-bit)");

    const std::string host = prop("runtime.host");
    EXPECT_EQ(info.hostName, server.Property("HostSystem", host, "name"));
    EXPECT_EQ(info.hostName, "DC0_H0");
    EXPECT_EQ(info.hostVersion, server.Property("HostSystem", host, "config.product.version"));
    EXPECT_EQ(info.hostBuild, server.Property("HostSystem", host, "config.product.build"));
    EXPECT_EQ(info.hostFullVersion, server.Property("HostSystem", host, "config.product.fullName"));
    EXPECT_FALSE(info.hostVersion.empty());
    EXPECT_EQ(info.hostConnectionState, 0);
    EXPECT_EQ(info.clusterName, "") << "a standalone host";

    EXPECT_EQ(info.strConfigFile, prop("config.files.vmPathName"));
    EXPECT_EQ(info.strConfigFile, "[LocalDS_0] DC0_H0_VM0/DC0_H0_VM0.vmx");
    ASSERT_FALSE(info.vmPaths.empty());
    EXPECT_EQ(info.vmPaths[0], "[LocalDS_0] DC0_H0_VM0");

    EXPECT_EQ(info.strDataCenterName, "DC0");
    EXPECT_EQ(info.strDataCenterPath, "/DC0");
    EXPECT_EQ(info.strInventoryPath, "/DC0/vm/DC0_H0_VM0");
    EXPECT_EQ(info.strResourcePoolPath, "/DC0/host/DC0_H0/Resources");

    // A VM in the cluster names its cluster.
    SVMInfo clustered;
    ASSERT_EQ(bridge->GetVMInfoForVM("DC0_C0_RP0_VM0", "", "", VM_PROP_VM_HOST_INFO | VM_PROP_VM_HOSTDATACENTER, 0, clustered), 1);
    const std::string cluster = server.Moref("ClusterComputeResource", "DC0_C0");
    EXPECT_EQ(clustered.clusterName, "DC0_C0");
    EXPECT_EQ(clustered.clusterMorefString, cluster);
    EXPECT_EQ(clustered.hostName.rfind("DC0_C0_H", 0), 0u) << clustered.hostName;
    EXPECT_EQ(clustered.strResourcePoolPath, "/DC0/host/DC0_C0/Resources");
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VimRecords, DisksControllersAndNetworkCardsComeFromTheDeviceList)
{
    auto bridge = EndpointBridge();
    const std::string moref = server.Moref("VirtualMachine", "DC0_C0_RP0_VM1");
    const std::string devicesXml = server.Property("VirtualMachine", moref, "config.hardware.device");
    SVMInfo info;
    ASSERT_TRUE(bridge->GetVMInfoForVMByMoref(moref, VM_PROP_VM_DISK_LIST | VM_PROP_VM_DISK_LIST_ADVANCED | VM_PROP_VM_NW_LIST, 0, info))
        << bridge->GetLastErrorString();

    std::map<std::string, std::string> byKey;
    for (const std::string& device : Elements(devicesXml, "VirtualDevice"))
        byKey[XmlText(device, "key")] = device;
    std::vector<std::string> disks, cards;
    for (const auto& [key, device] : byKey) {
        if (HasType(device, "VirtualDisk"))
            disks.push_back(device);
        if (HasType(device, "VirtualE1000") || HasType(device, "VirtualVmxnet3") || HasType(device, "VirtualE1000e"))
            cards.push_back(device);
    }
    ASSERT_EQ(info.diskList.size(), disks.size());
    ASSERT_FALSE(disks.empty());
    EXPECT_EQ(info.numDisks, static_cast<long long>(disks.size()));
    for (const auto& [key, device] : byKey) {
        if (HasType(device, "VirtualMachineVideoCard")) {
            EXPECT_EQ(info.videoRamSize, Number(XmlText(device, "videoRamSizeInKB")) * 1024);
        }
    }
    for (const SDisk& disk : info.diskList) {
        auto found = byKey.find(std::to_string(disk.nDeviceKey));
        ASSERT_NE(found, byKey.end()) << disk.nDeviceKey;
        const std::string& device = found->second;
        EXPECT_EQ(disk.strFileName, XmlText(device, "fileName"));
        EXPECT_EQ(disk.strFileName, "[LocalDS_0] DC0_C0_RP0_VM1/disk1.vmdk");
        EXPECT_EQ(disk.strDataStoreName, "LocalDS_0");
        EXPECT_EQ(disk.strLabel, XmlText(device, "label"));
        long long bytes = Number(XmlText(device, "capacityInBytes"));
        EXPECT_EQ(disk.llMaxSizeInBytes, bytes > 0 ? bytes : Number(XmlText(device, "capacityInKB")) * 1024);
        EXPECT_EQ(disk.llMaxSizeInBytes, 1024 * 1024) << "the endpoint's disks have 1,024 KB and no capacityInBytes";
        EXPECT_EQ(disk.nUnitNumber, Number(XmlText(device, "unitNumber")));
        const std::string& controller = byKey[XmlText(device, "controllerKey")];
        EXPECT_EQ(disk.nControllerBusNumber, Number(XmlText(controller, "busNumber")));
        EXPECT_EQ(disk.strControllerType, "SCSI");
        bool thin = XmlText(device, "thinProvisioned") == "true";
        EXPECT_EQ(disk.nProvisionType, thin ? 2 : 1);
        EXPECT_EQ(disk.nDiskType, thin ? 1 : 3) << "flat 0 (thin) or 1 (thick), not split, no RDM";
        EXPECT_EQ(disk.bIndependentMode, XmlText(device, "diskMode").rfind("independent", 0) == 0);
        EXPECT_EQ(disk.bPersistentMode, XmlText(device, "diskMode") == "persistent");
        EXPECT_EQ(disk.nDatastoreType, 1) << "the endpoint's datastores are of type OTHER: managed 0";
        EXPECT_EQ(disk.strUUID, XmlText(device, "uuid"));
        EXPECT_EQ(disk.strVMFSPath, disk.strFileName) << "no parent: the disk is its own base";
        EXPECT_EQ(disk.strParentFileName, "");
    }
    ASSERT_EQ(info.diskControllerList.size(), 1u);
    EXPECT_EQ(info.diskControllerList[0].strControllerType, "SCSI");
    EXPECT_EQ(info.diskControllerList[0].strScsiControllerType, "pvscsi");
    EXPECT_EQ(info.diskControllerList[0].nControllerBusNumber, 0);
    EXPECT_FALSE(info.diskControllerList[0].sharedBus);

    ASSERT_EQ(info.networkCards.size(), cards.size());
    ASSERT_FALSE(cards.empty());
    EXPECT_EQ(info.numEthernetCards, static_cast<int>(cards.size()));
    for (size_t i = 0; i < cards.size(); ++i) {
        const SVMNetworkCard& card = info.networkCards[i];
        const std::string& device = cards[i];
        EXPECT_EQ(card.label, XmlText(device, "label"));
        EXPECT_EQ(card.macAddress, XmlText(device, "macAddress"));
        EXPECT_EQ(card.isConnected, XmlText(device, "connected") == "true");
        EXPECT_EQ(card.nicType, HasType(device, "VirtualE1000") ? "e1000" : HasType(device, "VirtualVmxnet3") ? "vmxnet3" : "e1000e");
        // A card on a distributed port group carries only the group's key: the record names the group.
        std::string key = XmlText(device, "portgroupKey");
        ASSERT_NE(key, "") << device;
        EXPECT_EQ(card.networkId, key);
        EXPECT_EQ(card.networkName, server.Property("DistributedVirtualPortgroup", key, "name"));
        EXPECT_NE(card.networkName, key);
    }
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VimRecords, SnapshotsLayoutAndTheRecordAsOfASnapshot)
{
    auto bridge = EndpointBridge();
    const std::string moref = server.Moref("VirtualMachine", "DC0_H0_VM0");
    const std::string tree = server.Property("VirtualMachine", moref, "snapshot");
    const std::string current = XmlText(tree, "currentSnapshot");
    ASSERT_NE(current, "");
    SVMInfo info;
    ASSERT_TRUE(bridge->GetVMInfoForVMByMoref(moref, VM_PROP_VM_SNAPSHOT_LIST | VM_PROP_VM_DS_FILE_LIST | VM_PROP_VM_ATTRIBUTES | VM_PROP_VM_POWER_OFF_TIME, 0, info))
        << bridge->GetLastErrorString();
    ASSERT_EQ(info.customAttributes.size(), 1u) << server.Property("VirtualMachine", moref, "customValue");
    EXPECT_EQ(info.customAttributes[0].key, "backup-owner");
    EXPECT_EQ(info.customAttributes[0].value, "team-a");
    EXPECT_EQ(info.m_nPowerOffTimeInHours, 0) << "powered on";
    ASSERT_EQ(info.snapshotList.size(), 1u);
    const SSnapshot& snap = info.snapshotList[0];
    EXPECT_EQ(snap.strMoRef, current);
    EXPECT_EQ(snap.strName, "before upgrade");
    EXPECT_EQ(snap.strDescription, "taken by the test");
    EXPECT_TRUE(snap.childSnapshots.empty());
    EXPECT_NEAR(static_cast<double>(snap.creationTime), static_cast<double>(time(nullptr)), 600.0);

    const std::string layout = server.Property("VirtualMachine", moref, "layoutEx");
    std::vector<std::string> files = Elements(layout, "file");
    ASSERT_EQ(info.fileLayout.fileList.size(), files.size());
    long long used = 0;
    const std::map<std::string, int> codes = {{"config", 0}, {"nvram", 1}, {"snapshotList", 2}, {"log", 3}, {"diskDescriptor", 4},
                                              {"diskExtent", 5}, {"swap", 6}, {"snapshotData", 7}};
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(info.fileLayout.fileList[i].strName, XmlText(files[i], "name"));
        EXPECT_EQ(info.fileLayout.fileList[i].lSize, Number(XmlText(files[i], "size")));
        auto code = codes.find(XmlText(files[i], "type"));
        EXPECT_EQ(info.fileLayout.fileList[i].eFileType, code == codes.end() ? 8 : code->second) << XmlText(files[i], "type");
        used += Number(XmlText(files[i], "size"));
    }
    EXPECT_EQ(info.usedSize, used);
    EXPECT_EQ(info.fileLayout.diskList.size(), 1u) << "one disk without a delta chain";

    // As of the current snapshot (empty id), by its id and by its name: the devices are the snapshot's.
    const std::string snapDisks = server.Property("VirtualMachineSnapshot", current, "config.hardware.device");
    for (const std::string& asked : {std::string(), current, std::string("before upgrade")}) {
        std::string id = asked;
        SVMInfo as;
        ASSERT_EQ(bridge->GetVMInfoForVMSnapshot("DC0_H0_VM0", "", VM_PROP_VM_DISK_LIST, 0, id, as), 1) << asked << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(id, current);
        ASSERT_EQ(as.diskList.size(), 1u);
        EXPECT_EQ(as.diskList[0].strFileName, XmlText(snapDisks, "fileName"));
    }
    std::string missing = "snapshot-999999";
    SVMInfo none;
    EXPECT_EQ(bridge->GetVMInfoForVMSnapshot("DC0_H0_VM0", "", 0, 0, missing, none), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The object 'vim.vm.Snapshot:snapshot-999999' has already been deleted or has not been completely created");
    std::string empty;
    EXPECT_EQ(bridge->GetVMInfoForVMSnapshot("DC0_H0_VM1", "", 0, 0, empty, none), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The virtual machine 'DC0_H0_VM1' has no current snapshot.");
}

TEST_F(VimRecords, TheVmIsFoundByNameUuidMorefAndConfigurationFile)
{
    auto bridge = EndpointBridge();
    const std::string moref = server.Moref("VirtualMachine", "DC0_C0_RP0_VM0");
    const std::string uuid = server.Property("VirtualMachine", moref, "config.uuid");
    const std::string instance = server.Property("VirtualMachine", moref, "config.instanceUuid");
    const std::string vmx = server.Property("VirtualMachine", moref, "config.files.vmPathName");
    for (const std::string& id : {std::string("DC0_C0_RP0_VM0"), moref, uuid, instance}) {
        SVMInfo info;
        EXPECT_EQ(bridge->GetVMInfoForVM(id, "", "", 0, 0, info), 1) << id << ": " << bridge->GetLastErrorString();
        EXPECT_EQ(info.strMoRef, moref) << id;
    }
    SVMInfo byVmx;
    EXPECT_EQ(bridge->GetVMInfoForVMByVMX(vmx, VM_PROP_VM_CFG_FILE, 0, byVmx), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(byVmx.strMoRef, moref);
    EXPECT_EQ(byVmx.strConfigFile, vmx);

    std::string found;
    EXPECT_TRUE(bridge->DoesVMExist("DC0_C0_RP0_VM0", "", "", "", found));
    EXPECT_EQ(found, moref);
    found.clear();
    EXPECT_TRUE(bridge->DoesVMExist("", uuid, "", "DC0", found)) << bridge->GetLastErrorString();
    EXPECT_EQ(found, moref);
    EXPECT_FALSE(bridge->DoesVMExist("DC0_C0_RP0_VM0", "", "DC0_H0", "", found)) << "it runs in the cluster";
    EXPECT_FALSE(bridge->DoesVMExist("no-such-vm", "", "", "", found));
}

TEST_F(VimRecords, AVmThatDoesNotExistFailsAsTheSimulatorSays)
{
    auto bridge = EndpointBridge();
    SVMInfo info;
    info.strName = "untouched";
    EXPECT_EQ(bridge->GetVMInfoForVM("no-such-vm", "", "", 0, 0, info), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Virtual machine 'no-such-vm' was not found.");
    EXPECT_FALSE(bridge->GetVMInfoForVMByMoref("vm-999999", 0, 0, info));
    EXPECT_EQ(bridge->GetLastErrorString(), "The object 'vim.VirtualMachine:vm-999999' has already been deleted or has not been completely created");
    EXPECT_FALSE(bridge->GetVMInfoForVMByMoref("no-such-vm", 0, 0, info));
    EXPECT_EQ(bridge->GetLastErrorString(), "Virtual machine 'no-such-vm' was not found.");
    EXPECT_EQ(bridge->GetVMInfoForVMByVMX("[LocalDS_0] nothing/nothing.vmx", 0, 0, info), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "File [LocalDS_0] nothing/nothing.vmx was not found");
    std::string snapshot;
    EXPECT_EQ(bridge->GetVMInfoForVMSnapshot("no-such-vm", "", 0, 0, snapshot, info), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "Virtual machine 'no-such-vm' was not found.");
    EXPECT_EQ(info.strName, "untouched");

    std::vector<SVMInfo> vms(1);
    EXPECT_EQ(bridge->BrowseInventoryByMoref("no-such-object", 0, 0, 0, vms), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The object 'no-such-object' has already been deleted or has not been completely created");
    EXPECT_EQ(vms.size(), 1u);
    EXPECT_EQ(bridge->BrowseInventoryByName("no-such-*", 0, 0, 0, vms), 1);
    EXPECT_TRUE(vms.empty());
}

std::set<std::string> Names(const std::vector<SVMInfo>& vms)
{
    std::set<std::string> names;
    for (const SVMInfo& vm : vms)
        names.insert(vm.strName);
    return names;
}

TEST_F(VimRecords, BrowsingReadsTheVmsOfAnObjectInBoundedRoundTrips)
{
    auto bridge = EndpointBridge();
    const UINT64 mask = VM_PROP_VM_HOST_INFO | VM_PROP_VM_DISK_LIST | VM_PROP_VM_NW_LIST | VM_PROP_VM_SNAPSHOT_LIST | VM_PROP_VM_CFG_FILE;
    std::set<std::string> all;
    for (const auto& [moref, name] : server.All("VirtualMachine"))
        all.insert(name);
    ASSERT_EQ(all.size(), 4u);
    const std::set<std::string> inCluster = {"DC0_C0_RP0_VM0", "DC0_C0_RP0_VM1"};
    const std::set<std::string> onHost = {"DC0_H0_VM0", "DC0_H0_VM1"};

    const std::string datacenter = server.Moref("Datacenter", "DC0");
    const std::string cluster = server.Moref("ClusterComputeResource", "DC0_C0");
    const std::string host = server.Moref("HostSystem", "DC0_H0");
    const std::string pool = server.Property("ClusterComputeResource", cluster, "resourcePool");
    const std::string vmFolder = server.Property("Datacenter", datacenter, "vmFolder");
    const std::string datastore = server.Moref("Datastore", "LocalDS_0");
    const std::string clusterHost = server.Moref("HostSystem", "DC0_C0_H0");
    std::set<std::string> onClusterHost;
    for (const std::string& vm : XmlTexts(server.Property("HostSystem", clusterHost, "vm"), "ManagedObjectReference"))
        for (const auto& [moref, name] : server.All("VirtualMachine"))
            if (moref == vm)
                onClusterHost.insert(name);

    const std::vector<std::pair<std::string, std::set<std::string>>> cases = {
        {"", all}, {datacenter, all}, {vmFolder, all}, {cluster, inCluster}, {pool, inCluster}, {host, onHost},
        {"DC0_H0", onHost}, {clusterHost, onClusterHost}, {datastore, all}, {server.Moref("VirtualMachine", "DC0_H0_VM1"), {"DC0_H0_VM1"}}};
    for (const auto& [moref, expected] : cases) {
        std::vector<SVMInfo> vms;
        long long before = RoundTrips();
        ASSERT_EQ(bridge->BrowseInventoryByMoref(moref, 0, mask, 0, vms), 1) << moref << ": " << bridge->GetLastErrorString();
        EXPECT_LE(RoundTrips() - before, 5) << moref << ": the first time, views on the object and on the hosts are made";
        before = RoundTrips();
        ASSERT_EQ(bridge->BrowseInventoryByMoref(moref, 0, mask, 0, vms), 1) << moref << ": " << bridge->GetLastErrorString();
        // The object's kind, the VMs, their hosts, networks and datastores: never one round trip per VM.
        EXPECT_LE(RoundTrips() - before, 3) << moref;
        EXPECT_EQ(Names(vms), expected) << moref;
        for (const SVMInfo& vm : vms) {
            EXPECT_FALSE(vm.hostName.empty()) << vm.strName;
            EXPECT_EQ(vm.diskList.size(), 1u) << vm.strName;
            EXPECT_EQ(vm.networkCards.size(), 1u) << vm.strName;
            EXPECT_FALSE(vm.strConfigFile.empty()) << vm.strName;
            EXPECT_EQ(vm.snapshotList.size(), vm.strName == "DC0_H0_VM0" ? 1u : 0u) << vm.strName;
        }
    }

    std::vector<SVMInfo> vms;
    ASSERT_EQ(bridge->BrowseInventoryByName("DC0_H0", 0, 0, 0, vms), 1);
    EXPECT_EQ(Names(vms), onHost);
    ASSERT_EQ(bridge->BrowseInventoryByName("LocalDS_0", 0, 0, 0, vms), 1);
    EXPECT_EQ(Names(vms), all);
    ASSERT_EQ(bridge->BrowseInventoryByName("dc0_c0_rp0_*", 0, 0, 0, vms), 1);
    EXPECT_EQ(Names(vms), inCluster);
    ASSERT_EQ(bridge->BrowseInventoryByName("DC0_?0_VM1", 0, 0, 0, vms), 1);
    EXPECT_EQ(Names(vms), std::set<std::string>{"DC0_H0_VM1"});
    EXPECT_TRUE(log.Errors().empty()) << log.Dump();
}

TEST_F(VimRecords, KindSeparatesTemplatesFromVms)
{
    auto bridge = EndpointBridge();
    const std::string moref = server.Moref("VirtualMachine", "DC0_H0_VM1");
    std::string task = XmlText(server.Call("PowerOffVM_Task", "VirtualMachine", moref), "returnval");
    ASSERT_EQ(XmlText(server.Property("Task", task, "info"), "state"), "success");
    server.Call("MarkAsTemplate", "VirtualMachine", moref);
    ASSERT_EQ(server.Property("VirtualMachine", moref, "config.template"), "true");
    std::vector<SVMInfo> vms;
    ASSERT_EQ(bridge->BrowseInventoryByMoref("", 2, 0, 0, vms), 1);
    EXPECT_EQ(Names(vms), std::set<std::string>{"DC0_H0_VM1"});
    EXPECT_TRUE(vms[0].templateVM);
    EXPECT_EQ(vms[0].poweredState, 0);
    SVMInfo off;
    ASSERT_TRUE(bridge->GetVMInfoForVMByMoref(moref, VM_PROP_VM_POWER_OFF_TIME, 0, off));
    EXPECT_EQ(off.m_nPowerOffTimeInHours, -1) << "the server keeps no power-off time";
    ASSERT_EQ(bridge->BrowseInventoryByMoref("", 1, 0, 0, vms), 1);
    EXPECT_EQ(vms.size(), 3u);
    for (const SVMInfo& vm : vms)
        EXPECT_FALSE(vm.templateVM);
    ASSERT_EQ(bridge->BrowseInventoryByName("*", 0, 0, 0, vms), 1);
    EXPECT_EQ(vms.size(), 4u);
}

} // namespace
