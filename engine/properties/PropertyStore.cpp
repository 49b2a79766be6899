#include "engine/properties/PropertyStore.h"

#include "engine/core/Log.h"
#include "engine/core/TextUtil.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "engine/properties/XmlNesting.h"
#include "engine/resources/Descrambler.h"
#include "engine/resources/FileArchive.h"
#include "engine/resources/FileNames.h"
#include "engine/resources/MemoryBuffer.h"
#include "engine/system/Platform.h"

#include <tinyxml.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>

namespace orv {

constinit const ClassRecord PropertyStore::classRecord{"PropertyStore",
                                                       parentRecords<PropertyNode::classRecord>};

namespace {

constexpr std::array<std::string_view, 6> valueTypeNames{"Integer", "Double", "Float",
                                                         "Boolean", "String", "Text"};

bool isValueTypeName(std::string_view name) {
    return std::find(valueTypeNames.begin(), valueTypeNames.end(), name) != valueTypeNames.end();
}

// The name characters the XML parser accepts in UTF-8 mode: ASCII letters and
// "_" first, then also digits, ".", "-" and ":"; any byte from 0x7F on.
bool isNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x7F;
}

bool isNameChar(unsigned char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ':';
}

// True when the XML parser reads `name` back as an element or attribute name.
// A name it would not read makes a file that cannot be loaded again.
bool isXmlName(std::string_view name) {
    if (name.empty() || !isNameStart(static_cast<unsigned char>(name.front()))) {
        return false;
    }
    return std::all_of(name.begin() + 1, name.end(),
                       [](char c) { return isNameChar(static_cast<unsigned char>(c)); });
}

// Names as UTF-8: every malformed byte becomes U+FFFD, as in values. The
// parser reads a lead byte and the byte after it as one character, so a stray
// lead byte written back in front of an entity would change the name on the
// next load.
std::string cleanUtf8(std::string_view text) {
    return wideToString(stringToWide(text));
}

std::string cleanUtf8(const char* text) {
    return text != nullptr ? cleanUtf8(std::string_view(text)) : std::string();
}

// Zeros after the text, beyond its terminator: the longest step the parser
// takes at once (an entity name or a UTF-8 sequence) stays inside the buffer.
constexpr std::size_t kParserSlack = 8;

// Line ends as the XML library's own file loading leaves them: CR LF and a
// lone CR become LF. Applied to every file, wherever it is stored, so a file
// reads the same loose and packed.
std::string normalizeLineEnds(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            result.push_back(text[i]);
        }
    }
    return result;
}

// Held around setting the parser's process-wide white-space switch and the
// parse that reads it.
std::mutex parserMutex;

// True when writing `property` would nest more than `levels` elements: values
// in a node are attributes, not elements. Descends at most `levels` deep, so
// a tree made deep (or circular) by code cannot overflow the stack here.
bool nestsDeeperThan(const AbstractProperty& property, std::size_t levels) {
    if (levels == 0) {
        return true;
    }
    if (property.isValue()) {
        return false;
    }
    const auto& list = static_cast<const PropertyVector&>(property);
    return std::any_of(list.getElements().begin(), list.getElements().end(),
                       [&](const RefPtr<AbstractProperty>& element) {
                           return nestsDeeperThan(*element, levels - 1);
                       });
}

std::string describeParseError(const TiXmlDocument& document) {
    return std::string(document.ErrorDesc() != nullptr ? document.ErrorDesc() : "parse error") +
           " at line " + std::to_string(document.ErrorRow()) + ", column " +
           std::to_string(document.ErrorCol());
}

} // namespace

PropertyStore::PropertyStore(std::string_view fileName) : PropertyNode("", "root") {
    if (!fileName.empty()) {
        files_.emplace_back(fileName);
    }
}

