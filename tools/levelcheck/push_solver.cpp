// The push search: forced moves first, then best-first single pushes with dead-square and
// frozen-block pruning.
#include "push_solver.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
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

// What one phase of expanding a state did.
enum class Phase { nothing, added, gave_up };

// Where the search ended, when it found no goal.
constexpr int NO_GOAL = -1, GAVE_UP = -2;

// Why the level cannot be searched at all, or "" when it can.
std::string unsearchable(const LevelModel &m, const std::vector<int> &dist)
{
    for (int cell : m.nuggets)
        if (dist[cell] < 0)
            return "the nugget at row " + std::to_string(cell_row(cell)) + ", column " +
                   std::to_string(cell_col(cell)) + " can never reach a basket";
    if (m.switches.size() > 16)
        return "more than 16 switches";
    return "";
}

// The search's states, its queue and budget, and the scratch of one expansion. Built in
// place: the set of states seen hashes through a pointer to the pool.
struct PushSearch {
    const LevelModel &m;
    const std::vector<int> &dist;
    const int slots;
    KeyPool pool;
    std::vector<Node> nodes;
    std::vector<PuzzleMove> move_pool;
    std::unordered_set<int, KeyHash, KeyEqual> seen;
    // Lowest first: -runs (a state that follows a run freeing a switch or a nugget is pursued
    // before anything else), nuggets left, pushes so far plus pushes still needed at the least,
    // pushes so far (so that equal estimates are tried shallow first), node.
    using Entry = std::tuple<int, int, int, int, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    Budget budget;
    RegionKey region_key;
    Board board;
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> in_region;
    std::vector<uint16_t> moved;
    std::vector<PuzzleMove> run, best_run;
    std::string steps;

    PushSearch(const LevelModel &model, const std::vector<int> &distances, long max_states)
        : m(model), dist(distances), slots(static_cast<int>(model.nuggets.size())),
          pool{slots + 2, {}}, seen(1024, KeyHash{&pool}, KeyEqual{&pool}),
          budget{0, max_states}, region_key(model), board(model)
    {
    }

    // Adds a state unless it was seen: `nuggets` sorted with NO_NUGGET last.
    void add(int parent, int miner, unsigned taken, const std::vector<uint16_t> &nuggets,
             int pushes, const std::vector<PuzzleMove> &moves, int runs)
    {
        int node = static_cast<int>(nodes.size());
        pool.data.push_back(region_key.corner(miner, taken, nuggets));
        pool.data.push_back(static_cast<uint16_t>(taken));
        pool.data.insert(pool.data.end(), nuggets.begin(), nuggets.end());
        if (!seen.insert(node).second) {
            pool.data.resize(pool.data.size() - pool.width);
            return;
        }
        int h = 0, left = 0;
        for (uint16_t n : nuggets)
            if (n != NO_NUGGET) {
                h += dist[n];
                left++;
            }
        nodes.push_back({parent, miner, pushes, static_cast<int>(move_pool.size()),
                         static_cast<int>(moves.size()), runs});
        move_pool.insert(move_pool.end(), moves.begin(), moves.end());
        open.emplace(-runs, left, pushes + h, pushes, node);
    }

    // `nuggets` with the one in `slot` moved to `to` (NO_NUGGET: delivered), sorted again.
    const std::vector<uint16_t> &with_moved(const std::vector<uint16_t> &nuggets, int slot,
                                            int to)
    {
        moved = nuggets;
        moved[slot] = static_cast<uint16_t>(to);
        std::sort(moved.begin(), moved.end());
        return moved;
    }

    // A run for the nugget in `slot` toward `goal`, the board's other nuggets (less those in
    // `lifted`) in place; the miner and the nugget's end when found.
    bool run_for(const std::vector<uint16_t> &nuggets, int slot, const RunGoal &goal,
                 int &miner, int &end, std::initializer_list<int> lifted = {})
    {
        board.nugget[nuggets[slot]] = 0;
        for (int other : lifted)
            board.nugget[nuggets[other]] = 0;
        const bool found = find_run(board, dist, goal, miner, nuggets[slot], end, run, budget);
        board.nugget[nuggets[slot]] = 1;
        for (int other : lifted)
            board.nugget[nuggets[other]] = 1;
        return found;
    }

    // A reachable switch is taken before anything else: opening barriers and clearing the
    // switch only add choices.
    Phase take_switch(int node, const Node &here, unsigned taken,
                      const std::vector<uint16_t> &nuggets)
    {
        PuzzleMove step;
        if (!switch_step(board, cells, step))
            return Phase::nothing;
        const int target = step_cell(step.stand, step.dir);
        add(node, target, taken | 1u << board.switch_at[target], nuggets, here.pushes, {step},
            here.runs);
        return Phase::added;
    }

    // So is a nugget that can be delivered with all the others left where they are: it leaves
    // more room and the miner can still reach every cell he could before. Of those, the one
    // with the fewest steps to the run's first push and then pushes, so that the miner does
    // not cross the room for nothing.
    Phase deliver_nugget(int node, const Node &here, unsigned taken,
                         const std::vector<uint16_t> &nuggets)
    {
        int best_slot = -1, best_miner = 0, best_steps = 0;
        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            int miner = here.miner, end;
            const bool delivered = run_for(nuggets, slot, {RunGoal::basket}, miner, end);
            if (budget.spent())
                return Phase::gave_up;
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
        if (best_slot < 0)
            return Phase::nothing;
        add(node, best_miner, taken, with_moved(nuggets, best_slot, NO_NUGGET),
            here.pushes + static_cast<int>(best_run.size()), best_run, here.runs);
        return Phase::added;
    }

