#include "game/screen/RenderTile.h"
#include "game/screen/TileEffect.h"
#include "tests/screen/ScreenFixture.h"

#include <functional>
#include <vector>

namespace orv::test {
namespace {

class TileEffectTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        look = makeSmallLook();
        tile = RefPtr<RenderTile>(new RenderTile(*look));
    }

public:
    // The level of the tile's top effect, read through `level`; -1 when the
    // top effect is no longer of that kind.
    template <class Effect>
    int levelOf() const {
        auto* effect = dynamic_cast<Effect*>(tile->getTopEffect());
        return effect != nullptr ? effect->getLevel() : -1;
    }
    [[nodiscard]] bool isPlain() const {
        const TileEffect* top = tile->getTopEffect();
        return top != nullptr && dynamic_cast<const TileOverlay*>(top) != nullptr &&
               top->getImage() == look->getTileImage();
    }

    RefPtr<BoardLook> look;
    RefPtr<RenderTile> tile;
};

struct Step {
    int elapsedMs;
    int level; // -1: the effect has replaced itself
};

TEST_F(TileEffectTest, LevelsFollowTheElapsedTime) {
    struct Case {
        const char* name;
        std::function<TileEffect*(RenderTile&)> make;
        std::function<int(const TileEffectTest&)> level;
        std::vector<Step> steps;
    };
    // Levels move 4 units per ms; bounds in the tints: pulse 0..160 (x8),
    // hint 60..200 (x32), flash 220 (x8), darken 70 (x16 swell, x8 lighten).
    const std::vector<Case> cases{
        {"pulse swings twice, clamped at its bounds",
         [](RenderTile& t) { return new TilePulseEffect(t); },
         [](const TileEffectTest& f) { return f.levelOf<TilePulseEffect>(); },
         {{100, 400},
          {100, 800},
          {100, 1200},
          {100, 1280},
          {100, 880},
          {100, 480},
          {100, 80},
          {100, 0},
          {100, 400},
          {300, 1280},
          {100, 880},
          {300, -1}}},
        {"hint swings between its two alphas for ever",
         [](RenderTile& t) { return new TileHintEffect(t); },
         [](const TileEffectTest& f) { return f.levelOf<TileHintEffect>(); },
         {{100, 400},
          {0, 400},
          {100, 800},
          {1000, 4800},
          {1000, 6400},
          {1000, 2400},
          {1000, 1920},
          {100, 2320}}},
        {"flash rises to its top, falls and ends",
         [](RenderTile& t) { return new TileFlashEffect(t); },
         [](const TileEffectTest& f) { return f.levelOf<TileFlashEffect>(); },
         {{100, 400}, {400, 1760}, {100, 1360}, {300, 160}, {40, -1}}},
        {"swell darkens and becomes a still tint",
         [](RenderTile& t) { return new TileSwellEffect(t); },
         [](const TileEffectTest& f) { return f.levelOf<TileSwellEffect>(); },
         {{100, 400}, {100, 800}, {70, 1080}, {10, -1}}},
        {"lighten goes back to plain",
         [](RenderTile& t) { return new TileLightenEffect(t); },
         [](const TileEffectTest& f) { return f.levelOf<TileLightenEffect>(); },
         {{0, 560}, {100, 160}, {40, -1}}},
    };
    for (const Case& c : cases) {
        tile->setEffect(c.make(*tile));
        int n = 0;
        for (const Step& s : c.steps) {
            tile->dirty = false;
            tile->stepTopEffect(s.elapsedMs);
            EXPECT_EQ(c.level(*this), s.level) << c.name << ", step " << n;
            EXPECT_TRUE(tile->dirty) << c.name << ", step " << n;
            ++n;
        }
    }
}

