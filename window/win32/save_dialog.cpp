#include "window/win32/save_dialog.hpp"

#include "platform/win32/windows_text.hpp"
#include "form/save_kinds.hpp"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace lw {
namespace {

// The user's Documents folder, where a first save is expected; empty when
// the shell cannot say.
std::wstring documentsFolder()
{
    std::wstring folder(MAX_PATH, L'\0');
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder.data())))
        return {};
    folder.resize(std::wcslen(folder.c_str()));
    return folder;
}

} // namespace

std::optional<SaveChoice> askSaveFile(HWND owner, const SaveChoice& preset, Language language)
{
    // One file type for each format and precision, in the order of both.
    struct Kind {
        SaveFormat format;
        SavePrecision precision;
        std::wstring extension;
    };
    std::vector<Kind> kinds;
    std::wstring filter;
    DWORD index = 1;
    for (const SaveFormatDesign& f : saveFormats())
        for (const SavePrecisionDesign& p : savePrecisions()) {
            kinds.push_back({f.format, p.precision, widePath(f.extension)});
            filter += widePath(saveKindLabel(f.format, p.precision, language));
            filter.push_back(L'\0');
            filter += L"*." + kinds.back().extension;
            filter.push_back(L'\0');
            if (f.format == preset.format && p.precision == preset.precision)
                index = DWORD(kinds.size());
        }
    filter.push_back(L'\0');
    std::wstring path = widePath(preset.path);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring folder, name = path;
    if (const std::size_t slash = path.find_last_of(L'\\'); slash != std::wstring::npos) {
        folder = path.substr(0, slash);
        name = path.substr(slash + 1);
    } else {
        // No folder remembered: the user's Documents, not whatever the
        // dialog itself remembers from other programs; the folder the
        // program was started in when there is none.
        folder = documentsFolder();
        if (folder.empty() || GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
            folder.resize(32768);
            folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
        }
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
    dialog.lpstrDefExt = kinds[index - 1].extension.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    const Kind& chosen = kinds[std::clamp<std::size_t>(dialog.nFilterIndex, 1, kinds.size()) - 1];
    return SaveChoice{chosen.format, chosen.precision, fromWide(file.c_str()), preset.cad};
}

} // namespace lw
