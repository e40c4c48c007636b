using System;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // What both clients check and write alike for fields, settings and IO filters.
    static class ManagementRules
    {
        public const string LastBackup = "Last Backup";
        public const string BackupStatus = "Backup Status";

        public static string StatusText(string status, string job, string detail, ulong first, ulong second)
        {
            return status + " (job " + job + "): " + detail + " [" + first.ToString(CultureInfo.InvariantCulture) + "/" + second.ToString(CultureInfo.InvariantCulture) + "]";
        }

        // The arguments of an IO filter's installation: an id, a version, and a bundle (.vib or .zip) at an http, https or
        // file URL.
        public static void CheckFilterInstall(string filter, string version, string vibUrl)
        {
            if (string.IsNullOrWhiteSpace(filter)) throw new ClientFault("A specified parameter was not correct: filterId");
            if (string.IsNullOrWhiteSpace(version)) throw new ClientFault("A specified parameter was not correct: version");
            var url = (vibUrl ?? "").ToLowerInvariant();
            if (!(url.StartsWith("http://") || url.StartsWith("https://") || url.StartsWith("file://")) || !(url.EndsWith(".vib") || url.EndsWith(".zip")))
                throw new ClientFault("A specified parameter was not correct: vibUrl");
        }

        // "group.name": no blanks or control characters, at most 255 characters.
        public static bool ValidOptionKey(string key)
        {
            return !string.IsNullOrEmpty(key) && key.Length <= 255 && key.IndexOf('.') > 0 && !key.EndsWith(".")
                && !key.Any(ch => char.IsWhiteSpace(ch) || char.IsControl(ch) || ch == '"');
        }
    }
}
