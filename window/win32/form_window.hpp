#pragma once
// Form1 as a native Windows window: the design's controls as Win32 controls
// (EDIT boxes, trackbars, buttons, a picture box), laid out in twips at the
// screen's own dpi, each event handed to the form's logic. A thin view: it
// shows and reports, the logic decides.

#include "form/form1.hpp"
#include "form/form_view.hpp"
#include "platform/canvas.hpp"
#include "platform/device_context.hpp"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
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
    std::optional<SaveSettings> loadSaveSettings() override;
    void storeSaveSettings(const SaveSettings& settings) override;
    void showMessage(std::string_view caption, std::string_view text) override;
    [[noreturn]] void endProgram(int status) override;

private:
    // The preview's drawing since the last clear, painted onto the device
    // context's own surface by render(). Polygons drawn one after another
    // are one shape: filled white together by the nonzero winding rule, as a
    // font defines its outlines, then every outline drawn; so a counter
    // stays open and a stroke inside it shows, whatever order the font lists
    // its contours in.
    class PreviewCanvas final : public Canvas {
    public:
        explicit PreviewCanvas(Win32FormWindow& owner) : owner_(owner) {}
        void clear() override { items_.clear(); }
        void polygon(std::span<const POINT> points, Rgb pen) override;
        void line(POINT from, POINT to, Rgb pen) override;
        // At the drawing's own pixels, or scaled and centred so all of it shows.
        void render(bool fit);

    private:
        struct Outline {
            std::vector<::POINT> points;
            Rgb pen;
        };
        // A run of polygons (one shape), or one line.
        struct Item {
            std::vector<Outline> shape;
            ::POINT from{}, to{};
            Rgb pen{};
        };
        Win32FormWindow& owner_;
        std::vector<Item> items_;
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK previewProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void buildControls();
    void buildPreviewMenu();
    void showPreviewMenu(int x, int y);
    void runMenuCommand(int id);
    // The design's caption, or its English one for a user whose language is
    // not Japanese.
    const char* caption(const char* design) const;
    int pixels(int twips) const;
    HWND box(TextBox box) const;
    HWND slider(Slider slider) const;
    ::HFONT designFont(double points, const wchar_t* face = nullptr);

    HINSTANCE instance_;
    int dpi_ = 96;
    HWND window_ = nullptr;
    HWND txtInput_ = nullptr, Label1_ = nullptr, txtSize_ = nullptr, Label2_ = nullptr,
         txtAngle_ = nullptr, cmdFont_ = nullptr, sldSize_ = nullptr, sldAngle_ = nullptr,
         picSmpl_ = nullptr, cmdDraw_ = nullptr, Command2_ = nullptr, Command3_ = nullptr,
         cmdOK_ = nullptr, cmdCancel_ = nullptr;
    ::HFONT fonts_[4] = {};
    ::HFONT inputFont_ = nullptr;
    HBRUSH inputBrush_ = nullptr;
    PreviewCanvas canvas_{*this};
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
