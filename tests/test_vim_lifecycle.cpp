// VMs made, registered, destroyed, given disks, reconfigured, moved, cloned and customized through the web-services
// client against the test endpoint, each change read back from the server over its own session (or, where the
// endpoint keeps nothing, from the request in its trace). The tests work on VMs they make (lc-*) and destroy them.
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
const std::string PoweredOn = "The attempted operation cannot be performed in the current state (Powered on).";

struct Device {
    std::string type, xml;
    std::string operator[](const std::string& element) const { return XmlText(xml, element); }
    // Several fields, space separated.
    std::string operator()(std::initializer_list<const char*> elements) const
    {
        std::string out;
        for (const char* e : elements)
            out += (out.empty() ? "" : " ") + XmlText(xml, e);
        return out;
    }
};

SDisk Disk(long long bytes, int provision, const std::string& controller = "", int key = 0)
{
    SDisk d;
    d.llMaxSizeInBytes = bytes;
    d.nProvisionType = provision;
    d.strControllerType = controller;
    d.nDeviceKey = key;
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

SVMInfo Record(const std::string& name, const std::function<void(SVMInfo&)>& fill = nullptr)
{
    SVMInfo info;
    info.strName = name;
    if (fill)
        fill(info);
    return info;
}

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
        for (const auto& [moref, name] : server.All("VirtualMachine"))
            if (name.rfind("lc-", 0) == 0) {
                server.Call("PowerOffVM_Task", "VirtualMachine", moref);
                server.Call("Destroy_Task", "VirtualMachine", moref);
            }
    }
    std::string Moref(const std::string& vm) { return server.Moref("VirtualMachine", vm); }
    std::string Get(const std::string& vm, const std::string& path) { return server.Property("VirtualMachine", Moref(vm), path); }
    std::string Host(const std::string& name) { return server.Moref("HostSystem", name); }
    std::string RootPool(const std::string& type, const std::string& compute) { return server.Property(type, compute, "resourcePool"); }
    void Power(const std::string& vm, bool on) { server.Call(on ? "PowerOnVM_Task" : "PowerOffVM_Task", "VirtualMachine", Moref(vm)); }
    std::vector<Device> Devices(const std::string& vm, const std::string& type)
    {
        std::string all = Get(vm, "config.hardware.device");
        std::vector<Device> found;
        std::regex device("<VirtualDevice [^>]*type=\"(" + type + ")\">([\\s\\S]*?)</VirtualDevice>");
        for (auto it = std::sregex_iterator(all.begin(), all.end(), device); it != std::sregex_iterator(); ++it)
            found.push_back({(*it)[1].str(), (*it)[2].str()});
        return found;
    }
    // The endpoint's virtual disk manager answers a UUID for any file on its datastore.
    bool FileExists(const std::string& path)
    {
        return XmlText(server.Call("QueryVirtualDiskUuid", "VirtualDiskManager", diskManager,
                                   "<name>" + path + "</name><datacenter type=\"Datacenter\">" + dc + "</datacenter>"),
                       "returnval") != "";
    }
    static std::string LastRequest(const std::string& method)
    {
        std::ifstream in(Endpoint::Get().trace, std::ios::binary);
        std::string line, last;
        while (std::getline(in, line))
            if (line.rfind("Request: ", 0) == 0 && line.find("<" + method + " ") != std::string::npos)
                last = line;
        return last;
    }
    std::string Create(const std::string& vm, const std::string& host = "")
    {
        std::string uuid;
        EXPECT_EQ(bridge->CreateVM(vm, host, "", "", "", uuid), 1) << vm << ": " << Error();
        return uuid;
    }
    std::string Error() { return bridge->GetLastErrorString(); }

    RawSoap server;
    std::unique_ptr<VISDKCppBridge::CVISDKCppBridge> bridge;
    std::string dc, diskManager;
};

