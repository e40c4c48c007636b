#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // A VirtualMachineConfigSpec for ReconfigVM_Task: only what is set goes out, in the order the type declares its
    // properties (servers may refuse them out of order). Every reconfiguration builds one of these.
    sealed class ConfigChange
    {
        static readonly string[] Order =
        {
            "changeVersion", "name", "version", "createDate", "uuid", "instanceUuid", "npivNodeWorldWideName", "npivPortWorldWideName",
            "npivWorldWideNameType", "npivDesiredNodeWwns", "npivDesiredPortWwns", "npivTemporaryDisabled", "npivOnNonRdmDisks",
            "npivWorldWideNameOp", "locationId", "guestId", "alternateGuestName", "annotation", "files", "tools", "flags",
            "consolePreferences", "powerOpInfo", "numCPUs", "vcpuConfig", "numCoresPerSocket", "memoryMB", "memoryHotAddEnabled",
            "cpuHotAddEnabled", "cpuHotRemoveEnabled", "virtualICH7MPresent", "virtualSMCPresent", "deviceChange", "cpuAllocation",
            "memoryAllocation", "latencySensitivity", "cpuAffinity", "memoryAffinity", "networkShaper", "cpuFeatureMask", "extraConfig",
            "swapPlacement", "bootOptions", "vAppConfig", "ftInfo", "repConfig", "vAppConfigRemoved", "vAssertsEnabled",
            "changeTrackingEnabled", "firmware", "maxMksConnections", "guestAutoLockEnabled", "managedBy",
            "memoryReservationLockedToMax", "nestedHVEnabled", "vPMCEnabled", "scheduledHardwareUpgradeInfo", "vmProfile",
            "messageBusTunnelEnabled", "crypto", "migrateEncryption", "sgxInfo", "guestMonitoringModeInfo", "sevEnabled"
        };

        // VirtualDevice's own properties in order; a subtype's follow them.
        public static readonly string[] DeviceOrder = { "key", "deviceInfo", "backing", "connectable", "slotInfo", "controllerKey", "unitNumber" };

        readonly List<Action<SoapRequest>>[] parts = new List<Action<SoapRequest>>[Order.Length];

        public bool Empty { get { return parts.All(p => p == null); } }

        // A property written by the caller (a data object, a repeated element): `write` writes the whole element.
        public ConfigChange Set(string property, Action<SoapRequest> write)
        {
            int at = Array.IndexOf(Order, property);
            if (at < 0) throw new ArgumentException("VirtualMachineConfigSpec has no property " + property);
            (parts[at] ?? (parts[at] = new List<Action<SoapRequest>>())).Add(write);
            return this;
        }

        // A text property; null leaves it out, "" sends it empty (which clears an annotation, say).
        public ConfigChange Set(string property, string value)
        {
            return value == null ? this : Set(property, r => r.Add(property, value));
        }

        public ConfigChange Extra(string key, string value)
        {
            return Set("extraConfig", r => r.Begin("extraConfig").Add("key", key).Typed("value", "xsd:string", value ?? "").End());
        }

        // `fileOperation` "create" makes the files of a new disk.
        public ConfigChange AddDevice(string deviceType, Action<SoapRequest> body, string fileOperation = null)
        {
            return Set("deviceChange", r =>
            {
                r.Begin("deviceChange").Add("operation", "add").Add("fileOperation", fileOperation).Begin("device", deviceType);
                body(r);
                r.End().End();
            });
        }

        // `fileOperation` "destroy" deletes a removed disk's files.
        public ConfigChange RemoveDevice(VimNode device, string fileOperation = null)
        {
            return Set("deviceChange", r => r.Begin("deviceChange").Add("operation", "remove").Add("fileOperation", fileOperation).Node("device", device).End());
        }

        // The device as the server sent it, with one of VirtualDevice's properties written anew by `write`.
        public ConfigChange EditDevice(VimNode device, string property, Action<SoapRequest> write)
        {
            return EditDevice(device, DeviceOrder, new Dictionary<string, Action<SoapRequest>> { { property, write } });
        }

        // The device as the server sent it, with some properties written anew; `order` lists its type's properties in
        // order, VirtualDevice's first.
        public ConfigChange EditDevice(VimNode device, string[] order, IDictionary<string, Action<SoapRequest>> writes)
        {
            foreach (var property in writes.Keys)
                if (Array.IndexOf(order, property) < 0) throw new ArgumentException(device.Type + " has no property " + property);
            return Set("deviceChange", r =>
            {
                r.Begin("deviceChange").Add("operation", "edit").Begin("device", device.Type);
                var pending = writes.Keys.OrderBy(p => Array.IndexOf(order, p)).ToList();
                // Writes what is due before a property of that rank; one the order does not know comes after them all.
                Action<int> due = rank =>
                {
                    while (pending.Count > 0 && Array.IndexOf(order, pending[0]) < rank) { writes[pending[0]](r); pending.RemoveAt(0); }
                };
                foreach (var k in device.Kids)
                {
                    int at = Array.IndexOf(order, k.Name);
                    due(at < 0 ? int.MaxValue : at);
                    if (writes.ContainsKey(k.Name)) { if (pending.Remove(k.Name)) writes[k.Name](r); continue; }
                    r.Node(k);
                }
                due(int.MaxValue);
                r.End().End();
            });
        }

        // Written as the request's `spec` (ReconfigVM_Task), or under another name (CreateVM_Task's `config`).
        public SoapRequest WriteTo(SoapRequest request, string element = "spec")
        {
            request.Begin(element);
            foreach (var part in parts)
                if (part != null)
                    foreach (var write in part) write(request);
            return request.End();
        }
    }

    sealed partial class VimClient
    {
        // Applies the changes and waits for the server's reconfiguration task.
        void Reconfigure(MoRef vm, ConfigChange changes)
        {
            RunTask(changes.WriteTo(new SoapRequest("ReconfigVM_Task", vm)));
        }
    }
}
#endif
