#include "engine/core/GameNode.h"

#include "engine/core/GameTree.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace orv {

constinit const ClassRecord GameNode::classRecord{"GameNode",
                                                  parentRecords<BaseObject::classRecord>};

GameNode::GameNode(std::string_view name) : name_(name) {}

// BaseObject is not copyable (its count belongs to the object), so the copy
// starts a fresh base and takes over only the position, read through the
// virtual getters so that a subclass's notion of position is what is copied.
GameNode::GameNode(const GameNode& other) // NOLINT(bugprone-copy-constructor-init)
    : x_(other.getX()), y_(other.getY()) {}

GameNode::~GameNode() {
    if (parent_ != nullptr) {
        GameTree::unlink(this);
    }
    GameTree::releaseChildren(this);

    // Own modifiers that someone else still holds must not keep pointing here.
    std::vector<RefPtr<Modifier>> own = std::move(ownModifiers_);
    ownModifiers_.clear();
    for (const RefPtr<Modifier>& modifier : own) {
        if (modifier->target_ == this) {
            modifier->target_ = nullptr;
        }
    }
    own.clear();

    unregisterAllModifiers();
}

void GameNode::setPosition(int x, int y) {
    setX(x);
    setY(y);
}

int GameNode::getParentX() const {
    int sum = 0;
    for (const GameNode* node = parent_; node != nullptr; node = node->parent_) {
        sum += node->getX();
    }
    return sum;
}

int GameNode::getParentY() const {
    int sum = 0;
    for (const GameNode* node = parent_; node != nullptr; node = node->parent_) {
        sum += node->getY();
    }
    return sum;
}

Modifier* GameNode::addModifier(Modifier* modifier, bool atBack) {
    modifier->inTree_ = false;
    const auto found = std::find(ownModifiers_.begin(), ownModifiers_.end(), modifier);
    if (found != ownModifiers_.end()) {
        return modifier;
    }
    if (atBack) {
        ownModifiers_.emplace_back(modifier);
    } else {
        ownModifiers_.emplace(ownModifiers_.begin(), modifier);
    }
    modifier->setTarget(this);
    return modifier;
}

void GameNode::removeAllModifiers() {
    // Empty the list before releasing, so that a dying modifier finds the
    // node in a consistent state.
    std::vector<RefPtr<Modifier>> own = std::move(ownModifiers_);
    ownModifiers_.clear();
    own.clear();
}

bool GameNode::registerModifier(Modifier* modifier) {
    if (std::find(registeredModifiers_.begin(), registeredModifiers_.end(), modifier) !=
        registeredModifiers_.end()) {
        return false;
    }
    registeredModifiers_.push_back(modifier);
    return true;
}

bool GameNode::unregisterModifier(Modifier* modifier) {
    const auto found =
        std::find(registeredModifiers_.begin(), registeredModifiers_.end(), modifier);
    if (found == registeredModifiers_.end()) {
        return false;
    }
    registeredModifiers_.erase(found);
    return true;
}

void GameNode::killModifiersUpTo(Modifier* modifier) {
    killRegisteredUpTo(modifier, nullptr);
}

void GameNode::killRegisteredUpTo(Modifier* modifier, const Modifier* sparing) {
    const auto found =
        std::find(registeredModifiers_.begin(), registeredModifiers_.end(), modifier);
    if (found == registeredModifiers_.end()) {
        for (Modifier* registered : registeredModifiers_) {
            registered->killed_ = true;
        }
        return;
    }
    // The stretch leaves the register, so this node could no longer clear
    // their target when it dies: they let go of it now. Flag 16 would have
    // marked this node when the purge lets go of them; it does so now.
    bool markThis = false;
    const auto end = found + 1;
    for (auto it = registeredModifiers_.begin(); it != end; ++it) {
        Modifier* killed = *it;
        killed->killed_ = true;
        if (killed != sparing && killed->inTree_ &&
            (killed->finishFlags_ & Modifier::FinishRemoveTargetOnDestroy) != 0) {
            markThis = true;
        }
        killed->target_ = nullptr;
    }
    registeredModifiers_.erase(registeredModifiers_.begin(), end);
    if (markThis) {
        setRemovalMark(true);
    }
}

void GameNode::unregisterAllModifiers() {
    std::vector<Modifier*> registered = std::move(registeredModifiers_);
    registeredModifiers_.clear();
    for (Modifier* modifier : registered) {
        modifier->target_ = nullptr;
        Modifier::removeFromTree(modifier);
    }
}

bool GameNode::locateOwn(const Modifier* modifier, std::size_t& index) const {
    if (index < ownModifiers_.size() && ownModifiers_[index].get() == modifier) {
        return true;
    }
    const auto found = std::find(ownModifiers_.begin(), ownModifiers_.end(), modifier);
    if (found == ownModifiers_.end()) {
        return false;
    }
    index = static_cast<std::size_t>(found - ownModifiers_.begin());
    return true;
}

void GameNode::update(int elapsedMs) {
    updateSelf(elapsedMs);

    std::size_t index = 0;
    while (index < ownModifiers_.size()) {
        // Held for the turn: a modifier's update may run game code that
        // changes this list; the list is consistent again before anything
        // leaving it is released.
        const RefPtr<Modifier> current = ownModifiers_[index];
        if (current->isKilled()) {
            const RefPtr<Modifier> dropped = std::move(ownModifiers_[index]);
            ownModifiers_.erase(ownModifiers_.begin() + static_cast<std::ptrdiff_t>(index));
            continue;
        }
        if (!current->isPaused()) {
            current->update(elapsedMs);
            if (!locateOwn(current.get(), index)) {
                return;
            }
        }
        const std::uint32_t flags = current->getFinishFlags();
        if (!current->isDone()) {
            if ((flags & Modifier::FinishHoldBack) != 0) {
                return;
            }
            ++index;
            continue;
        }
        if ((flags & Modifier::FinishRemoveTarget) != 0) {
            setRemovalMark(true);
            if (!locateOwn(current.get(), index)) {
                return;
            }
        }
        if ((flags & Modifier::FinishKillEarlier) != 0) {
            // Front first, one at a time, each after the list let go of it.
            for (std::size_t count = index + 1; count > 0 && !ownModifiers_.empty(); --count) {
                const RefPtr<Modifier> dropped = std::move(ownModifiers_.front());
                ownModifiers_.erase(ownModifiers_.begin());
            }
            index = 0;
        } else {
            const RefPtr<Modifier> dropped = std::move(ownModifiers_[index]);
            ownModifiers_.erase(ownModifiers_.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }
}

} // namespace orv
