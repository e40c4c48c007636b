// VMs made, registered, destroyed, given disks, reconfigured, moved, cloned and customized through the web-services
// client against the test endpoint, each change read back from the server over its own session. The tests work on VMs
// they make (named lc-*) and destroy them.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>

#include "Endpoint.h"
#include "TestSupport.h"

using namespace visdktest;
using VMInfoStructs::SDisk;
using VMInfoStructs::SVMInfo;
using VMInfoStructs::SVMNetworkCard;

namespace {

const long long GiB = 1LL << 30;

struct Device {
    std::string type, xml;
    std::string operator[](const std::string& element) const { return XmlText(xml, element); }
};

class VimLifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        TrustEndpoint();
        bridge = EndpointBridge();
        dc = server.Moref("Datacenter", "DC0");
        diskManager = XmlText(server.Call("RetrieveServiceContent", "ServiceInstance", "ServiceInstance"), "virtualDiskManager");
    }
    void TearDown() override
    {
        for (const auto& [moref, name] : server.All("VirtualMachine")) {
            if (name.rfind("lc-", 0) != 0)
                continue;
            server.Call("PowerOffVM_Task", "VirtualMachine", moref);
            server.Call("Destroy_Task", "VirtualMachine", moref);
        }
    }

    std::string Moref(const std::string& name) { return server.Moref("VirtualMachine", name); }
    std::string Get(const std::string& name, const std::string& path) { return server.Property("VirtualMachine", Moref(name), path); }
    std::string HostOf(const std::string& name) { return server.Moref("HostSystem", name); }
    void Power(const std::string& name, bool on) { server.Call(on ? "PowerOnVM_Task" : "PowerOffVM_Task", "VirtualMachine", Moref(name)); }

    // The VM's devices as the server holds them, of one type or all.
    std::vector<Device> Devices(const std::string& name, const std::string& type = "[A-Za-z0-9]+")
    {
        std::string devices = Get(name, "config.hardware.device");
        std::vector<Device> found;
        std::regex device("<VirtualDevice [^>]*type=\"(" + type + ")\">([\\s\\S]*?)</VirtualDevice>");
        for (auto it = std::sregex_iterator(devices.begin(), devices.end(), device); it != std::sregex_iterator(); ++it)
            found.push_back({(*it)[1].str(), (*it)[2].str()});
        return found;
    }
    // A file on the endpoint's datastore: its virtual disk manager answers a UUID for any file there.
    bool FileExists(const std::string& path)
    {
        return XmlText(server.Call("QueryVirtualDiskUuid", "VirtualDiskManager", diskManager,
                                   "<name>" + path + "</name><datacenter type=\"Datacenter\">" + dc + "</datacenter>"),
                       "returnval") != "";
    }
    // The last request of that method the endpoint received, from its trace.
    static std::string LastRequest(const std::string& method)
    {
        std::ifstream in(Endpoint::Get().trace, std::ios::binary);
        std::string line, last;
        while (std::getline(in, line))
            if (line.rfind("Request: ", 0) == 0 && line.find("<" + method + " ") != std::string::npos)
                last = line;
        return last;
    }
    std::string Create(const std::string& name, const std::string& host = "")
    {
        std::string uuid;
        EXPECT_EQ(bridge->CreateVM(name, host, "", "", "", uuid), 1) << name << ": " << bridge->GetLastErrorString();
        return uuid;
    }
    std::string Error() { return bridge->GetLastErrorString(); }

    RawSoap server;
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
    std::string dc, diskManager;
};

SDisk Disk(long long bytes, int provision, const std::string& controller = "", int bus = 0)
{
    SDisk d;
    d.llMaxSizeInBytes = bytes;
    d.nProvisionType = provision;
    d.strControllerType = controller;
    d.nControllerBusNumber = bus;
    return d;
}

SVMNetworkCard Card(const std::string& network, const std::string& type = "", const std::string& label = "")
{
    SVMNetworkCard c;
    c.networkName = network;
    c.nicType = type;
    c.label = label;
    return c;
}

