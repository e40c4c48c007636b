#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // Moves, clones and guest customization: RelocateVM_Task (host, pool, datastore and a locator per disk), CloneVM_Task
    // (a relocation and a configuration part), CustomizeVM_Task with a customization the server keeps by name.
    sealed partial class VimClient
    {
        static readonly string[] MovePrivileges = { "Resource.HotMigrate", "Resource.ColdMigrate" };

        public bool CheckRelocatePrivilegeOnHost(string host)
        {
            var h = RequireObject("HostSystem", host, "host");
            var granted = Invoke(new SoapRequest("HasPrivilegeOnEntity", Content("authorizationManager"))
                .Ref("entity", h.Obj).Add("sessionId", sessionKey).AddAll("privId", MovePrivileges)).All("returnval").Select(v => v.AsBool()).ToList();
            var missing = MovePrivileges.Where((p, i) => i >= granted.Count || !granted[i]).FirstOrDefault();
            if (missing != null)
                throw new ClientFault("Permission to perform this operation was denied. (privilege '" + missing + "' on vim.HostSystem:" + h.Obj.Value + ")");
            return true;
        }

        public bool RelocateVM(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks)
        {
            RunTask(RelocateRequest(vm, targetHost, datastore, pool, keepDisks, disks));
            return true;
        }

        // The task is started, not waited for.
        public bool RelocateVM_Task(string vm, string host, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks, out string task)
        {
            task = null;
            task = Started(RelocateRequest(vm, targetHost, datastore, pool, keepDisks, disks));
            return true;
        }

        string Started(SoapRequest request)
        {
            return StartTask(request).Value;
        }

        // A target host (empty: the VM's own) that is connected and, for a running VM, not in maintenance.
        static ObjectContent TargetHost(InventoryRead inv, string id, MoRef current, bool running)
        {
            var h = string.IsNullOrEmpty(id) ? inv.Get(current) : inv.Host(id);
            if (h == null) throw new ClientFault("The virtual machine is on no host.");
            if (h["runtime.connectionState"].Present && h.Str("runtime.connectionState") != "connected") throw new ClientFault("The host '" + h.Str("name") + "' is not connected.");
            if (running && h["runtime.inMaintenanceMode"].AsBool()) throw new ClientFault("The host '" + h.Str("name") + "' is in maintenance mode.");
            return h;
        }

        // The pool named within the host's compute resource; none named: the root pool when the VM changes compute
        // resource (null when it stays).
        static MoRef TargetPool(InventoryRead inv, string pool, ObjectContent host, MoRef currentPool)
        {
            var compute = inv.ComputeOf(host.Obj);
            var root = compute == null ? null : compute["resourcePool"].AsRef();
            if (!string.IsNullOrEmpty(pool))
            {
                try { return inv.Pool(pool, inv.PoolTree(root)).Obj; }
                catch (ClientFault) { throw new ClientFault("The resource pool '" + pool + "' was not found on '" + (compute == null ? host.Str("name") : compute.Str("name")) + "'."); }
            }
            return currentPool != null && inv.PoolTree(root).Contains(currentPool) ? null : root;
        }

        // Unlisted disks follow the datastore unless keepDisks; listed ones go to their own datastore (empty: the VM's new
        // home). Every disk gets a locator once any disk's place is said.
        SoapRequest RelocateRequest(string vm, string targetHost, string datastore, string pool, bool keepDisks, List<SDiskLib> disks)
        {
            var props = Retrieve(Vm(vm), "name", "runtime.host", "runtime.powerState", "resourcePool", "config.files.vmPathName", DevicesPath, "recentTask");
            NotBusy(props);
            var inv = ReadPlaces();
            var host = TargetHost(inv, targetHost, props["runtime.host"].AsRef(), props.Str("runtime.powerState") == "poweredOn");
            var home = string.IsNullOrEmpty(datastore) ? inv.Find("Datastore", DatastoreOf(props.Str("config.files.vmPathName"))) : UsableDatastore(inv, datastore, host);
            if (home == null) throw new ClientFault("The datastore of '" + props.Str("name") + "' was not found.");
            if (!inv.MountsOf(home.Obj).Contains(host.Obj))
                throw new ClientFault("The datastore '" + home.Str("name") + "' is not accessible from host '" + host.Str("name") + "'.");
            var vmDisks = DisksOf(props);
            var target = new Dictionary<VimNode, ObjectContent>();
            foreach (var d in vmDisks)
                target[d] = keepDisks || string.IsNullOrEmpty(datastore) ? inv.Get(d["backing"].Ref("datastore")) ?? inv.Find("Datastore", DatastoreOf(d["backing"].Str("fileName"))) : home;
            foreach (var record in disks ?? new List<SDiskLib>())
                target[DiskOfRecord(vmDisks, record)] = string.IsNullOrEmpty(record.strDataStoreName) ? home : UsableDatastore(inv, record.strDataStoreName, host);
            foreach (var t in target)
                if (t.Value == null || !inv.MountsOf(t.Value.Obj).Contains(host.Obj))
                    throw new ClientFault("The disk '" + t.Key["deviceInfo"].Str("label") + "' would not be accessible from host '" + host.Str("name") + "'.");
            var poolRef = TargetPool(inv, pool, host, props["resourcePool"].AsRef());

            var request = new SoapRequest("RelocateVM_Task", props.Obj).Begin("spec");
            if (!string.IsNullOrEmpty(datastore)) request.Ref("datastore", home.Obj);
            request.Ref("pool", poolRef);
            if (!string.IsNullOrEmpty(targetHost)) request.Ref("host", host.Obj);
            if (!string.IsNullOrEmpty(datastore) || (disks != null && disks.Count > 0))
                foreach (var t in target)
                    request.Begin("disk").Add("diskId", t.Key.Int("key")).Ref("datastore", t.Value.Obj).End();
            return request.End().Add("priority", "defaultPriority");
        }

        // The clone: name, datastore, CPUs and memory from the record (0 or less: the source's), on the host given (empty:
        // the source's), in the source's folder; powered off. The task is started, not waited for.
        public int CloneAndReConfigVM_Task(SVMInfoLib info, string source, string host, out string task)
        {
            task = null;
            var src = Retrieve(Vm(source), "name", "parent", "resourcePool", "runtime.host", "config.files.vmPathName", "recentTask");
            NotBusy(src);
            CheckNewName(info.strName);
            if (info.numOfCPU > 768 || (info.memorySizeInMB > 0 && info.memorySizeInMB < 4))
                throw new ClientFault("A specified parameter was not correct: numCPUs or memoryMB");
            var inv = ReadPlaces();
            var h = TargetHost(inv, host, src["runtime.host"].AsRef(), false);
            var ds = UsableDatastore(inv, string.IsNullOrEmpty(info.strDataStoreName) ? DatastoreOf(src.Str("config.files.vmPathName")) : info.strDataStoreName, h);
            var pool = TargetPool(inv, null, h, src["resourcePool"].AsRef()) ?? src["resourcePool"].AsRef();
            var parent = src["parent"].AsRef();
            var dc = inv.DatacenterOf(h.Obj);
            var folder = parent != null && parent.Type == "Folder" ? parent : dc == null ? null : dc["vmFolder"].AsRef();
            if (folder == null) throw new ClientFault("The host '" + h.Str("name") + "' is in no datacenter.");
            var config = new ConfigChange().Set("numCPUs", info.numOfCPU > 0 ? info.numOfCPU.ToString() : null)
                .Set("memoryMB", info.memorySizeInMB > 0 ? info.memorySizeInMB.ToString() : null);

            var request = new SoapRequest("CloneVM_Task", src.Obj).Ref("folder", folder).Add("name", info.strName).Begin("spec")
                .Begin("location").Ref("datastore", ds.Obj).Ref("pool", pool).Ref("host", h.Obj).End()
                .Add("template", false);
            if (!config.Empty) config.WriteTo(request, "config");
            task = Started(request.Add("powerOn", false).End());
            return 1;
        }

        // The customization the server keeps under that name, with one adapter setting per card the record counts
        // (the stored ones first, DHCP for the rest): the server checks them against the VM's adapters.
        public int CustomizeVM(SVMInfoLib info, string customization)
        {
            var props = Retrieve(Vm(string.IsNullOrEmpty(info.strUuid) ? info.strName : info.strUuid), "name", "runtime.powerState", DevicesPath);
            VimNode stored;
            try { stored = Invoke(new SoapRequest("GetCustomizationSpec", Content("customizationSpecManager")).Add("name", customization ?? ""))["returnval"]["spec"]; }
            catch (VimFault f) when (f.FaultType == "NotFound") { throw new ClientFault("The customization '" + customization + "' was not found."); }
            RequirePower(props, "poweredOff");
            int adapters = NetworkAdapters(props).Count;
            if (info.numEthernetCards != adapters)
                throw new ClientFault("The number of network adapter settings in the customization (" + info.numEthernetCards
                    + ") does not match the number of network adapters present in the virtual machine (" + adapters + ").");
            var request = new SoapRequest("CustomizeVM_Task", props.Obj).Begin("spec");
            foreach (var k in stored.Kids.Where(k => k.Name == "options" || k.Name == "identity" || k.Name == "globalIPSettings")) request.Node(k);
            var settings = stored.All("nicSettingMap").ToList();
            for (int i = 0; i < info.numEthernetCards; i++)
            {
                if (i < settings.Count) request.Node(settings[i]);
                else request.Begin("nicSettingMap").Begin("adapter").Begin("ip", "CustomizationDhcpIpGenerator").End().End().End();
            }
            foreach (var k in stored.All("encryptionKey")) request.Node(k);
            RunTask(request.End());
            return 1;
        }
    }
}
#endif
