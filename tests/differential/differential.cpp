// Differential runs: random command sequences (random_commands.h) applied
// by seed to the organiser's trees, and the lists they leave saved.
//
//   differential FIRST COUNT [OUT_FOLDER] [--verbose]
//
// Runs the sequences of the seeds FIRST to FIRST + COUNT - 1 and saves
// each with SaveLists into OUT_FOLDER/<seed>/. Natively the trees are the
// in-memory forest. On Windows they are the real tree-view controls, and
// the in-memory forest gets every step beside them: the first step after
// which the two would save different bytes (or show different messages)
// ends the run, naming the seed and the step. scripts/differential.sh
// compares the files of both builds. --verbose prints every step.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/filesystem.h"
#include "data/listset.h"
#include "tests/differential/random_commands.h"
#include "tests/differential/world.h"

#ifdef _WIN32
void InitCommonControlsForTrees();
constexpr bool kBesideTheControl = true;
#else
constexpr bool kBesideTheControl = false;
#endif

namespace {

DateTime NextMinute(DateTime t) {
  if (++t.minute < 60) return t;
  t.minute = 0;
  if (++t.hour < 24) return t;
  t.hour = 0;
  if (++t.day <= 28) return t;
  t.day = 1;
  if (++t.month <= 12) return t;
  t.month = 1;
  ++t.year;
  return t;
}

// The first line where two texts differ, with the lines of both (on the
// tree-view first, where there is one).
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t line = 1, start = 0;
  for (size_t at = 0; at < a.size() && at < b.size() && a[at] == b[at]; ++at)
    if (a[at] == '\n') {
      ++line;
      start = at + 1;
    }
  auto lineAt = [start](const std::string& text) {
    size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  };
  return "line " + std::to_string(line) + ":\n  " + lineAt(a) + "\n  " + lineAt(b);
}

struct Outcome {
  std::string text;
  std::vector<std::string> messages;
  std::string broken;  // an invariant that does not hold
};

Outcome Run(World& world, const Step& step, const DateTime& now, std::string* said) {
  world.Enter();
  world.clock.Set(now);
  world.SetView(step.tree);
  world.prompts.Clear();
  *said = ApplyStep(step, world.prompts);
  Outcome outcome;
  outcome.broken = CheckInvariants();
  if (kBesideTheControl) {
    outcome.text = SavedText();
    outcome.messages = world.prompts.Texts();
  }
  world.Leave();
  return outcome;
}

// 0 when the sequence ran (and was saved) alike everywhere.
int RunSequence(uint32_t seed, const char* out, bool verbose) {
  std::unique_ptr<World> memory = MemoryWorld();
  std::unique_ptr<World> control = kBesideTheControl ? ControlWorld() : nullptr;
  World& saved = control ? *control : *memory;
  const std::vector<Step> steps = GenerateSequence(seed);
  DateTime now = {2008, 3, 5, 7, 9, 5, 0, 0};
  for (size_t index = 0; index < steps.size(); ++index) {
    std::string said;
    const Outcome inMemory = Run(*memory, steps[index], now, &said);
    if (verbose) std::printf("seed %u step %zu: %s\n", seed, index + 1, said.c_str());
    if (!inMemory.broken.empty()) {
      std::printf("seed %u: after step %zu (%s), %s\n", seed, index + 1, said.c_str(),
                  inMemory.broken.c_str());
      return 1;
    }
    if (control) {
      std::string saidThere;
      const Outcome onControl = Run(*control, steps[index], now, &saidThere);
      if (onControl.text != inMemory.text || onControl.messages != inMemory.messages || said != saidThere ||
          !onControl.broken.empty()) {
        std::printf("seed %u: the tree-view and the in-memory forest part at step %zu (%s)\n", seed,
                    index + 1, saidThere.c_str());
        if (said != saidThere) std::printf("  in memory the step was: %s\n", said.c_str());
        if (!onControl.broken.empty()) std::printf("  on the tree-view, %s\n", onControl.broken.c_str());
        if (onControl.messages != inMemory.messages)
          std::printf("  the messages differ: %zu on the tree-view, %zu in memory\n",
                      onControl.messages.size(), inMemory.messages.size());
        if (onControl.text != inMemory.text)
          std::printf("  the saved files differ at %s\n",
                      FirstDifference(onControl.text, inMemory.text).c_str());
        if (verbose) std::printf("%s\n----\n%s\n", onControl.text.c_str(), inMemory.text.c_str());
        return 1;
      }
    }
    now = NextMinute(now);
  }
  // What was saved reads back as it was, without a message.
  saved.Enter();
  const std::string text = SavedText();
  saved.Leave();
  const std::string reloaded = ReloadedText(text);
  if (reloaded != text) {
    std::printf("seed %u: the saved lists read back otherwise, at %s\n", seed,
                FirstDifference(text, reloaded).c_str());
    return 1;
  }
  if (!out) return 0;
  saved.Enter();
  App().files = HostFileSystem();
  CopyField(App().dataFolderOverride, out);
  const int ok = SaveLists(std::to_string(seed).c_str());
  saved.Leave();
  if (!ok) std::printf("seed %u: the lists could not be saved into %s\n", seed, out);
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: differential FIRST COUNT [OUT_FOLDER] [--verbose]\n");
    return 2;
  }
  const uint32_t first = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
  const uint32_t count = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
  const char* out = nullptr;
  bool verbose = false;
  for (int arg = 3; arg < argc; ++arg) {
    if (std::strcmp(argv[arg], "--verbose") == 0)
      verbose = true;
    else
      out = argv[arg];
  }
#ifdef _WIN32
  InitCommonControlsForTrees();
#endif
  if (out) HostFileSystem()->CreateFolder(out);
  int failed = 0;
  for (uint32_t seed = first; seed != first + count; ++seed)
    if (RunSequence(seed, out, verbose)) ++failed;
  std::printf("%u sequence(s) from seed %u: %d failed\n", count, first, failed);
  return failed ? 1 : 0;
}