TEST_F(VimLifecycle, AVmFromARecordHasItsHardwareDisksCardsAndPlace)
{
    SVMInfo info;
    info.strName = "lc-full";
    info.strGuestOSName = "otherLinux64Guest";
    info.strDataStoreName = "LocalDS_0";
    info.hostName = "DC0_C0_H1";
    info.numOfCPU = 2;
    info.memorySizeInMB = 256;
    info.vmVersion = "vmx-11";
    info.strFirmware = "efi";
    info.isoPath = "[LocalDS_0] iso/boot.iso";
    info.diskList = {Disk(2 * GiB, 2), Disk(GiB, 3, "SATA"), Disk(GiB, 2)};
    info.diskList[2].bIndependentMode = true;
    info.diskControllerList.resize(1);
    info.diskControllerList[0].strControllerType = "SCSI";
    info.diskControllerList[0].strScsiControllerType = "pvscsi";
    info.networkCards = {Card("VM Network", "e1000"), Card("DC0_DVPG0")};
    ASSERT_EQ(bridge->CreateVirtualMachine(info), 1) << Error();
    const std::string vm = "lc-full";
    EXPECT_EQ(info.strUuid, Get(vm, "config.uuid"));
    EXPECT_EQ(Get(vm, "config.guestId"), "otherLinux64Guest");
    EXPECT_EQ(Get(vm, "config.hardware.numCPU"), "2");
    EXPECT_EQ(Get(vm, "config.hardware.memoryMB"), "256");
    EXPECT_EQ(Get(vm, "config.version"), "vmx-11");
    EXPECT_EQ(Get(vm, "config.firmware"), "efi");
    EXPECT_EQ(Get(vm, "runtime.host"), HostOf("DC0_C0_H1"));
    EXPECT_EQ(Get(vm, "resourcePool"), server.Property("ClusterComputeResource", server.Moref("ClusterComputeResource", "DC0_C0"), "resourcePool"));
    EXPECT_EQ(Get(vm, "parent"), server.Property("Datacenter", dc, "vmFolder"));

    auto scsi = Devices(vm, "ParaVirtualSCSIController");
    auto sata = Devices(vm, "VirtualAHCIController");
    auto disks = Devices(vm, "VirtualDisk");
    ASSERT_EQ(scsi.size(), 1u);
    ASSERT_EQ(sata.size(), 1u);
    ASSERT_EQ(disks.size(), 3u);
    const struct {
        std::string controller, unit, kb, thin, eager, mode;
    } expected[] = {
        {scsi[0]["key"], "0", "2097152", "true", "false", "persistent"},
        {sata[0]["key"], "0", "1048576", "false", "true", "persistent"},
        {scsi[0]["key"], "1", "1048576", "true", "false", "independent_persistent"},
    };
    for (size_t i = 0; i < 3; i++) {
        EXPECT_EQ(disks[i]["controllerKey"], expected[i].controller) << i;
        EXPECT_EQ(disks[i]["unitNumber"], expected[i].unit) << i;
        EXPECT_EQ(disks[i]["capacityInKB"], expected[i].kb) << i;
        EXPECT_EQ(disks[i]["thinProvisioned"], expected[i].thin) << i;
        EXPECT_EQ(disks[i]["eagerlyScrub"], expected[i].eager) << i;
        EXPECT_EQ(disks[i]["diskMode"], expected[i].mode) << i;
        EXPECT_TRUE(FileExists(disks[i]["fileName"])) << disks[i]["fileName"];
    }
    auto e1000 = Devices(vm, "VirtualE1000");
    auto vmxnet3 = Devices(vm, "VirtualVmxnet3");
    ASSERT_EQ(e1000.size(), 1u);
    ASSERT_EQ(vmxnet3.size(), 1u);
    EXPECT_EQ(e1000[0]["network"], server.Moref("Network", "VM Network"));
    EXPECT_EQ(vmxnet3[0]["portgroupKey"], server.Moref("DistributedVirtualPortgroup", "DC0_DVPG0"));
    auto cdrom = Devices(vm, "VirtualCdrom");
    ASSERT_EQ(cdrom.size(), 1u);
    EXPECT_EQ(cdrom[0]["fileName"], "[LocalDS_0] iso/boot.iso");
}

