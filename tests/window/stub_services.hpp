#pragma once
// Answers the window's dialogs and records how the program would have ended.

#include "platform/freetype/font_rules.hpp"
#include "window/qt/services.hpp"

#include <QApplication>
#include <QString>
#include <QTest>

#include <functional>
#include <vector>

struct StubServices final : lw::Services {
    struct Message {
        QString caption;
        QString text;
    };
    // The dialog's answer; by default the user cancels.
    std::function<lw::WindowFont(const lw::WindowFont&)> answerFont = [](const lw::WindowFont& preset) {
        return preset;
    };
    std::vector<Message> messages;
    std::vector<int> endings;

    lw::WindowFont chooseFont(QWidget*, const lw::WindowFont& preset) override
    {
        return answerFont(preset);
    }
    void showMessage(QWidget*, const QString& caption, const QString& text) override
    {
        messages.push_back({caption, text});
    }
    void endProgram(int status) override { endings.push_back(status); }
};

// The font rules go in before the application, as in the program's own main.
#define LW_WINDOW_TEST_MAIN(TestClass)                                                            \
    int main(int argc, char** argv)                                                               \
    {                                                                                             \
        lw::installFontRules();                                                                   \
        QApplication app(argc, argv);                                                             \
        TestClass test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                   \
    }
