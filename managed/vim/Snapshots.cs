#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;
using System.Text.RegularExpressions;

namespace VISDKWrapper
{
    // Snapshots are named by their managed object id ("snapshot-12") or by name; an empty id means the current one.
    //
    // Kinds: a real server keeps no kind, so ours are told by what we write. A backup snapshot is named
    // backup-yyyyMMdd-HHmmss (UTC) and described "Backup snapshot"; a replication snapshot replication-... and
    // "Replication snapshot". Both must hold: RemoveOldSnapshots deletes by kind, so a snapshot someone renamed or
    // re-described counts as a user's and is never deleted by us.
    sealed partial class VimClient
    {
        enum SnapshotKind { User, Backup, Replication }

        const string BackupDescription = "Backup snapshot", ReplicationDescription = "Replication snapshot";
        static readonly Regex BackupName = new Regex(@"^backup-\d{8}-\d{6}$"), ReplicationName = new Regex(@"^replication-\d{8}-\d{6}$");

        sealed class Snapshot
        {
            public MoRef Ref;
            public string Name, Description;
            public DateTime? Created;
            public bool Quiesced;

            public SnapshotKind Kind
            {
                get
                {
                    if (BackupName.IsMatch(Name) && Description.StartsWith(BackupDescription, StringComparison.Ordinal)) return SnapshotKind.Backup;
                    if (ReplicationName.IsMatch(Name) && Description.StartsWith(ReplicationDescription, StringComparison.Ordinal)) return SnapshotKind.Replication;
                    return SnapshotKind.User;
                }
            }
        }

        // A VM's snapshot tree read flat (parents before children), its current snapshot, and the properties asked with it.
        sealed class SnapshotTree
        {
            public readonly MoRef Vm;
            public readonly ObjectContent Props;
            public readonly List<Snapshot> All = new List<Snapshot>();
            public readonly Snapshot Current;

            public SnapshotTree(ObjectContent props)
            {
                Vm = props.Obj;
                Props = props;
                var info = props["snapshot"];
                foreach (var root in info.All("rootSnapshotList")) Add(root);
                var current = info.Ref("currentSnapshot");
                Current = current == null ? null : All.FirstOrDefault(s => s.Ref.Equals(current));
            }

            void Add(VimNode node)
            {
                All.Add(new Snapshot
                {
                    Ref = node.Ref("snapshot"), Name = node.Str("name"), Description = node.Str("description"),
                    Created = node["createTime"].AsTime(), Quiesced = node.Bool("quiesced")
                });
                foreach (var child in node.All("childSnapshotList")) Add(child);
            }

            public string VmName { get { return Props.Str("name"); } }

            // By id, else by name; empty: the current one.
            public Snapshot Find(string id)
            {
                if (string.IsNullOrEmpty(id))
                {
                    if (Current == null) throw new ClientFault("The virtual machine '" + VmName + "' has no current snapshot.");
                    return Current;
                }
                var found = All.FirstOrDefault(s => s.Ref.Value == id);
                var named = All.Where(s => s.Name == id).ToList();
                if (found == null && named.Count > 1) throw new ClientFault(Shared.AmbiguousSnapshot(VmName, id, named.Select(s => s.Ref.Value)));
                found = found ?? named.FirstOrDefault();
                if (found == null) throw new ClientFault("The object 'vim.vm.Snapshot:" + id + "' has already been deleted or has not been completely created");
                return found;
            }
        }

        SnapshotTree Snapshots(string vm, params string[] paths)
        {
            return new SnapshotTree(Retrieve(Vm(vm), new[] { "name", "snapshot" }.Concat(paths).ToArray()));
        }

        public int CreateBackupSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId)
        {
            return CreateSnapshot(vm, Stamped("backup-"), BackupDescription, quiesce, memory, out snapshotId);
        }

        public int CreateSnapshotWithName(string vm, string host, string name, string description, bool quiesce, bool memory, out string snapshotId)
        {
            return CreateSnapshot(vm, name, description, quiesce, memory, out snapshotId);
        }

        public int CreateReplicationSnapshot(string vm, string host, bool quiesce, bool memory, out string snapshotId)
        {
            return CreateSnapshot(vm, Stamped("replication-"), ReplicationDescription, quiesce, memory, out snapshotId);
        }

        static string Stamped(string prefix)
        {
            return prefix + DateTime.UtcNow.ToString("yyyyMMdd-HHmmss", CultureInfo.InvariantCulture);
        }