    // Runs of one nugget that bring a switch within reach, or that let a nugget it stands in
    // the way of be delivered: that is how levels lock a switch or a passage behind a nugget.
    Phase branch_on_runs(int node, const Node &here, unsigned taken,
                         const std::vector<uint16_t> &nuggets)
    {
        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            std::vector<RunGoal> goals{{RunGoal::switch_reach}};
            for (int other = 0; other < slots && nuggets[other] != NO_NUGGET; other++) {
                if (other == slot)
                    continue;
                // Would `other` go in without this nugget on the board at all?
                int miner = here.miner, end;
                const bool blocked_by_slot =
                    run_for(nuggets, other, {RunGoal::basket}, miner, end, {slot});
                if (budget.spent())
                    return Phase::gave_up;
                if (blocked_by_slot)
                    goals.push_back({RunGoal::unblock, nuggets[other]});
            }
            for (const RunGoal &run_goal : goals) {
                int miner = here.miner, end;
                const bool found = run_for(nuggets, slot, run_goal, miner, end);
                if (budget.spent())
                    return Phase::gave_up;
                if (found)
                    add(node, miner, taken, with_moved(nuggets, slot, end),
                        here.pushes + static_cast<int>(run.size()), run, here.runs + 1);
            }
        }
        return Phase::added;
    }

    // Every single push that leaves the nugget able to reach a basket and not frozen.
    void branch_on_pushes(int node, const Node &here, unsigned taken,
                          const std::vector<uint16_t> &nuggets)
    {
        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            const int from = nuggets[slot];
            for (int dir = 0; dir < 4; dir++) {
                const int stand = step_cell(from, opposite(dir));
                const int to = step_cell(from, dir);
                if (stand < 0 || !in_region[stand] || !board.nugget_may_enter(to))
                    continue;
                // A push into a basket would have been found as a delivery.
                if (m.basket[to] || dist[to] < 0)
                    continue;
                if (!board.push_freezes(from, to))
                    add(node, from, taken, with_moved(nuggets, slot, to), here.pushes + 1,
                        {{false, stand, dir}}, here.runs);
            }
        }
    }

    // Expands one state: a forced move when there is one, otherwise every branch.
    Phase expand(int node, const std::vector<uint16_t> &nuggets)
    {
        const Node here = nodes[node];
        const unsigned taken = pool.key(node)[1];
        lay_out(board, taken, nuggets);
        board.region(here.miner, cells, in_region);
        if (take_switch(node, here, taken, nuggets) == Phase::added)
            return Phase::added;
        const Phase delivered = deliver_nugget(node, here, taken, nuggets);
        if (delivered != Phase::nothing)
            return delivered;
        if (branch_on_runs(node, here, taken, nuggets) == Phase::gave_up)
            return Phase::gave_up;
        branch_on_pushes(node, here, taken, nuggets);
        return Phase::added;
    }

    // Searches from the level's start: the node where every nugget is in, NO_GOAL or GAVE_UP.
    int find_goal()
    {
        std::vector<uint16_t> start(m.nuggets.begin(), m.nuggets.end());
        std::sort(start.begin(), start.end());
        add(-1, m.miner, 0, start, 0, {}, 0);
        while (!open.empty()) {
            if (!budget.take())
                return GAVE_UP;
            const int node = std::get<4>(open.top());
            open.pop();
            const std::vector<uint16_t> nuggets(pool.key(node) + 2, pool.key(node) + pool.width);
            if (slots == 0 || nuggets[0] == NO_NUGGET)
                return node;
            if (expand(node, nuggets) == Phase::gave_up)
                return GAVE_UP;
        }
        return NO_GOAL;
    }

    // The moves from the start to `goal`, in playing order.
    std::vector<PuzzleMove> moves_to(int goal) const
    {
        std::vector<PuzzleMove> moves;
        for (int node = goal; nodes[node].parent >= 0; node = nodes[node].parent)
            for (int i = nodes[node].move_count - 1; i >= 0; i--)
                moves.push_back(move_pool[nodes[node].first_move + i]);
        std::reverse(moves.begin(), moves.end());
        return moves;
    }
};

}  // namespace

SolveResult solve_level(const LevelModel &m, long max_states)
{
    SolveResult result;
    const std::vector<int> dist = basket_distances(m);
    result.failure = unsearchable(m, dist);
    if (!result.failure.empty())
        return result;
    PushSearch search(m, dist, max_states);
    const int goal = search.find_goal();
    result.states = search.budget.used;
    if (goal == GAVE_UP) {
        result.failure = "gave up after " + std::to_string(result.states) + " states";
        return result;
    }
    if (goal == NO_GOAL) {
        result.failure = "no solution (" + std::to_string(result.states) + " states searched)";
        return result;
    }
    result.moves = search.moves_to(goal);
    result.pushes = search.nodes[goal].pushes;
    if (!expand_moves(m, result.moves, result.frames)) {
        result.failure = "a move of the solution cannot be walked to";
        return result;
    }
    result.solved = true;
    return result;
}
