#pragma once

#include "shape/creature_outline.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Outlines evaluated on threads of the queue's own, one per core, so that a
// view whose new creatures have millions of outline points between them
// still answers input while they are evaluated. The threads start with the
// first job and end with the queue.
//
// Whoever submits a job holds it; a job that nobody holds any more when a
// thread comes to it is skipped, so a world closed while it loads stops
// costing anything once the outlines under way are done.
class OutlineQueue {
public:
    class Job {
    public:
        explicit Job(const OutlineFormula& formula) : formula(formula) {}
        const OutlineFormula formula;
        // The evaluated outline, once done() is true; the holder may take it.
        Outline outline;
        bool done() const { return finished.load(std::memory_order_acquire); }

    private:
        friend class OutlineQueue;
        std::atomic<bool> finished{false};
    };

    OutlineQueue() = default;
    OutlineQueue(const OutlineQueue&) = delete;
    OutlineQueue& operator=(const OutlineQueue&) = delete;
    // Drops the jobs not yet started and waits for those under way.
    ~OutlineQueue();

    // Runs on a queue thread each time a job is done; empty by default. Set
    // it before the first submit().
    void setReadyHandler(std::function<void()> handler);
    std::shared_ptr<Job> submit(const OutlineFormula& formula);
    // Returns once `job` is done.
    void wait(const Job& job);

private:
    void work();

    std::mutex mutex;
    std::condition_variable jobsWaiting;
    std::condition_variable jobDone;
    std::deque<std::weak_ptr<Job>> jobs;
    std::vector<std::thread> threads;
    bool stopping = false;
    std::function<void()> ready;
};
