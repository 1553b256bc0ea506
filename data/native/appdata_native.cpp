#include <cstdlib>

#include "data/datafolder.h"

// Where a desktop without an Application Data folder keeps a user's
// application data: the XDG data home.
std::string ApplicationDataFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && dataHome[0]) return dataHome;
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.local/share";
  return std::string();
}
