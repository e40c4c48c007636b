#if !NOCLASS && !EMPTY
using System.Collections.Generic;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // #1 the descriptor's local path; #2 a record whose "strName", "strDataStoreName" and "hostName" (each optional)
        // place the VM, receiving the VM made; #3 the lease; #4 per disk file of the descriptor where it goes: the datastore path
        // the caller uploads it to (simulator), or the lease URL FinishOVFImport streams it to from beside the descriptor (real server);
        // #5 "network:<descriptor network>" = a network, "diskProvisioning" = thin, thick or eagerZeroedThick.
        public object StartOVFImport(string source, ref object info, out string lease, out List<SVMOptionValueLib> uploads, List<SVMOptionValueLib> options)
        {
            lease = null; uploads = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), source, info, null, null, options);
            if (c != null) { c.Out(1, ref info); c.Out(2, ref lease); c.Out(3, ref uploads); return c.Result<bool>(); }
            object made = info;
            string id = null;
            List<SVMOptionValueLib> files = null;
            var r = Bool(() => client.StartOVFImport(source, ref made, out id, out files, options));
            info = made; lease = id; uploads = files;
            return r;
        }

        // #2 percent done, never going back.
        public object UpdateOVFImportProgress(string lease, int percent)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), lease, percent);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.UpdateOVFImportProgress(lease, percent));
        }

        public object FinishOVFImport(string lease, ref object info)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), lease, info);
            if (c != null) { c.Out(1, ref info); return c.Result<bool>(); }
            object made = info;
            var r = Bool(() => client.FinishOVFImport(lease, ref made));
            info = made;
            return r;
        }

        // #1 the new VM: "strName" (required), "strDataStoreName", "numOfCPU", "memorySizeInMB" (each optional, 0 or less: the source's);
        // #2 the source VM, #3 the target host (empty: the source's); #4 receives the task, which makes the VM when it ends.
        public object CloneAndReConfigVM_Task(SVMInfoLib info, string source, string host, out string task)
        {
            task = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), info, source, host, null);
            if (c != null) { c.Out(3, ref task); return c.Result<int>(); }
            string id = null;
            var r = Int(() => client.CloneAndReConfigVM_Task(info, source, host, out id));
            task = id;
            return r;
        }

        // The record carries only "strName", "strUuid" and "numEthernetCards": the customization's adapter settings must match the VM's adapters.
        public object CustomizeVM(SVMInfoLib info, string customization)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), info, customization);
            if (c != null) return c.Result<int>();
            return Int(() => client.CustomizeVM(info, customization));
        }
    }
}
#endif
