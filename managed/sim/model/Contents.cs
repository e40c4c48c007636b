using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;

namespace VISDKWrapper
{
    // The bytes of a datastore or guest file; never changed once made, so files may share one. While the inventory is
    // kept in a state file, contents larger than InlineBytes live in the content store beside it, one file each.
    sealed class Content
    {
        public readonly long Length;
        byte[] bytes;
        public string Id { get; private set; }

        Content(byte[] b) { bytes = b; Length = b.Length; }
        Content(string id, long length) { Id = id; Length = length; }

        public static Content Of(byte[] b) { return b == null ? null : new Content(b); }
        public static Content Stored(string id, long length) { return new Content(id, length); }

        public bool InMemory { get { return bytes != null; } }

        // For the small contents that are read as text (scripts, configuration files); large ones are streamed.
        public byte[] Bytes()
        {
            if (bytes != null) return bytes;
            if (Length > Sim.MaxFileBytes) throw new SimFault("The file content " + Id + " is too large to read at once (" + Length + " bytes).");
            using (var s = Open())
            {
                var b = new byte[Length];
                int at = 0, n;
                while (at < b.Length && (n = s.Read(b, at, b.Length - at)) > 0) at += n;
                if (at != b.Length) throw new SimFault("The file content " + Id + " in the content store is shorter than recorded.");
                return b;
            }
        }

        public Stream Open()
        {
            if (bytes != null) return new MemoryStream(bytes, false);
            try { return new FileStream(Sim.ContentPath(Id), FileMode.Open, FileAccess.Read, FileShare.Read, 1 << 16); }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException) { throw new SimFault("The file content " + Id + " cannot be read from the content store: " + e.Message); }
        }

        // Moves the bytes into the store; the state written next names them by Id.
        public void Spill(string dir)
        {
            if (Id != null) return;
            var id = Sim.NewContentId();
            Sim.WriteContent(dir, id, s => s.Write(bytes, 0, bytes.Length));
            Id = id;
            bytes = null;
        }
    }

    static partial class Sim
    {
        // Contents up to this size stay inside the state file: configuration files, descriptors, small guest files.
        public const int InlineBytes = 4096;
        const string ContentSuffix = ".d";
        static string contentDir;

        public static string ContentPath(string id) { return Path.Combine(contentDir ?? "", id); }

        public static string NewContentId() { return "c" + Guid.NewGuid().ToString("N"); }

        // One content file, private as the state file is: its mode and owner, and the store's folder likewise.
        public static void WriteContent(string dir, string id, Action<Stream> write)
        {
            if (!Directory.Exists(dir))
            {
                Directory.CreateDirectory(dir);
                var owner = Posix.OwnerOf(statePath);
                if (owner != null) Posix.Adopt(dir, new Posix.Owner { Mode = owner.Mode | (owner.Mode & 0x124) >> 2, Uid = owner.Uid, Gid = owner.Gid });
            }
            WriteAtomically(Path.Combine(dir, id), write, statePath);
        }

        // A local file's bytes as a content: streamed into the store when there is one, read into memory otherwise.
        public static Content ImportContent(string local)
        {
            if (contentDir == null || new FileInfo(local).Length <= InlineBytes) return Content.Of(File.ReadAllBytes(local));
            var id = NewContentId();
            long length = 0;
            using (var source = new FileStream(local, FileMode.Open, FileAccess.Read, FileShare.Read, 1 << 16))
            {
                try
                {
                    WriteContent(contentDir, id, target =>
                    {
                        var buffer = new byte[1 << 16];
                        int n;
                        while ((n = source.Read(buffer, 0, buffer.Length)) > 0) { target.Write(buffer, 0, n); length += n; }
                    });
                }
                catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
                {
                    throw new SimFault("The file could not be stored in the simulator's content store '" + contentDir + "': " + e.Message);
                }
            }
            return Content.Stored(id, length);
        }

        public static void ExportContent(Content c, long size, string local)
        {
            using (var target = new FileStream(local, FileMode.Create, FileAccess.Write, FileShare.None, 1 << 16))
            {
                if (c == null) { target.SetLength(size); return; }
                using (var source = c.Open()) source.CopyTo(target, 1 << 16);
            }
        }

        // Every content the model holds, so that saving can spill them and the store can drop the rest.
        static IEnumerable<Content> AllContents()
        {
            var vms = Vms.Concat(Unregistered.Values);
            return Datastores.SelectMany(d => d.Files.Values.Select(f => f.Data))
                .Concat(vms.SelectMany(v => v.Files.Values.Select(f => f.Data)))
                .Where(c => c != null);
        }

        static void SpillContents()
        {
            if (contentDir == null) return;
            // A VM's own files (configuration, descriptors) are made again from the VM whenever it changes: they stay inline.
            var made = Datastores.SelectMany(d => d.Files.Values.Where(f => f.Owner == null).Select(f => f.Data))
                .Concat(Vms.Concat(Unregistered.Values).SelectMany(v => v.Files.Values.Select(f => f.Data)));
            foreach (var c in made.Where(c => c != null && c.InMemory && c.Length > InlineBytes).ToList()) c.Spill(contentDir);
        }

        // Drops the store's files that the saved state no longer names, and leftovers of interrupted writes.
        static void SweepContents()
        {
            if (contentDir == null || !Directory.Exists(contentDir)) return;
            var kept = new HashSet<string>(AllContents().Where(c => c.Id != null).Select(c => c.Id), StringComparer.Ordinal);
            foreach (var file in Directory.GetFiles(contentDir))
            {
                if (kept.Contains(Path.GetFileName(file))) continue;
                try { File.Delete(file); }
                catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
                {
                    Console.Error.WriteLine("VISDKWrapper: cannot remove the unused content file '" + file + "': " + e.Message);
                }
            }
        }

        static Content LoadContent(System.Xml.XmlElement f, string what)
        {
            if (f.HasAttribute("data"))
                try { return Content.Of(Convert.FromBase64String(f.GetAttribute("data"))); }
                catch (FormatException) { throw new StateError("the content of " + what + " is damaged"); }
            var id = Text(f, "content");
            if (id == null) return null;
            long length = Long(f, "contentLength");
            if (id.Length == 0 || id.IndexOfAny(new[] { '/', '\0' }) >= 0 || id.StartsWith(".", StringComparison.Ordinal))
                throw new StateError("the content name of " + what + " is not valid");
            var file = new FileInfo(Path.Combine(contentDir ?? "", id));
            if (contentDir == null || !file.Exists) throw new StateError("the content of " + what + " is missing from '" + (contentDir ?? "") + "'");
            if (file.Length != length)
                throw new StateError("the content of " + what + " has " + file.Length.ToString(CultureInfo.InvariantCulture) + " bytes, not " + length.ToString(CultureInfo.InvariantCulture));
            return Content.Stored(id, length);
        }

        static void SaveContent(System.Xml.XmlWriter w, Content c)
        {
            if (c == null) return;
            if (c.Id == null) { w.WriteAttributeString("data", Convert.ToBase64String(c.Bytes())); return; }
            Put(w, "content", c.Id);
            Put(w, "contentLength", c.Length);
        }
    }
}
