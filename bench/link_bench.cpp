// corvane-bench: how the link performs against corvane-radio-sim on a real
// pseudo-terminal. Prints the read and write durations against their line
// and pacing times, the write pacing as the program made it (gaps between its
// own write calls, timed as each returns) and as the radio saw it (gaps
// between image bytes on the simulator's side of the pty), and the CPU an
// idle connected program uses. --load N runs N busy threads through the
// write, as a machine busy with other work would.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/qt/LinkDriver.h"
#include "model/Workspace.h"
#include "store/WorkingSet.h"

#ifndef CORVANE_SIM_PATH
#define CORVANE_SIM_PATH "corvane-radio-sim"
#endif

namespace corvane::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPollMs = 20;
constexpr int kSimStartMs = 5000;
constexpr int kConnectMs = 2000;
constexpr int kReadLimitMs = 40000;
constexpr int kWriteLimitMs = 120000;
constexpr int kIdleMs = 10000;
constexpr double kBitsPerByte = 11.0;  // start, 8 data, 2 stop
constexpr double kBaud = 2400.0;
constexpr double kPacedWriteS = kImageLength * kWritePacerMs / 1000.0;
const std::string kWriteComplete = "DOWNLOAD COMPLETE";
const std::string kReadComplete = "UPLOAD COMPLETE";
// The simulated radio answers and starts its burst soon after the program's
// 100 ms deaf window, so the figures show the program's own overhead.
const QString kRadioDelayMs = QStringLiteral("130");

class BenchListener : public LinkListener {
public:
    void OnMessage(const std::string& text, MessageKind) override { lastMessage = text; }
    // During a write the progress follows each image byte right after its
    // write call returned.
    void OnProgress(int value) override {
        if (!timingWrites || value <= 0) return;
        if (value == 1 && !firstByte) firstByte = Clock::now();
        if (static_cast<std::size_t>(value) == handedOver.size() + 1) handedOver.push_back(Clock::now());
    }
    std::string lastMessage;
    bool timingWrites = false;
    std::optional<Clock::time_point> firstByte;
    std::vector<Clock::time_point> handedOver;
};

// Threads that only burn CPU until they are dropped.
class BusyThreads {
public:
    explicit BusyThreads(int count) {
        for (int i = 0; i < count; ++i) {
            threads_.emplace_back([this] {
                unsigned long spins = 0;
                while (!stop_.load(std::memory_order_relaxed)) ++spins;
                sink_.fetch_add(spins, std::memory_order_relaxed);
            });
        }
    }
    ~BusyThreads() {
        stop_ = true;
        for (std::thread& thread : threads_) thread.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<unsigned long> sink_{0};
    std::vector<std::thread> threads_;
};

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    double one = 0, five = 0, fifteen = 0;
    if (!(in >> one >> five >> fifteen)) return "unknown";
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", one, five, fifteen);
    return text;
}

bool RunUntil(const std::function<bool()>& done, int limitMs) {
    if (done()) return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer::singleShot(limitMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    poll.start(kPollMs);
    loop.exec();
    return done();
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "corvane-bench: %s\n", what.c_str());
    return 1;
}

// The simulator's arrival times of the image bytes, microseconds after the first.
std::vector<long long> ReadArrivals(const QString& file) {
    std::vector<long long> arrivals;
    std::ifstream in(file.toStdString());
    for (long long us = 0; in >> us;) arrivals.push_back(us);
    return arrivals;
}

