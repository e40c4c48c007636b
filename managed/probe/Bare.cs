#if BARE
using System;
using System.Collections.Generic;

namespace VISDKWrapper
{
    // A client of the real one's size whose methods do no work of their own: benchmarks take their floor from it,
    // so the floor is the runtime's cost alone. Results are built once, ahead of the calls, by BareData.
    public partial class CVIWrapper
    {
        public object Idle000(string first, string second) { return null; }
        public object Idle001(string first, string second) { return null; }
        public object Idle002(string first, string second) { return null; }
        public object Idle003(string first, string second) { return null; }
        public object Idle004(string first, string second) { return null; }
        public object Idle005(string first, string second) { return null; }
        public object Idle006(string first, string second) { return null; }
        public object Idle007(string first, string second) { return null; }
        public object Idle008(string first, string second) { return null; }
        public object Idle009(string first, string second) { return null; }
        public object Idle010(string first, string second) { return null; }
        public object Idle011(string first, string second) { return null; }
        public object Idle012(string first, string second) { return null; }
        public object Idle013(string first, string second) { return null; }
        public object Idle014(string first, string second) { return null; }
        public object Idle015(string first, string second) { return null; }
        public object Idle016(string first, string second) { return null; }
        public object Idle017(string first, string second) { return null; }
        public object Idle018(string first, string second) { return null; }
        public object Idle019(string first, string second) { return null; }
        public object Idle020(string first, string second) { return null; }
        public object Idle021(string first, string second) { return null; }
        public object Idle022(string first, string second) { return null; }
        public object Idle023(string first, string second) { return null; }
        public object Idle024(string first, string second) { return null; }
        public object Idle025(string first, string second) { return null; }
        public object Idle026(string first, string second) { return null; }
        public object Idle027(string first, string second) { return null; }
        public object Idle028(string first, string second) { return null; }
        public object Idle029(string first, string second) { return null; }
        public object Idle030(string first, string second) { return null; }
        public object Idle031(string first, string second) { return null; }
        public object Idle032(string first, string second) { return null; }
        public object Idle033(string first, string second) { return null; }
        public object Idle034(string first, string second) { return null; }
        public object Idle035(string first, string second) { return null; }
        public object Idle036(string first, string second) { return null; }
        public object Idle037(string first, string second) { return null; }
        public object Idle038(string first, string second) { return null; }
        public object Idle039(string first, string second) { return null; }
        public object Idle040(string first, string second) { return null; }
        public object Idle041(string first, string second) { return null; }
        public object Idle042(string first, string second) { return null; }
        public object Idle043(string first, string second) { return null; }
        public object Idle044(string first, string second) { return null; }
        public object Idle045(string first, string second) { return null; }
        public object Idle046(string first, string second) { return null; }
        public object Idle047(string first, string second) { return null; }
        public object Idle048(string first, string second) { return null; }
        public object Idle049(string first, string second) { return null; }
        public object Idle050(string first, string second) { return null; }
        public object Idle051(string first, string second) { return null; }
        public object Idle052(string first, string second) { return null; }
        public object Idle053(string first, string second) { return null; }
        public object Idle054(string first, string second) { return null; }
        public object Idle055(string first, string second) { return null; }
        public object Idle056(string first, string second) { return null; }
        public object Idle057(string first, string second) { return null; }
        public object Idle058(string first, string second) { return null; }
        public object Idle059(string first, string second) { return null; }
        public object Idle060(string first, string second) { return null; }
        public object Idle061(string first, string second) { return null; }
        public object Idle062(string first, string second) { return null; }
        public object Idle063(string first, string second) { return null; }
        public object Idle064(string first, string second) { return null; }
        public object Idle065(string first, string second) { return null; }
        public object Idle066(string first, string second) { return null; }
        public object Idle067(string first, string second) { return null; }
        public object Idle068(string first, string second) { return null; }
        public object Idle069(string first, string second) { return null; }
        public object Idle070(string first, string second) { return null; }
        public object Idle071(string first, string second) { return null; }
        public object Idle072(string first, string second) { return null; }
        public object Idle073(string first, string second) { return null; }
        public object Idle074(string first, string second) { return null; }
        public object Idle075(string first, string second) { return null; }
        public object Idle076(string first, string second) { return null; }
        public object Idle077(string first, string second) { return null; }
        public object Idle078(string first, string second) { return null; }
        public object Idle079(string first, string second) { return null; }
        public object Idle080(string first, string second) { return null; }
        public object Idle081(string first, string second) { return null; }
        public object Idle082(string first, string second) { return null; }
        public object Idle083(string first, string second) { return null; }
        public object Idle084(string first, string second) { return null; }
        public object Idle085(string first, string second) { return null; }
        public object Idle086(string first, string second) { return null; }
        public object Idle087(string first, string second) { return null; }
        public object Idle088(string first, string second) { return null; }
        public object Idle089(string first, string second) { return null; }
        public object Idle090(string first, string second) { return null; }
        public object Idle091(string first, string second) { return null; }
        public object Idle092(string first, string second) { return null; }
        public object Idle093(string first, string second) { return null; }
        public object Idle094(string first, string second) { return null; }
        public object Idle095(string first, string second) { return null; }
        public object Idle096(string first, string second) { return null; }
        public object Idle097(string first, string second) { return null; }
        public object Idle098(string first, string second) { return null; }
        public object Idle099(string first, string second) { return null; }
        public object Idle100(string first, string second) { return null; }
        public object Idle101(string first, string second) { return null; }
        public object Idle102(string first, string second) { return null; }
        public object Idle103(string first, string second) { return null; }
        public object Idle104(string first, string second) { return null; }
        public object Idle105(string first, string second) { return null; }
        public object Idle106(string first, string second) { return null; }
        public object Idle107(string first, string second) { return null; }
        public object Idle108(string first, string second) { return null; }
        public object Idle109(string first, string second) { return null; }
        public object Idle110(string first, string second) { return null; }
        public object Idle111(string first, string second) { return null; }
        public object Idle112(string first, string second) { return null; }
        public object Idle113(string first, string second) { return null; }
        public object Idle114(string first, string second) { return null; }
        public object Idle115(string first, string second) { return null; }
        public object Idle116(string first, string second) { return null; }
        public object Idle117(string first, string second) { return null; }
        public object Idle118(string first, string second) { return null; }
        public object Idle119(string first, string second) { return null; }
        public object Idle120(string first, string second) { return null; }
        public object Idle121(string first, string second) { return null; }
        public object Idle122(string first, string second) { return null; }
        public object Idle123(string first, string second) { return null; }
        public object Idle124(string first, string second) { return null; }
        public object Idle125(string first, string second) { return null; }
        public object Idle126(string first, string second) { return null; }
        public object Idle127(string first, string second) { return null; }
        public object Idle128(string first, string second) { return null; }
        public object Idle129(string first, string second) { return null; }
        public object Idle130(string first, string second) { return null; }
        public object Idle131(string first, string second) { return null; }
        public object Idle132(string first, string second) { return null; }
        public object Idle133(string first, string second) { return null; }
        public object Idle134(string first, string second) { return null; }
        public object Idle135(string first, string second) { return null; }
        public object Idle136(string first, string second) { return null; }
        public object Idle137(string first, string second) { return null; }
        public object Idle138(string first, string second) { return null; }
        public object Idle139(string first, string second) { return null; }
        public object Idle140(string first, string second) { return null; }
        public object Idle141(string first, string second) { return null; }
        public object Idle142(string first, string second) { return null; }
        public object Idle143(string first, string second) { return null; }
        public object Idle144(string first, string second) { return null; }
        public object Idle145(string first, string second) { return null; }
        public object Idle146(string first, string second) { return null; }
        public object Idle147(string first, string second) { return null; }
        public object Idle148(string first, string second) { return null; }
        public object Idle149(string first, string second) { return null; }
        public object Idle150(string first, string second) { return null; }
        public object Idle151(string first, string second) { return null; }
        public object Idle152(string first, string second) { return null; }
        public object Idle153(string first, string second) { return null; }
        public object Idle154(string first, string second) { return null; }
        public object Idle155(string first, string second) { return null; }
        public object Idle156(string first, string second) { return null; }
        public object Idle157(string first, string second) { return null; }
        public object Idle158(string first, string second) { return null; }
        public object Idle159(string first, string second) { return null; }
        public object Idle160(string first, string second) { return null; }
        public object Idle161(string first, string second) { return null; }
        public object Idle162(string first, string second) { return null; }
        public object Idle163(string first, string second) { return null; }
        public object Idle164(string first, string second) { return null; }
        public object Idle165(string first, string second) { return null; }
        public object Idle166(string first, string second) { return null; }
        public object Idle167(string first, string second) { return null; }
        public object Idle168(string first, string second) { return null; }
        public object Idle169(string first, string second) { return null; }
        public object Idle170(string first, string second) { return null; }
        public object Idle171(string first, string second) { return null; }
        public object Idle172(string first, string second) { return null; }
        public object Idle173(string first, string second) { return null; }
        public object Idle174(string first, string second) { return null; }
        public object Idle175(string first, string second) { return null; }
        public object Idle176(string first, string second) { return null; }
        public object Idle177(string first, string second) { return null; }
        public object Idle178(string first, string second) { return null; }
        public object Idle179(string first, string second) { return null; }
        public object Idle180(string first, string second) { return null; }
        public object Idle181(string first, string second) { return null; }
        public object Idle182(string first, string second) { return null; }
        public object Idle183(string first, string second) { return null; }
        public object Idle184(string first, string second) { return null; }
        public object Idle185(string first, string second) { return null; }
        public object Idle186(string first, string second) { return null; }
        public object Idle187(string first, string second) { return null; }
        public object Idle188(string first, string second) { return null; }
        public object Idle189(string first, string second) { return null; }
        public object Idle190(string first, string second) { return null; }
        public object Idle191(string first, string second) { return null; }
        public object Idle192(string first, string second) { return null; }
        public object Idle193(string first, string second) { return null; }
        public object Idle194(string first, string second) { return null; }
        public object Idle195(string first, string second) { return null; }
        public object Idle196(string first, string second) { return null; }
        public object Idle197(string first, string second) { return null; }
        public object Idle198(string first, string second) { return null; }
        public object Idle199(string first, string second) { return null; }

