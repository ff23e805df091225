// Time from an XTest key press to the first X Damage rectangle that meets a
// region of a window, for one window or several taken in turn in blocks (so
// a drift in the machine's load falls on all alike). Keys alternate between
// one kanji (字, on a spare keycode) and BackSpace, so every key changes the
// text and the text ends as it began.
//   keystroke_probe [-w WARMUP] [-b BLOCK] [-v] KEYSTROKES
//                   LABEL WINDOW X Y W H [LABEL WINDOW X Y W H ...]
// X Y W H: the region in the window's own pixels. The first WARMUP keys of
// each window (default 20) and the first two of every block of BLOCK
// (default 20) are not timed. Prints one line per timed keystroke,
// "LABEL kanji|backspace MICROSECONDS"; -v adds the rectangle that ended
// each wait on standard error. Every wait is bounded: a region that is not
// damaged, or a window that never falls quiet, ends the run with status 1.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr KeySym kKanji = 0x1005B57; // 字, a Unicode keysym as xdotool makes them
// No damage for this long counts as quiet; the echo of a key comes within a
// few milliseconds, and every key restarts the cursor's blink (500 ms).
constexpr long kQuietUs = 50'000;
// After a change of focus: the window that lost it is deactivated by Qt some
// 400 ms later (and repaints), so wait past that before the next block.
constexpr long kFocusSettleUs = 600'000;
constexpr long kEchoTimeoutUs = 5'000'000;
constexpr long kQuietTimeoutUs = 10'000'000;
// The first keys of every block are not timed: they pay for the switch of
// focus, which a person typing in one window does not.
constexpr int kBlockWarmup = 2;

struct Target {
    std::string label;
    Window window = 0;
    XRectangle region{};
    Damage damage = 0;
    bool nextIsKanji = true;
    long typed = 0;
    long timed = 0;
};

int xErrors = 0;

int onXError(Display* display, XErrorEvent* error)
{
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "keystroke_probe: X error: %s (request %d)\n", text, error->request_code);
    ++xErrors;
    return 0;
}

long nowUs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1'000'000L + t.tv_nsec / 1000;
}

bool meets(const XRectangle& a, const XRectangle& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

class Probe {
public:
    Probe(Display* display, std::vector<Target>& targets) : display_(display), targets_(targets) {}

    bool start()
    {
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
            std::fprintf(stderr, "keystroke_probe: the server has no XTest\n");
            return false;
        }
        if (!XDamageQueryExtension(display_, &damageEvent_, &error)) {
            std::fprintf(stderr, "keystroke_probe: the server has no Damage\n");
            return false;
        }
        XDamageQueryVersion(display_, &major, &minor);
        // Takes the keyboard even if a client grabs it, so a grab shows as a
        // timeout rather than keys typed into the wrong window.
        XTestGrabControl(display_, True);
        for (Target& t : targets_)
            t.damage = XDamageCreate(display_, t.window, XDamageReportRawRectangles);
        backspace_ = XKeysymToKeycode(display_, XK_BackSpace);
        XSync(display_, False);
        return xErrors == 0 && backspace_ != 0 && mapKanji();
    }

    // The keycode goes back to no symbol; the Damage objects die with the
    // connection.
    void finish()
    {
        if (kanji_ == 0)
            return;
        std::vector<KeySym> none(std::size_t(perKeycode_), NoSymbol);
        XChangeKeyboardMapping(display_, kanji_, perKeycode_, none.data(), 1);
        XSync(display_, False);
    }

    // Focuses the target and waits until every target has been still.
    bool focus(Target& t)
    {
        XSetInputFocus(display_, t.window, RevertToPointerRoot, CurrentTime);
        XFlush(display_);
        const long settled = nowUs() + kFocusSettleUs;
        while (nowUs() < settled)
            if (!drainUntil(settled))
                return false;
        return quiet();
    }

    // One key: -1 on failure, else microseconds from the press to the first
    // damage of the region.
    long keystroke(Target& t, bool verbose)
    {
        if (!quiet())
            return -1;
        const KeyCode key = t.nextIsKanji ? kanji_ : backspace_;
        const long pressed = nowUs();
        XTestFakeKeyEvent(display_, key, True, CurrentTime);
        XTestFakeKeyEvent(display_, key, False, CurrentTime);
        XFlush(display_);
        const long deadline = pressed + kEchoTimeoutUs;
        XEvent event;
        while (next(event, deadline)) {
            if (event.type != damageEvent_ + XDamageNotify)
                continue;
            const auto& notice = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (notice.damage != t.damage || !meets(notice.area, t.region))
                continue;
            const long echoed = nowUs();
            if (verbose)
                std::fprintf(stderr, "%s %s: %d,%d %ux%u\n", t.label.c_str(),
                             t.nextIsKanji ? "kanji" : "backspace", notice.area.x, notice.area.y,
                             notice.area.width, notice.area.height);
            t.nextIsKanji = !t.nextIsKanji;
            ++t.typed;
            return echoed - pressed;
        }
        std::fprintf(stderr, "keystroke_probe: %s: no damage of the region within %ld ms after %s\n",
                     t.label.c_str(), kEchoTimeoutUs / 1000, t.nextIsKanji ? "the kanji" : "BackSpace");
        return -1;
    }

private:
    // A spare keycode (no symbol at all) for the kanji, as xdotool does.
    bool mapKanji()
    {
        int low = 0, high = 0;
        XDisplayKeycodes(display_, &low, &high);
        KeySym* map = XGetKeyboardMapping(display_, KeyCode(low), high - low + 1, &perKeycode_);
        if (!map)
            return false;
        for (int code = high; code >= low && kanji_ == 0; --code) {
            bool empty = true;
            for (int i = 0; i < perKeycode_; ++i)
                empty = empty && map[(code - low) * perKeycode_ + i] == NoSymbol;
            if (empty)
                kanji_ = KeyCode(code);
        }
        XFree(map);
        if (kanji_ == 0) {
            std::fprintf(stderr, "keystroke_probe: no spare keycode\n");
            return false;
        }
        std::vector<KeySym> syms(std::size_t(perKeycode_), kKanji);
        XChangeKeyboardMapping(display_, kanji_, perKeycode_, syms.data(), 1);
        XSync(display_, False);
        return xErrors == 0;
    }

    // The next event before the deadline; false once it has passed.
    bool next(XEvent& event, long deadline)
    {
        while (!XPending(display_)) {
            const long left = deadline - nowUs();
            if (left <= 0)
                return false;
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            const timespec wait{left / 1'000'000, (left % 1'000'000) * 1000};
            ppoll(&fd, 1, &wait, nullptr);
        }
        XNextEvent(display_, &event);
        return true;
    }

    // Reads events until the deadline; false on an X error.
    bool drainUntil(long deadline)
    {
        XEvent event;
        while (next(event, deadline)) {
        }
        return xErrors == 0;
    }

    // Waits until no target has been damaged for kQuietUs.
    bool quiet()
    {
        const long giveUp = nowUs() + kQuietTimeoutUs;
        long still = nowUs() + kQuietUs;
        XEvent event;
        for (;;) {
            if (!next(event, std::min(still, giveUp)))
                break;
            if (event.type == damageEvent_ + XDamageNotify)
                still = nowUs() + kQuietUs;
        }
        if (nowUs() < still) {
            std::fprintf(stderr, "keystroke_probe: the windows did not fall quiet within %ld s\n",
                         kQuietTimeoutUs / 1'000'000);
            return false;
        }
        return xErrors == 0;
    }

    Display* display_;
    std::vector<Target>& targets_;
    int damageEvent_ = 0;
    KeyCode backspace_ = 0;
    KeyCode kanji_ = 0;
    int perKeycode_ = 0;
};

