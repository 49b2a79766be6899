#include "engine/graphics/Font.h"

namespace orv {

constinit const ClassRecord Font::classRecord{"Font", parentRecords<BaseObject::classRecord>};

Font::~Font() = default;

} // namespace orv
