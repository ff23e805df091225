#include "window/qt/settings_files.hpp"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace lw {

QStringList settingsFiles()
{
    // The folders QSettings takes its INI files from on Unix: the user's
    // configuration folder first, then the system's (the XDG list and Qt's
    // own settings path). A folder named twice is looked at twice, harmlessly.
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders.prepend(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    folders.append(QLibraryInfo::path(QLibraryInfo::SettingsPath));
    const QString organization = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QStringList files;
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        files.append(folder + u'/' + organization + u'/' + application + QStringLiteral(".conf"));
        files.append(folder + u'/' + organization + QStringLiteral(".conf"));
    }
    return files;
}

bool settingsFilesAreRegular()
{
    for (const QString& file : settingsFiles()) {
        struct stat status {};
        // A file that cannot be looked at cannot be opened either: QSettings
        // then reads nothing from it, without waiting.
        if (::stat(QFile::encodeName(file).constData(), &status) == 0 && !S_ISREG(status.st_mode))
            return false;
    }
    return true;
}

} // namespace lw
