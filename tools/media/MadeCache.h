#pragma once

#include "tools/media/Raster.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace orv::media {

/// What one run of the generators made before the resource list is applied:
/// every file by its path (the property files copied from the sources among
/// them) and the encoded contact sheet.
struct MadeFiles {
    std::map<std::string, Bytes> files;
    Bytes sheet;
};

/// A folder of earlier runs' generated media, so that a run whose inputs are
/// those of an earlier run copies its pictures, fonts and sounds instead of
/// drawing them again (the build runs the tool once and its tests run it on
/// copies of the same sources).
///
/// An entry is keyed by everything the generators read: the size and time of
/// the tool's own executable, every file under the source folder's `properties/` and
/// `layouts/` except the resource list `properties/resources.xml` (which
/// only decides how the made files are stored), and the names, sizes and times of the files under
/// the fonts folder. Any other change makes a new key, so a stale entry is never used.
class MadeCache {
public:
    /// `folder` holds the entries; `writable` false only reads them.
    MadeCache(std::filesystem::path folder, bool writable);

    /// Works out the key of a run over `source` and `fonts`. Fails the tool
    /// when its own executable cannot be read.
    void computeKey(const std::filesystem::path& source, const std::filesystem::path& fonts);

    /// The entry of the key, or nothing when there is none or it cannot be
    /// read whole (a damaged entry is made again, never trusted).
    [[nodiscard]] std::optional<MadeFiles> find() const;

    /// Stores `made` under the key (through a temporary file renamed into
    /// place, so that runs at the same time never read half an entry) and
    /// keeps only the newest few entries. Does nothing when read-only; a
    /// failure to write is only reported: the run's output is complete
    /// without it.
    void store(const MadeFiles& made) const;

    /// How many entries the folder keeps, newest first.
    static constexpr int kKeptEntries = 3;

private:
    [[nodiscard]] std::filesystem::path entryPath() const;

    std::filesystem::path folder_;
    bool writable_;
    std::string key_;
};

} // namespace orv::media
