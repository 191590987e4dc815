#include "base/crc32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <string_view>
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
// block that ends where they end, so that AddressSanitizer sees a read past
// the end.
class PlacedCopy {
 public:
  PlacedCopy(const uint8_t* source, size_t length, size_t alignment)
      : block_(static_cast<uint8_t*>(::operator new(alignment + length + 1, kAlign))),
        data_(block_ + alignment),
        length_(length) {
    if (length != 0) std::memcpy(data_, source, length);
  }
  PlacedCopy(const PlacedCopy&) = delete;
  PlacedCopy& operator=(const PlacedCopy&) = delete;
  ~PlacedCopy() { ::operator delete(block_, kAlign); }

  const uint8_t* data() const { return data_; }
  size_t size() const { return length_; }

 private:
  // One byte more than asked for keeps the block non-empty; data_ still ends
  // one byte before it, close enough for the sanitizer's redzone to follow.
  static constexpr std::align_val_t kAlign{64};
  uint8_t* block_;
  uint8_t* data_;
  size_t length_;
};

struct KnownAnswer {
  std::string text;
  uint32_t checksum;
};

// Check values published for this CRC, and a few more from an independent
// implementation (zlib).
std::vector<KnownAnswer> KnownAnswers() {
  return {
      {"123456789", 0xCBF43926u},
      {"", 0x00000000u},
      {"a", 0xE8B7BE43u},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
      {std::string(32, '\0'), 0x190A55ADu},
      {std::string(32, '\xFF'), 0xFF6CAB0Bu},
      {std::string(4096, '\0'), 0xC71C0011u},
      {std::string(1000000, 'a'), 0xDC25BFBCu},
  };
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
}

TEST(Crc32Test, NothingGivesZero) {
  EXPECT_EQ(Checksum(nullptr, 0), 0u);
  Crc32 crc;
  EXPECT_EQ(crc.Finish(), 0u);
  crc.Update(nullptr, 0);
  EXPECT_EQ(crc.Finish(), 0u);
}

TEST(Crc32Test, FinishLeavesTheRunningChecksumAlone) {
  const std::string_view text = "123456789";
  Crc32 crc;
  crc.Update(text.data(), 4);
  const uint32_t partial = crc.Finish();
  EXPECT_EQ(partial, crc.Finish());
  EXPECT_EQ(partial, Checksum(text.data(), 4));
  crc.Update(text.data() + 4, text.size() - 4);
  EXPECT_EQ(crc.Finish(), 0xCBF43926u);
}

TEST(Crc32Test, PublicInterfaceMatchesReferenceOnLargeBuffer) {
  const std::vector<uint8_t> bytes = RandomBytes((5u << 20) + 13, 7);
  const uint32_t expected = Crc32Reference(bytes.data(), bytes.size());
  EXPECT_EQ(Checksum(bytes.data(), bytes.size()), expected);
  EXPECT_EQ(Checksum(bytes.data() + 1, bytes.size() - 1),
            Crc32Reference(bytes.data() + 1, bytes.size() - 1));
}

// Random chunkings, both small pieces (which stay in the tail code) and large
// ones (which fold), in the same run.
TEST(Crc32Test, ChunkedUpdateEqualsWholeBuffer) {
  const std::vector<uint8_t> bytes = RandomBytes(20000, 11);
  const uint32_t whole = Checksum(bytes.data(), bytes.size());
  ASSERT_EQ(whole, Crc32Reference(bytes.data(), bytes.size()));

  std::mt19937 random(12);
  for (int round = 0; round < 100; ++round) {
    const size_t largest = (round % 2 == 0) ? 20 : 3000;
    std::uniform_int_distribution<size_t> chunk_length(0, largest);
    Crc32 crc;
    size_t position = 0;
    while (position < bytes.size()) {
      const size_t length = std::min(chunk_length(random), bytes.size() - position);
      crc.Update(bytes.data() + position, length);
      position += length;
    }
    ASSERT_EQ(crc.Finish(), whole) << "round " << round;
  }
}

