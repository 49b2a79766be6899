// Loads the built media the way the game does, through the engine's archive,
// property files and resource manager, in both layouts of the program folder:
// media.dat (with only the files it never holds lying beside it), and the
// loose media/ tree without media.dat. Every resource named in resources.xml
// must exist and decode, every property file must parse, and every text and
// resource the property files name must be defined. Failures name the
// resource or the file and the place in it.

#include "engine/core/Log.h"
#include "engine/core/NodeClasses.h"
#include "engine/core/RefPtr.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/gui/GuiClasses.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyClasses.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/FileNames.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceClasses.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/ResourceObject.h"
#include "engine/resources/Sound.h"
#include "engine/resources/SoundClasses.h"
#include "engine/resources/SoundStream.h"
#include "engine/resources/StreamResource.h"
#include "engine/scene/SceneClasses.h"
#include "engine/system/Platform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orv {
namespace {

namespace fs = std::filesystem;

// The property files start-up reads, in its order.
constexpr std::array<std::string_view, 9> kStartUpFiles{
    "media/properties/dialogs.xml", "media/properties/default.xml",
    "media/properties/dynamic.xml", "media/properties/commontext.xml",
    "media/properties/text.xml",    "media/properties/mahjong.xml",
    "media/properties/places.xml",  "media/properties/trophyroom.xml",
    "media/properties/tutorial.xml"};
constexpr std::string_view kResourceFile = "media/properties/resources.xml";
constexpr std::string_view kPropertyFolder = "media/properties/";

// How the program folder is laid out.
enum class Layout {
    Archive, ///< media.dat, and beside it only the files it never holds
    Loose,   ///< the loose media/ tree, no media.dat
};

// Names the layout in test names and failure messages.
void PrintTo(Layout layout, std::ostream* out) {
    *out << (layout == Layout::Archive ? "media.dat" : "loose files");
}

// A sound output that takes every sound and plays nothing, so that sounds are
// read and decoded as with a working device (a disabled output reads none).
class DecodingOutput : public SoundOutput {
public:
    DecodingOutput() { setSoundOutput(this); }
    DecodingOutput(const DecodingOutput&) = delete;
    DecodingOutput& operator=(const DecodingOutput&) = delete;
    ~DecodingOutput() override { setSoundOutput(nullptr); }

    bool open() override { return true; }
    void close() override {}
    [[nodiscard]] bool isEnabled() const override { return true; }
    platform::AudioChannel play(const platform::AudioSamplePtr& /*sample*/, std::uint8_t /*volume*/,
                                std::uint8_t /*pan*/, bool /*looped*/) override {
        return platform::kNoAudioChannel;
    }
    bool stop(platform::AudioChannel /*channel*/) override { return false; }
    bool setPan(platform::AudioChannel /*channel*/, std::uint8_t /*pan*/) override { return false; }
    void stopSample(const platform::AudioSample& /*sample*/) override {}
    void setMasterVolume(std::uint8_t /*volume*/) override {}
    platform::AudioStream openStream(const std::string& /*path*/, bool /*looped*/) override {
        return platform::kNoAudioStream;
    }
    void closeStream(platform::AudioStream /*stream*/) override {}
    bool playStream(platform::AudioStream /*stream*/) override { return false; }
    bool stopStream(platform::AudioStream /*stream*/) override { return false; }
    bool setStreamPosition(platform::AudioStream /*stream*/, std::uint32_t /*position*/) override {
        return false;
    }
    std::optional<std::uint32_t> getStreamPosition(platform::AudioStream /*stream*/) override {
        return std::nullopt;
    }
    bool addStreamSyncPoint(platform::AudioStream /*stream*/, std::uint32_t /*position*/) override {
        return false;
    }
    bool setStreamVolume(platform::AudioStream /*stream*/, std::uint8_t /*volume*/) override {
        return false;
    }
};

// Collects the diagnostics of every thread (the resource loader logs on its
// own) while it lives.
class ThreadSafeLog {
public:
    ThreadSafeLog()
        : previous_(setLogSink([this](LogLevel /*level*/, std::string_view line) {
              const std::lock_guard<std::mutex> lock(mutex_);
              lines_.emplace_back(line);
          })) {}
    ThreadSafeLog(const ThreadSafeLog&) = delete;
    ThreadSafeLog& operator=(const ThreadSafeLog&) = delete;
    ~ThreadSafeLog() { setLogSink(previous_); }

