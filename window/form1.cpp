#include "window/form1.hpp"

#include "export/jw_command.hpp"
#include "export/wit.hpp"
#include "outline/capture.hpp"
#include "outline/inspection.hpp"
#include "base/failure.hpp"
#include "base/numbers.hpp"
#include "base/words.hpp"
#include "window/guard.hpp"
#include "window/input_box.hpp"
#include "window/preview_box.hpp"
#include "window/screen.hpp"
#include "window/title.hpp"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lw {
namespace {

QRect designRect(int left, int top, int width, int height)
{
    constexpr int k = design::kTwipsPerPixel;
    return QRect(left / k, top / k, width / k, height / k);
}

QFont designFont(double points)
{
    QFont font(QString::fromUtf8(design::kFaceName));
    font.setPointSizeF(points);
    return font;
}

QFont toQFont(const WindowFont& f)
{
    QFont font(QString::fromStdString(f.faceName));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setPointSizeF(f.size);
    font.setStrikeOut(f.strikeout);
    font.setUnderline(f.underline);
    return font;
}

template <class Widget>
Widget* place(QWidget* parent, const char* name, QRect rect, const QFont& font)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(rect);
    widget->setFont(font);
    return widget;
}

QPushButton* placeButton(QWidget* parent, const char* name, const char* caption, QRect rect)
{
    auto* button = place<QPushButton>(parent, name, rect, designFont(9));
    button->setText(QString::fromUtf8(caption));
    return button;
}

QSlider* placeSlider(QWidget* parent, const char* name, QRect rect, int minimum, int maximum,
                     int smallStep, int largeStep, int position)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setGeometry(rect);
    slider->setRange(minimum, maximum);
    slider->setSingleStep(smallStep);
    slider->setPageStep(largeStep);
    slider->setValue(position);
    return slider;
}

// Writing a box's text runs its change handler even when the text stays the
// same; Qt only signals a real change.
void writeText(QLineEdit* box, const QString& text, Form1& form, void (Form1::*change)())
{
    if (box->text() == text)
        (form.*change)();
    else
        box->setText(text);
}

} // namespace

int sliderPositionFromText(std::string_view text, int minimum, int maximum)
{
    double value = roundHalfEven(leadingNumberValue(text));
    if (std::isnan(value))
        value = 0;
    // Clamped while still a double, so a value past any integer is only
    // beyond the range.
    value = std::clamp(value, double(minimum), double(maximum));
    return roundToInt32(value, "slider position");
}

std::string sizeText(float size)
{
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, size,
                                   std::chars_format::general, 7);
    (void)ec; // 32 bytes hold any float
    std::string text(buffer, end);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

