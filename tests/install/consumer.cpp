// A host program built only against the installed headers and library.
#include <VISDKCppBridge/VISDKCppBridge.h>

#include <cstdio>

#ifdef __MONO_JIT_JIT_H__
#error "the bridge headers must not need the runtime's headers"
#endif

int main()
{
    VISDKCppBridge::CVISDKCppBridge bridge;
    std::string server = "vcenter.sim.local", vm;
    if (bridge.SetVMFocus(server, vm, 0) != 1)
        return 1;
    int connected = bridge.Connect("vcenter.sim.local", "administrator@vsphere.local", "VMware1!");
    std::printf("connected %d vcenter %d\n", connected, bridge.IsVCenterConnection() ? 1 : 0);
    bridge.Disconnect();
    bridge.Cleanup();
    return connected == 1 ? 0 : 2;
}
