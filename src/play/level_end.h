// The ends of a level: won, a life lost, the game over; and the messages they show.
#pragma once

#include <string>

#include "font/alfont.h"

// The font of the play messages (level won, life lost, passwords), loaded at every game start.
extern ALFONT_FONT *message_font;

// The play messages, drawn at (272, 0) in black over the picture of the last frame, each
// letter ringed with one pixel of this light colour (the password too).
constexpr int MESSAGE_RING_RGB[3] = {235, 235, 225};
constexpr const char *LEVEL_WON_TEXT = " NIVEL CONCLUIDO ";
constexpr const char *LIFE_LOST_TEXT = "     VIDA PERDIDA";
constexpr const char *GAME_OVER_TEXT = "      FIM DE JOGO";
constexpr int MESSAGE_X = 272, MESSAGE_Y = 0;
constexpr int MESSAGE_COLOUR = 0;  // black
// The password of a newly reached area, under the message, in a dark blue given as a raw
// 16-bit pixel value.
constexpr int PASSWORD_X = 325, PASSWORD_Y = 20;
constexpr int PASSWORD_COLOUR = 15;

// Draws `text` onto the screen with message_font at (x, y): the letters in `colour` over a
// one-pixel ring of the same letters in MESSAGE_RING_RGB, so that dark letters read on every
// area's wall.
void draw_play_text(const char *text, int x, int y, int colour);

// "SENHA: " and the password of `area` for areas 2 to 5; "" for any other area.
std::string area_password_text(int area);

// Stops the countdown, pauses 100 ms, draws `text` at the message place on the screen with
// message_font, then waits for the player: a fresh press of Return, Space or Escape, once half
// a second has passed, ends the wait (that press is taken). A close request cuts the pauses
// short. True when a press of Escape ended it.
bool show_play_message(const char *text);

// Each sequence below returns true when a press of Escape ended one of its pauses: held on, that
// Escape must not give up the level that follows.

// The won-level sequence, after the frame that delivered the last nugget: the message; after
// the last level, completed is set (the level loop then shows the victory board); otherwise
// the next level, its area and password when it starts an area (shown until a key is pressed,
// at least 2.5 s), and the next level loaded into a clean level state.
bool finish_won_level();

// The lost-life sequence: the message, one life fewer, and the same level loaded afresh
// (with a full countdown).
bool lose_life();

// The game-over sequence: the message, a clean level state, the area tunes stopped and freed,
// the game state back to its defaults. The screen flow shows the pointer and the title after
// it, unless the window was closed meanwhile.
void game_over();
