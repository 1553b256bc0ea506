// Arbitrary bytes as a list file, read into each of the three trees; the
// property of tests/conformance/listfile_property.h must hold. An input
// that breaks it (or crashes) belongs in tests/data/fuzz/listfile/, where
// the native suite runs every kept seed through the same property.
#include <cstdint>
#include <cstdlib>

#include "base/clock.h"
#include "fakes/manualclock.h"
#include "fakes/memoryforest.h"
#include "fakes/scriptedprompts.h"
#include "tests/conformance/listfile_property.h"

namespace {

MemoryForest lists(true);
MemoryForest active(false);
MemoryForest done(false);
ScriptedPrompts prompts;
ManualClock clock_({2008, 3, 5, 7, 9, 5, 0, 0});

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetAppState();
  App().lists = &lists;
  App().active = &active;
  App().done = &done;
  App().prompts = &prompts;
  App().clock = &clock_;
  if (!ListFileProperty(reinterpret_cast<const char*>(data), size, prompts).empty()) abort();
  return 0;
}
