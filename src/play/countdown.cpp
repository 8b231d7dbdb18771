// Arming the countdown handler on the platform's timer.
#include "play/countdown.h"

#include "platform/platform.h"
#include "play/game_state.h"

void arm_countdown() { pf_install_int_ex(tick_handler, SECS_TO_TIMER(1)); }
