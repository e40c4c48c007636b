// A wrapper whose methods bear the right names with parameters of other kinds: no operation calls them, each
// says which parameter does not fit and fails with its value.
#include <gtest/gtest.h>

#include "Rows.h"
#include "TestSupport.h"

using namespace visdktest;

namespace {

std::string Refusal(const Row& row)
{
    std::string method = row.managed;
    if (row.slots.empty())
        return "Method [" + method + "] takes 1 parameters, not 0";
    return "Parameter #" + std::to_string(row.slots.size()) + " of method [" + method + "] does not take the value passed";
}

// The second pass meets the remembered verdicts and must refuse just the same.
TEST(WrongKinds, EveryOperationRefusesTheMethodAndFails)
{
    LogCapture log;
    Bridge();
    for (int pass = 1; pass <= 2; ++pass) {
        for (const Row& row : Rows()) {
            log.Clear();
            bool changed = false;
            EXPECT_EQ(CallWatched(row, Bridge(), changed), row.failure) << row.managed << " pass " << pass;
            EXPECT_EQ(changed, CopiesBackWhateverTheAnswer(row)) << row.managed << ": outputs";
            std::vector<std::string> expected{Refusal(row)};
            if (!row.nullMessage.empty())
                expected.push_back(row.nullMessage);
            EXPECT_EQ(log.Errors(), expected) << row.managed << " pass " << pass;
            EXPECT_EQ(log.CountContaining("Exception caught"), 0) << row.managed << ": the method ran";
        }
    }
}

} // namespace
