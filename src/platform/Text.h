// The text half of the stand-in platform's drawing layer: measuring and drawing 8-bit text in
// the font selected into a device context, under the classic platform's names.
//
// Character set. The "A" functions take Windows-1252 bytes, as the classic platform does for
// western systems. The component keeps its text in UTF-8 and converts it exactly once, at the
// call, with Utf8ToAnsi: every character that Windows-1252 cannot hold becomes '?', and so
// does every byte of malformed UTF-8. Glyphs are looked up by mapping each byte back to its
// Unicode character (0x80 is the euro sign, 0x81/0x8D/0x8F/0x90/0x9D map to the C1 controls
// of the same value, as the platform's own conversion does).
//
// Fonts. CreateFontIndirectA (Gdi.h) only records a LOGFONTA; the face is found with
// fontconfig by name, weight (>= 600 is bold) and italic when the font is first used, and
// unknown names fall back to the system's sans-serif face. lfHeight < 0 asks for an em height
// of -lfHeight pixels, > 0 for a cell height (tmHeight), 0 for a 16-pixel cell. Text is
// anti-aliased and blended in the text colour; escapements that are multiples of 90 degrees
// turn glyph images exactly, other escapements rotate the outlines.
#pragma once

#include <string>
#include <string_view>

#include "core/Export.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Types.h"

namespace zo::plat {

// ---- Character set -------------------------------------------------------------------------

// UTF-8 to Windows-1252 ('?' for what it cannot hold, and for each malformed sequence).
ZO_API std::string Utf8ToAnsi(std::string_view utf8);
// Windows-1252 to UTF-8; every byte has a character, so nothing is lost.
ZO_API std::string AnsiToUtf8(std::string_view ansi);
// The Unicode character of one Windows-1252 byte.
ZO_API char32_t UnicodeOfAnsi(unsigned char byte);

// ---- Fonts ---------------------------------------------------------------------------------

inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE SYMBOL_CHARSET = 2;
inline constexpr BYTE OEM_CHARSET = 255;

inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_THIN = 100;
inline constexpr LONG FW_LIGHT = 300;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_MEDIUM = 500;
inline constexpr LONG FW_SEMIBOLD = 600;
inline constexpr LONG FW_BOLD = 700;
inline constexpr LONG FW_HEAVY = 900;

inline constexpr BYTE OUT_DEFAULT_PRECIS = 0;
inline constexpr BYTE OUT_TT_ONLY_PRECIS = 7;

inline constexpr BYTE DEFAULT_PITCH = 0;
inline constexpr BYTE FIXED_PITCH = 1;
inline constexpr BYTE VARIABLE_PITCH = 2;
inline constexpr BYTE FF_DONTCARE = 0x00;
inline constexpr BYTE FF_ROMAN = 0x10;
inline constexpr BYTE FF_SWISS = 0x20;
inline constexpr BYTE FF_MODERN = 0x30;

// tmPitchAndFamily bits (TMPF_FIXED_PITCH set means variable pitch, as on the platform).
inline constexpr BYTE TMPF_FIXED_PITCH = 0x01;
inline constexpr BYTE TMPF_VECTOR = 0x02;
inline constexpr BYTE TMPF_TRUETYPE = 0x04;

// The LOGFONT of the stock DEFAULT_GUI_FONT: "MS Sans Serif", 8 points at 96 dpi (-11),
// normal weight. Windows and tooltips use it when nobody selected another font; it is
// realised like any other font.
ZO_API LOGFONTA DefaultGuiLogFont();

struct ZO_API TEXTMETRICA {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    LONG tmDigitizedAspectX = 0;
    LONG tmDigitizedAspectY = 0;
    BYTE tmFirstChar = 0;
    BYTE tmLastChar = 0;
    BYTE tmDefaultChar = 0;
    BYTE tmBreakChar = 0;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = 0;
};

// Metrics of the font selected into hdc (the default GUI font when none is).
ZO_API BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* metrics);

