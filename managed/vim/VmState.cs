#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // The simple VM operations: reload, tools, name, UUIDs, annotation, alarms, network adapters, hardware version and
    // the managing extension.
    sealed partial class VimClient
    {
        const string ZantrelExtension = "com.zantrel.backup", ZantrelManagedType = "backup";
        const int MaxNetworkAdapters = 10;

        public int ReloadVM(string vm, string host) { Invoke(new SoapRequest("Reload", Vm(vm))); return 1; }

        public int MountVMTools(string vm, string host) { Invoke(new SoapRequest("MountToolsInstaller", Vm(vm))); return 1; }

        public int RenameVM(string vm, string host, string newName)
        {
            var target = Vm(vm);
            if (string.IsNullOrWhiteSpace(newName) || newName.Length > 80) throw new ClientFault("A specified parameter was not correct: newName");
            var old = Retrieve(target, "name").Str("name");
            RunTask(new SoapRequest("Rename_Task", target).Add("newName", newName));
            // A focus given by name follows the VM.
            if (focus.Vm == old) focus.Vm = newName;
            return 1;
        }

        // Powered off only; an empty UUID is kept.
        public int Reconfig_UUID(string vm, string host, string biosUuid, string instanceUuid)
        {
            var target = Vm(vm);
            Guid g;
            foreach (var u in new[] { biosUuid, instanceUuid })
                if (!string.IsNullOrEmpty(u) && !Guid.TryParse(u, out g)) throw new ClientFault("A specified parameter was not correct: uuid");
            RequirePower(Retrieve(target, "runtime.powerState"), "poweredOff");
            if (string.IsNullOrEmpty(biosUuid) && string.IsNullOrEmpty(instanceUuid)) return 1;
            if (!string.IsNullOrEmpty(instanceUuid))
            {
                var holder = FindByUuid(instanceUuid, true);
                if (holder != null && !holder.Equals(target)) throw new ClientFault("The instance UUID '" + instanceUuid + "' is already in use.");
            }
            Reconfigure(target, new ConfigChange()
                .Set("uuid", string.IsNullOrEmpty(biosUuid) ? null : biosUuid.ToLowerInvariant())
                .Set("instanceUuid", string.IsNullOrEmpty(instanceUuid) ? null : instanceUuid.ToLowerInvariant()));
            return 1;
        }

        public int AnnotateVM(string vm, string host, string annotation)
        {
            Reconfigure(Vm(vm), new ConfigChange().Set("annotation", annotation ?? ""));
            return 1;
        }

        // A server keeps a triggered alarm until its condition clears; acknowledging it is what a client may do.
        public bool ClearVMAlarms(string vm, string host)
        {
            var target = Vm(vm);
            var open = Retrieve(target, "triggeredAlarmState")["triggeredAlarmState"].Kids.Where(a => !a.Bool("acknowledged")).ToList();
            foreach (var alarm in open)
                Invoke(new SoapRequest("AcknowledgeAlarm", Content("alarmManager")).Ref("alarm", alarm.Ref("alarm")).Ref("entity", alarm.Ref("entity") ?? target));
            return true;
        }

        static void RequirePower(ObjectContent vm, string state)
        {
            var power = vm.Str("runtime.powerState");
            if (power != state) throw new ClientFault(FaultText.InvalidPowerState(power));
        }

        static readonly string[] EthernetTypes =
        {
            "VirtualE1000", "VirtualE1000e", "VirtualPCNet32", "VirtualVmxnet", "VirtualVmxnet2", "VirtualVmxnet3", "VirtualVmxnet3Vrdma",
            "VirtualSriovEthernetCard"
        };

        static List<VimNode> NetworkAdapters(ObjectContent vm)
        {
            return vm["config.hardware.device"].Kids.Where(d => EthernetTypes.Contains(d.Type)).ToList();
        }

        // Each adapter is disconnected (if it was connected) and connected again, as the guest would see a cable replugged.
        public bool ResetNetworkConnections(string vm, string host)
        {
            var target = Vm(vm);
            var props = Retrieve(target, "name", "runtime.powerState", "config.hardware.device");
            RequirePower(props, "poweredOn");
            var adapters = NetworkAdapters(props);
            if (adapters.Count == 0) throw new ClientFault("The virtual machine '" + props.Str("name") + "' has no network adapters.");
            var connected = adapters.Where(a => a.At("connectable.connected").AsBool()).ToList();
            if (connected.Count > 0) Reconfigure(target, Connect(connected, false));
            Reconfigure(target, Connect(adapters, true));
            return true;
        }

        static ConfigChange Connect(IEnumerable<VimNode> adapters, bool connected)
        {
            var changes = new ConfigChange();
            foreach (var a in adapters)
            {
                var was = a["connectable"];
                changes.EditDevice(a, "connectable", r =>
                {
                    r.Begin("connectable");
                    if (was.Str("migrateConnect") != "") r.Add("migrateConnect", was.Str("migrateConnect"));
                    r.Add("startConnected", connected || was.Bool("startConnected"))
                        .Add("allowGuestControl", !was.Present || was.Bool("allowGuestControl"))
                        .Add("connected", connected).End();
                });
            }
            return changes;
        }

        // A network the VM's host sees, by name or id: a standard one, or a distributed port group with its switch.
        sealed class NetworkTarget
        {
            public MoRef Ref;
            public string Name, PortgroupKey, SwitchUuid;

            public void WriteBacking(SoapRequest r)
            {
                if (PortgroupKey == null)
                    r.Begin("backing", "VirtualEthernetCardNetworkBackingInfo").Add("deviceName", Name).Ref("network", Ref).End();
                else
                    r.Begin("backing", "VirtualEthernetCardDistributedVirtualPortBackingInfo")
                        .Begin("port").Add("switchUuid", SwitchUuid).Add("portgroupKey", PortgroupKey).End().End();
            }

            public bool Backs(VimNode adapter)
            {
                var backing = adapter["backing"];
                if (PortgroupKey != null) return backing.At("port.portgroupKey").Text == PortgroupKey;
                return Ref.Equals(backing.Ref("network")) || backing.Str("deviceName") == Name;
            }
        }

        NetworkTarget NetworkOf(MoRef host, string network)
        {
            if (string.IsNullOrEmpty(network)) throw new ClientFault("A specified parameter was not correct: network");
            var named = host == null ? RetrieveAll("Network", "name")
                : RetrieveMany(Retrieve(host, "network")["network"].Kids.Select(k => k.AsRef()).Where(r => r != null), "Network", "name");
            var found = named.FirstOrDefault(o => o.Obj.Value == network) ?? named.FirstOrDefault(o => o.Str("name") == network);
            if (found == null) throw new ClientFault("The network '" + network + "' was not found.");
            var target = new NetworkTarget { Ref = found.Obj, Name = found.Str("name") };
            if (found.Obj.Type == "DistributedVirtualPortgroup")
            {
                var group = Retrieve(found.Obj, "key", "config.distributedVirtualSwitch");
                target.PortgroupKey = group.Str("key");
                var dvs = group["config.distributedVirtualSwitch"].AsRef();
                target.SwitchUuid = dvs == null ? "" : Retrieve(dvs, "uuid").Str("uuid");
            }
            else if (found.Obj.Type == "OpaqueNetwork")
                throw new ClientFault("The network '" + network + "' is an opaque network, which this operation does not handle.");
            return target;
        }

        ObjectContent AdapterSubject(string vm)
        {
            var props = Retrieve(Vm(vm), "name", "config.template", "runtime.host", "config.hardware.device");
            NotTemplate(props);
            return props;
        }

        // A vmxnet3 adapter on the network, connected at power-on.
        public bool AddVirtualNetwork(string vm, string network)
        {
            var props = AdapterSubject(vm);
            var net = NetworkOf(props["runtime.host"].AsRef(), network);
            if (NetworkAdapters(props).Count >= MaxNetworkAdapters)
                throw new ClientFault("The maximum number of network adapters (" + MaxNetworkAdapters + ") has been reached.");
            var change = new ConfigChange();
            AddAdapter(change, -1, net);
            Reconfigure(props.Obj, change);
            return true;
        }

        // The first adapter on the network goes.
        public bool RemoveVirtualNetwork(string vm, string network)
        {
            var props = AdapterSubject(vm);
            var net = NetworkOf(props["runtime.host"].AsRef(), network);
            var adapter = NetworkAdapters(props).FirstOrDefault(net.Backs);
            if (adapter == null) throw new ClientFault("The virtual machine '" + props.Str("name") + "' has no adapter on network '" + network + "'.");
            Reconfigure(props.Obj, new ConfigChange().RemoveDevice(adapter));
            return true;
        }

        // The host's compute resource says, through its environment browser, which hardware versions run on the host.
        public bool VerifyVMXVersionForHost(string vm, string host)
        {
            var props = Retrieve(Vm(vm), "config.version", "runtime.host");
            var hostRef = string.IsNullOrEmpty(host) ? props["runtime.host"].AsRef() : RequireObject("HostSystem", host, "host").Obj;
            if (hostRef == null) throw new ClientFault("The virtual machine is on no host.");
            var hostProps = Retrieve(hostRef, "name", "parent");
            var parent = hostProps["parent"].AsRef();
            var browser = parent == null ? null : Retrieve(parent, "environmentBrowser")["environmentBrowser"].AsRef();
            if (browser == null) throw new ClientFault("The host '" + hostProps.Str("name") + "' offers no environment browser.");
            var runs = Invoke(new SoapRequest("QueryConfigOptionDescriptor", browser)).All("returnval")
                .Where(d => d["runSupported"].Text != "false" && (!d.All("host").Any() || d.All("host").Any(h => hostRef.Equals(h.AsRef()))))
                .Select(d => d.Str("key")).ToList();
            var version = props.Str("config.version");
            if (runs.Contains(version)) return true;
            var newest = runs.Select(HardwareVersion).DefaultIfEmpty(0).Max();
            throw new ClientFault("The virtual machine version " + version + " is not supported by host '" + hostProps.Str("name") + "'" +
                (newest > 0 ? " (at most vmx-" + newest + ")." : "."));
        }

        public int SetVMManagedByZantrel(string vm, string host) { return ManagedBy(vm, ZantrelExtension, ZantrelManagedType); }

        // An empty extension key clears the VM's managing extension.
        public int UnSetVMManagedByExtension(string vm, string host) { return ManagedBy(vm, "", ""); }

        int ManagedBy(string vm, string extension, string type)
        {
            Reconfigure(Vm(vm), new ConfigChange().Set("managedBy", r => r.Begin("managedBy").Add("extensionKey", extension).Add("type", type).End()));
            return 1;
        }
    }
}
#endif
