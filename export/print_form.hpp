#pragma once
// Numbers as the exports write them into text lines. Locale-free.
//
//   appendPrintForm(line, 52.645833333333336)  // line += " 52.6458333333333 "
//   appendPrintForm(line, -0.25)               // line += "-.25 "
//   appendPlainForm(line, 501.0f)              // line += "501"

#include <string>

namespace lw {

// The print form: a blank (zero and positive) or "-", the shortest text of the
// value rounded to at most 15 significant digits, no "0" before ".", then one
// blank. Outside 1E-4 <= |x| < 1E15 the digits take the exponent form
// ("1E+15", "1.5E-05"). Negative zero prints as " 0 ". The print separator is
// nothing, so a point line is two print forms back to back.
void appendPrintForm(std::string& line, double value);

// The plain form of a single-precision value: the shortest text with at most
// 7 significant digits, no blanks, "." as decimal point ("501", "0.5",
// "1.5E+07"). Negative zero prints as "0".
void appendPlainForm(std::string& line, float value);

} // namespace lw
