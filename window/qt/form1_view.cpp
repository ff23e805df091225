#include "window/qt/form1_view.hpp"
#include "platform/font_file.hpp"

#include "base/design.hpp"
#include "form/face_note_caption.hpp"
#include "window/qt/caption_translator.hpp"
#include "window/qt/input_box.hpp"
#include "window/qt/panel_cache_style.hpp"
#include "window/qt/preview_box.hpp"
#include "window/qt/qt_family.hpp"
#include "window/qt/save_dialog.hpp"
#include "window/qt/screen.hpp"
#include "window/qt/settings_files.hpp"
#include "window/qt/text_style_dialog.hpp"
#include "window/qt/track_bar.hpp"
#include "window/qt/wrapped_tip.hpp"

#include <QAction>
#include <QFontDatabase>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>

#include <exception>
#include <set>

namespace lw {
namespace {

QRect designRect(design::TwipsRect twips)
{
    constexpr int k = design::kTwipsPerPixel;
    return QRect(twips.left / k, twips.top / k, twips.width / k, twips.height / k);
}

QFont toQFont(const WindowFont& f)
{
    // A face from a file is drawn by Qt too once its file is known to it.
    if (!f.fontFile.empty()) {
        static std::set<std::string> added;
        const std::string path = fontFileChoice(f.fontFile).path;
        if (added.insert(path).second)
            QFontDatabase::addApplicationFont(QString::fromStdString(path));
    }
    QFont font(qtFamily(f.faceName));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setPointSizeF(f.size);
    font.setStrikeOut(f.strikeout);
    font.setUnderline(f.underline);
    return font;
}

QFont designFont(float points)
{
    QFont font(qtFamily(design::kFaceName));
    font.setPointSizeF(points);
    return font;
}

} // namespace

QtForm1View::QtForm1View(Services& services, QWidget* parent)
    : QWidget(parent), services_(services), twipsPerPixelX_(screenTwipsPerPixelX())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(captionText(kWindowCaption));
    setFixedSize(design::kClientWidthTwips / design::kTwipsPerPixel,
                 design::kClientHeightTwips / design::kTwipsPerPixel);
    buildControls();
    buildFaceNote();
    connectHandlers();
}

QtForm1View::~QtForm1View()
{
    // The controls outlive form_ by the width of ~QWidget, which deletes
    // them: a box losing the focus on the way must not reach the logic.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

QWidget* QtForm1View::makeControl(const ControlDesign& c)
{
    const QRect place = designRect(c.place);
    switch (c.kind) {
    case ControlKind::TextBox:
        if (c.control == Control::txtInput)
            return txtInput_ = new InputBox(this);
        return new QLineEdit(this);
    case ControlKind::Label: return new QLabel(this);
    case ControlKind::Button: return new QPushButton(this);
    case ControlKind::Slider: return new TrackBar(this);
    case ControlKind::Picture: return picSmpl_ = new PreviewBox(place.size(), this);
    }
    return nullptr;
}

void QtForm1View::buildControls()
{
    QWidget* previous = nullptr; // in the tab order; labels and the preview take no focus
    for (const ControlDesign& c : kControls) {
        QWidget* control = controls_[std::size_t(c.control)] = makeControl(c);
        control->setObjectName(QString::fromLatin1(c.name));
        control->setGeometry(designRect(c.place));
        if (c.fontPoints == kWindowFontPoints)
            control->setFont(toQFont(form_.windowFont()));
        else if (c.fontPoints > 0)
            control->setFont(designFont(c.fontPoints));
        const QString caption = captionText(c.caption);
        if (auto* box = qobject_cast<QLineEdit*>(control))
            box->setText(caption);
        else if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(caption);
        else if (auto* button = qobject_cast<QPushButton*>(control))
            button->setText(caption);
        // The hidden buttons' work is in the preview's context menu; hidden,
        // they leave the tab order too.
        if (!c.shown) {
            control->setVisible(false);
            control->setFocusPolicy(Qt::NoFocus);
        }
        if (takesFocus(c)) {
            if (previous)
                setTabOrder(previous, control);
            previous = control;
        }
    }
    for (const SliderDesign& d : kSliders) {
        QSlider* bar = slider(d.slider);
        bar->setRange(d.minimum, d.maximum);
        bar->setSingleStep(d.smallStep);
        bar->setPageStep(d.largeStep);
        bar->setValue(d.position);
        bar->setTickPosition(d.tickEvery ? QSlider::TicksBelow : QSlider::NoTicks);
        bar->setTickInterval(d.tickEvery);
    }

    // It repaints whole on every keystroke.
    auto* panelCache = new PanelCacheStyle(txtInput_->style()->name());
    panelCache->setParent(txtInput_);
    txtInput_->setStyle(panelCache);
    txtInput_->setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette yellow = txtInput_->palette();
    yellow.setColor(QPalette::Base, QColor(kInputBackground.red, kInputBackground.green, kInputBackground.blue));
    txtInput_->setPalette(yellow);
}

void QtForm1View::buildFaceNote()
{
    faceNote_ = new QLabel(this);
    faceNote_->setObjectName(QStringLiteral("lblFaceNote"));
    faceNote_->setGeometry(designRect(kFaceNoteTwips));
    faceNote_->setFont(designFont(kFaceNotePoints));
    faceNote_->setTextFormat(Qt::PlainText);
    faceNote_->setVisible(false);
    windowNote_ = new QLabel(this);
    windowNote_->setObjectName(QStringLiteral("lblWindowNote"));
    windowNote_->setGeometry(designRect(kWindowNoteTwips));
    windowNote_->setFont(designFont(kFaceNotePoints));
    windowNote_->setTextFormat(Qt::PlainText);
    windowNote_->setVisible(false);
}

int QtForm1View::tipWidth() const
{
    // Inside the window, less the tooltip's own frame and margins.
    constexpr int kTipMargins = 16;
    return width() - kTipMargins;
}

void QtForm1View::showNote(QLabel* label, const QString& text)
{
    if (text.isEmpty()) {
        label->clear();
        label->setToolTip({});
        label->setVisible(false);
        return;
    }
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, label->width()));
    label->setToolTip(wrappedTip(text, tipWidth()));
    label->setVisible(true);
}

