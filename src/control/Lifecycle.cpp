// How a ZoButtonBar comes into being and goes away, its focus colours, and the two header
// lists that split the shown groups between the strips above and below the button area.
#include <algorithm>
#include <string>
#include <utility>

#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace zo {

ZoButtonBar::ZoButtonBar(Key, ControlSite& site) : site_(site) {}

std::shared_ptr<ZoButtonBar> ZoButtonBar::Create(ControlSite& site, plat::HWND parent, int x, int y,
                                                 int width, int height) {
    auto bar = std::make_shared<ZoButtonBar>(Key{}, site);
    // Hidden until its settings are in: the defaults or the stored design would otherwise be
    // painted one after another before anybody sees the control.
    bar->form_ = std::make_unique<ControlForm>(parent, x, y, width, height, false);
    bar->WireSurfaces();
    return bar;
}

std::shared_ptr<ZoButtonBar> ZoButtonBar::CreateNew(ControlSite& site, plat::HWND parent, int x,
                                                    int y, int width, int height) {
    auto bar = Create(site, parent, x, y, width, height);
    bar->InitProperties();
    return bar;
}

ZoButtonBar::~ZoButtonBar() {
    Terminate();
    if (form_) {
        // The form's windows may still send notifications while they are destroyed.
        form_->on = FormHandlers{};
        for (Surface* s : {&form_->CaptionBar(), &form_->UpperGroups(), &form_->Buttons(),
                           &form_->LowerGroups()})
            s->on = SurfaceHandlers{};
    }
}

void ZoButtonBar::WireSurfaces() {
    // Handlers run while the control lives: the form is owned by the control and its
    // handlers are cleared before the control goes.
    form_->on.Resize = [this] { OnControlResize(); };
    form_->on.EnterFocus = [this] { EnterFocus(); };
    form_->on.ExitFocus = [this] { ExitFocus(); };
    m_picCaptionBar().on.Resize = [this] { OnCaptionBarResize(); };
    m_picCaptionBar().on.Paint = [this] { OnCaptionBarPaint(); };
    m_PicUpperGroups().on.Resize = [this] { OnUpperGroupsResize(); };
    m_PicUpperGroups().on.Paint = [this] { OnUpperGroupsPaint(); };
    m_PicLowerGroups().on.Resize = [this] { OnLowerGroupsResize(); };
    m_PicLowerGroups().on.Paint = [this] { OnLowerGroupsPaint(); };
    m_PicButtons().on.Resize = [this] { OnButtonsResize(); };
    m_PicButtons().on.Paint = [this] { OnButtonsPaint(); };
    WireInput();
}

void ZoButtonBar::SetupSurfaces() {
    if (m_bSetUp) return;
    m_bSetUp = true;
    if (const plat::HMODULE lib = plat::LoadLibraryA("msimg32.dll")) {
        m_bHasMsImg32 = true;
        plat::FreeLibrary(lib);
    }
    auto self = std::static_pointer_cast<ZoButtonBar>(shared_from_this());
    m_aUpperGroupButtons.init(self);
    m_aLowerGroupButtons.init(self);
    m_aResMgr = MakeResourceManager();
    m_aGroups = std::make_shared<CGroups>();
    m_aGroups->init(std::static_pointer_cast<ItemOwner>(self));
    m_aFont = std::make_shared<StdFont>();
    m_hMemDC = plat::CreateCompatibleDC(0);
    m_hWndButtons = m_PicButtons().hWnd();
    m_hWndUpperGroups = m_PicUpperGroups().hWnd();
    m_hWndLowerGroups = m_PicLowerGroups().hWnd();
    // Tooltips and the paint hook of the button area are run-time services.
    if (!UserMode()) return;
    StartRunTimeServices();
}

void ZoButtonBar::ShowForm() {
    if (form_ && !m_bTerminated) plat::ShowWindow(form_->hWnd(), plat::SW_SHOWNA);
}