TEST_F(VimLifecycle, AVmFromARecordHasItsHardwareDisksCardsAndPlace)
{
    SVMInfo info = Record("lc-full", [](SVMInfo& r) {
        r.strGuestOSName = "otherLinux64Guest", r.hostName = "DC0_C0_H1", r.numOfCPU = 2, r.memorySizeInMB = 256, r.vmVersion = "vmx-11";
        r.strFirmware = "efi", r.isoPath = "[LocalDS_0] iso/boot.iso";
        r.diskList = {Disk(2 * GiB, 2), Disk(GiB, 3, "SATA"), Disk(GiB, 2)};
        r.diskList[2].bIndependentMode = true;
        r.diskControllerList.resize(1);
        r.diskControllerList[0].strScsiControllerType = "pvscsi";
        r.networkCards = {Card("VM Network", "e1000"), Card("DC0_DVPG0")};
    });
    ASSERT_EQ(bridge->CreateVirtualMachine(info), 1) << Error();
    const std::string vm = "lc-full";
    EXPECT_EQ(info.strUuid, Get(vm, "config.uuid"));
    for (const auto& [path, value] : std::vector<std::pair<std::string, std::string>>{
             {"config.guestId", "otherLinux64Guest"}, {"config.hardware.numCPU", "2"}, {"config.hardware.memoryMB", "256"}, {"config.version", "vmx-11"},
             {"config.firmware", "efi"}, {"runtime.host", Host("DC0_C0_H1")}, {"parent", server.Property("Datacenter", dc, "vmFolder")},
             {"resourcePool", RootPool("ClusterComputeResource", server.Moref("ClusterComputeResource", "DC0_C0"))}})
        EXPECT_EQ(Get(vm, path), value) << path;

    std::string scsi = Devices(vm, "ParaVirtualSCSIController").at(0)["key"], sata = Devices(vm, "VirtualAHCIController").at(0)["key"];
    auto disks = Devices(vm, "VirtualDisk");
    ASSERT_EQ(disks.size(), 3u);
    const std::string expected[] = {scsi + " 0 2097152 true false persistent", sata + " 0 1048576 false true persistent",
                                    scsi + " 1 1048576 true false independent_persistent"};
    for (size_t i = 0; i < 3; i++) {
        EXPECT_EQ(disks[i]({"controllerKey", "unitNumber", "capacityInKB", "thinProvisioned", "eagerlyScrub", "diskMode"}), expected[i]);
        EXPECT_TRUE(FileExists(disks[i]["fileName"])) << disks[i]["fileName"];
    }
    EXPECT_EQ(Devices(vm, "VirtualE1000").at(0)["network"], server.Moref("Network", "VM Network"));
    EXPECT_EQ(Devices(vm, "VirtualVmxnet3").at(0)["portgroupKey"], server.Moref("DistributedVirtualPortgroup", "DC0_DVPG0"));
    EXPECT_EQ(Devices(vm, "VirtualCdrom").at(0)["fileName"], "[LocalDS_0] iso/boot.iso");
    // The image goes, the drive stays: empty and disconnected.
    ASSERT_EQ(bridge->RemoveISOFromVM(vm, "", "boot.iso", false), 1) << Error();
    auto drive = Devices(vm, "VirtualCdrom").at(0);
    EXPECT_NE(drive.xml.find("VirtualCdromRemotePassthroughBackingInfo"), std::string::npos) << drive.xml;
    EXPECT_EQ(drive["connected"], "false");
}

