// Preloaded into a program under measurement: counts the frames it presents and notes the
// clocks at the first and the last, the size of the last canvas copy, and the size-change
// events it polls. At exit it writes one line to the file named by FRAME_STATS_FILE:
//   frames firstWallNs firstCpuNs lastWallNs lastCpuNs peakRssKb sizeChangeNs
//   presentsBetweenSizeChangeAndFullScreenFrame fullScreenFrameNs
// The size change and full-screen frame are those of FRAME_STATS_SCREEN ("1920x1080").
#include <SDL.h>

#include <dlfcn.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace
{

long long nowNs(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

struct Stats {
    long long frames, firstWall, firstCpu, lastWall, lastCpu;
    long long sizeChange = -1, presentsAfterSizeChange, fullScreenFrame = -1;
    int lastCopyW, lastCopyH, screenW, screenH;
} stats;

template <typename Function> Function real(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void writeStats()
{
    const char *path = std::getenv("FRAME_STATS_FILE");
    FILE *out = path ? std::fopen(path, "w") : nullptr;
    if (!out)
        return;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(out, "%lld %lld %lld %lld %lld %ld %lld %lld %lld\n", stats.frames,
                 stats.firstWall, stats.firstCpu, stats.lastWall, stats.lastCpu, usage.ru_maxrss,
                 stats.sizeChange, stats.presentsAfterSizeChange, stats.fullScreenFrame);
    std::fclose(out);
}

__attribute__((constructor)) void start()
{
    const char *screen = std::getenv("FRAME_STATS_SCREEN");
    if (!screen || std::sscanf(screen, "%dx%d", &stats.screenW, &stats.screenH) != 2)
        stats.screenW = stats.screenH = -1;
    std::atexit(writeStats);
}

} // namespace

extern "C" {

int SDL_PollEvent(SDL_Event *event)
{
    static auto pollEvent = real<int (*)(SDL_Event *)>("SDL_PollEvent");
    const int result = pollEvent(event);
    if (result == 1 && event && event->type == SDL_WINDOWEVENT &&
        event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
        event->window.data1 == stats.screenW && event->window.data2 == stats.screenH &&
        stats.sizeChange < 0) {
        stats.sizeChange = nowNs(CLOCK_MONOTONIC);
        stats.presentsAfterSizeChange = 0;
    }
    return result;
}

int SDL_RenderCopy(SDL_Renderer *renderer, SDL_Texture *texture, const SDL_Rect *source,
                   const SDL_Rect *destination)
{
    static auto renderCopy =
        real<int (*)(SDL_Renderer *, SDL_Texture *, const SDL_Rect *, const SDL_Rect *)>(
            "SDL_RenderCopy");
    if (destination) {
        stats.lastCopyW = destination->w;
        stats.lastCopyH = destination->h;
    }
    return renderCopy(renderer, texture, source, destination);
}

void SDL_RenderPresent(SDL_Renderer *renderer)
{
    static auto renderPresent = real<void (*)(SDL_Renderer *)>("SDL_RenderPresent");
    renderPresent(renderer);
    const long long wall = nowNs(CLOCK_MONOTONIC), cpu = nowNs(CLOCK_PROCESS_CPUTIME_ID);
    if (stats.frames++ == 0) {
        stats.firstWall = wall;
        stats.firstCpu = cpu;
    }
    stats.lastWall = wall;
    stats.lastCpu = cpu;
    if (stats.sizeChange >= 0 && stats.fullScreenFrame < 0) {
        if (stats.lastCopyW == stats.screenW && stats.lastCopyH == stats.screenH)
            stats.fullScreenFrame = wall;
        else
            ++stats.presentsAfterSizeChange;
    }
}
}
