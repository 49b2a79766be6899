#include "tools/media/Layouts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>
#include <sstream>
#include <tinyxml.h>
#include <tuple>

namespace orv::media {

namespace {

constexpr std::array<std::string_view, 6> kGameTypeNames{"Classic", "Freecell", "Split",
                                                         "Triple",  "River",    "Speed"};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<int> toInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::string lineError(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// "4x2" or "4x2@620,90".
std::optional<Rack> parseRack(std::string_view word) {
    Rack rack;
    const auto at = word.find('@');
    const std::string_view size = word.substr(0, at);
    const auto cross = size.find('x');
    if (cross == std::string_view::npos) {
        return std::nullopt;
    }
    const auto columns = toInt(size.substr(0, cross));
    const auto rows = toInt(size.substr(cross + 1));
    if (!columns || !rows) {
        return std::nullopt;
    }
    rack.columns = *columns;
    rack.rows = *rows;
    if (at != std::string_view::npos) {
        const std::string_view place = word.substr(at + 1);
        const auto comma = place.find(',');
        if (comma == std::string_view::npos) {
            return std::nullopt;
        }
        const auto x = toInt(place.substr(0, comma));
        const auto y = toInt(place.substr(comma + 1));
        if (!x || !y) {
            return std::nullopt;
        }
        rack.x = *x;
        rack.y = *y;
    }
    return rack;
}

// Reads one layer's map (its lines, first line = cell row 0) into tiles.
bool readMap(const std::vector<std::pair<int, std::string_view>>& lines, int z,
             std::vector<LayoutTile>& tiles, std::string& error) {
    std::set<std::pair<int, int>> taken;
    const auto at = [&lines](int row, int column) -> char {
        if (row < 0 || row >= static_cast<int>(lines.size())) {
            return '.';
        }
        const std::string_view text = lines[static_cast<std::size_t>(row)].second;
        return column < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(column)]
                                                      : '.';
    };
    for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
        const auto [number, text] = lines[static_cast<std::size_t>(row)];
        for (int column = 0; column < static_cast<int>(text.size()); ++column) {
            const char c = text[static_cast<std::size_t>(column)];
            if (c == '.' || c == ' ' || taken.count({column, row}) != 0) {
                continue;
            }
            // Scanning row by row from the left, the first cell of a tile not
            // yet taken is always its top-left cell.
            if (c != '[' || at(row, column + 1) != ']' || at(row + 1, column) != '-' ||
                at(row + 1, column + 1) != '-') {
                error = lineError(number, "column " + std::to_string(column + 1) + ": '" +
                                              std::string(1, c) +
                                              "' is not the top left of a tile (\"[]\" over "
                                              "\"--\")");
                return false;
            }
            for (const auto& cell : {std::pair{column, row}, std::pair{column + 1, row},
                                     std::pair{column, row + 1}, std::pair{column + 1, row + 1}}) {
                taken.insert(cell);
            }
            tiles.push_back({column, row, z});
        }
    }
    return true;
}

} // namespace

std::optional<GameType> gameTypeNamed(std::string_view name) {
    for (std::size_t k = 0; k < kGameTypeNames.size(); ++k) {
        if (kGameTypeNames[k] == name) {
            return static_cast<GameType>(k);
        }
    }
    return std::nullopt;
}

int LayoutDesign::tilesOnLayer(int z) const {
    return static_cast<int>(
        std::count_if(tiles.begin(), tiles.end(), [z](const LayoutTile& t) { return t.z == z; }));
}

int LayoutDesign::width() const {
    int right = 0;
    for (const LayoutTile& t : tiles) {
        right = std::max(right, t.x + 2);
    }
    return right;
}

int LayoutDesign::height() const {
    int bottom = 0;
    for (const LayoutTile& t : tiles) {
        bottom = std::max(bottom, t.y + 2);
    }
    return bottom;
}

