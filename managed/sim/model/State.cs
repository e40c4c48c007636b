using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;
using System.Security.Cryptography;
using System.Text;
using System.Xml;

namespace VISDKWrapper
{
    // A state file that cannot be taken as it is; the simulator then refuses the login instead of replacing the file.
    sealed class StateError : Exception
    {
        public StateError(string message) : base(message) { }
    }

    // One part of the model kept in the state file, as an element of its own. Load checks everything and returns the
    // change to make, so a bad file changes nothing. A part missing from a file written before it existed keeps what the
    // configuration built.
    sealed class StatePart
    {
        public readonly string Name;
        public readonly Action<XmlWriter> Save;
        public readonly Func<XmlElement, Action> Load;

        public StatePart(string name, Action<XmlWriter> save, Func<XmlElement, Action> load) { Name = name; Save = save; Load = load; }
    }

    // The inventory kept in the file named by VISDK_SIM_STATE. Every call takes an exclusive lock on the file beside it
    // (PATH.lock), reads the file again when another process changed it, and writes it before letting go, so runs
    // sharing one file see each other's changes. Layout: "VISDKSIM <version> <body bytes> <body SHA-1>", an XML body.
    static partial class Sim
    {
        public const string StateVariable = "VISDK_SIM_STATE";
        const string StateMagic = "VISDKSIM";
        const int StateVersion = 2;
        const string Base64Mark = "b64:";

        // New model parts add themselves here.
        static readonly StatePart[] StateParts =
        {
            new StatePart("clock", SaveClock, LoadClock),
            new StatePart("vms", SaveVms, LoadVms),
            new StatePart("unregisteredVms", SaveUnregistered, LoadUnregistered),
            new StatePart("vmDetails", SaveVmDetails, LoadVmDetails),
            new StatePart("datastores", SaveDatastores, LoadDatastores),
            new StatePart("management", SaveManagement, LoadManagement),
        };

        // The name the user gave (made absolute) and the file it leads to through any links.
        static string stateName, statePath;
        // The header line and body of the file as this process last read or wrote it; null when it has neither.
        static string stateHeader, stateSaved;

        // Why the state file cannot be used for the current call: the login and every operation that needs a session
        // fail with it, and the file is left alone.
        public static string StateRefused;

        static void OpenState()
        {
            StateRefused = null;
            stateName = statePath = contentDir = stateHeader = stateSaved = null;
            var path = Environment.GetEnvironmentVariable(StateVariable);
            if (string.IsNullOrEmpty(path)) return;
            try
            {
                stateName = Path.GetFullPath(path);
                statePath = Posix.Resolve(stateName);
            }
            catch (Exception e)
            {
                stateName = stateName ?? path;
                StateRefused = "The simulator state file '" + path + "' cannot be used: " + e.Message;
                return;
            }
            contentDir = statePath + ContentSuffix;
        }

        // Runs one change of the model: under the process lock, and with a state file also under its file lock, with
        // the latest state loaded first and saved after. A failed save fails the call unless told to report it only.
        public static T Hold<T>(Func<T> body, bool saveFailureFails = true)
        {
            lock (Sync)
            {
                if (holdDepth > 0 || stateName == null)
                {
                    holdDepth++;
                    try { return body(); }
                    finally { holdDepth--; }
                }
                holdDepth++;
                bool locked = false;
                try
                {
                    locked = TakeState();
                    T result;
                    try { result = body(); }
                    catch (Exception)
                    {
                        if (locked) SaveState();
                        throw;
                    }
                    var problem = locked ? SaveState() : null;
                    if (problem != null && saveFailureFails) throw new SimFault(problem);
                    return result;
                }
                finally
                {
                    holdDepth--;
                    if (locked) Posix.Unlock(lockFd);
                }
            }
        }

        public static void Hold(Action body)
        {
            Hold(() => { body(); return 0; }, false);
        }

