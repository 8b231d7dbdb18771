/* Preloaded into the game for the memory run: the timed waits (a play message's first half
   second, the area password's 2.5 s) are cut short, so that fifty games take a minute.
   Memory does not depend on how long the game waits. The game waits out those pauses in 10 ms slices (so a
   close is answered at once), which are cut to nothing; frame delays and the 1 ms rests of the
   waiting screens pass through untouched. */
#define _GNU_SOURCE
#include <dlfcn.h>

void rest(unsigned int ms)
{
    static void (*real_rest)(unsigned int);
    if (!real_rest)
        real_rest = (void (*)(unsigned int))dlsym(RTLD_NEXT, "rest");
    if (real_rest)
        real_rest(ms >= 1000 ? 20 : ms == 10 ? 0 : ms);
}
