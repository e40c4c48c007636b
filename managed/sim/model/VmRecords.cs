#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // VM records for lookups and browsing; the property mask decides which parts are filled.
    static partial class Sim
    {
        public const ulong PropHostInfo = Mask.HostInfo, PropGuestInfo = Mask.GuestInfo, PropCfgFile = Mask.CfgFile,
            PropSnapshotList = Mask.SnapshotList, PropDiskList = Mask.DiskList, PropNetworkList = Mask.NetworkList,
            PropHostDatacenter = Mask.HostDatacenter, PropDiskAdvanced = Mask.DiskAdvanced, PropFileList = Mask.FileList,
            PropPowerOffTime = Mask.PowerOffTime, PropOwnerInfo = Mask.OwnerInfo, PropAttributes = Mask.Attributes;

        const string DatacenterName = "Datacenter";

        public static int FileTypeCode(string type) { return Shared.FileTypeCode(type); }

        public static int FileTypeOf(string path) { return Shared.FileTypeOf(path); }

        static int Seg(List<Span> state)
        {
            return state[state.Count - 1].Seg;
        }

        static SDiskLib DiskRecord(Vm vm, Disk d, int seg, bool advanced)
        {
            string ds;
            CleanPath(d.Dir, out ds);
            var store = FindDatastore(ds);
            var r = new SDiskLib
            {
                strFileName = d.FileOf(vm, seg), strUUID = d.Uuid, nDeviceKey = d.Key, llMaxSizeInBytes = d.Capacity,
                llCurrSizeInBytes = d.Rdm ? 0 : d.Thin ? Merge(d.Writes.Select(w => new Area(w.Offset, w.Length))).Sum(a => a.Length) : d.Capacity,
                nFlat = d.Rdm ? 2 : d.Thin ? 0 : 1, nRawDeviceMap = d.Rdm ? 1 : 0, nRDMCompatMode = d.RdmMode == "physicalMode" ? 1 : 0,
                strControllerType = "SCSI", nControllerBusNumber = d.Bus, nUnitNumber = d.Unit, strLabel = d.Label,
                nDatastoreType = store == null ? 0 : store.Nas ? 2 : 1, strDataStoreName = ds,
                nIndependentMode = d.Independent ? 1 : 0, nPersistentMode = d.NonPersistent ? 0 : 1, nThinProvisioned = d.Thin ? 1 : 0, nEagerZero = d.EagerZero ? 1 : 0
            };
            if (advanced)
            {
                r.strLUNUUID = d.RdmDevice ?? "";
                r.strVMFSPath = d.FileOf(vm, 0);
                r.strParentFileName = seg == 0 ? "" : d.FileOf(vm, vm.Snaps.Where(s => s.ChildSeg == seg).Select(s => Seg(s.State)).DefaultIfEmpty(0).First());
                r.vmStoragePolicyName = "Datastore Default";
                r.vmStoragePolicyId = "aa6d5a82-1c88-45da-85d3-3d74b91a5bad";
            }
            return r;
        }

        static SSnapshotLib SnapRecord(Vm vm, Snap s)
        {
            return new SSnapshotLib
            {
                strMoRef = s.Id, strName = s.Name, strDescription = s.Description, creationTime = s.Created,
                childSnapshots = vm.Snaps.Where(x => x.Parent == s).Select(x => SnapRecord(vm, x)).ToList()
            };
        }

        static IEnumerable<Vm> PoolVms(Pool p)
        {
            return p.Vms.Concat(p.Children.SelectMany(PoolVms));
        }

        static IEnumerable<Vm> FolderVms(InvFolder f)
        {
            return f.Vms.Concat(f.Folders.SelectMany(FolderVms));
        }

        // The VMs inside the object with this moref, in inventory order; null when nothing has it.
        public static IEnumerable<Vm> VmsUnder(string moref)
        {
            object target;
            var ds = Datastores.FirstOrDefault(d => d.Moref == moref);
            if (ds != null) return Vms.Where(v => v.Datastore == ds.Name || v.Disks.Any(d => d.Dir.StartsWith("[" + ds.Name + "]")));
            if (!ByMoref.TryGetValue(moref, out target))
            {
                if (moref == "group-d1") return Vms;
                var host = FindHost(moref);
                return host == null ? null : Vms.Where(v => v.Host == host.Name);
            }
            var vm = target as Vm;
            if (vm != null) return new[] { vm };
            var h = target as HostInfo;
            if (h != null) return Vms.Where(v => v.Host == h.Name);
            var compute = target as Compute;
            if (compute != null) return Vms.Where(v => compute.Hosts.Any(x => x.Name == v.Host));
            var pool = target as Pool;
            if (pool != null) return PoolVms(pool).Distinct();
            var folder = target as InvFolder;
            var dc = target as Datacenter;
            if (folder != null && folder.View == "vm") return FolderVms(folder).Distinct();
            if (folder != null) dc = folder.Dc;
            if (dc != null) return Vms.Where(v => { var x = FindHost(v.Host); return x != null && x.Dc == dc; });
            return Enumerable.Empty<Vm>();
        }

        public static SVMInfoLib VmRecord(Vm vm, ulong mask, Snap at = null)
        {
            int seg = at == null ? Seg(vm.Running) : Seg(at.State);
            var host = Hosts.FirstOrDefault(h => h.Name == vm.Host);
            var r = new SVMInfoLib
            {
                strName = vm.Name, strGuestOSName = vm.GuestName, strUuid = vm.Uuid, strBiosUuid = vm.Uuid, strInstanceUuid = vm.InstanceUuid,
                strMoRef = vm.Moref, strDataStoreName = vm.Datastore, vmVersion = "vmx-" + vm.HardwareVersion.ToString("D2"),
                strToolsStatus = vm.Tools == "running" ? "toolsOk" : vm.Tools == "notRunning" ? "toolsNotRunning" : "toolsNotInstalled",
                toolsStatus = vm.Tools == "running" ? 2 : vm.Tools == "notRunning" ? 1 : 0, strFirmware = vm.Firmware,
                poweredState = vm.On ? 1 : vm.Power == "suspended" ? 2 : 0, templateVM = vm.Template, changeTrackingEnabled = vm.Cbt,
                numOfCPU = vm.NumCpu, memorySizeInMB = vm.MemoryMB, memoryResvInMB = 0, memoryLimit = -1, memoryShares = vm.MemoryMB * 10,
                videoRamSizeInKb = vm.VideoRamKB, numDisks = vm.Disks.Count, numEthernetCards = vm.Networks.Count, hostConnectionState = -1,
                m_nPowerOffTimeInHours = -1, notes = vm.Annotation, bDiskUUIDEnabled = true, bIsSnapPresent = vm.Snaps.Count > 0,
                managedBy = vm.ManagedBy ?? "", managedByType = vm.ManagedBy == null ? "" : "VirtualMachine",
                bootTime = vm.On ? Iso(Now.AddHours(-6)) : "", guestSize = vm.Disks.Sum(d => d.Capacity)
            };
            if ((mask & PropHostInfo) != 0 && host != null)
            {
                r.hostName = host.Name;
                r.hostVersion = host.Version;
                r.hostBuild = host.Build;
                r.hostFullVersion = "VMware ESXi " + host.Version + " build-" + host.Build;
                r.hostConnectionState = host.ConnectionState;
                if (host.Clustered && host.Compute != null)
                {
                    r.clusterName = host.Compute.Name;
                    r.clusterMorefString = host.Compute.Moref;
                }
            }
            if ((mask & PropGuestInfo) != 0 && vm.On && vm.Tools == "running")
            {
                var b = Hash("ip:" + vm.InstanceUuid);
                r.ipAddress = "10.20." + (b[0] % 250 + 1) + "." + (b[1] % 250 + 2);
                r.dnsHostName = vm.Name + ".sim.local";
                r.strGuestOSVersion = vm.GuestName;
                r.toolsVersion = 12352;
            }
            if ((mask & PropCfgFile) != 0)
            {
                r.strConfigFile = vm.ConfigFile;
                r.vmPaths = new List<string> { vm.HomeDir };
                r.vmPaths.AddRange(vm.Disks.Select(d => d.Dir).Where(d => d != vm.HomeDir).Distinct());
            }
            if ((mask & PropSnapshotList) != 0)
                r.snapshotList = vm.Snaps.Where(s => s.Parent == null).Select(s => SnapRecord(vm, s)).ToList();
            if ((mask & PropDiskList) != 0)
            {
                bool advanced = (mask & PropDiskAdvanced) != 0;
                r.diskList = vm.Disks.Select(d => DiskRecord(vm, d, seg, advanced)).ToList();
                r.diskControllerList = vm.Disks.Select(d => d.Bus).Distinct().OrderBy(b => b).Select(b => new SDiskControllerLib
                {
                    strControllerType = "SCSI", nControllerBusNumber = b, strScsiControllerType = vm.Disks.First(d => d.Bus == b).Adapter
                }).ToList();
            }
            if ((mask & PropNetworkList) != 0)
                r.networkCards = vm.Networks.Select((n, i) => new SVMNetworkCardLib
                {
                    label = "Network adapter " + (i + 1), networkName = n, networkId = "network-" + (Networks.IndexOf(n) + 11),
                    macAddress = Mac(vm, i), nicType = "vmxnet3", isConnected = vm.On, ipAddress = i == 0 && r.ipAddress != null ? r.ipAddress : ""
                }).ToList();
            if ((mask & PropHostDatacenter) != 0)
            {
                SyncPlacements();
                Pool pool;
                InvFolder folder;
                var dc = host != null && host.Dc != null ? host.Dc : Datacenters.FirstOrDefault();
                r.strDataCenterName = dc != null ? dc.Name : DatacenterName;
                r.strDataCenterPath = "/" + r.strDataCenterName;
                r.strResourcePoolPath = VmPool.TryGetValue(vm, out pool) && host != null && host.Compute != null
                    ? "/" + r.strDataCenterName + "/host/" + host.Compute.Name + "/" + pool.Path : "";
                r.strInventoryPath = "/" + r.strDataCenterName + "/" + (VmFolder.TryGetValue(vm, out folder) ? folder.Path : "vm") + "/" + vm.Name;
            }
            if ((mask & PropFileList) != 0)
            {
                var layout = VmLayout(vm);
                r.fileLayout = new SFilelayoutLib
                {
                    diskList = vm.Disks.SelectMany(d => LiveSegments(vm).Select(s => DiskRecord(vm, d, s, false))).ToList(),
                    fileList = layout.Select(f =>
                    {
                        var ds = FindDatastore(f.Datastore);
                        var stored = ds == null ? null : ds.Find(f.Path);
                        return new SVMFileLib { strName = f.Full, lSize = f.Size, eFileType = FileTypeCode(f.Type), modifiedTime = stored != null ? stored.Modified : Now };
                    }).ToList()
                };
                r.usedSize = layout.Sum(f => f.Size);
            }
            if ((mask & PropPowerOffTime) != 0) r.m_nPowerOffTimeInHours = vm.On ? 0 : 24;
            if ((mask & PropOwnerInfo) != 0 && vm.Owner.Length > 0)
                r.owners = new List<SVMOwnerInfoLib> { new SVMOwnerInfoLib { name = vm.Owner, fullAccess = true, readAccess = true } };
#if !FAULTS
            if ((mask & PropAttributes) != 0)
                r.customAttributes = new List<SVMOptionValueLib> { new SVMOptionValueLib { key = "owner", value = vm.Owner } };
#endif
            return r;
        }

        public static SDiskLib DiskRecordOf(Vm vm, Disk d)
        {
            return DiskRecord(vm, d, Seg(vm.Running), true);
        }
    }
}
#endif
