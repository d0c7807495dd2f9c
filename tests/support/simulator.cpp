#include "simulator.h"

namespace sim {

namespace {
void Clear() {
    auto& headless = vcl::Headless();
    headless.ClearScript();
    headless.Boxes.clear();
    headless.Popups.clear();
    headless.ScriptErrors.clear();
}
}  // namespace

Simulator::Simulator() {
    vcl::SetBackend(&vcl::Headless());
    Clear();
}

Simulator::~Simulator() { Clear(); }

void Simulator::Drag(vcl::TScrollBar& bar, std::initializer_list<int> positions) {
    for (int position : positions) vcl::input::Scroll(bar, position);
}

bool Simulator::PressTrayIcon(unsigned id, unsigned buttonMessage) {
    if (!win::PressTrayIcon(id, buttonMessage)) return false;
    vcl::Application->ProcessMessages();
    return true;
}

std::vector<std::string> Simulator::BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : backend().Boxes) texts.push_back(box.text);
    return texts;
}

}  // namespace sim
