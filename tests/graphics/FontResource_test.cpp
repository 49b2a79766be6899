#include "engine/core/Log.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Descrambler.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/FontResource.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "tests/graphics/TestPixels.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/resources/ResourceFixture.h"

#include <png.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

// A font document with two layers: a 2 x 2 white mask on top, and below it a
// 4 x 4 blue picture with a grey mask, padding 1.
constexpr std::string_view kDocument = R"(<Font>
  <Node id="font" spacewidth="3">
    <Vector id="chars"><G c="65" sw="2" sh="2" width="3"/></Vector>
  </Node>
  <Vector id="layers">
    <Layer mask="tf_0_mask.png" color="#FFFFFFFF"/>
    <Layer image="tf_1.png" mask="tf_1_mask.png" padding="1" color="#FF000080"/>
  </Vector>
</Font>
)";

std::vector<std::uint8_t> greyPng(int width, int height, std::uint8_t grey) {
    test::PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colourType = PNG_COLOR_TYPE_GRAY;
    spec.samples = test::uniformSamples(width, height, {grey});
    return test::writePng(spec);
}

std::vector<std::uint8_t> bluePng(int width, int height) {
    test::PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colourType = PNG_COLOR_TYPE_RGB;
    spec.samples = test::uniformSamples(width, height, {0x00, 0x00, 0xFF});
    return test::writePng(spec);
}

std::vector<std::uint8_t> scrambled(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> out = bytes;
    descramble(out.data(), out.size());
    return out;
}

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

RefPtr<FontResource> fontResource(const std::string& file, const char* archive = nullptr) {
    const RefPtr<PropertyNode> definition(new PropertyNode("FONT", "Font"));
    definition->add(new PropertyValue("file", std::string_view(file), true));
    if (archive != nullptr) {
        definition->add(new PropertyValue("archive", std::string_view(archive), true));
    }
    return RefPtr<FontResource>(new FontResource(definition.get()));
}

class FontResourceTest : public testing::Test {
protected:
    void SetUp() override {
        previousSink_ = setLogSink(
            [this](LogLevel, std::string_view line) { log_ += std::string(line) + "\n"; });
    }
    void TearDown() override {
        setLogSink(previousSink_);
        FontResource::setLoadFunction(nullptr);
        FileArchive::shutDown();
    }

    void writeFont(const std::string& folder) const {
        const std::string prefix = folder.empty() ? "" : folder + "/";
        folder_.write(prefix + "tf.xml", std::string(kDocument));
        folder_.write(prefix + "tf_0_mask.png", greyPng(2, 2, 0xFF));
        folder_.write(prefix + "tf_1.png", bluePng(4, 4));
        folder_.write(prefix + "tf_1_mask.png", greyPng(4, 4, 0xFF));
    }

    test::CurrentFolderFixture folder_;
    std::string log_;
    LogSink previousSink_;
};

TEST_F(FontResourceTest, BuildsTheFontAndItsLayersFromTheDocument) {
    writeFont("media/fonts");
    const RefPtr<FontResource> resource = fontResource("media/fonts/tf.xml");
    resource->load();
    EXPECT_TRUE(resource->isLoaded());
    EXPECT_FALSE(resource->hasError()) << log_;
    auto* font = kindCast<BitmapFont>(resource->getHeldObject());
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->isKindOf(Font::classRecord));
    ASSERT_EQ(font->getLayers().size(), 2U);
    EXPECT_EQ(font->getLayers()[0]->getImage()->getFormat(), kFormatAlpha);
    EXPECT_EQ(font->getLayers()[0]->getColor(), 0xFFFFFFFFU);
    EXPECT_EQ(font->getLayers()[1]->getImage()->getFormat(), kFormatArgb32);
    EXPECT_EQ(font->getLayers()[1]->getPadding(), 1);
    EXPECT_EQ(font->getColor(), 0xFF000080U);
    EXPECT_FALSE(font->isTintedMask());
    EXPECT_EQ(font->getPadding(), 1);
    EXPECT_EQ(font->getHeight(), 2 + 2);

    // "A" drawn: the blue cell (4 x 4) with the white glyph inside it.
    RefPtr<Image> target = test::filledImage(6, 6, 0);
    RefPtr<Graphics> graphics = createGraphics(*target);
    font->drawLines(*graphics, {TextLine{L"A", 0, 0, 0}}, {});
    EXPECT_EQ(test::pixelAt(*target, 0, 0), 0xFF0000FFU);
    EXPECT_EQ(test::pixelAt(*target, 1, 1) >> 24, 0xFFU);
    EXPECT_GE(test::pixelAt(*target, 1, 1) & 0xFFU, 0xF8U) << "white (a full mask blends to 253+)";
    EXPECT_GE((test::pixelAt(*target, 1, 1) >> 16) & 0xFFU, 0xF8U);
    EXPECT_EQ(test::pixelAt(*target, 3, 3), 0xFF0000FFU);
    EXPECT_EQ(test::pixelAt(*target, 4, 4), 0U);

    EXPECT_EQ(resource->toString().rfind("Object: not 0; Has Error: false;", 0), 0U);
    resource->unload();
    EXPECT_EQ(resource->getHeldObject(), nullptr);
}

