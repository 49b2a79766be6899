#pragma once

#include "engine/gui/DialogPainter.h"

#include <array>
#include <string_view>

namespace orv {

/// A dialog frame with up to four header pieces: after the nine frame pieces
/// of `DialogPainter` it draws piece 9 centred on the top edge, 10 on the
/// bottom, 11 on the left and 12 on the right, each when present and
/// switched on. Registered as "HeaderDialogPainter".
///
/// Definition key besides those of `DialogPainter`: "enabled", one character
/// per header (top, bottom, left, right); "0" switches that header off, any
/// other character leaves it on, and a header the text does not reach stays
/// on.
///
///     <HeaderDialogPainter id="PAINTER_BANNER" section="default" enabled="1010"> ...
///
/// Main thread only.
class HeaderDialogPainter : public DialogPainter {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr int kTop = 0;
    static constexpr int kBottom = 1;
    static constexpr int kLeft = 2;
    static constexpr int kRight = 3;

    explicit HeaderDialogPainter(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The frame, then the switched-on header pieces that exist.
    void paint(Graphics& graphics) override;

    /// The headers' switches as an "enabled" text sets them.
    [[nodiscard]] static std::array<bool, 4> readEnabled(std::wstring_view text);
    [[nodiscard]] const std::array<bool, 4>& getEnabled() const { return enabled_; }

private:
    std::array<bool, 4> enabled_{true, true, true, true};
};

} // namespace orv