TEST_F(VimLifecycle, CreateVmMakesTheDefaultSetAndRefusesWhatTheSimulatorRefuses)
{
    std::string uuid = Create("lc-plain");
    EXPECT_EQ(uuid, Get("lc-plain", "config.uuid"));
    EXPECT_EQ(Get("lc-plain", "config.guestId"), "otherGuest64");
    EXPECT_EQ(Get("lc-plain", "config.hardware.memoryMB"), "1024");
    auto disks = Devices("lc-plain", "VirtualDisk");
    ASSERT_EQ(disks.size(), 1u);
    EXPECT_EQ(disks[0]["capacityInKB"], "16777216");
    EXPECT_EQ(disks[0]["thinProvisioned"], "true");
    EXPECT_EQ(disks[0]["controllerKey"], Devices("lc-plain", "VirtualLsiLogicController").at(0)["key"]);
    auto cards = Devices("lc-plain", "VirtualVmxnet3");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0]["network"], server.Moref("Network", "VM Network"));

    auto record = [](const std::function<void(SVMInfo&)>& change) {
        SVMInfo info;
        info.strName = "lc-refused";
        change(info);
        return info;
    };
    const struct {
        std::function<int(std::string&)> call;
        std::string error;
    } cases[] = {
        {[&](std::string& u) { return bridge->CreateVM("lc-plain", "", "", "", "", u); }, "The name 'lc-plain' already exists."},
        {[&](std::string& u) { return bridge->CreateVM("lc/slash", "", "", "", "", u); }, "A specified parameter was not correct: name"},
        {[&](std::string& u) { return bridge->CreateVM("lc-refused", "", "nope", "", "", u); }, "The datastore 'nope' was not found."},
        {[&](std::string& u) { return bridge->CreateVM("lc-refused", "nope", "", "", "", u); }, "The host 'nope' was not found."},
        {[&](std::string& u) { return bridge->CreateVM("lc-refused", "", "", "", "nope", u); }, "The network 'nope' was not found."},
        {[&](std::string&) { SVMInfo i = record([](SVMInfo& r) { r.vmVersion = "11"; }); return bridge->CreateVirtualMachine(i); },
         "A specified parameter was not correct: version"},
        {[&](std::string&) { SVMInfo i = record([](SVMInfo& r) { r.memorySizeInMB = 2; }); return bridge->CreateVirtualMachine(i); },
         "A specified parameter was not correct: memoryMB"},
        {[&](std::string&) { SVMInfo i = record([](SVMInfo& r) { r.diskList = {Disk(1000, 2)}; }); return bridge->CreateVirtualMachine(i); },
         "A specified parameter was not correct: capacity"},
        {[&](std::string&) { SVMInfo i = record([](SVMInfo& r) { r.diskList = {Disk(GiB, 1, "USB")}; }); return bridge->CreateVirtualMachine(i); },
         "A specified parameter was not correct: strControllerType (USB)"},
    };
    for (const auto& c : cases) {
        std::string out = "kept";
        EXPECT_EQ(c.call(out), 0) << c.error;
        EXPECT_EQ(Error(), c.error);
        EXPECT_EQ(out, "kept");
    }
    EXPECT_EQ(Moref("lc-refused"), "") << "nothing was made";
}

TEST_F(VimLifecycle, UnregisteredVmsComeBackWhereToldAndDestroyedOnesLeaveNoFiles)
{
    Create("lc-reg");
    const std::string vmx = Get("lc-reg", "config.files.vmPathName"), first = Moref("lc-reg"), bios = Get("lc-reg", "config.uuid");
    ASSERT_EQ(bridge->UnregisterVM("lc-reg", ""), 1) << Error();
    EXPECT_EQ(Moref("lc-reg"), "");
    EXPECT_TRUE(FileExists(vmx)) << "its files stay";

    // The endpoint registers a VM under its own name only (it looks for NAME.nvram): the name given goes out as given.
    std::string vm = "stale";
    ASSERT_EQ(bridge->RegisterVM(vmx, "lc-reg", "DC0_C0_H2", "", "", vm), 1) << Error();
    EXPECT_NE(LastRequest("RegisterVM_Task").find("<name>lc-reg</name>"), std::string::npos);
    EXPECT_EQ(vm, Moref("lc-reg"));
    EXPECT_NE(vm, first);
    EXPECT_EQ(Get("lc-reg", "runtime.host"), HostOf("DC0_C0_H2"));
    EXPECT_EQ(Get("lc-reg", "config.files.vmPathName"), vmx);
    const struct {
        std::string path, error;
    } refused[] = {
        {vmx, "The specified key, name, or identifier '" + vmx + "' already exists."},
        {"[LocalDS_0] lc-none/lc-none.vmx", "File [LocalDS_0] lc-none/lc-none.vmx was not found"},
        {"lc-none.vmx", "A specified parameter was not correct: path"},
        {"[nope] lc-none/lc-none.vmx", "The datastore 'nope' was not found."},
    };
    for (const auto& r : refused) {
        std::string kept = "kept";
        EXPECT_EQ(bridge->RegisterVM(r.path, "lc-other", "", "", "", kept), 0) << r.path;
        EXPECT_EQ(Error(), r.error);
        EXPECT_EQ(kept, "kept");
    }

    std::string again = vm;
    ASSERT_EQ(bridge->ReregisterVM("", again), 1) << Error();
    EXPECT_NE(again, vm);
    EXPECT_EQ(again, Moref("lc-reg")) << "the same name, a new id";
    EXPECT_EQ(Get("lc-reg", "runtime.host"), HostOf("DC0_C0_H2")) << "back on its host";

    ASSERT_EQ(bridge->UnregisterVM(again, ""), 1) << Error();
    std::string uuid;
    ASSERT_EQ(bridge->RegisterVMWithNewUUID(vmx, "", "", uuid), 1) << Error();
    const std::string vmName = "lc-reg";
    EXPECT_EQ(uuid, Get(vmName, "config.uuid"));
    EXPECT_NE(uuid, bios);
    EXPECT_EQ(uuid.substr(0, 2), "42");
    EXPECT_EQ(Get(vmName, "config.instanceUuid").substr(0, 2), "50");

    Power(vmName, true);
    EXPECT_EQ(bridge->UnregisterVM(vmName, ""), 0);
    EXPECT_EQ(Error(), "The attempted operation cannot be performed in the current state (Powered on).");
    EXPECT_EQ(bridge->DeleteVM(vmName, ""), 0);
    EXPECT_EQ(Error(), "The attempted operation cannot be performed in the current state (Powered on).");
    Power(vmName, false);
    ASSERT_EQ(bridge->DeleteVM(uuid, ""), 1) << Error();
    EXPECT_EQ(Moref(vmName), "");
    EXPECT_FALSE(FileExists(vmx));
    EXPECT_EQ(bridge->DeleteVM(vmName, ""), 0);
    EXPECT_EQ(Error(), "Virtual machine 'lc-reg' was not found.");
}