        int CreateSnapshot(string vm, string name, string description, bool quiesce, bool memory, out string snapshotId)
        {
            snapshotId = null;
            var target = Vm(vm);
            if (string.IsNullOrEmpty(name)) throw new ClientFault("A specified parameter was not correct: name");
            var made = RunTask(new SoapRequest("CreateSnapshot_Task", target)
                .Add("name", name).Add("description", description ?? "").Add("memory", memory).Add("quiesce", quiesce)).AsRef();
            if (made == null) throw new ClientFault("The server named no snapshot for " + target.Value);
            snapshotId = made.Value;
            return 1;
        }

        // Children move to the snapshot's parent; the server consolidates the disks.
        SoapRequest RemoveRequest(string vm, string snapshotId)
        {
            return new SoapRequest("RemoveSnapshot_Task", Snapshots(vm).Find(snapshotId).Ref).Add("removeChildren", false);
        }

        public int RemoveSnapshot(string vm, string host, string snapshotId)
        {
            RunTask(RemoveRequest(vm, snapshotId));
            return 1;
        }

        // The task is started, not waited for.
        public int RemoveSnapshot_Task(string vm, string host, string snapshotId, out string taskId)
        {
            taskId = null;
            taskId = StartTask(RemoveRequest(vm, snapshotId)).Value;
            return 1;
        }

        public int RemoveSnapshots(string vm, string host)
        {
            RunTask(new SoapRequest("RemoveAllSnapshots_Task", Vm(vm)));
            return 1;
        }

        // Backup and replication snapshots created more than `days` ago by the server's clock; user snapshots stay.
        public int RemoveOldSnapshots(string vm, string host, int days)
        {
            var tree = Snapshots(vm);
            if (days < 0) throw new ClientFault("A specified parameter was not correct: days");
            var now = Invoke(new SoapRequest("CurrentTime", new MoRef("ServiceInstance", "ServiceInstance")))["returnval"].AsTime() ?? DateTime.UtcNow;
            var limit = now.AddDays(-days);
            foreach (var s in tree.All.Where(s => s.Kind != SnapshotKind.User && s.Created < limit))
                RunTask(new SoapRequest("RemoveSnapshot_Task", s.Ref).Add("removeChildren", false));
            return 1;
        }

        public int CountBackupSnapshots(string vm, string host, ref int count)
        {
            count = Snapshots(vm).All.Count(s => s.Kind == SnapshotKind.Backup);
            return 1;
        }

        public int CountReplicationSnapshots(string vm, string host, ref int count)
        {
            count = Snapshots(vm).All.Count(s => s.Kind == SnapshotKind.Replication);
            return 1;
        }

        public int RevertToCurrentSnapshot(string vm, string host)
        {
            var tree = Snapshots(vm);
            tree.Find(null);
            RunTask(new SoapRequest("RevertToCurrentSnapshot_Task", tree.Vm));
            return 1;
        }

        public bool RevertToSnapshot(string vm, string host, string snapshotId)
        {
            var tree = Snapshots(vm);
            if (string.IsNullOrEmpty(snapshotId)) throw new ClientFault("A specified parameter was not correct: snapshot");
            RunTask(new SoapRequest("RevertToSnapshot_Task", tree.Find(snapshotId).Ref));
            return true;
        }

        public bool GetSnapshotInfo(string vm, string host, string snapshotId, out string name, ref DateTime created, out string description, ref bool quiesced)
        {
            name = null; description = null;
            var s = Snapshots(vm).Find(snapshotId);
            name = s.Name;
            description = s.Description;
            if (s.Created.HasValue) created = s.Created.Value;
            quiesced = s.Quiesced;
            return true;
        }

        // The snapshot's files as layoutEx lists them: its state and memory files, and per disk the delta that was
        // begun when it was taken (what was written while it was the parent).
        public bool GetSnapshotSize(string vm, string host, string snapshotId, ref long size)
        {
            var tree = Snapshots(vm, "layoutEx");
            var s = tree.Find(snapshotId);
            var layout = new FileLayout(tree.Props["layoutEx"]);
            var mine = layout.Of(s, tree.VmName);
            long total = layout.Size(mine.Str("dataKey")) + layout.Size(mine.Str("memoryKey"));
            foreach (var disk in mine.All("disk"))
            {
                var delta = layout.DeltaAfter(disk);
                if (delta != null) total += delta.All("fileKey").Sum(k => layout.Size(k.Text));
            }
            size = total;
            return true;
        }

