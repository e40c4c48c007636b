using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;
using System.Xml;

namespace VISDKWrapper
{
    sealed class TagCategory
    {
        public string Name, Id;
    }

    sealed class Tag
    {
        public string Name, Id;
        public TagCategory Category;
    }

    sealed partial class Vm
    {
        public readonly SortedDictionary<string, string> Fields = new SortedDictionary<string, string>(StringComparer.Ordinal);
        public readonly List<Tag> Tags = new List<Tag>();
        public readonly SortedDictionary<string, string> ExtraConfig = new SortedDictionary<string, string>(StringComparer.Ordinal);
    }

    sealed partial class HostInfo
    {
        public readonly SortedDictionary<string, string> Advanced = new SortedDictionary<string, string>(StringComparer.Ordinal);
    }

    static partial class Sim
    {
        public const string LastBackupField = ManagementRules.LastBackup;
        public const string BackupStatusField = ManagementRules.BackupStatus;
        public static readonly List<string> CustomFields = new List<string>();
        public static readonly List<TagCategory> Categories = new List<TagCategory>();
        public static readonly List<Tag> AllTags = new List<Tag>();

        // Options every host answers for until it is told otherwise.
        static readonly string[][] HostDefaults =
        {
            new[] { "Config.HostAgent.log.level", "info" },
            new[] { "Config.HostAgent.plugins.solo.enableMob", "false" },
            new[] { "NFS.MaxVolumes", "8" },
            new[] { "Net.TcpipHeapSize", "0" },
            new[] { "UserVars.SuppressShellWarning", "0" },
            new[] { "VMFS3.HardwareAcceleratedLocking", "1" },
        };

        // Tags, fields, policies and filters from the configuration; tasks and imports start empty.
        static void BuildManagement(XmlElement root)
        {
            BuildTags(root);
            BuildPolicies(root);
            Tasks.Clear();
            Imports.Clear();
            LeaseSeq = 0;
        }

        static void BuildTags(XmlElement root)
        {
            CustomFields.Clear(); Categories.Clear(); AllTags.Clear();
            foreach (var h in Hosts)
            {
                h.Advanced.Clear();
                foreach (var kv in HostDefaults) h.Advanced[kv[0]] = kv[1];
                h.Advanced["Misc.HostName"] = h.Name;
            }
            var categories = All(root, "tagCategory").ToList();
            if (categories.Count == 0)
            {
                AddTags("Backup Policy", "Gold", "Silver", "Bronze");
                AddTags("Environment", "Production", "Test");
            }
            foreach (var c in categories) AddTags(A(c, "name"), A(c, "tags", "").Split(new[] { ',' }, StringSplitOptions.RemoveEmptyEntries).Select(x => x.Trim()).ToArray());
            foreach (var f in All(root, "customField")) CustomFields.Add(A(f, "name"));
            foreach (var t in All(root, "vmTag"))
            {
                var vm = FindVm(A(t, "vm", ""));
                var tag = FindTag(A(t, "tag", ""), A(t, "category", ""));
                if (vm != null && tag != null && !vm.Tags.Contains(tag)) vm.Tags.Add(tag);
            }
        }

        static void AddTags(string category, params string[] names)
        {
            var c = new TagCategory { Name = category, Id = TagUrn("Category", category) };
            Categories.Add(c);
            foreach (var n in names) AllTags.Add(new Tag { Name = n, Id = TagUrn("Tag", category + "/" + n), Category = c });
        }

        static string TagUrn(string kind, string seed)
        {
            var h = Hex(Hash("tag:" + seed), 16, "");
            return "urn:vmomi:InventoryService" + kind + ":" + h.Substring(0, 8) + "-" + h.Substring(8, 4) + "-" + h.Substring(12, 4) + "-" + h.Substring(16, 4) + "-" + h.Substring(20) + ":GLOBAL";
        }

        // By id, else by name within the category (any category when empty).
        public static Tag FindTag(string id, string category)
        {
            return AllTags.FirstOrDefault(t => t.Id == id)
                ?? AllTags.FirstOrDefault(t => t.Name == id && (string.IsNullOrEmpty(category) || t.Category.Name == category || t.Category.Id == category));
        }

        public static TagCategory FindCategory(string id)
        {
            return Categories.FirstOrDefault(c => c.Id == id || c.Name == id);
        }

        public static void NeedField(string name)
        {
            if (!CustomFields.Contains(name)) throw new SimFault("The custom field '" + name + "' is not defined.");
        }

        public static HostInfo GetHost(string id)
        {
            var h = FindHost(id);
            if (h == null) throw new SimFault("The host '" + id + "' was not found.");
            return h;
        }

        public static SInventoryInfoLib TagRecord(Tag t)
        {
            var category = new SInventoryInfoLib { strName = t.Category.Name, strGUID = t.Category.Id, children = new List<SInventoryInfoLib>() };
            return new SInventoryInfoLib { strName = t.Name, strGUID = t.Id, children = new List<SInventoryInfoLib> { category } };
        }
    }
}
