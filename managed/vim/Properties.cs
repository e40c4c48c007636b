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
        // Every object of the type in the inventory, with the given properties.
        List<ObjectContent> RetrieveAll(string type, params string[] paths)
        {
            return RetrieveAll(type, new Dictionary<string, string[]> { { type, paths } });
        }

        // Every object of several types in one request over a kept view of viewType ("ManagedEntity": the whole
        // inventory), so a bulk read is one RetrievePropertiesEx (and a continuation per page), never one round trip per
        // object: one property set per type, each also covering the type's subtypes.
        List<ObjectContent> RetrieveAll(string viewType, IDictionary<string, string[]> kinds)
        {
            return ThroughViews(() =>
            {
                var retrieval = new Retrieval();
                foreach (var k in kinds) retrieval.Props(k.Key, k.Value);
                return Paged(retrieval.Object(ViewOn(null, viewType), true, "ContainerView", "view").Request(Content("propertyCollector")));
            });
        }

        // The given objects (all of one type) with the given properties, in one request.
        List<ObjectContent> RetrieveMany(IEnumerable<MoRef> objects, string type, params string[] paths)
        {
            var retrieval = new Retrieval().Props(type, paths);
            foreach (var o in objects) retrieval.Object(o);
            return retrieval.Empty ? new List<ObjectContent>() : Paged(retrieval.Request(Content("propertyCollector")));
        }

        // One object's properties; a fault when the server does not know it.
        ObjectContent Retrieve(MoRef obj, params string[] paths)
        {
            var found = RetrieveMany(new[] { obj }, obj.Type, paths);
            if (found.Count == 0) throw new VimFault("ManagedObjectNotFound", "The object 'vim." + obj.Type + ":" + obj.Value + "' has already been deleted or has not been completely created");
            return found[0];
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