        public object SetVMFocus(string server, string vm, ulong options) { return BareData.One; }
        public object CheckConnection() { return BareData.One; }
        public object PowerOnVM(string vm, string host) { return BareData.One; }
        public object SetLogParameters(int level, int size, int files, int trace) { return BareData.One; }
        public object CountBackupSnapshots(string vm, string host, ref int count) { count = 3; return BareData.One; }

        public object CreateBackupSnapshot(string vm, string host, bool quiesce, bool memory, out string id)
        {
            id = BareData.Text;
            return BareData.One;
        }

        public object GetSnapshotInfo(string vm, string host, string id, out string name, ref DateTime created, out string description, ref bool quiesced)
        {
            name = BareData.Text;
            created = BareData.Date;
            description = BareData.Text;
            quiesced = true;
            return BareData.True;
        }

        public object ChangeGuestFileAttributes(string vm, string host, string user, string password, string path, SGuestFileLib attributes)
        {
            return BareData.True;
        }

        public object GetDiskBlockInfoList(string vm, string host, string snapshot, string disk, bool topOnly, ref SDiskTotalBlockInfoLib info, out List<SVMOptionValueLib> metadata)
        {
            info = BareData.BlockMap;
            metadata = BareData.Options;
            return BareData.One;
        }

        public object QueryChangedDiskAreas(string vm, string host, string snapshot, string disk, long start, string changeId)
        {
            return BareData.Changes;
        }