    [[nodiscard]] std::vector<std::string> lines() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
    LogSink previous_;
};

std::string describe(const std::string& section, const std::string& id,
                     const ResourceObject& object) {
    return "resource " + id + " of section \"" + section + "\" (file " + object.getFileKey() + ")";
}

// The program folder in a temporary folder, laid out as `layout` says, and
// the engine started on it as the game starts: archive, start-up property
// files, resource definitions.
class MediaDataTest : public ::testing::TestWithParam<Layout> {
protected:
    void SetUp() override {
        const fs::path app(ORVANTA_MEDIA_APP_DIR);
        ASSERT_TRUE(fs::exists(app / "media.dat")) << "the media target has not run: " << app;
        if (GetParam() == Layout::Archive) {
            fs::copy_file(app / "media.dat", folder_.path() / "media.dat");
        } else {
            fs::copy(app / "media", folder_.path() / "media", fs::copy_options::recursive);
        }
        previousFolder_ = fs::current_path();
        fs::current_path(folder_.path());

        registerPropertyClasses();
        registerNodeClasses();
        registerResourceClasses();
        registerSoundClasses();
        registerSceneClasses();
        registerGuiClasses();

        FileArchive::setUp(ArchiveMode::File, "");
        if (GetParam() == Layout::Archive) {
            ASSERT_EQ(FileArchive::getGlobalMode(), ArchiveMode::Zip) << "media.dat did not open";
        } else {
            ASSERT_EQ(FileArchive::getGlobalMode(), ArchiveMode::File);
        }

        BasicProperties::create();
        DefinitionStore& store = getDefinitionStore();
        store.setConstantsHook(new GameConstants());
        for (const std::string_view file : kStartUpFiles) {
            store.addFile(file);
        }
        store.load();

        resources_ = ResourceManager::create();
        resources_->addDefinitionFile(kResourceFile);
        ASSERT_TRUE(resources_->loadDefinitions()) << kResourceFile << " cannot be read";

        RefPtr<PropertyStore> list(new PropertyStore());
        ASSERT_TRUE(list->load(kResourceFile));
        PropertyVector* sections = asVector(list->getChild("Sections"));
        for (const RefPtr<AbstractProperty>& section : sections->getElements()) {
            sectionNames_.push_back(asNode(section.get())->getValue("name")->getString());
        }
        ASSERT_FALSE(sectionNames_.empty()) << kResourceFile << " has no sections";
        if (GetParam() == Layout::Archive) {
            copyLooseOnlyFiles(app);
        }
    }

    void TearDown() override {
        ResourceManager::destroyInstance();
        destroyDefinitionStore();
        BasicProperties::destroyInstance();
        FileArchive::shutDown();
        std::error_code ignored;
        fs::current_path(previousFolder_, ignored);
    }

    // Beside media.dat the game needs only what the archive never holds: the
    // music streams and the files whose mode is "file" or "encryptfile".
    void copyLooseOnlyFiles(const fs::path& app) {
        const platform::NamedMutexGuard guard(resources_->getDataLock());
        for (const std::string& name : sectionNames_) {
            ResourceSection* section = resources_->findSection(name);
            ASSERT_NE(section, nullptr) << name;
            for (const auto& [id, object] : section->getObjects()) {
                const ArchiveMode mode = object->getMode();
                if (kindCast<StreamResource>(object.get()) == nullptr &&
                    mode != ArchiveMode::File && mode != ArchiveMode::EncryptFile) {
                    continue;
                }
                const std::string stored = makeFileName(mode, object->getFileKey());
                ASSERT_TRUE(fs::exists(app / stored))
                    << describe(name, id, *object) << ": the loose file " << stored
                    << " is missing from " << app;
                fs::create_directories((folder_.path() / stored).parent_path());
                fs::copy_file(app / stored, folder_.path() / stored,
                              fs::copy_options::overwrite_existing);
            }
        }
    }

