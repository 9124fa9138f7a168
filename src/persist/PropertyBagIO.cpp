// The control's design in the host's property bag: every setting, then every group and its
// buttons under numbered keys. The reader goes through the public setters and the
// collections' Add, so everything they check and raise also happens during a load.
#include <charconv>
#include <string>
#include <string_view>

#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "host/Scale.h"

namespace zo {

namespace {

// The numbered keys of a group ("GRP3") and of its buttons ("GRP3BTN12"), built in one buffer
// reused for every name, as a design holds hundreds of thousands of them.
class Names {
public:
    void Group(std::int32_t i) {
        text_.assign("GRP");
        Number(i);
        group_ = text_.size();
    }
    void Button(std::int32_t j) {
        text_.resize(group_);
        text_ += "BTN";
        Number(j);
        base_ = text_.size();
    }
    // The group's (after Group) or the button's (after Button) value named by suffix.
    std::string_view GroupKey(std::string_view suffix) { return At(group_, suffix); }
    std::string_view ButtonKey(std::string_view suffix) { return At(base_, suffix); }

private:
    void Number(std::int32_t n) {
        char buf[12];
        const auto r = std::to_chars(buf, buf + sizeof buf, n);
        text_.append(buf, r.ptr);
    }
    std::string_view At(std::size_t base, std::string_view suffix) {
        text_.resize(base);
        text_ += suffix;
        return text_;
    }
    std::string text_;
    std::size_t group_ = 0, base_ = 0;
};

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
auto Concerning(const PropertyBag& bag, std::string_view key, Step&& step) {
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
    // Room for every entry at once: a large design would otherwise grow the bag a dozen times.
    std::size_t entries = bag.Count() + 1 + 9 * static_cast<std::size_t>(groupCount);
    for (std::int32_t i = 1; i <= groupCount; ++i)
        entries += 7 * static_cast<std::size_t>(m_aGroups->Item(i)->Buttons()->Count());
    bag.Reserve(entries);
    bag.WriteProperty("GroupCount", Long(groupCount));
    Names n;
    for (std::int32_t i = 1; i <= groupCount; ++i) {
        const GroupPtr g = m_aGroups->Item(i);
        n.Group(i);
        bag.WriteProperty(n.GroupKey("Caption"), Variant(g->Caption()));
        bag.WriteProperty(n.GroupKey("Tooltip"), Variant(g->TooltipText()));
        bag.WriteProperty(n.GroupKey("Key"), Variant(g->Key()));
        bag.WriteProperty(n.GroupKey("ButtonBackgroundLayout"), Long(g->ButtonBackgroundLayout()));
        bag.WriteProperty(n.GroupKey("ButtonBackgroundPicture"),
                          Variant(g->ButtonBackgroundPicture()));
        bag.WriteProperty(n.GroupKey("Tag"), g->Tag());
        bag.WriteProperty(n.GroupKey("Visible"), Variant(g->Visible()), Variant(true));
        bag.WriteProperty(n.GroupKey("IsCurrent"), Variant(g == m_aActiveGroup));
        const CButtons& buttons = *g->Buttons();
        bag.WriteProperty(n.GroupKey("ButtonCount"), Long(buttons.Count()));
        const Variant shown(true);
        for (std::int32_t j = 1; j <= buttons.Count(); ++j) {
            const CButton& b = *buttons.Entries().Item(j);
            n.Button(j);
            bag.WriteProperty(n.ButtonKey("Caption"), Variant(b.Caption()));
            bag.WriteProperty(n.ButtonKey("Tooltip"), Variant(b.TooltipText()));
            bag.WriteProperty(n.ButtonKey("Key"), Variant(b.Key()));
            bag.WriteProperty(n.ButtonKey("Picture"), Variant(b.Picture()));
            bag.WriteProperty(n.ButtonKey("Prompt"), Variant(b.Prompt()));
            bag.WriteProperty(n.ButtonKey("Tag"), b.Tag());
            bag.WriteProperty(n.ButtonKey("Visible"), Variant(b.Visible()), shown);
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
    Names n;
    const Variant general("General"), none(""), noPicture, shown(true), notCurrent(false),
        noLayout(Long(0)), noButtons(std::int16_t{0});
    const auto text = [&](std::string_view key, const Variant& def) {
        return bag.ReadPropertyRef(key, def).ToText();
    };
    m_aGroups->Reserve(groupCount);
    for (std::int32_t i = 1; i <= groupCount; ++i) {
        n.Group(i);
        const std::string caption = text(n.GroupKey("Caption"), general);
        const std::string key = text(n.GroupKey("Key"), none);
        const std::string tooltip = text(n.GroupKey("Tooltip"), none);
        const bool isCurrent = bag.ReadPropertyRef(n.GroupKey("IsCurrent"), notCurrent).ToBool();
        const GroupPtr g = Concerning(bag, n.GroupKey("Key"),
                                      [&] { return m_aGroups->Add(caption, tooltip, key); });
        g->SetButtonBackgroundLayout(
            bag.ReadPropertyRef(n.GroupKey("ButtonBackgroundLayout"), noLayout).ToLong());
        g->SetTag(bag.ReadPropertyRef(n.GroupKey("Tag"), none));
        g->SetButtonBackgroundPicture(
            PictureValue(bag.ReadPropertyRef(n.GroupKey("ButtonBackgroundPicture"), noPicture)));
        g->SetVisible(bag.ReadPropertyRef(n.GroupKey("Visible"), shown).ToBool());
        if (isCurrent) Concerning(bag, n.GroupKey("IsCurrent"), [&] { SetActiveGroup(g); });
        const std::int32_t buttonCount =
            bag.ReadPropertyRef(n.GroupKey("ButtonCount"), noButtons).ToLong();
        CButtons& buttons = *g->Buttons();
        buttons.Reserve(buttonCount);
        for (std::int32_t j = 1; j <= buttonCount; ++j) {
            n.Button(j);
            // In the order WriteProperties wrote them, so each is found beside the one before.
            std::string bCaption = text(n.ButtonKey("Caption"), none);
            std::string bTooltip = text(n.ButtonKey("ToolTip"), none);
            const std::string bKey = text(n.ButtonKey("Key"), none);
            const Variant& picture = bag.ReadPropertyRef(n.ButtonKey("Picture"), noPicture);
            std::string bPrompt = text(n.ButtonKey("Prompt"), none);
            ButtonPtr b;
            try {
                b = buttons.Add(std::move(bCaption), picture.As<Picture>(), std::move(bTooltip),
                                std::move(bPrompt), bKey);
            } catch (const Error& e) {
                // The picture check names its own source; anything else is the key's.
                bag.Concerns(n.ButtonKey(e.Source() == "CButtons.Add" ? "Picture" : "Key"));
                throw;
            }
            b->SetTag(bag.ReadPropertyRef(n.ButtonKey("Tag"), none));
            b->SetVisible(bag.ReadPropertyRef(n.ButtonKey("Visible"), shown).ToBool());
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
