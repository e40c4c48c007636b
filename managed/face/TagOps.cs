#if !NOCLASS && !EMPTY
using System.Collections.Generic;
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
            var r = Int(() => client.GetCustomField(vm, host, field, out found));
            value = found;
            return r;
        }

        public object SetCustomField(string vm, string host, string field, string value)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, field, value);
            if (c != null) return c.Result<int>();
            return Int(() => client.SetCustomField(vm, host, field, value));
        }

        // Defining a field that exists already succeeds: a backup engine defines its fields before every run.
        public object AddCustomField(string field)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), field);
            if (c != null) return c.Result<int>();
            return Int(() => client.AddCustomField(field));
        }

        public object SetLastBackupCustomField(string vm, string value)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, value);
            if (c != null) return c.Result<int>();
            return Int(() => client.SetLastBackupCustomField(vm, value));
        }

        // #3 status, #4 job, #5 detail, #6 and #7 the run's two counters, all written into one field value.
        public object SetBackupStatusCustomField(string vm, string host, string status, string job, string detail, ulong first, ulong second)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, status, job, detail, first, second);
            if (c != null) return c.Result<int>();
            return Int(() => client.SetBackupStatusCustomField(vm, host, status, job, detail, first, second));
        }

        // #1 a tag's name or id, #2 its category (empty: any).
        public object GetVMInfoListForTag(string tag, string category, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), tag, category, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetVMInfoListForTag(tag, category, mask, flags));
        }

        // #1 a category's name or id, #2 a tag name within it (empty: any of its tags).
        public object GetVMInfoListForCategory(string category, string tag, ulong mask, int flags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), category, tag, mask, flags);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetVMInfoListForCategory(category, tag, mask, flags));
        }

        // Each tag as a node whose one child is its category.
        public object GetTagsForVM(string vm)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm);
            if (c != null) return c.Result<object>();
            return Obj(() => client.GetTagsForVM(vm));
        }

        // Tags by "strGUID", else by "strName" within the category named by the first child; all or none are attached.
        public object AttachTagsToVM(string vm, List<SInventoryInfoLib> tags)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, tags);
            if (c != null) return c.Result<object>();
            return Bool(() => client.AttachTagsToVM(vm, tags));
        }

        // An empty value removes the key.
        public object SetConfigValues(string vm, string host, List<SVMOptionValueLib> values)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, values);
            if (c != null) return c.Result<bool>();
            return Bool(() => client.SetConfigValues(vm, host, values));
        }

        public object GetConfigValues(string vm, string host, out List<SVMOptionValueLib> values)
        {
            values = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), vm, host, null);
            if (c != null) { c.Out(2, ref values); return c.Result<bool>(); }
            List<SVMOptionValueLib> found = null;
            var r = Bool(() => client.GetConfigValues(vm, host, out found));
            values = found;
            return r;
        }

        public object GetHostConfigValue(string host, string key, out string value)
        {
            value = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, key, null);
            if (c != null) { c.Out(2, ref value); return c.Result<int>(); }
            string found = null;
            var r = Int(() => client.GetHostConfigValue(host, key, out found));
            value = found;
            return r;
        }

        // Known options change; a new one must look like "Group.Name".
        public object SetHostConfigValue(string host, string key, string value)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), host, key, value);
            if (c != null) return c.Result<int>();
            return Int(() => client.SetHostConfigValue(host, key, value));
        }
    }
}
#endif
