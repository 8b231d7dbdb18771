// The shared board: dead squares, walks and single-nugget push runs.
#include "push_board.h"

#include <algorithm>
#include <unordered_set>

std::vector<int> basket_distances(const LevelModel &m)
{
    std::vector<int> dist(CELL_COUNT, -1);
    std::vector<int> queue;
    for (int cell = 0; cell < CELL_COUNT; cell++)
        if (m.basket[cell] && !m.hazard[cell]) {
            dist[cell] = 0;
            queue.push_back(cell);
        }
    // Backwards: a nugget at `from` pushed in `dir` lands on `to` with the miner behind it.
    for (size_t i = 0; i < queue.size(); i++) {
        int to = queue[i];
        for (int dir = 0; dir < 4; dir++) {
            int from = step_cell(to, opposite(dir));
            if (from < 0 || dist[from] >= 0 || !standable_when_open(m, from))
                continue;
            if (!standable_when_open(m, step_cell(from, opposite(dir))))
                continue;
            dist[from] = dist[to] + 1;
            queue.push_back(from);
        }
    }
    return dist;
}

void lay_out(Board &board, unsigned taken, const std::vector<uint16_t> &nuggets)
{
    board.set_taken(taken);
    board.nugget.fill(0);
    for (uint16_t n : nuggets)
        if (n != NO_NUGGET)
            board.nugget[n] = 1;
}

bool walk(const Board &board, int from, int to, std::string &frames)
{
    std::vector<int> came_from(CELL_COUNT, -1);
    std::vector<int> queue{from};
    came_from[from] = from;
    for (size_t i = 0; i < queue.size() && came_from[to] < 0; i++)
        for (int dir = 0; dir < 4; dir++) {
            int next = step_cell(queue[i], dir);
            if (next >= 0 && came_from[next] < 0 && board.walkable(next)) {
                came_from[next] = queue[i];
                queue.push_back(next);
            }
        }
    if (came_from[to] < 0)
        return false;
    std::string path;
    for (int cell = to; cell != from; cell = came_from[cell]) {
        int back = came_from[cell];
        for (int dir = 0; dir < 4; dir++)
            if (step_cell(back, dir) == cell)
                path += STEP_LETTER[dir];
    }
    frames.append(path.rbegin(), path.rend());
    return true;
}

bool expand_moves(const LevelModel &m, const std::vector<PuzzleMove> &moves,
                  std::string &frames)
{
    Board board(m);
    std::vector<uint16_t> nuggets(m.nuggets.begin(), m.nuggets.end());
    unsigned taken = 0;
    int miner = m.miner;
    for (const PuzzleMove &move : moves) {
        lay_out(board, taken, nuggets);
        if (!walk(board, miner, move.stand, frames))
            return false;
        frames += STEP_LETTER[move.dir];
        miner = step_cell(move.stand, move.dir);
        if (move.takes_switch) {
            taken |= 1u << board.switch_at[miner];
            continue;
        }
        const int to = step_cell(miner, move.dir);
        if (to < 0)
            return false;  // a push off the board: no move the rules could play
        for (uint16_t &n : nuggets)
            if (n == miner)
                n = m.basket[to] ? NO_NUGGET : static_cast<uint16_t>(to);
    }
    return true;
}

bool switch_step(const Board &board, const std::vector<int> &cells, PuzzleMove &step)
{
    for (int cell : cells)
        for (int dir = 0; dir < 4; dir++) {
            int next = step_cell(cell, dir);
            if (next >= 0 && board.switch_waiting(next) && board.m.floor[next]) {
                step = {true, cell, dir};
                return true;
            }
        }
    return false;
}

bool switch_in_reach(const Board &board, const std::vector<int> &cells)
{
    PuzzleMove step;
    return switch_step(board, cells, step);
}

uint16_t RegionKey::corner(int miner, unsigned taken, const std::vector<uint16_t> &nuggets)
{
    lay_out(board, taken, nuggets);
    board.region(miner, cells, seen);
    return static_cast<uint16_t>(*std::min_element(cells.begin(), cells.end()));
}

namespace {

// One state of a run search: the nugget's cell (-1: delivered), where the miner stands, the
// visit it came from and the push that led here.
struct RunVisit {
    int nugget, miner, parent;
    PuzzleMove push;
};

// Whether the nugget at `target` can be delivered, the miner starting at `from`, with every
// other nugget where it lies now.
bool deliverable(Board &board, const std::vector<int> &dist, int target, int from,
                 Budget &budget)
{
    int target_miner = from, target_end;
    std::vector<PuzzleMove> ignored;
    board.nugget[target] = 0;
    bool free = find_run(board, dist, {RunGoal::basket}, target_miner, target, target_end,
                         ignored, budget);
    board.nugget[target] = 1;
    return free;
}

// Adds a visit for each push of the visit `i`'s nugget (laid on `board`, the miner's region in
// `in_region`) that keeps it able to reach a basket and not frozen: the new visit's index when
// a push delivers it and `goal` is a basket, otherwise -1.
int add_pushes(Board &board, const std::vector<int> &dist, const RunGoal &goal,
               const std::array<uint8_t, CELL_COUNT> &in_region, int i,
               std::vector<RunVisit> &visits)
{
    const RunVisit here = visits[i];
    for (int dir = 0; dir < 4; dir++) {
        const int stand = step_cell(here.nugget, opposite(dir));
        const int to = step_cell(here.nugget, dir);
        if (stand < 0 || !in_region[stand] || !board.nugget_may_enter(to))
            continue;
        const PuzzleMove push{false, stand, dir};
        if (board.m.basket[to]) {
            if (goal.kind == RunGoal::basket) {
                visits.push_back({-1, here.nugget, i, push});
                return static_cast<int>(visits.size()) - 1;
            }
            continue;
        }
        if (dist[to] >= 0 && !board.push_freezes(here.nugget, to))
            visits.push_back({to, here.nugget, i, push});
    }
    return -1;
}

}  // namespace

bool find_run(Board &board, const std::vector<int> &dist, RunGoal goal, int &miner, int nugget,
              int &end, std::vector<PuzzleMove> &pushes, Budget &budget)
{
    std::vector<RunVisit> visits{{nugget, miner, -1, {false, -1, 0}}};
    std::unordered_set<int> seen;
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> in_region;
    int found = -1;
    for (size_t i = 0; i < visits.size() && found < 0; i++) {
        const RunVisit here = visits[i];
        if (!budget.take())
            return false;
        board.nugget[here.nugget] = 1;
        board.region(here.miner, cells, in_region);
        int canonical = *std::min_element(cells.begin(), cells.end());
        if (!seen.insert(here.nugget * CELL_COUNT + canonical).second) {
            board.nugget[here.nugget] = 0;
            continue;
        }
        if (i > 0 &&
            ((goal.kind == RunGoal::switch_reach && switch_in_reach(board, cells)) ||
             (goal.kind == RunGoal::unblock &&
              deliverable(board, dist, goal.target, here.miner, budget)))) {
            board.nugget[here.nugget] = 0;
            found = static_cast<int>(i);
            break;
        }
        found = add_pushes(board, dist, goal, in_region, static_cast<int>(i), visits);
        board.nugget[here.nugget] = 0;
    }
    if (found < 0)
        return false;
    end = visits[found].nugget;
    miner = visits[found].miner;
    pushes.clear();
    for (int v = found; visits[v].parent >= 0; v = visits[v].parent)
        pushes.push_back(visits[v].push);
    std::reverse(pushes.begin(), pushes.end());
    return true;
}
