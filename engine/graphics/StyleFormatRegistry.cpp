#include "engine/graphics/StyleFormatRegistry.h"

#include "engine/graphics/FormatAlignH.h"
#include "engine/graphics/FormatAlignV.h"
#include "engine/graphics/FormatColor.h"
#include "engine/graphics/FormatFont.h"
#include "engine/graphics/FormatImage.h"
#include "engine/graphics/FormatNewLine.h"
#include "engine/graphics/FormatTab.h"
#include "engine/graphics/FormatWidth.h"
#include "engine/graphics/FormatWrapStyle.h"

namespace orv {

namespace {

RefPtr<StyleFormatRegistry>& registrySlot() {
    static RefPtr<StyleFormatRegistry> registry;
    return registry;
}

} // namespace

StyleFormatRegistry::StyleFormatRegistry()
    : formats_{new FormatNewLine(), new FormatColor(),     new FormatFont(),
               new FormatImage(),   new FormatWrapStyle(), new FormatAlignV(),
               new FormatAlignH(),  new FormatTab(),       new FormatWidth()} {}

StyleFormatRegistry::~StyleFormatRegistry() = default;

StyleFormatRegistry* StyleFormatRegistry::instance() {
    RefPtr<StyleFormatRegistry>& registry = registrySlot();
    if (!registry) {
        registry = new StyleFormatRegistry();
    }
    return registry.get();
}

void StyleFormatRegistry::destroyInstance() {
    registrySlot().reset();
}

bool StyleFormatRegistry::applyTag(std::wstring_view name, std::wstring_view value,
                                   StyleFormatTarget& target) const {
    for (const RefPtr<StyleFormat>& format : formats_) {
        const std::vector<std::wstring>& names = format->getNames();
        for (std::size_t index = 0; index < names.size(); ++index) {
            if (names[index] == name) {
                format->apply(static_cast<int>(index), value, target);
                return true;
            }
        }
    }
    return false;
}

} // namespace orv
