#include "render/CResoureMgr.h"

#include <algorithm>
#include <cstring>

#include "control/ZoButtonBar.h"
#include "host/Scale.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "render/Utils.h"

namespace zo {

using namespace plat;

std::shared_ptr<CResoureMgr> MakeResourceManager() {
    return std::make_shared<CResoureMgr>();
}

// ---- CBrush ----

CBrush::~CBrush() {
    if (handle_) DeleteObject(handle_);
}

bool CBrush::init(std::int32_t lBrushColor) {
    handle_ = CreateSolidBrush(static_cast<COLORREF>(lBrushColor));
    if (handle_ == 0) return false;
    color_ = lBrushColor;
    return true;
}

void CBrush::UpdateInfo(std::int32_t lBrushColor) {
    if (isSame(lBrushColor)) return;
    if (handle_) DeleteObject(handle_);
    handle_ = CreateSolidBrush(static_cast<COLORREF>(lBrushColor));
    color_ = lBrushColor;
}

// ---- CPen ----

CPen::~CPen() {
    if (handle_) DeleteObject(handle_);
}

bool CPen::isSame(std::int32_t aColor, std::int32_t lStyle, std::int32_t lWidth) const {
    return color_ == aColor && style_ == lStyle && width_ == lWidth;
}

bool CPen::init(std::int32_t lPenColor, std::int32_t lPenStyle, std::int32_t lPenWidth) {
    handle_ = CreatePen(lPenStyle, lPenWidth, static_cast<COLORREF>(lPenColor));
    if (handle_ == 0) return false;
    color_ = lPenColor;
    style_ = lPenStyle;
    width_ = lPenWidth;
    return true;
}

void CPen::UpdateInfo(std::int32_t lPenColor, std::int32_t lPenStyle, std::int32_t lPenWidth) {
    if (isSame(lPenColor, lPenStyle, lPenWidth)) return;
    if (handle_) DeleteObject(handle_);
    handle_ = CreatePen(lPenStyle, lPenWidth, static_cast<COLORREF>(lPenColor));
    color_ = lPenColor;
    style_ = lPenStyle;
    width_ = lPenWidth;
}

// ---- CFont ----

CFont::~CFont() {
    if (handle_) DeleteObject(handle_);
}

namespace {
std::int32_t ReduceOrientation(std::int32_t o) {
    return o % 3600;
}
}  // namespace

bool CFont::isSame(const StdFont& aFont, std::int32_t nOrient) {
    if (!copy_) {
        copy_ = std::make_unique<StdFont>();
        return false;
    }
    if (orientation_ != ReduceOrientation(nOrient)) return false;
    return !FontsDiffer(*copy_, aFont);
}

bool CFont::init(const StdFont& aFont, std::int32_t nOrient) {
    handle_ = Create(aFont, nOrient);
    return handle_ != 0;
}

void CFont::UpdateInfo(const StdFont& aFont, std::int32_t nOrient) {
    if (isSame(aFont, nOrient)) return;
    if (handle_) DeleteObject(handle_);
    handle_ = Create(aFont, nOrient);
}

std::string FaceNameForLogFont(const std::string& name) {
    std::string ansi = Utf8ToAnsi(name);
    if (ansi.size() > 31) ansi.resize(31);
    return ansi;
}

HFONT CFont::Create(const StdFont& aFont, std::int32_t nOrient) {
    if (!copy_) copy_ = std::make_unique<StdFont>();
    CopyFont(*copy_, aFont);
    LOGFONTA lf;
    const std::string face = FaceNameForLogFont(aFont.Name());
    std::memcpy(lf.lfFaceName, face.data(), face.size());
    lf.lfFaceName[face.size()] = '\0';
    int dpi = 96;
    if (const HDC screen = GetDC(0)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(0, screen);
    }
    // Fractional sizes are taken to whole points first: 8.25 becomes 8.
    lf.lfHeight = -MulDiv(NearestInt(aFont.Size()), dpi, 72);
    lf.lfWeight = aFont.Bold() ? 700 : 400;
    lf.lfItalic = aFont.Italic() ? 1 : 0;
    lf.lfUnderline = aFont.Underline() ? 1 : 0;
    lf.lfStrikeOut = aFont.Strikethrough() ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(aFont.Charset());
    const std::int32_t orient = ReduceOrientation(nOrient);
    lf.lfEscapement = orient;
    lf.lfOrientation = orient;
    if (orient != 0) lf.lfOutPrecision = 7;  // outline fonts turn
    orientation_ = orient;
    thread_local std::uint32_t lastSerial = 0;
    if (++lastSerial == 0) lastSerial = 1;
    serial_ = lastSerial;
    return CreateFontIndirectA(&lf);
}

// ---- CResoureMgr ----

HPEN CResoureMgr::GetPen(std::int32_t lPenColor, const std::string& sKey, std::int32_t lPenStyle,
                         std::int32_t lPenWidth) {
    auto it = pens_.find(sKey);
    if (it == pens_.end()) {
        auto pen = std::make_unique<CPen>();
        if (!pen->init(lPenColor, lPenStyle, lPenWidth)) return 0;
        it = pens_.emplace(sKey, std::move(pen)).first;
    } else {
        it->second->UpdateInfo(lPenColor, lPenStyle, lPenWidth);
    }
    return it->second->hPen();
}

HBRUSH CResoureMgr::GetBrush(std::int32_t lBrushColor, const std::string& sKey) {
    auto it = brushes_.find(sKey);
    if (it == brushes_.end()) {
        auto brush = std::make_unique<CBrush>();
        if (!brush->init(lBrushColor)) return 0;
        it = brushes_.emplace(sKey, std::move(brush)).first;
    } else {
        it->second->UpdateInfo(lBrushColor);
    }
    return it->second->hBrush();
}

std::uint32_t CResoureMgr::FontSerial(const std::string& sKey) const {
    const auto it = fonts_.find(sKey);
    return it == fonts_.end() ? 0 : it->second->Serial();
}

HFONT CResoureMgr::GetFont(const StdFont& aFont, const std::string& sKey, std::int32_t nOrient) {
    auto it = fonts_.find(sKey);
    if (it == fonts_.end()) {
        auto font = std::make_unique<CFont>();
        if (!font->init(aFont, nOrient)) return 0;
        it = fonts_.emplace(sKey, std::move(font)).first;
    } else {
        it->second->UpdateInfo(aFont, nOrient);
    }
    return it->second->hFont();
}

}  // namespace zo
