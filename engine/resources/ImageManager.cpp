#include "engine/resources/ImageManager.h"

#include "engine/core/Log.h"
#include "engine/resources/Image.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace orv {

constinit const ClassRecord ImageManager::classRecord{"ImageManager"};

namespace {

// Images are made and destroyed on the loader thread as well as the main
// thread, so the singleton pointer itself is atomic.
std::atomic<ImageManager*> instance{nullptr};

} // namespace

class ImageManager::ListLock {
public:
    explicit ListLock(platform::NamedMutex& mutex) : guard_(mutex, kLockWaitMilliseconds) {
        if (!guard_.isAcquired()) {
            // The list is used anyway: a stalled game is worse than the small
            // risk of a race after ten seconds of waiting.
            logWarning("ImageManager: lock not acquired within 10000 ms; going on without it");
        }
    }

private:
    platform::NamedMutexGuard guard_; // unlocks only when it was acquired
};

ImageManager* ImageManager::create() {
    ImageManager* current = instance.load();
    if (current != nullptr) {
        return current;
    }
    auto* manager = new ImageManager();
    manager->addRef();
    instance.store(manager);
    return manager;
}

ImageManager* ImageManager::getInstance() {
    return instance.load();
}

void ImageManager::destroyInstance() {
    if (ImageManager* manager = instance.exchange(nullptr)) {
        manager->release();
    }
}

ImageManager::~ImageManager() {
    ImageManager* self = this;
    instance.compare_exchange_strong(self, nullptr);
    const ListLock guard(lock_);
    images_.clear();
}

void ImageManager::add(Image* image) {
    const ListLock guard(lock_);
    images_.push_back(image);
}

void ImageManager::remove(Image* image) {
    const ListLock guard(lock_);
    const auto found = std::find(images_.begin(), images_.end(), image);
    if (found != images_.end()) {
        images_.erase(found);
    }
}

bool ImageManager::contains(const Image* image) {
    const ListLock guard(lock_);
    return std::find(images_.begin(), images_.end(), image) != images_.end();
}

std::size_t ImageManager::getImageCount() {
    const ListLock guard(lock_);
    return images_.size();
}

void ImageManager::setPixelFormatAll(int bytesPerPixel) {
    const ListLock guard(lock_);
    displayBytesPerPixel_ = bytesPerPixel;
    for (Image* image : images_) {
        image->setPixelFormat(bytesPerPixel);
    }
}

void ImageManager::adoptDisplayFormat(Image& image) {
    const ListLock guard(lock_);
    image.setFollowsDisplayFormat(true);
    image.setPixelFormat(displayBytesPerPixel_);
}

void ImageManager::run(int /*elapsedMs*/) {}

} // namespace orv
