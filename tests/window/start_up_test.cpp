// The program's start: each process argument is one word, as the host passed
// it, and the window loads from those words.

#include "stub_services.hpp"
#include "window/qt/app.hpp"
#include "window/qt/form1_view.hpp"

#include <QLineEdit>

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void eachArgumentIsOneWord()
    {
        // Mended: a path with blanks is no longer cut at them.
        const char* argv[] = {"/opt/Letterwire", "JW", "", "/x/my cmd.txt", "/x/out.txt"};
        QCOMPARE(lw::argumentWords(5, argv), (std::vector<std::string>{"JW", "", "/x/my cmd.txt", "/x/out.txt"}));
        QCOMPARE(lw::argumentWords(1, argv), std::vector<std::string>{});

        StubServices services;
        lw::QtForm1View window(services);
        window.form().load(lw::argumentWords(5, argv));
        QCOMPARE(window.form().inputPath(), std::string());
        QCOMPARE(window.form().outputPath(), std::string("/x/my cmd.txt"));
        // The size box shows the font's size; writing it ran its handler once.
        QCOMPARE(window.findChild<QLineEdit*>("txtSize")->text(), QString("24"));
        QCOMPARE(window.form().redrawCount(), 2);
        QVERIFY(services.endings.empty());
    }
};

LW_WINDOW_TEST_MAIN(StartUpTest)
#include "start_up_test.moc"
