#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.IO;
using System.Linq;
using System.Threading;

namespace VISDKWrapper
{
    // OVF import through the OVF manager and an HttpNfcLease. StartOVFImport has the server make the VM
    // (CreateImportSpec, ImportVApp) and waits for the lease; FinishOVFImport streams the files the descriptor names,
    // found beside it, to the lease's URLs with progress on the way, and completes the lease. The caller cannot upload
    // to a lease itself, so the client does. Whatever fails after ImportVApp aborts the lease and removes its VM.
    sealed partial class VimClient
    {
        sealed class ImportFile
        {
            public string Href, Local, DeviceId;
            public Uri Url;
            // A file the server creates (an ISO image) goes by PUT; a disk is a stream POSTed to its device.
            public bool Create;
        }

        sealed class Import
        {
            public MoRef Lease, Vm;
            public List<ImportFile> Files;
            public int Percent;
            public bool Ended;
        }

        readonly Dictionary<string, Import> imports = new Dictionary<string, Import>();
        static readonly string[] DiskProvisionings = { "thin", "thick", "eagerZeroedThick" };
        // A lease not told of progress for a few minutes expires: a long upload says so at least this often.
        const long LeaseKeepAliveMs = 60000;

        public bool StartOVFImport(string source, ref object info, out string lease, out List<SVMOptionValueLib> uploads, List<SVMOptionValueLib> options)
        {
            lease = null;
            uploads = null;
            Auth();
            if (!(info is SVMInfoLib)) throw new ClientFault("A specified parameter was not correct: vmInfo");
            var given = (SVMInfoLib)info;
            var networks = new Dictionary<string, string>();
            string provisioning = "thin";
#if !FAULTS
            foreach (var o in options ?? new List<SVMOptionValueLib>())
            {
                if (o.key != null && o.key.StartsWith("network:", StringComparison.Ordinal)) networks[o.key.Substring(8)] = o.value;
                else if (o.key == "diskProvisioning" && DiskProvisionings.Contains(o.value)) provisioning = o.value;
                else throw new ClientFault("A specified parameter was not correct: " + o.key);
            }
#endif
            string path;
            var descriptor = OvfDescriptor.Load(source, out path);
            var name = string.IsNullOrEmpty(given.strName) ? OvfDescriptor.Name(OvfDescriptor.System(descriptor)) : given.strName;
            if (string.IsNullOrEmpty(name)) throw new ClientFault("The OVF descriptor is not valid: the virtual system has no name.");
            var place = PlaceImport(given.hostName, given.strDataStoreName, networks.Values);

            var request = new SoapRequest("CreateImportSpec", Content("ovfManager")).Add("ovfDescriptor", descriptor.DocumentElement.OuterXml)
                .Ref("resourcePool", place.Pool).Ref("datastore", place.Datastore)
                .Begin("cisp").Add("locale", "").Add("deploymentOption", "").Add("entityName", name).Ref("hostSystem", place.Host);
            foreach (var n in networks) request.Begin("networkMapping").Add("name", n.Key).Ref("network", place.Networks[n.Value]).End();
            var result = Invoke(request.Add("diskProvisioning", provisioning).End())["returnval"];
            var errors = result.All("error").ToList();
            if (errors.Count > 0) throw new ClientFault("The server cannot import the OVF descriptor: " + Messages(errors, "CreateImportSpec"));
            var warnings = result.All("warning").ToList();
            if (warnings.Count > 0) pendingNotice = "The server warns about the OVF descriptor: " + Messages(warnings, "CreateImportSpec");
            var importSpec = result["importSpec"];
            if (!importSpec.Present) throw new ClientFault("The server made nothing to import of the OVF descriptor");
            var folder = Path.GetDirectoryName(Path.GetFullPath(path));
            var files = result.All("fileItem").Select(f => new ImportFile
            {
                Href = f.Str("path"), DeviceId = f.Str("deviceId"), Create = f.Bool("create"), Local = BesideDescriptor(folder, f.Str("path"))
            }).ToList();

            var leaseRef = Invoke(new SoapRequest("ImportVApp", place.Pool).Node("spec", importSpec).Ref("folder", place.Folder).Ref("host", place.Host)).Ref("returnval");
            if (leaseRef == null) throw new ClientFault("The server started no import");
            var import = new Import { Lease = leaseRef, Files = files };
            imports[leaseRef.Value] = import;
            try
            {
                var leaseInfo = LeaseReady(import);
                foreach (var file in files)
                {
                    var device = leaseInfo.All("deviceUrl").FirstOrDefault(d => d.Str("importKey") == file.DeviceId);
                    if (device == null) throw new ClientFault("The server gave no upload URL for " + file.Href);
                    file.Url = DeviceUrl(device.Str("url"));
                }
                info = One(import.Vm, ulong.MaxValue, import.Vm.Value);
            }
            catch (ClientFault f) { Abort(import, f.Message); throw; }
            lease = leaseRef.Value;
#if !FAULTS
            uploads = files.Select(f => new SVMOptionValueLib { key = f.Href, value = f.Url.ToString() }).ToList();
#endif
            return true;
        }

