#include "window/qt/form1_view.hpp"

#include "base/design.hpp"
#include "window/qt/input_box.hpp"
#include "window/qt/panel_cache_style.hpp"
#include "window/qt/preview_box.hpp"
#include "window/qt/save_dialog.hpp"
#include "window/qt/screen.hpp"
#include "window/qt/track_bar.hpp"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>

#include <utility>

namespace lw {
namespace {

// The design's captions are Japanese; other users get them in English
// through the translation installed at start.
QString caption(const char* designCaption) { return QCoreApplication::translate("Form1", designCaption); }

// The settings' words for the save choice, readable in the file.
constexpr std::pair<SaveFormat, const char*> kFormatWords[] = {
    {SaveFormat::Dxf, "dxf"}, {SaveFormat::Svg, "svg"}, {SaveFormat::JwPoints, "jw"}};
constexpr std::pair<SavePrecision, const char*> kPrecisionWords[] = {
    {SavePrecision::Classic, "classic"}, {SavePrecision::Tenth, "0.1"}, {SavePrecision::Hundredth, "0.01"}};

template <class Value, std::size_t n>
const char* wordOf(const std::pair<Value, const char*> (&words)[n], Value value)
{
    for (const auto& [v, word] : words)
        if (v == value)
            return word;
    return words[0].second;
}

// A word that is none of ours (a hand-edited file) keeps the default.
template <class Value, std::size_t n>
Value valueOf(const std::pair<Value, const char*> (&words)[n], const QString& word, Value fallback)
{
    for (const auto& [v, w] : words)
        if (word == QLatin1String(w))
            return v;
    return fallback;
}

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
    button->setText(lw::caption(caption));
    return button;
}

QSlider* placeSlider(QWidget* parent, const char* name, QRect rect, int minimum, int maximum,
                     int smallStep, int largeStep, int position)
{
    auto* slider = new TrackBar(parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setGeometry(rect);
    slider->setRange(minimum, maximum);
    slider->setSingleStep(smallStep);
    slider->setPageStep(largeStep);
    slider->setValue(position);
    return slider;
}

} // namespace

QtForm1View::QtForm1View(Services& services, QWidget* parent)
    : QWidget(parent), services_(services), twipsPerPixelX_(screenTwipsPerPixelX())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    setFixedSize(design::kClientWidthTwips / design::kTwipsPerPixel,
                 design::kClientHeightTwips / design::kTwipsPerPixel);
    buildControls();
    connectHandlers();
}

QtForm1View::~QtForm1View()
{
    // The controls outlive form_ by the width of ~QWidget, which deletes
    // them: a box losing the focus on the way must not reach the logic.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void QtForm1View::buildControls()
{
    const QFont small = designFont(9.75);

    txtInput_ = place<InputBox>(this, "txtInput", designRect(120, 120, 7215, 855), toQFont(form_.windowFont()));
    // It repaints whole on every keystroke.
    auto* panelCache = new PanelCacheStyle(txtInput_->style()->name());
    panelCache->setParent(txtInput_);
    txtInput_->setStyle(panelCache);
    txtInput_->setAttribute(Qt::WA_OpaquePaintEvent);
    txtInput_->setText(QString::fromUtf8(design::kText));
    QPalette yellow = txtInput_->palette();
    yellow.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0x80));
    txtInput_->setPalette(yellow);

    Label1_ = place<QLabel>(this, "Label1", designRect(240, 1200, 735, 255), small);
    Label1_->setText(caption("サイズ"));
    txtSize_ = place<QLineEdit>(this, "txtSize", designRect(1560, 1200, 495, 285), small);
    txtSize_->setText(QStringLiteral("0"));
    Label2_ = place<QLabel>(this, "Label2", designRect(3360, 1200, 735, 255), small);
    Label2_->setText(caption("傾き"));
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
    // Their work is in the preview's context menu; hidden, they leave the tab
    // order too.
    for (QPushButton* hidden : {cmdDraw_, Command2_, Command3_}) {
        hidden->setVisible(false);
        hidden->setFocusPolicy(Qt::NoFocus);
    }

    cmdOK_ = placeButton(this, "cmdOK", "OK", designRect(1560, 6840, 1095, 375));
    cmdCancel_ = placeButton(this, "cmdCancel", "キャンセル", designRect(4080, 6840, 1095, 375));

    // Tab order by the design's tab index; labels and the preview take no focus.
    const QWidget* order[] = {txtInput_, cmdFont_, sldAngle_, cmdOK_, txtAngle_, txtSize_, sldSize_, cmdCancel_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
}

