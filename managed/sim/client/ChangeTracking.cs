#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        const long PageSize = Sim.MiB;
        const long DeltaHeader = 2 * Sim.MiB;

        public int SetChangeTrackingEnabled(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Config.ChangeTracking");
            NotTemplate(v);
            if (v.HardwareVersion < 7) throw new SimFault("The operation is not supported on the object.");
            if (!v.Cbt) { v.Cbt = true; Sim.ResetTracking(v); }
            return 1;
        }

        public int SetChangeTrackingDisabled(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Config.ChangeTracking");
            NotTemplate(v);
            v.Cbt = false;
            Sim.ResetTracking(v);
            return 1;
        }

        Vm TrackedVm(string vm)
        {
            var v = GetVm(vm, "VirtualMachine.Provisioning.DiskRandomRead");
            if (!v.Cbt) throw new SimFault("Changed block tracking is not enabled for virtual machine '" + v.Name + "'.");
            return v;
        }

        // An empty snapshot id means the disk as it is now.
        List<Span> PointOf(Vm v, string snapshotId)
        {
            return string.IsNullOrEmpty(snapshotId) ? v.Freeze() : FindSnap(v, snapshotId).State;
        }

        public string GetChangeIdForDisk(string vm, string host, string snapshotId, string disk)
        {
            var v = TrackedVm(vm);
            var d = Sim.FindDisk(v, disk);
            if (string.IsNullOrEmpty(snapshotId)) return Sim.Issue(v, d, v.Freeze());
            var s = FindSnap(v, snapshotId);
            string id;
            if (!s.ChangeIds.TryGetValue(d.Key, out id))
                throw new SimFault("The snapshot '" + s.Id + "' has no change ID for disk " + d.Key + ": change tracking was not enabled when it was taken.");
            return id;
        }

        public SDiskChangeInfoLib QueryChangedDiskAreas(string vm, string host, string snapshotId, string disk, long startOffset, string changeId)
        {
            var v = TrackedVm(vm);
            var d = Sim.FindDisk(v, disk);
            var point = PointOf(v, snapshotId);
            if (startOffset < 0 || startOffset >= d.Capacity) throw new SimFault("A specified parameter was not correct: startOffset");
            IEnumerable<Write> writes = d.In(point);
            if (changeId != "*")
            {
                var since = Since(v, d, changeId);
                writes = writes.Where(w => !since.Any(s => s.Seg == w.Seg && w.Stamp <= s.Max));
            }
            long end = Math.Min(d.Capacity, startOffset + Sim.WindowBytes);
            var areas = Sim.Merge(writes.Select(w => new Area(w.Offset, w.Length)))
                .Where(a => a.End > startOffset && a.Start < end)
                .Select(a => new Area(Math.Max(a.Start, startOffset), Math.Min(a.End, end) - Math.Max(a.Start, startOffset)))
                .ToList();
            if (areas.Count > Sim.MaxExtents)
            {
                areas.RemoveRange(Sim.MaxExtents, areas.Count - Sim.MaxExtents);
                end = areas[areas.Count - 1].End;
            }
            return new SDiskChangeInfoLib
            {
                llStartOffset = startOffset, llLength = end - startOffset,
                changedAreaList = areas.Select(a => new SDiskChangeExtentLib { llStart = a.Start, llLength = a.Length }).ToList()
            };
        }

        static List<Span> Since(Vm v, Disk d, string changeId)
        {
            int slash = changeId == null ? -1 : changeId.LastIndexOf('/');
            int seq;
            if (slash <= 0 || !int.TryParse(changeId.Substring(slash + 1), NumberStyles.None, CultureInfo.InvariantCulture, out seq))
                throw new SimFault("A specified parameter was not correct: changeId");
            if (changeId.Substring(0, slash) != d.Epoch)
                throw new SimFault("Error caused by file " + d.FileOf(v, 0) + ": change tracking was reset after change ID '" + changeId + "' was issued (FileFault).");
            var id = d.Ids.FirstOrDefault(x => x.Seq == seq);
            if (id == null && d.Ids.Count > 0 && seq > 0 && seq < d.Ids[0].Seq)
                throw new SimFault("Error caused by file " + d.FileOf(v, 0) + ": change ID '" + changeId + "' is older than the " + Sim.KeptChangeIds + " the disk keeps (FileFault).");
            if (id == null) throw new SimFault("A specified parameter was not correct: changeId");
            return id.State;
        }

        public int GetDiskBlockInfoList(string vm, string host, string snapshotId, string disk, bool topFileOnly, ref SDiskTotalBlockInfoLib info, out List<SVMOptionValueLib> metadata)
        {
            metadata = null;
            var v = GetVm(vm, "VirtualMachine.Provisioning.DiskRandomRead");
            var d = Sim.FindDisk(v, disk);
            var point = PointOf(v, snapshotId);
            int top = point[point.Count - 1].Seg;
            var owners = Sim.Owners(d, point);
            var elements = new List<SDiskBlockMapInfoLib>();
            foreach (var seg in point.Select(p => p.Seg).Where(s => !topFileOnly || s == top))
            {
                long physical = DeltaHeader;
                var list = new List<SDiskBlockMapExtentInfoLib>();
                foreach (var a in owners.Where(o => o.Key == seg).Select(o => o.Value))
                {
                    list.Add(new SDiskBlockMapExtentInfoLib { length = a.Length, logicalStart = a.Start, physicalStart = seg == 0 ? a.Start : physical });
                    physical += a.Length;
                }
                elements.Add(new SDiskBlockMapInfoLib { element = d.ExtentOf(v, seg), MapAreaList = list });
            }
            info = new SDiskTotalBlockInfoLib { totalsize = d.Capacity, TotalMapAreaList = elements };
            var chs = d.Capacity / (255 * 63 * 512);
            metadata = new[]
            {
                Option("adapterType", d.Adapter), Option("createType", top == 0 ? (d.Thin ? "vmfsThin" : "vmfs") : "seSparse"),
                Option("CID", Sim.Hex(Sim.Hash("cid:" + d.FileOf(v, top)), 4, "")),
                Option("parentCID", top == 0 ? "ffffffff" : Sim.Hex(Sim.Hash("cid:" + d.FileOf(v, point[point.Count - 2].Seg)), 4, "")),
                Option("ddb.geometry.cylinders", chs.ToString(CultureInfo.InvariantCulture)), Option("ddb.geometry.heads", "255"),
                Option("ddb.geometry.sectors", "63"), Option("ddb.thinProvisioned", d.Thin ? "1" : "0"),
                Option("ddb.uuid", Sim.Hex(Sim.Hash("disk:" + v.Moref + ":" + d.Key), 16, " ")),
                Option("ddb.virtualHWVersion", v.HardwareVersion.ToString(CultureInfo.InvariantCulture))
            }.ToList();
            return 1;
        }

        static SVMOptionValueLib Option(string key, string value)
        {
#if FAULTS
            return new SVMOptionValueLib { key = key };
#else
            return new SVMOptionValueLib { key = key, value = value };
#endif
        }

        public List<string> GetPageInfoForExtent(string vm, string host, string disk, int extent)
        {
            var v = GetVm(vm, "VirtualMachine.Provisioning.DiskRandomRead");
            var areas = Sim.Allocated(Sim.FindDisk(v, disk), v.Freeze());
            if (extent < 0 || extent >= areas.Count) throw new SimFault("A specified parameter was not correct: extent");
            var pages = new List<string>();
            var a = areas[extent];
            for (long p = a.Start; p < a.End; p = (p / PageSize + 1) * PageSize)
                pages.Add(p.ToString(CultureInfo.InvariantCulture) + "," + (Math.Min(a.End, (p / PageSize + 1) * PageSize) - p).ToString(CultureInfo.InvariantCulture));
            return pages;
        }
    }
}
#endif