Form1::Form1(Services& services, QWidget* parent)
    : QWidget(parent), services_(services), twipsPerPixelX_(screenTwipsPerPixelX())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    setFixedSize(design::kClientWidthTwips / design::kTwipsPerPixel,
                 design::kClientHeightTwips / design::kTwipsPerPixel);
    buildControls();
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    const QFont small = designFont(9.75);

    txtInput_ = place<InputBox>(this, "txtInput", designRect(120, 120, 7215, 855), toQFont(font_));
    txtInput_->setText(QString::fromUtf8(design::kText));
    QPalette yellow = txtInput_->palette();
    yellow.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0x80));
    txtInput_->setPalette(yellow);

    Label1_ = place<QLabel>(this, "Label1", designRect(240, 1200, 735, 255), small);
    Label1_->setText(QString::fromUtf8("サイズ"));
    txtSize_ = place<QLineEdit>(this, "txtSize", designRect(1560, 1200, 495, 285), small);
    txtSize_->setText(QStringLiteral("0"));
    Label2_ = place<QLabel>(this, "Label2", designRect(3360, 1200, 735, 255), small);
    Label2_->setText(QString::fromUtf8("傾き"));
    txtAngle_ = place<QLineEdit>(this, "txtAngle", designRect(4560, 1200, 495, 285), small);
    txtAngle_->setText(QStringLiteral("0"));
    cmdFont_ = placeButton(this, "cmdFont", "フォント...", designRect(5880, 1200, 1215, 375));

    sldSize_ = placeSlider(this, "sldSize", designRect(960, 1560, 1695, 255), 1, 144, 2, 10, 1);
    sldSize_->setTickPosition(QSlider::NoTicks);
    sldAngle_ = placeSlider(this, "sldAngle", designRect(3960, 1560, 1695, 255), 0, 360, 10, 45, 0);
    sldAngle_->setTickPosition(QSlider::TicksBelow);
    sldAngle_->setTickInterval(45);

    constexpr design::TwipsRect p = design::kPreviewTwips;
    const QRect preview = designRect(p.left, p.top, p.width, p.height);
    picSmpl_ = new PreviewBox(preview.size(), this);
    picSmpl_->setObjectName(QStringLiteral("picSmpl"));
    picSmpl_->move(preview.topLeft());
    picSmpl_->setFont(designFont(72));

    // These three lie over the preview and are switched off in the design:
    // they keep their places and handlers but are not shown.
    cmdDraw_ = placeButton(this, "cmdDraw", "Draw", designRect(720, 4920, 1095, 375));
    Command2_ = placeButton(this, "Command2", "Wit", designRect(3480, 4920, 1095, 375));
    Command3_ = placeButton(this, "Command3", "Draw", designRect(4920, 4920, 1095, 375));
    for (QPushButton* hidden : {cmdDraw_, Command2_, Command3_})
        hidden->setVisible(false);

    cmdOK_ = placeButton(this, "cmdOK", "OK", designRect(1560, 6840, 1095, 375));
    cmdCancel_ = placeButton(this, "cmdCancel", "キャンセル", designRect(4080, 6840, 1095, 375));

    // Tab order by the design's tab index; labels and the preview take no focus.
    const QWidget* order[] = {Command3_, cmdDraw_, txtInput_, cmdFont_, sldAngle_, Command2_,
                              cmdOK_, txtAngle_, txtSize_, sldSize_, cmdCancel_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
}

void Form1::run(void (Form1::*handler)())
{
    guarded(services_, this, [&] { (this->*handler)(); });
}

void Form1::connectSliderClick(QSlider* slider, void (Form1::*handler)())
{
    // A click is any user action on the slider, never a position set by the
    // program. A drag (or a press that jumps to the pointer) reports its moves
    // as it goes and counts as one click, at the release.
    connect(slider, &QAbstractSlider::actionTriggered, this, [this, slider, handler](int action) {
        if (action == QAbstractSlider::SliderMove
            && (slider->isSliderDown() || QGuiApplication::mouseButtons() != Qt::NoButton))
            return;
        run(handler);
    });
    connect(slider, &QAbstractSlider::sliderReleased, this, [this, handler] { run(handler); });
}

