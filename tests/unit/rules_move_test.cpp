// The miner's step: what he may enter, what switches and hazards do, and when a nugget moves.
#include "play/move_rules.h"
#include "rules_board.h"

#include <gtest/gtest.h>

static const Direction ALL_DIRECTIONS[4] = {Direction::up, Direction::down, Direction::left,
                                            Direction::right};

static void delta(Direction d, int &drow, int &dcol)
{
    drow = d == Direction::up ? -1 : d == Direction::down ? 1 : 0;
    dcol = d == Direction::left ? -1 : d == Direction::right ? 1 : 0;
}

// Puts the miner at (10, 10) and lays `target_tile`/`target_object` one cell away in `d` and
// `beyond_tile`/`beyond_object` two cells away.
static void lay_line(Board &b, Direction d, char target_tile, char target_object,
                     char beyond_tile = 'B', char beyond_object = '0')
{
    int dr, dc;
    delta(d, dr, dc);
    b.put_miner(10, 10);
    b.grids.tile_map[10][10] = 'A';
    b.grids.tile_map[10 + dr][10 + dc] = target_tile;
    b.grids.object_map[10 + dr][10 + dc] = target_object;
    b.grids.tile_map[10 + 2 * dr][10 + 2 * dc] = beyond_tile;
    b.grids.object_map[10 + 2 * dr][10 + 2 * dc] = beyond_object;
}

static void expect_refused(Board &b, Direction d)
{
    const std::string state_before = describe(b.state);
    const LevelGrids grids_before = b.grids;
    StepReport r = apply_step(b.state, b.grids, d);
    EXPECT_EQ(r.kind, StepKind::blocked);
    EXPECT_EQ(r.paint_count, 0);
    EXPECT_EQ(describe(b.state), state_before);
    EXPECT_TRUE(same_grids(b.grids, grids_before));
}

TEST(MoveRules, WalksOneCellOntoEveryFloorLetterInEveryArea)
{
    for (char floor : std::string("AEIMQ"))
        for (Direction d : ALL_DIRECTIONS) {
            Board b;
            b.state.area = 5;
            lay_line(b, d, floor, '0');
            StepReport r = apply_step(b.state, b.grids, d);
            int dr, dc;
            delta(d, dr, dc);
            EXPECT_EQ(r.kind, StepKind::walked) << floor;
            EXPECT_EQ(r.paint_count, 0);
            EXPECT_EQ(b.state.player_row, 10 + dr);
            EXPECT_EQ(b.state.player_col, 10 + dc);
        }
}

TEST(MoveRules, EveryOtherTileBlocksTheMiner)
{
    const std::string blocking = std::string("BCDFGHJKLNOPRSTUVWXYZ.a ") + '\0';
    for (char tile : blocking)
        for (Direction d : ALL_DIRECTIONS) {
            SCOPED_TRACE(std::string("tile ") + tile);
            Board b('A');
            lay_line(b, d, tile, '0', 'A');
            expect_refused(b, d);
        }
}

TEST(MoveRules, SwitchesOpenTheirOwnGroupAndHazardsAreTouched)
{
    struct Case {
        char object;
        uint8_t x, w, uv, hazard;
    } cases[] = {
        {'3', 0, 1, 0, 0}, {'4', 1, 0, 0, 0}, {'5', 0, 0, 1, 0},
        {'6', 0, 0, 0, 1}, {'7', 0, 0, 0, 1}, {'8', 0, 0, 0, 1},
    };
    for (const Case &c : cases) {
        Board b;
        lay_line(b, Direction::left, 'A', c.object);
        StepReport r = apply_step(b.state, b.grids, Direction::left);
        EXPECT_EQ(r.kind, StepKind::walked) << c.object;
        EXPECT_EQ(b.state.player_col, 9) << "the miner steps onto " << c.object;
        EXPECT_EQ(b.state.x_opened, c.x) << c.object;
        EXPECT_EQ(b.state.w_opened, c.w) << c.object;
        EXPECT_EQ(b.state.uv_opened, c.uv) << c.object;
        EXPECT_EQ(b.state.hazard_touched, c.hazard) << c.object;
        // The object stays under him until he leaves the cell.
        EXPECT_EQ(b.grids.object_map[10][9], c.object);
    }
}

