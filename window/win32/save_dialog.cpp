#include "window/win32/save_dialog.hpp"

#include "platform/win32/windows_text.hpp"
#include "form/save_kinds.hpp"
#include "window/win32/save_dialog_ids.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <charconv>
#include <span>
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

// One file type for each format and precision, in the order of both.
struct Kind {
    SaveFormat format;
    SavePrecision precision;
    std::wstring extension;
};

// What the hook of the dialog's own controls works on.
struct CadState {
    const std::vector<Kind>& kinds;
    Language language;
    CadChoices cad;
    OutputChoices output;
};

// Each format's own boxes, idle while another format is chosen.
struct FormatControls {
    SaveFormat format;
    int ids[6];
};
constexpr FormatControls kFormatControls[] = {
    {SaveFormat::Dxf, {IDC_SAVE_DXF_VERSION_LABEL, IDC_SAVE_DXF_VERSION, IDC_SAVE_DXF_TEXT}},
    {SaveFormat::Pdf, {IDC_SAVE_PDF_PAINT_LABEL, IDC_SAVE_PDF_PAINT, IDC_SAVE_PDF_PAGE_LABEL, IDC_SAVE_PDF_PAGE,
                       IDC_SAVE_PDF_MARGIN_LABEL, IDC_SAVE_PDF_MARGIN}},
    {SaveFormat::Hpgl, {IDC_SAVE_HPGL_OVERCUT_LABEL, IDC_SAVE_HPGL_OVERCUT}},
};

constexpr int kCadControls[] = {IDC_SAVE_MERGE,        IDC_SAVE_OFFSET_LABEL, IDC_SAVE_OFFSET,      IDC_SAVE_ANCHOR_LABEL,
                                IDC_SAVE_ANCHOR,       IDC_SAVE_MIRROR_LABEL, IDC_SAVE_MIRROR,      IDC_SAVE_CURVES,
                                IDC_SAVE_STENCIL_LABEL, IDC_SAVE_STENCIL, IDC_SAVE_CENTRELINE};

void setCaption(HWND dialog, int id, const char* design, Language language)
{
    SetDlgItemTextW(dialog, id, widePath(caption(design, language)).c_str());
}

void addEntry(HWND dialog, int id, const char* design, Language language, int value, bool selected)
{
    const std::wstring text = widePath(caption(design, language));
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, LPARAM(text.c_str()));
    SendDlgItemMessageW(dialog, id, CB_SETITEMDATA, WPARAM(index), LPARAM(value));
    if (selected)
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, WPARAM(index), 0);
}

// A list of millimetres, each entry's value its place in the list.
void addMillimetres(HWND dialog, int id, std::span<const double> values, double chosen)
{
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::wstring text = widePath(millimetreEntry(values[k]));
        const LRESULT index = SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, LPARAM(text.c_str()));
        SendDlgItemMessageW(dialog, id, CB_SETITEMDATA, WPARAM(index), LPARAM(k));
        if (values[k] == chosen)
            SendDlgItemMessageW(dialog, id, CB_SETCURSEL, WPARAM(index), 0);
    }
}

int selectedValue(HWND dialog, int id)
{
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? 0 : int(SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, WPARAM(index), 0));
}