TEST_F(VimLifecycle, DisksAreAddedInFreeSlotsAndRemovedWithOrWithoutTheirFiles)
{
    Create("lc-disks");
    const std::string vm = "lc-disks";
    ASSERT_EQ(bridge->AddDiskToVM(vm, "", "", GiB, true, false, false, false, false), 1) << Error();
    ASSERT_EQ(bridge->AddDiskToVM(vm, "", "LocalDS_0", GiB, false, true, true, true, true), 1) << Error();
    auto controllers = Devices(vm, "VirtualLsiLogicController");
    auto disks = Devices(vm, "VirtualDisk");
    ASSERT_EQ(controllers.size(), 2u) << "a new controller for the last";
    ASSERT_EQ(disks.size(), 3u);
    EXPECT_EQ(controllers[1]["busNumber"], "1");
    EXPECT_EQ(disks[1]["controllerKey"], controllers[0]["key"]);
    EXPECT_EQ(disks[1]["unitNumber"], "1");
    EXPECT_EQ(disks[1]["capacityInKB"], "1048576");
    EXPECT_EQ(disks[1]["thinProvisioned"], "true");
    EXPECT_EQ(disks[2]["controllerKey"], controllers[1]["key"]);
    EXPECT_EQ(disks[2]["unitNumber"], "0");
    EXPECT_EQ(disks[2]["eagerlyScrub"], "true");
    EXPECT_EQ(disks[2]["diskMode"], "independent_nonpersistent");

    const struct {
        long long capacity;
        bool thin, eager, independent, nonPersistent;
        std::string datastore, error;
    } refused[] = {
        {1000, true, false, false, false, "", "A specified parameter was not correct: capacity"},
        {GiB, true, true, false, false, "", "A specified parameter was not correct: eagerlyScrub"},
        {GiB, true, false, false, true, "", "A specified parameter was not correct: diskMode"},
        {GiB, true, false, false, false, "nope", "The datastore 'nope' was not found."},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(bridge->AddDiskToVM(vm, "", r.datastore, r.capacity, r.thin, r.eager, r.independent, r.nonPersistent, false), 0) << r.error;
        EXPECT_EQ(Error(), r.error);
    }

    const std::string kept = disks[1]["fileName"], gone = disks[2]["fileName"];
    ASSERT_EQ(bridge->RemoveDiskFromVM(vm, "", kept, false), 1) << Error();
    ASSERT_EQ(bridge->RemoveDiskFromVM(vm, "", disks[2]["key"], true), 1) << Error();
    EXPECT_EQ(Devices(vm, "VirtualDisk").size(), 1u);
    EXPECT_TRUE(FileExists(kept));
    EXPECT_FALSE(FileExists(gone));
    EXPECT_EQ(bridge->RemoveDiskFromVM(vm, "", "nope", false), 0);
    EXPECT_EQ(Error(), "A specified parameter was not correct: deviceKey (nope)");

    Power(vm, true);
    EXPECT_EQ(bridge->DeleteVMDiskFiles(vm, ""), 0);
    EXPECT_EQ(Error(), "The attempted operation cannot be performed in the current state (Powered on).");
    Power(vm, false);
    const std::string last = disks[0]["fileName"];
    ASSERT_EQ(bridge->DeleteVMDiskFiles(vm, ""), 1) << Error();
    EXPECT_EQ(Devices(vm, "VirtualDisk").size(), 0u);
    EXPECT_FALSE(FileExists(last));
}

