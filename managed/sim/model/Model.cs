using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;
using System.Security.Cryptography;
using System.Text;

namespace VISDKWrapper
{
    sealed class SimFault : ClientFault
    {
        public SimFault(string message) : base(message) { }
    }

    enum SnapKind { User, Backup, Replication }

    sealed class Account
    {
        public string User, Password;
        public HashSet<string> Granted;   // null: every privilege

        public bool Has(string privilege) { return Granted == null || Granted.Contains(privilege); }
    }

    sealed class Server
    {
        public string Name, Version, Thumbprint;
        public bool VCenter;
        public readonly List<Account> Accounts = new List<Account>();

        int Part(int i)
        {
            var parts = Version.Split('.');
            int n;
            return i < parts.Length && int.TryParse(parts[i], out n) ? n : 0;
        }

        public int Major { get { return Part(0); } }
        public int Api { get { return Part(0) * 100 + Part(1) * 10 + Part(2); } }
    }

    sealed class Session
    {
        public string Key;
        public Server Server;
        public Account Account;
    }

    sealed partial class HostInfo
    {
        public string Name;
        public int MaxHardwareVersion;
    }

    struct Area
    {
        public long Start, Length;
        public Area(long start, long length) { Start = start; Length = length; }
        public long End { get { return Start + Length; } }
    }

    // One timeline segment of a VM's disks, readable up to Max (a write stamp).
    struct Span
    {
        public int Seg;
        public long Max;
        public Span(int seg, long max) { Seg = seg; Max = max; }
    }

    sealed class Write
    {
        public long Offset, Length, Stamp;
        public int Seg;
    }

    sealed class ChangeId
    {
        public int Seq;
        public List<Span> State;
    }

    sealed partial class Disk
    {
        public int Key;
        public string Label, Dir, Stem, Adapter = "lsilogic";
        public long Capacity;
        public bool Thin;
        public readonly List<Write> Writes = new List<Write>();
        public string Epoch;
        public readonly List<ChangeId> Ids = new List<ChangeId>();

        public string FileOf(Vm vm, int seg)
        {
            return seg == 0 ? Dir + "/" + Stem + ".vmdk" : vm.SegDirs[seg] + "/" + Stem + "-" + seg.ToString("D6") + ".vmdk";
        }

        public string ExtentOf(Vm vm, int seg)
        {
            var f = FileOf(vm, seg);
            return f.Substring(0, f.Length - 5) + (seg == 0 ? "-flat.vmdk" : "-sesparse.vmdk");
        }

        public IEnumerable<Write> In(List<Span> state)
        {
            return Writes.Where(w => state.Any(s => s.Seg == w.Seg && w.Stamp <= s.Max));
        }
    }

    sealed class Snap
    {
        public string Id, Name, Description, PowerState;
        public DateTime Created;
        public bool Quiesced, Memory;
        public SnapKind Kind;
        public Snap Parent;
        public List<Span> State;
        public int ChildSeg;
        public readonly Dictionary<int, string> ChangeIds = new Dictionary<int, string>();
    }

    sealed class GuestAccount
    {
        public string User, Password, Home;
        public int Uid, Gid;
    }

    sealed class GFile
    {
        public bool Dir;
        public long Size;
        public DateTime Modified, Accessed, Created;
        public int Uid, Gid, Mode;
        public Content Data;
    }

    sealed class Proc
    {
        public long Pid;
        public string Program, Args, User;
        public DateTime Start, End;
        public int Exit;
    }

    sealed partial class Vm
    {
        public string Name, Moref, Uuid, InstanceUuid, Host, Datastore, Power, Tools, Annotation = "", GuestId, GuestName, ManagedBy, SnapDisabledBy, SnapLocation;
        public bool Template, ToolsMounted, Cbt;
        public int HardwareVersion, MemoryMB, Alarms;
        public readonly List<string> Networks = new List<string>();
        public readonly List<Disk> Disks = new List<Disk>();
        public readonly List<Snap> Snaps = new List<Snap>();
        public Snap Current;
        public List<Span> Running = new List<Span> { new Span(0, long.MaxValue) };
        public readonly List<string> SegDirs = new List<string>();
        public readonly SortedDictionary<string, GFile> Files = new SortedDictionary<string, GFile>(StringComparer.Ordinal);
        public readonly List<Proc> Procs = new List<Proc>();
        public long NextPid = 4100;

