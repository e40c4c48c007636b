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

    // Values a server sent that the client could not use, in the host's log: at most a few a minute, so a server sending
    // nothing but bad values cannot flood it.
    static class BadValues
    {
        const int PerMinute = 10;
        static readonly object sync = new object();
        static DateTime window = DateTime.MinValue;
        static int logged, quiet;

        public static void Note(string field, string value, string kind)
        {
            string text;
            lock (sync)
            {
                var now = DateTime.UtcNow;
                if (now - window >= TimeSpan.FromMinutes(1)) { window = now; logged = 0; }
                if (++logged > PerMinute) { quiet++; return; }
                text = "The server sent '" + Shown(value) + "' for " + field + ", which is not " + kind + "; it is skipped" +
                    (quiet > 0 ? " (" + quiet + " more were not logged)" : "");
                quiet = 0;
            }
            NativeLog.Error(text);
        }

        static string Shown(string value) { return value.Length <= 64 ? value : value.Substring(0, 64) + "..."; }
    }

    // One element of a response, read into a light tree: its local name, its xsi:type (or, for a managed object
    // reference, its "type" attribute), its text and its child elements. Data objects of every kind read the same way,
    // so the client needs no class per vSphere type; absent children read as an empty node.
    sealed class VimNode
    {
        // NoKids first: static fields are set in order, and None needs it.
        static readonly List<VimNode> NoKids = new List<VimNode>();
        public static readonly VimNode None = new VimNode("", null, "", null);

        public readonly string Name, Type, Text;
        // A managed object reference: Type is the referenced object's type, Text its id.
        public readonly bool IsRef;
        readonly List<VimNode> kids;

        VimNode(string name, string type, string text, List<VimNode> kids, bool isRef = false)
        {
            Name = name; Type = type; Text = text; this.kids = kids ?? NoKids; IsRef = isRef;
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
        public int Int(string name) { return this[name].AsInt(); }
        public bool Bool(string name) { return this[name].AsBool(); }
        public MoRef Ref(string name) { return this[name].AsRef(); }

        // A value of the wrong kind or out of range is skipped, logged: the record keeps its default.
        public long AsLong()
        {
            long v;
            if (long.TryParse(Text, NumberStyles.Integer, CultureInfo.InvariantCulture, out v)) return v;
            return Skipped("a whole number", 0L);
        }

        public int AsInt()
        {
            long v;
            if (!long.TryParse(Text, NumberStyles.Integer, CultureInfo.InvariantCulture, out v)) return Skipped("a whole number", 0);
            return v < int.MinValue || v > int.MaxValue ? Skipped("a 32-bit number", 0) : (int)v;
        }

        public bool AsBool()
        {
            if (Text == "true" || Text == "1") return true;
            return Text == "false" || Text == "0" ? false : Skipped("true or false", false);
        }

        T Skipped<T>(string kind, T fallback)
        {
            if (Text != "") BadValues.Note(Name, Text, kind);
            return fallback;
        }

        public MoRef AsRef() { return Present && Text != "" ? new MoRef(Type, Text) : null; }

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
            return Skipped<DateTime?>("a time", null);
        }

        // What one response may hold: vSphere's data nests a few dozen levels at most, and a server must not make the
        // client build more objects than its bytes would honestly need.
        public const int MaxDepth = 256;

        public sealed class Limits
        {
            public long NodesLeft;
            public Limits(long nodes) { NodesLeft = nodes; }
        }

        // Reads the element the reader stands on, with everything below it.
        public static VimNode Read(XmlReader r, Limits limits, int depth = 0)
        {
            if (depth > MaxDepth) throw new ClientFault("The server's answer nests deeper than " + MaxDepth + " levels");
            if (--limits.NodesLeft < 0) throw new ClientFault("The server's answer holds more elements than its size allows");
            string name = r.LocalName, type = null;
            bool isRef = false;
            // Most elements carry no attribute: looking none up is much of a large read's cost.
            if (r.HasAttributes)
            {
                string plain = r.GetAttribute("type"), xsiType = r.GetAttribute("type", XsiNamespace);
                if (xsiType != null) xsiType = LocalType(r.NameTable, xsiType);
                // A property value that is a reference says so in xsi:type; the object's type is in the plain attribute.
                isRef = plain != null && (xsiType == null || xsiType == "ManagedObjectReference");
                type = isRef ? plain : xsiType;
            }
            if (r.IsEmptyElement)
            {
                r.Read();
                return new VimNode(name, type, "", null, isRef);
            }
            r.Read();
            List<VimNode> kids = null;
            string text = "";
            while (r.NodeType != XmlNodeType.EndElement)
            {
                switch (r.NodeType)
                {
                    case XmlNodeType.Element:
                        (kids ?? (kids = new List<VimNode>())).Add(Read(r, limits, depth + 1));
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
            return new VimNode(name, type, text, kids, isRef);
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
