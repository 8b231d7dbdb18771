// A rig for the level loop tests: a game folder with tiny levels, tunes and pictures, a probe
// that reads the play messages off the screen, and a scripted player.
#pragma once

#include "level_test_files.h"
#include "script_platform.h"

#include <allegro.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

struct ALFONT_FONT;

// Writes level `number` ("fases/faseNN.plt" and ".plo") into `dir` from a picture laid at the
// grid's top-left corner; the rest of the grid is wall. Picture characters:
//   '#' wall   '.' floor   '@' the miner   '$' a nugget   'o' basket 'Y'   'z' basket 'Z'
//   'X', 'W', 'U' barriers   '3'..'8' switches and hazards on floor   '&' an X barrier under a nugget
void write_level(const TempDir &dir, int number, const std::vector<std::string> &picture);

// Writes the five area tunes ("sons/area1.mid" ...) into `dir`.
void write_area_tunes(const TempDir &dir);

// Writes every picture the game loads ("tiles/tA.bmp" ..., "objetos/o1.bmp" ...), the title
// picture "imagens/inicio.bmp" in title_colour(), and the message font when one is at hand.
void write_game_pictures(const TempDir &dir);

// The colour of the title picture written by write_game_pictures.
int title_colour();

// Reads the play messages off the screen: a message counts as shown when every pixel its text
// covers fully has the message's colour, and some pixel between its letters has not.
struct MessageProbe {
    struct Message {
        std::string text;
        std::vector<std::pair<int, int>> ink;  // fully covered pixels, screen coordinates
        // Pixels among the first letters that the text leaves alone: on a screen filled with
        // the message's colour the text does not count as shown.
        std::vector<std::pair<int, int>> gaps;
        int colour;
    };
    std::vector<Message> messages;  // the three play messages, the pause and the passwords

    // Empty when no outline font is at hand.
    MessageProbe();
    bool ready() const { return !messages.empty(); }
    // The texts shown on `screen` now, joined with '|'.
    std::string shown(BITMAP *screen) const;
};

// Records every pause of the virtual clock with the messages on the screen when it ends.
// summary() gives them as "70*3 100 5000[ NIVEL CONCLUIDO ]": runs of equal pauses with
// nothing shown collapsed to "length*count".
struct PauseLog {
    struct Pause {
        long length;
        std::string shown;
        int level, lives, time, player_col;
    };
    std::vector<Pause> pauses;
    long last_ms = 0;

    void record(const MessageProbe &probe, const ScriptPlatform &s);
    std::string summary() const;
};

// What a scripted player does: hold `key` for `ms` milliseconds (key 0: nothing;
// CLOSE_WINDOW: presses the window's close button).
struct Press {
    int key;
    int ms;
};
constexpr int CLOSE_WINDOW = -1;
using Plan = std::vector<Press>;

// A player who watches the game: on the first pause of a level attempt (a new level, or the
// same level with a life fewer) that has nuggets to deliver, starts that attempt's plan; at
// the end of a plan, and whenever no nugget is left, lets go of every key.
struct ScriptedPlayer {
    std::map<int, std::vector<Plan>> plans;  // per level, one plan per attempt
    bool active = true;                      // false: keys are left as the test sets them

    int level = -1, lives = -1;
    int attempt = -1;
    std::map<int, int> attempts;  // per level
    long plan_start = 0;

    void react(ScriptPlatform &s);
};

// Frees what a game left loaded (pictures, tunes, fonts, the title) and clears the game's
// state and the script, so that the next test starts from nothing.
void release_test_game();

// The whole rig: a temporary game folder as the working directory, a screen, the font engine
// running, a clean game state, the pause log and the player hooked to the virtual clock.
struct LoopRig {
    TempDir dir;
    WorkingDirectory cwd{dir.path};
    BITMAP *screen = nullptr;
    MessageProbe *probe = nullptr;
    PauseLog pauses;
    ScriptedPlayer player;

    LoopRig();
    ~LoopRig();
    LoopRig(const LoopRig &) = delete;
    LoopRig &operator=(const LoopRig &) = delete;

    // Pictures and tunes in the game's slots as a game start leaves them, without the font
    // load and the settings (for tests that enter the level loop directly).
    void load_resources();
    // Sets up game_state for `level` as start_game would, and loads the level.
    void start_at(int level, int difficulty = 1, bool music = true, int frame_delay = 70);
};

// The tiniest level: one push to the right delivers the only nugget.
extern const std::vector<std::string> ONE_PUSH_RIGHT;
