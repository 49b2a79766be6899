#pragma once

#include "engine/core/BaseObject.h"
#include "engine/resources/ArchiveMode.h"

#include <atomic>
#include <string>
#include <string_view>

namespace orv {

class PropertyNode;

/// One named thing of a resource section (an image, a sound, a music stream
/// or a font) and the file it is loaded from. The kinds are `ImageResource`,
/// `SoundResource`, `StreamResource` and `FontResource`; the object factory
/// builds them from the node children of a section in the resource
/// definitions ("Image", "Sound", "Stream", "Font").
///
/// Every kind reads the keys "file" (kept as the key `makeResourceKey` makes
/// of it) and "archive" (the access mode: "file", "zip", "encryptfile",
/// "encryptzip"; anything else, or none, the global mode).
///
/// `load` runs once per object: on the loader thread without the manager's
/// data lock, or on the main thread under it (`ResourceManager` makes sure
/// never on both at once). A load that fails still marks the object loaded,
/// with the error flag set, so it is never retried; `unload` makes it
/// loadable again. The loaded flag, the error flag and the loaded size may be
/// read from any thread; what the object holds may be used only once it is
/// loaded.
///
///     ResourceObject* logo = manager.findResource("LOGO", "splash");
///     if (logo->isLoaded() && !logo->hasError()) {
///         auto* image = kindCast<Image>(logo->getHeldObject());
///     }
class ResourceObject : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The weight of every object in the manager's progress.
    static constexpr int kObjectSize = 1;

    /// Reads "file" and "archive" from `definition` (null reads as an empty
    /// definition: no file, global mode).
    explicit ResourceObject(PropertyNode* definition);

    /// Reads the file and builds what the object holds. Always ends with
    /// `markLoaded`, also after a failure (then with the error flag set).
    virtual void load() = 0;
    /// What the object holds (its image, sound, stream or font), borrowed
    /// from this object and valid until `unload` or its end; null when it
    /// holds nothing. No reference is taken.
    [[nodiscard]] virtual BaseObject* getHeldObject() const = 0;
    /// Clears the loaded flag, the error flag and the loaded size, and wakes
    /// the process-wide loader; the kinds also release what they hold.
    virtual void unload();
    /// True when `other` would load into the same thing as this object: the
    /// same kind and the same file key (the kinds compare more). Sections
    /// share such objects instead of loading the file twice.
    [[nodiscard]] virtual bool sameFile(const ResourceObject& other) const;
    /// Records the end of a load: the loaded size becomes the size and the
    /// object counts as loaded. Returns the size.
    int markLoaded();

    /// "Has Error: <true|false>; Is Loaded: <true|false>; File Name:
    /// <file key>;\n\t\t\t" followed by the `BaseObject` dump.
    [[nodiscard]] std::string toString() const override;

    [[nodiscard]] const std::string& getFileKey() const { return fileKey_; }
    [[nodiscard]] bool isLoaded() const { return loaded_.load(); }
    [[nodiscard]] bool hasError() const { return hasError_.load(); }
    [[nodiscard]] int getSize() const { return size_; }
    /// `getSize()` while loaded, 0 before and after `unload`.
    [[nodiscard]] int getLoadedSize() const { return loadedSize_.load(); }
    /// The access mode the file is read with.
    [[nodiscard]] ArchiveMode getMode() const { return mode_; }
    /// Changes the access mode (fonts give their layer images their own mode).
    /// Not while the object loads.
    void setMode(ArchiveMode mode) { mode_ = mode; }

protected:
    /// Replaces the file key by the key made of `fileName`. For kinds built
    /// in code.
    void setFileName(std::string_view fileName);
    void setError(bool error) { hasError_.store(error); }
    /// Clears the loaded flag without touching the loaded size (a kind whose
    /// load starts over).
    void clearLoaded() { loaded_.store(false); }

    // Optional keys of a definition node: a key that is missing, or that is
    // not a value, gives `fallback`. `definition` may be null.
    [[nodiscard]] static std::string readTextKey(const PropertyNode* definition,
                                                 std::string_view key, std::string_view fallback);
    [[nodiscard]] static int readIntKey(const PropertyNode* definition, std::string_view key,
                                        int fallback);
    [[nodiscard]] static bool readBoolKey(const PropertyNode* definition, std::string_view key,
                                          bool fallback);
    [[nodiscard]] static float readFloatKey(const PropertyNode* definition, std::string_view key,
                                            float fallback);

private:
    std::string fileKey_;
    std::atomic<bool> loaded_{false};
    std::atomic<bool> hasError_{false};
    int size_ = kObjectSize;
    std::atomic<int> loadedSize_{0};
    ArchiveMode mode_ = ArchiveMode::Global;
};

} // namespace orv
