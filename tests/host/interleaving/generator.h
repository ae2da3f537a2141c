#pragma once
// Sequences made at random: from a seed for the test's thousands of runs, or from a fuzzer's
// bytes. Both draw through one source, so that they make the same kinds of sequence.
#include <cstdint>
#include <random>
#include <span>

#include "tests/host/interleaving/sequence.h"

namespace interleaving {

class Source {
 public:
  virtual ~Source() = default;
  // A number from 0 to bound - 1 (bound > 0).
  virtual std::uint32_t Below(std::uint32_t bound) = 0;
};

class SeededSource final : public Source {
 public:
  explicit SeededSource(std::uint64_t seed) : random_(seed) {}
  std::uint32_t Below(std::uint32_t bound) override {
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random_);
  }

 private:
  std::mt19937_64 random_;
};

// Draws from the bytes in order; once they are used up, every draw is 0.
class ByteSource final : public Source {
 public:
  explicit ByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint32_t Below(std::uint32_t bound) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

Sequence Generate(Source& source);

}  // namespace interleaving
