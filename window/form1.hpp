#pragma once
// Form1: the one window. Holds the text, the size and the angle (each as a
// slider and a text box kept in step), the preview, the buttons, the window
// font, the run mode with its paths, and the captured outline.

#include "outline/captured_outline.hpp"
#include "outline/window_font.hpp"
#include "window/services.hpp"

#include <QWidget>

#include <cstdint>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace lw {

class InputBox;
class PreviewBox;

class Form1 final : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Services& services, QWidget* parent = nullptr);
    ~Form1() override;

    // Window load, inside the failure guard: the run mode and paths from the
    // argument text (the process's arguments joined with single blanks),
    // the size box from the window font, and the first preview.
    void load(std::string_view argumentText);

    // Captures the outline of the current text (centred when alCent != 0,
    // else at the origin) into the captured outline, draws it and repaints.
    void drawFlattenPath(std::int32_t alCent);
    // Carries the font dialog's choice over to the window font and txtInput.
    void applyFont();
    void JwOut();
    void WitOut();

    const std::string& runMode() const { return runMode_; }
    const std::string& inputPath() const { return inputPath_; }
    const std::string& outputPath() const { return outputPath_; }
    const WindowFont& windowFont() const { return font_; }
    const CapturedOutline& capturedOutline() const { return outline_; }
    const QImage& previewImage() const;
    double twipsPerPixelX() const { return twipsPerPixelX_; }
    // Captures completed by drawFlattenPath since the window was made.
    int redrawCount() const { return redrawCount_; }

signals:
    void redrawn();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load(std::string_view argumentText);
    void sldAngle_Click();
    void sldSize_Click();
    void txtAngle_Change();
    void txtSize_Change();
    void txtInput_Change();
    void txtInput_GotFocus();
    void cmdDraw_Click();
    void cmdFont_Click();
    void Command2_Click();
    void Command3_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    void buildControls();
    void connectHandlers();
    // Runs a handler inside the failure guard.
    void run(void (Form1::*handler)());
    void connectSliderClick(QSlider* slider, void (Form1::*handler)());

    Services& services_;
    const double twipsPerPixelX_;
    WindowFont font_;
    CapturedOutline outline_;
    std::string runMode_;
    std::string inputPath_;
    std::string outputPath_;
    // dlgCommon: the font dialog's flags and values, kept between uses.
    struct {
        std::int32_t flags = 0;
        WindowFont font;
    } dlgCommon_;
    int redrawCount_ = 0;

    InputBox* txtInput_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLineEdit* txtSize_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLineEdit* txtAngle_ = nullptr;
    QPushButton* cmdFont_ = nullptr;
    QSlider* sldSize_ = nullptr;
    QSlider* sldAngle_ = nullptr;
    PreviewBox* picSmpl_ = nullptr;
    QPushButton* cmdDraw_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* Command3_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

// The value a slider takes from a text box: the text's leading number,
// rounded half to even and held within [minimum, maximum]. A number too big
// for any integer (1E20, 1E400) is just beyond the range, not a failure.
int sliderPositionFromText(std::string_view text, int minimum, int maximum);

// The size as the size box shows it: up to seven significant digits, no
// trailing zeros ("24", "9.75", "1E+10").
std::string sizeText(float size);

} // namespace lw
