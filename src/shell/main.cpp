// The game's entry point: no command line, no settings; everything is in pitlorex_main.
#include "shell/shell.h"

int main()
{
    return pitlorex_main();
}
END_OF_MAIN()
