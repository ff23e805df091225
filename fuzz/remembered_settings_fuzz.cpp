// Bytes as a store of remembered values, "name=value" a line, through the
// text and save settings' readers. Whatever is stored, each value read is
// one its control can show, and what is read is written back and read again
// unchanged.
#include "form/form_design.hpp"
#include "form/save_kinds.hpp"
#include "form/text_settings.hpp"
#include "form/text_style_design.hpp"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

namespace {

using Store = std::map<std::string, std::string, std::less<>>;

lw::ReadSetting reader(const Store& store)
{
    return [&store](std::string_view name) -> std::optional<std::string> {
        const auto found = store.find(name);
        if (found == store.end())
            return std::nullopt;
        return found->second;
    };
}

lw::WriteSetting writer(Store& store)
{
    return [&store](std::string_view name, std::string_view value) { store[std::string(name)] = value; };
}

bool within(double value, double least, double most) { return value >= least && value <= most; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Store store;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            store[std::string(line.substr(0, equals))] = line.substr(equals + 1);
    }

    const lw::TextSettings text = lw::decodeTextSettings(reader(store));
    const lw::SliderDesign& size_ = lw::sliderDesign(lw::Slider::sldSize);
    const lw::SliderDesign& angle = lw::sliderDesign(lw::Slider::sldAngle);
    if (!within(text.font.size, size_.minimum, size_.maximum) || !within(text.angle, angle.minimum, angle.maximum) ||
        !within(text.style.spacing, lw::kTextStyleFields[0].minimum, lw::kTextStyleFields[0].maximum) ||
        !within(text.style.widthPercent, lw::kTextStyleFields[1].minimum, lw::kTextStyleFields[1].maximum) ||
        text.font.faceName.empty())
        std::abort();
    Store again;
    lw::encodeTextSettings(text, writer(again));
    if (!(lw::decodeTextSettings(reader(again)) == text))
        std::abort();

    if (const std::optional<lw::SaveSettings> save = lw::decodeSaveSettings(reader(store))) {
        if (!within(save->cad.offsetMm, -lw::kSaveOffsetLimitMm, lw::kSaveOffsetLimitMm))
            std::abort();
        Store saved;
        lw::encodeSaveSettings(*save, writer(saved));
        if (lw::decodeSaveSettings(reader(saved)) != save)
            std::abort();
    }
    return 0;
}
