#include "engine/core/GameTree.h"

#include <cassert>

namespace orv {

namespace {

[[maybe_unused]] bool isInSubtree(const GameNode* node, const GameNode* root) {
    for (; node != nullptr; node = node->getParent()) {
        if (node == root) {
            return true;
        }
    }
    return false;
}

} // namespace

constinit const ClassRecord GameTree::classRecord{"GameTree", parentRecords<GameNode::classRecord>};

void GameTree::unlink(GameNode* node) {
    GameNode* parent = node->parent_;
    if (parent != nullptr) {
        GameNode** link = &parent->firstChild_;
        while (*link != nullptr && *link != node) {
            link = &(*link)->nextSibling_;
        }
        assert(*link == node && "a node is missing from its parent's chain");
        if (*link == node) {
            *link = node->nextSibling_;
        }
    }
    node->parent_ = nullptr;
    node->nextSibling_ = nullptr;
}

void GameTree::detach(GameNode* node) {
    node->setRemovalMark(false);
    if (node->parent_ != nullptr) {
        unlink(node); // the tree's reference passes to the caller
    } else {
        node->addRef();
    }
}

void GameTree::appendChild(GameNode* node, GameNode* parent) {
    assert(node != nullptr && parent != nullptr);
    assert(!isInSubtree(parent, node) && "a node cannot become its own descendant");
    detach(node);
    node->parent_ = parent;
    GameNode** link = &parent->firstChild_;
    while (*link != nullptr) {
        link = &(*link)->nextSibling_;
    }
    *link = node;
    node->setRemovalMark(false);
}

void GameTree::insertBefore(GameNode* node, GameNode* sibling) {
    assert(node != nullptr && sibling != nullptr && node != sibling);
    GameNode* parent = sibling->parent_;
    assert(parent != nullptr && "insertBefore needs a sibling with a parent");
    if (parent == nullptr || node == sibling) {
        return;
    }
    if (node->parent_ == parent && node->nextSibling_ == sibling) {
        return;
    }
    assert(!isInSubtree(parent, node) && "a node cannot become its own descendant");
    detach(node);
    node->parent_ = parent;
    node->nextSibling_ = sibling;
    node->setRemovalMark(false);
    GameNode** link = &parent->firstChild_;
    while (*link != sibling) {
        link = &(*link)->nextSibling_;
    }
    *link = node;
}

void GameTree::releaseChildren(GameNode* node) {
    GameNode* first = node->firstChild_;
    node->firstChild_ = nullptr;
    deleteChain(first);
}

void GameTree::deleteChain(GameNode* first) {
    // Reverse the chain in place so that the last node is released first
    // without recursion (a board holds hundreds of siblings).
    GameNode* reversed = nullptr;
    for (GameNode* node = first; node != nullptr;) {
        GameNode* next = node->nextSibling_;
        node->nextSibling_ = reversed;
        reversed = node;
        node = next;
    }
    while (reversed != nullptr) {
        GameNode* node = reversed;
        reversed = node->nextSibling_;
        node->nextSibling_ = nullptr;
        node->parent_ = nullptr;
        node->release();
    }
}

void GameTree::forEach(GameNode* root, NodeCallback callback, void* context) {
    if (root == nullptr) {
        return;
    }
    void* passed = context != nullptr ? context : static_cast<void*>(root);
    GameNode* node = root;
    while (node != nullptr) {
        callback(node, passed);
        if (node->firstChild_ != nullptr) {
            node = node->firstChild_;
            continue;
        }
        while (node != root && node->nextSibling_ == nullptr) {
            node = node->parent_;
        }
        node = node == root ? nullptr : node->nextSibling_;
    }
}

void GameTree::updateSubtree(GameNode* root, int elapsedMs) {
    root->update(elapsedMs);
    // Each child is held for its turn: game code run by an update may unlink
    // and release it.
    RefPtr<GameNode> child = root->firstChild_;
    while (child) {
        if (!child->suspended_ && !child->removalMark_) {
            updateSubtree(child.get(), elapsedMs);
        }
        child = child->nextSibling_;
    }
}

void GameTree::purgeSubtree(GameNode* root) {
    RefPtr<GameNode> child = root->firstChild_;
    while (child) {
        RefPtr<GameNode> next = child->nextSibling_;
        purgeSubtree(child.get());
        if (next && next->parent_ != root) {
            break; // relinked elsewhere meanwhile; the next purge sees the rest
        }
        child = std::move(next);
    }
    if (root->removalMark_ && root->parent_ != nullptr) {
        unlink(root);
        root->removalMark_ = false;
        root->release(); // the tree's reference; the caller's hold keeps it until its turn ends
    }
}

} // namespace orv
