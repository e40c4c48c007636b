using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace VISDKWrapper
{
    public class VimFaultException : Exception
    {
        public string FaultType { get; private set; }

        public VimFaultException() : this("VimFault", "A general system error occurred.") { }
        public VimFaultException(string message) : this("VimFault", message) { }
        public VimFaultException(string faultType, string message) : base(message) { FaultType = faultType; }
    }

    // Records every CVIWrapper call; a method with a rule is answered here instead of by the simulator.
    public static class Probe
    {
        sealed class Rule
        {
            public bool HasReturn;
            public bool Raw;
            public object Value;
            public Type Throw;
            public readonly Dictionary<int, object> Outs = new Dictionary<int, object>();
        }

        sealed class Record
        {
            public long Count;
            public object[] Args;
            public ParameterInfo[] Parameters;
        }

        static readonly object sync = new object();
        static readonly Dictionary<string, Rule> rules = new Dictionary<string, Rule>();
        static readonly Dictionary<string, Record> records = new Dictionary<string, Record>();
        // The most recent call names only, so a long run keeps a bounded record.
        public const int RecentCalls = 64;
        static readonly Queue<string> recent = new Queue<string>();
        static string lastMethod;

        public static void Reset()
        {
            lock (sync) { rules.Clear(); records.Clear(); recent.Clear(); lastMethod = null; }
        }

        public static void SetReturn(string method, object value)
        {
            lock (sync) { var r = RuleFor(method); r.HasReturn = true; r.Raw = false; r.Value = value; }
        }

        // Returns the value exactly as given, without fitting it to the method's result type.
        public static void SetReturnRaw(string method, object value)
        {
            lock (sync) { var r = RuleFor(method); r.HasReturn = true; r.Raw = true; r.Value = value; }
        }

        public static void SetReturnNull(string method)
        {
            SetReturn(method, null);
        }

        public static void SetThrow(string method, string exceptionTypeName)
        {
            var type = FindType(exceptionTypeName);
            if (type == null || !typeof(Exception).IsAssignableFrom(type))
                throw new ArgumentException("Unknown exception type: " + exceptionTypeName, "exceptionTypeName");
            lock (sync) RuleFor(method).Throw = type;
        }

        public static void SetOut(string method, int slot, object value)
        {
            lock (sync) RuleFor(method).Outs[slot] = value;
        }

        public static int CallCount(string method)
        {
            lock (sync) { Record r; return records.TryGetValue(method, out r) ? (int)Math.Min(r.Count, int.MaxValue) : 0; }
        }

        public static int ArgCount(string method)
        {
            lock (sync) { Record r; return records.TryGetValue(method, out r) ? r.Args.Length : 0; }
        }

        public static object Arg(string method, int slot)
        {
            lock (sync)
            {
                Record r;
                return records.TryGetValue(method, out r) && slot >= 0 && slot < r.Args.Length ? r.Args[slot] : null;
            }
        }

        public static string ArgKind(string method, int slot)
        {
            ParameterInfo p;
            lock (sync)
            {
                Record r;
                if (!records.TryGetValue(method, out r) || slot < 0 || slot >= r.Parameters.Length) return null;
                p = r.Parameters[slot];
            }
            var t = p.ParameterType;
            if (!t.IsByRef) return t.Name;
            return (p.IsOut ? "out " : "ref ") + t.GetElementType().Name;
        }

        public static string LastMethod()
        {
            lock (sync) return lastMethod;
        }

        // The names of the last RecentCalls calls since Reset, oldest first.
        public static string Calls()
        {
            lock (sync) return string.Join(",", recent);
        }

        // How many entries the probe holds: one record per method called, its last arguments and the recent names.
        public static int RecordedEntries()
        {
            lock (sync) return records.Count + records.Values.Sum(r => r.Args.Length) + recent.Count;
        }

        // Out parameters are passed as null: their value on entry is not readable.
        internal static ProbeCall Enter(MethodBase method, params object[] args)
        {
            lock (sync)
            {
                Record r;
                if (!records.TryGetValue(method.Name, out r)) records[method.Name] = r = new Record();
                r.Count++;
                r.Args = args;
                r.Parameters = method.GetParameters();
                if (recent.Count == RecentCalls) recent.Dequeue();
                recent.Enqueue(method.Name);
                lastMethod = method.Name;
                Rule rule;
                return rules.TryGetValue(method.Name, out rule) ? new ProbeCall(method.Name, rule.HasReturn, rule.Raw, rule.Value, rule.Throw, new Dictionary<int, object>(rule.Outs)) : null;
            }
        }

        static Rule RuleFor(string method)
        {
            Rule r;
            if (!rules.TryGetValue(method, out r)) rules[method] = r = new Rule();
            return r;
        }

        static Type FindType(string name)
        {
            if (string.IsNullOrEmpty(name)) return null;
            foreach (var candidate in new[] { name, "VISDKWrapper." + name, "System." + name })
            {
                var t = Type.GetType(candidate) ?? AppDomain.CurrentDomain.GetAssemblies().Select(a => a.GetType(candidate)).FirstOrDefault(x => x != null);
                if (t != null) return t;
            }
            return null;
        }

        // Converts a test-supplied value to the type the caller expects; a bool keeps its raw byte.
        internal static unsafe object Convert(object value, Type type)
        {
            if (value == null) return type.IsValueType && type != typeof(object) ? Activator.CreateInstance(type) : null;
            if (type.IsInstanceOfType(value)) return value;
            if (type == typeof(string)) return value.ToString();
            if (type == typeof(DateTime) && IsInteger(value))
                return new DateTime(1970, 1, 1, 0, 0, 0, DateTimeKind.Utc).AddSeconds(ToLong(value));
            if (type == typeof(bool) && IsInteger(value))
            {
                long n = ToLong(value);
                bool b = false;
                *(byte*)&b = (byte)(n >= 0 && n <= 255 ? n : 1);
                return b;
            }
            if ((type == typeof(int) || type == typeof(long)) && IsInteger(value))
                return type == typeof(int) ? (object)unchecked((int)ToLong(value)) : ToLong(value);
            return System.Convert.ChangeType(value, type);
        }

        static bool IsInteger(object v)
        {
            return v is bool || v is byte || v is sbyte || v is short || v is ushort || v is int || v is uint || v is long || v is ulong || v is char;
        }

        static long ToLong(object v)
        {
            if (v is bool) return (bool)v ? 1 : 0;
            if (v is ulong) return unchecked((long)(ulong)v);
            return System.Convert.ToInt64(v);
        }
    }

    sealed class ProbeCall
    {
        readonly string method;
        readonly bool hasReturn;
        readonly bool raw;
        readonly object value;
        readonly Type toThrow;
        readonly Dictionary<int, object> outs;

        public ProbeCall(string method, bool hasReturn, bool raw, object value, Type toThrow, Dictionary<int, object> outs)
        {
            this.method = method; this.hasReturn = hasReturn; this.raw = raw; this.value = value; this.toThrow = toThrow; this.outs = outs;
        }

        public void Out<T>(int slot, ref T target)
        {
            object v;
            if (outs.TryGetValue(slot, out v)) target = (T)Probe.Convert(v, typeof(T));
        }

        // The result for a method whose simulated result type is T (int, bool, long, string or object).
        public object Result<T>()
        {
            if (toThrow != null) Throw();
            if (hasReturn) return value == null || raw ? value : Probe.Convert(value, typeof(T));
            return typeof(T) == typeof(string) ? (object)"" : default(T);
        }

        public void Finish()
        {
            if (toThrow != null) Throw();
        }

        void Throw()
        {
            var message = "Injected fault in " + method;
            Exception e;
            try { e = (Exception)Activator.CreateInstance(toThrow, message); }
            catch (MissingMethodException) { e = (Exception)Activator.CreateInstance(toThrow); }
            throw e;
        }
    }
}
