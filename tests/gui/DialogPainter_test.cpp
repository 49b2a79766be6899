#include "engine/core/NodeClasses.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/DialogPainter.h"
#include "engine/gui/GuiClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Dialog.h"
#include "engine/scene/SceneClasses.h"
#include "tests/resources/ImageTestFiles.h"
#include "tests/resources/SoundTestOutput.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

// Pictures are written as rows of letters, one letter a colour. The pieces
// are PNG files made from such rows; the painted canvas is read back into
// rows, so a failing test prints the frame it got next to the one expected.
//   '?' the canvas before painting, '.' transparent black, 'k' the centre
//   colour 0x80000000, any other letter an opaque colour of its own.
using Picture = std::vector<std::string>;
using test::PngSpec;
using test::writeFile;
using test::writePng;

constexpr std::uint32_t kCanvas = 0x11223344U;
constexpr std::uint32_t kHalfBlack = 0x80000000U;

std::uint32_t colourOf(char letter) {
    switch (letter) {
    case '?':
        return kCanvas;
    case '.':
        return 0;
    case 'k':
        return kHalfBlack;
    default: {
        const auto code = static_cast<std::uint32_t>(static_cast<unsigned char>(letter));
        return 0xFF000000U | code << 16U | (code ^ 0x5AU) << 8U | 0x10U;
    }
    }
}

char letterOf(std::uint32_t pixel) {
    for (const char letter : std::string("?.kAbBCdDefFGhHIx")) {
        if (colourOf(letter) == pixel) {
            return letter;
        }
    }
    return '#';
}

// A PNG file's bytes for `rows`; every opaque letter gets the alpha `alpha`.
std::string pngOf(const Picture& rows, std::uint8_t alpha = 255) {
    PngSpec spec;
    spec.width = static_cast<int>(rows[0].size());
    spec.height = static_cast<int>(rows.size());
    spec.colourType = 6; // RGBA
    for (const std::string& row : rows) {
        for (const char letter : row) {
            const std::uint32_t c = colourOf(letter);
            spec.samples.insert(spec.samples.end(),
                                {static_cast<std::uint8_t>(c >> 16U),
                                 static_cast<std::uint8_t>(c >> 8U), static_cast<std::uint8_t>(c),
                                 (c >> 24U) == 0 ? std::uint8_t{0} : alpha});
        }
    }
    const std::vector<std::uint8_t> bytes = writePng(spec);
    return {bytes.begin(), bytes.end()};
}

Picture readBack(Image& image) {
    Picture rows;
    EXPECT_TRUE(image.lock());
    for (int y = 0; y < image.getHeight(); ++y) {
        std::string row;
        for (int x = 0; x < image.getWidth(); ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, image.getPixels() + y * image.getPitch() + x * 4, sizeof pixel);
            row += letterOf(pixel);
        }
        rows.push_back(row);
    }
    image.unlock();
    return rows;
}

// The nine pieces of the sharp frame (section "frame"): corners of
// different sizes, two-pixel edge tiles whose halves differ, a one-pixel
// centre.
const std::vector<std::pair<std::string, Picture>> kSharpPieces{
    {"TL", {"AA", "AA"}},
    {"T", {"bB", "bB"}},
    {"TR", {"CCC", "CCC"}},
    {"L", {"dd", "DD"}},
    {"C", {"e"}},
    {"R", {"fff", "FFF"}},
    {"BL", {"GG", "GG", "GG"}},
    {"B", {"hH", "hH", "hH"}},
    {"BR", {"III", "III", "III"}},
};

// The soft frame (section "soft"): corners with a transparent outer pixel,
// a top edge whose own alpha is not used, no centre piece.
const std::vector<std::pair<std::string, Picture>> kSoftPieces{
    {"TL", {".A", "AA"}}, {"T", {"b", "b"}},    {"TR", {"C.", "CC"}}, {"L", {"dd"}},
    {"R", {"ff"}},        {"BL", {"GG", ".G"}}, {"B", {"h", "h"}},    {"BR", {"II", "I."}},
};

std::string imagesVector(const std::string& names) {
    std::string xml = R"(<Vector id="images">)";
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t comma = std::min(names.find(',', start), names.size());
        xml += R"(<String value=")" + names.substr(start, comma - start) + R"("/>)";
        start = comma + 1;
    }
    return xml + "</Vector>";
}