TEST_F(FontResourceTest, ALayerWhoseMaskIsMissingIsLeftOutAndMarksTheResource) {
    writeFont("media/fonts");
    std::filesystem::remove("media/fonts/tf_1_mask.png");
    const RefPtr<FontResource> resource = fontResource("media/fonts/tf.xml");
    resource->load();
    EXPECT_TRUE(resource->isLoaded());
    EXPECT_TRUE(resource->hasError());
    auto* font = kindCast<BitmapFont>(resource->getHeldObject());
    ASSERT_NE(font, nullptr) << "the font keeps its other layers";
    ASSERT_EQ(font->getLayers().size(), 1U);
    EXPECT_TRUE(font->isTintedMask());
    EXPECT_NE(log_.find("media/fonts/tf.xml: layer 1"), std::string::npos) << log_;
}

TEST_F(FontResourceTest, AMissingOrBrokenDocumentLeavesNoFont) {
    for (const char* text : {"", "<Font><Node id=\"font\">"}) {
        if (*text != '\0') {
            folder_.write("media/fonts/bad.xml", std::string(text));
        }
        const RefPtr<FontResource> resource = fontResource("media/fonts/bad.xml");
        resource->load();
        EXPECT_TRUE(resource->isLoaded());
        EXPECT_TRUE(resource->hasError());
        EXPECT_EQ(resource->getHeldObject(), nullptr);
    }
}

TEST_F(FontResourceTest, ADocumentWithoutFolderNamesItsLayersAsTheyStand) {
    writeFont("");
    const RefPtr<FontResource> resource = fontResource("tf.xml");
    resource->load();
    EXPECT_FALSE(resource->hasError()) << log_;
    auto* font = kindCast<BitmapFont>(resource->getHeldObject());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->getLayers().size(), 2U);
}

// The document and its layer images are read in the resource's own mode
// (here scrambled loose files) while the global mode says otherwise.
TEST_F(FontResourceTest, TheDocumentAndItsImagesAreReadInTheResourcesOwnMode) {
    FileArchive::setUp(ArchiveMode::Zip, "absent.dat");
    folder_.write("media/fonts/tf.xml.!", scrambled(bytesOf(kDocument)));
    folder_.write("media/fonts/tf_0_mask.png.!", scrambled(greyPng(2, 2, 0xFF)));
    folder_.write("media/fonts/tf_1.png.!", scrambled(bluePng(4, 4)));
    folder_.write("media/fonts/tf_1_mask.png.!", scrambled(greyPng(4, 4, 0xFF)));
    const RefPtr<FontResource> resource = fontResource("media/fonts/tf.xml", "encryptfile");
    resource->load();
    EXPECT_FALSE(resource->hasError()) << log_;
    auto* font = kindCast<BitmapFont>(resource->getHeldObject());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->getLayers().size(), 2U);
    EXPECT_EQ(FileArchive::getGlobalMode(), ArchiveMode::Zip);
}

// Hostile documents list the same large picture many times: the layers are
// bounded and the same files decode once.
TEST_F(FontResourceTest, LayersAreBoundedAndTheSameFilesDecodeOnce) {
    std::string document = "<Font><Node id=\"font\"/><Vector id=\"layers\">";
    for (std::size_t i = 0; i < FontResource::kMaxLayers + 3; ++i) {
        document += "<Layer image=\"tf_1.png\" mask=\"tf_1_mask.png\" padding=\"1\"/>";
    }
    document += "</Vector></Font>";
    writeFont("media/fonts");
    folder_.write("media/fonts/many.xml", document);
    const RefPtr<FontResource> resource = fontResource("media/fonts/many.xml");
    resource->load();
    EXPECT_TRUE(resource->hasError());
    EXPECT_NE(log_.find("only the first 8 are used"), std::string::npos) << log_;
    auto* font = kindCast<BitmapFont>(resource->getHeldObject());
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->getLayers().size(), FontResource::kMaxLayers);
    for (const auto& layer : font->getLayers()) {
        EXPECT_EQ(layer->getImage(), font->getLayers()[0]->getImage());
    }
}

TEST_F(FontResourceTest, TheManagerHandsOutTheFontOfAFontDefinition) {
    registerResourceClasses();
    writeFont("media/fonts");
    folder_.write("media/properties/resources.xml",
                  std::string("<Resources><Vector id=\"Sections\"><Section name=\"fonts\">"
                              "<Font id=\"FONT_TEST\" file=\"media/fonts/TF.xml\"/>"
                              "</Section></Vector></Resources>"));
    const RefPtr<ResourceManager> manager(new ResourceManager());
    manager->addDefinitionFile("media/properties/resources.xml");
    ASSERT_TRUE(manager->loadDefinitions());
    manager->setStarted(true);
    EXPECT_EQ(manager->getObject("FONT_TEST", "fonts"), nullptr) << "not loaded yet";
    Font* font = kindCast<Font>(manager->getLoadedObject("FONT_TEST", "fonts"));
    ASSERT_NE(font, nullptr) << log_;
    EXPECT_EQ(font->measureText(L"AA", 0, Font::kWholeText, TextExtent::MaxAdvance), 1 + 3 + 3);
    manager->shutDown();
}

} // namespace
} // namespace orv
