#pragma once
// What both stroke font readers share: refusals that name the file and the
// line, the file's lines, and strokes that keep no repeated point and no
// single one.

#include "outline/stroke_font.hpp"

#include "base/failure.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace lw::stroke_reading {

[[noreturn]] inline void refuse(const std::string& file, std::size_t line, const std::string& why)
{
    throw Failure(FailureKind::TypeMismatch,
                  file + (line ? ", line " + std::to_string(line) : std::string()) + ": " + why);
}

inline void checkSize(std::string_view bytes, const std::string& file)
{
    if (bytes.size() > kStrokeFontMaxBytes)
        refuse(file, 0, "the file is larger than a stroke font can be (" + std::to_string(kStrokeFontMaxBytes) +
                            " bytes)");
}

inline std::string nameOf(const std::string& file)
{
    const std::size_t slash = file.find_last_of("/\\");
    std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

// Lines without their ends (LF or CR LF), counted from 1.
class Lines {
public:
    explicit Lines(std::string_view bytes, std::size_t before = 0) : rest_(bytes), number_(before) {}
    bool next(std::string_view& line)
    {
        if (done_)
            return false;
        const std::size_t end = rest_.find('\n');
        line = rest_.substr(0, end);
        if (end == std::string_view::npos)
            done_ = true;
        else
            rest_.remove_prefix(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number_;
        // A last line that ends the file with its LF is no line of its own.
        return !(done_ && line.empty());
    }
    std::size_t number() const { return number_; }

private:
    std::string_view rest_;
    std::size_t number_ = 0;
    bool done_ = false;
};

inline void addPoint(std::vector<StrokePoint>& stroke, StrokePoint p)
{
    // A point that repeats the one before draws nothing.
    if (stroke.empty() || !(stroke.back() == p))
        stroke.push_back(p);
}

inline void keepStroke(StrokeGlyph& glyph, std::vector<StrokePoint>& stroke)
{
    // A single point is no line for a pen to draw.
    if (stroke.size() >= 2)
        glyph.strokes.push_back(std::move(stroke));
    stroke.clear();
}

} // namespace lw::stroke_reading
