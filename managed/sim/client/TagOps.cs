#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    sealed partial class SimClient
    {
        public int GetCustomField(string vm, string host, string field, out string value)
        {
            value = null;
            var v = GetVm(vm);
            Sim.NeedField(field);
            string text;
            value = v.Fields.TryGetValue(field, out text) ? text : "";
            return 1;
        }

        public int SetCustomField(string vm, string host, string field, string value)
        {
            SetField(GetVm(vm, "Global.SetCustomField"), field, value);
            return 1;
        }

        static void SetField(Vm v, string field, string value)
        {
            Sim.NeedField(field);
            if (string.IsNullOrEmpty(value)) v.Fields.Remove(field);
            else v.Fields[field] = value;
        }

        public int AddCustomField(string field)
        {
            Need("Global.ManageCustomFields", "vim.CustomFieldsManager:CustomFieldsManager");
            if (string.IsNullOrWhiteSpace(field)) throw new SimFault("A specified parameter was not correct: name");
            if (!Sim.CustomFields.Contains(field)) Sim.CustomFields.Add(field);
            return 1;
        }

        public int SetLastBackupCustomField(string vm, string value)
        {
            var v = GetVm(vm, "Global.SetCustomField");
            if (!Sim.CustomFields.Contains(Sim.LastBackupField)) Sim.CustomFields.Add(Sim.LastBackupField);
            SetField(v, Sim.LastBackupField, value);
            return 1;
        }

        public int SetBackupStatusCustomField(string vm, string host, string status, string job, string detail, ulong first, ulong second)
        {
            var v = GetVm(vm, "Global.SetCustomField");
            if (string.IsNullOrEmpty(status)) throw new SimFault("A specified parameter was not correct: status");
            if (!Sim.CustomFields.Contains(Sim.BackupStatusField)) Sim.CustomFields.Add(Sim.BackupStatusField);
            SetField(v, Sim.BackupStatusField, ManagementRules.StatusText(status, job, detail, first, second));
            return 1;
        }

        public List<SVMInfoLib> GetVMInfoListForTag(string tag, string category, ulong mask, int flags)
        {
            Auth();
            var t = Sim.FindTag(tag, category);
            if (t == null) throw new SimFault("The tag '" + tag + "' was not found.");
            return Sim.Vms.Where(v => v.Tags.Contains(t)).Select(v => Sim.VmRecord(v, mask)).ToList();
        }

        public List<SVMInfoLib> GetVMInfoListForCategory(string category, string tag, ulong mask, int flags)
        {
            Auth();
            var cat = Sim.FindCategory(category);
            if (cat == null) throw new SimFault("The tag category '" + category + "' was not found.");
            return Sim.Vms.Where(v => v.Tags.Any(t => t.Category == cat && (string.IsNullOrEmpty(tag) || t.Name == tag)))
                .Select(v => Sim.VmRecord(v, mask)).ToList();
        }

        public List<SInventoryInfoLib> GetTagsForVM(string vm)
        {
            return GetVm(vm).Tags.Select(Sim.TagRecord).ToList();
        }

        public bool AttachTagsToVM(string vm, List<SInventoryInfoLib> tags)
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
        }

        public bool SetConfigValues(string vm, string host, List<SVMOptionValueLib> values)
        {
            var v = GetVm(vm, "VirtualMachine.Config.AdvancedConfig");
            var given = values ?? new List<SVMOptionValueLib>();
            if (given.Any(o => !ManagementRules.ValidOptionKey(o.key))) throw new SimFault("A specified parameter was not correct: extraConfig");
            foreach (var o in given) SetOption(v.ExtraConfig, o);
            return true;
        }

        static void SetOption(SortedDictionary<string, string> options, SVMOptionValueLib o)
        {
#if !FAULTS
            if (string.IsNullOrEmpty(o.value)) options.Remove(o.key);
            else options[o.key] = o.value;
#endif
        }

        public bool GetConfigValues(string vm, string host, out List<SVMOptionValueLib> values)
        {
            values = null;
#if !FAULTS
            values = GetVm(vm).ExtraConfig.Select(kv => new SVMOptionValueLib { key = kv.Key, value = kv.Value }).ToList();
#endif
            return true;
        }

        public int GetHostConfigValue(string host, string key, out string value)
        {
            value = null;
            Auth();
            var h = Sim.GetHost(host);
            if (!h.Advanced.TryGetValue(key ?? "", out value)) throw new SimFault("A specified parameter was not correct: " + key);
            return 1;
        }

        public int SetHostConfigValue(string host, string key, string value)
        {
            Auth();
            var h = Sim.GetHost(host);
            Need("Host.Config.AdvancedConfig", "vim.HostSystem:" + h.Moref);
            if (!h.Advanced.ContainsKey(key ?? "") && !ManagementRules.ValidOptionKey(key)) throw new SimFault("A specified parameter was not correct: " + key);
            h.Advanced[key] = value ?? "";
            return 1;
        }
    }
}
#endif
