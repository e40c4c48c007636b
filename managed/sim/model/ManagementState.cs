using System;
using System.Collections.Generic;
using System.Linq;
using System.Xml;

namespace VISDKWrapper
{
    // The state file's part for custom fields, tags on VMs, configuration values, storage policies on VMs and disks,
    // installed IO filters, tasks and imports. Categories, tags and policies themselves come from the configuration.
    static partial class Sim
    {
        static void Pair(XmlWriter w, string element, string key, string value)
        {
            w.WriteStartElement(element);
            Put(w, "key", key);
            Put(w, "value", value);
            w.WriteEndElement();
        }

        static void SaveManagement(XmlWriter w)
        {
            Put(w, "leaseSeq", LeaseSeq);
            foreach (var f in CustomFields) { w.WriteStartElement("field"); Put(w, "name", f); w.WriteEndElement(); }
            foreach (var h in Hosts)
            {
                w.WriteStartElement("host");
                Put(w, "name", h.Name);
                foreach (var kv in h.Advanced) Pair(w, "option", kv.Key, kv.Value);
                w.WriteEndElement();
            }
            foreach (var vm in Vms.Concat(Unregistered.Values))
            {
                w.WriteStartElement("vm");
                Put(w, "ref", RefOf(vm));
                Put(w, "policy", vm.PolicyId);
                foreach (var kv in vm.Fields) Pair(w, "field", kv.Key, kv.Value);
                foreach (var kv in vm.ExtraConfig) Pair(w, "option", kv.Key, kv.Value);
                foreach (var t in vm.Tags) { w.WriteStartElement("tag"); Put(w, "id", t.Id); w.WriteEndElement(); }
                foreach (var d in vm.Disks.Where(x => x.PolicyId != null))
                {
                    w.WriteStartElement("disk");
                    Put(w, "key", d.Key);
                    Put(w, "policy", d.PolicyId);
                    w.WriteEndElement();
                }
                w.WriteEndElement();
            }
            foreach (var f in Filters)
            {
                w.WriteStartElement("filter");
                Put(w, "cluster", f.Cluster.Moref); Put(w, "id", f.Id); Put(w, "version", f.Version); Put(w, "vib", f.Vib);
                foreach (var kv in f.Failed) Pair(w, "failed", kv.Key, kv.Value);
                w.WriteEndElement();
            }
            // A task still running when its process ends cannot finish: it is kept as interrupted.
            foreach (var t in Tasks)
            {
                w.WriteStartElement("task");
                Put(w, "id", t.Id); Put(w, "kind", t.Kind); Put(w, "entity", t.Entity); Put(w, "description", t.Description);
                Put(w, "state", t.Running ? "error" : t.State); Put(w, "error", t.Running ? TaskInterrupted : t.Error);
                Put(w, "result", t.Result); Put(w, "steps", t.Steps); Put(w, "done", t.Running ? t.Steps : t.Done); Put(w, "queued", t.Queued);
                w.WriteEndElement();
            }
            foreach (var l in Imports)
            {
                w.WriteStartElement("import");
                Put(w, "id", l.Id); Put(w, "vm", l.Vm); Put(w, "state", l.State); Put(w, "progress", l.Progress);
                w.WriteEndElement();
            }
        }

        static Dictionary<string, string> Pairs(XmlElement e, string element)
        {
            var pairs = new Dictionary<string, string>(StringComparer.Ordinal);
            foreach (var p in Children(e, element))
            {
                var key = Need(p, "key");
                if (pairs.ContainsKey(key)) throw new StateError("<" + e.Name + "> repeats the " + element + " '" + key + "'");
                pairs[key] = Need(p, "value");
            }
            return pairs;
        }

        static Action LoadManagement(XmlElement e)
        {
            int leaseSeq = Int(e, "leaseSeq");
            var fields = Children(e, "field").Select(f => Need(f, "name")).ToList();
            var hosts = Children(e, "host").Select(h => new { Name = Need(h, "name"), Options = Pairs(h, "option") }).ToList();
            var vms = Children(e, "vm").Select(v => new
            {
                Ref = Need(v, "ref"), Policy = Text(v, "policy"), Fields = Pairs(v, "field"), Options = Pairs(v, "option"),
                Tags = Children(v, "tag").Select(t => Need(t, "id")).ToList(),
                Disks = Children(v, "disk").Select(d => new { Key = Int(d, "key"), Policy = Need(d, "policy") }).ToList()
            }).ToList();
            var filters = Children(e, "filter").Select(f => new
            {
                Cluster = Need(f, "cluster"), Id = Need(f, "id"), Version = Need(f, "version"), Vib = Need(f, "vib"), Failed = Pairs(f, "failed")
            }).ToList();
            var tasks = Children(e, "task").Select(t =>
            {
                var state = Need(t, "state");
                if (state != "success" && state != "error") throw new StateError("<task> state '" + state + "' is not success or error");
                return new SimTask
                {
                    Id = Need(t, "id"), Kind = Need(t, "kind"), Entity = Need(t, "entity"), Description = Need(t, "description"), State = state,
                    Error = Need(t, "error"), Result = Need(t, "result"), Steps = Int(t, "steps"), Done = Int(t, "done"), Queued = Time(t, "queued")
                };
            }).ToList();
            var imports = Children(e, "import").Select(l => new ImportLease
            {
                Id = Need(l, "id"), Vm = Need(l, "vm"), State = Need(l, "state"), Progress = Int(l, "progress")
            }).ToList();
            return () =>
            {
                LeaseSeq = leaseSeq;
                CustomFields.Clear();
                CustomFields.AddRange(fields);
                foreach (var x in hosts)
                {
                    var h = FindHost(x.Name);
                    if (h == null) continue;
                    h.Advanced.Clear();
                    foreach (var kv in x.Options) h.Advanced[kv.Key] = kv.Value;
                }
                foreach (var x in vms)
                {
                    var vm = ByRef(x.Ref);
                    if (vm == null) continue;
                    vm.PolicyId = x.Policy;
                    vm.Fields.Clear();
                    foreach (var kv in x.Fields) vm.Fields[kv.Key] = kv.Value;
                    vm.ExtraConfig.Clear();
                    foreach (var kv in x.Options) vm.ExtraConfig[kv.Key] = kv.Value;
                    vm.Tags.Clear();
                    vm.Tags.AddRange(x.Tags.Select(id => AllTags.FirstOrDefault(t => t.Id == id)).Where(t => t != null));
                    foreach (var d in vm.Disks) d.PolicyId = x.Disks.Where(p => p.Key == d.Key).Select(p => p.Policy).FirstOrDefault();
                }
                Filters.Clear();
                foreach (var x in filters)
                {
                    var c = FindCompute(x.Cluster);
                    if (c == null) continue;
                    var f = new FilterInstall { Cluster = c, Id = x.Id, Version = x.Version, Vib = x.Vib };
                    foreach (var kv in x.Failed) f.Failed[kv.Key] = kv.Value;
                    Filters.Add(f);
                }
                Tasks.Clear();
                Tasks.AddRange(tasks);
                Imports.Clear();
                Imports.AddRange(imports);
            };
        }
    }
}
