// media_tool: makes the game's media from code and Debian's free fonts.
//
//   media_tool --source <repo>/media --fonts <folder of the font packages>
//              --output <program folder> [--sheet <contact sheet png>]
//              [--cache <folder> | --reuse <folder>]
//
// It draws the pictures, bakes the bitmap fonts, synthesises the sounds and
// the music, copies the hand-written property files, checks that every file
// resources.xml names was made, and writes the loose media/ tree and the
// archive media.dat into the program folder. The output depends on nothing
// but the inputs: the same inputs give the same bytes. With --cache it keeps
// what it generated in a folder and copies it from there when it runs again
// on the same inputs (see MadeCache.h); --reuse reads that folder without
// writing to it.

#include "tools/media/ArtChooser.h"
#include "tools/media/ArtMiniGame.h"
#include "tools/media/ArtPlaces.h"
#include "tools/media/ArtTrophies.h"
#include "tools/media/Artwork.h"
#include "tools/media/BonusIcons.h"
#include "tools/media/BuildingArt.h"
#include "tools/media/ContactSheet.h"
#include "tools/media/DialogArt.h"
#include "tools/media/ElevatorArt.h"
#include "tools/media/Fail.h"
#include "tools/media/FontBaker.h"
#include "tools/media/HallwayArt.h"
#include "tools/media/LayoutMedia.h"
#include "tools/media/MadeCache.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Palette.h"
#include "tools/media/PlayArt.h"
#include "tools/media/PlayerDialogArt.h"
#include "tools/media/PlayingArt.h"
#include "tools/media/PlayingSound.h"
#include "tools/media/RecRoomConsoleArt.h"
#include "tools/media/Synth.h"
#include "tools/media/TileArt.h"

#include <algorithm>
#include <cairo.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <tinyxml.h>
#include <vector>

