// Runs media_tool into temporary folders and checks what it makes: the same
// bytes on every run, font definitions whose glyph table fits their layer
// pictures, a resources.xml whose every file exists where its mode says, and
// property files that define what the engine reads at start-up.

#include "engine/properties/GameConstants.h"
#include "engine/resources/Descrambler.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tinyxml.h>
#include <unzip.h>
#include <vector>

namespace orv {
namespace {

namespace fs = std::filesystem;

// How a run of the tool gets its pictures and sounds: drawn afresh, or copied
// from what the build's own run made from the same sources (read only).
enum class Made { Fresh, FromTheBuild };

// Runs the tool on `source` with its output in `folder`; true when it exits
// with 0. The tool's complaints are shown unless a failure is expected.
bool runTool(const fs::path& folder, const fs::path& source = ORVANTA_MEDIA_SOURCE,
             bool quiet = false, Made made = Made::FromTheBuild) {
    std::string command = std::string("\"") + ORVANTA_MEDIA_TOOL + "\" --source \"" +
                          source.string() + "\" --fonts \"" + ORVANTA_MEDIA_FONTS +
                          "\" --output \"" + folder.string() + "\" --sheet \"" +
                          (folder / "sheet.png").string() + "\"";
    if (made == Made::FromTheBuild) {
        command += std::string(" --reuse \"") + ORVANTA_MEDIA_MADE_CACHE + "\"";
    }
    command += quiet ? " 2>/dev/null" : "";
    return std::system(command.c_str()) == 0;
}

// A copy of the hand-written property files and layouts in `folder`/media.
void copySources(const fs::path& folder) {
    fs::create_directories(folder / "media");
    for (const char* part : {"properties", "layouts"}) {
        fs::copy(fs::path(ORVANTA_MEDIA_SOURCE) / part, folder / "media" / part,
                 fs::copy_options::recursive);
    }
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Every file under `folder`, by its path relative to it, with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).generic_string()] =
                test::readFile(entry.path());
        }
    }
    return files;
}

struct PngHeader {
    bool valid = false;
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colorType = 0;
};

PngHeader readPngHeader(const std::string& bytes) {
    static const std::string signature = "\x89PNG\r\n\x1a\n";
    PngHeader header;
    if (bytes.size() < 33 || bytes.compare(0, 8, signature) != 0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
        return header;
    }
    const auto be32 = [&bytes](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
        }
        return static_cast<int>(v);
    };
    header.valid = true;
    header.width = be32(16);
    header.height = be32(20);
    header.bitDepth = static_cast<unsigned char>(bytes[24]);
    header.colorType = static_cast<unsigned char>(bytes[25]);
    return header;
}

const TiXmlElement* childById(const TiXmlElement* parent, const std::string& id) {
    for (const TiXmlElement* e = parent->FirstChildElement(); e != nullptr;
         e = e->NextSiblingElement()) {
        if (e->Attribute("id") != nullptr && id == e->Attribute("id")) {
            return e;
        }
    }
    return nullptr;
}

int intAttribute(const TiXmlElement* element, const char* name) {
    const char* text = element->Attribute(name);
    if (text == nullptr) {
        return 0;
    }
    if (text[0] == '#') {
        return static_cast<int>(std::strtol(text + 1, nullptr, 16));
    }
    return static_cast<int>(std::strtol(text, nullptr, 10));
}