TEST_F(VimLifecycle, WhatTheSimulatorRefusesIsRefusedBeforeAnythingChanges)
{
    Create("lc-a");
    Create("lc-on");
    Power("lc-on", true);
    const std::string file = Devices("lc-a", "VirtualDisk").at(0)["fileName"], key = Devices("lc-a", "VirtualDisk").at(0)["key"];
    const std::string lun = "naa.600000000000000000000001", host = server.Property("HostSystem", Get("lc-a", "runtime.host"), "name");
    std::string out;
    auto reconfig = [&](const std::string& vm, const std::function<void(SVMInfo&)>& fill) { SVMInfo r = Record(vm, fill); return bridge->ReconfigureVM(r) != 0; };
    auto relocate = [&](const std::string& to, const std::string& pool, std::vector<SDisk> disks) { return bridge->RelocateVM_Task("lc-a", "", to, "", pool, false, disks, out); };
    const std::vector<std::pair<std::string, std::function<bool()>>> cases = {
        {"The name 'lc-a' already exists.", [&] { return bridge->CreateVM("lc-a", "", "", "", "", out) != 0; }},
        {"The network 'nope' was not found.", [&] { return bridge->CreateVM("lc-b", "", "", "", "nope", out) != 0; }},
        {"A specified parameter was not correct: strControllerType (USB)", [&] { SVMInfo r = Record("lc-b", [](SVMInfo& i) { i.diskList = {Disk(GiB, 1, "USB")}; }); return bridge->CreateVirtualMachine(r) != 0; }},
        {"File [LocalDS_0] lc-b/lc-b.vmx was not found", [&] { return bridge->RegisterVM("[LocalDS_0] lc-b/lc-b.vmx", "", "", "", "", out) != 0; }},
        {PoweredOn, [&] { return bridge->UnregisterVM("lc-on", "") != 0; }},
        {"The ISO image 'x.iso' is not connected to 'lc-a'.", [&] { return bridge->RemoveISOFromVM("lc-a", "", "x.iso", false) != 0; }},
        // The endpoint's hosts have local devices only: no LUN to map.
        {"The LUN '" + lun + "' was not found on host '" + host + "'.", [&] { return bridge->AddRDMToVM("lc-a", "", lun, "", -1, -1, 10, "") != ""; }},
        {"A disk cannot be shrunk: ", [&] { return reconfig("lc-a", [&](SVMInfo& r) { r.diskList = {Disk(GiB, 0, "", std::stoi(key))}; }); }},
        {"A virtual machine's hardware version cannot be lowered.", [&] { return reconfig("lc-a", [](SVMInfo& r) { r.vmVersion = "vmx-4"; }); }},
        {PoweredOn, [&] { return reconfig("lc-on", [](SVMInfo& r) { r.numOfCPU = 4; }); }},
        {"A specified parameter was not correct: Network adapter 9", [&] { return bridge->ReconfigureVMNetworks("lc-a", "", {Card("", "", "Network adapter 9")}, false); }},
        {"The virtual machine 'lc-a' would have more than 10 network adapters.", [&] { return bridge->ReconfigureVMNetworks("lc-a", "", std::vector<SVMNetworkCard>(10, Card("")), false); }},
        {"Secure boot needs EFI firmware; the virtual machine 'lc-a' uses bios.", [&] { return bridge->ReconfigureVMBootOptions("lc-a", "", {}, false, false, true); }},
        {"The resource pool 'nope' was not found on 'DC0_C0'.", [&] { return relocate("DC0_C0_H0", "nope", {}); }},
        {"A specified parameter was not correct: deviceKey (999999)", [&] { return relocate("", "", {Disk(0, 0, "", 999999)}); }},
        {"The name 'lc-a' already exists.", [&] { SVMInfo r = Record("lc-a"); return bridge->CloneAndReConfigVM_Task(r, "lc-on", "", out) != 0; }},
        {"The customization 'nope' was not found.", [&] { SVMInfo r = Record("lc-a"); r.numEthernetCards = 1; return bridge->CustomizeVM(r, "nope") != 0; }},
        {"The number of network adapter settings in the customization (2) does not match the number of network adapters present in the virtual machine (1).",
         [&] { SVMInfo r = Record("lc-a"); r.numEthernetCards = 2; return bridge->CustomizeVM(r, "vcsim-linux") != 0; }},
        {"The disk " + file + " is in use by 'lc-a'.", [&] { return bridge->RegisterFirstClassDisk("", "LocalDS_0", "lc-a/lc-a.vmdk", "d", ""); }},
    };
    const std::string before = Get("lc-a", "config");
    for (const auto& [error, call] : cases) {
        out = "kept";
        EXPECT_FALSE(call()) << error;
        EXPECT_EQ(Error().substr(0, error.size()), error);
        EXPECT_EQ(out, "kept") << error;
    }
    EXPECT_EQ(Moref("lc-b"), "") << "nothing was made";
    EXPECT_EQ(Get("lc-a", "config"), before) << "nothing was changed";
}

