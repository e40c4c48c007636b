#if !NOCLASS && !EMPTY
using System;
using System.Globalization;
using System.Xml;

namespace VISDKWrapper
{
    // How the web-services client talks to a server: the <endpoint> element of VISDKWrapper.config, then the
    // environment, which wins. Read once per process.
    sealed class VimSettings
    {
        public long ResponseLimitBytes = 256L << 20;
        public int ConnectTimeoutMs = 15000;
        // The time a server may take to answer, and the longest silence of a transfer.
        public int ReadTimeoutMs = 300000;
        public int TaskTimeoutMs = 3600000;
        public int PageSize = 1000;
        public string TrustThumbprint;
        public bool Insecure;
        public string CaBundle = "/etc/ssl/certs/ca-certificates.crt";

        static readonly Lazy<VimSettings> configured = new Lazy<VimSettings>(Read);

        // The file's settings (read once per process) with the environment's as they are now: each new client sees
        // the trust settings of its time.
        public static VimSettings Current
        {
            get
            {
                var s = (VimSettings)configured.Value.MemberwiseClone();
                s.TrustThumbprint = Normalized(Environment.GetEnvironmentVariable("VISDK_TRUST_THUMBPRINT")) ?? s.TrustThumbprint;
                s.Insecure = Environment.GetEnvironmentVariable("VISDK_TLS_INSECURE") == "1";
                s.ConnectTimeoutMs = FromEnvironment("VISDK_CONNECT_TIMEOUT", s.ConnectTimeoutMs);
                s.ReadTimeoutMs = FromEnvironment("VISDK_READ_TIMEOUT", s.ReadTimeoutMs);
                var bundle = Environment.GetEnvironmentVariable("VISDK_CA_BUNDLE");
                if (!string.IsNullOrEmpty(bundle)) s.CaBundle = bundle;
                return s;
            }
        }

        static VimSettings Read()
        {
            var s = new VimSettings();
            bool fromFile;
            XmlElement e = null;
            foreach (var x in WrapperConfig.Children(WrapperConfig.Section(null, out fromFile), "endpoint")) e = x;
            s.ResponseLimitBytes = Math.Max(1, WrapperConfig.Number(e, "responseLimitMB", 256)) << 20;
            s.ConnectTimeoutMs = Seconds(WrapperConfig.Number(e, "connectTimeoutSeconds", 15));
            // readTimeoutSeconds, under its first name requestTimeoutSeconds in older files.
            s.ReadTimeoutMs = Seconds(WrapperConfig.Number(e, "readTimeoutSeconds", WrapperConfig.Number(e, "requestTimeoutSeconds", 300)));
            s.TaskTimeoutMs = Seconds(WrapperConfig.Number(e, "taskTimeoutSeconds", 3600));
            s.PageSize = (int)Math.Max(1, Math.Min(100000, WrapperConfig.Number(e, "pageSize", 1000)));
            s.TrustThumbprint = Normalized(WrapperConfig.Attribute(e, "trustThumbprint"));
            s.CaBundle = WrapperConfig.Attribute(e, "caBundle", s.CaBundle);
            return s;
        }

        static int Seconds(long seconds)
        {
            return (int)Math.Max(1, Math.Min(int.MaxValue / 1000, seconds)) * 1000;
        }

        // Seconds, decimals allowed ("1.5"); an unusable value keeps the configured one and says so once.
        static int FromEnvironment(string variable, int configuredMs)
        {
            var text = Environment.GetEnvironmentVariable(variable);
            if (string.IsNullOrWhiteSpace(text)) return configuredMs;
            double seconds;
            if (double.TryParse(text.Trim(), NumberStyles.Float, CultureInfo.InvariantCulture, out seconds) && seconds >= 0.001 && seconds <= int.MaxValue / 1000)
                return (int)Math.Round(seconds * 1000);
            if (warned.TryAdd(variable, true))
                NativeLog.Error("Warning: " + variable + "='" + text + "' is not a number of seconds; " + configuredMs / 1000.0 + " s applies");
            return configuredMs;
        }

        static readonly System.Collections.Concurrent.ConcurrentDictionary<string, bool> warned = new System.Collections.Concurrent.ConcurrentDictionary<string, bool>();

        // "aa:bb:..." or "AABB..." as the colon-separated upper-case form; null for nothing.
        public static string Normalized(string thumbprint)
        {
            if (string.IsNullOrWhiteSpace(thumbprint)) return null;
            var hex = thumbprint.Replace(":", "").Replace(" ", "").Trim().ToUpperInvariant();
            var parts = new string[hex.Length / 2];
            for (int i = 0; i < parts.Length; i++) parts[i] = hex.Substring(2 * i, 2);
            return string.Join(":", parts);
        }
    }
}
#endif
