#include "game/screen/TypeLabel.h"

#include "engine/graphics/Graphics.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

namespace orv {

constinit const ClassRecord TypeLabel::classRecord{
    "TypeLabel", parentRecords<Label::classRecord, iInputListener::classRecord>};

namespace {

constexpr std::array<std::string_view, 3> kRangeNames{"none", "inside", "all"};

// Every pixel transparent (colour and alpha plane).
void clearImage(Image& image) {
    if (!image.lock()) {
        return;
    }
    if (image.getPixels() != nullptr) {
        std::memset(image.getPixels(), 0,
                    static_cast<std::size_t>(image.getPitch()) *
                        static_cast<std::size_t>(image.getHeight()));
    }
    if (image.getAlpha() != nullptr) {
        std::memset(image.getAlpha(), 0,
                    static_cast<std::size_t>(image.getWidth()) *
                        static_cast<std::size_t>(image.getHeight()));
    }
    image.unlock();
}

bool hasCharacters(const TextLine& line) {
    return !line.text.empty();
}

} // namespace

TypeLabel::TypeLabel(PropertyNode* definition) : Label(definition) {
    PropertyNode* node = definition != nullptr ? definition : DUMMY_NODE;
    const auto intOr = [node](std::string_view key, int fallback) {
        const AbstractProperty* child = node->getChild(key);
        return child != nullptr && child->isKindOf(PropertyValue::classRecord)
                   ? node->getValue(key)->getInt()
                   : fallback;
    };
    setTiming(intOr("delay", delay_), intOr("time", time_), intOr("start", start_));
    range_ = static_cast<Range>(node->getEnumIndex("range", kRangeNames, range_));
}

TypeLabel::~TypeLabel() = default;

BaseObject* TypeLabel::createFromDefinition(PropertyNode* definition) {
    return new TypeLabel(definition);
}

void* TypeLabel::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iInputListener::classRecord) {
        return static_cast<iInputListener*>(this);
    }
    return Label::getInterface(interfaceRecord);
}

void TypeLabel::setTiming(int delay, int time, int start) {
    delay_ = std::max(0, delay);
    // A line is uncovered over `time` ms; a time of 0 or less (bad data)
    // uncovers each line at once instead of dividing by it.
    time_ = std::max(0, time);
    start_ = std::max(0, start);
}

void TypeLabel::restartTyping() {
    full_ = nullptr;
    shown_ = nullptr;
    relayout();
    Image* rendered = getImage();
    elapsed_ = -start_;
    done_ = rendered == nullptr;
    if (done_) {
        return;
    }
    full_ = rendered;
    shown_ = cloneImage(*rendered);
    if (shown_ == nullptr) {
        done_ = true;
        return;
    }
    clearImage(*shown_);
    setImage(shown_.get());
}

bool TypeLabel::finishTyping() {
    if (done_) {
        return false;
    }
    if (full_ != nullptr) {
        setImage(full_.get());
    }
    done_ = true;
    hover_.set(false);
    return true;
}

void TypeLabel::updateSelf(int elapsedMs) {
    Label::updateSelf(elapsedMs);
    const std::vector<TextLine>& lines = getLines();
    if (done_ || full_ == nullptr || shown_ == nullptr || lines.empty()) {
        return;
    }
    elapsed_ += elapsedMs;
    const int n = static_cast<int>(lines.size());
    const int width = full_->getWidth();
    const float lineHeight = static_cast<float>(full_->getHeight()) / static_cast<float>(n);
    const int top = getOffset().second;
    // Lines complete in order: line j when its start (delay x the non-empty
    // lines before it) plus the typing time has passed.
    int complete = 0;
    int started = 0;
    while (complete < n && elapsed_ >= time_ + delay_ * started) {
        started += hasCharacters(lines[static_cast<std::size_t>(complete)]) ? 1 : 0;
        ++complete;
    }
    RefPtr<Graphics> g = createGraphics(*shown_);
    if (g == nullptr) {
        return;
    }
    const int band = std::clamp(static_cast<int>(static_cast<float>(complete) * lineHeight) + top,
                                0, full_->getHeight());
    if (band > 0) {
        g->copyImage(*full_, 0, 0, 0, 0, width, band);
    }
    for (int j = complete; j < n; ++j) {
        const int t = elapsed_ - delay_ * started;
        if (t <= 0) {
            break;
        }
        const int part =
            time_ > 0 ? std::min(width, static_cast<int>(static_cast<long long>(t) * width / time_))
                      : width;
        const int y = static_cast<int>(static_cast<float>(j) * lineHeight) + top;
        g->copyImage(*full_, 0, y, 0, y, part, static_cast<int>(std::ceil(lineHeight)));
        started += hasCharacters(lines[static_cast<std::size_t>(j)]) ? 1 : 0;
    }
    setDirty(true);
    if (complete == n) {
        setImage(full_.get());
        done_ = true;
        hover_.set(false);
    }
}

bool TypeLabel::hits(int x, int y) const {
    switch (range_) {
    case RangeInside:
        return hitTest(x, y);
    case RangeAll:
        return true;
    default:
        return false;
    }
}

void TypeLabel::updateHover(int x, int y) {
    if (!done_) {
        hover_.set(hits(x, y));
    }
}

bool TypeLabel::onMouseMove(int x, int y, int /*flags*/) {
    updateHover(x, y);
    return false;
}

bool TypeLabel::onLeftButtonDown(int x, int y, int /*flags*/, bool /*doubleClick*/) {
    updateHover(x, y);
    if (!hover_.isSet()) {
        return false;
    }
    static_cast<void>(finishTyping());
    return true;
}

} // namespace orv
