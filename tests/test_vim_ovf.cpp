// OVF import through the web-services client. Against the test endpoint: the VM the server makes, the bytes its lease
// receives (counted by its log: the endpoint's lease keeps no bytes), and that a failed or given-up import leaves no VM
// and no lease. Against a loopback responder: the requests as the API defines them, the bytes and headers of each
// upload, the progress the lease hears, and the abort after a refused upload, a refused progress or a failed lease.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <regex>

#include "Endpoint.h"
#include "Responder.h"
#include "TestSupport.h"

using namespace visdktest;
using VISDKCppBridge::CVISDKCppBridge;
using VMInfoStructs::SVMInfo;
using VMInfoStructs::SVMOptionValue;
using Request = Responder::Request;
using Reply = Responder::Reply;
namespace fs = std::filesystem;

namespace {

struct Disk {
    std::string href;
    int capacityMiB;
    size_t bytes;
};

// One VM: a SCSI controller with the disks, one adapter on the network "Appliance LAN".
std::string Descriptor(const std::string& name, const std::vector<Disk>& disks, const std::string& prolog = "")
{
    std::string files, sections, items;
    for (size_t i = 0; i < disks.size(); ++i) {
        std::string n = std::to_string(i + 1);
        files += "<File ovf:id=\"f" + n + "\" ovf:href=\"" + disks[i].href + "\"/>";
        sections += "<Disk ovf:diskId=\"d" + n + "\" ovf:fileRef=\"f" + n + "\" ovf:capacity=\"" + std::to_string(disks[i].capacityMiB) +
                    "\" ovf:capacityAllocationUnits=\"byte * 2^20\"/>";
        items += "<Item><rasd:HostResource>ovf:/disk/d" + n + "</rasd:HostResource><rasd:InstanceID>1" + n +
                 "</rasd:InstanceID><rasd:Parent>3</rasd:Parent><rasd:ResourceType>17</rasd:ResourceType></Item>";
    }
    return "<?xml version=\"1.0\"?>" + prolog + R"(<Envelope xmlns="http://schemas.dmtf.org/ovf/envelope/1"
  xmlns:ovf="http://schemas.dmtf.org/ovf/envelope/1" xmlns:rasd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_ResourceAllocationSettingData"
  xmlns:vssd="http://schemas.dmtf.org/wbem/wscim/1/cim-schema/2/CIM_VirtualSystemSettingData"><References>)" + files +
           "</References><DiskSection>" + sections + R"(</DiskSection><VirtualSystem ovf:id="x"><Name>)" + name + R"(</Name><VirtualHardwareSection>
  <System><vssd:InstanceID>0</vssd:InstanceID><vssd:VirtualSystemType>vmx-13</vssd:VirtualSystemType></System>
  <Item><rasd:InstanceID>3</rasd:InstanceID><rasd:ResourceSubType>lsilogic</rasd:ResourceSubType><rasd:ResourceType>6</rasd:ResourceType></Item>
  <Item><rasd:Connection>Appliance LAN</rasd:Connection><rasd:InstanceID>4</rasd:InstanceID><rasd:ResourceSubType>E1000</rasd:ResourceSubType>
    <rasd:ResourceType>10</rasd:ResourceType></Item>)" + items + "</VirtualHardwareSection></VirtualSystem></Envelope>";
}

// Bytes that differ everywhere, so a lost, doubled or reordered block shows.
std::string Content(size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>((seed = seed * 1664525u + 1013904223u) >> 24);
    return bytes;
}

// A folder of the test's own for descriptors and their disk files.
struct Folder {
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
    void Put(const std::string& name, const std::string& bytes) const { std::ofstream(path + name, std::ios::binary) << bytes; }
    // The descriptor's path; the disk files named plainly are written beside it.
    std::string Write(const std::string& name, const std::vector<Disk>& disks, const std::string& prolog = "") const
    {
        for (size_t i = 0; i < disks.size(); ++i)
            if (disks[i].href.find('/') == std::string::npos)
                Put(disks[i].href, Content(disks[i].bytes, static_cast<unsigned>(i + 1)));
        Put(name + ".ovf", Descriptor(name, disks, prolog));
        return path + name + ".ovf";
    }
    const std::string path = testing::TempDir() + "vim-ovf-" + std::to_string(getpid()) + "/";
};

