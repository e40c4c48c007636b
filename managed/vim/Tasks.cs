#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.Linq;
using System.Threading;

namespace VISDKWrapper
{
    sealed partial class VimClient
    {
        // Starts a *_Task method and waits for its end: the task's result on success, its fault otherwise.
        VimNode RunTask(SoapRequest request)
        {
            return WaitTask(StartTask(request));
        }

        // Starts a *_Task method: its task. It is never sent twice. When the answer is lost (a dropped connection, a
        // timeout, a garbled reply) the server may have started it anyway, so the task is looked for among the recent
        // tasks: found, it is the answer; not found, the call fails.
        MoRef StartTask(SoapRequest request)
        {
            var clock = Stopwatch.StartNew();
            try
            {
                var task = Invoke(request).Ref("returnval");
                if (task == null) throw new ClientFault("The server started no task for " + request.Method);
                return Known(task);
            }
            catch (ClientFault lost) when (!(lost is VimFault) && sessionKey != null)
            {
                MoRef found;
                try { found = FindStartedTask(request, clock); }
                catch (ClientFault e)
                {
                    throw new ClientFault(lost.Message + "; whether the server started " + request.Method + " could not be found out: " + e.Message);
                }
                if (found == null)
                    throw new ClientFault(lost.Message + "; no task for " + request.Method + " is among the server's recent tasks, and it was not sent again");
                NativeLog.Debug("The answer to " + request.Method + " was lost (" + lost.Message + "); the server's task " + found.Value + " is followed");
                return Known(found);
            }
        }

        // The tasks this client started, so a lookup never takes one of them for a later request's.
        readonly HashSet<MoRef> startedTasks = new HashSet<MoRef>();
        readonly Queue<MoRef> startedOrder = new Queue<MoRef>();

        MoRef Known(MoRef task)
        {
            if (startedTasks.Add(task)) startedOrder.Enqueue(task);
            // The server keeps a few hundred recent tasks; older ones can no longer be mistaken.
            while (startedOrder.Count > 1000) startedTasks.Remove(startedOrder.Dequeue());
            return task;
        }

        // The recent task that the request started: on the request's object, of its method, queued since it was sent
        // and not one this client knows. The server's time less all the time since sending (the lookup's own request
        // included) is no later than the moment the server received the request, by the server's own clock. Null when
        // there is none; a fault when more than one could be it.
        MoRef FindStartedTask(SoapRequest request, Stopwatch sinceSent)
        {
            var now = Invoke(new SoapRequest("CurrentTime", new MoRef("ServiceInstance", "ServiceInstance")))["returnval"].AsTime();
            if (now == null) throw new ClientFault("The server's time is unknown");
            var earliest = now.Value - sinceSent.Elapsed;
            var recent = Retrieve(Content("taskManager"), "recentTask")["recentTask"].Kids.Select(k => k.AsRef())
                .Where(r => r != null && !startedTasks.Contains(r)).ToList();
            if (recent.Count == 0) return null;
            var core = TaskCore(request.Method);
            var candidates = RetrieveMany(recent, "Task", "info").Select(t => t["info"]).Where(info =>
                    request.Target.Equals(info.Ref("entity")) && info["queueTime"].AsTime() >= earliest &&
                    (TaskCore(info.Str("name")).Contains(core) || TaskCore(info.Str("descriptionId")).Contains(core)))
                .Select(info => info.Ref("task")).ToList();
            if (candidates.Count > 1)
                throw new ClientFault(candidates.Count + " recent tasks (" + string.Join(", ", candidates.Select(c => c.Value)) + ") could be it");
            return candidates.FirstOrDefault();
        }

        // "PowerOnVM_Task", "VirtualMachine.powerOn", "PowerOn" all as "poweron".
        static string TaskCore(string name)
        {
            var text = (name ?? "").ToLowerInvariant();
            if (text.EndsWith("_task")) text = text.Substring(0, text.Length - 5);
            int dot = text.LastIndexOf('.');
            if (dot >= 0) text = text.Substring(dot + 1);
            if (text.EndsWith("vm")) text = text.Substring(0, text.Length - 2);
            return text;
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
            int unread = 0;
            for (int pause = 20; ; pause = Math.Min(1000, pause * 2))
            {
                // The task runs on whatever happens to one read of its progress: a few failed reads are waited out. A
                // server that no longer reports the task (it keeps only so many) cannot say how it ended.
                string problem;
                VimNode info = VimNode.None;
                try
                {
                    info = Retrieve(task, "info")["info"];
                    problem = info.Str("state") == "" ? "the server no longer reports its state" : null;
                }
                catch (VimFault f) when (f.FaultType == "ManagedObjectNotFound") { problem = "the server no longer knows it"; }
                catch (ClientFault f) { problem = f.Message; }
                if (problem == null)
                {
                    unread = 0;
                    var state = info.Str("state");
                    if (state == "success" || state == "error" || clock.ElapsedMilliseconds >= timeoutMs) return info;
                }
                else if (++unread > 3 || clock.ElapsedMilliseconds >= timeoutMs)
                {
                    throw new ClientFault("The task " + task.Value + " was started, but its progress could not be read, so its outcome is unknown: " + problem);
                }
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
