#include "shell/sdl/WorkerThread.h"

namespace quibbix {

WorkerThread::~WorkerThread() {
    Set([this] { ending_ = true; });
    if (thread_.joinable()) {
        thread_.join();
    }
}

void WorkerThread::Start() {
    std::call_once(started_, [this] { thread_ = std::thread([this] { Run(); }); });
}

void WorkerThread::Wake() {
    woken_.notify_one();
}

void WorkerThread::Run() {
    Lock lock(mutex_);
    for (;;) {
        woken_.wait(lock, [this] { return ending_ || ready_(); });
        if (ending_) {
            break;
        }
        work_(lock);
    }
    lock.unlock();
    if (last_) {
        last_();
    }
}

}  // namespace quibbix