namespace orv::media {

namespace {

struct Options {
    std::filesystem::path source;
    std::filesystem::path fonts;
    std::filesystem::path output;
    std::filesystem::path sheet;
    std::filesystem::path cache;
    bool cacheWritable = false;
};

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::filesystem::path value = argv[i + 1];
        if (key == "--source") {
            options.source = value;
        } else if (key == "--fonts") {
            options.fonts = value;
        } else if (key == "--output") {
            options.output = value;
        } else if (key == "--sheet") {
            options.sheet = value;
        } else if (key == "--cache" || key == "--reuse") {
            options.cache = value;
            options.cacheWritable = key == "--cache";
        } else {
            fail("unknown option " + key);
        }
    }
    if (options.source.empty() || options.fonts.empty() || options.output.empty()) {
        fail("usage: media_tool --source DIR --fonts DIR --output DIR [--sheet FILE] "
             "[--cache DIR | --reuse DIR]");
    }
    // Writing replaces <output>/media as a whole: refuse an output folder
    // whose media/ holds the hand-written sources.
    std::error_code error;
    const std::filesystem::path source = std::filesystem::weakly_canonical(options.source, error);
    const std::filesystem::path target =
        std::filesystem::weakly_canonical(options.output / "media", error);
    const auto [end, rest] =
        std::mismatch(target.begin(), target.end(), source.begin(), source.end());
    if (end == target.end()) {
        fail("the output's media folder would replace the sources in " + source.string());
    }
    return options;
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fail("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes toBytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// The characters every font carries: printable ASCII, Latin-1 and the
// typographic marks the texts use.
std::vector<std::uint32_t> gameCharacters() {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t c = 0x20; c <= 0x7E; ++c) {
        codes.push_back(c);
    }
    for (std::uint32_t c = 0xA1; c <= 0xFF; ++c) {
        if (c != 0xAD) {
            codes.push_back(c);
        }
    }
    for (const std::uint32_t c : {0x2013U, 0x2014U, 0x2018U, 0x2019U, 0x201CU, 0x201DU, 0x2022U,
                                  0x2026U, 0x20ACU, 0x2122U}) {
        codes.push_back(c);
    }
    return codes;
}

std::uint32_t opaque(std::uint32_t rgb) {
    return 0xFF000000U | rgb;
}

// The game's faces, by their paths under the font packages' folder
// (media/README.md lists them with their packages and licences).
constexpr const char* textFace = "truetype/lato/Lato-Regular.ttf";
constexpr const char* smallFace = "truetype/lato/Lato-Medium.ttf";
constexpr const char* boldFace = "truetype/lato/Lato-Bold.ttf";
constexpr const char* headerFace = "opentype/linux-libertine/LinLibertine_RB.otf";
constexpr const char* buttonFace = "opentype/linux-libertine/LinBiolinum_RB.otf";

std::vector<FontSpec> fontSpecs(const std::filesystem::path& fonts) {
    const std::vector<std::uint32_t> characters = gameCharacters();
    using Kind = LayerStyle::Kind;
    std::vector<FontSpec> specs;
    // Body text: dark ink on parchment over a faint light relief below right.
    const LayerStyle ink{Kind::Fill, 0, 0, 0, 0, 1.0, opaque(palette::ink), false};
    const LayerStyle relief{Kind::Shadow, 0, 0, 1, 1, 0.45, opaque(palette::cream), false};
    specs.push_back({"text", (fonts / textFace).string(), 16, 0, 2, characters, {ink, relief}});
    specs.push_back({"small", (fonts / smallFace).string(), 13, 0, 1, characters, {ink, relief}});
    // Captions over values (the playing screen's counters) and the values a
    // result shows: bold, so that they read at a glance.
    specs.push_back({"label", (fonts / boldFace).string(), 15, 0, 1, characters, {ink, relief}});
    specs.push_back({"value", (fonts / boldFace).string(), 20, 0, 2, characters, {ink, relief}});
    // Headings: embossed polished gold with a dark rim and a tight soft
    // shadow down and to the right, clear of the line below.
    specs.push_back(
        {"header",
         (fonts / headerFace).string(),
         30,
         0,
         0,
         characters,
         {LayerStyle{Kind::Fill, 0, 0, 0, 0, 1.0, opaque(palette::gold), true},
          LayerStyle{Kind::Outline, 1, 0, 0, 0, 1.0, opaque(palette::mahoganyDark), false},
          LayerStyle{Kind::Shadow, 1, 1.2, 1, 2, 0.55, 0xFF000000U, false}}});
    // Button captions: cream, pressed into the jade by a soft dark rim.
    specs.push_back({"button",
                     (fonts / buttonFace).string(),
                     18,
                     0,
                     0,
                     characters,
                     {LayerStyle{Kind::Fill, 0, 0, 0, 0, 1.0, opaque(palette::cream), false},
                      LayerStyle{Kind::Shadow, 1, 0.6, 0, 1, 0.8, 0xFF0B2A1EU, false}}});
    return specs;
}

[[noreturn]] void failIn(const std::string& file, const std::string& what) {
    std::string message = file;
    message += ": ";
    message += what;
    fail(message);
}

// Reads resources.xml and sets how each named file is stored; every file it
// names must have been made. Font documents carry their layer pictures along.
// When the plan is read: before anything is made (to stop at once on a list
// that is wrong in itself) or after (to check that everything named was made
// and to store it).
enum class PlanPass { CheckList, Apply };

void applyResourcePlan(MediaSet& media, const std::string& resourcesPath, PlanPass pass) {
    const auto& files = media.files();
    const auto found = files.find(resourcesPath);
    if (found == files.end()) {
        fail("missing " + resourcesPath);
    }
    const std::string text(found->second.first.begin(), found->second.first.end());
    TiXmlDocument document;
    document.Parse(text.c_str());
    if (document.Error()) {
        fail(resourcesPath + ": " + document.ErrorDesc());
    }
    const TiXmlElement* root = document.RootElement();
    const TiXmlElement* sections = nullptr;
    for (const TiXmlElement* e = root != nullptr ? root->FirstChildElement() : nullptr;
         e != nullptr; e = e->NextSiblingElement()) {
        if (e->Attribute("id") != nullptr && std::string(e->Attribute("id")) == "Sections") {
            sections = e;
        }
    }
    if (sections == nullptr) {
        fail(resourcesPath + ": no \"Sections\" vector");
    }
    std::map<std::string, Storage> modes;
    for (const TiXmlElement* section = sections->FirstChildElement(); section != nullptr;
         section = section->NextSiblingElement()) {
        for (const TiXmlElement* object = section->FirstChildElement(); object != nullptr;
             object = object->NextSiblingElement()) {
            const char* file = object->Attribute("file");
            if (file == nullptr) {
                continue;
            }
            const std::string type = object->Value();
            const std::string path = file;
            // The engine keys resources by the lower-cased name; a capital
            // would find the archive entry but miss the loose file.
            if (std::any_of(path.begin(), path.end(),
                            [](char c) { return c >= 'A' && c <= 'Z'; })) {
                failIn(resourcesPath, "file names are lower case: " + path);
            }
            if (pass == PlanPass::Apply && !media.contains(path)) {
                failIn(resourcesPath, path + " is named but not made");
            }
            const char* archive = object->Attribute("archive");
            const std::string mode = archive != nullptr ? archive : "";
            Storage storage = Storage::ArchiveAndLoose;
            if (type == "Stream" || mode == "file") {
                storage = Storage::LooseOnly; // streams are always read loose
            } else if (mode == "encryptfile") {
                storage = Storage::ScrambledLoose;
            } else if (mode == "encryptzip") {
                storage = Storage::ScrambledArchive;
            }
            // Without media.dat the engine decodes an image straight from its
            // plain loose name, whatever its mode: a scrambled image would be
            // missing in the loose-file mode.
            if (type == "Image" &&
                (storage == Storage::ScrambledLoose || storage == Storage::ScrambledArchive)) {
                failIn(resourcesPath, path + ": images cannot be stored scrambled");
            }
            // A file named by several objects is loaded once, so they must
            // agree on how it is stored.
            const auto [earlier, inserted] = modes.emplace(path, storage);
            if (!inserted && earlier->second != storage) {
                failIn(resourcesPath, path + " is named with two different archive modes");
            }
            if (pass == PlanPass::CheckList) {
                continue;
            }
            media.setStorage(path, storage);
            if (type == "Font") {
                // The layer pictures are read in the font's own mode.
                const std::string folder = path.substr(0, path.rfind('/') + 1);
                const std::string stem =
                    path.substr(folder.size(), path.size() - folder.size() - 4);
                for (const auto& [name, entry] : files) {
                    if (name.rfind(folder + stem + "_", 0) == 0) {
                        media.setStorage(name, storage);
                    }
                }
            }
        }
    }
}

// The fonts: each baked font's definition and layer pictures.
std::vector<BakedFont> addFonts(MediaSet& media, const std::filesystem::path& folder) {
    std::vector<BakedFont> fonts;
    for (const FontSpec& spec : fontSpecs(folder)) {
        fonts.push_back(bakeFont(spec));
    }
    for (const BakedFont& font : fonts) {
        media.add("media/fonts/" + font.id + ".xml", toBytes(font.definitionXml()));
        for (std::size_t k = 0; k < font.layers.size(); ++k) {
            media.add("media/fonts/" + font.maskFileName(k), encodePngGrey(font.layers[k].mask));
            if (font.layers[k].picture.width > 0) {
                media.add("media/fonts/" + font.pictureFileName(k),
                          encodePngColor(font.layers[k].picture));
            }
        }
    }
    return fonts;
}

// The building's pictures: frames, buttons, icon, medal, walls. The sheet
// gets each at its final size.
void addPictures(MediaSet& media, Gallery& sheet) {
    const std::array<ColorImage, 9> frame = drawDialogFrame();
    static constexpr std::array<const char*, 9> pieceNames{"tl", "t",  "tr", "l", "c",
                                                           "r",  "bl", "b",  "br"};
    for (std::size_t k = 0; k < frame.size(); ++k) {
        media.add(std::string("media/images/frame/dialog_") + pieceNames[k] + ".png",
                  encodePngColor(frame[k]));
    }
    sheet.frame = frame;
    sheet.button = drawButtonStrip(150, 40);
    sheet.minimize = drawWindowButton(WindowButton::Minimize);
    sheet.restore = drawWindowButton(WindowButton::Restore);
    sheet.quit = drawWindowButton(WindowButton::Quit);
    sheet.icon = drawWindowIcon(64);
    sheet.smallIcon = drawWindowIcon(32);
    sheet.medal = drawMedal(64);
    sheet.wall = drawLobbyWall();
    media.add("media/images/buttons/button.png", encodePngColor(sheet.button));
    media.add("media/images/buttons/window_minimize.png", encodePngColor(sheet.minimize));
    media.add("media/images/buttons/window_restore.png", encodePngColor(sheet.restore));
    media.add("media/images/buttons/window_quit.png", encodePngColor(sheet.quit));
    media.add("media/images/icon.png", encodePngColor(sheet.icon));
    media.add("media/images/icon_32.png", encodePngColor(sheet.smallIcon));
    media.add("media/images/trophy/medal.png", encodePngColor(sheet.medal));
    media.add("media/images/lobby/wall.jpg", encodeJpeg(sheet.wall, 88));
}

// The sound effects and the music.
void addSounds(MediaSet& media) {
    for (const SoundEffect& effect : synthesiseEffects()) {
        // The button under the mouse only hints; everything else speaks up.
        const EffectLevel level = effect.name == "button_over" ? faintEffectLevel : effectLevel;
        media.add("media/sounds/" + effect.name + ".wav", encodeWav(effect.samples, level));
    }
    media.add("media/music/lobby.ogg", encodeVorbis(synthesiseLobbyMusic(), 0.3F));
    media.add("media/music/elevator.ogg", encodeVorbis(synthesiseElevatorMusic(), 0.05F));
}

// The hand-written property files, in name order.
void addProperties(MediaSet& media, const std::filesystem::path& source) {
    std::vector<std::filesystem::path> properties;
    for (const auto& entry : std::filesystem::directory_iterator(source / "properties")) {
        if (entry.path().extension() == ".xml") {
            properties.push_back(entry.path());
        }
    }
    std::sort(properties.begin(), properties.end());
    for (const std::filesystem::path& path : properties) {
        media.add("media/properties/" + path.filename().string(), readFile(path));
    }
}

void writeSheet(const Bytes& png, const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out) {
        fail("cannot write " + path.string());
    }
}

} // namespace

