#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/Modifier.h"
#include "engine/core/RefPtr.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PropertyNode;

/// A named node of a scene's tree: a position relative to its parent, a tag,
/// visibility, a suspend flag, a removal mark, children, and the modifiers
/// that change it. Everything placed on a screen derives from it (`Sprite`
/// adds the drawing).
///
/// Children form a chain (`getFirstChild`, then `getNextSibling`); the chain's
/// order is the order of updating and drawing. The tree holds one reference
/// to every linked node: link with `GameTree::appendChild` or
/// `GameTree::insertBefore`, and remove a node by marking it
/// (`setRemovalMark(true)`): the purge task unlinks and releases it at the end
/// of the frame, so nothing is freed while a walk is running.
///
///     RefPtr<GameTree> root(new GameTree());
///     GameNode* node = new GameNode("button");   // count 0
///     GameTree::appendChild(node, root.get());   // count 1, owned by the tree
///     node->setPosition(10, 20);                 // relative to root
///     node->setRemovalMark(true);                // gone after the next purge
///
/// Main thread only.
class GameNode : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// An unlinked visible node at (0, 0) with tag 0 and no modifiers.
    explicit GameNode(std::string_view name = {});
    /// Takes only `other`'s position (through `getX` / `getY`): empty name, no
    /// links, children or modifiers, default flags.
    GameNode(const GameNode& other);
    GameNode& operator=(const GameNode&) = delete;
    /// Built from a definition node (see `initFromProperties`); a null
    /// definition reads as the empty dummy node.
    explicit GameNode(PropertyNode* definition);
    /// Unlinks the node when it still has a parent, releases its children and
    /// its own modifiers, and takes every registered modifier out of its
    /// animation tree. Modifiers that survive it lose their target.
    ~GameNode() override;

    /// The object factory's create function for "GameNode": a new node (count
    /// 0) built from `definition`.
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Position in pixels, relative to the parent's position.
    [[nodiscard]] virtual int getX() const { return x_; }
    virtual void setX(int x) { x_ = x; }
    [[nodiscard]] virtual int getY() const { return y_; }
    virtual void setY(int y) { y_ = y; }
    /// Calls `setX` then `setY`, so overrides of either take effect.
    virtual void setPosition(int x, int y);
    /// Free for the owner's use; 0 by default.
    [[nodiscard]] virtual int getTag() const { return tag_; }
    virtual void setTag(int tag) { tag_ = tag; }
    /// A marked node is skipped by updates and drawing and is unlinked and
    /// released by the next purge. Relinking the node clears the mark.
    virtual void setRemovalMark(bool mark) { removalMark_ = mark; }
    /// An invisible node and its subtree are not drawn.
    virtual void setVisible(bool visible) { visible_ = visible; }
    /// The node's own per-frame work (nothing here); `elapsedMs` >= 0.
    virtual void updateSelf(int elapsedMs) { static_cast<void>(elapsedMs); }

    [[nodiscard]] const std::string& getName() const { return name_; }
    void setName(std::string_view name) { name_ = name; }
    [[nodiscard]] bool hasRemovalMark() const { return removalMark_; }
    [[nodiscard]] bool isVisible() const { return visible_; }
    /// A suspended node and its subtree are not updated (they are drawn).
    [[nodiscard]] bool isSuspended() const { return suspended_; }
    void setSuspended(bool suspended) { suspended_ = suspended; }

    /// Links, borrowed from the tree; null at the ends.
    [[nodiscard]] GameNode* getParent() const { return parent_; }
    [[nodiscard]] GameNode* getNextSibling() const { return nextSibling_; }
    [[nodiscard]] GameNode* getFirstChild() const { return firstChild_; }

    /// Sum of `getX` / `getY` of all ancestors (0 for a root).
    [[nodiscard]] int getParentX() const;
    [[nodiscard]] int getParentY() const;
    /// Position in the root's coordinates.
    [[nodiscard]] int getAbsoluteX() const { return getX() + getParentX(); }
    [[nodiscard]] int getAbsoluteY() const { return getY() + getParentY(); }

    /// Adopts `modifier` (not null) into this node's own list, at the back or
    /// the front, makes this node its target (`setTarget`) and takes one
    /// reference. Clears its in-tree flag. A modifier already in the list is
    /// left where it is. Returns `modifier`.
    Modifier* addModifier(Modifier* modifier, bool atBack = true);
    /// Releases every modifier of the own list (front first).
    void removeAllModifiers();
    /// The own list, in running order. Each entry holds a reference.
    [[nodiscard]] std::span<const RefPtr<Modifier>> getOwnModifiers() const {
        return ownModifiers_;
    }

    /// Adds `modifier` to the register of tree modifiers that target this node
    /// (no reference). False when it was already there. `Modifier::attachTo`
    /// does this.
    bool registerModifier(Modifier* modifier);
    /// Removes `modifier` from the register; false when it was not there.
    bool unregisterModifier(Modifier* modifier);
    /// Kills the registered modifiers from the front up to and including
    /// `modifier` and takes that stretch out of the register; those modifiers
    /// lose their target (this node no longer tracks them), and any of them
    /// with flag 16 marks this node for removal now, since the purge will let
    /// go of them. When `modifier` is not registered, every registered
    /// modifier is killed and the register stays as it is.
    void killModifiersUpTo(Modifier* modifier);
    /// Takes every registered modifier out of its tree (`removeFromTree`)
    /// after clearing its target, and empties the register.
    void unregisterAllModifiers();
    /// The register, oldest first. Borrowed entries.
    [[nodiscard]] std::span<Modifier* const> getRegisteredModifiers() const {
        return registeredModifiers_;
    }

    /// One frame of this node: `updateSelf`, then the own list from the front.
    /// Each modifier that is not paused is updated; a done one applies flag 2
    /// (mark this node), then leaves the list, with flag 4 together with every
    /// modifier in front of it; an unfinished one with flag 1 stops the walk
    /// for this frame. A killed modifier leaves the list without its finish
    /// actions. Modifiers may add or remove own modifiers from their update:
    /// the walk goes on from where the current modifier now stands, and stops
    /// when the current modifier left the list.
    void update(int elapsedMs);

protected:
    /// Reads the definition keys "name", "tag", "x", "y", "suspended",
    /// "visible" (each only when present as a value; stored straight into the
    /// fields), then builds the "children" (nodes) and "modifiers" through
    /// the object factory under each element's type name. An element the
    /// factory cannot build, or that is not a node (a modifier), is logged and
    /// skipped. A definition that is not a node reads as the empty dummy.
    void initFromProperties(PropertyNode* definition);

private:
    friend class GameTree;
    friend void purgeModifierTree(Modifier* modifier);

    // Kill as killModifiersUpTo; `sparing` (the modifier being purged as
    // done) does not apply its flag 16, since its removal never does.
    void killRegisteredUpTo(Modifier* modifier, const Modifier* sparing);
    // Finds `modifier` in the own list again after a modifier's update may
    // have changed the list; false when it is gone.
    bool locateOwn(const Modifier* modifier, std::size_t& index) const;

    GameNode* parent_ = nullptr;
    GameNode* nextSibling_ = nullptr;
    GameNode* firstChild_ = nullptr;
    int x_ = 0;
    int y_ = 0;
    int tag_ = 0;
    bool removalMark_ = false;
    bool suspended_ = false;
    bool visible_ = true;
    std::vector<RefPtr<Modifier>> ownModifiers_;
    std::vector<Modifier*> registeredModifiers_;
    std::string name_;
};

} // namespace orv
