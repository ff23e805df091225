#include "window/qt/app.hpp"

#include "platform/freetype/font_rules.hpp"
#include "window/qt/form1_view.hpp"
#include "window/qt/services.hpp"

#include <QApplication>

namespace lw {

std::vector<std::string> argumentWords(int argc, const char* const* argv)
{
    if (argc < 1)
        return {};
    return {argv + 1, argv + argc};
}

int runLetterwire(int argc, char** argv, const std::function<void(QtForm1View&)>& shown)
{
    // The rules must be in fontconfig before Qt builds its font list, so the
    // window shows the same faces the outline engine draws with.
    installFontRules();
    const std::vector<std::string> words = argumentWords(argc, argv);
    // The command line belongs to the host: Qt sees only the program name, so
    // no path is ever taken for one of Qt's own options.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QtServices services;
    QtForm1View window(services);
    window.form().load(words);
    window.show();
    if (shown)
        shown(window);
    return app.exec();
}

} // namespace lw
