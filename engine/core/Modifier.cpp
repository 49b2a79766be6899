#include "engine/core/Modifier.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameNode.h"
#include "engine/core/ModifierContainer.h"
#include "engine/core/RefPtr.h"

#include <cassert>

namespace orv {

namespace {

Modifier* lastAttached = nullptr;

bool isContainer(const Modifier* modifier) {
    return modifier->isKindOf(ModifierContainer::classRecord);
}

[[maybe_unused]] bool isInModifierSubtree(const Modifier* modifier, const Modifier* root) {
    for (; modifier != nullptr; modifier = modifier->getParent()) {
        if (modifier == root) {
            return true;
        }
    }
    return false;
}

} // namespace

constinit const ClassRecord Modifier::classRecord{"Modifier",
                                                  parentRecords<BaseObject::classRecord>};

Modifier::~Modifier() {
    if (lastAttached == this) {
        lastAttached = nullptr;
    }
    if (inTree_ && target_ != nullptr && (finishFlags_ & FinishRemoveTargetOnDestroy) != 0) {
        target_->setRemovalMark(true);
    }
    if (parent_ != nullptr) {
        unlink();
    }
    if (target_ != nullptr) {
        target_->unregisterModifier(this);
        target_ = nullptr;
    }
    releaseChildren();
}

void Modifier::setTarget(GameNode* target) {
    if (target == target_) {
        return;
    }
    // A linked modifier with a target is registered on it; keep it so, or the
    // old target's register would keep a pointer that outlives the modifier.
    if (target_ != nullptr && parent_ != nullptr) {
        target_->unregisterModifier(this);
    }
    target_ = target;
    if (target_ != nullptr && parent_ != nullptr) {
        target_->registerModifier(this);
    }
}

void Modifier::unlink() {
    if (parent_ != nullptr) {
        Modifier** link = &parent_->firstChild_;
        while (*link != nullptr && *link != this) {
            link = &(*link)->nextSibling_;
        }
        assert(*link == this && "a modifier is missing from its parent's chain");
        if (*link == this) {
            *link = nextSibling_;
        }
    }
    parent_ = nullptr;
    nextSibling_ = nullptr;
}

void Modifier::leaveTree(Modifier* modifier) {
    if (modifier->target_ != nullptr) {
        if (modifier->inTree_ && (modifier->finishFlags_ & FinishRemoveTargetOnDestroy) != 0) {
            modifier->target_->setRemovalMark(true);
        }
        modifier->target_->unregisterModifier(modifier);
        modifier->target_ = nullptr;
    }
    modifier->inTree_ = false;
    modifier->releaseChildren();
    modifier->release();
}

void Modifier::releaseChildren() {
    Modifier* child = firstChild_;
    firstChild_ = nullptr;
    while (child != nullptr) {
        Modifier* next = child->nextSibling_;
        child->parent_ = nullptr;
        child->nextSibling_ = nullptr;
        leaveTree(child);
        child = next;
    }
}

Modifier* Modifier::attachTo(Modifier* parent, Modifier* modifier) {
    assert(parent != nullptr && modifier != nullptr);
    assert(!isInModifierSubtree(parent, modifier) && "a modifier cannot become its own descendant");
    // `detach` drops the target of a linked modifier; moving it to another
    // parent must not leave it running on nothing, so the target stays.
    GameNode* target = modifier->target_;
    detach(modifier);
    modifier->target_ = target;
    modifier->parent_ = parent;
    Modifier** link = &parent->firstChild_;
    while (*link != nullptr) {
        link = &(*link)->nextSibling_;
    }
    *link = modifier;
    if (target != nullptr) {
        target->registerModifier(modifier);
    }
    lastAttached = modifier;
    return modifier;
}

void Modifier::detach(Modifier* modifier) {
    modifier->inTree_ = true;
    if (modifier->parent_ != nullptr) {
        modifier->unlink(); // the tree's reference passes to the caller
        if (modifier->target_ != nullptr) {
            modifier->target_->unregisterModifier(modifier);
            modifier->target_ = nullptr;
        }
    } else {
        modifier->addRef();
    }
}

Modifier* Modifier::removeFromTree(Modifier* modifier) {
    Modifier* parent = modifier->parent_;
    Modifier* inPlace = nullptr;
    if (parent != nullptr) {
        Modifier** link = &parent->firstChild_;
        while (*link != modifier) {
            link = &(*link)->nextSibling_;
        }
        Modifier* after = modifier->nextSibling_;
        if (modifier->firstChild_ != nullptr) {
            inPlace = modifier->firstChild_;
            Modifier* last = inPlace;
            for (Modifier* child = inPlace; child != nullptr; child = child->nextSibling_) {
                child->parent_ = parent;
                last = child;
            }
            last->nextSibling_ = after;
        } else {
            inPlace = after;
        }
        *link = inPlace;
        modifier->firstChild_ = nullptr;
        modifier->parent_ = nullptr;
        modifier->nextSibling_ = nullptr;
    }
    if (modifier->target_ != nullptr) {
        modifier->target_->unregisterModifier(modifier);
        modifier->target_ = nullptr;
    }
    modifier->inTree_ = false;
    if (parent != nullptr) {
        modifier->release(); // the tree's reference
    }
    return inPlace;
}

Modifier* Modifier::getLastAttached() {
    return lastAttached;
}

void Modifier::setLastAttached(Modifier* modifier) {
    lastAttached = modifier;
}

void updateModifierTree(Modifier* root, int dtMs) {
    Modifier* modifier = root;
    while (modifier != nullptr) {
        // Held for its turn (the root is the caller's): game code run by an
        // update may take it out of the tree.
        const RefPtr<Modifier> hold = modifier != root ? modifier : nullptr;
        if (!modifier->isKilled()) {
            if (!modifier->isPaused() && !modifier->isDone()) {
                modifier->update(dtMs);
            }
            // A modifier taken out of the tree by its own update is not entered.
            const bool linked = modifier == root || modifier->getParent() != nullptr;
            const bool enter = linked && modifier->isDone() && !modifier->isKilled() &&
                               modifier->getFirstChild() != nullptr &&
                               !(modifier->isPaused() && isContainer(modifier));
            if (enter) {
                modifier = modifier->getFirstChild();
                continue;
            }
        }
        // Next sibling, or up to the nearest ancestor that has one; a
        // modifier taken out of the tree meanwhile ends the walk.
        Modifier* step = modifier;
        while (step != nullptr && step != root && step->getNextSibling() == nullptr) {
            step = step->getParent();
        }
        modifier = (step == nullptr || step == root) ? nullptr : step->getNextSibling();
    }
}

void purgeModifierTree(Modifier* modifier) {
    // Children first. Each child and the next one are held: a release may run
    // destructors that take other modifiers out of the tree.
    RefPtr<Modifier> child = modifier->firstChild_;
    while (child) {
        RefPtr<Modifier> next = child->nextSibling_;
        purgeModifierTree(child.get());
        if (next && next->parent_ != modifier) {
            break; // taken out meanwhile; the next purge sees the rest
        }
        child = std::move(next);
    }

    if (modifier->killed_) {
        // Only a parent link holds a reference that the purge may drop. The
        // modifier leaves the tree for good, so that one held elsewhere is not
        // released again by every later purge.
        if (modifier->parent_ != nullptr) {
            modifier->unlink();
            Modifier::leaveTree(modifier);
        }
        return;
    }
    if (!modifier->isDone() || isContainer(modifier)) {
        return;
    }
    if (GameNode* target = modifier->target_; target != nullptr) {
        const std::uint32_t flags = modifier->finishFlags_;
        if ((flags & Modifier::FinishKillContainer) != 0) {
            for (Modifier* above = modifier->parent_; above != nullptr; above = above->parent_) {
                if (isContainer(above)) {
                    if (!above->isKindOf(AnimTree::classRecord)) {
                        above->killed_ = true;
                    }
                    break;
                }
            }
        }
        if ((flags & Modifier::FinishRemoveTarget) != 0) {
            target->setRemovalMark(true);
        }
        if ((flags & Modifier::FinishKillEarlier) != 0 && modifier->target_ != nullptr) {
            modifier->target_->killRegisteredUpTo(modifier, modifier);
        }
    }
    Modifier::removeFromTree(modifier);
}

} // namespace orv