TEST_F(TileEffectTest, EffectsEndInTheirRestingLooks) {
    tile->setEffect(new TileSwellEffect(*tile));
    tile->stepTopEffect(100);
    tile->stepTopEffect(100);
    tile->stepTopEffect(100);
    ASSERT_EQ(tile->getEffectCount(), 1U);
    EXPECT_FALSE(isPlain()) << "a swell stays dark";
    EXPECT_NE(dynamic_cast<TileOverlay*>(tile->getTopEffect()), nullptr);

    tile->setEffect(new TileLightenEffect(*tile));
    tile->stepTopEffect(100);
    tile->stepTopEffect(100);
    EXPECT_TRUE(isPlain());

    // A pulse over a look the side board pushed gives that look back.
    RefPtr<TileEffect> first(TileOverlay::constructTinted(*tile, 0x102030, 99));
    tile->setEffect(first.get());
    tile->pushEffect(new TilePulseEffect(*tile));
    for (int i = 0; i < 20 && tile->getEffectCount() > 1; ++i) {
        tile->stepTopEffect(100);
    }
    EXPECT_EQ(tile->getTopEffect(), first.get());
}

TEST_F(TileEffectTest, TintsNeverChangeTheSharedBody) {
    const std::vector<std::uint32_t> before = pixelsOf(*look->getTileImage());
    RefPtr<TileEffect> tinted(TileOverlay::constructTinted(*tile, 0xFF0000, 255));
    RefPtr<TileEffect> pulse(new TilePulseEffect(*tile));
    pulse->step(100);
    EXPECT_EQ(pixelsOf(*look->getTileImage()), before);
    // A full red tint keeps the body's alpha and turns its colour red.
    EXPECT_EQ(pixelAt(*tinted->getImage(), 4, 4), 0xFFFF0000U);
    EXPECT_EQ(pixelAt(*tinted->getImage(), 0, 0) >> 24, 0x80U);
}

TEST_F(TileEffectTest, FadeWaitsUnlessBonusThenHidesTheTile) {
    struct Case {
        int mode;
        int delayMs;
    };
    for (const Case c : {Case{0, 450}, Case{1, 0}, Case{2, 0}, Case{3, 0}, Case{4, 450}}) {
        tile->hidden = false;
        tile->setEffect(new TileFadeEffect(*tile, c.mode, 200));
        EXPECT_TRUE(tile->busy && tile->vanishing) << c.mode;
        auto* fade = dynamic_cast<TileFadeEffect*>(tile->getTopEffect());
        ASSERT_NE(fade, nullptr);
        EXPECT_EQ(fade->getDelay(), c.delayMs) << c.mode;
        for (int waited = 0; waited < c.delayMs; waited += 90) {
            tile->stepTopEffect(90);
        }
        EXPECT_EQ(fade->alpha(), 255) << c.mode;
        tile->stepTopEffect(50);
        EXPECT_EQ(fade->alpha(), 150 * 255 / 200) << c.mode;
        // The body fades with the face where the body is opaque.
        EXPECT_EQ(pixelAt(*fade->getImage(), 4, 4) >> 24, 150U * 255 / 200) << c.mode;
        tile->stepTopEffect(100);
        tile->stepTopEffect(100);
        EXPECT_TRUE(tile->hidden) << c.mode;
        EXPECT_FALSE(tile->busy || tile->vanishing) << c.mode;
        EXPECT_TRUE(isPlain()) << c.mode;
    }
}

TEST_F(TileEffectTest, ZeroTimesAndBoundsFromMissingSettingsDoNotDivideByZero) {
    tile->setEffect(new TileFadeEffect(*tile, 1, 0));
    EXPECT_EQ(tile->getTopEffect()->alpha(), 0);
    tile->stepTopEffect(16);
    EXPECT_TRUE(tile->hidden);

    TileTints zero{};
    zero.fadeTime = 0;
    RefPtr<BoardLook> bare(new BoardLook(smallMetrics(), zero, look->getTileImage(),
                                         look->getShadowImage(), look->getSymbolsImage()));
    RefPtr<RenderTile> t(new RenderTile(*bare));
    for (TileEffect* e : {static_cast<TileEffect*>(new TilePulseEffect(*t)),
                          static_cast<TileEffect*>(new TileHintEffect(*t)),
                          static_cast<TileEffect*>(new TileFlashEffect(*t)),
                          static_cast<TileEffect*>(new TileSwellEffect(*t)),
                          static_cast<TileEffect*>(new TileLightenEffect(*t))}) {
        t->setEffect(e);
        for (int i = 0; i < 5; ++i) {
            t->stepTopEffect(100);
        }
        EXPECT_NE(t->getTopEffect(), nullptr);
    }
}

} // namespace
} // namespace orv::test