void fillCadControls(HWND dialog, const CadState& state)
{
    const Language language = state.language;
    setCaption(dialog, IDC_SAVE_MERGE, kMergeCaption, language);
    setCaption(dialog, IDC_SAVE_CURVES, kCurvesCaption, language);
    setCaption(dialog, IDC_SAVE_OFFSET_LABEL, kOffsetCaption, language);
    setCaption(dialog, IDC_SAVE_ANCHOR_LABEL, kAnchorCaption, language);
    setCaption(dialog, IDC_SAVE_MIRROR_LABEL, kMirrorCaption, language);
    CheckDlgButton(dialog, IDC_SAVE_MERGE, state.cad.merge ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SAVE_CURVES, state.cad.curves ? BST_CHECKED : BST_UNCHECKED);
    char number[32];
    const auto [end, error] = std::to_chars(number, number + sizeof number, state.cad.offsetMm);
    SetDlgItemTextW(dialog, IDC_SAVE_OFFSET, widePath(std::string_view(number, error == std::errc() ? end : number)).c_str());
    for (const SaveAnchorDesign& a : saveAnchors())
        addEntry(dialog, IDC_SAVE_ANCHOR, a.caption, language, int(a.anchor), a.anchor == state.cad.anchor);
    for (const SaveMirrorDesign& m : saveMirrors())
        addEntry(dialog, IDC_SAVE_MIRROR, m.caption, language, int(m.mirror), m.mirror == state.cad.mirror);

    const OutputChoices& output = state.output;
    setCaption(dialog, IDC_SAVE_DXF_VERSION_LABEL, kDxfVersionCaption, language);
    setCaption(dialog, IDC_SAVE_DXF_TEXT, kDxfTextCaption, language);
    setCaption(dialog, IDC_SAVE_PDF_PAINT_LABEL, kPdfPaintCaption, language);
    setCaption(dialog, IDC_SAVE_PDF_PAGE_LABEL, kPdfPageCaption, language);
    setCaption(dialog, IDC_SAVE_PDF_MARGIN_LABEL, kPdfMarginCaption, language);
    setCaption(dialog, IDC_SAVE_HPGL_OVERCUT_LABEL, kHpglOvercutCaption, language);
    for (const SaveDxfVersionDesign& v : saveDxfVersions())
        addEntry(dialog, IDC_SAVE_DXF_VERSION, v.caption, language, int(v.version), v.version == output.dxfVersion);
    CheckDlgButton(dialog, IDC_SAVE_DXF_TEXT, output.dxfText ? BST_CHECKED : BST_UNCHECKED);
    for (const SavePdfPaintDesign& p : savePdfPaints())
        addEntry(dialog, IDC_SAVE_PDF_PAINT, p.caption, language, int(p.paint), p.paint == output.pdf.paint);
    int page = 0;
    for (const SavePdfPageDesign& p : savePdfPages())
        addEntry(dialog, IDC_SAVE_PDF_PAGE, p.caption, language, page++, p.size == output.pdf.page);
    addMillimetres(dialog, IDC_SAVE_PDF_MARGIN, savePdfMargins(), output.pdf.marginMm);
    addMillimetres(dialog, IDC_SAVE_HPGL_OVERCUT, saveHpglOvercuts(), output.hpgl.overcutMm);

    setCaption(dialog, IDC_SAVE_STENCIL_LABEL, kStencilCaption, language);
    setCaption(dialog, IDC_SAVE_STENCIL_BRIDGES_LABEL, kStencilBridgesCaption, language);
    addMillimetres(dialog, IDC_SAVE_STENCIL, saveStencilWidths(), state.cad.stencilMm);
    // The first width is no stencil, said so rather than "0 mm".
    const std::wstring none = widePath(caption(kStencilNone, language));
    SendDlgItemMessageW(dialog, IDC_SAVE_STENCIL, CB_DELETESTRING, 0, 0);
    SendDlgItemMessageW(dialog, IDC_SAVE_STENCIL, CB_INSERTSTRING, 0, LPARAM(none.c_str()));
    SendDlgItemMessageW(dialog, IDC_SAVE_STENCIL, CB_SETITEMDATA, 0, 0);
    if (state.cad.stencilMm == saveStencilWidths()[0])
        SendDlgItemMessageW(dialog, IDC_SAVE_STENCIL, CB_SETCURSEL, 0, 0);
    setCaption(dialog, IDC_SAVE_CENTRELINE, kCentrelineCaption, language);
    CheckDlgButton(dialog, IDC_SAVE_CENTRELINE, state.cad.centreline ? BST_CHECKED : BST_UNCHECKED);
    setCaption(dialog, IDC_SAVE_PEN_LABEL, kPenWidthCaption, language);
    addMillimetres(dialog, IDC_SAVE_PEN, savePenWidths(), state.cad.penMm);
    for (const int n : saveStencilBridgeCounts())
        addEntry(dialog, IDC_SAVE_STENCIL_BRIDGES, std::to_string(n).c_str(), language, n,
                 n == state.cad.stencilBridges);
}

// Bridges only where a stencil is chosen for a format that takes one.
void enableStencilBridges(HWND dialog)
{
    const bool stencil = IsWindowEnabled(GetDlgItem(dialog, IDC_SAVE_STENCIL)) &&
                         saveStencilWidths()[std::size_t(selectedValue(dialog, IDC_SAVE_STENCIL))] > 0;
    EnableWindow(GetDlgItem(dialog, IDC_SAVE_STENCIL_BRIDGES_LABEL), stencil);
    EnableWindow(GetDlgItem(dialog, IDC_SAVE_STENCIL_BRIDGES), stencil);
}

// The choices idle while a JW file type is chosen.
void enableCadControls(HWND dialog, const CadState& state, DWORD filterIndex)
{
    const Kind& kind = state.kinds[std::clamp<std::size_t>(filterIndex, 1, state.kinds.size()) - 1];
    for (const int id : kCadControls)
        EnableWindow(GetDlgItem(dialog, id), takesCadChoices(kind.format));
    for (const FormatControls& c : kFormatControls)
        for (const int id : c.ids)
            if (id != 0)
                EnableWindow(GetDlgItem(dialog, id), kind.format == c.format);
    enableStencilBridges(dialog);
    // A pen's width is drawn in pictures and pages; cutters and CAD take lines.
    const bool pen = kind.format == SaveFormat::Svg || kind.format == SaveFormat::Pdf;
    EnableWindow(GetDlgItem(dialog, IDC_SAVE_PEN_LABEL), pen);
    EnableWindow(GetDlgItem(dialog, IDC_SAVE_PEN), pen);
}

