// The play order over rows in a vector: the steps the transport's table does not
// reach, the shuffle, and what never happens whatever the array holds.
#include <gtest/gtest.h>

#include <algorithm>

#include "playlist_fakes.h"

namespace {

struct Rows {
    explicit Rows(int n, int mode = 0) {
        for (int i = 0; i < n; ++i) rows.Add(order, "r" + std::to_string(i));
        order.clock = [] { return int64_t{1700000000}; };
        order.SetMode(rows, mode);
    }
    PlayOrder order;
    VectorRows rows;
};

// Stepping a list of no row or one never leaves it; a step past a shuffled list's end
// wraps.
TEST(PlayOrder, StepsAtTheEndsOfShortListsStayInside) {
    struct Case {
        int rows, mode, stepsFirst;
        bool forward;
        int result, position;
    };
    const Case cases[] = {
        {0, Loop, 0, true, 0, 0}, {0, Loop, 0, false, 0, 0}, {1, Loop, 0, true, 1, 0}, {1, Loop, 0, false, 1, 0},
        {5, Random | Loop, 4, true, 1, 0}};
    for (const Case& c : cases) {
        Rows r(c.rows, c.mode);
        for (int i = 0; i < c.stepsFirst; ++i) r.order.StepNext(r.rows);
        EXPECT_EQ(c.forward ? r.order.StepNext(r.rows) : r.order.StepPrevious(r.rows), c.result) << c.rows;
        EXPECT_EQ(r.order.Position(), c.position) << c.rows;
        EXPECT_EQ(r.order.CurrentNumber(r.rows), c.rows == 0 ? 0 : r.order.Order()[c.position] + 1) << c.rows;
    }
}

// The target's rand() gives 0..32767: a shuffle by it never ends past 32768 rows.
TEST(PlayOrder, RandomIsAPermutationOfAnyRowCountAndTheSameForTheSameClock) {
    for (int n : {2, 7, 40000}) {
        Rows r(n, Random);
        std::vector<int> sorted = r.order.Order();
        std::vector<int> first = sorted;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < n; ++i) ASSERT_EQ(sorted[i], i) << n;
        r.order.SetMode(r.rows, Random);
        EXPECT_EQ(r.order.Order(), first) << "same second, same order";
        if (n > 2) {
            EXPECT_NE(first, sorted) << "shuffled";
        }
    }
    EXPECT_NE(ShuffledRows(50, 1), ShuffledRows(50, 2));
}

// Rows can go without the order hearing of it; the order must still never name one.
TEST(PlayOrder, NeverNamesARowThatDoesNotExist) {
    Rows r(6, Random);
    for (int i = 0; i < 5; ++i) r.order.StepNext(r.rows);
    while (r.rows.RowCount() > 0) {
        r.rows.entries.pop_back();
        const int number = r.order.CurrentNumber(r.rows);
        EXPECT_GE(number, r.rows.RowCount() == 0 ? 0 : 1);
        EXPECT_LE(number, r.rows.RowCount());
        if (number > 0) {
            EXPECT_EQ(r.order.CurrentEntry(r.rows), r.rows.entries[number - 1].get());
        }
    }
}

}  // namespace
