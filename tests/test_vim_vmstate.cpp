// Tasks and the simple VM operations through the web-services client against the test endpoint, checked against
// what the server holds: names, UUIDs, annotation, managing extension, adapters and hardware versions.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "Endpoint.h"
#include "TestSupport.h"

using namespace visdktest;

namespace {

class VimVmState : public EndpointVmTest {
protected:
    VimVmState() : EndpointVmTest("DC0_C0_RP0_VM0") {}
    // A task of the server's own, started over the raw session.
    std::string Start(const std::string& method, const std::string& arguments = "")
    {
        return XmlText(server.Call(method, "VirtualMachine", moref, arguments), "returnval");
    }
    std::string Clone(const std::string& name)
    {
        return Start("CloneVM_Task", "<folder type=\"Folder\">" + Get("parent") + "</folder><name>" + name +
                                         "</name><spec><location/><powerOn>false</powerOn><template>false</template></spec>");
    }
    std::vector<std::string> Adapters(const std::string& type)
    {
        std::string devices = Get("config.hardware.device");
        std::vector<std::string> found;
        std::regex device("<VirtualDevice [^>]*type=\"" + type + "\">([\\s\\S]*?)</VirtualDevice>");
        for (auto it = std::sregex_iterator(devices.begin(), devices.end(), device); it != std::sregex_iterator(); ++it)
            found.push_back((*it)[1].str());
        return found;
    }
};

TEST_F(VimVmState, TaskStateResultAndFaultAreTheServers)
{
    // Powering on a powered-on VM fails with a Go type name as the message: ours comes from the fault's type.
    std::string task = Start("PowerOnVM_Task");
    ASSERT_EQ(XmlText(server.Property("Task", task, "info"), "localizedMessage"), "*types.InvalidPowerState");
    const std::string text = "The attempted operation cannot be performed in the current state (Powered on).";
    bool done = false, failed = false;
    int progress = -1;
    EXPECT_TRUE(bridge->CheckTaskProgress(task, done, failed, progress));
    EXPECT_TRUE(done && failed);
    EXPECT_EQ(progress, 100);
    EXPECT_EQ(bridge->GetLastErrorString(), text);
    done = failed = false;
    EXPECT_FALSE(bridge->WaitForTask(task, 0, done, failed));
    EXPECT_TRUE(done && failed);
    EXPECT_EQ(bridge->GetLastErrorString(), text);
    EXPECT_FALSE(bridge->CheckTaskProgress("", done, failed, progress));
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: task");

    std::string made = "stale";
    std::string cloneTask = Clone("vimstate-clone");
    EXPECT_TRUE(bridge->CheckNewVMTaskProgress(cloneTask, done, failed, progress, made)) << bridge->GetLastErrorString();
    EXPECT_TRUE(done && !failed);
    EXPECT_EQ(made, server.Moref("VirtualMachine", "vimstate-clone"));
    EXPECT_EQ(bridge->GetLastErrorString(), "");
    server.Call("Destroy_Task", "VirtualMachine", made);
    // A task that made no VM (its result is a snapshot) gives none.
    EXPECT_TRUE(bridge->CheckNewVMTaskProgress(Start("CreateSnapshot_Task", "<name>s</name><memory>false</memory><quiesce>false</quiesce>"),
                                               done, failed, progress, made));
    EXPECT_EQ(made, "");
    server.Call("RemoveAllSnapshots_Task", "VirtualMachine", moref);

    // The endpoint finishes every task inside its request: none is ever running on the VM.
    std::string running = "kept", description = "kept";
    EXPECT_FALSE(bridge->CheckForRunningTasksOnVM(vm, "", running, description));
    EXPECT_FALSE(bridge->IsRelocateTaskInProgress(vm, "", running));
    EXPECT_EQ(bridge->GetLastErrorString(), "");
    EXPECT_EQ(running, "kept");
}

TEST_F(VimVmState, MethodsTheEndpointLacksFailWithItsAnswer)
{
    std::string task = Start("PowerOnVM_Task");
    const struct {
        const char* method;
        std::function<bool()> call;
    } cases[] = {
        {"CancelTask", [&] { return bridge->CancelTask(task); }},
        {"Reload", [&] { return bridge->ReloadVM(vm, "") != 0; }},
        {"MountToolsInstaller", [&] { return bridge->MountVMTools(moref, "") != 0; }},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.call()) << c.method;
        EXPECT_NE(bridge->GetLastErrorString().find(std::string("does not implement: ") + c.method), std::string::npos)
            << bridge->GetLastErrorString();
    }
}

