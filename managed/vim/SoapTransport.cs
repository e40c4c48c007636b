#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Net;
using System.Net.Security;
using System.Security.Cryptography;
using System.Security.Cryptography.X509Certificates;
using System.Text;
using System.Threading;
using System.Xml;

namespace VISDKWrapper
{
    // A fault the server answered with: its vSphere type ("InvalidLogin", "InvalidPowerState", ...) and its detail.
    sealed class VimFault : ClientFault
    {
        public readonly string FaultType;
        public readonly VimNode Detail;

        public VimFault(string faultType, string message, VimNode detail = null) : base(message)
        {
            FaultType = faultType ?? "";
            Detail = detail ?? VimNode.None;
        }
    }

    // Counts what went over the wire, for benchmarks and tests.
    public static class VimStats
    {
        static long roundTrips;
        public static long RoundTrips() { return Interlocked.Read(ref roundTrips); }
        internal static void Count() { Interlocked.Increment(ref roundTrips); }
    }

    // SOAP 1.1 over HTTPS to one server's /sdk. One client has one kept-alive connection (its own connection group)
    // and sends one request at a time on it; the session cookie stays in its cookie container.
    sealed class SoapTransport
    {
        static int groups;
        static int insecureWarned;

        readonly Uri url;
        readonly VimSettings settings;
        readonly string group = "visdk-" + Interlocked.Increment(ref groups);
        readonly object wire = new object();
        CookieContainer cookies = new CookieContainer();
        public string ApiVersion = "6.5";
        string presented;
        bool refused;

        public SoapTransport(Uri url, VimSettings settings)
        {
            this.url = url;
            this.settings = settings;
            var point = ServicePointManager.FindServicePoint(url);
            point.Expect100Continue = false;
            point.UseNagleAlgorithm = false;
            point.ConnectionLimit = Math.Max(point.ConnectionLimit, 1024);
            if (settings.Insecure && url.Scheme == Uri.UriSchemeHttps && Interlocked.Exchange(ref insecureWarned, 1) == 0)
                NativeLog.Error("Warning: VISDK_TLS_INSECURE=1 is set: server certificates are not checked");
        }

        public Uri Url { get { return url; } }

        // The thumbprint of the certificate the server presented, colon-separated hex; null before a TLS handshake.
        public string Thumbprint { get { return presented; } }

        public Cookie SessionCookie
        {
            get { return cookies.GetCookies(url).Cast<Cookie>().FirstOrDefault(c => c.Name == "vmware_soap_session"); }
        }

        // Forgets the session cookie: the next login starts a session of its own.
        public void ForgetSession() { cookies = new CookieContainer(); }

        // A plain HTTP request to this server (file access, transfers), with the client's session cookie and trust, on a
        // connection of its own so that a long transfer and the SOAP calls do not queue behind each other.
        public HttpWebRequest Http(Uri target, string method)
        {
            VimStats.Count();
            var http = (HttpWebRequest)WebRequest.Create(target);
            http.Method = method;
            http.KeepAlive = true;
            http.ConnectionGroupName = group + "-files";
            http.CookieContainer = cookies;
            http.AllowAutoRedirect = false;
            http.Timeout = settings.RequestTimeoutMs;
            http.ReadWriteTimeout = settings.RequestTimeoutMs;
            http.ServerCertificateValidationCallback = Trust;
            return http;
        }

        // What a failed plain HTTP exchange says, as the SOAP calls say it; naming the machine asked (a host, say).
        public Exception HttpFailure(WebException e, string what, Uri target = null)
        {
            var response = e.Response as HttpWebResponse;
            if (response != null)
                using (response) return new ClientFault("The server answered " + (int)response.StatusCode + " (" + response.StatusDescription + ") to " + what);
            return Failure(e, what, target ?? url);
        }

