#if !NOCLASS && !EMPTY
using System;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        const int MaxSnapshotDepth = 32;

        public int CreateBackupSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId)
        {
            return CreateSnapshot(vm, () => Sim.Stamped("backup-"), "Backup snapshot", SnapKind.Backup, quiesce, memory, out snapshotId);
        }

        public int CreateSnapshotWithName(string vm, string host, string name, string description, bool quiesce, bool memory, out string snapshotId)
        {
            return CreateSnapshot(vm, () => name, description, SnapKind.User, quiesce, memory, out snapshotId);
        }

        public int CreateReplicationSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId)
        {
            return CreateSnapshot(vm, () => Sim.Stamped("replication-"), "Replication snapshot", SnapKind.Replication, quiesce, memory, out snapshotId);
        }

        int CreateSnapshot(string vm, Func<string> name, string description, SnapKind kind, bool quiesce, bool memory, out string snapshotId)
        {
            snapshotId = null;
            var v = GetVm(vm, "VirtualMachine.State.CreateSnapshot");
            NotTemplate(v);
            var n = name();
            if (string.IsNullOrEmpty(n)) throw new SimFault("A specified parameter was not correct: name");
            if (v.SnapDisabledBy != null) throw new SimFault("The method is disabled by '" + v.SnapDisabledBy + "'");
            if (v.SnapDepth(v.Current) >= MaxSnapshotDepth) throw new SimFault("Exceeded the maximum number of permitted snapshots.");
            if (quiesce && v.On && v.Tools != "running")
                throw new SimFault("An error occurred while quiescing the virtual machine. See the virtual machine's event log for details.");
            snapshotId = Sim.TakeSnapshot(v, n, description ?? "", kind, quiesce, memory, Sim.Now).Id;
            Sim.Now = Sim.Now.AddSeconds(1);
            return 1;
        }

        // By id, else by a name no other snapshot of the VM carries.
        Snap FindSnap(Vm v, string id)
        {
            var s = string.IsNullOrEmpty(id) ? v.Current : v.Snaps.FirstOrDefault(x => x.Id == id);
            if (s == null && !string.IsNullOrEmpty(id))
            {
                var named = v.Snaps.Where(x => x.Name == id).ToList();
                if (named.Count > 1) throw new SimFault(Shared.AmbiguousSnapshot(v.Name, id, named.Select(x => x.Id)));
                s = named.FirstOrDefault();
            }
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
            Sim.Consolidate(v, s);
        }

        public int RemoveSnapshot(string vm, string host, string snapshotId)
        {
            var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
            Remove(v, FindSnap(v, snapshotId));
            return 1;
        }

        public int RemoveSnapshot_Task(string vm, string host, string snapshotId, out string taskId)
        {
            taskId = null;
            var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
            Remove(v, FindSnap(v, snapshotId));
            taskId = Sim.DoneTask("removeSnapshot", v, "Remove snapshot").Id;
            return 1;
        }

        public int RemoveSnapshots(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
            foreach (var s in v.Snaps.ToList()) Remove(v, s);
            return 1;
        }

        public int RemoveOldSnapshots(string vm, string host, int days)
        {
            var v = GetVm(vm, "VirtualMachine.State.RemoveSnapshot");
            if (days < 0) throw new SimFault("A specified parameter was not correct: days");
            var limit = Sim.Now.AddDays(-days);
            foreach (var s in v.Snaps.Where(x => x.Kind != SnapKind.User && x.Created < limit).ToList()) Remove(v, s);
            return 1;
        }

        public int CountBackupSnapshots(string vm, string host, ref int count)
        {
            return Count(vm, SnapKind.Backup, ref count);
        }

        public int CountReplicationSnapshots(string vm, string host, ref int count)
        {
            return Count(vm, SnapKind.Replication, ref count);
        }

        int Count(string vm, SnapKind kind, ref int count)
        {
            count = GetVm(vm).Snaps.Count(s => s.Kind == kind);
            return 1;
        }

        public int RevertToCurrentSnapshot(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.State.RevertToSnapshot");
            Revert(v, FindSnap(v, null));
            return 1;
        }

        public bool RevertToSnapshot(string vm, string host, string snapshotId)
        {
            var v = GetVm(vm, "VirtualMachine.State.RevertToSnapshot");
            if (string.IsNullOrEmpty(snapshotId)) throw new SimFault("A specified parameter was not correct: snapshot");
            Revert(v, FindSnap(v, snapshotId));
            return true;
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

        public bool GetSnapshotInfo(string vm, string host, string snapshotId, out string name, ref DateTime created, out string description, ref bool quiesced)
        {
            name = null; description = null;
            var s = FindSnap(GetVm(vm), snapshotId);
            name = s.Name; created = s.Created; description = s.Description; quiesced = s.Quiesced;
            return true;
        }

        public bool GetSnapshotSize(string vm, string host, string snapshotId, ref long size)
        {
            var v = GetVm(vm);
            var s = FindSnap(v, snapshotId);
            size = 32 * 1024 + (s.Memory ? v.MemoryMB * Sim.MiB : 0)
                + v.Disks.Sum(d => Sim.Merge(d.Writes.Where(w => w.Seg == s.ChildSeg).Select(w => new Area(w.Offset, w.Length))).Sum(a => a.Length));
            return true;
        }

        public string GetSnapshotFileNameUsingSnapMoref(string vm, string host, string snapshotId)
        {
            var v = GetVm(vm);
            var s = FindSnap(v, snapshotId);
            if (v.Disks.Count == 0) throw new SimFault("The virtual machine '" + v.Name + "' has no disks.");
            return v.Disks[0].FileOf(v, s.State[s.State.Count - 1].Seg);
        }

        public bool SetVMSnapshotLocation(string vm, string host, string datastore, string folder, bool reset)
        {
            var v = GetVm(vm, "VirtualMachine.Config.Settings");
            RequireOff(v);
            if (reset) { v.SnapLocation = null; return true; }
            if (Sim.FindDatastore(datastore) == null) throw new SimFault("The datastore '" + datastore + "' was not found.");
            v.SnapLocation = "[" + datastore + "] " + (string.IsNullOrEmpty(folder) ? v.Name : folder.Trim('/'));
            return true;
        }

        public bool CheckCreateSnapshotMethodDisabled(string vm, string host, out string reason)
        {
            reason = null;
            var v = GetVm(vm);
            if (v.SnapDisabledBy == null) return false;
            reason = "The method is disabled by '" + v.SnapDisabledBy + "'";
            return true;
        }
    }
}
#endif
