#if !NOCLASS && !EMPTY
using System;

namespace VISDKWrapper
{
    // What belongs to the caller rather than a server, the choice of client, and the helpers every operation shares.
    public partial class CVIWrapper
    {
        // Every operation goes to this client; Connect may put another in its place.
        IVSphereClient client;
        readonly SimClient simulated;
        readonly Focus focus = new Focus();
        string focusServer = "";
        volatile string lastError = "";
        readonly int[] logParameters = new int[4];

        // Picks the client that serves a server: the simulator for the names its configuration lists, the web-services
        // client for any other (one per server, kept across reconnects). Null, with the reason, for no usable server.
        IVSphereClient ClientFor(string server, out string problem)
        {
            problem = null;
            if (simulated.Serves(server)) return simulated;
            var url = VimClient.EndpointOf(server, out problem);
            if (url == null) return null;
            var current = client as VimClient;
            return current != null && current.Url == url ? current : new VimClient(url, focus);
        }

        // Clears the last error, runs the operation through the client, and keeps a fault's message (or the client's
        // notice of a call that did not fail) for GetLastErrorString.
        T Run<T>(Func<T> body, T failed)
        {
            string notice = null;
            lastError = "";
            try { return client.Call(body, out notice); }
            catch (ClientFault f) { lastError = f.Message; return failed; }
            finally { if (notice != null && lastError == "") lastError = notice; }
        }

        object Int(Func<int> body) { return Run(body, 0); }

        object Long(Func<long> body) { return Run(body, 0L); }

        object Bool(Func<bool> body) { return Run(body, false); }

        string Str(Func<string> body) { return Run(body, ""); }

        object Obj(Func<object> body) { return Run(body, null); }
    }

    // The VM and UUID matching chosen by SetVMFocus; the client reads it and follows a rename or removal of that VM.
    sealed class Focus
    {
        public volatile string Vm = "";
        public volatile bool InstanceUuid;
    }
}
#endif
