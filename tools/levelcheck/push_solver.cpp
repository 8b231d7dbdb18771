// The push search: forced moves first, then best-first single pushes with dead-square and
// frozen-block pruning.
#include "push_solver.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <tuple>
#include <unordered_set>

namespace {

constexpr uint16_t NO_NUGGET = 0xFFFF;

int opposite(int dir) { return dir ^ 1; }

bool standable_when_open(const LevelModel &m, int cell)
{
    return cell >= 0 && (m.floor[cell] || m.opens_with[cell] != GROUP_NONE) && !m.hazard[cell];
}

// What the miner and nuggets meet in one state of the search.
struct Board {
    const LevelModel &m;
    std::array<int8_t, CELL_COUNT> switch_at;  // index into m.switches, or -1
    std::array<uint8_t, CELL_COUNT> nugget{};
    unsigned taken = 0;   // bit i: switch i stepped on
    unsigned opened = 0;  // bit g: group g open

    explicit Board(const LevelModel &model) : m(model)
    {
        switch_at.fill(-1);
        for (size_t i = 0; i < m.switches.size(); i++)
            switch_at[m.switches[i].cell] = static_cast<int8_t>(i);
    }

    void set_taken(unsigned mask)
    {
        taken = mask;
        opened = 0;
        for (size_t i = 0; i < m.switches.size(); i++)
            if (mask & (1u << i) && m.switches[i].group != GROUP_NONE)
                opened |= 1u << m.switches[i].group;
    }

    bool switch_waiting(int cell) const
    {
        return switch_at[cell] >= 0 && !(taken & (1u << switch_at[cell]));
    }

    bool floor_now(int cell) const
    {
        return m.floor[cell] ||
               (m.opens_with[cell] != GROUP_NONE && opened & (1u << m.opens_with[cell]));
    }

    // The miner may walk here without changing anything.
    bool walkable(int cell) const
    {
        return cell >= 0 && floor_now(cell) && !m.hazard[cell] && !nugget[cell] &&
               !switch_waiting(cell);
    }

    // A nugget may be pushed here.
    bool nugget_may_enter(int cell) const
    {
        if (cell < 0 || m.hazard[cell] || switch_waiting(cell))
            return false;
        return m.basket[cell] || (floor_now(cell) && !nugget[cell]);
    }

    // Never free again, for the frozen-block test: off the grid, a wall, a hazard.
    bool solid(int cell) const
    {
        return cell < 0 || m.hazard[cell] ||
               (!m.floor[cell] && m.opens_with[cell] == GROUP_NONE && !m.basket[cell]);
    }

    // A nugget at `cell` (not in a basket) sits in a 2 x 2 block of walls and nuggets: none of
    // them can ever move again.
    bool frozen(int cell) const
    {
        for (int vertical : {0, 1})
            for (int horizontal : {2, 3}) {
                int a = step_cell(cell, vertical), b = step_cell(cell, horizontal);
                int c = a < 0 ? -1 : step_cell(a, horizontal);
                auto blocked = [&](int x) { return solid(x) || nugget[x]; };
                if (blocked(a) && blocked(b) && blocked(c))
                    return true;
            }
        return false;
    }

    // Cells the miner reaches from `from`, in breadth-first order.
    void region(int from, std::vector<int> &cells, std::array<uint8_t, CELL_COUNT> &seen) const
    {
        seen.fill(0);
        cells.clear();
        cells.push_back(from);
        seen[from] = 1;
        for (size_t i = 0; i < cells.size(); i++)
            for (int dir = 0; dir < 4; dir++) {
                int next = step_cell(cells[i], dir);
                if (next >= 0 && !seen[next] && walkable(next)) {
                    seen[next] = 1;
                    cells.push_back(next);
                }
            }
    }
};

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

// Keys live in one flat pool: per node, the miner's region (its smallest cell), the taken
// switches and the nuggets' cells sorted, NO_NUGGET for delivered ones.
struct KeyPool {
    int width;
    std::vector<uint16_t> data;
    const uint16_t *key(int node) const { return &data[static_cast<size_t>(node) * width]; }
};

struct KeyHash {
    const KeyPool *pool;
    size_t operator()(int node) const
    {
        const uint16_t *k = pool->key(node);
        size_t h = 1469598103934665603ull;
        for (int i = 0; i < pool->width; i++)
            h = (h ^ k[i]) * 1099511628211ull;
        return h;
    }
};

// The states a solve may still visit, shared by the main search and every run search inside
// it, so that the bound holds however deeply they nest.
struct Budget {
    long used = 0;
    long max = 0;
    // Counts one more state; false (and nothing counted) once the bound is reached.
    bool take()
    {
        if (used >= max)
            return false;
        used++;
        return true;
    }
    bool spent() const { return used >= max; }
};

struct KeyEqual {
    const KeyPool *pool;
    bool operator()(int a, int b) const
    {
        return std::equal(pool->key(a), pool->key(a) + pool->width, pool->key(b));
    }
};

}  // namespace

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

// Sets a board to the given taken switches and nuggets.
static void lay_out(Board &board, unsigned taken, const std::vector<uint16_t> &nuggets)
{
    board.set_taken(taken);
    board.nugget.fill(0);
    for (uint16_t n : nuggets)
        if (n != NO_NUGGET)
            board.nugget[n] = 1;
}

