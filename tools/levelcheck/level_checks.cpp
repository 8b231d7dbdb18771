// Shape and content checks of a level pair.
#include "level_checks.h"

#include "level/cell_catalogue.h"

std::string cell_name(int cell)
{
    return "row " + std::to_string(cell_row(cell)) + ", column " + std::to_string(cell_col(cell));
}

void check_file_shape(const std::string &name, const std::string &text, bool tile_file,
                      Findings &findings)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);

    if (lines.size() != MAP_ROWS) {
        findings.errors.push_back(name + ": " + std::to_string(lines.size()) + " lines, not " +
                                  std::to_string(MAP_ROWS));
    }
    for (size_t row = 0; row < lines.size() && row < MAP_ROWS; row++) {
        const std::string &l = lines[row];
        if (l.size() != MAP_COLS) {
            findings.errors.push_back(name + ": line " + std::to_string(row + 1) + " has " +
                                      std::to_string(l.size()) + " characters, not " +
                                      std::to_string(MAP_COLS));
            continue;
        }
        for (int col = 0; col < MAP_COLS; col++) {
            char c = l[col];
            bool known = tile_file ? (c >= 'A' && c <= 'Z') : (c >= '0' && c <= '8');
            if (!known) {
                findings.errors.push_back(name + ": unknown character '" + std::string(1, c) +
                                          "' at " +
                                          cell_name(cell_index(static_cast<int>(row), col)));
                break;  // one a line is enough
            }
        }
    }
}

namespace {

// What the cells of a level hold, counted.
struct CellCounts {
    int miners = 0, nuggets = 0, baskets = 0;
    int barriers[3] = {0, 0, 0}, switches[3] = {0, 0, 0};
};

// Looks at each cell alone: what stands on what, and barriers that can never open.
CellCounts check_cells(const LevelGrids &grids, const LevelModel &model, Findings &findings)
{
    CellCounts n;
    for (int cell = 0; cell < CELL_COUNT; cell++) {
        const int row = cell_row(cell), col = cell_col(cell);
        const char tile = grids.tile_map[row][col];
        const char object = grids.object_map[row][col];
        n.baskets += is_basket_tile(tile);
        if (object == '1') {
            n.miners++;
            if (!is_floor_tile(tile))
                findings.errors.push_back("the miner starts on a non-floor tile at " +
                                          cell_name(cell));
        }
        if (object == '2') {
            n.nuggets++;
            if (!is_floor_tile(tile))
                findings.errors.push_back("a nugget lies on a non-floor tile at " +
                                          cell_name(cell));
        }
        if ((is_switch_object(object) || is_hazard_object(object)) && !is_floor_tile(tile))
            findings.warnings.push_back(std::string("object '") + object +
                                        "' on a non-floor tile can never be reached at " +
                                        cell_name(cell));
        if (switch_group(object) != BARRIER_NONE)
            n.switches[switch_group(object)]++;
        const int group = barrier_group(tile);
        if (group == GROUP_NONE)
            continue;
        n.barriers[group]++;
        if (row == 0 || col == 0)
            findings.errors.push_back("a barrier on the outer edge never opens at " +
                                      cell_name(cell));
        else if (object != '0')
            findings.errors.push_back(std::string("object '") + object +
                                      "' on a barrier keeps it shut at " + cell_name(cell));
        else if (model.opens_with[cell] == GROUP_NONE)
            findings.errors.push_back(
                std::string("barrier beyond its list's capacity never opens at ") +
                cell_name(cell));
    }
    return n;
}

// One miner, some nuggets and baskets; each barrier group with its switch.
void check_counts(const CellCounts &n, Findings &findings)
{
    if (n.miners == 0)
        findings.errors.push_back("no miner ('1') in the object file");
    else if (n.miners > 1)
        findings.errors.push_back(std::to_string(n.miners) +
                                  " miners ('1'); exactly one is wanted");
    if (n.nuggets == 0)
        findings.errors.push_back("no nugget ('2') in the object file");
    if (n.baskets == 0)
        findings.errors.push_back("no basket ('Y' or 'Z') in the tile file");
    for (const BarrierGroupRule &rule : BARRIER_GROUPS) {
        const int group = rule.group;
        if (n.barriers[group] && !n.switches[group])
            findings.warnings.push_back(std::string(rule.name) + " barriers without a switch '" +
                                        rule.switch_object + "' stay shut");
        if (n.switches[group] && !n.barriers[group])
            findings.warnings.push_back(std::string("switch '") + rule.switch_object +
                                        "' without " + rule.name + " barriers opens nothing");
    }
}

// Where the miner can go: never under the status line, and to no switch only across a hazard.
void check_reach(const LevelGrids &grids, const LevelModel &model, Findings &findings)
{
    // Everything the miner might ever walk on, counting nuggets and switches as passable and
    // every barrier as open: none of it should lie under the status line.
    const std::vector<int> walked = miner_reach(model, false);
    for (int cell : walked)
        if (cell_row(cell) == MAP_ROWS - 1) {
            findings.warnings.push_back("the miner can reach row 23 under the status line at " +
                                        cell_name(cell));
            break;
        }

    // Stepping on a hazard costs the life and reloads the level, switches and all, so a switch
    // that lies only beyond one is never taken, however many lives are left.
    std::vector<uint8_t> walkable(CELL_COUNT, 0);
    for (int cell : walked)
        walkable[cell] = 1;
    for (int cell : miner_reach(model, true)) {
        const char object = grids.object_map[cell_row(cell)][cell_col(cell)];
        if (walkable[cell] || switch_group(object) == BARRIER_NONE)
            continue;
        findings.switches_beyond_hazards.push_back(cell);
        findings.warnings.push_back(std::string("switch '") + object + "' at " + cell_name(cell) +
                                    " can be reached only across a hazard, which costs a life "
                                    "and restarts the level: it is never taken");
    }
}

}  // namespace

void check_level_content(const LevelGrids &grids, const LevelModel &model, Findings &findings)
{
    const CellCounts counts = check_cells(grids, model, findings);
    check_counts(counts, findings);
    if (counts.miners > 0)
        check_reach(grids, model, findings);
}

std::vector<int> miner_reach(const LevelModel &model, bool across_hazards)
{
    std::vector<int> queue{model.miner};
    std::vector<uint8_t> seen(CELL_COUNT, 0);
    seen[model.miner] = 1;
    for (size_t i = 0; i < queue.size(); i++)
        for (int dir = 0; dir < 4; dir++) {
            const int next = step_cell(queue[i], dir);
            if (next < 0 || seen[next] || (model.hazard[next] && !across_hazards))
                continue;
            if (!model.floor[next] && model.opens_with[next] == GROUP_NONE)
                continue;
            seen[next] = 1;
            queue.push_back(next);
        }
    return queue;
}
