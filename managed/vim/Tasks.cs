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

        // Polls the task's info, quickly at first and then at most every second, until it ends or the task timeout
        // passes (the task then goes on on the server, and the fault names it).
        VimNode WaitTask(MoRef task)
        {
            if (task == null) throw new ClientFault("The server started no task");
            var clock = Stopwatch.StartNew();
            int pause = 20;
            for (;;)
            {
                var info = Retrieve(task, "info")["info"];
                switch (info.Str("state"))
                {
                    case "success": return info["result"];
                    case "error": throw TaskFault(info);
                }
                if (clock.ElapsedMilliseconds > settings.TaskTimeoutMs)
                    throw new ClientFault("The task " + task.Value + " did not finish within " + settings.TaskTimeoutMs / 1000 + " s; it goes on on the server");
                Thread.Sleep(pause);
                pause = Math.Min(1000, pause * 2);
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