ArchiveMode PropertyStore::effectiveMode() const {
    if (accessMode_ != ArchiveMode::Global) {
        return accessMode_;
    }
    if (FileArchive::hasArchive() && FileArchive::getGlobalMode() != ArchiveMode::Global) {
        return FileArchive::getGlobalMode();
    }
    return ArchiveMode::File;
}

bool PropertyStore::load(std::string_view fileName) {
    return parse(fileName, true);
}

bool PropertyStore::canLoad(std::string_view fileName) {
    return parse(fileName, false);
}

bool PropertyStore::reloadAll() {
    bool allLoaded = true;
    const std::vector<std::string> files = files_; // the walk never depends on the list
    for (const std::string& file : files) {
        allLoaded = load(file) && allLoaded;
    }
    return allLoaded;
}

bool PropertyStore::parse(std::string_view fileName, bool addChildren) {
    MemoryBuffer buffer;
    // The archive looks the stored name up for the mode (".!" for the
    // scrambled modes) and descrambles; a missing or empty file fails here.
    if (!FileArchive::readFile(fileName, buffer, effectiveMode(), kMaxFileSize)) {
        return false;
    }
    return parseText(fileName, buffer.getView(), addChildren);
}

bool PropertyStore::loadText(std::string_view xml) {
    return parseText("(text)", xml, true);
}

bool PropertyStore::parseText(std::string_view source, std::string_view xml, bool addChildren) {
    // The parser steps over whole UTF-8 sequences as their first byte announces
    // them, without looking for the end of the text: a sequence cut short by
    // the end would take it past the terminating zero. So it is given valid
    // UTF-8 only (malformed bytes become U+FFFD), and a few spare zeros.
    if (xml.size() > kMaxFileSize) {
        logWarning(std::string(source) + ": larger than the " + std::to_string(kMaxFileSize) +
                   " bytes a property file may have; not read");
        return false;
    }
    std::string text = cleanUtf8(normalizeLineEnds(xml));
    // The parser recurses once for each level of elements: a document nested
    // too deep is refused before it can overflow the stack.
    if (const std::size_t nesting = measureXmlNesting(text); nesting > kMaxPropertyNesting) {
        logWarning(std::string(source) + ": elements nested " + std::to_string(nesting) +
                   " levels deep, more than the " + std::to_string(kMaxPropertyNesting) +
                   " a property file may have; not read");
        return false;
    }
    text.append(kParserSlack, '\0');
    TiXmlDocument document;
    {
        const std::scoped_lock lock(parserMutex);
        TiXmlBase::SetCondenseWhiteSpace(condenseWhiteSpace_);
        document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    }
    if (document.Error()) {
        logWarning(std::string(source) + ": " + describeParseError(document));
        return false;
    }
    const TiXmlElement* root = document.RootElement();
    if (addChildren && root != nullptr) {
        for (const TiXmlElement* child = root->FirstChildElement(); child != nullptr;
             child = child->NextSiblingElement()) {
            const RefPtr<AbstractProperty> property(readProperty(*child));
            add(property.get());
        }
    }
    return true;
}

