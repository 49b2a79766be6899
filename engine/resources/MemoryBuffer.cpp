#include "engine/resources/MemoryBuffer.h"

#include <new>
#include <utility>

namespace orv {

constinit const ClassRecord MemoryBuffer::classRecord{"MemoryBuffer",
                                                      parentRecords<BaseObject::classRecord>};

bool MemoryBuffer::allocate(std::uint32_t size) {
    // The size comes from file headers and lengths on disk: a failed
    // allocation must be an answer, not an abort.
    std::unique_ptr<std::uint8_t[]> block(new (std::nothrow)
                                              std::uint8_t[static_cast<std::size_t>(size) + 1]());
    if (!block) {
        return false;
    }
    data_ = std::move(block);
    size_ = size;
    return true;
}

void MemoryBuffer::clear() {
    data_.reset();
    size_ = 0;
}

void MemoryBuffer::swap(MemoryBuffer& other) noexcept {
    std::swap(size_, other.size_);
    std::swap(data_, other.data_);
}

const char* MemoryBuffer::getText() const {
    return data_ ? reinterpret_cast<const char*>(data_.get()) : "";
}

std::string_view MemoryBuffer::getView() const {
    return data_ ? std::string_view(reinterpret_cast<const char*>(data_.get()), size_)
                 : std::string_view();
}

} // namespace orv
