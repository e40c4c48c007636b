#if FAULTS
using System;
using System.Collections.Generic;

namespace VISDKWrapper
{
    // Deliberately broken list machinery for the failure tests of the native side.
    public sealed class NoAddList
    {
        public int Count { get { return 0; } }
    }

    public sealed class ThrowingAddList
    {
        readonly List<SVMOptionValueLib> items = new List<SVMOptionValueLib>();

        public int Count { get { return items.Count; } }

        public void Add(SVMOptionValueLib item)
        {
            if (items.Count == 1) throw new InvalidOperationException("Add failed on the second item");
            items.Add(item);
        }
    }

    public sealed class NoCurrentLibListEnumerator
    {
        readonly List<string> items;
        int index = -1;

        NoCurrentLibListEnumerator(List<string> list) { items = list; }

        public static NoCurrentLibListEnumerator GetEnumerator(List<string> list) { return new NoCurrentLibListEnumerator(list ?? new List<string>()); }
        public bool MoveNext() { return ++index < items.Count; }
    }

    public sealed class NullEnumLibListEnumerator
    {
        public static NullEnumLibListEnumerator GetEnumerator(List<string> list) { return null; }
        public bool MoveNext() { return false; }
        public string Current() { return null; }
    }

    public sealed class ThrowingLibListEnumerator
    {
        readonly List<string> items;
        int index = -1, calls;

        ThrowingLibListEnumerator(List<string> list) { items = list; }

        public static ThrowingLibListEnumerator GetEnumerator(List<string> list) { return new ThrowingLibListEnumerator(list ?? new List<string>()); }

        public bool MoveNext()
        {
            if (++calls == 2) throw new InvalidOperationException("MoveNext failed on the second call");
            return ++index < items.Count;
        }

        public string Current() { return items[index]; }
    }

    public sealed class ThrowingGetLibListEnumerator
    {
        public static ThrowingGetLibListEnumerator GetEnumerator(List<string> list) { throw new InvalidOperationException("GetEnumerator failed"); }
        public bool MoveNext() { return false; }
        public string Current() { return null; }
    }
}
#endif
