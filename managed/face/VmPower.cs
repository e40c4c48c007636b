#if !NOCLASS && !EMPTY
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        public object PowerOnVM(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.PowerOnVM(vm, host));
        }

        public object SuspendVM(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.SuspendVM(vm, host));
        }

        public object PowerOffVM(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.PowerOffVM(vm, host));
        }

        public object ShutdownVM(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.ShutdownVM(vm, host));
        }

        public object ReloadVM(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.ReloadVM(vm, host));
        }

        public object MountVMTools(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.MountVMTools(vm, host));
        }

        public object MarkAsTemplate(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.MarkAsTemplate(vm, host));
        }

        public object RenameVM(string vm, string host, string newName)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, newName);
            if (c != null) return c.Result<int>();
            return Int(() => client.RenameVM(vm, host, newName));
        }

        // #3 is the new BIOS UUID, #4 the new instance UUID; an empty one is left unchanged.
        public object Reconfig_UUID(string vm, string host, string biosUuid, string instanceUuid)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, biosUuid, instanceUuid);
            if (c != null) return c.Result<int>();
            return Int(() => client.Reconfig_UUID(vm, host, biosUuid, instanceUuid));
        }

        public object AnnotateVM(string vm, string host, string annotation)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, annotation);
            if (c != null) return c.Result<int>();
            return Int(() => client.AnnotateVM(vm, host, annotation));
        }

        public object ClearVMAlarms(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.ClearVMAlarms(vm, host));
        }

        public object ResetNetworkConnections(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.ResetNetworkConnections(vm, host));
        }

        // #2 names the network to which a new adapter is connected.
        public object AddVirtualNetwork(string vm, string network)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, network);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.AddVirtualNetwork(vm, network));
        }

        public object RemoveVirtualNetwork(string vm, string network)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, network);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.RemoveVirtualNetwork(vm, network));
        }

        public object VerifyVMXVersionForHost(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.VerifyVMXVersionForHost(vm, host));
        }

        public object SetVMManagedByZantrel(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.SetVMManagedByZantrel(vm, host));
        }

        public object UnSetVMManagedByExtension(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.UnSetVMManagedByExtension(vm, host));
        }
    }
}
#endif
