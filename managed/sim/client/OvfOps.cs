#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        static SVMInfoLib RecordOf(object info)
        {
            if (!(info is SVMInfoLib)) throw new SimFault("A specified parameter was not correct: vmInfo");
            return (SVMInfoLib)info;
        }

        public bool StartOVFImport(string source, ref object info, out string lease, out List<SVMOptionValueLib> uploads, List<SVMOptionValueLib> options)
        {
            lease = null;
            uploads = null;
            Need("VApp.Import", "vim.Folder:group-v4");
            var given = RecordOf(info);
            var ovf = Sim.ReadOvf(source);
            var networks = new Dictionary<string, string>();
            string provisioning = "thin";
#if !FAULTS
            foreach (var o in options ?? new List<SVMOptionValueLib>())
            {
                if (o.key != null && o.key.StartsWith("network:")) networks[o.key.Substring(8)] = o.value;
                else if (o.key == "diskProvisioning" && new[] { "thin", "thick", "eagerZeroedThick" }.Contains(o.value)) provisioning = o.value;
                else throw new SimFault("A specified parameter was not correct: " + o.key);
            }
#endif
            var record = new SVMInfoLib
            {
                strName = string.IsNullOrEmpty(given.strName) ? ovf.Name : given.strName, strDataStoreName = given.strDataStoreName,
                hostName = given.hostName, strGuestOSName = ovf.OsType, numOfCPU = ovf.Cpus, memorySizeInMB = ovf.MemoryMB, vmVersion = ovf.Version,
                networkCards = ovf.Networks.Select(n => new SVMNetworkCardLib { networkName = networks.ContainsKey(n) ? networks[n] : n }).ToList(),
                diskList = ovf.Disks.Select(d => new SDiskLib { llMaxSizeInBytes = d.Capacity, nThinProvisioned = provisioning == "thin" ? 1 : 0, nEagerZero = provisioning == "eagerZeroedThick" ? 1 : 0 }).ToList()
            };
            string uuid;
            CreateVirtualMachine(record, out uuid);
            var vm = Sim.FindVm(uuid);
            if (!string.IsNullOrEmpty(ovf.Annotation)) vm.Annotation = ovf.Annotation;
            Sim.PlaceByHost(vm);
            var l = new ImportLease { Id = "lease-" + (++Sim.LeaseSeq), Vm = vm.Moref };
            Sim.Imports.Add(l);
#if !FAULTS
            uploads = ovf.Disks.Select((d, i) => new SVMOptionValueLib { key = d.Href, value = vm.Disks[i].FileOf(vm, 0) }).ToList();
#endif
            Sim.RefreshVmFiles();
            info = Sim.VmRecord(vm, ulong.MaxValue);
            lease = l.Id;
            return true;
        }

        public bool UpdateOVFImportProgress(string lease, int percent)
        {
            Auth();
            var l = Sim.FindLease(lease);
            if (percent < l.Progress || percent > 100) throw new SimFault("A specified parameter was not correct: percent");
            l.Progress = percent;
            return true;
        }

        public bool FinishOVFImport(string lease, ref object info)
        {
            Auth();
            var l = Sim.FindLease(lease);
            var vm = Sim.Vms.FirstOrDefault(v => v.Moref == l.Vm);
            if (vm == null) throw new SimFault(Sim.VmNotFound(l.Vm));
            l.State = "done";
            l.Progress = 100;
            info = Sim.VmRecord(vm, ulong.MaxValue);
            return true;
        }

        public int CloneAndReConfigVM_Task(SVMInfoLib info, string source, string host, out string task)
        {
            task = null;
            var src = GetVm(source, "VirtualMachine.Provisioning.Clone");
            NotBusy(src);
            Need("VirtualMachine.Inventory.CreateFromExisting", "vim.Folder:group-v4");
            Sim.CloneOf(src, info, host);
            var wanted = info;
            task = Sim.StartTask("clone", src, "Clone virtual machine", 5, () => Sim.CloneOf(Sim.Current(src), wanted, host)().Moref).Id;
            return 1;
        }

        public int CustomizeVM(SVMInfoLib info, string customization)
        {
            var v = GetVm(string.IsNullOrEmpty(info.strUuid) ? info.strName : info.strUuid, "VirtualMachine.Provisioning.Customize");
            if (!Sim.Customizations.Contains(customization ?? "")) throw new SimFault("The customization '" + customization + "' was not found.");
            RequireOff(v);
            if (info.numEthernetCards != v.Networks.Count)
                throw new SimFault("The number of network adapter settings in the customization (" + info.numEthernetCards
                    + ") does not match the number of network adapters present in the virtual machine (" + v.Networks.Count + ").");
            v.ExtraConfig["tools.deployPkg.customization"] = customization;
            return 1;
        }
    }
}
#endif
