#include "window/qt/app.hpp"

#include "platform/process.hpp"

#include "platform/freetype/font_rules.hpp"
#include "window/qt/caption_translator.hpp"
#include "window/qt/form1_view.hpp"
#include "window/qt/services.hpp"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace lw {
namespace {

constexpr const char* kNoDisplayTail = "; letterwire-cli works without one.\n";

// Qt ends the process with its own abort and a page of advice when no
// platform plugin starts; the user gets one line and status 1 instead. What
// Qt says meanwhile is held, and passed on only if the start goes well.
struct StartUpMessages {
    static inline QtMessageHandler previous = nullptr;
    static inline std::vector<std::pair<QtMsgType, QString>>* held = nullptr;

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtFatalMsg) {
            const QByteArray display = qgetenv("DISPLAY");
            std::fprintf(stderr, "Letterwire: no display could be opened (DISPLAY=%s)%s",
                         display.isEmpty() ? "" : display.constData(), kNoDisplayTail);
            std::fflush(stderr);
            std::_Exit(kFailureExitStatus);
        }
        if (held)
            held->emplace_back(type, text);
        else if (previous)
            previous(type, context, text);
    }
};

// The platform Qt would take on Linux needs a display server; without one
// named anywhere, say so before Qt tries.
bool noDisplayNamed()
{
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
           && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

void installTranslations(QCoreApplication& app, const QLocale& locale)
{
    if (locale.language() != QLocale::Japanese) {
        // Qt's own dialogs are English already.
        QCoreApplication::installTranslator(new CaptionTranslator(&app));
        return;
    }
    // The captions are the design's own; Qt's dialogs speak Japanese too.
    auto* translator = new QTranslator(&app);
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

int runLetterwire(int argc, char** argv, const std::function<void(QtForm1View&)>& shown)
{
    if (noDisplayNamed()) {
        std::fprintf(stderr, "Letterwire: no display found (DISPLAY is not set)%s", kNoDisplayTail);
        return kFailureExitStatus;
    }
    // The rules must be in fontconfig before Qt builds its font list, so the
    // window shows the same faces the outline engine draws with.
    installFontRules();
    const std::vector<std::string> words = commandLineArguments(argc, argv);
    // The command line belongs to the host: Qt sees only the program name, so
    // no path is ever taken for one of Qt's own options.
    // Where QSettings keeps the save dialog's choice (~/.config/Letterwire).
    QCoreApplication::setOrganizationName(QStringLiteral("Letterwire"));
    QCoreApplication::setApplicationName(QStringLiteral("Letterwire"));
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    std::vector<std::pair<QtMsgType, QString>> held;
    StartUpMessages::held = &held;
    StartUpMessages::previous = qInstallMessageHandler(StartUpMessages::handle);
    QApplication app(qtArgc, qtArgv);
    qInstallMessageHandler(StartUpMessages::previous);
    StartUpMessages::held = nullptr;
    if (StartUpMessages::previous)
        for (const auto& [type, text] : held)
            StartUpMessages::previous(type, QMessageLogContext(), text);
    installTranslations(app, QLocale());
    QtServices services;
    QtForm1View window(services);
    window.load(words);
    window.show();
    if (shown)
        shown(window);
    return app.exec();
}

} // namespace lw
