#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Net;
using System.Security.Cryptography;
using System.Security.Cryptography.X509Certificates;

namespace VISDKWrapper
{
    // Datastore files: listed and looked up through the datastore's browser, made, copied and deleted through the file
    // manager, moved over the server's /folder access. A path may be "[datastore] folder/file", naming its own datastore.
    sealed partial class VimClient
    {
        // Where a file lives: the datastore, its datacenter (and that one's inventory path) and the path below the root.
        sealed class DsPlace
        {
            public ObjectContent Ds, Dc;
            public string Rel, DcPath;
            public string Name { get { return Ds.Str("name"); } }
            public string Path(string rel = null) { return Shared.DsPath(Name, rel ?? Rel); }
            public MoRef DcRef { get { return Dc == null ? null : Dc.Obj; } }
        }

        sealed class DsEntry
        {
            public string Rel;
            public bool Folder;
            public long Size;
            public DateTime? Modified;
        }

        InventoryRead ReadStores()
        {
            return ReadInventory(InventoryRead.Places().Add("Datastore", "name", "parent", "summary.accessible", "browser", "host"));
        }

        DsPlace Place(string datacenter, string datastore, string path, string host) { return Place(ReadStores(), datacenter, datastore, path, host); }

        // The datastore the path names (else the argument), within the datacenter when one is given; a host, when
        // given, must mount it.
        static DsPlace Place(InventoryRead inv, string datacenter, string datastore, string path, string host)
        {
            string named, invalid;
            var rel = Shared.DatastorePath(path, out named, out invalid);
            if (rel == null) throw new ClientFault(invalid);
            var name = string.IsNullOrEmpty(named) ? datastore : named;
            var ds = inv.Find("Datastore", name, d => string.IsNullOrEmpty(datacenter) || IsNamed(inv, inv.DatacenterOf(d.Obj)?.Obj, datacenter));
            if (ds == null) throw new ClientFault(Shared.DatastoreNotFound(name));
            if (!ds["summary.accessible"].AsBool()) throw new ClientFault("The datastore '" + ds.Str("name") + "' is not accessible.");
            if (!string.IsNullOrEmpty(host) && !inv.MountsOf(ds.Obj).Any(h => IsNamed(inv, h, host)))
                throw new ClientFault("The datastore '" + ds.Str("name") + "' is not accessible from host '" + host + "'.");
            var dc = inv.DatacenterOf(ds.Obj);
            return new DsPlace { Ds = ds, Dc = dc, Rel = rel, DcPath = dc == null ? "" : inv.PathOf(dc.Obj) };
        }

        // The entries of a folder (and of every folder below it when recursive) whose names match the pattern, each with
        // its path below the datastore's root. `asked` is the path a missing folder is reported as.
        List<DsEntry> Search(DsPlace place, string folder, string pattern, bool recursive, bool details, string asked)
        {
            var browser = place.Ds["browser"].AsRef();
            if (browser == null) throw new ClientFault("The datastore '" + place.Name + "' offers no browser.");
            if (string.IsNullOrEmpty(pattern)) pattern = "*";
            var request = new SoapRequest(recursive ? "SearchDatastoreSubFolders_Task" : "SearchDatastore_Task", browser)
                .Add("datastorePath", folder.Length == 0 ? "[" + place.Name + "]" : place.Path(folder))
                .Begin("searchSpec")
                .Begin("details").Add("fileType", true).Add("fileSize", details).Add("modification", details).End()
                .Add("searchCaseInsensitive", true).Add("matchPattern", pattern)
                .End();
            VimNode result;
            try { result = RunTask(request); }
            catch (VimFault f) when (f.FaultType == "FileNotFound") { throw new ClientFault(Shared.FileNotFound(place.Path(asked))); }
            var folders = (result.Type ?? "").StartsWith("ArrayOf", StringComparison.Ordinal) ? result.Kids : new[] { result };
            var entries = new List<DsEntry>();
            foreach (var found in folders)
            {
                string ignored, invalid;
                var under = found["folderPath"].Present ? Shared.DatastorePath(found.Str("folderPath"), out ignored, out invalid) ?? folder : folder;
                // A server that ignores searchCaseInsensitive still matches; the pattern's meaning is ours, as in the simulator.
                foreach (var f in found.All("file").Where(f => Shared.Matches(f.Str("path"), pattern)))
                    entries.Add(new DsEntry
                    {
                        Rel = under.Length == 0 ? f.Str("path") : under + "/" + f.Str("path"),
                        Folder = f.Type == "FolderFileInfo", Size = f.Long("fileSize"), Modified = f["modification"].AsTime()
                    });
            }
            return entries;
        }

