// The program allocates nothing on the heap once it runs: a long burst of every kind of event
// it handles, with frames drawn in between as the loop draws them, is counted here. Its own
// executable, since it replaces the C and C++ allocators to count their calls.
#include "app_state.h"
#include "frame.h"
#include "sdl_stand_in.h"
#include "started_program.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);
extern "C" void *__libc_realloc(void *, size_t);
extern "C" void __libc_free(void *);

namespace
{
bool counting = false;
long allocations = 0;

void *counted(void *memory)
{
    if (counting)
        ++allocations;
    return memory;
}
} // namespace

extern "C" void *malloc(size_t size)
{
    return counted(__libc_malloc(size));
}
extern "C" void *calloc(size_t count, size_t size)
{
    return counted(__libc_calloc(count, size));
}
extern "C" void *realloc(void *memory, size_t size)
{
    return counted(__libc_realloc(memory, size));
}
extern "C" void free(void *memory)
{
    __libc_free(memory);
}

void *operator new(size_t size)
{
    void *memory = counted(__libc_malloc(size ? size : 1));
    if (!memory)
        throw std::bad_alloc();
    return memory;
}
void *operator new[](size_t size)
{
    return operator new(size);
}
void operator delete(void *memory) noexcept
{
    __libc_free(memory);
}
void operator delete[](void *memory) noexcept
{
    __libc_free(memory);
}
void operator delete(void *memory, size_t) noexcept
{
    __libc_free(memory);
}
void operator delete[](void *memory, size_t) noexcept
{
    __libc_free(memory);
}

namespace
{

class Allocations : public StartedProgram
{
  protected:
    void TearDown() override { counting = false; }

    static long countWhile(void (*work)())
    {
        allocations = 0;
        counting = true;
        work();
        counting = false;
        return allocations;
    }
};

// Without this, a counter that never counts would pass the real test.
TEST_F(Allocations, TheCounterSeesAnAllocation)
{
    EXPECT_EQ(countWhile([] { delete new int(1); }), 1);
}

TEST_F(Allocations, NoneWhileDispatchingABurstOfEventsAndDrawingFrames)
{
    standIn::script.numDisplayModes = 3;
    const long count = countWhile([] {
        const SDL_Event events[] = {
            standIn::sizeChanged(800, 600),
            standIn::keyDown(SDL_SCANCODE_TAB),
            standIn::keyDown(SDL_SCANCODE_A),
            standIn::sizeChanged(800, 450),
            standIn::keyDown(SDL_SCANCODE_M),
            standIn::windowEvent(SDL_WINDOWEVENT_MAXIMIZED),
            standIn::sizeChanged(1920, 1050),
            standIn::keyDown(SDL_SCANCODE_F, KMOD_LSHIFT),
            standIn::sizeChanged(1920, 1080),
            standIn::keyDown(SDL_SCANCODE_E),
            standIn::keyDown(SDL_SCANCODE_PAGEDOWN),
            standIn::keyDown(SDL_SCANCODE_PAGEDOWN, KMOD_NONE, 1),
            standIn::keyDown(SDL_SCANCODE_PAGEUP),
            standIn::sizeChanged(1680, 1050),
            standIn::keyDown(SDL_SCANCODE_W, KMOD_LCTRL),
            standIn::windowEvent(SDL_WINDOWEVENT_RESTORED),
            standIn::keyUp(SDL_SCANCODE_W),
            standIn::mouseMotion(300, 200),
            standIn::windowEvent(SDL_WINDOWEVENT_MOVED, 10, 10),
            standIn::keyDown(SDL_SCANCODE_Q),
        };
        for (int burst = 0; burst < 2000; ++burst) {
            for (const SDL_Event &event : events) {
                appState.polledEvent = event;
                dispatchEvent();
            }
            drawFrame();
        }
    });
    EXPECT_EQ(count, 0);
    EXPECT_GE(standIn::callCount(), 2000 * 8) << "the frames did not reach SDL";
}

} // namespace
