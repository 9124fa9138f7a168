// The control's property set: each write acts only on a real change, performs its effects
// in order and then tells the host the property's name.
#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "platform/Window.h"

namespace zo {

namespace {

// Stores v in field when it differs and reports whether it did.
template <class T>
bool Change(T& field, const T& v) {
    if (field == v) return false;
    field = v;
    return true;
}

}  // namespace

std::int32_t ZoButtonBar::Appearance() const {
    return form_->Appearance();
}

void ZoButtonBar::SetAppearance(std::int32_t v) {
    if (form_->Appearance() == v) return;
    form_->SetAppearance(v);
    NotifyHost("Appearance");
}

void ZoButtonBar::SetButtonBackColor(std::int32_t v) {
    if (!Change(m_lButtonBackColor, v)) return;
    m_PicButtons().SetBackColor(v);
    RefreshButtonArea();
    NotifyHost("ButtonBackColor");
}

std::int32_t ZoButtonBar::BorderStyle() const {
    return form_->BorderStyle();
}

void ZoButtonBar::SetBorderStyle(std::int32_t v) {
    if (form_->BorderStyle() == v) return;
    form_->SetBorderStyle(v);
    NotifyHost("BorderStyle");
}

void ZoButtonBar::SetButtonAppearance(std::int32_t v) {
    if (!Change(m_eButtonAppearance, v)) return;
    RefreshButtonArea();
    NotifyHost("ButtonAppearance");
}

void ZoButtonBar::SetButtonLayout(std::int32_t v) {
    if (!Change(m_eButtonLayout, v)) return;
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("ButtonLayout");
}

void ZoButtonBar::SetFont(FontPtr aFont) {
    if (!aFont) RaiseRuntimeError(424);
    if (aFont == m_aFont) return;
    const RepaintScope gather(*this);
    m_aFont = std::move(aFont);
    CalcGroupHeaderHeight();
    if (m_eButtonSize == zoAutoCalculated) LayoutButtons();
    ArrangeAreas();
    NotifyHost("Font");
}

void ZoButtonBar::SetGroupAppearance(std::int32_t v) {
    if (!Change(m_eGroupAppearance, v)) return;
    RefreshGroupStrips();
    NotifyHost("GroupAppearance");
}

void ZoButtonBar::SetSelectedButtonAppearance(std::int32_t v) {
    if (!Change(m_eSelectedButtonAppearance, v)) return;
    if (m_aSelectedButton && m_aActiveGroup && m_aSelectedButton->ParentGroup() == m_aActiveGroup)
        InvalidateButtonRect(*m_aSelectedButton);
    NotifyHost("SelectedButtonAppearance");
}

void ZoButtonBar::SetShowButtonInfo(std::int32_t v) {
    if (!Change(m_eShowButtonInfo, v)) return;
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("ShowButtonInfo");
}

void ZoButtonBar::SetButtonHeight(std::int32_t v) {
    if (v == m_lButtonHeight) return;
    if (v < 1) RaiseObjectError("Invalid property value.");
    m_lButtonHeight = v;
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("ButtonHeight");
}

void ZoButtonBar::SetButtonWidth(std::int32_t v) {
    if (v == m_lButtonWidth) return;
    if (v < 1) RaiseObjectError("Invalid property value.");
    m_lButtonWidth = v;
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("ButtonWidth");
}

void ZoButtonBar::SetButtonFlow(std::int32_t v) {
    if (!Change(m_eButtonFlow, v)) return;
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("ButtonFlow");
}

void ZoButtonBar::SetGroupFlow(std::int32_t v) {
    if (!Change(m_eGroupFlow, v)) return;
    const RepaintScope gather(*this);
    CalcGroupHeaderHeight();
    ArrangeAreas();
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("GroupFlow");
}

void ZoButtonBar::SetHighlightedButtonForeColor(std::int32_t v) {
    if (!Change(m_lHighlightedButtonForeColor, v)) return;
    RefreshButtonArea();
    NotifyHost("HighlightedButtonForeColor");
}

void ZoButtonBar::SetHighlightedButtonBackColor(std::int32_t v) {
    if (!Change(m_lHighlightedButtonBackColor, v)) return;
    RefreshButtonArea();
    NotifyHost("HighlightedButtonBackColor");
}

void ZoButtonBar::SetGroupBackColor(std::int32_t v) {
    if (!Change(m_lGroupBackColor, v)) return;
    m_PicLowerGroups().SetBackColor(v);
    m_PicUpperGroups().SetBackColor(v);
    RefreshGroupStrips();
    NotifyHost("GroupBackColor");
    Refresh();
}

void ZoButtonBar::SetGroupForeColor(std::int32_t v) {
    if (!Change(m_lGroupForeColor, v)) return;
    RefreshGroupStrips();
    NotifyHost("GroupForeColor");
}

void ZoButtonBar::SetSelectedButtonBackColor(std::int32_t v) {
    if (!Change(m_lSelectedButtonBackColor, v)) return;
    RefreshButtonArea();
    NotifyHost("SelectedButtonBackColor");
}

void ZoButtonBar::SetSelectedButtonForeColor(std::int32_t v) {
    if (!Change(m_lSelectedButtonForeColor, v)) return;
    RefreshButtonArea();
    NotifyHost("SelectedButtonForeColor");
}

void ZoButtonBar::SetButtonForeColor(std::int32_t v) {
    if (!Change(m_lButtonForeColor, v)) return;
    RefreshButtonArea();
    NotifyHost("ButtonForeColor");
}

void ZoButtonBar::SetButtonTextPosition(std::int32_t v) {
    if (!Change(m_eButtonTextPosition, v)) return;
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("ButtonTextPosition");
}

void ZoButtonBar::SetCaption(const std::string& s) {
    if (!Change(m_sCaption, s)) return;
    m_picCaptionBar().SetText(s);
    if (m_bShowCaptionBar) RepaintSurface(m_picCaptionBar());
    NotifyHost("Caption");
}

void ZoButtonBar::SetShowCaptionBar(bool b) {
    // Compared with what the surface shows, not with the stored flag.
    if (m_picCaptionBar().Visible() == b) return;
    const RepaintScope gather(*this);
    m_picCaptionBar().SetVisible(b);
    m_bShowCaptionBar = b;
    ArrangeAreas();
    NotifyHost("ShowCaptionBar");
}

void ZoButtonBar::SetShowCloseButton(bool b) {
    if (!Change(m_bShowCloseButton, b)) return;
    if (m_bShowCaptionBar) RepaintSurface(m_picCaptionBar());
    NotifyHost("ShowCloseButton");
}

void ZoButtonBar::SetButtonSize(std::int32_t v) {
    if (!Change(m_eButtonSize, v)) return;
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("ButtonSize");
}

void ZoButtonBar::SetButtonHighlightZone(std::int32_t v) {
    if (!Change(m_eButtonHighlightZone, v)) return;
    RefreshButtonArea();
    NotifyHost("ButtonHighlightZone");
}

void ZoButtonBar::SetMousePointer(std::int32_t v) {
    if (!Change(m_lMousePointer, v)) return;
    // The field holds the new value even when the window refuses it.
    form_->SetMousePointer(v);
    NotifyHost("MousePointer");
}

void ZoButtonBar::SetMouseIcon(PicturePtr aIcon) {
    if (aIcon == m_aMouseIcon) return;
    m_aMouseIcon = std::move(aIcon);
    form_->SetMouseIcon(m_aMouseIcon);
    NotifyHost("MouseIcon");
}

void ZoButtonBar::SetButtonPictureMaskColor(std::int32_t v) {
    if (!Change(m_lButtonPictureMaskColor, v)) return;
    RefreshButtonArea();
    NotifyHost("ButtonPictureMaskColor");
}

void ZoButtonBar::SetGroupGradientType(std::int32_t v) {
    if (!Change(m_eGroupGradientType, v)) return;
    RefreshGroupStrips();
    NotifyHost("GroupGradientType");
}

void ZoButtonBar::SetGroupGradientColor(std::int32_t v) {
    if (!Change(m_lGroupGradientColor, v)) return;
    RefreshGroupStrips();
    NotifyHost("GroupGradientColor");
}

void ZoButtonBar::SetButtonGradientType(std::int32_t v) {
    if (!Change(m_eButtonGradientType, v)) return;
    RefreshButtonArea();
    NotifyHost("ButtonGradientType");
}

void ZoButtonBar::SetButtonGradientColor(std::int32_t v) {
    if (!Change(m_lButtonGradientColor, v)) return;
    RefreshButtonArea();
    NotifyHost("ButtonGradientColor");
}

void ZoButtonBar::SetLockRefresh(bool b) {
    if (!Change(m_bLockRefresh, b)) return;
    NotifyHost("LockRefresh");
}

void ZoButtonBar::Refresh() {
    const RepaintScope gather(*this);
    RepaintSurface(m_picCaptionBar());
    RefreshGroupStrips();
    RefreshButtonArea();
}

void ZoButtonBar::InvalidateButtonRect(const CButton& b) {
    const Rect& r = b.ButtonRect();
    const plat::RECT rc{r.left, r.top, r.right, r.bottom};
    plat::InvalidateRect(m_hWndButtons, &rc, plat::FALSE);
}

}  // namespace zo