        public bool UpdateOVFImportProgress(string lease, int percent)
        {
            var import = OpenImport(lease);
            if (percent < import.Percent || percent > 100) throw new ClientFault("A specified parameter was not correct: percent");
            try { Progress(import, percent); }
            catch (ClientFault f) { Abort(import, f.Message); throw; }
            return true;
        }

        public bool FinishOVFImport(string lease, ref object info)
        {
            var import = OpenImport(lease);
            try
            {
                Transfer(import);
                Invoke(new SoapRequest("HttpNfcLeaseComplete", import.Lease));
            }
            catch (ClientFault f) { Abort(import, f.Message); throw; }
            import.Ended = true;
            info = One(import.Vm, ulong.MaxValue, import.Vm.Value);
            return true;
        }

        Import OpenImport(string id)
        {
            Auth();
            Import import;
            if (id == null || !imports.TryGetValue(id, out import))
                throw new ClientFault("The object 'vim.HttpNfcLease:" + id + "' has already been deleted or has not been completely created");
            if (import.Ended) throw new ClientFault("The import '" + id + "' has already ended.");
            return import;
        }

        sealed class ImportPlace
        {
            public MoRef Host, Datastore, Pool, Folder;
            public readonly Dictionary<string, MoRef> Networks = new Dictionary<string, MoRef>();
        }

        // The datastore and host asked for, else the host's first datastore or the first datastore and a host that
        // mounts it; the host's root pool and its datacenter's VM folder; the networks the mappings name. One read.
        ImportPlace PlaceImport(string host, string datastore, IEnumerable<string> networks)
        {
            var inv = ReadInventory(InventoryRead.Places().Add("Datastore", "name", "host").Add("Network", "name"));
            var place = new ImportPlace();
            var h = string.IsNullOrEmpty(host) ? null : inv.Host(host);
            var ds = !string.IsNullOrEmpty(datastore) ? inv.Require("Datastore", datastore, "datastore")
                : h != null ? inv[InventoryRead.Refs(h, "datastore").FirstOrDefault()] : inv.Of("Datastore").FirstOrDefault();
            if (ds == null) throw new ClientFault(h != null ? "The host '" + h.Str("name") + "' has no datastore." : "The server has no datastore.");
            var mounts = inv.MountsOf(ds.Obj);
            if (h == null) h = inv[mounts.FirstOrDefault()];
            if (h == null) throw new ClientFault("No host can reach the datastore '" + ds.Str("name") + "'.");
            if (!mounts.Contains(h.Obj)) throw new ClientFault("The datastore '" + ds.Str("name") + "' is not accessible from host '" + h.Str("name") + "'.");
            place.Host = h.Obj;
            place.Datastore = ds.Obj;
            var compute = inv.ComputeOf(h.Obj);
            place.Pool = compute == null ? null : compute["resourcePool"].AsRef();
            var dc = inv.DatacenterOf(h.Obj);
            place.Folder = dc == null ? null : dc["vmFolder"].AsRef();
            if (place.Pool == null) throw new ClientFault("The host '" + h.Str("name") + "' has no resource pool.");
            foreach (var n in networks) place.Networks[n] = inv.Require("Network", n, "network").Obj;
            return place;
        }

        // A file the descriptor names, in its folder: a name reaching elsewhere (absolute, "..", a URL) is refused, as
        // is a file that is not there, before the server makes anything.
        static string BesideDescriptor(string folder, string href)
        {
            var parts = (href ?? "").Split('/');
            if (href == null || href == "" || href.StartsWith("/", StringComparison.Ordinal) || href.Contains("://") || href.Contains('\\') || parts.Contains(".."))
                throw new ClientFault("The OVF descriptor names the file '" + href + "', which is not beside it.");
            var local = Path.Combine(folder, href);
            if (!File.Exists(local)) throw new ClientFault("The file '" + href + "' that the OVF descriptor names was not found beside it.");
            return local;
        }

        static string Messages(IEnumerable<VimNode> faults, string method)
        {
            return string.Join(" ", faults.Select(f => FaultText.Of(f["fault"].Type ?? "", f.Str("localizedMessage"), f["fault"], method)));
        }

