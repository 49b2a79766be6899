#include "tests/gui/ButtonFixture.h"

#include "engine/gui/GuiClasses.h"
#include "engine/gui/URLButton.h"
#include "engine/platform/InputHandler.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundClasses.h"
#include "engine/resources/SoundResource.h"
#include "engine/resources/StreamResource.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/system/AudioTestData.h"

#include <cstdint>

namespace orv::test {

namespace {

constexpr int kPngRgba = 6;
constexpr int kPngGrey = 0;
constexpr int kSoundFrames = 4410; // 100 ms

std::string asText(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::uint8_t stripAlpha(int x) {
    return x < 10 ? 128 : (x < 20 ? 129 : 255);
}

std::string stripPng() {
    PngSpec spec;
    spec.width = kStripWidth;
    spec.height = kStripHeight;
    spec.colourType = kPngRgba;
    for (int y = 0; y < kStripHeight; ++y) {
        for (int x = 0; x < kStripWidth; ++x) {
            // Red tells the frame (row / 20), blue the column.
            spec.samples.insert(spec.samples.end(), {static_cast<std::uint8_t>(y / 20 * 60), 0,
                                                     static_cast<std::uint8_t>(x), stripAlpha(x)});
        }
    }
    return asText(writePng(spec));
}

std::string maskPng() {
    PngSpec spec;
    spec.width = 20;
    spec.height = 10;
    spec.colourType = kPngGrey;
    for (int y = 0; y < spec.height; ++y) {
        for (int x = 0; x < spec.width; ++x) {
            spec.samples.push_back(x < 10 ? 128 : 129);
        }
    }
    return asText(writePng(spec));
}

std::vector<std::byte> levelWav(int level) {
    return makeWav(16, 2, 44100, std::vector<int>(2 * kSoundFrames, level));
}

} // namespace

int FireRecorder::onFire(void* context, void* argument) {
    auto* recorder = static_cast<FireRecorder*>(context);
    ++recorder->fired;
    recorder->last = static_cast<Button*>(argument);
    recorder->order.emplace_back("callback");
    return 0;
}

void ButtonTest::SetUp() {
    hoverCount = 0;
    folder.write("media/button.png", stripPng());
    folder.write("media/mask.png", maskPng());
    folder.write("media/click.wav", levelWav(kClickLevel));
    folder.write("media/denied.wav", levelWav(kDeniedLevel));
    folder.write("media/over.wav", levelWav(kOverLevel));
    folder.write("media/late.wav", levelWav(kClickLevel));
    folder.write("media/properties/resources.xml", std::string(R"(<Resources>
  <Vector id="Sections">
    <Section name="gui">
      <Image id="BUTTON" file="media/button.png"/>
      <Image id="MASK" mask="media/mask.png"/>
    </Section>
    <Section name="sfx">
      <Sound id="CLICK" file="media/click.wav"/>
      <Sound id="DENIED" file="media/denied.wav"/>
      <Sound id="OVER" file="media/over.wav"/>
    </Section>
    <Section name="later"><Sound id="LATE" file="media/late.wav"/></Section>
  </Vector>
</Resources>)"));
    registerResourceClasses();
    registerSoundClasses();
    registerGuiClasses();
    ResourceManager* resources = ResourceManager::create();
    resources->addDefinitionFile("media/properties/resources.xml");
    ASSERT_TRUE(resources->loadDefinitions());
    for (const char* image : {"BUTTON", "MASK"}) {
        ASSERT_NE(resources->getLoadedObject(image, "gui"), nullptr) << image;
    }
    for (const char* sound : {"CLICK", "DENIED", "OVER"}) {
        ASSERT_NE(resources->getLoadedObject(sound, "sfx"), nullptr) << sound;
    }

    ASSERT_TRUE(definitions->loadText(R"(<Root>
  <Button id="ok" name="OK" x="100" y="50" section="gui" image="BUTTON"
          clicksound="CLICK" disabledsound="DENIED" oversound="OVER" soundsection="sfx"
          firekey=" 13 , 0x20 "/>
  <Button id="masked" name="MASKED" section="gui" image="BUTTON" hitmask="MASK"/>
  <Button id="alpha" name="ALPHA" section="gui" image="BUTTON" hitmaskthreshold="128"/>
  <Button id="off" name="OFF" section="gui" image="BUTTON" enabled="false"
          clicksound="CLICK" disabledsound="DENIED" oversound="OVER" soundsection="sfx"/>
  <Button id="nomask" name="NOMASK" section="gui" image="BUTTON" hitmask="NOPE"/>
  <Button id="unknown" name="UNKNOWN" section="gui" image="BUTTON" clicksound="NOPE"
          oversound="LATE" soundsection="later" firekey="#0D,,"/>
  <Button id="plain" name="PLAIN" width="30" height="40"/>
  <URLButton id="web" name="WEB" url="https://example.com/a" file="media/button.png"
             firekey="13"/>
  <URLButton id="bad" name="BAD" url="file:///etc/passwd" file="media/missing.png"/>
</Root>)"));
}

void ButtonTest::TearDown() {
    URLButton::setUrlOpener(nullptr);
    ResourceManager::destroyInstance();
    SoundResource::setLoadFunction(nullptr);
    StreamResource::setLoadFunction(nullptr);
    FileArchive::shutDown();
    EXPECT_EQ(hoverCount, 0) << "every hovered button gave its count back";
}

RefPtr<Button> ButtonTest::build(const char* id) {
    return RefPtr<Button>(kindCast<Button>(createFromDefinition(definitions->getNode(id))));
}

int ButtonTest::soundsPlayed() {
    const std::vector<std::int16_t> out = output.mixFrames(kSoundFrames + 1);
    return out[0];
}

} // namespace orv::test
