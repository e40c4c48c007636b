#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class VimClient
    {
        // The inventory as a tree of nodes, as the simulator draws it: a datacenter holds its four folders, a cluster its
        // hosts and the contents of its root pool, a standalone host (standing in for its compute resource) the contents
        // of its root pool; root pools themselves are not drawn.
        sealed partial class InventoryRead
        {
            public static Kinds Tree()
            {
                return new Kinds()
                    .Add("Datacenter", "name", "parent", "vmFolder", "hostFolder", "datastoreFolder", "networkFolder")
                    .Add("Folder", "name", "parent", "childEntity")
                    .Add("ComputeResource", "name", "parent", "host", "resourcePool")
                    .Add("HostSystem", "name", "parent", "runtime.inMaintenanceMode")
                    .Add("ResourcePool", PoolFacts).Add("VirtualMachine", VmFlags).Add("Datastore", "name").Add("Network", "name");
            }

            static InvKind KindOf(MoRef r)
            {
                switch (r.Type)
                {
                    case "Folder":
                    case "StoragePod": return InvKind.Folder;
                    case "Datacenter": return InvKind.Datacenter;
                    case "ClusterComputeResource": return InvKind.Cluster;
                    case "HostSystem": return InvKind.Host;
                    case "ResourcePool": return InvKind.ResourcePool;
                    case "VirtualApp": return InvKind.VApp;
                    case "VirtualMachine": return InvKind.VirtualMachine;
                    case "Datastore": return InvKind.Datastore;
                    case "Network":
                    case "OpaqueNetwork": return InvKind.Network;
                    case "DistributedVirtualPortgroup": return InvKind.PortGroup;
                    default: return 0;
                }
            }

            // A standalone host's compute resource is drawn as the host.
            MoRef Shown(MoRef r)
            {
                return r != null && r.Type == "ComputeResource" ? Refs(Get(r), "host").FirstOrDefault() ?? r : r;
            }

            public IEnumerable<MoRef> Datacenters() { return Of("Datacenter").Select(d => d.Obj); }

            // One level below an object, in the tree's order; kinds the tree does not draw (switches, say) are left out.
            public IEnumerable<MoRef> Children(MoRef r)
            {
                var o = Get(r);
                if (o == null) return Enumerable.Empty<MoRef>();
                switch (KindOf(r))
                {
                    case InvKind.Datacenter:
                        return new[] { "vmFolder", "hostFolder", "datastoreFolder", "networkFolder" }.Select(f => o[f].AsRef()).Where(f => Get(f) != null);
                    case InvKind.Folder:
                        return Refs(o, "childEntity").Select(Shown).Where(c => KindOf(c) != 0 && Get(c) != null);
                    case InvKind.Cluster:
                        return Refs(o, "host").Concat(PoolContents(o["resourcePool"].AsRef()));
                    case InvKind.Host:
                        var compute = ComputeOf(r);
                        return compute == null || IsCluster(compute) ? Enumerable.Empty<MoRef>() : PoolContents(compute["resourcePool"].AsRef());
                    case InvKind.ResourcePool:
                    case InvKind.VApp:
                        return PoolContents(r);
                    default:
                        return Enumerable.Empty<MoRef>();
                }
            }

            IEnumerable<MoRef> PoolContents(MoRef pool)
            {
                var o = Get(pool);
                return Refs(o, "resourcePool").Concat(Refs(o, "vm")).Where(c => Get(c) != null);
            }

            // The node of an object with its descendants down to depth levels (-1 for all).
            public SInventoryInfoLib NodeOf(MoRef r, int depth)
            {
                r = Shown(r);
                var o = Get(r);
                var kind = KindOf(r);
                int flags = 0;
                if (kind == InvKind.VirtualMachine)
                    flags = (o.Str("runtime.powerState") == "poweredOn" ? 1 : 0) | (o["config.template"].AsBool() ? 2 : 0)
                        | (o.Str("guest.toolsRunningStatus") == "guestToolsRunning" ? 4 : 0);
                else if (kind == InvKind.Host && o["runtime.inMaintenanceMode"].AsBool()) flags = 8;
                return new SInventoryInfoLib
                {
                    strName = o.Str("name"), strGUID = r.Value, type = (int)kind, flags = flags,
                    children = depth == 0 ? new List<SInventoryInfoLib>() : Children(r).Select(c => NodeOf(c, depth < 0 ? -1 : depth - 1)).ToList()
                };
            }

            // Any object by its managed object id, whatever its type.
            public MoRef ById(string id)
            {
                return string.IsNullOrEmpty(id) ? null : objects.Keys.FirstOrDefault(k => k.Value == id);
            }

            // An object by managed object id, or by a path of names from the datacenters ("DC0/vm/Linux"); null for the top.
            public MoRef Resolve(string id)
            {
                if (string.IsNullOrEmpty(id) || id == "/") return null;
                var direct = ById(id);
                if (direct != null) return Shown(direct);
                MoRef at = null;
                foreach (var part in id.Split(new[] { '/' }, StringSplitOptions.RemoveEmptyEntries))
                {
                    var under = at == null ? Datacenters() : Children(at);
                    at = under.FirstOrDefault(c => Name(c) == part);
                    if (at == null) throw new ClientFault("The object '" + id + "' was not found.");
                }
                return at;
            }
        }
    }
}
#endif
