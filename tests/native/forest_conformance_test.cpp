// The in-memory forest against the behaviour of the tree-view control.
#include "conformance/forest_conformance.h"
#include "fakes/memoryforest.h"

namespace {

struct MemoryForestFactory {
  static std::unique_ptr<TaskForest> Make(bool checkBoxes) {
    return std::make_unique<MemoryForest>(checkBoxes);
  }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ForestConformance, MemoryForestFactory);
