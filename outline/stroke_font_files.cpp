#include "outline/stroke_font_files.hpp"

#include "base/failure.hpp"
#include "platform/file_io.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lw {
namespace {

#ifdef _WIN32
constexpr char kListSeparator = ';';
#else
constexpr char kListSeparator = ':';
#endif

// Debian's packages: hershey-fonts-data, librecad-data.
constexpr const char* kInstalledFolders[] = {"/usr/share/hershey-fonts", "/usr/share/librecad/fonts"};

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return s;
}

bool strokeExtension(const std::string& name)
{
    const std::string low = lowered(name);
    return low.size() > 4 && (low.ends_with(".jhf") || low.ends_with(".lff"));
}

void addFolder(const std::string& folder, std::vector<StrokeFaceFile>& faces)
{
    std::vector<StrokeFaceFile> found;
    std::error_code error;
    const std::filesystem::path path(std::u8string(folder.begin(), folder.end()));
    for (std::filesystem::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
        const std::u8string name8 = it->path().filename().u8string();
        const std::string name(name8.begin(), name8.end());
        if (!strokeExtension(name) || !it->is_regular_file(error))
            continue;
        const std::u8string file8 = it->path().u8string();
        found.push_back({name.substr(0, name.size() - 4), std::string(file8.begin(), file8.end())});
    }
    std::sort(found.begin(), found.end(), [](const StrokeFaceFile& a, const StrokeFaceFile& b) {
        return std::pair(lowered(a.name), a.file) < std::pair(lowered(b.name), b.file);
    });
    faces.insert(faces.end(), found.begin(), found.end());
}

} // namespace

std::vector<StrokeFaceFile> installedStrokeFaces()
{
    std::vector<StrokeFaceFile> faces;
    if (const char* listed = std::getenv("LETTERWIRE_STROKE_FONTS")) {
        std::string_view rest = listed;
        while (!rest.empty()) {
            const std::size_t end = rest.find(kListSeparator);
            if (const std::string folder(rest.substr(0, end)); !folder.empty())
                addFolder(folder, faces);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        }
    }
    for (const char* folder : kInstalledFolders)
        addFolder(folder, faces);
    return faces;
}

bool isStrokeFontPath(const std::string& nameOrPath)
{
    return nameOrPath.find_first_of("/\\") != std::string::npos || strokeExtension(nameOrPath);
}

StrokeFont loadStrokeFont(const std::string& path)
{
    const fileio::Handle handle = fileio::openInput(path);
    std::string bytes, error;
    char buffer[1 << 16];
    for (;;) {
        std::size_t got = 0;
        if (!fileio::read(handle, buffer, sizeof buffer, got, error)) {
            fileio::close(handle, error);
            throw Failure(FailureKind::PathFileAccess, path + ": " + error);
        }
        if (got == 0)
            break;
        // Refused by the reader as too large, without reading the rest.
        if (bytes.size() + got > kStrokeFontMaxBytes + 1) {
            bytes.append(buffer, kStrokeFontMaxBytes + 1 - bytes.size());
            break;
        }
        bytes.append(buffer, got);
    }
    std::string ignored;
    fileio::close(handle, ignored);
    return readStrokeFont(bytes, path);
}

StrokeFontShelf::StrokeFontShelf(std::vector<StrokeFaceFile> installed)
    : installed_(std::move(installed)), fonts_(installed_.size()), tried_(installed_.size(), false)
{
}

const StrokeFont* StrokeFontShelf::loaded(std::size_t index)
{
    if (!tried_[index]) {
        tried_[index] = true;
        try {
            fonts_[index] = std::make_unique<StrokeFont>(loadStrokeFont(installed_[index].file));
        } catch (const Failure&) {
            // A broken installed face is no reason to fail a text it is not asked for.
        }
    }
    return fonts_[index].get();
}

const StrokeFont* StrokeFontShelf::chosen(const std::string& nameOrPath)
{
    if (isStrokeFontPath(nameOrPath)) {
        paths_.push_back(std::make_unique<StrokeFont>(loadStrokeFont(nameOrPath)));
        chosen_.push_back(paths_.back().get());
        return paths_.back().get();
    }
    const std::string wanted = lowered(nameOrPath);
    for (std::size_t i = 0; i < installed_.size(); ++i) {
        if (lowered(installed_[i].name) != wanted)
            continue;
        // Asked for by name, its failures are the user's to see.
        if (!tried_[i]) {
            tried_[i] = true;
            fonts_[i] = std::make_unique<StrokeFont>(loadStrokeFont(installed_[i].file));
        }
        if (fonts_[i])
            chosen_.push_back(fonts_[i].get());
        return fonts_[i].get();
    }
    return nullptr;
}

const StrokeFont* StrokeFontShelf::fallbackFor(char32_t c)
{
    for (std::size_t i = 0; i < installed_.size(); ++i) {
        const StrokeFont* font = loaded(i);
        if (font && std::find(chosen_.begin(), chosen_.end(), font) == chosen_.end() && font->glyphs.contains(c))
            return font;
    }
    return nullptr;
}

} // namespace lw
