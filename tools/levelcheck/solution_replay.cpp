// Replaying key letters through the frame rules, and solution files.
#include "solution_replay.h"

#include <cctype>
#include <fstream>

#include "play/move_rules.h"

ReplayResult replay_solution(GameState &state, LevelGrids &grids, const std::string &letters)
{
    ReplayResult result;
    int under_way = -1;  // the cell of the nugget pushed last while it is outside a basket
    for (char letter : letters) {
        Direction dir;
        if (!letter_direction(letter, dir)) {
            result.failure = std::string("unknown key letter '") + letter + "'";
            break;
        }
        const StepKind kind = play_step(state, grids, dir).kind;
        result.frames++;
        if (kind == StepKind::pushed || kind == StepKind::delivered) {
            // The miner now stands where the nugget stood.
            const int from = state.player_row * MAP_COLS + state.player_col;
            result.parkings += under_way >= 0 && under_way != from;
            const DirectionStep &step = DIRECTION_STEPS[static_cast<int>(dir)];
            under_way = kind == StepKind::delivered ? -1 : from + step.drow * MAP_COLS + step.dcol;
        }
        if (state.hazard_touched) {
            result.hazard = true;
            result.failure = "the miner touched a hazard at frame " + std::to_string(result.frames);
            break;
        }
        if (state.nuggets_remaining == 0) {
            result.won = true;
            break;
        }
    }
    result.nuggets_left = state.nuggets_remaining;
    if (!result.won && result.failure.empty())
        result.failure =
            "the keys ran out with " + std::to_string(result.nuggets_left) + " nugget(s) left";
    return result;
}

bool write_solution_file(const std::string &path, const std::string &letters)
{
    std::ofstream out(path, std::ios::binary);
    for (size_t i = 0; i < letters.size(); i += 64)
        out << letters.substr(i, 64) << '\n';
    out.close();
    return static_cast<bool>(out);
}

bool read_solution_file(const std::string &path, std::string &letters, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    letters.clear();
    char c;
    while (in.get(c)) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        Direction dir;
        if (!letter_direction(c, dir)) {
            error = path + " holds '" + std::string(1, c) + "', not a key letter";
            return false;
        }
        letters += c;
    }
    return true;
}