    // Every property file of the program folder: the entries of media.dat
    // under media/properties/, or the loose files there.
    [[nodiscard]] std::vector<std::string> propertyFiles() const {
        std::set<std::string> names;
        if (GetParam() == Layout::Archive) {
            RefPtr<FileArchive> archive(new FileArchive("media.dat"));
            for (bool more = archive->goToFirstEntry(); more; more = archive->goToNextEntry()) {
                const std::string& name = archive->getEntryInfo().name;
                if (name.starts_with(kPropertyFolder) && name.ends_with(".xml")) {
                    names.insert(name);
                }
            }
        } else {
            for (const auto& entry : fs::directory_iterator(folder_.path() / kPropertyFolder)) {
                if (entry.path().extension() == ".xml") {
                    names.insert(std::string(kPropertyFolder) + entry.path().filename().string());
                }
            }
        }
        return {names.begin(), names.end()};
    }

    test::TempDir folder_;
    fs::path previousFolder_;
    DecodingOutput output_;
    ResourceManager* resources_ = nullptr;
    std::vector<std::string> sectionNames_;
};

// The checks of one loaded resource by kind; an empty text when it is sound.
std::string checkImage(std::string_view id, Image& image) {
    if (image.getWidth() <= 0 || image.getHeight() <= 0) {
        return "the image is empty";
    }
    // The hallway reads a door's mask as one byte per pixel, whatever the
    // display's depth: it must load as a mask alone (held deflated until the
    // hallway locks it).
    if (id.starts_with("HUEMASK")) {
        if (image.getFormat() != kFormatAlpha) {
            return "a door mask must load as a mask alone (one byte per pixel)";
        }
        const bool locked = image.lock();
        const bool whole = locked && image.getAlpha() != nullptr && image.getPixels() == nullptr;
        if (locked) {
            image.unlock();
        }
        if (!whole) {
            return "a door mask must read back as one byte per pixel";
        }
    }
    return "";
}

std::string checkFont(const BitmapFont& font) {
    if (font.getLayers().empty()) {
        return "the font has no layers";
    }
    for (const RefPtr<FontLayer>& layer : font.getLayers()) {
        if (layer->getImage() == nullptr) {
            return "a layer of the font has no picture";
        }
    }
    // Every font carries printable ASCII.
    for (wchar_t c = L'!'; c <= L'~'; ++c) {
        if (!font.hasGlyph(c)) {
            return std::string("the font has no glyph for '") + static_cast<char>(c) + "'";
        }
    }
    return "";
}

std::string checkSound(const Sound& sound) {
    return sound.getSample() != nullptr && sound.getDurationMs() > 0 ? ""
                                                                     : "the sound did not decode";
}

std::string checkStream(const SoundStream& stream) {
    if (stream.getFileName().empty()) {
        return "the music file is missing";
    }
    const std::unique_ptr<platform::AudioStreamSource> source =
        platform::openOggStreamSource(stream.getFileName());
    if (!source || source->getSourceLength() == 0) {
        return "the music does not open as an Ogg Vorbis stream";
    }
    std::vector<std::int16_t> frames(2 * 4096);
    return source->read(frames) > 0 ? "" : "the music does not decode";
}

TEST_P(MediaDataTest, EveryResourceExistsAndDecodes) {
    ThreadSafeLog log;
    resources_->setStarted(true);
    for (const std::string& name : sectionNames_) {
        resources_->requestSection(name);
    }
    ASSERT_TRUE(resources_->waitForRequests(std::chrono::seconds(120)));
    ASSERT_TRUE(resources_->waitUntilIdle(std::chrono::seconds(10)));

    const platform::NamedMutexGuard guard(resources_->getDataLock());
    int checked = 0;
    for (const std::string& name : sectionNames_) {
        ResourceSection* section = resources_->findSection(name);
        ASSERT_NE(section, nullptr) << "section \"" << name << "\"";
        for (const auto& [id, object] : section->getObjects()) {
            const std::string what = describe(name, id, *object);
            ++checked;
            if (!object->isLoaded() || object->hasError()) {
                ADD_FAILURE() << what << " did not load";
                continue;
            }
            BaseObject* held = object->getHeldObject();
            std::string problem = "it holds nothing of its kind";
            if (auto* image = kindCast<Image>(held)) {
                problem = checkImage(id, *image);
            } else if (const auto* font = kindCast<BitmapFont>(held)) {
                problem = checkFont(*font);
            } else if (const auto* sound = kindCast<Sound>(held)) {
                problem = checkSound(*sound);
            } else if (const auto* stream = kindCast<SoundStream>(held)) {
                problem = checkStream(*stream);
            }
            EXPECT_TRUE(problem.empty()) << what << ": " << problem;
        }
    }
    EXPECT_GT(checked, 0);
    for (const std::string& line : log.lines()) {
        ADD_FAILURE() << "loading the media logged: " << line;
    }
}

TEST_P(MediaDataTest, EveryPropertyFileParses) {
    const std::vector<std::string> files = propertyFiles();
    for (const std::string_view needed : kStartUpFiles) {
        EXPECT_NE(std::find(files.begin(), files.end(), needed), files.end())
            << needed << " is not in the program folder";
    }
    EXPECT_NE(std::find(files.begin(), files.end(), kResourceFile), files.end());
    for (const std::string& file : files) {
        RefPtr<PropertyStore> document(new PropertyStore());
        EXPECT_TRUE(document->load(file)) << file << " does not parse";
    }
    // The start-up files reached the settings.
    EXPECT_FALSE(getGameName().empty()) << "GAME_NAME is not defined";
    EXPECT_FALSE(getGameId().empty()) << "GAME_ID is not defined";
}

// Walks a property file's tree and checks what it names: texts (keys
// "textid" and "tooltip", and any value that reads as a text identifier) and
// resources (keys "image", "font", "background", "scenebackground" and
// "hitmask" with "section"; sounds with "soundsection").
class ReferenceChecker {
public:
    ReferenceChecker(std::string file, ResourceManager& resources)
        : file_(std::move(file)), resources_(resources) {}

