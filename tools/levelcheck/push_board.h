// The board the push searches share: a level model with nuggets and taken switches laid on it,
// the walks and single-nugget push runs over it, and the keys that tell states apart.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "level_model.h"

constexpr uint16_t NO_NUGGET = 0xFFFF;

inline int opposite(int dir) { return dir ^ 1; }
static_assert(DIRECTION_STEPS[0].drow == -DIRECTION_STEPS[1].drow &&
                  DIRECTION_STEPS[2].dcol == -DIRECTION_STEPS[3].dcol,
              "opposite directions pair up as 0-1 and 2-3");

// A cell the miner could stand on once every barrier is open: floor or barrier, no hazard.
inline bool standable_when_open(const LevelModel &m, int cell)
{
    return cell >= 0 && (m.floor[cell] || m.opens_with[cell] != GROUP_NONE) && !m.hazard[cell];
}

// One move of a solution: the miner walks to `stand`, then steps once in `dir` (0..3: up,
// down, left, right), either pushing the nugget in front of him or stepping onto a switch.
struct PuzzleMove {
    bool takes_switch;
    int stand;
    int dir;
};

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

    // True when the nugget at `from`, pushed to `to`, would be frozen there.
    bool push_freezes(int from, int to)
    {
        nugget[from] = 0;
        nugget[to] = 1;
        const bool stuck = frozen(to);
        nugget[to] = 0;
        nugget[from] = 1;
        return stuck;
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

struct KeyEqual {
    const KeyPool *pool;
    bool operator()(int a, int b) const
    {
        return std::equal(pool->key(a), pool->key(a) + pool->width, pool->key(b));
    }
};

// Push distance from every cell to the nearest basket, counting every barrier as open and
// every switch as taken, and the miner needing a standable cell behind the nugget; -1 for a
// cell from which no basket can be reached (a dead square).
std::vector<int> basket_distances(const LevelModel &model);

// Sets a board to the given taken switches and nuggets (NO_NUGGET entries are delivered).
void lay_out(Board &board, unsigned taken, const std::vector<uint16_t> &nuggets);

// Walks from `from` to `to` over cells the miner may walk on now, appending one letter a
// step; false if `to` cannot be reached.
bool walk(const Board &board, int from, int to, std::string &frames);

// The moves played out from the level's start: the walk to each stand cell, then the step
// itself, one letter a frame appended to `frames`; false if a stand cell cannot be walked to.
bool expand_moves(const LevelModel &model, const std::vector<PuzzleMove> &moves,
                  std::string &frames);

// What a run of pushes of one nugget aims at.
struct RunGoal {
    enum Kind {
        basket,        // the nugget goes into a basket
        switch_reach,  // the miner can reach a switch not yet taken
        unblock,       // the nugget at `target` can then be delivered
    } kind;
    int target = -1;
};

// The first step onto a switch not yet taken from one of `cells` (in their order, each cell's
// directions in order); false when none lies next to them.
bool switch_step(const Board &board, const std::vector<int> &cells, PuzzleMove &step);

// True when a switch not yet taken lies next to one of `cells`.
bool switch_in_reach(const Board &board, const std::vector<int> &cells);

// The first key word of a state: the smallest cell of the miner's region, so that states whose
// miners can walk to each other are one. Has a board of its own to lay the state out on.
struct RegionKey {
    Board board;
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> seen;

    explicit RegionKey(const LevelModel &model) : board(model) {}
    uint16_t corner(int miner, unsigned taken, const std::vector<uint16_t> &nuggets);
};

// The shortest run of pushes of the nugget at `nugget` that reaches `goal` while every other
// nugget stays put, searched over (nugget cell, miner region). `board` holds the other nuggets
// only. On success `end` is where the nugget rests (-1 when delivered) and `miner` where the
// miner stands. Every state it looks at is taken from `budget`; when that runs out it fails.
bool find_run(Board &board, const std::vector<int> &dist, RunGoal goal, int &miner, int nugget,
              int &end, std::vector<PuzzleMove> &pushes, Budget &budget);
