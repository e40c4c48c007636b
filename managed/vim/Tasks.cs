#if !NOCLASS && !EMPTY
using System;
using System.Diagnostics;
using System.Threading;

namespace VISDKWrapper
{
    sealed partial class VimClient
    {
        // Starts a *_Task method and waits for its end: the task's result on success, its fault otherwise.
        VimNode RunTask(SoapRequest request)
        {
            return WaitTask(Invoke(request).Ref("returnval"));
        }

        // Waits until the task ends or the task timeout passes (the task then goes on on the server, and the fault names it).
        VimNode WaitTask(MoRef task)
        {
            var info = PollTask(task, settings.TaskTimeoutMs);
            if (info.Str("state") == "success") return info["result"];
            if (info.Str("state") == "error") throw TaskFault(info);
            throw new ClientFault("The task " + task.Value + " did not finish within " + settings.TaskTimeoutMs / 1000 + " s; it goes on on the server");
        }

        // Reads the task's info, quickly at first and then at most every second, until it ends or the time passes: the
        // last info read.
        VimNode PollTask(MoRef task, long timeoutMs)
        {
            if (task == null) throw new ClientFault("The server started no task");
            var clock = Stopwatch.StartNew();
            for (int pause = 20; ; pause = Math.Min(1000, pause * 2))
            {
                var info = Retrieve(task, "info")["info"];
                var state = info.Str("state");
                if (state == "success" || state == "error" || clock.ElapsedMilliseconds >= timeoutMs) return info;
                Thread.Sleep((int)Math.Max(1, Math.Min(pause, timeoutMs - clock.ElapsedMilliseconds)));
            }
        }

        static VimFault TaskFault(VimNode info)
        {
            var error = info["error"];
            var fault = error["fault"];
            var type = fault.Type ?? "";
            return new VimFault(type, FaultText.Of(type, error.Str("localizedMessage"), fault, info.Str("descriptionId") != "" ? info.Str("descriptionId") : "the task"), fault);
        }
    }
}
#endif