std::optional<LayoutDesign> parseLayout(std::string_view id, std::string_view text,
                                        std::string& error) {
    LayoutDesign layout;
    layout.id = id;
    std::set<int> layersSeen;
    int layer = -1;
    std::vector<std::pair<int, std::string_view>> map;
    const auto endMap = [&]() {
        const bool ok = map.empty() || readMap(map, layer, layout.tiles, error);
        map.clear();
        return ok;
    };
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        ++number;
        const std::string_view line = trimmed(raw);
        if (!line.empty() && line.front() == '#') {
            continue;
        }
        if (line.empty()) {
            if (!endMap()) {
                return std::nullopt;
            }
            continue;
        }
        if (line.rfind("name:", 0) == 0) {
            if (!endMap()) {
                return std::nullopt;
            }
            layout.name = std::string(trimmed(line.substr(5)));
        } else if (line.rfind("racks:", 0) == 0) {
            if (!endMap()) {
                return std::nullopt;
            }
            std::istringstream words{std::string(line.substr(6))};
            std::string word;
            while (words >> word) {
                const auto rack = parseRack(word);
                if (!rack) {
                    error = lineError(number, "\"" + word +
                                                  "\" is no rack (\"4x2\" or "
                                                  "\"4x2@620,90\")");
                    return std::nullopt;
                }
                layout.racks.push_back(*rack);
            }
        } else if (line.rfind("layer", 0) == 0) {
            if (!endMap()) {
                return std::nullopt;
            }
            const auto z = toInt(trimmed(line.substr(5)));
            if (!z || *z < 0 || *z >= kGridLayers) {
                error = lineError(number, "layers are numbered 0 to 6");
                return std::nullopt;
            }
            if (!layersSeen.insert(*z).second) {
                error = lineError(number, "layer " + std::to_string(*z) + " is drawn twice");
                return std::nullopt;
            }
            layer = *z;
        } else if (layer >= 0 && line.find_first_not_of(".[]- ") == std::string_view::npos) {
            // A map line keeps its leading blanks: they are empty cells.
            map.emplace_back(number, raw.substr(0, raw.find_last_not_of(" \t\r") + 1));
        } else {
            error = lineError(number, layer < 0 ? "expected \"name:\", \"racks:\" or \"layer N\""
                                                : "a map line holds only . [ ] - and blanks");
            return std::nullopt;
        }
    }
    if (!endMap()) {
        return std::nullopt;
    }
    std::sort(layout.tiles.begin(), layout.tiles.end(),
              [](const LayoutTile& a, const LayoutTile& b) {
                  return std::tie(a.z, a.y, a.x) < std::tie(b.z, b.y, b.x);
              });
    return layout;
}

std::vector<std::string> layoutFaults(const LayoutDesign& layout) {
    std::vector<std::string> faults;
    const auto place = [](const LayoutTile& t) {
        return "(" + std::to_string(t.x) + ", " + std::to_string(t.y) + ", " + std::to_string(t.z) +
               ")";
    };
    if (layout.name.empty()) {
        faults.emplace_back("it has no name");
    }
    if (layout.tiles.empty()) {
        faults.emplace_back("it has no tiles");
    }
    std::map<std::tuple<int, int, int>, LayoutTile> cells;
    for (const LayoutTile& t : layout.tiles) {
        if (t.x < 0 || t.x > kGridColumns - 2 || t.y < 0 || t.y > kGridRows - 2 || t.z < 0 ||
            t.z >= kGridLayers) {
            faults.push_back("the tile at " + place(t) + " lies outside the grid");
            continue;
        }
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                const auto [it, added] = cells.emplace(std::tuple{t.x + dx, t.y + dy, t.z}, t);
                if (!added) {
                    faults.push_back("the tiles at " + place(it->second) + " and " + place(t) +
                                     " overlap");
                }
            }
        }
    }
    for (const LayoutTile& t : layout.tiles) {
        if (t.z == 0) {
            continue;
        }
        int resting = 0;
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                resting += static_cast<int>(cells.count({t.x + dx, t.y + dy, t.z - 1}));
            }
        }
        if (resting < 2) {
            faults.push_back("the tile at " + place(t) + " rests on " + std::to_string(resting) +
                             " of its four cells (it needs two)");
        }
    }
    const int widest = layout.racks.empty() ? kBoardWidth : kBoardWidthBesideRack;
    if (layout.width() > widest) {
        faults.push_back("it is " + std::to_string(layout.width()) + " cells wide; " +
                         std::to_string(widest) + " fit" +
                         (layout.racks.empty() ? "" : " beside its rack"));
    }
    if (layout.height() > kBoardHeight) {
        faults.push_back("it is " + std::to_string(layout.height()) + " cells high; " +
                         std::to_string(kBoardHeight) + " fit");
    }
    for (const Rack& rack : layout.racks) {
        const std::string name = std::to_string(rack.columns) + "x" + std::to_string(rack.rows);
        if (rack.columns < 1 || rack.rows < 1) {
            faults.push_back("the rack " + name + " has no slots");
        }
        if (rack.x < 0 || rack.y < 0 || rack.x >= 800 || rack.y >= 600) {
            faults.push_back("the rack " + name + " stands off the screen");
        }
    }
    return faults;
}

