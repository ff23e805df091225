// The Wine setting the Windows tests run in (scripts/wine-env): a Japanese
// system code page, and the usual Japanese face names landing on the IPA
// fonts, as they would on the host's machines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

namespace {

// What identifies the font file behind a selected font: its size and its
// 'head' table (checksum, creation and modification times).
struct FontFile {
    DWORD size = 0;
    std::string head;
    std::wstring face;
    bool operator==(const FontFile& other) const { return size == other.size && head == other.head; }
};

FontFile fontFile(const std::wstring& name)
{
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTW description{};
    description.lfHeight = -32;
    description.lfCharSet = DEFAULT_CHARSET;
    name.copy(description.lfFaceName, LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&description);
    HGDIOBJ previous = SelectObject(dc, font);
    FontFile file;
    file.size = GetFontData(dc, 0, 0, nullptr, 0);
    file.head.resize(54);
    const DWORD head = 'h' | 'e' << 8 | 'a' << 16 | static_cast<DWORD>('d') << 24;
    if (GetFontData(dc, head, 0, file.head.data(), 54) != 54)
        file.head.clear();
    wchar_t face[LF_FACESIZE];
    const int n = GetTextFaceW(dc, LF_FACESIZE, face);
    file.face.assign(face, n > 0 ? static_cast<std::size_t>(n - 1) : 0);
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
    return file;
}

} // namespace

TEST(WineSetting, AnsiCodePageIs932)
{
    EXPECT_EQ(GetACP(), 932u);
}

TEST(WineSetting, JapaneseFaceNamesSelectTheIpaFonts)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"ＭＳ Ｐゴシック", L"IPAPGothic"}, {L"ＭＳ ゴシック", L"IPAGothic"},  {L"ＭＳ 明朝", L"IPAMincho"},
        {L"ＭＳ Ｐ明朝", L"IPAPMincho"},     {L"MS PGothic", L"IPAPGothic"},   {L"MS Gothic", L"IPAGothic"},
        {L"MS Mincho", L"IPAMincho"},        {L"MS PMincho", L"IPAPMincho"},   {L"MS UI Gothic", L"IPAPGothic"},
    };
    // The four IPA faces are four files, or the comparison proves nothing.
    const FontFile ipa[] = {fontFile(L"IPAPGothic"), fontFile(L"IPAGothic"), fontFile(L"IPAMincho"),
                            fontFile(L"IPAPMincho")};
    for (std::size_t i = 0; i < 4; ++i) {
        ASSERT_GT(ipa[i].size, 0u) << i;
        ASSERT_FALSE(ipa[i].head.empty()) << i;
        for (std::size_t j = i + 1; j < 4; ++j)
            ASSERT_FALSE(ipa[i] == ipa[j]) << i << " " << j;
    }
    for (const auto& [name, target] : cases) {
        const std::string what(name.begin(), name.end());
        FontFile got = fontFile(name);
        EXPECT_TRUE(got == fontFile(target)) << what;
        EXPECT_FALSE(got.face.empty()) << what;
    }
}