int usage()
{
    std::fprintf(stderr, "usage: keystroke_probe [-w WARMUP] [-b BLOCK] [-v] KEYSTROKES "
                         "LABEL WINDOW X Y W H [LABEL WINDOW X Y W H ...]\n");
    return 2;
}

bool number(const char* text, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 0);
    return *text != '\0' && *end == '\0';
}

} // namespace

int main(int argc, char** argv)
{
    long warmup = 20, block = 20;
    bool verbose = false;
    int opt = 0;
    while ((opt = getopt(argc, argv, "w:b:v")) != -1) {
        if (opt == 'w' && number(optarg, warmup) && warmup >= 0)
            continue;
        if (opt == 'b' && number(optarg, block) && block > kBlockWarmup)
            continue;
        if (opt == 'v') {
            verbose = true;
            continue;
        }
        return usage();
    }
    long keystrokes = 0;
    if (argc - optind < 7 || (argc - optind - 1) % 6 != 0 || !number(argv[optind], keystrokes) || keystrokes < 1)
        return usage();
    // Even counts, so that every window's text ends as it began.
    keystrokes += keystrokes % 2;
    warmup += warmup % 2;
    block += block % 2;

    std::vector<Target> targets;
    for (int i = optind + 1; i < argc; i += 6) {
        long window = 0, x = 0, y = 0, w = 0, h = 0;
        if (!number(argv[i + 1], window) || !number(argv[i + 2], x) || !number(argv[i + 3], y) ||
            !number(argv[i + 4], w) || !number(argv[i + 5], h) || w < 1 || h < 1)
            return usage();
        targets.push_back({argv[i], Window(window), {short(x), short(y), static_cast<unsigned short>(w), static_cast<unsigned short>(h)}});
    }

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "keystroke_probe: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(onXError);
    Probe probe(display, targets);
    bool ok = probe.start();
    // Blocks of keys, window after window, until each has had its timed
    // keys. The counts are even, so the keys of every block come in pairs.
    bool more = true;
    while (ok && more) {
        more = false;
        for (Target& t : targets) {
            if (t.timed >= keystrokes)
                continue;
            more = true;
            if (!(ok = probe.focus(t)))
                break;
            for (long k = 0; k < block && t.timed < keystrokes && ok; ++k) {
                const bool untimed = t.typed < warmup || k < kBlockWarmup;
                const char* key = t.nextIsKanji ? "kanji" : "backspace";
                const long us = probe.keystroke(t, verbose);
                ok = us >= 0;
                if (ok && !untimed) {
                    std::printf("%s %s %ld\n", t.label.c_str(), key, us);
                    ++t.timed;
                }
            }
        }
    }
    probe.finish();
    std::fflush(stdout);
    XCloseDisplay(display);
    return ok && xErrors == 0 ? 0 : 1;
}