std::vector<int> standardSuitSizes() {
    return {9, 9, 9, 4, 3, 4, 4};
}

namespace {

// The face distribution with its coins given: coins[i] is the first bonus
// suit (5 or 6) of the i-th bonus step; missing coins count as 5.
int distributedFaces(int tiles, int k, int g, const std::vector<int>& sizes,
                     const std::vector<int>& coins) {
    int ordinary = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        ordinary += sizes[i];
    }
    const int cycle = k * ordinary + g;
    int rem = tiles;
    int faced = 0;
    std::size_t step = 0;
    const auto bonusStep = [&]() {
        if (g <= 0) {
            return;
        }
        int suit = step < coins.size() ? coins[step] : 5;
        ++step;
        for (int cycles = rem / cycle; cycles > 0; --cycles) {
            const int added = std::max(g, sizes[static_cast<std::size_t>(suit)]);
            rem -= added;
            faced += added;
            suit = suit == 5 ? 6 : 5;
        }
    };
    const auto remainderStep = [&]() {
        bonusStep();
        if (rem >= k * ordinary) {
            rem -= k * ordinary;
            faced += k * ordinary;
        }
        if (rem > 0) {
            // Distinct faces drawn from the pool of every ordinary face.
            const int draws = std::min(rem / k, ordinary);
            rem -= draws * k;
            faced += draws * k;
        }
    };
    if (tiles < 2 * cycle) {
        remainderStep();
        return faced;
    }
    do {
        bonusStep();
        rem -= 2 * k * ordinary;
        faced += 2 * k * ordinary;
    } while (rem >= 2 * cycle);
    if (rem > 0) {
        remainderStep();
    }
    return faced;
}

} // namespace

int facedTileCount(int tiles, int groupSize, int bonusCount, const std::vector<int>& suitSizes) {
    if (tiles < 1 || groupSize < 1 || suitSizes.size() < 7) {
        return 0;
    }
    // Each bonus step draws a coin for its first bonus suit. With bonus
    // suits of one size the coins change nothing; otherwise every sequence
    // of the few coins a board needs is tried, and any count other than
    // `tiles` wins.
    const int steps = suitSizes[5] == suitSizes[6] ? 0 : 6;
    int result = tiles;
    for (int bits = 0; bits < (1 << steps); ++bits) {
        std::vector<int> coins;
        coins.reserve(steps);
        for (int i = 0; i < steps; ++i) {
            coins.push_back((bits >> i) & 1 ? 6 : 5);
        }
        const int faced = distributedFaces(tiles, groupSize, bonusCount, suitSizes, coins);
        if (faced != tiles) {
            result = faced;
            break;
        }
    }
    return result;
}