        // Sends the request and gives the method's response element; a SOAP fault is thrown as a VimFault.
        public VimNode Invoke(SoapRequest request, int timeoutMs = 0)
        {
            var body = request.Bytes();
            lock (wire)
            {
                VimStats.Count();
                var target = request.Path == null ? url : new Uri(url, request.Path);
                // The session cookie that /sdk set goes to the server's other services too.
                var session = request.Path == null ? null : SessionCookie;
                if (session != null) cookies.Add(target, new Cookie(session.Name, session.Value, request.Path));
                var http = (HttpWebRequest)WebRequest.Create(target);
                http.Method = "POST";
                http.ContentType = "text/xml; charset=utf-8";
                http.Headers["SOAPAction"] = request.Namespace + "/" + ApiVersion;
                http.KeepAlive = true;
                http.ConnectionGroupName = group;
                http.CookieContainer = cookies;
                http.AllowAutoRedirect = false;
                http.Timeout = timeoutMs > 0 ? timeoutMs : settings.RequestTimeoutMs;
                http.ReadWriteTimeout = settings.RequestTimeoutMs;
                http.ServerCertificateValidationCallback = Trust;
                http.ContentLength = body.Length;
                try
                {
                    using (var s = http.GetRequestStream()) s.Write(body, 0, body.Length);
                    using (var response = (HttpWebResponse)http.GetResponse())
                        return Answer(response, request.Method);
                }
                catch (WebException e)
                {
                    var response = e.Response as HttpWebResponse;
                    if (response != null)
                        using (response) return Answer(response, request.Method);
                    throw Failure(e, request.Method);
                }
                catch (IOException e) { throw new ClientFault("The connection to " + Where() + " failed: " + e.Message); }
                catch (XmlException e) { throw new ClientFault("The server's answer to " + request.Method + " is not a SOAP document: " + e.Message); }
            }
        }

        // A SOAP answer comes as 200, or as 500 with a fault; anything else (a redirect, an error page) is no answer.
        VimNode Answer(HttpWebResponse response, string method)
        {
            var status = (int)response.StatusCode;
            bool xml = (response.ContentType ?? "").IndexOf("xml", StringComparison.OrdinalIgnoreCase) >= 0;
            if (status == 200 || (status == 500 && xml)) return Parse(response, method);
            throw new ClientFault("The server answered " + status + " (" + response.StatusDescription + ") to " + method);
        }

        VimNode Parse(HttpWebResponse response, string method)
        {
            if (response.ContentLength > settings.ResponseLimitBytes) throw TooLarge(method);
            var xml = new XmlReaderSettings
            {
                DtdProcessing = DtdProcessing.Prohibit, XmlResolver = null, IgnoreComments = true, IgnoreProcessingInstructions = true,
                CloseInput = true
            };
            // Large reads from the network: each read of the response stream costs a hand-off inside the HTTP stack.
            var body = new BufferedStream(new CappedStream(response.GetResponseStream(), settings.ResponseLimitBytes, () => TooLarge(method)), 1 << 16);
            using (var r = XmlReader.Create(body, xml))
            {
                if (!r.ReadToFollowing("Body", "http://schemas.xmlsoap.org/soap/envelope/"))
                    throw new ClientFault("The server's answer to " + method + " has no SOAP body");
                if (!r.Read()) throw new ClientFault("The server's answer to " + method + " is empty");
                r.MoveToContent();
                if (r.NodeType != XmlNodeType.Element) throw new ClientFault("The server's answer to " + method + " is empty");
                // About one object per 32 bytes of answer: more would be a server making the client build garbage.
                var node = VimNode.Read(r, new VimNode.Limits(settings.ResponseLimitBytes / 32 + 1024));
                if (node.Name == "Fault") throw FaultOf(node, method);
                return node;
            }
        }

        ClientFault TooLarge(string method)
        {
            return new ClientFault("The server's answer to " + method + " is larger than " + (settings.ResponseLimitBytes >> 20) + " MiB (responseLimitMB)");
        }

        static VimFault FaultOf(VimNode fault, string method)
        {
            var detail = fault["detail"].Kids.FirstOrDefault() ?? VimNode.None;
            var type = detail.Type ?? (detail.Name.EndsWith("Fault") ? detail.Name.Substring(0, detail.Name.Length - 5) : detail.Name);
            if (string.IsNullOrEmpty(type)) type = fault.Str("faultcode");
            return new VimFault(type, FaultText.Of(type, fault.Str("faultstring"), detail, method), detail);
        }

        Exception Failure(WebException e, string method, Uri target = null)
        {
            target = target ?? url;
            var where = target.Host + ":" + target.Port;
            switch (e.Status)
            {
                case WebExceptionStatus.NameResolutionFailure:
                    return new ClientFault("The remote name could not be resolved: '" + target.Host + "'");
                case WebExceptionStatus.ConnectFailure:
                    return new ClientFault("Unable to connect to the remote server " + where + ": " + Inner(e));
                case WebExceptionStatus.Timeout:
                    return new ClientFault("The server " + where + " did not answer " + method + " in time");
                case WebExceptionStatus.TrustFailure:
                case WebExceptionStatus.SecureChannelFailure:
                    if (refused && target.Authority == url.Authority) return Untrusted();
                    return new ClientFault("The secure connection to " + where + " failed: " + Inner(e));
                default:
                    return new ClientFault("The connection to " + where + " failed: " + Inner(e));
            }
        }