// The bytes of an archive entry, or nothing when the entry is missing.
std::optional<std::string> archiveEntry(const fs::path& archive, const std::string& name) {
    unzFile zip = unzOpen(archive.string().c_str());
    if (zip == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> result;
    unz_file_info info{};
    if (unzLocateFile(zip, name.c_str(), 1) == UNZ_OK &&
        unzGetCurrentFileInfo(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK &&
        unzOpenCurrentFile(zip) == UNZ_OK) {
        std::string bytes(info.uncompressed_size, '\0');
        if (unzReadCurrentFile(zip, bytes.data(), static_cast<unsigned>(bytes.size())) ==
            static_cast<int>(bytes.size())) {
            result = bytes;
        }
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return result;
}

// Checks every object of the output's resources.xml: its file lies loose
// under the name its mode gives ("<name>.!" when scrambled, and then never in
// the open), in media.dat exactly when the mode reads the archive, with the
// same bytes, and its content is of its kind once descrambled. Returns the
// section names.
std::set<std::string> expectStoredAsModesSay(const fs::path& out,
                                             const std::map<std::string, std::string>& files) {
    std::set<std::string> names;
    TiXmlDocument document;
    const auto list = files.find("media/properties/resources.xml");
    EXPECT_NE(list, files.end());
    if (list == files.end()) {
        return names;
    }
    document.Parse(list->second.c_str());
    const TiXmlElement* sections =
        document.RootElement() != nullptr ? childById(document.RootElement(), "Sections") : nullptr;
    EXPECT_NE(sections, nullptr);
    if (sections == nullptr) {
        return names;
    }
    for (const TiXmlElement* section = sections->FirstChildElement(); section != nullptr;
         section = section->NextSiblingElement()) {
        names.insert(section->Attribute("name") != nullptr ? section->Attribute("name") : "");
        for (const TiXmlElement* object = section->FirstChildElement(); object != nullptr;
             object = object->NextSiblingElement()) {
            // A picture that is a mask alone names its file as its mask.
            const char* file = object->Attribute("file") != nullptr ? object->Attribute("file")
                                                                    : object->Attribute("mask");
            EXPECT_NE(file, nullptr) << object->Value();
            if (file == nullptr) {
                continue;
            }
            const std::string type = object->Value();
            const std::string mode =
                object->Attribute("archive") != nullptr ? object->Attribute("archive") : "";
            SCOPED_TRACE(file);
            const bool scrambled = mode == "encryptfile" || mode == "encryptzip";
            const bool inArchive = type != "Stream" && mode != "file" && mode != "encryptfile";
            const std::string stored = std::string(file) + (scrambled ? ".!" : "");
            const auto loose = files.find(stored);
            EXPECT_NE(loose, files.end()) << "no loose file";
            if (loose == files.end()) {
                continue;
            }
            std::string content = loose->second;
            const std::optional<std::string> entry = archiveEntry(out / "media.dat", stored);
            EXPECT_EQ(entry.has_value(), inArchive);
            if (entry) {
                EXPECT_TRUE(*entry == loose->second) << "archive entry differs from loose file";
            }
            if (scrambled) {
                descramble(reinterpret_cast<std::uint8_t*>(content.data()), content.size());
                EXPECT_EQ(files.count(file), 0U) << "a scrambled file also lies in the open";
                EXPECT_FALSE(archiveEntry(out / "media.dat", file).has_value());
            }
            if (type == "Image") {
                const PngHeader png = readPngHeader(content);
                const bool jpeg = content.rfind("\xFF\xD8\xFF", 0) == 0;
                EXPECT_TRUE(jpeg ||
                            (png.valid && png.bitDepth == 8 &&
                             (png.colorType == 0 || png.colorType == 2 || png.colorType == 6)));
            } else if (type == "Sound") {
                EXPECT_EQ(content.rfind("RIFF", 0), 0U);
                EXPECT_EQ(content.compare(8, 4, "WAVE"), 0);
            } else if (type == "Stream") {
                EXPECT_EQ(content.rfind("OggS", 0), 0U);
            } else if (type == "Font") {
                TiXmlDocument font;
                font.Parse(content.c_str());
                EXPECT_FALSE(font.Error());
                // The layer pictures are stored in the font's mode too.
                const std::string folder = stored.substr(0, stored.rfind('/') + 1);
                const TiXmlElement* layers = font.RootElement() != nullptr
                                                 ? childById(font.RootElement(), "layers")
                                                 : nullptr;
                for (const TiXmlElement* layer = layers != nullptr ? layers->FirstChildElement()
                                                                   : nullptr;
                     layer != nullptr; layer = layer->NextSiblingElement()) {
                    const std::string mask =
                        folder + layer->Attribute("mask") + (scrambled ? ".!" : "");
                    EXPECT_EQ(files.count(mask), 1U) << mask;
                    EXPECT_EQ(archiveEntry(out / "media.dat", mask).has_value(), inArchive) << mask;
                }
            }
        }
    }
    return names;
}

// The media made once for the whole suite, in a folder of its own, from what
// the build's run drew: drawing them takes the sanitized tool most of a
// minute, and no case changes what it made.
class MediaToolTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        made_.emplace();
        madeOk_ = runTool(made_->path());
        madeFiles_ = snapshot(made_->path());
    }
    static void TearDownTestSuite() {
        madeFiles_.clear();
        made_.reset();
    }
    void SetUp() override { ASSERT_TRUE(madeOk_) << "the tool failed"; }

    [[nodiscard]] bool parse(const std::string& path, TiXmlDocument& document) const {
        const auto it = files_.find(path);
        if (it == files_.end()) {
            return false;
        }
        document.Parse(it->second.c_str());
        return !document.Error() && document.RootElement() != nullptr;
    }

    static inline std::optional<test::TempDir> made_;
    static inline bool madeOk_ = false;
    static inline std::map<std::string, std::string> madeFiles_;
    const test::TempDir& out_ = *made_;
    const std::map<std::string, std::string>& files_ = madeFiles_;
};

TEST_F(MediaToolTest, SecondRunMakesTheSameBytes) {
    test::TempDir second;
    // Drawn afresh: the suite's own media were copied from the build's run.
    ASSERT_TRUE(runTool(second.path(), ORVANTA_MEDIA_SOURCE, false, Made::Fresh));
    const auto again = snapshot(second.path());
    ASSERT_EQ(files_.size(), again.size());
    for (const auto& [path, bytes] : files_) {
        const auto it = again.find(path);
        ASSERT_NE(it, again.end()) << path;
        EXPECT_TRUE(it->second == bytes) << path << " differs between runs";
    }
    EXPECT_TRUE(files_.count("media.dat") == 1 && files_.count("sheet.png") == 1);
}

TEST_F(MediaToolTest, FontGlyphsFitTheirLayerPictures) {
    int fonts = 0;
    bool anyKerning = false;
    for (const auto& [path, bytes] : files_) {
        if (path.rfind("media/fonts/", 0) != 0 || path.size() < 4 ||
            path.compare(path.size() - 4, 4, ".xml") != 0) {
            continue;
        }
        ++fonts;
        SCOPED_TRACE(path);
        TiXmlDocument document;
        ASSERT_TRUE(parse(path, document));
        const TiXmlElement* font = childById(document.RootElement(), "font");
        const TiXmlElement* layers = childById(document.RootElement(), "layers");
        ASSERT_TRUE(font != nullptr && layers != nullptr);
        EXPECT_GT(intAttribute(font, "lineheight"), 0);
        EXPECT_GT(intAttribute(font, "baseline"), 0);
        EXPECT_GT(intAttribute(font, "spacewidth"), 0);
        const TiXmlElement* chars = childById(font, "chars");
        ASSERT_NE(chars, nullptr);
        std::set<int> codes;
        std::vector<const TiXmlElement*> glyphs;
        for (const TiXmlElement* c = chars->FirstChildElement(); c != nullptr;
             c = c->NextSiblingElement()) {
            glyphs.push_back(c);
            codes.insert(intAttribute(c, "c"));
        }
        for (const int needed : {0x41, 0x7A, 0x30, 0x3F, 0xE9, 0x2026, 0x20AC}) {
            EXPECT_EQ(codes.count(needed), 1U) << "character " << needed;
        }
        // Kerning groups start each first character with #0.
        if (const TiXmlElement* kerning = childById(font, "kerning")) {
            for (const TiXmlElement* k = kerning->FirstChildElement(); k != nullptr;
                 k = k->NextSiblingElement()) {
                const std::string pairs =
                    k->Attribute("chars") != nullptr ? k->Attribute("chars") : "";
                EXPECT_EQ(pairs.rfind("#0#", 0), 0U) << pairs;
                EXPECT_NE(intAttribute(k, "width"), 0);
                anyKerning = true;
            }
        }
        // Glyph i of a layer with padding p lies at sx + 2 p i in its pictures.
        const std::string folder = path.substr(0, path.rfind('/') + 1);
        int layerCount = 0;
        for (const TiXmlElement* layer = layers->FirstChildElement(); layer != nullptr;
             layer = layer->NextSiblingElement(), ++layerCount) {
            const int padding = intAttribute(layer, "padding");
            ASSERT_NE(layer->Attribute("mask"), nullptr);
            std::vector<std::string> pictures{folder + layer->Attribute("mask")};
            if (layer->Attribute("image") != nullptr) {
                pictures.push_back(folder + layer->Attribute("image"));
            }
            for (const std::string& picture : pictures) {
                const auto found = files_.find(picture);
                ASSERT_NE(found, files_.end()) << picture;
                const PngHeader png = readPngHeader(found->second);
                ASSERT_TRUE(png.valid) << picture;
                EXPECT_EQ(png.bitDepth, 8);
                for (std::size_t i = 0; i < glyphs.size(); ++i) {
                    const int right = intAttribute(glyphs[i], "sx") +
                                      2 * padding * static_cast<int>(i) +
                                      intAttribute(glyphs[i], "sw") + 2 * padding;
                    const int bottom =
                        intAttribute(glyphs[i], "sy") + intAttribute(glyphs[i], "sh") + 2 * padding;
                    ASSERT_LE(right, png.width) << picture << " glyph " << i;
                    ASSERT_LE(bottom, png.height) << picture << " glyph " << i;
                }
            }
        }
        EXPECT_GE(layerCount, 2) << "a fill layer and a shadow or outline layer";
    }
    EXPECT_GE(fonts, 2);
    EXPECT_TRUE(anyKerning);
}

TEST_F(MediaToolTest, EveryResourceIsStoredAsItsModeSays) {
    const std::set<std::string> names = expectStoredAsModesSay(out_.path(), files_);
    for (const char* needed :
         {"splash", "music", "common", "preloading", "default", "lobby", "trophy", "game"}) {
        EXPECT_EQ(names.count(needed), 1U) << needed;
    }
}

TEST(MediaToolInputs, ScrambledResourcesAreStoredUnderTheirScrambledNames) {
    test::TempDir folder;
    copySources(folder.path());
    const fs::path list = folder.path() / "media" / "properties" / "resources.xml";
    std::string text = test::readFile(list);
    const std::string sound = "file=\"media/sounds/tile_blocked.wav\"";
    const std::string font = "file=\"media/fonts/small.xml\"";
    ASSERT_NE(text.find(sound), std::string::npos);
    ASSERT_NE(text.find(font), std::string::npos);
    text = replaced(text, sound, sound + " archive=\"encryptzip\"");
    text = replaced(text, font, font + " archive=\"encryptfile\"");
    test::writeFile(list, text);
    const fs::path out = folder.path() / "out";
    ASSERT_TRUE(runTool(out, folder.path() / "media"));
    const auto files = snapshot(out);
    ASSERT_EQ(files.count("media/sounds/tile_blocked.wav.!"), 1U);
    ASSERT_EQ(files.count("media/fonts/small.xml.!"), 1U);
    expectStoredAsModesSay(out, files);
}

// Broken sources stop the tool before it writes anything: a build must not
// go on with media that do not match resources.xml.
TEST(MediaToolInputs, BrokenResourceListsStopTheTool) {
    struct Case {
        const char* what;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"a named file that is not made", "media/images/icon.png", "media/images/nothing.png"},
        {"a capital in a file name", "media/images/icon.png", "media/images/Icon.png"},
        {"no Sections vector", "id=\"Sections\"", "id=\"Parts\""},
        {"XML that does not parse", "</Resources>", "</Resource>"},
        {"a scrambled image", "file=\"media/images/icon.png\"",
         "file=\"media/images/icon.png\" archive=\"encryptzip\""},
        {"one file in two modes", "file=\"media/sounds/button.wav\"",
         "file=\"media/sounds/button.wav\" archive=\"encryptzip\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir folder;
        copySources(folder.path());
        const fs::path list = folder.path() / "media" / "properties" / "resources.xml";
        const std::string original = test::readFile(list);
        const std::string broken = replaced(original, c.from, c.to);
        ASSERT_NE(broken, original);
        test::writeFile(list, broken);
        const fs::path out = folder.path() / "out";
        EXPECT_FALSE(runTool(out, folder.path() / "media", true));
        EXPECT_FALSE(fs::exists(out / "media.dat"));
        EXPECT_FALSE(fs::exists(out / "media"));
    }
}

TEST(MediaToolInputs, RefusesToReplaceItsOwnSources) {
    test::TempDir folder;
    copySources(folder.path());
    EXPECT_FALSE(runTool(folder.path(), folder.path() / "media", true));
    EXPECT_TRUE(fs::exists(folder.path() / "media" / "properties" / "resources.xml"));
}

TEST_F(MediaToolTest, StartUpFilesDefineWhatTheEngineReads) {
    // Every top-level setting of the six start-up documents, by table and id.
    std::map<std::string, std::map<std::string, std::string>> settings;
    std::map<std::string, bool> commented;
    for (const char* name :
         {"dialogs", "default", "dynamic", "commontext", "text", "mahjong", "trophyroom"}) {
        const std::string path = std::string("media/properties/") + name + ".xml";
        TiXmlDocument document;
        ASSERT_TRUE(parse(path, document)) << path;
        // Top-level children are stored by id: a second one of the same id
        // would silently replace the first, whatever its type.
        std::set<std::string> ids;
        for (const TiXmlElement* e = document.RootElement()->FirstChildElement(); e != nullptr;
             e = e->NextSiblingElement()) {
            if (e->Attribute("id") == nullptr) {
                continue;
            }
            EXPECT_TRUE(ids.insert(e->Attribute("id")).second)
                << path << " defines " << e->Attribute("id") << " twice";
            const char* value = e->Attribute("value");
            settings[e->Value()][e->Attribute("id")] = value != nullptr ? value : "";
            const TiXmlNode* next = e->NextSibling();
            commented[e->Attribute("id")] = next != nullptr && next->ToComment() != nullptr;
        }
    }
    EXPECT_FALSE(settings["String"]["GAME_NAME"].empty());
    EXPECT_FALSE(settings["String"]["GAME_ID"].empty());
    EXPECT_FALSE(settings["Text"]["CTEXT_QUESTION_QUIT"].empty());
    EXPECT_FALSE(settings["Text"]["CTEXT_QUIT_HEADER"].empty());
    for (const std::string_view constant : GameConstants::getNames()) {
        const std::string name(constant);
        const auto it = settings["Integer"].find(name);
        ASSERT_NE(it, settings["Integer"].end()) << name;
        EXPECT_FALSE(it->second.empty()) << name;
        EXPECT_TRUE(commented[name]) << name << " has no comment saying what it sets";
    }

    // Texts that the definitions name exist, and so do the resources they use.
    TiXmlDocument dialogs;
    ASSERT_TRUE(parse("media/properties/dialogs.xml", dialogs));
    TiXmlDocument resources;
    ASSERT_TRUE(parse("media/properties/resources.xml", resources));
    std::set<std::string> resourceKeys; // "section/ID"
    const TiXmlElement* sections = childById(resources.RootElement(), "Sections");
    ASSERT_NE(sections, nullptr);
    for (const TiXmlElement* s = sections->FirstChildElement(); s != nullptr;
         s = s->NextSiblingElement()) {
        for (const TiXmlElement* o = s->FirstChildElement(); o != nullptr;
             o = o->NextSiblingElement()) {
            resourceKeys.insert(std::string(s->Attribute("name")) + "/" + o->Attribute("id"));
        }
    }
    std::vector<const TiXmlElement*> pending{dialogs.RootElement()};
    while (!pending.empty()) {
        const TiXmlElement* e = pending.back();
        pending.pop_back();
        for (const char* key : {"textid", "tooltip"}) {
            if (e->Attribute(key) != nullptr) {
                EXPECT_EQ(settings["Text"].count(e->Attribute(key)), 1U) << e->Attribute(key);
            }
        }
        const std::string section =
            e->Attribute("section") != nullptr ? e->Attribute("section") : "";
        for (const char* key : {"image", "font"}) {
            if (e->Attribute(key) != nullptr) {
                EXPECT_EQ(resourceKeys.count(section + "/" + e->Attribute(key)), 1U)
                    << e->Attribute(key);
            }
        }
        const std::string sounds =
            e->Attribute("soundsection") != nullptr ? e->Attribute("soundsection") : "";
        for (const char* key : {"clicksound", "oversound", "disabledsound"}) {
            if (e->Attribute(key) != nullptr) {
                EXPECT_EQ(resourceKeys.count(sounds + "/" + e->Attribute(key)), 1U)
                    << e->Attribute(key);
            }
        }
        if (std::string(e->Value()) == "String" && e->Parent()->ToElement() != nullptr &&
            e->Parent()->ToElement()->Attribute("id") != nullptr &&
            std::string(e->Parent()->ToElement()->Attribute("id")) == "images") {
            const TiXmlElement* painter = e->Parent()->Parent()->ToElement();
            EXPECT_EQ(resourceKeys.count(std::string(painter->Attribute("section")) + "/" +
                                         e->Attribute("value")),
                      1U)
                << e->Attribute("value");
        }
        for (const TiXmlElement* c = e->FirstChildElement(); c != nullptr;
             c = c->NextSiblingElement()) {
            pending.push_back(c);
        }
    }
}

} // namespace
} // namespace orv
