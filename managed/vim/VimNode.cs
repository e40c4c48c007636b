#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Xml;

namespace VISDKWrapper
{
    // A reference to a server-side object: its type and id ("VirtualMachine", "vm-42").
    sealed class MoRef : IEquatable<MoRef>
    {
        public readonly string Type, Value;

        public MoRef(string type, string value) { Type = type ?? ""; Value = value ?? ""; }

        public bool Equals(MoRef other) { return other != null && other.Type == Type && other.Value == Value; }
        public override bool Equals(object other) { return Equals(other as MoRef); }
        public override int GetHashCode() { return Type.GetHashCode() * 31 + Value.GetHashCode(); }
        public override string ToString() { return Type + ":" + Value; }
    }

    // One element of a response, read into a light tree: its local name, its xsi:type (or, for a managed object
    // reference, its "type" attribute), its text and its child elements. Data objects of every kind read the same way,
    // so the client needs no class per vSphere type; absent children read as an empty node.
    sealed class VimNode
    {
        // NoKids first: static fields are set in order, and None needs it.
        static readonly List<VimNode> NoKids = new List<VimNode>();
        public static readonly VimNode None = new VimNode("", null, null, "", null);

        public readonly string Name, Type, Text;
        // A managed object reference's type: its plain "type" attribute, which a property value carries beside its
        // xsi:type ("ManagedObjectReference").
        readonly string refType;
        readonly List<VimNode> kids;

        VimNode(string name, string type, string refType, string text, List<VimNode> kids)
        {
            Name = name; Type = type; this.refType = refType; Text = text; this.kids = kids ?? NoKids;
        }

        public bool Present { get { return !ReferenceEquals(this, None); } }
        public IReadOnlyList<VimNode> Kids { get { return kids; } }

        // The first child of that name, or None.
        public VimNode this[string name]
        {
            get
            {
                foreach (var k in kids) if (k.Name == name) return k;
                return None;
            }
        }

        // Follows a dotted path of child names ("config.hardware.device").
        public VimNode At(string path)
        {
            var node = this;
            foreach (var part in path.Split('.'))
            {
                node = node[part];
                if (!node.Present) break;
            }
            return node;
        }

        public IEnumerable<VimNode> All(string name)
        {
            foreach (var k in kids) if (k.Name == name) yield return k;
        }

        public string Str(string name) { return this[name].Text; }
        public long Long(string name) { return this[name].AsLong(); }
        public int Int(string name) { return (int)Math.Max(int.MinValue, Math.Min(int.MaxValue, this[name].AsLong())); }
        public bool Bool(string name) { return this[name].AsBool(); }
        public MoRef Ref(string name) { return this[name].AsRef(); }

        public long AsLong()
        {
            long v;
            return long.TryParse(Text, NumberStyles.Integer, CultureInfo.InvariantCulture, out v) ? v : 0;
        }

        public bool AsBool() { return Text == "true" || Text == "1"; }

        public MoRef AsRef() { return Present && Text != "" ? new MoRef(refType ?? Type, Text) : null; }

        // xsd:dateTime as UTC; null when absent or malformed.
        public DateTime? AsTime()
        {
            DateTime t;
            var text = Text;
            // DateTime takes at most seven fractional digits; some servers send nine.
            int dot = text.IndexOf('.');
            if (dot > 0)
            {
                int end = dot + 1;
                while (end < text.Length && char.IsDigit(text[end])) end++;
                if (end - dot - 1 > 7) text = text.Substring(0, dot + 8) + text.Substring(end);
            }
            if (text != "" && DateTime.TryParse(text, CultureInfo.InvariantCulture, DateTimeStyles.AdjustToUniversal | DateTimeStyles.AssumeUniversal, out t))
                return DateTime.SpecifyKind(t, DateTimeKind.Utc);
            return null;
        }

        // Reads the element the reader stands on, with everything below it.
        public static VimNode Read(XmlReader r)
        {
            string name = r.LocalName, plain = null, type = null;
            // Most elements carry no attribute: looking none up is much of a large read's cost.
            if (r.HasAttributes)
            {
                plain = r.GetAttribute("type");
                type = r.GetAttribute("type", XsiNamespace) ?? plain;
                if (type != null) type = LocalType(r.NameTable, type);
            }
            if (r.IsEmptyElement)
            {
                r.Read();
                return new VimNode(name, type, plain, "", null);
            }
            r.Read();
            List<VimNode> kids = null;
            string text = "";
            while (r.NodeType != XmlNodeType.EndElement)
            {
                switch (r.NodeType)
                {
                    case XmlNodeType.Element:
                        (kids ?? (kids = new List<VimNode>())).Add(Read(r));
                        break;
                    case XmlNodeType.Text:
                    case XmlNodeType.CDATA:
                    case XmlNodeType.Whitespace:
                    case XmlNodeType.SignificantWhitespace:
                        text = text.Length == 0 ? r.Value : text + r.Value;
                        r.Read();
                        break;
                    case XmlNodeType.None:
                        throw new XmlException("The response ended inside element " + name);
                    default:
                        r.Read();
                        break;
                }
            }
            r.Read();
            return new VimNode(name, type, plain, text, kids);
        }

        // "xsd:string" → "string", the same string object for every element of a type (one response repeats a few
        // hundred types many thousand times).
        static string LocalType(XmlNameTable names, string type)
        {
            int colon = type.IndexOf(':');
            return colon < 0 ? names.Add(type) : names.Add(type.ToCharArray(), colon + 1, type.Length - colon - 1);
        }

        public const string XsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";
    }
}
#endif
