#if !NOCLASS && !EMPTY
using System;
using System.Linq;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        const int MaxSnapshotDepth = 32;

        public object CreateBackupSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId)
        {
            snapshotId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, quiesce, memory, null);
            if (c != null) { c.Out(4, ref snapshotId); return c.Result<int>(); }
            return CreateSnapshot(vm, () => Sim.Stamped("backup-"), "Backup snapshot", SnapKind.Backup, quiesce, memory, out snapshotId);
        }

        public object CreateSnapshotWithName(string vm, string host, string name, string description, bool quiesce, bool memory, out string snapshotId)
        {
            snapshotId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, name, description, quiesce, memory, null);
            if (c != null) { c.Out(6, ref snapshotId); return c.Result<int>(); }
            return CreateSnapshot(vm, () => name, description, SnapKind.User, quiesce, memory, out snapshotId);
        }

        public object CreateReplicationSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId)
        {
            snapshotId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, quiesce, memory, null);
            if (c != null) { c.Out(4, ref snapshotId); return c.Result<int>(); }
            return CreateSnapshot(vm, () => Sim.Stamped("replication-"), "Replication snapshot", SnapKind.Replication, quiesce, memory, out snapshotId);
        }

        object CreateSnapshot(string vm, Func<string> name, string description, SnapKind kind, bool quiesce, bool memory, out string snapshotId)
        {
            string id = null;
            var r = Int(() =>
            {
                var v = GetVm(vm, "VirtualMachine.State.CreateSnapshot");
                NotTemplate(v);
                var n = name();
                if (string.IsNullOrEmpty(n)) throw new SimFault("A specified parameter was not correct: name");
                if (v.SnapDisabledBy != null) throw new SimFault("The method is disabled by '" + v.SnapDisabledBy + "'");
                if (v.SnapDepth(v.Current) >= MaxSnapshotDepth) throw new SimFault("Exceeded the maximum number of permitted snapshots.");
                if (quiesce && v.On && v.Tools != "running")
                    throw new SimFault("An error occurred while quiescing the virtual machine. See the virtual machine's event log for details.");
                id = Sim.TakeSnapshot(v, n, description ?? "", kind, quiesce, memory, Sim.Now).Id;
                Sim.Now = Sim.Now.AddSeconds(1);
                return 1;
            });
            snapshotId = id;
            return r;
        }

        Snap FindSnap(Vm v, string id)
        {
            var s = string.IsNullOrEmpty(id) ? v.Current : v.Snaps.FirstOrDefault(x => x.Id == id || x.Name == id);
            if (s == null)
                throw new SimFault(string.IsNullOrEmpty(id) ? "The virtual machine '" + v.Name + "' has no current snapshot."
                    : "The object 'vim.vm.Snapshot:" + id + "' has already been deleted or has not been completely created");
            return s;
        }

        static void Remove(Vm v, Snap s)
        {
            foreach (var child in v.Snaps.Where(x => x.Parent == s)) child.Parent = s.Parent;
            if (v.Current == s) v.Current = s.Parent;
            v.Snaps.Remove(s);
        }

        public object RemoveSnapshot(string vm, string host, string snapshotId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
                Remove(v, FindSnap(v, snapshotId));
                return 1;
            });
        }

        public object RemoveSnapshot_Task(string vm, string host, string snapshotId, out string taskId)
        {
            taskId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, null);
            if (c != null) { c.Out(3, ref taskId); return c.Result<int>(); }
            string task = null;
            var r = Int(() =>
            {
                var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
                Remove(v, FindSnap(v, snapshotId));
                task = Sim.DoneTask("removeSnapshot", v, "Remove snapshot").Id;
                return 1;
            });
            taskId = task;
            return r;
        }

        public object RemoveSnapshots(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
                v.Snaps.Clear();
                v.Current = null;
                return 1;
            });
        }

        // Removes backup and replication snapshots created more than the given number of days ago.
        public object RemoveOldSnapshots(string vm, string host, int days)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, days);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
                if (days < 0) throw new SimFault("A specified parameter was not correct: days");
                var limit = Sim.Now.AddDays(-days);
                foreach (var s in v.Snaps.Where(x => x.Kind != SnapKind.User && x.Created < limit).ToList()) Remove(v, s);
                return 1;
            });
        }

        public object CountBackupSnapshots(string vm, string host, ref int count)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, count);
            if (c != null) { c.Out(2, ref count); return c.Result<int>(); }
            return Count(vm, SnapKind.Backup, ref count);
        }

        public object CountReplicationSnapshots(string vm, string host, ref int count)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, count);
            if (c != null) { c.Out(2, ref count); return c.Result<int>(); }
            return Count(vm, SnapKind.Replication, ref count);
        }

        object Count(string vm, SnapKind kind, ref int count)
        {
            int n = count;
            var r = Int(() => { n = GetVm(vm).Snaps.Count(s => s.Kind == kind); return 1; });
            count = n;
            return r;
        }

        public object RevertToCurrentSnapshot(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => { var v = GetVm(vm, "VirtualMachine.State.RevertToSnapshot"); Revert(v, FindSnap(v, null)); return 1; });
        }

        public object RevertToSnapshot(string vm, string host, string snapshotId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
            {
                var v = GetVm(vm, "VirtualMachine.State.RevertToSnapshot");
                if (string.IsNullOrEmpty(snapshotId)) throw new SimFault("A specified parameter was not correct: snapshot");
                Revert(v, FindSnap(v, snapshotId));
                return true;
            });
        }

        // Disks return to the snapshot's content in a fresh delta; change tracking restarts.
        static void Revert(Vm v, Snap s)
        {
            v.Running = new System.Collections.Generic.List<Span>(s.State) { new Span(v.NewSegment(), long.MaxValue) };
            v.Current = s;
            Sim.SetPower(v, s.PowerState);
            if (v.On) Sim.Boot(v);
            Sim.ResetTracking(v);
        }

        public object GetSnapshotInfo(string vm, string host, string snapshotId, out string name, ref DateTime created, out string description, ref bool quiesced)
        {
            name = null; description = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, null, created, null, quiesced);
            if (c != null) { c.Out(3, ref name); c.Out(4, ref created); c.Out(5, ref description); c.Out(6, ref quiesced); return c.Result<bool>(); }
            Snap s = null;
            var r = Bool(() => { s = FindSnap(GetVm(vm), snapshotId); return true; });
            if (s != null) { name = s.Name; created = s.Created; description = s.Description; quiesced = s.Quiesced; }
            return r;
        }

        // Bytes written into the delta that follows the snapshot, plus its memory image.
        public object GetSnapshotSize(string vm, string host, string snapshotId, ref long size)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, size);
            if (c != null) { c.Out(3, ref size); return c.Result<bool>(); }
            long n = size;
            var r = Bool(() =>
            {
                var v = GetVm(vm);
                var s = FindSnap(v, snapshotId);
                n = 32 * 1024 + (s.Memory ? v.MemoryMB * Sim.MiB : 0)
                    + v.Disks.Sum(d => Sim.Merge(d.Writes.Where(w => w.Seg == s.ChildSeg).Select(w => new Area(w.Offset, w.Length))).Sum(a => a.Length));
                return true;
            });
            size = n;
            return r;
        }

        // The file that backs the snapshot's first disk.
        public string GetSnapshotFileNameUsingSnapMoref(string vm, string host, string snapshotId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId);
            if (c != null) return (string)c.Result<string>();
            return Str(() =>
            {
                var v = GetVm(vm);
                var s = FindSnap(v, snapshotId);
                if (v.Disks.Count == 0) throw new SimFault("The virtual machine '" + v.Name + "' has no disks.");
                return v.Disks[0].FileOf(v, s.State[s.State.Count - 1].Seg);
            });
        }

        // #3 datastore, #4 folder on it; #5 true puts snapshots back beside the VM.
        public object SetVMSnapshotLocation(string vm, string host, string datastore, string folder, bool reset)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, datastore, folder, reset);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
            {
                var v = GetVm(vm, "VirtualMachine.Config.Settings");
                RequireOff(v);
                if (reset) { v.SnapLocation = null; return true; }
                if (Sim.FindDatastore(datastore) == null) throw new SimFault("The datastore '" + datastore + "' was not found.");
                v.SnapLocation = "[" + datastore + "] " + (string.IsNullOrEmpty(folder) ? v.Name : folder.Trim('/'));
                return true;
            });
        }

        public object CheckCreateSnapshotMethodDisabled(string vm, string host, out string reason)
        {
            reason = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null);
            if (c != null) { c.Out(2, ref reason); return c.Result<bool>(); }
            string text = null;
            var r = Bool(() =>
            {
                var v = GetVm(vm);
                if (v.SnapDisabledBy == null) return false;
                text = "The method is disabled by '" + v.SnapDisabledBy + "'";
                return true;
            });
            reason = text;
            return r;
        }
    }
}
#endif