void QtForm1View::showWindowNote(const WindowNote& note)
{
    showNote(windowNote_, QString::fromStdString(windowNoteText(
                              note, [](const char* design) { return captionText(design).toStdString(); })));
}

void QtForm1View::showFaceNote(const std::optional<FaceNote>& note)
{
    // A long face name must not push the line under the size box; the
    // whole note stays in the tooltip.
    showNote(faceNote_, note ? QString::fromStdString(fillFaceNote(
                                   captionText(faceNoteCaption(note->kind)).toStdString(), *note))
                             : QString());
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
        if (handler)
            connect(control, signal, this, [this, handler] { form_.run(handler); });
    };
    for (const ControlDesign& c : kControls) {
        const Form1::Events events = Form1::eventsOf(c.control);
        QWidget* control = controls_[std::size_t(c.control)];
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            bind(box, &QLineEdit::textChanged, events.change);
            // Enter, or the focus leaving the box.
            bind(box, &QLineEdit::editingFinished, events.editEnded);
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            bind(button, &QPushButton::clicked, events.click);
        } else if (auto* bar = qobject_cast<QSlider*>(control)) {
            connectSliderClick(bar, events.click);
        }
    }
    bind(txtInput_, &InputBox::gotFocus, Form1::eventsOf(Control::txtInput).gotFocus);
    for (QWidget* control : controls_)
        control->installEventFilter(this);
    // Reported and ended as a failure of any event is.
    picSmpl_->onFailure([this](std::exception_ptr failed) { form_.guarded([&] { std::rethrow_exception(failed); }); });
}

