#if !NOCLASS && !EMPTY
using System;
using System.Linq;

namespace VISDKWrapper
{
    // Per-instance session state and the helpers every simulated operation shares.
    public partial class CVIWrapper
    {
        Session session;
        string lastError = "";
        string focusServer = "", focusVm = "";
        bool useInstanceUuid;
        readonly int[] logParameters = new int[4];

        object Int(Func<int> body)
        {
            lock (Sim.Sync)
                try { lastError = ""; return body(); }
                catch (SimFault f) { lastError = f.Message; return 0; }
                finally { Saved(); }
        }

        object Bool(Func<bool> body)
        {
            lock (Sim.Sync)
                try { lastError = ""; return body(); }
                catch (SimFault f) { lastError = f.Message; return false; }
                finally { Saved(); }
        }

        string Str(Func<string> body)
        {
            lock (Sim.Sync)
                try { lastError = ""; return body(); }
                catch (SimFault f) { lastError = f.Message; return ""; }
                finally { Saved(); }
        }

        object Obj(Func<object> body)
        {
            lock (Sim.Sync)
                try { lastError = ""; return body(); }
                catch (SimFault f) { lastError = f.Message; return null; }
                finally { Saved(); }
        }

        // A refused state file fails the login and everything that needs a session.
        static void StateUsable()
        {
            if (Sim.StateRefused != null) throw new SimFault(Sim.StateRefused);
        }

        // A call that changed the inventory is kept in the state file; a failure to write it is reported, not thrown.
        void Saved()
        {
            var problem = Sim.SaveState();
            if (problem != null && lastError == "") lastError = problem;
        }

        Session Auth()
        {
            StateUsable();
            Session s;
            if (session == null || !Sim.Sessions.TryGetValue(session.Key, out s)) throw new SimFault(Sim.NotAuthenticated);
            return s;
        }

        void Need(string privilege, string on)
        {
            if (!Auth().Account.Has(privilege))
                throw new SimFault("Permission to perform this operation was denied. (privilege '" + privilege + "' on " + on + ")");
        }

        // Resolves a VM by name, moref or UUID after checking the session and the privilege.
        Vm GetVm(string id, string privilege = "System.Read")
        {
            Auth();
            if (string.IsNullOrEmpty(id)) id = focusVm;
            if (string.IsNullOrEmpty(id)) throw new SimFault("A specified parameter was not correct: vm");
            var vm = Sim.FindVm(id, useInstanceUuid);
            if (vm == null) throw new SimFault(Sim.VmNotFound(id));
            Need(privilege, "vim.VirtualMachine:" + vm.Moref);
            return vm;
        }

        static void NotTemplate(Vm vm)
        {
            if (vm.Template) throw new SimFault("The operation is not supported on the object.");
        }

        static void RequireOn(Vm vm)
        {
            if (!vm.On) throw new SimFault(Sim.StateFault(vm));
        }

        static void RequireOff(Vm vm)
        {
            if (vm.Power != "poweredOff") throw new SimFault(Sim.StateFault(vm));
        }
    }
}
#endif
