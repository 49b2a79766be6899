#include "engine/graphics/FontLayer.h"

namespace orv {

constinit const ClassRecord FontLayer::classRecord{"FontLayer",
                                                   parentRecords<BaseObject::classRecord>};

FontLayer::FontLayer(int padding, std::uint32_t color, Image* image)
    : padding_(padding), color_(color), image_(image) {}

FontLayer::~FontLayer() = default;

} // namespace orv