    void walk(AbstractProperty* property, const std::string& where) {
        if (property == nullptr) {
            return;
        }
        if (property->isVector()) {
            const auto elements = asVector(property)->getElements();
            for (std::size_t i = 0; i < elements.size(); ++i) {
                walk(elements[i].get(), where + "[" + std::to_string(i) + "]");
            }
            return;
        }
        if (!property->isNode()) {
            return;
        }
        PropertyNode* node = asNode(property);
        for (const PropertyNode::NamedChild& child : node->getChildren()) {
            const std::string place = where.empty() ? child.name : where + "/" + child.name;
            if (child.property->isValue()) {
                checkValue(*node, child.name, asValue(child.property.get())->getString(), place);
            } else {
                walk(child.property.get(), place);
            }
        }
    }

private:
    static bool looksLikeTextId(const std::string& value) {
        return value.starts_with("TEXT_") || value.starts_with("CTEXT_");
    }

    void checkValue(PropertyNode& node, const std::string& key, const std::string& value,
                    const std::string& place) {
        const auto& texts = BasicProperties::get()->getTextTable();
        const bool textKey = key == "textid" || key == "tooltip";
        // A component's name ("TEXT_STREEP", the host's bubble) is no text id.
        if ((textKey && !value.empty()) ||
            (key != "value" && key != "name" && looksLikeTextId(value))) {
            EXPECT_EQ(texts.count(value), 1U) << file_ << ": " << place << " names the text "
                                              << value << ", which no property file defines";
        }
        static const std::set<std::string, std::less<>> imageKeys{"image", "font", "background",
                                                                  "scenebackground", "hitmask"};
        static const std::set<std::string, std::less<>> soundKeys{"clicksound", "oversound",
                                                                  "disabledsound"};
        std::string sectionKey;
        if (imageKeys.contains(key)) {
            sectionKey = "section";
        } else if (soundKeys.contains(key)) {
            sectionKey = "soundsection";
        } else {
            return;
        }
        const std::string section = node.getValue(sectionKey)->getString();
        const platform::NamedMutexGuard guard(resources_.getDataLock());
        EXPECT_NE(resources_.findResource(value, section), nullptr)
            << file_ << ": " << place << " names the resource " << value << " of section \""
            << section << "\", which " << kResourceFile << " does not define";
    }

