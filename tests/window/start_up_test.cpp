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
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

    // A settings file that is no regular file (a FIFO no one writes to)
    // neither hangs the start nor is replaced: the window starts from the
    // design and leaves it as it was. Each of the places QSettings reads.
    void settingsFileNotRegular_data()
    {
        QTest::addColumn<QString>("where"); // under the user's or the system's folder
        QTest::newRow("the application's file") << "user/Letterwire/Letterwire.conf";
        QTest::newRow("the organisation's file") << "user/Letterwire.conf";
        QTest::newRow("the system's file") << "system/Letterwire/Letterwire.conf";
    }
    void settingsFileNotRegular()
    {
        QFETCH(QString, where);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("user/Letterwire") && QDir(dir.path()).mkpath("system/Letterwire"));
        const QByteArray fifo = QFile::encodeName(dir.filePath(where));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        const QByteArray oldHome = qgetenv("XDG_CONFIG_HOME"), oldDirs = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("user")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath("system")));
        // The program's own names, which name the files (runLetterwire sets them).
        const QString oldOrganization = QCoreApplication::organizationName();
        const QString oldApplication = QCoreApplication::applicationName();
        QCoreApplication::setOrganizationName(QStringLiteral("Letterwire"));
        QCoreApplication::setApplicationName(QStringLiteral("Letterwire"));
        // Past the deadline a writer opens and closes the FIFO, so a reader
        // stuck on it goes on and the test fails instead of hanging.
        std::mutex mutex;
        std::condition_variable done;
        bool loaded = false, stuck = false;
        std::thread watchdog([&] {
            std::unique_lock lock(mutex);
            if (done.wait_for(lock, std::chrono::seconds(30), [&] { return loaded; }))
                return;
            stuck = true;
            while (!loaded) {
                if (const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                    ::close(fd);
                done.wait_for(lock, std::chrono::milliseconds(100), [&] { return loaded; });
            }
        });
        {
            StubServices services;
            lw::QtForm1View window(services);
            window.load({});
            // A change is remembered at once: writing must not wait either.
            QLineEdit* size = window.findChild<QLineEdit*>("txtSize");
            size->setText("30");
            QTest::keyClick(size, Qt::Key_Return);
            QCOMPARE(window.form().windowFont().faceName, lw::WindowFont{}.faceName);
        }
        {
            std::lock_guard lock(mutex);
            loaded = true;
        }
        done.notify_all();
        watchdog.join();
        qputenv("XDG_CONFIG_HOME", oldHome);
        qputenv("XDG_CONFIG_DIRS", oldDirs);
        QCoreApplication::setOrganizationName(oldOrganization);
        QCoreApplication::setApplicationName(oldApplication);
        QVERIFY2(!stuck, "the window waited on a FIFO as its settings file");
        struct stat status {};
        QVERIFY(::lstat(fifo.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
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
