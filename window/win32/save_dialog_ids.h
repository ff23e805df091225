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