        // Locks the state file and brings the model up to it; false, with StateRefused saying why, when it cannot.
        static bool TakeState()
        {
            StateRefused = null;
            if (statePath == null)
            {
                OpenState();
                if (statePath == null) return false;
            }
            var dir = Path.GetDirectoryName(statePath);
            if (!Directory.Exists(dir))
            {
                StateRefused = "The simulator state file '" + stateName + "' cannot be used: its directory '" + dir + "' does not exist";
                return false;
            }
            try
            {
                if (lockFd < 0) lockFd = Posix.OpenLockFile(statePath + LockSuffix);
                if (!Posix.Lock(lockFd, LockPatience))
                {
                    StateRefused = "The simulator state file '" + stateName + "' stayed locked by another process for " + LockPatience.TotalSeconds + " seconds";
                    return false;
                }
            }
            catch (IOException e)
            {
                StateRefused = "The simulator state file '" + stateName + "' cannot be used: " + e.Message;
                return false;
            }
            try
            {
                ReloadState();
                return true;
            }
            catch (Exception e)
            {
                Posix.Unlock(lockFd);
                var reason = e is StateError ? e.Message : e.GetType().Name + ": " + e.Message;
                StateRefused = "The simulator state file '" + stateName + "' is refused: " + reason + ". Move it away to start from the configured inventory.";
                return false;
            }
        }

        // Reads the file when its header differs from the one last read or written here. A missing file is a fresh
        // start: the model this process has becomes the state. Tasks still running in this process carry on.
        static void ReloadState()
        {
            string header;
            try
            {
                using (var f = new FileStream(statePath, FileMode.Open, FileAccess.Read, FileShare.ReadWrite))
                {
                    var b = new byte[160];
                    int n = 0, got;
                    while (n < b.Length && (got = f.Read(b, n, b.Length - n)) > 0) n += got;
                    int eol = Array.IndexOf(b, (byte)'\n', 0, n);
                    header = Encoding.ASCII.GetString(b, 0, eol < 0 ? n : eol);
                }
            }
            catch (FileNotFoundException) { stateHeader = stateSaved = null; return; }
            if (header == stateHeader) return;
            string body;
            var install = ReadState(File.ReadAllBytes(statePath), out body);
            var running = Tasks.Where(t => t.Running).ToList();
            install();
            foreach (var t in running)
            {
                Tasks.RemoveAll(x => x.Id == t.Id);
                Tasks.Add(t);
            }
            stateHeader = header;
            stateSaved = body;
        }

        // Writes the inventory when it differs from what was last written; returns why it could not, else null.
        // After a failure the next call reads the file again, so the change that was not saved is not kept either.
        public static string SaveState()
        {
            if (statePath == null || StateRefused != null) return null;
            try
            {
                SpillContents();
                if (Unchanged(stateSaved)) return null;
                var body = StateBody();
                var header = StateHeader(body);
                var bytes = new UTF8Encoding(false).GetBytes(header + "\n" + body);
                WriteAtomically(statePath, s => s.Write(bytes, 0, bytes.Length), statePath);
                stateSaved = body;
                stateHeader = header;
                SweepContents();
                return null;
            }
            catch (Exception e)
            {
                stateHeader = stateSaved = null;
                var problem = "The simulator state was not saved to '" + stateName + "': " + e.Message;
                Console.Error.WriteLine("VISDKWrapper: " + problem);
                return problem;
            }
        }

        static string StateHeader(string body)
        {
            var bytes = Encoding.UTF8.GetBytes(body);
            using (var sha = SHA1.Create())
                return StateMagic + " " + StateVersion.ToString(CultureInfo.InvariantCulture) + " " + bytes.Length.ToString(CultureInfo.InvariantCulture)
                    + " " + Hex(sha.ComputeHash(bytes), 20, "");
        }