void Form1::connectHandlers()
{
    connectSliderClick(sldAngle_, &Form1::sldAngle_Click);
    connectSliderClick(sldSize_, &Form1::sldSize_Click);
    connect(txtAngle_, &QLineEdit::textChanged, this, [this] { run(&Form1::txtAngle_Change); });
    connect(txtSize_, &QLineEdit::textChanged, this, [this] { run(&Form1::txtSize_Change); });
    connect(txtInput_, &QLineEdit::textChanged, this, [this] { run(&Form1::txtInput_Change); });
    connect(txtInput_, &InputBox::gotFocus, this, [this] { run(&Form1::txtInput_GotFocus); });
    connect(cmdDraw_, &QPushButton::clicked, this, [this] { run(&Form1::cmdDraw_Click); });
    connect(cmdFont_, &QPushButton::clicked, this, [this] { run(&Form1::cmdFont_Click); });
    connect(Command2_, &QPushButton::clicked, this, [this] { run(&Form1::Command2_Click); });
    connect(Command3_, &QPushButton::clicked, this, [this] { run(&Form1::Command3_Click); });
    connect(cmdOK_, &QPushButton::clicked, this, [this] { run(&Form1::cmdOK_Click); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { run(&Form1::cmdCancel_Click); });
}

const QImage& Form1::previewImage() const { return picSmpl_->image(); }

void Form1::load(std::string_view argumentText)
{
    guarded(services_, this, [&] { Form_Load(argumentText); });
}

void Form1::Form_Load(std::string_view argumentText)
{
    const std::vector<std::string_view> word = words(argumentText);
    if (word.size() >= 2) {
        runMode_ = QString::fromUtf8(word[0].data(), qsizetype(word[0].size())).toUpper().toStdString();
        if (runMode_ == "JW") {
            inputPath_ = word[1];
            if (word.size() < 3)
                throw Failure(FailureKind::SubscriptOutOfRange, "command line, word 3");
            outputPath_ = word[2];
        } else if (runMode_ == "WIT") {
            outputPath_ = word[1];
        }
    }
    writeText(txtSize_, QString::fromStdString(sizeText(font_.size)), *this, &Form1::txtSize_Change);
    drawFlattenPath(1);
}

void Form1::drawFlattenPath(std::int32_t alCent)
{
    const std::string text = txtInput_->text().toStdString();
    const CaptureSource source{text, font_, sldAngle_->value(), picSmpl_->scaleWidth(),
                               picSmpl_->scaleHeight(), twipsPerPixelX_};
    lw::drawFlattenPath(alCent, source, picSmpl_->deviceContext(), outline_);
    ++redrawCount_;
    picSmpl_->repaint();
    emit redrawn();
}

void Form1::sldAngle_Click()
{
    // The position the action is about to set: Qt reports the action first.
    const int position = sldAngle_->sliderPosition();
    writeText(txtAngle_, QString::number(position), *this, &Form1::txtAngle_Change);
    drawFlattenPath(1);
}

void Form1::sldSize_Click()
{
    const int position = sldSize_->sliderPosition();
    writeText(txtSize_, QString::number(position), *this, &Form1::txtSize_Change);
    drawFlattenPath(1);
}

void Form1::txtAngle_Change()
{
    sldAngle_->setValue(sliderPositionFromText(txtAngle_->text().toStdString(),
                                               sldAngle_->minimum(), sldAngle_->maximum()));
    drawFlattenPath(1);
}

void Form1::txtSize_Change()
{
    sldSize_->setValue(sliderPositionFromText(txtSize_->text().toStdString(),
                                              sldSize_->minimum(), sldSize_->maximum()));
    font_.size = static_cast<float>(sldSize_->value());
    drawFlattenPath(1);
}

void Form1::txtInput_Change() { drawFlattenPath(1); }

void Form1::txtInput_GotFocus() { txtInput_->setSelection(0, int(txtInput_->text().size())); }

void Form1::cmdDraw_Click() { drawFlattenPath(1); }

void Form1::cmdFont_Click()
{
    dlgCommon_.flags = 3; // screen and printer fonts
    dlgCommon_.font = font_;
    dlgCommon_.font = services_.chooseFont(this, dlgCommon_.font, dlgCommon_.flags);
    applyFont();
}

void Form1::applyFont()
{
    const std::string previousFace = font_.faceName;
    try {
        const WindowFont& chosen = dlgCommon_.font;
        font_.faceName = chosen.faceName;
        font_.bold = chosen.bold;
        font_.italic = chosen.italic;
        font_.size = chosen.size;
        font_.strikeout = chosen.strikeout;
        font_.underline = chosen.underline;
        txtInput_->setFont(toQFont(chosen));
        drawFlattenPath(1);
    } catch (const Failure&) {
        services_.showMessage(this, QString::fromUtf8(kProgramTitle),
                              QString::fromUtf8("フォント名を変えてください"));
        font_.faceName = previousFace;
    }
}

void Form1::Command3_Click()
{
    const std::string text = txtInput_->text().toStdString();
    const CaptureSource source{text, font_, sldAngle_->value(), picSmpl_->scaleWidth(),
                               picSmpl_->scaleHeight(), twipsPerPixelX_};
    inspectOutline(source, picSmpl_->deviceContext(), outline_);
    picSmpl_->repaint();
}

void Form1::JwOut()
{
    drawFlattenPath(0);
    writeJwExport(inputPath_, outputPath_, outline_, twipsPerPixelX_);
}

void Form1::WitOut()
{
    lw::WitOut(outline_, static_cast<float>(width()), static_cast<float>(height()),
               QCoreApplication::applicationDirPath().toStdString(), outputPath_);
}

void Form1::Command2_Click() { WitOut(); }

void Form1::cmdOK_Click()
{
    if (runMode_ == "JW") {
        JwOut();
        services_.endProgram(0);
    } else if (runMode_ == "WIT") {
        WitOut();
    }
}

void Form1::cmdCancel_Click() { services_.endProgram(0); }

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    run(&Form1::cmdCancel_Click);
}

} // namespace lw
