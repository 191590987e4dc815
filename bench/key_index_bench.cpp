// Registration cost as groups grow: n files under one key (one group of n),
// and n files under n/2 keys (groups of two). Each should grow as n log n at
// most; Google Benchmark fits the complexity over n = 1,024 .. 1,048,576.
// The file system is a stand-in that answers identities at once, so what is
// measured is the index and the tree, not the disk.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scan/key_index.h"
#include "support/identity_only_file_system.h"
#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

class InstantFileSystem final : public testing::IdentityOnlyFileSystem {
 public:
  std::optional<FileIdentity> GetIdentity(std::string_view path) override {
    return FileIdentity{1, std::hash<std::string_view>{}(path)};
  }
};

std::vector<std::string> Paths(size_t count) {
  std::vector<std::string> paths;
  paths.reserve(count);
  for (size_t i = 0; i < count; ++i)
    paths.push_back("C:\\data\\folder" + std::to_string(i % 97) + "\\file" + std::to_string(i) + ".dat");
  return paths;
}

void RegisterInto(benchmark::State& state, size_t files_per_key) {
  const size_t count = static_cast<size_t>(state.range(0));
  const std::vector<std::string> paths = Paths(count);
  std::vector<std::string> keys;
  for (size_t i = 0; i < count; ++i) keys.push_back("(" + std::to_string(i / files_per_key) + ")");
  InstantFileSystem file_system;
  for (auto _ : state) {
    MemoryResultTree tree;
    KeyIndex index;
    for (size_t i = 0; i < count; ++i) index.Register(keys[i], paths[i], tree, file_system);
    benchmark::DoNotOptimize(index.FileCount());
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void OneGrowingGroup(benchmark::State& state) { RegisterInto(state, SIZE_MAX); }
void GroupsOfTwo(benchmark::State& state) { RegisterInto(state, 2); }

BENCHMARK(OneGrowingGroup)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);
BENCHMARK(GroupsOfTwo)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace
}  // namespace twinseek

BENCHMARK_MAIN();
