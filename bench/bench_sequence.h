#ifndef VESSORY_BENCH_BENCH_SEQUENCE_H_
#define VESSORY_BENCH_BENCH_SEQUENCE_H_

#include <cstdint>

namespace vessory::testing {

// A fixed pseudo-random sequence (xorshift64*): reproducible, unlike std's distributions, so
// that the benchmark archives hold the same bytes on every machine and in every run.
class Sequence {
 public:
  std::uint32_t next(std::uint32_t bound) {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32) % bound;
  }

 private:
  std::uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

}  // namespace vessory::testing

#endif  // VESSORY_BENCH_BENCH_SEQUENCE_H_