void ZoButtonBar::InitProperties() {
    auto keepAlive = shared_from_this();
    const ShowWhenDone show{*this};
    SetupSurfaces();
    SetAppearance(zo3dControl);
    SetButtonBackColor(static_cast<std::int32_t>(0x80000011u));
    SetButtonForeColor(site_.AmbientForeColor());
    SetBorderStyle(zoNone);
    SetButtonFlow(zoVertical);
    SetButtonLayout(zoLinear);
    SetButtonAppearance(zoFlat);
    SetButtonSize(zoAutoCalculated);
    // 48 pixels in the control's own units, truncated.
    SetButtonHeight(static_cast<std::int32_t>(form_->ScaleY(48, vbPixels, form_->GetScaleMode())));
    SetButtonWidth(static_cast<std::int32_t>(form_->ScaleX(48, vbPixels, form_->GetScaleMode())));
    SetButtonHighlightZone(zoZonePictureAndText);
    SetButtonPictureMaskColor(0xFFFFFF);
    SetCaption("");
    SetShowCloseButton(true);
    SetGroupAppearance(zoModern3dRaised);
    SetGroupFlow(zoVertical);
    SetFont(site_.AmbientFont());
    SetSelectedButtonAppearance(zoClassic3dSunken);
    SetShowButtonInfo(zoPictureAndCaption);
    SetShowCaptionBar(false);
    SetHighlightedButtonBackColor(static_cast<std::int32_t>(0x80000011u));
    SetHighlightedButtonForeColor(static_cast<std::int32_t>(0x8000000Eu));
    SetGroupBackColor(static_cast<std::int32_t>(0x8000000Fu));
    SetGroupForeColor(static_cast<std::int32_t>(0x80000012u));
    SetSelectedButtonBackColor(ButtonBackColor());
    SetSelectedButtonForeColor(ButtonForeColor());
    SetButtonTextPosition(zoBottom);
    SetMousePointer(1);
    SetMouseIcon(nullptr);
    SetGroupGradientType(zoGradientNone);
    SetGroupGradientColor(GroupBackColor());
    SetButtonGradientType(zoGradientNone);
    SetButtonGradientColor(ButtonBackColor());
    SetLockRefresh(false);
    if (m_aGroups->Count() == 0) SetActiveGroup(m_aGroups->Add("General", "General"));
    CalcGroupHeaderHeight();
}

void ZoButtonBar::Terminate() {
    if (m_bTerminated || !m_bSetUp) {
        m_bTerminated = true;
        return;
    }
    m_bTerminated = true;
    m_aMouseIcon.reset();
    StopRunTimeServices();
    m_aUpperGroupButtons.Clear();
    m_aLowerGroupButtons.Clear();
    m_aFont.reset();
    m_aSelectedButton.reset();
    m_aActiveGroup.reset();
    m_aHighlightedButton.reset();
    m_aFocusGroup.reset();
    m_aGroups.reset();
    m_aResMgr.reset();
    if (m_hMemDC != 0) {
        plat::DeleteDC(m_hMemDC);
        m_hMemDC = 0;
    }
}

void ZoButtonBar::EnterFocus() {
    m_bHasFocus = true;
    m_picCaptionBar().SetBackColor(static_cast<std::int32_t>(0x80000002u));
    m_picCaptionBar().Refresh();
}

void ZoButtonBar::ExitFocus() {
    m_bHasFocus = false;
    m_picCaptionBar().SetBackColor(static_cast<std::int32_t>(0x80000003u));
    m_picCaptionBar().Refresh();
}

void ZoButtonBar::RebuildGroupLists(const GroupPtr& aActive) {
    const auto stampNow = [&] {
        return GroupListsStamp{m_aGroups ? m_aGroups->Entries().Revision() : 0u,
                               m_lGroupVisibilityChanges,
                               m_aUpperGroupButtons.Generation(),
                               m_aLowerGroupButtons.Generation(),
                               m_aUpperGroupButtons.Count(),
                               m_aLowerGroupButtons.Count(),
                               UserMode(),
                               m_aGroups != nullptr};
    };
    // Nothing listed has changed since the last rebuild: only the boundary moves.
    if (aActive && m_groupListsStamp.valid && m_groupListsStamp == stampNow() &&
        CGroupButtons::MoveBoundary(m_aUpperGroupButtons, m_aLowerGroupButtons, *aActive)) {
        m_groupListsStamp = stampNow();
        return;
    }
    m_aUpperGroupButtons.Clear();
    m_aLowerGroupButtons.Clear();
    m_groupListsStamp = GroupListsStamp{};
    if (!m_aGroups) return;
    // Nothing here calls out, so the groups can be walked in place.
    const bool all = !UserMode();
    bool metActive = false;
    for (const GroupPtr& g : m_aGroups->Entries()) {
        if (!all && !g->Visible()) continue;
        if (!metActive) {
            m_aUpperGroupButtons.Append(*g, true);
            if (g == aActive) metActive = true;
        } else {
            m_aLowerGroupButtons.Append(*g, true);
        }
    }
    m_groupListsStamp = stampNow();
}

