#include "engine/platform/InputHandler.h"

#include "engine/platform/GameWindow.h"

#include <array>

namespace orv {

constinit const ClassRecord InputHandler::classRecord{"InputHandler",
                                                      parentRecords<Task::classRecord>};

int hoverCount = 0;

namespace {

int lastMouseX = 0;
int lastMouseY = 0;

constexpr std::size_t kKeyCount = 256;
std::array<bool, kKeyCount> heldKeys{};

// A coordinate above this came from a negative one cut to 16 bits (the
// pointer left the window while captured).
constexpr int kNegativeCut = 60000;

constexpr int kHandCursor = 3;
constexpr int kInputArrowCursor = 2;

int clampCoordinate(int value, int limit, bool limited) {
    if (value > kNegativeCut) {
        return 0;
    }
    if (limited && value > limit) {
        return limit;
    }
    return value;
}

void setKeyHeld(std::uint32_t virtualKey, bool held) {
    if (virtualKey < kKeyCount) {
        heldKeys.at(virtualKey) = held;
    }
}

} // namespace

int getLastMouseX() {
    return lastMouseX;
}

int getLastMouseY() {
    return lastMouseY;
}

void setLastMousePosition(int x, int y) {
    lastMouseX = x;
    lastMouseY = y;
}

bool InputHandler::isKeyHeld(std::uint32_t virtualKey) {
    return virtualKey < kKeyCount && heldKeys.at(virtualKey);
}

void InputHandler::clearKeyState() {
    heldKeys.fill(false);
}

void InputHandler::onWindowMessage(std::uint32_t message, std::uint32_t wParam,
                                   std::uint32_t lParam) {
    using namespace platform;
    if (!isActive()) {
        return;
    }
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        queue_.push_back({message, wParam, lParam});
        return;
    default:
        break;
    }
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        setLastMousePosition(pointX(lParam), pointY(lParam));
        queue_.push_back({message, wParam, lParam});
    }
}

void InputHandler::addListener(iInputListener* listener) {
    container_.insertListener(listener);
}

void InputHandler::removeListener(iInputListener* listener) {
    container_.removeListener(listener);
}

void InputHandler::setActive(bool active) {
    Task::setActive(active);
    if (!active) {
        clearQueue();
    }
}

bool InputHandler::pollPointer(platform::WindowPoint& point) {
    GameWindow* window = GameWindow::getInstance();
    if (window == nullptr || window->getHandle() == nullptr || !window->hasFocus()) {
        return false;
    }
    point = window->getCursorPosition();
    return true;
}

void InputHandler::run(int elapsedMs) {
    static_cast<void>(elapsedMs);
    const GameWindow* window = GameWindow::getInstance();
    if (queue_.empty()) {
        platform::WindowPoint point;
        if (window != nullptr && pollPointer(point)) {
            const bool inside = point.x > 0 && point.x < window->getWidth() && point.y > 0 &&
                                point.y < window->getHeight();
            if (!inside) {
                setLastMousePosition(point.x, point.y);
                queue_.push_back(
                    {platform::WM_MOUSEMOVE, 0, platform::packPoint(point.x, point.y)});
            }
        }
    }
    while (!queue_.empty()) {
        // Taken off first: a listener may empty the queue or queue more.
        const platform::Message event = queue_.front();
        queue_.pop_front();
        replay(event);
    }
}

void InputHandler::replay(const platform::Message& event) {
    using namespace platform;
    const GameWindow* window = GameWindow::getInstance();
    const bool limited = window != nullptr;
    const int x = clampCoordinate(pointX(event.lParam), limited ? window->getWidth() : 0, limited);
    const int y = clampCoordinate(pointY(event.lParam), limited ? window->getHeight() : 0, limited);
    const auto flags = static_cast<int>(event.wParam);
    if (event.message >= WM_MOUSEFIRST && event.message <= WM_MOUSELAST) {
        setLastMousePosition(x, y);
    }
    switch (event.message) {
    case WM_KEYDOWN:
        setKeyHeld(event.wParam, true);
        onKeyDown(static_cast<int>(event.wParam));
        break;
    case WM_KEYUP:
        setKeyHeld(event.wParam, false);
        onKeyUp(static_cast<int>(event.wParam));
        break;
    case WM_SYSKEYDOWN:
        // Alt combinations reach no listener, but the keys are held.
        setKeyHeld(event.wParam, true);
        break;
    case WM_SYSKEYUP:
        setKeyHeld(event.wParam, false);
        break;
    case WM_CHAR:
        // wParam is a whole Unicode code point here: cutting it to 8 bits
        // would turn every character beyond Latin-1 into another one.
        onChar(static_cast<int>(event.wParam));
        break;
    case WM_MOUSEMOVE:
        onMouseMove(x, y, flags);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        onLeftButtonDown(x, y, flags, event.message == WM_LBUTTONDBLCLK);
        break;
    case WM_LBUTTONUP:
        onLeftButtonUp(x, y, flags);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        onMiddleButtonDown(x, y, flags, event.message == WM_MBUTTONDBLCLK);
        break;
    case WM_MBUTTONUP:
        onMiddleButtonUp(x, y, flags);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        onRightButtonDown(x, y, flags, event.message == WM_RBUTTONDBLCLK);
        break;
    case WM_RBUTTONUP:
        onRightButtonUp(x, y, flags);
        break;
    default:
        break;
    }
}

void InputHandler::onKeyDown(int key) {
    static_cast<void>(container_.onKeyDown(key));
}

void InputHandler::onKeyUp(int key) {
    static_cast<void>(container_.onKeyUp(key));
}

void InputHandler::onChar(int character) {
    static_cast<void>(container_.onChar(character));
}

void InputHandler::onMouseMove(int x, int y, int flags) {
    lastForwardedX_ = x;
    lastForwardedY_ = y;
    static_cast<void>(container_.onMouseMove(x, y, flags));
    if (GameWindow* window = GameWindow::getInstance()) {
        window->setCursor(hoverCount > 0 ? kHandCursor : kInputArrowCursor);
    }
}

void InputHandler::onLeftButtonDown(int x, int y, int flags, bool doubleClick) {
    static_cast<void>(container_.onLeftButtonDown(x, y, flags, doubleClick));
}

void InputHandler::onLeftButtonUp(int x, int y, int flags) {
    static_cast<void>(container_.onLeftButtonUp(x, y, flags));
}

void InputHandler::onMiddleButtonDown(int x, int y, int flags, bool doubleClick) {
    static_cast<void>(container_.onMiddleButtonDown(x, y, flags, doubleClick));
}

void InputHandler::onMiddleButtonUp(int x, int y, int flags) {
    static_cast<void>(container_.onMiddleButtonUp(x, y, flags));
}

void InputHandler::onRightButtonDown(int x, int y, int flags, bool doubleClick) {
    static_cast<void>(container_.onRightButtonDown(x, y, flags, doubleClick));
}

void InputHandler::onRightButtonUp(int x, int y, int flags) {
    static_cast<void>(container_.onRightButtonUp(x, y, flags));
}

} // namespace orv
