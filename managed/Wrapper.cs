#if !NOCLASS
using System;
using System.IO;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        public CVIWrapper()
        {
#if CTOR_THROWS
            throw new FileNotFoundException("Could not read VISDKWrapper.config", "VISDKWrapper.config");
#else
            Sim.EnsureLoaded();
#endif
        }
    }
}
#endif