TEST_F(VimLifecycle, UnregisteredVmsComeBackWhereToldAndDestroyedOnesLeaveNoFiles)
{
    Create("lc-reg");
    const std::string vmx = Get("lc-reg", "config.files.vmPathName"), first = Moref("lc-reg"), bios = Get("lc-reg", "config.uuid");
    ASSERT_EQ(bridge->UnregisterVM("lc-reg", ""), 1) << Error();
    EXPECT_EQ(Moref("lc-reg"), "");
    EXPECT_TRUE(FileExists(vmx)) << "its files stay";
    // The endpoint registers a VM under its own name only (it looks for NAME.nvram): the name goes out as given.
    std::string vm = "stale";
    ASSERT_EQ(bridge->RegisterVM(vmx, "lc-reg", "DC0_C0_H2", "", "", vm), 1) << Error();
    EXPECT_NE(LastRequest("RegisterVM_Task").find("<name>lc-reg</name>"), std::string::npos);
    EXPECT_EQ(vm, Moref("lc-reg"));
    EXPECT_NE(vm, first);
    EXPECT_EQ(Get("lc-reg", "runtime.host") + " " + Get("lc-reg", "config.files.vmPathName"), Host("DC0_C0_H2") + " " + vmx);
    EXPECT_EQ(bridge->RegisterVM(vmx, "", "", "", "", vm), 0);
    EXPECT_EQ(Error(), "The specified key, name, or identifier '" + vmx + "' already exists.");

    std::string again = vm;
    ASSERT_EQ(bridge->ReregisterVM("", again), 1) << Error();
    EXPECT_NE(again, vm);
    EXPECT_EQ(again, Moref("lc-reg"));
    EXPECT_EQ(Get("lc-reg", "runtime.host"), Host("DC0_C0_H2")) << "back on its host";

    ASSERT_EQ(bridge->UnregisterVM(again, ""), 1) << Error();
    std::string uuid;
    ASSERT_EQ(bridge->RegisterVMWithNewUUID(vmx, "", "", uuid), 1) << Error();
    EXPECT_EQ(uuid, Get("lc-reg", "config.uuid"));
    EXPECT_NE(uuid, bios);
    EXPECT_EQ(uuid.substr(0, 2) + Get("lc-reg", "config.instanceUuid").substr(0, 2), "4250");
    ASSERT_EQ(bridge->DeleteVM(uuid, ""), 1) << Error();
    EXPECT_EQ(Moref("lc-reg"), "");
    EXPECT_FALSE(FileExists(vmx));
}

TEST_F(VimLifecycle, DisksGoInFreeSlotsAndLeaveWithOrWithoutTheirFiles)
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
    EXPECT_EQ(disks[0]({"capacityInKB", "thinProvisioned"}), "16777216 true") << "CreateVM's disk";
    EXPECT_EQ(disks[1]({"controllerKey", "unitNumber", "capacityInKB", "thinProvisioned"}), controllers[0]["key"] + " 1 1048576 true");
    EXPECT_EQ(disks[2]({"controllerKey", "unitNumber", "eagerlyScrub", "diskMode"}), controllers[1]["key"] + " 0 true independent_nonpersistent");

    ASSERT_EQ(bridge->RemoveDiskFromVM(vm, "", disks[1]["fileName"], false), 1) << Error();
    ASSERT_EQ(bridge->RemoveDiskFromVM(vm, "", disks[2]["key"], true), 1) << Error();
    EXPECT_EQ(Devices(vm, "VirtualDisk").size(), 1u);
    EXPECT_TRUE(FileExists(disks[1]["fileName"]));
    EXPECT_FALSE(FileExists(disks[2]["fileName"]));

    // The endpoint keeps no disk UUID: the request is what it received.
    ASSERT_EQ(bridge->ChangeDiskUUID(vm, disks[0]["fileName"], "6000C29A-1B2C-3D4E-8F90-A1B2C3D4E5F6"), 1) << Error();
    std::string request = LastRequest("SetVirtualDiskUuid");
    EXPECT_EQ(XmlText(request, "name") + "|" + XmlText(request, "datacenter") + "|" + XmlText(request, "uuid"),
              disks[0]["fileName"] + "|" + dc + "|60 00 c2 9a 1b 2c 3d 4e-8f 90 a1 b2 c3 d4 e5 f6");

    ASSERT_EQ(bridge->DeleteVMDiskFiles(vm, ""), 1) << Error();
    EXPECT_EQ(Devices(vm, "VirtualDisk").size(), 0u);
    EXPECT_FALSE(FileExists(disks[0]["fileName"]));

    EXPECT_FALSE(bridge->CheckVMConsolidateStatus(vm, ""));
    EXPECT_EQ(Error(), "");
    bool needed = true;
    EXPECT_FALSE(bridge->ConsolidateVMDisks(vm, "", needed));
    EXPECT_FALSE(needed);
    EXPECT_NE(Error().find("does not implement: ConsolidateVMDisks_Task"), std::string::npos) << Error();
}