        // The file or folder the place names, from a search of its folder for its name.
        DsEntry Lookup(DsPlace place, bool details)
        {
            if (place.Rel.Length == 0) throw new ClientFault(Shared.FileNotFound(place.Path()));
            int slash = place.Rel.LastIndexOf('/');
            var leaf = place.Rel.Substring(slash + 1);
            // A name holding pattern characters would not match itself: it is picked out of all the folder holds.
            var pattern = leaf.IndexOfAny(new[] { '*', '?', '[', ']', '\\' }) >= 0 ? "*" : leaf;
            var entry = Search(place, slash < 0 ? "" : place.Rel.Substring(0, slash), pattern, false, details, place.Rel)
                .FirstOrDefault(e => e.Rel == place.Rel);
            if (entry == null) throw new ClientFault(Shared.FileNotFound(place.Path()));
            return entry;
        }

        DsPlace ExistingFile(DsPlace place)
        {
            if (Lookup(place, false).Folder) throw new ClientFault(Shared.IsFolder(place.Path()));
            return place;
        }

        public List<string> GetFilesOnDSForHost(string host, string datastore, string folder, string pattern, bool recursive)
        {
            var place = Place(null, datastore, folder, host);
            return Search(place, place.Rel, pattern, recursive, false, place.Rel).OrderBy(e => e.Rel, StringComparer.Ordinal)
                .Select(e => e.Rel + (e.Folder ? "/" : "")).ToList();
        }

        public bool GetDetailsForFileOnHost(string host, string datacenter, string datastore, string path, bool fileSize, bool modification, ref SVMFileLib file)
        {
            var place = Place(datacenter, datastore, path, host);
            var f = Lookup(place, fileSize || modification);
            file = new SVMFileLib { strName = place.Path(), eFileType = f.Folder ? Shared.FolderType : Shared.FileTypeOf(place.Rel) };
            if (fileSize) file.lSize = f.Size;
            if (modification && f.Modified != null) file.modifiedTime = f.Modified.Value;
            return true;
        }

        public int CheckDatastoreFile(string datacenter, string datastore, string path, string host, bool folder)
        {
            var place = Place(datacenter, datastore, path, host);
            var f = Lookup(place, false);
            if (f.Folder != folder) throw new ClientFault(place.Path() + (f.Folder ? " is a folder" : " is not a folder"));
            return 1;
        }

        public int CreateDataStoreFolder(string datastore, string path)
        {
            var place = Place(null, datastore, path, null);
            if (place.Rel.Length == 0) throw new ClientFault("A specified parameter was not correct: path");
            MakeDirectory(place, place.Rel, false);
            return 1;
        }

        // A folder with its parents; one that exists already is a fault unless it may.
        void MakeDirectory(DsPlace place, string rel, bool mayExist)
        {
            try
            {
                Invoke(new SoapRequest("MakeDirectory", Content("fileManager")).Add("name", place.Path(rel)).Ref("datacenter", place.DcRef)
                    .Add("createParentDirectories", true));
            }
            catch (VimFault f) when (f.FaultType == "FileAlreadyExists")
            {
                if (!mayExist) throw new ClientFault(Shared.FileExists(place.Path(rel)));
            }
        }

        void MakeParent(DsPlace place)
        {
            int slash = place.Rel.LastIndexOf('/');
            if (slash > 0) MakeDirectory(place, place.Rel.Substring(0, slash), true);
        }

