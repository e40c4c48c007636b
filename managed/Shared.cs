using System;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // The property-selection bits both clients honour (the native VM_PROP_* values).
    static class Mask
    {
        public const ulong HostInfo = 0x1, GuestInfo = 0x2, CfgFile = 0x4, SnapshotList = 0x8, DiskList = 0x10, NetworkList = 0x20,
            HostDatacenter = 0x40, DiskAdvanced = 0x100, FileList = 0x400, PowerOffTime = 0x800, OwnerInfo = 0x1000, Attributes = 0x2000;
    }

    // Texts and small rules that both clients give alike.
    static class Shared
    {
        public static string VmNotFound(string id)
        {
            return id.StartsWith("vm-") && id.Length > 3 && id.Substring(3).All(char.IsDigit)
                ? "The object 'vim.VirtualMachine:" + id + "' has already been deleted or has not been completely created"
                : "Virtual machine '" + id + "' was not found.";
        }

        // A name a new VM may take: 1 to 80 characters, none of them a path separator, a bracket or a control character.
        public static bool IsValidVmName(string name)
        {
            return !string.IsNullOrWhiteSpace(name) && name.Length <= 80 && name.IndexOfAny(new[] { '/', '\\', '[', ']' }) < 0 && !name.Any(char.IsControl);
        }

        public static string Iso(DateTime t)
        {
            return t.ToUniversalTime().ToString("yyyy-MM-ddTHH:mm:ssZ", CultureInfo.InvariantCulture);
        }

        // File kinds as eFileType codes, in the layout's words.
        static readonly string[] FileTypes = { "config", "nvram", "snapshotList", "log", "diskDescriptor", "diskExtent", "swap", "snapshotData" };

        public static int FileTypeCode(string type)
        {
            return Math.Max(0, Array.IndexOf(FileTypes, type));
        }

        // The eFileType code of a file by its name (a folder is 9).
        public static int FileTypeOf(string path)
        {
            var p = path.ToLowerInvariant();
            if (p.EndsWith(".vmx")) return 0;
            if (p.EndsWith(".nvram")) return 1;
            if (p.EndsWith(".vmsd")) return 2;
            if (p.EndsWith(".log")) return 3;
            if (p.EndsWith("-flat.vmdk") || p.EndsWith("-sesparse.vmdk") || p.EndsWith("-delta.vmdk") || p.EndsWith("-rdm.vmdk") || p.EndsWith("-rdmp.vmdk")) return 5;
            if (p.EndsWith(".vmdk")) return 4;
            if (p.EndsWith(".vswp")) return 6;
            if (p.EndsWith(".vmsn")) return 7;
            return 8;
        }

        public const int FolderType = 9;

        // A datastore path as stored: "[ds] a/b" and "/a//b/" both become "a/b", and `datastore` is the one it names
        // (null when none). Null, with the fault's text in `invalid`, for ".." or control characters, which would let
        // a caller reach outside the folder it names.
        public static string DatastorePath(string path, out string datastore, out string invalid)
        {
            datastore = null;
            invalid = null;
            path = (path ?? "").Trim();
            if (path.StartsWith("["))
            {
                int close = path.IndexOf(']');
                if (close < 0) { invalid = "Invalid datastore path '" + path + "'."; return null; }
                datastore = path.Substring(1, close - 1);
                path = path.Substring(close + 1).Trim();
            }
            var parts = path.Replace('\\', '/').Split(new[] { '/' }, StringSplitOptions.RemoveEmptyEntries);
            if (parts.Any(p => p == ".." || p == ".") || path.Any(char.IsControl)) { invalid = "Invalid datastore path '" + path + "'."; return null; }
            return string.Join("/", parts);
        }

        public static string DsPath(string datastore, string rel) { return "[" + datastore + "] " + rel; }

        public static string FileNotFound(string path) { return "File " + path + " was not found"; }

        public static string FileExists(string path) { return "Cannot complete the operation because the file or folder " + path + " already exists"; }

        public static string IsFolder(string path) { return "File " + path + " is a folder"; }

        public static string AmbiguousSnapshot(string vm, string name, System.Collections.Generic.IEnumerable<string> ids)
        {
            return "The virtual machine '" + vm + "' has several snapshots named '" + name + "' (" + string.Join(", ", ids) + "); name one by its id";
        }

        public static string DatastoreNotFound(string name) { return "The datastore '" + name + "' was not found."; }

        public static string HostNotFound(string name) { return "The host '" + name + "' was not found."; }

        public static string LocalFileNotFound(string path) { return "The local file '" + path + "' was not found."; }

        // A name against a pattern of '*' and '?', ignoring case. Linear in practice: a mismatch goes back only to the
        // last '*', so no pattern makes it explode.
        public static bool Matches(string name, string pattern)
        {
            string s = name.ToLowerInvariant(), p = pattern.ToLowerInvariant();
            int i = 0, j = 0, star = -1, resume = 0;
            while (i < s.Length)
            {
                if (j < p.Length && (p[j] == '?' || p[j] == s[i])) { i++; j++; }
                else if (j < p.Length && p[j] == '*') { star = j++; resume = i; }
                else if (star >= 0) { j = star + 1; i = ++resume; }
                else return false;
            }
            while (j < p.Length && p[j] == '*') j++;
            return j == p.Length;
        }
    }
}
