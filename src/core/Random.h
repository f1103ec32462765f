#pragma once
// The program's one pseudo-random generator. Sprays, noise, random ripples, the turtle and
// the expression functions RND and RANDOM all draw from it, so a seeded batch run
// (--seed N) repeats exactly.
#include <cstdint>
#include <random>

namespace pixoral::random {

inline std::mt19937& engine() {
    static std::mt19937 gen(std::random_device{}());
    return gen;
}
inline void seed(std::uint32_t s) { engine().seed(s); }
// Uniform integer in [0, n); 0 when n <= 0.
inline int below(int n) {
    if (n <= 0) return 0;
    return static_cast<int>(std::uniform_int_distribution<std::uint32_t>(0, static_cast<std::uint32_t>(n) - 1)(engine()));
}
// Uniform real in [0, 1).
inline double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine()); }

}  // namespace pixoral::random
