#include "engine/resources/MemoryBuffer.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(MemoryBuffer, AllocatesOneTerminatingZeroMoreThanItsSize) {
    MemoryBuffer buffer;
    EXPECT_EQ(buffer.getData(), nullptr);
    EXPECT_STREQ(buffer.getText(), "");
    EXPECT_TRUE(buffer.getView().empty());

    ASSERT_TRUE(buffer.allocate(4));
    EXPECT_EQ(buffer.getSize(), 4U);
    for (std::uint32_t i = 0; i <= 4; ++i) {
        EXPECT_EQ(buffer.getData()[i], 0);
    }
    buffer.getData()[0] = 'h';
    buffer.getData()[1] = 'i';
    EXPECT_STREQ(buffer.getText(), "hi");
    EXPECT_EQ(buffer.getView().size(), 4U);

    MemoryBuffer other;
    other.swap(buffer);
    EXPECT_EQ(buffer.getSize(), 0U);
    EXPECT_STREQ(other.getText(), "hi");
    other.clear();
    EXPECT_EQ(other.getData(), nullptr);
    EXPECT_EQ(other.getSize(), 0U);
}

} // namespace
} // namespace orv
