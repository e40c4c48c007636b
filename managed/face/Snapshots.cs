#if !NOCLASS && !EMPTY
using System;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        public object CreateBackupSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId)
        {
            snapshotId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, quiesce, memory, null);
            if (c != null) { c.Out(4, ref snapshotId); return c.Result<int>(); }
            string id = null;
            var r = Int(() => client.CreateBackupSnapshot(vm, host, quiesce, memory, out id));
            snapshotId = id;
            return r;
        }

        public object CreateSnapshotWithName(string vm, string host, string name, string description, bool quiesce, bool memory, out string snapshotId)
        {
            snapshotId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, name, description, quiesce, memory, null);
            if (c != null) { c.Out(6, ref snapshotId); return c.Result<int>(); }
            string id = null;
            var r = Int(() => client.CreateSnapshotWithName(vm, host, name, description, quiesce, memory, out id));
            snapshotId = id;
            return r;
        }

        public object CreateReplicationSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId)
        {
            snapshotId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, quiesce, memory, null);
            if (c != null) { c.Out(4, ref snapshotId); return c.Result<int>(); }
            string id = null;
            var r = Int(() => client.CreateReplicationSnapshot(vm, host, quiesce, memory, out id));
            snapshotId = id;
            return r;
        }

        public object RemoveSnapshot(string vm, string host, string snapshotId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId);
            if (c != null) return c.Result<int>();
            return Int(() => client.RemoveSnapshot(vm, host, snapshotId));
        }

        public object RemoveSnapshot_Task(string vm, string host, string snapshotId, out string taskId)
        {
            taskId = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, null);
            if (c != null) { c.Out(3, ref taskId); return c.Result<int>(); }
            string task = null;
            var r = Int(() => client.RemoveSnapshot_Task(vm, host, snapshotId, out task));
            taskId = task;
            return r;
        }

        public object RemoveSnapshots(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.RemoveSnapshots(vm, host));
        }

        // Removes backup and replication snapshots created more than the given number of days ago.
        public object RemoveOldSnapshots(string vm, string host, int days)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, days);
            if (c != null) return c.Result<int>();
            return Int(() => client.RemoveOldSnapshots(vm, host, days));
        }

        public object CountBackupSnapshots(string vm, string host, ref int count)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, count);
            if (c != null) { c.Out(2, ref count); return c.Result<int>(); }
            int n = count;
            var r = Int(() => client.CountBackupSnapshots(vm, host, ref n));
            count = n;
            return r;
        }

        public object CountReplicationSnapshots(string vm, string host, ref int count)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, count);
            if (c != null) { c.Out(2, ref count); return c.Result<int>(); }
            int n = count;
            var r = Int(() => client.CountReplicationSnapshots(vm, host, ref n));
            count = n;
            return r;
        }

        public object RevertToCurrentSnapshot(string vm, string host)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host);
            if (c != null) return c.Result<int>();
            return Int(() => client.RevertToCurrentSnapshot(vm, host));
        }

        public object RevertToSnapshot(string vm, string host, string snapshotId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.RevertToSnapshot(vm, host, snapshotId));
        }

        public object GetSnapshotInfo(string vm, string host, string snapshotId, out string name, ref DateTime created, out string description, ref bool quiesced)
        {
            name = null; description = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, null, created, null, quiesced);
            if (c != null) { c.Out(3, ref name); c.Out(4, ref created); c.Out(5, ref description); c.Out(6, ref quiesced); return c.Result<bool>(); }
            string n = null, d = null;
            DateTime when = created;
            bool q = quiesced;
            var r = Bool(() => client.GetSnapshotInfo(vm, host, snapshotId, out n, ref when, out d, ref q));
            name = n; created = when; description = d; quiesced = q;
            return r;
        }

        // Bytes written into the delta that follows the snapshot, plus its memory image.
        public object GetSnapshotSize(string vm, string host, string snapshotId, ref long size)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId, size);
            if (c != null) { c.Out(3, ref size); return c.Result<bool>(); }
            long n = size;
            var r = Bool(() => client.GetSnapshotSize(vm, host, snapshotId, ref n));
            size = n;
            return r;
        }

        // The file that backs the snapshot's first disk.
        public string GetSnapshotFileNameUsingSnapMoref(string vm, string host, string snapshotId)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, snapshotId);
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetSnapshotFileNameUsingSnapMoref(vm, host, snapshotId));
        }

        // #3 datastore, #4 folder on it; #5 true puts snapshots back beside the VM.
        public object SetVMSnapshotLocation(string vm, string host, string datastore, string folder, bool reset)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, datastore, folder, reset);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.SetVMSnapshotLocation(vm, host, datastore, folder, reset));
        }

        public object CheckCreateSnapshotMethodDisabled(string vm, string host, out string reason)
        {
            reason = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null);
            if (c != null) { c.Out(2, ref reason); return c.Result<bool>(); }
            string text = null;
            var r = Bool(() => client.CheckCreateSnapshotMethodDisabled(vm, host, out text));
            reason = text;
            return r;
        }
    }
}
#endif
