#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // One RetrievePropertiesEx over objects of several types at once: property sets by type, then the objects, each
    // optionally followed along one property to the objects it names (a host to its parent, a datastore to its VMs).
    // Objects the server does not know are reported in the result rather than failing the whole call.
    sealed class Retrieval
    {
        readonly List<KeyValuePair<string, string[]>> propSets = new List<KeyValuePair<string, string[]>>();
        readonly List<Tuple<MoRef, bool, string, string>> objects = new List<Tuple<MoRef, bool, string, string>>();
        readonly HashSet<MoRef> seen = new HashSet<MoRef>();
        public bool ReportMissing;

        public bool Empty { get { return objects.Count == 0; } }

        public Retrieval Props(string type, IEnumerable<string> paths)
        {
            propSets.Add(new KeyValuePair<string, string[]>(type, paths.Distinct().ToArray()));
            return this;
        }

        // The object itself (unless skip) and, given a property, the objects that property of it names.
        public Retrieval Object(MoRef obj, bool skip = false, string followType = null, string followPath = null)
        {
            if (obj != null && (followPath != null || seen.Add(obj))) objects.Add(Tuple.Create(obj, skip, followType, followPath));
            return this;
        }

        public SoapRequest Request(MoRef collector)
        {
            var request = new SoapRequest("RetrievePropertiesEx", collector).Begin("specSet");
            foreach (var p in propSets)
            {
                request.Begin("propSet").Add("type", p.Key);
                if (p.Value.Length == 0) request.Add("all", false);
                foreach (var path in p.Value) request.Add("pathSet", path);
                request.End();
            }
            int n = 0;
            foreach (var o in objects)
            {
                request.Begin("objectSet").Ref("obj", o.Item1).Add("skip", o.Item2);
                if (o.Item4 != null)
                    request.Begin("selectSet", "TraversalSpec").Add("name", "follow" + n++).Add("type", o.Item3).Add("path", o.Item4).Add("skip", false).End();
                request.End();
            }
            if (ReportMissing) request.Add("reportMissingObjectsInResults", true);
            return request.End();
        }
    }

    sealed partial class VimClient
    {
        // Sends a retrieval (all its pages); objects the server reported missing, or that came back without any of the
        // asked properties, are left out.
        List<ObjectContent> Run(Retrieval retrieval)
        {
            if (retrieval.Empty) return new List<ObjectContent>();
            return Paged(retrieval.Request(Content("propertyCollector"))).Where(o => o.Props.Count > 0 || !retrieval.ReportMissing).ToList();
        }

        // Views on the root by their types, and on other containers by container and types, kept for the session.
        readonly Dictionary<string, MoRef> views = new Dictionary<string, MoRef>();
        readonly Dictionary<string, MoRef> containerViews = new Dictionary<string, MoRef>();
        readonly Queue<string> containerViewOrder = new Queue<string>();
        const int MaxContainerViews = 32;

        // A kept view of the types under the container (null: the root). The root's views last the session; views on
        // other containers are kept too, but past a few dozen the oldest are destroyed.
        MoRef ViewOn(MoRef container, params string[] types)
        {
            bool root = container == null || container.Equals(content.Ref("rootFolder"));
            var key = string.Join(",", types);
            var kept = root ? views : containerViews;
            if (!root) key = container + "|" + key;
            MoRef view;
            if (kept.TryGetValue(key, out view)) return view;
            var request = new SoapRequest("CreateContainerView", Content("viewManager")).Ref("container", root ? Content("rootFolder") : container);
            foreach (var t in types) request.Add("type", t);
            view = Invoke(request.Add("recursive", true)).Ref("returnval");
            kept[key] = view;
            if (root) return view;
            containerViewOrder.Enqueue(key);
            while (containerViewOrder.Count > MaxContainerViews)
            {
                var old = containerViewOrder.Dequeue();
                MoRef gone;
                if (containerViews.TryGetValue(old, out gone))
                {
                    containerViews.Remove(old);
                    try { Invoke(new SoapRequest("DestroyView", gone)); } catch (ClientFault) { }
                }
            }
            return view;
        }

        // Views live as long as the session that made them.
        void ForgetViews()
        {
            views.Clear();
            containerViews.Clear();
            containerViewOrder.Clear();
        }

        // Runs a read through a kept view; when the server has dropped the view (a new session, say) the views are
        // forgotten and the read is made once more on new ones.
        T ThroughViews<T>(Func<T> read)
        {
            try { return read(); }
            catch (VimFault f) when (f.FaultType == "ManagedObjectNotFound" && (views.Count > 0 || containerViews.Count > 0))
            {
                ForgetViews();
                return read();
            }
        }
    }
}
#endif
