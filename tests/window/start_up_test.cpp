// The program's start: each process argument is one word, as the host passed
// it, and the window loads from those words.

#include "platform/process.hpp"
#include "stub_services.hpp"
#include "window/qt/app.hpp"
#include "window/qt/form1_view.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>

#include <fstream>

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void eachArgumentIsOneWord()
    {
        // A path with blanks arrives whole.
        const char* argv[] = {"/opt/Letterwire", "JW", "", "/x/my cmd.txt", "/x/out.txt"};
        QCOMPARE(lw::commandLineArguments(5, argv), (std::vector<std::string>{"JW", "", "/x/my cmd.txt", "/x/out.txt"}));
        QCOMPARE(lw::commandLineArguments(1, argv), std::vector<std::string>{});

        QTemporaryDir dir;
        const std::string command = dir.filePath("my cmd.txt").toStdString();
        std::ofstream(command) << "hq\r\n";
        const std::string output = dir.filePath("out put.txt").toStdString();
        const char* real[] = {"/opt/Letterwire", "jw", command.c_str(), output.c_str()};
        StubServices services;
        lw::QtForm1View window(services);
        window.load(lw::commandLineArguments(4, real));
        QCOMPARE(window.form().inputPath(), command);
        QCOMPARE(window.form().outputPath(), output);
        // The size box shows the font's size; writing it ran its handler once.
        QCOMPARE(window.findChild<QLineEdit*>("txtSize")->text(), QString("24"));
        QCOMPARE(window.form().redrawCount(), 2);
        QVERIFY(services.endings.empty());
    }

    // The design's Japanese captions for Japanese users, with Qt's
    // own dialogs in Japanese; English ones for everyone else. Title and
    // messages stay. (Japanese first: translators stack in the process.)
    void captionsByLanguage_data()
    {
        QTest::addColumn<QLocale::Language>("language");
        QTest::addColumn<QStringList>("captions"); // Label1, Label2, cmdFont, cmdCancel, the title
        QTest::newRow("Japanese") << QLocale::Japanese
                                  << QStringList{QString::fromUtf8("サイズ"), QString::fromUtf8("傾き"),
                                                 QString::fromUtf8("フォント..."), QString::fromUtf8("キャンセル"),
                                                 QString::fromUtf8("アウトラインフォント書きこみ")};
        QTest::newRow("English") << QLocale::English
                                 << QStringList{"Size", "Angle", "Font...", "Cancel", "Outline Font Writer"};
    }
    void captionsByLanguage()
    {
        QFETCH(QLocale::Language, language);
        QFETCH(QStringList, captions);
        lw::installTranslations(*QCoreApplication::instance(), QLocale(language));
        StubServices services;
        lw::QtForm1View window(services);
        window.load({});
        const QStringList shown{window.findChild<QLabel*>("Label1")->text(), window.findChild<QLabel*>("Label2")->text(),
                                window.findChild<QPushButton*>("cmdFont")->text(),
                                window.findChild<QPushButton*>("cmdCancel")->text(), window.windowTitle()};
        QCOMPARE(shown, captions);
        if (language == QLocale::Japanese) // Qt's own buttons, as its dialogs show them
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("キャンセル"));
    }
};

LW_WINDOW_TEST_MAIN(StartUpTest)
#include "start_up_test.moc"
