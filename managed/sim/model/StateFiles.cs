using System;
using System.Globalization;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;
using System.Threading;

namespace VISDKWrapper
{
    // The few POSIX calls the state file needs that the class library does not offer: locks, modes, owners, links.
    static class Posix
    {
        const string Libc = "libc.so.6";
        public const int LockExclusive = 2, LockNonBlocking = 4, LockRelease = 8;
        const int OpenReadOnly = 0, OpenCreate = 0x40, OpenCloseOnExec = 0x80000;
        const int EInterrupted = 4, EInvalid = 22, EWouldBlock = 11;

        [DllImport(Libc, SetLastError = true)] static extern int open(string path, int flags, int mode);
        [DllImport(Libc, SetLastError = true)] static extern int close(int fd);
        [DllImport(Libc, SetLastError = true)] static extern int flock(int fd, int operation);
        [DllImport(Libc, SetLastError = true)] static extern int fsync(int fd);
        [DllImport(Libc, SetLastError = true)] static extern int stat(string path, byte[] buffer);
        [DllImport(Libc, SetLastError = true)] static extern int chmod(string path, uint mode);
        [DllImport(Libc, SetLastError = true)] static extern int chown(string path, uint uid, uint gid);
        [DllImport(Libc, SetLastError = true)] static extern long readlink(string path, byte[] buffer, ulong size);
        [DllImport(Libc, SetLastError = true)] static extern int rename(string from, string to);
        [DllImport(Libc)] static extern IntPtr strerror(int errno);

        public static string Error(int errno)
        {
            var text = Marshal.PtrToStringAnsi(strerror(errno));
            return string.IsNullOrEmpty(text) ? "error " + errno.ToString(CultureInfo.InvariantCulture) : text;
        }

        static string LastError() { return Error(Marshal.GetLastWin32Error()); }

        // Opens (creating it when missing) a file to hold a lock on; throws IOException with the reason.
        public static int OpenLockFile(string path)
        {
            int fd = open(path, OpenReadOnly | OpenCreate | OpenCloseOnExec, Convert.ToInt32("666", 8));
            if (fd < 0) throw new IOException("cannot open the lock file '" + path + "': " + LastError());
            return fd;
        }

        public static void Rename(string from, string to)
        {
            if (rename(from, to) != 0) throw new IOException("cannot rename '" + from + "' to '" + to + "': " + LastError());
        }

        public static void Close(int fd) { if (fd >= 0) close(fd); }

        // Waits for the exclusive lock up to the deadline; false when another process kept it that long.
        public static bool Lock(int fd, TimeSpan patience)
        {
            var until = DateTime.UtcNow + patience;
            for (int pause = 1; ; pause = Math.Min(pause * 2, 50))
            {
                if (flock(fd, LockExclusive | LockNonBlocking) == 0) return true;
                int errno = Marshal.GetLastWin32Error();
                if (errno != EWouldBlock && errno != EInterrupted) throw new IOException("cannot lock: " + Error(errno));
                if (DateTime.UtcNow >= until) return false;
                Thread.Sleep(pause);
            }
        }

        public static void Unlock(int fd) { flock(fd, LockRelease); }

        public sealed class Owner
        {
            public uint Mode, Uid, Gid;
        }

        // The permission bits and owner of an existing file, or null when it cannot be looked at.
        public static Owner OwnerOf(string path)
        {
            var b = new byte[256];
            if (stat(path, b) != 0) return null;
            bool x64 = RuntimeInformation.ProcessArchitecture == Architecture.X64;
            int mode = x64 ? 24 : 16, uid = x64 ? 28 : 24, gid = x64 ? 32 : 28;
            return new Owner { Mode = BitConverter.ToUInt32(b, mode) & 0xFFF, Uid = BitConverter.ToUInt32(b, uid), Gid = BitConverter.ToUInt32(b, gid) };
        }

        // Gives the file the mode and owner; an owner this process may not give is left as it is.
        public static void Adopt(string path, Owner owner)
        {
            if (chmod(path, owner.Mode) != 0) throw new IOException("cannot set the mode of '" + path + "': " + LastError());
            var now = OwnerOf(path);
            if (now != null && (now.Uid != owner.Uid || now.Gid != owner.Gid) && chown(path, owner.Uid, owner.Gid) != 0)
                chown(path, uint.MaxValue, owner.Gid);
        }

        // The file a chain of symbolic links ends at; the last link's target need not exist.
        public static string Resolve(string path)
        {
            var buffer = new byte[4096];
            for (int hops = 0; hops < 40; hops++)
            {
                long n = readlink(path, buffer, (ulong)buffer.Length);
                if (n < 0)
                {
                    int errno = Marshal.GetLastWin32Error();
                    if (errno == EInvalid || errno == 2) return path;
                    throw new IOException("cannot follow '" + path + "': " + Error(errno));
                }
                var target = Encoding.UTF8.GetString(buffer, 0, (int)n);
                path = Path.GetFullPath(Path.Combine(Path.GetDirectoryName(path), target));
            }
            throw new IOException("too many levels of symbolic links at '" + path + "'");
        }

        // Makes a rename in the directory survive a crash.
        public static void SyncDirectory(string dir)
        {
            int fd = open(dir, OpenReadOnly | OpenCloseOnExec, 0);
            if (fd < 0) return;
            fsync(fd);
            close(fd);
        }
    }

    static partial class Sim
    {
        const string LockSuffix = ".lock";
        static readonly TimeSpan LockPatience = TimeSpan.FromSeconds(120);
        static int lockFd = -1, holdDepth;

        // Writes the file through a temporary beside it (flushed to the disk, given the mode and owner of ownerFrom,
        // when that exists) renamed over it; path is the real file, not a link to it.
        static void WriteAtomically(string path, Action<Stream> write, string ownerFrom)
        {
            var dir = Path.GetDirectoryName(path);
            var temp = Path.Combine(dir, "." + Path.GetFileName(path) + ".tmp" + System.Diagnostics.Process.GetCurrentProcess().Id.ToString(CultureInfo.InvariantCulture));
            try
            {
                using (var f = new FileStream(temp, FileMode.Create, FileAccess.Write, FileShare.None))
                {
                    write(f);
                    f.Flush(true);
                }
                var owner = Posix.OwnerOf(ownerFrom);
                if (owner != null) Posix.Adopt(temp, owner);
                Posix.Rename(temp, path);
                Posix.SyncDirectory(dir);
            }
            finally
            {
                try { if (File.Exists(temp)) File.Delete(temp); }
                catch (Exception) { }
            }
        }
    }
}
