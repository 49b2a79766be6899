#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/FontResource.h"
#include "engine/resources/Image.h"
#include "engine/resources/ImageResource.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundResource.h"
#include "engine/resources/StreamResource.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/resources/ResourceFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

constexpr std::chrono::seconds kLimit(10);
// The side of a mask that marks a single pixel.
constexpr int kDoorSide = 200;

// Two sections: "splash" and "lobby", with objects that share files and
// objects that must not be merged although they name the same file.
constexpr const char* kDefinitions = R"(<?xml version="1.0"?>
<Resources>
  <Vector id="Sections">
    <Section name="splash">
      <Image id="LOGO" file="Media\Logo.png" nrofframes="2" usealphachannel="false"/>
      <Image id="MASKED" file="media/logo.png" mask="media/mask.png"/>
      <Sound id="CLICK" file="media/click.ogg" volumemultiplier="0.5" archive="zip"/>
      <Bogus id="UNKNOWN" file="media/logo.png"/>
      <Integer id="NUMBER">3</Integer>
    </Section>
    <Section name="lobby" auto="false">
      <Image id="LOGO_AGAIN" file="media/logo.png" nrofframes="2" usealphachannel="false"/>
      <Image id="LOGO_ONE_FRAME" file="media/logo.png" usealphachannel="false"/>
      <Image id="LOGO_ALPHA" file="media/logo.png" nrofframes="2"/>
      <Image id="LOGO_RED" file="media/logo.png" nrofframes="2" usealphachannel="false" color="#FF0000"/>
      <Image id="MISSING" file="media/missing.png"/>
      <Stream id="CLICK_STREAM" file="media/click.ogg" panning="300" archive="Zip"/>
      <Sound id="CLICK_AGAIN" file="media/click.ogg" volumemultiplier="0.5"/>
      <Font id="BIG" file="media/fonts/big.xml" archive="encryptfile"/>
      <Image id="DOOR_MASK" mask="media/door.png"/>
    </Section>
  </Vector>
</Resources>
)";

class ResourceDefinitionsTest : public testing::Test {
protected:
    void SetUp() override {
        registerResourceClasses();
        folder.write("media/logo.png", test::rgbaRowPng({0x10, 0x20, 0x30, 0xFF}));
        folder.write("media/mask.png", test::greyRowPng({0x80}));
        std::vector<std::uint8_t> door(kDoorSide * kDoorSide, 0);
        door[kDoorSide * 100 + 100] = 0xFF;
        test::PngSpec spec;
        spec.width = kDoorSide;
        spec.height = kDoorSide;
        spec.samples = std::move(door);
        folder.write("media/door.png", test::writePng(spec));
        folder.write("media/properties/resources.xml", std::string(kDefinitions));
        previousSink = setLogSink([this](LogLevel, std::string_view line) { log += line; });
        manager->addDefinitionFile("media/properties/resources.xml");
        ASSERT_TRUE(manager->loadDefinitions());
        manager->setStarted(true);
    }

    void TearDown() override {
        setLogSink(previousSink);
        FileArchive::shutDown();
    }

    template <class Kind>
    Kind* find(const char* objectName, const char* sectionName) {
        const platform::NamedMutexGuard guard(manager->getDataLock());
        return dynamic_cast<Kind*>(manager->findResource(objectName, sectionName));
    }

    test::CurrentFolderFixture folder;
    std::string log;
    LogSink previousSink;
    RefPtr<ResourceManager> manager{new ResourceManager()};
};

TEST_F(ResourceDefinitionsTest, SectionsAreReadWithTheirObjects) {
    ResourceSection* splash = manager->findSection("splash");
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(splash->isAutoLoad());
    EXPECT_EQ(splash->getObjects().size(), 3U) << "the unknown type and the value are skipped";
    EXPECT_NE(log.find("Bogus"), std::string::npos) << log;
    ASSERT_NE(manager->findSection("lobby"), nullptr);
    EXPECT_EQ(manager->findSection("lobby")->getObjects().size(), 9U);

    auto* logo = find<ImageResource>("LOGO", "splash");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->getFileKey(), "media/logo.png");
    EXPECT_EQ(logo->getFrameCount(), 2);
    EXPECT_FALSE(logo->usesAlphaChannel());
    EXPECT_EQ(logo->getMode(), ArchiveMode::Global);
    EXPECT_EQ(find<ImageResource>("MASKED", "splash")->getMaskFile(), "media/mask.png");
    EXPECT_EQ(find<ImageResource>("LOGO_RED", "lobby")->getColor(), 0xFF0000);

    auto* click = find<SoundResource>("CLICK", "splash");
    ASSERT_NE(click, nullptr);
    EXPECT_FLOAT_EQ(click->getVolumeMultiplier(), 0.5F);
    EXPECT_EQ(click->getMode(), ArchiveMode::Zip);
    auto* stream = find<StreamResource>("CLICK_STREAM", "lobby");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->getPanning(), 300 % 256);
    EXPECT_FLOAT_EQ(stream->getVolumeMultiplier(), 1.0F);
    EXPECT_EQ(stream->getMode(), ArchiveMode::Global) << "archive names match case";
    EXPECT_EQ(find<FontResource>("BIG", "lobby")->getMode(), ArchiveMode::EncryptFile);
}

