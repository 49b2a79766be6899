#include "game/board/Progression.h"
#include "tests/board/BoardFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

using test::parseNode;

TEST(ProgressionTest, StepsStopAtTheCapInTheirDirection) {
    struct Case {
        const char* xml;
        std::vector<float> steps;
    };
    const Case cases[] = {
        {R"(<r><L><Integer id="p">300</Integer></L></r>)", {300, 300}},
        {R"(<r><L><Node id="p" start="10" delta="2" cap="15"/></L></r>)", {12, 14, 15, 15}},
        {R"(<r><L><Node id="p" start="10" delta="-3" cap="2"/></L></r>)", {7, 4, 2, 2}},
        {R"(<r><L><Node id="p" start="5" delta="0" cap="0"/></L></r>)", {5, 5}},
        {R"(<r><L><Node id="p" start="10" delta="1" cap="many"/></L></r>)", {0, 0}},
        {R"(<r><L><Node id="p" start="lots" delta="1" cap="3"/></L></r>)", {1, 2, 3, 3}},
        {R"(<r><L><Node id="p" start="2.5" delta="0.5"/></L></r>)", {0, 0}},
    };
    for (const Case& c : cases) {
        RefPtr<PropertyNode> level = parseNode(c.xml);
        Progression progression(level->getChild("p"));
        for (const float expected : c.steps) {
            EXPECT_FLOAT_EQ(progression.step(), expected) << c.xml;
        }
    }
}

TEST(ProgressionTest, ReadingSetsStartValueAndCap) {
    RefPtr<PropertyNode> level =
        parseNode(R"(<r><L single="12.9"><Node id="p" start="10" delta="2" cap="15"/></L></r>)");
    const Progression single(level->getChild("single"));
    EXPECT_FLOAT_EQ(single.getStart(), 12.9F);
    EXPECT_FLOAT_EQ(single.getCap(), 12.9F);
    EXPECT_FLOAT_EQ(single.getDelta(), 0.0F);
    EXPECT_EQ(single.getInt(), 12);
    const Progression stepped(level->getChild("p"));
    EXPECT_FLOAT_EQ(stepped.getStart(), 10.0F);
    EXPECT_FLOAT_EQ(stepped.getValue(), 10.0F);
    const Progression missing(nullptr);
    EXPECT_FLOAT_EQ(missing.getValue(), 0.0F);
}

} // namespace
} // namespace orv
