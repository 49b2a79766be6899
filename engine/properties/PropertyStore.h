#pragma once

#include "engine/properties/PropertyNode.h"
#include "engine/resources/ArchiveMode.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TiXmlElement;
class TiXmlNode;

namespace orv {

/// The root node of one or more XML property files (type name "root", no
/// name): it loads files into itself and saves itself to one file.
///
/// The files map onto the tree element by element: an element "Vector" is a
/// vector; "Integer", "Double", "Float", "Boolean", "String" and "Text" are
/// values (text content, else the attribute "value", is the text); any other
/// element is a node of that type name whose attributes become untyped values
/// and whose text content becomes a "Text" child "value". The attribute "id"
/// names the property. The document element's children become the store's
/// top-level children; loading more files replaces top-level children by
/// name. Files are UTF-8.
///
/// Where a file lives and whether it is scrambled is the store's access mode
/// (see ArchiveMode); `ArchiveMode::Global` follows the archive's global mode
/// when an archive is set up, else reads loose files.
///
/// A file is read only when it holds at most `kMaxFileSize` bytes and nests
/// elements at most `kMaxPropertyNesting` deep (XmlNesting.h); both are
/// checked before the XML parser sees it. A save refuses to write what a load
/// would refuse.
///
/// One store is used by one thread at a time; stores on different threads
/// (the resource loader's font documents, the main thread's player files) may
/// parse at once: the XML parser's white-space condensing is a process-wide
/// switch, so each parse sets it and parses under one process-wide lock.
///
///     RefPtr<PropertyStore> players(new PropertyStore());
///     players->setAccessMode(ArchiveMode::EncryptFile);
///     if (players->canLoad(path)) {
///         players->addFile(path);
///         (void)players->reloadAll();
///     }
///     players->setFileName(path);
///     if (!players->save()) { ... the old file is still there ... }
class PropertyStore : public PropertyNode {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Largest property file read or written: far above the game's own files
    /// and its players' files, far below what would exhaust the memory.
    static constexpr std::uint32_t kMaxFileSize = 8U * 1024U * 1024U;

    /// An empty store; a non-empty `fileName` is added to the files that
    /// `reloadAll` loads (it is not loaded yet).
    explicit PropertyStore(std::string_view fileName = {});

    [[nodiscard]] const std::vector<std::string>& getFiles() const { return files_; }
    void addFile(std::string_view fileName) { files_.emplace_back(fileName); }
    /// The file `save` writes (UTF-8 path, without the ".!" of the scrambled
    /// modes).
    [[nodiscard]] const std::string& getFileName() const { return fileName_; }
    void setFileName(std::string_view fileName) { fileName_ = fileName; }
    [[nodiscard]] ArchiveMode getAccessMode() const { return accessMode_; }
    void setAccessMode(ArchiveMode mode) { accessMode_ = mode; }
    /// Whether runs of white space in text content are condensed to one blank
    /// and trimmed when parsing (true by default; attributes are never
    /// condensed).
    [[nodiscard]] bool getCondenseWhiteSpace() const { return condenseWhiteSpace_; }
    void setCondenseWhiteSpace(bool condense) { condenseWhiteSpace_ = condense; }

    /// Parses `fileName` as the access mode says and adds the document
    /// element's children to this store (replacing children of the same
    /// name). False, with the tree unchanged, when the file cannot be found or
    /// read, is too large or nested too deep (logged), or does not parse. A document without a
    /// document element adds nothing and gives true. Does not change the list of files.
    [[nodiscard]] bool load(std::string_view fileName);
    /// True when `fileName` is found for the access mode and parses; adds
    /// nothing.
    [[nodiscard]] bool canLoad(std::string_view fileName);
    /// Loads every file of the list in order, without emptying the tree
    /// first. True only when every load succeeded; a failure does not stop the
    /// others.
    [[nodiscard]] bool reloadAll();
    /// Parses XML text already in memory and adds its top-level children, as
    /// `load` does with a file's contents.
    [[nodiscard]] bool loadText(std::string_view xml);

    /// Writes the whole store to the file name, as the access mode says
    /// (scrambled, under the name plus ".!", in the scrambled modes; the
    /// archive modes write loose files). The document is built and scrambled
    /// in memory, written to a temporary file in the same folder, flushed and
    /// renamed over the old file, so a failure at any step leaves the old
    /// file as it was. False when anything failed (logged with the path),
    /// also when the document would nest deeper than `kMaxPropertyNesting` or
    /// grow beyond `kMaxFileSize`: no file is written that a load refuses.
    [[nodiscard]] bool save();

    /// A new property read from `element` by the mapping above, with all its
    /// descendants.
    [[nodiscard]] static RefPtr<AbstractProperty> readProperty(const TiXmlElement& element);
    /// Writes `property` and its descendants into `parent`: an untyped value
    /// as an attribute of `parent` when `asAttribute` is set, anything else as
    /// a child element named by its type name, with the attribute "id" when it
    /// has a name. An untyped value elsewhere (only code can put one into a
    /// vector) is written as a "String" element. False, with the document
    /// left half written, when a type name or an attribute name is no XML name
    /// (such a file could not be loaded again) or an attribute would be named
    /// "id".
    [[nodiscard]] virtual bool writeProperty(const AbstractProperty& property, TiXmlNode& parent,
                                             bool asAttribute);

private:
    // The mode the store's files use now: the access mode, with `Global`
    // resolved to the archive's global mode, or `File` without an archive.
    [[nodiscard]] ArchiveMode effectiveMode() const;
    [[nodiscard]] bool parse(std::string_view fileName, bool addChildren);
    [[nodiscard]] bool parseText(std::string_view source, std::string_view xml, bool addChildren);

    std::vector<std::string> files_;
    std::string fileName_;
    ArchiveMode accessMode_ = ArchiveMode::Global;
    bool condenseWhiteSpace_ = true;
};

} // namespace orv
