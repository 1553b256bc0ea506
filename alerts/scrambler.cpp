#include "alerts/scrambler.h"

#include <cstring>

const char kScrambleKey[] = "Kx3!Tq8#Vm2$Lp6&Rw9*Zb4.";

char* ScramblePassword(char* bytes, size_t count, const char* username) {
  if (!bytes || !username || !*username || count == 0) return nullptr;
  const size_t length = std::strlen(username);
  const size_t keyLength = sizeof kScrambleKey - 1;
  for (size_t i = 0; i < count; ++i) {
    // The pad: the username backwards, over and over.
    bytes[i] = static_cast<char>(bytes[i] ^ username[length - 1 - i % length]);
    if (i < keyLength) bytes[i] = static_cast<char>(bytes[i] ^ kScrambleKey[i]);
  }
  return bytes;
}
