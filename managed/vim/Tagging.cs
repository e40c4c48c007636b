#if !NOCLASS && !EMPTY
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Net;
using System.Runtime.Serialization.Json;
using System.Text;
using System.Xml;

namespace VISDKWrapper
{
    // Tags and categories through a vCenter's tagging REST API (/rest/com/vmware/cis/tagging), on the SOAP transport's
    // host and trust. JSON goes through Mono's JSON-to-XML reader and writer into the same VimNode tree as SOAP answers.
    sealed partial class VimClient
    {
        const string RestSessionPath = "/com/vmware/cis/session", TagPath = "/com/vmware/cis/tagging/tag",
            CategoryPath = "/com/vmware/cis/tagging/category", AssociationPath = "/com/vmware/cis/tagging/tag-association";

        // The REST API wants a login of its own, with the credentials the client holds (VimClient.held).
        string restSession;

        void ForgetServiceLogin() { restSession = null; }

        sealed class RestAnswer
        {
            public int Status;
            public string Reason;
            public VimNode Json = VimNode.None;
        }

        // One request; the answer whatever its status (transport failures throw).
        RestAnswer RestSend(string method, string path, byte[] body, Action<HttpWebRequest> prepare = null)
        {
            var what = method + " /rest" + path;
            var http = soap.Http(new Uri(soap.Url, "/rest" + path), method);
            http.Accept = "application/json";
            if (prepare != null) prepare(http);
            HttpWebResponse response = null;
            // A small exchange: reaching the server and its whole answer within the two timeouts.
            var deadline = new Deadline(http, settings.ConnectTimeoutMs + settings.ReadTimeoutMs);
            try
            {
                if (body != null)
                {
                    http.ContentType = "application/json";
                    http.ContentLength = body.Length;
                    using (var s = http.GetRequestStream()) s.Write(body, 0, body.Length);
                }
                else if (method != "GET") http.ContentLength = 0;
                try { response = (HttpWebResponse)http.GetResponse(); }
                catch (WebException e)
                {
                    response = e.Response as HttpWebResponse;
                    if (response == null) throw soap.HttpFailure(e, what);
                }
                return new RestAnswer { Status = (int)response.StatusCode, Reason = response.StatusDescription, Json = ReadJson(response, what) };
            }
            catch (Exception e) when (deadline.Expired && !(e is ClientFault))
            {
                throw new ClientFault("The server " + soap.Url.Host + ":" + soap.Url.Port + " did not answer " + what + " in time");
            }
            catch (WebException e) { throw soap.HttpFailure(e, what); }
            catch (IOException e) { throw new ClientFault("The connection to " + soap.Url.Host + ":" + soap.Url.Port + " failed: " + e.Message); }
            finally
            {
                deadline.Dispose();
                if (response != null) response.Close();
            }
        }

        // The answer's JSON as a tree ("root", its members by name, array items as "item"); None for an empty or non-JSON body.
        VimNode ReadJson(HttpWebResponse response, string what)
        {
            var buffer = new MemoryStream();
            using (var s = new CappedStream(response.GetResponseStream(), settings.ResponseLimitBytes,
                () => new ClientFault("The server's answer to " + what + " is larger than " + (settings.ResponseLimitBytes >> 20) + " MiB (responseLimitMB)")))
                s.CopyTo(buffer);
            if (buffer.Length == 0) return VimNode.None;
            try
            {
                var quotas = new XmlDictionaryReaderQuotas { MaxDepth = VimNode.MaxDepth, MaxStringContentLength = int.MaxValue, MaxArrayLength = int.MaxValue };
                using (var r = JsonReaderWriterFactory.CreateJsonReader(buffer.ToArray(), quotas))
                {
                    r.MoveToContent();
                    return VimNode.Read(r, new VimNode.Limits(settings.ResponseLimitBytes / 32 + 1024));
                }
            }
            catch (XmlException) { return VimNode.None; }
        }

        // A request in the REST session, made on first use and made again once when the server has forgotten it.
        RestAnswer Rest(string method, string path, byte[] body = null)
        {
            Auth();
            if (!IsVCenter) throw new ClientFault("The server offers no tagging service: tags are kept by a vCenter.");
            if (restSession == null) restSession = RestLogin();
            var answer = RestSend(method, path, body, h => h.Headers["vmware-api-session-id"] = restSession);
            if (answer.Status != 401) return answer;
            restSession = RestLogin();
            return RestSend(method, path, body, h => h.Headers["vmware-api-session-id"] = restSession);
        }

