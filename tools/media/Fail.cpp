#include "tools/media/Fail.h"

#include <cstdio>
#include <cstdlib>

namespace orv::media {

void fail(std::string_view what) {
    std::fprintf(stderr, "media_tool: %.*s\n", static_cast<int>(what.size()), what.data());
    std::exit(1);
}

} // namespace orv::media
