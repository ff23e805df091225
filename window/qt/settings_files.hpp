#pragma once
// Whether the window may use QSettings at all. QSettings opens and reads its
// files as it finds them, at its construction and again when it writes: one
// that is a FIFO or a device would hang the window's start or never end. The
// files are only looked at (stat), never opened, so the answer never blocks.
//
//   if (settingsFilesAreRegular()) { QSettings settings; ... }

#include <QString>
#include <QStringList>

namespace lw {

// The files the application's QSettings reads (user and system, the
// application's file and the organisation's), present or not.
QStringList settingsFiles();

// True when each of settingsFiles() is a regular file (through links) or
// absent; false when one is anything else, and then the remembered values
// are neither read nor written this time.
bool settingsFilesAreRegular();

} // namespace lw