std::string gameTypeFault(const LayoutDesign& layout, GameType type,
                          const std::vector<int>& suitSizes) {
    const int n = layout.tileCount();
    const auto name = std::string(kGameTypeNames[static_cast<std::size_t>(type)]);
    int groupSize = 2;
    int bonusCount = 4;
    if (type == GameType::Triple) {
        groupSize = 3;
        bonusCount = 6;
    } else if (type == GameType::Split || type == GameType::Speed) {
        groupSize = 1;
    }
    const int faced = facedTileCount(n, groupSize, bonusCount, suitSizes);
    if (faced != n || n % groupSize != 0) {
        const char* sets = groupSize == 3 ? "triples" : groupSize == 2 ? "pairs" : "faces";
        return name + " cannot deal its " + std::to_string(n) + " tiles in " + sets +
               " (the tile set fills " + std::to_string(faced) + ")";
    }
    if (type == GameType::River) {
        for (int z = 0; z < kGridLayers; ++z) {
            if (layout.tilesOnLayer(z) % 2 != 0) {
                return "River pairs tiles within a layer, and layer " + std::to_string(z) +
                       " has " + std::to_string(layout.tilesOnLayer(z)) + " tiles";
            }
        }
    }
    if ((type == GameType::FreeCell || type == GameType::Split || type == GameType::Speed) &&
        layout.racks.empty()) {
        return name + " needs a rack, and the layout has none";
    }
    return {};
}

std::string layoutFileXml(const LayoutDesign& layout) {
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    document.LinkEndChild(new TiXmlComment(
        (" " + layout.name + ": made by media_tool from media/layouts/" + layout.id + ".txt ")
            .c_str()));
    auto* root = new TiXmlElement("Layout");
    document.LinkEndChild(root);
    auto* node = new TiXmlElement("Layout");
    root->LinkEndChild(node);
    node->SetAttribute("id", "layout");
    node->SetAttribute("displayname", layout.name.c_str());
    node->SetAttribute("originalTileCount", layout.tileCount());
    auto* tiles = new TiXmlElement("Vector");
    node->LinkEndChild(tiles);
    tiles->SetAttribute("id", "tiles");
    for (const LayoutTile& t : layout.tiles) {
        auto* tile = new TiXmlElement("Tile");
        tile->SetAttribute("x", t.x);
        tile->SetAttribute("y", t.y);
        tile->SetAttribute("z", t.z);
        tiles->LinkEndChild(tile);
    }
    if (!layout.racks.empty()) {
        auto* racks = new TiXmlElement("Vector");
        node->LinkEndChild(racks);
        racks->SetAttribute("id", "sideboards");
        for (const Rack& r : layout.racks) {
            auto* rack = new TiXmlElement("SideBoard");
            rack->SetAttribute("width", r.columns);
            rack->SetAttribute("height", r.rows);
            rack->SetAttribute("x", r.x);
            rack->SetAttribute("y", r.y);
            racks->LinkEndChild(rack);
        }
    }
    TiXmlPrinter printer;
    printer.SetIndent("  ");
    document.Accept(&printer);
    return printer.CStr();
}

std::optional<std::vector<int>> suitSizesFrom(const std::vector<std::string>& propertyFiles) {
    for (const std::string& text : propertyFiles) {
        TiXmlDocument document;
        document.Parse(text.c_str());
        const TiXmlElement* root = document.RootElement();
        for (const TiXmlElement* e = root != nullptr ? root->FirstChildElement() : nullptr;
             e != nullptr; e = e->NextSiblingElement()) {
            const char* id = e->Attribute("id");
            if (id == nullptr || std::string_view(id) != "suitDefs") {
                continue;
            }
            std::vector<int> sizes;
            for (const TiXmlElement* suit = e->FirstChildElement(); suit != nullptr;
                 suit = suit->NextSiblingElement()) {
                int size = 0;
                suit->QueryIntAttribute("size", &size);
                sizes.push_back(size);
            }
            return sizes;
        }
    }
    return std::nullopt;
}

