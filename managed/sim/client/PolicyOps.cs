#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        internal static Disk MatchDisk(Vm v, SDiskLib d)
        {
            return v.Disks.FirstOrDefault(x => d.nDeviceKey != 0 && x.Key == d.nDeviceKey)
                ?? v.Disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strUUID) && string.Equals(x.Uuid, d.strUUID, StringComparison.OrdinalIgnoreCase))
                ?? v.Disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strFileName) && x.FileOf(v, 0) == d.strFileName)
                ?? v.Disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strLabel) && x.Label == d.strLabel);
        }

        internal static Disk NeedDisk(Vm v, SDiskLib d)
        {
            var found = MatchDisk(v, d);
            if (found == null) throw new SimFault("A specified parameter was not correct: deviceKey (" + (d.nDeviceKey != 0 ? d.nDeviceKey.ToString() : d.strFileName ?? d.strLabel) + ")");
            return found;
        }

        StoragePolicy GetPolicy(string name, string id)
        {
            var p = Sim.FindPolicy(name, id);
            if (p == null) throw new SimFault("The storage policy '" + (string.IsNullOrEmpty(id) ? name : id) + "' was not found.");
            return p;
        }

        static void NamePolicy(string id, out string name, out string policyId)
        {
            var p = Sim.PolicyById(id) ?? Sim.FindPolicy(null, Sim.DefaultPolicyId);
            name = p == null ? "" : p.Name;
            policyId = p == null ? "" : p.Id;
        }

        public bool GetVMStoragePolicies(string vm, string host, out string policyName, out string policyId, ref List<SDiskLib> disks)
        {
            policyName = null; policyId = null;
            var given = disks;
            var v = GetVm(vm, "StorageProfile.View");
            NamePolicy(v.PolicyId, out policyName, out policyId);
            var filled = new List<SDiskLib>();
            disks = filled;
            var wanted = given == null || given.Count == 0 ? v.Disks.Select(d => Sim.DiskRecordOf(v, d)).ToList() : given;
            foreach (var record in wanted)
            {
                var copy = record;
                var d = NeedDisk(v, record);
                NamePolicy(d.PolicyId, out copy.vmStoragePolicyName, out copy.vmStoragePolicyId);
                filled.Add(copy);
            }
            return true;
        }

        void AttachPolicy(string vm, string name, string id, List<SDiskLib> disks, bool home)
        {
            var v = GetVm(vm, "VirtualMachine.Config.Settings");
            var p = GetPolicy(name, id);
            Sim.NeedFilterFor(v, p);
            var targets = disks == null ? v.Disks : disks.Select(d => NeedDisk(v, d)).ToList();
            if (home) v.PolicyId = p.Id;
            foreach (var d in targets) d.PolicyId = p.Id;
        }

        public bool AttachVMStoragePolicyToVMAndDisks(string vm, string host, string policyName, string policyId, List<SDiskLib> disks)
        {
            AttachPolicy(vm, policyName, policyId, disks ?? new List<SDiskLib>(), true);
            return true;
        }

        public bool AttachVMStoragePolicyToVM(string vm, string host, string policyName, string policyId)
        {
            AttachPolicy(vm, policyName, policyId, null, true);
            return true;
        }

        public bool DetachVMStoragePolicyFromVM(string vm, string host, string policyName, string policyId)
        {
            var v = GetVm(vm, "VirtualMachine.Config.Settings");
            var any = string.IsNullOrEmpty(policyName) && string.IsNullOrEmpty(policyId);
            var p = any ? null : GetPolicy(policyName, policyId);
            Func<string, bool> matches = x => x != null && (any || x == p.Id);
            if (!matches(v.PolicyId) && !v.Disks.Any(d => matches(d.PolicyId)))
                throw new SimFault("The storage policy '" + (any ? "" : p.Name) + "' is not attached to '" + v.Name + "'.");
            if (matches(v.PolicyId)) v.PolicyId = null;
            foreach (var d in v.Disks.Where(d => matches(d.PolicyId))) d.PolicyId = null;
            return true;
        }

        public bool InstallIOFilter(string cluster, string filter, string version, string vibUrl, string datacenter)
        {
            Auth();
            var cl = Sim.GetCluster(cluster);
            Need("Host.Config.Patch", "vim.ClusterComputeResource:" + cl.Moref);
            if (!string.IsNullOrEmpty(datacenter) && cl.Dc.Name != datacenter && cl.Dc.Moref != datacenter)
                throw new SimFault("The cluster '" + cluster + "' is not in datacenter '" + datacenter + "'.");
            ManagementRules.CheckFilterInstall(filter, version, vibUrl);
            var old = Sim.FindFilter(cl, filter, null);
            if (old != null && old.Version == version && old.Failed.Count == 0)
                throw new SimFault("The IO filter '" + filter + "' version " + version + " is already installed on cluster '" + cl.Name + "'.");
            if (old != null) Sim.Filters.Remove(old);
            var f = new FilterInstall { Id = filter, Version = version, Vib = vibUrl, Cluster = cl };
            foreach (var h in cl.Hosts.Where(h => h.ConnectionState != 0 || h.Maintenance))
                f.Failed[h.Name] = h.ConnectionState != 0 ? "Host '" + h.Name + "' is not connected." : "Host '" + h.Name + "' is in maintenance mode.";
            Sim.Filters.Add(f);
            return f.Failed.Count == 0;
        }

        public bool UninstallIOFilter(string cluster, string filter, string version)
        {
            Auth();
            var cl = Sim.GetCluster(cluster);
            Need("Host.Config.Patch", "vim.ClusterComputeResource:" + cl.Moref);
            var f = Sim.FindFilter(cl, filter, version);
            if (f == null) throw new SimFault("The IO filter '" + filter + "' is not installed on cluster '" + cl.Name + "'.");
            var users = Sim.Vms.Where(v => Sim.ComputeOf(v) == cl && Sim.UsesFilter(v, filter)).Select(v => v.Name).ToList();
            if (users.Count > 0) throw new SimFault("The IO filter '" + filter + "' is in use by: " + string.Join(", ", users) + ".");
            Sim.Filters.Remove(f);
            return true;
        }

        public bool GetIOFilterStatus(string cluster, string filter, string version, object result)
        {
            Auth();
            var cl = Sim.GetCluster(cluster);
            var f = Sim.FindFilter(cl, filter, version);
            var status = new SIOFilterResultLib
            {
                strId = filter, strVersion = f == null ? "" : f.Version,
                eFilterState = f == null ? Sim.FilterNotInstalled : f.Failed.Count == 0 ? Sim.FilterInstalled : Sim.FilterPartial,
                eFilterInstallStatus = f == null ? Sim.InstallNone : f.Failed.Count == 0 ? Sim.InstallSucceeded : Sim.InstallFailed,
                hostStatusList = cl.Hosts.Select(h =>
                {
                    string why;
                    var errors = new List<string>();
                    if (f == null) errors.Add("The IO filter '" + filter + "' is not installed.");
                    else if (f.Failed.TryGetValue(h.Name, out why)) errors.Add(why);
                    return new SIOFilterHostResultLib { host = h.Name, errStrList = errors };
                }).ToList()
            };
            foreach (var field in typeof(SIOFilterResultLib).GetFields()) field.SetValue(result, field.GetValue(status));
            return f != null && f.Failed.Count == 0;
        }

        public List<SVMInfoLib> GetIOFilterAttachedVMList(string cluster, string filter)
        {
            Auth();
            var cl = Sim.GetCluster(cluster);
            if (Sim.FindFilter(cl, filter, null) == null) throw new SimFault("The IO filter '" + filter + "' is not installed on cluster '" + cl.Name + "'.");
            return Sim.Vms.Where(v => Sim.ComputeOf(v) == cl && Sim.UsesFilter(v, filter)).Select(v => Sim.VmRecord(v, 0)).ToList();
        }
    }
}
#endif
