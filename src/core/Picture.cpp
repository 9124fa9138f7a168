#include "core/Picture.h"

#include <utility>

namespace zo {

Picture::Picture(Key, PictureType type, std::uint32_t handle, std::int32_t w, std::int32_t h,
                 Releaser release)
    : type_(type), handle_(handle), width_(w), height_(h), release_(std::move(release)) {}

Picture::~Picture() {
    if (release_ && handle_ != 0) release_(handle_);
}

std::shared_ptr<Picture> Picture::Create(PictureType type, std::uint32_t handle,
                                         std::int32_t widthHimetric, std::int32_t heightHimetric,
                                         Releaser release) {
    return std::make_shared<Picture>(Key{}, type, handle, widthHimetric, heightHimetric,
                                     std::move(release));
}

std::shared_ptr<Picture> Picture::FromPixels(PictureType type, std::uint32_t handle,
                                             std::int32_t widthPx, std::int32_t heightPx,
                                             Releaser release) {
    return Create(type, handle, HimetricFromPixels(widthPx), HimetricFromPixels(heightPx),
                  std::move(release));
}

std::shared_ptr<Picture> Picture::Empty() {
    return Create(PictureType::None, 0, 0, 0);
}

std::int32_t Picture::HimetricFromPixels(std::int32_t px) {
    // Rounded half away from zero, as the platform's MulDiv does.
    const std::int64_t num = static_cast<std::int64_t>(px) * 2540;
    const std::int64_t q = (num >= 0 ? num + 48 : num - 48) / 96;
    return static_cast<std::int32_t>(q);
}

}  // namespace zo
