#include "engine/resources/ImageContainer.h"

namespace orv {

constinit const ClassRecord ImageContainer::classRecord{"ImageContainer"};

} // namespace orv
