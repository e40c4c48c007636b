#if !NOCLASS
using System.IO;

namespace VISDKWrapper
{
    public partial class CVIWrapper
    {
        public CVIWrapper()
        {
#if CTOR_THROWS
            throw new FileNotFoundException("Could not read VISDKWrapper.config", "VISDKWrapper.config");
#elif !EMPTY
            client = simulated = new SimClient(focus);
#endif
        }
    }
}
#endif
