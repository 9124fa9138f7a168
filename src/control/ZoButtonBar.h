// ZoButtonBar: the control. A bar of group headers whose active group shows its buttons
// between the header strips. The host drives it through its properties and methods, reaches
// groups and buttons through Groups(), and receives its events through ZoButtonBarEvents.
//
// The class is implemented across the layers that own each concern: lifecycle, properties,
// model events and selection here in control/; layout, arrangement and painting in render/;
// mouse, keyboard, tooltip and window hooking in input/; the stored design in persist/.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "control/CGroupButtons.h"
#include "control/Events.h"
#include "core/Enums.h"
#include "core/Export.h"
#include "core/Picture.h"
#include "core/Rect.h"
#include "core/Variant.h"
#include "host/Form.h"
#include "host/PropertyBag.h"
#include "host/Site.h"
#include "host/StdFont.h"
#include "model/CButtons.h"
#include "model/CGroups.h"
#include "model/Listeners.h"
#include "platform/Types.h"

namespace zo {

class CResoureMgr;
class CToolTip;
struct LayoutMemo;
class cSubclassListener;

// Made by the layers that own them (render/ and input/), so that the control's own code
// depends only on the layers below it.
ZO_API std::shared_ptr<CResoureMgr> MakeResourceManager();

class ZO_API ZoButtonBar : public ItemOwner {
public:
    // Makes the control with its window and surfaces as a child of parent (0: top-level) at
    // the given pixel rectangle. Nothing else is set up until the host calls InitProperties
    // (a new instance) or ReadProperties (a stored one), and the window stays hidden until
    // one of them has run. The site must outlive the control.
    static std::shared_ptr<ZoButtonBar> Create(ControlSite& site, plat::HWND parent, int x, int y,
                                               int width, int height);
    // Create followed by InitProperties: a working bar with its group "General".
    static std::shared_ptr<ZoButtonBar> CreateNew(ControlSite& site, plat::HWND parent, int x,
                                                  int y, int width, int height);

    ~ZoButtonBar() override;
    std::string_view TypeName() const override { return "ZoButtonBar"; }

    // ---- Host lifecycle ----
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;
    // Releases everything; the control is inert afterwards. Run by the destructor too.
    void Terminate();

    // The event sink (non-owning; 0 to stop). It must outlive the control or be removed.
    void Advise(ZoButtonBarEvents* sink) { events_ = sink; }

