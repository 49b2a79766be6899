#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"
#include "engine/scene/Sprite.h"
#include "game/board/DisplayValue.h"

#include <cstdint>

namespace orv {

class PropertyNode;

/// The time left for the level: a vertical fill beside the board that
/// sinks as the level is played, its top edge shaped by a mask, with a
/// warning (the looping "SOUND_TIME", a turning clock part and a blinking
/// glow) when time runs short. It draws nothing itself: it drives the
/// playing screen's sprites "TIMEBAR_BACKGROUND", "TIMEBAR_FILLING",
/// "TIMEBAR_CLOCK", "TIMEBAR_ROTATE" and "TIMEBAR_GLOW", found through the
/// installed `PlayingScreen`, with the images "IMAGE_TIMEBARFILL",
/// "IMAGE_TIMEBARTOPMASK" and "IMAGE_TIMEBARTOP" of section "game".
///
///     RefPtr<TimeBar> bar(new TimeBar(nullptr));
///     bar->setMaxTime(90000);   // milliseconds
///     bar->reset();             // full
///     bar->getTime().addAndCommit(5000);
///
/// Times are milliseconds; y values are screen pixels.
class TimeBar : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A bar of 30000 ms, or the bar saved in `saved` ("currentTime",
    /// "maxTime"; a missing key reads 0).
    explicit TimeBar(PropertyNode* saved);
    TimeBar(const TimeBar&) = delete;
    TimeBar& operator=(const TimeBar&) = delete;
    ~TimeBar() override;

    /// The object factory's create function for "TimeBar".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The per-frame update (through the node tree).
    void updateSelf(int elapsedMs) override;
    /// Sets the full time (negative values read as 0); value and shown
    /// value are clamped into the new range.
    void setMaxTime(std::int32_t maxMs);
    /// Value and shown value become the maximum; the top edge jumps to the
    /// full bar.
    void reset();
    /// Screen y of the top edge for the shown value.
    [[nodiscard]] float fillTopY() const;
    /// Writes "currentTime" and "maxTime" into `node`.
    void save(PropertyNode& node) const;
    /// Shows or hides the bar's sprites with it.
    void setVisible(bool visible) override;
    /// Stops the warning sound if this bar started it.
    void stopWarningSound();

    [[nodiscard]] DisplayValue& getTime() { return time_; }
    [[nodiscard]] const DisplayValue& getTime() const { return time_; }
    [[nodiscard]] float getShownFillTop() const { return shownFillTop_; }
    [[nodiscard]] bool isWarningSoundOn() const { return warningSound_; }

private:
    void findParts();
    void drawFill();

    DisplayValue time_{30000, 0, 30000};
    float fillSpeed_ = 0.0F;
    float shownFillTop_ = 0.0F;
    Sprite* clock_ = nullptr;
    Sprite* background_ = nullptr;
    Sprite* filling_ = nullptr;
    Sprite* rotate_ = nullptr;
    Sprite* glow_ = nullptr;
    RefPtr<Image> topMask_;
    RefPtr<Image> fillImage_;
    RefPtr<Image> topImage_;
    bool warningSound_ = false;
};

} // namespace orv