TEST_F(VimLifecycle, DiskUuidRdmAndConsolidationGoToTheServer)
{
    Create("lc-uuid");
    const std::string vm = "lc-uuid", file = Devices(vm, "VirtualDisk").at(0)["fileName"];
    ASSERT_EQ(bridge->ChangeDiskUUID(vm, file, "6000C29A-1B2C-3D4E-8F90-A1B2C3D4E5F6"), 1) << Error();
    // The endpoint keeps no disk UUID: the request is what it received.
    std::string request = LastRequest("SetVirtualDiskUuid");
    EXPECT_EQ(XmlText(request, "name"), file);
    EXPECT_EQ(XmlText(request, "uuid"), "60 00 c2 9a 1b 2c 3d 4e-8f 90 a1 b2 c3 d4 e5 f6");
    EXPECT_EQ(XmlText(request, "datacenter"), dc);
    EXPECT_EQ(bridge->ChangeDiskUUID(vm, file, "not-a-uuid"), 0);
    EXPECT_EQ(Error(), "A specified parameter was not correct: uuid");
    Power(vm, true);
    EXPECT_EQ(bridge->ChangeDiskUUID(vm, file, "6000C29A1B2C3D4E8F90A1B2C3D4E5F6"), 0);
    EXPECT_EQ(Error(), "The attempted operation cannot be performed in the current state (Powered on).");

    // The endpoint's hosts have local devices only: no LUN to map.
    const std::string host = server.Property("HostSystem", Get(vm, "runtime.host"), "name");
    const struct {
        std::string device, mode;
        int size;
        std::string error;
    } rdm[] = {
        {"mpx.vmhba0:C0:T0:L0", "", 10, "A specified parameter was not correct: deviceName"},
        {"naa.600000000000000000000001", "sideways", 10, "A specified parameter was not correct: compatibilityMode"},
        {"naa.600000000000000000000001", "", 0, "A specified parameter was not correct: capacity"},
        {"naa.600000000000000000000001", "physicalMode", 10, "The LUN 'naa.600000000000000000000001' was not found on host '" + host + "'."},
    };
    for (const auto& r : rdm) {
        EXPECT_EQ(bridge->AddRDMToVM(vm, "", r.device, r.mode, -1, -1, r.size, ""), "") << r.error;
        EXPECT_EQ(Error(), r.error);
    }

    EXPECT_FALSE(bridge->CheckVMConsolidateStatus(vm, ""));
    EXPECT_EQ(Error(), "");
    bool needed = true;
    EXPECT_FALSE(bridge->ConsolidateVMDisks(vm, "", needed));
    EXPECT_FALSE(needed);
    EXPECT_NE(Error().find("does not implement: ConsolidateVMDisks_Task"), std::string::npos) << Error();
}

TEST_F(VimLifecycle, IsoImagesLeaveTheirDrivesOrTheDrivesGoToo)
{
    for (const std::string name : {"lc-iso1", "lc-iso2"}) {
        SVMInfo info;
        info.strName = name;
        info.isoPath = "[LocalDS_0] iso/boot.iso";
        ASSERT_EQ(bridge->CreateVirtualMachine(info), 1) << Error();
    }
    EXPECT_EQ(bridge->RemoveISOFromVM("lc-iso1", "", "other.iso", false), 0);
    EXPECT_EQ(Error(), "The ISO image 'other.iso' is not connected to 'lc-iso1'.");
    ASSERT_EQ(bridge->RemoveISOFromVM("lc-iso1", "", "boot.iso", false), 1) << Error();
    auto drive = Devices("lc-iso1", "VirtualCdrom");
    ASSERT_EQ(drive.size(), 1u);
    EXPECT_NE(drive[0].xml.find("VirtualCdromRemotePassthroughBackingInfo"), std::string::npos) << drive[0].xml;
    EXPECT_EQ(drive[0]["connected"], "false");
    EXPECT_EQ(bridge->RemoveISOFromVM("lc-iso1", "", "boot.iso", false), 0) << "no image is left";
    EXPECT_EQ(bridge->RemoveISOFromVM("lc-iso1", "", "", true), 1) << "nothing to do: " << Error();

    ASSERT_EQ(bridge->RemoveISOFromVM("lc-iso2", "", "[LocalDS_0] iso/boot.iso", true), 1) << Error();
    EXPECT_EQ(Devices("lc-iso2", "VirtualCdrom").size(), 0u);
}