        static void WriteBody(TextWriter target)
        {
            var settings = new XmlWriterSettings { Indent = true, OmitXmlDeclaration = true, Encoding = new UTF8Encoding(false), NewLineChars = "\n" };
            using (var w = XmlWriter.Create(target, settings))
            {
                w.WriteStartElement("simulatorState");
                foreach (var part in StateParts)
                {
                    w.WriteStartElement(part.Name);
                    part.Save(w);
                    w.WriteEndElement();
                }
                w.WriteEndElement();
            }
            target.Write('\n');
        }

        static string StateBody()
        {
            var text = new StringWriter(CultureInfo.InvariantCulture);
            WriteBody(text);
            return text.ToString();
        }

        // Most calls change nothing: comparing as the body is written spares building a copy of it each time.
        static bool Unchanged(string saved)
        {
            if (saved == null) return false;
            var compare = new SameText(saved);
            WriteBody(compare);
            return compare.Same;
        }

        sealed class SameText : TextWriter
        {
            readonly string expected;
            int at;
            bool differs;

            public SameText(string expected) { this.expected = expected; }
            public override Encoding Encoding { get { return Encoding.UTF8; } }
            public bool Same { get { return !differs && at == expected.Length; } }

            public override void Write(char c)
            {
                if (differs) return;
                if (at < expected.Length && expected[at] == c) at++;
                else differs = true;
            }

            public override void Write(char[] buffer, int index, int count)
            {
                if (differs) return;
                if (count > expected.Length - at) { differs = true; return; }
                for (int i = 0; i < count; i++)
                    if (expected[at + i] != buffer[index + i]) { differs = true; return; }
                at += count;
            }

            public override void Write(string value)
            {
                if (value == null || differs) return;
                if (string.CompareOrdinal(expected, at, value, 0, value.Length) == 0 && at + value.Length <= expected.Length) at += value.Length;
                else differs = true;
            }
        }

        // Checks the header and the whole body before anything is read; returns the change that installs the state.
        static Action ReadState(byte[] file, out string body)
        {
            if (file.Length == 0) throw new StateError("the file is empty");
            int eol = Array.IndexOf(file, (byte)'\n');
            var head = Encoding.ASCII.GetString(file, 0, eol < 0 ? Math.Min(file.Length, 80) : eol).Split(' ');
            if (head[0] != StateMagic) throw new StateError("it is not a simulator state file (it does not start with \"" + StateMagic + "\")");
            int version, length;
            if (eol < 0 || head.Length != 4 || !int.TryParse(head[1], NumberStyles.None, CultureInfo.InvariantCulture, out version)
                || !int.TryParse(head[2], NumberStyles.None, CultureInfo.InvariantCulture, out length))
                throw new StateError("its header line is damaged");
            if (version < 1 || version > StateVersion)
                throw new StateError("it has format version " + version + ", this simulator reads versions 1 to " + StateVersion);
            int have = file.Length - eol - 1;
            if (have < length) throw new StateError("it is truncated (" + have + " of " + length + " bytes of content)");
            if (have > length) throw new StateError("it has " + (have - length) + " bytes after its content");
            using (var sha = SHA1.Create())
                if (Hex(sha.ComputeHash(file, eol + 1, length), 20, "") != head[3])
                    throw new StateError("its content does not match its checksum");

            var doc = new XmlDocument();
            try { doc.LoadXml(body = new UTF8Encoding(false, true).GetString(file, eol + 1, length)); }
            catch (Exception e) { throw new StateError("its content is not readable (" + e.Message + ")"); }
            var root = doc.DocumentElement;
            if (root == null || root.Name != "simulatorState") throw new StateError("its content is not a simulator state");
            var changes = new List<Action>();
            foreach (var part in StateParts)
            {
                var e = root[part.Name];
                if (e != null) changes.Add(part.Load(e));
            }
            return () => { foreach (var change in changes) change(); };
        }

