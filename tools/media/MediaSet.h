#pragma once

#include "tools/media/Raster.h"

#include <filesystem>
#include <map>
#include <string>

namespace orv::media {

/// Where the game reads a file from, as a resource's "archive" key says.
enum class Storage {
    ArchiveAndLoose, ///< entry of media.dat, with the loose file as fallback
    LooseOnly,       ///< loose file only (streams, "file")
    ScrambledLoose,  ///< "encryptfile": scrambled loose file "<name>.!"
    ScrambledArchive ///< "encryptzip": scrambled entry and loose file "<name>.!"
};

/// Every file of the game's media, by its path relative to the program's
/// folder ("media/fonts/text.xml"), with the way it is stored. Paths are
/// lower case: the engine keys resources by the lower-cased name.
class MediaSet {
public:
    /// Adds or replaces a file; new files are stored in the archive and loose.
    void add(const std::string& path, Bytes bytes);
    [[nodiscard]] bool contains(const std::string& path) const;
    /// Changes how a file is stored; fails the tool for an unknown path.
    void setStorage(const std::string& path, Storage storage);
    [[nodiscard]] const std::map<std::string, std::pair<Bytes, Storage>>& files() const {
        return files_;
    }

    /// Replaces `<folder>/media` with the loose files (scrambled ones under
    /// their ".!" names). Fails the tool when a file cannot be written.
    void writeLoose(const std::filesystem::path& folder) const;
    /// Writes the zip archive `archive` (through a temporary file renamed
    /// into place) with the archive's entries in path order, every entry
    /// dated 2020-01-01 00:00 so the bytes repeat from run to run.
    void writeArchive(const std::filesystem::path& archive) const;

private:
    std::map<std::string, std::pair<Bytes, Storage>> files_;
};

/// The engine's scrambling of "encryptfile" and "encryptzip" files, applied
/// in place (it is its own inverse).
void scramble(Bytes& bytes);

} // namespace orv::media
