using System;
using System.Collections.Generic;
using System.Linq;
using System.Xml;

namespace VISDKWrapper
{
    // The state file's share of datastores, their files, unregistered VMs and the VM details kept beside the VM part.
    static partial class Sim
    {
        static void SaveUnregistered(XmlWriter w)
        {
            foreach (var kv in Unregistered)
            {
                w.WriteStartElement("unregistered");
                Put(w, "configFile", kv.Key);
                SaveVm(w, kv.Value);
                w.WriteEndElement();
            }
        }

        static Action LoadUnregistered(XmlElement e)
        {
            var vms = Children(e, "unregistered").Select(u =>
            {
                var vm = u["vm"];
                if (vm == null) throw new StateError("<unregistered> has no <vm>");
                return new KeyValuePair<string, Vm>(Need(u, "configFile"), LoadVm(vm));
            }).ToList();
            return () =>
            {
                Unregistered.Clear();
                foreach (var kv in vms) Unregistered[kv.Key] = kv.Value;
            };
        }

        // A VM as the details and file owners name it: registered ones by moref, unregistered ones by their file.
        static string RefOf(Vm vm)
        {
            return Vms.Contains(vm) ? vm.Moref : "file:" + vm.ConfigFile;
        }

        static Vm ByRef(string reference)
        {
            if (reference == null) return null;
            Vm vm;
            if (reference.StartsWith("file:")) return Unregistered.TryGetValue(reference.Substring(5), out vm) ? vm : null;
            return Vms.FirstOrDefault(v => v.Moref == reference);
        }

        static void SaveVmDetails(XmlWriter w)
        {
            Put(w, "vmSeq", VmSeq);
            Put(w, "datastoreSeq", DatastoreSeq);
            foreach (var vm in Vms.Concat(Unregistered.Values))
            {
                w.WriteStartElement("vm");
                Put(w, "ref", RefOf(vm)); Put(w, "home", vm.Home); Put(w, "fileStem", vm.FileStem); Put(w, "owner", vm.Owner);
                Put(w, "firmware", vm.Firmware); Put(w, "folder", vm.Folder); Put(w, "pool", vm.ResourcePool); Put(w, "cpus", vm.NumCpu);
                Put(w, "videoRamKB", vm.VideoRamKB); Put(w, "needsConsolidation", vm.NeedsConsolidation);
                foreach (var iso in vm.Isos) { w.WriteStartElement("iso"); Put(w, "path", iso); w.WriteEndElement(); }
                foreach (var d in vm.Disks)
                {
                    w.WriteStartElement("disk");
                    Put(w, "key", d.Key); Put(w, "uuid", d.Uuid); Put(w, "rdmDevice", d.RdmDevice); Put(w, "rdmMode", d.RdmMode);
                    Put(w, "bus", d.Bus); Put(w, "unit", d.Unit); Put(w, "eagerZero", d.EagerZero); Put(w, "independent", d.Independent);
                    Put(w, "nonPersistent", d.NonPersistent);
                    w.WriteEndElement();
                }
                w.WriteEndElement();
            }
            foreach (var f in FirstClassDisks)
            {
                w.WriteStartElement("firstClassDisk");
                Put(w, "name", f.Name); Put(w, "datastore", f.Datastore); Put(w, "path", f.Path); Put(w, "id", f.Id);
                w.WriteEndElement();
            }
        }

