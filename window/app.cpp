#include "window/app.hpp"

#include "platform/freetype/font_rules.hpp"
#include "window/form1.hpp"
#include "window/services.hpp"

#include <QApplication>

namespace lw {

std::string argumentText(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            text += ' ';
        text += argv[i];
    }
    return text;
}

int runLetterwire(int argc, char** argv, const std::function<void(Form1&)>& shown)
{
    // The rules must be in fontconfig before Qt builds its font list, so the
    // window shows the same faces the outline engine draws with.
    installFontRules();
    const std::string arguments = argumentText(argc, argv);
    // The command line belongs to the host: Qt sees only the program name, so
    // no path is ever taken for one of Qt's own options.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QtServices services;
    Form1 form(services);
    form.load(arguments);
    form.show();
    if (shown)
        shown(form);
    return app.exec();
}

} // namespace lw
