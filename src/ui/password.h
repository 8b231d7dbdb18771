// The area passwords: four typed characters that let a game start at the first level of an
// area.
#pragma once

#include <array>

constexpr int AREA_COUNT = 5;

// The password of each area, area 1 first, as the player is shown it (capital letters). Area
// 1's is never shown: a game starts there anyway.
constexpr std::array<const char *, AREA_COUNT> AREA_PASSWORDS = {"OURO", "6PW6", "R7B2", "K2VV",
                                                                 "F+J8"};

// The value compared when four keys have been typed: (k1 * k0) + k2 - k3, where each k is the
// character code (the low 8 bits) of a readkey result, 0 for keys that have none.
int password_digest(int k0, int k1, int k2, int k3);

// The digest of a four-character password typed as written (lower_case false) or with its
// letters in small letters (true); digits and '+' are the same either way.
int password_text_digest(const char *password, bool lower_case);

// The area (1 to 5) whose password, in capital or in small letters, has this digest; 0 when
// none has.
int area_for_digest(int digest);
