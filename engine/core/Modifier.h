#pragma once

#include "engine/core/BaseObject.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class GameNode;

/// A timed change applied to a target node (a move, a fade, a frame
/// animation, a sound, a delay, a callback). Kinds derive from it (or from
/// `ModifierFraction`) and implement `update`.
///
/// Modifiers run in one of two places:
/// - in an animation tree (`AnimTree`, one per scene), linked through parent,
///   first-child and next-sibling pointers. A modifier's children start only
///   when it is done; siblings run side by side. Each link holds one reference
///   (the tree's reference). `updateModifierTree` advances the tree once per
///   frame, `purgeModifierTree` later in the same frame applies the finish
///   actions of done modifiers, releases them and lets their children take
///   their place, and releases killed ones with their subtrees.
/// - in a node's own list (`GameNode::addModifier`), which runs them in order
///   (see `GameNode::update`).
///
///     RefPtr<AnimTree> tree(new AnimTree());
///     Modifier* fade = new ModifierAlpha(300, 255, 0);         // count 0
///     fade->setTarget(sprite);                                  // borrowed
///     fade->setFinishFlags(Modifier::FinishRemoveTarget);
///     Modifier::attachTo(tree.get(), fade);                     // the tree holds it
///     Modifier::attachTo(fade, new ModifierFunction(onFaded, this)); // runs after the fade
///
/// The target is borrowed: a node clears the target of every modifier
/// registered on it (or run by it) when it dies, so a modifier never points at
/// a dead node. Main thread only.
class Modifier : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Finish flags (combine with |).
    /// In a node's own list: while not done, hold back the modifiers behind it.
    static constexpr std::uint32_t FinishHoldBack = 1;
    /// When purged (or leaving an own list) as done: mark the target for removal.
    static constexpr std::uint32_t FinishRemoveTarget = 2;
    /// When purged as done: kill every modifier registered on the target up to
    /// and including this one (`GameNode::killModifiersUpTo`). In a node's own
    /// list: release every own modifier in front of it too.
    static constexpr std::uint32_t FinishKillEarlier = 4;
    /// When purged as done: kill the nearest ancestor that is a container,
    /// unless that ancestor is an `AnimTree`.
    static constexpr std::uint32_t FinishKillContainer = 8;
    /// When the tree lets go of it killed, or it is destroyed while in a tree
    /// with its target set: mark the target for removal.
    static constexpr std::uint32_t FinishRemoveTargetOnDestroy = 16;

    /// State bit: the modifier is done.
    static constexpr std::uint32_t StateDone = 1;

    Modifier() = default;
    /// Unlinks the modifier from its parent and its target and releases its
    /// children; marks the target for removal first when flag 16 is set and
    /// the modifier is in a tree.
    ~Modifier() override;

    /// Advances the modifier by `dtMs` milliseconds (>= 0). Calls `finish`
    /// when the change is complete. Called only while not done, not paused and
    /// not killed by the tree walk; a node's own list also calls it while done.
    virtual void update(int dtMs) = 0;
    /// Stores the node to change (borrowed; may be null). While the modifier
    /// is linked in a tree, its registration moves from the old target to the
    /// new one. Kinds that override it call this version. They must not rely
    /// on the target's final class here: a node built from a definition hands
    /// itself over while its own constructor is still running.
    virtual void setTarget(GameNode* target);
    /// Sets the done bit. Kinds extend it (to jump to their end value).
    virtual void finish() { state_ |= StateDone; }

    /// Borrowed from the caller of `setTarget`; null when none.
    [[nodiscard]] GameNode* getTarget() const { return target_; }
    [[nodiscard]] std::uint32_t getFinishFlags() const { return finishFlags_; }
    void setFinishFlags(std::uint32_t flags) { finishFlags_ = flags; }
    [[nodiscard]] std::uint32_t getState() const { return state_; }
    [[nodiscard]] bool isDone() const { return (state_ & StateDone) != 0; }
    /// A killed modifier is skipped with its subtree and released by the next
    /// purge (its children never run).
    [[nodiscard]] bool isKilled() const { return killed_; }
    void setKilled(bool killed) { killed_ = killed; }
    /// A paused modifier is not updated (and, not being done, holds its
    /// children back); a paused container's children are not visited.
    [[nodiscard]] bool isPaused() const { return paused_; }
    void setPaused(bool paused) { paused_ = paused; }
    [[nodiscard]] const std::string& getName() const { return name_; }
    void setName(std::string_view name) { name_ = name; }
    /// Set by `detach` (so by `attachTo`); cleared when a node adopts the
    /// modifier into its own list and when a tree lets go of it.
    [[nodiscard]] bool isInTree() const { return inTree_; }

    /// Tree links, borrowed from the tree; null at the ends.
    [[nodiscard]] Modifier* getParent() const { return parent_; }
    [[nodiscard]] Modifier* getNextSibling() const { return nextSibling_; }
    [[nodiscard]] Modifier* getFirstChild() const { return firstChild_; }

    /// Makes `modifier` the last child of `parent`: `detach` first (so a new
    /// modifier gets the tree's reference, a linked one moves with it), keeps
    /// the target it had and registers it on that target, and records it as
    /// the last attached modifier. `parent` must not be `modifier` or one of
    /// its descendants. Returns `modifier`.
    static Modifier* attachTo(Modifier* parent, Modifier* modifier);
    /// Takes `modifier` out of its tree and sets its in-tree flag. A linked
    /// modifier is unlinked, unregistered from its target and loses its
    /// target; the tree's reference passes to the caller. An unlinked one gets
    /// a new reference for the caller. Its children stay with it.
    static void detach(Modifier* modifier);
    /// Removes `modifier` from its tree and lets its children take its place
    /// (in their order, followed by its former next sibling, re-parented to
    /// its parent), unregisters it from its target, clears the target and
    /// releases the tree's reference. Returns the first modifier now in its
    /// place, or null. A modifier without a parent is only unregistered (no
    /// link holds a reference to it) and null is returned.
    static Modifier* removeFromTree(Modifier* modifier);

    /// The modifier most recently attached by `attachTo` (borrowed; null once
    /// it dies). Game code hangs follow-up modifiers under it.
    [[nodiscard]] static Modifier* getLastAttached();
    static void setLastAttached(Modifier* modifier);

