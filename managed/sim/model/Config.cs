using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;
using System.Text;
using System.Xml;

namespace VISDKWrapper
{
    static partial class Sim
    {
        static readonly string[] ReadOnlyPrivileges = { "System.Anonymous", "System.View", "System.Read" };

        // Loads the inventory from the given file, or from the first readable candidate, or from the built-in copy.
        public static bool Load(string path)
        {
            bool fromFile;
            var root = WrapperConfig.Section(path, out fromFile);
            if (root == null && path != null) return false;
            Build(root);
            return fromFile;
        }

        static string A(XmlElement e, string name, string fallback = null)
        {
            return WrapperConfig.Attribute(e, name, fallback);
        }

        static long L(XmlElement e, string name, long fallback)
        {
            return WrapperConfig.Number(e, name, fallback);
        }

        static bool B(XmlElement e, string name)
        {
            return string.Equals(A(e, name), "true", StringComparison.OrdinalIgnoreCase);
        }

        static IEnumerable<XmlElement> All(XmlElement e, string name)
        {
            return WrapperConfig.Children(e, name);
        }

        static void Build(XmlElement root)
        {
            Servers.Clear(); Hosts.Clear(); Datastores.Clear(); Networks.Clear(); Vms.Clear(); GuestAccounts.Clear();
            Unregistered.Clear(); FirstClassDisks.Clear(); DatastoreSeq = 0; VmSeq = 0;
            Stamp = 0; TaskSeq = 1000; SnapSeq = 10; EpochSeq = 0;
            Now = new DateTime(2024, 6, 3, 9, 0, 0, DateTimeKind.Utc);
            WindowBytes = GiB;
            MaxExtents = 4096;
            if (root == null) { BuildInventory(null); BuildManagement(null); return; }

            DateTime clock;
            if (DateTime.TryParse(A(root, "clock", ""), CultureInfo.InvariantCulture, DateTimeStyles.AdjustToUniversal | DateTimeStyles.AssumeUniversal, out clock))
                Now = DateTime.SpecifyKind(clock, DateTimeKind.Utc);
            WindowBytes = L(root, "changeWindowMB", 1024) * MiB;
            MaxExtents = (int)L(root, "changeMaxExtents", 4096);

            foreach (var e in All(root, "server"))
            {
                var s = new Server { Name = A(e, "name"), Version = A(e, "version", "8.0.2"), VCenter = A(e, "kind", "vcenter") == "vcenter" };
                s.Thumbprint = A(e, "thumbprint") ?? Hex(Hash("certificate:" + s.Name), 20, ":").ToUpperInvariant();
                foreach (var a in All(e, "account"))
                {
                    var acc = new Account { User = A(a, "user"), Password = A(a, "password", "") };
                    if (A(a, "role", "admin") != "admin")
                        acc.Granted = new HashSet<string>(ReadOnlyPrivileges.Concat(A(a, "privileges", "").Split(new[] { ',' }, StringSplitOptions.RemoveEmptyEntries).Select(x => x.Trim())));
                    s.Accounts.Add(acc);
                }
                Servers[s.Name] = s;
            }
            foreach (var e in All(root, "host")) Hosts.Add(new HostInfo { Name = A(e, "name"), MaxHardwareVersion = (int)L(e, "maxHardwareVersion", 21) });
            foreach (var e in All(root, "datastore")) Datastores.Add(BuildDatastore(e, Datastores.Count));
            foreach (var e in All(root, "network")) Networks.Add(A(e, "name"));
            foreach (var e in All(root, "guestAccount"))
                GuestAccounts.Add(new GuestAccount { User = A(e, "user"), Password = A(e, "password", ""), Uid = (int)L(e, "uid", 0), Gid = (int)L(e, "gid", 0), Home = A(e, "home", "/root") });
            foreach (var e in All(root, "vm")) Vms.Add(DescribeVm(BuildVm(e), e));
            BuildInventory(root);
            BuildManagement(root);
            RefreshVmFiles();
        }

        static string MakeUuid(string seed, byte first)
        {
            var b = Hash(seed).Take(16).ToArray();
            b[0] = first;
            var h = Hex(b, 16, "");
            return h.Substring(0, 8) + "-" + h.Substring(8, 4) + "-" + h.Substring(12, 4) + "-" + h.Substring(16, 4) + "-" + h.Substring(20);
        }