const std::string kSharpImages = imagesVector("TL,T,TR,L,C,R,BL,B,BR");
const std::string kSoftImages = imagesVector("TL,T,TR,L,,R,BL,B,BR");

class DialogPainterTest : public testing::Test {
protected:
    void SetUp() override {
        std::string resources = R"(<Resources><Vector id="Sections"><Section name="frame">)";
        for (const auto& [name, rows] : kSharpPieces) {
            folder.write("media/" + name + ".png", pngOf(rows));
            resources += R"(<Image id=")" + name + R"(" file="media/)" + name + R"(.png"/>)";
        }
        resources += R"(</Section><Section name="soft">)";
        for (const auto& [name, rows] : kSoftPieces) {
            // The top edge's alpha (64) is not to be used: the frame makes
            // its area opaque instead.
            const bool ownAlpha = name != "T";
            folder.write("media/soft" + name + ".png", pngOf(rows, ownAlpha ? 255 : 64));
            resources += R"(<Image id=")" + name + R"(" file="media/soft)" + name + R"(.png")" +
                         (ownAlpha ? "" : R"( usealphachannel="false")") + "/>";
        }
        resources += R"(</Section><Section name="big">)";
        for (const auto& [name, size] :
             std::vector<std::pair<std::string, int>>{{"CORNER", 20}, {"EDGE", 10}}) {
            folder.write("media/" + name + ".png",
                         pngOf(Picture(static_cast<std::size_t>(size),
                                       std::string(static_cast<std::size_t>(size), 'x'))));
            resources += R"(<Image id=")" + name + R"(" file="media/)" + name + R"(.png"/>)";
        }
        resources += "</Section></Vector></Resources>";
        folder.write("media/properties/resources.xml", resources);

        registerPropertyClasses();
        registerNodeClasses();
        registerResourceClasses();
        registerSceneClasses();
        registerGuiClasses();
        BasicProperties::create();
        ResourceManager* manager = ResourceManager::create();
        manager->addDefinitionFile("media/properties/resources.xml");
        ASSERT_TRUE(manager->loadDefinitions());
        for (const char* section : {"frame", "soft"}) {
            for (const char* name : {"TL", "T", "TR", "L", "R", "BL", "B", "BR"}) {
                ASSERT_NE(manager->getLoadedObject(name, section), nullptr) << name;
            }
        }
        for (const char* name : {"C", "CORNER", "EDGE"}) {
            ASSERT_NE(manager->getLoadedObject(name, name[1] == 0 ? "frame" : "big"), nullptr);
        }
    }
    void TearDown() override {
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        ResourceManager::destroyInstance();
        ObjectFactoryContainer::destroyInstance();
        FileArchive::shutDown();
    }

    // A painter from the definition `xml` (one painter element).
    RefPtr<DialogPainter> painter(const std::string& xml) {
        const RefPtr<PropertyStore> store(new PropertyStore());
        EXPECT_TRUE(store->loadText("<Root>" + xml + "</Root>"));
        PropertyNode* definition = store->getNode("p");
        return RefPtr<DialogPainter>(
            kindCast<DialogPainter>(orv::createFromDefinition(definition)));
    }
    // What `frame` paints on a canvas of `width` x `height` filled with
    // `canvas` beforehand.
    static Picture paintedBy(DialogPainter& frame, int width, int height,
                             std::uint32_t canvas = kCanvas) {
        RefPtr<Image> image = createImage(width, height, kFormatArgb32);
        const RefPtr<Graphics> graphics = createGraphics(*image);
        graphics->setColor(canvas);
        graphics->clear();
        graphics->setChannel(0, static_cast<int>(canvas >> 24U), 0, 0);
        frame.paint(*graphics);
        EXPECT_FALSE(frame.isDirty());
        return readBack(*image);
    }

    test::CurrentFolder folder;
    test::LogCapture log;
};

struct FrameCase {
    int width;
    int height;
    Picture expected;
};

