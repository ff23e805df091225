#include "window/win32/save_dialog.hpp"

#include "base/windows_text.hpp"
#include "form/save_kinds.hpp"

#include <commdlg.h>

#include <algorithm>
#include <string>

namespace lw {

std::optional<SaveChoice> askSaveFile(HWND owner, const SaveChoice& preset)
{
    const std::span<const WindowsSaveKind> kinds = windowsSaveKinds();
    std::wstring filter;
    std::vector<std::wstring> extensions;
    DWORD index = 1;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const WindowsSaveKind& k = kinds[i];
        const std::string extension = saveFormatDesign(k.format).extension;
        filter += widePath(k.label);
        filter.push_back(L'\0');
        filter += widePath("*." + extension);
        filter.push_back(L'\0');
        extensions.push_back(widePath(extension));
        if (k.format == preset.format && k.precision == preset.precision)
            index = DWORD(i + 1);
    }
    filter.push_back(L'\0');
    std::wstring path = widePath(preset.path);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring folder, name = path;
    if (const std::size_t slash = path.find_last_of(L'\\'); slash != std::wstring::npos) {
        folder = path.substr(0, slash);
        name = path.substr(slash + 1);
    } else {
        // No folder remembered: the one the program was started in, not
        // whatever the dialog itself remembers from other programs.
        folder.resize(32768);
        folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    }
    std::wstring file(32768, L'\0');
    std::copy(name.begin(), name.begin() + std::min<std::size_t>(name.size(), file.size() - 1), file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = index;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = extensions[index - 1].c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    const WindowsSaveKind& chosen = kinds[std::clamp<std::size_t>(dialog.nFilterIndex, 1, kinds.size()) - 1];
    return SaveChoice{chosen.format, chosen.precision, fromWide(file.c_str())};
}

} // namespace lw
