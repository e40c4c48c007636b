#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;

namespace VISDKWrapper
{
    // Custom fields (the custom fields manager's definitions, the VM's customValue), the VM's configuration values
    // (config.extraConfig) and a host's advanced options (its option manager).
    sealed partial class VimClient
    {
        // The VM's values and the field definitions, read in one request.
        sealed class FieldState
        {
            public MoRef Vm;
            public List<VimNode> Definitions;
            public List<VimNode> Values;

            // A definition for VMs (or for every type) by name; null when none.
            public VimNode Definition(string name)
            {
                return Definitions.FirstOrDefault(f => f.Str("name") == name && (f.Str("managedObjectType") == "" || f.Str("managedObjectType") == "VirtualMachine"));
            }

            public VimNode Need(string name)
            {
                var found = Definition(name);
                if (found == null) throw new ClientFault("The custom field '" + name + "' is not defined.");
                return found;
            }
        }

        FieldState Fields(string vm)
        {
            var target = Vm(vm);
            var manager = Content("customFieldsManager");
            var found = Run(new Retrieval().Props("CustomFieldsManager", new[] { "field" }).Object(manager)
                .Props("VirtualMachine", new[] { "customValue" }).Object(target));
            Func<MoRef, string, List<VimNode>> kids = (obj, path) => found.Where(o => o.Obj.Equals(obj)).SelectMany(o => o[path].Kids).ToList();
            return new FieldState { Vm = target, Definitions = kids(manager, "field"), Values = kids(target, "customValue") };
        }

        public int GetCustomField(string vm, string host, string field, out string value)
        {
            value = null;
            var state = Fields(vm);
            var key = state.Need(field).Str("key");
            // A server that appends values rather than replacing them (the test endpoint) holds the newest last.
            var last = state.Values.LastOrDefault(v => v.Str("key") == key);
            value = last == null ? "" : last.Str("value");
            return 1;
        }

        public int SetCustomField(string vm, string host, string field, string value)
        {
            var state = Fields(vm);
            SetField(state.Vm, state.Need(field), value);
            return 1;
        }

        void SetField(MoRef vm, VimNode definition, string value)
        {
            Invoke(new SoapRequest("SetField", Content("customFieldsManager")).Ref("entity", vm).Add("key", definition.Str("key")).Add("value", value ?? ""));
        }

        // Defining a field that exists already succeeds.
        public int AddCustomField(string field)
        {
            Auth();
            if (string.IsNullOrWhiteSpace(field)) throw new ClientFault("A specified parameter was not correct: name");
            Define(field);
            return 1;
        }

        // The new definition; null when the server has one of that name already.
        VimNode Define(string field)
        {
            try
            {
                return Invoke(new SoapRequest("AddCustomFieldDef", Content("customFieldsManager")).Add("name", field).Add("moType", "VirtualMachine"))["returnval"];
            }
            catch (VimFault f) when (f.FaultType == "DuplicateName") { return null; }
        }

        public int SetLastBackupCustomField(string vm, string value)
        {
            SetBackupField(Fields(vm), ManagementRules.LastBackup, value);
            return 1;
        }

        public int SetBackupStatusCustomField(string vm, string host, string status, string job, string detail, ulong first, ulong second)
        {
            var state = Fields(vm);
            if (string.IsNullOrEmpty(status)) throw new ClientFault("A specified parameter was not correct: status");
            SetBackupField(state, ManagementRules.BackupStatus, ManagementRules.StatusText(status, job, detail, first, second));
            return 1;
        }

        // The backup fields are defined on first use.
        void SetBackupField(FieldState state, string field, string value)
        {
            var definition = state.Definition(field) ?? Define(field) ?? Fields(state.Vm.Value).Need(field);
            SetField(state.Vm, definition, value);
        }

        public bool GetConfigValues(string vm, string host, out List<SVMOptionValueLib> values)
        {
            values = null;
            var target = Vm(vm);
            var extra = Retrieve(target, "config.extraConfig")["config.extraConfig"];
#if !FAULTS
            // Keys in the server's order; a key given again (the test endpoint appends) keeps its last value, and an
            // empty value means the key was removed.
            var last = new Dictionary<string, string>(StringComparer.Ordinal);
            var order = new List<string>();
            foreach (var option in extra.Kids)
            {
                var key = option.Str("key");
                if (!last.ContainsKey(key)) order.Add(key);
                last[key] = option.Str("value");
            }
            values = order.Where(k => last[k] != "").Select(k => new SVMOptionValueLib { key = k, value = last[k] }).ToList();
#endif
            return true;
        }

        // An empty value removes the key.
        public bool SetConfigValues(string vm, string host, List<SVMOptionValueLib> values)
        {
            var target = Vm(vm);
            var given = values ?? new List<SVMOptionValueLib>();
            if (given.Any(o => !ManagementRules.ValidOptionKey(o.key))) throw new ClientFault("A specified parameter was not correct: extraConfig");
            var change = new ConfigChange();
#if !FAULTS
            foreach (var o in given) change.Extra(o.key, o.value ?? "");
#endif
            if (!change.Empty) Reconfigure(target, change);
            return true;
        }

        public int GetHostConfigValue(string host, string key, out string value)
        {
            value = null;
            var option = HostOption(OptionManagerOf(host), key);
            if (option == null) throw new ClientFault("A specified parameter was not correct: " + key);
            value = option.Str("value");
            return 1;
        }

        // A known option keeps the type of its value; a new one, named like "Group.Name", is a string.
        public int SetHostConfigValue(string host, string key, string value)
        {
            var manager = OptionManagerOf(host);
            var option = HostOption(manager, key);
            if (option == null && !ManagementRules.ValidOptionKey(key)) throw new ClientFault("A specified parameter was not correct: " + key);
            var type = option == null ? "string" : option["value"].Type ?? "string";
            Invoke(new SoapRequest("UpdateOptions", manager)
                .Begin("changedValue", "OptionValue").Add("key", key).Typed("value", "xsd:" + type, TypedText(type, value ?? "")).End());
            return 1;
        }

        // The text of a value of that xsd type: numbers and truth values as the server writes them.
        static string TypedText(string type, string value)
        {
            switch (type)
            {
                case "boolean":
                    var v = value.Trim().ToLowerInvariant();
                    return v == "1" || v == "true" ? "true" : v == "0" || v == "false" ? "false" : value;
                case "int":
                case "long":
                case "short":
                    long n;
                    return long.TryParse(value.Trim(), NumberStyles.Integer, CultureInfo.InvariantCulture, out n) ? n.ToString(CultureInfo.InvariantCulture) : value;
                default:
                    return value;
            }
        }

        MoRef OptionManagerOf(string host)
        {
            var h = RequireObject("HostSystem", host, "host", "configManager.advancedOption");
            var manager = h["configManager.advancedOption"].AsRef();
            if (manager == null) throw new ClientFault("The host '" + h.Str("name") + "' offers no advanced options.");
            return manager;
        }

        // The option of exactly that key; null when the host has none. A host answers a name with the options below
        // it too (or, the test endpoint, every option it starts with).
        VimNode HostOption(MoRef manager, string key)
        {
            if (string.IsNullOrEmpty(key)) return null;
            try
            {
                return Invoke(new SoapRequest("QueryOptions", manager).Add("name", key)).All("returnval").FirstOrDefault(o => o.Str("key") == key);
            }
            catch (VimFault f) when (f.FaultType == "InvalidName") { return null; }
        }
    }
}
#endif
