#pragma once
// Every handler runs inside this guard: a failure that nothing caught is
// reported (message box and standard error) and ends the program with a
// non-zero status, so no exception ever crosses Qt's event loop.

#include "base/failure.hpp"
#include "window/services.hpp"

#include <new>

namespace lw {

inline constexpr int kFailureExitStatus = 1;

// Shows `text` to the user and on standard error, then ends the program.
void reportUncaught(Services& services, QWidget* parent, const char* text) noexcept;

template <class Body>
void guarded(Services& services, QWidget* parent, Body&& body) noexcept
{
    try {
        body();
    } catch (const Failure& failure) {
        reportUncaught(services, parent, failure.what());
    } catch (const std::bad_alloc&) {
        reportUncaught(services, parent, "Out of memory");
    } catch (...) {
        reportUncaught(services, parent, "Unknown failure");
    }
}

} // namespace lw