        static Vm BuildVm(XmlElement e)
        {
            var vm = new Vm
            {
                Name = A(e, "name"), Moref = A(e, "moref"), Host = A(e, "host", ""), Datastore = A(e, "datastore", "datastore1"),
                Power = A(e, "power", "poweredOff"), Tools = A(e, "tools", "notRunning"), Template = B(e, "template"),
                GuestId = A(e, "guestId", "otherLinux64Guest"), GuestName = A(e, "guestName", "Other Linux (64-bit)"),
                HardwareVersion = (int)L(e, "hardwareVersion", 19), MemoryMB = (int)L(e, "memoryMB", 2048),
                Annotation = A(e, "annotation", ""), SnapDisabledBy = A(e, "snapshotDisabledBy"), Cbt = B(e, "cbt"), Alarms = (int)L(e, "alarms", 0)
            };
            vm.Uuid = A(e, "uuid") ?? MakeUuid("bios:" + vm.Name, 0x42);
            vm.InstanceUuid = A(e, "instanceUuid") ?? MakeUuid("instance:" + vm.Name, 0x50);
            vm.Networks.AddRange(A(e, "networks", "VM Network").Split(new[] { ',' }, StringSplitOptions.RemoveEmptyEntries).Select(x => x.Trim()));
            vm.NewSegment();

            int index = 0;
            foreach (var d in All(e, "disk"))
            {
                var disk = new Disk
                {
                    Key = (int)L(d, "key", 2000 + index), Label = "Hard disk " + (index + 1), Dir = vm.HomeDir,
                    Stem = index == 0 ? vm.Name : vm.Name + "_" + index, Capacity = L(d, "capacityGB", 16) * GiB, Thin = B(d, "thin")
                };
                // Half of the allocation at the start of the disk, the rest in three areas at each further quarter.
                long alloc = Math.Min(L(d, "allocatedMB", 0) * MiB, disk.Capacity), head = alloc / 2 / MiB * MiB, rest = alloc - head, chunk = rest / 3 / MiB * MiB;
                if (head > 0) disk.Writes.Add(new Write { Offset = 0, Length = head });
                for (int k = 1; k <= 3 && rest > 0; k++)
                {
                    long len = k == 3 ? rest - 2 * chunk : chunk, at = disk.Capacity / 4 * k / MiB * MiB;
                    if (len > 0) disk.Writes.Add(new Write { Offset = at, Length = Math.Min(len, disk.Capacity - at) });
                }
                vm.Disks.Add(disk);
                index++;
            }
            ResetTracking(vm);

            SeedGuest(vm, e);
            if (vm.On) Boot(vm);
            foreach (var s in All(e, "snapshot"))
            {
                SnapKind kind;
                if (!Enum.TryParse(A(s, "kind", "User"), true, out kind)) kind = SnapKind.User;
                TakeSnapshot(vm, A(s, "name", "Snapshot"), A(s, "description", ""), kind, B(s, "quiesced"), B(s, "memory"), Now.AddDays(-L(s, "ageDays", 1)));
            }
            return vm;
        }

        public static Snap TakeSnapshot(Vm vm, string name, string description, SnapKind kind, bool quiesce, bool memory, DateTime created)
        {
            var s = new Snap
            {
                Id = "snapshot-" + (++SnapSeq), Name = name, Description = description, Kind = kind, Created = created,
                Quiesced = quiesce && vm.On, Memory = memory && vm.On, Parent = vm.Current, State = vm.Freeze()
            };
            s.PowerState = s.Memory ? "poweredOn" : vm.Power == "suspended" ? "suspended" : "poweredOff";
            if (vm.Cbt)
                foreach (var d in vm.Disks) s.ChangeIds[d.Key] = Issue(vm, d, s.State);
            s.ChildSeg = vm.NewSegment();
            vm.Running = new List<Span>(s.State) { new Span(s.ChildSeg, long.MaxValue) };
            vm.Snaps.Add(s);
            vm.Current = s;
            return s;
        }

        public static void SetPower(Vm vm, string state)
        {
            var old = vm.Power;
            vm.Power = state;
            if (vm.On && old == "poweredOff") Boot(vm);
            if (vm.On && vm.Tools == "notRunning") vm.Tools = "running";
            if (!vm.On && vm.Tools == "running") vm.Tools = "notRunning";
            if (state == "poweredOff") { vm.Procs.Clear(); vm.ToolsMounted = false; }
        }

        public static void Boot(Vm vm)
        {
            vm.Procs.Clear();
            vm.Procs.Add(new Proc { Pid = 1, Program = "/sbin/init", Args = "", User = "root", Start = Now, End = DateTime.MaxValue });
            if (vm.Tools != "notInstalled")
                vm.Procs.Add(new Proc { Pid = 742, Program = "/usr/bin/vmtoolsd", Args = "", User = "root", Start = Now, End = DateTime.MaxValue });
        }

