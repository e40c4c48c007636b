#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;
using System.Text;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        const int FileType = 0, DirectoryType = 1;

        GuestAccount Guest(string vm, string user, string password, string privilege, out Vm target)
        {
            var v = target = GetVm(vm, privilege);
            NotTemplate(v);
            RequireOn(v);
            if (v.Tools != "running") throw new SimFault("The guest operations agent could not be contacted.");
            var account = Sim.GuestAccounts.FirstOrDefault(a => a.User == user && a.Password == password);
            if (account == null) throw new SimFault("Failed to authenticate with the guest operating system using the supplied credentials.");
            return account;
        }

        static string Norm(string path, GuestAccount account)
        {
            if (string.IsNullOrEmpty(path)) throw new SimFault("A specified parameter was not correct: path");
            var parts = new List<string>();
            foreach (var p in ((path.StartsWith("/") ? "" : account.Home + "/") + path.Replace('\\', '/')).Split('/'))
            {
                if (p == "" || p == ".") continue;
                if (p == "..") { if (parts.Count > 0) parts.RemoveAt(parts.Count - 1); }
                else parts.Add(p);
            }
            return "/" + string.Join("/", parts);
        }

        static GFile Existing(Vm v, string path)
        {
            GFile f;
            if (!v.Files.TryGetValue(path, out f)) throw new SimFault("File " + path + " was not found");
            return f;
        }

        static GFile Folder(Vm v, string path)
        {
            var f = Existing(v, path);
            if (!f.Dir) throw new SimFault("Operation failed because file '" + path + "' is not a directory.");
            return f;
        }

        static IEnumerable<KeyValuePair<string, GFile>> Children(Vm v, string dir)
        {
            var prefix = dir == "/" ? "/" : dir + "/";
            return v.Files.Where(e => e.Key.Length > prefix.Length && e.Key.StartsWith(prefix, StringComparison.Ordinal) && e.Key.IndexOf('/', prefix.Length) < 0);
        }

        static SGuestFileLib Lib(string path, GFile f)
        {
            return new SGuestFileLib
            {
                name = path == "/" ? "/" : path.Substring(path.LastIndexOf('/') + 1), size = f.Size, type = f.Dir ? DirectoryType : FileType,
#if !FAULTS
                modifiedTime = f.Modified, unixMode = f.Mode,
#endif
                accessTime = f.Accessed, createTime = f.Created, unixUserId = f.Uid, unixGroupId = f.Gid
            };
        }

        public bool BrowseGuest(string vm, string host, string user, string password, string path, out List<SGuestFileLib> files)
        {
            return Browse(vm, user, password, path, false, out files);
        }

        public bool BrowseGuestFolders(string vm, string host, string user, string password, string path, out List<SGuestFileLib> folders)
        {
            return Browse(vm, user, password, path, true, out folders);
        }

        bool Browse(string vm, string user, string password, string path, bool foldersOnly, out List<SGuestFileLib> result)
        {
            result = null;
            Vm v;
            var p = Norm(path, Guest(vm, user, password, "VirtualMachine.GuestOperations.Query", out v));
            var f = Existing(v, p);
            var entries = f.Dir ? Children(v, p) : new[] { new KeyValuePair<string, GFile>(p, f) };
            result = entries.Where(e => !foldersOnly || e.Value.Dir).Select(e => Lib(e.Key, e.Value)).ToList();
            return true;
        }

        public bool CreateGuestFolder(string vm, string host, string user, string password, string path)
        {
            Vm v;
            var account = Guest(vm, user, password, "VirtualMachine.GuestOperations.Modify", out v);
            var p = Norm(path, account);
            if (v.Files.ContainsKey(p)) throw new SimFault("The file or folder " + p + " already exists.");
            for (var up = Sim.Parent(p); up != null; up = Sim.Parent(up))
                if (v.Files.ContainsKey(up) && !v.Files[up].Dir) throw new SimFault("Operation failed because file '" + up + "' is not a directory.");
            Sim.MakeDirs(v, p, account.Uid, account.Gid, Sim.Now);
            return true;
        }

        public bool CopyFileFromGuest(string vm, string host, string user, string password, string guestPath, string localPath)
        {
            Vm v;
            var p = Norm(guestPath, Guest(vm, user, password, "VirtualMachine.GuestOperations.Query", out v));
            var f = Existing(v, p);
            if (f.Dir) throw new SimFault("The file " + p + " is a directory.");
            var data = f.Data ?? Content.Of(Enumerable.Range(0, (int)Math.Min(f.Size, int.MaxValue)).Select(i => (byte)(i * 31 + 7)).ToArray());
            try { Sim.ExportContent(data, f.Size, localPath); }
            catch (Exception e) { throw new SimFault("Unable to write local file '" + localPath + "': " + e.Message); }
            f.Accessed = Sim.Now;
            return true;
        }

        public bool CopyFileToGuest(string vm, string host, string user, string password, string localPath, string guestPath, bool overwrite)
        {
            Vm v;
            var account = Guest(vm, user, password, "VirtualMachine.GuestOperations.Modify", out v);
            var p = Norm(guestPath, account);
            Folder(v, Sim.Parent(p) ?? "/");
            GFile old;
            if (v.Files.TryGetValue(p, out old) && (old.Dir || !overwrite)) throw new SimFault("The file or folder " + p + " already exists.");
            Content data;
            try { data = Sim.ImportContent(localPath); }
            catch (Exception e) { throw new SimFault("Unable to read local file '" + localPath + "': " + e.Message); }
            Sim.PutFile(v, p, data, 0x1A4, account.Uid, account.Gid, Sim.Now);
            return true;
        }

        public bool ExecuteScriptInGuest(string vm, string host, string user, string password, string script, string interpreter, string workingDirectory, int timeoutSeconds, string outputPath, ref int exitCode)
        {
            Vm v;
            var account = Guest(vm, user, password, "VirtualMachine.GuestOperations.Execute", out v);
            var shell = Norm(string.IsNullOrEmpty(interpreter) ? "/bin/sh" : interpreter, account);
            if (Existing(v, shell).Dir) throw new SimFault("The file " + shell + " is a directory.");
            var cwd = Norm(string.IsNullOrEmpty(workingDirectory) ? account.Home : workingDirectory, account);
            Folder(v, cwd);
            var output = new StringBuilder();
            long seconds;
            int status = Shell(v, account, script ?? "", cwd, output, out seconds);
            var proc = Start(v, account, shell, "<script>", seconds, status);
            if (timeoutSeconds > 0 && seconds > timeoutSeconds)
            {
                Sim.Now = Sim.Now.AddSeconds(timeoutSeconds);
                throw new SimFault("The guest script (pid " + proc.Pid + ") did not finish within " + timeoutSeconds + " seconds.");
            }
            Sim.Now = Sim.Now.AddSeconds(seconds);
            if (!string.IsNullOrEmpty(outputPath))
            {
                var o = Norm(outputPath, account);
                Folder(v, Sim.Parent(o) ?? "/");
                Sim.PutFile(v, o, Encoding.UTF8.GetBytes(output.ToString()), 0x1A4, account.Uid, account.Gid, Sim.Now);
            }
            exitCode = status;
            return true;
        }

        public bool ExecuteProcessInGuest(string vm, string host, string user, string password, string program, string arguments, string workingDirectory, int timeoutSeconds, ref int result)
        {
            Vm v;
            var account = Guest(vm, user, password, "VirtualMachine.GuestOperations.Execute", out v);
            var exe = Norm(program, account);
            if (Existing(v, exe).Dir) throw new SimFault("The file " + exe + " is a directory.");
            var cwd = Norm(string.IsNullOrEmpty(workingDirectory) ? account.Home : workingDirectory, account);
            Folder(v, cwd);
            var args = (arguments ?? "").Trim();
            var name = exe.Substring(exe.LastIndexOf('/') + 1);
            long seconds = 0;
            int status = 0;
            if (name == "false") status = 1;
            else if (name == "sleep") long.TryParse(args, out seconds);
            else if ((name == "sh" || name == "bash") && args.StartsWith("-c "))
                status = Shell(v, account, Unquote(args.Substring(3).Trim()), cwd, new StringBuilder(), out seconds);
            else if ((name == "sh" || name == "bash") && args.Length > 0)
            {
                var script = Existing(v, Norm(args, account));
                status = Shell(v, account, Encoding.UTF8.GetString(script.Data == null ? new byte[0] : script.Data.Bytes()), cwd, new StringBuilder(), out seconds);
            }
            var proc = Start(v, account, exe, args, seconds, status);
            if (timeoutSeconds <= 0) { result = (int)proc.Pid; return true; }
            if (seconds > timeoutSeconds)
            {
                Sim.Now = Sim.Now.AddSeconds(timeoutSeconds);
                result = (int)proc.Pid;
                throw new SimFault("The process " + proc.Pid + " did not finish within " + timeoutSeconds + " seconds.");
            }
            Sim.Now = Sim.Now.AddSeconds(seconds);
            result = status;
            return true;
        }

        static Proc Start(Vm v, GuestAccount account, string program, string args, long seconds, int exit)
        {
            var p = new Proc { Pid = v.NextPid++, Program = program, Args = args, User = account.User, Start = Sim.Now, End = Sim.Now.AddSeconds(seconds), Exit = exit };
            v.Procs.Add(p);
            Sim.PruneProcesses(v);
            return p;
        }

        public bool IsProcessRunningInGuest(string vm, string host, string user, string password, string program, long pid, ref bool running)
        {
            Vm v;
            var account = Guest(vm, user, password, "VirtualMachine.GuestOperations.Query", out v);
            var p = v.Procs.FirstOrDefault(x => x.Pid == pid && (string.IsNullOrEmpty(program) || x.Program == Norm(program, account) || x.Program.EndsWith("/" + program)));
            if (p == null) throw new SimFault("The process " + pid + " was not found in the guest.");
            running = Sim.Now < p.End;
            return true;
        }

        public bool GetGuestTempFolder(string vm, string host, string user, string password, out string folder)
        {
            folder = null;
            Vm v;
            Guest(vm, user, password, "VirtualMachine.GuestOperations.Query", out v);
            Folder(v, "/tmp");
            folder = "/tmp";
            return true;
        }

        public bool DeleteDirectoryInGuest(string vm, string host, string user, string password, string path)
        {
            Vm v;
            var p = Norm(path, Guest(vm, user, password, "VirtualMachine.GuestOperations.Modify", out v));
            if (p == "/") throw new SimFault("A specified parameter was not correct: directoryPath");
            Folder(v, p);
            foreach (var key in v.Files.Keys.Where(k => k == p || k.StartsWith(p + "/", StringComparison.Ordinal)).ToList()) v.Files.Remove(key);
            return true;
        }

        public bool ChangeGuestFileAttributes(string vm, string host, string user, string password, string path, SGuestFileLib attributes)
        {
            Vm v;
            var account = Guest(vm, user, password, "VirtualMachine.GuestOperations.Modify", out v);
            var f = Existing(v, Norm(path, account));
            var epoch = new DateTime(1970, 1, 1, 0, 0, 0, DateTimeKind.Utc);
#if !FAULTS
            if (attributes.unixMode != 0) f.Mode = attributes.unixMode;
            if (attributes.modifiedTime > epoch) f.Modified = attributes.modifiedTime;
#endif
            if (attributes.accessTime > epoch) f.Accessed = attributes.accessTime;
            f.Uid = attributes.unixUserId;
            f.Gid = attributes.unixGroupId;
            return true;
        }

        public bool ComputeGuestSize(string vm, string host, ref long size)
        {
            var v = GetVm(vm);
            RequireOn(v);
            if (v.Tools != "running") throw new SimFault("Cannot complete operation because VMware Tools is not running in this virtual machine.");
            var point = v.Freeze();
            size = v.Disks.Sum(d => Sim.Allocated(d, point).Sum(a => a.Length));
            return true;
        }

        static string Unquote(string s)
        {
            return s.Length >= 2 && (s[0] == '"' || s[0] == '\'') && s[s.Length - 1] == s[0] ? s.Substring(1, s.Length - 2) : s;
        }

        // dd of=/dev/sdX seek=OFFSET bytes=LENGTH: writes LENGTH bytes at byte OFFSET of the VM disk with key 2000 + X - 'a'.
        static int Dd(Vm v, GuestAccount account, IEnumerable<string> operands, StringBuilder output)
        {
            string device = null;
            long offset = -1, length = -1;
            foreach (var op in operands)
            {
                int eq = op.IndexOf('=');
                var key = eq < 0 ? op : op.Substring(0, eq);
                var value = eq < 0 ? "" : Unquote(op.Substring(eq + 1));
                long n;
                bool number = long.TryParse(value, NumberStyles.None, CultureInfo.InvariantCulture, out n);
                if (key == "of" && value.Length > 0) device = value;
                else if (key == "seek" && number) offset = n;
                else if (key == "bytes" && number && n > 0) length = n;
                else if (key != "if") { output.Append("dd: invalid operand '" + op + "'\n"); return 1; }
            }
            if (device == null || offset < 0 || length < 0) { output.Append("dd: usage: dd of=/dev/sdX seek=OFFSET bytes=LENGTH\n"); return 1; }
            var disk = device.Length == 8 && device.StartsWith("/dev/sd", StringComparison.Ordinal) && device[7] >= 'a' && device[7] <= 'z'
                ? v.Disks.FirstOrDefault(d => d.Key == 2000 + (device[7] - 'a')) : null;
            if (disk == null) { output.Append("dd: failed to open '" + device + "': No such device or address\n"); return 1; }
            if (account.Uid != 0) { output.Append("dd: failed to open '" + device + "': Permission denied\n"); return 1; }
            if (length > disk.Capacity - offset || !Simulator.WriteDisk(v.Moref, disk.Key.ToString(CultureInfo.InvariantCulture), offset, length))
            {
                output.Append("dd: error writing '" + device + "': No space left on device\n");
                return 1;
            }
            output.Append(length.ToString(CultureInfo.InvariantCulture) + " bytes copied\n");
            return 0;
        }

        // A small shell: exit, echo, sleep, true, false, touch, mkdir [-p], rm [-r|-f|-rf], cat, dd; lines or ';' separate commands.
        static int Shell(Vm v, GuestAccount account, string script, string cwd, StringBuilder output, out long seconds)
        {
            seconds = 0;
            int status = 0;
            foreach (var raw in script.Split('\n', ';'))
            {
                var line = raw.Trim();
                if (line.Length == 0 || line.StartsWith("#")) continue;
                var words = line.Split(new[] { ' ', '\t' }, StringSplitOptions.RemoveEmptyEntries);
                var rest = line.Substring(words[0].Length).Trim();
                var flags = string.Concat(words.Skip(1).Where(w => w.StartsWith("-")));
                var paths = words.Skip(1).Where(w => !w.StartsWith("-")).Select(w => Norm(Unquote(w), new GuestAccount { Home = cwd })).ToList();
                int n;
                switch (words[0])
                {
                    case "exit": return words.Length > 1 && int.TryParse(words[1], out n) ? n & 0xFF : status;
                    case "echo": output.Append(Unquote(rest)).Append('\n'); status = 0; break;
                    case "sleep": long t; if (long.TryParse(rest, out t)) seconds += t; status = 0; break;
                    case "true": case ":": status = 0; break;
                    case "false": status = 1; break;
                    case "touch":
                        status = 0;
                        foreach (var p in paths)
                            if (v.Files.ContainsKey(p)) v.Files[p].Modified = Sim.Now;
                            else if (v.Files.ContainsKey(Sim.Parent(p) ?? "/")) Sim.PutFile(v, p, new byte[0], 0x1A4, account.Uid, account.Gid, Sim.Now);
                            else { output.Append("touch: cannot touch '" + p + "': No such file or directory\n"); status = 1; }
                        break;
                    case "mkdir":
                        status = 0;
                        foreach (var p in paths)
                            if (flags.Contains("p") || (v.Files.ContainsKey(Sim.Parent(p) ?? "/") && !v.Files.ContainsKey(p))) Sim.MakeDirs(v, p, account.Uid, account.Gid, Sim.Now);
                            else { output.Append("mkdir: cannot create directory '" + p + "'\n"); status = 1; }
                        break;
                    case "rm":
                        status = 0;
                        foreach (var p in paths)
                        {
                            GFile f;
                            if (!v.Files.TryGetValue(p, out f)) { if (!flags.Contains("f")) { output.Append("rm: cannot remove '" + p + "': No such file or directory\n"); status = 1; } continue; }
                            if (f.Dir && !flags.Contains("r")) { output.Append("rm: cannot remove '" + p + "': Is a directory\n"); status = 1; continue; }
                            foreach (var key in v.Files.Keys.Where(k => k == p || k.StartsWith(p + "/", StringComparison.Ordinal)).ToList()) v.Files.Remove(key);
                        }
                        break;
                    case "cat":
                        status = 0;
                        foreach (var p in paths)
                        {
                            GFile f;
                            if (v.Files.TryGetValue(p, out f) && !f.Dir) output.Append(Encoding.UTF8.GetString(f.Data == null ? new byte[0] : f.Data.Bytes()));
                            else { output.Append("cat: " + p + ": No such file or directory\n"); status = 1; }
                        }
                        break;
                    case "dd": status = Dd(v, account, words.Skip(1), output); break;
                    default: output.Append("sh: 1: " + words[0] + ": not found\n"); status = 127; break;
                }
            }
            return status;
        }
    }
}
#endif
