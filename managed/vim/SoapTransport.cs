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

    // The connection broke before the answer was whole: the server may or may not have acted on the request.
    sealed class LostConnection : ClientFault
    {
        public LostConnection(string message) : base(message) { }
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

        // TLS 1.2 and later only: 1.0 and 1.1 are broken and no supported server needs them.
        static SoapTransport()
        {
            try { ServicePointManager.SecurityProtocol = SecurityProtocolType.Tls12 | (SecurityProtocolType)12288; }
            catch (NotSupportedException) { ServicePointManager.SecurityProtocol = SecurityProtocolType.Tls12; }
            // Mono's blocking HTTP calls wait on work done by pool threads, and the deadlines fire on them too: a pool
            // that grows only a thread at a time left calls waiting far past their timeouts under faults.
            int workers, completions;
            ThreadPool.GetMinThreads(out workers, out completions);
            ThreadPool.SetMinThreads(Math.Max(workers, 64), Math.Max(completions, 64));
        }

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
            http.Timeout = settings.ReadTimeoutMs;
            http.ReadWriteTimeout = settings.ReadTimeoutMs;
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

        // Sends the request and gives the method's response element; a SOAP fault is thrown as a VimFault. The connect
        // timeout bounds reaching the server (TCP and TLS), the read timeout the whole answer: a server trickling a byte
        // a second is no better than a silent one.
        public VimNode Invoke(SoapRequest request)
        {
            var body = request.Bytes();
            lock (wire)
            {
                var target = request.Path == null ? url : new Uri(url, request.Path);
                for (int redirects = 0; ; redirects++)
                {
                    Uri next;
                    var answer = Exchange(request, target, body, out next);
                    if (next == null) return answer;
                    if (redirects == MaxRedirects)
                        throw new ClientFault("The server redirected " + request.Method + " more than " + MaxRedirects + " times");
                    // The session cookie goes only to the server it belongs to.
                    if (next.Scheme != target.Scheme || next.Host != target.Host || next.Port != target.Port)
                        throw new ClientFault("The server redirected " + request.Method + " to another host (" + next.GetLeftPart(UriPartial.Authority) +
                            "); the request is not sent there");
                    target = next;
                }
            }
        }

        public const int MaxRedirects = 3;

        // One POST of the request: the answer, or in `redirect` where the server sends it instead.
        VimNode Exchange(SoapRequest request, Uri target, byte[] body, out Uri redirect)
        {
            redirect = null;
            VimStats.Count();
            // The session cookie that /sdk set goes to the server's other services too.
            var session = request.Path == null ? null : SessionCookie;
            if (session != null) cookies.Add(target, new Cookie(session.Name, session.Value, request.Path));
            var http = (HttpWebRequest)WebRequest.Create(target);
            http.Method = "POST";
            http.ContentType = "text/xml; charset=utf-8";
            http.Headers["SOAPAction"] = request.Namespace + "/" + ApiVersion;
            // The HTTP stack sends a request again by itself when a kept-alive connection turns out closed; one that may
            // change something goes on a connection of its own, so it leaves this client once at most.
            var once = request.ChangesNothing ? null : group + "-once-" + Interlocked.Increment(ref onceGroups);
            http.KeepAlive = once == null;
            http.ConnectionGroupName = once ?? group;
            http.CookieContainer = cookies;
            http.AllowAutoRedirect = false;
            // The deadline below bounds each phase; Mono's own timers would only race it (and cost a timer per read).
            http.Timeout = Timeout.Infinite;
            http.ReadWriteTimeout = Timeout.Infinite;
            http.ServerCertificateValidationCallback = Trust;
            http.ContentLength = body.Length;
            using (var deadline = new Deadline(http, settings.ConnectTimeoutMs))
            {
                try
                {
                    return Post(http, deadline, request.Method, body, out redirect);
                }
                finally
                {
                    if (once != null) ServicePointManager.FindServicePoint(target).CloseConnectionGroup(once);
                }
            }
        }

        static int onceGroups;

        // Sends the body (the connect timeout running until the connection stands, then the read timeout) and reads the answer.
        VimNode Post(HttpWebRequest http, Deadline deadline, string method, byte[] body, out Uri redirect)
        {
            redirect = null;
            var target = http.RequestUri;
            try
            {
                using (var s = http.GetRequestStream())
                {
                    deadline.Reset(settings.ReadTimeoutMs);
                    s.Write(body, 0, body.Length);
                }
                using (var response = (HttpWebResponse)http.GetResponse())
                    return Answer(response, method, out redirect);
            }
            catch (Exception e) when (deadline.Expired && !(e is VimFault))
            {
                throw new ClientFault("The server " + Where(target) + " did not answer " + method + " in time");
            }
            catch (WebException e)
            {
                var response = e.Response as HttpWebResponse;
                if (response != null)
                    using (response) return Answer(response, method, out redirect);
                throw Failure(e, method, target);
            }
            catch (IOException e) { throw new LostConnection("The connection to " + Where(target) + " failed: " + e.Message); }
            catch (XmlException e) { throw NotSoap(method, e); }
        }

        static ClientFault NotSoap(string method, XmlException e)
        {
            // Entity expansion and external entities come with a document type: none is read.
            if (e.Message.IndexOf("DTD", StringComparison.OrdinalIgnoreCase) >= 0 || e.Message.IndexOf("DOCTYPE", StringComparison.OrdinalIgnoreCase) >= 0)
                return new ClientFault("The server's answer to " + method + " holds a document type declaration (DTD), which is refused");
            return new ClientFault("The server's answer to " + method + " is not a SOAP document: " + e.Message);
        }

        // A SOAP answer comes as 200, or as a server error carrying a fault; a redirect names where to send the request
        // again. Anything else (an error page, a 200 of another content type) is no answer.
        VimNode Answer(HttpWebResponse response, string method, out Uri redirect)
        {
            redirect = null;
            var status = (int)response.StatusCode;
            bool xml = (response.ContentType ?? "").IndexOf("xml", StringComparison.OrdinalIgnoreCase) >= 0;
            if (status >= 300 && status <= 399 && status != 304)
            {
                var location = response.Headers["Location"];
                Uri next;
                if (!string.IsNullOrEmpty(location) && Uri.TryCreate(response.ResponseUri, location, out next) &&
                    (next.Scheme == Uri.UriSchemeHttps || next.Scheme == Uri.UriSchemeHttp))
                {
                    redirect = next;
                    return null;
                }
            }
            if (status == 200 && !xml)
                throw new ClientFault("The server answered " + method + " with " + Describe(response.ContentType) + ", not a SOAP document");
            if (status == 200) return Parse(response, method);
            if (status >= 500 && xml)
            {
                // A fault is the answer; a document that is none leaves the status to speak.
                try { Parse(response, method); }
                catch (VimFault) { throw; }
                catch (ClientFault) { }
                catch (XmlException) { }
                catch (IOException) { }
            }
            throw new ClientFault("The server answered " + status + " (" + response.StatusDescription + ") to " + method);
        }

        static string Describe(string contentType)
        {
            return string.IsNullOrEmpty(contentType) ? "no content type" : "'" + contentType.Split(';')[0].Trim() + "'";
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
            var body = new BufferedStream(new CappedStream(response.GetResponseStream(), settings.ResponseLimitBytes, () => TooLarge(method),
                response.ContentLength, got => CutOff(method, got, response.ContentLength)), 1 << 16);
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

        static ClientFault CutOff(string method, long got, long length)
        {
            return new ClientFault("The server's answer to " + method + " was cut off after " + got + " of " + length + " bytes");
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
            var where = Where(target);
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
                case WebExceptionStatus.ReceiveFailure:
                case WebExceptionStatus.SendFailure:
                case WebExceptionStatus.ConnectionClosed:
                case WebExceptionStatus.KeepAliveFailure:
                case WebExceptionStatus.PipelineFailure:
                    return new LostConnection("The connection to " + where + " failed: " + Inner(e));
                default:
                    return new ClientFault("The connection to " + where + " failed: " + Inner(e));
            }
        }

        ClientFault Untrusted()
        {
            if (settings.TrustThumbprint != null && presented != null)
                return new ClientFault("The certificate of " + Where() + " has changed: it presents SHA-1 thumbprint " + presented + ", but " +
                    settings.TrustThumbprint + " is pinned (VISDK_TRUST_THUMBPRINT or trustThumbprint in VISDKWrapper.config)");
            return new ClientFault("The certificate of " + Where() + " is not trusted (SHA-1 thumbprint " + presented +
                "). To trust it, set VISDK_TRUST_THUMBPRINT=" + presented + " or trustThumbprint in VISDKWrapper.config");
        }

        static string Inner(Exception e)
        {
            while (e.InnerException != null) e = e.InnerException;
            return e.Message;
        }

        string Where() { return Where(url); }

        static string Where(Uri target) { return target.Host + ":" + target.Port; }

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

    // Aborts a request whose time is up; Reset starts the next phase's time.
    sealed class Deadline : IDisposable
    {
        readonly HttpWebRequest http;
        readonly Timer timer;
        volatile bool expired;

        public Deadline(HttpWebRequest http, int ms)
        {
            this.http = http;
            timer = new Timer(Expire, null, ms, Timeout.Infinite);
        }

        public bool Expired { get { return expired; } }

        public void Reset(int ms) { if (!expired) timer.Change(ms, Timeout.Infinite); }

        void Expire(object state)
        {
            expired = true;
            try { http.Abort(); } catch (Exception) { }
        }

        public void Dispose() { timer.Dispose(); }
    }

    // A response stream that refuses to give more than its limit: a server cannot make the client hold more.
    sealed class CappedStream : Stream
    {
        readonly Stream inner;
        readonly long limit;
        readonly Func<Exception> tooLarge;
        readonly long expected;
        readonly Func<long, Exception> cutOff;
        long read;

        // `expected`: the length the server announced (-1: none); an end before it is `cutOff`.
        public CappedStream(Stream inner, long limit, Func<Exception> tooLarge, long expected = -1, Func<long, Exception> cutOff = null)
        {
            this.inner = inner; this.limit = limit; this.tooLarge = tooLarge; this.expected = expected; this.cutOff = cutOff;
        }

        public override int Read(byte[] buffer, int offset, int count)
        {
            int n;
            try { n = inner.Read(buffer, offset, count); }
            catch (IOException) when (cutOff != null && expected >= 0 && read < expected) { throw cutOff(read); }
            read += n;
            if (read > limit) throw tooLarge();
            if (n == 0 && count > 0 && cutOff != null && expected >= 0 && read < expected) throw cutOff(read);
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
