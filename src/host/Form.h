// The control's form: its own window and the four child drawing surfaces that exist with it
// (caption bar, upper group strip, button area, lower group strip). A surface is a window
// with a scale of its own, a background colour and the notifications the control handles;
// everything inside it the control draws itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/Export.h"
#include "core/Picture.h"
#include "host/Scale.h"
#include "platform/Types.h"

namespace zo {

// Mouse buttons and shift states as the notifications report them.
inline constexpr std::int16_t vbLeftButton = 1;
inline constexpr std::int16_t vbRightButton = 2;
inline constexpr std::int16_t vbMiddleButton = 4;
inline constexpr std::int16_t vbShiftMask = 1;
inline constexpr std::int16_t vbCtrlMask = 2;
inline constexpr std::int16_t vbAltMask = 4;

class ControlForm;

struct ZO_API SurfaceHandlers {
    std::function<void()> Paint;
    std::function<void()> Resize;  // only when the size really changed
    // Button, Shift, x and y in the surface's scale units.
    std::function<void(std::int16_t, std::int16_t, float, float)> MouseDown;
    std::function<void(std::int16_t, std::int16_t, float, float)> MouseUp;
    std::function<void(std::int16_t, std::int16_t, float, float)> MouseMove;
    std::function<void()> Click;  // after the MouseUp of a left click
    std::function<void(std::int16_t& keyCode, std::int16_t shift)> KeyDown;
    std::function<void()> LostFocus;
};

class ZO_API Surface {
public:
    Surface(ControlForm& form, std::string name);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    const std::string& Name() const { return name_; }
    plat::HWND hWnd() const { return hwnd_; }

    // Position and extent in the control's scale units.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void Move(double left, double top, double width, double height);
    // The same in pixels of the control's client area.
    void MovePx(int left, int top, int width, int height);

    ScaleMode GetScaleMode() const { return scaleMode_; }
    void SetScaleMode(ScaleMode mode) { scaleMode_ = mode; }
    // The client area in the surface's own scale units.
    double ScaleWidth() const;
    double ScaleHeight() const;
    double ScaleX(double value, ScaleMode from, ScaleMode to) const;
    double ScaleY(double value, ScaleMode from, ScaleMode to) const;
    // The client size in pixels.
    std::int32_t ClientWidthPx() const;
    std::int32_t ClientHeightPx() const;

    // OLE colour of the background the platform erases with.
    std::int32_t BackColor() const { return backColor_; }
    void SetBackColor(std::int32_t oleColor);

    bool Visible() const;
    void SetVisible(bool visible);

    // Repaints the whole surface at once (background, then the Paint notification).
    void Refresh();
    void SetFocus();

    std::string Text() const;
    void SetText(const std::string& text);

    SurfaceHandlers on;

    // The window procedure of every surface.
    static plat::LRESULT WndProc(plat::HWND, plat::UINT, plat::WPARAM, plat::LPARAM);

private:
    ScaleInfo Info() const;
    float ToUnitsX(int px) const;
    float ToUnitsY(int px) const;

    ControlForm& form_;
    std::string name_;
    plat::HWND hwnd_ = 0;
    ScaleMode scaleMode_ = vbTwips;
    std::int32_t backColor_ = static_cast<std::int32_t>(0x8000000Fu);
    bool leftPressed_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

struct ZO_API FormHandlers {
    std::function<void()> Resize;
    std::function<void()> EnterFocus;
    std::function<void()> ExitFocus;
};

class ZO_API ControlForm {
public:
    // Creates the control's window as a child of parent (or top-level when parent is 0) at
    // the given pixel rectangle, with its four surfaces; shown at once unless `visible` is
    // false (then ShowWindow shows it).
    ControlForm(plat::HWND parent, int x, int y, int width, int height, bool visible = true);
    ~ControlForm();
    ControlForm(const ControlForm&) = delete;
    ControlForm& operator=(const ControlForm&) = delete;

    plat::HWND hWnd() const { return hwnd_; }

    // 0 flat, 1 a sunken 3D edge around the client area; other values raise 380.
    std::int32_t Appearance() const { return appearance_; }
    void SetAppearance(std::int32_t value);
    // 0 none, 1 a single line; other values raise 380.
    std::int32_t BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(std::int32_t value);
    // The platform's pointer numbers 0-15 and 99 (custom: MouseIcon); others raise 380.
    std::int32_t MousePointer() const { return mousePointer_; }
    void SetMousePointer(std::int32_t value);
    const PicturePtr& MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(PicturePtr icon) { mouseIcon_ = std::move(icon); }

    ScaleMode GetScaleMode() const { return scaleMode_; }
    void SetScaleMode(ScaleMode mode) { scaleMode_ = mode; }
    double ScaleWidth() const;
    double ScaleHeight() const;
    double ScaleX(double value, ScaleMode from, ScaleMode to) const;
    double ScaleY(double value, ScaleMode from, ScaleMode to) const;
    std::int32_t ClientWidthPx() const;
    std::int32_t ClientHeightPx() const;

    // Moves and sizes the control's window, in pixels of its parent.
    void MovePx(int x, int y, int width, int height);

    Surface& CaptionBar() { return *captionBar_; }
    Surface& UpperGroups() { return *upperGroups_; }
    Surface& Buttons() { return *buttons_; }
    Surface& LowerGroups() { return *lowerGroups_; }

    // Whether the keyboard focus is on the control's window or one of its surfaces.
    bool HasFocusWithin() const;

    FormHandlers on;

    static plat::LRESULT WndProc(plat::HWND, plat::UINT, plat::WPARAM, plat::LPARAM);

private:
    friend class Surface;
    ScaleInfo Info() const;
    void FocusMoved(plat::HWND gaining);

    plat::HWND hwnd_ = 0;
    std::int32_t appearance_ = 1;
    std::int32_t borderStyle_ = 0;
    std::int32_t mousePointer_ = 0;
    PicturePtr mouseIcon_;
    ScaleMode scaleMode_ = vbTwips;
    bool focusWithin_ = false;
    std::unique_ptr<Surface> captionBar_, upperGroups_, buttons_, lowerGroups_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zo