        // Texts that XML would not carry unchanged (control characters, surrogates, line ends) are stored as UTF-8 in base 64.
        static string Pack(string s)
        {
            if (s == null) return null;
            bool plain = !s.StartsWith(Base64Mark, StringComparison.Ordinal);
            for (int i = 0; plain && i < s.Length; i++)
            {
                char ch = s[i];
                plain = ch >= 0x20 && ch < 0xD800 || ch >= 0xE000 && ch < 0xFFFE;
            }
            return plain ? s : Base64Mark + Convert.ToBase64String(Encoding.UTF8.GetBytes(s));
        }

        static string Unpack(string s)
        {
            if (s == null || !s.StartsWith(Base64Mark, StringComparison.Ordinal)) return s;
            try { return Encoding.UTF8.GetString(Convert.FromBase64String(s.Substring(Base64Mark.Length))); }
            catch (FormatException) { throw new StateError("a packed text is damaged"); }
        }

        static void Put(XmlWriter w, string name, string value)
        {
            if (value != null) w.WriteAttributeString(name, Pack(value));
        }

        static void Put(XmlWriter w, string name, long value) { w.WriteAttributeString(name, value.ToString(CultureInfo.InvariantCulture)); }
        static void Put(XmlWriter w, string name, bool value) { w.WriteAttributeString(name, value ? "true" : "false"); }
        static void Put(XmlWriter w, string name, DateTime value) { Put(w, name, value.Ticks); }

        // Texts are written only when not null, so an absent attribute reads back as null.
        static string Text(XmlElement e, string name)
        {
            return e.HasAttribute(name) ? Unpack(e.GetAttribute(name)) : null;
        }

        static string Need(XmlElement e, string name)
        {
            var v = Text(e, name);
            if (v == null) throw new StateError("<" + e.Name + "> has no attribute '" + name + "'");
            return v;
        }

        static long Long(XmlElement e, string name)
        {
            long v;
            if (!long.TryParse(Need(e, name), NumberStyles.AllowLeadingSign, CultureInfo.InvariantCulture, out v))
                throw new StateError("<" + e.Name + "> attribute '" + name + "' is not a number");
            return v;
        }

        static int Int(XmlElement e, string name)
        {
            long v = Long(e, name);
            if (v < int.MinValue || v > int.MaxValue) throw new StateError("<" + e.Name + "> attribute '" + name + "' is out of range");
            return (int)v;
        }

        static bool Flag(XmlElement e, string name)
        {
            var v = Need(e, name);
            if (v != "true" && v != "false") throw new StateError("<" + e.Name + "> attribute '" + name + "' is not true or false");
            return v == "true";
        }

        static DateTime Time(XmlElement e, string name)
        {
            long ticks = Long(e, name);
            if (ticks < DateTime.MinValue.Ticks || ticks > DateTime.MaxValue.Ticks) throw new StateError("<" + e.Name + "> attribute '" + name + "' is not a time");
            return new DateTime(ticks, DateTimeKind.Utc);
        }

        static IEnumerable<XmlElement> Children(XmlElement e, string name)
        {
            return e.ChildNodes.OfType<XmlElement>().Where(x => x.Name == name);
        }

        static void SaveClock(XmlWriter w)
        {
            Put(w, "now", Now);
            Put(w, "stamp", Stamp);
            Put(w, "snapshotSeq", SnapSeq);
            Put(w, "taskSeq", TaskSeq);
            Put(w, "epochSeq", EpochSeq);
        }

        static Action LoadClock(XmlElement e)
        {
            var now = Time(e, "now");
            long stamp = Long(e, "stamp");
            int snapSeq = Int(e, "snapshotSeq"), taskSeq = Int(e, "taskSeq"), epochSeq = Int(e, "epochSeq");
            return () => { Now = now; Stamp = stamp; SnapSeq = snapSeq; TaskSeq = taskSeq; EpochSeq = epochSeq; };
        }

