// The figures of a level: uninformed search effort, the naive player, dead floor.
#include "level_figures.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "push_board.h"

// A state reached by one move: where the miner stands, the switches taken, the nuggets.
using AddState = std::function<void(int miner, unsigned taken, std::vector<uint16_t> nuggets)>;

// Every state one move away from the one laid on `board` (the miner's region in `cells` and
// `in_region`): each reachable switch stepped on, each nugget pushed each way it can go.
static void add_next_states(const Board &board, const std::vector<int> &cells,
                            const std::array<uint8_t, CELL_COUNT> &in_region, unsigned taken,
                            const std::vector<uint16_t> &nuggets, const AddState &add)
{
    const LevelModel &m = board.m;
    for (int cell : cells)
        for (int dir = 0; dir < 4; dir++) {
            const int target = step_cell(cell, dir);
            if (target >= 0 && board.switch_waiting(target) && m.floor[target])
                add(target, taken | 1u << board.switch_at[target], nuggets);
        }
    for (size_t slot = 0; slot < nuggets.size() && nuggets[slot] != NO_NUGGET; slot++)
        for (int dir = 0; dir < 4; dir++) {
            const int from = nuggets[slot];
            const int stand = step_cell(from, opposite(dir));
            const int to = step_cell(from, dir);
            if (stand < 0 || !in_region[stand] || !board.nugget_may_enter(to))
                continue;
            std::vector<uint16_t> moved = nuggets;
            moved[slot] = m.basket[to] ? NO_NUGGET : static_cast<uint16_t>(to);
            add(from, taken, moved);
        }
}

long breadth_first_effort(const LevelModel &m, long cap, bool &solved)
{
    solved = false;
    if (m.switches.size() > 16)
        return 0;
    const int slots = static_cast<int>(m.nuggets.size());
    KeyPool pool{slots + 2, {}};
    std::unordered_set<int, KeyHash, KeyEqual> seen(1024, KeyHash{&pool}, KeyEqual{&pool});

    // A state is stored under the smallest cell of the miner's region, which also serves as
    // where he stands when it is expanded.
    RegionKey region_key(m);
    auto add = [&](int miner, unsigned taken, std::vector<uint16_t> nuggets) {
        std::sort(nuggets.begin(), nuggets.end());
        const int node = static_cast<int>(pool.data.size() / pool.width);
        pool.data.push_back(region_key.corner(miner, taken, nuggets));
        pool.data.push_back(static_cast<uint16_t>(taken));
        pool.data.insert(pool.data.end(), nuggets.begin(), nuggets.end());
        if (!seen.insert(node).second)
            pool.data.resize(pool.data.size() - pool.width);
    };
    add(m.miner, 0, std::vector<uint16_t>(m.nuggets.begin(), m.nuggets.end()));

    Board board(m);
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> in_region;
    long visited = 0;
    for (size_t node = 0; node * pool.width < pool.data.size(); node++) {
        if (visited >= cap)
            return visited;
        visited++;
        // A copy: adding states may move the pool.
        const std::vector<uint16_t> key(pool.key(static_cast<int>(node)),
                                        pool.key(static_cast<int>(node)) + pool.width);
        const int miner = key[0];
        const unsigned taken = key[1];
        const std::vector<uint16_t> nuggets(key.begin() + 2, key.end());
        if (slots == 0 || nuggets[0] == NO_NUGGET) {
            solved = true;
            return visited;
        }
        lay_out(board, taken, nuggets);
        board.region(miner, cells, in_region);
        add_next_states(board, cells, in_region, taken, nuggets, add);
    }
    return visited;  // every state seen and none won: the level cannot be won
}

// Steps on every switch the miner can walk to, each one perhaps opening the way to the next.
static void take_reachable_switches(Board &board, const std::vector<uint16_t> &nuggets,
                                    unsigned &taken, int &miner)
{
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> in_region;
    for (bool stepped = true; stepped;) {
        stepped = false;
        lay_out(board, taken, nuggets);
        board.region(miner, cells, in_region);
        PuzzleMove step;
        stepped = switch_step(board, cells, step);
        if (stepped) {
            miner = step_cell(step.stand, step.dir);
            taken |= 1u << board.switch_at[miner];
        }
    }
}

bool naive_strategy_wins(const LevelModel &m)
{
    if (m.switches.size() > 16)
        return false;
    const std::vector<int> dist = basket_distances(m);
    Board board(m);
    std::vector<uint16_t> nuggets(m.nuggets.begin(), m.nuggets.end());
    unsigned taken = 0;
    int miner = m.miner;
    std::vector<PuzzleMove> run, best_run;
    std::string steps;
    for (;;) {
        take_reachable_switches(board, nuggets, taken, miner);
        if (std::all_of(nuggets.begin(), nuggets.end(), [](uint16_t n) { return n == NO_NUGGET; }))
            return true;

        // The plan: the shortest run of one nugget into a basket on a board without the others.
        int best_slot = -1;
        for (size_t slot = 0; slot < nuggets.size(); slot++) {
            if (nuggets[slot] == NO_NUGGET)
                continue;
            lay_out(board, taken, {});
            int plan_miner = miner, end;
            Budget budget{0, 1000000};
            if (find_run(board, dist, {RunGoal::basket}, plan_miner, nuggets[slot], end, run,
                         budget) &&
                (best_slot < 0 || run.size() < best_run.size())) {
                best_slot = static_cast<int>(slot);
                best_run = run;
            }
        }
        if (best_slot < 0)
            return false;

        // The play: every walk and push against the nuggets as they really lie.
        for (const PuzzleMove &push : best_run) {
            lay_out(board, taken, nuggets);
            if (!walk(board, miner, push.stand, steps))
                return false;
            const int to = step_cell(nuggets[best_slot], push.dir);
            if (!board.nugget_may_enter(to))
                return false;
            miner = nuggets[best_slot];
            nuggets[best_slot] = m.basket[to] ? NO_NUGGET : static_cast<uint16_t>(to);
        }
    }
}

DeadFloor dead_floor(const LevelModel &m)
{
    DeadFloor result;
    const std::vector<int> dist = basket_distances(m);
    std::vector<int> queue{m.miner};
    std::vector<uint8_t> seen(CELL_COUNT, 0);
    seen[m.miner] = 1;
    for (size_t i = 0; i < queue.size(); i++) {
        result.floor_cells++;
        result.dead_cells += dist[queue[i]] < 0;
        for (int dir = 0; dir < 4; dir++) {
            const int next = step_cell(queue[i], dir);
            if (next >= 0 && !seen[next] && standable_when_open(m, next)) {
                seen[next] = 1;
                queue.push_back(next);
            }
        }
    }
    return result;
}

double median(std::vector<long> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2.0;
}