void QtForm1View::buildPreviewMenu()
{
    // Keys work anywhere in the window; the menu shows them.
    const auto add = [this](const PreviewMenuItem& item) {
        auto* action = new QAction(captionText(item.caption), picSmpl_);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(QKeySequence(Qt::Key(Qt::Key_F1 + item.functionKey - 1)));
        action->setShortcutContext(Qt::WindowShortcut);
        picSmpl_->addAction(action);
        return action;
    };
    for (PreviewCommand command : form_.previewCommands())
        connect(add(previewMenuItem(command)), &QAction::triggered, this, [this, command] { form_.run(command); });
    auto* separator = new QAction(picSmpl_);
    separator->setSeparator(true);
    picSmpl_->addAction(separator);
    QAction* fit = add(kFitMenuItem);
    fit->setCheckable(true);
    connect(fit, &QAction::toggled, picSmpl_, &PreviewBox::setFitView);
    // After the view changed: a drawing of only what the preview showed
    // is captured whole to be fitted.
    connect(fit, &QAction::toggled, this, [this] { form_.run(&Form1::previewAreaChanged); });
    picSmpl_->setContextMenuPolicy(Qt::ActionsContextMenu);
    picSmpl_->setToolTip(wrappedTip(captionText(kPreviewTip), tipWidth()));
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

bool QtForm1View::dialogKey(QWidget* control, const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
        form_.run(&Form1::cmdCancel_Click);
        return true;
    }
    if ((key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) || (key.modifiers() & ~Qt::KeypadModifier))
        return false;
    // The boxes' own Enter ends their edit (Form1's editEnded).
    if (control == box(TextBox::txtSize) || control == box(TextBox::txtAngle))
        return false;
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        button->click();
        return true;
    }
    form_.run(&Form1::cmdOK_Click);
    return true;
}

bool QtForm1View::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        dialogKey(static_cast<QWidget*>(watched), static_cast<const QKeyEvent&>(*event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

QLineEdit* QtForm1View::box(TextBox box) const
{
    return static_cast<QLineEdit*>(controls_[std::size_t(controlOf(box))]);
}

QSlider* QtForm1View::slider(Slider slider) const
{
    return static_cast<QSlider*>(controls_[std::size_t(controlOf(slider))]);
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

std::optional<DeviceArea> QtForm1View::previewShownArea() const { return picSmpl_->shownArea(); }

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

std::optional<TextStyle> QtForm1View::chooseTextStyle(const TextStyle& preset, bool fontBold)
{
    return TextStyleDialog::ask(this, preset, fontBold);
}

std::optional<double> QtForm1View::chooseToolSize(double presetMm) { return services_.askToolSize(this, presetMm); }

std::optional<SaveSettings> QtForm1View::loadSaveSettings()
{
    if (!settingsFilesAreRegular())
        return std::nullopt;
    QSettings settings;
    settings.beginGroup(QStringLiteral("save"));
    return decodeSaveSettings([&](std::string_view name) -> std::optional<std::string> {
        const QString key = QString::fromLatin1(name.data(), qsizetype(name.size()));
        if (!settings.contains(key))
            return std::nullopt;
        return settings.value(key).toString().toStdString();
    });
}

void QtForm1View::storeSaveSettings(const SaveSettings& chosen)
{
    if (!settingsFilesAreRegular())
        return;
    QSettings settings;
    settings.beginGroup(QStringLiteral("save"));
    encodeSaveSettings(chosen, [&](std::string_view name, std::string_view value) {
        settings.setValue(QString::fromLatin1(name.data(), qsizetype(name.size())),
                          QString::fromUtf8(value.data(), qsizetype(value.size())));
    });
}

std::optional<std::string> QtForm1View::readTextSetting(std::string_view name)
{
    // The load reads them one by one: the files are looked for and read
    // once, not once a name. A write through another object is seen here,
    // since both share the process's copy of the file.
    if (!textSettings_) {
        if (!settingsFilesAreRegular())
            return std::nullopt;
        textSettings_ = std::make_unique<QSettings>();
        textSettings_->beginGroup(QStringLiteral("text"));
    }
    const QString key = QString::fromLatin1(name.data(), qsizetype(name.size()));
    const QVariant value = textSettings_->value(key);
    // Ours are text (numbers too, once set in this process); a value
    // written by another program may be a byte array, a list or a date,
    // which converts to text but was never one of ours.
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        break;
    default:
        return std::nullopt;
    }
    return value.toString().toStdString();
}

void QtForm1View::writeTextSetting(std::string_view name, std::string_view value)
{
    if (!settingsFilesAreRegular())
        return;
    QSettings settings;
    settings.beginGroup(QStringLiteral("text"));
    settings.setValue(QString::fromLatin1(name.data(), qsizetype(name.size())),
                      QString::fromUtf8(value.data(), qsizetype(value.size())));
}

} // namespace lw