        public string HomeDir { get { return Home ?? "[" + Datastore + "] " + Name; } }
        public bool On { get { return Power == "poweredOn"; } }

        public string StateText
        {
            get { return Power == "poweredOn" ? "Powered on" : Power == "suspended" ? "Suspended" : "Powered off"; }
        }

        public List<Span> Freeze()
        {
            var s = new List<Span>(Running);
            s[s.Count - 1] = new Span(s[s.Count - 1].Seg, Sim.Stamp);
            return s;
        }

        // Takes the lowest number a consolidated delta left free, as the server reuses delta file names.
        public int NewSegment()
        {
            int free = SegDirs.IndexOf(null);
            if (free > 0) { SegDirs[free] = SnapLocation ?? HomeDir; return free; }
            SegDirs.Add(SnapLocation ?? HomeDir);
            return SegDirs.Count - 1;
        }

        public int SnapDepth(Snap s)
        {
            int n = 0;
            for (; s != null; s = s.Parent) n++;
            return n;
        }
    }

    static partial class Sim
    {
        public static readonly object Sync = new object();
        public static DateTime Now;
        public static long Stamp;
        public static int SnapSeq, TaskSeq, SessionSeq, EpochSeq;
        public static long WindowBytes;
        public static int MaxExtents;
        public static readonly Dictionary<string, Server> Servers = new Dictionary<string, Server>(StringComparer.OrdinalIgnoreCase);
        public static readonly List<HostInfo> Hosts = new List<HostInfo>();
        public static readonly List<Datastore> Datastores = new List<Datastore>();
        public static readonly List<string> Networks = new List<string>();
        public static readonly List<Vm> Vms = new List<Vm>();
        public static readonly List<GuestAccount> GuestAccounts = new List<GuestAccount>();
        public static readonly Dictionary<string, Session> Sessions = new Dictionary<string, Session>();

        public const long MiB = 1L << 20;
        public const long GiB = 1L << 30;
        public const string NotAuthenticated = "The session is not authenticated.";

        static Sim()
        {
            try { Load(null); }
            catch (Exception) { Build(null); }
            OpenState();
        }

        public static void EnsureLoaded() { }

        public static Vm FindVm(string id, bool instanceUuidOnly = false)
        {
            return Vms.FirstOrDefault(v => v.Name == id || v.Moref == id || string.Equals(v.InstanceUuid, id, StringComparison.OrdinalIgnoreCase)
                || (!instanceUuidOnly && string.Equals(v.Uuid, id, StringComparison.OrdinalIgnoreCase)));
        }

        public static string VmNotFound(string id) { return Shared.VmNotFound(id); }

        public static string StateFault(Vm vm)
        {
            return "The attempted operation cannot be performed in the current state (" + vm.StateText + ").";
        }

        public static Disk FindDisk(Vm vm, string id)
        {
            var d = vm.Disks.FirstOrDefault(x => x.Key.ToString() == id || x.Label == id || x.FileOf(vm, 0) == id);
            if (d == null) throw new SimFault("A specified parameter was not correct: deviceKey (" + id + ")");
            return d;
        }

        public static byte[] Hash(string text)
        {
            using (var sha = SHA1.Create()) return sha.ComputeHash(Encoding.UTF8.GetBytes(text));
        }

        public static string Hex(byte[] b, int count, string sep)
        {
            return string.Join(sep, b.Take(count).Select(x => x.ToString("x2")));
        }

        // Keeps tracking epochs of different processes apart; epochs kept in a state file stay as they were issued.
        static readonly string ProcessEpoch = Guid.NewGuid().ToString("N");

