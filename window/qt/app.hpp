#pragma once
// The program's start, shared by main() and the start-up benchmark.

#include <functional>
#include <string>
#include <vector>

class QCoreApplication;
class QLocale;

namespace lw {

class QtForm1View;

// The captions for `locale`: the design's Japanese ones with Qt's dialogs in
// Japanese for Japanese users, English ones (and Qt's own English) for
// everyone else. The window title and the messages stay as designed.
void installTranslations(QCoreApplication& app, const QLocale& locale);

// Without a display, one line and status 1. Otherwise installs the font
// rules, makes the application and the window, loads and
// shows it, calls `shown` (if any) and runs the event loop.
int runLetterwire(int argc, char** argv, const std::function<void(QtForm1View&)>& shown = {});

} // namespace lw