TEST_F(VimLifecycle, ReconfigurationChangesHardwareVersionFirmwareAndGrowsDisks)
{
    SVMInfo info;
    info.strName = "lc-rec";
    info.vmVersion = "vmx-11";
    info.memorySizeInMB = 256;
    info.diskList = {Disk(GiB, 2)};
    ASSERT_EQ(bridge->CreateVirtualMachine(info), 1) << Error();
    const std::string vm = "lc-rec", key = Devices(vm, "VirtualDisk").at(0)["key"];

    SVMInfo change;
    change.strMoRef = Moref(vm);
    change.numOfCPU = 2;
    change.memorySizeInMB = 512;
    change.vmVersion = "vmx-13";
    change.strFirmware = "efi";
    change.diskList = {Disk(2 * GiB, 0)};
    change.diskList[0].nDeviceKey = std::stoi(key);
    ASSERT_EQ(bridge->ReconfigureVM(change), 1) << Error();
    EXPECT_EQ(Get(vm, "config.hardware.numCPU"), "2");
    EXPECT_EQ(Get(vm, "config.hardware.memoryMB"), "512");
    EXPECT_EQ(Get(vm, "config.version"), "vmx-13");
    EXPECT_EQ(Get(vm, "config.firmware"), "efi");
    EXPECT_EQ(Devices(vm, "VirtualDisk").at(0)["capacityInKB"], "2097152");
    EXPECT_NE(LastRequest("UpgradeVM_Task").find("<version>vmx-13</version>"), std::string::npos);

    const struct {
        std::function<void(SVMInfo&)> change;
        std::string error;
    } refused[] = {
        {[&](SVMInfo& r) { r.diskList = {Disk(GiB, 0)}; r.diskList[0].nDeviceKey = std::stoi(key); }, "A disk cannot be shrunk: "},
        {[](SVMInfo& r) { r.vmVersion = "vmx-11"; }, "A virtual machine's hardware version cannot be lowered."},
        {[](SVMInfo& r) { r.vmVersion = "13"; }, "A specified parameter was not correct: version"},
        {[](SVMInfo& r) { r.memorySizeInMB = 6; }, "A specified parameter was not correct: memoryMB"},
        {[](SVMInfo& r) { r.strFirmware = "uefi"; }, "A specified parameter was not correct: firmware"},
        {[](SVMInfo& r) { r.strName = ""; }, "A specified parameter was not correct: vm"},
    };
    for (const auto& r : refused) {
        SVMInfo record;
        record.strName = vm;
        r.change(record);
        EXPECT_EQ(bridge->ReconfigureVM(record), 0) << r.error;
        EXPECT_EQ(Error().substr(0, r.error.size()), r.error);
    }
    Power(vm, true);
    SVMInfo hot;
    hot.strName = vm;
    hot.numOfCPU = 4;
    EXPECT_EQ(bridge->ReconfigureVM(hot), 0);
    EXPECT_EQ(Error(), "The attempted operation cannot be performed in the current state (Powered on).");
}

TEST_F(VimLifecycle, NetworkCardsMoveAddAndReplaceAndBootOptionsAreTheServers)
{
    Create("lc-net");
    const std::string vm = "lc-net", group = server.Moref("DistributedVirtualPortgroup", "DC0_DVPG0");
    ASSERT_TRUE(bridge->ReconfigureVMNetworks(vm, "", {Card("DC0_DVPG0", "e1000")}, false)) << Error();
    ASSERT_EQ(Devices(vm, "VirtualE1000").size(), 1u);
    EXPECT_EQ(Devices(vm, "VirtualE1000")[0]["portgroupKey"], group);
    ASSERT_TRUE(bridge->ReconfigureVMNetworks(vm, "", {Card("DC0_DVPG0", "", "Network adapter 1")}, false)) << Error();
    EXPECT_EQ(Devices(vm, "VirtualVmxnet3").at(0)["portgroupKey"], group) << "the first adapter moved";
    ASSERT_TRUE(bridge->ReconfigureVMNetworks(vm, "", {Card("")}, true)) << Error();
    auto cards = Devices(vm, "VirtualVmxnet3|VirtualE1000");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0]["network"], server.Moref("Network", "VM Network"));

    EXPECT_FALSE(bridge->ReconfigureVMNetworks(vm, "", {Card("nope")}, false));
    EXPECT_EQ(Error(), "The network 'nope' was not found.");
    EXPECT_FALSE(bridge->ReconfigureVMNetworks(vm, "", {Card("", "", "Network adapter 9")}, false));
    EXPECT_EQ(Error(), "A specified parameter was not correct: Network adapter 9");
    EXPECT_FALSE(bridge->ReconfigureVMNetworks(vm, "", std::vector<SVMNetworkCard>(10, Card("")), false));
    EXPECT_EQ(Error(), "The virtual machine 'lc-net' would have more than 10 network adapters.");

    ASSERT_TRUE(bridge->ReconfigureVMBootOptions(vm, "", {"cdrom", " Disk", "ethernet"}, true, true, false)) << Error();
    std::string boot = Get(vm, "config.bootOptions");
    EXPECT_EQ(XmlText(boot, "enterBIOSSetup"), "true");
    EXPECT_EQ(XmlText(boot, "bootRetryEnabled"), "true");
    std::smatch order;
    ASSERT_TRUE(std::regex_search(boot, order, std::regex("BootableCdromDevice\"[^>]*>.*BootableDiskDevice\"[^>]*><deviceKey>(\\d+)<.*"
                                                          "BootableEthernetDevice\"[^>]*><deviceKey>(\\d+)<")))
        << boot;
    EXPECT_EQ(order[1].str(), Devices(vm, "VirtualDisk").at(0)["key"]);
    EXPECT_EQ(order[2].str(), Devices(vm, "VirtualVmxnet3|VirtualE1000").at(0)["key"]);
    const struct {
        std::vector<std::string> order;
        bool secure;
        std::string error;
    } refused[] = {
        {{"usb"}, false, "A specified parameter was not correct: bootOrder (usb)"},
        {{"disk", "disk"}, false, "A specified parameter was not correct: bootOrder"},
        {{}, true, "Secure boot needs EFI firmware; the virtual machine 'lc-net' uses bios."},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(bridge->ReconfigureVMBootOptions(vm, "", r.order, false, false, r.secure)) << r.error;
        EXPECT_EQ(Error(), r.error);
    }
    SVMInfo efi;
    efi.strName = vm;
    efi.strFirmware = "efi";
    ASSERT_EQ(bridge->ReconfigureVM(efi), 1) << Error();
    ASSERT_TRUE(bridge->ReconfigureVMBootOptions(vm, "", {}, false, false, true)) << Error();
    EXPECT_EQ(XmlText(Get(vm, "config.bootOptions"), "efiSecureBootEnabled"), "true");
}

