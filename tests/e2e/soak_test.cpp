// A long, seeded random session of a person at the keyboard and the window manager's
// controls: the program stays alive, ends up where M then W put it, idles paced by vertical
// sync, and exits cleanly. Run as built and as built with ASan and UBSan.
#include "x_session.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace e2e
{
namespace
{

constexpr unsigned SEED = 20261211;
constexpr int STEPS = 300;

struct Build {
    const char *name;
    const char *program;
    bool sanitized;
};

std::ostream &operator<<(std::ostream &out, const Build &b)
{
    return out << b.name;
}

// One random thing a person does; says what it was.
std::string randomStep(XSession &x, std::mt19937 &random)
{
    static const char *const boundKeys[] = {"w", "m", "f", "e", "a", "Tab", "Prior", "Next"};
    static const char *const unboundKeys[] = {"q", "space", "Return", "1", "BackSpace", "F5"};
    static const char *const modifiers[] = {"Shift_L", "Control_L", "Shift_R"};
    auto pick = [&](auto &items) {
        return items[std::uniform_int_distribution<size_t>(0, std::size(items) - 1)(random)];
    };
    switch (std::uniform_int_distribution<int>(0, 9)(random)) {
    case 0:
    case 1:
    case 2:
    case 3: {
        const char *key = pick(boundKeys);
        x.pressKey(key);
        return key;
    }
    case 4: {
        const char *key = pick(unboundKeys);
        x.pressKey(key);
        return key;
    }
    case 5:
    case 6: {
        const char *key = pick(boundKeys), *modifier = pick(modifiers);
        x.pressKey(key, {modifier});
        return std::string(modifier) + "+" + key;
    }
    case 7: {
        const bool maximize = random() % 2 == 0;
        x.wmSetMaximized(maximize);
        return maximize ? "title bar maximize" : "title bar restore";
    }
    default: {
        const int w = std::uniform_int_distribution<int>(300, 1900)(random);
        const int h = std::uniform_int_distribution<int>(200, 1050)(random);
        x.wmResize(w, h);
        return "resize to " + std::to_string(w) + " x " + std::to_string(h);
    }
    }
}

// The share of one core the process used over the period.
double coreShare(pid_t pid, Seconds period)
{
    auto cpuTicks = [pid] {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string field;
        long user = 0, system = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i == 14)
                user = std::stol(field);
            if (i == 15)
                system = std::stol(field);
        }
        return user + system;
    };
    const long before = cpuTicks();
    std::this_thread::sleep_for(period);
    return static_cast<double>(cpuTicks() - before) / sysconf(_SC_CLK_TCK) / period.count();
}

// Sanitizer reports: any error at all, and leaks only where the program's own code is on the
// stack (SDL, Mesa and D-Bus keep some allocations until the process ends).
std::string sanitizerReports(const std::string &directory)
{
    std::string reports;
    DIR *dir = opendir(directory.c_str());
    if (!dir)
        return reports;
    while (dirent *entry = readdir(dir)) {
        if (std::string(entry->d_name).rfind("sanitizer", 0) != 0)
            continue;
        std::ifstream in(directory + "/" + entry->d_name);
        std::stringstream text;
        text << in.rdbuf();
        const std::string report = text.str();
        const bool error = report.find("ERROR: AddressSanitizer") != std::string::npos ||
                           report.find("runtime error") != std::string::npos;
        const bool ownLeak = report.find("ERROR: LeakSanitizer") != std::string::npos &&
                             report.find(PROGRAM_SOURCE_DIR) != std::string::npos;
        if (error || ownLeak)
            reports += report;
    }
    closedir(dir);
    return reports;
}

class Soak : public ::testing::TestWithParam<Build>
{
};

TEST_P(Soak, StaysAliveThroughARandomSessionAndEndsCleanly)
{
    const Build &build = GetParam();
    XSession x;
    x.startServer(Server::Xvfb);
    x.startWindowManager();
    const std::string reports = x.logDir() + "/sanitizer";
    x.launchProgram(build.program, {"ASAN_OPTIONS=exitcode=0:log_path=" + reports,
                                    "UBSAN_OPTIONS=print_stacktrace=1:log_path=" + reports});

    std::mt19937 random(SEED);
    std::string history;
    for (int step = 0; step < STEPS; ++step) {
        history += randomStep(x, random) + "; ";
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 30));
        ASSERT_TRUE(x.programRunning())
            << "the program ended at step " << step << " of seed " << SEED << " after: " << history;
    }

    x.pressKey("m");
    x.pressKey("w");
    EXPECT_TRUE(isCentredDefaultWindow(x)) << "after: " << history;
    EXPECT_TRUE(showsCanvasWhereItBelongs(x));
    const double share = coreShare(x.programPid(), 2s);
    EXPECT_LT(share, 0.5) << "the idle loop is not paced by vertical sync";
    RecordProperty("idle_core_share_percent", static_cast<int>(share * 100));

    x.pressKey("Escape");
    const ProgramRun run = x.waitForExit();
    EXPECT_EQ(run.exitStatus, 0);
    if (build.sanitized) {
        EXPECT_EQ(sanitizerReports(x.logDir()), "");
    }
}

const Build builds[] = {
    {"AsBuilt", PROGRAM_PATH, false},
    {"WithSanitizers", SANITIZED_PROGRAM_PATH, true},
};

INSTANTIATE_TEST_SUITE_P(Builds, Soak, ::testing::ValuesIn(builds),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace e2e
