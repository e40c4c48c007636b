#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Text;
using System.Xml;

namespace VISDKWrapper
{
    // One SOAP request body, written element by element in the order the method's parameters are declared. Data
    // objects that stand for a base type carry their type as xsi:type. A text holding a character that XML cannot
    // carry is refused here, before anything goes out.
    sealed class SoapRequest
    {
        const string Envelope = "http://schemas.xmlsoap.org/soap/envelope/";
        public const string Vim25 = "urn:vim25";

        readonly MemoryStream buffer = new MemoryStream();
        readonly XmlWriter w;
        public readonly string Method;
        // The object the method is called on (_this).
        public readonly MoRef Target;
        // The service's namespace and, beside /sdk, its path ("urn:pbm" at "/pbm"); null Path: /sdk.
        public readonly string Namespace, Path;

        public SoapRequest(string method, MoRef target) : this(method, target, Vim25, null, null) { }

        // A request to another service of the server, which takes the vCenter session's cookie in its SOAP header.
        public SoapRequest(string method, MoRef target, string ns, string path, string sessionCookie)
        {
            Method = method;
            Target = target;
            Namespace = ns;
            Path = path;
            w = XmlWriter.Create(buffer, new XmlWriterSettings { Encoding = new UTF8Encoding(false), CheckCharacters = true });
            w.WriteStartDocument();
            w.WriteStartElement("soapenv", "Envelope", Envelope);
            w.WriteAttributeString("xmlns", "xsd", null, "http://www.w3.org/2001/XMLSchema");
            w.WriteAttributeString("xmlns", "xsi", null, VimNode.XsiNamespace);
            if (sessionCookie != null)
            {
                w.WriteStartElement("Header", Envelope);
                w.WriteElementString("vcSessionCookie", "", sessionCookie);
                w.WriteEndElement();
            }
            w.WriteStartElement("Body", Envelope);
            w.WriteStartElement(method, ns);
            Ref("_this", target);
        }

        public SoapRequest Ref(string name, MoRef value)
        {
            if (value == null) return this;
            w.WriteStartElement(name, Namespace);
            w.WriteAttributeString("type", value.Type);
            Text(value.Value);
            w.WriteEndElement();
            return this;
        }

        public SoapRequest Add(string name, string value)
        {
            if (value == null) return this;
            w.WriteStartElement(name, Namespace);
            Text(value);
            w.WriteEndElement();
            return this;
        }

        // A password: like Add, but a refusal names the field, never the text.
        public SoapRequest Secret(string name, string value)
        {
            w.WriteStartElement(name, Namespace);
            try { w.WriteString(value ?? ""); }
            catch (ArgumentException) { throw new ClientFault("A specified parameter was not correct: the " + name + " holds a character the request cannot carry"); }
            w.WriteEndElement();
            return this;
        }

        public SoapRequest Add(string name, long value) { return Add(name, value.ToString(CultureInfo.InvariantCulture)); }
        public SoapRequest Add(string name, bool value) { return Add(name, value ? "true" : "false"); }
        public SoapRequest Add(string name, DateTime value) { return Add(name, value.ToUniversalTime().ToString("yyyy-MM-dd'T'HH:mm:ss.fff'Z'", CultureInfo.InvariantCulture)); }

        public SoapRequest AddAll(string name, IEnumerable<string> values)
        {
            foreach (var v in values) Add(name, v);
            return this;
        }

        // A typed value of an xsd:anyType slot (an option value's value, say).
        public SoapRequest Typed(string name, string xsdType, string value)
        {
            w.WriteStartElement(name, Namespace);
            w.WriteAttributeString("type", VimNode.XsiNamespace, xsdType);
            Text(value);
            w.WriteEndElement();
            return this;
        }

        // Opens a data object; close it with End. A type is given where the slot's declared type is a base of it.
        public SoapRequest Begin(string name, string type = null)
        {
            w.WriteStartElement(name, Namespace);
            if (type != null) w.WriteAttributeString("type", VimNode.XsiNamespace, type);
            return this;
        }

        public SoapRequest End()
        {
            w.WriteEndElement();
            return this;
        }

        static readonly HashSet<string> XsdTypes = new HashSet<string> { "string", "boolean", "byte", "short", "int", "long", "float", "double", "dateTime", "base64Binary", "anyURI" };

        // A node read from a response, written back as it came (a device to edit goes out as the server sent it).
        public SoapRequest Node(VimNode node) { return Node(node.Name, node); }

        public SoapRequest Node(string name, VimNode node)
        {
            if (node.IsRef) return Ref(name, node.AsRef() ?? new MoRef(node.Type, ""));
            if (node.Kids.Count == 0 && node.Type != null) return Typed(name, XsdTypes.Contains(node.Type) ? "xsd:" + node.Type : node.Type, node.Text);
            if (node.Kids.Count == 0) return Add(name, node.Text);
            Begin(name, node.Type);
            foreach (var k in node.Kids) Node(k);
            return End();
        }

        byte[] bytes;

        // Whether the request changes nothing on the server (or only the session's own views), so may run again.
        public bool ChangesNothing { get { return Reads(Method); } }

        static bool Reads(string method)
        {
            return method.StartsWith("Retrieve", StringComparison.Ordinal) || method.StartsWith("ContinueRetrieve", StringComparison.Ordinal) ||
                method.StartsWith("Find", StringComparison.Ordinal) || method.StartsWith("Query", StringComparison.Ordinal) ||
                method.StartsWith("PbmQuery", StringComparison.Ordinal) || method.StartsWith("PbmRetrieve", StringComparison.Ordinal) ||
                method.StartsWith("PbmFetch", StringComparison.Ordinal) || method.StartsWith("SearchDatastore", StringComparison.Ordinal) ||
                Array.IndexOf(ReadMethods, method) >= 0;
        }

        static readonly string[] ReadMethods =
        {
            "CurrentTime", "SessionIsActive", "HasPrivilegeOnEntity", "CreateContainerView", "DestroyView", "CreateImportSpec",
            "GetCustomizationSpec", "AcquireGenericServiceTicket", "ListFilesInGuest", "ListProcessesInGuest", "HttpNfcLeaseProgress",
        };

        // The finished document; a request sent again is the same document.
        public byte[] Bytes()
        {
            if (bytes != null) return bytes;
            w.WriteEndDocument();
            w.Flush();
            return bytes = buffer.ToArray();
        }

        void Text(string value)
        {
            try { w.WriteString(value); }
            catch (ArgumentException) { throw new ClientFault("A specified parameter was not correct: the text '" + Printable(value) + "' holds a character the request cannot carry"); }
        }

        static string Printable(string value)
        {
            var b = new StringBuilder();
            foreach (var c in value) b.Append(c < ' ' || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF ? '?' : c);
            return b.ToString();
        }
    }
}
#endif