        static void SaveSpans(XmlWriter w, string name, List<Span> spans)
        {
            w.WriteStartElement(name);
            foreach (var s in spans)
            {
                w.WriteStartElement("span");
                Put(w, "segment", s.Seg);
                Put(w, "upTo", s.Max);
                w.WriteEndElement();
            }
            w.WriteEndElement();
        }

        static List<Span> LoadSpans(XmlElement parent, string name, int segments)
        {
            var e = parent[name];
            if (e == null) throw new StateError("<" + parent.Name + "> has no <" + name + ">");
            var spans = Children(e, "span").Select(s => new Span(Int(s, "segment"), Long(s, "upTo"))).ToList();
            if (spans.Count == 0 || spans.Any(s => s.Seg < 0 || s.Seg >= segments))
                throw new StateError("<" + name + "> of <" + parent.Name + "> names segments the VM does not have");
            return spans;
        }

        static void SaveVms(XmlWriter w)
        {
            foreach (var vm in Vms) SaveVm(w, vm);
        }

        static void SaveVm(XmlWriter w, Vm vm)
        {
            {
                w.WriteStartElement("vm");
                Put(w, "name", vm.Name); Put(w, "moref", vm.Moref); Put(w, "uuid", vm.Uuid); Put(w, "instanceUuid", vm.InstanceUuid);
                Put(w, "host", vm.Host); Put(w, "datastore", vm.Datastore); Put(w, "power", vm.Power); Put(w, "tools", vm.Tools);
                Put(w, "annotation", vm.Annotation); Put(w, "guestId", vm.GuestId); Put(w, "guestName", vm.GuestName);
                Put(w, "managedBy", vm.ManagedBy); Put(w, "snapshotDisabledBy", vm.SnapDisabledBy); Put(w, "snapshotLocation", vm.SnapLocation);
                Put(w, "template", vm.Template); Put(w, "toolsMounted", vm.ToolsMounted); Put(w, "changeTracking", vm.Cbt);
                Put(w, "hardwareVersion", vm.HardwareVersion); Put(w, "memoryMB", vm.MemoryMB); Put(w, "alarms", vm.Alarms);
                Put(w, "nextPid", vm.NextPid);
                if (vm.Current != null) Put(w, "current", vm.Current.Id);
                foreach (var n in vm.Networks) { w.WriteStartElement("network"); Put(w, "name", n); w.WriteEndElement(); }
                foreach (var d in vm.SegDirs) { w.WriteStartElement("segment"); Put(w, "dir", d); w.WriteEndElement(); }
                SaveSpans(w, "running", vm.Running);
                foreach (var d in vm.Disks) SaveDisk(w, d);
                foreach (var s in vm.Snaps) SaveSnap(w, s);
                foreach (var f in vm.Files) SaveFile(w, f.Key, f.Value);
                foreach (var p in vm.Procs)
                {
                    w.WriteStartElement("process");
                    Put(w, "pid", p.Pid); Put(w, "program", p.Program); Put(w, "args", p.Args); Put(w, "user", p.User);
                    Put(w, "start", p.Start); Put(w, "end", p.End); Put(w, "exit", p.Exit);
                    w.WriteEndElement();
                }
                w.WriteEndElement();
            }
        }

        static void SaveDisk(XmlWriter w, Disk d)
        {
            w.WriteStartElement("disk");
            Put(w, "key", d.Key); Put(w, "label", d.Label); Put(w, "dir", d.Dir); Put(w, "stem", d.Stem); Put(w, "adapter", d.Adapter);
            Put(w, "capacity", d.Capacity); Put(w, "thin", d.Thin); Put(w, "epoch", d.Epoch);
            foreach (var x in d.Writes)
            {
                w.WriteStartElement("write");
                Put(w, "offset", x.Offset); Put(w, "length", x.Length); Put(w, "stamp", x.Stamp); Put(w, "segment", x.Seg);
                w.WriteEndElement();
            }
            foreach (var id in d.Ids)
            {
                w.WriteStartElement("changeId");
                Put(w, "seq", id.Seq);
                SaveSpans(w, "state", id.State);
                w.WriteEndElement();
            }
            w.WriteEndElement();
        }