TEST_F(VimLifecycle, RelocationMovesHostPoolAndDisksAndTheTaskFormHandsTheTaskBack)
{
    Create("lc-move", "DC0_C0_H0");
    const std::string vm = "lc-move";
    EXPECT_TRUE(bridge->CheckRelocatePrivilegeOnHost("DC0_C0_H1")) << Error();
    EXPECT_FALSE(bridge->CheckRelocatePrivilegeOnHost("nope"));
    EXPECT_EQ(Error(), "The host 'nope' was not found.");

    ASSERT_TRUE(bridge->RelocateVM(vm, "", "DC0_C0_H1", "", "", false, {})) << Error();
    EXPECT_EQ(Get(vm, "runtime.host"), HostOf("DC0_C0_H1"));
    // To the standalone host: another compute resource, so its root pool.
    ASSERT_TRUE(bridge->RelocateVM(vm, "", "DC0_H0", "", "", false, {})) << Error();
    EXPECT_EQ(Get(vm, "runtime.host"), HostOf("DC0_H0"));
    EXPECT_EQ(Get(vm, "resourcePool"), server.Property("ComputeResource", server.Property("HostSystem", HostOf("DC0_H0"), "parent"), "resourcePool"));

    SDisk disk;
    disk.nDeviceKey = std::stoi(Devices(vm, "VirtualDisk").at(0)["key"]);
    disk.strDataStoreName = "LocalDS_0";
    std::string task = "stale";
    ASSERT_TRUE(bridge->RelocateVM_Task(vm, "", "DC0_C0_H2", "LocalDS_0", "", true, {disk}, task)) << Error();
    std::string info = server.Property("Task", task, "info");
    EXPECT_EQ(XmlText(info, "state"), "success");
    EXPECT_EQ(XmlText(info, "entity"), Moref(vm));
    EXPECT_EQ(Get(vm, "runtime.host"), HostOf("DC0_C0_H2"));
    const std::string datastore = server.Moref("Datastore", "LocalDS_0");
    std::string request = LastRequest("RelocateVM_Task");
    EXPECT_NE(request.find("<disk><diskId>" + std::to_string(disk.nDeviceKey) + "</diskId><datastore type=\"Datastore\">" + datastore), std::string::npos)
        << request;
    EXPECT_NE(request.find("<host type=\"HostSystem\">" + HostOf("DC0_C0_H2") + "</host>"), std::string::npos);

    SDisk stranger;
    stranger.nDeviceKey = 999999;
    const struct {
        std::string host, datastore, pool;
        std::vector<SDisk> disks;
        std::string error;
    } refused[] = {
        {"nope", "", "", {}, "The host 'nope' was not found."},
        {"", "nope", "", {}, "The datastore 'nope' was not found."},
        {"DC0_C0_H0", "", "nope", {}, "The resource pool 'nope' was not found on 'DC0_C0'."},
        {"", "", "", {stranger}, "A specified parameter was not correct: deviceKey (999999)"},
    };
    for (const auto& r : refused) {
        std::string kept = "kept";
        EXPECT_FALSE(bridge->RelocateVM_Task(vm, "", r.host, r.datastore, r.pool, false, r.disks, kept)) << r.error;
        EXPECT_EQ(Error(), r.error);
        EXPECT_EQ(kept, "kept");
    }
}

