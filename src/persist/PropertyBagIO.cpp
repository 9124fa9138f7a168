// The control's design in the host's property bag: every setting, then every group and its
// buttons under numbered keys. The reader goes through the public setters and the
// collections' Add, so everything they check and raise also happens during a load.
#include <string>

#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "host/Scale.h"

namespace zo {

namespace {

std::string G(std::int32_t i) {
    return "GRP" + std::to_string(i);
}
std::string Btn(std::int32_t i, std::int32_t j) {
    return G(i) + "BTN" + std::to_string(j);
}

Variant Long(std::int32_t v) {
    return Variant(v);
}
Variant Ole(std::uint32_t v) {
    return Variant(static_cast<std::int32_t>(v));
}

// A stored picture: none (empty, or an object reference to nothing) or a picture object;
// anything else is the wrong kind, as assigning it to a picture property would be.
PicturePtr PictureValue(const Variant& v) {
    if (v.IsEmpty() || (v.IsObject() && !v.AsObject())) return nullptr;
    PicturePtr p = v.As<Picture>();
    if (!p) RaiseRuntimeError(kErrTypeMismatch);
    return p;
}

// Runs a step that acts on values read earlier (adding an item checks its key, making a group
// active checks its visibility); when it fails, the bag is told which stored value the failure
// concerns, so the host can name it.
template <class Step>
auto Concerning(const PropertyBag& bag, const std::string& key, Step&& step) {
    try {
        return step();
    } catch (const Error&) {
        bag.Concerns(key);
        throw;
    }
}

}  // namespace

void ZoButtonBar::WriteProperties(PropertyBag& bag) const {
    const ScaleMode mode = form_->GetScaleMode();
    const Variant defaultHeight(static_cast<float>(form_->ScaleY(48, vbPixels, mode)));
    const Variant defaultWidth(static_cast<float>(form_->ScaleX(48, vbPixels, mode)));
    bag.WriteProperty("Appearance", Long(Appearance()), Long(1));
    bag.WriteProperty("BorderStyle", Long(BorderStyle()), Long(0));
    bag.WriteProperty("ButtonAppearance", Long(m_eButtonAppearance), Long(0));
    bag.WriteProperty("ButtonBackColor", Long(m_lButtonBackColor), Ole(0x80000011u));
    bag.WriteProperty("ButtonPictureMaskColor", Long(m_lButtonPictureMaskColor), Long(0xFFFFFF));
    bag.WriteProperty("ButtonFlow", Long(m_eButtonFlow), Long(0));
    bag.WriteProperty("ButtonForeColor", Long(m_lButtonForeColor), Long(site_.AmbientForeColor()));
    bag.WriteProperty("ButtonHeight", Long(m_lButtonHeight), defaultHeight);
    bag.WriteProperty("ButtonHighlightZone", Long(m_eButtonHighlightZone), Long(0));
    bag.WriteProperty("ButtonLayout", Long(m_eButtonLayout), Long(1));
    bag.WriteProperty("ButtonSize", Long(m_eButtonSize), Long(0));
    bag.WriteProperty("ButtonTextPosition", Long(m_eButtonTextPosition), Long(3));
    bag.WriteProperty("ButtonWidth", Long(m_lButtonWidth), defaultWidth);
    bag.WriteProperty("Caption", Variant(m_sCaption), Variant(""));
    bag.WriteProperty("Font", Variant(m_aFont), Variant(site_.AmbientFont()));
    bag.WriteProperty("GroupAppearance", Long(m_eGroupAppearance), Long(3));
    bag.WriteProperty("GroupBackColor", Long(m_lGroupBackColor), Ole(0x8000000Fu));
    bag.WriteProperty("GroupFlow", Long(m_eGroupFlow), Long(0));
    bag.WriteProperty("GroupForeColor", Long(m_lGroupForeColor), Ole(0x80000012u));
    bag.WriteProperty("HighlightedButtonBackColor", Long(m_lHighlightedButtonBackColor),
                      Ole(0x80000011u));
    bag.WriteProperty("HighlightedButtonForeColor", Long(m_lHighlightedButtonForeColor),
                      Ole(0x8000000Eu));
    bag.WriteProperty("SelectedButtonAppearance", Long(m_eSelectedButtonAppearance), Long(4));
    bag.WriteProperty("SelectedButtonBackColor", Long(m_lSelectedButtonBackColor),
                      Long(m_lButtonBackColor));
    bag.WriteProperty("SelectedButtonForeColor", Long(m_lSelectedButtonForeColor),
                      Long(m_lButtonForeColor));
    bag.WriteProperty("ShowButtonInfo", Long(m_eShowButtonInfo), Long(1));
    bag.WriteProperty("ShowCaptionBar", Variant(m_bShowCaptionBar), Variant(false));
    bag.WriteProperty("ShowCloseButton", Variant(m_bShowCloseButton), Variant(true));
    bag.WriteProperty("MouseIcon", Variant(m_aMouseIcon), Variant(PicturePtr{}));
    bag.WriteProperty("MousePointer", Long(m_lMousePointer), Long(1));
    bag.WriteProperty("GroupGradientType", Long(m_eGroupGradientType), Long(0));
    bag.WriteProperty("GroupGradientColor", Long(m_lGroupGradientColor), Long(m_lGroupBackColor));
    bag.WriteProperty("ButtonGradientType", Long(m_eButtonGradientType), Long(0));
    bag.WriteProperty("ButtonGradientColor", Long(m_lButtonGradientColor),
                      Long(m_lButtonBackColor));
    bag.WriteProperty("LockRefresh", Variant(m_bLockRefresh), Variant(false));
    const std::int32_t groupCount = m_aGroups ? m_aGroups->Count() : 0;
    bag.WriteProperty("GroupCount", Long(groupCount));
    for (std::int32_t i = 1; i <= groupCount; ++i) {
        const GroupPtr g = m_aGroups->Item(i);
        const std::string p = G(i);
        bag.WriteProperty(p + "Caption", Variant(g->Caption()));
        bag.WriteProperty(p + "Tooltip", Variant(g->TooltipText()));
        bag.WriteProperty(p + "Key", Variant(g->Key()));
        bag.WriteProperty(p + "ButtonBackgroundLayout", Long(g->ButtonBackgroundLayout()));
        bag.WriteProperty(p + "ButtonBackgroundPicture", Variant(g->ButtonBackgroundPicture()));
        bag.WriteProperty(p + "Tag", g->Tag());
        bag.WriteProperty(p + "Visible", Variant(g->Visible()), Variant(true));
        bag.WriteProperty(p + "IsCurrent", Variant(g == m_aActiveGroup));
        const CButtons& buttons = *g->Buttons();
        bag.WriteProperty(p + "ButtonCount", Long(buttons.Count()));
        for (std::int32_t j = 1; j <= buttons.Count(); ++j) {
            const ButtonPtr b = buttons.Item(j);
            const std::string q = Btn(i, j);
            bag.WriteProperty(q + "Caption", Variant(b->Caption()));
            bag.WriteProperty(q + "Tooltip", Variant(b->TooltipText()));
            bag.WriteProperty(q + "Key", Variant(b->Key()));
            bag.WriteProperty(q + "Picture", Variant(b->Picture()));
            bag.WriteProperty(q + "Prompt", Variant(b->Prompt()));
            bag.WriteProperty(q + "Tag", b->Tag());
            bag.WriteProperty(q + "Visible", Variant(b->Visible()), Variant(true));
        }
    }
}

void ZoButtonBar::ReadProperties(const PropertyBag& bag) {
    auto keepAlive = shared_from_this();
    // Shown also when the design could not be read whole: the host shows what there is.
    const ShowWhenDone show{*this};
    SetupSurfaces();
    const ScaleMode mode = form_->GetScaleMode();
    const auto rd = [&](const char* name, const Variant& def) {
        return bag.ReadProperty(name, def);
    };
    SetAppearance(rd("Appearance", Long(1)).ToLong());
    SetButtonBackColor(rd("ButtonBackColor", Ole(0x80000011u)).ToLong());
    SetButtonPictureMaskColor(rd("ButtonPictureMaskColor", Long(0xFFFFFF)).ToLong());
    SetBorderStyle(rd("BorderStyle", Long(0)).ToLong());
    SetButtonLayout(rd("ButtonLayout", Long(1)).ToLong());
    SetButtonSize(rd("ButtonSize", Long(0)).ToLong());
    SetCaption(rd("Caption", Variant("")).ToText());
    SetShowCloseButton(rd("ShowCloseButton", Variant(true)).ToBool());
    SetButtonForeColor(rd("ButtonForeColor", Long(site_.AmbientForeColor())).ToLong());
    SetGroupAppearance(rd("GroupAppearance", Long(3)).ToLong());
    {
        const Variant font = rd("Font", Variant(site_.AmbientFont()));
        auto f = font.As<StdFont>();
        if (!f) RaiseRuntimeError(kErrTypeMismatch);
        SetFont(f);
    }
    SetSelectedButtonAppearance(rd("SelectedButtonAppearance", Long(4)).ToLong());
    SetShowCaptionBar(rd("ShowCaptionBar", Variant(false)).ToBool());
    SetShowButtonInfo(rd("ShowButtonInfo", Long(1)).ToLong());
    SetButtonAppearance(rd("ButtonAppearance", Long(0)).ToLong());
    SetButtonHighlightZone(rd("ButtonHighlightZone", Long(0)).ToLong());
    SetButtonHeight(
        rd("ButtonHeight", Variant(static_cast<float>(form_->ScaleY(48, vbPixels, mode))))
            .ToLong());
    SetButtonWidth(
        rd("ButtonWidth", Variant(static_cast<float>(form_->ScaleX(48, vbPixels, mode)))).ToLong());
    SetButtonFlow(rd("ButtonFlow", Long(0)).ToLong());
    SetGroupFlow(rd("GroupFlow", Long(0)).ToLong());
    SetHighlightedButtonBackColor(rd("HighlightedButtonBackColor", Ole(0x80000011u)).ToLong());
    SetHighlightedButtonForeColor(rd("HighlightedButtonForeColor", Ole(0x8000000Eu)).ToLong());
    SetGroupBackColor(rd("GroupBackColor", Ole(0x8000000Fu)).ToLong());
    SetGroupForeColor(rd("GroupForeColor", Ole(0x80000012u)).ToLong());
    SetSelectedButtonBackColor(rd("SelectedButtonBackColor", Long(m_lButtonBackColor)).ToLong());
    SetSelectedButtonForeColor(rd("SelectedButtonForeColor", Long(m_lButtonForeColor)).ToLong());
    SetButtonTextPosition(rd("ButtonTextPosition", Long(3)).ToLong());
    SetMousePointer(rd("MousePointer", Long(1)).ToLong());
    SetMouseIcon(PictureValue(rd("MouseIcon", Variant())));
    SetGroupGradientType(rd("GroupGradientType", Long(0)).ToLong());
    SetGroupGradientColor(rd("GroupGradientColor", Long(m_lGroupBackColor)).ToLong());
    SetButtonGradientType(rd("ButtonGradientType", Long(0)).ToLong());
    SetButtonGradientColor(rd("ButtonGradientColor", Long(m_lButtonBackColor)).ToLong());
    const bool lockRefresh = rd("LockRefresh", Variant(false)).ToBool();

    SetLockRefresh(true);
    SetLayoutSuspended(true);
    const std::int32_t groupCount = rd("GroupCount", Variant(std::int16_t{0})).ToLong();
    for (std::int32_t i = 1; i <= groupCount; ++i) {
        const std::string p = G(i);
        const std::string caption = bag.ReadProperty(p + "Caption", Variant("General")).ToText();
        const std::string key = bag.ReadProperty(p + "Key", Variant("")).ToText();
        const std::string tooltip = bag.ReadProperty(p + "Tooltip", Variant("")).ToText();
        const bool isCurrent = bag.ReadProperty(p + "IsCurrent", Variant(false)).ToBool();
        const GroupPtr g =
            Concerning(bag, p + "Key", [&] { return m_aGroups->Add(caption, tooltip, key); });
        g->SetButtonBackgroundLayout(
            bag.ReadProperty(p + "ButtonBackgroundLayout", Long(0)).ToLong());
        g->SetTag(bag.ReadProperty(p + "Tag", Variant("")));
        g->SetButtonBackgroundPicture(
            PictureValue(bag.ReadProperty(p + "ButtonBackgroundPicture", Variant())));
        g->SetVisible(bag.ReadProperty(p + "Visible", Variant(true)).ToBool());
        if (isCurrent) Concerning(bag, p + "IsCurrent", [&] { SetActiveGroup(g); });
        const std::int32_t buttonCount =
            bag.ReadProperty(p + "ButtonCount", Variant(std::int16_t{0})).ToLong();
        for (std::int32_t j = 1; j <= buttonCount; ++j) {
            const std::string q = Btn(i, j);
            const std::string bCaption = bag.ReadProperty(q + "Caption", Variant("")).ToText();
            const std::string bTooltip = bag.ReadProperty(q + "ToolTip", Variant("")).ToText();
            const std::string bKey = bag.ReadProperty(q + "Key", Variant("")).ToText();
            const std::string bPrompt = bag.ReadProperty(q + "Prompt", Variant("")).ToText();
            const Variant picture = bag.ReadProperty(q + "Picture", Variant());
            ButtonPtr b;
            try {
                b = g->Buttons()->Add(bCaption, picture.As<Picture>(), bTooltip, bPrompt, bKey);
            } catch (const Error& e) {
                // The picture check names its own source; anything else is the key's.
                bag.Concerns(q + (e.Source() == "CButtons.Add" ? "Picture" : "Key"));
                throw;
            }
            b->SetTag(bag.ReadProperty(q + "Tag", Variant("")));
            b->SetVisible(bag.ReadProperty(q + "Visible", Variant(true)).ToBool());
        }
    }
    SetLayoutSuspended(false);
    SetLockRefresh(lockRefresh);
    Refresh();
    if (m_aGroups->Count() == 0) SetActiveGroup(m_aGroups->Add("General", "General"));
    CalcGroupHeaderHeight();
}

void ZoButtonBar::SetLayoutSuspended(bool bSuspended) {
    m_bLayoutSuspended = bSuspended;
    if (bSuspended) return;
    const RepaintScope gather(*this);
    ArrangeAreas();
    LayoutButtons();
    RefreshButtonArea();
}

}  // namespace zo
