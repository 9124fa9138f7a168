// A wrapper of one window of the common tooltip class: the control adds three tools to it
// (the button area and the two header strips) and, as the mouse moves, points a tool at the
// hot item and gives it that item's tooltip text. The window itself decides when to show.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace zo {

class CToolTip {
public:
    CToolTip() = default;
    ~CToolTip();
    CToolTip(const CToolTip&) = delete;
    CToolTip& operator=(const CToolTip&) = delete;

    void init(plat::HWND hParent);
    plat::HWND hWnd() const { return m_hWnd; }

    bool BallonStyle() const;
    void SetBallonStyle(bool b);
    std::int32_t ToolCount() const;
    void SetActivate(bool bActivate);
    void SetNewToolRect(std::uintptr_t uid, std::int32_t x, std::int32_t y, std::int32_t cx,
                        std::int32_t cy);
    void AdjustRect(plat::RECT* rect);
    void SetToolWindowPos(std::int32_t x, std::int32_t y);
    // False when a tool with this uId exists already or the window refused it.
    bool AddTool(std::uintptr_t uid, bool bUIDisWnd, std::int32_t x, std::int32_t y,
                 std::int32_t cx, std::int32_t cy, const std::string& sText);
    void DeleteTool(std::uintptr_t uid);
    std::int32_t BackColor() const;
    void SetBackColor(std::int32_t oleColor);
    std::int32_t ForeColor() const;
    void SetForeColor(std::int32_t oleColor);
    std::int32_t LeftMargin() const { return Margin().left; }
    std::int32_t TopMargin() const { return Margin().top; }
    std::int32_t RightMargin() const { return Margin().right; }
    std::int32_t BottomMargin() const { return Margin().bottom; }
    void SetLeftMargin(std::int32_t v);
    void SetTopMargin(std::int32_t v);
    void SetRightMargin(std::int32_t v);
    void SetBottomMargin(std::int32_t v);
    // The tool's text, no longer than the longest text ever set through this instance.
    std::string Text(std::uintptr_t uid) const;
    void SetText(std::uintptr_t uid, const std::string& sText);
    void SethFont(plat::HFONT hFnt);
    const std::string& Title() const { return m_sTitle; }
    void SetTitle(const std::string& sTitle);
    std::int32_t Icon() const { return m_lIcon; }
    void SetIcon(std::int32_t nIcon);
    std::int32_t InitialDelay() const;
    void SetInitialDelay(std::int32_t ms);
    std::int32_t ReshowDelay() const;
    void SetReshowDelay(std::int32_t ms);
    std::int32_t AutopopDelay() const;
    void SetAutopopDelay(std::int32_t ms);
    // The uId of the tool at a 0-based index, 0 when there is none.
    std::uintptr_t ToolId(std::int32_t index) const;

private:
    plat::RECT Margin() const;
    void SetMargin(const plat::RECT& r);
    bool FindTool(std::uintptr_t uid, struct ToolRecord& out) const;

    plat::HWND m_hWnd = 0;
    plat::HWND m_hParent = 0;
    std::string m_sTitle;
    std::int32_t m_lIcon = 0;
    std::int32_t m_lMaxTextLen = 0;
};

}  // namespace zo