TEST(MoveRules, UnknownObjectsCountAsEmpty)
{
    for (char object : std::string("19x.")) {
        Board b;
        lay_line(b, Direction::down, 'A', object);
        EXPECT_EQ(apply_step(b.state, b.grids, Direction::down).kind, StepKind::walked);

        Board push;
        lay_line(push, Direction::down, 'A', '2', 'E', object);
        EXPECT_EQ(apply_step(push.state, push.grids, Direction::down).kind, StepKind::pushed)
            << "onto " << object;
    }
}

TEST(MoveRules, PushOntoFloorMovesNuggetAndMinerAndRepaintsBothCells)
{
    for (Direction d : ALL_DIRECTIONS) {
        Board b;
        b.state.nuggets_remaining = 3;
        lay_line(b, d, 'Q', '2', 'M', '0');
        int dr, dc;
        delta(d, dr, dc);
        StepReport r = apply_step(b.state, b.grids, d);
        ASSERT_EQ(r.kind, StepKind::pushed);
        EXPECT_EQ(b.state.player_row, 10 + dr);
        EXPECT_EQ(b.state.player_col, 10 + dc);
        EXPECT_EQ(b.grids.object_map[10 + dr][10 + dc], '0');
        EXPECT_EQ(b.grids.object_map[10 + 2 * dr][10 + 2 * dc], '2');
        EXPECT_EQ(b.state.nuggets_remaining, 3);
        ASSERT_EQ(r.paint_count, 2);
        EXPECT_EQ(r.paints[0].row, 10 + dr);
        EXPECT_EQ(r.paints[0].col, 10 + dc);
        EXPECT_EQ(r.paints[0].paint, CellPaint::area_floor);
        EXPECT_EQ(r.paints[1].row, 10 + 2 * dr);
        EXPECT_EQ(r.paints[1].col, 10 + 2 * dc);
        EXPECT_EQ(r.paints[1].paint, CellPaint::nugget);
    }
}

TEST(MoveRules, PushIntoBasketDeliversAndRepaintsOnlyTheCellItLeft)
{
    for (char basket : std::string("YZ")) {
        Board b;
        b.state.nuggets_remaining = 2;
        lay_line(b, Direction::up, 'A', '2', basket, '0');
        StepReport r = apply_step(b.state, b.grids, Direction::up);
        ASSERT_EQ(r.kind, StepKind::delivered);
        EXPECT_EQ(b.state.nuggets_remaining, 1);
        EXPECT_EQ(b.state.player_row, 9);
        EXPECT_EQ(b.grids.object_map[9][10], '0');
        EXPECT_EQ(b.grids.object_map[8][10], '2');
        ASSERT_EQ(r.paint_count, 1);
        EXPECT_EQ(r.paints[0].row, 9);
        EXPECT_EQ(r.paints[0].paint, CellPaint::area_floor);
    }
}

TEST(MoveRules, BasketThatHoldsANuggetTakesAnother)
{
    Board b;
    b.state.nuggets_remaining = 1;
    lay_line(b, Direction::right, 'A', '2', 'Z', '2');
    EXPECT_EQ(apply_step(b.state, b.grids, Direction::right).kind, StepKind::delivered);
    EXPECT_EQ(b.state.nuggets_remaining, 0);
    EXPECT_EQ(b.grids.object_map[10][12], '2');
}

TEST(MoveRules, NuggetAgainstNuggetOnFloorStays)
{
    for (Direction d : ALL_DIRECTIONS) {
        Board b;
        lay_line(b, d, 'A', '2', 'A', '2');
        expect_refused(b, d);
    }
}

