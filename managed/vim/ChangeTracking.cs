#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // Changed block tracking: switched by reconfiguration; a disk's change id is its backing's changeId (in the
    // snapshot's devices, or the VM's own without a snapshot); changed areas are QueryChangedDiskAreas, one call per answer.
    sealed partial class VimClient
    {
        const long PageBytes = 1 << 20;

        public int SetChangeTrackingEnabled(string vm, string host) { return SetChangeTracking(vm, true); }

        public int SetChangeTrackingDisabled(string vm, string host) { return SetChangeTracking(vm, false); }

        // A running VM starts tracking at its next stun (a snapshot, a power cycle): a backup snapshot brings it on.
        int SetChangeTracking(string vm, bool enabled)
        {
            var target = Vm(vm);
            var props = Retrieve(target, "config.template", "config.changeTrackingEnabled");
            if (props["config.template"].AsBool()) throw new ClientFault("The operation is not supported on the object.");
            if (props["config.changeTrackingEnabled"].AsBool() == enabled) return 1;
            Reconfigure(target, new ConfigChange().Set("changeTrackingEnabled", enabled ? "true" : "false"));
            return 1;
        }

        // One disk of a VM as of a snapshot (null: as it is now), with what a query about it needs.
        sealed class TrackedDisk
        {
            public MoRef Vm, Snapshot;
            public string VmName;
            public VimNode Device;

            public int Key { get { return Device.Int("key"); } }

            public long Capacity
            {
                get { return Device.Long("capacityInBytes") > 0 ? Device.Long("capacityInBytes") : Device.Long("capacityInKB") * 1024; }
            }
        }

        // The VM must track changes; the disk is named by device key, label or any file of its backing chain.
        TrackedDisk Tracked(string vm, string snapshotId, string disk)
        {
            var tree = Snapshots(vm, "config.changeTrackingEnabled", DevicesPath);
            if (!tree.Props["config.changeTrackingEnabled"].AsBool())
                throw new ClientFault("Changed block tracking is not enabled for virtual machine '" + tree.VmName + "'.");
            var snapshot = string.IsNullOrEmpty(snapshotId) ? null : tree.Find(snapshotId).Ref;
            var devices = snapshot == null ? tree.Props[DevicesPath] : Retrieve(snapshot, DevicesPath)[DevicesPath];
            return new TrackedDisk { Vm = tree.Vm, Snapshot = snapshot, VmName = tree.VmName, Device = DiskNamed(devices.Kids.Where(d => d.Type == "VirtualDisk").ToList(), disk) };
        }

        public string GetChangeIdForDisk(string vm, string host, string snapshotId, string disk)
        {
            var d = Tracked(vm, snapshotId, disk);
            var id = d.Device.At("backing.changeId").Text;
            if (id != "") return id;
            if (d.Snapshot != null)
                throw new ClientFault("The snapshot '" + d.Snapshot.Value + "' has no change ID for disk " + d.Key + ": change tracking was not active when it was taken.");
            throw new ClientFault("Disk " + d.Key + " of virtual machine '" + d.VmName + "' has no change ID yet: tracking starts at its next snapshot or power-on.");
        }

        // One answer of the server as it came: the caller continues at llStartOffset + llLength. "*" asks for every
        // allocated area; an empty snapshot id asks about the VM as it is (servers allow that for powered-off VMs only).
        public SDiskChangeInfoLib QueryChangedDiskAreas(string vm, string host, string snapshotId, string disk, long startOffset, string changeId)
        {
            var d = Tracked(vm, snapshotId, disk);
            if (startOffset < 0 || startOffset >= d.Capacity) throw new ClientFault("A specified parameter was not correct: startOffset");
            if (string.IsNullOrEmpty(changeId)) throw new ClientFault("A specified parameter was not correct: changeId");
            return ChangedAreas(d, startOffset, changeId);
        }

        SDiskChangeInfoLib ChangedAreas(TrackedDisk d, long startOffset, string changeId)
        {
            var answer = Invoke(new SoapRequest("QueryChangedDiskAreas", d.Vm).Ref("snapshot", d.Snapshot).Add("deviceKey", d.Key)
                .Add("startOffset", startOffset).Add("changeId", changeId))["returnval"];
            if (!answer.Present) throw new ClientFault("The server's answer to QueryChangedDiskAreas holds no DiskChangeInfo");
            return new SDiskChangeInfoLib
            {
                llStartOffset = answer.Long("startOffset"), llLength = answer.Long("length"),
                changedAreaList = answer.All("changedArea").Select(a => new SDiskChangeExtentLib { llStart = a.Long("start"), llLength = a.Long("length") }).ToList()
            };
        }

        // A per-file block map and the descriptor's keys are what a disk library reads from the files: the API has neither.
        public int GetDiskBlockInfoList(string vm, string host, string snapshotId, string disk, bool topFileOnly, ref SDiskTotalBlockInfoLib info, out List<SVMOptionValueLib> metadata)
        {
            metadata = null;
            throw NotSupported("GetDiskBlockInfoList");
        }

        // The index-th allocated area as the server reports allocation (QueryChangedDiskAreas with "*" on the disk as it
        // is, walked only as far as that area reaches), cut at 1 MiB page boundaries into "offset,length" texts.
        public List<string> GetPageInfoForExtent(string vm, string host, string disk, int extent)
        {
            var d = Tracked(vm, null, disk);
            if (extent < 0) throw new ClientFault("A specified parameter was not correct: extent");
            var areas = new List<SDiskChangeExtentLib>();
            for (long offset = 0; offset < d.Capacity && !Settled(areas, extent, offset);)
            {
                var answer = ChangedAreas(d, offset, "*");
                // An area that crosses the end of one answer goes on at the start of the next.
                foreach (var a in answer.changedAreaList)
                {
                    int last = areas.Count - 1;
                    if (last >= 0 && End(areas[last]) == a.llStart)
                        areas[last] = new SDiskChangeExtentLib { llStart = areas[last].llStart, llLength = areas[last].llLength + a.llLength };
                    else areas.Add(a);
                }
                var next = answer.llStartOffset + answer.llLength;
                if (next <= offset) throw new ClientFault("The server's answer to QueryChangedDiskAreas at offset " + offset + " covers nothing");
                offset = next;
            }
            if (extent >= areas.Count) throw new ClientFault("A specified parameter was not correct: extent");
            var pages = new List<string>();
            for (long p = areas[extent].llStart, end = End(areas[extent]); p < end; p = (p / PageBytes + 1) * PageBytes)
                pages.Add(p.ToString(CultureInfo.InvariantCulture) + "," + (Math.Min(end, (p / PageBytes + 1) * PageBytes) - p).ToString(CultureInfo.InvariantCulture));
            return pages;
        }

        static long End(SDiskChangeExtentLib area) { return area.llStart + area.llLength; }

        // The extent-th area grows no more once another follows it or the walk has gone past its end.
        static bool Settled(List<SDiskChangeExtentLib> areas, int extent, long offset)
        {
            return areas.Count > extent + 1 || (areas.Count == extent + 1 && offset > End(areas[extent]));
        }
    }
}
#endif
