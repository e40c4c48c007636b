#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // Storage policies through a vCenter's policy service (SOAP, urn:pbm at /pbm, in the vCenter session: its cookie
    // goes in the SOAP header as vcSessionCookie and over HTTP), attached and detached by reconfiguring the VM.
    sealed partial class VimClient
    {
        VimNode pbmContent;

        SoapRequest Pbm(string method, MoRef target)
        {
            Auth();
            if (!IsVCenter) throw new ClientFault("The server offers no storage policy service: policies are kept by a vCenter.");
            var cookie = soap.SessionCookie;
            return new SoapRequest(method, target, "urn:pbm", "/pbm", cookie == null ? null : cookie.Value.Trim('"'));
        }

        MoRef PbmObject(string name)
        {
            if (pbmContent == null)
                pbmContent = Invoke(Pbm("PbmRetrieveServiceContent", new MoRef("PbmServiceInstance", "ServiceInstance")))["returnval"];
            var r = pbmContent.Ref(name);
            if (r == null) throw new ClientFault("The storage policy service offers no " + name);
            return r;
        }

        sealed class Policy
        {
            public string Id, Name;
        }

        // The policies of those ids as the service holds them; one unknown id alone gives none.
        List<Policy> PoliciesOf(IEnumerable<string> ids)
        {
            var list = ids.Where(id => !string.IsNullOrEmpty(id)).Distinct().ToList();
            if (list.Count == 0) return new List<Policy>();
            var request = Pbm("PbmRetrieveContent", PbmObject("profileManager"));
            foreach (var id in list) request.Begin("profileIds").Add("uniqueId", id).End();
            try
            {
                return Invoke(request).All("returnval").Select(p => new Policy { Id = p.At("profileId.uniqueId").Text, Name = p.Str("name") }).ToList();
            }
            catch (VimFault f) when (f.FaultType == "InvalidArgument" && list.Count == 1) { return new List<Policy>(); }
        }

        // By id when one is given, else by name among the VMs' storage policies.
        Policy FindPolicy(string name, string id)
        {
            if (!string.IsNullOrEmpty(id)) return PoliciesOf(new[] { id }).FirstOrDefault(p => p.Id == id);
            if (string.IsNullOrEmpty(name)) return null;
            var ids = Invoke(Pbm("PbmQueryProfile", PbmObject("profileManager")).Begin("resourceType").Add("resourceType", "STORAGE").End()
                .Add("profileCategory", "REQUIREMENT")).All("returnval").Select(p => p.Str("uniqueId"));
            return PoliciesOf(ids).FirstOrDefault(p => p.Name == name);
        }

        Policy NeedPolicy(string name, string id)
        {
            var found = FindPolicy(name, id);
            if (found == null) throw new ClientFault("The storage policy '" + (string.IsNullOrEmpty(id) ? name : id) + "' was not found.");
            return found;
        }

        // The policy service's names for a VM's home and its disks.
        static string HomeKey(MoRef vm) { return vm.Value; }
        static string DiskKey(MoRef vm, VimNode disk) { return vm.Value + ":" + disk.Str("key"); }

        // The policy ids associated with the VM's home and the disks, by entity key: one request, or one per entity
        // where the service lacks the bulk query (the test endpoint).
        Dictionary<string, List<string>> Associations(MoRef vm, IEnumerable<VimNode> disks)
        {
            var entities = new List<KeyValuePair<string, string>> { new KeyValuePair<string, string>("virtualMachine", HomeKey(vm)) };
            entities.AddRange(disks.Select(d => new KeyValuePair<string, string>("virtualDiskId", DiskKey(vm, d))));
            var uuid = content.At("about.instanceUuid").Text;
            Func<SoapRequest, string, KeyValuePair<string, string>, SoapRequest> entity = (r, element, e) =>
                r.Begin(element).Add("objectType", e.Key).Add("key", e.Value).Add("serverUuid", uuid == "" ? null : uuid).End();
            var found = new Dictionary<string, List<string>>();
            try
            {
                var request = Pbm("PbmQueryAssociatedProfiles", PbmObject("profileManager"));
                foreach (var e in entities) entity(request, "entities", e);
                foreach (var result in Invoke(request).All("returnval"))
                    found[result.At("object.key").Text] = result.All("profileId").Select(p => p.Str("uniqueId")).ToList();
            }
            catch (VimFault f) when (f.FaultType == "MethodNotFound" || f.FaultType == "NotImplemented")
            {
                foreach (var e in entities)
                    found[e.Value] = Invoke(entity(Pbm("PbmQueryAssociatedProfile", PbmObject("profileManager")), "entity", e))
                        .All("returnval").Select(p => p.Str("uniqueId")).ToList();
            }
            return found;
        }

        // The virtual disks among the VM's devices, as the server sent them.
        List<VimNode> VirtualDisks(ObjectContent vm)
        {
            return vm[DevicesPath].Kids.Where(d => d.Type == "VirtualDisk").ToList();
        }

        // A disk record's device: by key, UUID, file or label, as the simulator matches them.
        static VimNode MatchDisk(List<VimNode> disks, SDiskLib d)
        {
            return disks.FirstOrDefault(x => d.nDeviceKey != 0 && x.Int("key") == d.nDeviceKey)
                ?? disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strUUID) && string.Equals(x["backing"].Str("uuid"), d.strUUID, StringComparison.OrdinalIgnoreCase))
                ?? disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strFileName) && x["backing"].Str("fileName") == d.strFileName)
                ?? disks.FirstOrDefault(x => !string.IsNullOrEmpty(d.strLabel) && x.At("deviceInfo.label").Text == d.strLabel);
        }

        static VimNode NeedDisk(List<VimNode> disks, SDiskLib d)
        {
            var found = MatchDisk(disks, d);
            if (found == null) throw new ClientFault("A specified parameter was not correct: deviceKey (" + (d.nDeviceKey != 0 ? d.nDeviceKey.ToString() : d.strFileName ?? d.strLabel) + ")");
            return found;
        }

        // The home's policy (none: empty texts) and each disk's; an empty list asks for every disk of the VM.
        public bool GetVMStoragePolicies(string vm, string host, out string policyName, out string policyId, ref List<SDiskLib> disks)
        {
            policyName = null; policyId = null;
            var target = Vm(vm);
            var read = ReadVms(new[] { target }, PathsFor(Mask.DiskList), vm);
            var devices = VirtualDisks(read[0]);
            var wanted = disks == null || disks.Count == 0 ? Records(read, Mask.DiskList)[0].diskList ?? new List<SDiskLib>() : disks;
            var matched = wanted.Select(d => NeedDisk(devices, d)).ToList();
            var associated = Associations(target, matched);
            var names = PoliciesOf(associated.Values.SelectMany(ids => ids)).ToDictionary(p => p.Id, p => p.Name);
            Func<string, Policy> policyOf = key =>
            {
                List<string> ids;
                var id = associated.TryGetValue(key, out ids) ? ids.FirstOrDefault() : null;
                string name;
                return id == null ? new Policy { Id = "", Name = "" } : new Policy { Id = id, Name = names.TryGetValue(id, out name) ? name : "" };
            };
            var home = policyOf(HomeKey(target));
            var filled = new List<SDiskLib>();
            for (int i = 0; i < wanted.Count; i++)
            {
                var copy = wanted[i];
                var p = policyOf(DiskKey(target, matched[i]));
                copy.vmStoragePolicyName = p.Name;
                copy.vmStoragePolicyId = p.Id;
                filled.Add(copy);
            }
            policyName = home.Name;
            policyId = home.Id;
            disks = filled;
            return true;
        }

        public bool AttachVMStoragePolicyToVMAndDisks(string vm, string host, string policyName, string policyId, List<SDiskLib> disks)
        {
            AttachPolicy(vm, policyName, policyId, disks ?? new List<SDiskLib>());
            return true;
        }

        public bool AttachVMStoragePolicyToVM(string vm, string host, string policyName, string policyId)
        {
            AttachPolicy(vm, policyName, policyId, null);
            return true;
        }

        // The home and the given disks (null: every disk) get the policy.
        void AttachPolicy(string vm, string name, string id, List<SDiskLib> disks)
        {
            var target = Vm(vm);
            var policy = NeedPolicy(name, id);
            var devices = VirtualDisks(Retrieve(target, DevicesPath));
            var targets = disks == null ? devices : disks.Select(d => NeedDisk(devices, d)).Distinct().ToList();
            Reconfigure(target, ProfileChange(policy.Id, true, targets));
        }

        // Detaches the named policy (empty names: any) from the home and every disk that has it.
        public bool DetachVMStoragePolicyFromVM(string vm, string host, string policyName, string policyId)
        {
            var target = Vm(vm);
            var any = string.IsNullOrEmpty(policyName) && string.IsNullOrEmpty(policyId);
            var policy = any ? null : NeedPolicy(policyName, policyId);
            var read = Retrieve(target, "name", DevicesPath);
            var devices = VirtualDisks(read);
            var associated = Associations(target, devices);
            Func<string, bool> has = key => { List<string> ids; return associated.TryGetValue(key, out ids) && ids.Any(x => any || x == policy.Id); };
            var home = has(HomeKey(target));
            var disks = devices.Where(d => has(DiskKey(target, d))).ToList();
            if (!home && disks.Count == 0)
                throw new ClientFault("The storage policy '" + (any ? "" : policy.Name) + "' is not attached to '" + read.Str("name") + "'.");
            Reconfigure(target, ProfileChange(null, home, disks));
            return true;
        }

        // The home (when asked) and the disks get the policy, or none when the id is null.
        static ConfigChange ProfileChange(string policyId, bool home, IEnumerable<VimNode> disks)
        {
            Action<SoapRequest, string> profile = (r, element) =>
            {
                if (policyId == null) r.Begin(element, "VirtualMachineEmptyProfileSpec").End();
                else r.Begin(element, "VirtualMachineDefinedProfileSpec").Add("profileId", policyId).End();
            };
            var change = new ConfigChange();
            if (home) change.Set("vmProfile", r => profile(r, "vmProfile"));
            foreach (var disk in disks)
                change.Set("deviceChange", r =>
                {
                    r.Begin("deviceChange").Add("operation", "edit").Node("device", disk);
                    profile(r, "profile");
                    r.End();
                });
            return change;
        }

        // The datastores (named; none: all) where the policy's requirements can be met, asked of the placement solver.
        public List<SDatastoreInfoLib> GetCompatibleDatastoresForStoragePolicy(string policy, List<string> datastores)
        {
            Auth();
            if (string.IsNullOrEmpty(policy)) throw new ClientFault("A specified parameter was not correct: profileId");
            var p = (UuidForm.IsMatch(policy) ? FindPolicy(null, policy) : null) ?? NeedPolicy(policy, null);
            var inv = ReadInventory(new Kinds().Add("HostSystem", "name", "datastore").Add("Datastore", InventoryRead.DatastorePaths(0)));
            var pool = inv.Of("Datastore").Where(d => datastores == null || datastores.Count == 0 || datastores.Contains(d.Str("name"))).Select(d => d.Obj).ToList();
            if (pool.Count == 0) return new List<SDatastoreInfoLib>();
            var request = Pbm("PbmCheckRequirements", PbmObject("placementSolver"));
            foreach (var d in pool) request.Begin("hubsToSearch").Add("hubType", "Datastore").Add("hubId", d.Value).End();
            request.Begin("placementSubjectRequirement", "PbmPlacementCapabilityProfileRequirement").Begin("profileId").Add("uniqueId", p.Id).End().End();
            var compatible = new HashSet<string>(Invoke(request).All("returnval").Where(r => !r["error"].Present && r.At("hub.hubType").Text == "Datastore")
                .Select(r => r.At("hub.hubId").Text));
            var chosen = pool.Where(d => compatible.Contains(d.Value)).ToList();
            inv.PrepareDatastores(chosen, 0);
            return chosen.Select(d => inv.DatastoreRecord(d, 0)).ToList();
        }
    }
}
#endif
