// The working modes' table, against the paths the flows are documented to take.
#include <gtest/gtest.h>

#include <set>

#include "check/WorkingMode.h"

TEST(WorkingMode, EachModeTakesItsDocumentedPath) {
    const std::set<int32_t> guestOnly = {0, 8, 10, 11, 12, 13};
    for (int32_t mode = -2; mode <= 20; ++mode) {
        SCOPED_TRACE(mode);
        const LookupPath lookup = guestOnly.count(mode)    ? LookupPath::GuestOnly
                                  : mode >= 1 && mode <= 9 ? LookupPath::GuestThenDiscount
                                  : mode == 16             ? LookupPath::BonusPayment
                                                           : LookupPath::Nothing;
        const PostingPath posting = mode == 1 || mode == 4   ? PostingPath::Close
                                    : mode == 2 || mode == 3 ? PostingPath::Return
                                                             : PostingPath::Nothing;
        EXPECT_EQ(lookupPathFor(mode), lookup);
        EXPECT_EQ(postingPathFor(mode), posting);
    }
    EXPECT_EQ(lookupPathFor(INT32_MIN), LookupPath::Nothing);
    EXPECT_EQ(postingPathFor(INT32_MAX), PostingPath::Nothing);
}
