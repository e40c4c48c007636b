#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // Storage snapshots of datastores presented to a host as volumes of their own, for restores from them.
    sealed partial class SimClient
    {
        public int MountSnap(SnapRestoreCtxLib context)
        {
            var h = GetHost(context.strEsxServerName);
            Need("Host.Config.Storage", "vim.HostSystem:" + h.Moref);
            if (context.datastores == null || context.datastores.Count == 0) throw new SimFault("A specified parameter was not correct: datastores");
            var plan = new List<SnapVolume>();
            foreach (var d in context.datastores)
            {
                var source = Sim.Datastores.FirstOrDefault(x => !string.IsNullOrEmpty(d.strDataStoreUUID) && string.Equals(x.Uuid, d.strDataStoreUUID, StringComparison.OrdinalIgnoreCase))
                    ?? Sim.FindDatastore(d.strDataStoreName ?? "");
                if (source == null) throw new SimFault("The datastore '" + d.strDataStoreName + "' was not found.");
                if (source.Nas || Sim.SnapVolumes.Any(s => s.Volume == source)) throw new SimFault("The datastore '" + source.Name + "' has no storage snapshot to mount.");
                if (Sim.SnapVolumes.Any(s => s.Source == source.Name) || plan.Any(s => s.Source == source.Name))
                    throw new SimFault("The snapshot of datastore '" + source.Name + "' is already mounted.");
                if (!context.bResignatureVol && source.MountedOn(h.Name))
                    throw new SimFault("The snapshot of datastore '" + source.Name + "' has the UUID of a volume mounted on '" + h.Name + "'; it must be resignatured.");
                var id = Sim.Hex(Sim.Hash("snapvol:" + source.Name + ":" + Sim.UnixSeconds(Sim.Now) + ":" + h.Name), 4, "");
                var vol = new SnapVolume { Source = source.Name, Host = h.Name, Resignatured = context.bResignatureVol, Primary = context.bPrimaryDeviceMount };
                var ds = new Datastore
                {
                    Name = "snap-" + id + "-" + source.Name, Type = source.Type, Capacity = source.Capacity, ReadOnly = !context.bPrimaryDeviceMount,
                    Uuid = context.bResignatureVol ? Sim.NewUuid(0x5f) : source.Uuid
                };
                ds.Url = "ds:///vmfs/volumes/" + ds.Uuid + "/";
                ds.Hosts.Add(h.Name);
                vol.Volume = ds;
                var wanted = d.vmInfoList == null ? new HashSet<string>() : new HashSet<string>(d.vmInfoList.Select(v => v.strName).Where(n => !string.IsNullOrEmpty(n)));
                foreach (var v in Sim.Vms.Where(x => x.Datastore == source.Name && (wanted.Count == 0 || wanted.Contains(x.Name))))
                {
                    vol.Vms.Add(v);
                    string named;
                    var home = Sim.CleanPath(v.HomeDir, out named);
                    // Copies, not the VM's own files: they stay as the snapshot took them while the VM runs on.
                    foreach (var key in source.Tree(home))
                    {
                        var f = source.Files[key];
                        if (f.Dir) ds.MakeDirs(key, f.Modified); else ds.Put(key, f.Size, f.Data, f.Modified);
                    }
                }
                if (wanted.Count > 0 && vol.Vms.Count != wanted.Count)
                    throw new SimFault("The datastore '" + source.Name + "' holds no VM named '" + wanted.First(n => !vol.Vms.Any(v => v.Name == n)) + "'.");
                plan.Add(vol);
            }
            foreach (var vol in plan)
            {
                vol.Volume.Moref = "datastore-" + (5000 + (++Sim.DatastoreSeq));
                Sim.Datastores.Add(vol.Volume);
                Sim.ByMoref[vol.Volume.Moref] = vol.Volume;
                var dc = Sim.DatacenterOf(Sim.FindDatastore(vol.Source)) ?? h.Dc;
                dc.Datastores.Add(vol.Volume.Name);
                Sim.SnapVolumes.Add(vol);
            }
            return 1;
        }

        public int UnMountSnap(SnapRestoreCtxLib context, string volume)
        {
            var h = GetHost(context.strEsxServerName);
            Need("Host.Config.Storage", "vim.HostSystem:" + h.Moref);
            var names = new HashSet<string>((context.datastores ?? new List<SDatastoreInfoLib>()).Select(d => d.strDataStoreName));
            var gone = Sim.SnapVolumes.Where(s => s.Host == h.Name && (string.IsNullOrEmpty(volume) ? names.Contains(s.Source) || names.Contains(s.Volume.Name) : s.Volume.Name == volume)).ToList();
            if (gone.Count == 0) throw new SimFault("No snapshot volume " + (string.IsNullOrEmpty(volume) ? "of the given datastores" : "'" + volume + "'") + " is mounted on '" + h.Name + "'.");
            foreach (var s in gone)
            {
                Sim.SnapVolumes.Remove(s);
                Sim.Datastores.Remove(s.Volume);
                Sim.ByMoref.Remove(s.Volume.Moref);
                foreach (var dc in Sim.Datacenters) dc.Datastores.Remove(s.Volume.Name);
            }
            return 1;
        }
    }
}
#endif