protected:
    void setState(std::uint32_t state) { state_ = state; }
    void setInTree(bool inTree) { inTree_ = inTree; }

private:
    friend class GameNode;
    friend void purgeModifierTree(Modifier* modifier);

    // Takes the modifier out of its parent's child chain; no reference moves.
    void unlink();
    // The tree lets go of an unlinked modifier: flag 16 when killed or torn
    // down, unregister, drop the target and the subtree, release.
    static void leaveTree(Modifier* modifier);
    // Every child leaves the tree (see leaveTree).
    void releaseChildren();

    GameNode* target_ = nullptr;
    std::uint32_t finishFlags_ = 0;
    std::uint32_t state_ = 0;
    bool killed_ = false;
    bool paused_ = false;
    Modifier* parent_ = nullptr;
    Modifier* nextSibling_ = nullptr;
    Modifier* firstChild_ = nullptr;
    std::string name_;
    bool inTree_ = false;
};

/// Advances the tree below `root` (root included) by `dtMs` milliseconds in
/// pre-order: killed modifiers are skipped with their subtrees; a modifier
/// neither paused nor done is updated; a done one (before or by this update)
/// leads the walk into its children, unless it is a paused container. So the
/// children of a modifier that finishes in this frame get their first update
/// in the same frame. The walk never leaves the root's subtree. Called by the
/// scene's move task.
void updateModifierTree(Modifier* root, int dtMs);

/// Post-order clean-up of the tree below `modifier`: children first; then a
/// killed modifier leaves the tree with its subtree; a done modifier that is
/// not a container applies its finish flags 8, 2, 4 (each when it has a
/// target) and is removed with `removeFromTree`, its children taking its
/// place. Containers stay while done. The root itself is only released when a
/// parent link holds it. Called by the scene's purge task with the `AnimTree`.
void purgeModifierTree(Modifier* modifier);

/// `modifier` with FinishHoldBack added to its finish flags, for a node's own
/// list where the modifiers behind it must wait for it:
///
///     sprite->addModifier(holdingBack(new ModifierDelay(300)));
inline Modifier* holdingBack(Modifier* modifier) {
    modifier->setFinishFlags(modifier->getFinishFlags() | Modifier::FinishHoldBack);
    return modifier;
}

} // namespace orv
