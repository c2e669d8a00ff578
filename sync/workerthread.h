#pragma once
// One job on a thread of its own, joined before the window that started it goes. What the job
// found is handed to the window's thread through a queued call, so only that thread touches controls.
#include <QMetaObject>
#include <QObject>

#include <functional>
#include <thread>
#include <utility>

namespace talik {

class WorkerThread
{
public:
    // Runs `job` on the worker; then `done` runs on `receiver`'s thread (not when `receiver` is gone).
    template <class Job, class Done> WorkerThread(QObject* receiver, Job job, Done done)
    {
        m_thread = std::thread([receiver, job = std::move(job), done = std::move(done)]() mutable {
            auto result = job();
            QMetaObject::invokeMethod(
                receiver, [done = std::move(done), result = std::move(result)]() mutable { done(std::move(result)); },
                Qt::QueuedConnection);
        });
    }
    ~WorkerThread()
    {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

private:
    std::thread m_thread;
};

} // namespace talik
