#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.IO;
using System.Linq;
using System.Text;
using System.Text.RegularExpressions;
using System.Threading;

namespace VISDKWrapper
{
    // Guest operations through the guest operations manager's file and process managers; every call carries the guest
    // account as a NamePasswordAuthentication. The server checks power, tools and the account.
    sealed partial class VimClient
    {
        const int FileEntry = 0, DirectoryEntry = 1;
        static readonly DateTime UnixEpoch = new DateTime(1970, 1, 1, 0, 0, 0, DateTimeKind.Utc);

        // The managers do not change while the client talks to one server: read once.
        MoRef guestFiles, guestProcesses;

        sealed class GuestLogin
        {
            public MoRef Vm;
            public string User, Password;
        }

        GuestLogin Guest(string vm, string user, string password)
        {
            var target = Vm(vm);
            if (guestFiles == null)
            {
                var managers = Retrieve(Content("guestOperationsManager"), "fileManager", "processManager");
                guestFiles = managers["fileManager"].AsRef();
                guestProcesses = managers["processManager"].AsRef();
                if (guestFiles == null || guestProcesses == null) throw new ClientFault("The server offers no guest file or process manager");
            }
            return new GuestLogin { Vm = target, User = user ?? "", Password = password ?? "" };
        }

        static SoapRequest GuestCall(MoRef manager, string method, GuestLogin g)
        {
            return new SoapRequest(method, manager).Ref("vm", g.Vm).Begin("auth", "NamePasswordAuthentication")
                .Add("interactiveSession", false).Add("username", g.User).Secret("password", g.Password).End();
        }

        SoapRequest FileCall(string method, GuestLogin g) { return GuestCall(guestFiles, method, g); }

        SoapRequest ProcessCall(string method, GuestLogin g) { return GuestCall(guestProcesses, method, g); }

        static string GuestPath(string path, string parameter = "path")
        {
            if (string.IsNullOrEmpty(path)) throw new ClientFault("A specified parameter was not correct: " + parameter);
            return path;
        }

        public bool BrowseGuest(string vm, string host, string user, string password, string path, out List<SGuestFileLib> files)
        {
            files = ListGuest(Guest(vm, user, password), GuestPath(path));
            return true;
        }

        public bool BrowseGuestFolders(string vm, string host, string user, string password, string path, out List<SGuestFileLib> folders)
        {
            folders = ListGuest(Guest(vm, user, password), GuestPath(path)).Where(f => f.type == DirectoryEntry).ToList();
            return true;
        }

        // A folder's entries page by page until none remain; a file lists itself. "." and ".." are left out.
        List<SGuestFileLib> ListGuest(GuestLogin g, string path)
        {
            var result = new List<SGuestFileLib>();
            for (int index = 0; ;)
            {
                var page = Invoke(FileCall("ListFilesInGuest", g).Add("filePath", path).Add("index", index).Add("maxResults", settings.PageSize))["returnval"];
                var files = page.All("files").ToList();
                result.AddRange(files.Where(f => f.Str("path") != "." && f.Str("path") != "..").Select(GuestFile));
                index += files.Count;
                int remaining = page.Int("remaining");
                if (remaining <= 0) return result;
                if (files.Count == 0) throw new ClientFault("The server's listing of " + path + " stopped short: it sent no entries but says " + remaining + " remain");
            }
        }

        static SGuestFileLib GuestFile(VimNode f)
        {
            var a = f["attributes"];
            return new SGuestFileLib
            {
                name = f.Str("path"), size = f.Long("size"), type = f.Str("type") == "directory" ? DirectoryEntry : FileEntry,
#if !FAULTS
                modifiedTime = a["modificationTime"].AsTime() ?? UnixEpoch, unixMode = a.Int("permissions"),
#endif
                accessTime = a["accessTime"].AsTime() ?? UnixEpoch, createTime = a["createTime"].AsTime() ?? UnixEpoch,
                unixUserId = a.Int("ownerId"), unixGroupId = a.Int("groupId")
            };
        }

        public bool CreateGuestFolder(string vm, string host, string user, string password, string path)
        {
            var g = Guest(vm, user, password);
            Invoke(FileCall("MakeDirectoryInGuest", g).Add("directoryPath", GuestPath(path)).Add("createParentDirectories", true));
            return true;
        }

        public bool DeleteDirectoryInGuest(string vm, string host, string user, string password, string path)
        {
            var g = Guest(vm, user, password);
            if (GuestPath(path).Trim('/') == "") throw new ClientFault("A specified parameter was not correct: directoryPath");
            Invoke(FileCall("DeleteDirectoryInGuest", g).Add("directoryPath", path).Add("recursive", true));
            return true;
        }

