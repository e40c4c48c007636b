#if !NOCLASS && !EMPTY
using System.Collections.Generic;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        public object SetVMFocus(string server, string vm, long options)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), server, vm, options);
            if (c != null) return c.Result<int>();
            return Int(() => { focusServer = server ?? ""; focus.Vm = vm ?? ""; focus.InstanceUuid = (options & 1) != 0; return 1; });
        }

        public object SetLogParameters(int level, int maxFileSizeMB, int maxFiles, int traceSoap)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), level, maxFileSizeMB, maxFiles, traceSoap);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                if (level < 0 || maxFileSizeMB < 0 || maxFiles < 0) throw new ClientFault("A specified parameter was not correct: logParameters");
                logParameters[0] = level; logParameters[1] = maxFileSizeMB; logParameters[2] = maxFiles; logParameters[3] = traceSoap;
                return 1;
            });
        }

        public string GetLastErrorString()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            return lastError;
        }

        // An empty server means the one given to SetVMFocus; the name picks the client that serves it.
        public object Connect(string server, string user, string password)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), server, user, password);
            if (c != null) return c.Result<int>();
            var name = string.IsNullOrEmpty(server) ? focusServer : server;
            string problem;
            var chosen = ClientFor(name, out problem);
            if (chosen == null) return Int(() => { throw new ClientFault(problem); });
            client = chosen;
            return Int(() => client.Connect(name, user, password));
        }

        public object Disconnect()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<int>();
            return Int(() => client.Disconnect());
        }

        public object CheckConnection()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<int>();
            return Int(() => client.CheckConnection());
        }

        public void ReleaseConnection()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) { c.Finish(); return; }
            client.ReleaseConnection();
            lastError = "";
        }

        public object VerifyAccountForBackup(out List<string> missing)
        {
            return Verify(MethodBase.GetCurrentMethod(), (IVSphereClient to, out List<string> list) => to.VerifyAccountForBackup(out list), out missing);
        }

        public object VerifyAccountForRestore(out List<string> missing)
        {
            return Verify(MethodBase.GetCurrentMethod(), (IVSphereClient to, out List<string> list) => to.VerifyAccountForRestore(out list), out missing);
        }

        public object VerifyAccountForSnap(out List<string> missing)
        {
            return Verify(MethodBase.GetCurrentMethod(), (IVSphereClient to, out List<string> list) => to.VerifyAccountForSnap(out list), out missing);
        }

        // Takes the client as an argument, so each lambda captures nothing and is made once.
        delegate bool Verifier(IVSphereClient client, out List<string> missing);

        object Verify(MethodBase method, Verifier verify, out List<string> missing)
        {
            missing = null;
            var c = Probe.Enter(method, new object[] { null });
            if (c != null) { c.Out(0, ref missing); return c.Result<bool>(); }
            List<string> list = null;
            var r = Bool(() => verify(client, out list));
            missing = list;
            return r;
        }

        public object IsVCenterConnection()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<bool>();
            return Bool(() => client.IsVCenterConnection());
        }

        public string GetCertificateThumbprint()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetCertificateThumbprint());
        }

        public string GetSessionKey()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetSessionKey());
        }

        public string GetSessionCookie()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            return Str(() => client.GetSessionCookie());
        }

        public object GetConnectionVersion()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<int>();
            return Int(() => client.GetConnectionVersion());
        }

        public object GetConnectionApiVersion()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<int>();
            return Int(() => client.GetConnectionApiVersion());
        }

        public void SetUseInstanceUuid(bool useInstanceUuid)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), useInstanceUuid);
            if (c != null) { c.Finish(); return; }
            focus.InstanceUuid = useInstanceUuid;
        }
    }
}
#endif