        public static string NewEpoch(Vm vm, Disk d)
        {
            var b = Hash("ctk:" + ProcessEpoch + ":" + vm.Moref + ":" + d.Key + ":" + (++EpochSeq));
            b[0] = 0x52;
            return Hex(b, 8, " ") + "-" + string.Join(" ", b.Skip(8).Take(8).Select(x => x.ToString("x2")));
        }

        public static void ResetTracking(Vm vm)
        {
            foreach (var d in vm.Disks)
            {
                d.Ids.Clear();
                d.Epoch = vm.Cbt ? NewEpoch(vm, d) : null;
            }
        }

        public static string Issue(Vm vm, Disk d, List<Span> state)
        {
            var last = d.Ids.LastOrDefault();
            if (last == null || !last.State.SequenceEqual(state))
            {
                d.Ids.Add(last = new ChangeId { Seq = d.Ids.Count == 0 ? 1 : last.Seq + 1, State = state });
                PruneChangeIds(vm, d);
            }
            return d.Epoch + "/" + last.Seq;
        }

        public static void WriteDisk(Vm vm, Disk d, long offset, long length)
        {
            if (offset < 0 || length <= 0 || offset + length > d.Capacity)
                throw new SimFault("Write outside disk " + d.Key + " (capacity " + d.Capacity + ")");
            int seg = vm.Running[vm.Running.Count - 1].Seg;
            d.Writes.Add(new Write { Offset = offset, Length = length, Stamp = ++Stamp, Seg = seg });
            Compact(vm, d, seg);
        }

        public static List<Area> Merge(IEnumerable<Area> areas)
        {
            var result = new List<Area>();
            foreach (var a in areas.Where(x => x.Length > 0).OrderBy(x => x.Start))
            {
                if (result.Count > 0 && a.Start <= result[result.Count - 1].End)
                {
                    var last = result[result.Count - 1];
                    result[result.Count - 1] = new Area(last.Start, Math.Max(last.End, a.End) - last.Start);
                }
                else result.Add(a);
            }
            return result;
        }

        public static List<Area> Allocated(Disk d, List<Span> state)
        {
            return Merge(d.In(state).Select(w => new Area(w.Offset, w.Length)));
        }

        // Which segment holds the newest data of each written area, ascending by offset.
        public static List<KeyValuePair<int, Area>> Owners(Disk d, List<Span> state)
        {
            var map = new List<KeyValuePair<int, Area>>();
            foreach (var w in d.In(state).OrderBy(x => x.Stamp))
            {
                long s = w.Offset, e = w.Offset + w.Length;
                var next = new List<KeyValuePair<int, Area>>();
                foreach (var p in map)
                {
                    if (p.Value.End <= s || p.Value.Start >= e) { next.Add(p); continue; }
                    if (p.Value.Start < s) next.Add(new KeyValuePair<int, Area>(p.Key, new Area(p.Value.Start, s - p.Value.Start)));
                    if (p.Value.End > e) next.Add(new KeyValuePair<int, Area>(p.Key, new Area(e, p.Value.End - e)));
                }
                next.Add(new KeyValuePair<int, Area>(w.Seg, new Area(s, e - s)));
                map = next;
            }
            map.Sort((x, y) => x.Value.Start.CompareTo(y.Value.Start));
            var merged = new List<KeyValuePair<int, Area>>();
            foreach (var p in map)
            {
                var n = merged.Count;
                if (n > 0 && merged[n - 1].Key == p.Key && merged[n - 1].Value.End == p.Value.Start)
                    merged[n - 1] = new KeyValuePair<int, Area>(p.Key, new Area(merged[n - 1].Value.Start, merged[n - 1].Value.Length + p.Value.Length));
                else merged.Add(p);
            }
            return merged;
        }

        public static long UnixSeconds(DateTime t)
        {
            return (long)(t.ToUniversalTime() - new DateTime(1970, 1, 1, 0, 0, 0, DateTimeKind.Utc)).TotalSeconds;
        }

        public static string Stamped(string prefix)
        {
            return prefix + Now.ToString("yyyyMMdd-HHmmss", CultureInfo.InvariantCulture);
        }
    }
}
