#include "tools/media/OpenTypeKerning.h"

#include <algorithm>
#include <bit>
#include <set>

namespace orv::media {

namespace {

constexpr std::uint16_t pairLookup = 2;
constexpr std::uint16_t extensionLookup = 9;
constexpr std::uint16_t xAdvanceBit = 0x0004;

// Big-endian reads that answer 0 (and clear `ok`) past the end.
class Reader {
public:
    explicit Reader(const Bytes& bytes) : bytes_(bytes) {}
    [[nodiscard]] std::uint16_t u16(std::size_t at) const {
        if (at + 2 > bytes_.size()) {
            ok_ = false;
            return 0;
        }
        return static_cast<std::uint16_t>((bytes_[at] << 8) | bytes_[at + 1]);
    }
    [[nodiscard]] std::int16_t s16(std::size_t at) const {
        return static_cast<std::int16_t>(u16(at));
    }
    [[nodiscard]] std::uint32_t u32(std::size_t at) const {
        return (static_cast<std::uint32_t>(u16(at)) << 16) | u16(at + 2);
    }
    [[nodiscard]] bool ok() const { return ok_; }

private:
    const Bytes& bytes_;
    mutable bool ok_ = true;
};

// The position of `glyph` in a coverage table, or -1.
int coverageIndex(const Reader& r, std::size_t at, std::uint16_t glyph) {
    const std::uint16_t format = r.u16(at);
    const std::uint16_t count = r.u16(at + 2);
    if (format == 1) {
        int lo = 0;
        int hi = count - 1;
        while (lo <= hi && r.ok()) {
            const int mid = (lo + hi) / 2;
            const std::uint16_t g = r.u16(at + 4 + 2 * static_cast<std::size_t>(mid));
            if (g == glyph) {
                return mid;
            }
            if (g < glyph) {
                lo = mid + 1;
            } else {
                hi = mid - 1;
            }
        }
    } else if (format == 2) {
        for (std::size_t k = 0; k < count && r.ok(); ++k) {
            const std::size_t record = at + 4 + 6 * k;
            const std::uint16_t start = r.u16(record);
            const std::uint16_t end = r.u16(record + 2);
            if (glyph >= start && glyph <= end) {
                return r.u16(record + 4) + (glyph - start);
            }
        }
    }
    return -1;
}

// The class of `glyph` in a class definition table (0 when unlisted).
int classOf(const Reader& r, std::size_t at, std::uint16_t glyph) {
    const std::uint16_t format = r.u16(at);
    if (format == 1) {
        const std::uint16_t start = r.u16(at + 2);
        const std::uint16_t count = r.u16(at + 4);
        if (glyph >= start && glyph - start < count) {
            return r.u16(at + 6 + 2 * static_cast<std::size_t>(glyph - start));
        }
    } else if (format == 2) {
        const std::uint16_t count = r.u16(at + 2);
        for (std::size_t k = 0; k < count && r.ok(); ++k) {
            const std::size_t record = at + 4 + 6 * k;
            if (glyph >= r.u16(record) && glyph <= r.u16(record + 2)) {
                return r.u16(record + 4);
            }
        }
    }
    return 0;
}

std::size_t valueSize(std::uint16_t format) {
    return 2 * static_cast<std::size_t>(std::popcount(static_cast<unsigned>(format & 0xFF)));
}

// The x advance of a value record (0 when the record has none).
int xAdvance(const Reader& r, std::size_t at, std::uint16_t format) {
    if ((format & xAdvanceBit) == 0) {
        return 0;
    }
    const std::size_t before = valueSize(format & (xAdvanceBit - 1));
    return r.s16(at + before);
}

} // namespace

OpenTypeKerning::OpenTypeKerning(Bytes gpos) : table_(std::move(gpos)) {
    const Reader r(table_);
    if (table_.size() < 10 || r.u16(0) != 1) {
        return;
    }
    const std::size_t featureList = r.u16(6);
    const std::size_t lookupList = r.u16(8);
    // Every lookup that a "kern" feature of any script uses, once, in order.
    std::set<std::uint16_t> lookups;
    const std::uint16_t features = r.u16(featureList);
    for (std::size_t k = 0; k < features && r.ok(); ++k) {
        const std::size_t record = featureList + 2 + 6 * k;
        if (record + 4 > table_.size() ||
            !std::equal(table_.begin() + static_cast<std::ptrdiff_t>(record),
                        table_.begin() + static_cast<std::ptrdiff_t>(record) + 4, "kern")) {
            continue;
        }
        const std::size_t feature = featureList + r.u16(record + 4);
        const std::uint16_t count = r.u16(feature + 2);
        for (std::size_t i = 0; i < count && r.ok(); ++i) {
            lookups.insert(r.u16(feature + 4 + 2 * i));
        }
    }
    const std::uint16_t lookupCount = r.u16(lookupList);
    for (const std::uint16_t index : lookups) {
        if (index >= lookupCount || !r.ok()) {
            continue;
        }
        const std::size_t lookup = lookupList + r.u16(lookupList + 2 + 2 * std::size_t{index});
        const std::uint16_t type = r.u16(lookup);
        const std::uint16_t count = r.u16(lookup + 4);
        std::vector<std::size_t> pairs;
        for (std::size_t s = 0; s < count && r.ok(); ++s) {
            std::size_t subtable = lookup + r.u16(lookup + 6 + 2 * s);
            std::uint16_t subtype = type;
            if (type == extensionLookup) {
                subtype = r.u16(subtable + 2);
                subtable += r.u32(subtable + 4);
            }
            if (subtype == pairLookup && subtable < table_.size()) {
                pairs.push_back(subtable);
            }
        }
        if (!pairs.empty() && r.ok()) {
            subtables_.push_back(std::move(pairs));
        }
    }
}

int OpenTypeKerning::pairAdjustment(std::size_t at, std::uint16_t left, std::uint16_t right,
                                    bool* matched) const {
    const Reader r(table_);
    const std::uint16_t format = r.u16(at);
    const int covered = coverageIndex(r, at + r.u16(at + 2), left);
    const std::uint16_t format1 = r.u16(at + 4);
    const std::uint16_t format2 = r.u16(at + 6);
    if (covered < 0 || !r.ok()) {
        return 0;
    }
    const std::size_t recordSize = valueSize(format1) + valueSize(format2);
    if (format == 1) {
        const std::uint16_t sets = r.u16(at + 8);
        if (covered >= sets) {
            return 0;
        }
        const std::size_t set = at + r.u16(at + 10 + 2 * static_cast<std::size_t>(covered));
        const std::uint16_t count = r.u16(set);
        const std::size_t stride = 2 + recordSize;
        int lo = 0;
        int hi = count - 1;
        while (lo <= hi && r.ok()) {
            const int mid = (lo + hi) / 2;
            const std::size_t record = set + 2 + stride * static_cast<std::size_t>(mid);
            const std::uint16_t second = r.u16(record);
            if (second == right) {
                *matched = true;
                return r.ok() ? xAdvance(r, record + 2, format1) : 0;
            }
            if (second < right) {
                lo = mid + 1;
            } else {
                hi = mid - 1;
            }
        }
        return 0;
    }
    if (format == 2) {
        const int class1 = classOf(r, at + r.u16(at + 8), left);
        const int class2 = classOf(r, at + r.u16(at + 10), right);
        const std::uint16_t class1Count = r.u16(at + 12);
        const std::uint16_t class2Count = r.u16(at + 14);
        if (class1 >= class1Count || class2 >= class2Count || !r.ok()) {
            return 0;
        }
        *matched = true;
        const std::size_t record = at + 16 +
                                   recordSize * (static_cast<std::size_t>(class1) * class2Count +
                                                 static_cast<std::size_t>(class2));
        const int value = xAdvance(r, record, format1);
        return r.ok() ? value : 0;
    }
    return 0;
}

int OpenTypeKerning::adjustment(std::uint16_t left, std::uint16_t right) const {
    int total = 0;
    for (const std::vector<std::size_t>& lookup : subtables_) {
        // Within a lookup the first subtable that knows the pair decides.
        for (const std::size_t subtable : lookup) {
            bool matched = false;
            const int value = pairAdjustment(subtable, left, right, &matched);
            if (matched) {
                total += value;
                break;
            }
        }
    }
    return total;
}

} // namespace orv::media