    // ---- Properties ----
    std::int32_t Appearance() const;
    void SetAppearance(std::int32_t v);
    std::int32_t ButtonBackColor() const { return m_lButtonBackColor; }
    void SetButtonBackColor(std::int32_t v);
    std::int32_t BorderStyle() const;
    void SetBorderStyle(std::int32_t v);
    std::int32_t ButtonAppearance() const { return m_eButtonAppearance; }
    void SetButtonAppearance(std::int32_t v);
    std::int32_t ButtonLayout() const { return m_eButtonLayout; }
    void SetButtonLayout(std::int32_t v);
    const FontPtr& Font() const { return m_aFont; }
    void SetFont(FontPtr aFont);
    std::int32_t GroupAppearance() const { return m_eGroupAppearance; }
    void SetGroupAppearance(std::int32_t v);
    const std::shared_ptr<CGroups>& Groups() const { return m_aGroups; }
    std::int32_t SelectedButtonAppearance() const { return m_eSelectedButtonAppearance; }
    void SetSelectedButtonAppearance(std::int32_t v);
    std::int32_t ShowButtonInfo() const { return m_eShowButtonInfo; }
    void SetShowButtonInfo(std::int32_t v);
    const GroupPtr& ActiveGroup() const { return m_aActiveGroup; }
    void SetActiveGroup(const GroupPtr& aGroup);
    std::int32_t ButtonHeight() const { return m_lButtonHeight; }
    void SetButtonHeight(std::int32_t v);
    std::int32_t ButtonWidth() const { return m_lButtonWidth; }
    void SetButtonWidth(std::int32_t v);
    std::int32_t ButtonFlow() const { return m_eButtonFlow; }
    void SetButtonFlow(std::int32_t v);
    std::int32_t GroupFlow() const { return m_eGroupFlow; }
    void SetGroupFlow(std::int32_t v);
    const ButtonPtr& SelectedButton() const { return m_aSelectedButton; }
    void SetSelectedButton(const ButtonPtr& aButton);
    std::int32_t HighlightedButtonForeColor() const { return m_lHighlightedButtonForeColor; }
    void SetHighlightedButtonForeColor(std::int32_t v);
    std::int32_t HighlightedButtonBackColor() const { return m_lHighlightedButtonBackColor; }
    void SetHighlightedButtonBackColor(std::int32_t v);
    std::int32_t GroupBackColor() const { return m_lGroupBackColor; }
    void SetGroupBackColor(std::int32_t v);
    std::int32_t GroupForeColor() const { return m_lGroupForeColor; }
    void SetGroupForeColor(std::int32_t v);
    std::int32_t SelectedButtonBackColor() const { return m_lSelectedButtonBackColor; }
    void SetSelectedButtonBackColor(std::int32_t v);
    std::int32_t SelectedButtonForeColor() const { return m_lSelectedButtonForeColor; }
    void SetSelectedButtonForeColor(std::int32_t v);
    std::int32_t ButtonForeColor() const { return m_lButtonForeColor; }
    void SetButtonForeColor(std::int32_t v);
    std::int32_t ButtonTextPosition() const { return m_eButtonTextPosition; }
    void SetButtonTextPosition(std::int32_t v);
    const std::string& Caption() const { return m_sCaption; }
    void SetCaption(const std::string& s);
    bool ShowCaptionBar() const { return m_bShowCaptionBar; }
    void SetShowCaptionBar(bool b);
    bool ShowCloseButton() const { return m_bShowCloseButton; }
    void SetShowCloseButton(bool b);
    std::int32_t ButtonSize() const { return m_eButtonSize; }
    void SetButtonSize(std::int32_t v);
    std::int32_t ButtonHighlightZone() const { return m_eButtonHighlightZone; }
    void SetButtonHighlightZone(std::int32_t v);
    std::int32_t MousePointer() const { return m_lMousePointer; }
    void SetMousePointer(std::int32_t v);
    const PicturePtr& MouseIcon() const { return m_aMouseIcon; }
    void SetMouseIcon(PicturePtr aIcon);
    std::int32_t ButtonPictureMaskColor() const { return m_lButtonPictureMaskColor; }
    void SetButtonPictureMaskColor(std::int32_t v);
    std::int32_t GroupGradientType() const { return m_eGroupGradientType; }
    void SetGroupGradientType(std::int32_t v);
    std::int32_t GroupGradientColor() const { return m_lGroupGradientColor; }
    void SetGroupGradientColor(std::int32_t v);
    std::int32_t ButtonGradientType() const { return m_eButtonGradientType; }
    void SetButtonGradientType(std::int32_t v);
    std::int32_t ButtonGradientColor() const { return m_lButtonGradientColor; }
    void SetButtonGradientColor(std::int32_t v);
    bool LockRefresh() const { return m_bLockRefresh; }
    void SetLockRefresh(bool b);
    plat::HWND hwnd() const;

    // ---- Methods ----
    // Repaints the caption bar at once, then the group strips and the button area (those
    // two only while LockRefresh is False).
    void Refresh();
    void ShowAbout();

    // ---- Dispatch by name or DISPID, on Variants (hosts, property pages, the program) ----
    Variant GetProperty(std::string_view name) const;
    void SetProperty(std::string_view name, const Variant& value);
    Variant Invoke(std::string_view name);

    // ---- The form, for hosts and tests ----
    ControlForm& Form() { return *form_; }
    const ControlForm& Form() const { return *form_; }
    ControlSite& Site() const { return site_; }
    bool UserMode() const { return site_.UserMode(); }

    // ==== Inside the component ====

    // Item-model notifications.
    void GroupAdded(const GroupPtr& aGroup) override;
    void GroupRemoved(const GroupPtr& aGroup) override;
    void GroupPropertyChanged(const GroupPtr& aGroup, std::string_view sPropName) override;
    bool GroupKeyChanged(const GroupPtr& aGroup, const std::string& sNewKey,
                         const std::string& sOldKey) override;
    void GroupReIndexed(const GroupPtr& aGroup) override;
    void ButtonAdded(const ButtonPtr& aButton) override;
    void ButtonRemoved(const ButtonPtr& aButton) override;
    void ButtonPropertyChanged(const ButtonPtr& aButton, std::string_view sProperty) override;
    void ButtonReIndexed(const ButtonPtr& aButton) override;

