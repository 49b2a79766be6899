#pragma once

#include "engine/core/GameNode.h"

namespace orv {

/// Called for each node of a `GameTree::forEach` walk with the walk's context.
using NodeCallback = void (*)(GameNode* node, void* context);

/// The root of a scene's node tree (a `GameNode` with an empty name), and the
/// operations that link, unlink, walk and purge node trees.
///
/// Reference rule: a node with a parent is referenced once by the tree through
/// that link. `detach` always leaves the caller holding exactly one
/// reference; `appendChild` and `insertBefore` start with `detach` and give
/// that reference to the tree, so a new node (count 0) appended to a parent
/// ends with count 1, owned by the tree.
///
///     RefPtr<GameTree> root(new GameTree());
///     GameTree::appendChild(new Sprite(definition), root.get());
///     GameTree::updateSubtree(root.get(), 16);   // the move task's walk
///     GameTree::purgeSubtree(root.get());        // the purge task's walk
class GameTree : public GameNode {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    GameTree() : GameNode(std::string_view{}) {}

    /// Clears `node`'s removal mark (`setRemovalMark(false)`) and unlinks it
    /// from its parent, handing the tree's reference to the caller; a node
    /// without a parent gets a new reference for the caller instead.
    static void detach(GameNode* node);
    /// Moves `node` to the end of `parent`'s children (the tree takes the
    /// reference `detach` gave) and clears its removal mark. `parent` must not
    /// be `node` or one of its descendants.
    static void appendChild(GameNode* node, GameNode* parent);
    /// Moves `node` directly before `sibling`, which must have a parent, and
    /// clears its removal mark. Nothing happens (the mark stays) when `node`
    /// already stands directly before `sibling`.
    static void insertBefore(GameNode* node, GameNode* sibling);
    /// Releases every child of `node` (the last one first) and empties its
    /// chain. A child that nobody else holds dies with its subtree.
    static void releaseChildren(GameNode* node);
    /// Releases `first` and every node behind it in its chain, the last one
    /// first, each with its links cleared before its release. The chain must
    /// already be cut off from its parent's `firstChild` or a predecessor.
    static void deleteChain(GameNode* first);
    /// Calls `callback(node, context)` for `root` and every descendant in
    /// pre-order (a node, then each child's subtree in chain order). A null
    /// `context` passes `root` instead. The callback may change flags and
    /// positions; it must not relink or release nodes (mark them instead).
    static void forEach(GameNode* root, NodeCallback callback, void* context = nullptr);

    /// The move task's node walk: `root->update(elapsedMs)` (even when the
    /// root is suspended), then each child's subtree in chain order, skipping
    /// a child (and so its subtree) that is suspended or marked for removal.
    static void updateSubtree(GameNode* root, int elapsedMs);
    /// The purge task's node walk, post-order: children first, then a marked
    /// node is unlinked from its parent, its mark cleared, and the tree's
    /// reference released (a marked node's unmarked children go with it). A
    /// marked node without a parent (the root) is left as it is: no link
    /// holds a reference to it.
    static void purgeSubtree(GameNode* root);

private:
    friend class GameNode;

    // Takes `node` out of its parent's chain and clears its parent and next
    // sibling; no reference moves.
    static void unlink(GameNode* node);
};

} // namespace orv
