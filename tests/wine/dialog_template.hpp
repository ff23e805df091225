#pragma once
// The dialog templates of a program's resources, and the fonts the dialog
// manager makes from them: what a wizard in another process draws in, as a
// font cannot be borrowed from it.

#include <windows.h>

#include <string>
#include <vector>

namespace lw_test {

// A dialog template's size and font, as its resource gives them.
struct Template {
    int cx = 0, cy = 0;
    int points = 0, weight = 0;
    bool italic = false;
    std::wstring face;
};

// The templates of `program` that name a font.
std::vector<Template> templatesOf(const std::wstring& program);

// The template's font at `points` and `weight`, as the dialog manager
// makes it.
HFONT fontOf(const Template& t, int points, int weight);

// The template's client size in pixels, through the base units its font
// gives, as the dialog manager reckons them.
SIZE pixelsOf(const Template& t);

} // namespace lw_test
