// Pages in the platform's property-sheet frame: each page's window procedure is PageProc,
// which builds the page on WM_INITDIALOG, loads the selection, and answers PSN_APPLY with
// ApplyChanges. Errors the page raises are shown in the site's message box, as the host
// reports a failed property write, and keep the sheet open on the page.
#include "host/PropertyPage.h"

#include <exception>

#include "core/Error.h"

namespace zo {

namespace {
constexpr int vbCritical = 16;
const std::vector<ObjectPtr> kNothingSelected;
}  // namespace

PropertyPage::PropertyPage(std::string caption, int width, int height)
    : caption_(std::move(caption)), width_(width), height_(height) {}

PropertyPage::~PropertyPage() {
    // A page that goes while shown leaves a window behind that must no longer call it.
    if (hwnd_ != 0 && plat::IsWindow(hwnd_)) plat::DestroyWindow(hwnd_);
}

const std::vector<ObjectPtr>& PropertyPage::SelectedControls() const {
    return host_ != nullptr ? host_->SelectedControls() : kNothingSelected;
}

void PropertyPage::SetChanged(bool changed) {
    changed_ = changed;
    if (hwnd_ != 0)
        plat::SendMessageA(plat::GetParent(hwnd_),
                           changed ? plat::PSM_CHANGED : plat::PSM_UNCHANGED, hwnd_, 0);
}

bool PropertyPage::OnMessage(plat::UINT, plat::WPARAM, plat::LPARAM, plat::LRESULT&) {
    return false;
}

plat::INT_PTR PropertyPage::PageProc(plat::HWND hwnd, plat::UINT msg, plat::WPARAM wParam,
                                     plat::LPARAM lParam) {
    using namespace plat;
    if (msg == WM_INITDIALOG) {
        auto* page = reinterpret_cast<PropertyPage*>(
            reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
        SetWindowLongA(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(page));
        page->hwnd_ = hwnd;
        try {
            page->Create();
            page->SelectionChanged();
        } catch (const Error& e) {
            page->host_->ShowError(e.Description(), e.Source());
        }
        return TRUE;
    }
    auto* page = reinterpret_cast<PropertyPage*>(GetWindowLongA(hwnd, GWL_USERDATA));
    if (page == nullptr) return FALSE;
    if (msg == WM_NCDESTROY) {
        page->hwnd_ = 0;
        return FALSE;
    }
    if (msg == WM_NOTIFY) {
        const auto* n = reinterpret_cast<const NMHDR*>(lParam);
        if (n != nullptr && n->code == PSN_APPLY) {
            try {
                page->ApplyChanges();
            } catch (const Error& e) {
                page->host_->ShowError(e.Description(), e.Source());
                return PSNRET_INVALID;
            }
            page->changed_ = false;
            return PSNRET_NOERROR;
        }
    }
    LRESULT result = 0;
    try {
        if (page->OnMessage(msg, wParam, lParam, result)) return msg == WM_NOTIFY ? result : TRUE;
    } catch (const Error& e) {
        page->host_->ShowError(e.Description(), e.Source());
        return TRUE;
    }
    return FALSE;
}

PropertyPageHost::PropertyPageHost(ControlSite& site, std::vector<ObjectPtr> selected)
    : site_(site), selected_(std::move(selected)) {}

PropertyPageHost::~PropertyPageHost() {
    if (sheet_ != 0 && plat::IsWindow(sheet_)) plat::DestroyWindow(sheet_);
    for (PropertyPage* p : pages_)
        if (p->host_ == this) p->host_ = nullptr;
}

void PropertyPageHost::SetSelectedControls(std::vector<ObjectPtr> selected) {
    selected_ = std::move(selected);
    for (PropertyPage* p : pages_) {
        if (p->hwnd_ == 0) continue;
        try {
            p->SelectionChanged();
        } catch (const Error& e) {
            ShowError(e.Description(), e.Source());
        }
    }
}

bool PropertyPageHost::ShowModal(plat::HWND owner, const std::string& caption,
                                 const std::vector<PropertyPage*>& pages, int startPage) {
    bool applied = false;
    Show(owner, caption, pages, startPage, false, &applied);
    return applied;
}

plat::HWND PropertyPageHost::ShowModeless(plat::HWND owner, const std::string& caption,
                                          const std::vector<PropertyPage*>& pages, int startPage) {
    return Show(owner, caption, pages, startPage, true, nullptr);
}

plat::HWND PropertyPageHost::Show(plat::HWND owner, const std::string& caption,
                                  const std::vector<PropertyPage*>& pages, int startPage,
                                  bool modeless, bool* applied) {
    using namespace plat;
    if (pages.empty() || (sheet_ != 0 && IsWindow(sheet_))) return 0;
    pages_ = pages;
    std::vector<PROPSHEETPAGEA> psp(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pages[i]->host_ = this;
        pages[i]->changed_ = false;
        psp[i].dwFlags = PSP_USETITLE;
        psp[i].cx = pages[i]->width_;
        psp[i].cy = pages[i]->height_;
        psp[i].pfnDlgProc = &PropertyPage::PageProc;
        psp[i].pszTitle = pages[i]->caption_.c_str();
        psp[i].lParam = reinterpret_cast<LPARAM>(pages[i]);
    }
    PROPSHEETHEADERA h;
    h.dwFlags = modeless ? PSH_MODELESS : PSH_DEFAULT;
    h.hwndParent = owner;
    h.pszCaption = caption.c_str();
    h.nPages = static_cast<UINT>(psp.size());
    h.nStartPage = static_cast<UINT>(std::max(startPage, 0));
    h.ppsp = psp.data();
    if (modeless) {
        const INT_PTR r = PropertySheetA(&h);
        sheet_ = r > 0 ? static_cast<HWND>(r) : 0;
        return sheet_;
    }
    const INT_PTR r = PropertySheetA(&h);
    if (applied != nullptr) *applied = r > 0;
    return 0;
}

bool PropertyPageHost::IsSheetMessage(plat::MSG* msg) const {
    using namespace plat;
    if (sheet_ == 0 || !IsWindow(sheet_)) return false;
    return SendMessageA(sheet_, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}

plat::HWND PropertyPageHost::Sheet() const {
    return sheet_ != 0 && plat::IsWindow(sheet_) ? sheet_ : 0;
}

void PropertyPageHost::ShowError(const std::string& description, const std::string& source) {
    site_.MsgBox(description, vbCritical, source);
}

}  // namespace zo
