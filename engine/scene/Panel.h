#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"
#include "engine/scene/Sprite.h"

#include <string_view>

namespace orv {

class PropertyNode;

/// A sprite that holds named components: child nodes kept under one nameless
/// component root (the panel's last child), so that they are drawn after the
/// panel's own picture and can be found by name. Dialogs and scenes derive
/// from it.
///
///     RefPtr<Panel> panel(new Panel(definition));     // builds "components"
///     panel->addComponent(new Sprite(0, 0, icon));    // drawn last
///     GameNode* ok = panel->findComponent("BUTTON_OK");
///
/// Main thread only.
class Panel : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The sprite part from `definition`, then the component root, then each
    /// element of the vector "components" built through the object factory
    /// under its type name and added in vector order. An element the factory
    /// cannot build, or that is not a node, is logged and skipped.
    explicit Panel(PropertyNode* definition);
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;
    ~Panel() override;

    /// The object factory's create function for "Panel".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The first component named `name` (byte-wise compare), searching nested
    /// panels that are not marked for removal in the same walk; null when
    /// none. Borrowed from the tree.
    [[nodiscard]] virtual GameNode* findComponent(std::string_view name) const;
    /// Moves `node` (null does nothing) from wherever it is to the end of the
    /// components and clears its removal mark; the tree takes the reference
    /// (a new node with count 0 ends owned by the panel).
    virtual void addComponent(GameNode* node);
    /// Marks `node` for removal: the purge task unlinks and releases it.
    virtual void removeComponent(GameNode* node);
    /// Gives every sprite among the components (at any depth) the panel's
    /// clip rectangle; nothing without one.
    virtual void applyClipToComponents();

    /// The parent of the components. Borrowed from the panel, which holds a
    /// reference for its whole life (a scene moves it under its dialog
    /// layer).
    [[nodiscard]] GameNode* getComponentRoot() const { return componentRoot_.get(); }

private:
    RefPtr<GameNode> componentRoot_;
};

} // namespace orv
