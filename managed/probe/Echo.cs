#if !NOCLASS && !EMPTY && !FAULTS
using System;
using System.Collections.Generic;
using System.Reflection;

namespace VISDKWrapper
{
    // Self-check methods, one per passing mode the bridge uses beyond the vSphere operations served so far.
    public partial class CVIWrapper
    {
        public object EchoInOutString(ref string text)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), text);
            if (c != null) { c.Out(0, ref text); return c.Result<int>(); }
            text = text + " (echoed)";
            return 1;
        }

        public object EchoRecordByRef(ref object record)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), record);
            if (c != null) { c.Out(0, ref record); return c.Result<int>(); }
            var option = (SVMOptionValueLib)record;
            record = new SVMOptionValueLib { key = option.key, value = option.value + " (echoed)" };
            return 1;
        }

        public object EchoRecordInPlace(object record)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), record);
            if (c != null) return c.Result<int>();
            record.GetType().GetField("key").SetValue(record, "filled in place");
            return 1;
        }

        public object EchoRecordOut(out object record)
        {
            record = null;
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), (object)null);
            if (c != null) { c.Out(0, ref record); return c.Result<int>(); }
            record = new SVMOptionValueLib { key = "made", value = "here" };
            return 1;
        }

        public object EchoListIn(List<SVMOptionValueLib> options)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), options);
            if (c != null) return c.Result<int>();
            return options == null ? -1 : options.Count;
        }

        public object EchoListInOut(ref List<SVMOptionValueLib> options)
        {
            var c = Probe.Enter(MethodBase.GetCurrentMethod(), options);
            if (c != null) { c.Out(0, ref options); return c.Result<int>(); }
            options.Reverse();
            options.Add(new SVMOptionValueLib { key = "added", value = "here" });
            return options.Count;
        }
    }
}
#endif
