// The process-wide level grids and barrier lists.
#include "level/level_data.h"

LevelGrids level_grids;