// Reads the choices as the user leaves them; false (and the user told) for
// an offset that is no number in the limit.
bool readCadControls(HWND dialog, CadState& state)
{
    CadChoices cad = state.cad;
    if (IsWindowEnabled(GetDlgItem(dialog, IDC_SAVE_OFFSET))) {
        wchar_t typed[64] = {};
        GetDlgItemTextW(dialog, IDC_SAVE_OFFSET, typed, int(std::size(typed)));
        const std::optional<double> offset = typedSaveOffset(fromWide(typed));
        if (!offset) {
            const HWND box = GetParent(dialog);
            MessageBoxW(box, widePath(caption(kOffsetRefused, state.language)).c_str(),
                        widePath(caption(kSaveDialogTitle, state.language)).c_str(), MB_OK | MB_ICONWARNING);
            SetFocus(GetDlgItem(dialog, IDC_SAVE_OFFSET));
            return false;
        }
        cad.offsetMm = *offset;
        cad.merge = IsDlgButtonChecked(dialog, IDC_SAVE_MERGE) == BST_CHECKED;
        cad.curves = IsDlgButtonChecked(dialog, IDC_SAVE_CURVES) == BST_CHECKED;
        cad.anchor = static_cast<Anchor>(selectedValue(dialog, IDC_SAVE_ANCHOR));
        cad.mirror = static_cast<Mirror>(selectedValue(dialog, IDC_SAVE_MIRROR));
        cad.stencilMm = saveStencilWidths()[std::size_t(selectedValue(dialog, IDC_SAVE_STENCIL))];
        cad.stencilBridges = std::max(1, selectedValue(dialog, IDC_SAVE_STENCIL_BRIDGES));
        cad.centreline = IsDlgButtonChecked(dialog, IDC_SAVE_CENTRELINE) == BST_CHECKED;
    }
    if (IsWindowEnabled(GetDlgItem(dialog, IDC_SAVE_PEN)))
        cad.penMm = savePenWidths()[std::size_t(selectedValue(dialog, IDC_SAVE_PEN))];
    state.cad = cad;
    // The lists hold only allowed values: read whatever the boxes show.
    OutputChoices& output = state.output;
    output.dxfVersion = static_cast<DxfVersion>(selectedValue(dialog, IDC_SAVE_DXF_VERSION));
    output.dxfText = IsDlgButtonChecked(dialog, IDC_SAVE_DXF_TEXT) == BST_CHECKED;
    output.pdf.paint = static_cast<PdfPaint>(selectedValue(dialog, IDC_SAVE_PDF_PAINT));
    output.pdf.page = savePdfPages()[std::size_t(selectedValue(dialog, IDC_SAVE_PDF_PAGE))].size;
    output.pdf.marginMm = savePdfMargins()[std::size_t(selectedValue(dialog, IDC_SAVE_PDF_MARGIN))];
    output.hpgl.overcutMm = saveHpglOvercuts()[std::size_t(selectedValue(dialog, IDC_SAVE_HPGL_OVERCUT))];
    return true;
}

UINT_PTR CALLBACK cadHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* state = reinterpret_cast<CadState*>(reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, LONG_PTR(state));
        fillCadControls(dialog, *state);
        return TRUE;
    }
    auto* state = reinterpret_cast<CadState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_SAVE_STENCIL && HIWORD(wParam) == CBN_SELCHANGE) {
        enableStencilBridges(dialog);
        return FALSE;
    }
    if (message != WM_NOTIFY || !state)
        return FALSE;
    const auto* notice = reinterpret_cast<const OFNOTIFYW*>(lParam);
    switch (notice->hdr.code) {
    case CDN_INITDONE:
    case CDN_TYPECHANGE: enableCadControls(dialog, *state, notice->lpOFN->nFilterIndex); return FALSE;
    case CDN_FILEOK:
        if (readCadControls(dialog, *state))
            return FALSE;
        // Keeps the dialog open for a corrected offset.
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    default: return FALSE;
    }
}

} // namespace

std::optional<SaveChoice> askSaveFile(HWND owner, const SaveChoice& preset, Language language)
{
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
    CadState state{kinds, language, preset.cad, preset.output};
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpTemplateName = MAKEINTRESOURCEW(IDD_SAVE_CAD);
    dialog.lpfnHook = cadHook;
    dialog.lCustData = LPARAM(&state);
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_ENABLEHOOK |
                   OFN_ENABLETEMPLATE | OFN_ENABLESIZING;
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    const Kind& chosen = kinds[std::clamp<std::size_t>(dialog.nFilterIndex, 1, kinds.size()) - 1];
    return SaveChoice{chosen.format, chosen.precision, fromWide(file.c_str()), state.cad, state.output};
}

} // namespace lw
