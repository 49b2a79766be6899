// Link buttons: built from a definition with their own picture, opening the
// link when they fire (through a recording opener, so no browser starts),
// and refusing every link that is not a web or mail link.

#include "engine/gui/URLButton.h"

#include "engine/system/Messages.h"
#include "tests/gui/ButtonFixture.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orv {
namespace {

using test::ButtonTest;
using test::FireRecorder;

constexpr int kUrlHeld = static_cast<int>(platform::MK_LBUTTON);

// What the recording opener saw (main thread only, like the buttons).
std::vector<std::string>* openedLinks = nullptr;

bool recordOpening(std::string_view url) {
    openedLinks->emplace_back("open " + std::string(url));
    return true;
}

class URLButtonTest : public ButtonTest {
protected:
    void SetUp() override {
        ButtonTest::SetUp();
        openedLinks = &recorder.order;
        URLButton::setUrlOpener(&recordOpening);
    }
    void TearDown() override {
        openedLinks = nullptr;
        ButtonTest::TearDown();
    }

    [[nodiscard]] RefPtr<URLButton> buildLink(const char* id) {
        return RefPtr<URLButton>(kindCast<URLButton>(build(id).get()));
    }

    FireRecorder recorder;
};

TEST_F(URLButtonTest, BuiltWithItsOwnPictureAsAButton) {
    const RefPtr<URLButton> web = buildLink("web");
    ASSERT_NE(web, nullptr);
    EXPECT_TRUE(web->isKindOf(Button::classRecord));
    EXPECT_EQ(web->getUrl(), "https://example.com/a");
    ASSERT_NE(web->getImage(), nullptr) << "loaded from its \"file\"";
    EXPECT_EQ(web->getHeight(), test::kStripHeight / 4);
    EXPECT_EQ(web->getFireKeys(), (std::vector<int>{13}));

    const RefPtr<URLButton> bad = buildLink("bad");
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(bad->getImage(), nullptr);
    EXPECT_TRUE(log.contains("cannot load 'media/missing.png'"));
}

TEST_F(URLButtonTest, TheMouseOpensTheLinkOnlyWithACallbackAFireKeyAlways) {
    const RefPtr<URLButton> web = buildLink("web");
    ASSERT_TRUE(web->onLeftButtonDown(5, 5, kUrlHeld, false));
    EXPECT_TRUE(web->onLeftButtonUp(5, 5, 0));
    EXPECT_TRUE(recorder.order.empty()) << "no callback, no firing";

    EXPECT_TRUE(web->onKeyUp(13));
    EXPECT_EQ(recorder.order, (std::vector<std::string>{"open https://example.com/a"}));

    recorder.order.clear();
    web->setMethod(&FireRecorder::onFire, &recorder);
    ASSERT_TRUE(web->onLeftButtonDown(5, 5, kUrlHeld, false));
    EXPECT_TRUE(web->onLeftButtonUp(5, 5, 0));
    EXPECT_EQ(recorder.order, (std::vector<std::string>{"open https://example.com/a", "callback"}));
    EXPECT_EQ(recorder.last, web.get());
}

TEST_F(URLButtonTest, OnlyWebAndMailLinksAreOpened) {
    // The platform's own opener: every link below must be refused before
    // anything is started.
    URLButton::setUrlOpener(nullptr);
    const RefPtr<URLButton> bad = buildLink("bad");
    const std::vector<std::string> refused{
        "file:///etc/passwd",
        "javascript:alert(1)",
        "/usr/bin/xterm",
        "ftp://example.com/",
        "",
        "https://",
        "http://example.com/a b",
        "http://example.com/\n--x",
        "mailto",
    };
    for (const std::string& url : refused) {
        SCOPED_TRACE(url);
        bad->setUrl(url);
        const std::size_t before = log.lines().size();
        EXPECT_FALSE(bad->openLink());
        ASSERT_EQ(log.lines().size(), before + 1);
        EXPECT_NE(log.lines().back().find("not opened"), std::string::npos);
    }
    // Firing a refused link still reaches the callback.
    bad->setUrl("file:///etc/passwd");
    bad->setMethod(&FireRecorder::onFire, &recorder);
    EXPECT_EQ(bad->call(bad.get()), 0);
    EXPECT_EQ(recorder.fired, 1);
}

} // namespace
} // namespace orv