        public int DeleteDatastoreFile(string datacenter, string datastore, string path, string host)
        {
            var place = Place(datacenter, datastore, path, host);
            // Never the datastore's root.
            if (place.Rel.Length == 0) throw new ClientFault(Shared.FileNotFound(place.Path()));
            try { RunTask(new SoapRequest("DeleteDatastoreFile_Task", Content("fileManager")).Add("name", place.Path()).Ref("datacenter", place.DcRef)); }
            catch (VimFault f) when (f.FaultType == "FileNotFound") { throw new ClientFault(Shared.FileNotFound(place.Path())); }
            return 1;
        }

        public int CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host)
        {
            return CopyDatastoreFile(datacenter, sourceDatastore, sourcePath, destinationDatastore, destinationPath, host, null);
        }

        // The destination is looked for in its own datacenter when one is given, else in the source's; its parents are made.
        public int CopyDatastoreFile(string datacenter, string sourceDatastore, string sourcePath, string destinationDatastore, string destinationPath, string host, string destinationDatacenter)
        {
            var inv = ReadStores();
            var from = Place(inv, datacenter, sourceDatastore, sourcePath, host);
            var to = Place(inv, string.IsNullOrEmpty(destinationDatacenter) ? datacenter : destinationDatacenter, destinationDatastore, destinationPath, host);
            if (from.Rel.Length == 0) throw new ClientFault(Shared.FileNotFound(from.Path()));
            if (to.Rel.Length == 0) throw new ClientFault(Shared.FileExists(to.Path()));
            if (from.Ds.Obj.Equals(to.Ds.Obj) && (to.Rel + "/").StartsWith(from.Rel + "/", StringComparison.Ordinal))
                throw new ClientFault("A specified parameter was not correct: destinationName");
            MakeParent(to);
            try
            {
                RunTask(new SoapRequest("CopyDatastoreFile_Task", Content("fileManager")).Add("sourceName", from.Path()).Ref("sourceDatacenter", from.DcRef)
                    .Add("destinationName", to.Path()).Ref("destinationDatacenter", to.DcRef).Add("force", false));
            }
            catch (VimFault f) when (f.FaultType == "FileNotFound") { throw new ClientFault(Shared.FileNotFound(from.Path())); }
            catch (VimFault f) when (f.FaultType == "FileAlreadyExists") { throw new ClientFault(Shared.FileExists(to.Path())); }
            return 1;
        }

        // The server's file access: https://SERVER/folder/PATH?dcPath=DC&dsName=DS, each part escaped. A host's own access
        // (`authority` given) takes no datacenter path: a host has one datacenter of its own.
        string FolderUrl(DsPlace place, string authority = null)
        {
            return soap.Url.Scheme + "://" + (authority ?? soap.Url.Authority) + "/folder/" + string.Join("/", place.Rel.Split('/').Select(Uri.EscapeDataString))
                + (authority == null ? "?dcPath=" + Uri.EscapeDataString(place.DcPath) + "&" : "?") + "dsName=" + Uri.EscapeDataString(place.Name);
        }

        public string GetDownloadDatastoreFileUrl(string datacenter, string datastore, string path, string host)
        {
            return FolderUrl(ExistingFile(Place(datacenter, datastore, path, host)));
        }

        static void NeedLocalTarget(string localPath)
        {
            if (string.IsNullOrEmpty(localPath)) throw new ClientFault("A specified parameter was not correct: localPath");
        }

        // Before anything goes out: a missing local file fails at once.
        static void NeedLocalSource(string localPath)
        {
            if (string.IsNullOrEmpty(localPath) || !File.Exists(localPath)) throw new ClientFault(Shared.LocalFileNotFound(localPath));
        }

