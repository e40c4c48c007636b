#if !NOCLASS && !EMPTY
using System;
using System.IO;
using System.Linq;

namespace VISDKWrapper
{
    // Log bundles, made by the diagnostic manager and fetched over HTTP with the session; the server's version.
    sealed partial class VimClient
    {
        // A vCenter gathers the host's bundle; a host connected to directly makes its own.
        public bool DownloadHostLogBundle(string host, string localPath)
        {
            NeedLocalTarget(localPath);
            var h = RequireObject("HostSystem", host, "host", "runtime.connectionState");
            if (h.Str("runtime.connectionState") != "connected") throw new ClientFault("The host '" + h.Str("name") + "' is not connected.");
            var request = new SoapRequest("GenerateLogBundles_Task", Content("diagnosticManager")).Add("includeDefault", !IsVCenter);
            if (IsVCenter) request.Ref("host", h.Obj);
            var bundles = RunTask(request).Kids;
            FetchBundle(bundles.FirstOrDefault(b => h.Obj.Equals(b.Ref("system"))) ?? (bundles.Count == 1 ? bundles[0] : null), localPath, "host '" + h.Str("name") + "'");
            return true;
        }

        public bool DownloadServerLogBundle(string localPath)
        {
            NeedLocalTarget(localPath);
            Auth();
            var bundles = RunTask(new SoapRequest("GenerateLogBundles_Task", Content("diagnosticManager")).Add("includeDefault", true)).Kids;
            FetchBundle(bundles.FirstOrDefault(b => b.Ref("system") == null) ?? bundles.FirstOrDefault(), localPath, "the server");
            return true;
        }

        // A directory gets the bundle under the name the server gave it.
        void FetchBundle(VimNode bundle, string localPath, string what)
        {
            if (bundle == null || bundle.Str("url") == "") throw new ClientFault("The server made no log bundle for " + what + ".");
            var url = BundleUrl(bundle.Str("url"));
            Download(url, Directory.Exists(localPath) ? Path.Combine(localPath, Path.GetFileName(Uri.UnescapeDataString(url.AbsolutePath))) : localPath);
        }

        // "*" for the host part means the server asked, reached as the client reaches it.
        Uri BundleUrl(string text)
        {
            int star = text.IndexOf("://*", StringComparison.Ordinal);
            if (star >= 0)
            {
                var rest = text.Substring(star + 4);
                if (rest.StartsWith(":", StringComparison.Ordinal)) rest = rest.IndexOf('/') < 0 ? "" : rest.Substring(rest.IndexOf('/'));
                text = soap.Url.Scheme + "://" + soap.Url.Authority + rest;
            }
            Uri url;
            if (!Uri.TryCreate(text, UriKind.Absolute, out url) || (url.Scheme != Uri.UriSchemeHttps && url.Scheme != Uri.UriSchemeHttp))
                throw new ClientFault("The server named its log bundle '" + text + "', which is no address to download from.");
            return url;
        }

        // The service content's about, read at login: no round trip.
        public bool GetMgmtVersion(out object version)
        {
            version = null;
            Auth();
            var about = content["about"];
            var full = about.Str("fullName");
            if (full == "") full = about.Str("name") + " " + about.Str("version") + " build-" + about.Str("build");
            version = new SMgmtVersionLib { strVersion = about.Str("version"), strBuild = about.Str("build"), strFullVersion = full };
            return true;
        }
    }
}
#endif
