#pragma once
// A view of plain fields: controls that hold what Form1 writes, a recording
// preview, dialogs answered by the test, and an end that is only recorded.
// The helpers at the end act as a person would, calling the handlers a
// toolkit would call.

#include "form/form1.hpp"
#include "base/design.hpp"
#include "platform/canvas.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lw::test {

struct FakeView final : FormView {
    struct Message {
        std::string caption;
        std::string text;
    };
    std::map<TextBox, std::string> texts{
        {TextBox::txtInput, design::kText}, {TextBox::txtSize, "0"}, {TextBox::txtAngle, "0"}};
    std::map<Slider, int> positions{{Slider::sldSize, 1}, {Slider::sldAngle, 0}};
    std::vector<TextBox> selectedAll;
    WindowFont inputFont;
    RecordingCanvas canvas;
    DeviceContext dc{canvas};
    int refreshes = 0;
    std::string folder = ".";
    // The dialog's answer; by default the user cancels.
    std::function<WindowFont(const WindowFont&)> answerFont = [](const WindowFont& f) { return f; };
    std::function<void()> onMessage = [] {};
    std::vector<WindowFont> presets;
    std::vector<Message> messages;
    std::vector<int> endings;
    // The save dialog's answer; by default the user cancels. The settings
    // store outlives a window when a test hands it to the next one.
    std::function<std::optional<SaveChoice>(const SaveChoice&)> answerSave = [](const SaveChoice&) {
        return std::optional<SaveChoice>();
    };
    std::vector<SaveChoice> savePresets;
    std::optional<SaveSettings> storedSettings;
    // The text style dialog: none unless a test gives the view one.
    bool textStyleDialog = false;
    std::function<std::optional<TextStyle>(const TextStyle&)> answerStyle = [](const TextStyle&) {
        return std::optional<TextStyle>();
    };
    std::vector<std::pair<TextStyle, bool>> stylePresets; // with the font's bold
    // Each note the view was told to show; nothing for one cleared.
    std::vector<std::optional<FaceNote>> faceNotes;
    int settingsReads = 0;
    int settingsWrites = 0;

    std::string text(TextBox box) const override { return texts.at(box); }
    void setText(TextBox box, std::string_view text) override { texts[box] = text; }
    void selectAll(TextBox box) override { selectedAll.push_back(box); }
    void setInputFont(const WindowFont& font) override { inputFont = font; }
    int position(Slider slider) const override { return positions.at(slider); }
    void setPosition(Slider slider, int position) override
    {
        EXPECT_TRUE(position >= minimum(slider) && position <= maximum(slider)) << position;
        positions[slider] = position;
    }
    int minimum(Slider slider) const override { return slider == Slider::sldSize ? 1 : 0; }
    int maximum(Slider slider) const override { return slider == Slider::sldSize ? 144 : 360; }
    DeviceContext& previewDC() override { return dc; }
    float previewScaleWidth() const override { return design::kPreviewWidth; }
    float previewScaleHeight() const override { return design::kPreviewHeight; }
    void refresh() override { ++refreshes; }
    // What the preview shows of its drawing; by default all of it.
    std::optional<DeviceArea> shownArea;
    std::optional<DeviceArea> previewShownArea() const override { return shownArea; }
    float clientWidth() const override { return design::kClientWidth; }
    float clientHeight() const override { return design::kClientHeight; }
    double twipsPerPixelX() const override { return design::kTwipsPerPixel; }
    std::string programDirectory() const override { return folder; }
    WindowFont chooseFont(const WindowFont& preset) override
    {
        presets.push_back(preset);
        return answerFont(preset);
    }
    void showMessage(std::string_view caption, std::string_view text) override
    {
        messages.push_back({std::string(caption), std::string(text)});
        onMessage();
    }
    void endProgram(int status) override { endings.push_back(status); }
    std::optional<SaveChoice> chooseSaveFile(const SaveChoice& preset) override
    {
        savePresets.push_back(preset);
        return answerSave(preset);
    }
    bool hasTextStyleDialog() const override { return textStyleDialog; }
    std::optional<TextStyle> chooseTextStyle(const TextStyle& preset, bool fontBold) override
    {
        stylePresets.emplace_back(preset, fontBold);
        return answerStyle(preset);
    }
    // The tool check's question: none unless a test gives the view one.
    bool toolDialog = false;
    std::function<std::optional<double>(double)> answerTool = [](double) { return std::optional<double>(); };
    std::vector<double> toolPresets;
    bool hasToolSizeDialog() const override { return toolDialog; }
    std::optional<double> chooseToolSize(double presetMm) override
    {
        toolPresets.push_back(presetMm);
        return answerTool(presetMm);
    }
    void showFaceNote(const std::optional<FaceNote>& note) override { faceNotes.push_back(note); }
    // Each window note the view was told to show.
    std::vector<WindowNote> windowNotes;
    void showWindowNote(const WindowNote& note) override { windowNotes.push_back(note); }
    std::optional<SaveSettings> loadSaveSettings() override
    {
        ++settingsReads;
        return storedSettings;
    }
    void storeSaveSettings(const SaveSettings& settings) override
    {
        ++settingsWrites;
        storedSettings = settings;
    }
    // The font and text settings' store, by name.
    std::map<std::string, std::string, std::less<>> textSettings;
    int textSettingWrites = 0;
    std::optional<std::string> readTextSetting(std::string_view name) override
    {
        const auto found = textSettings.find(name);
        return found == textSettings.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void writeTextSetting(std::string_view name, std::string_view value) override
    {
        ++textSettingWrites;
        textSettings[std::string(name)] = value;
    }
};

// A loaded form over a fake view.
struct Window {
    FakeView view;
    Form1 form{view};
    explicit Window(const std::vector<std::string>& words = {}) { form.load(words); }
    // With the save settings an earlier run stored: the load reads them.
    explicit Window(std::optional<SaveSettings> stored)
    {
        view.storedSettings = std::move(stored);
        form.load({});
    }

    // Selects the box's text and types `typed` over it a key at a time: one
    // change per key, or one when clearing the box.
    void typeOver(TextBox box, const std::string& typed, void (Form1::*change)())
    {
        std::string now;
        if (typed.empty())
            return edit(box, now, change);
        for (char c : typed) {
            now += c;
            edit(box, now, change);
        }
    }
    void edit(TextBox box, const std::string& text, void (Form1::*change)())
    {
        view.texts[box] = text;
        form.run(change);
    }
    // The user moves the slider to `position`: then its click.
    void click(Slider slider, int position, void (Form1::*handler)())
    {
        view.positions[slider] = position;
        form.run(handler);
    }
};

} // namespace lw::test