// Walks from `from` to `to` over cells the miner may walk on now, appending one letter a
// step; false if `to` cannot be reached.
static bool walk(const Board &board, int from, int to, std::string &frames)
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

// The moves played out over the model: the walk to each stand cell, then the step itself.
static bool expand_frames(const LevelModel &m, const std::vector<PuzzleMove> &moves,
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
        for (uint16_t &n : nuggets)
            if (n == miner)
                n = m.basket[step_cell(miner, move.dir)]
                        ? NO_NUGGET
                        : static_cast<uint16_t>(step_cell(miner, move.dir));
    }
    return true;
}

// What a run of pushes of one nugget aims at.
struct RunGoal {
    enum Kind {
        basket,        // the nugget goes into a basket
        switch_reach,  // the miner can reach a switch not yet taken
        unblock,       // the nugget at `target` can then be delivered
    } kind;
    int target = -1;
};

// True when a switch not yet taken lies next to one of `cells`.
static bool switch_in_reach(const Board &board, const std::vector<int> &cells)
{
    for (int cell : cells)
        for (int dir = 0; dir < 4; dir++) {
            int next = step_cell(cell, dir);
            if (next >= 0 && board.switch_waiting(next) && board.m.floor[next])
                return true;
        }
    return false;
}

// The shortest run of pushes of the nugget at `nugget` that reaches `goal` while every other
// nugget stays put, searched over (nugget cell, miner region). `board` holds the other nuggets
// only. On success `end` is where the nugget rests (-1 when delivered) and `miner` where the
// miner stands. Every state it looks at is taken from `budget`; when that runs out it fails.
static bool find_run(Board &board, const std::vector<int> &dist, RunGoal goal, int &miner,
                     int nugget, int &end, std::vector<PuzzleMove> &pushes, Budget &budget)
{
    // For unblock runs: whether the target can be delivered with this run's nugget where it is.
    auto target_free = [&](int from) {
        int target_miner = from, target_end;
        std::vector<PuzzleMove> ignored;
        board.nugget[goal.target] = 0;
        bool free = find_run(board, dist, {RunGoal::basket}, target_miner, goal.target, target_end,
                             ignored, budget);
        board.nugget[goal.target] = 1;
        return free;
    };

    struct Visit {
        int nugget, miner, parent;
        PuzzleMove push;
    };
    std::vector<Visit> visits{{nugget, miner, -1, {false, -1, 0}}};
    std::unordered_set<int> seen;
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> in_region;
    int found = -1;
    for (size_t i = 0; i < visits.size() && found < 0; i++) {
        const Visit here = visits[i];
        if (!budget.take())
            return false;
        board.nugget[here.nugget] = 1;
        board.region(here.miner, cells, in_region);
        int canonical = *std::min_element(cells.begin(), cells.end());
        if (!seen.insert(here.nugget * CELL_COUNT + canonical).second) {
            board.nugget[here.nugget] = 0;
            continue;
        }
        if (i > 0 && ((goal.kind == RunGoal::switch_reach && switch_in_reach(board, cells)) ||
                      (goal.kind == RunGoal::unblock && target_free(here.miner)))) {
            board.nugget[here.nugget] = 0;
            found = static_cast<int>(i);
            break;
        }
        for (int dir = 0; dir < 4 && found < 0; dir++) {
            const int stand = step_cell(here.nugget, opposite(dir));
            const int to = step_cell(here.nugget, dir);
            if (stand < 0 || !in_region[stand] || !board.nugget_may_enter(to))
                continue;
            const PuzzleMove push{false, stand, dir};
            if (board.m.basket[to]) {
                if (goal.kind == RunGoal::basket) {
                    visits.push_back({-1, here.nugget, static_cast<int>(i), push});
                    found = static_cast<int>(visits.size()) - 1;
                }
                continue;
            }
            if (dist[to] < 0)
                continue;
            board.nugget[here.nugget] = 0;
            board.nugget[to] = 1;
            const bool stuck = board.frozen(to);
            board.nugget[to] = 0;
            board.nugget[here.nugget] = 1;
            if (!stuck)
                visits.push_back({to, here.nugget, static_cast<int>(i), push});
        }
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
        int best_slot = -1, best_miner = 0;
        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            int miner = here.miner, end;
            board.nugget[nuggets[slot]] = 0;
            bool delivered = find_run(board, dist, {RunGoal::basket}, miner, nuggets[slot], end,
                                      run, budget);
            board.nugget[nuggets[slot]] = 1;
            if (budget.spent())
                return give_up();
            if (delivered && (best_slot < 0 || run.size() < best_run.size())) {
                best_slot = slot;
                best_miner = miner;
                best_run = run;
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
            for (const RunGoal &goal : goals) {
                int miner = here.miner, end;
                board.nugget[nuggets[slot]] = 0;
                bool found = find_run(board, dist, goal, miner, nuggets[slot], end, run, budget);
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
    if (!expand_frames(m, result.moves, result.frames)) {
        result.failure = "a move of the solution cannot be walked to";
        return result;
    }
    result.solved = true;
    return result;
}