// The family name of the face actually used for the selected font, in Windows-1252. Copies at
// most count - 1 bytes and a NUL into name and returns the number of bytes copied including
// the NUL; with a null name returns the length the name needs. 0 on failure.
ZO_API int GetTextFaceA(HDC hdc, int count, char* name);

// ---- Measuring -----------------------------------------------------------------------------

// cx = the sum of the characters' whole-pixel advances (the same advances drawing uses, no
// kerning, no overhang); cy = tmHeight, or 0 for an empty string. The extent does not depend
// on the font's escapement: cx runs along the text. FALSE for a bad handle or a negative count.
ZO_API BOOL GetTextExtentPoint32A(HDC hdc, const char* text, int count, SIZE* size);

// ---- Drawing at a point --------------------------------------------------------------------

inline constexpr UINT ETO_OPAQUE = 0x0002;
inline constexpr UINT ETO_CLIPPED = 0x0004;

// Draws count bytes with the DC's text alignment (TA_* of Gdi.h, applied in the font's turned
// frame), text colour and background mode; with TA_UPDATECP the current position is used and
// moved along the text.
ZO_API BOOL TextOutA(HDC hdc, int x, int y, const char* text, int count);

// TextOutA with ETO_OPAQUE (fill rect with the background colour first) and ETO_CLIPPED (clip
// to rect); dx, when given, holds count advances that replace the font's.
ZO_API BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, const char* text,
                        UINT count, const int* dx);

// ---- Drawing in a rectangle ----------------------------------------------------------------

inline constexpr UINT DT_TOP = 0x00000000;
inline constexpr UINT DT_LEFT = 0x00000000;
inline constexpr UINT DT_CENTER = 0x00000001;
inline constexpr UINT DT_RIGHT = 0x00000002;
inline constexpr UINT DT_VCENTER = 0x00000004;
inline constexpr UINT DT_BOTTOM = 0x00000008;
inline constexpr UINT DT_WORDBREAK = 0x00000010;
inline constexpr UINT DT_SINGLELINE = 0x00000020;
inline constexpr UINT DT_EXPANDTABS = 0x00000040;
inline constexpr UINT DT_TABSTOP = 0x00000080;
inline constexpr UINT DT_NOCLIP = 0x00000100;
inline constexpr UINT DT_EXTERNALLEADING = 0x00000200;
inline constexpr UINT DT_CALCRECT = 0x00000400;
inline constexpr UINT DT_NOPREFIX = 0x00000800;
inline constexpr UINT DT_INTERNAL = 0x00001000;
inline constexpr UINT DT_EDITCONTROL = 0x00002000;
inline constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
inline constexpr UINT DT_END_ELLIPSIS = 0x00008000;
inline constexpr UINT DT_MODIFYSTRING = 0x00010000;
inline constexpr UINT DT_RTLREADING = 0x00020000;
inline constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
inline constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
inline constexpr UINT DT_HIDEPREFIX = 0x00100000;
inline constexpr UINT DT_PREFIXONLY = 0x00200000;

// Draws text (count bytes, or up to the NUL with count -1) in rect with the DT_* layout: line
// breaking, alignment, ellipses, '&' prefixes, tabs. Returns the height of the drawn text
// (from rect->top to the bottom of the last line, 1 when that is 0), 0 on failure or for
// count 0. With DT_CALCRECT nothing is drawn and rect receives the text's extent. The DC's
// text alignment is not used. A font turned by a multiple of 90 degrees lays the text out in
// the rectangle turned with it (lines run along the turned baseline); other angles lay out
// upright and turn each line about its start. DT_MODIFYSTRING is ignored here, the text
// being read-only.
ZO_API int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format);
// The same over a string the call may change: with DT_MODIFYSTRING and DT_END_ELLIPSIS or
// DT_PATH_ELLIPSIS, text receives the shown form of the line that was shortened.
ZO_API int DrawTextA(HDC hdc, std::string& text, RECT* rect, UINT format);

}  // namespace zo::plat