TEST_F(DialogPainterTest, PaintsTheNinePiecesPixelExactAtEverySize) {
    const RefPtr<DialogPainter> frame =
        painter(R"(<DialogPainter id="p" section="frame">)" + kSharpImages + "</DialogPainter>");
    ASSERT_TRUE(frame);
    const std::vector<FrameCase> cases{
        // A size the painter gives: the edges end exactly at the corners.
        {9,
         7,
         {"AAbBbBCCC", "AAbBbBCCC", "ddeeeefff", "DDeeeeFFF", "GGhHhHIII", "GGhHhHIII",
          "GGhHhHIII"}},
        // Sizes it would not give: the last tiles reach under the corners.
        {10,
         8,
         {"AAbBbBbCCC", "AAbBbBbCCC", "ddeeeeefff", "DDeeeeeFFF", "ddeeeeefff", "GGhHhHhIII",
          "GGhHhHhIII", "GGhHhHhIII"}},
        // Smaller than the corners: only corners, overlapping in their order.
        {4, 4, {"ACCC", "GIII", "GIII", "GIII"}},
        {1, 1, {"I"}},
    };
    for (const FrameCase& c : cases) {
        EXPECT_EQ(paintedBy(*frame, c.width, c.height), c.expected) << c.width << " x " << c.height;
    }
}

TEST_F(DialogPainterTest, WritesTheAlphaOfThePiecesAndOfTheCentreColour) {
    const std::string pieces = R"(section="soft" centercolor="0x80000000">)" + kSoftImages;
    // Copied alpha on a canvas made transparent first: the corners' outer
    // pixels stay clear, the inside is black at alpha 128, the top edge
    // (alpha not its own) is opaque.
    const RefPtr<DialogPainter> copied =
        painter(R"(<DialogPainter id="p" initalpha="true" )" + pieces + "</DialogPainter>");
    EXPECT_EQ(paintedBy(*copied, 5, 5), (Picture{".AbC.", "AAbCC", "ddkff", "GGhII", ".GhI."}));

    // By maximum on a canvas of alpha 0x60: the clear pixels keep the
    // canvas's alpha, the inside (below 0x80) takes the centre colour whole.
    const RefPtr<DialogPainter> raised =
        painter(R"(<DialogPainter id="p" usemaxalpha="true" )" + pieces + "</DialogPainter>");
    RefPtr<Image> image = createImage(5, 5, kFormatArgb32);
    const RefPtr<Graphics> graphics = createGraphics(*image);
    graphics->setColor(0x60112233U);
    graphics->clear();
    graphics->setChannel(0, 0x60, 0, 0);
    raised->paint(*graphics);
    ASSERT_TRUE(image->lock());
    const auto pixel = [&](int x, int y) {
        std::uint32_t p = 0;
        std::memcpy(&p, image->getPixels() + y * image->getPitch() + x * 4, sizeof p);
        return p;
    };
    EXPECT_EQ(pixel(0, 0), 0x60000000U);
    EXPECT_EQ(pixel(4, 4), 0x60000000U);
    EXPECT_EQ(pixel(2, 2), kHalfBlack);
    EXPECT_EQ(pixel(1, 0), colourOf('A'));
    EXPECT_EQ(pixel(2, 0), colourOf('b'));
    image->unlock();

    // Without adjust alpha the canvas keeps its alpha everywhere.
    const RefPtr<DialogPainter> blended =
        painter(R"(<DialogPainter id="p" adjustalpha="false" )" + pieces + "</DialogPainter>");
    RefPtr<Image> plain = createImage(5, 5, kFormatArgb32);
    const RefPtr<Graphics> plainGraphics = createGraphics(*plain);
    plainGraphics->setChannel(0, 0x11, 0, 0);
    blended->paint(*plainGraphics);
    ASSERT_TRUE(plain->lock());
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            std::uint32_t p = 0;
            std::memcpy(&p, plain->getPixels() + y * plain->getPitch() + x * 4, sizeof p);
            EXPECT_EQ(p >> 24U, 0x11U) << x << ", " << y;
        }
    }
    plain->unlock();
    // The pieces' own flags are as they were.
    EXPECT_FALSE(blended->getImage(1)->getUseAlphaChannel());
    EXPECT_TRUE(blended->getImage(0)->getUseAlphaChannel());
}

