#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        // #3 the field's name; #4 receives its value on the VM ("" when never set).
        public object GetCustomField(string vm, string host, string field, out string value)
        {
            value = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, field, null);
            if (c != null) { c.Out(3, ref value); return c.Result<int>(); }
            string found = null;
            var r = Int(() =>
            {
                var v = GetVm(vm);
                Sim.NeedField(field);
                string text;
                found = v.Fields.TryGetValue(field, out text) ? text : "";
                return 1;
            });
            value = found;
            return r;
        }

        public object SetCustomField(string vm, string host, string field, string value)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, field, value);
            if (c != null) return c.Result<int>();
            return Int(() => { SetField(GetVm(vm, "Global.SetCustomField"), field, value); return 1; });
        }

        static void SetField(Vm v, string field, string value)
        {
            Sim.NeedField(field);
            if (string.IsNullOrEmpty(value)) v.Fields.Remove(field);
            else v.Fields[field] = value;
        }

        // Defining a field that exists already succeeds: a backup engine defines its fields before every run.
        public object AddCustomField(string field)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), field);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                Need("Global.ManageCustomFields", "vim.CustomFieldsManager:CustomFieldsManager");
                if (string.IsNullOrWhiteSpace(field)) throw new SimFault("A specified parameter was not correct: name");
                if (!Sim.CustomFields.Contains(field)) Sim.CustomFields.Add(field);
                return 1;
            });
        }

        public object SetLastBackupCustomField(string vm, string value)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, value);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                var v = GetVm(vm, "Global.SetCustomField");
                if (!Sim.CustomFields.Contains(Sim.LastBackupField)) Sim.CustomFields.Add(Sim.LastBackupField);
                SetField(v, Sim.LastBackupField, value);
                return 1;
            });
        }

        // #3 status, #4 job, #5 detail, #6 and #7 the run's two counters, all written into one field value.
        public object SetBackupStatusCustomField(string vm, string host, string status, string job, string detail, ulong first, ulong second)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, status, job, detail, first, second);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                var v = GetVm(vm, "Global.SetCustomField");
                if (string.IsNullOrEmpty(status)) throw new SimFault("A specified parameter was not correct: status");
                if (!Sim.CustomFields.Contains(Sim.BackupStatusField)) Sim.CustomFields.Add(Sim.BackupStatusField);
                SetField(v, Sim.BackupStatusField, Sim.BackupStatusText(status, job, detail, first, second));
                return 1;
            });
        }

        // #1 a tag's name or id, #2 its category (empty: any).
        public object GetVMInfoListForTag(string tag, string category, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), tag, category, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() =>
            {
                Auth();
                var t = Sim.FindTag(tag, category);
                if (t == null) throw new SimFault("The tag '" + tag + "' was not found.");
                return Sim.Vms.Where(v => v.Tags.Contains(t)).Select(v => Sim.VmRecord(v, mask)).ToList();
            });
        }

        // #1 a category's name or id, #2 a tag name within it (empty: any of its tags).
        public object GetVMInfoListForCategory(string category, string tag, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), category, tag, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() =>
            {
                Auth();
                var cat = Sim.FindCategory(category);
                if (cat == null) throw new SimFault("The tag category '" + category + "' was not found.");
                return Sim.Vms.Where(v => v.Tags.Any(t => t.Category == cat && (string.IsNullOrEmpty(tag) || t.Name == tag)))
                    .Select(v => Sim.VmRecord(v, mask)).ToList();
            });
        }

        // Each tag as a node whose one child is its category.
        public object GetTagsForVM(string vm)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm);
            if (c != null) return c.Result<object>();
            return Obj(() => GetVm(vm).Tags.Select(Sim.TagRecord).ToList());
        }

        // Tags by "strGUID", else by "strName" within the category named by the first child; all or none are attached.
        public object AttachTagsToVM(string vm, List<SInventoryInfoLib> tags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, tags);
            if (c != null) return c.Result<object>();
            return Bool(() =>
            {
                var v = GetVm(vm, "InventoryService.Tagging.AttachTag");
                var found = new List<Tag>();
                foreach (var node in tags ?? new List<SInventoryInfoLib>())
                {
                    var category = node.children != null && node.children.Count > 0 ? node.children[0].strName : "";
                    var t = Sim.FindTag(string.IsNullOrEmpty(node.strGUID) ? node.strName : node.strGUID, category)
                        ?? Sim.FindTag(node.strName ?? "", category);
                    if (t == null) throw new SimFault("The tag '" + (node.strName ?? node.strGUID) + "' was not found.");
                    found.Add(t);
                }
                foreach (var t in found.Where(t => !v.Tags.Contains(t))) v.Tags.Add(t);
                return true;
            });
        }

        // An empty value removes the key.
        public object SetConfigValues(string vm, string host, List<SVMOptionValueLib> values)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, values);
            if (c != null) return c.Result<bool>();
            return Bool(() =>
            {
                var v = GetVm(vm, "VirtualMachine.Config.AdvancedConfig");
                var given = values ?? new List<SVMOptionValueLib>();
                if (given.Any(o => !Sim.ValidOptionKey(o.key))) throw new SimFault("A specified parameter was not correct: extraConfig");
                foreach (var o in given) SetOption(v.ExtraConfig, o);
                return true;
            });
        }

        static void SetOption(SortedDictionary<string, string> options, SVMOptionValueLib o)
        {
#if !FAULTS
            if (string.IsNullOrEmpty(o.value)) options.Remove(o.key);
            else options[o.key] = o.value;
#endif
        }

        public object GetConfigValues(string vm, string host, out List<SVMOptionValueLib> values)
        {
            values = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null);
            if (c != null) { c.Out(2, ref values); return c.Result<bool>(); }
            List<SVMOptionValueLib> found = null;
            var r = Bool(() =>
            {
#if !FAULTS
                found = GetVm(vm).ExtraConfig.Select(kv => new SVMOptionValueLib { key = kv.Key, value = kv.Value }).ToList();
#endif
                return true;
            });
            values = found;
            return r;
        }

        public object GetHostConfigValue(string host, string key, out string value)
        {
            value = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, key, null);
            if (c != null) { c.Out(2, ref value); return c.Result<int>(); }
            string found = null;
            var r = Int(() =>
            {
                Auth();
                var h = Sim.GetHost(host);
                if (!h.Advanced.TryGetValue(key ?? "", out found)) throw new SimFault("A specified parameter was not correct: " + key);
                return 1;
            });
            value = found;
            return r;
        }

        // Known options change; a new one must look like "Group.Name".
        public object SetHostConfigValue(string host, string key, string value)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, key, value);
            if (c != null) return c.Result<int>();
            return Int(() =>
            {
                Auth();
                var h = Sim.GetHost(host);
                Need("Host.Config.AdvancedConfig", "vim.HostSystem:" + h.Moref);
                if (!h.Advanced.ContainsKey(key ?? "") && !Sim.ValidOptionKey(key)) throw new SimFault("A specified parameter was not correct: " + key);
                h.Advanced[key] = value ?? "";
                return 1;
            });
        }
    }
}
#endif