TEST(MoveRules, NuggetNeverLandsOnSwitchOrHazardEvenInABasket)
{
    for (char beyond_tile : std::string("AY"))
        for (char object : std::string("345678")) {
            SCOPED_TRACE(std::string(1, beyond_tile) + object);
            Board b;
            lay_line(b, Direction::right, 'A', '2', beyond_tile, object);
            expect_refused(b, Direction::right);
        }
}

TEST(MoveRules, NuggetNeverGoesIntoWallsOverlaysOrClosedBarriers)
{
    for (char tile : std::string("BDTUVWX.")) {
        Board b;
        lay_line(b, Direction::left, 'A', '2', tile, '0');
        expect_refused(b, Direction::left);
    }
}

// With every cell floor, a step or push that would leave the grid must do nothing and must
// not touch memory beside the grids.
TEST(MoveRules, StepsAndPushesOutOfTheGridDoNothing)
{
    struct Edge {
        Direction outward;
        bool row_edge;  // the edge runs along a row (top or bottom)
        int line;       // row or column of the edge
    } edges[] = {{Direction::up, true, 0},
                 {Direction::down, true, MAP_ROWS - 1},
                 {Direction::left, false, 0},
                 {Direction::right, false, MAP_COLS - 1}};
    for (const Edge &e : edges) {
        int dr, dc;
        delta(e.outward, dr, dc);
        const int length = e.row_edge ? MAP_COLS : MAP_ROWS;
        for (int i = 0; i < length; i++) {
            const int row = e.row_edge ? e.line : i, col = e.row_edge ? i : e.line;
            Board walk('A');
            walk.put_miner(row, col);
            expect_refused(walk, e.outward);

            // The nugget on the edge, the miner one cell inside.
            Board push('A');
            push.grids.object_map[row][col] = '2';
            push.put_miner(row - dr, col - dc);
            expect_refused(push, e.outward);
        }
    }
}

// A frame empties the cell the miner started it on, so a collected switch vanishes once he
// walks off it, and a frame without a move empties his own cell.
TEST(MoveReplay, TheCellLeftBehindIsEmptied)
{
    Board b;
    b.lay(5, 5, {"AAAA"}, {"1460"});
    play_step(b.state, b.grids, Direction::right);
    EXPECT_EQ(b.grids.object_map[5][5], '0');
    EXPECT_EQ(b.grids.object_map[5][6], '4');
    EXPECT_EQ(b.state.x_opened, 1);
    EXPECT_EQ(b.state.prev_col, 5);

    play_step(b.state, b.grids, Direction::up);  // a wall: he stays on the switch
    EXPECT_EQ(b.state.player_col, 6);
    EXPECT_EQ(b.grids.object_map[5][6], '0');
    EXPECT_EQ(b.grids.object_map[5][7], '6');
}

// A small level solved by replaying its moves through the rules, as the level checker does.
TEST(MoveReplay, ASolutionDeliversEveryNugget)
{
    Board b;
    b.state.nuggets_remaining = 2;
    b.lay(2, 2,
          {"AAAAA",
           "AAAAY",
           "AAAAA",
           "ZAAAA"},
          {"00000",
           "01200",
           "00000",
           "02000"});
    // Right twice delivers the first nugget into 'Y' at (3, 6); then go round to push the
    // second one left into 'Z' at (5, 2).
    const Direction moves[] = {Direction::right, Direction::right, Direction::down,
                               Direction::down, Direction::left};
    for (Direction d : moves)
        play_step(b.state, b.grids, d);
    EXPECT_EQ(b.state.nuggets_remaining, 1);
    EXPECT_EQ(b.state.player_row, 5);
    EXPECT_EQ(b.state.player_col, 4);  // the second nugget at (5, 3) is still on floor
    EXPECT_EQ(play_step(b.state, b.grids, Direction::left).kind, StepKind::delivered);
    EXPECT_EQ(b.state.nuggets_remaining, 0);
}
