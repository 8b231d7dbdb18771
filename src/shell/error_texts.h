// The captions and texts of the game's four error boxes (\t is a tab, \n a line break; every
// space belongs to the text).
#pragma once

// No outline font engine.
constexpr const char *ERRO_02_CAPTION = "Pitlorex - Erro 02";
constexpr const char *ERRO_02_TEXT =
    "Nao foi possivel carregar as fontes do jogo. \n Para mais informacoes, consulte a Ajuda.";

// No sound: the game goes on without it.
constexpr const char *ERRO_04_CAPTION = "Pitlorex - Erro 04";
constexpr const char *ERRO_04_TEXT = "\t Som nao detectado. \n Consulte a Ajuda para mais detalhes.";

// No window (no display, or the graphics mode was refused).
constexpr const char *ERRO_01_CAPTION = "Pitlorex - Erro 01";
constexpr const char *ERRO_01_TEXT = "\t Problema de Video. \n Para mais informacoes, veja a Ajuda.";

// A level file pair is missing when a game starts.
constexpr const char *ERRO_03_CAPTION = "Pitlorex - Erro 03";
constexpr const char *ERRO_03_TEXT = " Fase(s) inexistente(s). \n    Consulte a Ajuda.";

// A picture of the game did not load when a game starts: the box names it.
constexpr const char *ERRO_05_CAPTION = "Pitlorex - Erro 05";
