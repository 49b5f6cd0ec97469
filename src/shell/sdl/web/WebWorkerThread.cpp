#include "shell/sdl/WorkerThread.h"

#include <emscripten.h>

// A page has one thread: the work runs on it as soon as the browser is done with the event that
// asked for it (a tick, a click, or the audio callback telling that an effect has played out).
namespace quibbix {

WorkerThread::~WorkerThread() {
    if (last_) {
        last_();
    }
}

void WorkerThread::Start() {}

void WorkerThread::Wake() {
    if (scheduled_) {
        return;
    }
    scheduled_ = true;
    if (!self_) {
        self_ = std::make_shared<WorkerThread*>(this);
    }
    emscripten_async_call(RunScheduled, new std::weak_ptr<WorkerThread*>(self_), 0);
}

void WorkerThread::RunScheduled(void* turn) {
    const std::unique_ptr<std::weak_ptr<WorkerThread*>> worker(
        static_cast<std::weak_ptr<WorkerThread*>*>(turn));
    const std::shared_ptr<WorkerThread*> alive = worker->lock();
    if (!alive) {
        return;
    }
    WorkerThread& self = **alive;
    Lock lock(self.mutex_);
    self.scheduled_ = false;
    while (self.ready_()) {
        self.work_(lock);
    }
}

}  // namespace quibbix
