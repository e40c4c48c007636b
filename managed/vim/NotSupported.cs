#if !NOCLASS && !EMPTY
namespace VISDKWrapper
{
    sealed partial class VimClient
    {
        // An operation with no counterpart in the vSphere API (a storage snapshot mount, a disk's block map): a lasting,
        // documented answer, not a gap to fill.
        static ClientFault NotSupported(string operation) { return new ClientFault("Not supported by a real endpoint: " + operation); }
    }
}
#endif
