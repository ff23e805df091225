#pragma once
// The one way a failure is reported: an exception carrying its kind, one of
// a fixed set with fixed words, and a message that says where it happened.
//
//   throw Failure(FailureKind::SubscriptOutOfRange, "cmd.txt, line 3, word \"hp1\"");
//   // what(): "Subscript out of range: cmd.txt, line 3, word "hp1""

#include <exception>
#include <string>
#include <string_view>

namespace lw {

enum class FailureKind {
    FileNotFound,
    PathNotFound,
    PathFileAccess,
    SubscriptOutOfRange,
    TypeMismatch,
    Overflow,
    FloatingPoint,
    // The program cannot work at all on this machine (no font engine, no
    // scalable font installed): reported like every other failure, never
    // caught on the way.
    BrokenInstallation,
    // The options leave nothing to draw (an inward offset thinner strokes
    // cannot take): an empty file would pass for a drawing.
    NothingToDraw,
    // The drawing does not lie on the page the options choose: the user
    // chooses again, as with a bad option; nothing is written.
    DoesNotFit,
    // A stencil whose bridges cannot hold every island: the islands would
    // fall out of a drawing that looks like a stencil; nothing is written.
    IslandNotHeld,
};

// The fixed words of a failure kind, the start of every report
// ("Subscript out of range").
std::string_view failureKindText(FailureKind kind);

class Failure : public std::exception {
public:
    Failure(FailureKind kind, std::string where);

    FailureKind kind() const noexcept { return kind_; }
    // Where it happened (file, line, word), without the kind.
    const std::string& where() const noexcept { return where_; }
    // "<kind text>: <where>", or the kind text alone when nothing says where.
    const char* what() const noexcept override { return message_.c_str(); }

private:
    FailureKind kind_;
    std::string where_;
    std::string message_;
};

} // namespace lw