TEST_F(ResourceDefinitionsTest, OnlyObjectsThatLoadAlikeAreShared) {
    const platform::NamedMutexGuard guard(manager->getDataLock());
    ResourceObject* logo = manager->findResource("LOGO", "splash");
    EXPECT_EQ(manager->findResource("LOGO_AGAIN", "lobby"), logo);
    for (const char* different : {"LOGO_ONE_FRAME", "LOGO_ALPHA", "LOGO_RED"}) {
        EXPECT_NE(manager->findResource(different, "lobby"), logo) << different;
    }
    EXPECT_EQ(manager->findResource("CLICK_AGAIN", "lobby"),
              manager->findResource("CLICK", "splash"));
    EXPECT_NE(dynamic_cast<StreamResource*>(manager->findResource("CLICK_STREAM", "lobby")),
              nullptr)
        << "a stream of a sound's file stays a stream";
}

// A mask alone that marks a small area is held deflated until it is used, and
// reads back whole.
TEST_F(ResourceDefinitionsTest, AMaskAloneIsHeldDeflatedAndReadsBackWhole) {
    manager->requestSection("lobby");
    ASSERT_TRUE(manager->waitForRequests(kLimit));
    auto* mask = kindCast<Image>(manager->getObject("DOOR_MASK", "lobby"));
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->getFormat(), kFormatAlpha);
    EXPECT_TRUE(mask->hasCompressedCopies());
    EXPECT_LT(mask->getCompressedSize(), 2048U);
    ASSERT_TRUE(mask->lock());
    const std::uint8_t* plane = mask->getAlpha();
    EXPECT_EQ(plane[kDoorSide * 100 + 100], 0xFF);
    EXPECT_EQ(plane[kDoorSide * 100 + 101], 0);
    mask->unlock();
    EXPECT_TRUE(mask->compress());
}

TEST_F(ResourceDefinitionsTest, RequestWaitFindCancelAndUnload) {
    manager->requestSection("splash");
    manager->requestSection("lobby");
    ASSERT_TRUE(manager->waitForRequests(kLimit));
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0);

    auto* logo = kindCast<Image>(manager->getObject("LOGO", "splash"));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->getFrameCount(), 2);
    EXPECT_FALSE(logo->getUseAlphaChannel());
    EXPECT_EQ(manager->getObject("LOGO_AGAIN", "lobby"), logo) << "shared objects load once";
    auto* masked = kindCast<Image>(manager->getObject("MASKED", "splash"));
    ASSERT_NE(masked, nullptr);
    ASSERT_TRUE(masked->lock());
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(masked->getPixels())[0], 0x80102030U);
    masked->unlock();

    ResourceObject* missing = find<ResourceObject>("MISSING", "lobby");
    EXPECT_TRUE(missing->isLoaded());
    EXPECT_TRUE(missing->hasError());
    EXPECT_EQ(manager->getObject("MISSING", "lobby"), nullptr);

    // Without the sound and font libraries nothing pretends to be loaded.
    for (const char* name : {"CLICK_STREAM", "BIG"}) {
        ResourceObject* object = find<ResourceObject>(name, "lobby");
        EXPECT_TRUE(object->isLoaded()) << name;
        EXPECT_TRUE(object->hasError()) << name;
        EXPECT_EQ(object->getHeldObject(), nullptr) << name;
    }

    manager->cancelSection("lobby", true);
    EXPECT_EQ(manager->findSection("lobby"), nullptr);
    EXPECT_EQ(manager->getObject("LOGO_ONE_FRAME", "lobby"), nullptr);
    EXPECT_DOUBLE_EQ(manager->getProgress(), 1.0);
    // LOGO was shared with the unloaded section: it loads again on demand.
    EXPECT_NE(manager->getLoadedObject("LOGO", "splash"), nullptr);
}

