#include "engine/properties/XmlNesting.h"

#include <algorithm>

namespace orv {

namespace {

// Reads `text` the way the XML parser does, keeping only the count of open
// elements. Each step mirrors one of the parser's: where the text is damaged
// and the parser would stop, the scan just goes on as if in element content,
// which can only count more.
class NestingScan {
public:
    explicit NestingScan(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

    std::size_t run() {
        std::size_t i = 0;
        while (i < text_.size()) {
            i = text_[i] == '<' ? markup(i) : character(i);
        }
        return deepest_;
    }

private:
    [[nodiscard]] unsigned char at(std::size_t i) const {
        return i < text_.size() ? static_cast<unsigned char>(text_[i]) : 0;
    }

    [[nodiscard]] bool startsWith(std::size_t i, std::string_view prefix,
                                  bool ignoreCase = false) const {
        if (i > text_.size() || text_.size() - i < prefix.size()) {
            return false;
        }
        const auto lower = [](unsigned char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
        };
        for (std::size_t k = 0; k < prefix.size(); ++k) {
            const auto a = static_cast<unsigned char>(text_[i + k]);
            const auto b = static_cast<unsigned char>(prefix[k]);
            if (ignoreCase ? lower(a) != lower(b) : a != b) {
                return false;
            }
        }
        return true;
    }

    // The parser's character classes in UTF-8 mode: every byte from 127 on
    // counts as a letter.
    static bool isAlpha(unsigned char c) {
        return c >= 127 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    }
    static bool isAlphaNum(unsigned char c) { return isAlpha(c) || (c >= '0' && c <= '9'); }
    static bool isWhiteSpace(unsigned char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }
    static bool isHexDigit(unsigned char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    // White space, and the three byte-order-mark-like sequences the parser
    // passes over with it.
    [[nodiscard]] std::size_t skipWhiteSpace(std::size_t i) const {
        while (i < text_.size()) {
            if (at(i) == 0xEF &&
                ((at(i + 1) == 0xBB && at(i + 2) == 0xBF) ||
                 (at(i + 1) == 0xBF && (at(i + 2) == 0xBE || at(i + 2) == 0xBF)))) {
                i += 3;
            } else if (isWhiteSpace(at(i))) {
                ++i;
            } else {
                break;
            }
        }
        return i;
    }

    // Behind the next `end`, or the end of the text.
    [[nodiscard]] std::size_t skipPast(std::size_t i, std::string_view end) const {
        const std::size_t found = text_.find(end, std::min(i, text_.size()));
        return found == std::string_view::npos ? text_.size() : found + end.size();
    }

    // Behind a name; `i` itself when no name starts there.
    [[nodiscard]] std::size_t skipName(std::size_t i) const {
        if (!isAlpha(at(i)) && at(i) != '_') {
            return i;
        }
        while (isAlphaNum(at(i)) || at(i) == '_' || at(i) == '-' || at(i) == '.' || at(i) == ':') {
            ++i;
        }
        return i;
    }

    // One character of text or of a quoted value. A numeric character
    // reference runs to the first ";" after it, whatever lies between, as long
    // as the digits just before the ";" back to the last "x" (or "#") are
    // digits; so it can swallow markup.
    [[nodiscard]] std::size_t character(std::size_t i) const {
        if (at(i) != '&' || at(i + 1) != '#' || at(i + 2) == 0) {
            return i + 1;
        }
        const bool hex = at(i + 2) == 'x';
        const unsigned char digitsStart = hex ? 'x' : '#';
        const std::size_t semicolon = text_.find(';', hex ? i + 3 : i + 2);
        if (semicolon == std::string_view::npos) {
            return i + 1; // the parser stops here
        }
        for (std::size_t k = semicolon - 1; at(k) != digitsStart; --k) {
            if (!(hex ? isHexDigit(at(k)) : (at(k) >= '0' && at(k) <= '9'))) {
                return i + 1; // the parser stops here
            }
        }
        return semicolon + 1;
    }

    // Behind the value's closing quote; `i` is just behind the opening one.
    [[nodiscard]] std::size_t skipQuoted(std::size_t i, char quote) const {
        while (i < text_.size() && text_[i] != quote) {
            i = character(i);
        }
        return i < text_.size() ? i + 1 : i;
    }

    // Behind the attribute starting at `i`; false in `read` when the parser
    // would stop on it.
    [[nodiscard]] std::size_t skipAttribute(std::size_t i, bool& read) const {
        read = false;
        const std::size_t nameEnd = skipName(i);
        if (nameEnd == i) {
            return i;
        }
        i = skipWhiteSpace(nameEnd);
        if (at(i) != '=') {
            return i;
        }
        i = skipWhiteSpace(i + 1);
        if (at(i) == '\'' || at(i) == '"') {
            read = true;
            return skipQuoted(i + 1, static_cast<char>(at(i)));
        }
        while (at(i) != 0 && !isWhiteSpace(at(i)) && at(i) != '/' && at(i) != '>') {
            if (at(i) == '\'' || at(i) == '"') {
                return i;
            }
            ++i;
        }
        read = at(i) != 0;
        return i;
    }

    // "<?xml": values of the attributes it knows are read as quoted values,
    // anything else is passed over up to white space or ">".
    [[nodiscard]] std::size_t skipDeclaration(std::size_t i) const {
        while (i < text_.size()) {
            if (at(i) == '>') {
                return i + 1;
            }
            i = skipWhiteSpace(i);
            if (startsWith(i, "version", true) || startsWith(i, "encoding", true) ||
                startsWith(i, "standalone", true)) {
                bool read = false;
                i = skipAttribute(i, read);
                if (!read) {
                    return i;
                }
            } else {
                while (at(i) != 0 && at(i) != '>' && !isWhiteSpace(at(i))) {
                    ++i;
                }
            }
        }
        return i;
    }

    // An element's start tag from its "<": opens a level unless it is empty
    // ("/>"). The parser is one level deeper while it reads the tag, whatever
    // comes of it.
    [[nodiscard]] std::size_t startTag(std::size_t i) {
        deepest_ = std::max(deepest_, depth_ + 1);
        const std::size_t nameStart = skipWhiteSpace(i + 1);
        const std::size_t nameEnd = skipName(nameStart);
        if (nameEnd == nameStart) {
            return nameStart;
        }
        i = nameEnd;
        for (;;) {
            i = skipWhiteSpace(i);
            if (i >= text_.size()) {
                return i;
            }
            if (at(i) == '/') {
                return i + 1;
            }
            if (at(i) == '>') {
                ++depth_;
                return i + 1;
            }
            bool read = false;
            i = skipAttribute(i, read);
            if (!read) {
                return i;
            }
        }
    }

    [[nodiscard]] std::size_t markup(std::size_t i) {
        if (startsWith(i, "</")) {
            depth_ = depth_ > 0 ? depth_ - 1 : 0;
            return skipPast(i + 2, ">");
        }
        if (startsWith(i, "<?xml", true)) {
            return skipDeclaration(i + 5);
        }
        if (startsWith(i, "<!--")) {
            return skipPast(i + 4, "-->");
        }
        if (startsWith(i, "<![CDATA[")) {
            return skipPast(i + 9, "]]>");
        }
        if (isAlpha(at(i + 1)) || at(i + 1) == '_') {
            return startTag(i);
        }
        return skipPast(i + 1, ">"); // "<!DOCTYPE ...>" and other markup it does not know
    }

    std::string_view text_;
    std::size_t depth_ = 0;
    std::size_t deepest_ = 0;
};

} // namespace

std::size_t measureXmlNesting(std::string_view text) {
    return NestingScan(text).run();
}

} // namespace orv
