#include "FakeFace.h"

#include <thread>
#include <utility>

void FakeFace::askToClose() {
    if (auto asked = std::exchange(closeAsked_, nullptr))
        asked();
}

std::vector<std::string> FakeFace::columnTexts() const {
    std::vector<std::string> result;
    for (const auto& [text, _] : columns)
        result.push_back(text);
    return result;
}

std::vector<bool> FakeFace::selected() const {
    std::vector<bool> flags;
    for (const auto& [_, flag] : columns)
        flags.push_back(flag);
    return flags;
}

void FakeFace::setCaption(const std::string& caption) {
    startUp.push_back("caption " + caption);
}

void FakeFace::centreOnScreen() {
    startUp.push_back("centre");
}

void FakeFace::loadCustomPointer(const std::filesystem::path& file) {
    startUp.push_back("pointer " + file.filename().string());
}

void FakeFace::showPointer(int value) {
    pointers.push_back(value);
}

void FakeFace::closeSoon() {
    ++closes;
}

std::string FakeFace::text(Control box) const {
    const auto found = texts.find(box);
    return found == texts.end() ? std::string() : found->second;
}

void FakeFace::setText(Control box, const std::string& text) {
    texts[box] = text;
}

int FakeFace::value(Control control) const {
    const auto found = values.find(control);
    return found == values.end() ? 0 : found->second;
}

void FakeFace::setValue(Control control, int value) {
    if (control == Control::Check7)
        startUp.push_back("Check7 " + std::to_string(value));
    values[control] = value;
}

int FakeFace::columnCount() const {
    return static_cast<int>(columns.size());
}

bool FakeFace::isColumnSelected(int index) const {
    return columns.at(static_cast<std::size_t>(index)).second;
}

void FakeFace::selectColumn(int index, bool selected) {
    columns.at(static_cast<std::size_t>(index)).second = selected;
}

void FakeFace::setColumns(const std::vector<std::string>& names) {
    columns.clear();
    for (const std::string& name : names)
        columns.emplace_back(name, false);
}

void FakeFace::addColour(const std::string& name, dupes::HighlightColour colour) {
    if (colours.empty())
        startUp.push_back("colours");
    colours.emplace_back(name, colour);
}

void FakeFace::chooseColourAt(int index) {
    chosenColourIndex = index;
}

std::optional<dupes::HighlightColour> FakeFace::chosenColour() const {
    if (chosenColourIndex < 0)
        return std::nullopt;
    return colours.at(static_cast<std::size_t>(chosenColourIndex)).second;
}

void FakeFace::makeProgressBarWhite() {
    startUp.push_back("white bar");
}

void FakeFace::setProgress(int percent) {
    if (progress.empty() || progress.back() != percent)
        progress.push_back(percent);
}

std::string FakeFace::askForWorkbookFile(const std::string& currentPath) {
    dialogPaths.push_back(currentPath);
    check4AtDialog.push_back(value(Control::Check4));
    if (dialogAnswers.empty())
        return {};
    std::string answer = dialogAnswers.front();
    dialogAnswers.erase(dialogAnswers.begin());
    return answer;
}

void FakeFace::showMessage(const std::string& title, const std::string& text) {
    messages.push_back(title + ": " + text);
}

void FakeFace::waitWithoutInput(const std::function<bool()>& done,
                                const std::function<void()>& tick,
                                const std::function<void()>& closeAsked) {
    closeAsked_ = closeAsked;
    while (!done()) {
        tick();
        if (onWait)
            onWait(*this);
        elapsed_ += step.count();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    closeAsked_ = nullptr;
}

SettingsStore MemorySettings::store() {
    const auto keyOf = [](const SettingAddress& address) {
        return address.application + "/" + address.section + "/" + address.key;
    };
    SettingsStore store;
    store.read = [this, keyOf](const SettingAddress& address) -> std::optional<std::string> {
        const auto found = entries.find(keyOf(address));
        if (found == entries.end())
            return std::nullopt;
        return found->second;
    };
    store.write = [this, keyOf](const SettingAddress& address, const std::string& text) {
        ++writes;
        entries[keyOf(address)] = text;
    };
    return store;
}