        // The descriptor of the first disk's file that the snapshot froze: the top of that disk's chain in the snapshot.
        public string GetSnapshotFileNameUsingSnapMoref(string vm, string host, string snapshotId)
        {
            var tree = Snapshots(vm, "layoutEx");
            var layout = new FileLayout(tree.Props["layoutEx"]);
            var disk = layout.Of(tree.Find(snapshotId), tree.VmName)["disk"];
            var top = disk.All("chain").LastOrDefault();
            if (top == null) throw new ClientFault("The virtual machine '" + tree.VmName + "' has no disks.");
            var files = top.All("fileKey").Select(k => layout.File(k.Text)).Where(f => f.Present).ToList();
            var descriptor = files.FirstOrDefault(f => f.Str("type") == "diskDescriptor") ?? files.FirstOrDefault();
            if (descriptor == null) throw new ClientFault("The server lists no file for the disk of that snapshot.");
            return descriptor.Str("name");
        }

        // The VM's files (layoutEx): files by key, each snapshot's disk chains and the running disks' chains.
        sealed class FileLayout
        {
            readonly VimNode layout;
            readonly Dictionary<string, VimNode> files = new Dictionary<string, VimNode>();

            public FileLayout(VimNode layout)
            {
                this.layout = layout;
                foreach (var f in layout.All("file")) files[f.Str("key")] = f;
            }

            public VimNode File(string key)
            {
                VimNode f;
                return files.TryGetValue(key, out f) ? f : VimNode.None;
            }

            public long Size(string key) { return File(key).Long("size"); }

            public VimNode Of(Snapshot s, string vmName)
            {
                var mine = layout.All("snapshot").FirstOrDefault(x => x.Str("key") == s.Ref.Value);
                if (mine == null) throw new ClientFault("The server lists no files for snapshot " + s.Ref.Value + " of '" + vmName + "'.");
                return mine;
            }

            // The chain unit right after this disk's chain in any chain that extends it: a child snapshot's or the running disk's.
            public VimNode DeltaAfter(VimNode disk)
            {
                var chain = Units(disk);
                var others = layout.All("snapshot").SelectMany(x => x.All("disk")).Concat(layout.All("disk"))
                    .Where(d => d.Str("key") == disk.Str("key")).Select(d => d.All("chain").ToList());
                foreach (var other in others)
                    if (other.Count > chain.Count && chain.Select((u, i) => u == Unit(other[i])).All(same => same)) return other[chain.Count];
                return null;
            }

            static List<string> Units(VimNode disk) { return disk.All("chain").Select(Unit).ToList(); }

            static string Unit(VimNode chain) { return string.Join(",", chain.All("fileKey").Select(k => k.Text)); }
        }

        public bool CheckCreateSnapshotMethodDisabled(string vm, string host, out string reason)
        {
            reason = null;
            var props = Retrieve(Vm(vm), "name", "disabledMethod");
            var disabled = props["disabledMethod"].Kids.Select(k => k.Text).FirstOrDefault(m => m == "CreateSnapshot_Task" || m == "CreateSnapshotEx_Task");
            if (disabled == null) return false;
            reason = "The method " + disabled + " is disabled on virtual machine '" + props.Str("name") + "'.";
            return true;
        }

        // New deltas go to [datastore] folder (the VM's name when empty); `reset` brings them back to the VM's folder.
        // The snapshot directory alone moves them only on old hosts; snapshot.redoNotWithParent makes newer ones follow.
        public bool SetVMSnapshotLocation(string vm, string host, string datastore, string folder, bool reset)
        {
            var target = Vm(vm);
            var props = Retrieve(target, "name", "runtime.powerState", "config.files.vmPathName");
            RequirePower(props, "poweredOff");
            string directory;
            if (reset)
            {
                var vmx = props.Str("config.files.vmPathName");
                int slash = vmx.LastIndexOf('/');
                directory = slash > 0 ? vmx.Substring(0, slash) : vmx.Substring(0, vmx.IndexOf(']') + 1);
            }
            else
            {
                var store = FindObject("Datastore", datastore);
                if (store == null) throw new ClientFault("The datastore '" + datastore + "' was not found.");
                directory = "[" + store.Str("name") + "] " + (string.IsNullOrEmpty(folder) ? props.Str("name") : folder.Trim('/'));
            }
            Reconfigure(target, new ConfigChange()
                .Set("files", r => r.Begin("files").Add("snapshotDirectory", directory).End())
                .Extra("snapshot.redoNotWithParent", reset ? "" : "TRUE"));
            return true;
        }
    }
}
#endif
