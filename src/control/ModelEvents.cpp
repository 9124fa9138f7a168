// The active group, the selected button, and the control's answer to every change of the
// item model: header lists first, then arrangement, layout and repaint, then the host's
// property notification, and the host event last.
#include "control/ZoButtonBar.h"
#include "core/Error.h"
#include "platform/Window.h"

namespace zo {

void ZoButtonBar::SetActiveGroup(const GroupPtr& aGroup) {
    if (!aGroup) RaiseObjectError("Active group can't be set to nothing.");
    if (aGroup->ButtonBar().get() != this)
        RaiseObjectError("Group does not belong to this control.");
    if (UserMode() && !aGroup->Visible()) RaiseObjectError("Hidden group cannot be made active.");
    if (aGroup == m_aActiveGroup) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    m_aActiveGroup = aGroup;
    RebuildGroupLists(aGroup);
    m_aFocusGroup.reset();
    m_lScrollPos = 0;
    ArrangeAreas();
    LayoutButtons();
    RefreshButtonArea();
    NotifyHost("ActiveGroup");
    RaiseEvent([](ZoButtonBarEvents& e) { e.ActiveGroupChanged(); });
}

void ZoButtonBar::SetSelectedButton(const ButtonPtr& aButton) {
    if (aButton && aButton->ButtonBar().get() != this)
        RaiseObjectError("Button does not belong to this control");
    if (aButton == m_aSelectedButton) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    if (m_aSelectedButton) InvalidateButtonRect(*m_aSelectedButton);
    if (!aButton) {
        m_aSelectedButton.reset();
        RefreshButtonArea();
        NotifyHost("SelectedButton");
        return;
    }
    if (GroupPtr parent = aButton->ParentGroup(); parent != m_aActiveGroup) {
        SetActiveGroup(parent);
        // The new group's area was painted with the old selection still set.
        if (m_aSelectedButton) InvalidateButtonRect(*m_aSelectedButton);
    }
    m_aSelectedButton = aButton;
    if (aButton->Visible()) InvalidateButtonRect(*aButton);
    RaiseEvent([](ZoButtonBarEvents& e) { e.ButtonSelectionChanged(); });
    NotifyHost("SelectedButton");
}

void ZoButtonBar::GroupAdded(const GroupPtr& aGroup) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    // A new group is the last of Groups, hence after the active group.
    m_aLowerGroupButtons.AddGroupButton(aGroup);
    ArrangeAreas();
    GroupPtr arg = aGroup;
    RaiseEvent([&](ZoButtonBarEvents& e) { e.GroupAdded(arg); });
}

void ZoButtonBar::GroupRemoved(const GroupPtr& aGroup) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    if (aGroup == m_aActiveGroup) {
        try {
            SetActiveGroup(m_aGroups->Item(1));
        } catch (...) {
            // The error goes to the host with the lists as they were, but the removed group's
            // header must not stay on screen.
            RefreshGroupStrips();
            throw;
        }
    } else {
        m_aUpperGroupButtons.GroupLeft(*aGroup);
        m_aLowerGroupButtons.GroupLeft(*aGroup);
    }
    ArrangeAreas();
    GroupPtr arg = aGroup;
    RaiseEvent([&](ZoButtonBarEvents& e) { e.GroupRemoved(arg); });
}

void ZoButtonBar::GroupReIndexed(const GroupPtr&) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    RebuildGroupLists(m_aActiveGroup);
    ArrangeAreas();
    LayoutButtons();
    RefreshButtonArea();
}

bool ZoButtonBar::GroupKeyChanged(const GroupPtr& aGroup, const std::string& sNewKey,
                                  const std::string& sOldKey) {
    if (m_bTerminated || !m_aGroups) return false;
    return m_aGroups->ChangeKey(aGroup, sNewKey, sOldKey);
}

void ZoButtonBar::GroupPropertyChanged(const GroupPtr& aGroup, std::string_view sPropName) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    if (sPropName == "ButtonBackgroundPicture" || sPropName == "ButtonBackgroundLayout") {
        RefreshButtonArea();
        return;
    }
    if (sPropName == "Caption") {
        // The header's size does not depend on its caption: repaint it, no relayout.
        const Rect& r = aGroup->HeaderRect();
        const plat::RECT rc{r.left, r.top, r.right, r.bottom};
        const bool upper = m_aUpperGroupButtons.Contains(aGroup->InternalKey());
        plat::InvalidateRect(upper ? m_hWndUpperGroups : m_hWndLowerGroups, &rc, plat::TRUE);
        return;
    }
    if (sPropName != "Visible") return;
    // Counts of shown headers kept by the header lists are stale from here.
    ++m_lGroupVisibilityChanges;
    if (aGroup == m_aActiveGroup && !aGroup->Visible()) {
        if (m_aUpperGroupButtons.Count() < 2) {
            if (m_aLowerGroupButtons.Count() == 0) {
                // Handled re-entrantly by the branch below before the error leaves.
                aGroup->SetVisible(true);
                RaiseObjectError("Atleast one group must be visible.");
            }
            SetActiveGroup(m_aLowerGroupButtons.Item(1));
        } else {
            SetActiveGroup(m_aUpperGroupButtons.Item(m_aUpperGroupButtons.Count() - 1));
        }
    } else {
        RebuildGroupLists(m_aActiveGroup);
    }
    CalcGroupHeaderHeight();
    ArrangeAreas();
    LayoutButtons();
    RefreshButtonArea();
}

void ZoButtonBar::ButtonAdded(const ButtonPtr& aButton) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    if (aButton->ParentGroup() == m_aActiveGroup) {
        LayoutButtons();
        RefreshButtonArea();
    }
    ButtonPtr arg = aButton;
    RaiseEvent([&](ZoButtonBarEvents& e) { e.ButtonAdded(arg); });
}

void ZoButtonBar::ButtonRemoved(const ButtonPtr& aButton) {
    if (m_bTerminated) return;
    auto keepAlive = shared_from_this();
    const RepaintScope gather(*this);
    if (!RemoveFromLayout(*aButton)) LayoutButtons();
    RefreshButtonArea();
    ButtonPtr arg = aButton;
    RaiseEvent([&](ZoButtonBarEvents& e) { e.ButtonRemoved(arg); });
}

void ZoButtonBar::ButtonPropertyChanged(const ButtonPtr& aButton, std::string_view sProperty) {
    if (m_bTerminated) return;
    // A visibility, picture or caption the last layout summed up may be different now.
    m_layoutMemo.reset();
    if (aButton->ParentGroup() != m_aActiveGroup) return;
    if (sProperty == "Visible") {
        // No relayout: the cell stays where it is, but what shows in it changes now.
        if (!m_bLockRefresh) InvalidateButtonRect(*aButton);
        return;
    }
    if (sProperty != "Caption" && sProperty != "Picture") return;
    LayoutButtons();
    RefreshButtonArea();
}

void ZoButtonBar::ButtonReIndexed(const ButtonPtr& aButton) {
    if (m_bTerminated) return;
    if (aButton->ParentGroup() != m_aActiveGroup) return;
    LayoutButtons();
    RefreshButtonArea();
}

}  // namespace zo
