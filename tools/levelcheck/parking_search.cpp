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

// The search's stored states and queue, and the scratch of one expansion. Built in place: the
// set of states seen hashes through a pointer to the pool.
struct ParkingSearch {
    const LevelModel &m;
    const std::vector<int> &dist;
    const long max_states;
    const int slots;
    KeyPool pool;
    std::vector<Node> nodes;
    std::unordered_set<int, KeyHash, KeyEqual> seen;
    // Lowest first: parkings, pushes plus estimate, estimate (nearer the goal first on ties).
    using Entry = std::tuple<int, int, int, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    bool full = false;  // a state was turned away for want of room
    RegionKey region_key;
    std::vector<uint16_t> key;
    Board board;
    std::vector<int> cells;
    std::array<uint8_t, CELL_COUNT> in_region;

    ParkingSearch(const LevelModel &model, const std::vector<int> &distances, long max)
        : m(model), dist(distances), max_states(max), slots(static_cast<int>(model.nuggets.size())),
          pool{slots + KEY_NUGGETS, {}}, seen(1024, KeyHash{&pool}, KeyEqual{&pool}),
          region_key(model), key(pool.width), board(model)
    {
    }

    // Offers a state reached by `move` from `parent`; keeps it if it is new or now cheaper.
    void offer(int parent, int miner, unsigned taken, uint16_t active,
               std::vector<uint16_t> nuggets, int parkings, int pushes, PuzzleMove move)
    {
        std::sort(nuggets.begin(), nuggets.end());
        key[KEY_REGION] = region_key.corner(miner, taken, nuggets);
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
    }

    // Offers every single push from the state `node`: one that leaves the nugget under way
    // outside a basket to push another parks it.
    void offer_pushes(int node, unsigned taken, uint16_t active,
                      const std::vector<uint16_t> &nuggets)
    {
        const Node here = nodes[node];
        for (int slot = 0; slot < slots && nuggets[slot] != NO_NUGGET; slot++) {
            const int from = nuggets[slot];
            const int parks = active != NO_NUGGET && active != from;
            for (int dir = 0; dir < 4; dir++) {
                const int stand = step_cell(from, opposite(dir));
                const int to = step_cell(from, dir);
                if (stand < 0 || !in_region[stand] || !board.nugget_may_enter(to))
                    continue;
                if (!m.basket[to] && (dist[to] < 0 || board.push_freezes(from, to)))
                    continue;
                const uint16_t landed = m.basket[to] ? NO_NUGGET : static_cast<uint16_t>(to);
                std::vector<uint16_t> moved = nuggets;
                moved[slot] = landed;
                offer(node, from, taken, landed, moved, here.parkings + parks, here.pushes + 1,
                      {false, stand, dir});
            }
        }
    }

    // Expands one state. A switch within walking reach is stepped on before anything else:
    // it only adds room.
    void expand(int node, const std::vector<uint16_t> &k)
    {
        const unsigned taken = k[KEY_TAKEN];
        const uint16_t active = k[KEY_ACTIVE];
        const std::vector<uint16_t> nuggets(k.begin() + KEY_NUGGETS, k.end());
        lay_out(board, taken, nuggets);
        board.region(k[KEY_REGION], cells, in_region);
        PuzzleMove step;
        if (switch_step(board, cells, step)) {
            const int target = step_cell(step.stand, step.dir);
            offer(node, target, taken | 1u << board.switch_at[target], active, nuggets,
                  nodes[node].parkings, nodes[node].pushes, step);
            return;
        }
        offer_pushes(node, taken, active, nuggets);
    }

    // Searches from the level's start until a goal is taken from the queue (its node), the
    // queue runs dry or the store is full (-1). `at_least` follows the parkings searched.
    int find_goal(int &at_least)
    {
        offer(-1, m.miner, 0, NO_NUGGET, {m.nuggets.begin(), m.nuggets.end()}, 0, 0, {});
        while (!open.empty() && !full) {
            const auto [parkings, f, estimate, node] = open.top();
            open.pop();
            const Node &here = nodes[node];
            if (parkings != here.parkings || f != here.pushes + here.estimate)
                continue;  // a cheaper way to this state was found after this entry
            at_least = parkings;
            const std::vector<uint16_t> k(pool.key(node), pool.key(node) + pool.width);
            if (slots == 0 || k[KEY_NUGGETS] == NO_NUGGET)
                return node;
            expand(node, k);
        }
        return -1;
    }
};

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
    ParkingSearch search(m, dist, max_states);
    const int goal = search.find_goal(result.at_least);
    result.states = static_cast<long>(search.nodes.size());
    if (goal < 0) {
        result.unsolvable = !search.full;
        return result;
    }
    for (int node = goal; search.nodes[node].parent >= 0; node = search.nodes[node].parent)
        result.moves.push_back(search.nodes[node].move);
    std::reverse(result.moves.begin(), result.moves.end());
    if (!expand_moves(m, result.moves, result.frames))
        return result;  // cannot happen: every move was made from the miner's region
    result.parkings = search.nodes[goal].parkings;
    result.pushes = search.nodes[goal].pushes;
    return result;
}
