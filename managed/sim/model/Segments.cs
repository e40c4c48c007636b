using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // Keeps a VM's disk history as small as what it still has to answer: written areas combine unless a snapshot or a
    // change ID tells them apart, a removed snapshot's delta merges into its parent, and old change IDs and exited
    // processes are let go. A model then stays the size of its inventory whatever was done to it.
    static partial class Sim
    {
        // Change IDs kept per disk; an older one is answered as a change-tracking fault, and the backup reads in full.
        public const int KeptChangeIds = 32;
        // Exited guest processes kept for queries; the oldest go first.
        public const int KeptExitedProcesses = 64;

        // Every timeline a VM's disks are read at: now, its snapshots, and the change IDs of its disks.
        static List<List<Span>> Timelines(Vm vm)
        {
            var all = new HashSet<List<Span>>();
            all.Add(vm.Running);
            foreach (var s in vm.Snaps) all.Add(s.State);
            foreach (var d in vm.Disks) foreach (var id in d.Ids) all.Add(id.State);
            return all.ToList();
        }

        // The stamps a segment's writes are compared with, ascending: writes between two of them cannot be told apart.
        static List<long> Marks(Vm vm, Disk d, int seg)
        {
            var lists = new HashSet<List<Span>> { vm.Running };
            foreach (var s in vm.Snaps) lists.Add(s.State);
            foreach (var id in d.Ids) lists.Add(id.State);
            return lists.SelectMany(l => l).Where(s => s.Seg == seg && s.Max != long.MaxValue).Select(s => s.Max).Distinct().OrderBy(m => m).ToList();
        }

        static int Epoch(List<long> marks, long stamp)
        {
            int i = marks.BinarySearch(stamp);
            return i >= 0 ? i : ~i;
        }

        // Writes of one segment that fall between the same marks become their union, stamped with the newest of them.
        public static void Compact(Vm vm, Disk d, int seg)
        {
            var marks = Marks(vm, d, seg);
            var groups = d.Writes.Where(w => w.Seg == seg).GroupBy(w => Epoch(marks, w.Stamp)).ToList();
            if (groups.All(g => g.Count() == 1)) return;
            var kept = new List<Write>();
            foreach (var g in groups)
            {
                long stamp = g.Max(w => w.Stamp);
                kept.AddRange(Merge(g.Select(w => new Area(w.Offset, w.Length))).Select(a => new Write { Offset = a.Start, Length = a.Length, Stamp = stamp, Seg = seg }));
            }
            d.Writes.RemoveAll(w => w.Seg == seg);
            d.Writes.AddRange(kept.OrderBy(w => w.Stamp).ThenBy(w => w.Offset));
        }

        // After snapshot s is gone, the delta made when it was taken joins the segment below it. Every timeline that
        // reads the delta reads that segment just before it, and the delta's writes are newer than anything there.
        public static void Consolidate(Vm vm, Snap s)
        {
            int child = s.ChildSeg, parent = s.State[s.State.Count - 1].Seg;
            if (child == parent || child <= 0 || vm.Snaps.Any(x => x.ChildSeg == child)) return;
            var lines = Timelines(vm);
            foreach (var line in lines)
            {
                int i = line.FindIndex(x => x.Seg == child);
                if (i == 0 || (i > 0 && line[i - 1].Seg != parent)) return;
            }
            foreach (var line in lines)
            {
                int i = line.FindIndex(x => x.Seg == child);
                if (i < 0) continue;
                line[i - 1] = new Span(parent, line[i].Max);
                line.RemoveAt(i);
            }
            foreach (var d in vm.Disks)
            {
                foreach (var w in d.Writes.Where(w => w.Seg == child)) w.Seg = parent;
                Compact(vm, d, parent);
            }
            vm.SegDirs[child] = null;
            while (vm.SegDirs.Count > 1 && vm.SegDirs[vm.SegDirs.Count - 1] == null) vm.SegDirs.RemoveAt(vm.SegDirs.Count - 1);
        }

        // Lets go of the oldest change IDs beyond the kept number; their marks go with them.
        static void PruneChangeIds(Vm vm, Disk d)
        {
            if (d.Ids.Count <= KeptChangeIds) return;
            d.Ids.RemoveRange(0, d.Ids.Count - KeptChangeIds);
            foreach (var seg in d.Writes.Select(w => w.Seg).Distinct().ToList()) Compact(vm, d, seg);
        }

        public static void PruneProcesses(Vm vm)
        {
            var exited = vm.Procs.Where(p => p.End <= Now).ToList();
            if (exited.Count <= KeptExitedProcesses) return;
            foreach (var p in exited.OrderBy(p => p.End).ThenBy(p => p.Pid).Take(exited.Count - KeptExitedProcesses)) vm.Procs.Remove(p);
        }
    }
}
