#if !NOCLASS && !EMPTY
using System.Collections.Generic;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // #3 and #4 receive the home's policy; the disks in #5 get theirs filled in (an empty list: every disk of the VM).
        public object GetVMStoragePolicies(string vm, string host, out string policyName, out string policyId, ref List<SDiskLib> disks)
        {
            policyName = null; policyId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null, null, disks);
            if (c != null) { c.Out(2, ref policyName); c.Out(3, ref policyId); c.Out(4, ref disks); return c.Result<bool>(); }
            string name = null, id = null;
            var list = disks;
            var r = Bool(() => client.GetVMStoragePolicies(vm, host, out name, out id, ref list));
            policyName = name; policyId = id; disks = list;
            return r;
        }

        public object AttachVMStoragePolicyToVMAndDisks(string vm, string host, string policyName, string policyId, List<SDiskLib> disks)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, policyName, policyId, disks);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.AttachVMStoragePolicyToVMAndDisks(vm, host, policyName, policyId, disks));
        }

        public object AttachVMStoragePolicyToVM(string vm, string host, string policyName, string policyId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, policyName, policyId);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.AttachVMStoragePolicyToVM(vm, host, policyName, policyId));
        }

        // Detaches the named policy (empty names: any) from the home and every disk, which fall back to the default.
        public object DetachVMStoragePolicyFromVM(string vm, string host, string policyName, string policyId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, policyName, policyId);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.DetachVMStoragePolicyFromVM(vm, host, policyName, policyId));
        }

        // #1 cluster, #2 filter id, #3 version, #4 the bundle's URL (.vib or .zip), #5 the cluster's datacenter (empty: any).
        public object InstallIOFilter(string cluster, string filter, string version, string vibUrl, string datacenter)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), cluster, filter, version, vibUrl, datacenter);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.InstallIOFilter(cluster, filter, version, vibUrl, datacenter));
        }

        // #3 a version that must match (empty: any). A filter that VMs still use stays.
        public object UninstallIOFilter(string cluster, string filter, string version)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), cluster, filter, version);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.UninstallIOFilter(cluster, filter, version));
        }

        // Fills #4, an SIOFilterResultLib passed as the object itself; true when every host of the cluster has the filter.
        public object GetIOFilterStatus(string cluster, string filter, string version, object result)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), cluster, filter, version, result);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.GetIOFilterStatus(cluster, filter, version, result));
        }

        public object GetIOFilterAttachedVMList(string cluster, string filter)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), cluster, filter);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetIOFilterAttachedVMList(cluster, filter));
        }
    }
}
#endif
