using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;
using System.Xml;

namespace VISDKWrapper
{
    // The <visdkWrapper> section of VISDKWrapper.config, shared by the simulator and the web-services client: the
    // application domain's configuration file, else the file beside the assembly, else the built-in copy.
    static class WrapperConfig
    {
        const string SectionName = "visdkWrapper";
        const string DefaultsResource = "VISDKWrapper.defaults.config";

        // The section of the given file, or of the first readable candidate, or the built-in one; fromFile says which.
        public static XmlElement Section(string path, out bool fromFile)
        {
            XmlElement root = null;
            foreach (var p in path != null ? new[] { path } : Candidates())
                if ((root = Read(() => Load(p))) != null) break;
            fromFile = root != null;
            if (root == null && path == null)
                root = Read(() =>
                {
                    var d = Document();
                    using (var s = typeof(WrapperConfig).Assembly.GetManifestResourceStream(DefaultsResource)) if (s != null) d.Load(s);
                    return d;
                });
            return root;
        }

        public static string Attribute(XmlElement e, string name, string fallback = null)
        {
            return e != null && e.HasAttribute(name) ? e.GetAttribute(name) : fallback;
        }

        public static long Number(XmlElement e, string name, long fallback)
        {
            long v;
            return e != null && e.HasAttribute(name) && long.TryParse(e.GetAttribute(name), NumberStyles.Integer, CultureInfo.InvariantCulture, out v) ? v : fallback;
        }

        public static IEnumerable<XmlElement> Children(XmlElement e, string name)
        {
            return e == null ? Enumerable.Empty<XmlElement>() : e.ChildNodes.OfType<XmlElement>().Where(x => x.Name == name);
        }

        // A configuration file is ours, but it is still parsed as untrusted input: no DTDs, no external entities.
        static XmlDocument Document()
        {
            return new XmlDocument { XmlResolver = null };
        }

        static XmlDocument Load(string path)
        {
            var d = Document();
            using (var r = XmlReader.Create(path, new XmlReaderSettings { DtdProcessing = DtdProcessing.Prohibit, XmlResolver = null })) d.Load(r);
            return d;
        }

        static IEnumerable<string> Candidates()
        {
            var list = new List<string>();
            try
            {
                var f = AppDomain.CurrentDomain.SetupInformation.ConfigurationFile;
                if (!string.IsNullOrEmpty(f)) list.Add(f);
            }
            catch (Exception) { }
            try { list.Add(Path.Combine(Path.GetDirectoryName(typeof(WrapperConfig).Assembly.Location), "VISDKWrapper.config")); }
            catch (Exception) { }
            return list.Where(File.Exists);
        }

        static XmlElement Read(Func<XmlDocument> load)
        {
            try
            {
                var root = load().DocumentElement;
                if (root == null) return null;
                return root.Name == SectionName ? root : root[SectionName];
            }
            catch (Exception) { return null; }
        }
    }
}
