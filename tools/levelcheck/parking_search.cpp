// The fewest parkings: A* over whole-level states on the cost (parkings, pushes).
#include "parking_search.h"

#include <algorithm>
#include <queue>
#include <tuple>
#include <unordered_set>

namespace {

// A stored state: the best way found to it so far.
struct Node {
    int parent;
    int parkings;
    int pushes;
    int estimate;  // pushes still needed at the least
    PuzzleMove move;
};

// Key layout: the miner region's smallest cell, switches taken, the nugget under way (its
// cell, NO_NUGGET when none), then the nuggets' cells sorted, NO_NUGGET (delivered) last.
constexpr int KEY_REGION = 0, KEY_TAKEN = 1, KEY_ACTIVE = 2, KEY_NUGGETS = 3;

}  // namespace

ParkingResult fewest_parkings(const LevelModel &m, long max_states)
{
    ParkingResult result;
    const std::vector<int> dist = basket_distances(m);
    if (m.switches.size() > 16)
        return result;
    for (int cell : m.nuggets)
        if (dist[cell] < 0) {
            result.unsolvable = true;
            return result;
        }

    const int slots = static_cast<int>(m.nuggets.size());
    KeyPool pool{slots + KEY_NUGGETS, {}};
    std::vector<Node> nodes;
    std::unordered_set<int, KeyHash, KeyEqual> seen(1024, KeyHash{&pool}, KeyEqual{&pool});
    // Lowest first: parkings, pushes plus estimate, estimate (nearer the goal first on ties).
    using Entry = std::tuple<int, int, int, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;

    Board key_board(m);
    std::vector<int> key_cells;
    std::array<uint8_t, CELL_COUNT> key_seen;
    std::vector<uint16_t> key(pool.width);
    bool full = false;
    // Offers a state reached by `move` from `parent`; keeps it if it is new or now cheaper.
    auto offer = [&](int parent, int miner, unsigned taken, uint16_t active,
                     std::vector<uint16_t> nuggets, int parkings, int pushes, PuzzleMove move) {
        std::sort(nuggets.begin(), nuggets.end());
        lay_out(key_board, taken, nuggets);
        key_board.region(miner, key_cells, key_seen);
        key[KEY_REGION] =
            static_cast<uint16_t>(*std::min_element(key_cells.begin(), key_cells.end()));
        key[KEY_TAKEN] = static_cast<uint16_t>(taken);
        key[KEY_ACTIVE] = active;
        std::copy(nuggets.begin(), nuggets.end(), key.begin() + KEY_NUGGETS);
        const int node = static_cast<int>(nodes.size());
        pool.data.insert(pool.data.end(), key.begin(), key.end());
        auto [where, fresh] = seen.insert(node);
        if (!fresh) {
            pool.data.resize(pool.data.size() - pool.width);
            Node &known = nodes[*where];
            if (std::tie(parkings, pushes) >= std::tie(known.parkings, known.pushes))
                return;
            known.parent = parent;
            known.parkings = parkings;
            known.pushes = pushes;
            known.move = move;
            open.emplace(parkings, pushes + known.estimate, known.estimate, *where);
            return;
        }
        if (static_cast<long>(nodes.size()) >= max_states) {
            seen.erase(node);
            pool.data.resize(pool.data.size() - pool.width);
            full = true;
            return;
        }
        int estimate = 0;
        for (uint16_t n : nuggets)
            if (n != NO_NUGGET)
                estimate += dist[n];
        nodes.push_back({parent, parkings, pushes, estimate, move});
        open.emplace(parkings, pushes + estimate, estimate, node);
    };

    offer(-1, m.miner, 0, NO_NUGGET, {m.nuggets.begin(), m.nuggets.end()}, 0, 0, {});

    Board board(m);
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> in_region;
    int goal = -1;
    while (!open.empty() && !full) {
        const auto [parkings, f, estimate, node] = open.top();
        open.pop();
        const Node here = nodes[node];
        if (parkings != here.parkings || f != here.pushes + here.estimate)
            continue;  // a cheaper way to this state was found after this entry
        result.at_least = parkings;
        const std::vector<uint16_t> k(pool.key(node), pool.key(node) + pool.width);
        const unsigned taken = k[KEY_TAKEN];
        const uint16_t active = k[KEY_ACTIVE];
        const std::vector<uint16_t> nuggets(k.begin() + KEY_NUGGETS, k.end());
        if (slots == 0 || nuggets[0] == NO_NUGGET) {
            goal = node;
            break;
        }
        lay_out(board, taken, nuggets);
        board.region(k[KEY_REGION], cells, in_region);

        // A switch within walking reach is stepped on before anything else: it only adds room.
        int switch_stand = -1, switch_dir = 0;
        for (size_t i = 0; i < cells.size() && switch_stand < 0; i++)
            for (int dir = 0; dir < 4 && switch_stand < 0; dir++) {
                const int target = step_cell(cells[i], dir);
                if (target >= 0 && board.switch_waiting(target) && m.floor[target]) {
                    switch_stand = cells[i];
                    switch_dir = dir;
                }
            }
        if (switch_stand >= 0) {
            const int target = step_cell(switch_stand, switch_dir);
            offer(node, target, taken | 1u << board.switch_at[target], active, nuggets, parkings,
                  here.pushes, {true, switch_stand, switch_dir});
            continue;
        }

        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            const int from = nuggets[slot];
            // Leaving the nugget under way outside a basket to push another one parks it.
            const int parks = active != NO_NUGGET && active != from;
            for (int dir = 0; dir < 4; dir++) {
                const int stand = step_cell(from, opposite(dir));
                const int to = step_cell(from, dir);
                if (stand < 0 || !in_region[stand] || !board.nugget_may_enter(to))
                    continue;
                if (!m.basket[to]) {
                    if (dist[to] < 0)
                        continue;
                    board.nugget[from] = 0;
                    board.nugget[to] = 1;
                    const bool stuck = board.frozen(to);
                    board.nugget[to] = 0;
                    board.nugget[from] = 1;
                    if (stuck)
                        continue;
                }
                const uint16_t landed = m.basket[to] ? NO_NUGGET : static_cast<uint16_t>(to);
                std::vector<uint16_t> moved = nuggets;
                moved[slot] = landed;
                offer(node, from, taken, landed, moved, parkings + parks, here.pushes + 1,
                      {false, stand, dir});
            }
        }
    }
    result.states = static_cast<long>(nodes.size());
    if (goal < 0) {
        result.unsolvable = !full;
        return result;
    }

    for (int node = goal; nodes[node].parent >= 0; node = nodes[node].parent)
        result.moves.push_back(nodes[node].move);
    std::reverse(result.moves.begin(), result.moves.end());
    if (!expand_moves(m, result.moves, result.frames))
        return result;  // cannot happen: every move was made from the miner's region
    result.parkings = nodes[goal].parkings;
    result.pushes = nodes[goal].pushes;
    return result;
}
