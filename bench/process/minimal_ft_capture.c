/* The least a program can do to capture the default text: fontconfig
 * resolves "ＭＳ Ｐゴシック" through the same alias to the same file, FreeType
 * opens it and loads and decomposes the same six glyphs at 32 pixels. The
 * cold-start peer of `letterwire-cli capture` (bench/cold_start.sh). */
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <stdio.h>

static int step(const FT_Vector* to, void* user)
{
    (void)to;
    ++*(long*)user;
    return 0;
}
static int conic(const FT_Vector* c, const FT_Vector* to, void* user)
{
    (void)c;
    return step(to, user);
}
static int cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    (void)c1;
    (void)c2;
    return step(to, user);
}

int main(void)
{
    static const char rules[] =
        "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\"><fontconfig>"
        "<alias binding=\"same\"><family>ＭＳ Ｐゴシック</family><prefer><family>IPAPGothic</family></prefer>"
        "</alias></fontconfig>";
    static const unsigned text[] = {0x7DE8, 0x96C6, 0x30C6, 0x30AD, 0x30B9, 0x30C8}; /* 編集テキスト */
    FcInit();
    FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(), (const FcChar8*)rules, FcTrue);
    FcPattern* pattern = FcNameParse((const FcChar8*)"ＭＳ Ｐゴシック:lang=ja");
    FcConfigSubstitute(NULL, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(NULL, pattern, &result);
    FcChar8* file = NULL;
    if (!match || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch)
        return 1;

    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, (const char*)file, 0, &face))
        return 1;
    FT_Set_Pixel_Sizes(face, 0, 32);
    FT_Outline_Funcs funcs = {step, step, conic, cubic, 0, 0};
    long points = 0;
    for (unsigned i = 0; i < sizeof text / sizeof text[0]; ++i)
        if (FT_Load_Char(face, text[i], FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
            FT_Outline_Decompose(&face->glyph->outline, &funcs, &points);
    printf("%s %ld\n", (const char*)file, points);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return 0;
}
