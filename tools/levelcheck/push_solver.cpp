// The push search: forced moves first, then best-first single pushes with dead-square and
// frozen-block pruning.
#include "push_solver.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <tuple>
#include <unordered_set>

namespace {

// One state of the search. Its move is the run of pushes (or the one switch step) that led
// here, kept in a shared pool.
struct Node {
    int parent;
    int miner;  // where the miner really stands
    int pushes;
    int first_move;  // index of the move run in the pool
    int move_count;
    int runs;  // runs that freed a switch or a nugget on the way here
};

}  // namespace

SolveResult solve_level(const LevelModel &m, long max_states)
{
    SolveResult result;
    const std::vector<int> dist = basket_distances(m);
    for (int cell : m.nuggets)
        if (dist[cell] < 0) {
            result.failure = "the nugget at row " + std::to_string(cell_row(cell)) + ", column " +
                             std::to_string(cell_col(cell)) + " can never reach a basket";
            return result;
        }
    if (m.switches.size() > 16) {
        result.failure = "more than 16 switches";
        return result;
    }

    const int slots = static_cast<int>(m.nuggets.size());
    KeyPool pool{slots + 2, {}};
    std::vector<Node> nodes;
    std::vector<PuzzleMove> move_pool;
    std::unordered_set<int, KeyHash, KeyEqual> seen(1024, KeyHash{&pool}, KeyEqual{&pool});
    // Lowest first: -runs (a state that follows a run freeing a switch or a nugget is pursued
    // before anything else), nuggets left, pushes so far plus pushes still needed at the least,
    // pushes so far (so that equal estimates are tried shallow first), node.
    using Entry = std::tuple<int, int, int, int, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;

    // Adds a state unless it was seen: `nuggets` sorted with NO_NUGGET last.
    Board key_board(m);
    std::vector<int> key_cells;
    std::array<uint8_t, CELL_COUNT> key_seen;
    auto add = [&](int parent, int miner, unsigned taken, const std::vector<uint16_t> &nuggets,
                   int pushes, const std::vector<PuzzleMove> &moves, int runs) {
        lay_out(key_board, taken, nuggets);
        key_board.region(miner, key_cells, key_seen);
        int node = static_cast<int>(nodes.size());
        pool.data.push_back(
            static_cast<uint16_t>(*std::min_element(key_cells.begin(), key_cells.end())));
        pool.data.push_back(static_cast<uint16_t>(taken));
        pool.data.insert(pool.data.end(), nuggets.begin(), nuggets.end());
        if (!seen.insert(node).second) {
            pool.data.resize(pool.data.size() - pool.width);
            return;
        }
        int h = 0;
        for (uint16_t n : nuggets)
            if (n != NO_NUGGET)
                h += dist[n];
        nodes.push_back({parent, miner, pushes, static_cast<int>(move_pool.size()),
                         static_cast<int>(moves.size()), runs});
        move_pool.insert(move_pool.end(), moves.begin(), moves.end());
        int left = 0;
        for (uint16_t n : nuggets)
            left += n != NO_NUGGET;
        open.emplace(-runs, left, pushes + h, pushes, node);
    };

    std::vector<uint16_t> start(m.nuggets.begin(), m.nuggets.end());
    std::sort(start.begin(), start.end());
    add(-1, m.miner, 0, start, 0, {}, 0);

    Board board(m);
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> in_region;
    std::vector<uint16_t> moved;
    std::vector<PuzzleMove> run, best_run;
    std::string steps;
    int goal = -1;
    Budget budget{0, max_states};
    auto give_up = [&]() {
        result.states = budget.used;
        result.failure = "gave up after " + std::to_string(budget.used) + " states";
        return result;
    };
    while (!open.empty()) {
        if (!budget.take())
            return give_up();
        const int node = std::get<4>(open.top());
        open.pop();
        const std::vector<uint16_t> nuggets(pool.key(node) + 2, pool.key(node) + pool.width);
        if (slots == 0 || nuggets[0] == NO_NUGGET) {
            goal = node;
            break;
        }
        const Node here = nodes[node];
        const unsigned taken = pool.key(node)[1];
        lay_out(board, taken, nuggets);
        board.region(here.miner, cells, in_region);

        // A reachable switch is taken before anything else: opening barriers and clearing the
        // switch only add choices.
        int switch_stand = -1, switch_dir = 0;
        for (size_t i = 0; i < cells.size() && switch_stand < 0; i++)
            for (int dir = 0; dir < 4 && switch_stand < 0; dir++) {
                int target = step_cell(cells[i], dir);
                if (target >= 0 && board.switch_waiting(target) && m.floor[target]) {
                    switch_stand = cells[i];
                    switch_dir = dir;
                }
            }
        if (switch_stand >= 0) {
            int target = step_cell(switch_stand, switch_dir);
            add(node, target, taken | 1u << board.switch_at[target], nuggets, here.pushes,
                {{true, switch_stand, switch_dir}}, here.runs);
            continue;
        }

        // So is a nugget that can be delivered with all the others left where they are: it
        // leaves more room and the miner can still reach every cell he could before.
        // Of those, the one with the fewest steps to the run's first push and then pushes, so
        // that the miner does not cross the room for nothing.
        int best_slot = -1, best_miner = 0, best_steps = 0;
        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            int miner = here.miner, end;
            board.nugget[nuggets[slot]] = 0;
            bool delivered = find_run(board, dist, {RunGoal::basket}, miner, nuggets[slot], end,
                                      run, budget);
            board.nugget[nuggets[slot]] = 1;
            if (budget.spent())
                return give_up();
            if (!delivered)
                continue;
            steps.clear();
            walk(board, here.miner, run.front().stand, steps);
            const int run_steps = static_cast<int>(steps.size() + run.size());
            if (best_slot < 0 || run_steps < best_steps) {
                best_slot = slot;
                best_miner = miner;
                best_run = run;
                best_steps = run_steps;
            }
        }
        if (best_slot >= 0) {
            moved = nuggets;
            moved[best_slot] = NO_NUGGET;
            std::sort(moved.begin(), moved.end());
            add(node, best_miner, taken, moved, here.pushes + static_cast<int>(best_run.size()),
                best_run, here.runs);
            continue;
        }

        // Otherwise the search branches. Runs of one nugget that bring a switch within reach,
        // or that let a nugget it stands in the way of be delivered, are tried first: that is
        // how levels lock a switch or a passage behind a nugget.
        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            std::vector<RunGoal> goals{{RunGoal::switch_reach}};
            for (int other = 0; other < slots && nuggets[other] != NO_NUGGET; other++) {
                if (other == slot)
                    continue;
                // Would `other` go in without this nugget on the board at all?
                int miner = here.miner, end;
                board.nugget[nuggets[slot]] = board.nugget[nuggets[other]] = 0;
                bool blocked_by_slot = find_run(board, dist, {RunGoal::basket}, miner,
                                                nuggets[other], end, run, budget);
                board.nugget[nuggets[slot]] = board.nugget[nuggets[other]] = 1;
                if (budget.spent())
                    return give_up();
                if (blocked_by_slot)
                    goals.push_back({RunGoal::unblock, nuggets[other]});
            }
            for (const RunGoal &run_goal : goals) {
                int miner = here.miner, end;
                board.nugget[nuggets[slot]] = 0;
                bool found = find_run(board, dist, run_goal, miner, nuggets[slot], end, run, budget);
                board.nugget[nuggets[slot]] = 1;
                if (budget.spent())
                    return give_up();
                if (!found)
                    continue;
                moved = nuggets;
                moved[slot] = static_cast<uint16_t>(end);
                std::sort(moved.begin(), moved.end());
                add(node, miner, taken, moved, here.pushes + static_cast<int>(run.size()), run,
                    here.runs + 1);
            }
        }
        // And every single push is a choice.
        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            const int from = nuggets[slot];
            for (int dir = 0; dir < 4; dir++) {
                const int stand = step_cell(from, opposite(dir));
                const int to = step_cell(from, dir);
                if (stand < 0 || !in_region[stand] || !board.nugget_may_enter(to))
                    continue;
                // A push into a basket would have been found as a delivery above.
                if (m.basket[to] || dist[to] < 0)
                    continue;
                board.nugget[from] = 0;
                board.nugget[to] = 1;
                const bool stuck = board.frozen(to);
                board.nugget[to] = 0;
                board.nugget[from] = 1;
                if (stuck)
                    continue;
                moved = nuggets;
                moved[slot] = static_cast<uint16_t>(to);
                std::sort(moved.begin(), moved.end());
                add(node, from, taken, moved, here.pushes + 1, {{false, stand, dir}}, here.runs);
            }
        }
    }
    result.states = budget.used;
    if (goal < 0) {
        result.failure = "no solution (" + std::to_string(result.states) + " states searched)";
        return result;
    }

    for (int node = goal; nodes[node].parent >= 0; node = nodes[node].parent)
        for (int i = nodes[node].move_count - 1; i >= 0; i--)
            result.moves.push_back(move_pool[nodes[node].first_move + i]);
    std::reverse(result.moves.begin(), result.moves.end());
    result.pushes = nodes[goal].pushes;
    if (!expand_moves(m, result.moves, result.frames)) {
        result.failure = "a move of the solution cannot be walked to";
        return result;
    }
    result.solved = true;
    return result;
}
