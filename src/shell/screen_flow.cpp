// The screen flow: the main-menu loop and what each menu choice leads to.
#include "platform/platform.h"
#include "shell/shell.h"
#include "ui/main_menu.h"

std::atomic<bool> menu_close_requested{false};

namespace {

// Runs on the library's thread: only raises the flag that the menu loop polls.
void request_menu_close() { menu_close_requested = true; }

}  // namespace

void install_menu_close_handler() { pf_set_close_button_callback(request_menu_close); }

void main_menu()
{
    install_menu_close_handler();
    menu_close_requested = false;
    for (;;) {
        if (menu_close_requested)
            return;
        if (poll_main_menu() == MENU_QUIT)
            shutdown_system(0);
        // "Iniciar", "Ajuda" and "Opcoes" have no screens yet: the menu simply goes on.
    }
}
