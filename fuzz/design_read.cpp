// Loads a stored design made of arbitrary keys and values: every input must give a working
// control or a component error, never a crash, and whatever was loaded must save, repaint and
// be released without leaking a window or a drawing object.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ZoBtnBar.h"
#include "host/DesignFile.h"

namespace {

// Names a design uses, so that the fuzzer reaches the reader's paths quickly.
const char* const kWords[] = {"GroupCount",
                              "Caption",
                              "Tooltip",
                              "ToolTip",
                              "Key",
                              "Tag",
                              "Visible",
                              "IsCurrent",
                              "ButtonCount",
                              "Picture",
                              "Prompt",
                              "ButtonBackgroundLayout",
                              "ButtonLayout",
                              "ButtonFlow",
                              "GroupFlow",
                              "ButtonHeight",
                              "ButtonWidth",
                              "ButtonSize",
                              "Font",
                              "ShowCaptionBar",
                              "LockRefresh",
                              "ButtonBackColor",
                              "GroupGradientType",
                              "ButtonTextPosition",
                              "ShowButtonInfo",
                              "MousePointer",
                              "Appearance",
                              "BorderStyle",
                              "ButtonAppearance",
                              "SelectedButtonAppearance",
                              "GroupAppearance",
                              "ShowCloseButton"};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    bool More() const { return p_ < end_; }
    std::uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    std::int32_t Long() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | Byte();
        return static_cast<std::int32_t>(v);
    }
    std::string Text() {
        const std::size_t n = Byte() % 24;
        std::string s;
        for (std::size_t i = 0; i < n && More(); ++i)
            s.push_back(static_cast<char>(Byte()));
        return s;
    }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// A key: a plain word, or one under a group or a button prefix with small numbers.
std::string KeyOf(Reader& r) {
    const std::uint8_t shape = r.Byte();
    const std::string word = kWords[r.Byte() % (sizeof kWords / sizeof kWords[0])];
    switch (shape % 4) {
        case 0:
            return word;
        case 1:
            return "GRP" + std::to_string(1 + r.Byte() % 4) + word;
        case 2:
            return "GRP" + std::to_string(1 + r.Byte() % 4) + "BTN" +
                   std::to_string(1 + r.Byte() % 6) + word;
        default:
            return r.Text();
    }
}

zo::Variant ValueOf(Reader& r) {
    switch (r.Byte() % 7) {
        case 0:
            return zo::Variant(static_cast<std::int32_t>(r.Byte() % 8));
        case 1:
            return zo::Variant(r.Long());
        case 2:
            return zo::Variant(r.Byte() % 2 == 0);
        case 3:
            return zo::Variant(r.Text());
        case 4:
            return zo::Variant(static_cast<double>(r.Long()) / 16.0);
        case 5:
            return zo::Variant(zo::Picture::FromPixels(zo::PictureType::Icon, 0, 16, 16));
        default:
            return zo::Variant();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zo::plat::InitDisplay(zo::plat::DisplayKind::Offscreen, 400, 400);
    // One load first, so that stock objects and caches made once are not counted as leaks.
    zo::DefaultSite site;
    auto bar = zo::ZoButtonBar::Create(site, 0, 0, 0, 200, 300);
    bar->ReadProperties(zo::PropertyBag());
    bar->Refresh();
    zo::plat::PumpMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zo::PropertyBag bag;
    Reader r(data, size);
    for (int i = 0; i < 64 && r.More(); ++i) {
        const std::string key = KeyOf(r);
        bag.WriteProperty(key, ValueOf(r));
    }
    // Keep designs small enough to run many inputs a second: the reader's own limits, set
    // low, whatever kind of value the counts are stored as.
    zo::DesignLimits limits;
    limits.maxGroups = 8;
    limits.maxButtons = 48;
    try {
        zo::CheckDesignLimits(bag, limits);
    } catch (const zo::DesignError&) {
        return 0;
    }
    // The load runs twice: the first may make objects the platform keeps for good (a system
    // colour's brush, say); the second must end with no more objects than it began with.
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t objects = zo::plat::GdiObjects().LiveCount();
        {
            zo::DefaultSite site;
            auto bar = zo::ZoButtonBar::Create(site, 0, 0, 0, 200, 300);
            try {
                bar->ReadProperties(bag);
            } catch (const zo::Error&) {
                // A bad value stops the load with a component error; what was read stays.
            }
            zo::PropertyBag saved;
            bar->WriteProperties(saved);
            bar->Refresh();
            zo::plat::PumpMessages();
        }
        zo::plat::PumpMessages();
        if (pass == 1 && zo::plat::GdiObjects().LiveCount() > objects) std::abort();
    }
    return 0;
}
