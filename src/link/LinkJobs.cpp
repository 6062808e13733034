#include "link/LinkJobs.h"

#include <algorithm>
#include <utility>

namespace corvane {

LinkJobs::Step LinkJobs::Action(std::function<void()> action) {
    Step step;
    step.action = std::move(action);
    return step;
}

LinkJobs::Step LinkJobs::Delay(int64_t ms) {
    Step step;
    step.limitMs = ms;
    return step;
}

LinkJobs::Step LinkJobs::WaitUntil(std::function<bool()> done, int64_t limitMs, int64_t pollMs) {
    Step step;
    step.done = std::move(done);
    step.limitMs = limitMs;
    step.pollMs = pollMs;
    return step;
}

void LinkJobs::Add(Job job) {
    if (!job.empty()) jobs_.push_back(std::move(job));
}

void LinkJobs::AbortCurrent() { abortRequested_ = true; }

void LinkJobs::Run(int64_t nowMs) {
    if (running_) return;
    running_ = true;
    lastNowMs_ = nowMs;
    while (!jobs_.empty()) {
        if (jobs_.front().empty()) {
            jobs_.pop_front();
            continue;
        }
        Step& step = jobs_.front().front();
        if (step.action) {
            std::function<void()> action = std::move(step.action);
            jobs_.front().pop_front();
            abortRequested_ = false;
            action();
            // The action may have added jobs, but never removed the front one.
            if (abortRequested_ && !jobs_.empty()) jobs_.front().clear();
            abortRequested_ = false;
            continue;
        }
        if (!step.startedMs) step.startedMs = nowMs;
        const bool finished = (step.done && step.done()) || nowMs - *step.startedMs >= step.limitMs;
        if (!finished) break;
        jobs_.front().pop_front();
    }
    running_ = false;
}

std::optional<int64_t> LinkJobs::NextDeadline() const {
    if (jobs_.empty()) return std::nullopt;
    if (jobs_.front().empty()) return lastNowMs_;
    const Step& step = jobs_.front().front();
    if (step.action || !step.startedMs) return lastNowMs_;
    int64_t deadline = *step.startedMs + step.limitMs;
    if (step.pollMs > 0) deadline = std::min(deadline, lastNowMs_ + step.pollMs);
    return deadline;
}

}  // namespace corvane
