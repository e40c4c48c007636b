#if !NOCLASS && !EMPTY
using System.Collections.Generic;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        public object BrowseGuest(string vm, string host, string user, string password, string path, out List<SGuestFileLib> files)
        {
            files = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, path, null);
            if (c != null) { c.Out(5, ref files); return c.Result<bool>(); }
            List<SGuestFileLib> list = null;
            var r = Bool(() => client.BrowseGuest(vm, host, user, password, path, out list));
            files = list;
            return r;
        }

        public object BrowseGuestFolders(string vm, string host, string user, string password, string path, out List<SGuestFileLib> folders)
        {
            folders = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, path, null);
            if (c != null) { c.Out(5, ref folders); return c.Result<bool>(); }
            List<SGuestFileLib> list = null;
            var r = Bool(() => client.BrowseGuestFolders(vm, host, user, password, path, out list));
            folders = list;
            return r;
        }

        public object CreateGuestFolder(string vm, string host, string user, string password, string path)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, path);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.CreateGuestFolder(vm, host, user, password, path));
        }

        // #5 guest path, #6 path on the local file system.
        public object CopyFileFromGuest(string vm, string host, string user, string password, string guestPath, string localPath)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, guestPath, localPath);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.CopyFileFromGuest(vm, host, user, password, guestPath, localPath));
        }

        // #5 path on the local file system, #6 guest path, #7 overwrite an existing guest file.
        public object CopyFileToGuest(string vm, string host, string user, string password, string localPath, string guestPath, bool overwrite)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, localPath, guestPath, overwrite);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.CopyFileToGuest(vm, host, user, password, localPath, guestPath, overwrite));
        }

        // #5 script text, #6 interpreter (default /bin/sh), #7 working directory, #8 timeout in seconds, #9 guest file for the output.
        public object ExecuteScriptInGuest(string vm, string host, string user, string password, string script, string interpreter, string workingDirectory, int timeoutSeconds, string outputPath, ref int exitCode)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, script, interpreter, workingDirectory, timeoutSeconds, outputPath, exitCode);
            if (c != null) { c.Out(9, ref exitCode); return c.Result<bool>(); }
            int code = exitCode;
            var r = Bool(() => client.ExecuteScriptInGuest(vm, host, user, password, script, interpreter, workingDirectory, timeoutSeconds, outputPath, ref code));
            exitCode = code;
            return r;
        }

        // #5 program, #6 arguments, #7 working directory, #8 timeout: 0 starts without waiting and #9 gets the pid, otherwise #9 gets the exit code.
        public object ExecuteProcessInGuest(string vm, string host, string user, string password, string program, string arguments, string workingDirectory, int timeoutSeconds, ref int result)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, program, arguments, workingDirectory, timeoutSeconds, result);
            if (c != null) { c.Out(8, ref result); return c.Result<bool>(); }
            int value = result;
            var r = Bool(() => client.ExecuteProcessInGuest(vm, host, user, password, program, arguments, workingDirectory, timeoutSeconds, ref value));
            result = value;
            return r;
        }

        // #5 program (empty matches any), #6 pid.
        public object IsProcessRunningInGuest(string vm, string host, string user, string password, string program, long pid, ref bool running)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, program, pid, running);
            if (c != null) { c.Out(6, ref running); return c.Result<bool>(); }
            bool state = running;
            var r = Bool(() => client.IsProcessRunningInGuest(vm, host, user, password, program, pid, ref state));
            running = state;
            return r;
        }

        public object GetGuestTempFolder(string vm, string host, string user, string password, out string folder)
        {
            folder = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, null);
            if (c != null) { c.Out(4, ref folder); return c.Result<bool>(); }
            string path = null;
            var r = Bool(() => client.GetGuestTempFolder(vm, host, user, password, out path));
            folder = path;
            return r;
        }

        public object DeleteDirectoryInGuest(string vm, string host, string user, string password, string path)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, path);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.DeleteDirectoryInGuest(vm, host, user, password, path));
        }

        // Owner and group are always applied; the mode when not 0; times when later than 1970-01-01.
        public object ChangeGuestFileAttributes(string vm, string host, string user, string password, string path, SGuestFileLib attributes)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, user, password, path, attributes);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.ChangeGuestFileAttributes(vm, host, user, password, path, attributes));
        }

        // The bytes that the guest's file systems use: the allocated areas of every disk.
        public object ComputeGuestSize(string vm, string host, ref long size)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, size);
            if (c != null) { c.Out(2, ref size); return c.Result<bool>(); }
            long n = size;
            var r = Bool(() => client.ComputeGuestSize(vm, host, ref n));
            size = n;
            return r;
        }
    }
}
#endif
