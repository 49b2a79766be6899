#include "game/screen/ModifierApply.h"

#include "engine/resources/Image.h"
#include "engine/scene/Sprite.h"

namespace orv {

ModifierApply::ModifierApply(Image* image) : image_(image) {}

void ModifierApply::update(int /*dtMs*/) {
    if (isDone()) {
        return;
    }
    if (auto* sprite = kindCast<Sprite>(getTarget()); sprite != nullptr) {
        sprite->setImage(image_.get());
    }
    finish();
}

} // namespace orv
