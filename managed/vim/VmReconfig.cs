#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // A VM reconfigured from a record, its network adapters and its boot options: one ReconfigVM_Task each (and
    // UpgradeVM_Task for a higher hardware version).
    sealed partial class VimClient
    {
        // VM by strUuid, strInstanceUuid, strMoRef or strName. CPUs, memory, hardware version (upwards), firmware, video
        // memory, guest, notes and larger disks; zero or empty keeps what the VM has. CPUs and memory change while the VM
        // runs only where it allows hot add, and only upwards.
        public int ReconfigVM(SVMInfoLib info)
        {
            var id = new[] { info.strUuid, info.strInstanceUuid, info.strMoRef, info.strName }.FirstOrDefault(x => !string.IsNullOrEmpty(x));
            if (id == null) throw new ClientFault("A specified parameter was not correct: vm");
            var props = Retrieve(Vm(id), "name", "config.template", "runtime.powerState", "config.hardware.numCPU", "config.hardware.memoryMB", "config.version",
                "config.firmware", "config.guestId", "config.guestFullName", "config.cpuHotAddEnabled", "config.memoryHotAddEnabled", "snapshot.currentSnapshot",
                DevicesPath, "recentTask");
            NotTemplate(props);
            NotBusy(props);
            bool hot = props.Str("runtime.powerState") != "poweredOff";
            var stateFault = FaultText.InvalidPowerState(props.Str("runtime.powerState"));
            if (info.numOfCPU > 768) throw new ClientFault("A specified parameter was not correct: numCPUs");
            if (info.memorySizeInMB > 0 && (info.memorySizeInMB < 4 || info.memorySizeInMB % 4 != 0)) throw new ClientFault("A specified parameter was not correct: memoryMB");
            long cpus = props["config.hardware.numCPU"].AsLong(), memory = props["config.hardware.memoryMB"].AsLong();
            if (hot && info.numOfCPU > 0 && info.numOfCPU != cpus && !(info.numOfCPU > cpus && props["config.cpuHotAddEnabled"].AsBool())) throw new ClientFault(stateFault);
            if (hot && info.memorySizeInMB > 0 && info.memorySizeInMB != memory && !(info.memorySizeInMB > memory && props["config.memoryHotAddEnabled"].AsBool()))
                throw new ClientFault(stateFault);
            int version = string.IsNullOrEmpty(info.vmVersion) ? 0 : HardwareVersionOf(info.vmVersion);
            int current = HardwareVersion(props.Str("config.version"));
            if (version > 0 && version < current) throw new ClientFault("A virtual machine's hardware version cannot be lowered.");
            if (version > current && hot) throw new ClientFault(stateFault);
            var firmware = string.IsNullOrEmpty(info.strFirmware) || info.strFirmware == props.Str("config.firmware") ? null : info.strFirmware;
            if (firmware != null && firmware != "bios" && firmware != "efi") throw new ClientFault("A specified parameter was not correct: firmware");
            if (firmware != null && hot) throw new ClientFault(stateFault);

            var change = new ConfigChange();
            var disks = DisksOf(props);
            foreach (var record in info.diskList ?? new List<SDiskLib>())
            {
                var disk = DiskOfRecord(disks, record);
                long now = CapacityOf(disk), wanted = record.llMaxSizeInBytes;
                if (wanted == 0 || wanted == now) continue;
                var label = disk["deviceInfo"].Str("label");
                if (wanted < now) throw new ClientFault("A disk cannot be shrunk: " + label + ".");
                if (props["snapshot.currentSnapshot"].AsRef() != null) throw new ClientFault("A disk of a virtual machine with snapshots cannot be extended: " + label + ".");
                long bytes = (wanted + 1023) / 1024 * 1024;
                change.EditDevice(disk, DiskOrder, new Dictionary<string, Action<SoapRequest>>
                {
                    { "capacityInKB", r => r.Add("capacityInKB", bytes / 1024) }, { "capacityInBytes", r => r.Add("capacityInBytes", bytes) }
                });
            }
            var video = props[DevicesPath].Kids.FirstOrDefault(d => d.Type == "VirtualMachineVideoCard");
            if (info.videoRamSizeInKb > 0 && video != null && video.Long("videoRamSizeInKB") != info.videoRamSizeInKb)
                change.EditDevice(video, VideoCardOrder, new Dictionary<string, Action<SoapRequest>> { { "videoRamSizeInKB", r => r.Add("videoRamSizeInKB", info.videoRamSizeInKb) } });
            // A guest name the VM already shows is no change; any other is taken for a guest id.
            var guest = info.strGuestOSName;
            if (guest == props.Str("config.guestId") || guest == props.Str("config.guestFullName")) guest = null;
            change.Set("guestId", string.IsNullOrEmpty(guest) ? null : guest)
                .Set("annotation", string.IsNullOrEmpty(info.notes) ? null : info.notes)
                .Set("numCPUs", info.numOfCPU > 0 && info.numOfCPU != cpus ? info.numOfCPU.ToString(CultureInfo.InvariantCulture) : null)
                .Set("memoryMB", info.memorySizeInMB > 0 && info.memorySizeInMB != memory ? info.memorySizeInMB.ToString(CultureInfo.InvariantCulture) : null)
                .Set("firmware", firmware);
            if (!change.Empty) Reconfigure(props.Obj, change);
            if (version > current) RunTask(new SoapRequest("UpgradeVM_Task", props.Obj).Add("version", info.vmVersion));
            return 1;
        }

        // replace: the cards become the VM's adapters (those it has change network in order, the rest are added or
        // removed). Otherwise a card labelled "Network adapter N" moves that adapter, any other is added.
        public bool ReconfigureVMNetworks(string vm, string host, List<SVMNetworkCardLib> cards, bool replace)
        {
            var props = Retrieve(Vm(vm), "name", "runtime.host", DevicesPath, "recentTask");
            NotBusy(props);
            var adapters = NetworkAdapters(props);
            var network = NetworksOf(props["runtime.host"].AsRef());
            var moves = new Dictionary<VimNode, NetworkTarget>();
            var added = new List<KeyValuePair<NetworkTarget, string>>();
            int index = 0;
            foreach (var card in cards ?? new List<SVMNetworkCardLib>())
            {
                var net = network(card.networkName);
                VimNode adapter = null;
                if (replace) adapter = index < adapters.Count ? adapters[index] : null;
                else if (card.label != null && card.label.StartsWith("Network adapter ", StringComparison.Ordinal))
                {
                    int n;
                    adapter = adapters.FirstOrDefault(a => a["deviceInfo"].Str("label") == card.label);
                    if (adapter == null && int.TryParse(card.label.Substring(16), NumberStyles.None, CultureInfo.InvariantCulture, out n) && n >= 1 && n <= adapters.Count)
                        adapter = adapters[n - 1];
                    if (adapter == null) throw new ClientFault("A specified parameter was not correct: " + card.label);
                }
                index++;
                if (adapter != null) moves[adapter] = net;
                else added.Add(new KeyValuePair<NetworkTarget, string>(net, card.nicType));
            }
            var removed = replace ? adapters.Where(a => !moves.ContainsKey(a)).ToList() : new List<VimNode>();
            if (adapters.Count - removed.Count + added.Count > MaxNetworkAdapters)
                throw new ClientFault("The virtual machine '" + props.Str("name") + "' would have more than " + MaxNetworkAdapters + " network adapters.");
            var change = new ConfigChange();
            foreach (var m in moves.Where(m => !m.Value.Backs(m.Key))) change.EditDevice(m.Key, "backing", m.Value.WriteBacking);
            foreach (var a in removed) change.RemoveDevice(a);
            int key = -1;
            foreach (var a in added) AddAdapter(change, key--, a.Key, a.Value);
            if (!change.Empty) Reconfigure(props.Obj, change);
            return true;
        }

        static readonly string[] BootDevices = { "disk", "cdrom", "ethernet", "floppy" };

        // Boot order of "disk" (the first disk), "cdrom", "ethernet" (the first adapter) and "floppy"; setup at the next
        // boot, retry, and secure boot (EFI only).
        public bool ReconfigureVMBootOptions(string vm, string host, List<string> order, bool enterSetup, bool bootRetry, bool secureBoot)
        {
            var props = Retrieve(Vm(vm), "name", "config.firmware", DevicesPath, "recentTask");
            NotBusy(props);
            var devices = (order ?? new List<string>()).Select(x => (x ?? "").Trim().ToLowerInvariant()).ToList();
            var bad = devices.FirstOrDefault(x => !BootDevices.Contains(x));
            if (bad != null) throw new ClientFault("A specified parameter was not correct: bootOrder (" + bad + ")");
            if (devices.Distinct().Count() != devices.Count) throw new ClientFault("A specified parameter was not correct: bootOrder");
            var firmware = props.Str("config.firmware");
            if (secureBoot && firmware != "efi")
                throw new ClientFault("Secure boot needs EFI firmware; the virtual machine '" + props.Str("name") + "' uses " + (firmware == "" ? "bios" : firmware) + ".");
            var disk = DisksOf(props).FirstOrDefault();
            var adapter = NetworkAdapters(props).FirstOrDefault();
            foreach (var d in devices)
                if ((d == "disk" && disk == null) || (d == "ethernet" && adapter == null))
                    throw new ClientFault("A specified parameter was not correct: bootOrder (" + d + ": the virtual machine '" + props.Str("name") + "' has none)");
            Reconfigure(props.Obj, new ConfigChange().Set("bootOptions", r =>
            {
                r.Begin("bootOptions").Add("enterBIOSSetup", enterSetup).Add("efiSecureBootEnabled", secureBoot).Add("bootRetryEnabled", bootRetry);
                foreach (var d in devices)
                {
                    if (d == "disk") r.Begin("bootOrder", "VirtualMachineBootOptionsBootableDiskDevice").Add("deviceKey", disk.Int("key")).End();
                    else if (d == "ethernet") r.Begin("bootOrder", "VirtualMachineBootOptionsBootableEthernetDevice").Add("deviceKey", adapter.Int("key")).End();
                    else r.Begin("bootOrder", d == "cdrom" ? "VirtualMachineBootOptionsBootableCdromDevice" : "VirtualMachineBootOptionsBootableFloppyDevice").End();
                }
                r.End();
            }));
            return true;
        }
    }
}
#endif
