#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        // The server name of a Connect argument: "name", "name:port" or "https://name[:port]/sdk".
        static string ServerName(string server)
        {
            var name = (server ?? "").Trim();
            if (name.StartsWith("https://", StringComparison.OrdinalIgnoreCase)) name = name.Substring(8);
            return name.Split('/')[0].Split(':')[0];
        }

        // True for the servers the simulator's configuration lists.
        public bool Serves(string server)
        {
            lock (Sim.Sync) return Sim.Servers.ContainsKey(ServerName(server));
        }

        public int Connect(string server, string user, string password)
        {
            StateUsable();
            var name = ServerName(server);
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
        }

        public int Disconnect()
        {
            Sim.Sessions.Remove(Auth().Key);
            session = null;
            return 1;
        }

        public int CheckConnection()
        {
            Auth();
            return 1;
        }

        // Drops the session without a word: it runs outside Call, as it saves nothing and cannot fail.
        public void ReleaseConnection()
        {
            lock (Sim.Sync)
            {
                if (session != null) Sim.Sessions.Remove(session.Key);
                session = null;
            }
        }

        public bool VerifyAccountForBackup(out List<string> missing)
        {
            return Verify(Privileges.Backup, out missing);
        }

        public bool VerifyAccountForRestore(out List<string> missing)
        {
            return Verify(Privileges.Restore, out missing);
        }

        public bool VerifyAccountForSnap(out List<string> missing)
        {
            return Verify(Privileges.Snap, out missing);
        }

        bool Verify(string[] required, out List<string> missing)
        {
            missing = null;
            var account = Auth().Account;
            missing = required.Where(p => !account.Has(p)).ToList();
            if (missing.Count > 0) throw new SimFault("The account '" + account.User + "' lacks " + missing.Count + " required privilege(s): " + string.Join(", ", missing));
            return true;
        }

        public bool IsVCenterConnection()
        {
            return Auth().Server.VCenter;
        }

        public string GetCertificateThumbprint()
        {
            return Auth().Server.Thumbprint;
        }

        public string GetSessionKey()
        {
            return Auth().Key;
        }

        public string GetSessionCookie()
        {
            return "vmware_soap_session=\"" + Sim.Hex(Sim.Hash("cookie:" + Auth().Key), 20, "") + "\"";
        }

        public int GetConnectionVersion()
        {
            return Auth().Server.Major;
        }

        public int GetConnectionApiVersion()
        {
            return Auth().Server.Api;
        }
    }
}
#endif
