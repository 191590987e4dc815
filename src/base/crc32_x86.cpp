// The CRC-32 by carry-less multiplication ("folding"). Only the functions
// marked with a target below use instructions beyond baseline x86; nothing
// calls them unless the matching Crc32...Available check has agreed.
//
// How folding works here. Bytes are loaded little-endian, so bit j of a 128-bit
// lane is the coefficient of x^(127-j) of that lane's polynomial (the first
// bit of the stream is the highest power). The checksum of a message is the
// message's polynomial times x^32, mod P; so any 128-bit value congruent mod P
// to everything read so far, placed where the last 16 bytes read were, can
// stand in for all of it. Moving a lane D bits forward multiplies it by x^D;
// split the lane into its halves H (the low qword, the higher powers) and L:
//   (H x^64 + L) x^D  ==  H x^(D+64) + L x^D   (mod P).
// PCLMULQDQ of a half by a 33-bit reflected constant K yields, read back as a
// lane, x^32 * half * K; so the constants are x^(D+32) and x^(D-32) mod P.
// At the end the single remaining lane is just 16 more message bytes, which
// the portable form takes from a zero register before the last few bytes. The running register enters at the
// start the same way: XORed into the first four bytes, after which the register is zero.
#include "base/crc32_forms.h"

#ifdef TWINSEEK_CRC32_X86

#include <cpuid.h>
#include <immintrin.h>

namespace twinseek {
namespace {

// x^n mod P in the reflected order of the CRC register (bit 31 is x^0).
constexpr uint32_t XPowerModP(unsigned n) {
  uint32_t value = 0x80000000u;
  for (; n != 0; --n) {
    value = (value >> 1) ^ ((value & 1u) ? 0xEDB88320u : 0u);
  }
  return value;
}

// The same, as the 33-bit reflected multiplier PCLMULQDQ takes.
constexpr uint64_t FoldConstant(unsigned n) { return uint64_t{XPowerModP(n)} << 1; }

// The multipliers for one lane moved `distance` bits forward: the low half of
// a lane is the low qword of the constant, the high half the high qword.
struct FoldPair {
  uint64_t low;
  uint64_t high;
};

constexpr FoldPair FoldBy(unsigned distance) {
  return {FoldConstant(distance + 32), FoldConstant(distance - 32)};
}

// The published constants of the four-lane fold, as a check of the derivation.
static_assert(FoldBy(4 * 128).low == 0x154442BD4u && FoldBy(4 * 128).high == 0x1C6E41596u);
static_assert(FoldBy(128).low == 0x1751997D0u && FoldBy(128).high == 0x0CCAA009Eu);

uint32_t FinishFolded(const uint8_t folded[16], const uint8_t* tail, size_t length) {
  return Crc32UpdatePortable(Crc32UpdatePortable(0, folded, 16), tail, length);
}

#define TWINSEEK_TARGET_PCLMUL __attribute__((target("pclmul,sse4.1")))
#define TWINSEEK_TARGET_PCLMUL_INLINE TWINSEEK_TARGET_PCLMUL __attribute__((always_inline)) inline

TWINSEEK_TARGET_PCLMUL_INLINE __m128i Constant128(FoldPair pair) {
  return _mm_set_epi64x(static_cast<long long>(pair.high), static_cast<long long>(pair.low));
}

TWINSEEK_TARGET_PCLMUL_INLINE __m128i Load128(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// `lane` moved forward by the distance of `k`, XORed with `next`.
TWINSEEK_TARGET_PCLMUL_INLINE __m128i Fold128(__m128i lane, __m128i k, __m128i next) {
  return _mm_xor_si128(
      _mm_xor_si128(_mm_clmulepi64_si128(lane, k, 0x00), _mm_clmulepi64_si128(lane, k, 0x11)), next);
}

}  // namespace

TWINSEEK_TARGET_PCLMUL
uint32_t Crc32UpdatePclmul(uint32_t state, const uint8_t* data, size_t length) {
  if (length < 64) return Crc32UpdatePortable(state, data, length);

  __m128i x0 = _mm_xor_si128(Load128(data), _mm_cvtsi32_si128(static_cast<int>(state)));
  __m128i x1 = Load128(data + 16);
  __m128i x2 = Load128(data + 32);
  __m128i x3 = Load128(data + 48);
  data += 64;
  length -= 64;

  const __m128i k512 = Constant128(FoldBy(512));
  while (length >= 64) {
    x0 = Fold128(x0, k512, Load128(data));
    x1 = Fold128(x1, k512, Load128(data + 16));
    x2 = Fold128(x2, k512, Load128(data + 32));
    x3 = Fold128(x3, k512, Load128(data + 48));
    data += 64;
    length -= 64;
  }

  const __m128i k128 = Constant128(FoldBy(128));
  __m128i x = Fold128(x0, k128, x1);
  x = Fold128(x, k128, x2);
  x = Fold128(x, k128, x3);
  while (length >= 16) {
    x = Fold128(x, k128, Load128(data));
    data += 16;
    length -= 16;
  }

  uint8_t folded[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), x);
  return FinishFolded(folded, data, length);
}

bool Crc32PclmulAvailable() {
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  return (ecx & bit_PCLMUL) && (ecx & bit_SSE4_1);
}

#ifdef TWINSEEK_CRC32_AVX512

// The AVX-512 form must never put a vector on the stack (see crc32_forms.h):
// every helper is inlined (the 128-bit ones above too, their target being a
// subset of this one), and the function keeps well under 32 registers live.
namespace {

#define TWINSEEK_TARGET_AVX512 __attribute__((target("avx512f,vpclmulqdq,pclmul")))
#define TWINSEEK_TARGET_AVX512_INLINE TWINSEEK_TARGET_AVX512 __attribute__((always_inline)) inline

// The same pair in each of the four lanes.
TWINSEEK_TARGET_AVX512_INLINE __m512i Constant512(FoldPair pair) {
  const auto low = static_cast<long long>(pair.low);
  const auto high = static_cast<long long>(pair.high);
  return _mm512_set_epi64(high, low, high, low, high, low, high, low);
}

TWINSEEK_TARGET_AVX512_INLINE __m512i Load512(const uint8_t* p) { return _mm512_loadu_si512(p); }

TWINSEEK_TARGET_AVX512_INLINE __m512i Fold512(__m512i lanes, __m512i k, __m512i next) {
  return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(lanes, k, 0x00),
                                   _mm512_clmulepi64_epi128(lanes, k, 0x11), next,
                                   0x96);  // a ^ b ^ c
}

// One 128-bit lane. (The zero-masking form with every element kept: the plain
// one draws a false "may be used uninitialized" from GCC 12.)
template <int kLane>
TWINSEEK_TARGET_AVX512_INLINE __m128i Lane(__m512i lanes) {
  return _mm512_maskz_extracti32x4_epi32(0x0F, lanes, kLane);
}

}  // namespace

