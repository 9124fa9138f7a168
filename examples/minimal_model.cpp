// The smallest use of the item model: groups and buttons made, found by key and walked.
#include <cstdio>

#include <zobtnbar/ZoBtnBar.h>

int main() {
    auto groups = std::make_shared<zo::CGroups>();
    auto tools = groups->Add("Tools", "Everyday tools", "tools");
    auto picture = zo::Picture::FromPixels(zo::PictureType::Bitmap, 0, 32, 32);
    tools->Buttons()->Add("Hammer", picture, "Hits things", "", "hammer");
    tools->Buttons()->Add("Saw", picture, "Cuts things");
    try {
        tools->Buttons()->Add("Another hammer", picture, "", "", "HAMMER");
    } catch (const zo::Error& e) {
        std::printf("refused: %s\n", e.Description().c_str());
    }
    for (const auto& button : *groups->Item("tools")->Buttons())
        std::printf("%s (%s)\n", button->Caption().c_str(), button->InternalKey().c_str());
    return 0;
}
