#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.Linq;

namespace VISDKWrapper
{
    // One object's properties as the property collector returned them: by path, the missing ones left out.
    sealed class ObjectContent
    {
        public readonly MoRef Obj;
        public readonly Dictionary<string, VimNode> Props = new Dictionary<string, VimNode>();

        public ObjectContent(VimNode node)
        {
            Obj = node.Ref("obj");
            foreach (var p in node.All("propSet")) Props[p.Str("name")] = p["val"];
        }

        public VimNode this[string path]
        {
            get { VimNode v; return Props.TryGetValue(path, out v) ? v : VimNode.None; }
        }

        public string Str(string path) { return this[path].Text; }
    }

    sealed partial class VimClient
    {
        // One container view per object type, made on first use and kept for the session: a bulk read is then one
        // RetrievePropertiesEx (and a continuation per page), never one round trip per object.
        readonly Dictionary<string, MoRef> views = new Dictionary<string, MoRef>();

        MoRef ViewOf(string type)
        {
            MoRef view;
            if (views.TryGetValue(type, out view)) return view;
            view = Invoke(new SoapRequest("CreateContainerView", Content("viewManager"))
                .Ref("container", Content("rootFolder")).Add("type", type).Add("recursive", true)).Ref("returnval");
            views[type] = view;
            return view;
        }

        // Every object of the type in the inventory, with the given properties.
        List<ObjectContent> RetrieveAll(string type, params string[] paths)
        {
            return RetrieveAll(type, new Dictionary<string, string[]> { { type, paths } });
        }

        // Every object of several types in one request over a view of viewType ("ManagedEntity": the whole inventory):
        // one property set per type, each also covering the type's subtypes.
        List<ObjectContent> RetrieveAll(string viewType, IDictionary<string, string[]> kinds)
        {
            try { return RetrieveFromView(ViewOf(viewType), kinds); }
            catch (VimFault f) when (f.FaultType == "ManagedObjectNotFound")
            {
                // The server dropped the view (a new session, say): make another once.
                views.Remove(viewType);
                return RetrieveFromView(ViewOf(viewType), kinds);
            }
        }

        List<ObjectContent> RetrieveFromView(MoRef view, IDictionary<string, string[]> kinds)
        {
            var request = new SoapRequest("RetrievePropertiesEx", Content("propertyCollector")).Begin("specSet");
            foreach (var k in kinds) PropSet(request, k.Key, k.Value);
            request.Begin("objectSet").Ref("obj", view).Add("skip", true)
                .Begin("selectSet", "TraversalSpec").Add("name", "view").Add("type", "ContainerView").Add("path", "view").Add("skip", false).End()
                .End().End();
            return Paged(request);
        }

        // The given objects (all of one type) with the given properties, in one request.
        List<ObjectContent> RetrieveMany(IEnumerable<MoRef> objects, string type, params string[] paths)
        {
            var request = new SoapRequest("RetrievePropertiesEx", Content("propertyCollector")).Begin("specSet");
            PropSet(request, type, paths);
            bool any = false;
            foreach (var o in objects)
            {
                request.Begin("objectSet").Ref("obj", o).Add("skip", false).End();
                any = true;
            }
            request.End();
            return any ? Paged(request) : new List<ObjectContent>();
        }

        // One object's properties; a fault when the server does not know it.
        ObjectContent Retrieve(MoRef obj, params string[] paths)
        {
            var found = RetrieveMany(new[] { obj }, obj.Type, paths);
            if (found.Count == 0) throw new VimFault("ManagedObjectNotFound", "The object 'vim." + obj.Type + ":" + obj.Value + "' has already been deleted or has not been completely created");
            return found[0];
        }

        static void PropSet(SoapRequest request, string type, string[] paths)
        {
            request.Begin("propSet").Add("type", type);
            if (paths.Length == 0) request.Add("all", false);
            foreach (var p in paths) request.Add("pathSet", p);
            request.End();
        }

        // Far beyond any inventory: 100,000 pages of the configured size.
        const int MaxPages = 100000;

        // Sends a retrieval and follows its continuation tokens until the last page.
        List<ObjectContent> Paged(SoapRequest request)
        {
            Auth();
            request.Begin("options").Add("maxObjects", settings.PageSize).End();
            var result = new List<ObjectContent>();
            var page = Invoke(request)["returnval"];
            string previous = null;
            // A server that pages without end (or repeats its token) must not keep the caller for ever.
            for (int pages = 1; ; pages++)
            {
                foreach (var o in page.All("objects")) result.Add(new ObjectContent(o));
                var token = page.Str("token");
                if (token == "") return result;
                if (token == previous || pages >= MaxPages)
                    throw new ClientFault("The server's answer to RetrievePropertiesEx pages without end (" + pages + " pages, " + result.Count + " objects)");
                previous = token;
                page = Invoke(new SoapRequest("ContinueRetrievePropertiesEx", Content("propertyCollector")).Add("token", token))["returnval"];
            }
        }
    }
}
#endif