TEST_F(VimLifecycle, ReconfigurationNetworksAndBootOptionsAreTheServers)
{
    SVMInfo info = Record("lc-rec", [](SVMInfo& r) { r.vmVersion = "vmx-11", r.memorySizeInMB = 256, r.diskList = {Disk(GiB, 2)}; });
    ASSERT_EQ(bridge->CreateVirtualMachine(info), 1) << Error();
    const std::string vm = "lc-rec", key = Devices(vm, "VirtualDisk").at(0)["key"];
    SVMInfo change = Record("", [&](SVMInfo& r) {
        r.strMoRef = Moref(vm), r.numOfCPU = 2, r.memorySizeInMB = 512, r.vmVersion = "vmx-13", r.strFirmware = "efi";
        r.diskList = {Disk(2 * GiB, 0, "", std::stoi(key))};
    });
    ASSERT_EQ(bridge->ReconfigureVM(change), 1) << Error();
    EXPECT_EQ(Get(vm, "config.hardware.numCPU") + " " + Get(vm, "config.hardware.memoryMB") + " " + Get(vm, "config.version") + " " +
                  Get(vm, "config.firmware") + " " + Devices(vm, "VirtualDisk").at(0)["capacityInKB"],
              "2 512 vmx-13 efi 2097152");
    EXPECT_NE(LastRequest("UpgradeVM_Task").find("<version>vmx-13</version>"), std::string::npos);

    info = Record("lc-net", [](SVMInfo& r) { r.networkCards = {Card("")}, r.diskList = {Disk(GiB, 2)}; });
    ASSERT_EQ(bridge->CreateVirtualMachine(info), 1) << Error();
    const std::string net = "lc-net", group = server.Moref("DistributedVirtualPortgroup", "DC0_DVPG0");
    ASSERT_TRUE(bridge->ReconfigureVMNetworks(net, "", {Card("DC0_DVPG0", "e1000")}, false)) << Error();
    EXPECT_EQ(Devices(net, "VirtualE1000").at(0)["portgroupKey"], group);
    // The endpoint's labels are its own ("ethernet-0"): the adapter is found by its number.
    ASSERT_TRUE(bridge->ReconfigureVMNetworks(net, "", {Card("DC0_DVPG0", "", "Network adapter 1")}, false)) << Error();
    EXPECT_EQ(Devices(net, "VirtualVmxnet3").at(0)["portgroupKey"], group);
    ASSERT_TRUE(bridge->ReconfigureVMNetworks(net, "", {Card("")}, true)) << Error();
    auto cards = Devices(net, "VirtualVmxnet3|VirtualE1000");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0]["network"], server.Moref("Network", "VM Network"));

    ASSERT_TRUE(bridge->ReconfigureVMBootOptions(net, "", {"cdrom", " Disk", "ethernet"}, true, true, false)) << Error();
    std::string boot = Get(net, "config.bootOptions");
    EXPECT_EQ(XmlText(boot, "enterBIOSSetup") + XmlText(boot, "bootRetryEnabled"), "truetrue");
    std::smatch order;
    ASSERT_TRUE(std::regex_search(boot, order, std::regex("BootableCdromDevice\".*BootableDiskDevice\"[^>]*><deviceKey>(\\d+)<.*"
                                                          "BootableEthernetDevice\"[^>]*><deviceKey>(\\d+)<")))
        << boot;
    EXPECT_EQ(order[1].str() + " " + order[2].str(), Devices(net, "VirtualDisk").at(0)["key"] + " " + cards[0]["key"]);
    ASSERT_TRUE(bridge->ReconfigureVMBootOptions(vm, "", {}, false, false, true)) << "lc-rec is EFI now: " << Error();
    EXPECT_EQ(XmlText(Get(vm, "config.bootOptions"), "efiSecureBootEnabled"), "true");
}