RefPtr<AbstractProperty> PropertyStore::readProperty(const TiXmlElement& element) {
    const std::string name = cleanUtf8(element.Attribute("id"));
    const std::string tag = cleanUtf8(element.Value());

    RefPtr<AbstractProperty> property;
    PropertyValue* value = nullptr; // borrowed from `property` when it is a value
    PropertyNode* node = nullptr;   // borrowed from `property` when it is a node
    if (tag == "Vector") {
        property = new PropertyVector(name);
    } else if (isValueTypeName(tag)) {
        value = PropertyValue::create(name, tag, L"");
        property = value;
    } else {
        node = new PropertyNode(name, tag);
        property = node;
    }

    if (value != nullptr || node != nullptr) {
        for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr;
             attribute = attribute->Next()) {
            const std::string attributeName = cleanUtf8(attribute->Name());
            if (attributeName == "id") {
                continue;
            }
            if (value != nullptr) {
                if (attributeName == "value") {
                    value->setText(stringToWide(attribute->Value()));
                }
            } else {
                node->add(
                    PropertyValue::create(attributeName, "", stringToWide(attribute->Value())));
            }
        }
        // The first piece of text content; comments and elements before it
        // are passed over.
        for (const TiXmlNode* child = element.FirstChild(); child != nullptr;
             child = child->NextSibling()) {
            if (const TiXmlText* text = child->ToText()) {
                if (value != nullptr) {
                    value->setText(stringToWide(text->Value()));
                } else {
                    node->add(PropertyValue::create("value", "Text", stringToWide(text->Value())));
                }
                break;
            }
        }
    }

    if (value == nullptr) { // a node or a vector: its child elements, in order
        auto* list = static_cast<PropertyVector*>(property.get());
        for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
             child = child->NextSiblingElement()) {
            list->add(readProperty(*child).get());
        }
    }
    return property;
}

bool PropertyStore::writeProperty(const AbstractProperty& property, TiXmlNode& parent,
                                  bool asAttribute) {
    const bool untyped = property.isValue() && property.getTypeName().empty();
    if (untyped && asAttribute) {
        TiXmlElement* element = parent.ToElement();
        if (element == nullptr || !isXmlName(property.getName()) || property.getName() == "id") {
            logError("The value '" + property.getName() +
                     "' cannot be written as an attribute; the tree is not saved");
            return false;
        }
        element->SetAttribute(property.getName(),
                              static_cast<const PropertyValue&>(property).getString());
        return true;
    }

    // An untyped value outside a node has no element name of its own.
    const std::string& typeName = untyped ? std::string("String") : property.getTypeName();
    if (!isXmlName(typeName)) {
        logError("The property '" + property.getName() + "' has the type name '" + typeName +
                 "', which is no element name; the tree is not saved");
        return false;
    }
    auto* element = new TiXmlElement(typeName);
    parent.LinkEndChild(element); // the document owns it from here
    if (!property.getName().empty()) {
        element->SetAttribute("id", property.getName());
    }
    if (property.isValue()) {
        element->SetAttribute("value", static_cast<const PropertyValue&>(property).getString());
        return true;
    }
    if (property.isNode()) {
        for (const NamedChild& child : static_cast<const PropertyNode&>(property).getChildren()) {
            if (!writeProperty(*child.property, *element, true)) {
                return false;
            }
        }
        return true;
    }
    for (const RefPtr<AbstractProperty>& child :
         static_cast<const PropertyVector&>(property).getElements()) {
        if (!writeProperty(*child, *element, false)) {
            return false;
        }
    }
    return true;
}

bool PropertyStore::save() {
    if (nestsDeeperThan(*this, kMaxPropertyNesting)) {
        logError(fileName_ + ": the tree nests deeper than the " +
                 std::to_string(kMaxPropertyNesting) +
                 " levels a property file may have; not saved");
        return false;
    }
    TiXmlDocument document;
    if (!writeProperty(*this, document, false)) {
        logError(fileName_ + ": not saved");
        return false;
    }
    TiXmlPrinter printer;
    document.Accept(&printer);
    std::string bytes = printer.Str();
    if (bytes.size() > kMaxFileSize) {
        logError(fileName_ + ": the file would be larger than the " + std::to_string(kMaxFileSize) +
                 " bytes a property file may have; not saved");
        return false;
    }

    const ArchiveMode mode = effectiveMode();
    const std::string path = makeFileName(mode, normalizePath(fileName_));
    if (isScrambledMode(mode)) {
        // Scrambled in memory, so that no plain copy ever reaches the disk.
        descramble(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    }
    if (!platform::replaceFileSafely(path, bytes)) {
        logError(path + ": cannot write the file; the previous version is kept");
        return false;
    }
    (void)platform::grantFullAccess(path);
    return true;
}

} // namespace orv
