// libFuzzer target: any bytes as a file name. Folding must not fail, and
// folding again, or taking the fragment of a fragment, changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/name_variants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const std::string folded = twinseek::FoldNameCharacters(name);
  if (twinseek::FoldNameCharacters(folded) != folded) std::abort();
  const std::optional<std::string> fragment = twinseek::NameVariantFragment(name);
  if (fragment) {
    if (fragment->empty()) std::abort();
    if (twinseek::NameVariantFragment(*fragment) != fragment) std::abort();
  }
  return 0;
}