TEST_F(VimLifecycle, ClonesAreMadeByTheServersTaskAndCustomizedWithItsStoredCustomization)
{
    Create("lc-src");
    SVMInfo clone;
    clone.strName = "lc-clone";
    clone.numOfCPU = 2;
    clone.memorySizeInMB = 512;
    std::string task;
    ASSERT_EQ(bridge->CloneAndReConfigVM_Task(clone, "lc-src", "DC0_C0_H1", task), 1) << Error();
    bool done = false, failed = true;
    int progress = 0;
    std::string made;
    ASSERT_TRUE(bridge->CheckNewVMTaskProgress(task, done, failed, progress, made)) << Error();
    EXPECT_TRUE(done && !failed);
    EXPECT_EQ(made, Moref("lc-clone"));
    EXPECT_EQ(Get("lc-clone", "runtime.powerState"), "poweredOff");
    EXPECT_EQ(Get("lc-clone", "resourcePool"), server.Property("ClusterComputeResource", server.Moref("ClusterComputeResource", "DC0_C0"), "resourcePool"));
    // The endpoint gives a clone its source's host and hardware: the location and configuration parts are what it received.
    std::string request = LastRequest("CloneVM_Task");
    EXPECT_NE(request.find("<config><numCPUs>2</numCPUs><memoryMB>512</memoryMB></config>"), std::string::npos) << request;
    EXPECT_NE(request.find("<host type=\"HostSystem\">" + HostOf("DC0_C0_H1") + "</host>"), std::string::npos);
    EXPECT_NE(request.find("<powerOn>false</powerOn>"), std::string::npos);

    std::string kept = "kept";
    EXPECT_EQ(bridge->CloneAndReConfigVM_Task(clone, "lc-src", "", kept), 0);
    EXPECT_EQ(Error(), "The name 'lc-clone' already exists.");
    EXPECT_EQ(kept, "kept");
    clone.strName = "lc-other";
    EXPECT_EQ(bridge->CloneAndReConfigVM_Task(clone, "lc-none", "", kept), 0);
    EXPECT_EQ(Error(), "Virtual machine 'lc-none' was not found.");

    SVMInfo target;
    target.strName = "lc-clone";
    target.numEthernetCards = 2;
    EXPECT_EQ(bridge->CustomizeVM(target, "vcsim-linux"), 0);
    EXPECT_EQ(Error(), "The number of network adapter settings in the customization (2) does not match the number of network adapters "
                       "present in the virtual machine (1).");
    target.numEthernetCards = 1;
    EXPECT_EQ(bridge->CustomizeVM(target, "nope"), 0);
    EXPECT_EQ(Error(), "The customization 'nope' was not found.");
    Power("lc-clone", true);
    EXPECT_EQ(bridge->CustomizeVM(target, "vcsim-linux"), 0);
    EXPECT_EQ(Error(), "The attempted operation cannot be performed in the current state (Powered on).");
    Power("lc-clone", false);
    EXPECT_EQ(Get("lc-clone", "config.tools.pendingCustomization"), "");
    ASSERT_EQ(bridge->CustomizeVM(target, "vcsim-linux"), 1) << Error();
    EXPECT_NE(Get("lc-clone", "config.tools.pendingCustomization"), "");
    EXPECT_NE(LastRequest("CustomizeVM_Task").find("<identity xsi:type=\"CustomizationLinuxPrep\">"), std::string::npos)
        << LastRequest("CustomizeVM_Task");
}

TEST_F(VimLifecycle, AFreeDiskBecomesAFirstClassDisk)
{
    Create("lc-fcd");
    const std::string vm = "lc-fcd", file = Devices(vm, "VirtualDisk").at(0)["fileName"];
    const std::string rel = file.substr(file.find("] ") + 2);
    EXPECT_FALSE(bridge->RegisterFirstClassDisk("", "LocalDS_0", rel, "lc-disk", ""));
    EXPECT_EQ(Error(), "The disk " + file + " is in use by 'lc-fcd'.");
    ASSERT_EQ(bridge->RemoveDiskFromVM(vm, "", file, false), 1) << Error();
    ASSERT_TRUE(bridge->RegisterFirstClassDisk("DC0_H0", "LocalDS_0", rel, "lc-disk", "DC0")) << Error();

    const std::string datastore = server.Moref("Datastore", "LocalDS_0"), manager = "VStorageObjectManager";
    std::string id = XmlText(server.Call("ListVStorageObject", "VcenterVStorageObjectManager", manager,
                                         "<datastore type=\"Datastore\">" + datastore + "</datastore>"),
                             "id");
    ASSERT_NE(id, "");
    std::string object = server.Call("RetrieveVStorageObject", "VcenterVStorageObjectManager", manager,
                                     "<id><id>" + id + "</id></id><datastore type=\"Datastore\">" + datastore + "</datastore>");
    EXPECT_EQ(XmlText(object, "name"), "lc-disk");
    EXPECT_EQ(XmlText(object, "filePath"), file);

    const struct {
        std::string path, name, error;
    } refused[] = {
        {rel, "lc-disk2", "A specified parameter was not correct: path"},
        {"lc-fcd/notes.txt", "lc-disk3", "A specified parameter was not correct: path"},
        {"lc-fcd/lc-fcd-flat.vmdk", "lc-disk3", "A specified parameter was not correct: path"},
        {rel, "", "A specified parameter was not correct: name"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(bridge->RegisterFirstClassDisk("", "LocalDS_0", r.path, r.name, "")) << r.path;
        EXPECT_EQ(Error(), r.error);
    }
    server.Call("DeleteVStorageObject_Task", "VcenterVStorageObjectManager", manager,
                "<id><id>" + id + "</id></id><datastore type=\"Datastore\">" + datastore + "</datastore>");
}

} // namespace
