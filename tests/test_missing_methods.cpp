// A wrapper that offers none of the operations: each fails with its value and the method-lookup messages.
#include <gtest/gtest.h>

#include "Rows.h"
#include "TestSupport.h"

using namespace visdktest;

namespace {

// The second pass finds every miss remembered and must still say so each time.
TEST(MissingMethods, EveryOperationFailsNamingItsManagedMethod)
{
    LogCapture log;
    Bridge();
    for (int pass = 1; pass <= 2; ++pass) {
        for (const Row& row : Rows()) {
            log.Clear();
            bool changed = false;
            EXPECT_EQ(CallWatched(row, Bridge(), changed), row.failure) << row.managed << " pass " << pass;
            EXPECT_EQ(changed, CopiesBackWhateverTheAnswer(row)) << row.managed << ": outputs";
            std::vector<std::string> expected{std::string("Could not find method [") + row.managed + "]"};
            if (!row.nullMessage.empty())
                expected.push_back(row.nullMessage);
            EXPECT_EQ(log.Errors(), expected) << row.managed << " pass " << pass;
        }
    }
}

TEST(MissingMethods, ReConfigureUUIDLooksForTheManagedName)
{
    LogCapture log;
    EXPECT_EQ(Bridge().ReConfigureUUID("a", "b", "c", "d"), 0);
    EXPECT_EQ(log.Count("Could not find method [Reconfig_UUID]"), 1);
}

TEST(MissingMethods, BlockInfoStillConvertsItsOutputs)
{
    LogCapture log;
    VMInfoStructs::SDiskTotalBlockInfo blocks;
    blocks.totalsize = 99;
    blocks.TotalMapAreaList.resize(2);
    std::vector<VMInfoStructs::SDiskMetadataInfo> metadata(3);
    EXPECT_EQ(Bridge().GetDiskBlockInfo("a", "b", "c", "d", false, blocks, metadata), 0);
    EXPECT_TRUE(metadata.empty());
    EXPECT_EQ(blocks.totalsize, 0);
    EXPECT_TRUE(blocks.TotalMapAreaList.empty());
}

TEST(MissingMethods, ChangeQueryLeavesTheRecordAlone)
{
    LogCapture log;
    VMInfoStructs::SDiskChangeInfo changes;
    changes.llLength = 5;
    changes.changedAreaList.resize(1);
    EXPECT_EQ(Bridge().QueryChangedDiskAreas("a", "b", "c", "d", 0, "*", changes), 0);
    EXPECT_EQ(changes.llLength, 5);
    EXPECT_EQ(changes.changedAreaList.size(), 1u);
}

TEST(MissingMethods, ChangeIdIsNotReportedFresh)
{
    LogCapture log;
    std::string changeId = "52 aa/3";
    EXPECT_EQ(Bridge().GetChangeIdForDisk("a", "b", "c", "d", changeId), 0);
    EXPECT_EQ(changeId, "52 aa/3");
}

} // namespace
