// Window load: run mode and paths from the argument text, then the first preview.

#include "stub_services.hpp"
#include "window/app.hpp"
#include "window/form1.hpp"
#include "window/guard.hpp"

#include <QLineEdit>
#include <QSlider>

using lw::Form1;

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void argumentsMakeModeAndPaths_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("none") << "" << "" << "" << "";
        QTest::newRow("JW alone is one word") << "JW" << "" << "" << "";
        QTest::newRow("WIT alone is one word") << "WIT" << "" << "" << "";
        QTest::newRow("wit upper-cased") << "wit C:\\out.txt" << "WIT" << "" << "C:\\out.txt";
        QTest::newRow("extra words ignored") << "jw a.txt b.txt c.txt" << "JW" << "a.txt" << "b.txt";
        QTest::newRow("two spaces make an empty word") << "JW  a.txt b.txt" << "JW" << "" << "a.txt";
        QTest::newRow("trailing space makes an empty path") << "JW a.txt " << "JW" << "a.txt" << "";
        QTest::newRow("other mode is preview only") << "abc def" << "ABC" << "" << "";
        QTest::newRow("quotes stay, paths cut at blanks") << "WIT \"a b\"" << "WIT" << "" << "\"a";
    }
    void argumentsMakeModeAndPaths()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, mode);
        QFETCH(QString, input);
        QFETCH(QString, output);
        StubServices services;
        Form1 form(services);
        form.load(arguments.toStdString());
        QCOMPARE(QString::fromStdString(form.runMode()), mode);
        QCOMPARE(QString::fromStdString(form.inputPath()), input);
        QCOMPARE(QString::fromStdString(form.outputPath()), output);
        QVERIFY(services.endings.empty());
        // The size box's change handler draws, then the load draws once more.
        QCOMPARE(form.redrawCount(), 2);
        QCOMPARE(form.findChild<QLineEdit*>("txtSize")->text(), QString("24"));
        QCOMPARE(form.findChild<QSlider*>("sldSize")->value(), 24);
        QCOMPARE(form.windowFont().size, 24.0f);
        QVERIFY(form.capturedOutline().pointCount > 0);
    }

    void jwWithoutOutputPathFailsBeforeAnyDrawing()
    {
        StubServices services;
        Form1 form(services);
        form.load("JW a.txt");
        QCOMPARE(services.endings, std::vector<int>{lw::kFailureExitStatus});
        QCOMPARE(services.messages.size(), 1u);
        QVERIFY(services.messages[0].text.startsWith("Subscript out of range"));
        QCOMPARE(services.messages[0].caption, QString("Letterwire"));
        QCOMPARE(form.inputPath(), std::string("a.txt"));
        QCOMPARE(form.redrawCount(), 0);
    }

    void argumentTextJoinsWithSingleBlanks()
    {
        const char* argv[] = {"/opt/Letterwire", "JW", "", "a b.txt", "out.txt"};
        QCOMPARE(lw::argumentText(5, argv), std::string("JW  a b.txt out.txt"));
        QCOMPARE(lw::argumentText(1, argv), std::string());
    }
};

LW_WINDOW_TEST_MAIN(StartUpTest)
#include "start_up_test.moc"
