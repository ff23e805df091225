// Bytes as a JW command file through the reader and the outline writer. Every
// bad input must end in lw::Failure; anything else escaping is a finding, and
// so is output that is not whole CR LF lines.
#include "export/jw_command.hpp"
#include "base/failure.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

lw::CapturedOutline sampleOutline()
{
    // Two closed figures, then two points that close nothing.
    const lw::POINT points[] = {{0, 0}, {10, 0}, {10, 10}, {-3, 4}, {7, -2}, {1, 30}, {5, 5}, {6, 6}};
    const std::uint8_t types[] = {6, 2, 3, 6, 2, 3, 6, 2};
    lw::CapturedOutline outline;
    outline.pathPoints.assign(std::begin(points), std::end(points));
    outline.pathPoints.push_back({});
    outline.pathTypes.assign(std::begin(types), std::end(types));
    outline.pathTypes.push_back(0);
    outline.pointCount = 8;
    return outline;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const lw::CapturedOutline prototype = sampleOutline();
    lw::CapturedOutline outline = prototype;
    lw::StringSink out;
    try {
        lw::writeJw(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.txt", out,
                    outline, 15);
    } catch (const lw::Failure&) {
    }
    const std::string text = out.text();
    if (!text.empty() && !text.ends_with("\r\n"))
        std::abort();
    return 0;
}