TEST_F(VimVmState, NameAnnotationAndManagingExtensionAreTheServers)
{
    // The focus is set before connecting (SetVMFocus begins a new client) and follows the rename.
    bridge = EndpointBridge(false);
    std::string focusServer = Endpoint::Get().url, focusVm = vm;
    ASSERT_EQ(bridge->SetVMFocus(focusServer, focusVm, 0), 1);
    ASSERT_EQ(bridge->Connect("", Endpoint::Get().user, Endpoint::Get().password), 1) << bridge->GetLastErrorString();
    ASSERT_EQ(bridge->RenameVM("", "", "vimstate-renamed"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Get("name"), "vimstate-renamed");
    EXPECT_EQ(bridge->AnnotateVM("", "", "Backed up <nightly> & checked \xE2\x9C\x93"), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Get("config.annotation"), "Backed up &lt;nightly&gt; &amp; checked \xE2\x9C\x93");
    EXPECT_EQ(bridge->RenameVM(moref, "", vm), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Get("name"), vm);
    // Another VM of the folder holds the name: the failed task's fault is an invalid argument.
    EXPECT_EQ(bridge->RenameVM(vm, "", "DC0_C0_RP0_VM1"), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: name");
    EXPECT_EQ(bridge->RenameVM(vm, "", std::string(81, 'x')), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: newName");

    EXPECT_EQ(bridge->SetVMManagedByZantrel(vm, ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(XmlText(Get("config.managedBy"), "extensionKey"), "com.zantrel.backup");
    EXPECT_EQ(bridge->UnSetVMManagedByExtension(vm, ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(XmlText(Get("config.managedBy"), "extensionKey"), "");
    // No alarm has fired on the endpoint: there is nothing to acknowledge.
    EXPECT_EQ(Get("triggeredAlarmState"), "");
    EXPECT_TRUE(bridge->ClearVMAlarms(vm, "")) << bridge->GetLastErrorString();
}

TEST_F(VimVmState, UuidsChangeOnlyWhilePoweredOff)
{
    const std::string bios = Get("config.uuid"), instance = Get("config.instanceUuid");
    const std::string newBios = "4211aaaa-bbbb-cccc-dddd-000000000001";
    EXPECT_EQ(bridge->ReConfigureUUID(vm, "", newBios, ""), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The attempted operation cannot be performed in the current state (Powered on).");

    Start("PowerOffVM_Task");
    EXPECT_EQ(bridge->ReConfigureUUID(vm, "", "not-a-uuid", ""), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "A specified parameter was not correct: uuid");
    std::string taken = server.Property("VirtualMachine", server.Moref("VirtualMachine", "DC0_C0_RP0_VM1"), "config.instanceUuid");
    EXPECT_EQ(bridge->ReConfigureUUID(vm, "", "", taken), 0);
    EXPECT_EQ(bridge->GetLastErrorString(), "The instance UUID '" + taken + "' is already in use.");
    EXPECT_EQ(bridge->ReConfigureUUID(vm, "", "4211AAAA-BBBB-CCCC-DDDD-000000000001", ""), 1) << bridge->GetLastErrorString();
    EXPECT_EQ(Get("config.uuid"), newBios);
    EXPECT_EQ(Get("config.instanceUuid"), instance) << "an empty UUID is kept";
    EXPECT_EQ(bridge->ReConfigureUUID(newBios, "", bios, instance), 1) << "found by its new UUID: " << bridge->GetLastErrorString();
    EXPECT_EQ(Get("config.uuid"), bios);
}

TEST_F(VimVmState, AdaptersGoOnNetworksByNameAndTheFirstOnANetworkIsRemoved)
{
    // On a clone, destroyed at the end: its own adapter is removed here.
    ASSERT_EQ(XmlText(server.Property("Task", Clone("vimstate-nics"), "info"), "state"), "success");
    moref = server.Moref("VirtualMachine", "vimstate-nics");
    const std::string clone = "vimstate-nics", group = server.Moref("DistributedVirtualPortgroup", "DC0_DVPG0");
    ASSERT_EQ(Adapters("VirtualE1000").size(), 1u);
    ASSERT_EQ(XmlText(Adapters("VirtualE1000")[0], "portgroupKey"), group);

    ASSERT_TRUE(bridge->AddVirtualNetwork(clone, "VM Network")) << bridge->GetLastErrorString();
    ASSERT_TRUE(bridge->AddVirtualNetwork(clone, group)) << bridge->GetLastErrorString();
    auto added = Adapters("VirtualVmxnet3");
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(XmlText(added[0], "network"), server.Moref("Network", "VM Network"));
    EXPECT_EQ(XmlText(added[1], "portgroupKey"), group);
    std::string dvs = server.Property("DistributedVirtualPortgroup", group, "config.distributedVirtualSwitch");
    EXPECT_EQ(XmlText(added[1], "switchUuid"), server.Property("DistributedVirtualSwitch", dvs, "uuid"));
    EXPECT_FALSE(bridge->AddVirtualNetwork(clone, "no-such-network"));
    EXPECT_EQ(bridge->GetLastErrorString(), "The network 'no-such-network' was not found.");

    EXPECT_TRUE(bridge->RemoveVirtualNetwork(clone, "VM Network")) << bridge->GetLastErrorString();
    EXPECT_FALSE(bridge->RemoveVirtualNetwork(clone, "VM Network"));
    EXPECT_EQ(bridge->GetLastErrorString(), "The virtual machine '" + clone + "' has no adapter on network 'VM Network'.");
    EXPECT_TRUE(bridge->RemoveVirtualNetwork(clone, "DC0_DVPG0")) << bridge->GetLastErrorString();
    EXPECT_EQ(Adapters("VirtualE1000").size(), 0u);
    EXPECT_EQ(Adapters("VirtualVmxnet3").size(), 1u);

    server.Call("Destroy_Task", "VirtualMachine", moref);
    moref = server.Moref("VirtualMachine", vm);
}

TEST_F(VimVmState, ResetConnectsEveryAdapterOfAPoweredOnVm)
{
    ASSERT_EQ(XmlText(Adapters("VirtualE1000").at(0), "connected"), "false") << "the endpoint starts them unconnected";
    for (int round = 0; round < 2; round++) {
        EXPECT_TRUE(bridge->ResetNetworkConnections(vm, "")) << bridge->GetLastErrorString();
        EXPECT_EQ(XmlText(Adapters("VirtualE1000")[0], "connected"), "true") << round;
        EXPECT_EQ(XmlText(Adapters("VirtualE1000")[0], "startConnected"), "true") << round;
    }
    Start("PowerOffVM_Task");
    EXPECT_FALSE(bridge->ResetNetworkConnections(vm, ""));
    EXPECT_EQ(bridge->GetLastErrorString(), "The attempted operation cannot be performed in the current state (Powered off).");
}

TEST_F(VimVmState, HardwareVersionIsCheckedAgainstTheHostsEnvironment)
{
    EXPECT_TRUE(bridge->VerifyVMXVersionForHost(vm, "")) << bridge->GetLastErrorString();
    EXPECT_TRUE(bridge->VerifyVMXVersionForHost(vm, "DC0_H0")) << bridge->GetLastErrorString();
    EXPECT_FALSE(bridge->VerifyVMXVersionForHost(vm, "no-such-host"));
    EXPECT_EQ(bridge->GetLastErrorString(), "The host 'no-such-host' was not found.");

    std::string host = server.Property("HostSystem", Get("runtime.host"), "name");
    Start("ReconfigVM_Task", "<spec><version>vmx-99</version></spec>");
    EXPECT_FALSE(bridge->VerifyVMXVersionForHost(vm, ""));
    EXPECT_EQ(bridge->GetLastErrorString(), "The virtual machine version vmx-99 is not supported by host '" + host + "' (at most vmx-13).");
    Start("ReconfigVM_Task", "<spec><version>vmx-13</version></spec>");
    EXPECT_EQ(Get("config.version"), "vmx-13");
}

} // namespace
