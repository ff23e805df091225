// The preview's fill runs on a thread of its own while the window goes on:
// pieces must run one at a time in the order given, their writes must be
// seen once waited for, and a failure must come back to the caller, not
// end the program on the other thread.

#include "window/qt/background_job.hpp"

#include <QTest>

#include <chrono>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string messageOf(std::exception_ptr failed)
{
    try {
        std::rethrow_exception(failed);
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& e) {
        return e.what();
    }
}

} // namespace

class BackgroundJobTest : public QObject {
    Q_OBJECT
private slots:
    void piecesRunInTurnAndTheirWritesAreSeenAfterWaiting()
    {
        lw::BackgroundJob job;
        std::vector<int> order; // unguarded: only one piece may touch it at a time
        for (int i = 0; i < 200; ++i)
            job.start([&order, i] {
                if (i % 50 == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                order.push_back(i);
            });
        job.wait();
        QCOMPARE(int(order.size()), 200);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(order[std::size_t(i)], i);
        QVERIFY(!job.takeFailure());
    }

    void aFailureComesBackOnceAndTheFirstIsKept()
    {
        lw::BackgroundJob job;
        job.start([] { throw std::bad_alloc(); });
        job.wait();
        QCOMPARE(messageOf(job.takeFailure()), std::string("out of memory"));
        QVERIFY(!job.takeFailure());

        int ran = 0;
        job.start([] { throw std::runtime_error("first"); });
        job.start([] { throw std::runtime_error("second"); });
        job.start([&ran] { ++ran; }); // the thread goes on after a failure
        QCOMPARE(messageOf(job.takeFailure()), std::string("first"));
        QCOMPARE(ran, 1);
    }

    void theLastPieceRunsBeforeTheJobEnds()
    {
        bool done = false;
        {
            lw::BackgroundJob job;
            job.start([] {}); // the first runs at once; the thread takes the next
            job.start([&done] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                done = true;
            });
        }
        QVERIFY(done);
    }
};

QTEST_APPLESS_MAIN(BackgroundJobTest)
#include "background_job_test.moc"