        public int DownloadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host)
        {
            NeedLocalTarget(localPath);
            Download(new Uri(FolderUrl(ExistingFile(Place(datacenter, datastore, path, host)))), localPath);
            return 1;
        }

        public int UploadDatastoreFile(string datacenter, string datastore, string path, string localPath, string host)
        {
            NeedLocalSource(localPath);
            var place = Writable(Place(datacenter, datastore, path, host));
            Upload(localPath, new Uri(FolderUrl(place)));
            return 1;
        }

        DsPlace Writable(DsPlace place)
        {
            if (place.Rel.Length == 0) throw new ClientFault("A specified parameter was not correct: path");
            MakeParent(place);
            return place;
        }

        public int DownloadDatastoreFileFromHost(string datacenter, string datastore, string path, string localPath, string host)
        {
            NeedLocalTarget(localPath);
            ObjectContent h;
            var place = ExistingFile(DirectPlace(datacenter, datastore, path, host, out h));
            ThroughHost(place, h, "httpGet", (url, prepare) => Download(url, localPath, null, prepare));
            return 1;
        }

        public int UploadDatastoreFileToHost(string datacenter, string datastore, string path, string localPath, string host)
        {
            NeedLocalSource(localPath);
            ObjectContent h;
            var place = Writable(DirectPlace(datacenter, datastore, path, host, out h));
            ThroughHost(place, h, "httpPut", (url, prepare) => Upload(localPath, url, "PUT", null, prepare));
            return 1;
        }

        DsPlace DirectPlace(string datacenter, string datastore, string path, string host, out ObjectContent h)
        {
            var inv = ReadStores();
            h = inv.Find("HostSystem", host);
            if (h == null) throw new ClientFault(Shared.HostNotFound(host));
            return Place(inv, datacenter, datastore, path, host);
        }

        // A host connected to directly is the server itself. Through a vCenter, a host's own /folder access takes a
        // ticket the vCenter issues for that URL: it goes as the vmware_cgi_ticket cookie instead of the session's, to
        // the host the ticket names (else the host's inventory name, the address the vCenter reaches it at), whose
        // certificate is the one the ticket vouches for.
        void ThroughHost(DsPlace place, ObjectContent host, string method, Action<Uri, Action<HttpWebRequest>> transfer)
        {
            if (!IsVCenter) { transfer(new Uri(FolderUrl(place)), null); return; }
            var name = host.Str("name");
            var url = FolderUrl(place, name.IndexOf(':') >= 0 && !name.StartsWith("[", StringComparison.Ordinal) ? "[" + name + "]" : name);
            var ticket = Invoke(new SoapRequest("AcquireGenericServiceTicket", Content("sessionManager"))
                .Begin("spec", "SessionManagerHttpServiceRequestSpec").Add("method", method).Add("url", url).End())["returnval"];
            var target = new Uri(ticket.Str("hostName") != "" ? FolderUrl(place, ticket.Str("hostName")) : url);
            var id = ticket.Str("id");
            var thumbprint = ticket.Str("sslThumbprint");
            transfer(target, http =>
            {
                http.CookieContainer = new CookieContainer();
                http.CookieContainer.Add(target, new Cookie("vmware_cgi_ticket", id));
                if (thumbprint != "") http.ServerCertificateValidationCallback = (sender, certificate, chain, errors) => Vouched(certificate, thumbprint);
            });
        }

        // SHA-1 or SHA-256, colon-separated hex, as a ticket names a certificate.
        static bool Vouched(X509Certificate certificate, string thumbprint)
        {
            if (certificate == null) return false;
            var hex = thumbprint.Replace(":", "").ToUpperInvariant();
            using (HashAlgorithm hash = hex.Length == 64 ? (HashAlgorithm)SHA256.Create() : SHA1.Create())
                return string.Concat(hash.ComputeHash(certificate.GetRawCertData()).Select(b => b.ToString("X2"))) == hex;
        }

        // Datastore.FileManagement on the host (empty: the inventory's root), as the authorization manager sees it.
        public bool CheckDownloadFromHostPrivilege(string host)
        {
            Auth();
            var entity = string.IsNullOrEmpty(host) ? Content("rootFolder") : RequireObject("HostSystem", host, "host").Obj;
            return Invoke(new SoapRequest("HasPrivilegeOnEntity", Content("authorizationManager")).Ref("entity", entity)
                .Add("sessionId", sessionKey).Add("privId", "Datastore.FileManagement"))["returnval"].AsBool();
        }
    }
}
#endif
