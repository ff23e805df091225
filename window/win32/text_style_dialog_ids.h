/* The text style dialog's frame in the resource script and the controls the
   code adds to it. Plain macros: the resource compiler reads this. */
#pragma once

#define IDD_TEXT_STYLE 300
#define IDC_TEXT_STYLE_NOTE 301
/* Each field of the design takes ten from here, in the design's order. */
#define IDC_TEXT_STYLE_FIRST 310
