#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Net;
using System.Linq;

namespace VISDKWrapper
{
    // The vSphere web-services client behind one CVIWrapper: one server, one transport, one session. It holds no lock
    // of the simulator's; calls on one bridge object are serialized by its own.
    sealed partial class VimClient : IVSphereClient
    {
        readonly SoapTransport soap;
        readonly VimSettings settings = VimSettings.Current;
        readonly Focus focus;
        VimNode content = VimNode.None;
        string sessionKey, userName;
        // What the running call, though it succeeds, has to tell (a polled task's failure); see Call.
        string pendingNotice;
        // The credentials of the last good Connect, in memory only, for logging in again when the server forgets the
        // session; null after Disconnect.
        Credentials held;
        // The password last given to Connect, kept out of every message this client passes on.
        string secret;
        // Whether the running call has sent a request that may have changed something on the server.
        bool changed;

        sealed class Credentials
        {
            public readonly string User, Password;
            public Credentials(string user, string password) { User = user ?? ""; Password = password ?? ""; }
        }

        public VimClient(Uri url, Focus focus)
        {
            soap = new SoapTransport(url, settings);
            this.focus = focus;
        }

        // One operation at a time per client: they share one connection, one session and its views anyway. Clients of
        // other bridge objects run in parallel.
        readonly object gate = new object();

        // A call the server refuses for want of a session (it expired, or the server restarted) runs once more after a
        // new login, if nothing it sent before could have changed anything: the refused request itself did not apply.
        public T Call<T>(Func<T> body, out string notice)
        {
            lock (gate)
            {
                try
                {
                    for (int attempt = 0; ; attempt++)
                    {
                        pendingNotice = null;
                        changed = false;
                        try
                        {
                            var result = body();
                            notice = pendingNotice;
                            return result;
                        }
                        catch (VimFault f) when (f.FaultType == "NotAuthenticated" && attempt == 0 && !changed && held != null)
                        {
                            NativeLog.Debug("The session on " + soap.Url.Authority + " has ended; logging in again to repeat the call");
                        }
                    }
                }
                // What the HTTP stack throws on a path no handler expected still fails the call with a reason.
                catch (Exception e) when (e is WebException || e is IOException || e is ObjectDisposedException || e is InvalidOperationException ||
                                          e is System.Net.Sockets.SocketException)
                {
                    NativeLog.Error("Unexpected " + e.GetType().Name + " talking to " + soap.Url.Authority + ": " + e);
                    throw new ClientFault("The exchange with " + soap.Url.Authority + " failed: " + e.Message);
                }
                catch (ClientFault f) when (!string.IsNullOrEmpty(secret) && f.Message.Contains(secret))
                {
                    // A server may echo what it was sent; the password goes no further than this client.
                    throw new ClientFault(f.Message.Replace(secret, "********"));
                }
            }
        }

        // The server a Connect argument names: "host", "host:port" or "https://host[:port]/sdk". Plain http only for a
        // loopback test server; null with the reason when the text names no server.
        public static Uri EndpointOf(string server, out string problem)
        {
            problem = null;
            var text = (server ?? "").Trim();
            if (text == "") { problem = "A specified parameter was not correct: server"; return null; }
            if (text.IndexOf("://", StringComparison.Ordinal) < 0) text = "https://" + text;
            Uri uri;
            if (!Uri.TryCreate(text, UriKind.Absolute, out uri) || uri.Host == "" || (uri.Scheme != Uri.UriSchemeHttps && uri.Scheme != Uri.UriSchemeHttp))
            {
                problem = "A specified parameter was not correct: server '" + server + "'";
                return null;
            }
            if (uri.Scheme == Uri.UriSchemeHttp && !uri.IsLoopback)
            {
                problem = "Plain http is accepted only for a loopback test server: '" + server + "'";
                return null;
            }
            var path = uri.AbsolutePath == "/" ? "/sdk" : uri.AbsolutePath;
            return new UriBuilder(uri.Scheme, uri.Host, uri.Port, path).Uri;
        }

        public Uri Url { get { return soap.Url; } }

        MoRef Content(string name)
        {
            var r = content.Ref(name);
            if (r == null) throw new ClientFault("The server offers no " + name);
            return r;
        }

        bool IsVCenter { get { return content.At("about.apiType").Text == "VirtualCenter"; } }

        // Every operation that acts on the inventory needs a session. One the server forgot is made anew with the held
        // credentials; without any, the call fails before anything goes out.
        void Auth()
        {
            if (sessionKey != null) return;
            if (held == null) throw new ClientFault("The session is not authenticated.");
            try { LogIn(held.User, held.Password); }
            catch (VimFault f) when (f.FaultType == "InvalidLogin")
            {
                held = null;
                throw new ClientFault("The session on " + soap.Url.Authority + " has ended, and logging in again was refused: " + f.Message);
            }
        }