// Smallest gap, 1st percentile, median and the whole span, as the radio saw them.
void PrintPacing(const std::vector<long long>& arrivals) {
    if (arrivals.size() != kImageLength) {
        std::printf("gaps:  the simulator recorded %zu of %zu image bytes\n", arrivals.size(), kImageLength);
        return;
    }
    std::vector<long long> gaps;
    for (std::size_t i = 1; i < arrivals.size(); ++i) gaps.push_back(arrivals[i] - arrivals[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    auto ms = [](long long us) { return static_cast<double>(us) / 1000.0; };
    const double totalS = ms(arrivals.back()) / 1000.0;
    const double nominalS = (kImageLength - 1) * kWritePacerMs / 1000.0;
    std::printf("gaps:  smallest %.2f ms, 1st percentile %.2f ms, median %.2f ms (at the radio, %d ms asked)\n",
                ms(gaps.front()), ms(gaps[gaps.size() / 100]), ms(gaps[gaps.size() / 2]), kWritePacerMs);
    std::printf("total: %6.2f s first to last image byte at the radio (1935 x 25 ms = %.3f s, %+.2f %%)\n", totalS,
                nominalS, 100.0 * (totalS - nominalS) / nominalS);
}

// Gaps between the program's own write calls, as each returned.
void PrintHandOvers(const std::vector<Clock::time_point>& times, int busyThreads) {
    if (times.size() != kImageLength) {
        std::printf("calls: %zu of %zu image bytes timed\n", times.size(), kImageLength);
        return;
    }
    std::vector<double> gaps;
    for (std::size_t i = 1; i < times.size(); ++i) {
        gaps.push_back(std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count());
    }
    std::sort(gaps.begin(), gaps.end());
    std::printf("calls: smallest %.2f ms, 1st percentile %.2f ms, median %.2f ms, largest %.2f ms "
                "(between the program's write calls, %d busy threads)\n",
                gaps.front(), gaps[gaps.size() / 100], gaps[gaps.size() / 2], gaps.back(), busyThreads);
}

int Run(int busyThreads) {
    QTemporaryDir dir;
    if (!dir.isValid()) return Fail("cannot create a temporary folder");
    const QString serialDir = dir.filePath("dev");
    const QString folder = dir.filePath("folder");
    QDir().mkpath(serialDir);
    QDir().mkpath(folder);

    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString arrivals = dir.filePath("arrivals.txt");
    sim.start(CORVANE_SIM_PATH, {"--link", serialDir + "/ttyUSB0", "--reply-delay", kRadioDelayMs, "--read-delay",
                                 kRadioDelayMs, "--arrivals", arrivals});
    if (!sim.waitForStarted(kSimStartMs) || !sim.waitForReadyRead(kSimStartMs)) {
        return Fail(std::string("cannot start ") + CORVANE_SIM_PATH);
    }
    std::printf("simulated radio on %s", sim.readLine().constData());

    Workspace ws;
    ws.programFolder = folder.toStdString();
    if (Status loaded = LoadWorkingSet(ws); !loaded) return Fail(loaded.message());
    ws.portName = "5";
    BenchListener listener;
    LinkDriver driver(ws, listener, PortMap::WithSerialDir(serialDir.toStdString()));
    LinkEngine& engine = driver.Engine();

    engine.ReconnectPort();
    if (!RunUntil([&] { return engine.Connected(); }, kConnectMs)) return Fail("the simulated radio did not answer");

    // Read: the line time of 1936 bytes plus handshake, frames and the final silence.
    auto start = Clock::now();
    engine.RequestRead();
    RunUntil([&] { return !engine.Busy() && !engine.ReadRunning(); }, kReadLimitMs);
    const double readS = SecondsSince(start);
    if (listener.lastMessage != kReadComplete) return Fail("read: " + listener.lastMessage);
    const double lineS = kImageLength * kBitsPerByte / kBaud;
    std::printf("read:  %6.2f s  (line time of the image %.2f s, overhead %.2f s)\n", readS, lineS, readS - lineS);

    // Idle: connected, nothing to do but the 10 ms receive tick.
    const double cpuBefore = CpuSeconds();
    start = Clock::now();
    RunUntil([] { return false; }, kIdleMs);
    const double idleS = SecondsSince(start);
    const double cpuS = CpuSeconds() - cpuBefore;
    std::printf("idle:  %6.3f s CPU in %.1f s connected (%.2f %%)\n", cpuS, idleS, 100.0 * cpuS / idleS);

    // Write: handshake and command, then 1936 bytes paced at 25 ms.
    listener.firstByte.reset();
    listener.timingWrites = true;
    std::printf("load:  %s (1, 5, 15 min) before the write, %u cores, %d busy threads\n", LoadAverage().c_str(),
                std::thread::hardware_concurrency(), busyThreads);
    start = Clock::now();
    std::optional<BusyThreads> load(std::in_place, busyThreads);
    engine.RequestWrite();
    RunUntil([&] { return !engine.Busy() && !engine.WriteRunning(); }, kWriteLimitMs);
    load.reset();
    listener.timingWrites = false;
    const double writeS = SecondsSince(start);
    if (listener.lastMessage != kWriteComplete) return Fail("write: " + listener.lastMessage);
    std::printf("write: %6.2f s  (1936 x 25 ms = %.1f s, overhead %.2f s)\n", writeS, kPacedWriteS,
                writeS - kPacedWriteS);
    if (listener.firstByte) {
        // The pacer from the first byte to the last: 1935 intervals of 25 ms.
        const double pacedS = writeS - std::chrono::duration<double>(*listener.firstByte - start).count();
        const double nominalS = (kImageLength - 1) * kWritePacerMs / 1000.0;
        std::printf("pacer: %6.2f s  (1935 x 25 ms = %.3f s, %+.2f %%)\n", pacedS, nominalS,
                    100.0 * (pacedS - nominalS) / nominalS);
    }
    PrintHandOvers(listener.handedOver, busyThreads);
    // The simulator writes the times once it has the last byte; give it a moment.
    RunUntil([&] { return ReadArrivals(arrivals).size() == kImageLength; }, kConnectMs);
    PrintPacing(ReadArrivals(arrivals));

    engine.Shutdown();
    sim.terminate();
    sim.waitForFinished(kSimStartMs);
    return 0;
}

}  // namespace
}  // namespace corvane::bench

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int busyThreads = 0;
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == QStringLiteral("--load")) {
        bool ok = false;
        busyThreads = args[1].toInt(&ok);
        if (!ok || busyThreads < 0) busyThreads = -1;
    }
    if (busyThreads < 0 || (!args.isEmpty() && args.size() != 2)) {
        std::fprintf(stderr, "Usage: corvane-bench [--load N]   (N busy threads during the write)\n");
        return 2;
    }
    return corvane::bench::Run(busyThreads);
}