        static void SaveSnap(XmlWriter w, Snap s)
        {
            w.WriteStartElement("snapshot");
            Put(w, "id", s.Id); Put(w, "name", s.Name); Put(w, "description", s.Description); Put(w, "powerState", s.PowerState);
            Put(w, "created", s.Created); Put(w, "quiesced", s.Quiesced); Put(w, "memory", s.Memory); Put(w, "kind", s.Kind.ToString());
            if (s.Parent != null) Put(w, "parent", s.Parent.Id);
            Put(w, "childSegment", s.ChildSeg);
            SaveSpans(w, "state", s.State);
            foreach (var c in s.ChangeIds)
            {
                w.WriteStartElement("changeId");
                Put(w, "disk", c.Key); Put(w, "id", c.Value);
                w.WriteEndElement();
            }
            w.WriteEndElement();
        }

        static void SaveFile(XmlWriter w, string path, GFile f)
        {
            w.WriteStartElement("file");
            Put(w, "path", path); Put(w, "directory", f.Dir); Put(w, "size", f.Size);
            Put(w, "modified", f.Modified); Put(w, "accessed", f.Accessed); Put(w, "created", f.Created);
            Put(w, "uid", f.Uid); Put(w, "gid", f.Gid); Put(w, "mode", f.Mode);
            SaveContent(w, f.Data);
            w.WriteEndElement();
        }

        static Action LoadVms(XmlElement e)
        {
            var vms = Children(e, "vm").Select(LoadVm).ToList();
            var names = new HashSet<string>();
            foreach (var vm in vms)
                if (!names.Add(vm.Name) || !names.Add("\0" + vm.Moref)) throw new StateError("VM '" + vm.Name + "' (" + vm.Moref + ") appears twice");
            return () => { Vms.Clear(); Vms.AddRange(vms); };
        }