TEST_F(VimLifecycle, MovesClonesAndCustomizationsAreTheServersTasks)
{
    Create("lc-move", "DC0_C0_H0");
    const std::string vm = "lc-move";
    EXPECT_TRUE(bridge->CheckRelocatePrivilegeOnHost("DC0_C0_H1")) << Error();
    // To another compute resource: into its root pool.
    ASSERT_TRUE(bridge->RelocateVM(vm, "", "DC0_H0", "", "", false, {})) << Error();
    EXPECT_EQ(Get(vm, "runtime.host"), Host("DC0_H0"));
    EXPECT_EQ(Get(vm, "resourcePool"), RootPool("ComputeResource", server.Property("HostSystem", Host("DC0_H0"), "parent")));

    SDisk disk = Disk(0, 0, "", std::stoi(Devices(vm, "VirtualDisk").at(0)["key"]));
    disk.strDataStoreName = "LocalDS_0";
    std::string task = "stale";
    ASSERT_TRUE(bridge->RelocateVM_Task(vm, "", "DC0_C0_H2", "LocalDS_0", "", true, {disk}, task)) << Error();
    std::string info = server.Property("Task", task, "info");
    EXPECT_EQ(XmlText(info, "state") + " " + XmlText(info, "entity"), "success " + Moref(vm));
    EXPECT_EQ(Get(vm, "runtime.host"), Host("DC0_C0_H2"));
    std::string request = LastRequest("RelocateVM_Task");
    EXPECT_NE(request.find("<host type=\"HostSystem\">" + Host("DC0_C0_H2") + "</host><disk><diskId>" + std::to_string(disk.nDeviceKey) +
                           "</diskId><datastore type=\"Datastore\">" + server.Moref("Datastore", "LocalDS_0")),
              std::string::npos)
        << request;

    SVMInfo clone = Record("lc-clone", [](SVMInfo& r) { r.numOfCPU = 2, r.memorySizeInMB = 512; });
    ASSERT_EQ(bridge->CloneAndReConfigVM_Task(clone, vm, "DC0_C0_H1", task), 1) << Error();
    bool done = false, failed = true;
    int progress = 0;
    std::string made;
    ASSERT_TRUE(bridge->CheckNewVMTaskProgress(task, done, failed, progress, made)) << Error();
    EXPECT_TRUE(done && !failed);
    EXPECT_EQ(made, Moref("lc-clone"));
    EXPECT_EQ(Get("lc-clone", "runtime.powerState"), "poweredOff");
    EXPECT_EQ(Get("lc-clone", "resourcePool"), RootPool("ClusterComputeResource", server.Moref("ClusterComputeResource", "DC0_C0")));
    // The endpoint gives a clone its source's host and hardware: the location and configuration parts are what it received.
    request = LastRequest("CloneVM_Task");
    EXPECT_NE(request.find("<host type=\"HostSystem\">" + Host("DC0_C0_H1") + "</host></location><template>false</template><config><numCPUs>2"
                           "</numCPUs><memoryMB>512</memoryMB></config><powerOn>false</powerOn>"),
              std::string::npos)
        << request;

    SVMInfo target = Record("lc-clone");
    target.numEthernetCards = 1;
    ASSERT_EQ(bridge->CustomizeVM(target, "vcsim-linux"), 1) << Error();
    EXPECT_NE(Get("lc-clone", "config.tools.pendingCustomization"), "");
    EXPECT_NE(LastRequest("CustomizeVM_Task").find("<identity xsi:type=\"CustomizationLinuxPrep\">"), std::string::npos);
}

TEST_F(VimLifecycle, AFreeDiskBecomesAFirstClassDisk)
{
    Create("lc-fcd");
    const std::string file = Devices("lc-fcd", "VirtualDisk").at(0)["fileName"], rel = file.substr(file.find("] ") + 2);
    ASSERT_EQ(bridge->RemoveDiskFromVM("lc-fcd", "", file, false), 1) << Error();
    ASSERT_TRUE(bridge->RegisterFirstClassDisk("DC0_H0", "LocalDS_0", rel, "lc-disk", "DC0")) << Error();
    const std::string ds = "<datastore type=\"Datastore\">" + server.Moref("Datastore", "LocalDS_0") + "</datastore>";
    std::string id = XmlText(server.Call("ListVStorageObject", "VcenterVStorageObjectManager", "VStorageObjectManager", ds), "id");
    std::string object = server.Call("RetrieveVStorageObject", "VcenterVStorageObjectManager", "VStorageObjectManager", "<id><id>" + id + "</id></id>" + ds);
    EXPECT_EQ(XmlText(object, "name") + " " + XmlText(object, "filePath"), "lc-disk " + file);
    EXPECT_FALSE(bridge->RegisterFirstClassDisk("", "LocalDS_0", rel, "lc-disk2", ""));
    EXPECT_EQ(Error(), "A specified parameter was not correct: path") << "the server's answer for a disk it has";
    server.Call("DeleteVStorageObject_Task", "VcenterVStorageObjectManager", "VStorageObjectManager", "<id><id>" + id + "</id></id>" + ds);
}

} // namespace
