#include "form/stroke_face_list.hpp"

#include <algorithm>

namespace lw {

std::vector<std::string> strokeFaceChoices(const std::vector<std::string>& installed)
{
    std::vector<std::string> choices;
    choices.reserve(installed.size() * 2);
    for (const std::string& name : installed)
        choices.push_back("@" + name);
    choices.insert(choices.end(), installed.begin(), installed.end());
    return choices;
}

std::optional<std::size_t> strokeFaceChoiceOf(const std::vector<std::string>& choices, const std::string& strokeFace)
{
    if (strokeFace.empty())
        return std::nullopt;
    const auto found = std::find(choices.begin(), choices.end(), strokeFace);
    if (found == choices.end())
        return std::nullopt;
    return std::size_t(found - choices.begin());
}

} // namespace lw
