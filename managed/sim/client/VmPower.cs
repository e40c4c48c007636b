#if !NOCLASS && !EMPTY
using System;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        public int PowerOnVM(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Interact.PowerOn");
            NotTemplate(v);
            if (v.On) throw new SimFault(Sim.StateFault(v));
            Sim.SetPower(v, "poweredOn");
            return 1;
        }

        public int SuspendVM(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Interact.Suspend");
            RequireOn(v);
            Sim.SetPower(v, "suspended");
            return 1;
        }

        public int PowerOffVM(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Interact.PowerOff");
            if (v.Power == "poweredOff") throw new SimFault(Sim.StateFault(v));
            Sim.SetPower(v, "poweredOff");
            return 1;
        }

        public int ShutdownVM(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Interact.PowerOff");
            RequireOn(v);
            if (v.Tools != "running") throw new SimFault("Cannot complete operation because VMware Tools is not running in this virtual machine.");
            Sim.SetPower(v, "poweredOff");
            return 1;
        }

        public int ReloadVM(string vm, string host)
        {
            GetVm(vm);
            return 1;
        }

        public int MountVMTools(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Interact.ToolsInstall");
            NotTemplate(v);
            RequireOn(v);
            v.ToolsMounted = true;
            return 1;
        }

        public int MarkAsTemplate(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Provisioning.MarkAsTemplate");
            NotTemplate(v);
            RequireOff(v);
            v.Template = true;
            return 1;
        }

        public int RenameVM(string vm, string host, string newName)
        {
            var v = GetVm(vm, "VirtualMachine.Config.Rename");
            if (string.IsNullOrWhiteSpace(newName) || newName.Length > 80) throw new SimFault("A specified parameter was not correct: newName");
            if (Sim.Vms.Any(x => x != v && x.Name == newName)) throw new SimFault("The name '" + newName + "' already exists.");
            if (focus.Vm == v.Name) focus.Vm = newName;
            v.Name = newName;
            return 1;
        }

        public int Reconfig_UUID(string vm, string host, string biosUuid, string instanceUuid)
        {
            var v = GetVm(vm, "VirtualMachine.Config.Settings");
            RequireOff(v);
            Guid g;
            foreach (var u in new[] { biosUuid, instanceUuid })
                if (!string.IsNullOrEmpty(u) && !Guid.TryParse(u, out g)) throw new SimFault("A specified parameter was not correct: uuid");
            if (!string.IsNullOrEmpty(biosUuid)) v.Uuid = biosUuid.ToLowerInvariant();
            if (!string.IsNullOrEmpty(instanceUuid))
            {
                if (Sim.Vms.Any(x => x != v && string.Equals(x.InstanceUuid, instanceUuid, StringComparison.OrdinalIgnoreCase)))
                    throw new SimFault("The instance UUID '" + instanceUuid + "' is already in use.");
                v.InstanceUuid = instanceUuid.ToLowerInvariant();
            }
            return 1;
        }

        public int AnnotateVM(string vm, string host, string annotation)
        {
            GetVm(vm, "VirtualMachine.Config.Annotation").Annotation = annotation ?? "";
            return 1;
        }

        public bool ClearVMAlarms(string vm, string host)
        {
            GetVm(vm, "Alarm.Acknowledge").Alarms = 0;
            return true;
        }

        public bool ResetNetworkConnections(string vm, string host)
        {
            var v = GetVm(vm, "VirtualMachine.Interact.DeviceConnection");
            RequireOn(v);
            if (v.Networks.Count == 0) throw new SimFault("The virtual machine '" + v.Name + "' has no network adapters.");
            return true;
        }

        public bool AddVirtualNetwork(string vm, string network)
        {
            var v = GetVm(vm, "VirtualMachine.Config.AddRemoveDevice");
            NotTemplate(v);
            if (!Sim.Networks.Contains(network)) throw new SimFault("The network '" + network + "' was not found.");
            if (v.Networks.Count >= 10) throw new SimFault("The maximum number of network adapters (10) has been reached.");
            v.Networks.Add(network);
            return true;
        }

        public bool RemoveVirtualNetwork(string vm, string network)
        {
            var v = GetVm(vm, "VirtualMachine.Config.AddRemoveDevice");
            NotTemplate(v);
            if (!v.Networks.Remove(network)) throw new SimFault("The virtual machine '" + v.Name + "' has no adapter on network '" + network + "'.");
            return true;
        }

        public bool VerifyVMXVersionForHost(string vm, string host)
        {
            var v = GetVm(vm);
            var h = Sim.Hosts.FirstOrDefault(x => string.Equals(x.Name, string.IsNullOrEmpty(host) ? v.Host : host, StringComparison.OrdinalIgnoreCase));
            if (h == null) throw new SimFault("The host '" + host + "' was not found.");
            if (v.HardwareVersion > h.MaxHardwareVersion)
                throw new SimFault("The virtual machine version vmx-" + v.HardwareVersion + " is not supported by host '" + h.Name + "' (at most vmx-" + h.MaxHardwareVersion + ").");
            return true;
        }

        public int SetVMManagedByZantrel(string vm, string host)
        {
            GetVm(vm, "VirtualMachine.Config.ManagedBy").ManagedBy = "com.zantrel.backup";
            return 1;
        }

        public int UnSetVMManagedByExtension(string vm, string host)
        {
            GetVm(vm, "VirtualMachine.Config.ManagedBy").ManagedBy = null;
            return 1;
        }
    }
}
#endif
