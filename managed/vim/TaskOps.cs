#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // Tasks are named by their managed object id ("task-123").
    sealed partial class VimClient
    {
        MoRef TaskRef(string id)
        {
            Auth();
            if (string.IsNullOrWhiteSpace(id)) throw new ClientFault("A specified parameter was not correct: task");
            return new MoRef("Task", id.Trim());
        }

        static void TaskFlags(VimNode info, ref bool done, ref bool failed)
        {
            var state = info.Str("state");
            done = state == "success" || state == "error";
            failed = state == "error";
        }

        // Waits up to `timeoutSeconds` (0 or less: the task timeout); true when the task ended in success. A failed task's
        // fault is the call's.
        public bool WaitForTask(string task, int timeoutSeconds, ref bool done, ref bool failed)
        {
            var t = TaskRef(task);
            long limit = timeoutSeconds > 0 ? timeoutSeconds * 1000L : settings.TaskTimeoutMs;
            var info = PollTask(t, limit);
            TaskFlags(info, ref done, ref failed);
            if (failed) throw TaskFault(info);
            if (!done) pendingNotice = "The task " + t.Value + " is still running after " + limit / 1000 + " s.";
            return done;
        }

        public bool CheckTaskProgress(string task, ref bool done, ref bool failed, ref int progress)
        {
            Progress(task, ref done, ref failed, ref progress);
            return true;
        }

        public bool CheckNewVMTaskProgress(string task, ref bool done, ref bool failed, ref int progress, out string vm)
        {
            vm = null;
            var result = Progress(task, ref done, ref failed, ref progress)["result"];
            if (result.IsRef && result.Type == "VirtualMachine") vm = result.Text;
            return true;
        }

        // One read of the task's info; a failed task's fault becomes the call's notice, the call itself succeeds.
        VimNode Progress(string task, ref bool done, ref bool failed, ref int progress)
        {
            var info = Retrieve(TaskRef(task), "info")["info"];
            TaskFlags(info, ref done, ref failed);
            progress = done ? 100 : Math.Max(0, Math.Min(100, info.Int("progress")));
            if (failed) pendingNotice = TaskFault(info).Message;
            return info;
        }

        public bool CancelTask(string task)
        {
            Invoke(new SoapRequest("CancelTask", TaskRef(task)));
            return true;
        }

        public bool CheckForRunningTaskOnVM(string vm, string host, out string task, out string description)
        {
            task = null; description = null;
            var running = RunningTasks(vm).FirstOrDefault();
            if (running == null) return false;
            task = running.Str("key");
            var message = running.At("description.message").Text;
            description = message != "" ? message : running.Str("descriptionId") != "" ? running.Str("descriptionId") : running.Str("name");
            return true;
        }

        static readonly string[] Relocations = { "VirtualMachine.relocate", "VirtualMachine.migrate" };

        public bool IsRelocateTaskInProgress(string vm, string host, out string task)
        {
            task = null;
            var running = RunningTasks(vm).FirstOrDefault(i => Relocations.Contains(i.Str("descriptionId")));
            if (running == null) return false;
            task = running.Str("key");
            return true;
        }

        // The info of the VM's recent tasks that are queued or running, read in one request.
        IEnumerable<VimNode> RunningTasks(string vm)
        {
            var recent = Retrieve(Vm(vm), "recentTask")["recentTask"].Kids.Select(k => k.AsRef()).Where(r => r != null).ToList();
            return RetrieveMany(recent, "Task", "info").Select(o => o["info"])
                .Where(i => i.Str("state") == "running" || i.Str("state") == "queued").ToList();
        }
    }
}
#endif
