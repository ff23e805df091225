#pragma once
// A settings folder of the process's own, made before the application: the
// window remembers its size and face between runs, and a size left by an
// earlier run (a keystroke bench at 144 pt) would change what is measured.

#include "platform/freetype/font_rules.hpp"

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

// Keep the returned folder alive as long as the application.
inline QTemporaryDir& useOwnSettings()
{
    static QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    return folder;
}

// What the window benches set up before their application: offscreen unless
// a platform is named (under Xvfb, xcb takes in the flush to the X server as
// well), a settings folder of their own, and the font rules.
inline void prepareWindowBench()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    useOwnSettings();
    lw::installFontRules();
}
