using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // A server task that runs over simulated time: each poll or wait step moves it on by one step of StepSeconds.
    // Its work is done by Finish when the last step is reached, so a cancelled task leaves nothing changed.
    sealed class SimTask
    {
        public string Id, Kind, Entity, Description, State = "running", Error = "", Result = "";
        public int Steps, Done;
        public DateTime Queued;
        public Func<string> Finish;

        public bool Running { get { return State == "running"; } }
        public int Progress { get { return Running ? Done * 100 / Math.Max(1, Steps) : 100; } }
    }

    static partial class Sim
    {
        public const int StepSeconds = 5;
        public const string TaskCancelled = "The task was canceled by a user.";
        public const string TaskInterrupted = "The task was interrupted: the server restarted.";
        // Finished tasks kept for polling; the oldest go first.
        public const int KeptTasks = 200;
        public static readonly List<SimTask> Tasks = new List<SimTask>();

        public static SimTask StartTask(string kind, Vm vm, string description, int steps, Func<string> finish)
        {
            var t = new SimTask
            {
                Id = "task-" + (++TaskSeq), Kind = kind, Entity = vm == null ? "" : vm.Moref, Description = description,
                Steps = steps, Queued = Now, Finish = finish
            };
            Tasks.Add(t);
            while (Tasks.Count > KeptTasks && Tasks.Any(x => !x.Running)) Tasks.Remove(Tasks.First(x => !x.Running));
            return t;
        }

        // A task whose work its operation did at once, kept so that it can be polled like the rest.
        public static SimTask DoneTask(string kind, Vm vm, string description)
        {
            var t = StartTask(kind, vm, description, 1, null);
            t.Done = 1;
            t.State = "success";
            return t;
        }

        public static SimTask FindTask(string id)
        {
            var t = Tasks.FirstOrDefault(x => x.Id == id);
            if (t == null) throw new SimFault("The object 'vim.Task:" + id + "' has already been deleted or has not been completely created");
            return t;
        }

        // The VM a task started on as the model has it now: reading another process's state replaces the objects.
        public static Vm Current(Vm vm)
        {
            var now = Vms.FirstOrDefault(v => v.Moref == vm.Moref);
            if (now == null) throw new SimFault(VmNotFound(vm.Moref));
            return now;
        }

        public static SimTask RunningTaskOn(Vm vm)
        {
            return Tasks.FirstOrDefault(t => t.Running && t.Entity == vm.Moref);
        }

        public static void Step(SimTask t)
        {
            if (!t.Running) return;
            Now = Now.AddSeconds(StepSeconds);
            if (++t.Done < t.Steps) return;
            try
            {
                t.Result = t.Finish == null ? "" : t.Finish() ?? "";
                t.State = "success";
            }
            catch (SimFault f)
            {
                t.State = "error";
                t.Error = f.Message;
            }
            t.Finish = null;
        }

        public static bool Cancel(SimTask t)
        {
            if (!t.Running) return false;
            t.State = "error";
            t.Error = TaskCancelled;
            t.Finish = null;
            return true;
        }
    }
}
