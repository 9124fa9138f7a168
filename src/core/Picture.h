// A picture as the host and the items see it: a type, a platform handle and a size in
// HIMETRIC (0.01 mm). The platform object behind the handle is released with the picture.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "core/Export.h"
#include "core/Object.h"

namespace zo {

enum class PictureType : std::int32_t {
    None = 0,
    Bitmap = 1,
    Metafile = 2,
    Icon = 3,
    EnhancedMetafile = 4,
};

class ZO_API Picture : public Object {
public:
    using Releaser = std::function<void(std::uint32_t handle)>;

    // A picture over an existing platform object; release (may be empty) is called with the
    // handle when the last reference goes.
    static std::shared_ptr<Picture> Create(PictureType type, std::uint32_t handle,
                                           std::int32_t widthHimetric, std::int32_t heightHimetric,
                                           Releaser release = {});
    // The same with the size given in pixels at 96 dpi.
    static std::shared_ptr<Picture> FromPixels(PictureType type, std::uint32_t handle,
                                               std::int32_t widthPx, std::int32_t heightPx,
                                               Releaser release = {});
    // The empty picture (type 0), what loading an empty path gives.
    static std::shared_ptr<Picture> Empty();

    // Public for make_shared only; the key keeps construction inside Create.
    struct Key {
        explicit Key() = default;
    };
    Picture(Key, PictureType type, std::uint32_t handle, std::int32_t w, std::int32_t h,
            Releaser release);
    ~Picture() override;

    std::string_view TypeName() const override { return "Picture"; }

    std::int32_t Type() const { return static_cast<std::int32_t>(type_); }
    PictureType Kind() const { return type_; }
    std::uint32_t Handle() const { return handle_; }
    std::int32_t Width() const { return width_; }    // HIMETRIC
    std::int32_t Height() const { return height_; }  // HIMETRIC

    // The bytes of the file the picture was loaded from (a BMP, PNG, icon or metafile), kept
    // so that saving a design stores exactly what was loaded; null for pictures made in
    // memory. Shared, as many pictures may come from one file.
    using SourceBytes = std::shared_ptr<const std::vector<std::uint8_t>>;
    const SourceBytes& Source() const { return source_; }
    void SetSource(SourceBytes bytes) { source_ = std::move(bytes); }

    // HIMETRIC extent of a pixel extent at 96 dpi (MulDiv(px, 2540, 96)): 32 px -> 847.
    static std::int32_t HimetricFromPixels(std::int32_t px);

private:
    PictureType type_;
    std::uint32_t handle_;
    std::int32_t width_;
    std::int32_t height_;
    Releaser release_;
    SourceBytes source_;
};

using PicturePtr = std::shared_ptr<Picture>;

}  // namespace zo
