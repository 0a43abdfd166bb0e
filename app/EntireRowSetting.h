#pragma once

#include <functional>
#include <optional>
#include <string>

// Where a per-user setting is kept: the store holds text values addressed by
// application, section and key.
struct SettingAddress {
    std::string application;
    std::string section;
    std::string key;
};

// The platform's per-user settings store.
struct SettingsStore {
    // The stored text, or none when there is no entry.
    std::function<std::optional<std::string>(const SettingAddress&)> read;
    std::function<void(const SettingAddress&, const std::string& text)> write;
};

// The entire-row option, the program's only persisted setting, kept as the
// text "1" or "0".
const SettingAddress& EntireRowSetting();

// Whether a stored text turns the option on: its leading number is exactly 1.
bool EntireRowFromStoredText(const std::string& text);

// The text stored for a value of the option's check box.
std::string StoredTextForEntireRow(bool ticked);
