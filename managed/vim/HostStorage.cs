#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // A host's storage: its LUNs and adapters (storage system), its NAS datastores (datastore system).
    sealed partial class VimClient
    {
        static readonly string[] HostLuns = InventoryRead.HostStorage.Concat(new[] { "name", "config.fileSystemVolume.mountInfo", "configManager.storageSystem" }).ToArray();

        ObjectContent HostLunsOf(string host)
        {
            return Retrieve(RequireObject("HostSystem", host, "host").Obj, HostLuns);
        }

        // Disks only: a CD-ROM or tape is no storage a LUN operation can use.
        static IEnumerable<VimNode> Disks(ObjectContent host)
        {
            return host["config.storageDevice.scsiLun"].Kids.Where(l => l.Type == "HostScsiDisk" || l.Str("lunType") == "disk");
        }

        // An adapter by device (vmhba64), iSCSI name or port world-wide name.
        static bool AdapterNamed(VimNode hba, string id)
        {
            var r = InventoryRead.AdapterRecord(hba);
            return hba.Str("device") == id || (r.strIscsiName != "" && r.strIscsiName == id)
                || (r.strportWorldWideName != "" && string.Equals(r.strportWorldWideName, id, StringComparison.OrdinalIgnoreCase));
        }

        public List<SSCSILUNInfoLib> GetDeviceList(string host, string adapter)
        {
            var h = HostLunsOf(host);
            var list = new List<SSCSILUNInfoLib>();
            foreach (var lun in Disks(h))
            {
                var paths = InventoryRead.LunAdapters(h, lun).ToList();
                var via = string.IsNullOrEmpty(adapter) ? paths.FirstOrDefault() : paths.FirstOrDefault(a => AdapterNamed(a, adapter));
                if (via != null || string.IsNullOrEmpty(adapter)) list.Add(InventoryRead.LunRecord(lun, via));
            }
            return list;
        }

        // The VMFS volume (mount entry) whose extents hold the disk, if any.
        static VimNode VolumeOn(ObjectContent host, string canonicalName)
        {
            return host["config.fileSystemVolume.mountInfo"].Kids.FirstOrDefault(m => m["volume"].All("extent").Any(e => e.Str("diskName") == canonicalName));
        }

        public bool GetLUNInformationForRDM(string host, string lun, ref SDatastoreInfoLib info)
        {
            var h = HostLunsOf(host);
            var l = Disks(h).FirstOrDefault(x => x.Str("canonicalName") == lun || string.Equals(x.Str("uuid"), lun, StringComparison.OrdinalIgnoreCase));
            if (l == null) return false;
            var name = l.Str("canonicalName");
            var volume = VolumeOn(h, name);
            if (volume != null) throw new ClientFault("The LUN '" + name + "' backs datastore '" + volume.At("volume.name").Text + "' and cannot be mapped raw.");
            info = new SDatastoreInfoLib
            {
                accessible = true, strDataStoreName = name, strDataStoreType = "RDM", strDataStoreUUID = l.Str("uuid"),
                strDatastorePath = "/vmfs/devices/disks/" + name, i64TotalSize = l.At("capacity.block").AsLong() * l.At("capacity.blockSize").AsLong(),
                i64FreeSpace = 0, extentsInfoList = new List<SSCSILUNInfoLib> { InventoryRead.LunRecord(l, InventoryRead.LunAdapters(h, l).FirstOrDefault()) },
                vmInfoList = new List<SVMInfoLib>()
            };
            return true;
        }

        // Rescans the adapter (by iSCSI name, port WWN, else type) and refreshes the host's storage facts; then each
        // datastore must be a VMFS volume with an extent reached through it.
        public int RefreshHostAdapter(string host, SHostStorageAdapterInfoLib adapter, List<SDatastoreInfoLib> datastores)
        {
            var h = HostLunsOf(host);
            var hbas = h["config.storageDevice.hostBusAdapter"].Kids;
            bool named = !string.IsNullOrEmpty(adapter.strIscsiName) || !string.IsNullOrEmpty(adapter.strportWorldWideName);
            var a = named ? hbas.FirstOrDefault(x => AdapterNamed(x, adapter.strIscsiName ?? "") || AdapterNamed(x, adapter.strportWorldWideName ?? ""))
                : hbas.FirstOrDefault(x => InventoryRead.AdapterRecord(x).strAdapterType == adapter.strAdapterType);
            if (a == null) throw new ClientFault("The storage adapter was not found on host '" + h.Str("name") + "'.");
            var storage = h["configManager.storageSystem"].AsRef();
            if (storage == null) throw new ClientFault("The host '" + h.Str("name") + "' offers no storage system.");
            Invoke(new SoapRequest("RescanHba", storage).Add("hbaDevice", a.Str("device")));
            Invoke(new SoapRequest("RefreshStorageSystem", storage));
            if (datastores == null || datastores.Count == 0) return 1;
            h = Retrieve(h.Obj, HostLuns);
            foreach (var d in datastores)
            {
                var volume = h["config.fileSystemVolume.mountInfo"].Kids.FirstOrDefault(m => m.At("volume.name").Text == d.strDataStoreName);
                var disks = volume == null ? new List<string>() : volume["volume"].All("extent").Select(e => e.Str("diskName")).ToList();
                if (!Disks(h).Where(l => disks.Contains(l.Str("canonicalName"))).Any(l => InventoryRead.LunAdapters(h, l).Any(x => x.Str("key") == a.Str("key"))))
                    throw new ClientFault("The datastore '" + d.strDataStoreName + "' is not reachable through adapter " + a.Str("device") + ".");
            }
            return 1;
        }

        // NFS from remoteHost:remotePath, mounted on the host as `name` (empty host: the only one there is).
        public int CreateNASDatastore(string host, string name, string remoteHost, string remotePath, bool readOnly)
        {
            Auth();
            if (string.IsNullOrWhiteSpace(name) || name.Length > 42 || name.IndexOfAny(new[] { '/', '[', ']' }) >= 0)
                throw new ClientFault("A specified parameter was not correct: localPath");
            if (string.IsNullOrWhiteSpace(remoteHost)) throw new ClientFault("A specified parameter was not correct: remoteHost");
            if (string.IsNullOrEmpty(remotePath) || !remotePath.StartsWith("/", StringComparison.Ordinal)) throw new ClientFault("A specified parameter was not correct: remotePath");
            var hosts = RetrieveAll("HostSystem", "name", "configManager.datastoreSystem");
            var h = string.IsNullOrEmpty(host) ? (hosts.Count == 1 ? hosts[0] : null)
                : hosts.FirstOrDefault(x => x.Obj.Value == host) ?? hosts.FirstOrDefault(x => string.Equals(x.Str("name"), host, StringComparison.OrdinalIgnoreCase));
            if (h == null) throw new ClientFault(string.IsNullOrEmpty(host) ? "A specified parameter was not correct: host" : Shared.HostNotFound(host));
            Invoke(new SoapRequest("CreateNasDatastore", DatastoreSystem(h)).Begin("spec").Add("remoteHost", remoteHost).Add("remotePath", remotePath)
                .Add("localPath", name).Add("accessMode", readOnly ? "readOnly" : "readWrite").Add("type", "NFS").End());
            return 1;
        }

        static MoRef DatastoreSystem(ObjectContent host)
        {
            var system = host["configManager.datastoreSystem"].AsRef();
            if (system == null) throw new ClientFault("The host '" + host.Str("name") + "' offers no datastore system.");
            return system;
        }

        // From the host named (it must mount it), else from every host that does.
        public int RemoveDatastore(string host, string datastore)
        {
            var inv = ReadInventory(new Kinds().Add("HostSystem", "name", "datastore", "configManager.datastoreSystem").Add("Datastore", "name", "host"));
            var ds = inv.Find("Datastore", datastore);
            if (ds == null) throw new ClientFault(Shared.DatastoreNotFound(datastore));
            var from = inv.MountsOf(ds.Obj).Where(h => string.IsNullOrEmpty(host) || IsNamed(inv, h, host)).ToList();
            if (!string.IsNullOrEmpty(host) && from.Count == 0)
                throw new ClientFault("The datastore '" + ds.Str("name") + "' is not mounted on '" + host + "'.");
            foreach (var h in from) Invoke(new SoapRequest("RemoveDatastore", DatastoreSystem(inv[h])).Ref("datastore", ds.Obj));
            return 1;
        }
    }
}
#endif
