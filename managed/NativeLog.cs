using System;
using System.Runtime.CompilerServices;

namespace VISDKWrapper
{
    // Messages for the host's log, through the bridge that loaded this assembly; standard error when nothing registered it.
    static class NativeLog
    {
        [MethodImpl(MethodImplOptions.InternalCall)]
        static extern void Write(int level, string text);

        public static void Error(string text)
        {
            try { Send(0, text); }
            catch (Exception) { Console.Error.WriteLine("VISDKWrapper: " + text); }
        }

        public static void Debug(string text)
        {
            try { Send(1, text); }
            catch (Exception) { }
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        static void Send(int level, string text) { Write(level, text); }
    }
}
