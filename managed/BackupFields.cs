using System;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // The custom fields a backup run writes and the rule for configuration keys, alike in both clients.
    static class BackupFields
    {
        public const string LastBackup = "Last Backup";
        public const string BackupStatus = "Backup Status";

        public static string StatusText(string status, string job, string detail, ulong first, ulong second)
        {
            return status + " (job " + job + "): " + detail + " [" + first.ToString(CultureInfo.InvariantCulture) + "/" + second.ToString(CultureInfo.InvariantCulture) + "]";
        }

        // "group.name": no blanks or control characters, at most 255 characters.
        public static bool ValidOptionKey(string key)
        {
            return !string.IsNullOrEmpty(key) && key.Length <= 255 && key.IndexOf('.') > 0 && !key.EndsWith(".")
                && !key.Any(ch => char.IsWhiteSpace(ch) || char.IsControl(ch) || ch == '"');
        }
    }
}
