#include "tools/media/MadeCache.h"

#include "tools/media/Fail.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>
#include <zlib.h>

namespace orv::media {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEntryMagic = "orvanta-made-media-1\n";
constexpr std::string_view kEntryEnd = "end\n";

// Two independent sums (FNV-1a over 64 bits and zlib's CRC-32) make a key
// that no edit of the inputs can keep by chance.
class KeySum {
public:
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        for (std::size_t k = 0; k < size; ++k) {
            fnv_ = (fnv_ ^ bytes[k]) * 0x100000001B3ULL;
        }
        crc_ = crc32_z(crc_, bytes, size);
    }
    void add(std::string_view text) {
        const std::uint64_t size = text.size();
        add(&size, sizeof size);
        add(text.data(), text.size());
    }
    void addFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            fail("cannot read " + path.string());
        }
        std::array<char, 1 << 16> buffer{};
        while (in) {
            in.read(buffer.data(), buffer.size());
            add(buffer.data(), static_cast<std::size_t>(in.gcount()));
        }
    }
    [[nodiscard]] std::string text() const {
        std::array<char, 32> out{};
        std::snprintf(out.data(), out.size(), "%016llx%08lx", static_cast<unsigned long long>(fnv_),
                      static_cast<unsigned long>(crc_));
        return out.data();
    }

private:
    std::uint64_t fnv_ = 0xCBF29CE484222325ULL;
    uLong crc_ = crc32_z(0L, Z_NULL, 0);
};

// Every regular file under `folder`, by its generic path relative to it, in
// name order (directory order differs from one file system to another).
std::vector<fs::path> filesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error)) {
            files.push_back(fs::relative(it->path(), folder, error));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A file's size and modification time, for files too large to read whole
// on every run.
void addStamp(KeySum& sum, const fs::path& file) {
    std::error_code error;
    const std::uint64_t size = fs::file_size(file, error);
    const auto time = fs::last_write_time(file, error).time_since_epoch().count();
    sum.add(&size, sizeof size);
    sum.add(&time, sizeof time);
}

void putNumber(std::ofstream& out, std::uint64_t value) {
    out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

void putBytes(std::ofstream& out, const void* data, std::size_t size) {
    putNumber(out, size);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Reads an entry back from its bytes; every length is checked against what
// is left, so a cut or damaged entry reads as none.
class EntryReader {
public:
    explicit EntryReader(const std::vector<char>& bytes) : bytes_(bytes) {}

    bool expect(std::string_view text) {
        if (left() < text.size() || !std::equal(text.begin(), text.end(), bytes_.begin() + at_)) {
            return false;
        }
        at_ += text.size();
        return true;
    }
    bool number(std::uint64_t& value) {
        if (left() < sizeof value) {
            return false;
        }
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), sizeof value,
                    reinterpret_cast<char*>(&value));
        at_ += sizeof value;
        return true;
    }
    template <class Out>
    bool block(Out& out) {
        std::uint64_t size = 0;
        if (!number(size) || left() < size) {
            return false;
        }
        const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(at_);
        out.assign(first, first + static_cast<std::ptrdiff_t>(size));
        at_ += size;
        return true;
    }
    [[nodiscard]] bool atEnd() const { return at_ == bytes_.size(); }

private:
    [[nodiscard]] std::size_t left() const { return bytes_.size() - at_; }

    const std::vector<char>& bytes_;
    std::size_t at_ = 0;
};

} // namespace

MadeCache::MadeCache(fs::path folder, bool writable)
    : folder_(std::move(folder)), writable_(writable) {}

void MadeCache::computeKey(const fs::path& source, const fs::path& fonts) {
    KeySum sum;
    sum.add("tool");
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        fail("cannot find the tool's own executable: " + error.message());
    }
    // Its size and time stand for its contents: every build of it is newer.
    addStamp(sum, self);
    for (const char* part : {"properties", "layouts"}) {
        sum.add(part);
        for (const fs::path& file : filesUnder(source / part)) {
            if (std::string_view(part) == "properties" &&
                file.generic_string() == "resources.xml") {
                continue;
            }
            sum.add(file.generic_string());
            sum.addFile(source / part / file);
        }
    }
    sum.add("fonts");
    for (const fs::path& file : filesUnder(fonts)) {
        sum.add(file.generic_string());
        addStamp(sum, fonts / file);
    }
    key_ = sum.text();
}

fs::path MadeCache::entryPath() const {
    return folder_ / (key_ + ".made");
}

std::optional<MadeFiles> MadeCache::find() const {
    std::ifstream in(entryPath(), std::ios::binary);
    if (key_.empty() || !in) {
        return std::nullopt;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    EntryReader reader(bytes);
    MadeFiles made;
    std::uint64_t count = 0;
    if (!reader.expect(kEntryMagic) || !reader.number(count)) {
        return std::nullopt;
    }
    for (std::uint64_t k = 0; k < count; ++k) {
        std::string name;
        Bytes content;
        if (!reader.block(name) || !reader.block(content)) {
            return std::nullopt;
        }
        made.files.emplace(std::move(name), std::move(content));
    }
    if (!reader.block(made.sheet) || !reader.expect(kEntryEnd) || !reader.atEnd()) {
        return std::nullopt;
    }
    return made;
}

void MadeCache::store(const MadeFiles& made) const {
    if (!writable_ || key_.empty()) {
        return;
    }
    std::error_code error;
    fs::create_directories(folder_, error);
    const fs::path part = entryPath().string() + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(kEntryMagic.data(), static_cast<std::streamsize>(kEntryMagic.size()));
        putNumber(out, made.files.size());
        for (const auto& [name, content] : made.files) {
            putBytes(out, name.data(), name.size());
            putBytes(out, content.data(), content.size());
        }
        putBytes(out, made.sheet.data(), made.sheet.size());
        out.write(kEntryEnd.data(), static_cast<std::streamsize>(kEntryEnd.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "media_tool: cannot keep the made media in %s\n",
                         folder_.string().c_str());
            fs::remove(part, error);
            return;
        }
    }
    fs::rename(part, entryPath(), error);
    // Only the newest entries stay: each holds a whole media set.
    std::vector<std::pair<fs::file_time_type, fs::path>> entries;
    for (const auto& entry : fs::directory_iterator(folder_, error)) {
        if (entry.path().extension() == ".made") {
            entries.emplace_back(entry.last_write_time(error), entry.path());
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t k = kKeptEntries; k < entries.size(); ++k) {
        fs::remove(entries[k].second, error);
    }
}

} // namespace orv::media
