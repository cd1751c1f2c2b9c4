// Measures the demo against a reference that makes the same eight calls per frame and nothing
// else, and against the cheapest way to draw the same picture, in interleaved rounds on a
// private Xvfb; then the time from the key F to the frame that shows desktop fullscreen.
// Prints a Markdown table.
//   run_benchmark [ROUNDS] [SECONDS_PER_RUN]
#include "x_session.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace
{

using namespace e2e;

struct FrameStats {
    long long frames = 0, firstWall = 0, firstCpu = 0, lastWall = 0, lastCpu = 0, peakRssKb = 0;
    long long sizeChange = -1, presentsAfterSizeChange = -1, fullScreenFrame = -1;
};

struct Sample {
    double fps, cpuMsPerFrame, peakRssMb, startupMs;
};

struct Program {
    const char *name, *path;
};

const Program programs[] = {
    {"demo", PROGRAM_PATH},
    {"reference", REFERENCE_PATH},
    {"floor", FLOOR_PATH},
};

long long monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

FrameStats readStats(const std::string &path)
{
    FrameStats s;
    std::ifstream in(path);
    in >> s.frames >> s.firstWall >> s.firstCpu >> s.lastWall >> s.lastCpu >> s.peakRssKb >>
        s.sizeChange >> s.presentsAfterSizeChange >> s.fullScreenFrame;
    if (!in || s.frames < 2)
        throw std::runtime_error("no frame statistics in " + path);
    return s;
}

std::vector<std::string> measuredEnvironment(const std::string &statsPath)
{
    return {std::string("LD_PRELOAD=") + FRAME_STATS_LIBRARY, "FRAME_STATS_FILE=" + statsPath,
            "FRAME_STATS_SCREEN=1920x1080"};
}

// One run of a program in a normal window, from exec to the quit request.
Sample measure(XSession &x, const Program &program, int round, Seconds duration)
{
    const std::string statsPath = x.logDir() + "/" + program.name + std::to_string(round);
    const long long spawned = monotonicNs();
    x.startProgram(program.path, measuredEnvironment(statsPath));
    std::this_thread::sleep_for(duration);
    x.terminateProgram();
    if (x.waitForExit().exitStatus != 0)
        throw std::runtime_error(std::string(program.name) + " did not exit cleanly");
    const FrameStats s = readStats(statsPath);
    const double frameSpan = static_cast<double>(s.frames - 1);
    return Sample{frameSpan / ((s.lastWall - s.firstWall) / 1e9),
                  (s.lastCpu - s.firstCpu) / 1e6 / frameSpan, s.peakRssKb / 1024.0,
                  (s.firstWall - spawned) / 1e6};
}

struct Latency {
    double frames;
    long long presentsBetween;
};

// F in a normal window on a screen with a window manager: how many refresh periods from the
// key press to the first frame drawn at the full-screen size, and how many frames were
// presented between the size change reaching the program and that frame.
Latency measureLatency(int round)
{
    XSession x;
    x.startServer(Server::Xvfb);
    x.startWindowManager();
    const std::string statsPath = x.logDir() + "/latency" + std::to_string(round);
    x.launchProgram(PROGRAM_PATH, measuredEnvironment(statsPath));
    if (!showsCanvasWhereItBelongs(x))
        throw std::runtime_error("the demo did not draw its first frame");
    std::this_thread::sleep_for(1s);
    const long long pressed = monotonicNs();
    x.pressKey("f");
    if (!waitUntil([&] { return x.isFullscreen() && showsCanvasWhereItBelongs(x); }))
        throw std::runtime_error("the demo did not go fullscreen");
    std::this_thread::sleep_for(500ms);
    x.terminateProgram();
    x.waitForExit();
    const FrameStats s = readStats(statsPath);
    if (s.fullScreenFrame < 0)
        throw std::runtime_error("no full-screen frame was presented");
    const double period = (s.lastWall - s.firstWall) / static_cast<double>(s.frames - 1);
    return Latency{(s.fullScreenFrame - pressed) / period, s.presentsAfterSizeChange};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string summary(const std::vector<double> &v, const char *format)
{
    char text[128];
    const std::string f = std::string(format) + " (" + format + " – " + format + ")";
    std::snprintf(text, sizeof text, f.c_str(), median(v), *std::min_element(v.begin(), v.end()),
                  *std::max_element(v.begin(), v.end()));
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const Seconds duration(argc > 2 ? std::max(1.0, std::atof(argv[2])) : 4.0);
    try {
        std::map<std::string, std::vector<Sample>> samples;
        {
            XSession x;
            x.startServer(Server::Xvfb);
            for (int round = 0; round < rounds; ++round) {
                // Each round starts with another program, so none always runs first.
                for (int i = 0; i < 3; ++i) {
                    const Program &program = programs[(round + i) % 3];
                    samples[program.name].push_back(measure(x, program, round, duration));
                    std::fprintf(stderr, "round %d: %s measured\n", round + 1, program.name);
                }
            }
        }
        std::vector<Latency> latencies;
        for (int round = 0; round < rounds; ++round)
            latencies.push_back(measureLatency(round));

        struct Row {
            const char *label, *format;
            double Sample::*field;
        };
        const Row rows[] = {
            {"frames per second", "%.1f", &Sample::fps},
            {"CPU ms per frame", "%.3f", &Sample::cpuMsPerFrame},
            {"peak resident memory, MiB", "%.1f", &Sample::peakRssMb},
            {"exec to first frame, ms", "%.0f", &Sample::startupMs},
        };
        std::printf("%d interleaved rounds of %.0f s each on Xvfb 1920 × 1080, an 800 × 600 "
                    "window; median (min – max).\n\n",
                    rounds, duration.count());
        std::printf("| | demo | reference | floor | demo / reference | demo / floor |\n");
        std::printf("|---|---|---|---|---|---|\n");
        for (const Row &row : rows) {
            std::vector<double> of[3], toReference, toFloor;
            for (int p = 0; p < 3; ++p)
                for (const Sample &s : samples[programs[p].name])
                    of[p].push_back(s.*row.field);
            for (int r = 0; r < rounds; ++r) {
                toReference.push_back(of[0][r] / of[1][r]);
                toFloor.push_back(of[0][r] / of[2][r]);
            }
            std::printf("| %s | %s | %s | %s | %s | %s |\n", row.label,
                        summary(of[0], row.format).c_str(), summary(of[1], row.format).c_str(),
                        summary(of[2], row.format).c_str(), summary(toReference, "%.3f").c_str(),
                        summary(toFloor, "%.3f").c_str());
        }
        std::vector<double> latencyFrames;
        long long mostPresentsBetween = 0;
        for (const Latency &l : latencies) {
            latencyFrames.push_back(l.frames);
            mostPresentsBetween = std::max(mostPresentsBetween, l.presentsBetween);
        }
        std::printf("\nF to the first full-screen frame (desktop fullscreen, openbox): %s "
                    "refresh periods; frames presented between the size change reaching the demo "
                    "and that frame: at most %lld.\n",
                    summary(latencyFrames, "%.1f").c_str(), mostPresentsBetween);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "run_benchmark: %s\n", e.what());
        return 1;
    }
    return 0;
}
