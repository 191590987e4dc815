// CRC-32 throughput of every form this processor can run, of the byte-wise
// reference, and of the public Checksum (whatever dispatch chose), on a buffer
// far larger than the caches and on one that stays in them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/crc32.h"
#include "base/crc32_forms.h"
#include "support/crc32_reference.h"

namespace twinseek {
namespace {

struct BufferSize {
  const char* name;
  size_t bytes;
};

constexpr BufferSize kSizes[] = {{"256MiB", size_t{256} << 20}, {"64KiB", size_t{64} << 10}};

// Random contents, enough for the largest size; the checksum's speed does not
// depend on them, but pages never written may all map the same zero page.
const uint8_t* Buffer() {
  static const std::vector<uint8_t> buffer = [] {
    std::vector<uint8_t> bytes(kSizes[0].bytes);
    uint64_t x = 0x9E3779B97F4A7C15u;
    for (uint8_t& byte : bytes) {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      byte = static_cast<uint8_t>(x);
    }
    return bytes;
  }();
  return buffer.data();
}

template <typename Checksummer>
void Register(const std::string& name, Checksummer checksum) {
  for (const BufferSize& size : kSizes) {
    benchmark::RegisterBenchmark(
        ("crc32/" + name + "/" + size.name).c_str(), [checksum, bytes = size.bytes](benchmark::State& state) {
          const uint8_t* data = Buffer();
          for (auto _ : state) {
            benchmark::DoNotOptimize(checksum(data, bytes));
          }
          state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
        });
  }
}

void RegisterAll() {
  Register("reference",
           [](const uint8_t* data, size_t length) { return testing::Crc32Reference(data, length); });
  for (const Crc32Form& form : Crc32Forms()) {
    if (!form.available) continue;
    Register(form.name, [update = form.update](const uint8_t* data, size_t length) {
      return ~update(0xFFFFFFFFu, data, length);
    });
  }
  Register(std::string("Checksum(") + DispatchedCrc32Form().name + ")",
           [](const uint8_t* data, size_t length) { return Checksum(data, length); });
}

}  // namespace
}  // namespace twinseek

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  twinseek::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
