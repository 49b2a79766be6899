#pragma once

#include "engine/core/BaseObject.h"
#include "engine/resources/ArchiveMode.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv {

class MemoryBuffer;

/// What the zip reader reports about the current entry of an archive.
struct ArchiveEntryInfo {
    std::uint32_t versionMadeBy = 0;
    std::uint32_t versionNeeded = 0;
    std::uint32_t flags = 0;
    std::uint32_t compressionMethod = 0;
    std::uint32_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint32_t fileNameLength = 0;
    std::uint32_t extraFieldLength = 0;
    std::uint32_t commentLength = 0;
    std::uint32_t diskNumberStart = 0;
    std::uint32_t internalAttributes = 0;
    std::uint32_t externalAttributes = 0;
    /// The entry's name as stored, at most 255 bytes (longer names are cut).
    std::string name;
    /// Not read; kept empty.
    std::string extraField;
    std::string comment;
};

/// The zip archive the game's data is packed in, and the one function through
/// which every data file is read (`readFile`).
///
/// A file is found in the archive or as a loose file on disk, as its access
/// mode says (see ArchiveMode), and descrambled when stored scrambled. Start-up
/// calls `setUp` once; `shutDown` releases the archive at exit.
///
///     FileArchive::setUp(ArchiveMode::File, "");        // picks media.dat if present
///     MemoryBuffer buffer;
///     if (!FileArchive::readFile("media/levels/turtle.lay", buffer, ArchiveMode::Global)) {
///         logWarning("media/levels/turtle.lay: cannot be read");
///     }
///
/// Thread safety: `readFile`, `setUp` and `shutDown` may be called from any
/// thread; reads of the archive are serialised by a process-wide lock. The
/// member functions of one archive object are each locked as well, but a
/// sequence of them (locate, open, read, close) is only safe under
/// `readFile`'s lock, so other code should read through `readFile`.
class FileArchive : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Largest entry or loose file `readFile` accepts unless told a smaller
    /// bound: far above any file of the game (its sounds and pictures are a
    /// few megabytes at most), so that neither a size from a damaged header
    /// nor a small, highly compressed entry turns into a huge allocation.
    static constexpr std::uint32_t kMaxFileSize = 64U * 1024U * 1024U;

    /// An archive object for the zip file at `archiveName` (not opened yet:
    /// the first `locate` opens it).
    explicit FileArchive(std::string archiveName = {});
    FileArchive(const FileArchive&) = delete;
    FileArchive& operator=(const FileArchive&) = delete;
    ~FileArchive() override;

    // --- process-wide archive and mode -------------------------------------

    /// Chooses the archive and the global mode. With an empty `archiveName`,
    /// "media.dat" in the current folder is taken when it can be opened, and
    /// the mode becomes `Zip` unless it is `EncryptZip`. The previous archive
    /// is released; a `Global` mode is stored as `EncryptZip`.
    static void setUp(ArchiveMode mode, const std::string& archiveName);
    /// Releases the process-wide archive and resets the global mode to
    /// `Global`. Called in the exit sequence (and by tests).
    static void shutDown();
    /// True once `setUp` has made an archive object (even one with no file).
    [[nodiscard]] static bool hasArchive();
    /// The global mode (`Global` before `setUp`).
    [[nodiscard]] static ArchiveMode getGlobalMode();
    /// A number that changes with every `setUp` and `shutDown`: what a
    /// reader keeps of a file read through `readFile` stays right while it
    /// is unchanged.
    [[nodiscard]] static std::uint32_t getGeneration();

    /// Reads the whole file `name` into `buffer` as `mode` says, and
    /// descrambles it for the scrambled modes. True when the contents are in
    /// the buffer (size > 0, followed by a 0 byte). False when the file is in
    /// neither place, is empty, is larger than `maxSize` bytes (at most
    /// `kMaxFileSize`), or cannot be read whole (a truncated, corrupt or
    /// CRC-failing entry); the buffer is then left as it was. A size over the
    /// bound is refused before anything is allocated or inflated. A loose
    /// file whose exact name is missing is looked up ignoring letter case;
    /// archive entries are always matched ignoring case. Safe from any thread.
    [[nodiscard]] static bool readFile(std::string_view name, MemoryBuffer& buffer,
                                       ArchiveMode mode, std::uint32_t maxSize = kMaxFileSize);

    // --- one archive -------------------------------------------------------

    virtual void addName(const std::string& name);
    /// Closes the archive, then names the zip file it reads.
    virtual void setArchiveName(const std::string& name);
    [[nodiscard]] virtual std::string getArchiveName() const;
    /// Opens the archive when it is not open, and indexes its entries by
    /// name once, so that `locate` costs a lookup instead of a walk through
    /// the archive's directory. A failed open still counts as open (so it is
    /// not retried on every lookup) until `close`; the result says whether a
    /// readable archive is there. A named archive that exists but cannot be
    /// opened is logged with its name (a damaged file).
    virtual bool open();
    /// Closes an open entry and the archive.
    virtual void close();
    /// Moves to the first / next entry and reads its information. False at
    /// the end or on an error.
    [[nodiscard]] virtual bool goToFirstEntry();
    [[nodiscard]] virtual bool goToNextEntry();
    /// Makes the entry called `name` (normalised, ASCII letter case ignored;
    /// the first of several that match) the current one, opening the archive
    /// first. False when it is not there.
    [[nodiscard]] virtual bool locate(std::string_view name);
    /// `locate` then `openCurrentEntry`; true when both succeed.
    [[nodiscard]] virtual bool openEntry(std::string_view name);
    /// Opens the current entry for reading and returns the zip reader's code
    /// (0 on success). An error closes the whole archive.
    virtual int openCurrentEntry();
    /// Refreshes the information of the current entry; false on an error.
    virtual bool readEntryInfo();
    /// Closes the open entry. False when the entry failed its CRC check or
    /// another error occurred; the archive is then closed.
    virtual bool closeEntry();
    [[nodiscard]] virtual const ArchiveEntryInfo& getEntryInfo() const;
    /// The next byte of the open entry, or -1 at its end or on an error.
    virtual int readByte();
    /// Reads up to `length` bytes of the open entry into `buffer`: the count
    /// read (0 at the end), or a negative error code, after which the archive
    /// is closed.
    virtual int read(std::uint8_t* buffer, std::uint32_t length);
    /// Reads the whole current (open) entry into `buffer`. False, with the
    /// buffer left as it was, when the entry is larger than `maxSize` (at
    /// most `kMaxFileSize`), ends early or is corrupt.
    [[nodiscard]] virtual bool readAll(MemoryBuffer& buffer, std::uint32_t maxSize = kMaxFileSize);
    [[nodiscard]] virtual bool isEndOfEntry();
    [[nodiscard]] virtual bool isOpen() const;
    [[nodiscard]] virtual bool isEntryOpen() const;

private:
    struct ZipCloser {
        void operator()(void* handle) const;
    };
    /// Where an entry's record lies in the archive's directory.
    struct EntryPlace {
        std::uint64_t directoryOffset = 0;
        std::uint64_t number = 0;
    };

    // Fills index_ from the open archive's directory.
    void buildIndex();

    std::vector<std::string> names_;
    /// The entries by their stored names in ASCII lower case.
    std::unordered_map<std::string, EntryPlace> index_;
    std::unique_ptr<void, ZipCloser> zip_;
    std::string archiveName_;
    bool isOpen_ = false;
    bool isEntryOpen_ = false;
    ArchiveEntryInfo entryInfo_;
    mutable std::recursive_mutex mutex_;
};

} // namespace orv
