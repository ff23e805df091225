#include "window/qt/background_job.hpp"

#include <pthread.h>
#include <sched.h>

#include <system_error>
#include <utility>

namespace lw {
namespace {

std::exception_ptr attempt(const std::function<void()>& work) noexcept
{
    try {
        work();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

} // namespace

BackgroundJob::~BackgroundJob()
{
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void BackgroundJob::start(std::function<void()> work)
{
    std::unique_lock lock(mutex_);
    settle(lock);
    work_ = std::move(work);
    busy_ = true;
    if (!thread_.joinable()) {
        // The first piece runs here: a window's first drawing would pay
        // for the thread's start out of start-up's time.
        bool here = !std::exchange(begun_, true);
        if (!here) {
            try {
                thread_ = std::thread(&BackgroundJob::run, this);
            } catch (const std::system_error&) {
                here = true; // out of threads: slower, but the same pixels
            }
        }
        if (here) {
            runPiece(lock);
            return;
        }
    }
    lock.unlock();
    changed_.notify_all();
}

void BackgroundJob::wait()
{
    std::unique_lock lock(mutex_);
    settle(lock);
}

std::exception_ptr BackgroundJob::takeFailure()
{
    std::unique_lock lock(mutex_);
    settle(lock);
    return std::exchange(failure_, nullptr);
}

void BackgroundJob::settle(std::unique_lock<std::mutex>& lock)
{
    // Not begun yet: waking the thread can take longer than the piece (on a
    // virtual machine especially), and the caller would only wait for it.
    if (work_)
        runPiece(lock);
    else
        changed_.wait(lock, [this] { return !busy_; });
}

void BackgroundJob::runPiece(std::unique_lock<std::mutex>& lock)
{
    std::function<void()> work = std::exchange(work_, nullptr);
    lock.unlock();
    std::exception_ptr failed = attempt(work);
    // What the piece holds goes before the caller may touch it again.
    work = nullptr;
    lock.lock();
    if (failed && !failure_)
        failure_ = std::move(failed);
    busy_ = false;
    changed_.notify_all();
}

void BackgroundJob::run()
{
#ifdef SCHED_BATCH
    // Woken as an ordinary thread, Linux would often run a piece at once on
    // the CPU of the thread that handed it over, and the two would take
    // turns there instead of overlapping. A batch thread waits for a CPU.
    sched_param none{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &none);
#endif
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return work_ || ending_; });
        if (!work_)
            return;
        runPiece(lock);
    }
}

} // namespace lw
