#include "app/win32/Win32Desktop.h"

#include "sheet/Spreadsheet.h"
#include "sheet/Utf8Path.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace {

std::wstring Wide(std::string_view utf8) {
    return sheet::PathOf(utf8).wstring();
}

std::wstring KeyOf(const SettingAddress& address) {
    return L"Software\\VB and VBA Program Settings\\" + Wide(address.application) + L"\\" +
           Wide(address.section);
}

std::filesystem::path ProgramFolder() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return std::filesystem::path(std::wstring(path.data(), length)).parent_path();
}

} // namespace

SettingsStore RegistrySettingsStore() {
    SettingsStore store;
    store.read = [](const SettingAddress& address) -> std::optional<std::string> {
        const std::wstring key = KeyOf(address);
        const std::wstring name = Wide(address.key);
        DWORD bytes = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                         nullptr, &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                         text.data(), &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        text.resize(wcslen(text.c_str()));
        return sheet::PathText(std::filesystem::path(text));
    };
    store.write = [](const SettingAddress& address, const std::string& text) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyOf(address).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        const std::wstring value = Wide(text);
        RegSetValueExW(key, Wide(address.key).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    };
    return store;
}

Form1Services DesktopServices() {
    Form1Services services;
    services.programFolder = ProgramFolder();
    services.homePageDraw = DrawSeededByTimeOfDay;
    services.openHomePage = [](const std::string& address) {
        const std::wstring quoted = L"\"" + Wide(address) + L"\"";
        ShellExecuteW(nullptr, L"open", L"explorer", quoted.c_str(), nullptr, SW_SHOWMINIMIZED);
    };
    services.settings = RegistrySettingsStore();
    services.spreadsheet = [](std::shared_ptr<sheet::StopSwitch> stop) {
        return sheet::MakeSpreadsheet(std::move(stop));
    };
    services.finishRun = ShowAndHandOver;
    return services;
}
