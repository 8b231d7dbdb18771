// Starting Allegro so that no settings file steers the game and none is written.
#pragma once

// allegro_init, with two changes to what the library does on its own. Its configuration is
// an empty one held in memory: an allegro.cfg beside the game or a ~/.allegrorc is never read
// (a stale "[system] system = NONE" would otherwise turn every start into Erro 01) and nothing
// is saved at exit. And SIGTERM, SIGINT and SIGHUP keep what they did before the library
// started (normally: end the process), instead of the library's handler, which shuts the
// library down inside the signal and aborts with a core dump when the screen is held.
// Returns allegro_init's result (0 when the library started).
int start_library();

// Adds settings, in the library's configuration format ("[sound]\npatches = ...\n"), to the
// configuration in memory; they replace what an earlier call added. Nothing is written.
void set_library_settings(const char *text);
