// The program's start: each process argument is one word, as the host passed
// it, and the window loads from those words.

#include "stub_services.hpp"
#include "window/qt/app.hpp"
#include "window/qt/form1_view.hpp"

#include <QLineEdit>
#include <QTemporaryDir>

#include <fstream>

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void eachArgumentIsOneWord()
    {
        // Mended: a path with blanks is no longer cut at them.
        const char* argv[] = {"/opt/Letterwire", "JW", "", "/x/my cmd.txt", "/x/out.txt"};
        QCOMPARE(lw::argumentWords(5, argv), (std::vector<std::string>{"JW", "", "/x/my cmd.txt", "/x/out.txt"}));
        QCOMPARE(lw::argumentWords(1, argv), std::vector<std::string>{});

        QTemporaryDir dir;
        const std::string command = dir.filePath("my cmd.txt").toStdString();
        std::ofstream(command) << "hq\r\n";
        const std::string output = dir.filePath("out put.txt").toStdString();
        const char* real[] = {"/opt/Letterwire", "jw", command.c_str(), output.c_str()};
        StubServices services;
        lw::QtForm1View window(services);
        window.load(lw::argumentWords(4, real));
        QCOMPARE(window.form().inputPath(), command);
        QCOMPARE(window.form().outputPath(), output);
        // The size box shows the font's size; writing it ran its handler once.
        QCOMPARE(window.findChild<QLineEdit*>("txtSize")->text(), QString("24"));
        QCOMPARE(window.form().redrawCount(), 2);
        QVERIFY(services.endings.empty());
    }
};

LW_WINDOW_TEST_MAIN(StartUpTest)
#include "start_up_test.moc"