class VimOvf : public ::testing::Test {
protected:
    void SetUp() override
    {
        TrustEndpoint();
        bridge = EndpointBridge();
    }
    void TearDown() override
    {
        for (const std::string& name : made)
            if (std::string moref = server.Moref("VirtualMachine", name); !moref.empty())
                server.Call("Destroy_Task", "VirtualMachine", moref);
    }
    bool Start(const std::string& path, const std::string& name, const std::vector<SVMOptionValue>& options = {})
    {
        made.push_back(name);
        info = SVMInfo();
        info.strName = name;
        return bridge->StartOVFImport(path, info, lease, uploads, options);
    }
    // What the endpoint answers a small POST to a lease URL: 200 while the lease lives, 404 after.
    int LeaseStatus(const std::string& url) const
    {
        std::string command = "curl -s -g -o /dev/null -w '%{http_code}' --cacert '" + e.cert + "' --data-binary probe '" + url + "'";
        char code[8] = {};
        if (FILE* pipe = popen(command.c_str(), "r")) {
            fread(code, 1, sizeof code - 1, pipe);
            pclose(pipe);
        }
        return atoi(code);
    }
    // The bytes the endpoint's leases say they received (its log), by "vm/file".
    static std::map<std::string, long long> Received()
    {
        std::ifstream in(std::string(getenv("VISDK_TEST_ENDPOINT")) + ".log");
        std::map<std::string, long long> bytes;
        static const std::regex line("nfc (?:POST|PUT) \\S*/([^/\\s]+/[^/\\s]+): transferred (\\d+) bytes");
        std::smatch match;
        for (std::string text; std::getline(in, text);)
            if (std::regex_search(text, match, line))
                bytes[match[1]] = std::stoll(match[2]);
        return bytes;
    }
    const Endpoint& e = Endpoint::Get();
    RawSoap server;
    std::unique_ptr<CVISDKCppBridge> bridge;
    Folder folder;
    SVMInfo info;
    std::string lease;
    std::vector<SVMOptionValue> uploads;
    std::vector<std::string> made;
};

TEST_F(VimOvf, TheServerMakesTheDescribedVmAndItsLeaseReceivesEveryDisk)
{
    const std::vector<Disk> disks = {{"two-1.vmdk", 8, 3 << 20}, {"two-2.vmdk", 16, (2 << 20) + 12345}};
    ASSERT_TRUE(Start(folder.Write("two", disks), "ovf-two", {{"network:Appliance LAN", "DC0_DVPG0"}, {"diskProvisioning", "thick"}}))
        << bridge->GetLastErrorString();
    std::string moref = server.Moref("VirtualMachine", "ovf-two");
    ASSERT_NE(moref, "") << "the VM exists from the start";
    EXPECT_EQ(info.strMoRef, moref);
    ASSERT_EQ(uploads.size(), 2u);
    for (size_t i = 0; i < disks.size(); ++i) {
        EXPECT_EQ(uploads[i].key, disks[i].href);
        EXPECT_EQ(uploads[i].value.rfind("https://" + e.host + ":" + e.port + "/nfc/", 0), 0u) << uploads[i].value;
    }
    EXPECT_TRUE(bridge->UpdateOVFImportProgress(lease, 10)) << bridge->GetLastErrorString();
    EXPECT_FALSE(bridge->UpdateOVFImportProgress(lease, 5));
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: percent");

    ASSERT_TRUE(bridge->FinishOVFImport(lease, info)) << bridge->GetLastErrorString();
    EXPECT_EQ(info.strMoRef, moref);
    ASSERT_EQ(info.diskList.size(), 2u);
    EXPECT_EQ(info.diskList[1].llMaxSizeInBytes, 16LL << 20);
    ASSERT_EQ(info.networkCards.size(), 1u);
    EXPECT_EQ(info.networkCards[0].networkName, "DC0_DVPG0");
    std::string devices = server.Property("VirtualMachine", moref, "config.hardware.device");
    EXPECT_EQ(XmlTexts(devices, "capacityInKB"), (std::vector<std::string>{"8192", "16384"})) << devices;
    EXPECT_EQ(XmlText(devices, "portgroupKey"), server.Moref("DistributedVirtualPortgroup", "DC0_DVPG0"));
    auto received = Received();
    EXPECT_EQ(received["ovf-two/disk-0.vmdk"], static_cast<long long>(disks[0].bytes));
    EXPECT_EQ(received["ovf-two/disk-1.vmdk"], static_cast<long long>(disks[1].bytes));
    EXPECT_EQ(LeaseStatus(uploads[0].value), 404) << "the lease is complete";

    // The server refuses a second VM in the same files, before any lease.
    std::string first = lease;
    EXPECT_FALSE(Start(folder.path + "two.ovf", "ovf-two"));
    EXPECT_EQ(bridge->GetLastErrorString().rfind("Cannot complete the operation because the file or folder ", 0), 0u) << bridge->GetLastErrorString();
    EXPECT_EQ(lease, first);
    auto all = server.All("VirtualMachine");
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const auto& vm) { return vm.second == "ovf-two"; }), 1);
    for (const std::string& id : {lease, std::string("no-such-lease")}) {
        EXPECT_FALSE(bridge->FinishOVFImport(id, info));
        EXPECT_EQ(bridge->GetLastErrorString(),
                  id == lease ? "The import '" + lease + "' has already ended."
                              : "The object 'vim.HttpNfcLease:" + id + "' has already been deleted or has not been completely created");
    }
}

