#pragma once
// Hand-built captured outlines and scratch folders for the export tests.

#include "outline/captured_outline.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

namespace lw::test {

struct Pt {
    std::int32_t x;
    std::int32_t y;
    std::uint8_t type;
};

// An outline as a capture leaves it: n points, the spare slot n, pointCount n.
inline CapturedOutline outlineOf(std::initializer_list<Pt> points)
{
    CapturedOutline outline;
    outline.pathPoints.clear();
    outline.pathTypes.clear();
    for (const Pt& p : points) {
        outline.pathPoints.push_back({p.x, p.y});
        outline.pathTypes.push_back(p.type);
    }
    outline.pathPoints.push_back({});
    outline.pathTypes.push_back(0);
    outline.pointCount = static_cast<std::int32_t>(points.size());
    return outline;
}

// A closed square figure of four points at (x, y), size `side`.
inline void appendSquare(CapturedOutline& outline, std::int32_t x, std::int32_t y, std::int32_t side)
{
    const Pt square[] = {{x, y, 6}, {x + side, y, 2}, {x + side, y + side, 2}, {x, y + side, 3}};
    outline.pathPoints.pop_back();
    outline.pathTypes.pop_back();
    for (const Pt& p : square) {
        outline.pathPoints.push_back({p.x, p.y});
        outline.pathTypes.push_back(p.type);
    }
    outline.pathPoints.push_back({});
    outline.pathTypes.push_back(0);
    outline.pointCount = outline.upperIndex();
}

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchDir {
public:
    ScratchDir()
    {
        // A name nobody else holds: create_directory says whether it was new.
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            auto candidate = std::filesystem::temp_directory_path() / ("lw-export-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate))
                path_ = candidate;
        }
        if (path_.empty())
            throw std::runtime_error("no scratch folder could be made");
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace lw::test
