/* Preloaded into the game by its end-to-end tests: a FreeType that always fails to start. */
#include <stddef.h>
#include <stdlib.h>

typedef int FT_Error;
typedef struct FT_LibraryRec_ *FT_Library;

/* The game's message box is another program, and it must draw its text as usual: the preload
   stops at the game. */
__attribute__((constructor)) static void keep_preload_to_this_process(void)
{
    unsetenv("LD_PRELOAD");
}

/* Fails as FreeType does when it cannot get memory for its library. */
FT_Error FT_Init_FreeType(FT_Library *library)
{
    if (library)
        *library = NULL;
    return 0x40; /* FT_Err_Out_Of_Memory */
}
