/* The least a Windows program can do to capture the default text with GDI:
 * the font, the path bracket around TextOut, FlattenPath, GetPath (count,
 * then fill), and the points printed. The peer of the Windows
 * `letterwire-cli.exe capture` under Wine (bench/wine_cli.sh). */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

int main(void)
{
    static const wchar_t face[] = L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF"; /* ＭＳ Ｐゴシック */
    static const wchar_t text[] = L"\x7DE8\x96C6\x30C6\x30AD\x30B9\x30C8";      /* 編集テキスト */
    HDC dc = CreateCompatibleDC(NULL);
    HFONT font = CreateFontW(-32, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_TT_PRECIS, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    BeginPath(dc);
    TextOutW(dc, 0, 0, text, 6);
    EndPath(dc);
    FlattenPath(dc);
    int n = GetPath(dc, NULL, NULL, 0);
    if (n <= 0)
        return 1;
    POINT* points = malloc(sizeof(POINT) * (size_t)n);
    BYTE* types = malloc((size_t)n);
    if (!points || !types || GetPath(dc, points, types, n) != n)
        return 1;
    printf("{\"pointCount\": %d, \"points\": [", n);
    for (int i = 0; i < n; ++i)
        printf(i ? ", [%ld, %ld]" : "[%ld, %ld]", (long)points[i].x, (long)points[i].y);
    printf("], \"types\": [");
    for (int i = 0; i < n; ++i)
        printf(i ? ", %d" : "%d", types[i]);
    printf("]}\n");
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return 0;
}
