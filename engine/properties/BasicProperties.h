#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace orv {

class PropertyNode;
class PropertyVector;

/// The process-wide tables of named settings that the start-up property files
/// define: integers, doubles, floats, booleans, UTF-8 strings, shown texts,
/// node setups and vectors, each keyed by the property's id.
///
/// The definition store fills them through the object factory: the create
/// functions registered under "Integer", "Double", "Float", "Boolean",
/// "String", "Text", "Node" and "Vector" (see `registerPropertyClasses`) file
/// each definition into its table and make no object. A later entry of a name
/// replaces the earlier one. Reading a name that is missing inserts the
/// default (0, 0.0, false, "", an empty text, null) and returns it, so every
/// read succeeds.
///
/// Main thread only: reads insert, so no table may be read on the loader
/// thread while the main thread uses it.
///
///     BasicProperties::create();
///     int delay = BasicProperties::get()->getInteger("DIALOG_FADE_TIME");
///     std::wstring title = getText("TEXT_TITLE");
class BasicProperties : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    template <class T>
    using Table = std::map<std::string, T, std::less<>>;

    /// Creates the singleton (holding one reference of its own) unless it
    /// exists, and returns it.
    static BasicProperties& create();
    /// The singleton, or null before `create` and after `destroyInstance`.
    [[nodiscard]] static BasicProperties* get();
    /// Drops the singleton's reference, which empties every table. Also
    /// forgets the cached game name and id.
    static void destroyInstance();

    /// The entry `name` of a table, inserted with the default when missing.
    /// The reference stays valid until the entry is replaced by a later
    /// definition or the tables go.
    [[nodiscard]] int& getInteger(std::string_view name);
    [[nodiscard]] double& getDouble(std::string_view name);
    [[nodiscard]] float& getFloat(std::string_view name);
    [[nodiscard]] bool& getBoolean(std::string_view name);
    [[nodiscard]] std::string& getString(std::string_view name);
    [[nodiscard]] std::wstring& getTextEntry(std::string_view name);
    /// The node setup `name` (shared with the definition it came from), null
    /// when missing.
    [[nodiscard]] RefPtr<PropertyNode>& getNode(std::string_view name);
    [[nodiscard]] RefPtr<PropertyVector>& getVector(std::string_view name);

    /// Create functions of the factory for the eight settings type names. Each
    /// files `definition` (any property; see `propertyOfDefinition`) under its
    /// id into its table and returns null. A value handler given something
    /// that is not a value reads `DUMMY_VALUE` (empty text); the node and
    /// vector handlers store `DUMMY_NODE` or `DUMMY_VECTOR` for a property of
    /// another kind. Nothing is filed before `create`, nor for a null
    /// definition.
    static BaseObject* fileInteger(PropertyNode* definition);
    static BaseObject* fileDouble(PropertyNode* definition);
    static BaseObject* fileFloat(PropertyNode* definition);
    static BaseObject* fileBoolean(PropertyNode* definition);
    static BaseObject* fileString(PropertyNode* definition);
    static BaseObject* fileText(PropertyNode* definition);
    static BaseObject* fileNode(PropertyNode* definition);
    static BaseObject* fileVector(PropertyNode* definition);

    /// The tables as they are, for looking without inserting.
    [[nodiscard]] const Table<int>& getIntegerTable() const { return integers_; }
    [[nodiscard]] const Table<std::string>& getStringTable() const { return strings_; }
    [[nodiscard]] const Table<std::wstring>& getTextTable() const { return texts_; }

private:
    BasicProperties() = default;
    ~BasicProperties() override;

    Table<int> integers_;
    Table<double> doubles_;
    Table<float> floats_;
    Table<bool> booleans_;
    Table<std::string> strings_;
    Table<std::wstring> texts_;
    Table<RefPtr<PropertyNode>> nodes_;
    Table<RefPtr<PropertyVector>> vectors_;
};

/// The shown text stored under `textId` in the text table: a stored "_"
/// gives a single blank, a missing id an empty text (and the id is inserted
/// empty). Empty when the settings do not exist.
[[nodiscard]] std::wstring getText(std::string_view textId);

/// The String setting "GAME_NAME", cached once found; empty while the
/// settings or the key do not exist (the next call looks again).
[[nodiscard]] std::string getGameName();
/// The String setting "GAME_ID", cached like `getGameName`.
[[nodiscard]] std::string getGameId();

} // namespace orv