TEST_F(VimOvf, AFailedOrGivenUpImportLeavesNoVmAndNoLease)
{
    // A disk file gone before its upload: the lease is aborted and the VM removed.
    ASSERT_TRUE(Start(folder.Write("vanishing", {{"vanishing.vmdk", 4, 1 << 20}}), "ovf-vanishing")) << bridge->GetLastErrorString();
    ASSERT_NE(server.Moref("VirtualMachine", "ovf-vanishing"), "");
    fs::remove(folder.path + "vanishing.vmdk");
    EXPECT_FALSE(bridge->FinishOVFImport(lease, info));
    EXPECT_EQ(bridge->GetLastErrorString(), "The local file " + folder.path + "vanishing.vmdk was not found");
    EXPECT_EQ(server.Moref("VirtualMachine", "ovf-vanishing"), "");
    EXPECT_EQ(LeaseStatus(uploads.at(0).value), 404);

    // An import still open when its session ends is given up.
    ASSERT_TRUE(Start(folder.Write("abandoned", {{"abandoned.vmdk", 4, 1 << 20}}), "ovf-abandoned")) << bridge->GetLastErrorString();
    EXPECT_EQ(LeaseStatus(uploads.at(0).value), 200);
    EXPECT_EQ(bridge->Disconnect(), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(server.Moref("VirtualMachine", "ovf-abandoned"), "");
    EXPECT_EQ(LeaseStatus(uploads[0].value), 404);
}

TEST_F(VimOvf, AStartItRefusesMakesNothing)
{
    struct Refusal {
        std::string prolog, href;
        std::vector<SVMOptionValue> options;
        std::string error; // the text starts so
    } cases[] = {
        {"<!DOCTYPE Envelope [<!ENTITY x SYSTEM \"file:///etc/hostname\">]>", "refused.vmdk", {}, "The OVF descriptor is not valid: "},
        {"", "../outside.vmdk", {}, "The OVF descriptor names the file '../outside.vmdk', which is not beside it."},
        {"", "/etc/hostname", {}, "The OVF descriptor names the file '/etc/hostname', which is not beside it."},
        {"", "refused.vmdk", {{"diskProvisioning", "sparse"}}, "A specified parameter was not correct: diskProvisioning"},
        {"", "refused.vmdk", {{"network:Appliance LAN", "No Such Net"}}, "The network 'No Such Net' was not found."},
        {"", "missing.vmdk", {}, "The file 'missing.vmdk' that the OVF descriptor names was not found beside it."},
    };
    for (const Refusal& c : cases) {
        std::string path = folder.Write("refused", {{c.href, 4, 4096}}, c.prolog);
        fs::remove(folder.path + "missing.vmdk");
        lease = "kept";
        EXPECT_FALSE(Start(path, "ovf-refused", c.options)) << c.error;
        EXPECT_EQ(bridge->GetLastErrorString().rfind(c.error, 0), 0u) << bridge->GetLastErrorString();
        EXPECT_EQ(lease, "kept");
        EXPECT_EQ(server.Moref("VirtualMachine", "ovf-refused"), "") << c.error;
    }
}

// ---- the wire, against a responder ----

enum class Failing { Nothing, Upload, Progress, Lease, Errors };

std::string Prop(const std::string& name, const std::string& type, const std::string& value)
{
    return "<propSet><name>" + name + "</name><val xsi:type=\"" + type + "\">" + value + "</val></propSet>";
}

std::string Ref(const std::string& name, const std::string& type, const std::string& id)
{
    return "<propSet><name>" + name + "</name><val xsi:type=\"ManagedObjectReference\" type=\"" + type + "\">" + id + "</val></propSet>";
}

std::string Refs(const std::string& name, const std::string& type, const std::string& id)
{
    return Prop(name, "ArrayOfManagedObjectReference", "<ManagedObjectReference type=\"" + type + "\">" + id + "</ManagedObjectReference>");
}

std::string Object(const std::string& type, const std::string& id, const std::string& props)
{
    return "<objects><obj type=\"" + type + "\">" + id + "</obj>" + props + "</objects>";
}

// A vCenter with one host, datastore and network importing "ovf-wire": a disk (POSTed to its device) and an ISO image
// (PUT: the server creates it). Its lease is initializing when first asked; CreateImportSpec warns, or fails.
Responder::Handler ImportServer(Failing failing)
{
    const std::string places =
        Object("Datacenter", "datacenter-1", Ref("vmFolder", "Folder", "group-v3")) +
        Object("Folder", "group-h4", Ref("parent", "Datacenter", "datacenter-1")) +
        Object("ComputeResource", "domain-s1",
               Ref("parent", "Folder", "group-h4") + Refs("host", "HostSystem", "host-1") + Ref("resourcePool", "ResourcePool", "resgroup-2")) +
        Object("HostSystem", "host-1", Ref("parent", "ComputeResource", "domain-s1") + Refs("datastore", "Datastore", "datastore-1")) +
        Object("Datastore", "datastore-1", Prop("name", "xsd:string", "ds1")) + Object("Network", "network-1", Prop("name", "xsd:string", "Lab Net"));
    const std::string note = std::string(failing == Failing::Errors ? "error" : "warning"),
                      notes = "<" + note + "><fault xsi:type=\"OvfUnsupportedType\"><name>x</name></fault><localizedMessage>Line 9: Unsupported " +
                              "hardware family 'vmx-99'.</localizedMessage></" + note + ">";
    const std::string devices = "<entity type=\"VirtualMachine\">vm-77</entity><deviceUrl><importKey>/ovf-wire/cdrom:0</importKey><url>http://*:1/nfc/"
                                "lease-9/image.iso</url></deviceUrl><deviceUrl><importKey>/ovf-wire/disk:0</importKey><url>http://*/nfc/lease-9/"
                                "disk-0.vmdk</url></deviceUrl>";
    const std::string leaseFault = "<fault xsi:type=\"InsufficientResourcesFault\"/><localizedMessage>No space on 'ds1'.</localizedMessage>";
    auto leaseReads = std::make_shared<int>(0);
    return [=](const Request& request) {
        Reply reply;
        const std::string& m = request.soapMethod;
        auto asks = [&](const std::string& text) { return m == "RetrievePropertiesEx" && request.body.find(text) != std::string::npos; };
        std::string inner;
        if (request.path.rfind("/nfc/", 0) == 0) {
            reply.status = failing == Failing::Upload ? 500 : 200;
            return reply;
        } else if (m == "RetrieveServiceContent")
            inner = "<returnval><rootFolder type=\"Folder\">group-d1</rootFolder><propertyCollector type=\"PropertyCollector\">pc</propertyCollector>"
                    "<viewManager type=\"ViewManager\">vm</viewManager><sessionManager type=\"SessionManager\">sm</sessionManager>"
                    "<ovfManager type=\"OvfManager\">OvfManager</ovfManager></returnval>";
        else if (Responder::AnswerSession(request, reply))
            return reply;
        else if (m == "CreateContainerView")
            inner = "<returnval type=\"ContainerView\">view</returnval>";
        else if (asks("ContainerView"))
            inner = "<returnval>" + places + "</returnval>";
        else if (m == "CreateImportSpec")
            inner = "<returnval><importSpec xsi:type=\"VirtualMachineImportSpec\"><configSpec><name>ovf-wire</name>"
                    "<annotation>as returned</annotation></configSpec></importSpec><fileItem><deviceId>/ovf-wire/disk:0</deviceId>"
                    "<path>wire.vmdk</path><create>false</create></fileItem><fileItem><deviceId>/ovf-wire/cdrom:0</deviceId>"
                    "<path>wire.iso</path><create>true</create></fileItem>" +
                    notes + "</returnval>";
        else if (m == "ImportVApp")
            inner = "<returnval type=\"HttpNfcLease\">lease-9</returnval>";
        else if (asks("<type>HttpNfcLease</type>")) {
            std::string state = ++*leaseReads == 1 ? "initializing" : failing == Failing::Lease ? "error" : "ready";
            inner = "<returnval>" +
                    Object("HttpNfcLease", "lease-9",
                           Prop("state", "HttpNfcLeaseState", state) + Prop("info", "HttpNfcLeaseInfo", devices) +
                               (state == "error" ? Prop("error", "LocalizedMethodFault", leaseFault) : "")) +
                    "</returnval>";
        } else if (asks("<type>Task</type>"))
            inner = "<returnval>" + Object("Task", "task-5", Prop("info", "TaskInfo", "<state>success</state>")) + "</returnval>";
        else if (m == "RetrievePropertiesEx")
            inner = "<returnval>" + Object("VirtualMachine", "vm-77", Prop("name", "xsd:string", "ovf-wire")) + "</returnval>";
        else if (m == "HttpNfcLeaseProgress" && failing == Failing::Progress) {
            reply.status = 500, reply.body = Responder::Fault("InvalidState", "The lease has timed out.");
            return reply;
        } else if (m == "Destroy_Task")
            inner = "<returnval type=\"Task\">task-5</returnval>";
        reply.body = Responder::Response(m, inner);
        return reply;
    };
}

class VimOvfWire : public ::testing::Test {
protected:
    void Run(Failing failing)
    {
        server = std::make_unique<Responder>(ImportServer(failing));
        Bridge();
        bridge = std::make_unique<CVISDKCppBridge>();
        std::string url = server->Url(), vm;
        bridge->SetVMFocus(url, vm, 0);
        ASSERT_EQ(bridge->Connect(url, "tester", "pw"), 1) << bridge->GetLastErrorString();
        folder.Put("wire.vmdk", disk);
        folder.Put("wire.iso", image);
        folder.Put("wire.ovf", Descriptor("ovf-wire", {{"wire.vmdk", 8, disk.size()}}));
    }
    bool Start() { return bridge->StartOVFImport(folder.path + "wire.ovf", info, lease, uploads, {{"network:Appliance LAN", "Lab Net"}}); }
    // The requests from the first of that SOAP method on: SOAP methods by name, the rest as "METHOD path".
    std::vector<std::string> From(const std::string& first) const
    {
        std::vector<std::string> sent;
        for (const Request& r : server->Requests())
            if (!sent.empty() || r.soapMethod == first)
                sent.push_back(r.soapMethod.empty() ? r.method + " " + r.path : r.soapMethod);
        return sent;
    }
    std::string Bodies(const std::string& soapMethod) const
    {
        std::string bodies;
        for (const Request& r : server->Requests())
            bodies += r.soapMethod == soapMethod ? r.body : "";
        return bodies;
    }
    const std::string disk = Content((3 << 20) + 777, 7), image = Content(300000, 9);
    Folder folder;
    std::unique_ptr<Responder> server;
    std::unique_ptr<CVISDKCppBridge> bridge;
    SVMInfo info;
    std::string lease;
    std::vector<SVMOptionValue> uploads;
};

TEST_F(VimOvfWire, EachFileGoesAsItsDeviceWantsAndTheLeaseHearsTheProgress)
{
    Run(Failing::Nothing);
    ASSERT_TRUE(Start()) << bridge->GetLastErrorString();
    EXPECT_EQ(bridge->GetLastErrorString(), "The server warns about the OVF descriptor: Line 9: Unsupported hardware family 'vmx-99'.");
    EXPECT_EQ(lease, "lease-9");
    const std::string base = server->Url().substr(0, server->Url().size() - 4);
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_TRUE(uploads[0].key == "wire.vmdk" && uploads[0].value == base + "/nfc/lease-9/disk-0.vmdk") << uploads[0].value;
    EXPECT_TRUE(uploads[1].key == "wire.iso" && uploads[1].value == base + "/nfc/lease-9/image.iso") << "the client's port: " << uploads[1].value;
    const std::string asked = Bodies("CreateImportSpec"), imported = Bodies("ImportVApp");
    EXPECT_NE(asked.find("<ovfDescriptor>&lt;Envelope xmlns=\"http://schemas.dmtf.org/ovf/envelope/1\""), std::string::npos) << asked;
    EXPECT_NE(asked.find("<resourcePool type=\"ResourcePool\">resgroup-2</resourcePool><datastore type=\"Datastore\">datastore-1</datastore>"
                         "<cisp><locale></locale><deploymentOption></deploymentOption><entityName>ovf-wire</entityName>"
                         "<hostSystem type=\"HostSystem\">host-1</hostSystem><networkMapping><name>Appliance LAN</name>"
                         "<network type=\"Network\">network-1</network></networkMapping><diskProvisioning>thin</diskProvisioning></cisp>"),
              std::string::npos)
        << asked;
    EXPECT_NE(imported.find("<spec xsi:type=\"VirtualMachineImportSpec\"><configSpec><name>ovf-wire</name><annotation>as returned</annotation>"
                            "</configSpec></spec><folder type=\"Folder\">group-v3</folder><host type=\"HostSystem\">host-1</host>"),
              std::string::npos)
        << "the server's importSpec as it came: " << imported;

    ASSERT_TRUE(bridge->FinishOVFImport(lease, info)) << bridge->GetLastErrorString();
    EXPECT_EQ(info.strName, "ovf-wire");
    std::vector<Request> files;
    std::vector<int> percents;
    for (const Request& r : server->Requests()) {
        if (r.soapMethod.empty())
            files.push_back(r);
        if (r.soapMethod == "HttpNfcLeaseProgress")
            percents.push_back(std::stoi(XmlText(r.body, "percent")));
    }
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].method + " " + files[0].path, "POST /nfc/lease-9/disk-0.vmdk");
    EXPECT_NE(files[0].head.find("Content-Type: application/x-vnd.vmware-streamVmdk"), std::string::npos) << files[0].head;
    EXPECT_TRUE(files[0].body == disk) << "the disk's bytes, all and in order";
    EXPECT_EQ(files[1].method + " " + files[1].path, "PUT /nfc/lease-9/image.iso");
    EXPECT_NE(files[1].head.find("Overwrite: t"), std::string::npos) << files[1].head;
    EXPECT_TRUE(files[1].body == image);
    // The share of all bytes, rising as they go; then complete, and nothing more to the lease.
    ASSERT_GE(percents.size(), 3u);
    EXPECT_EQ(std::adjacent_find(percents.begin(), percents.end(), std::greater_equal<int>()), percents.end());
    EXPECT_EQ(percents.back(), 100);
    std::vector<std::string> done = From("HttpNfcLeaseComplete");
    ASSERT_FALSE(done.empty());
    auto toLease = [](const std::string& m) { return m.find("HttpNfcLease") == 0 || m.find("/nfc/") != std::string::npos; };
    EXPECT_EQ(std::count_if(done.begin(), done.end(), toLease), 1)
        << "complete after the last byte and the last progress";
    EXPECT_EQ(server->Count("HttpNfcLeaseAbort"), 0);
}

