// The drawing-object cache: one pen, brush or font per string key, re-created only when the
// attributes asked for differ from those it was made with, so a repaint with unchanged
// colours and font creates nothing. A returned handle stays valid until the next request
// under the same key with other attributes, or until the cache goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/StdFont.h"
#include "platform/Types.h"

namespace zo {

class CBrush {
public:
    ~CBrush();
    plat::HBRUSH hBrush() const { return handle_; }
    bool isSame(std::int32_t aColor) const { return color_ == aColor; }
    bool init(std::int32_t lBrushColor);
    void UpdateInfo(std::int32_t lBrushColor);

private:
    plat::HBRUSH handle_ = 0;
    std::int32_t color_ = -1;
};

class CPen {
public:
    ~CPen();
    plat::HPEN hPen() const { return handle_; }
    bool isSame(std::int32_t aColor, std::int32_t lStyle, std::int32_t lWidth) const;
    bool init(std::int32_t lPenColor, std::int32_t lPenStyle, std::int32_t lPenWidth);
    void UpdateInfo(std::int32_t lPenColor, std::int32_t lPenStyle, std::int32_t lPenWidth);

private:
    plat::HPEN handle_ = 0;
    std::int32_t color_ = -1;
    std::int32_t style_ = 0;
    std::int32_t width_ = 0;
};

class CFont {
public:
    ~CFont();
    plat::HFONT hFont() const { return handle_; }
    // Different for every font object ever made on this thread, unlike handle values, which
    // a later font may reuse.
    std::uint32_t Serial() const { return serial_; }
    // False when there is no copy yet (one is made), when the orientation differs modulo
    // 3600, or when any font attribute differs.
    bool isSame(const StdFont& aFont, std::int32_t nOrient = 0);
    bool init(const StdFont& aFont, std::int32_t nOrient = 0);
    void UpdateInfo(const StdFont& aFont, std::int32_t nOrient = 0);

private:
    plat::HFONT Create(const StdFont& aFont, std::int32_t nOrient);
    std::unique_ptr<StdFont> copy_;
    std::int32_t orientation_ = 0;
    plat::HFONT handle_ = 0;
    std::uint32_t serial_ = 0;
};

class CResoureMgr {
public:
    plat::HPEN GetPen(std::int32_t lPenColor, const std::string& sKey, std::int32_t lPenStyle = 0,
                      std::int32_t lPenWidth = 0);
    void RemovePen(const std::string& sKey) { pens_.erase(sKey); }
    plat::HBRUSH GetBrush(std::int32_t lBrushColor, const std::string& sKey);
    void RemoveBrush(const std::string& sKey) { brushes_.erase(sKey); }
    plat::HFONT GetFont(const StdFont& aFont, const std::string& sKey, std::int32_t nOrient = 0);
    void RemoveFont(const std::string& sKey) { fonts_.erase(sKey); }
    // The serial of the font kept under sKey, 0 when there is none.
    std::uint32_t FontSerial(const std::string& sKey) const;

private:
    std::unordered_map<std::string, std::unique_ptr<CPen>> pens_;
    std::unordered_map<std::string, std::unique_ptr<CBrush>> brushes_;
    std::unordered_map<std::string, std::unique_ptr<CFont>> fonts_;
};

// The LOGFONT face name for a font name: converted to the 8-bit code page and cut to 31
// bytes, so it always fits the 32-byte field with its terminating zero.
std::string FaceNameForLogFont(const std::string& name);

}  // namespace zo
