#include "base/failure.hpp"

namespace lw {

std::string_view failureKindText(FailureKind kind)
{
    switch (kind) {
    case FailureKind::FileNotFound: return "File not found";
    case FailureKind::PathNotFound: return "Path not found";
    case FailureKind::PathFileAccess: return "Path/File access error";
    case FailureKind::SubscriptOutOfRange: return "Subscript out of range";
    case FailureKind::TypeMismatch: return "Type mismatch";
    case FailureKind::Overflow: return "Overflow";
    case FailureKind::FloatingPoint: return "Floating-point failure";
    case FailureKind::BrokenInstallation: return "Broken installation";
    case FailureKind::NothingToDraw: return "Nothing to draw";
    case FailureKind::DoesNotFit: return "Does not fit";
    case FailureKind::IslandNotHeld: return "Island not held";
    }
    return "Failure";
}

Failure::Failure(FailureKind kind, std::string where)
    : kind_(kind), where_(std::move(where))
{
    message_ = failureKindText(kind);
    if (!where_.empty()) {
        message_ += ": ";
        message_ += where_;
    }
}

} // namespace lw
