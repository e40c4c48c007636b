#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // IO filters on a cluster through the IO filter manager: what is installed (QueryIoFilterInfo), the hosts' issues
    // (QueryIoFilterIssues), the disks using one (QueryDisksUsingFilter), and the install, upgrade and uninstall tasks.
    sealed partial class VimClient
    {
        // The status codes of SIOFilterResultLib, as the simulator gives them.
        const int FilterNotInstalled = 0, FilterInstalled = 1, FilterPartial = 2;
        const int InstallNone = 0, InstallSucceeded = 1, InstallFailed = 2;

        sealed class FilterScope
        {
            public InventoryRead Inventory;
            public ObjectContent Cluster;
            public string Name { get { return Cluster.Str("name"); } }
        }

        FilterScope FilterCluster(string cluster)
        {
            var inv = ReadInventory(InventoryRead.Places());
            return new FilterScope { Inventory = inv, Cluster = inv.Cluster(cluster) };
        }

        SoapRequest FilterRequest(string method, FilterScope scope, string filter = null)
        {
            return new SoapRequest(method, Content("ioFilterManager")).Add("filterId", filter).Ref("compRes", scope.Cluster.Obj);
        }

        // The filter as installed on the cluster (a version that must match, empty: any); null when it is not.
        VimNode InstalledFilter(FilterScope scope, string filter, string version)
        {
            return Invoke(FilterRequest("QueryIoFilterInfo", scope)).All("returnval")
                .FirstOrDefault(f => f.Str("id") == filter && (string.IsNullOrEmpty(version) || f.Str("version") == version));
        }

        VimNode NeedFilter(FilterScope scope, string filter, string version)
        {
            var found = InstalledFilter(scope, filter, version);
            if (found == null) throw new ClientFault("The IO filter '" + filter + "' is not installed on cluster '" + scope.Name + "'.");
            return found;
        }

        // Each host's problems with the filter, by host; hosts without any are left out.
        Dictionary<MoRef, List<string>> FilterIssues(FilterScope scope, string filter)
        {
            var issues = new Dictionary<MoRef, List<string>>();
            foreach (var host in Invoke(FilterRequest("QueryIoFilterIssues", scope, filter))["returnval"].All("hostIssue"))
            {
                var texts = host.All("issue").Select(i => FaultText.Of(i["fault"].Type ?? "", i.Str("localizedMessage"), i["fault"], "the IO filter")).ToList();
                var h = host.Ref("host");
                if (h != null && texts.Count > 0) issues[h] = texts;
            }
            return issues;
        }

        // The VMs with a disk that uses the filter.
        List<MoRef> FilterUsers(FilterScope scope, string filter)
        {
            return Invoke(FilterRequest("QueryDisksUsingFilter", scope, filter)).All("returnval").Select(d => d.Ref("vm")).Where(v => v != null).Distinct().ToList();
        }

        // A new filter is installed, another version of one upgrades it; false when some host could not take it (the
        // hosts' issues are the call's notice).
        public bool InstallIOFilter(string cluster, string filter, string version, string vibUrl, string datacenter)
        {
            var scope = FilterCluster(cluster);
            if (!string.IsNullOrEmpty(datacenter))
            {
                var dc = scope.Inventory.DatacenterOf(scope.Cluster.Obj);
                if (dc == null || (dc.Str("name") != datacenter && dc.Obj.Value != datacenter))
                    throw new ClientFault("The cluster '" + cluster + "' is not in datacenter '" + datacenter + "'.");
            }
            ManagementRules.CheckFilterInstall(filter, version, vibUrl);
            var old = InstalledFilter(scope, filter, null);
            if (old != null && old.Str("version") == version && FilterIssues(scope, filter).Count == 0)
                throw new ClientFault("The IO filter '" + filter + "' version " + version + " is already installed on cluster '" + scope.Name + "'.");
            RunTask(old == null
                ? new SoapRequest("InstallIoFilter_Task", Content("ioFilterManager")).Add("vibUrl", vibUrl).Ref("compRes", scope.Cluster.Obj)
                : FilterRequest("UpgradeIoFilter_Task", scope, filter).Add("vibUrl", vibUrl));
            var issues = FilterIssues(scope, filter);
            if (issues.Count > 0)
                pendingNotice = string.Join(" ", issues.Select(i => scope.Inventory.Name(i.Key) + ": " + string.Join(" ", i.Value)));
            return issues.Count == 0;
        }

        // A filter that VMs still use stays.
        public bool UninstallIOFilter(string cluster, string filter, string version)
        {
            var scope = FilterCluster(cluster);
            NeedFilter(scope, filter, version);
            var users = FilterUsers(scope, filter);
            if (users.Count > 0)
                throw new ClientFault("The IO filter '" + filter + "' is in use by: " + string.Join(", ", RetrieveMany(users, "VirtualMachine", "name").Select(v => v.Str("name"))) + ".");
            RunTask(FilterRequest("UninstallIoFilter_Task", scope, filter));
            return true;
        }

        // Fills `result`, an SIOFilterResultLib passed as the object itself: the filter's state and every host's issues.
        public bool GetIOFilterStatus(string cluster, string filter, string version, object result)
        {
            var scope = FilterCluster(cluster);
            var installed = InstalledFilter(scope, filter, version);
            var issues = installed == null ? new Dictionary<MoRef, List<string>>() : FilterIssues(scope, filter);
            bool whole = installed != null && issues.Count == 0;
            var status = new SIOFilterResultLib
            {
                strId = filter, strVersion = installed == null ? "" : installed.Str("version"),
                eFilterState = installed == null ? FilterNotInstalled : whole ? FilterInstalled : FilterPartial,
                eFilterInstallStatus = installed == null ? InstallNone : whole ? InstallSucceeded : InstallFailed,
                hostStatusList = InventoryRead.Refs(scope.Cluster, "host").Select(h =>
                {
                    List<string> errors;
                    if (installed == null) errors = new List<string> { "The IO filter '" + filter + "' is not installed." };
                    else if (!issues.TryGetValue(h, out errors)) errors = new List<string>();
                    return new SIOFilterHostResultLib { host = scope.Inventory.Name(h), errStrList = errors };
                }).ToList()
            };
            if (result != null)
                foreach (var field in typeof(SIOFilterResultLib).GetFields()) field.SetValue(result, field.GetValue(status));
            return whole;
        }

        public List<SVMInfoLib> GetIOFilterAttachedVMList(string cluster, string filter)
        {
            var scope = FilterCluster(cluster);
            NeedFilter(scope, filter, null);
            var users = FilterUsers(scope, filter);
            return users.Count == 0 ? new List<SVMInfoLib>() : Records(ReadVms(users, PathsFor(0), filter), 0);
        }
    }
}
#endif
