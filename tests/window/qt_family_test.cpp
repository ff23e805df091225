// The family the window names to Qt: a usual Japanese Windows name as the IPA
// face the font rules send it to, everything else untouched; either way Qt
// shows the same face it showed for the name itself.

#include "platform/freetype/font_rules.hpp"
#include "window/qt/qt_family.hpp"

#include <QFontInfo>
#include <QGuiApplication>
#include <QTest>

class QtFamilyTest : public QObject {
    Q_OBJECT
private slots:
    void namedAsTheFaceFontconfigPicks_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("named");
        QTest::newRow("the design's face") << QString::fromUtf8("ＭＳ Ｐゴシック") << "IPAPGothic";
        QTest::newRow("a Latin Windows name") << "MS Mincho" << "IPAMincho";
        QTest::newRow("a UI face") << "Meiryo UI" << "IPAPGothic";
        QTest::newRow("an installed face") << "IPAMincho" << "IPAMincho";
        // Fontconfig would match these too; Qt resolves them as before.
        QTest::newRow("another case") << "ms pgothic" << "ms pgothic";
        QTest::newRow("vertical writing") << QString::fromUtf8("@ＭＳ Ｐゴシック") << QString::fromUtf8("@ＭＳ Ｐゴシック");
        QTest::newRow("unknown") << "No Such Face" << "No Such Face";
        QTest::newRow("empty") << "" << "";
    }
    void namedAsTheFaceFontconfigPicks()
    {
        QFETCH(QString, face);
        QFETCH(QString, named);
        const QString family = lw::qtFamily(face.toStdString());
        QCOMPARE(family, named);
        for (const qreal points : {9.75, 24.0}) {
            QFont asked(face), given(family);
            asked.setPointSizeF(points);
            given.setPointSizeF(points);
            QCOMPARE(QFontInfo(given).family(), QFontInfo(asked).family());
        }
    }
};

int main(int argc, char** argv)
{
    // As the program does: the rules before Qt reads its font list.
    lw::installFontRules();
    QGuiApplication app(argc, argv);
    QtFamilyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "qt_family_test.moc"