namespace {

// The values a progression of a level takes: from its start towards its
// cap in steps of its delta, never past the cap; without a delta, the start.
struct Span {
    double low = 0;
    double high = 0;
};

const TiXmlElement* childWithId(const TiXmlElement& parent, std::string_view id) {
    for (const TiXmlElement* e = parent.FirstChildElement(); e != nullptr;
         e = e->NextSiblingElement()) {
        const char* own = e->Attribute("id");
        if (own != nullptr && id == own) {
            return e;
        }
    }
    return nullptr;
}

// A value of a property: the element's text, else its "value" attribute.
std::optional<std::string> valueText(const TiXmlElement& element) {
    if (element.GetText() != nullptr) {
        return std::string(trimmed(element.GetText()));
    }
    if (element.Attribute("value") != nullptr) {
        return std::string(element.Attribute("value"));
    }
    return std::nullopt;
}

// A plain key of a node: an attribute, or a child value with that id.
std::optional<std::string> keyText(const TiXmlElement& node, std::string_view key) {
    if (const char* attribute = node.Attribute(std::string(key).c_str())) {
        return std::string(attribute);
    }
    if (const TiXmlElement* child = childWithId(node, key)) {
        return valueText(*child);
    }
    return std::nullopt;
}

std::optional<double> toNumber(const std::optional<std::string>& text) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (end != text->c_str() + text->size()) {
        return std::nullopt;
    }
    return value;
}

// A progression key: a plain number, or a node with "start", "delta", "cap".
std::optional<Span> progression(const TiXmlElement& level, std::string_view key,
                                std::string& fault) {
    const TiXmlElement* node = childWithId(level, key);
    if (node == nullptr ||
        (node->Attribute("start") == nullptr && childWithId(*node, "start") == nullptr)) {
        const auto value = toNumber(keyText(level, key));
        if (!value) {
            fault = "\"" + std::string(key) + "\" is missing or no number";
            return std::nullopt;
        }
        return Span{*value, *value};
    }
    const auto start = toNumber(keyText(*node, "start"));
    const auto delta = toNumber(keyText(*node, "delta"));
    const auto cap = toNumber(keyText(*node, "cap"));
    if (!start || !delta || !cap) {
        fault = "\"" + std::string(key) + "\" needs the numbers \"start\", \"delta\" and \"cap\"";
        return std::nullopt;
    }
    if (*delta == 0) {
        return Span{*start, *start};
    }
    return Span{std::min(*start, *cap), std::max(*start, *cap)};
}

