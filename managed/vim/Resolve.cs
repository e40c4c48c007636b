#if !NOCLASS && !EMPTY
using System;
using System.Linq;
using System.Text.RegularExpressions;

namespace VISDKWrapper
{
    // Objects are named as in the simulator: by inventory name or by managed object id; a VM also by BIOS or instance UUID.
    sealed partial class VimClient
    {
        static readonly Regex UuidForm = new Regex("^[0-9a-fA-F]{8}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{4}-?[0-9a-fA-F]{12}$");
        static readonly Regex VmIdForm = new Regex("^vm-[0-9]+$");

        // The VM an argument names; empty means the VM given to SetVMFocus.
        MoRef Vm(string id)
        {
            Auth();
            if (string.IsNullOrEmpty(id)) id = focus.Vm;
            if (string.IsNullOrEmpty(id)) throw new ClientFault("A specified parameter was not correct: vm");
            if (VmIdForm.IsMatch(id))
            {
                var direct = RetrieveMany(new[] { new MoRef("VirtualMachine", id) }, "VirtualMachine", "name");
                if (direct.Count > 0) return direct[0].Obj;
            }
            if (UuidForm.IsMatch(id))
            {
                var found = FindByUuid(id, true) ?? (focus.InstanceUuid ? null : FindByUuid(id, false));
                if (found != null) return found;
            }
            var named = RetrieveAll("VirtualMachine", "name").FirstOrDefault(o => o.Str("name") == id);
            if (named == null) throw new ClientFault("Virtual machine '" + id + "' was not found.");
            return named.Obj;
        }

        MoRef FindByUuid(string uuid, bool instance)
        {
            return Invoke(new SoapRequest("FindByUuid", Content("searchIndex"))
                .Add("uuid", uuid).Add("vmSearch", true).Add("instanceUuid", instance)).Ref("returnval");
        }

        // An object of the type by name or managed object id, in one bulk read of the names; null when none has it.
        ObjectContent FindObject(string type, string id, params string[] paths)
        {
            Auth();
            if (string.IsNullOrEmpty(id)) return null;
            var all = RetrieveAll(type, new[] { "name" }.Concat(paths).Distinct().ToArray());
            return all.FirstOrDefault(o => o.Obj.Value == id) ?? all.FirstOrDefault(o => o.Str("name") == id);
        }

        ObjectContent RequireObject(string type, string id, string kind, params string[] paths)
        {
            var found = FindObject(type, id, paths);
            if (found == null) throw new ClientFault("The " + kind + " '" + id + "' was not found.");
            return found;
        }
    }
}
#endif
