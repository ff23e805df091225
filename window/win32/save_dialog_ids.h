/* The save dialog's own controls, shared by the resource script and the
   code that fills them. Plain macros: the resource compiler reads this. */
#pragma once

#define IDD_SAVE_CAD 200
#define IDC_SAVE_MERGE 201
#define IDC_SAVE_OFFSET_LABEL 202
#define IDC_SAVE_OFFSET 203
#define IDC_SAVE_ANCHOR_LABEL 204
#define IDC_SAVE_ANCHOR 205
#define IDC_SAVE_MIRROR_LABEL 206
#define IDC_SAVE_MIRROR 207
#define IDC_SAVE_CURVES 208
#define IDC_SAVE_DXF_VERSION_LABEL 209
#define IDC_SAVE_DXF_VERSION 210
#define IDC_SAVE_DXF_TEXT 211
#define IDC_SAVE_PDF_PAINT_LABEL 212
#define IDC_SAVE_PDF_PAINT 213
#define IDC_SAVE_PDF_PAGE_LABEL 214
#define IDC_SAVE_PDF_PAGE 215
#define IDC_SAVE_PDF_MARGIN_LABEL 216
#define IDC_SAVE_PDF_MARGIN 217
#define IDC_SAVE_HPGL_OVERCUT_LABEL 218
#define IDC_SAVE_HPGL_OVERCUT 219
