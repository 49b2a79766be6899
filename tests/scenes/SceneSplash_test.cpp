#include "game/scenes/SceneSplash.h"

#include "engine/properties/PropertyNode.h"
#include "engine/resources/Image.h"
#include "engine/system/Platform.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <string>

namespace orv {
namespace {

std::string bytes(const std::vector<std::uint8_t>& data) {
    return {data.begin(), data.end()};
}

std::string png(int side) {
    test::PngSpec spec;
    spec.width = side;
    spec.height = side;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.samples.assign(static_cast<std::size_t>(side * side), 0x80);
    return bytes(test::writePng(spec));
}

std::string jpeg(int side) {
    return bytes(test::writeJpeg(side, side, test::JpegKind::Grey,
                                 test::uniformSamples(side, side, {0x40})));
}

// Enters a folder for one test and goes back to where it was.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : previous_(platform::getCurrentFolder()) {
        EXPECT_TRUE(platform::setCurrentFolder(folder));
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    ~InFolder() { static_cast<void>(platform::setCurrentFolder(previous_)); }

private:
    std::string previous_;
};

int widthOf(const RefPtr<Image>& image) {
    return image ? image->getWidth() : -1;
}

// Pictures are numbered from 0; a ".jpg" wins over a ".png" of the same
// number, a broken ".jpg" falls back to the ".png", and a gap ends them.
TEST(SceneSplash, FindsThePicturesBesideTheProgramInTheirOrder) {
    const test::TempDir folder;
    test::writeFile(folder.path() / "splash/splash0.png", png(2));
    test::writeFile(folder.path() / "splash/splash0.jpg", jpeg(3));
    test::writeFile(folder.path() / "splash/splash1.png", png(4));
    test::writeFile(folder.path() / "splash/splash2.jpg", "not a picture");
    test::writeFile(folder.path() / "splash/splash2.png", png(5));
    test::writeFile(folder.path() / "splash/splash4.png", png(6));
    const InFolder inside(folder.path().string());
    EXPECT_EQ(widthOf(SceneSplash::findPicture(0)), 3);
    EXPECT_EQ(widthOf(SceneSplash::findPicture(1)), 4);
    EXPECT_EQ(widthOf(SceneSplash::findPicture(2)), 5);
    EXPECT_EQ(widthOf(SceneSplash::findPicture(3)), -1);
}

TEST(SceneSplash, WithoutPicturesIsReadyToLeave) {
    const test::TempDir folder;
    const InFolder inside(folder.path().string());
    RefPtr<PropertyNode> definition(new PropertyNode("SCENE_SPLASH", "SceneSplash"));
    RefPtr<SceneSplash> splash(new SceneSplash(definition.get()));
    splash->tryPicture();
    EXPECT_TRUE(splash->isReadyToLeave());
    EXPECT_EQ(splash->getPictureCounter(), 0);
}

TEST(SceneSplash, BrandingCanLeaveTheLogoOutAndSetTheTimes) {
    const test::TempDir folder;
    test::writeFile(folder.path() / "splash/branding.xml",
                    "<Branding><Boolean id=\"SHOW_VANTREL_ANIMATION\" value=\"false\"/>"
                    "<Integer id=\"SPLASH_FADE_TIME\" value=\"250\"/>"
                    "<Integer id=\"SPLASH_DISPLAY_TIME\" value=\"900\"/></Branding>");
    const InFolder inside(folder.path().string());
    RefPtr<PropertyNode> definition(new PropertyNode("SCENE_SPLASH", "SceneSplash"));
    RefPtr<SceneSplash> splash(new SceneSplash(definition.get()));
    splash->setBackground();
    EXPECT_EQ(splash->getFadeTime(), 250);
    EXPECT_EQ(splash->getDisplayTime(), 900);
    EXPECT_EQ(splash->getLogo(), nullptr);
    ASSERT_NE(splash->getCover(), nullptr);
    EXPECT_EQ(splash->getCover()->getAlpha(), 255); // opaque at once without the logo
}

} // namespace
} // namespace orv
