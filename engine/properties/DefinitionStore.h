#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/properties/ConstantsHook.h"
#include "engine/properties/PropertyNode.h"

#include <string>
#include <vector>

namespace orv {

/// The start-up property documents and what they define: their settings go
/// into the named settings (`BasicProperties`, which must exist before
/// `load`), and their definitions of templates, dialogs and scenes are kept
/// here by id, for the objects that are built from them.
///
/// Documents are read in the archive's global mode with white-space
/// condensing off (texts keep their layout). Within each step, documents are
/// taken in list order, so a later document's setting or definition of the
/// same id wins.
///
///     DefinitionStore& store = getDefinitionStore();
///     store.setConstantsHook(new GameConstants());
///     store.addFile("media/properties/default.xml");
///     store.load();
///     PropertyNode* scene = asNode(store.getScenes()->getChild("SCENE_GAME"));
class DefinitionStore : public BaseObject {
public:
    DefinitionStore();
    ~DefinitionStore() override;

    [[nodiscard]] const std::vector<std::string>& getFiles() const { return files_; }
    void addFile(std::string_view fileName) { files_.emplace_back(fileName); }

    /// (Re)loads every document of the list, in this order: the definitions
    /// are emptied; every document is read (a missing one adds nothing); each
    /// document's top-level children other than the groups "setups",
    /// "templates", "dialogs" and "scenes" are handed to the object factory;
    /// then the children of every "setups" group; then every document's setups
    /// are resolved; then the children of every "properties" group go to the
    /// factory; then the templates, dialogs and scenes are collected by id; and
    /// last the constants hook is applied. Whatever the factory makes is
    /// dropped at once; type names without a create function are skipped and
    /// logged.
    void load();

    /// The definitions by id: each child is one definition node (borrowed;
    /// valid until the next `load` or the store's end). Never null.
    [[nodiscard]] PropertyNode* getTemplates() const { return templates_.get(); }
    [[nodiscard]] PropertyNode* getDialogs() const { return dialogs_.get(); }
    [[nodiscard]] PropertyNode* getScenes() const { return scenes_.get(); }

    /// The object applied after every load; the store keeps a reference to
    /// it. Null removes it.
    void setConstantsHook(ConstantsHook* hook) { constantsHook_ = hook; }
    [[nodiscard]] ConstantsHook* getConstantsHook() const { return constantsHook_.get(); }

private:
    std::vector<std::string> files_;
    RefPtr<PropertyNode> templates_;
    RefPtr<PropertyNode> dialogs_;
    RefPtr<PropertyNode> scenes_;
    RefPtr<ConstantsHook> constantsHook_;
};

/// The process-wide definition store, created empty on first use (holding one
/// reference of its own).
[[nodiscard]] DefinitionStore& getDefinitionStore();
/// Drops the process-wide store's reference (exit sequence, tests); the next
/// `getDefinitionStore` starts empty.
void destroyDefinitionStore();

} // namespace orv
