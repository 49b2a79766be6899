#include "game/screen/TypeLabel.h"

#include "engine/platform/InputHandler.h"
#include "tests/graphics/FontFixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace orv::test {
namespace {

// Lines of the grid font are 5 pixels high; "ab" is 7 pixels wide.
class TypeLabelTest : public ::testing::Test {
protected:
    RefPtr<TypeLabel> make(const std::wstring& text, int delay, int time) {
        RefPtr<TypeLabel> label(new TypeLabel(nullptr));
        label->setFont(font_.get());
        label->setPosition(100, 100);
        label->setText(text);
        label->setTiming(delay, time, 0);
        return label;
    }
    // Whether any pixel of line `line` (5 rows) of the shown picture from
    // column `x` on is drawn.
    static bool drawnFrom(TypeLabel& label, int line, int x) {
        Image* image = label.getImage();
        if (image == nullptr || !image->lock()) {
            return false;
        }
        bool drawn = false;
        for (int y = line * 5; y < line * 5 + 5 && y < image->getHeight(); ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                image->getPixels() + static_cast<std::ptrdiff_t>(y) * image->getPitch());
            for (int i = x; i < image->getWidth(); ++i) {
                drawn = drawn || (row[i] >> 24U) != 0;
            }
        }
        image->unlock();
        return drawn;
    }

    RefPtr<BitmapFont> font_ = gridFont();
};

TEST_F(TypeLabelTest, LinesTypeOneAfterAnotherAndEmptyLinesAddNoDelay) {
    RefPtr<TypeLabel> label = make(L"ab\n\ncd", 100, 200);
    label->restartTyping();
    ASSERT_EQ(label->getLines().size(), 3U);
    EXPECT_FALSE(drawnFrom(*label, 0, 0)) << "a restart starts from an empty label";
    label->updateSelf(50);
    EXPECT_TRUE(drawnFrom(*label, 0, 0));
    EXPECT_FALSE(drawnFrom(*label, 0, 4)) << "a quarter of the first line";
    EXPECT_FALSE(drawnFrom(*label, 2, 0));
    label->updateSelf(100); // 150 ms: the third line began at 100, not 200
    EXPECT_TRUE(drawnFrom(*label, 2, 0));
    EXPECT_FALSE(label->isDone());
    label->updateSelf(150); // 300 ms: the third line's 200 ms are over
    EXPECT_TRUE(label->isDone());
    EXPECT_TRUE(drawnFrom(*label, 2, 4));
}

TEST_F(TypeLabelTest, ATypingTimeOfZeroShowsEachLineWhenItsTurnComes) {
    RefPtr<TypeLabel> label = make(L"ab\ncd", 100, 0);
    label->restartTyping();
    label->updateSelf(1);
    EXPECT_TRUE(drawnFrom(*label, 0, 4));
    EXPECT_FALSE(drawnFrom(*label, 1, 0));
    EXPECT_FALSE(label->isDone());
    label->updateSelf(100);
    EXPECT_TRUE(label->isDone());
    EXPECT_TRUE(drawnFrom(*label, 1, 4));
}

TEST_F(TypeLabelTest, AClickCompletesTheTypingByRange) {
    struct Case {
        TypeLabel::Range range;
        int x;
        bool completes;
    };
    for (const Case& c :
         {Case{TypeLabel::RangeNone, 101, false}, Case{TypeLabel::RangeInside, 101, true},
          Case{TypeLabel::RangeInside, 300, false}, Case{TypeLabel::RangeAll, 300, true}}) {
        RefPtr<TypeLabel> label = make(L"ab", 100, 200);
        label->setRange(c.range);
        label->restartTyping();
        label->updateSelf(10);
        EXPECT_EQ(label->onLeftButtonDown(c.x, 102, 0, false), c.completes) << c.range << c.x;
        EXPECT_EQ(label->isDone(), c.completes);
        EXPECT_EQ(drawnFrom(*label, 0, 4), c.completes);
        EXPECT_EQ(hoverCount, 0) << "no hover is left counted";
    }
}

TEST_F(TypeLabelTest, ALabelWithoutTextIsDoneAtOnce) {
    RefPtr<TypeLabel> label = make(L"", 100, 200);
    label->restartTyping();
    EXPECT_TRUE(label->isDone());
    EXPECT_FALSE(label->finishTyping());
}

} // namespace
} // namespace orv::test
