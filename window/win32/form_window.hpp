#pragma once
// Form1 as a native Windows window: the design's controls, made from the
// form's table of them as Win32 controls (EDIT boxes, trackbars, buttons, a
// picture box), laid out in twips at the screen's own dpi, each event
// handed to the form's logic. A thin view: it shows and reports, the logic
// decides.

#include "form/form1.hpp"
#include "form/form_view.hpp"
#include "platform/device_context.hpp"
#include "window/win32/preview_canvas.hpp"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lw {

class Win32FormWindow final : public FormView {
public:
    explicit Win32FormWindow(HINSTANCE instance);
    ~Win32FormWindow() override;
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    HWND handle() const { return window_; }
    Form1& form() { return form_; }
    // The form's load; then the preview's menu and keys, which depend on the
    // run mode the load took.
    void load(const std::vector<std::string>& words);
    // Shows the window and runs the message loop until the program ends.
    int run(int show);

    // FormView.
    std::string text(TextBox box) const override;
    void setText(TextBox box, std::string_view text) override;
    void selectAll(TextBox box) override;
    void setInputFont(const WindowFont& font) override;
    int position(Slider slider) const override;
    void setPosition(Slider slider, int position) override;
    int minimum(Slider slider) const override;
    int maximum(Slider slider) const override;
    DeviceContext& previewDC() override { return *dc_; }
    float previewScaleWidth() const override;
    float previewScaleHeight() const override;
    void refresh() override;
    float clientWidth() const override;
    float clientHeight() const override;
    double twipsPerPixelX() const override;
    std::string programDirectory() const override;
    WindowFont chooseFont(const WindowFont& preset) override;
    std::optional<SaveChoice> chooseSaveFile(const SaveChoice& preset) override;
    bool hasTextStyleDialog() const override { return true; }
    std::optional<TextStyle> chooseTextStyle(const TextStyle& preset, bool fontBold) override;
    bool hasToolSizeDialog() const override { return true; }
    std::optional<double> chooseToolSize(double presetMm) override;
    std::optional<SaveSettings> loadSaveSettings() override;
    void storeSaveSettings(const SaveSettings& settings) override;
    std::optional<std::string> readTextSetting(std::string_view name) override;
    void writeTextSetting(std::string_view name, std::string_view value) override;
    void showFaceNote(const std::optional<FaceNote>& note) override;
    void showWindowNote(const WindowNote& note) override;
    void showMessage(std::string_view caption, std::string_view text) override;
    [[noreturn]] void endProgram(int status) override;

private:
    // WM_COMMAND identifiers: each control's is its place in the design's
    // table after the first; the preview menu's, its command's after the
    // first of the menu, the fit view last.
    static constexpr int kFirstControlId = 100;
    static constexpr int kFirstMenuId = 200;
    // The note under the text box, after the controls' ids.
    static constexpr int kFaceNoteId = kFirstMenuId - 1;
    // The note under the preview.
    static constexpr int kWindowNoteId = kFirstMenuId - 2;
    // After the last command: an id shared with one would run the fit view.
    static constexpr int kFitMenuId = kFirstMenuId + int(PreviewCommand::ToolCheck) + 1;

    // form_window.cpp: the controls from the design's table.
    void buildControls();
    HWND makeControl(const ControlDesign& design);
    // The quiet line under txtInput, hidden until a note comes.
    void buildFaceNote();
    const char* caption(const char* design) const;
    int pixels(int twips) const;
    HWND control(Control which) const { return controls_[std::size_t(which)]; }
    ::HFONT designFont(float points);

    // form_events.cpp: the messages, the preview's menu and its keys.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK previewProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void controlCommand(Control which, int code);
    void buildPreviewMenu();
    void showPreviewMenu(int x, int y);
    void runMenuCommand(int id);

    HINSTANCE instance_;
    int dpi_ = 96;
    HWND window_ = nullptr;
    std::array<HWND, kControlCount> controls_{};
    HWND faceNote_ = nullptr;
    HWND windowNote_ = nullptr;
    // The tips of the preview and the notes.
    HWND tooltip_ = nullptr;
    // The design's fonts by size, made once each.
    std::vector<std::pair<float, ::HFONT>> fonts_;
    ::HFONT inputFont_ = nullptr;
    HBRUSH inputBrush_ = nullptr;
    PreviewCanvas canvas_;
    std::unique_ptr<DeviceContext> dc_;
    int previewWidth_ = 0, previewHeight_ = 0;
    HMENU previewMenu_ = nullptr;
    HACCEL keys_ = nullptr;
    bool fit_ = false;
    bool english_ = false;
    // Events from the controls reach the logic only once it is loaded: the
    // controls' own creation is no change of the user's.
    bool live_ = false;
    Form1 form_{*this};
};

} // namespace lw
