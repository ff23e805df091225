// Bytes as a CAD single-line font (.lff); see stroke_font_check.hpp.
#include "fuzz/stroke_font_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lw::fuzz::readAndCheck(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.lff");
    return 0;
}
