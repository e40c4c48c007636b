#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace VISDKWrapper
{
    // VM records for lookups and browsing; the property mask decides which parts are filled.
    static partial class Sim
    {
        public const ulong PropHostInfo = 0x1, PropGuestInfo = 0x2, PropCfgFile = 0x4, PropSnapshotList = 0x8, PropDiskList = 0x10,
            PropNetworkList = 0x20, PropHostDatacenter = 0x40, PropDiskAdvanced = 0x100, PropFileList = 0x400, PropPowerOffTime = 0x800,
            PropOwnerInfo = 0x1000, PropAttributes = 0x2000;

        const string DatacenterName = "Datacenter";

        // File kinds as eFileType codes.
        static readonly string[] FileTypes = { "config", "nvram", "snapshotList", "log", "diskDescriptor", "diskExtent", "swap", "snapshotData" };

        public static int FileTypeCode(string type)
        {
            return Math.Max(0, Array.IndexOf(FileTypes, type));
        }

        public static int FileTypeOf(string path)
        {
            var p = path.ToLowerInvariant();
            if (p.EndsWith(".vmx")) return 0;
            if (p.EndsWith(".nvram")) return 1;
            if (p.EndsWith(".vmsd")) return 2;
            if (p.EndsWith(".log")) return 3;
            if (p.EndsWith("-flat.vmdk") || p.EndsWith("-sesparse.vmdk") || p.EndsWith("-delta.vmdk") || p.EndsWith("-rdm.vmdk") || p.EndsWith("-rdmp.vmdk")) return 5;
            if (p.EndsWith(".vmdk")) return 4;
            if (p.EndsWith(".vswp")) return 6;
            if (p.EndsWith(".vmsn")) return 7;
            return 8;
        }

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
    }

    public partial class CVIWrapper
    {
        // #3 is not needed to find the VM here; #5 travels with the mask.
        public object GetVMInfoForVM(string vm, string host, string datacenter, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, datacenter, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => Sim.VmRecord(GetVm(vm), mask));
        }

        // #5 names the snapshot (empty: the current one) and receives its moref; the record shows the disks as of it.
        public object GetVMInfoForVMSnapshot(string vm, string host, ulong mask, int flags, ref string snapshot)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, mask, flags, snapshot);
            if (c != null) { c.Out(4, ref snapshot); return c.Result<object>(); }
            string id = snapshot;
            var r = Obj(() =>
            {
                var v = GetVm(vm);
                var s = FindSnap(v, id);
                id = s.Id;
                return Sim.VmRecord(v, mask, s);
            });
            snapshot = id;
            return r;
        }

        // Also finds a VM that is no longer registered, by the file it was registered from.
        public object GetVMInfoForVMByVMX(string vmxPath, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vmxPath, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() =>
            {
                Auth();
                string ds;
                var rel = Sim.CleanPath(vmxPath, out ds);
                var full = Sim.DsPath(ds ?? "", rel);
                var v = Sim.Vms.FirstOrDefault(x => string.Equals(x.ConfigFile, full, StringComparison.OrdinalIgnoreCase));
                if (v == null) Sim.Unregistered.TryGetValue(full, out v);
                if (v == null) throw new SimFault("File " + full + " was not found");
                var r = Sim.VmRecord(v, mask);
                if (!Sim.Vms.Contains(v)) r.strMoRef = "";
                return r;
            });
        }

        public object GetVMInfoForVMByMoref(string moref, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), moref, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() =>
            {
                Auth();
                var v = Sim.Vms.FirstOrDefault(x => x.Moref == moref);
                if (v == null) throw new SimFault(Sim.VmNotFound(moref ?? ""));
                return Sim.VmRecord(v, mask);
            });
        }

        // #2: 0 VMs and templates, 1 VMs only, 2 templates only.
        static IEnumerable<Vm> OfKind(IEnumerable<Vm> vms, int kind)
        {
            return vms.Where(v => kind == 0 || (kind == 1 && !v.Template) || (kind == 2 && v.Template));
        }

        // #1 a container by moref (datacenter, cluster or host, pool or vApp, folder, datastore; empty for all), or a VM itself.
        public object BrowseInventoryByMoref(string moref, int kind, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), moref, kind, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() =>
            {
                Auth();
                Sim.SyncPlacements();
                var found = string.IsNullOrEmpty(moref) ? Sim.Vms : Sim.VmsUnder(moref);
                if (found == null) throw new SimFault("The object '" + moref + "' has already been deleted or has not been completely created");
                return OfKind(found, kind).Select(v => Sim.VmRecord(v, mask)).ToList();
            });
        }

        // #1 a host or datastore name for what it holds, else a VM name pattern with '*' and '?'.
        public object BrowseInventoryByName(string name, int kind, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), name, kind, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() =>
            {
                Auth();
                IEnumerable<Vm> found;
                var ds = string.IsNullOrEmpty(name) ? null : Sim.FindDatastore(name);
                if (ds != null) found = Sim.Vms.Where(v => v.Datastore == ds.Name);
                else if (Sim.Hosts.Any(h => h.Name == name)) found = Sim.Vms.Where(v => v.Host == name);
                else found = Sim.Vms.Where(v => string.IsNullOrEmpty(name) || Sim.Matches(v.Name, name));
                return OfKind(found, kind).Select(v => Sim.VmRecord(v, mask)).ToList();
            });
        }

        // Makes a VM from a record: name, guest, datastore, host, CPUs, memory, disks, network cards, firmware, hardware version.
        public object CreateVirtualMachine(SVMInfoLib info, out string uuid)
        {
            uuid = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), info, null);
            if (c != null) { c.Out(1, ref uuid); return c.Result<int>(); }
            string made = null;
            var r = Int(() =>
            {
                Need("VirtualMachine.Inventory.Create", "vim.Folder:group-v4");
                CheckNewName(info.strName);
                var ds = Sim.GetDatastore(string.IsNullOrEmpty(info.strDataStoreName) ? Sim.Datastores.Select(d => d.Name).FirstOrDefault() : info.strDataStoreName);
                var h = HostFor(info.hostName, ds);
                Sim.RefreshVmFiles();
                if (ds.Find(info.strName) != null) throw new SimFault("Cannot complete the operation because the file or folder " + Sim.DsPath(ds.Name, info.strName) + " already exists");
                if (info.memorySizeInMB < 4 && info.memorySizeInMB != -1 && info.memorySizeInMB != 0) throw new SimFault("A specified parameter was not correct: memoryMB");
                if (info.numOfCPU < 0 || info.numOfCPU > 768) throw new SimFault("A specified parameter was not correct: numCPUs");
                int version = 0;
                if (!string.IsNullOrEmpty(info.vmVersion) && (!info.vmVersion.StartsWith("vmx-") || !int.TryParse(info.vmVersion.Substring(4), out version)))
                    throw new SimFault("A specified parameter was not correct: version");
                if (version > h.MaxHardwareVersion) throw new SimFault("The host '" + h.Name + "' does not support virtual hardware " + info.vmVersion + ".");
                var vm = new Vm
                {
                    Name = info.strName, Moref = Sim.NextMoref(), Uuid = Sim.NewUuid(0x42), InstanceUuid = Sim.NewUuid(0x50), Host = h.Name, Datastore = ds.Name,
                    Power = "poweredOff", Tools = "notInstalled", GuestId = string.IsNullOrEmpty(info.strGuestOSName) ? "otherGuest64" : info.strGuestOSName,
                    GuestName = string.IsNullOrEmpty(info.strGuestOSName) ? "Other (64-bit)" : info.strGuestOSName,
                    HardwareVersion = version > 0 ? version : h.MaxHardwareVersion, MemoryMB = info.memorySizeInMB > 0 ? (int)info.memorySizeInMB : 1024,
                    Annotation = ""
                };
                vm.Home = vm.HomeDir;
                vm.FileStem = vm.Name;
                vm.NumCpu = info.numOfCPU > 0 ? (int)info.numOfCPU : 1;
                if (!string.IsNullOrEmpty(info.strFirmware)) vm.Firmware = info.strFirmware;
                if (!string.IsNullOrEmpty(info.isoPath)) vm.Isos.Add(info.isoPath);
                foreach (var n in info.networkCards ?? new List<SVMNetworkCardLib>())
                {
                    var net = string.IsNullOrEmpty(n.networkName) ? "VM Network" : n.networkName;
                    if (!Sim.Networks.Contains(net)) throw new SimFault("The network '" + net + "' was not found.");
                    vm.Networks.Add(net);
                }
                vm.NewSegment();
                var need = new Dictionary<Datastore, long>();
                foreach (var d in info.diskList ?? new List<SDiskLib>())
                {
                    if (d.llMaxSizeInBytes < Sim.MiB) throw new SimFault("A specified parameter was not correct: capacity");
                    var store = Sim.GetDatastore(string.IsNullOrEmpty(d.strDataStoreName) ? ds.Name : d.strDataStoreName);
                    var disk = NewDisk(vm, store, "_");
                    disk.Capacity = d.llMaxSizeInBytes; disk.Thin = d.nThinProvisioned != 0; disk.EagerZero = d.nEagerZero != 0 && !disk.Thin;
                    disk.Independent = d.nIndependentMode != 0;
                    if (!string.IsNullOrEmpty(d.strUUID)) disk.Uuid = d.strUUID;
                    vm.Disks.Add(disk);
                    Sim.PlaceDisk(vm, disk, 0);
                    need[store] = (need.ContainsKey(store) ? need[store] : 0) + (disk.Thin ? 0 : disk.Capacity);
                }
                Sim.ResetTracking(vm);
                need[ds] = (need.ContainsKey(ds) ? need[ds] : 0) + Sim.VmLayout(vm).Where(f => f.Datastore == ds.Name && f.Type != "diskExtent").Sum(f => f.Size);
                foreach (var kv in need) Sim.NeedSpace(kv.Key, kv.Value);
                Sim.Vms.Add(vm);
                Sim.RefreshVmFiles();
                made = vm.Uuid;
                return 1;
            });
            uuid = made;
            return r;
        }

        // #5 and #6 ask for the size and the modification time; the record keeps zero for what was not asked.
        public object GetDetailsForFileOnHost(string host, string datacenter, string datastore, string path, bool fileSize, bool modification, ref SVMFileLib file)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, datacenter, datastore, path, fileSize, modification, file);
            if (c != null) { c.Out(6, ref file); return c.Result<bool>(); }
            SVMFileLib found = file;
            var r = Bool(() =>
            {
                string rel;
                var ds = Place(datastore, path, host, "Datastore.Browse", out rel);
                var f = Existing(ds, rel);
                found = new SVMFileLib { strName = Sim.DsPath(ds.Name, rel), eFileType = f.Dir ? 9 : Sim.FileTypeOf(rel) };
                if (fileSize) found.lSize = f.Size;
                if (modification) found.modifiedTime = f.Modified;
                return true;
            });
            file = found;
            return r;
        }
    }
}
#endif
