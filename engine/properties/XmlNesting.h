#pragma once

#include <cstddef>
#include <string_view>

namespace orv {

/// Deepest nesting of elements accepted in a property file, and written by a
/// save. The game's own files nest a handful of levels; the XML parser
/// recurses once for each level, so a file nested many thousands deep would
/// overflow the stack.
inline constexpr std::size_t kMaxPropertyNesting = 256;

/// How deep the XML parser would nest elements while parsing `text`, measured
/// without parsing it: the number of elements open at once at the deepest
/// point, never less than the depth the parser reaches (for damaged text it
/// may be more). `text` must be what the parser is given: valid UTF-8, read
/// up to its first zero byte. Reads every byte once; needs no memory.
///
/// It follows the parser's own reading of the text, so that nothing the
/// parser takes as text hides elements from it and nothing it takes as markup
/// is counted twice: comments, CDATA sections, declarations and other "<!"
/// or "<?" markup, quoted attribute values, and character references
/// ("&#x...;"), which the parser lets run up to the next ";".
[[nodiscard]] std::size_t measureXmlNesting(std::string_view text);

} // namespace orv