    // Lifecycle and header lists (control/Lifecycle.cpp).
    void SetupSurfaces();
    // Shows the control's window once InitProperties or ReadProperties ends, on every path.
    void ShowForm();
    struct ShowWhenDone {
        ZoButtonBar& bar;
        ~ShowWhenDone() { bar.ShowForm(); }
    };
    void RebuildGroupLists(const GroupPtr& aActive);
    void EnterFocus();
    void ExitFocus();
    // The tooltip window and the paint hook of the button area (input/), run time only.
    void StartRunTimeServices();
    void StopRunTimeServices();
    void StartToolTip();
    void StopToolTip();
    void HookButtonArea(plat::HWND hWnd);
    void UnhookButtonArea(plat::HWND hWnd);
    bool IsGroupShown(const CGroup& g) const { return !UserMode() || g.Visible(); }
    bool IsButtonShown(const CButton& b) const { return !UserMode() || b.Visible(); }

    // Button layout (render/ButtonLayout.cpp).
    void LayoutButtons();
    std::int32_t CountShownButtons(const CButtons& buttons) const;
    void PlaceButtons(const CButtons& buttons, std::int32_t W, std::int32_t H, std::int32_t X0,
                      std::int32_t Y0);
    void CalcAutoButtonSize(const CButtons& buttons, std::int32_t& W, std::int32_t& H);
    std::int32_t GetMaxPictureWidth(const CButtons& buttons) const;
    std::int32_t GetMaxPictureHeight(const CButtons& buttons) const;
    // The pixel size of a picture extent in HIMETRIC as layout uses it (none: 32).
    std::int32_t PicturePx(std::int32_t himetric, bool horizontal) const;
    bool AppendToLayout(const CButtons& buttons);
    // Closes the gap a removed button of the active group leaves, when nothing else changed
    // since the last layout; false when the whole list must be laid out again.
    bool RemoveFromLayout(const CButton& removed);
    // The last layout, while nothing it depends on has changed; nullptr otherwise.
    LayoutMemo* CurrentLayout();
    // The slots [first, last) of the button grid whose cells can meet the area U, when the
    // last layout still holds; false when every button must be looked at.
    bool ShownButtonRange(const Rect& U, std::int32_t& first, std::int32_t& last);
    std::int32_t CaptionWidth(const CButton& b);
    std::int32_t CalcCaptionHeight(const CButtons& buttons, std::int32_t availableWidth);
    void RefreshButtonArea();
    void RefreshGroupStrips();
    bool IsLayoutSuspended() const { return m_bLayoutSuspended; }
    // The button area's size in pixels, as the layout sees it.
    std::int32_t ButtonAreaWidthPx() const;
    std::int32_t ButtonAreaHeightPx() const;
    // User-specified button size in pixels.
    std::int32_t UserButtonWidthPx() const;
    std::int32_t UserButtonHeightPx() const;

    // Area arrangement (render/AreaArrangement.cpp).
    void ArrangeAreas();
    std::int32_t CalcGroupStripExtent(const CGroupButtons& list) const;
    void LayoutGroupHeaders(const CGroupButtons& list, Surface& strip);
    // The entries [first, last) of the list (of n entries) whose headers may meet the band
    // lo..hi along the strip. When the last layout placed every entry, one header height
    // apart, that is found from their places; otherwise it is the whole list.
    void HeadersNear(const CGroupButtons& list, std::size_t n, Surface& strip, std::int64_t lo,
                     std::int64_t hi, std::size_t& first, std::size_t& last);
    void CalcGroupHeaderHeight();
    void CalcCloseButtonRect();
    void OnControlResize();
    void OnUpperGroupsResize();
    void OnLowerGroupsResize();
    void OnButtonsResize();
    void OnCaptionBarResize();

