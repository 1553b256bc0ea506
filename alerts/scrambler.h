// The password of the mail settings is kept scrambled, keyed by the
// username it belongs to. Scrambling is not encryption: it only keeps the
// password from being read at a glance in the registry.
#pragma once

#include <cstddef>

// The fixed part of the key: 24 printable characters.
extern const char kScrambleKey[];  // "Kx3!Tq8#Vm2$Lp6&Rw9*Zb4."

// XORs byte i with character i of the username reversed and repeated and,
// for the first 24 bytes, with character i of the fixed key. The same call
// scrambles and unscrambles. Gives the bytes, or none when nothing was done
// (no bytes, no username, an empty username or a count of 0).
char* ScramblePassword(char* bytes, size_t count, const char* username);
