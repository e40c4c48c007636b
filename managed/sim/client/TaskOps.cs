#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        static void TaskFlags(SimTask t, ref bool done, ref bool failed)
        {
            done = !t.Running;
            failed = t.State == "error";
        }

        public bool WaitForTask(string task, int timeoutSeconds, ref bool done, ref bool failed)
        {
            Auth();
            var t = Sim.FindTask(task);
            for (int waited = 0; t.Running && (timeoutSeconds <= 0 || waited + Sim.StepSeconds <= timeoutSeconds); waited += Sim.StepSeconds) Sim.Step(t);
            TaskFlags(t, ref done, ref failed);
            if (t.State == "error") throw new SimFault(t.Error);
            return t.State == "success";
        }

        public bool CheckTaskProgress(string task, ref bool done, ref bool failed, ref int progress)
        {
            string vm = null;
            return Poll(task, ref done, ref failed, ref progress, ref vm);
        }

        public bool CheckNewVMTaskProgress(string task, ref bool done, ref bool failed, ref int progress, out string vm)
        {
            vm = null;
            return Poll(task, ref done, ref failed, ref progress, ref vm);
        }

        // A failed task's error is noticed: the call itself succeeds.
        bool Poll(string task, ref bool done, ref bool failed, ref int progress, ref string vm)
        {
            Auth();
            var t = Sim.FindTask(task);
            Sim.Step(t);
            TaskFlags(t, ref done, ref failed);
            progress = t.Progress;
            vm = t.Result;
            if (t.State == "error") notice = t.Error;
            return true;
        }

        public bool CancelTask(string task)
        {
            Auth();
            var t = Sim.FindTask(task);
            if (!Sim.Cancel(t)) throw new SimFault("The operation is not allowed in the current state: the task has already ended.");
            return true;
        }

        public bool CheckForRunningTaskOnVM(string vm, string host, out string task, out string description)
        {
            task = null;
            description = null;
            var t = Sim.RunningTaskOn(GetVm(vm));
            if (t == null) return false;
            task = t.Id; description = t.Description;
            return true;
        }

        public bool IsRelocateTaskInProgress(string vm, string host, out string task)
        {
            task = null;
            var t = Sim.RunningTaskOn(GetVm(vm));
            if (t == null || t.Kind != "relocate") return false;
            task = t.Id;
            return true;
        }

        public bool CheckRelocatePrivilegeOnHost(string host)
        {
            var h = Sim.GetHost(host);
            var account = Auth().Account;
            if (account.Has("Resource.HotMigrate") && account.Has("Resource.ColdMigrate")) return true;
            throw new SimFault("Permission to perform this operation was denied. (privilege 'Resource.HotMigrate' on vim.HostSystem:" + h.Moref + ")");
        }

        public bool RelocateVM(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks)
        {
            var v = GetVm(vm, "Resource.ColdMigrate");
            NotBusy(v);
            Sim.Relocation(v, targetHost, datastore, pool, keepDisks, disks)();
            return true;
        }

        public bool RelocateVM_Task(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks, out string task)
        {
            task = null;
            var v = GetVm(vm, "Resource.ColdMigrate");
            NotBusy(v);
            Sim.Relocation(v, targetHost, datastore, pool, keepDisks, disks);
            var given = disks == null ? null : new List<SDiskLib>(disks);
            task = Sim.StartTask("relocate", v, "Relocate virtual machine", 4, () =>
            {
                var now = Sim.Current(v);
                Sim.Relocation(now, targetHost, datastore, pool, keepDisks, given)();
                return now.Moref;
            }).Id;
            return true;
        }

        static void NotBusy(Vm v)
        {
            var t = Sim.RunningTaskOn(v);
            if (t != null) throw new SimFault("Another task is already in progress (" + t.Id + ": " + t.Description + ").");
        }

        public int ReconfigVM(SVMInfoLib info)
        {
            var id = new[] { info.strUuid, info.strInstanceUuid, info.strMoRef, info.strName }.FirstOrDefault(x => !string.IsNullOrEmpty(x));
            if (id == null) throw new SimFault("A specified parameter was not correct: vm");
            var v = GetVm(id, "VirtualMachine.Config.Settings");
            NotTemplate(v);
            NotBusy(v);
            Sim.Reconfigure(v, info);
            return 1;
        }

        public bool ReconfigureVMNetworks(string vm, string host, List<SVMNetworkCardLib> cards, bool replace)
        {
            var v = GetVm(vm, "VirtualMachine.Config.EditDevice");
            NotBusy(v);
            var wanted = replace ? new List<string>() : new List<string>(v.Networks);
            foreach (var card in cards ?? new List<SVMNetworkCardLib>())
            {
                var net = string.IsNullOrEmpty(card.networkName) ? "VM Network" : card.networkName;
                if (!Sim.Networks.Contains(net)) throw new SimFault("The network '" + net + "' was not found.");
                int index = -1;
                if (!replace && card.label != null && card.label.StartsWith("Network adapter ") && int.TryParse(card.label.Substring(16), out index)) index--;
                if (index >= 0 && index < wanted.Count) wanted[index] = net;
                else if (index >= 0) throw new SimFault("A specified parameter was not correct: " + card.label);
                else wanted.Add(net);
            }
            if (wanted.Count > 10) throw new SimFault("The virtual machine '" + v.Name + "' would have more than 10 network adapters.");
            v.Networks.Clear();
            v.Networks.AddRange(wanted);
            Sim.RefreshVmFiles();
            return true;
        }

        static readonly string[] BootDevices = { "disk", "cdrom", "ethernet", "floppy" };

        public bool ReconfigureVMBootOptions(string vm, string host, List<string> order, bool enterSetup, bool bootRetry, bool secureBoot)
        {
            var v = GetVm(vm, "VirtualMachine.Config.Settings");
            NotBusy(v);
            var devices = (order ?? new List<string>()).Select(x => (x ?? "").Trim().ToLowerInvariant()).ToList();
            var bad = devices.FirstOrDefault(x => !BootDevices.Contains(x));
            if (bad != null) throw new SimFault("A specified parameter was not correct: bootOrder (" + bad + ")");
            if (devices.Distinct().Count() != devices.Count) throw new SimFault("A specified parameter was not correct: bootOrder");
            if (secureBoot && v.Firmware != "efi") throw new SimFault("Secure boot needs EFI firmware; the virtual machine '" + v.Name + "' uses " + v.Firmware + ".");
            if (devices.Count > 0) v.ExtraConfig["bios.bootOrder"] = string.Join(",", devices);
            else v.ExtraConfig.Remove("bios.bootOrder");
            v.ExtraConfig["bios.forceSetupOnce"] = enterSetup ? "TRUE" : "FALSE";
            v.ExtraConfig["bios.bootRetry.enabled"] = bootRetry ? "TRUE" : "FALSE";
            v.ExtraConfig["uefi.secureBoot.enabled"] = secureBoot ? "TRUE" : "FALSE";
            return true;
        }
    }
}
#endif
