#pragma once
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace quibbix {

// A thread that sleeps until there is work, started the first time it is woken, and ended and
// joined when the worker goes. The state the work reads is guarded by the worker's mutex: change it
// through Post. Whatever the three functions use must outlive the worker: declare it last.
// Where there are no threads (a web page), the work runs on the one thread once the event that
// posted it is done, never inside it: an audio callback that wakes the worker is left first.
class WorkerThread {
public:
    using Lock = std::unique_lock<std::mutex>;

    // `ready` tells, under the lock, whether there is work. `work` does it, called with the lock
    // held, which it may release meanwhile and must hold again when it returns. `last` runs on the
    // thread, unlocked, as it ends.
    WorkerThread(std::function<bool()> ready, std::function<void(Lock&)> work,
                 std::function<void()> last = {})
        : ready_(std::move(ready)), work_(std::move(work)), last_(std::move(last)) {}
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread();

    // Changes the state under the lock and wakes the thread, starting it if need be.
    template <typename Change>
    void Post(Change change) {
        Start();
        Set(change);
    }
    // The same, without starting a thread that has not started yet.
    template <typename Change>
    void Set(Change change) {
        const std::lock_guard lock(mutex_);
        change();
        Wake();
    }

private:
    void Start();
    // With the lock held.
    void Wake();
    void Run();
    // Without threads: the turn the work waits for.
    static void RunScheduled(void* turn);

    std::function<bool()> ready_;
    std::function<void(Lock&)> work_;
    std::function<void()> last_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool ending_ = false;
    std::once_flag started_;
    std::thread thread_;
    // Without threads: whether the work waits for its turn, and what that turn finds of the worker.
    bool scheduled_ = false;
    std::shared_ptr<WorkerThread*> self_;
};

}  // namespace quibbix