        public bool CopyFileFromGuest(string vm, string host, string user, string password, string guestPath, string localPath)
        {
            var g = Guest(vm, user, password);
            var info = Invoke(FileCall("InitiateFileTransferFromGuest", g).Add("guestFilePath", GuestPath(guestPath)))["returnval"];
            Download(TransferUrl(info.Str("url")), localPath);
            return true;
        }

        public bool CopyFileToGuest(string vm, string host, string user, string password, string localPath, string guestPath, bool overwrite)
        {
            var g = Guest(vm, user, password);
            GuestPath(guestPath);
            var local = new FileInfo(localPath ?? "");
            if (string.IsNullOrEmpty(localPath) || !local.Exists) throw new ClientFault("The local file " + localPath + " was not found");
            PutGuestFile(g, localPath, guestPath, local.Length, overwrite);
            return true;
        }

        void PutGuestFile(GuestLogin g, string localPath, string guestPath, long size, bool overwrite)
        {
            var url = Invoke(FileCall("InitiateFileTransferToGuest", g).Add("guestFilePath", guestPath)
                .Begin("fileAttributes", "GuestFileAttributes").End().Add("fileSize", size).Add("overwrite", overwrite))["returnval"].Text;
            Upload(localPath, TransferUrl(url));
        }

        // A transfer URL whose host is "*" means the address the client reached the server by. Plain http only to loopback,
        // as for the server itself.
        Uri TransferUrl(string url)
        {
            var star = Regex.Match(url ?? "", @"^(https?://)\*(:\d+)?(?=[/?#]|$)");
            if (star.Success)
                url = star.Groups[1].Value + (star.Groups[2].Success ? soap.Url.Host + star.Groups[2].Value : soap.Url.Authority) + url.Substring(star.Length);
            Uri target;
            if (!Uri.TryCreate(url ?? "", UriKind.Absolute, out target) || target.Host == ""
                || (target.Scheme != Uri.UriSchemeHttps && !(target.Scheme == Uri.UriSchemeHttp && target.IsLoopback)))
                throw new ClientFault("The server handed out no usable transfer URL: '" + url + "'");
            return target;
        }

        public bool ChangeGuestFileAttributes(string vm, string host, string user, string password, string path, SGuestFileLib attributes)
        {
            var g = Guest(vm, user, password);
            var request = FileCall("ChangeFileAttributesInGuest", g).Add("guestFilePath", GuestPath(path)).Begin("fileAttributes", "GuestPosixFileAttributes");
            // Times after 1970 and a mode other than 0 are set; owner and group always.
#if !FAULTS
            if (attributes.modifiedTime > UnixEpoch) request.Add("modificationTime", AsUtc(attributes.modifiedTime));
#endif
            if (attributes.accessTime > UnixEpoch) request.Add("accessTime", AsUtc(attributes.accessTime));
            request.Add("ownerId", attributes.unixUserId).Add("groupId", attributes.unixGroupId);
#if !FAULTS
            if (attributes.unixMode != 0) request.Add("permissions", attributes.unixMode);
#endif
            Invoke(request.End());
            return true;
        }

        // The bridge hands over times of unspecified kind that mean UTC.
        static DateTime AsUtc(DateTime t) { return t.Kind == DateTimeKind.Unspecified ? DateTime.SpecifyKind(t, DateTimeKind.Utc) : t; }

        // A fresh temporary directory tells where the guest keeps them; it goes again at once.
        public bool GetGuestTempFolder(string vm, string host, string user, string password, out string folder)
        {
            folder = null;
            var g = Guest(vm, user, password);
            var made = Invoke(FileCall("CreateTemporaryDirectoryInGuest", g).Add("prefix", "visdk-").Add("suffix", ""))["returnval"].Text;
            Invoke(FileCall("DeleteDirectoryInGuest", g).Add("directoryPath", made).Add("recursive", false));
            int cut = made.TrimEnd('/', '\\').LastIndexOfAny(new[] { '/', '\\' });
            if (cut < 0) throw new ClientFault("The guest named the temporary directory '" + made + "', which has no parent");
            folder = cut == 0 ? made.Substring(0, 1) : made.Substring(0, cut);
            return true;
        }

        // timeout 0: started, result = the pid. Otherwise waited for: result = the exit code, or the pid when it runs on.
        public bool ExecuteProcessInGuest(string vm, string host, string user, string password, string program, string arguments, string workingDirectory, int timeoutSeconds, ref int result)
        {
            var g = Guest(vm, user, password);
            long pid = StartInGuest(g, GuestPath(program, "programPath"), arguments, workingDirectory);
            result = (int)pid;
            if (timeoutSeconds <= 0) return true;
            var info = WaitInGuest(g, pid, timeoutSeconds * 1000L);
            if (info == null) throw new ClientFault("The process " + pid + " did not finish within " + timeoutSeconds + " seconds.");
            result = info.Int("exitCode");
            return true;
        }