std::string number(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

int truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

std::vector<std::string> listNames(const TiXmlElement& vector, bool counted, std::string& fault) {
    std::vector<std::string> names;
    bool first = true;
    for (const TiXmlElement* e = vector.FirstChildElement(); e != nullptr;
         e = e->NextSiblingElement()) {
        const auto text = valueText(*e);
        if (first && counted) {
            first = false;
            const auto count = toNumber(text);
            if (!count || *count < 0) {
                fault = "the list \"" + std::string(vector.Attribute("id")) +
                        "\" starts without its count";
            }
            continue;
        }
        names.push_back(text.value_or(""));
    }
    return names;
}

struct LevelChecker {
    const std::map<std::string, LayoutDesign>& layouts;
    const std::vector<int>& suitSizes;
    std::vector<std::string>& faults;

    void check(const TiXmlElement* level, const std::string& where, std::optional<GameType> must,
               std::optional<int> place, bool medals) {
        const auto fault = [&](const std::string& what) {
            faults.push_back(where + ": " + what);
        };
        if (level == nullptr) {
            fault("no level");
            return;
        }
        if (std::string_view(level->Value()) != "Level") {
            fault("the level node's type is \"" + std::string(level->Value()) +
                  "\", not \"Level\"");
        }
        const auto typeName = keyText(*level, "gameType");
        const auto type = gameTypeNamed(typeName.value_or(""));
        if (!type) {
            fault("\"gameType\" \"" + typeName.value_or("") + "\" names no game type");
            return;
        }
        if (must && *type != *must) {
            fault("\"gameType\" is " + *typeName + " here, not " +
                  std::string(kGameTypeNames[static_cast<std::size_t>(*must)]));
        }
        if (place) {
            const auto mode = toNumber(keyText(*level, "gameMode"));
            if (!mode || truncated(*mode) != *place) {
                fault("\"gameMode\" must be " + std::to_string(*place));
            }
        }
        std::string why;
        const auto positive = [&](std::string_view key, bool strictly) -> std::optional<Span> {
            const auto span = progression(*level, key, why);
            if (!span) {
                fault(why);
            } else if (strictly ? truncated(span->low) < 1 : span->low < 0) {
                fault("\"" + std::string(key) + "\" falls to " + number(span->low) +
                      (strictly ? ", it must stay above 0" : ", it must not go below 0"));
            }
            return span;
        };
        positive("pointsPerMatch", true);
        positive("playTime", true);
        positive("timeBonus", false);
        positive("bonusAt", true);
        positive("bonusSpeed", false);
        positive("multiplierTime", true);
        if (*type == GameType::Classic || *type == GameType::FreeCell ||
            *type == GameType::Triple) {
            positive("tileDistMin", false);
            positive("tileDistMax", false);
        }
        if (*type == GameType::Split || *type == GameType::Speed) {
            int least = 0;
            for (const char* key : {"firstHand", "secondHand", "thirdHand"}) {
                if (const auto span = positive(key, false)) {
                    least += truncated(span->low);
                }
            }
            if (least < 1) {
                fault("the three hands can all fall to 0");
            }
        }
        std::optional<Span> rackIndex;
        if (*type == GameType::FreeCell || *type == GameType::Split || *type == GameType::Speed) {
            rackIndex = positive("sideBoardIndex", false);
        }
        if (medals) {
            const auto silver = toNumber(keyText(*level, "silver"));
            const auto gold = toNumber(keyText(*level, "gold"));
            if (!silver || !gold || *silver < 1 || *gold <= *silver) {
                fault("\"silver\" and \"gold\" must be scores with silver below gold");
            }
        }
        // The layout list, in the form of the level files.
        const TiXmlElement* hard = childWithId(*level, "hard");
        if (hard == nullptr) {
            fault("the layout list has no \"hard\" part");
            return;
        }
        std::vector<std::string> names;
        for (const char* part : {"intro", "easy", "normal", "hard"}) {
            if (const TiXmlElement* list = childWithId(*level, part)) {
                std::string listFault;
                const bool counted =
                    std::string_view(part) == "easy" || std::string_view(part) == "normal";
                for (std::string& name : listNames(*list, counted, listFault)) {
                    names.push_back(std::move(name));
                }
                if (!listFault.empty()) {
                    fault(listFault);
                }
            }
        }
        if (names.empty()) {
            fault("it names no layout");
        }
        const std::string typeText(kGameTypeNames[static_cast<std::size_t>(*type)]);
        for (const std::string& name : names) {
            const std::string id = name.size() > 4 && name.substr(name.size() - 4) == ".xml"
                                       ? name.substr(0, name.size() - 4)
                                       : std::string();
            const auto found = layouts.find(id);
            if (found == layouts.end()) {
                fault("the layout \"" + name + "\" does not exist");
                continue;
            }
            const LayoutDesign& layout = found->second;
            const std::string unfit = gameTypeFault(layout, *type, suitSizes);
            if (!unfit.empty()) {
                std::string what = name;
                what += ": ";
                what += unfit;
                fault(what);
            }
            if (rackIndex && !layout.racks.empty() &&
                (truncated(rackIndex->low) < 0 ||
                 truncated(rackIndex->high) >= static_cast<int>(layout.racks.size()))) {
                std::string what = name;
                what += ": \"sideBoardIndex\" reaches " +
                        std::to_string(truncated(rackIndex->high)) + " but the layout has ";
                what += std::to_string(layout.racks.size()) + " racks";
                fault(what);
            }
        }
    }
};

const TiXmlElement* area(const TiXmlDocument& document, std::string_view id) {
    const TiXmlElement* root = document.RootElement();
    return root != nullptr ? childWithId(*root, id) : nullptr;
}

} // namespace

