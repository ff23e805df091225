#include "window/qt/qt_family.hpp"

#include "platform/freetype/font_rules.hpp"

#include <QFontDatabase>
#include <QStringList>

namespace lw {

QString qtFamily(std::string_view face)
{
    const QString asked = QString::fromUtf8(face.data(), qsizetype(face.size()));
    const char* standIn = standInFamily(face);
    if (!standIn)
        return asked;
    // Only where fontconfig's answer is sure: the stand-in is installed and
    // no face of the asked name is.
    static const QStringList families = QFontDatabase::families();
    const QString used = QString::fromLatin1(standIn);
    if (families.contains(used, Qt::CaseInsensitive) && !families.contains(asked, Qt::CaseInsensitive))
        return used;
    return asked;
}

} // namespace lw