    // Painting entry points (render/).
    void OnUpperGroupsPaint();
    void OnLowerGroupsPaint();
    void OnButtonsPaint();
    void OnCaptionBarPaint();
    // Paints the button area into hdc, limited to the update rectangle.
    void PaintButtonArea(plat::HDC hdc, const Rect& update);
    void PaintGroupStrip(Surface& strip, const CGroupButtons& list);
    void DrawGroupText(plat::HDC hdc, const std::string& text, const Rect& R, std::uint32_t flags);
    void DrawGroupFocus(plat::HDC hdc, const CGroup& group);
    void PaintCaptionBar(bool pressed);
    void PaintButtonBackground(plat::HDC hdc, const Rect& update);
    void TilePicture(plat::HDC hdc, const Picture& P, std::int32_t x, std::int32_t y,
                     std::int32_t w, std::int32_t h);
    void PaintButtons(plat::HDC hdc, const CGroup& G, const Rect& update);
    void PaintButton(plat::HDC hdc, const CButton& B, const Rect& R, bool hot);
    // False when the button has no picture: then nothing is drawn and no caption follows.
    bool DrawButtonFace(plat::HDC hdc, const CButton& B, const Rect& R, Rect& captionRect,
                        Rect& pictureZone, bool hot);
    void DrawButtonFrame(plat::HDC hdc, const Rect& R, std::int32_t appearance);
    void PictureSizePx(const Picture& p, std::int32_t& pw, std::int32_t& ph) const;
    void DrawScrollButtons(plat::HDC hdc);
    void DrawScrollButton(plat::HDC hdc, const Rect& R, std::int32_t direction, bool hot);
    void DrawScrollArrow(plat::HDC hdc, const Rect& R, std::int32_t direction);

    // Button area mouse (input/ButtonMouse.cpp).
    void OnButtonsMouseDown(std::int16_t Button, std::int16_t Shift, float x, float y);
    void OnButtonsMouseUp(std::int16_t Button, std::int16_t Shift, float x, float y);
    void OnButtonsMouseMove(std::int16_t Button, std::int16_t Shift, float x, float y);
    void OnButtonsClick();
    void HandleButtonClick(std::int32_t x, std::int32_t y);
    void RaiseButtonMouseEvent(std::int16_t Button, std::int16_t Shift, float x, float y,
                               bool bDown);
    void ClearButtonHighlight();
    void SetButtonHighlight(const ButtonPtr& aButton);
    // The step of one scrolled line in pixels: (width, 0) or (0, height) by ButtonFlow.
    void ScrollStep(std::int32_t& dx, std::int32_t& dy) const;
    void ShiftButtonRects(std::int32_t dx, std::int32_t dy);

    // Keyboard (input/Keyboard.cpp).
    void OnButtonsKeyDown(std::int16_t& KeyCode, std::int16_t Shift);
    void MoveGroupFocus(std::int16_t KeyCode);
    Surface& GetGroupStrip(const CGroup& aGroup);

    // Group header mouse (input/GroupMouse.cpp).
    void ActivateGroupAt(const CGroupButtons& aList, std::int32_t x, std::int32_t y);
    void RaiseGroupMouseEvent(std::int16_t Button, std::int16_t Shift, float x, float y, bool bDown,
                              Surface& strip, const CGroupButtons& aList);
    void TrackGroupHover(std::int16_t Button, std::int16_t Shift, float x, float y, Surface& strip,
                         const CGroupButtons& aList);
    void WireGroupStrip(Surface& strip, const CGroupButtons& list);

    // Caption bar close button (input/CaptionBarMouse.cpp).
    void OnCaptionMouseDown(std::int16_t Button, std::int16_t Shift, float x, float y);
    void OnCaptionMouseMove(std::int16_t Button, std::int16_t Shift, float x, float y);
    void OnCaptionMouseUp(std::int16_t Button, std::int16_t Shift, float x, float y);
    // Keeps the close button's look and repaints the caption bar with it.
    void ShowCloseButtonPushed(bool bPushed);

    // Wires the input notifications of the surfaces (input/).
    void WireInput();

    // Persisted state (persist/).
    void SetLayoutSuspended(bool bSuspended);

    // Raises an event on the sink, if any. The host sees every surface as it would have been
    // painted by then.
    template <class F>
    void RaiseEvent(F&& f) {
        FlushRepaints();
        if (events_ != nullptr) f(*events_);
    }
    void NotifyHost(std::string_view propertyName) {
        FlushRepaints();
        site_.PropertyChanged(propertyName);
    }

