#include "base/codepage.h"

// The native host has no legacy code page of its own: it reads the files of
// earlier versions as the Western Windows they mostly came from.
CodePage* HostCodePage() {
  static Windows1252CodePage codePage;
  return &codePage;
}
