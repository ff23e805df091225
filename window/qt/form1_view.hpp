#pragma once
// Form1 in Qt: the window's controls at the design's places, shown to the
// form's logic as its view. Every Qt signal of a control goes to the Form1
// handler of the same name, through the form's failure guard.

#include "form/form1.hpp"
#include "form/form_view.hpp"
#include "window/qt/services.hpp"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QSettings;
class QSlider;

namespace lw {

class InputBox;
class PreviewBox;

class QtForm1View final : public QWidget, public FormView {
    Q_OBJECT
public:
    explicit QtForm1View(Services& services, QWidget* parent = nullptr);
    ~QtForm1View() override;

    // Window load (the form's), then the preview's context menu for the
    // run mode it took.
    void load(const std::vector<std::string>& words);
    Form1& form() { return form_; }
    const Form1& form() const { return form_; }
    const QImage& previewImage() const;

    std::string text(TextBox box) const override;
    void setText(TextBox box, std::string_view text) override;
    void selectAll(TextBox box) override;
    void setInputFont(const WindowFont& font) override;
    int position(Slider slider) const override;
    void setPosition(Slider slider, int position) override;
    int minimum(Slider slider) const override;
    int maximum(Slider slider) const override;
    DeviceContext& previewDC() override;
    float previewScaleWidth() const override;
    float previewScaleHeight() const override;
    void refresh() override;
    std::optional<DeviceArea> previewShownArea() const override;
    float clientWidth() const override;
    float clientHeight() const override;
    double twipsPerPixelX() const override { return twipsPerPixelX_; }
    std::string programDirectory() const override;
    WindowFont chooseFont(const WindowFont& preset) override;
    void showFaceNote(const std::optional<FaceNote>& note) override;
    void showWindowNote(const WindowNote& note) override;
    void showMessage(std::string_view caption, std::string_view text) override;
    void endProgram(int status) override;
    std::optional<SaveChoice> chooseSaveFile(const SaveChoice& preset) override;
    bool hasTextStyleDialog() const override { return true; }
    std::optional<TextStyle> chooseTextStyle(const TextStyle& preset, bool fontBold) override;
    bool hasToolSizeDialog() const override { return true; }
    std::optional<double> chooseToolSize(double presetMm) override;
    // In the application's QSettings, group "save".
    std::optional<SaveSettings> loadSaveSettings() override;
    void storeSaveSettings(const SaveSettings& settings) override;
    // In the application's QSettings, group "text".
    std::optional<std::string> readTextSetting(std::string_view name) override;
    void writeTextSetting(std::string_view name, std::string_view value) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter presses OK and Escape Cancel, as in a dialog, for every
    // control: Enter in the size and angle boxes only ends their edit, and
    // on a button presses that button.
    // (Only there: a key a control passes on, as the boxes pass on Enter
    // once their edit ended, must not press OK on its way up.)
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The design's controls, made from the form's table of them.
    QWidget* makeControl(const ControlDesign& design);
    void buildControls();
    // The quiet lines under txtInput and under the preview, empty and
    // hidden until a note comes.
    void buildFaceNote();
    // A quiet line's text, cut to its width; the whole in its tooltip.
    void showNote(QLabel* label, const QString& text);
    // The width a tooltip may take: the window's.
    int tipWidth() const;
    void buildPreviewMenu();
    void connectHandlers();
    void connectSliderClick(QSlider* slider, void (Form1::*handler)());
    // True when `key` was OK's or Cancel's, pressed on `control`.
    bool dialogKey(QWidget* control, const QKeyEvent& key);
    QLineEdit* box(TextBox box) const;
    QSlider* slider(Slider slider) const;

    Services& services_;
    const double twipsPerPixelX_;
    Form1 form_{*this};

    // By Control; txtInput and picSmpl also with their own kinds.
    std::array<QWidget*, kControlCount> controls_{};
    InputBox* txtInput_ = nullptr;
    PreviewBox* picSmpl_ = nullptr;
    QLabel* faceNote_ = nullptr;
    QLabel* windowNote_ = nullptr;
    // The text settings as read: made at the first read, kept for the next.
    std::unique_ptr<QSettings> textSettings_;
};

} // namespace lw
