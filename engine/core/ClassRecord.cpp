#include "engine/core/ClassRecord.h"

namespace orv {

bool ClassRecord::isKindOf(const ClassRecord& other) const {
    if (this == &other) {
        return true;
    }
    for (const ClassRecord* parent : parents_) {
        if (parent->isKindOf(other)) {
            return true;
        }
    }
    return false;
}

} // namespace orv
