#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"
#include "game/screen/ModifierLabelValue.h"

#include <cstdint>
#include <string_view>

namespace orv {

class Label;
class PropertyNode;

/// A node whose label counts its number towards each new target: the score
/// display of the playing screen ("SCORE_TICKER") and the counters of the
/// building's dialogs. Built by class name from a definition; the keys (all
/// optional but "label"): "label" (a child definition built by its type, the
/// shown label), "type" ("value", "tenfold", "time"), "format" ("plain",
/// "dot", "time"), "sound" with "soundsection", "extra" (text in front),
/// "time" (duration ms), "mul" (float), "add", "interval", "value" (start)
/// and "target".
///
///     ticker->countTo(game.getScore().getValue());   // counts up from what it shows
///     ticker->showNow(0);                            // a new level: no counting
///
/// The counting modifier lives in the ticker's own list and never ends.
class LabelTicker : public GameNode {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Built from `definition` (a null definition: no label, counting from 0).
    explicit LabelTicker(PropertyNode* definition);
    LabelTicker(const LabelTicker&) = delete;
    LabelTicker& operator=(const LabelTicker&) = delete;
    ~LabelTicker() override;

    /// The object factory's create function for "LabelTicker".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Counts from the value shown now to `target`.
    void countTo(std::int32_t target);
    /// Shows `value` at once.
    void showNow(std::int32_t value);
    /// Replaces the text in front of the number when it differs, and shows
    /// the number again.
    void setExtra(std::wstring_view text);

    /// Borrowed from the ticker; null when the definition had no label.
    [[nodiscard]] Label* getLabel() const { return counter_->getLabel(); }
    [[nodiscard]] ModifierLabelValue& getCounter() const { return *counter_; }

private:
    void readDefinition(PropertyNode* definition);

    RefPtr<ModifierLabelValue> counter_;
};

} // namespace orv
