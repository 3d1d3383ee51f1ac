#include "workers/VtFTPSend.h"
#include "workers/VtProcessText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Generous: a loaded CI machine may starve the worker for a while.
template <class Pred>
bool waitFor(Pred pred)
{
    for (int i = 0; i < 10000; ++i) {
        if (pred()) return true;
        std::this_thread::sleep_for(1ms);
    }
    return pred();
}

} // namespace

TEST(Workers, ProcessingWorkerTakesEveryQueuedProjectThenParks)
{
    std::mutex m;
    std::deque<long long> queue{3, 1, 2};
    std::vector<long long> done;
    folio::TVtProcessText worker(
        [&]() -> std::optional<long long> {
            std::lock_guard lock(m);
            if (queue.empty()) return std::nullopt;
            const long long id = queue.back(); // the newest first
            queue.pop_back();
            return id;
        },
        [&](long long id, const std::function<bool()>&) {
            std::lock_guard lock(m);
            done.push_back(id);
        });
    worker.Start();
    std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(worker.Suspended());
    EXPECT_TRUE(done.empty()); // parked until resumed

    worker.Resume();
    ASSERT_TRUE(waitFor([&] { return worker.Suspended(); }));
    std::lock_guard lock(m);
    EXPECT_EQ(done, (std::vector<long long>{2, 1, 3}));
}

TEST(Workers, AResumeDuringTheLastStepIsNotLost)
{
    // Many rounds of: the worker finds the queue empty while the owner queues and resumes.
    std::atomic<int> queued{0}, taken{0};
    folio::TVtProcessText worker(
        [&]() -> std::optional<long long> {
            if (taken.load() < queued.load()) return ++taken;
            return std::nullopt;
        },
        [](long long, const std::function<bool()>&) {});
    worker.Start();
    for (int i = 0; i < 2000; ++i) {
        ++queued;
        worker.Resume();
    }
    ASSERT_TRUE(waitFor([&] { return taken.load() == 2000 && worker.Suspended(); }));
}

TEST(Workers, StopEndsAWorkerInTheMiddleOfItsWorkAtTheNextCheck)
{
    std::atomic<int> filesWritten{0};
    std::atomic<bool> sawStop{false};
    folio::TVtFTPSend sender(
        [&](const std::string&, const std::function<bool()>& stop) {
            for (int i = 0; i < 100000; ++i) {
                if (stop()) {
                    sawStop = true;
                    return;
                }
                ++filesWritten;
                std::this_thread::sleep_for(1ms);
            }
        },
        nullptr);
    sender.Start();
    sender.SetJob("job.zip");
    sender.Resume();
    ASSERT_TRUE(waitFor([&] { return filesWritten.load() > 3; }));
    sender.Stop();
    EXPECT_TRUE(sawStop);
    sender.Stop(); // twice is harmless
}