        VimNode Invoke(SoapRequest request)
        {
            Auth();
            bool before = changed, reads = request.ChangesNothing;
            if (!reads) changed = true;
            try
            {
                try { return soap.Invoke(request); }
                // A read may go again once on a fresh connection: a kept-alive one the server closed fails like this.
                catch (LostConnection lost) when (reads)
                {
                    NativeLog.Debug(lost.Message + "; " + request.Method + " is sent again");
                    return soap.Invoke(request);
                }
            }
            catch (VimFault f)
            {
                // The server has forgotten the session (it expired, or was ended elsewhere): so do we. It refused the
                // request, so the request changed nothing.
                if (f.FaultType == "NotAuthenticated")
                {
                    changed = before;
                    EndSession();
                }
                throw;
            }
        }


        // Forgets the session and what belonged to it (its views); a second login on a live session cookie is refused
        // by some servers, so the next one starts afresh.
        void EndSession()
        {
            sessionKey = null;
            ForgetViews();
            ForgetServiceLogin();
            soap.ForgetSession();
        }

        public int Connect(string server, string user, string password)
        {
            GiveUpImports();
            EndSession();
            held = null;
            secret = password;
            LogIn(user, password);
            held = new Credentials(user, password);
            return 1;
        }

        void LogIn(string user, string password)
        {
            content = soap.Invoke(new SoapRequest("RetrieveServiceContent", new MoRef("ServiceInstance", "ServiceInstance")))["returnval"];
            var version = content.At("about.apiVersion").Text;
            if (version != "") soap.ApiVersion = version;
            var session = soap.Invoke(new SoapRequest("Login", Content("sessionManager")).Add("userName", user ?? "").Secret("password", password))["returnval"];
            sessionKey = session.Str("key");
            userName = session.Str("userName");
            if (sessionKey == "") sessionKey = userName;
        }

        public int Disconnect()
        {
            if (sessionKey == null && held == null) throw new ClientFault("The session is not authenticated.");
            GiveUpImports();
            var wasLive = sessionKey != null;
            held = null;
            try { if (wasLive) soap.Invoke(new SoapRequest("Logout", Content("sessionManager"))); }
            finally { EndSession(); }
            return 1;
        }

        // A vCenter says whether the session lives; a host without SessionIsActive answers CurrentTime only to a session.
        public int CheckConnection()
        {
            Auth();
            if (IsVCenter)
            {
                try
                {
                    var active = Invoke(new SoapRequest("SessionIsActive", Content("sessionManager")).Add("sessionID", sessionKey).Add("userName", userName))["returnval"];
                    // The server no longer knows the session: as a NotAuthenticated fault, so the call logs in again.
                    if (!active.AsBool()) { EndSession(); throw new VimFault("NotAuthenticated", "The session is not authenticated."); }
                    return 1;
                }
                catch (VimFault f) when (f.FaultType == "NotImplemented" || f.FaultType == "NoPermission" || f.FaultType == "MethodNotFound") { }
            }
            Invoke(new SoapRequest("CurrentTime", new MoRef("ServiceInstance", "ServiceInstance")));
            return 1;
        }

        public void ReleaseConnection()
        {
            lock (gate)
            {
                held = null;
                EndSession();
            }
        }

        public bool VerifyAccountForBackup(out List<string> missing) { return Verify(Privileges.Backup, out missing); }
        public bool VerifyAccountForRestore(out List<string> missing) { return Verify(Privileges.Restore, out missing); }
        public bool VerifyAccountForSnap(out List<string> missing) { return Verify(Privileges.Snap, out missing); }

        // The privileges the session holds on the inventory's root, asked in one call.
        bool Verify(string[] required, out List<string> missing)
        {
            missing = null;
            Auth();
            var answer = Invoke(new SoapRequest("HasPrivilegeOnEntity", Content("authorizationManager"))
                .Ref("entity", Content("rootFolder")).Add("sessionId", sessionKey).AddAll("privId", required));
            var granted = answer.All("returnval").Select(v => v.AsBool()).ToList();
            var list = required.Where((p, i) => i >= granted.Count || !granted[i]).ToList();
            missing = list;
            if (list.Count > 0)
                throw new ClientFault("The account '" + userName + "' lacks " + list.Count + " required privilege(s): " + string.Join(", ", list));
            return true;
        }

        public bool IsVCenterConnection() { Auth(); return IsVCenter; }

        public string GetCertificateThumbprint()
        {
            Auth();
            if (soap.Thumbprint == null) throw new ClientFault("The connection to " + soap.Url.Host + " is not secured by a certificate");
            return soap.Thumbprint;
        }

        public string GetSessionKey() { Auth(); return sessionKey; }

        public string GetSessionCookie()
        {
            Auth();
            var cookie = soap.SessionCookie;
            if (cookie == null) throw new ClientFault("The server set no session cookie");
            return cookie.Name + "=" + cookie.Value;
        }

        public int GetConnectionVersion() { Auth(); return VersionPart(0); }

        public int GetConnectionApiVersion() { Auth(); return VersionPart(0) * 100 + VersionPart(1) * 10 + VersionPart(2); }

        int VersionPart(int i)
        {
            var parts = content.At("about.version").Text.Split('.');
            int n;
            return i < parts.Length && int.TryParse(parts[i], NumberStyles.Integer, CultureInfo.InvariantCulture, out n) ? n : 0;
        }
    }
}
#endif
