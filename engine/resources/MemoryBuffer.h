#pragma once

#include "engine/core/BaseObject.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace orv {

/// An owned block of bytes and its size, as file readers hand it out.
///
/// Every block made by `allocate` has one byte more than its size, set to 0,
/// so a text file read into the buffer can be parsed in place as a C string.
///
///     RefPtr<MemoryBuffer> buffer(new MemoryBuffer());
///     if (FileArchive::readFile("media/properties/text.xml", *buffer, ArchiveMode::Global)) {
///         parse(buffer->getText());
///     }
class MemoryBuffer : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    MemoryBuffer() = default;

    /// Replaces the content by `size` zero bytes plus the terminating 0. False
    /// (and the buffer left as it was) when the memory cannot be had.
    [[nodiscard]] bool allocate(std::uint32_t size);
    /// Frees the content; the size becomes 0 and the data null.
    void clear();
    /// Exchanges the contents of two buffers.
    void swap(MemoryBuffer& other) noexcept;

    /// Bytes of content, not counting the terminating 0.
    [[nodiscard]] std::uint32_t getSize() const { return size_; }
    /// The content, null when empty. Owned by the buffer: valid until the next
    /// `allocate`, `clear`, `swap` or the buffer's end.
    [[nodiscard]] std::uint8_t* getData() { return data_.get(); }
    [[nodiscard]] const std::uint8_t* getData() const { return data_.get(); }
    /// The content as a 0-terminated string ("" when empty); same lifetime.
    [[nodiscard]] const char* getText() const;
    /// The content as bytes; same lifetime.
    [[nodiscard]] std::string_view getView() const;

private:
    std::uint32_t size_ = 0;
    std::unique_ptr<std::uint8_t[]> data_;
};

} // namespace orv
