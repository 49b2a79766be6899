#include "engine/properties/AbstractProperty.h"

namespace orv {

// A root record on purpose: type tests over the records treat properties as a
// family of their own.
constinit const ClassRecord AbstractProperty::classRecord{"AbstractProperty"};

} // namespace orv