    std::string file_;
    ResourceManager& resources_;
};

TEST_P(MediaDataTest, EveryNamedTextAndResourceIsDefined) {
    for (const std::string& file : propertyFiles()) {
        if (file == kResourceFile) {
            continue;
        }
        RefPtr<PropertyStore> document(new PropertyStore());
        ASSERT_TRUE(document->load(file)) << file << " does not parse";
        ReferenceChecker(file, *resources_).walk(document.get(), "");
    }
}

// The hue of an 0xRRGGBB colour in degrees, 0 to 360.
double hueOf(std::uint32_t colour) {
    const double r = ((colour >> 16U) & 0xFFU) / 255.0;
    const double g = ((colour >> 8U) & 0xFFU) / 255.0;
    const double b = (colour & 0xFFU) / 255.0;
    const double high = std::max({r, g, b});
    const double range = high - std::min({r, g, b});
    if (range <= 0) {
        return 0;
    }
    const double sector = high == r   ? (g - b) / range
                          : high == g ? 2 + (b - r) / range
                                      : 4 + (r - g) / range;
    return std::fmod(sector * 60 + 360, 360);
}

// A hinted tile is told from a selected one by its colour, not only by how
// strong its glow is, and score floaters are big enough to read in passing.
TEST_P(MediaDataTest, HintsStandApartFromSelectionsAndFloatersReadAtAGlance) {
    const double apart = std::abs(hueOf(static_cast<std::uint32_t>(TILE_HINT_COLOR)) -
                                  hueOf(static_cast<std::uint32_t>(TILE_SELECT_COLOR)));
    EXPECT_GE(std::min(apart, 360 - apart), 90.0);
    EXPECT_GE(TILE_HINT_MIN_ALPHA, 80) << "at its faintest the hint's glow must still show";

    resources_->setStarted(true);
    resources_->requestSection("default");
    ASSERT_TRUE(resources_->waitForRequests(std::chrono::seconds(60)));
    const platform::NamedMutexGuard guard(resources_->getDataLock());
    ResourceSection* section = resources_->findSection("default");
    ASSERT_NE(section, nullptr);
    for (int k = 1; k <= 6; ++k) {
        const std::string id = "FONT_SCORE_FLOATER" + std::to_string(k);
        const auto found = section->getObjects().find(id);
        ASSERT_NE(found, section->getObjects().end()) << id;
        const auto* font = kindCast<BitmapFont>(found->second->getHeldObject());
        ASSERT_NE(font, nullptr) << id;
        EXPECT_GE(font->getHeight() - 2 * font->getPadding(), 28) << id;
        EXPECT_GE(font->getLayers().size(), 2U) << id << " has no dark rim";
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, MediaDataTest, ::testing::Values(Layout::Archive, Layout::Loose),
                         [](const ::testing::TestParamInfo<Layout>& param) {
                             return param.param == Layout::Archive ? "MediaDat" : "LooseFiles";
                         });

} // namespace
} // namespace orv