constexpr const char* resourcePlan = "media/properties/resources.xml";

namespace {

// One call per family of generated media; a new family adds its call here
// and, when it has pictures to show, a row to the contact sheet
// (Gallery::rows). Returns the encoded contact sheet.
Bytes generate(MediaSet& media, const Options& options) {
    Gallery sheet;
    sheet.fonts = addFonts(media, options.fonts);
    addPictures(media, sheet);
    addBonusIcons(media, sheet);
    addBuildingArt(media, options.fonts, sheet);
    addTileArt(media, options.fonts, sheet);
    addBuildingSounds(media);
    addDialogMedia(media, options.fonts, sheet);
    addPlayerDialogArt(media, sheet);
    addPlayMedia(media, options.fonts, sheet);
    addSounds(media);
    addPlayingArt(media, sheet);
    addRecRoomConsoleArt(media, sheet);
    addPlayingSounds(media);
    addElevatorArt(media, options.fonts, sheet);
    addElevatorSounds(media);
    addLayouts(media, options.source, sheet);
    addHallwayArt(media, options.source, options.fonts, sheet);
    addMiniGameMedia(media, sheet);
    addPlacesArt(media, sheet);
    addPlacesSounds(media);
    addTrophyArt(media, options.fonts, sheet);
    addChooserArt(media, options.fonts, sheet);
    return encodePngColor(drawContactSheet(sheet));
}

} // namespace

