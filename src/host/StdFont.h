// The host's font object: a face name, a size in points with four decimals, bold (tied to the
// weight), italic, underline, strike-through and a character set.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Export.h"
#include "core/Object.h"

namespace zo {

class ZO_API StdFont : public Object {
public:
    // A new font is the host's default: "MS Sans Serif", 8.25 points, regular.
    StdFont();

    std::string_view TypeName() const override { return "StdFont"; }

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // Points as a fixed-point value with four decimals (8.25 is 82500 ten-thousandths).
    double Size() const { return static_cast<double>(sizeTenThousandths_) / 10000.0; }
    void SetSize(double points);
    std::int64_t SizeTenThousandths() const { return sizeTenThousandths_; }

    // Bold reads the weight (above 550); setting it sets the weight to 700 or 400.
    bool Bold() const { return weight_ > 550; }
    void SetBold(bool b) { weight_ = b ? 700 : 400; }
    std::int16_t Weight() const { return weight_; }
    void SetWeight(std::int16_t w) { weight_ = w; }

    bool Italic() const { return italic_; }
    void SetItalic(bool b) { italic_ = b; }
    bool Underline() const { return underline_; }
    void SetUnderline(bool b) { underline_ = b; }
    bool Strikethrough() const { return strikethrough_; }
    void SetStrikethrough(bool b) { strikethrough_ = b; }
    std::int16_t Charset() const { return charset_; }
    void SetCharset(std::int16_t c) { charset_ = c; }

    std::shared_ptr<StdFont> Clone() const;

private:
    std::string name_ = "MS Sans Serif";
    std::int64_t sizeTenThousandths_ = 82500;
    std::int16_t weight_ = 400;
    bool italic_ = false;
    bool underline_ = false;
    bool strikethrough_ = false;
    std::int16_t charset_ = 0;
};

using FontPtr = std::shared_ptr<StdFont>;

}  // namespace zo
