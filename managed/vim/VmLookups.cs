#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // VM lookups and inventory browsing: each reads the VMs it returns in one request with the mask's paths, and the
    // objects related to them (hosts, networks, datastores, folders and pools) in one more.
    sealed partial class VimClient
    {
        public SVMInfoLib GetVMInfoForVM(string vm, string host, string datacenter, ulong mask, int flags)
        {
            return One(Vm(vm), mask, vm);
        }

        public SVMInfoLib GetVMInfoForVMByMoref(string moref, ulong mask, int flags)
        {
            Auth();
            if (string.IsNullOrEmpty(moref)) throw new ClientFault("A specified parameter was not correct: moref");
            return One(new MoRef("VirtualMachine", moref), mask, moref);
        }

        // The VM registered from that .vmx file, asked of the search index in each datacenter.
        public SVMInfoLib GetVMInfoForVMByVMX(string vmxPath, ulong mask, int flags)
        {
            Auth();
            var path = (vmxPath ?? "").Trim();
            if (path == "") throw new ClientFault("A specified parameter was not correct: vmxPath");
            foreach (var dc in RetrieveAll("Datacenter"))
            {
                var found = Invoke(new SoapRequest("FindByDatastorePath", Content("searchIndex")).Ref("datacenter", dc.Obj).Add("path", path)).Ref("returnval");
                if (found != null) return One(found, mask, path);
            }
            throw new ClientFault("File " + path + " was not found");
        }

        // The record as of a snapshot (by id or name; empty: the current one): the devices, so the disk files, are the
        // snapshot's. `snapshot` receives its id.
        public SVMInfoLib GetVMInfoForVMSnapshot(string vm, string host, ulong mask, int flags, ref string snapshot)
        {
            var target = Vm(vm);
            var paths = PathsFor(mask).Concat(new[] { "snapshot" }).Distinct().ToArray();
            var found = ReadVms(new[] { target }, paths, vm);
            var tree = found[0]["snapshot"];
            var id = snapshot ?? "";
            var node = id == "" ? FindSnapshot(tree, tree.Str("currentSnapshot"), null) : FindSnapshot(tree, id, null) ?? FindSnapshot(tree, null, id);
            if (node == null)
                throw new ClientFault(id == "" ? "The virtual machine '" + found[0].Str("name") + "' has no current snapshot."
                    : "The object 'vim.vm.Snapshot:" + id + "' has already been deleted or has not been completely created");
            var snap = node.Ref("snapshot");
            snapshot = snap.Value;
            List<VimNode> devices = null;
            if (PathsFor(mask).Contains(DevicesPath))
                devices = Retrieve(snap, DevicesPath)[DevicesPath].Kids.ToList();
            return Records(found, mask, devices == null ? (Func<ObjectContent, List<VimNode>>)null : v => devices)[0];
        }

        // A snapshot tree node by id or by name, depth first.
        static VimNode FindSnapshot(VimNode tree, string id, string name)
        {
            foreach (var node in tree.All("rootSnapshotList").Concat(tree.All("childSnapshotList")))
            {
                if ((id != null && node.Str("snapshot") == id) || (name != null && node.Str("name") == name)) return node;
                var below = FindSnapshot(node, id, name);
                if (below != null) return below;
            }
            return null;
        }

        SVMInfoLib One(MoRef vm, ulong mask, string asked)
        {
            return Records(ReadVms(new[] { vm }, PathsFor(mask), asked), mask)[0];
        }

        // The VMs' properties in one request; a VM the server does not know fails as the simulator says.
        List<ObjectContent> ReadVms(IEnumerable<MoRef> vms, string[] paths, string asked)
        {
            List<ObjectContent> found;
            try { found = RetrieveMany(vms, "VirtualMachine", paths); }
            catch (VimFault f) when (f.FaultType == "ManagedObjectNotFound") { found = new List<ObjectContent>(); }
            if (found.Count == 0) throw new ClientFault(Shared.VmNotFound(asked ?? ""));
            return found;
        }

        // #2: 0 VMs and templates, 1 VMs only, 2 templates only.
        static List<ObjectContent> OfKind(List<ObjectContent> vms, int kind)
        {
            if (kind == 0) return vms;
            return vms.Where(v => v["config.template"].AsBool() == (kind == 2)).ToList();
        }

        static readonly string[] EntityTypes =
        {
            "VirtualMachine", "HostSystem", "Datacenter", "Folder", "ClusterComputeResource", "ComputeResource", "ResourcePool", "VirtualApp", "Datastore"
        };

        // The VMs inside an inventory object named by its managed object id (a host also by name): a datacenter,
        // folder, cluster, host, resource pool or vApp (through a container view on it), a datastore (its VM list), or
        // one VM. Empty or the root folder: every VM.
        public List<SVMInfoLib> BrowseInventoryByMoref(string moref, int kind, ulong mask, int flags)
        {
            Auth();
            var paths = PathsFor(mask);
            if (string.IsNullOrEmpty(moref) || moref == Content("rootFolder").Value)
                return Records(OfKind(RetrieveAll("VirtualMachine", paths), kind), mask);
            var target = EntityOf(moref);
            if (target == null) throw new ClientFault("The object '" + moref + "' has already been deleted or has not been completely created");
            return Records(OfKind(VmsUnder(target, paths), kind), mask);
        }

        // A host or datastore name for the VMs there, else a VM name pattern ('*', '?', case-insensitive).
        public List<SVMInfoLib> BrowseInventoryByName(string name, int kind, ulong mask, int flags)
        {
            Auth();
            var paths = PathsFor(mask);
            if (!string.IsNullOrEmpty(name))
            {
                var holder = ThroughViews(() => Run(new Retrieval().Props("Datastore", new[] { "name" }).Props("HostSystem", new[] { "name" })
                    .Object(ViewOn(null, "Datastore", "HostSystem"), true, "ContainerView", "view")))
                    .OrderBy(o => o.Obj.Type == "Datastore" ? 0 : 1).FirstOrDefault(o => o.Str("name") == name);
                if (holder != null) return Records(OfKind(VmsUnder(holder.Obj, paths), kind), mask);
            }
            if (string.IsNullOrEmpty(name) || name == "*") return Records(OfKind(RetrieveAll("VirtualMachine", paths), kind), mask);
            var matching = RetrieveAll("VirtualMachine", "name").Where(v => Shared.Matches(v.Str("name"), name)).Select(v => v.Obj).ToList();
            if (matching.Count == 0) return new List<SVMInfoLib>();
            return Records(OfKind(RetrieveMany(matching, "VirtualMachine", paths), kind), mask);
        }

        // The entity with that managed object id, asked as every kind that can hold VMs, or a host with that name:
        // one request. Null when none.
        MoRef EntityOf(string id)
        {
            List<ObjectContent> found;
            try
            {
                found = ThroughViews(() =>
                {
                    var read = new Retrieval { ReportMissing = true }.Props("ManagedEntity", new[] { "name" });
                    foreach (var type in EntityTypes) read.Object(new MoRef(type, id));
                    return Run(read.Object(ViewOn(null, "HostSystem"), true, "ContainerView", "view"));
                });
            }
            catch (VimFault f) when (f.FaultType == "ManagedObjectNotFound") { found = new List<ObjectContent>(); }
            var hit = found.FirstOrDefault(o => o.Obj.Value == id && o["name"].Present)
                ?? found.FirstOrDefault(o => o.Obj.Type == "HostSystem" && o.Str("name") == id);
            return hit == null ? null : hit.Obj;
        }

        // The VMs an entity holds, with the given paths, in one request (after a view is made on first use).
        List<ObjectContent> VmsUnder(MoRef target, string[] paths)
        {
            switch (target.Type)
            {
                case "VirtualMachine":
                    return RetrieveMany(new[] { target }, "VirtualMachine", paths);
                case "HostSystem":
                case "Datastore":
                    return Run(new Retrieval().Props("VirtualMachine", paths).Object(target, true, target.Type, "vm"));
                default:
                    return ThroughViews(() => Run(new Retrieval().Props("VirtualMachine", paths)
                        .Object(ViewOn(target, "VirtualMachine"), true, "ContainerView", "view")));
            }
        }

    }
}
#endif
