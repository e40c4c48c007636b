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
