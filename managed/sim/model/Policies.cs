using System;
using System.Collections.Generic;
using System.Linq;
using System.Xml;

namespace VISDKWrapper
{
    sealed class StoragePolicy
    {
        public string Name, Id, Filter;   // Filter: the IO filter the policy puts on a disk, or null
    }

    // An IO filter installed on a cluster; hosts that could not take it keep their reason.
    sealed class FilterInstall
    {
        public string Id, Version, Vib;
        public Compute Cluster;
        public readonly SortedDictionary<string, string> Failed = new SortedDictionary<string, string>(StringComparer.OrdinalIgnoreCase);
    }

    sealed partial class Vm
    {
        public string PolicyId;
    }

    sealed partial class Disk
    {
        public string PolicyId;
    }

    static partial class Sim
    {
        public static readonly List<StoragePolicy> Policies = new List<StoragePolicy>();
        public static readonly List<FilterInstall> Filters = new List<FilterInstall>();

        public const int FilterNotInstalled = 0, FilterInstalled = 1, FilterPartial = 2;
        public const int InstallNone = 0, InstallSucceeded = 1, InstallFailed = 2;

        static void BuildPolicies(XmlElement root)
        {
            Policies.Clear(); Filters.Clear();
            var configured = All(root, "storagePolicy").ToList();
            if (configured.Count == 0)
            {
                AddPolicy("Datastore Default", null);
                AddPolicy("Gold Storage", null);
                AddPolicy("Replicated", "sim-replication");
                AddPolicy("Cached", "sim-cache");
            }
            foreach (var p in configured) AddPolicy(A(p, "name"), A(p, "filter"));
        }

        // The default policy keeps the id disk records report for disks without a policy of their own.
        public const string DefaultPolicyId = "aa6d5a82-1c88-45da-85d3-3d74b91a5bad";

        static void AddPolicy(string name, string filter)
        {
            var h = Hex(Hash("policy:" + name), 16, "");
            Policies.Add(new StoragePolicy
            {
                Name = name, Filter = string.IsNullOrEmpty(filter) ? null : filter,
                Id = name == "Datastore Default" ? DefaultPolicyId
                    : h.Substring(0, 8) + "-" + h.Substring(8, 4) + "-" + h.Substring(12, 4) + "-" + h.Substring(16, 4) + "-" + h.Substring(20)
            });
        }

        public static StoragePolicy FindPolicy(string name, string id)
        {
            if (!string.IsNullOrEmpty(id)) return Policies.FirstOrDefault(p => p.Id == id);
            return Policies.FirstOrDefault(p => p.Name == name);
        }

        public static StoragePolicy PolicyById(string id)
        {
            return id == null ? null : Policies.FirstOrDefault(p => p.Id == id);
        }

        public static Compute GetCluster(string id)
        {
            var c = FindCompute(id);
            if (c == null || !c.IsCluster) throw new SimFault("The cluster '" + id + "' was not found.");
            return c;
        }

        public static FilterInstall FindFilter(Compute cluster, string id, string version)
        {
            return Filters.FirstOrDefault(f => f.Cluster == cluster && f.Id == id && (string.IsNullOrEmpty(version) || f.Version == version));
        }

        public static Compute ComputeOf(Vm vm)
        {
            var h = FindHost(vm.Host);
            return h == null ? null : h.Compute;
        }

        // A VM uses a filter when its home or one of its disks carries a policy that puts the filter on.
        public static bool UsesFilter(Vm vm, string filter)
        {
            return new[] { vm.PolicyId }.Concat(vm.Disks.Select(d => d.PolicyId)).Select(PolicyById).Any(p => p != null && p.Filter == filter);
        }

        // A policy with a filter needs the filter on every host of the VM's cluster.
        public static void NeedFilterFor(Vm vm, StoragePolicy p)
        {
            if (p.Filter == null) return;
            var c = ComputeOf(vm);
            var f = c == null ? null : Filters.FirstOrDefault(x => x.Cluster == c && x.Id == p.Filter);
            if (f == null || f.Failed.ContainsKey(vm.Host))
                throw new SimFault("The IO filter '" + p.Filter + "' required by the storage policy '" + p.Name + "' is not installed on host '" + vm.Host + "'.");
        }
    }
}
