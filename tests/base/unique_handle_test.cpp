#include "base/unique_handle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kestrin::base {
namespace {

std::vector<std::intptr_t> freed;

void FreeNumber(int handle) noexcept { freed.push_back(handle); }
void FreePointer(void* handle) noexcept { freed.push_back(reinterpret_cast<std::intptr_t>(handle)); }

using NumberHandle = UniqueHandle<int, FreeNumber>;
using PointerHandle = UniqueHandle<void*, FreePointer>;

void* PointerOf(std::intptr_t value) { return reinterpret_cast<void*>(value); }

class UniqueHandleTest : public testing::Test {
protected:
    void SetUp() override { freed.clear(); }
};

TEST_F(UniqueHandleTest, EveryHandleIsFreedOnceWhereverItsOwnershipGoes) {
    {
        NumberHandle first(7);
        NumberHandle second(std::move(first));
        EXPECT_FALSE(first);
        NumberHandle third(8);
        third = std::move(second);  // frees 8, takes 7
        EXPECT_EQ(freed, std::vector<std::intptr_t>{8});
        EXPECT_EQ(third.Get(), 7);
        third.Reset(9);  // frees 7
        EXPECT_EQ(third.Release(), 9);
        EXPECT_FALSE(third);
    }
    EXPECT_EQ(freed, (std::vector<std::intptr_t>{8, 7}));
}

// Descriptor 0 is a real one; only -1 means none.
TEST_F(UniqueHandleTest, IntegerHandlesAreEmptyOnlyAtMinusOne) {
    {
        const NumberHandle none;
        EXPECT_EQ(none.Get(), -1);
        EXPECT_FALSE(none);
        const NumberHandle failed(-1);
        EXPECT_FALSE(failed);
        const NumberHandle zero(0);
        EXPECT_TRUE(zero);
    }
    EXPECT_EQ(freed, std::vector<std::intptr_t>{0});
}

// Win32 reports failure with null or with INVALID_HANDLE_VALUE, all bits set.
TEST_F(UniqueHandleTest, PointerHandlesAreEmptyAtNullAndAtAllBitsSet) {
    {
        const PointerHandle none;
        EXPECT_EQ(none.Get(), nullptr);
        EXPECT_FALSE(none);
        const PointerHandle invalid(PointerOf(-1));
        EXPECT_FALSE(invalid);
        const PointerHandle held(PointerOf(4));
        EXPECT_TRUE(held);
    }
    EXPECT_EQ(freed, std::vector<std::intptr_t>{4});
}

}  // namespace
}  // namespace kestrin::base
