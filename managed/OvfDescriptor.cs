using System;
using System.IO;
using System.Linq;
using System.Xml;

namespace VISDKWrapper
{
    // An OVF descriptor as both clients read it: a local file, with no DTD and no external resource followed.
    static class OvfDescriptor
    {
        // A descriptor is a few kilobytes; a larger file is not one, and is not read into memory.
        const long MaxBytes = 16 << 20;

        public static XmlDocument Load(string source, out string path)
        {
            path = source ?? "";
            if (path.StartsWith("file://", StringComparison.OrdinalIgnoreCase)) path = Uri.UnescapeDataString(path.Substring(7));
            if (path.Length == 0 || path.Contains("://")) throw new ClientFault("A specified parameter was not correct: the OVF descriptor must be a local file.");
            var doc = new XmlDocument { XmlResolver = null, PreserveWhitespace = true };
            try
            {
                if (new FileInfo(path).Length > MaxBytes) throw new ClientFault("The OVF descriptor '" + source + "' is larger than " + (MaxBytes >> 20) + " MiB.");
                using (var reader = XmlReader.Create(path, new XmlReaderSettings { DtdProcessing = DtdProcessing.Prohibit, XmlResolver = null }))
                    doc.Load(reader);
            }
            catch (IOException e) { throw new ClientFault("The OVF descriptor '" + source + "' could not be read: " + e.Message); }
            catch (UnauthorizedAccessException e) { throw new ClientFault("The OVF descriptor '" + source + "' could not be read: " + e.Message); }
            catch (XmlException e) { throw new ClientFault("The OVF descriptor is not valid: " + e.Message); }
            var root = doc.DocumentElement;
            if (root == null || root.LocalName != "Envelope") throw new ClientFault("The OVF descriptor is not valid: the root element is not an Envelope.");
            return doc;
        }

        // The one virtual system an import makes.
        public static XmlElement System(XmlDocument doc)
        {
            var system = doc.DocumentElement.ChildNodes.OfType<XmlElement>().FirstOrDefault(e => e.LocalName == "VirtualSystem");
            if (system == null) throw new ClientFault("The OVF descriptor is not valid: it describes no virtual system (a collection cannot be imported).");
            return system;
        }

        // Its Name, else its id.
        public static string Name(XmlElement system)
        {
            var name = system.ChildNodes.OfType<XmlElement>().FirstOrDefault(e => e.LocalName == "Name");
            if (name != null) return name.InnerText.Trim();
            var id = system.Attributes.Cast<XmlAttribute>().FirstOrDefault(a => a.LocalName == "id");
            return id == null ? null : id.Value;
        }
    }
}
