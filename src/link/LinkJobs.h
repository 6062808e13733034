#pragma once
// The link's waits as data: a job is a list of steps, each either an action
// or a wait that ends when its condition holds or its time limit passes.
// Jobs run one after the other; an action may abort the rest of its job.
// This replaces nested wait loops, so ticks and received bytes keep being
// handled while a job waits.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace corvane {

class LinkJobs {
public:
    struct Step {
        std::function<void()> action;      // an action step when set
        std::function<bool()> done;        // a wait ends early when this holds
        int64_t limitMs = 0;               // a wait ends after this long
        int64_t pollMs = 0;                // re-check done() this often (0: on events only)
        std::optional<int64_t> startedMs;  // when the wait began
    };
    using Job = std::deque<Step>;

    static Step Action(std::function<void()> action);
    static Step Delay(int64_t ms);
    static Step WaitUntil(std::function<bool()> done, int64_t limitMs, int64_t pollMs = 0);

    void Add(Job job);
    bool Empty() const { return jobs_.empty(); }
    void Clear() { jobs_.clear(); }
    // Drops the remaining steps of the job whose action is running.
    void AbortCurrent();

    // Runs steps until one has to wait. Re-entrant calls return at once.
    void Run(int64_t nowMs);
    std::optional<int64_t> NextDeadline() const;

private:
    std::deque<Job> jobs_;
    bool running_ = false;
    bool abortRequested_ = false;
    int64_t lastNowMs_ = 0;
};

}  // namespace corvane
