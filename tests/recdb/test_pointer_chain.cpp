#include "recdb/pointer_chain.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// A chain over the integers 1..n, kept alive by the returned vector.
struct Filled {
    std::vector<std::unique_ptr<int>> items;
    TPointerChain chain{"test"};
    explicit Filled(int n) {
        for (int i = 1; i <= n; ++i) {
            items.push_back(std::make_unique<int>(i));
            EXPECT_TRUE(chain.Add(items.back().get()));
        }
    }
    int At(int n) { return *static_cast<int*>(chain.Item(n)); }
};

} // namespace

TEST(PointerChain, ItemsInOrderAndOutOfRangeGivesNothing) {
    Filled f(5);
    EXPECT_EQ(f.chain.Count(), 5);
    EXPECT_EQ(f.chain.CursorIndex(), 5);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(f.At(i), i);
    const int cursor = f.chain.CursorIndex();
    EXPECT_EQ(f.chain.Item(0), nullptr);
    EXPECT_EQ(f.chain.Item(6), nullptr);
    EXPECT_EQ(f.chain.Item(-3), nullptr);
    EXPECT_EQ(f.chain.Count(), 5);
    EXPECT_EQ(f.chain.CursorIndex(), cursor);
    EXPECT_EQ(f.chain.ChainName(), "test");
}

TEST(PointerChain, WalksFromTheNearestStartAndTiesGoToTheFarEnd) {
    Filled f(10);
    f.chain.Item(2);
    const auto steps0 = f.chain.WalkSteps();
    const auto jumps0 = f.chain.EndJumps();
    // 6 - 2 = 4 is not less than 10 - 6 = 4: reached from the last node.
    EXPECT_EQ(f.At(6), 6);
    EXPECT_EQ(f.chain.EndJumps(), jumps0 + 1);
    EXPECT_EQ(f.chain.WalkSteps(), steps0 + 4);

    // Cursor at 6: position 5 is one step back, no jump.
    EXPECT_EQ(f.At(5), 5);
    EXPECT_EQ(f.chain.EndJumps(), jumps0 + 1);
    EXPECT_EQ(f.chain.WalkSteps(), steps0 + 5);

    // Cursor at 5: position 3 is 2 back versus 2 from the first: tie, from the first.
    EXPECT_EQ(f.At(3), 3);
    EXPECT_EQ(f.chain.EndJumps(), jumps0 + 2);
    EXPECT_EQ(f.chain.WalkSteps(), steps0 + 7);

    // Cursor at 3: position 4 is one step forward.
    EXPECT_EQ(f.At(4), 4);
    EXPECT_EQ(f.chain.EndJumps(), jumps0 + 2);
    EXPECT_EQ(f.chain.WalkSteps(), steps0 + 8);
}

TEST(PointerChain, SequentialAndRepeatedAccessCostOneStepOrNone) {
    Filled f(1000);
    f.chain.Item(1);
    const auto steps0 = f.chain.WalkSteps();
    for (int i = 1; i <= 1000; ++i)
        ASSERT_EQ(f.At(i), i);
    // Each next position is one step; the last one is a jump to Last.
    EXPECT_EQ(f.chain.WalkSteps() - steps0, 998);
    for (int i = 0; i < 10; ++i)
        f.chain.Item(500);
    EXPECT_EQ(f.chain.WalkSteps() - steps0, 998 + 499);
}

TEST(PointerChain, SetItemReplacesOrSendsCursorHome) {
    Filled f(4);
    int other = 42;
    f.chain.SetItem(3, &other);
    EXPECT_EQ(f.At(3), 42);
    EXPECT_EQ(f.chain.CursorIndex(), 3);
    f.chain.SetItem(9, &other);
    EXPECT_EQ(f.chain.CursorIndex(), 1);
    f.chain.Item(4);
    f.chain.SetItem(0, &other);
    EXPECT_EQ(f.chain.CursorIndex(), 1);
    EXPECT_EQ(f.At(1), 1);
    EXPECT_EQ(f.At(4), 4);
}

TEST(PointerChain, DeleteRelinksAndResetsCursor) {
    Filled f(3);
    EXPECT_TRUE(f.chain.Delete(1));
    EXPECT_EQ(f.chain.Count(), 2);
    EXPECT_EQ(f.chain.CursorIndex(), 1);
    EXPECT_EQ(f.At(1), 2);
    EXPECT_EQ(f.At(2), 3);

    EXPECT_TRUE(f.chain.Delete(2)); // the last node
    EXPECT_EQ(f.chain.Count(), 1);
    EXPECT_EQ(f.chain.CursorIndex(), 1);
    int extra = 7;
    ASSERT_TRUE(f.chain.Add(&extra)); // Last was relinked properly
    EXPECT_EQ(f.At(2), 7);
    EXPECT_EQ(f.At(1), 2);

    f.chain.Item(2);
    EXPECT_FALSE(f.chain.Delete(3));
    EXPECT_EQ(f.chain.CursorIndex(), 2); // nothing happens above Count
    EXPECT_FALSE(f.chain.Delete(0));
    EXPECT_EQ(f.chain.CursorIndex(), 1); // below 1 the cursor goes home
    EXPECT_EQ(f.chain.Count(), 2);
}

TEST(PointerChain, DeletingTheLastItemEmptiesAndAddStartsAgain) {
    Filled f(1);
    EXPECT_TRUE(f.chain.Delete(1));
    EXPECT_EQ(f.chain.Count(), 0);
    EXPECT_EQ(f.chain.CursorIndex(), 0);
    EXPECT_EQ(f.chain.Item(1), nullptr);
    EXPECT_FALSE(f.chain.Delete(1));
    int v = 5;
    ASSERT_TRUE(f.chain.Add(&v));
    EXPECT_EQ(f.chain.Count(), 1);
    EXPECT_EQ(f.chain.CursorIndex(), 1);
    EXPECT_EQ(f.At(1), 5);
}

TEST(PointerChain, DestroyingLeavesItemsAlive) {
    auto a = std::make_shared<int>(1);
    std::weak_ptr<int> watch = a;
    {
        TPointerChain chain("owned elsewhere");
        chain.Add(a.get());
        chain.Add(a.get());
    }
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(*a, 1);
}