        // Waits while the lease initializes: its info once ready, its fault if it fails.
        VimNode LeaseReady(Import import)
        {
            var clock = Stopwatch.StartNew();
            for (int pause = 20; ; pause = Math.Min(1000, pause * 2))
            {
                var lease = Retrieve(import.Lease, "state", "info", "error");
                import.Vm = lease["info"].Ref("entity") ?? import.Vm;
                var state = lease.Str("state");
                if (state == "ready")
                {
                    if (import.Vm == null) throw new ClientFault("The server's import lease names no virtual machine");
                    return lease["info"];
                }
                if (state == "error")
                {
                    var fault = lease["error"]["fault"];
                    throw new VimFault(fault.Type, FaultText.Of(fault.Type ?? "", lease["error"].Str("localizedMessage"), fault, "ImportVApp"), fault);
                }
                if (state != "initializing") throw new ClientFault("The import lease " + import.Lease.Value + " is " + state + " before any upload");
                if (clock.ElapsedMilliseconds >= settings.TaskTimeoutMs)
                    throw new ClientFault("The import lease " + import.Lease.Value + " was not ready within " + settings.TaskTimeoutMs / 1000 + " s");
                Thread.Sleep(pause);
            }
        }

        // A lease's device URL; a host of "*" means the server the client talks to.
        Uri DeviceUrl(string text)
        {
            int scheme = text.IndexOf("://", StringComparison.Ordinal);
            if (scheme > 0 && text.Length > scheme + 3 && text[scheme + 3] == '*')
            {
                int slash = text.IndexOf('/', scheme + 3);
                text = text.Substring(0, scheme + 3) + soap.Url.Authority + (slash < 0 ? "" : text.Substring(slash));
            }
            Uri url;
            if (!Uri.TryCreate(text, UriKind.Absolute, out url) || (url.Scheme != Uri.UriSchemeHttps && url.Scheme != Uri.UriSchemeHttp))
                throw new ClientFault("The server's upload URL '" + text + "' is not valid");
            // A disk never goes out in the clear, but to a loopback test server.
            if (url.Scheme == Uri.UriSchemeHttp && !url.IsLoopback) throw new ClientFault("The server's upload URL '" + text + "' is not secured");
            return url;
        }

        // Streams every file to its URL, telling the lease the share of all bytes sent as it grows.
        void Transfer(Import import)
        {
            long total = import.Files.Sum(f => File.Exists(f.Local) ? new FileInfo(f.Local).Length : 0), sent = 0;
            var quiet = Stopwatch.StartNew();
            foreach (var file in import.Files)
            {
                long before = sent;
                var create = file.Create;
                sent += Upload(file.Local, file.Url, create ? "PUT" : "POST", (copied, length) =>
                {
                    int percent = total == 0 ? 100 : (int)Math.Min(100, (before + copied) * 100 / total);
                    if (percent > import.Percent || quiet.ElapsedMilliseconds >= LeaseKeepAliveMs)
                    {
                        Progress(import, Math.Max(percent, import.Percent));
                        quiet.Restart();
                    }
                }, http =>
                {
                    if (create) http.Headers["Overwrite"] = "t";
                    else http.ContentType = "application/x-vnd.vmware-streamVmdk";
                });
            }
        }

        void Progress(Import import, int percent)
        {
            Invoke(new SoapRequest("HttpNfcLeaseProgress", import.Lease).Add("percent", percent));
            import.Percent = percent;
        }

        // Gives the import up on the server, saying why; a server that keeps the VM of an aborted import (some do)
        // loses it too. Failures here change nothing of the caller's answer.
        void Abort(Import import, string why)
        {
            import.Ended = true;
            try
            {
                Invoke(new SoapRequest("HttpNfcLeaseAbort", import.Lease)
                    .Begin("fault").Begin("fault", "SystemError").Add("reason", why).End().Add("localizedMessage", why).End());
            }
            catch (ClientFault) { }
            try
            {
                if (import.Vm != null && RetrieveMany(new[] { import.Vm }, "VirtualMachine", "name").Count > 0)
                    RunTask(new SoapRequest("Destroy_Task", import.Vm));
            }
            catch (ClientFault) { }
        }

        // Imports still open when their session ends are given up rather than left half made on the server.
        void GiveUpImports()
        {
            foreach (var import in imports.Values.Where(i => !i.Ended).ToList())
                Abort(import, "The client's session ended before the import finished.");
            imports.Clear();
        }
    }
}
#endif