TEST_F(DialogPainterTest, MissingPiecesMeasureNothingAndAreNotDrawn) {
    // The eighth name (the bottom edge) is empty: the centre reaches the
    // bottom, between the bottom corners.
    const RefPtr<DialogPainter> noBottom =
        painter(R"(<DialogPainter id="p" section="frame">)" + imagesVector("TL,T,TR,L,C,R,BL,,BR") +
                "</DialogPainter>");
    EXPECT_EQ(paintedBy(*noBottom, 9, 7),
              (Picture{"AAbBbBCCC", "AAbBbBCCC", "ddeeeefff", "DDeeeeFFF", "GGeeeeIII", "GGeeeeIII",
                       "GGeeeeIII"}));
    EXPECT_EQ(noBottom->getImage(7), nullptr);
    EXPECT_EQ(noBottom->getImage(9), nullptr);
    EXPECT_EQ(noBottom->getImage(-1), nullptr);

    // No pieces at all: any size fits and the centre colour fills it all.
    const RefPtr<DialogPainter> bare =
        painter(R"(<DialogPainter id="p" centercolor="0x80000000"/>)");
    EXPECT_EQ(bare->adjustWidth(37), 37);
    EXPECT_EQ(bare->adjustHeight(1), 1);
    EXPECT_EQ(paintedBy(*bare, 3, 2), (Picture{"kkk", "kkk"}));

    // A name the section lacks is logged and left out.
    const RefPtr<DialogPainter> unknown = painter(R"(<DialogPainter id="p" section="frame">)" +
                                                  imagesVector("NOPE") + "</DialogPainter>");
    EXPECT_EQ(unknown->getImage(0), nullptr);
    EXPECT_TRUE(log.contains("NOPE"));
}

TEST_F(DialogPainterTest, SizesRoundUpToWholeEdgeTiles) {
    // Corners of 20 x 20, edges 10 pixels: fixed 40, tiles of 10.
    const RefPtr<DialogPainter> big = painter(
        R"(<DialogPainter id="p" section="big">)" +
        imagesVector("CORNER,EDGE,CORNER,EDGE,EDGE,EDGE,CORNER,EDGE,CORNER") + "</DialogPainter>");
    const std::vector<std::pair<int, int>> sizes{{95, 100}, {100, 100}, {101, 110},
                                                 {30, 40},  {-5, 40},   {0, 40}};
    for (const auto& [request, size] : sizes) {
        EXPECT_EQ(big->adjustWidth(request), size) << request;
        EXPECT_EQ(big->adjustHeight(request), size) << request;
    }
    // Without corners the side edges are the fixed part, the centre the tile.
    const RefPtr<DialogPainter> sides =
        painter(R"(<DialogPainter id="p" section="big">)" + imagesVector(",,,EDGE,CORNER,EDGE") +
                "</DialogPainter>");
    EXPECT_EQ(sides->adjustWidth(45), 60);
    // No top or bottom edge: nothing fixed, the side edges' rows are the tiles.
    EXPECT_EQ(sides->adjustHeight(45), 50);
}

TEST_F(DialogPainterTest, ADialogTakesThePaintersSizeAndShowsTheFrame) {
    writeFile(folder.path("definitions.xml"),
              R"(<root><Node id="templates"><DialogPainter id="FRAME" section="frame">)" +
                  kSharpImages + R"(</DialogPainter></Node>
<Node id="dialogs"><Dialog id="DIALOG" width="8" height="6" painterid="FRAME"/></Node></root>)");
    getDefinitionStore().addFile(folder.path("definitions.xml"));
    getDefinitionStore().load();
    RefPtr<Dialog> dialog(kindCast<Dialog>(
        orv::createFromDefinition(getDefinitionStore().getDialogs()->getNode("DIALOG"))));
    ASSERT_TRUE(dialog);
    ASSERT_NE(kindCast<DialogPainter>(dialog->getPainter()), nullptr);
    EXPECT_EQ(dialog->getWidth(), 9);
    EXPECT_EQ(dialog->getHeight(), 7);
    dialog->setWidth(10); // rounds up to the next whole tile
    EXPECT_EQ(dialog->getWidth(), 11);
    dialog->setWidth(9);

    dialog->refreshBuffer();
    ASSERT_NE(dialog->getBackground(), nullptr);
    EXPECT_EQ(readBack(*dialog->getBackground()),
              (Picture{"AAbBbBCCC", "AAbBbBCCC", "ddeeeefff", "DDeeeeFFF", "GGhHhHIII", "GGhHhHIII",
                       "GGhHhHIII"}));
    EXPECT_FALSE(dialog->getPainter()->isDirty());
}

} // namespace
} // namespace orv
