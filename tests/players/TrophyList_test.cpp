#include "game/players/TrophyList.h"

#include "engine/properties/BasicProperties.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "tests/players/PlayersFixture.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using TrophyListTest = test::PlayersTest;

std::vector<int> savedStates(const TrophyList& list) {
    RefPtr<PropertyNode> node(new PropertyNode("trophies", "Trophies"));
    list.save(*node);
    std::vector<int> states;
    for (const RefPtr<AbstractProperty>& value : node->getVector("trophyVector")->getElements()) {
        states.push_back(PropertyValue::toInt(value.get()));
    }
    return states;
}

TEST_F(TrophyListTest, ShortDefinitionsStillGiveTwentyTrophies) {
    test::LogCapture log;
    const RefPtr<TrophyList> list(new TrophyList());
    EXPECT_TRUE(log.contains("defines 3 of the 20 trophies"));
    ASSERT_EQ(list->size(), 20U);
    EXPECT_FALSE(list->saveNotShownAsNew);
    EXPECT_EQ(list->section, "shelf");
    const TrophyInfo& first = list->get(0);
    EXPECT_EQ(first.entry(0).section, "own");
    EXPECT_EQ(first.entry(0).x, 10);
    EXPECT_EQ(first.entry(1).section, "shelf") << "an entry without a section takes the list's";
    EXPECT_EQ(first.entry(1).textId, "T_TITLE");
    EXPECT_EQ(first.entry(1).headerId, "T_TEXT");
    EXPECT_EQ(list->get(1).entry(0).x, 0);
    EXPECT_EQ(list->get(1).entry(0).y, 30);
    EXPECT_TRUE(list->get(1).entry(1).image.empty()) << "a missing entry reads empty";
    EXPECT_TRUE(list->get(19).entries.empty());
}

TEST_F(TrophyListTest, MissingDefinitionFileStillGivesTwentyTrophies) {
    test::QuietLog quiet;
    TrophyList::setDefinitionFile(temp.file("none.xml"));
    const RefPtr<TrophyList> list(new TrophyList());
    EXPECT_EQ(list->size(), 20U);
    EXPECT_TRUE(list->saveNotShownAsNew);
    EXPECT_TRUE(list->award(19));
}

TEST_F(TrophyListTest, GameDefinitionsHoldTwentyTrophiesWithTexts) {
    TrophyList::setDefinitionFile(ORVANTA_MEDIA_SOURCE "/properties/trophies.xml");
    const RefPtr<TrophyList> list(new TrophyList());
    ASSERT_EQ(list->size(), 20U);
    EXPECT_TRUE(list->saveNotShownAsNew);
    for (std::size_t i = 0; i < list->size(); ++i) {
        const TrophyInfo& trophy = list->get(i);
        ASSERT_EQ(trophy.entries.size(), 2U) << i;
        EXPECT_FALSE(trophy.entry(0).image.empty()) << i;
        EXPECT_GT(trophy.entry(0).x, 0) << i;
        EXPECT_FALSE(trophy.entry(1).textId.empty()) << i;
        EXPECT_FALSE(trophy.entry(1).headerId.empty()) << i;
        EXPECT_EQ(trophy.entry(1).section, "trophy") << i;
        // The award ceremony flies the trophy to its shelf.
        EXPECT_EQ(trophy.entry(1).x, trophy.entry(0).x) << i;
        EXPECT_EQ(trophy.entry(1).y, trophy.entry(0).y) << i;
    }
}

TEST_F(TrophyListTest, SavedStatesWithAndWithoutSaveNotShownAsNew) {
    const RefPtr<TrophyList> list(new TrophyList());
    EXPECT_TRUE(list->award(2));
    EXPECT_FALSE(list->award(2)) << "an earned trophy is not awarded again";
    EXPECT_TRUE(list->holdBack(5));
    EXPECT_FALSE(list->holdBack(2));
    list->setState(7, TrophyState::kSeen);
    EXPECT_TRUE(list->hasNewTrophies());

    std::vector<int> expected(20, 0);
    expected[2] = 1;
    expected[5] = 4;
    expected[7] = 3;
    EXPECT_EQ(savedStates(*list), expected);
    list->saveNotShownAsNew = true;
    expected[2] = 3;
    EXPECT_EQ(savedStates(*list), expected) << "a held-back trophy is never saved as seen";

    RefPtr<PropertyNode> node(new PropertyNode("trophies", "Trophies"));
    list->save(*node);
    const RefPtr<TrophyList> loaded(new TrophyList());
    loaded->load(*node);
    EXPECT_EQ(loaded->getState(2), TrophyState::kSeen);
    EXPECT_EQ(loaded->getState(5), TrophyState::kEarned)
        << "held back when saved: the trophy room shows it next";
    EXPECT_EQ(loaded->getState(7), TrophyState::kSeen);
}