    // One change can ask a surface to repaint several times (each strip's resize, the button
    // area's resize, the setter itself). While a RepaintScope is open the requests are
    // gathered, and each surface asked is painted once: before the control next calls out to
    // the host, and when the outermost scope closes, so the host never sees the difference.
    struct RepaintScope {
        explicit RepaintScope(ZoButtonBar& b) : bar(b) { ++bar.m_lRepaintScopes; }
        ~RepaintScope() {
            if (--bar.m_lRepaintScopes == 0) bar.FlushRepaints();
        }
        RepaintScope(const RepaintScope&) = delete;
        RepaintScope& operator=(const RepaintScope&) = delete;
        ZoButtonBar& bar;
    };
    // The surface's Refresh: at once, or gathered while a scope is open.
    void RepaintSurface(Surface& surface);
    void FlushRepaints();

    // ---- State (read by render/ and input/, written by the Parts that own each field) ----
    std::unique_ptr<ControlForm> form_;
    std::shared_ptr<CResoureMgr> m_aResMgr;
    std::shared_ptr<CToolTip> m_aToolTip;
    std::shared_ptr<cSubclassListener> m_aHookListener;
    bool m_bSetUp = false;
    bool m_bTerminated = false;
    bool m_bHasFocus = false;
    plat::HDC m_hMemDC = 0;
    CGroupButtons m_aUpperGroupButtons;
    CGroupButtons m_aLowerGroupButtons;
    plat::HWND m_hWndButtons = 0;
    plat::HWND m_hWndUpperGroups = 0;
    plat::HWND m_hWndLowerGroups = 0;
    bool m_bButtonAreaHooked = false;
    bool m_bHasMsImg32 = false;
    FontPtr m_aFont;
    std::shared_ptr<CGroups> m_aGroups;

    std::int32_t m_lButtonBackColor = 0;
    std::int32_t m_eButtonAppearance = 0;
    std::int32_t m_eButtonLayout = 0;
    std::int32_t m_eGroupAppearance = 0;
    std::int32_t m_eSelectedButtonAppearance = 0;
    std::int32_t m_eShowButtonInfo = 0;
    std::int32_t m_lButtonHeight = 0;
    std::int32_t m_lButtonWidth = 0;
    std::int32_t m_eButtonFlow = 0;
    std::int32_t m_eGroupFlow = 0;
    std::int32_t m_lHighlightedButtonForeColor = 0;
    std::int32_t m_lHighlightedButtonBackColor = 0;
    std::int32_t m_lGroupBackColor = 0;
    std::int32_t m_lGroupForeColor = 0;
    std::int32_t m_lSelectedButtonBackColor = 0;
    std::int32_t m_lSelectedButtonForeColor = 0;
    std::int32_t m_lButtonForeColor = 0;
    std::int32_t m_eButtonTextPosition = 0;
    std::string m_sCaption;
    bool m_bShowCaptionBar = false;
    bool m_bShowCloseButton = false;
    std::int32_t m_eButtonSize = 0;
    std::int32_t m_eButtonHighlightZone = 0;
    std::int32_t m_lMousePointer = 0;
    PicturePtr m_aMouseIcon;
    std::int32_t m_lButtonPictureMaskColor = 0;
    std::int32_t m_eGroupGradientType = 0;
    std::int32_t m_lGroupGradientColor = 0;
    std::int32_t m_eButtonGradientType = 0;
    std::int32_t m_lButtonGradientColor = 0;
    bool m_bLockRefresh = false;

    GroupPtr m_aActiveGroup;
    ButtonPtr m_aSelectedButton;