void QtForm1View::connectSliderClick(QSlider* slider, void (Form1::*handler)())
{
    // A click is any user action on the slider, never a position set by the
    // program. A drag (or a press that jumps to the pointer) reports its moves
    // as it goes and counts as one click, at the release.
    connect(slider, &QAbstractSlider::actionTriggered, this, [this, slider, handler](int action) {
        if (action == QAbstractSlider::SliderMove
            && (slider->isSliderDown() || QGuiApplication::mouseButtons() != Qt::NoButton))
            return;
        form_.run(handler);
    });
    connect(slider, &QAbstractSlider::sliderReleased, this, [this, handler] { form_.run(handler); });
}

void QtForm1View::connectHandlers()
{
    const auto bind = [this](auto* control, auto signal, void (Form1::*handler)()) {
        connect(control, signal, this, [this, handler] { form_.run(handler); });
    };
    connectSliderClick(sldAngle_, &Form1::sldAngle_Click);
    connectSliderClick(sldSize_, &Form1::sldSize_Click);
    bind(txtAngle_, &QLineEdit::textChanged, &Form1::txtAngle_Change);
    bind(txtSize_, &QLineEdit::textChanged, &Form1::txtSize_Change);
    bind(txtInput_, &QLineEdit::textChanged, &Form1::txtInput_Change);
    bind(txtInput_, &InputBox::gotFocus, &Form1::txtInput_GotFocus);
    // Enter, or the focus leaving the box.
    bind(txtAngle_, &QLineEdit::editingFinished, &Form1::txtAngle_EditEnded);
    bind(txtSize_, &QLineEdit::editingFinished, &Form1::txtSize_EditEnded);
    bind(cmdDraw_, &QPushButton::clicked, &Form1::cmdDraw_Click);
    bind(cmdFont_, &QPushButton::clicked, &Form1::cmdFont_Click);
    bind(Command2_, &QPushButton::clicked, &Form1::Command2_Click);
    bind(Command3_, &QPushButton::clicked, &Form1::Command3_Click);
    bind(cmdOK_, &QPushButton::clicked, &Form1::cmdOK_Click);
    bind(cmdCancel_, &QPushButton::clicked, &Form1::cmdCancel_Click);
}