        public object GetPageInfoForExtent(string vm, string host, string disk, int index) { return BareData.Strings; }

        public object VerifyAccountForBackup(out List<string> missing)
        {
            missing = BareData.Strings;
            return BareData.True;
        }

        public object BrowseGuest(string vm, string host, string user, string password, string path, out List<SGuestFileLib> files)
        {
            files = BareData.Files;
            return BareData.True;
        }

        public object EchoRecordByRef(ref object record) { return BareData.One; }
        public object EchoRecordInPlace(object record) { return BareData.One; }

        public object EchoRecordOut(out object record)
        {
            record = BareData.Option;
            return BareData.One;
        }

        public object EchoListIn(List<SVMOptionValueLib> options) { return BareData.One; }
    }

    public static class BareData
    {
        public static readonly object One = 1;
        public static readonly object True = true;
        public static readonly string Text = "snapshot-1";
        public static readonly DateTime Date = new DateTime(2024, 6, 3, 9, 0, 0, DateTimeKind.Utc);
        public static readonly object Option = new SVMOptionValueLib { key = "ctkEnabled", value = "true" };
        public static List<string> Strings = new List<string>();
        public static List<SVMOptionValueLib> Options = new List<SVMOptionValueLib>();
        public static List<SGuestFileLib> Files = new List<SGuestFileLib>();
        public static SDiskTotalBlockInfoLib BlockMap;
        public static object Changes = new SDiskChangeInfoLib();

        public static void SetStrings(int count)
        {
            Strings = new List<string>(count);
            for (int i = 0; i < count; i++) Strings.Add("page-" + i + ",1048576");
        }

        public static void SetOptions(int count)
        {
            Options = new List<SVMOptionValueLib>(count);
            for (int i = 0; i < count; i++) Options.Add(new SVMOptionValueLib { key = "ddb.key" + i, value = "value-" + i });
        }

        public static void SetFiles(int count)
        {
            Files = new List<SGuestFileLib>(count);
            for (int i = 0; i < count; i++)
                Files.Add(new SGuestFileLib { name = "file-" + i, size = i * 4096L, type = i % 2, modifiedTime = Date, accessTime = Date, createTime = Date, unixUserId = 1000, unixGroupId = 100, unixMode = 420 });
        }

        public static void SetChanges(int count)
        {
            var areas = new List<SDiskChangeExtentLib>(count);
            for (int i = 0; i < count; i++) areas.Add(new SDiskChangeExtentLib { llStart = i * 2L * Sim.MiB, llLength = 65536 });
            Changes = new SDiskChangeInfoLib { llStartOffset = 0, llLength = count * 2L * Sim.MiB, changedAreaList = areas };
        }

        public static void SetBlockMap(int elements, int areasPerElement)
        {
            var map = new List<SDiskBlockMapInfoLib>(elements);
            for (int e = 0; e < elements; e++)
            {
                var areas = new List<SDiskBlockMapExtentInfoLib>(areasPerElement);
                for (int a = 0; a < areasPerElement; a++)
                    areas.Add(new SDiskBlockMapExtentInfoLib { length = 65536, logicalStart = (e * areasPerElement + a) * Sim.MiB, physicalStart = a * 65536L });
                map.Add(new SDiskBlockMapInfoLib { element = "disk-" + e + "-flat.vmdk", MapAreaList = areas });
            }
            BlockMap = new SDiskTotalBlockInfoLib { totalsize = elements * areasPerElement * Sim.MiB, TotalMapAreaList = map };
        }
    }
}
#endif