TWINSEEK_TARGET_AVX512
uint32_t Crc32UpdateAvx512(uint32_t state, const uint8_t* data, size_t length) {
  if (length < 256) return Crc32UpdatePclmul(state, data, length);

  __m512i x0 =
      _mm512_xor_si512(Load512(data), _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(state))));
  __m512i x1 = Load512(data + 64);
  __m512i x2 = Load512(data + 128);
  __m512i x3 = Load512(data + 192);
  data += 256;
  length -= 256;

  const __m512i k2048 = Constant512(FoldBy(2048));
  while (length >= 256) {
    x0 = Fold512(x0, k2048, Load512(data));
    x1 = Fold512(x1, k2048, Load512(data + 64));
    x2 = Fold512(x2, k2048, Load512(data + 128));
    x3 = Fold512(x3, k2048, Load512(data + 192));
    data += 256;
    length -= 256;
  }

  // Four registers into one: each moved forward to where x3 is.
  const __m512i k512 = Constant512(FoldBy(512));
  __m512i x = Fold512(x0, Constant512(FoldBy(1536)), x3);
  x = Fold512(x1, Constant512(FoldBy(1024)), x);
  x = Fold512(x2, k512, x);
  while (length >= 64) {
    x = Fold512(x, k512, Load512(data));
    data += 64;
    length -= 64;
  }

  // Four lanes into one, the same way.
  __m128i lane = Fold128(Lane<0>(x), Constant128(FoldBy(384)), Lane<3>(x));
  lane = Fold128(Lane<1>(x), Constant128(FoldBy(256)), lane);
  lane = Fold128(Lane<2>(x), Constant128(FoldBy(128)), lane);
  const __m128i k128 = Constant128(FoldBy(128));
  while (length >= 16) {
    lane = Fold128(lane, k128, Load128(data));
    data += 16;
    length -= 16;
  }

  uint8_t folded[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), lane);
  return FinishFolded(folded, data, length);
}

bool Crc32Avx512Available() {
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  if (!(ecx & bit_PCLMUL) || !(ecx & bit_OSXSAVE)) return false;

  // The operating system must save the SSE, AVX, opmask and both ZMM parts.
  constexpr uint32_t kZmmState = 0x02 | 0x04 | 0x20 | 0x40 | 0x80;
  uint32_t xcr0_low, xcr0_high;
  __asm__ __volatile__("xgetbv" : "=a"(xcr0_low), "=d"(xcr0_high) : "c"(0));
  if ((xcr0_low & kZmmState) != kZmmState) return false;

  if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
  return (ebx & bit_AVX512F) && (ecx & bit_VPCLMULQDQ);
}

#endif  // TWINSEEK_CRC32_AVX512

}  // namespace twinseek

#endif  // TWINSEEK_CRC32_X86
