#pragma once

#include "platform/detached_thread.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

namespace controls {

// Runs the work on a thread of its own while the window's events go on, for at most `timeoutMs`
// (none: until it ends), calling `slow` once the work has taken `slowMs`. False when it did not
// end in time; the thread then goes on alone and its result is lost. What the work throws is
// thrown here. The events that run meanwhile may change anything the caller looked at before.
template <typename T>
bool runBeside(std::function<T()> work, T& result, int timeoutMs, int slowMs = -1,
               const std::function<void()>& slow = {}) {
    struct Shared {
        std::atomic<bool> done{false};
        T value{};
        std::exception_ptr error;
    };
    auto shared = std::make_shared<Shared>();
    platform::runDetached([shared, work = std::move(work)] {
        try {
            shared->value = work();
        } catch (...) {
            shared->error = std::current_exception();
        }
        shared->done = true;
    });
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    bool slowTold = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (shared->done || (timeoutMs >= 0 && clock.elapsed() >= timeoutMs)) {
            loop.quit();
        } else if (!slowTold && slow && slowMs >= 0 && clock.elapsed() >= slowMs) {
            slowTold = true;
            slow();
        }
    });
    poll.start(5);
    if (!shared->done)
        loop.exec();
    if (!shared->done)
        return false;
    if (shared->error)
        std::rethrow_exception(shared->error);
    result = std::move(shared->value);
    return true;
}

} // namespace controls
