#include "shape/outline_queue.h"

#include <algorithm>

OutlineQueue::~OutlineQueue()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        jobs.clear();
    }
    jobsWaiting.notify_all();
    for (std::thread& thread : threads)
        thread.join();
}

void OutlineQueue::setReadyHandler(std::function<void()> handler)
{
    std::lock_guard<std::mutex> lock(mutex);
    ready = std::move(handler);
}

std::shared_ptr<OutlineQueue::Job> OutlineQueue::submit(const OutlineFormula& formula)
{
    auto job = std::make_shared<Job>(formula);
    {
        std::lock_guard<std::mutex> lock(mutex);
        jobs.push_back(job);
        if (threads.empty()) {
            const unsigned count = std::max(1u, std::thread::hardware_concurrency());
            for (unsigned i = 0; i < count; ++i)
                threads.emplace_back(&OutlineQueue::work, this);
        }
    }
    jobsWaiting.notify_one();
    return job;
}

void OutlineQueue::wait(const Job& job)
{
    std::unique_lock<std::mutex> lock(mutex);
    jobDone.wait(lock, [&] { return job.done(); });
}

void OutlineQueue::work()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        jobsWaiting.wait(lock, [&] { return stopping || !jobs.empty(); });
        if (stopping)
            return;
        const std::shared_ptr<Job> job = jobs.front().lock();
        jobs.pop_front();
        if (!job)
            continue;
        lock.unlock();
        job->outline = evaluateOutline(job->formula);
        lock.lock();
        job->finished.store(true, std::memory_order_release);
        jobDone.notify_all();
        if (ready) {
            // Called without the lock, so that the handler may submit.
            const std::function<void()> handler = ready;
            lock.unlock();
            handler();
            lock.lock();
        }
    }
}
