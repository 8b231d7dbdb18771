// The start of a game: close handler, message font, settings, resources, first level.
#include "play/game_start.h"

#include "font/alfont_extra.h"
#include "level/game_resources.h"
#include "platform/input.h"
#include "play/level_end.h"
#include "play/level_loop.h"

GameResult start_game(const GameSettings &settings)
{
    pf_set_close_handler(game_close_handler);
    // Loaded afresh at every game start, and the last one freed: the engine keeps a font (its
    // file mapped, its glyphs cached) until told, and nothing else refers to the old one.
    alfont_destroy_font(message_font);
    message_font = alfont_load_font("fontes/AIRLOCK.ttf");
    alfont_set_font_size(message_font, 20);
    apply_settings(game_state, settings);
    std::string missing = load_game_resources();
    if (!missing.empty())
        return {GameOutcome::resources_missing, missing};
    load_level(game_state.level);
    pf_take_focus_loss();  // a focus lost in the menu is no reason to pause the first frame
    return {level_loop(), ""};
}
