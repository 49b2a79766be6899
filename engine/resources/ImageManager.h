#pragma once

#include "engine/core/Task.h"
#include "engine/system/Platform.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace orv {

class Image;

/// The process-wide list of live images, so that every image that follows the
/// display format can be converted when the display changes, and the clock
/// images stamp their last use with.
///
/// Start-up creates it before any image and runs it as a frame task (its
/// class record is a root, as the engine's records have it, though the code is
/// a `Task`); images
/// add and remove themselves from any thread. Every operation on the list
/// takes the manager's lock, waiting at most 10 seconds; after a timeout the
/// operation goes on unlocked (and logs it) rather than stall the game.
///
///     ImageManager::create();
///     ImageManager::getInstance()->setPixelFormatAll(4); // window set up
///     ...
///     ImageManager::destroyInstance();
class ImageManager : public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// How long a list operation waits for the lock, in milliseconds.
    static constexpr int kLockWaitMilliseconds = 10000;

    /// Creates the singleton when none exists (holding one reference of its
    /// own) and returns it.
    static ImageManager* create();
    /// The singleton, or null before `create` and after `destroyInstance`.
    /// Borrowed from the singleton's own reference.
    [[nodiscard]] static ImageManager* getInstance();
    /// Drops the singleton's own reference; later images are no longer listed.
    static void destroyInstance();

    ~ImageManager() override;

    /// Lists / unlists one image (borrowed; images call these themselves from
    /// their constructor and destructor). Removing an unlisted image does
    /// nothing.
    void add(Image* image);
    void remove(Image* image);
    [[nodiscard]] bool contains(const Image* image);
    [[nodiscard]] std::size_t getImageCount();

    /// Records the display's bytes per pixel (2 or 4) and converts every listed
    /// image that follows the display format. The window calls it after its
    /// display was set up or changed.
    void setPixelFormatAll(int bytesPerPixel);
    /// Marks `image` to follow the display format and converts it to the
    /// present one, under the same lock as `setPixelFormatAll`.
    void adoptDisplayFormat(Image& image);
    /// The display's bytes per pixel as last set (4 until then).
    [[nodiscard]] int getDisplayBytesPerPixel() const { return displayBytesPerPixel_.load(); }

    /// The per-frame work of the manager's task: nothing is done per frame
    /// (idle images are not compressed on their own).
    void run(int elapsedMs) override;

    /// The clock images stamp on `unlock`; not advanced by the engine.
    [[nodiscard]] std::int64_t getClock() const { return clock_.load(); }
    void setClock(std::int64_t clock) { clock_.store(clock); }
    /// Ticks after which an image counts as idle (2000).
    [[nodiscard]] int getIdleThreshold() const { return idleThreshold_; }
    /// Whether idle images may be compressed (the setting "AUTO_COMPRESS").
    [[nodiscard]] bool getAutoCompress() const { return autoCompress_; }
    void setAutoCompress(bool autoCompress) { autoCompress_ = autoCompress; }

private:
    ImageManager() = default;

    // Holds the lock for one operation when it could be had within the wait.
    class ListLock;

    std::vector<Image*> images_;
    // Read by images on any thread.
    std::atomic<std::int64_t> clock_{0};
    int idleThreshold_ = 2000;
    bool autoCompress_ = false;
    std::atomic<int> displayBytesPerPixel_{4};
    platform::NamedMutex lock_{""};
};

} // namespace orv