        string RestLogin()
        {
            if (held == null) throw new ClientFault("The session is not authenticated.");
            var answer = RestSend("POST", RestSessionPath, null, h =>
            {
                h.Headers["Authorization"] = "Basic " + Convert.ToBase64String(Encoding.UTF8.GetBytes(held.User + ":" + held.Password));
                h.Headers["vmware-use-header-authn"] = "true";
            });
            if (answer.Status == 401) throw new ClientFault("The tagging service refused the login of '" + held.User + "'.");
            var id = Value(answer, "POST /rest" + RestSessionPath).Text;
            if (id == "") throw new ClientFault("The tagging service answered no session.");
            return id;
        }

        // The answer's "value"; a failure status fails with the service's message.
        static VimNode Value(RestAnswer answer, string what)
        {
            if (answer.Status >= 200 && answer.Status < 300) return answer.Json["value"];
            var messages = answer.Json.At("value.messages").All("item").Select(m => m.Str("default_message")).Where(m => m != "").ToList();
            throw new ClientFault(messages.Count > 0 ? string.Join(" ", messages)
                : "The server answered " + answer.Status + " (" + answer.Reason + ") to " + what);
        }

        static byte[] Json(Action<XmlDictionaryWriter> members)
        {
            var buffer = new MemoryStream();
            using (var w = JsonReaderWriterFactory.CreateJsonWriter(buffer, new UTF8Encoding(false), false))
            {
                w.WriteStartElement("root");
                w.WriteAttributeString("type", "object");
                members(w);
                w.WriteEndElement();
            }
            return buffer.ToArray();
        }

        // {"object_id": {"type": ..., "id": ...}, "tag_ids": [...]}, each part when given.
        static byte[] AssociationJson(MoRef obj, IEnumerable<string> tagIds)
        {
            return Json(w =>
            {
                if (obj != null)
                {
                    w.WriteStartElement("object_id");
                    w.WriteAttributeString("type", "object");
                    w.WriteElementString("type", obj.Type);
                    w.WriteElementString("id", obj.Value);
                    w.WriteEndElement();
                }
                if (tagIds != null)
                {
                    w.WriteStartElement("tag_ids");
                    w.WriteAttributeString("type", "array");
                    foreach (var id in tagIds) w.WriteElementString("item", id);
                    w.WriteEndElement();
                }
            });
        }

        VimNode RestValue(string method, string path, byte[] body = null)
        {
            return Value(Rest(method, path, body), method + " /rest" + path);
        }

        static List<string> Texts(VimNode array) { return array.All("item").Select(i => i.Text).ToList(); }

        // A tag or category by id; null when the service knows none. The API has no bulk read of them.
        VimNode TagObject(string path, string id)
        {
            var at = path + "/id:" + Uri.EscapeDataString(id);
            var answer = Rest("GET", at);
            return answer.Status == 404 ? null : Value(answer, "GET /rest" + at);
        }

        static bool IsTagId(string id, string kind) { return id.StartsWith("urn:vmomi:InventoryService" + kind + ":", StringComparison.Ordinal); }

        // By id, else by name.
        VimNode FindCategory(string id)
        {
            if (string.IsNullOrEmpty(id)) return null;
            var byId = IsTagId(id, "Category") ? TagObject(CategoryPath, id) : null;
            return byId ?? Texts(RestValue("GET", CategoryPath)).Select(c => TagObject(CategoryPath, c)).FirstOrDefault(c => c != null && c.Str("name") == id);
        }

        List<string> TagsOf(VimNode category)
        {
            return Texts(RestValue("POST", TagPath + "/id:" + Uri.EscapeDataString(category.Str("id")) + "?~action=list-tags-for-category"));
        }