TEST_F(ResourceDefinitionsTest, LoadFunctionsOfTheLaterLibrariesFillTheKinds) {
    struct Held : BaseObject {};
    SoundResource::setLoadFunction([](const SoundResource& resource, RefPtr<BaseObject>& held) {
        held = new Held();
        return resource.getVolumeMultiplier() > 1.0F; // fails for CLICK (0.5)
    });
    FontResource::setLoadFunction([](const FontResource&, RefPtr<BaseObject>& held) {
        held = new Held();
        return true;
    });
    EXPECT_NE(manager->getLoadedObject("CLICK", "splash"), nullptr) << "a sound without sample";
    EXPECT_TRUE(find<ResourceObject>("CLICK", "splash")->hasError());
    EXPECT_NE(manager->getLoadedObject("BIG", "lobby"), nullptr);
    EXPECT_FALSE(find<ResourceObject>("BIG", "lobby")->hasError());
    SoundResource::setLoadFunction(nullptr);
    FontResource::setLoadFunction(nullptr);
}

TEST_F(ResourceDefinitionsTest, DumpsDescribeSectionsAndObjects) {
    ResourceSection* splash = manager->findSection("splash");
    const std::string dump = splash->toString();
    EXPECT_NE(dump.find("Auto Load: no; Has Started: no; Name: splash;\n\tObjects:\n\t\t"),
              std::string::npos)
        << dump;
    EXPECT_EQ(
        find<ImageResource>("MASKED", "splash")
            ->toString()
            .rfind(
                "Object: NULL; Color: 0; Only Mask: false; Mask File Name: media/mask.png; "
                "Has Error: false; Is Loaded: false; File Name: media/logo.png;\n\t\t\tAddress: ",
                0),
        0U);
    EXPECT_EQ(find<SoundResource>("CLICK", "splash")
                  ->toString()
                  .rfind("Object: NULL; Volume: 0; Has Error: false;", 0),
              0U);
}

TEST(ResourceDefinitionsFile, AMissingFileOrSectionsVectorDefinesNothing) {
    const test::CurrentFolderFixture folder;
    folder.write("none.xml", std::string("<Resources><Node id=\"Sections\"/></Resources>"));
    const LogSink previous = setLogSink([](LogLevel, std::string_view) {});
    const RefPtr<ResourceManager> manager(new ResourceManager());
    manager->addDefinitionFile("missing.xml");
    EXPECT_FALSE(manager->loadDefinitions());
    const RefPtr<ResourceManager> other(new ResourceManager());
    other->addDefinitionFile("none.xml");
    EXPECT_TRUE(other->loadDefinitions());
    setLogSink(previous);
    EXPECT_EQ(other->findSection(""), nullptr);
}

TEST(ResourceDefinitionsFile, BrokenDefinitionsAreSkippedOrGetDefaults) {
    const test::CurrentFolderFixture folder;
    registerResourceClasses();
    folder.write("broken.xml", std::string(R"(<Resources><Vector id="Sections">
        <Integer>5</Integer>
        <Section name="s">
          <Image id="NO_FRAMES" file="a.png" nrofframes="0"/>
          <Image id="TEXT_FRAMES" file="b.png" nrofframes="many" color="red"/>
          <Image id="EMPTY"/>
          <Vector id="LIST"/>
        </Section>
      </Vector></Resources>)"));
    std::string log;
    const LogSink previous = setLogSink([&](LogLevel, std::string_view line) { log += line; });
    const RefPtr<ResourceManager> manager(new ResourceManager());
    manager->addDefinitionFile("broken.xml");
    EXPECT_TRUE(manager->loadDefinitions());

    const platform::NamedMutexGuard guard(manager->getDataLock());
    ResourceSection* section = manager->findSection("s");
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->getObjects().size(), 3U) << "the vector child is no object";
    for (const char* name : {"NO_FRAMES", "TEXT_FRAMES"}) {
        auto* image = dynamic_cast<ImageResource*>(section->findObject(name));
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->getFrameCount(), 1) << name;
    }
    EXPECT_NE(log.find("nrofframes"), std::string::npos) << log;
    ResourceObject* empty = section->findObject("EMPTY");
    empty->load();
    setLogSink(previous);
    EXPECT_TRUE(empty->isLoaded());
    EXPECT_TRUE(empty->hasError());
    // The non-node element of "Sections" is an empty, unnamed section.
    ASSERT_NE(manager->findSection(""), nullptr);
    EXPECT_TRUE(manager->findSection("")->getObjects().empty());
}

} // namespace
} // namespace orv
