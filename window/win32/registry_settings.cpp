#include "window/win32/registry_settings.hpp"

#include "platform/win32/windows_text.hpp"
#include "form/save_kinds.hpp"

#include <windows.h>

#include <cwchar>
#include <string>

namespace lw {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Letterwire\\Save";

// A text value of any length, or nothing when there is none.
std::optional<std::string> readText(HKEY key, std::string_view name)
{
    const std::wstring value = widePath(name);
    DWORD size = 0;
    if (RegGetValueW(key, nullptr, value.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = DWORD(text.size() * sizeof(wchar_t));
    if (RegGetValueW(key, nullptr, value.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return fromWide(text);
}

} // namespace

std::optional<SaveSettings> loadRegistrySaveSettings()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<SaveSettings> settings = decodeSaveSettings([&](std::string_view name) { return readText(key, name); });
    RegCloseKey(key);
    return settings;
}

void storeRegistrySaveSettings(const SaveSettings& settings)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    encodeSaveSettings(settings, [&](std::string_view name, std::string_view text) {
        const std::wstring value = widePath(text);
        RegSetValueExW(key, widePath(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    });
    RegCloseKey(key);
}

namespace {
constexpr wchar_t kTextSettingsKey[] = L"Software\\Letterwire\\Text";
}

std::optional<std::string> readRegistryTextSetting(std::string_view name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kTextSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> text = readText(key, name);
    RegCloseKey(key);
    return text;
}

void writeRegistryTextSetting(std::string_view name, std::string_view value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kTextSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const std::wstring text = widePath(value);
    RegSetValueExW(key, widePath(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

} // namespace lw
