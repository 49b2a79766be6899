#include "tests/screen/BarsFixture.h"

#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/scene/Label.h"
#include "game/screen/BonusBar.h"
#include "game/screen/ScreenClasses.h"

#include <array>
#include <utility>

namespace orv::test {

FakeScreen::FakeScreen() : root(new GameTree()) {
    addSprite("TIMEBAR_BACKGROUND", 700, 90, 40, 420);
    addSprite("TIMEBAR_FILLING", 705, 100, 30, 400);
    addSprite("TIMEBAR_CLOCK", 700, 40, 50, 50);
    addSprite("TIMEBAR_ROTATE", 700, 40, 50, 50);
    addSprite("TIMEBAR_GLOW", 700, 40, 50, 50);
    addSprite("BONUSBAR_FILLING", 20, 100, 30, 300);
    addSprite("BONUSBAR_TIMER", 20, 420, 60, 60);
    addSprite("BONUSBAR_BONUS", 20, 500, 48, 48);
    addSprite("BONUSBAR_BOX", 20, 500, 48, 48);
    addSprite("BONUSBAR_SUNSHINE", 20, 500, 48, 48);
    addSprite("BUTTON_SHUFFLE", 400, 560, 100, 30);
    auto* label = new Label(nullptr, 30, 440, 60, 20, Label::kAutoWidth);
    label->setName("BONUSBAR_MULTIPLIER");
    GameTree::appendChild(label, root.get());
    parts["BONUSBAR_MULTIPLIER"] = label;
}

FakeScreen::~FakeScreen() = default;

GameNode* FakeScreen::findComponent(std::string_view name) const {
    const auto found = parts.find(name);
    return found != parts.end() ? found->second : nullptr;
}

Sprite* FakeScreen::addSprite(const std::string& name, int x, int y, int width, int height) {
    auto* sprite = new Sprite(x, y, width, height);
    sprite->setName(name);
    GameTree::appendChild(sprite, root.get());
    parts[name] = sprite;
    return sprite;
}

namespace {

constexpr std::array<std::pair<const char*, int>, 8> kBarConstants{{
    {"TIME_ALMOST_UP_SOUND", 10000},
    {"TIME_ALMOST_UP_ANIM", 8000},
    {"TIME_BONUS", 5000},
    {"TROPHY_COMBO_FRENZY_MULTIPLIER", 10},
    {"MAX_NUM_HINTS", 9},
    {"MAX_NUM_SHUFFLES", 9},
    {"BONUS_ANIM_FLY_TIME", 800},
    {"BONUS_ANIM_BONUS_DELAY", 300},
}};

} // namespace

void BarsTest::SetUp() {
    GameTest::SetUp();
    registerScreenClasses();
    BasicProperties& settings = *BasicProperties::get();
    for (const auto& [name, value] : kBarConstants) {
        settings.getInteger(name) = value;
    }
    settings.getFloat("MULTIPLIER_PERCENTAGE") = 0.1F;
    settings.getFloat("MULTIPLIER_MINIMUM") = 0.5F;
    RefPtr<GameConstants> constants(new GameConstants());
    constants->apply();
    BonusBar::setDefinitionFile(ORVANTA_MEDIA_SOURCE "/properties/bonus.xml");
    setPlayingScreen(&screen);
    game = &startClassic(makeLayout({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {12, 0, 0}}).get());
}

void BarsTest::TearDown() {
    setPlayingScreen(nullptr);
    GameTest::TearDown();
}

} // namespace orv::test