        static Action LoadVmDetails(XmlElement e)
        {
            int vmSeq = Int(e, "vmSeq"), datastoreSeq = Int(e, "datastoreSeq");
            var details = Children(e, "vm").Select(v => new
            {
                Ref = Need(v, "ref"), Home = Text(v, "home"), FileStem = Text(v, "fileStem"), Owner = Need(v, "owner"), Firmware = Need(v, "firmware"),
                Folder = Need(v, "folder"), Pool = Need(v, "pool"), Cpus = Int(v, "cpus"), Video = Int(v, "videoRamKB"),
                Consolidate = Flag(v, "needsConsolidation"), Isos = Children(v, "iso").Select(i => Need(i, "path")).ToList(),
                Disks = Children(v, "disk").Select(d => new
                {
                    Key = Int(d, "key"), Uuid = Text(d, "uuid"), RdmDevice = Text(d, "rdmDevice"), RdmMode = Text(d, "rdmMode"), Bus = Int(d, "bus"),
                    Unit = Int(d, "unit"), Eager = Flag(d, "eagerZero"), Independent = Flag(d, "independent"), NonPersistent = Flag(d, "nonPersistent")
                }).ToList()
            }).ToList();
            var fcds = Children(e, "firstClassDisk").Select(f => new FirstClassDisk { Name = Need(f, "name"), Datastore = Need(f, "datastore"), Path = Need(f, "path"), Id = Need(f, "id") }).ToList();
            return () =>
            {
                VmSeq = vmSeq;
                DatastoreSeq = datastoreSeq;
                foreach (var x in details)
                {
                    var vm = ByRef(x.Ref);
                    if (vm == null) continue;
                    vm.Home = x.Home; vm.FileStem = x.FileStem; vm.Owner = x.Owner; vm.Firmware = x.Firmware; vm.Folder = x.Folder;
                    vm.ResourcePool = x.Pool; vm.NumCpu = x.Cpus; vm.VideoRamKB = x.Video; vm.NeedsConsolidation = x.Consolidate;
                    vm.Isos.Clear(); vm.Isos.AddRange(x.Isos);
                    foreach (var d in x.Disks)
                    {
                        var disk = vm.Disks.FirstOrDefault(k => k.Key == d.Key);
                        if (disk == null) continue;
                        disk.Uuid = d.Uuid; disk.RdmDevice = d.RdmDevice; disk.RdmMode = d.RdmMode; disk.Bus = d.Bus; disk.Unit = d.Unit;
                        disk.Placed = true; disk.EagerZero = d.Eager; disk.Independent = d.Independent; disk.NonPersistent = d.NonPersistent;
                    }
                }
                foreach (var vm in Vms.Concat(Unregistered.Values)) PlaceDisks(vm);
                FirstClassDisks.Clear();
                FirstClassDisks.AddRange(fcds);
            };
        }

        static void SaveDatastores(XmlWriter w)
        {
            foreach (var ds in Datastores)
            {
                w.WriteStartElement("datastore");
                Put(w, "name", ds.Name); Put(w, "type", ds.Type); Put(w, "uuid", ds.Uuid); Put(w, "moref", ds.Moref); Put(w, "url", ds.Url);
                Put(w, "remoteHost", ds.RemoteHost); Put(w, "remotePath", ds.RemotePath); Put(w, "capacity", ds.Capacity);
                Put(w, "accessible", ds.Accessible); Put(w, "readOnly", ds.ReadOnly);
                foreach (var h in ds.Hosts) { w.WriteStartElement("mount"); Put(w, "host", h); w.WriteEndElement(); }
                foreach (var kv in ds.Files)
                {
                    w.WriteStartElement("file");
                    Put(w, "path", kv.Key); Put(w, "folder", kv.Value.Dir); Put(w, "size", kv.Value.Size); Put(w, "modified", kv.Value.Modified);
                    if (kv.Value.Owner != null) Put(w, "owner", RefOf(kv.Value.Owner));
                    SaveContent(w, kv.Value.Data);
                    w.WriteEndElement();
                }
                w.WriteEndElement();
            }
        }

        static Action LoadDatastores(XmlElement e)
        {
            var stores = new List<KeyValuePair<Datastore, Dictionary<string, string>>>();
            foreach (var d in Children(e, "datastore"))
            {
                var ds = new Datastore
                {
                    Name = Need(d, "name"), Type = Need(d, "type"), Uuid = Need(d, "uuid"), Moref = Need(d, "moref"), Url = Need(d, "url"),
                    RemoteHost = Text(d, "remoteHost"), RemotePath = Text(d, "remotePath"), Capacity = Long(d, "capacity"),
                    Accessible = Flag(d, "accessible"), ReadOnly = Flag(d, "readOnly")
                };
                ds.Hosts.AddRange(Children(d, "mount").Select(m => Need(m, "host")));
                var owners = new Dictionary<string, string>();
                foreach (var f in Children(d, "file"))
                {
                    var path = Need(f, "path");
                    var data = LoadContent(f, "datastore file '" + path + "'");
                    ds.Files[path] = new DsFile { Dir = Flag(f, "folder"), Size = Long(f, "size"), Modified = Time(f, "modified"), Data = data };
                    var owner = Text(f, "owner");
                    if (owner != null) owners[path] = owner;
                }
                if (stores.Any(s => s.Key.Name == ds.Name)) throw new StateError("datastore '" + ds.Name + "' appears twice");
                stores.Add(new KeyValuePair<Datastore, Dictionary<string, string>>(ds, owners));
            }
            return () =>
            {
                Datastores.Clear();
                foreach (var s in stores)
                {
                    foreach (var o in s.Value) s.Key.Files[o.Key].Owner = ByRef(o.Value);
                    Datastores.Add(s.Key);
                }
            };
        }
    }
}