// A profile saved before held-back trophies were kept wrote them as seen
// although nothing had shown them: they come back as new once, and the
// next save carries the mark that stops the correction.
TEST_F(TrophyListTest, HeldBackTrophiesSavedAsSeenByAnOldProfileShowOnce) {
    RefPtr<PropertyNode> old(new PropertyNode("trophies", "Trophies"));
    auto* states = static_cast<PropertyVector*>(old->add(new PropertyVector("trophyVector")));
    for (int i = 0; i < 20; ++i) {
        states->add(new PropertyValue("", i == 2 || i == 5 || i == 14 ? 3 : 0));
    }
    const RefPtr<TrophyList> list(new TrophyList());
    list->load(*old);
    EXPECT_EQ(list->getState(5), TrophyState::kEarned);
    EXPECT_EQ(list->getState(14), TrophyState::kEarned);
    EXPECT_EQ(list->getState(2), TrophyState::kSeen) << "an ordinary trophy was shown in play";

    list->markAllSeen();
    list->saveNotShownAsNew = true;
    RefPtr<PropertyNode> saved(new PropertyNode("trophies", "Trophies"));
    list->save(*saved);
    const RefPtr<TrophyList> again(new TrophyList());
    again->load(*saved);
    for (const std::size_t i : {2U, 5U, 14U}) {
        EXPECT_EQ(again->getState(i), TrophyState::kSeen) << i;
    }
    EXPECT_FALSE(again->hasNewTrophies());
}

TEST_F(TrophyListTest, HeldBackTrophiesAreReleasedAndMarkedSeen) {
    const RefPtr<TrophyList> list(new TrophyList());
    list->holdBack(14);
    list->award(3);
    list->releaseHeldBack(14);
    list->releaseHeldBack(4);
    EXPECT_EQ(list->getState(14), TrophyState::kEarned);
    EXPECT_EQ(list->getState(4), TrophyState::kNotEarned);
    list->holdBack(6);
    list->markAllSeen();
    for (const std::size_t i : {3U, 6U, 14U}) {
        EXPECT_EQ(list->getState(i), TrophyState::kSeen) << i;
    }
    EXPECT_EQ(list->getState(0), TrophyState::kNotEarned);
}

TEST_F(TrophyListTest, ShortOrDamagedStoredStates) {
    test::QuietLog quiet;
    const RefPtr<TrophyList> list(new TrophyList());
    list->setState(9, TrophyState::kSeen);
    RefPtr<PropertyNode> node(new PropertyNode("trophies", "Trophies"));
    auto* states = static_cast<PropertyVector*>(node->add(new PropertyVector("trophyVector")));
    states->add(new PropertyValue("", 1));
    states->add(new PropertyValue("", 99));
    list->load(*node);
    EXPECT_EQ(list->getState(0), TrophyState::kEarned);
    EXPECT_EQ(list->getState(1), TrophyState::kNotEarned) << "an unknown state is ignored";
    EXPECT_EQ(list->getState(9), TrophyState::kSeen) << "a short vector leaves the rest";
}

TEST_F(TrophyListTest, TextsReplaceTheGroupingMarkAndTheSecondText) {
    BasicProperties& settings = *BasicProperties::get();
    settings.getTextEntry("T_SCORE") = L"\t Score 250%1000 points  ";
    settings.getTextEntry("T_PLAIN") = L"  Plain  ";
    settings.getTextEntry("T_HEADER") = L"%2 at %1 and %2";
    settings.getTextEntry("T_SECOND") = L"Casino";
    settings.getTextEntry("T_SECOND_PLUS") = L"Casino+";
    EXPECT_EQ(formatTrophyText("T_SCORE"), L"Score 250,000 points");
    EXPECT_EQ(formatTrophyText("T_PLAIN"), L"Plain");
    EXPECT_EQ(formatTrophyText("T_MISSING"), L"");
    EXPECT_EQ(formatTrophyHeader("T_HEADER", "T_SECOND", false), L"Casino at , and %2");
    EXPECT_EQ(formatTrophyHeader("T_HEADER", "T_SECOND", true), L"Casino+ at , and %2");
    EXPECT_EQ(formatTrophyHeader("T_SCORE", "T_SECOND", true), L"Score 250,000 points");
}

} // namespace
} // namespace orv
