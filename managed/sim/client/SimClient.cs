#if !NOCLASS && !EMPTY
using System;
using System.Linq;

namespace VISDKWrapper
{
    // The simulated server behind one CVIWrapper: its session and list caches, and the helpers every operation shares.
    sealed partial class SimClient : IVSphereClient
    {
        Session session;
        readonly Focus focus;

        public SimClient(Focus focus)
        {
            this.focus = focus;
            Sim.EnsureLoaded();
        }

        // What a call that succeeded still has to report (a failed task's error); the face shows it as the last error.
        string notice;

        // One operation on the latest state, which is saved after it; a failure to save fails the call.
        public T Call<T>(Func<T> body, out string notice)
        {
            lock (Sim.Sync)
            {
                this.notice = null;
                try { return Sim.Hold(body); }
                finally { notice = string.IsNullOrEmpty(this.notice) ? null : this.notice; }
            }
        }

        // A refused state file fails the login and everything that needs a session.
        static void StateUsable()
        {
            if (Sim.StateRefused != null) throw new SimFault(Sim.StateRefused);
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

        // Resolves a VM by name, moref or UUID after checking the session and the privilege; empty means the focus VM.
        Vm GetVm(string id, string privilege = "System.Read")
        {
            Auth();
            if (string.IsNullOrEmpty(id)) id = focus.Vm;
            if (string.IsNullOrEmpty(id)) throw new SimFault("A specified parameter was not correct: vm");
            var vm = Sim.FindVm(id, focus.InstanceUuid);
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
