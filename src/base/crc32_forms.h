// The forms the CRC-32 of crc32.h can be computed in, for crc32.cpp's choice
// among them and for the tests and benchmarks that compare them. Code outside
// src/base, tests and bench uses crc32.h only.
//
// Every form's update function takes the running register (the value before
// the final complement: 0xFFFFFFFF at the start of a checksum) and returns the
// register after `length` more bytes. All forms give the same register for the
// same input, whatever the length and the alignment of `data`; they differ
// only in speed and in what the processor must offer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace twinseek {

using Crc32UpdateFunction = uint32_t (*)(uint32_t state, const uint8_t* data, size_t length);

struct Crc32Form {
  const char* name;
  Crc32UpdateFunction update;
  // Whether this processor and operating system can run `update`. Calling an
  // unavailable form is undefined (an illegal instruction, most likely).
  bool available;
};

// Every form this build has, the portable one first, then each faster one in
// order of preference. The portable form is always available.
std::span<const Crc32Form> Crc32Forms();

// The form Checksum and Crc32::Update use: the last available one of
// Crc32Forms(). Chosen once, on first use, safely from any thread.
const Crc32Form& DispatchedCrc32Form();

// Slicing-by-16 over 32-bit table entries; any processor, any byte order.
uint32_t Crc32UpdatePortable(uint32_t state, const uint8_t* data, size_t length);

#if defined(__x86_64__) || defined(__i386__)
#define TWINSEEK_CRC32_X86 1

// Carry-less multiplication (PCLMULQDQ with SSE4.1), folding 64 bytes a step.
uint32_t Crc32UpdatePclmul(uint32_t state, const uint8_t* data, size_t length);
bool Crc32PclmulAvailable();

// The AVX-512 form is 64-bit only: the 32-bit mode has 8 vector registers,
// too few to fold without spilling. On Windows it also needs an optimised
// build: GCC cannot align the stack there for spilled 512-bit values (GCC bug
// 54412), and an unoptimised build keeps every local on the stack.
#if defined(__x86_64__) && (!defined(_WIN32) || defined(__OPTIMIZE__))
#define TWINSEEK_CRC32_AVX512 1

// VPCLMULQDQ with AVX-512, folding 256 bytes a step.
uint32_t Crc32UpdateAvx512(uint32_t state, const uint8_t* data, size_t length);
bool Crc32Avx512Available();
#endif

#endif

}  // namespace twinseek
