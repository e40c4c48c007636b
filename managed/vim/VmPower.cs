#if !NOCLASS && !EMPTY
using System.Diagnostics;
using System.Threading;

namespace VISDKWrapper
{
    // Power and state: each a task of the server's (or a guest request), waited for.
    sealed partial class VimClient
    {
        public int PowerOnVM(string vm, string host) { RunTask(new SoapRequest("PowerOnVM_Task", Vm(vm))); return 1; }

        public int PowerOffVM(string vm, string host) { RunTask(new SoapRequest("PowerOffVM_Task", Vm(vm))); return 1; }

        public int SuspendVM(string vm, string host) { RunTask(new SoapRequest("SuspendVM_Task", Vm(vm))); return 1; }

        // The guest is asked to shut down; the call returns once the VM is off, as a task would.
        public int ShutdownVM(string vm, string host)
        {
            var target = Vm(vm);
            Invoke(new SoapRequest("ShutdownGuest", target));
            var clock = Stopwatch.StartNew();
            for (int pause = 50; Retrieve(target, "runtime.powerState").Str("runtime.powerState") != "poweredOff"; pause = System.Math.Min(1000, pause * 2))
            {
                if (clock.ElapsedMilliseconds > settings.TaskTimeoutMs)
                    throw new ClientFault("The guest of " + target.Value + " did not shut down within " + settings.TaskTimeoutMs / 1000 + " s");
                Thread.Sleep(pause);
            }
            return 1;
        }

        public int MarkAsTemplate(string vm, string host) { Invoke(new SoapRequest("MarkAsTemplate", Vm(vm))); return 1; }
    }
}
#endif
