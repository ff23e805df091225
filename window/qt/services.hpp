#pragma once
// What the window asks of the person in front of it and of the process: the
// font dialog, the message box and ending the program. Behind an interface
// so that tests can answer the dialogs and watch the program end.

#include "outline/window_font.hpp"

#include <optional>

class QString;
class QWidget;

namespace lw {

class Services {
public:
    virtual ~Services() = default;
    // Shows the font dialog modally, preset with `preset`; returns the choice,
    // or `preset` unchanged when the user cancels.
    virtual WindowFont chooseFont(QWidget* parent, const WindowFont& preset) = 0;
    // A modal message box with one OK button and no icon.
    virtual void showMessage(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Asks for a tool's width in millimetres, preset with `presetMm`: the
    // width, or nothing when the user cancels.
    virtual std::optional<double> askToolSize(QWidget* parent, double presetMm)
    {
        (void)parent;
        (void)presetMm;
        return std::nullopt;
    }
    // Ends the process at once: no further handler runs.
    virtual void endProgram(int status) = 0;
};

// The real dialogs, and an end that skips every destructor and handler.
class QtServices final : public Services {
public:
    WindowFont chooseFont(QWidget* parent, const WindowFont& preset) override;
    void showMessage(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<double> askToolSize(QWidget* parent, double presetMm) override;
    [[noreturn]] void endProgram(int status) override;
};

} // namespace lw
