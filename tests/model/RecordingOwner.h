// A control stand-in for item-model tests: records every notification with its arguments and
// answers key changes the way the control does.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/CButton.h"
#include "model/CButtons.h"
#include "model/CGroup.h"
#include "model/CGroups.h"
#include "model/Listeners.h"

namespace zo::testing {

class RecordingOwner : public ItemOwner {
public:
    static std::shared_ptr<RecordingOwner> Make() {
        auto owner = std::make_shared<RecordingOwner>();
        owner->groups = std::make_shared<CGroups>();
        owner->groups->init(owner);
        return owner;
    }

    std::string_view TypeName() const override { return "RecordingOwner"; }

    std::shared_ptr<CGroups> groups;
    std::vector<std::string> log;
    // Runs inside the next notification (then clears itself), to change the model re-entrantly.
    std::function<void()> onNext;

    void GroupAdded(const GroupPtr& g) override { Note("GroupAdded " + g->Caption()); }
    void GroupRemoved(const GroupPtr& g) override { Note("GroupRemoved " + g->Caption()); }
    void GroupPropertyChanged(const GroupPtr& g, std::string_view p) override {
        Note("GroupPropertyChanged " + g->Caption() + " " + std::string(p));
    }
    bool GroupKeyChanged(const GroupPtr& g, const std::string& n, const std::string& o) override {
        Note("GroupKeyChanged " + g->Caption() + " " + n + " " + o + " (key now " + g->Key() + ")");
        return groups->ChangeKey(g, n, o);
    }
    void GroupReIndexed(const GroupPtr& g) override { Note("GroupReIndexed " + g->Caption()); }
    void ButtonAdded(const ButtonPtr& b) override {
        Note("ButtonAdded " + b->Caption() + " " + b->InternalKey());
    }
    void ButtonRemoved(const ButtonPtr& b) override { Note("ButtonRemoved " + b->Caption()); }
    void ButtonPropertyChanged(const ButtonPtr& b, std::string_view p) override {
        Note("ButtonPropertyChanged " + b->Caption() + " " + std::string(p));
    }
    void ButtonReIndexed(const ButtonPtr& b) override { Note("ButtonReIndexed " + b->Caption()); }

    std::vector<std::string> Take() { return std::exchange(log, {}); }

private:
    void Note(std::string s) {
        log.push_back(std::move(s));
        if (auto f = std::exchange(onNext, nullptr)) f();
    }
};

inline PicturePtr TestPicture(PictureType type = PictureType::Bitmap) {
    return Picture::FromPixels(type, 0, 32, 32);
}

template <class F>
std::pair<int, std::string> ErrorOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return {e.Number(), e.Description() + " | " + e.Source()};
    }
    return {0, ""};
}

}  // namespace zo::testing