        // The script goes to a temporary file in the guest and runs under the interpreter (a Unix guest's shell takes the
        // redirection of its output); waited for up to the timeout, else the task timeout.
        public bool ExecuteScriptInGuest(string vm, string host, string user, string password, string script, string interpreter, string workingDirectory, int timeoutSeconds, string outputPath, ref int exitCode)
        {
            var g = Guest(vm, user, password);
            var file = Invoke(FileCall("CreateTemporaryFileInGuest", g).Add("prefix", "visdk-").Add("suffix", ".sh"))["returnval"].Text;
            var local = Path.GetTempFileName();
            try
            {
                File.WriteAllText(local, script ?? "", new UTF8Encoding(false));
                PutGuestFile(g, local, file, new FileInfo(local).Length, true);
            }
            finally { File.Delete(local); }
            var arguments = ShellQuoted(file) + (string.IsNullOrEmpty(outputPath) ? "" : " > " + ShellQuoted(outputPath) + " 2>&1");
            long pid = StartInGuest(g, string.IsNullOrEmpty(interpreter) ? "/bin/sh" : interpreter, arguments, workingDirectory);
            long limit = timeoutSeconds > 0 ? timeoutSeconds * 1000L : settings.TaskTimeoutMs;
            var info = WaitInGuest(g, pid, limit);
            if (info == null) throw new ClientFault("The guest script (pid " + pid + ") did not finish within " + limit / 1000 + " seconds.");
            exitCode = info.Int("exitCode");
            try { Invoke(FileCall("DeleteFileInGuest", g).Add("filePath", file)); }
            catch (ClientFault f) { pendingNotice = "The script ran, but its file " + file + " stays in the guest: " + f.Message; }
            return true;
        }

        static string ShellQuoted(string text) { return "'" + text.Replace("'", "'\\''") + "'"; }

        long StartInGuest(GuestLogin g, string program, string arguments, string workingDirectory)
        {
            return Invoke(ProcessCall("StartProgramInGuest", g).Begin("spec", "GuestProgramSpec").Add("programPath", program).Add("arguments", arguments ?? "")
                .Add("workingDirectory", string.IsNullOrEmpty(workingDirectory) ? null : workingDirectory).End())["returnval"].AsLong();
        }

        VimNode GuestProcess(GuestLogin g, long pid)
        {
            var info = Invoke(ProcessCall("ListProcessesInGuest", g).Add("pids", pid)).All("returnval").FirstOrDefault(p => p.Long("pid") == pid);
            if (info == null) throw new ClientFault("The process " + pid + " was not found in the guest.");
            return info;
        }

        // The process's info once it has an end time, read quickly at first and then every second; null when it runs on.
        VimNode WaitInGuest(GuestLogin g, long pid, long timeoutMs)
        {
            var clock = Stopwatch.StartNew();
            for (int pause = 20; ; pause = Math.Min(1000, pause * 2))
            {
                var info = GuestProcess(g, pid);
                if (info["endTime"].Present) return info;
                if (clock.ElapsedMilliseconds >= timeoutMs) return null;
                Thread.Sleep((int)Math.Max(1, Math.Min(pause, timeoutMs - clock.ElapsedMilliseconds)));
            }
        }

        // The program, when given, must be the process's: its name, the first word of its command line, or that word's file name.
        public bool IsProcessRunningInGuest(string vm, string host, string user, string password, string program, long pid, ref bool running)
        {
            var info = GuestProcess(Guest(vm, user, password), pid);
            var command = info.Str("cmdLine").Trim().Split(' ')[0].Trim('"');
            if (!string.IsNullOrEmpty(program) && program != info.Str("name") && program != command && !command.EndsWith("/" + program, StringComparison.Ordinal))
                throw new ClientFault("The process " + pid + " was not found in the guest.");
            running = !info["endTime"].Present;
            return true;
        }

        // What the guest's file systems use, as its tools report them (guest.disk): capacity less free space.
        public bool ComputeGuestSize(string vm, string host, ref long size)
        {
            var props = Retrieve(Vm(vm), "name", "runtime.powerState", "guest.toolsRunningStatus", "guest.disk");
            RequirePower(props, "poweredOn");
            if (props.Str("guest.toolsRunningStatus") != "guestToolsRunning")
                throw new ClientFault("Cannot complete operation because VMware Tools is not running in this virtual machine.");
            var disks = props["guest.disk"].Kids;
            if (disks.Count == 0) throw new ClientFault("The guest of virtual machine '" + props.Str("name") + "' reports no file systems.");
            size = disks.Sum(d => d.Long("capacity") - d.Long("freeSpace"));
            return true;
        }
    }
}
#endif