TEST(Crc32FormsTest, DispatchChoosesTheLastAvailableForm) {
  const std::span<const Crc32Form> forms = Crc32Forms();
  ASSERT_FALSE(forms.empty());
  EXPECT_TRUE(forms[0].available);
  const Crc32Form& chosen = DispatchedCrc32Form();
  EXPECT_TRUE(chosen.available);
  const auto chosen_index = static_cast<size_t>(&chosen - forms.data());
  ASSERT_LT(chosen_index, forms.size()) << "the chosen form is not one of the list";
  for (size_t i = chosen_index + 1; i < forms.size(); ++i) {
    EXPECT_FALSE(forms[i].available) << forms[i].name << " is available but not chosen";
  }
  EXPECT_EQ(&DispatchedCrc32Form(), &chosen);
}

// Each form on its own, including the ones dispatch passes over.
class Crc32FormTest : public ::testing::TestWithParam<Crc32Form> {
 protected:
  void SetUp() override {
    if (!GetParam().available) {
      GTEST_SKIP() << GetParam().name << " cannot run on this processor";
    }
  }

  uint32_t Update(uint32_t state, const uint8_t* data, size_t length) const {
    return GetParam().update(state, data, length);
  }

  // Compares the form with the reference for each length of `lengths` at each
  // offset of `alignments`, from a state that changes from case to case.
  void ExpectAgreement(const std::vector<uint8_t>& source, const std::vector<size_t>& lengths,
                       const std::vector<size_t>& alignments) const {
    std::mt19937 random(static_cast<uint32_t>(lengths.size() * 131 + alignments.size()));
    for (size_t alignment : alignments) {
      for (size_t length : lengths) {
        const PlacedCopy copy(source.data(), length, alignment);
        const uint32_t state = static_cast<uint32_t>(random());
        const uint32_t expected = Crc32ReferenceUpdate(state, copy.data(), copy.size());
        const uint32_t actual = Update(state, copy.data(), copy.size());
        if (actual != expected) {
          ADD_FAILURE() << std::hex << "length " << std::dec << length << ", alignment "
                        << alignment << ", state 0x" << std::hex << state << ": 0x" << actual
                        << " instead of 0x" << expected;
          return;
        }
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
  const std::vector<uint8_t> source = RandomBytes(4096, 1);
  std::vector<size_t> lengths(4097);
  for (size_t i = 0; i < lengths.size(); ++i) lengths[i] = i;
  ExpectAgreement(source, lengths, {0, 1, 8, 33, 63});
}

// Lengths around every step of the folding forms (16, 64 and 256 bytes) and
// their multiples, at every offset from a 64-byte boundary.
TEST_P(Crc32FormTest, MatchesReferenceAtEveryAlignment) {
  const std::vector<uint8_t> source = RandomBytes(2048, 2);
  std::vector<size_t> lengths;
  for (size_t base : {0, 16, 64, 128, 192, 256, 320, 512, 768, 1024, 2040}) {
    for (size_t delta : {0, 1, 3, 4, 15}) lengths.push_back(base + delta);
  }
  lengths.push_back(63);
  lengths.push_back(255);
  lengths.push_back(1023);
  std::vector<size_t> alignments(64);
  for (size_t i = 0; i < alignments.size(); ++i) alignments[i] = i;
  ExpectAgreement(source, lengths, alignments);
}

TEST_P(Crc32FormTest, SplitAnywhereEqualsWhole) {
  const std::vector<uint8_t> bytes = RandomBytes(3000, 3);
  const uint32_t whole = Crc32ReferenceUpdate(0x12345678u, bytes.data(), bytes.size());
  std::mt19937 random(4);
  std::uniform_int_distribution<size_t> split_at(0, bytes.size());
  for (int round = 0; round < 200; ++round) {
    size_t first = split_at(random);
    size_t second = split_at(random);
    if (first > second) std::swap(first, second);
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
