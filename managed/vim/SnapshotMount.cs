#if !NOCLASS && !EMPTY
namespace VISDKWrapper
{
    // A storage snapshot of a datastore is the array's to take and present: the API can only resignature or mount a
    // volume a host already sees, so there is nothing to map these to.
    sealed partial class VimClient
    {
        public int MountSnap(SnapRestoreCtxLib context) { throw NotSupported("MountSnap"); }

        public int UnMountSnap(SnapRestoreCtxLib context, string volume) { throw NotSupported("UnMountSnap"); }
    }
}
#endif