void QtForm1View::buildPreviewMenu()
{
    // Keys work anywhere in the window; the menu shows them.
    const auto add = [this](const char* name, const char* text, QKeySequence key) {
        auto* action = new QAction(caption(text), picSmpl_);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        picSmpl_->addAction(action);
        return action;
    };
    for (PreviewCommand command : form_.previewCommands()) {
        QAction* action = nullptr;
        switch (command) {
        case PreviewCommand::Redraw: action = add("actRedraw", "再描画", Qt::Key_F5); break;
        case PreviewCommand::InspectOutline: action = add("actInspect", "アウトラインの確認", Qt::Key_F6); break;
        case PreviewCommand::WitExport: action = add("actWit", "WIT出力", Qt::Key_F7); break;
        }
        connect(action, &QAction::triggered, this, [this, command] { form_.run(command); });
    }
    auto* separator = new QAction(picSmpl_);
    separator->setSeparator(true);
    picSmpl_->addAction(separator);
    QAction* fit = add("actFit", "全体を表示", Qt::Key_F8);
    fit->setCheckable(true);
    connect(fit, &QAction::toggled, picSmpl_, &PreviewBox::setFitView);
    picSmpl_->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void QtForm1View::load(const std::vector<std::string>& words)
{
    form_.load(words);
    // The menu depends on the run mode the load took.
    buildPreviewMenu();
}

void QtForm1View::closeEvent(QCloseEvent* event)
{
    event->accept();
    form_.run(&Form1::cmdCancel_Click);
}

QLineEdit* QtForm1View::box(TextBox box) const
{
    switch (box) {
    case TextBox::txtInput: return txtInput_;
    case TextBox::txtSize: return txtSize_;
    case TextBox::txtAngle: return txtAngle_;
    }
    return txtInput_;
}

QSlider* QtForm1View::slider(Slider slider) const
{
    return slider == Slider::sldSize ? sldSize_ : sldAngle_;
}

std::string QtForm1View::text(TextBox which) const { return box(which)->text().toStdString(); }

void QtForm1View::setText(TextBox which, std::string_view text)
{
    // The form runs the change handler itself, so a failure in it never
    // unwinds through Qt's signal delivery.
    QLineEdit* control = box(which);
    const QSignalBlocker quiet(control);
    control->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

void QtForm1View::selectAll(TextBox which)
{
    QLineEdit* control = box(which);
    control->setSelection(0, int(control->text().size()));
}

void QtForm1View::setInputFont(const WindowFont& font) { txtInput_->setFont(toQFont(font)); }

// The position an action is about to set: Qt reports the action first.
int QtForm1View::position(Slider which) const { return slider(which)->sliderPosition(); }

void QtForm1View::setPosition(Slider which, int position) { slider(which)->setValue(position); }

int QtForm1View::minimum(Slider which) const { return slider(which)->minimum(); }

int QtForm1View::maximum(Slider which) const { return slider(which)->maximum(); }

DeviceContext& QtForm1View::previewDC() { return picSmpl_->deviceContext(); }

float QtForm1View::previewScaleWidth() const { return picSmpl_->scaleWidth(); }

float QtForm1View::previewScaleHeight() const { return picSmpl_->scaleHeight(); }

void QtForm1View::refresh() { picSmpl_->present(); }

const QImage& QtForm1View::previewImage() const { return picSmpl_->image(); }

float QtForm1View::clientWidth() const { return static_cast<float>(width()); }

float QtForm1View::clientHeight() const { return static_cast<float>(height()); }

std::string QtForm1View::programDirectory() const
{
    return QCoreApplication::applicationDirPath().toStdString();
}

WindowFont QtForm1View::chooseFont(const WindowFont& preset)
{
    return services_.chooseFont(this, preset);
}

void QtForm1View::showMessage(std::string_view caption, std::string_view text)
{
    services_.showMessage(this, QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                          QString::fromUtf8(text.data(), qsizetype(text.size())));
}

void QtForm1View::endProgram(int status) { services_.endProgram(status); }

std::optional<SaveChoice> QtForm1View::chooseSaveFile(const SaveChoice& preset)
{
    return SaveDialog::ask(this, preset);
}

std::optional<SaveSettings> QtForm1View::loadSaveSettings()
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("save"));
    if (settings.childKeys().isEmpty())
        return std::nullopt;
    SaveSettings loaded;
    loaded.format = valueOf(kFormatWords, settings.value(QStringLiteral("format")).toString(), loaded.format);
    loaded.precision =
        valueOf(kPrecisionWords, settings.value(QStringLiteral("precision")).toString(), loaded.precision);
    loaded.folder = settings.value(QStringLiteral("folder")).toString().toStdString();
    return loaded;
}

void QtForm1View::storeSaveSettings(const SaveSettings& chosen)
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("save"));
    settings.setValue(QStringLiteral("format"), QLatin1String(wordOf(kFormatWords, chosen.format)));
    settings.setValue(QStringLiteral("precision"), QLatin1String(wordOf(kPrecisionWords, chosen.precision)));
    settings.setValue(QStringLiteral("folder"), QString::fromStdString(chosen.folder));
}

} // namespace lw