TEST_F(VimOvfWire, AFailureAfterTheLeaseAbortsItAndRemovesTheVm)
{
    const struct {
        Failing failing;
        std::string error;
    } cases[] = {
        {Failing::Upload, "The server answered 500 (Internal Server Error) to POST /nfc/lease-9/disk-0.vmdk"},
        {Failing::Progress, "The lease has timed out."},
        {Failing::Lease, "No space on 'ds1'."},
        {Failing::Errors, "The server cannot import the OVF descriptor: Line 9: Unsupported hardware family 'vmx-99'."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        Run(c.failing);
        // An upload or a progress report fails after a start that succeeded; the others fail the start.
        EXPECT_EQ(Start(), c.failing == Failing::Upload || c.failing == Failing::Progress);
        if (c.failing == Failing::Upload) {
            EXPECT_FALSE(bridge->FinishOVFImport(lease, info));
        } else if (c.failing == Failing::Progress) {
            EXPECT_FALSE(bridge->UpdateOVFImportProgress(lease, 50));
        }
        EXPECT_EQ(bridge->GetLastErrorString(), c.error);
        std::vector<std::string> after = From("HttpNfcLeaseAbort");
        if (c.failing == Failing::Errors) {
            EXPECT_EQ(server->Count("ImportVApp") + after.size(), 0u) << "nothing made, nothing to abort";
            continue;
        }
        const std::string abort = Bodies("HttpNfcLeaseAbort");
        const std::string why = "<fault><fault xsi:type=\"SystemError\"><reason>" + c.error + "</reason></fault><localizedMessage>" + c.error;
        EXPECT_NE(abort.find(why), std::string::npos)
            << "the lease hears why: " << abort;
        EXPECT_NE(std::find(after.begin(), after.end(), "Destroy_Task"), after.end()) << "a VM the server kept goes too";
        EXPECT_EQ(server->Count("HttpNfcLeaseComplete"), 0);
        EXPECT_FALSE(bridge->FinishOVFImport("lease-9", info));
        EXPECT_EQ(bridge->GetLastErrorString(), "The import 'lease-9' has already ended.");
    }
}

} // namespace
