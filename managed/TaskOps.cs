#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        static void TaskFlags(SimTask t, ref bool done, ref bool failed)
        {
            done = !t.Running;
            failed = t.State == "error";
        }

        // Waits up to #2 seconds of simulated time (0 or less: until it ends); true when the task ended in success.
        // #3 tells whether it ended, #4 whether it failed; a failure's message becomes the last error.
        public object WaitForTask(string task, int timeoutSeconds, ref bool done, ref bool failed)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), task, timeoutSeconds, done, failed);
            if (c != null) { c.Out(2, ref done); c.Out(3, ref failed); return c.Result<bool>(); }
            bool d = done, f = failed;
            var r = Bool(() =>
            {
                Auth();
                var t = Sim.FindTask(task);
                for (int waited = 0; t.Running && (timeoutSeconds <= 0 || waited + Sim.StepSeconds <= timeoutSeconds); waited += Sim.StepSeconds) Sim.Step(t);
                TaskFlags(t, ref d, ref f);
                if (t.State == "error") throw new SimFault(t.Error);
                return t.State == "success";
            });
            done = d; failed = f;
            return r;
        }

        // One step further, then #2 ended, #3 failed, #4 percent done; true when the task is known.
        public object CheckTaskProgress(string task, ref bool done, ref bool failed, ref int progress)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), task, done, failed, progress);
            if (c != null) { c.Out(1, ref done); c.Out(2, ref failed); c.Out(3, ref progress); return c.Result<bool>(); }
            string vm = null;
            return Poll(task, ref done, ref failed, ref progress, ref vm);
        }

        // As CheckTaskProgress; #5 receives the new VM's moref once the task has made one.
        public object CheckNewVMTaskProgress(string task, ref bool done, ref bool failed, ref int progress, out string vm)
        {
            vm = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), task, done, failed, progress, null);
            if (c != null) { c.Out(1, ref done); c.Out(2, ref failed); c.Out(3, ref progress); c.Out(4, ref vm); return c.Result<bool>(); }
            return Poll(task, ref done, ref failed, ref progress, ref vm);
        }

        object Poll(string task, ref bool done, ref bool failed, ref int progress, ref string vm)
        {
            bool d = done, f = failed;
            int p = progress;
            string made = vm;
            var r = Bool(() =>
            {
                Auth();
                var t = Sim.FindTask(task);
                Sim.Step(t);
                TaskFlags(t, ref d, ref f);
                p = t.Progress;
                made = t.Result;
                if (t.State == "error") lastError = t.Error;
                return true;
            });
            done = d; failed = f; progress = p; vm = made;
            return r;
        }

        public object CancelTask(string task)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), task);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
            {
                Auth();
                var t = Sim.FindTask(task);
                if (!Sim.Cancel(t)) throw new SimFault("The operation is not allowed in the current state: the task has already ended.");
                return true;
            });
        }

        // True while a task runs on the VM: #3 its id, #4 its description.
        public object CheckForRunningTaskOnVM(string vm, string host, out string task, out string description)
        {
            task = null; description = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null, null);
            if (c != null) { c.Out(2, ref task); c.Out(3, ref description); return c.Result<bool>(); }
            string id = null, text = null;
            var r = Bool(() =>
            {
                var t = Sim.RunningTaskOn(GetVm(vm));
                if (t == null) return false;
                id = t.Id; text = t.Description;
                return true;
            });
            task = id; description = text;
            return r;
        }

        public object IsRelocateTaskInProgress(string vm, string host, out string task)
        {
            task = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null);
            if (c != null) { c.Out(2, ref task); return c.Result<bool>(); }
            string id = null;
            var r = Bool(() =>
            {
                var t = Sim.RunningTaskOn(GetVm(vm));
                if (t == null || t.Kind != "relocate") return false;
                id = t.Id;
                return true;
            });
            task = id;
            return r;
        }

        public object CheckRelocatePrivilegeOnHost(string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
            {
                var h = Sim.GetHost(host);
                var account = Auth().Account;
                if (account.Has("Resource.HotMigrate") && account.Has("Resource.ColdMigrate")) return true;
                throw new SimFault("Permission to perform this operation was denied. (privilege 'Resource.HotMigrate' on vim.HostSystem:" + h.Moref + ")");
            });
        }

        // #1 VM, #2 its host (unused), #3 target host, #4 target datastore, #5 target pool (each empty: as now),
        // #6 keep disks not listed in #7 where they are (else they follow #4); #7 disks with their own target datastore.
        public object RelocateVM(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, targetHost, datastore, pool, keepDisks, disks);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
            {
                var v = GetVm(vm, "Resource.ColdMigrate");
                NotBusy(v);
                Sim.Relocation(v, targetHost, datastore, pool, keepDisks, disks)();
                return true;
            });
        }

        // As RelocateVM, as a task: #8 receives its id. The move happens when the task ends.
        public object RelocateVM_Task(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks, out string task)
        {
            task = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, targetHost, datastore, pool, keepDisks, disks, null);
            if (c != null) { c.Out(7, ref task); return c.Result<bool>(); }
            string id = null;
            var r = Bool(() =>
            {
                var v = GetVm(vm, "Resource.ColdMigrate");
                NotBusy(v);
                Sim.Relocation(v, targetHost, datastore, pool, keepDisks, disks);
                var given = disks == null ? null : new List<SDiskLib>(disks);
                id = Sim.StartTask("relocate", v, "Relocate virtual machine", 4, () =>
                {
                    Sim.Relocation(v, targetHost, datastore, pool, keepDisks, given)();
                    return v.Moref;
                }).Id;
                return true;
            });
            task = id;
            return r;
        }

        static void NotBusy(Vm v)
        {
            var t = Sim.RunningTaskOn(v);
            if (t != null) throw new SimFault("Another task is already in progress (" + t.Id + ": " + t.Description + ").");
        }

        // Record fields left zero or empty keep the VM's value. Found by "strUuid", else "strInstanceUuid", "strMoRef", "strName".
        public object ReconfigVM(SVMInfoLib info)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), info);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                var id = new[] { info.strUuid, info.strInstanceUuid, info.strMoRef, info.strName }.FirstOrDefault(x => !string.IsNullOrEmpty(x));
                if (id == null) throw new SimFault("A specified parameter was not correct: vm");
                var v = GetVm(id, "VirtualMachine.Config.Settings");
                NotTemplate(v);
                NotBusy(v);
                Sim.Reconfigure(v, info);
                return 1;
            });
        }

        // #4 true: the VM's cards become exactly #3; false: cards named by "label" change network, others are added.
        public object ReconfigureVMNetworks(string vm, string host, List<SVMNetworkCardLib> cards, bool replace)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, cards, replace);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
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
            });
        }

        static readonly string[] BootDevices = { "disk", "cdrom", "ethernet", "floppy" };

        // #3 the boot order ("disk", "cdrom", "ethernet", "floppy"); #4 enter setup once, #5 retry a failed boot, #6 secure boot (EFI only).
        public object ReconfigureVMBootOptions(string vm, string host, List<string> order, bool enterSetup, bool bootRetry, bool secureBoot)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, order, enterSetup, bootRetry, secureBoot);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
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
            });
        }
    }
}
#endif
