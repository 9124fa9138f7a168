#include "host/StdFont.h"

#include <cmath>

#include "core/Error.h"

namespace zo {

StdFont::StdFont() = default;

void StdFont::SetSize(double points) {
    // The platform refuses sizes it cannot realise rather than storing nonsense.
    if (!std::isfinite(points) || points <= 0 || points > 2048)
        throw Error(380, std::string(kLibraryName), "Invalid property value");
    sizeTenThousandths_ = std::llround(points * 10000.0);
}

std::shared_ptr<StdFont> StdFont::Clone() const {
    auto copy = std::make_shared<StdFont>();
    copy->name_ = name_;
    copy->sizeTenThousandths_ = sizeTenThousandths_;
    copy->weight_ = weight_;
    copy->italic_ = italic_;
    copy->underline_ = underline_;
    copy->strikethrough_ = strikethrough_;
    copy->charset_ = charset_;
    return copy;
}

}  // namespace zo
