#if !NOCLASS && !EMPTY
using System.Collections.Generic;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // Waits up to #2 seconds of simulated time (0 or less: until it ends); true when the task ended in success.
        // #3 tells whether it ended, #4 whether it failed; a failure's message becomes the last error.
        public object WaitForTask(string task, int timeoutSeconds, ref bool done, ref bool failed)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), task, timeoutSeconds, done, failed);
            if (c != null) { c.Out(2, ref done); c.Out(3, ref failed); return c.Result<bool>(); }
            bool d = done, f = failed;
            var r = Bool(() => client.WaitForTask(task, timeoutSeconds, ref d, ref f));
            done = d; failed = f;
            return r;
        }

        // One step further, then #2 ended, #3 failed, #4 percent done; true when the task is known.
        public object CheckTaskProgress(string task, ref bool done, ref bool failed, ref int progress)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), task, done, failed, progress);
            if (c != null) { c.Out(1, ref done); c.Out(2, ref failed); c.Out(3, ref progress); return c.Result<bool>(); }
            bool d = done, f = failed;
            int p = progress;
            var r = Bool(() => client.CheckTaskProgress(task, ref d, ref f, ref p));
            done = d; failed = f; progress = p;
            return r;
        }

        // As CheckTaskProgress; #5 receives the new VM's moref once the task has made one.
        public object CheckNewVMTaskProgress(string task, ref bool done, ref bool failed, ref int progress, out string vm)
        {
            vm = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), task, done, failed, progress, null);
            if (c != null) { c.Out(1, ref done); c.Out(2, ref failed); c.Out(3, ref progress); c.Out(4, ref vm); return c.Result<bool>(); }
            bool d = done, f = failed;
            int p = progress;
            string made = null;
            var r = Bool(() => client.CheckNewVMTaskProgress(task, ref d, ref f, ref p, out made));
            done = d; failed = f; progress = p; vm = made;
            return r;
        }

        public object CancelTask(string task)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), task);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.CancelTask(task));
        }

        // True while a task runs on the VM: #3 its id, #4 its description.
        public object CheckForRunningTaskOnVM(string vm, string host, out string task, out string description)
        {
            task = null; description = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null, null);
            if (c != null) { c.Out(2, ref task); c.Out(3, ref description); return c.Result<bool>(); }
            string id = null, text = null;
            var r = Bool(() => client.CheckForRunningTaskOnVM(vm, host, out id, out text));
            task = id; description = text;
            return r;
        }

        public object IsRelocateTaskInProgress(string vm, string host, out string task)
        {
            task = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null);
            if (c != null) { c.Out(2, ref task); return c.Result<bool>(); }
            string id = null;
            var r = Bool(() => client.IsRelocateTaskInProgress(vm, host, out id));
            task = id;
            return r;
        }

        public object CheckRelocatePrivilegeOnHost(string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.CheckRelocatePrivilegeOnHost(host));
        }

        // #1 VM, #2 its host (unused), #3 target host, #4 target datastore, #5 target pool (each empty: as now),
        // #6 keep disks not listed in #7 where they are (else they follow #4); #7 disks with their own target datastore.
        public object RelocateVM(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, targetHost, datastore, pool, keepDisks, disks);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.RelocateVM(vm, host, targetHost, datastore, pool, keepDisks, disks));
        }

        // As RelocateVM, as a task: #8 receives its id. The move happens when the task ends.
        public object RelocateVM_Task(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks, out string task)
        {
            task = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, targetHost, datastore, pool, keepDisks, disks, null);
            if (c != null) { c.Out(7, ref task); return c.Result<bool>(); }
            string id = null;
            var r = Bool(() => client.RelocateVM_Task(vm, host, targetHost, datastore, pool, keepDisks, disks, out id));
            task = id;
            return r;
        }

        // Record fields left zero or empty keep the VM's value. Found by "strUuid", else "strInstanceUuid", "strMoRef", "strName".
        public object ReconfigVM(SVMInfoLib info)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), info);
            if (c != null) return c.Result<int>();
            return Int(() => client.ReconfigVM(info));
        }

        // #4 true: the VM's cards become exactly #3; false: cards named by "label" change network, others are added.
        public object ReconfigureVMNetworks(string vm, string host, List<SVMNetworkCardLib> cards, bool replace)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, cards, replace);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.ReconfigureVMNetworks(vm, host, cards, replace));
        }

        // #3 the boot order ("disk", "cdrom", "ethernet", "floppy"); #4 enter setup once, #5 retry a failed boot, #6 secure boot (EFI only).
        public object ReconfigureVMBootOptions(string vm, string host, List<string> order, bool enterSetup, bool bootRetry, bool secureBoot)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, order, enterSetup, bootRetry, secureBoot);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.ReconfigureVMBootOptions(vm, host, order, enterSetup, bootRetry, secureBoot));
        }
    }
}
#endif