        // By id, else by name within the category (a name or id; empty: any).
        VimNode FindTag(string id, string category)
        {
            if (string.IsNullOrEmpty(id)) return null;
            var byId = IsTagId(id, "Tag") ? TagObject(TagPath, id) : null;
            if (byId != null) return byId;
            List<string> ids;
            if (string.IsNullOrEmpty(category)) ids = Texts(RestValue("GET", TagPath));
            else
            {
                var c = FindCategory(category);
                if (c == null) return null;
                ids = TagsOf(c);
            }
            return ids.Select(t => TagObject(TagPath, t)).FirstOrDefault(t => t != null && t.Str("name") == id);
        }

        // The records of the VMs carrying any of the tags: one request for the associations, one bulk read of the VMs.
        List<SVMInfoLib> TaggedVms(List<string> tagIds, ulong mask)
        {
            if (tagIds.Count == 0) return new List<SVMInfoLib>();
            var attached = RestValue("POST", AssociationPath + "?~action=list-attached-objects-on-tags", AssociationJson(null, tagIds));
            var vms = attached.All("item").SelectMany(a => a["object_ids"].All("item"))
                .Where(o => o.Str("type") == "VirtualMachine").Select(o => new MoRef("VirtualMachine", o.Str("id"))).Distinct().ToList();
            if (vms.Count == 0) return new List<SVMInfoLib>();
            var read = new Retrieval { ReportMissing = true }.Props("VirtualMachine", PathsFor(mask));
            foreach (var vm in vms) read.Object(vm);
            return Records(Run(read), mask);
        }

        public List<SVMInfoLib> GetVMInfoListForTag(string tag, string category, ulong mask, int flags)
        {
            Auth();
            var t = FindTag(tag, category);
            if (t == null) throw new ClientFault("The tag '" + tag + "' was not found.");
            return TaggedVms(new List<string> { t.Str("id") }, mask);
        }

        public List<SVMInfoLib> GetVMInfoListForCategory(string category, string tag, ulong mask, int flags)
        {
            Auth();
            var c = FindCategory(category);
            if (c == null) throw new ClientFault("The tag category '" + category + "' was not found.");
            var ids = TagsOf(c);
            if (!string.IsNullOrEmpty(tag)) ids = ids.Where(id => { var t = TagObject(TagPath, id); return t != null && t.Str("name") == tag; }).ToList();
            return TaggedVms(ids, mask);
        }

        // Each tag as a node whose one child is its category.
        public List<SInventoryInfoLib> GetTagsForVM(string vm)
        {
            var target = Vm(vm);
            var ids = Texts(RestValue("POST", AssociationPath + "?~action=list-attached-tags", AssociationJson(target, null)));
            var tags = ids.Select(id => TagObject(TagPath, id)).Where(t => t != null).ToList();
            var categories = tags.Select(t => t.Str("category_id")).Distinct().ToDictionary(id => id, id => TagObject(CategoryPath, id));
            return tags.Select(t =>
            {
                var c = categories[t.Str("category_id")];
                var node = new SInventoryInfoLib { strName = c == null ? "" : c.Str("name"), strGUID = t.Str("category_id"), children = new List<SInventoryInfoLib>() };
                return new SInventoryInfoLib { strName = t.Str("name"), strGUID = t.Str("id"), children = new List<SInventoryInfoLib> { node } };
            }).ToList();
        }

        // Tags by id, else by name within the category named by the first child; all are found before any is attached.
        public bool AttachTagsToVM(string vm, List<SInventoryInfoLib> tags)
        {
            var target = Vm(vm);
            var ids = new List<string>();
            foreach (var node in tags ?? new List<SInventoryInfoLib>())
            {
                var category = node.children != null && node.children.Count > 0 ? node.children[0].strName : "";
                var t = FindTag(string.IsNullOrEmpty(node.strGUID) ? node.strName : node.strGUID, category) ?? FindTag(node.strName, category);
                if (t == null) throw new ClientFault("The tag '" + (node.strName ?? node.strGUID) + "' was not found.");
                ids.Add(t.Str("id"));
            }
            if (ids.Count == 0) return true;
            var result = RestValue("POST", AssociationPath + "?~action=attach-multiple-tags-to-object", AssociationJson(target, ids.Distinct()));
            if (result["success"].Present && !result.Bool("success"))
            {
                var errors = result["error_messages"].All("item").Select(e => e.Str("default_message")).Where(m => m != "");
                throw new ClientFault("The tags were not attached to '" + vm + "': " + string.Join(" ", errors));
            }
            return true;
        }
    }
}
#endif
