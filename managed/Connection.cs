#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        static readonly string[] BackupPrivileges =
        {
            "VirtualMachine.State.CreateSnapshot", "VirtualMachine.State.RemoveSnapshot", "VirtualMachine.Config.ChangeTracking",
            "VirtualMachine.Provisioning.DiskRandomRead", "VirtualMachine.Provisioning.GetVmFiles", "Datastore.Browse",
            "Global.DisableMethods", "Global.EnableMethods"
        };

        static readonly string[] RestorePrivileges =
        {
            "VirtualMachine.Inventory.Create", "VirtualMachine.Inventory.Register", "VirtualMachine.Config.AddNewDisk",
            "VirtualMachine.Config.Settings", "VirtualMachine.Interact.PowerOn", "VirtualMachine.Provisioning.DiskRandomAccess",
            "Datastore.AllocateSpace", "Datastore.FileManagement", "Resource.AssignVMToPool", "Network.Assign"
        };

        static readonly string[] SnapPrivileges =
        {
            "VirtualMachine.State.CreateSnapshot", "VirtualMachine.State.RemoveSnapshot", "VirtualMachine.State.RevertToSnapshot", "Datastore.Browse"
        };

        public object SetVMFocus(string server, string vm, long options)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), server, vm, options);
            if (c != null) return c.Result<int>();
            return Int(() => { focusServer = server ?? ""; focusVm = vm ?? ""; useInstanceUuid = (options & 1) != 0; return 1; });
        }

        public object SetLogParameters(int level, int maxFileSizeMB, int maxFiles, int traceSoap)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), level, maxFileSizeMB, maxFiles, traceSoap);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                if (level < 0 || maxFileSizeMB < 0 || maxFiles < 0) throw new SimFault("A specified parameter was not correct: logParameters");
                logParameters[0] = level; logParameters[1] = maxFileSizeMB; logParameters[2] = maxFiles; logParameters[3] = traceSoap;
                return 1;
            });
        }

        public string GetLastErrorString()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            lock (Sim.Sync) return lastError;
        }

        public object Connect(string server, string user, string password)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), server, user, password);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                StateUsable();
                var name = (string.IsNullOrEmpty(server) ? focusServer : server).Trim();
                if (name.StartsWith("https://", StringComparison.OrdinalIgnoreCase)) name = name.Substring(8);
                name = name.Split('/')[0].Split(':')[0];
                Server s;
                if (!Sim.Servers.TryGetValue(name, out s)) throw new SimFault("The remote name could not be resolved: '" + name + "'");
                var account = s.Accounts.FirstOrDefault(a => string.Equals(a.User, user, StringComparison.OrdinalIgnoreCase) && a.Password == password);
                if (account == null) throw new SimFault("Cannot complete login due to an incorrect user name or password.");
                if (session != null) Sim.Sessions.Remove(session.Key);
                var b = Sim.Hash("session:" + s.Name + ":" + account.User + ":" + (++Sim.SessionSeq));
                b[0] = 0x52;
                var h = Sim.Hex(b, 16, "");
                session = new Session
                {
                    Key = h.Substring(0, 8) + "-" + h.Substring(8, 4) + "-" + h.Substring(12, 4) + "-" + h.Substring(16, 4) + "-" + h.Substring(20),
                    Server = s, Account = account
                };
                Sim.Sessions[session.Key] = session;
                return 1;
            });
        }

        public object Disconnect()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<int>();
            return Int(() => { Sim.Sessions.Remove(Auth().Key); session = null; return 1; });
        }

        public object CheckConnection()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<int>();
            return Int(() => { Auth(); return 1; });
        }

        public void ReleaseConnection()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) { c.Finish(); return; }
            lock (Sim.Sync)
            {
                if (session != null) Sim.Sessions.Remove(session.Key);
                session = null;
                lastError = "";
            }
        }

        public object VerifyAccountForBackup(out List<string> missing)
        {
            return Verify(MethodBase.GetCurrentMethod(), BackupPrivileges, out missing);
        }

        public object VerifyAccountForRestore(out List<string> missing)
        {
            return Verify(MethodBase.GetCurrentMethod(), RestorePrivileges, out missing);
        }

        public object VerifyAccountForSnap(out List<string> missing)
        {
            return Verify(MethodBase.GetCurrentMethod(), SnapPrivileges, out missing);
        }

        object Verify(MethodBase method, string[] required, out List<string> missing)
        {
            missing = null;
            var c = Probe.Enter(method, new object[] { null });
            if (c != null) { c.Out(0, ref missing); return c.Result<bool>(); }
            List<string> list = null;
            var r = Bool(() =>
            {
                var account = Auth().Account;
                list = required.Where(p => !account.Has(p)).ToList();
                if (list.Count > 0) throw new SimFault("The account '" + account.User + "' lacks " + list.Count + " required privilege(s): " + string.Join(", ", list));
                return true;
            });
            missing = list;
            return r;
        }

        public object IsVCenterConnection()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<bool>();
            return Bool(() => Auth().Server.VCenter);
        }

        public string GetCertificateThumbprint()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            return Str(() => Auth().Server.Thumbprint);
        }

        public string GetSessionKey()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            return Str(() => Auth().Key);
        }

        public string GetSessionCookie()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return (string)c.Result<string>();
            return Str(() => "vmware_soap_session=\"" + Sim.Hex(Sim.Hash("cookie:" + Auth().Key), 20, "") + "\"");
        }

        public object GetConnectionVersion()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<int>();
            return Int(() => Auth().Server.Major);
        }

        public object GetConnectionApiVersion()
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod());
            if (c != null) return c.Result<int>();
            return Int(() => Auth().Server.Api);
        }

        public void SetUseInstanceUuid(bool useInstanceUuid)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), useInstanceUuid);
            if (c != null) { c.Finish(); return; }
            lock (Sim.Sync) this.useInstanceUuid = useInstanceUuid;
        }
    }
}
#endif