    // Button layout results.
    std::int32_t m_lButtonWidthPx = 0;
    std::int32_t m_lButtonHeightPx = 0;
    std::int32_t m_lMaxPicWidth = 0;
    std::int32_t m_lMaxPicHeight = 0;
    std::int32_t m_lCaptionHeight = 0;
    // One caption line (the height of "Ag" plus 2) as the caption band was last measured.
    std::int32_t m_lCaptionLineHeight = 0;
    // What the last complete layout saw, so that a button appended with nothing else changed
    // is placed alone: hosts add thousands of buttons and every add lays the buttons out.
    std::shared_ptr<LayoutMemo> m_layoutMemo;
    // Set while one pass over the buttons paints them: the automatic size, measured by the
    // first face drawn, cannot change before the pass ends.
    bool m_bPaintSizeMeasured = false;
    std::int32_t m_lButtonsPerLine = 1;
    std::int32_t m_lMaxScrollPos = 0;
    std::int32_t m_lScrollPos = 0;
    Rect m_rcTLScrollButton;
    Rect m_rcBRScrollButton;
    // (line, position) -> 1-based index in the active group's Buttons, 0 for an empty cell.
    std::vector<std::int32_t> m_aButtonGrid;
    std::int32_t m_lGridLines = 0;
    std::int32_t m_lGridPositions = 0;
    bool m_bLayoutSuspended = false;

    // Open repaint scopes, and the surfaces asked to repaint meanwhile (caption bar, upper
    // strip, lower strip, button area).
    std::int32_t m_lRepaintScopes = 0;
    bool m_bGatherRepaints = true;  // false: every request paints at once (for comparison)
    bool m_bRepaintPending[4] = {false, false, false, false};
    // Bumped by every change of a group's Visible, which the header lists' counts depend on.
    std::uint32_t m_lGroupVisibilityChanges = 0;

    // What the header lists were last rebuilt from, and how they stood then: while it still
    // holds, a new active group only moves the boundary between them.
    struct GroupListsStamp {
        std::uint32_t revision = 0, visibility = 0, upperGeneration = 0, lowerGeneration = 0;
        std::int32_t upperCount = 0, lowerCount = 0;
        bool userMode = false;
        bool valid = false;
        friend bool operator==(const GroupListsStamp&, const GroupListsStamp&) = default;
    };
    GroupListsStamp m_groupListsStamp;

    // Area arrangement results.
    std::int32_t m_lGroupHeaderHeight = 0;
    // What the last header layout of a strip saw and how far it went, so that the headers
    // appended since (a host adding groups one by one) are laid out alone.
    struct HeaderLayoutInputs {
        std::uint32_t generation = 0, visibility = 0;
        std::int32_t breadth = 0, headerHeight = 0, flow = 0;
        bool userMode = false;
        friend bool operator==(const HeaderLayoutInputs&, const HeaderLayoutInputs&) = default;
    };
    struct HeaderLayoutMemo {
        HeaderLayoutInputs inputs;
        std::size_t count = 0;  // entries laid out
        std::int32_t offset = 0;
        bool valid = false;
    };
    HeaderLayoutMemo m_upperHeaderLayout, m_lowerHeaderLayout;
    Rect m_rcCloseButton;

    // Interaction state: hover and focus never own what they point at.
    std::weak_ptr<CButton> m_aHighlightedButton;
    bool m_bScrollButtonHot = false;
    bool m_bTLScrollButtonHot = false;
    bool m_bMouseCaptured = false;
    std::int32_t m_lCursorLine = 0;
    std::int32_t m_lCursorPos = 0;
    std::weak_ptr<CGroup> m_aFocusGroup;
    std::int32_t m_lFocusGroupIndex = 0;
    bool m_bCloseButtonPressed = false;
    // The close button is drawn pushed: every repaint of the caption bar shows it so.
    bool m_bCloseButtonPushed = false;

    Surface& m_picCaptionBar() { return form_->CaptionBar(); }
    Surface& m_PicUpperGroups() { return form_->UpperGroups(); }
    Surface& m_PicButtons() { return form_->Buttons(); }
    Surface& m_PicLowerGroups() { return form_->LowerGroups(); }

    // Grid cell access; 0 outside the grid.
    std::int32_t GridCell(std::int32_t line, std::int32_t pos) const;

    struct Key {
        explicit Key() = default;
    };
    ZoButtonBar(Key, ControlSite& site);

private:
    void WireSurfaces();
    void InvalidateButtonRect(const CButton& b);

    ControlSite& site_;
    ZoButtonBarEvents* events_ = nullptr;
};

using ButtonBarPtr = std::shared_ptr<ZoButtonBar>;

}  // namespace zo
