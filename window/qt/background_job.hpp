#pragma once
// One piece of work at a time on a thread of its own, while the caller goes
// on: the preview fills its changed band on the machine's other core while
// Qt paints the text box. The first piece runs in start() itself; the
// thread starts with the second and ends with the object, after the piece
// it was given last.
//
//   BackgroundJob job;
//   job.start([&] { fill(pixels); });
//   ...                           // the caller's own work, meanwhile
//   job.wait();                   // pixels may be read from here on
//   if (std::exception_ptr failed = job.takeFailure()) ...

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace lw {

class BackgroundJob {
public:
    BackgroundJob() = default;
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // Waits for the piece before, then hands `work` over. Where no thread
    // can be started, the piece runs here and now.
    void start(std::function<void()> work);
    // Returns once the last piece handed over has run: here, if the thread
    // has not begun it yet.
    void wait();
    // After wait(): what a piece threw, once. A later failure does not hide
    // an earlier one that was not yet taken.
    std::exception_ptr takeFailure();

private:
    void run();
    // With the lock held.
    void settle(std::unique_lock<std::mutex>& lock);
    void runPiece(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> work_; // handed over, not yet begun
    bool busy_ = false;          // from start() until the piece has run
    bool ending_ = false;
    bool begun_ = false; // a piece was given
    std::exception_ptr failure_;
    std::thread thread_;
};

} // namespace lw
