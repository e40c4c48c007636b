using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;
using System.Xml;

namespace VISDKWrapper
{
    // An import between its start and its finish: the VM exists from the start, its disks await their uploads.
    sealed class ImportLease
    {
        public string Id, Vm, State = "ready";
        public int Progress;
    }

    sealed class OvfDisk
    {
        public string Id, Href;
        public long Capacity;
    }

    // What the importer takes from a descriptor: one virtual system.
    sealed class OvfSystem
    {
        public string Name, OsType, Version, Annotation;
        public long Cpus, MemoryMB;
        public readonly List<OvfDisk> Disks = new List<OvfDisk>();
        public readonly List<string> Networks = new List<string>();
    }

    static partial class Sim
    {
        public static readonly List<ImportLease> Imports = new List<ImportLease>();
        public static int LeaseSeq;
        public static readonly List<string> Customizations = new List<string> { "Linux-DHCP", "Linux-Static", "Windows-Domain" };

        public static ImportLease FindLease(string id)
        {
            var l = Imports.FirstOrDefault(x => x.Id == id);
            if (l == null) throw new SimFault("The object 'vim.HttpNfcLease:" + id + "' has already been deleted or has not been completely created");
            if (l.State != "ready") throw new SimFault("The import '" + id + "' has already ended.");
            return l;
        }

        static string Attr(XmlElement e, string localName)
        {
            foreach (XmlAttribute a in e.Attributes)
                if (a.LocalName == localName) return a.Value;
            return null;
        }

        static IEnumerable<XmlElement> Below(XmlNode e, string localName)
        {
            return e.ChildNodes.OfType<XmlElement>().Where(x => x.LocalName == localName);
        }

        static string ChildText(XmlElement e, string localName)
        {
            var c = Below(e, localName).FirstOrDefault();
            return c == null ? null : c.InnerText.Trim();
        }

        // "byte", "byte * 2^20" and the like; the word forms of the older descriptors too.
        static long Units(string text, long fallback)
        {
            if (string.IsNullOrWhiteSpace(text)) return fallback;
            var t = text.Replace(" ", "").ToLowerInvariant();
            switch (t)
            {
                case "byte": case "bytes": return 1;
                case "kilobytes": return 1L << 10;
                case "megabytes": return 1L << 20;
                case "gigabytes": return 1L << 30;
            }
            int power;
            if (t.StartsWith("byte*2^") && int.TryParse(t.Substring(7), NumberStyles.None, CultureInfo.InvariantCulture, out power) && power >= 0 && power <= 50)
                return 1L << power;
            throw new SimFault("The OVF descriptor is not valid: unknown allocation units '" + text + "'.");
        }

        static long Number(string text, string what)
        {
            long n;
            if (text == null || !long.TryParse(text.Trim(), NumberStyles.None, CultureInfo.InvariantCulture, out n))
                throw new SimFault("The OVF descriptor is not valid: " + what + " is not a number.");
            return n;
        }

        static long Product(long quantity, long units)
        {
            try { return checked(quantity * units); }
            catch (OverflowException) { throw new SimFault("The OVF descriptor is not valid: a size is out of range."); }
        }

        // Reads a local descriptor (OvfDescriptor: no DTD, no external resources).
        public static OvfSystem ReadOvf(string source)
        {
            string path;
            var root = OvfDescriptor.Load(source, out path).DocumentElement;

            var files = new Dictionary<string, string>();
            foreach (var refs in Below(root, "References"))
                foreach (var f in Below(refs, "File")) files[Attr(f, "id") ?? ""] = Attr(f, "href") ?? "";
            var disks = new Dictionary<string, OvfDisk>();
            foreach (var section in Below(root, "DiskSection"))
                foreach (var d in Below(section, "Disk"))
                {
                    var id = Attr(d, "diskId") ?? "";
                    string href;
                    files.TryGetValue(Attr(d, "fileRef") ?? "", out href);
                    disks[id] = new OvfDisk
                    {
                        Id = id, Href = href ?? "",
                        Capacity = Product(Number(Attr(d, "capacity"), "the capacity of disk '" + id + "'"), Units(Attr(d, "capacityAllocationUnits"), 1))
                    };
                }

            var vs = OvfDescriptor.System(root.OwnerDocument);
            var sys = new OvfSystem { Name = OvfDescriptor.Name(vs), Cpus = 1, MemoryMB = 1024 };
            var os = Below(vs, "OperatingSystemSection").FirstOrDefault();
            if (os != null) sys.OsType = Attr(os, "osType");
            var note = Below(vs, "AnnotationSection").FirstOrDefault();
            if (note != null) sys.Annotation = ChildText(note, "Annotation");
            var hw = Below(vs, "VirtualHardwareSection").FirstOrDefault();
            if (hw == null) throw new SimFault("The OVF descriptor is not valid: the virtual system has no VirtualHardwareSection.");
            var system = Below(hw, "System").FirstOrDefault();
            if (system != null) sys.Version = (ChildText(system, "VirtualSystemType") ?? "").Split(' ').FirstOrDefault(x => x.StartsWith("vmx-"));
            foreach (var item in Below(hw, "Item").Concat(Below(hw, "StorageItem")).Concat(Below(hw, "EthernetPortItem")))
            {
                var type = ChildText(item, "ResourceType");
                switch (type)
                {
                    case "3":
                        sys.Cpus = Number(ChildText(item, "VirtualQuantity"), "the CPU count");
                        break;
                    case "4":
                        sys.MemoryMB = Product(Number(ChildText(item, "VirtualQuantity"), "the memory size"), Units(ChildText(item, "AllocationUnits"), MiB)) / MiB;
                        break;
                    case "10":
                        sys.Networks.Add(ChildText(item, "Connection") ?? "");
                        break;
                    case "17":
                        var resource = ChildText(item, "HostResource") ?? "";
                        var id = resource.Substring(resource.LastIndexOf('/') + 1);
                        OvfDisk disk;
                        if (!disks.TryGetValue(id, out disk)) throw new SimFault("The OVF descriptor is not valid: the disk '" + resource + "' is not in its DiskSection.");
                        sys.Disks.Add(disk);
                        break;
                }
            }
            if (string.IsNullOrEmpty(sys.Name)) throw new SimFault("The OVF descriptor is not valid: the virtual system has no name.");
            return sys;
        }
    }
}