        ClientFault Untrusted()
        {
            return new ClientFault("The certificate of " + Where() + " is not trusted (SHA-1 thumbprint " + presented +
                "). To trust it, set VISDK_TRUST_THUMBPRINT=" + presented + " or trustThumbprint in VISDKWrapper.config");
        }

        static string Inner(Exception e)
        {
            while (e.InnerException != null) e = e.InnerException;
            return e.Message;
        }

        string Where() { return url.Host + ":" + url.Port; }

        // The pinned thumbprint if there is one, else the system's CA bundle (or anything, for a lab that says so).
        bool Trust(object sender, X509Certificate certificate, X509Chain chain, SslPolicyErrors errors)
        {
            presented = certificate == null ? null : ThumbprintOf(certificate);
            bool trusted = presented != null && (settings.TrustThumbprint != null ? settings.TrustThumbprint == presented
                : settings.Insecure || errors == SslPolicyErrors.None || (errors == SslPolicyErrors.RemoteCertificateChainErrors && SystemCas.Trust(certificate, settings.CaBundle)));
            refused = !trusted;
            return trusted;
        }

        public static string ThumbprintOf(X509Certificate certificate)
        {
            using (var sha1 = SHA1.Create())
                return string.Join(":", sha1.ComputeHash(certificate.GetRawCertData()).Select(b => b.ToString("X2")));
        }
    }

    // A CA bundle (the system's by default), read once per path: a chain that ends at one of its certificates is trusted.
    static class SystemCas
    {
        static readonly System.Collections.Concurrent.ConcurrentDictionary<string, Lazy<X509Certificate2Collection>> bundles =
            new System.Collections.Concurrent.ConcurrentDictionary<string, Lazy<X509Certificate2Collection>>();

        public static bool Trust(X509Certificate certificate, string bundlePath)
        {
            var roots = bundles.GetOrAdd(bundlePath, p => new Lazy<X509Certificate2Collection>(() => Load(p))).Value;
            if (roots.Count == 0) return false;
            try
            {
                using (var chain = new X509Chain())
                {
                    chain.ChainPolicy.RevocationMode = X509RevocationMode.NoCheck;
                    chain.ChainPolicy.VerificationFlags = X509VerificationFlags.AllowUnknownCertificateAuthority;
                    chain.ChainPolicy.ExtraStore.AddRange(roots);
                    if (!chain.Build(new X509Certificate2(certificate))) return false;
                    var root = chain.ChainElements[chain.ChainElements.Count - 1].Certificate;
                    return roots.Cast<X509Certificate2>().Any(r => r.Thumbprint == root.Thumbprint);
                }
            }
            catch (CryptographicException) { return false; }
        }

        static X509Certificate2Collection Load(string path)
        {
            var found = new X509Certificate2Collection();
            try
            {
                const string begin = "-----BEGIN CERTIFICATE-----", end = "-----END CERTIFICATE-----";
                var text = File.ReadAllText(path);
                for (int at = text.IndexOf(begin); at >= 0; at = text.IndexOf(begin, at + 1))
                {
                    int stop = text.IndexOf(end, at);
                    if (stop < 0) break;
                    try { found.Add(new X509Certificate2(Convert.FromBase64String(text.Substring(at + begin.Length, stop - at - begin.Length)))); }
                    catch (Exception) { }
                }
            }
            catch (IOException) { }
            catch (UnauthorizedAccessException) { }
            return found;
        }
    }

    // A response stream that refuses to give more than its limit: a server cannot make the client hold more.
    sealed class CappedStream : Stream
    {
        readonly Stream inner;
        readonly long limit;
        readonly Func<Exception> tooLarge;
        long read;

        public CappedStream(Stream inner, long limit, Func<Exception> tooLarge) { this.inner = inner; this.limit = limit; this.tooLarge = tooLarge; }

        public override int Read(byte[] buffer, int offset, int count)
        {
            int n = inner.Read(buffer, offset, count);
            read += n;
            if (read > limit) throw tooLarge();
            return n;
        }

        protected override void Dispose(bool disposing)
        {
            if (disposing) inner.Dispose();
            base.Dispose(disposing);
        }

        public override bool CanRead { get { return true; } }
        public override bool CanSeek { get { return false; } }
        public override bool CanWrite { get { return false; } }
        public override long Length { get { throw new NotSupportedException(); } }
        public override long Position { get { return read; } set { throw new NotSupportedException(); } }
        public override void Flush() { }
        public override long Seek(long offset, SeekOrigin origin) { throw new NotSupportedException(); }
        public override void SetLength(long value) { throw new NotSupportedException(); }
        public override void Write(byte[] buffer, int offset, int count) { throw new NotSupportedException(); }
    }
}
#endif
