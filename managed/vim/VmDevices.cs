#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // Controller slots for the devices a change adds to a VM, beside the devices it has. Where no controller of the kind
    // has room, one is added to the change. New devices get negative keys; the server gives them their own.
    sealed class DeviceSlots
    {
        sealed class Controller
        {
            public int Key, Bus;
            public string Kind;
            public readonly HashSet<int> Used = new HashSet<int>();
        }

        public struct Slot
        {
            public int Controller, Unit;
        }

        static readonly Dictionary<string, string> ControllerKinds = new Dictionary<string, string>
        {
            { "VirtualIDEController", "IDE" }, { "VirtualAHCIController", "SATA" }, { "VirtualSATAController", "SATA" }, { "VirtualNVMEController", "NVME" },
            { "VirtualLsiLogicController", "SCSI" }, { "VirtualLsiLogicSASController", "SCSI" }, { "ParaVirtualSCSIController", "SCSI" },
            { "VirtualBusLogicController", "SCSI" }, { "VirtualSCSIController", "SCSI" }
        };

        static readonly Dictionary<string, string> ScsiTypes = new Dictionary<string, string>
        {
            { "lsilogic", "VirtualLsiLogicController" }, { "lsilogic-sas", "VirtualLsiLogicSASController" }, { "pvscsi", "ParaVirtualSCSIController" },
            { "buslogic", "VirtualBusLogicController" }
        };

        readonly List<Controller> controllers = new List<Controller>();
        readonly ConfigChange change;
        int nextKey = -1;

        public DeviceSlots(IEnumerable<VimNode> devices, ConfigChange change)
        {
            this.change = change;
            var list = devices.ToList();
            foreach (var d in list)
            {
                string kind;
                if (d.Type != null && ControllerKinds.TryGetValue(d.Type, out kind)) controllers.Add(new Controller { Key = d.Int("key"), Bus = d.Int("busNumber"), Kind = kind });
            }
            foreach (var d in list.Where(d => d["unitNumber"].Present))
            {
                var c = controllers.FirstOrDefault(x => x.Key == d.Int("controllerKey"));
                if (c != null) c.Used.Add(d.Int("unitNumber"));
            }
        }

        // A VM being made: it comes with the two IDE controllers every VM has (keys 200 and 201).
        public static DeviceSlots ForNewVm(ConfigChange change)
        {
            var slots = new DeviceSlots(new VimNode[0], change);
            slots.controllers.Add(new Controller { Key = 200, Bus = 0, Kind = "IDE" });
            slots.controllers.Add(new Controller { Key = 201, Bus = 1, Kind = "IDE" });
            return slots;
        }

        public int NewKey() { return nextKey--; }

        // "SCSI", "SATA", "NVME" or "IDE" from a record's controller type; empty means SCSI.
        public static string Kind(string controllerType)
        {
            var kind = string.IsNullOrEmpty(controllerType) ? "SCSI" : controllerType.Trim().ToUpperInvariant();
            if (kind == "AHCI") kind = "SATA";
            if (kind != "SCSI" && kind != "SATA" && kind != "NVME" && kind != "IDE")
                throw new ClientFault("A specified parameter was not correct: strControllerType (" + controllerType + ")");
            return kind;
        }

        static bool UnitFits(string kind, int unit)
        {
            switch (kind)
            {
                case "SCSI": return unit >= 0 && unit <= 15 && unit != 7;
                case "SATA": return unit >= 0 && unit <= 29;
                case "NVME": return unit >= 0 && unit <= 14;
                default: return unit >= 0 && unit <= 1;
            }
        }

        static int MaxBus(string kind) { return kind == "IDE" ? 1 : 3; }

        // A slot on a controller of the kind: on bus `bus` (-1: the first with room), at unit `unit` (-1 or taken: the
        // first free, unless `exact`); `fresh` puts it on a new controller after the last one.
        public Slot Place(string kind, string scsiType, int bus, int unit, bool exact, bool fresh = false)
        {
            var mine = controllers.Where(c => c.Kind == kind).OrderBy(c => c.Bus).ToList();
            Controller at;
            if (fresh) at = Add(kind, scsiType, mine.Select(c => c.Bus).DefaultIfEmpty(-1).Max() + 1);
            else if (bus >= 0) at = mine.FirstOrDefault(c => c.Bus == bus) ?? Add(kind, scsiType, bus);
            else at = mine.FirstOrDefault(c => FirstFree(c) >= 0) ?? Add(kind, scsiType, Enumerable.Range(0, MaxBus(kind) + 2).First(b => b > MaxBus(kind) || mine.All(c => c.Bus != b)));
            int u = unit;
            if (!UnitFits(kind, u) || at.Used.Contains(u))
            {
                if (exact) throw new ClientFault("The controller slot " + at.Bus + ":" + unit + " is not free.");
                u = FirstFree(at);
                if (u < 0) throw new ClientFault("The " + kind + " controller " + at.Bus + " has no free unit.");
            }
            at.Used.Add(u);
            return new Slot { Controller = at.Key, Unit = u };
        }

        static int FirstFree(Controller c)
        {
            for (int u = 0; u < 30; u++) if (UnitFits(c.Kind, u) && !c.Used.Contains(u)) return u;
            return -1;
        }

        Controller Add(string kind, string scsiType, int bus)
        {
            if (kind == "IDE" || bus < 0 || bus > MaxBus(kind) || controllers.Any(x => x.Kind == kind && x.Bus == bus))
                throw new ClientFault("The virtual machine has no room for another " + kind + " controller" + (bus >= 0 ? " on bus " + bus : "") + ".");
            string type = kind == "SATA" ? "VirtualAHCIController" : kind == "NVME" ? "VirtualNVMEController" : null;
            if (type == null && !ScsiTypes.TryGetValue(string.IsNullOrEmpty(scsiType) ? "lsilogic" : scsiType, out type))
                throw new ClientFault("A specified parameter was not correct: strScsiControllerType (" + scsiType + ")");
            var c = new Controller { Key = NewKey(), Bus = bus, Kind = kind };
            if (kind == "SCSI") c.Used.Add(7);
            controllers.Add(c);
            change.AddDevice(type, r =>
            {
                r.Add("key", c.Key).Add("busNumber", c.Bus);
                if (kind == "SCSI") r.Add("sharedBus", "noSharing");
            });
            return c;
        }
    }

    sealed partial class VimClient
    {
        // VirtualDisk's properties in order, VirtualDevice's first; and a video card's.
        static readonly string[] DiskOrder = ConfigChange.DeviceOrder.Concat(new[] { "capacityInKB", "capacityInBytes", "shares", "storageIOAllocation", "diskObjectId" }).ToArray();
        static readonly string[] VideoCardOrder = ConfigChange.DeviceOrder.Concat(new[] { "videoRamSizeInKB", "numDisplays", "useAutoDetect", "enable3DSupport" }).ToArray();

        static List<VimNode> DisksOf(ObjectContent vm)
        {
            return vm[DevicesPath].Kids.Where(d => d.Type == "VirtualDisk").ToList();
        }

        // Every file of a disk's chain, its own first.
        static IEnumerable<string> ChainFiles(VimNode disk)
        {
            for (var b = disk["backing"]; b.Present; b = b["parent"])
                if (b.Str("fileName") != "") yield return b.Str("fileName");
        }

        // A disk argument: its key, label or one of its files.
        static VimNode DiskNamed(ObjectContent vm, string id) { return DiskNamed(DisksOf(vm), id); }

        static VimNode DiskNamed(List<VimNode> disks, string id)
        {
            var found = string.IsNullOrEmpty(id) ? null : disks.FirstOrDefault(d => d.Str("key") == id)
                ?? disks.FirstOrDefault(d => d["deviceInfo"].Str("label") == id) ?? disks.FirstOrDefault(d => ChainFiles(d).Contains(id));
            if (found == null) throw new ClientFault("A specified parameter was not correct: deviceKey (" + id + ")");
            return found;
        }

        // The disk a record names: by key, else UUID, file or label.
        static VimNode DiskOfRecord(List<VimNode> disks, SDiskLib d)
        {
            var found = disks.FirstOrDefault(x => d.nDeviceKey != 0 && x.Int("key") == d.nDeviceKey)
                ?? disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strUUID) && string.Equals(x["backing"].Str("uuid"), d.strUUID, StringComparison.OrdinalIgnoreCase))
                ?? disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strFileName) && ChainFiles(x).Contains(d.strFileName))
                ?? disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strLabel) && x["deviceInfo"].Str("label") == d.strLabel);
            if (found == null)
                throw new ClientFault("A specified parameter was not correct: deviceKey (" + (d.nDeviceKey != 0 ? d.nDeviceKey.ToString(CultureInfo.InvariantCulture) : d.strFileName ?? d.strLabel) + ")");
            return found;
        }

        static long CapacityOf(VimNode disk)
        {
            return disk.Long("capacityInBytes") > 0 ? disk.Long("capacityInBytes") : disk.Long("capacityInKB") * 1024;
        }

        // A new flat disk in the VM's folder on the datastore, its file named by the server; files made by the change.
        static void AddFlatDisk(ConfigChange change, DeviceSlots.Slot slot, int key, long bytes, string datastore, bool thin, bool eager, bool independent,
            bool nonPersistent = false, string uuid = null)
        {
            var mode = !independent ? "persistent" : nonPersistent ? "independent_nonpersistent" : "independent_persistent";
            change.AddDevice("VirtualDisk", r =>
            {
                r.Add("key", key).Begin("backing", "VirtualDiskFlatVer2BackingInfo").Add("fileName", "[" + datastore + "]").Add("diskMode", mode)
                    .Add("thinProvisioned", thin).Add("eagerlyScrub", eager).Add("uuid", string.IsNullOrEmpty(uuid) ? null : uuid).End();
                r.Add("controllerKey", slot.Controller).Add("unitNumber", slot.Unit).Add("capacityInKB", bytes / 1024).Add("capacityInBytes", bytes);
            }, "create");
        }

        static readonly Dictionary<string, string> AdapterTypes = new Dictionary<string, string>
        {
            { "vmxnet3", "VirtualVmxnet3" }, { "vmxnet2", "VirtualVmxnet2" }, { "vmxnet", "VirtualVmxnet" }, { "e1000", "VirtualE1000" },
            { "e1000e", "VirtualE1000e" }, { "pcnet32", "VirtualPCNet32" }
        };

        // A network adapter on the network, connected at power-on; vmxnet3 unless the card type names another.
        static void AddAdapter(ConfigChange change, int key, NetworkTarget net, string nicType = null)
        {
            string type;
            if (!AdapterTypes.TryGetValue((nicType ?? "").ToLowerInvariant(), out type)) type = "VirtualVmxnet3";
            change.AddDevice(type, r =>
            {
                r.Add("key", key);
                net.WriteBacking(r);
                r.Begin("connectable").Add("startConnected", true).Add("allowGuestControl", true).Add("connected", true).End();
                r.Add("addressType", "generated");
            });
        }

        // Networks by name for one host, each looked up once.
        Func<string, NetworkTarget> NetworksOf(MoRef host)
        {
            var known = new Dictionary<string, NetworkTarget>();
            return name =>
            {
                var wanted = string.IsNullOrEmpty(name) ? "VM Network" : name;
                NetworkTarget net;
                if (!known.TryGetValue(wanted, out net)) known[wanted] = net = NetworkOf(host, wanted);
                return net;
            };
        }

        // A VM that is not running (suspended is not running either); Destroy and UnregisterVM refuse a powered-on one.
        static void NotPoweredOn(ObjectContent vm)
        {
            var power = vm.Str("runtime.powerState");
            if (power == "poweredOn") throw new ClientFault(FaultText.InvalidPowerState(power));
        }

        static void NotTemplate(ObjectContent vm)
        {
            if (vm["config.template"].AsBool()) throw new ClientFault("The operation is not supported on the object.");
        }

        // A task queued or running on the VM (its recentTask read with it) takes the VM for itself.
        void NotBusy(ObjectContent vm)
        {
            var recent = vm["recentTask"].Kids.Select(k => k.AsRef()).Where(r => r != null).ToList();
            if (recent.Count == 0) return;
            var running = RetrieveMany(recent, "Task", "info").Select(o => o["info"])
                .FirstOrDefault(i => i.Str("state") == "running" || i.Str("state") == "queued");
            if (running == null) return;
            var what = running.At("description.message").Text;
            if (what == "") what = running.Str("descriptionId") != "" ? running.Str("descriptionId") : running.Str("name");
            throw new ClientFault("Another task is already in progress (" + running.Str("key") + ": " + what + ").");
        }

        // A new VM's name: well formed and no VM's yet.
        void CheckNewName(string name)
        {
            if (!Shared.IsValidVmName(name)) throw new ClientFault("A specified parameter was not correct: name");
            if (RetrieveAll("VirtualMachine", "name").Any(o => o.Str("name") == name)) throw new ClientFault("The name '" + name + "' already exists.");
        }
    }
}
#endif