std::int32_t ZoButtonBar::GridCell(std::int32_t line, std::int32_t pos) const {
    if (line < 0 || pos < 0 || line >= m_lGridLines || pos >= m_lGridPositions) return 0;
    return m_aButtonGrid[static_cast<std::size_t>(line) *
                             static_cast<std::size_t>(m_lGridPositions) +
                         static_cast<std::size_t>(pos)];
}

plat::HWND ZoButtonBar::hwnd() const {
    return form_ ? form_->hWnd() : 0;
}

void ZoButtonBar::ShowAbout() {
    site_.MsgBox(std::string("ZoButtonBar ") + ZO_VERSION +
                     "\nA bar of group headers with buttons, for C++ programs on Linux.",
                 0x40, "About ZoButtonBar");
}

// ---- CGroupButtons ----

CGroupButtons::Stamp CGroupButtons::StampOf(const ZoButtonBar& owner) {
    return Stamp{owner.Groups()->Entries().Removals(), owner.m_lGroupVisibilityChanges,
                 owner.UserMode()};
}

std::shared_ptr<ZoButtonBar> CGroupButtons::Owner() const {
    auto owner = owner_.lock();
    return owner && owner->Groups() ? owner : nullptr;
}

// Looks every key up again after groups left Groups without the list being told.
void CGroupButtons::Recheck(const ZoButtonBar& owner) const {
    const std::uint32_t removals = owner.Groups()->Entries().Removals();
    if (checked_ && checkedRemovals_ == removals) return;
    bool changed = false;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        CGroup* g = owner.Groups()->ItemByInternalKey(keys_[i]).get();
        changed = changed || g != groups_[i];
        groups_[i] = g;
    }
    if (changed) {
        ++generation_;
        shownKnown_ = false;
    }
    checked_ = true;
    checkedRemovals_ = removals;
}

void CGroupButtons::Clear() {
    keys_.clear();
    groups_.clear();
    ++generation_;
    shown_ = 0;
    const auto owner = Owner();
    shownKnown_ = checked_ = owner != nullptr;
    if (!owner) return;
    shownStamp_ = StampOf(*owner);
    checkedRemovals_ = shownStamp_.removals;
}

void CGroupButtons::Append(CGroup& aGroup, bool shown) {
    keys_.push_back(aGroup.InternalKeyNumber());
    groups_.push_back(&aGroup);
    if (shown) ++shown_;
}

bool CGroupButtons::MoveBoundary(CGroupButtons& upper, CGroupButtons& lower, const CGroup& aGroup) {
    for (const CGroupButtons* l : {&upper, &lower})
        if (!l->checked_ || !l->shownKnown_ || l->shown_ != l->Count()) return false;
    const auto at = [&](const CGroupButtons& l) {
        return static_cast<std::size_t>(std::find(l.groups_.begin(), l.groups_.end(), &aGroup) -
                                        l.groups_.begin());
    };
    // Entries [begin, end) of `from` go to `to` before its entry toAt. Room first, so that
    // nothing can throw with the lists half moved.
    const auto move = [](CGroupButtons& from, std::size_t begin, std::size_t end, CGroupButtons& to,
                         std::size_t toAt) {
        to.keys_.reserve(to.keys_.size() + (end - begin));
        to.groups_.reserve(to.keys_.capacity());
        const auto b = static_cast<std::ptrdiff_t>(begin), e = static_cast<std::ptrdiff_t>(end);
        const auto t = static_cast<std::ptrdiff_t>(toAt);
        to.keys_.insert(to.keys_.begin() + t, from.keys_.begin() + b, from.keys_.begin() + e);
        to.groups_.insert(to.groups_.begin() + t, from.groups_.begin() + b,
                          from.groups_.begin() + e);
        from.keys_.erase(from.keys_.begin() + b, from.keys_.begin() + e);
        from.groups_.erase(from.groups_.begin() + b, from.groups_.begin() + e);
        const auto n = static_cast<std::int32_t>(end - begin);
        to.shown_ += n;
        from.shown_ -= n;
    };
    if (const std::size_t i = at(upper); i < upper.groups_.size()) {
        if (i + 1 == upper.groups_.size()) return true;
        move(upper, i + 1, upper.groups_.size(), lower, 0);
        ++upper.generation_;
        ++lower.generation_;
        return true;
    }
    const std::size_t j = at(lower);
    if (j == lower.groups_.size()) return false;
    // The upper list only grows at its end, so the headers laid out there before still hold.
    move(lower, 0, j + 1, upper, upper.groups_.size());
    ++lower.generation_;
    return true;
}

