#include "base/crc32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "base/crc32_forms.h"
#include "support/crc32_reference.h"

namespace twinseek {
namespace {

using testing::Crc32Reference;
using testing::Crc32ReferenceUpdate;

std::vector<uint8_t> RandomBytes(size_t length, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(length);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

// A copy of some bytes at a chosen offset from a 64-byte boundary, in a heap
// block that ends where they end, so that AddressSanitizer sees any read past
// the end.
class PlacedCopy {
 public:
  PlacedCopy(const uint8_t* source, size_t length, size_t alignment)
      : block_(static_cast<uint8_t*>(::operator new(alignment + length, kAlign))), data_(block_ + alignment) {
    if (length != 0) std::memcpy(data_, source, length);
  }
  PlacedCopy(const PlacedCopy&) = delete;
  PlacedCopy& operator=(const PlacedCopy&) = delete;
  ~PlacedCopy() { ::operator delete(block_, kAlign); }

  const uint8_t* data() const { return data_; }

 private:
  static constexpr std::align_val_t kAlign{64};
  uint8_t* block_;
  uint8_t* data_;
};

struct KnownAnswer {
  std::string text;
  uint32_t checksum;
};

// The published check value, and more from an independent implementation
// (zlib), short ones and ones long enough to fold.
const std::vector<KnownAnswer>& KnownAnswers() {
  static const std::vector<KnownAnswer> answers = {
      {"123456789", 0xCBF43926u},
      {"", 0x00000000u},
      {"a", 0xE8B7BE43u},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
      {std::string(32, '\xFF'), 0xFF6CAB0Bu},
      {std::string(4096, '\0'), 0xC71C0011u},
      {std::string(1000000, 'a'), 0xDC25BFBCu},
  };
  return answers;
}

TEST(Crc32Test, KnownAnswersOfTheReferenceAndThePublicInterface) {
  for (const KnownAnswer& answer : KnownAnswers()) {
    SCOPED_TRACE("length " + std::to_string(answer.text.size()));
    EXPECT_EQ(Crc32Reference(answer.text.data(), answer.text.size()), answer.checksum);
    EXPECT_EQ(Checksum(answer.text.data(), answer.text.size()), answer.checksum);
    Crc32 crc;
    crc.Update(answer.text.data(), answer.text.size());
    EXPECT_EQ(crc.Finish(), answer.checksum);
  }
  EXPECT_EQ(Checksum(nullptr, 0), 0u);
  EXPECT_EQ(Crc32().Finish(), 0u);
}

TEST(Crc32Test, PublicInterfaceMatchesReferenceOnLargeBuffer) {
  const std::vector<uint8_t> bytes = RandomBytes((5u << 20) + 13, 7);
  EXPECT_EQ(Checksum(bytes.data() + 1, bytes.size() - 1), Crc32Reference(bytes.data() + 1, bytes.size() - 1));
}

// Random chunkings, of small pieces (which stay in the tail code) and of large
// ones (which fold).
TEST(Crc32Test, ChunkedUpdateEqualsWholeBuffer) {
  const std::vector<uint8_t> bytes = RandomBytes(20000, 11);
  const uint32_t whole = Crc32Reference(bytes.data(), bytes.size());
  std::mt19937 random(12);
  for (int round = 0; round < 100; ++round) {
    std::uniform_int_distribution<size_t> chunk_length(0, round % 2 == 0 ? 20 : 3000);
    Crc32 crc;
    for (size_t position = 0; position < bytes.size();) {
      const size_t length = std::min(chunk_length(random), bytes.size() - position);
      crc.Update(bytes.data() + position, length);
      position += length;
    }
    ASSERT_EQ(crc.Finish(), whole) << "round " << round;
  }
}

TEST(Crc32FormsTest, DispatchChoosesTheLastAvailableForm) {
  const std::span<const Crc32Form> forms = Crc32Forms();
  ASSERT_TRUE(!forms.empty() && forms[0].available);
  const auto chosen = static_cast<size_t>(&DispatchedCrc32Form() - forms.data());
  ASSERT_LT(chosen, forms.size());
  EXPECT_TRUE(forms[chosen].available);
  for (size_t i = chosen + 1; i < forms.size(); ++i) {
    EXPECT_FALSE(forms[i].available) << forms[i].name << " is available but not chosen";
  }
}

#ifdef TWINSEEK_CRC32_X86
// The compiler's run-time library reads the processor (and what the operating
// system enables) on its own: the two must agree.
TEST(Crc32FormsTest, ProcessorChecksAgreeWithTheCompilersOwn) {
  __builtin_cpu_init();
  EXPECT_EQ(Crc32PclmulAvailable(), __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1"));
#ifdef TWINSEEK_CRC32_AVX512
  EXPECT_EQ(Crc32Avx512Available(), __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("avx512f") &&
                                        __builtin_cpu_supports("vpclmulqdq"));
#endif
}
#endif

// Each form on its own, including those dispatch passes over.
class Crc32FormTest : public ::testing::TestWithParam<Crc32Form> {
 protected:
  void SetUp() override {
    if (!GetParam().available) GTEST_SKIP() << GetParam().name << " cannot run here";
  }

  uint32_t Update(uint32_t state, const uint8_t* data, size_t length) const {
    return GetParam().update(state, data, length);
  }

  // The form against the reference on the prefixes of `source` of the given
  // lengths, at each of the given offsets, from a state that changes with the
  // offset.
  void ExpectAgreement(const std::vector<uint8_t>& source, const std::vector<size_t>& lengths,
                       const std::vector<size_t>& alignments) const {
    std::mt19937 random(static_cast<uint32_t>(lengths.size()));
    std::vector<uint32_t> expected(source.size() + 1);
    for (size_t alignment : alignments) {
      expected[0] = static_cast<uint32_t>(random());
      for (size_t i = 0; i < source.size(); ++i) {
        expected[i + 1] = Crc32ReferenceUpdate(expected[i], &source[i], 1);
      }
      for (size_t length : lengths) {
        const PlacedCopy copy(source.data(), length, alignment);
        ASSERT_EQ(Update(expected[0], copy.data(), length), expected[length])
            << "length " << length << ", alignment " << alignment;
      }
    }
  }
};

TEST_P(Crc32FormTest, KnownAnswers) {
  for (const KnownAnswer& answer : KnownAnswers()) {
    const auto* data = reinterpret_cast<const uint8_t*>(answer.text.data());
    EXPECT_EQ(~Update(0xFFFFFFFFu, data, answer.text.size()), answer.checksum)
        << "length " << answer.text.size();
  }
}

TEST_P(Crc32FormTest, MatchesReferenceForEveryLengthUpTo4096) {
  std::vector<size_t> lengths(4097);
  for (size_t i = 0; i < lengths.size(); ++i) lengths[i] = i;
  ExpectAgreement(RandomBytes(4096, 1), lengths, {0, 3, 8, 33, 63});
}

// Lengths around each step of the folding forms (16, 64 and 256 bytes) and
// their multiples, at every offset from a 64-byte boundary.
TEST_P(Crc32FormTest, MatchesReferenceAtEveryAlignment) {
  std::vector<size_t> lengths = {63, 255, 1023};
  for (size_t base : {0, 16, 64, 128, 192, 256, 320, 512, 768, 1024, 2040}) {
    for (size_t delta : {0, 1, 3, 4, 15}) lengths.push_back(base + delta);
  }
  std::vector<size_t> alignments(64);
  for (size_t i = 0; i < alignments.size(); ++i) alignments[i] = i;
  ExpectAgreement(RandomBytes(2055, 2), lengths, alignments);
}

TEST_P(Crc32FormTest, SplitAnywhereEqualsWhole) {
  const std::vector<uint8_t> bytes = RandomBytes(3000, 3);
  const uint32_t whole = Crc32ReferenceUpdate(0x12345678u, bytes.data(), bytes.size());
  std::mt19937 random(4);
  std::uniform_int_distribution<size_t> split_at(0, bytes.size());
  for (int round = 0; round < 200; ++round) {
    const size_t one = split_at(random);
    const size_t other = split_at(random);
    const size_t first = std::min(one, other);
    const size_t second = std::max(one, other);
    uint32_t state = Update(0x12345678u, bytes.data(), first);
    state = Update(state, bytes.data() + first, second - first);
    state = Update(state, bytes.data() + second, bytes.size() - second);
    ASSERT_EQ(state, whole) << "split at " << first << " and " << second;
  }
}

TEST_P(Crc32FormTest, MatchesReferenceOnLargeBuffer) {
  const std::vector<uint8_t> bytes = RandomBytes((3u << 20) + 77, 5);
  EXPECT_EQ(Update(0xFFFFFFFFu, bytes.data(), bytes.size()),
            Crc32ReferenceUpdate(0xFFFFFFFFu, bytes.data(), bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(AllForms, Crc32FormTest, ::testing::ValuesIn(Crc32Forms()),
                         [](const ::testing::TestParamInfo<Crc32Form>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace twinseek