        static void SeedGuest(Vm vm, XmlElement e)
        {
            var installed = Now.AddDays(-30);
            foreach (var dir in new[] { "/", "/bin", "/etc", "/home", "/root", "/tmp", "/usr", "/usr/bin", "/var", "/var/log", "/opt" })
                PutDir(vm, dir, 0, 0, dir == "/tmp" ? 0x3FF : 0x1ED, installed);
            foreach (var g in GuestAccounts) PutDir(vm, g.Home, g.Uid, g.Gid, 0x1ED, installed);
            foreach (var exe in new[] { "/bin/sh", "/bin/bash", "/bin/true", "/bin/false", "/bin/sleep", "/usr/bin/python3" })
                PutFile(vm, exe, Encoding.ASCII.GetBytes("\x7f" + "ELF simulated " + exe + "\n"), 0x1ED, 0, 0, installed);
            PutFile(vm, "/etc/hostname", Encoding.UTF8.GetBytes(vm.Name + "\n"), 0x1A4, 0, 0, installed);
            PutFile(vm, "/etc/os-release", Encoding.UTF8.GetBytes("PRETTY_NAME=\"" + vm.GuestName + "\"\nID=linux\n"), 0x1A4, 0, 0, installed);
            PutFile(vm, "/var/log/syslog", Encoding.UTF8.GetBytes(Now.AddHours(-1).ToString("MMM dd HH:mm:ss", CultureInfo.InvariantCulture) + " " + vm.Name + " systemd[1]: Started Daily apt upgrade.\n"), 0x1A0, 0, 4, Now.AddHours(-1));
            foreach (var f in All(e, "folder")) MakeDirs(vm, A(f, "path"), 0, 0, installed);
            foreach (var f in All(e, "file"))
            {
                var path = A(f, "path");
                MakeDirs(vm, Parent(path), 0, 0, installed);
                var data = f.HasAttribute("content") ? Encoding.UTF8.GetBytes(A(f, "content")) : null;
                var file = PutFile(vm, path, data, (int)L(f, "mode", 0x1A4), (int)L(f, "uid", 0), (int)L(f, "gid", 0), installed);
                if (data == null) file.Size = L(f, "size", 0);
            }
        }

        public static GFile PutDir(Vm vm, string path, int uid, int gid, int mode, DateTime t)
        {
            return vm.Files[path] = new GFile { Dir = true, Size = 4096, Uid = uid, Gid = gid, Mode = mode, Modified = t, Accessed = t, Created = t };
        }

        public static GFile PutFile(Vm vm, string path, byte[] data, int mode, int uid, int gid, DateTime t)
        {
            return PutFile(vm, path, Content.Of(data), mode, uid, gid, t);
        }

        public static GFile PutFile(Vm vm, string path, Content data, int mode, int uid, int gid, DateTime t)
        {
            return vm.Files[path] = new GFile { Data = data, Size = data == null ? 0 : data.Length, Uid = uid, Gid = gid, Mode = mode, Modified = t, Accessed = t, Created = t };
        }

        public static void MakeDirs(Vm vm, string path, int uid, int gid, DateTime t)
        {
            if (path == null || vm.Files.ContainsKey(path)) return;
            MakeDirs(vm, Parent(path), uid, gid, t);
            PutDir(vm, path, uid, gid, 0x1ED, t);
        }

        public static string Parent(string path)
        {
            if (path == "/") return null;
            int i = path.LastIndexOf('/');
            return i <= 0 ? "/" : path.Substring(0, i);
        }
    }

    // Test helpers that act on the simulated inventory as the outside world would.
    public static partial class Simulator
    {
        public static void Reset()
        {
            Sim.Hold(() => { Sim.Load(null); });
        }

        public static bool Load(string configPath)
        {
            return Sim.Hold(() => Sim.Load(configPath), false);
        }

        // A guest write to a disk (key, label or file name), tracked like real I/O.
        public static bool WriteDisk(string vm, string disk, long offset, long length)
        {
            return Sim.Hold(() =>
            {
                try
                {
                    var v = Sim.FindVm(vm);
                    if (v == null) return false;
                    Sim.WriteDisk(v, Sim.FindDisk(v, disk), offset, length);
                    return true;
                }
                catch (SimFault) { return false; }
            }, false);
        }

        public static void SetTime(long unixSeconds)
        {
            Sim.Hold(() => { Sim.Now = new DateTime(1970, 1, 1, 0, 0, 0, DateTimeKind.Utc).AddSeconds(unixSeconds); });
        }

        public static void AdvanceTime(long seconds)
        {
            Sim.Hold(() => { Sim.Now = Sim.Now.AddSeconds(seconds); });
        }

        public static long Now()
        {
            return Sim.Hold(() => Sim.UnixSeconds(Sim.Now), false);
        }

        public static bool SetPowerState(string vm, string state)
        {
            return Sim.Hold(() =>
            {
                var v = Sim.FindVm(vm);
                if (v == null || (state != "poweredOn" && state != "poweredOff" && state != "suspended")) return false;
                Sim.SetPower(v, state);
                return true;
            }, false);
        }

        public static bool SetToolsStatus(string vm, string status)
        {
            return Sim.Hold(() =>
            {
                var v = Sim.FindVm(vm);
                if (v == null || (status != "running" && status != "notRunning" && status != "notInstalled")) return false;
                v.Tools = status;
                return true;
            }, false);
        }

        public static bool SetSnapshotMethodDisabled(string vm, string disabledBy)
        {
            return Sim.Hold(() =>
            {
                var v = Sim.FindVm(vm);
                if (v == null) return false;
                v.SnapDisabledBy = string.IsNullOrEmpty(disabledBy) ? null : disabledBy;
                return true;
            }, false);
        }

        public static void DropSessions()
        {
            lock (Sim.Sync) Sim.Sessions.Clear();
        }
    }
}