void CGroupButtons::AddGroupButton(const GroupPtr& aGroup) {
    const auto owner = owner_.lock();
    Append(*aGroup, owner && owner->IsGroupShown(*aGroup));
}

void CGroupButtons::Erase(std::size_t at) {
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(at));
    groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(at));
    ++generation_;
}

void CGroupButtons::GroupLeft(const CGroup& aGroup) {
    const auto owner = Owner();
    const bool live = owner != nullptr;
    const Stamp now = live ? StampOf(*owner) : Stamp{};
    // The one removal since the last check was aGroup's: every other entry still holds.
    const bool onlyThis = live && checked_ && checkedRemovals_ + 1 == now.removals;
    const bool countHeld = shownKnown_ && shownStamp_.visibility == now.visibility &&
                           shownStamp_.userMode == now.userMode &&
                           shownStamp_.removals + 1 == now.removals;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i] != aGroup.InternalKeyNumber()) continue;
        if (countHeld && groups_[i] == &aGroup && (!now.userMode || aGroup.Visible())) --shown_;
        Erase(i);
        break;
    }
    if (onlyThis) checkedRemovals_ = now.removals;
    if (countHeld && onlyThis)
        shownStamp_ = now;
    else
        shownKnown_ = false;
}

std::span<CGroup* const> CGroupButtons::Resolved() const {
    const auto owner = Owner();
    if (!owner) {
        // The control is gone: nothing resolves.
        std::fill(groups_.begin(), groups_.end(), nullptr);
        checked_ = false;
        return groups_;
    }
    Recheck(*owner);
    return groups_;
}

std::int32_t CGroupButtons::ShownCount() const {
    const auto owner = Owner();
    if (!owner) return 0;
    const Stamp now = StampOf(*owner);
    if (shownKnown_ && shownStamp_ == now) return shown_;
    Recheck(*owner);
    shown_ = 0;
    for (const CGroup* g : groups_)
        if (g != nullptr && owner->IsGroupShown(*g)) ++shown_;
    shownStamp_ = now;
    shownKnown_ = true;
    return shown_;
}

std::size_t CGroupButtons::PositionOf(std::string_view internalKey) const {
    // A text that is no internal key must not find an entry for a group that has none (0).
    const std::int32_t number = InternalNumber(internalKey).value;
    if (number == 0) return keys_.size();
    return static_cast<std::size_t>(std::ranges::find(keys_, number) - keys_.begin());
}

bool CGroupButtons::Contains(std::string_view sKey) const {
    return PositionOf(sKey) < keys_.size();
}

void CGroupButtons::RemoveGroupButton(std::string_view sGroupName) {
    const std::size_t at = PositionOf(sGroupName);
    if (at == keys_.size()) return;
    Erase(at);
    shownKnown_ = false;
}

GroupPtr CGroupButtons::Item(const Variant& Index) const {
    if (!Index.IsString()) return Item(Index.ToLong());
    const std::size_t at = PositionOf(Index.AsStringRef());
    if (at == keys_.size()) RaiseRuntimeError(kErrInvalidCall);
    return Item(static_cast<std::int32_t>(at) + 1);
}

GroupPtr CGroupButtons::Item(std::int32_t position) const {
    if (position < 1 || position > Count()) RaiseRuntimeError(kErrSubscript);
    CGroup* g = Resolved()[static_cast<std::size_t>(position - 1)];
    return g != nullptr ? std::static_pointer_cast<CGroup>(g->shared_from_this()) : nullptr;
}

}  // namespace zo