        static Vm LoadVm(XmlElement e)
        {
            var vm = new Vm
            {
                Name = Need(e, "name"), Moref = Need(e, "moref"), Uuid = Text(e, "uuid"), InstanceUuid = Text(e, "instanceUuid"),
                Host = Text(e, "host"), Datastore = Text(e, "datastore"), Power = Need(e, "power"), Tools = Text(e, "tools"),
                Annotation = Text(e, "annotation"), GuestId = Text(e, "guestId"), GuestName = Text(e, "guestName"),
                ManagedBy = Text(e, "managedBy"), SnapDisabledBy = Text(e, "snapshotDisabledBy"), SnapLocation = Text(e, "snapshotLocation"),
                Template = Flag(e, "template"), ToolsMounted = Flag(e, "toolsMounted"), Cbt = Flag(e, "changeTracking"),
                HardwareVersion = Int(e, "hardwareVersion"), MemoryMB = Int(e, "memoryMB"), Alarms = Int(e, "alarms"), NextPid = Long(e, "nextPid")
            };
            if (vm.Power != "poweredOn" && vm.Power != "poweredOff" && vm.Power != "suspended")
                throw new StateError("VM '" + vm.Name + "' has an unknown power state '" + vm.Power + "'");
            vm.Networks.AddRange(Children(e, "network").Select(n => Need(n, "name")));
            vm.SegDirs.AddRange(Children(e, "segment").Select(s => Text(s, "dir")));
            if (vm.SegDirs.Count == 0) throw new StateError("VM '" + vm.Name + "' has no disk segments");
            vm.Running = LoadSpans(e, "running", vm.SegDirs.Count);
            foreach (var d in Children(e, "disk")) vm.Disks.Add(LoadDisk(d, vm.SegDirs.Count));

            var byId = new Dictionary<string, Snap>();
            var parents = new List<KeyValuePair<Snap, string>>();
            foreach (var s in Children(e, "snapshot"))
            {
                SnapKind kind;
                if (!Enum.TryParse(Need(s, "kind"), out kind)) throw new StateError("snapshot kind '" + Need(s, "kind") + "' is unknown");
                var snap = new Snap
                {
                    Id = Need(s, "id"), Name = Text(s, "name"), Description = Text(s, "description"), PowerState = Text(s, "powerState"),
                    Created = Time(s, "created"), Quiesced = Flag(s, "quiesced"), Memory = Flag(s, "memory"), Kind = kind,
                    ChildSeg = Int(s, "childSegment"), State = LoadSpans(s, "state", vm.SegDirs.Count)
                };
                if (snap.ChildSeg < 0 || snap.ChildSeg >= vm.SegDirs.Count) throw new StateError("snapshot '" + snap.Id + "' names a segment the VM does not have");
                foreach (var c in Children(s, "changeId")) snap.ChangeIds[Int(c, "disk")] = Need(c, "id");
                if (byId.ContainsKey(snap.Id)) throw new StateError("snapshot '" + snap.Id + "' appears twice in VM '" + vm.Name + "'");
                byId[snap.Id] = snap;
                vm.Snaps.Add(snap);
                parents.Add(new KeyValuePair<Snap, string>(snap, Text(s, "parent")));
            }
            foreach (var p in parents)
                if (p.Value != null && !byId.TryGetValue(p.Value, out p.Key.Parent))
                    throw new StateError("snapshot '" + p.Key.Id + "' has an unknown parent '" + p.Value + "'");
            var current = Text(e, "current");
            if (current != null && !byId.TryGetValue(current, out vm.Current))
                throw new StateError("VM '" + vm.Name + "' has an unknown current snapshot '" + current + "'");

            foreach (var f in Children(e, "file"))
            {
                var data = LoadContent(f, "guest file '" + Need(f, "path") + "'");
                vm.Files[Need(f, "path")] = new GFile
                {
                    Dir = Flag(f, "directory"), Size = Long(f, "size"), Modified = Time(f, "modified"), Accessed = Time(f, "accessed"),
                    Created = Time(f, "created"), Uid = Int(f, "uid"), Gid = Int(f, "gid"), Mode = Int(f, "mode"), Data = data
                };
            }
            foreach (var p in Children(e, "process"))
                vm.Procs.Add(new Proc
                {
                    Pid = Long(p, "pid"), Program = Text(p, "program"), Args = Text(p, "args"), User = Text(p, "user"),
                    Start = Time(p, "start"), End = Time(p, "end"), Exit = Int(p, "exit")
                });
            return vm;
        }

        static Disk LoadDisk(XmlElement e, int segments)
        {
            var d = new Disk
            {
                Key = Int(e, "key"), Label = Text(e, "label"), Dir = Text(e, "dir"), Stem = Text(e, "stem"), Adapter = Text(e, "adapter"),
                Capacity = Long(e, "capacity"), Thin = Flag(e, "thin"), Epoch = Text(e, "epoch")
            };
            foreach (var x in Children(e, "write"))
            {
                var write = new Write { Offset = Long(x, "offset"), Length = Long(x, "length"), Stamp = Long(x, "stamp"), Seg = Int(x, "segment") };
                if (write.Offset < 0 || write.Length <= 0 || write.Offset > d.Capacity - write.Length || write.Seg < 0 || write.Seg >= segments)
                    throw new StateError("a write of disk " + d.Key + " lies outside the disk");
                d.Writes.Add(write);
            }
            foreach (var c in Children(e, "changeId"))
                d.Ids.Add(new ChangeId { Seq = Int(c, "seq"), State = LoadSpans(c, "state", segments) });
            return d;
        }
    }
}