std::vector<std::string> levelFaults(const std::map<std::string, std::string>& levelFiles,
                                     const std::map<std::string, LayoutDesign>& layouts,
                                     const std::vector<int>& suitSizes) {
    std::vector<std::string> faults;
    LevelChecker checker{layouts, suitSizes, faults};
    std::map<std::string, TiXmlDocument> documents;
    for (const char* file : {"hallway.xml", "casino.xml", "recroom.xml", "roof.xml"}) {
        const auto found = levelFiles.find(file);
        if (found == levelFiles.end()) {
            faults.push_back(std::string(file) + ": missing");
            continue;
        }
        TiXmlDocument& document = documents[file];
        document.Parse(found->second.c_str());
        if (document.Error()) {
            faults.push_back(std::string(file) + ": " + document.ErrorDesc() + " (line " +
                             std::to_string(document.ErrorRow()) + ")");
            documents.erase(file);
        }
    }
    const auto children = [](const TiXmlElement* parent) {
        std::vector<const TiXmlElement*> list;
        for (const TiXmlElement* e = parent != nullptr ? parent->FirstChildElement() : nullptr;
             e != nullptr; e = e->NextSiblingElement()) {
            list.push_back(e);
        }
        return list;
    };
    if (documents.count("hallway.xml") != 0) {
        const auto floors = children(area(documents["hallway.xml"], "hallway"));
        if (floors.size() != 20) {
            faults.push_back("hallway.xml: \"hallway\" holds " + std::to_string(floors.size()) +
                             " floors, not 20");
        }
        for (std::size_t f = 0; f < floors.size(); ++f) {
            const auto rooms = children(floors[f]);
            const std::string floor = "hallway.xml, floor " + std::to_string(f + 1);
            if (rooms.size() != 5) {
                faults.push_back(floor + ": " + std::to_string(rooms.size()) + " rooms, not 5");
            }
            for (std::size_t r = 0; r < rooms.size(); ++r) {
                checker.check(rooms[r], floor + ", room " + std::to_string(r + 1), std::nullopt, 0,
                              true);
            }
        }
    }
    static constexpr std::array<const char*, 3> kDifficulties{"normal", "hard", "expert"};
    if (documents.count("casino.xml") != 0) {
        const TiXmlElement* casino = area(documents["casino.xml"], "casino");
        for (std::size_t t = 0; t < 5; ++t) {
            const std::string typeName(kGameTypeNames[t]);
            const TiXmlElement* type = casino != nullptr ? childWithId(*casino, typeName) : nullptr;
            for (const char* difficulty : kDifficulties) {
                const TiXmlElement* node =
                    type != nullptr ? childWithId(*type, difficulty) : nullptr;
                checker.check(node != nullptr ? childWithId(*node, "level") : nullptr,
                              "casino.xml, " + typeName + " " + difficulty,
                              static_cast<GameType>(t), std::nullopt, false);
            }
        }
    }
    if (documents.count("roof.xml") != 0) {
        const TiXmlElement* roof = area(documents["roof.xml"], "roof");
        const TiXmlElement* speed = roof != nullptr ? childWithId(*roof, "Speed") : nullptr;
        for (const char* difficulty : kDifficulties) {
            const TiXmlElement* node = speed != nullptr ? childWithId(*speed, difficulty) : nullptr;
            checker.check(node != nullptr ? childWithId(*node, "level") : nullptr,
                          std::string("roof.xml, Speed ") + difficulty, GameType::Speed, 3, false);
        }
    }
    if (documents.count("recroom.xml") != 0) {
        const auto series = children(area(documents["recroom.xml"], "recroom"));
        if (series.size() != 5) {
            faults.push_back("recroom.xml: \"recroom\" holds " + std::to_string(series.size()) +
                             " series, not 5 (one per game type from Classic to River)");
        }
        for (std::size_t s = 0; s < series.size(); ++s) {
            const auto levels = children(series[s]);
            if (levels.empty()) {
                faults.push_back("recroom.xml, series " + std::to_string(s + 1) + ": no levels");
            }
            // The first five series have their game types; a sixth has none.
            std::optional<GameType> type;
            if (s < 5) {
                type.emplace(static_cast<GameType>(s));
            }
            for (std::size_t k = 0; k < levels.size(); ++k) {
                checker.check(levels[k],
                              "recroom.xml, series " + std::to_string(s + 1) + ", level " +
                                  std::to_string(k + 1),
                              type, 2, false);
            }
        }
    }
    return faults;
}

} // namespace orv::media