// Generates the media or copies them from the cache, then stores them as the
// resource list says.
int run(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    MediaSet media;
    addProperties(media, options.source);
    applyResourcePlan(media, resourcePlan, PlanPass::CheckList);
    std::optional<MadeCache> cache;
    if (!options.cache.empty()) {
        cache.emplace(options.cache, options.cacheWritable);
        cache->computeKey(options.source, options.fonts);
    }
    std::optional<MadeFiles> made = cache ? cache->find() : std::nullopt;
    if (made) {
        for (auto& [path, bytes] : made->files) {
            media.add(path, std::move(bytes));
        }
    } else {
        made.emplace();
        made->sheet = generate(media, options);
        for (const auto& [path, entry] : media.files()) {
            if (path != resourcePlan) {
                made->files.emplace(path, entry.first);
            }
        }
        if (cache) {
            cache->store(*made);
        }
    }

    applyResourcePlan(media, resourcePlan, PlanPass::Apply);
    media.writeLoose(options.output);
    media.writeArchive(options.output / "media.dat");
    if (!options.sheet.empty()) {
        writeSheet(made->sheet, options.sheet);
    }
    // cairo keeps caches for the life of the process; empty them so that a
    // leak checker sees only what the tool itself forgot.
    cairo_debug_reset_static_data();
    return 0;
}

} // namespace orv::media

int main(int argc, char** argv) {
    return orv::media::run(argc, argv);
}
