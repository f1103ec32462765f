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

// A cheap stream for effects that want a random number per pixel byte. A whole-image effect
// draws one key from the program's generator and gives every row its own stream of that key,
// so the rows can be shared out over the cores and a seeded run still repeats exactly,
// whatever the number of cores. (SplitMix64: one addition and three mixing steps a number.)
class Stream {
public:
    Stream(std::uint64_t key, std::uint64_t row) : state_(key ^ (row * 0xD1B54A32D192ED03ull)) { next(); }
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Moves on as if next() had been called k times (a stream is a counter, so this is one step).
    void skip(std::uint64_t k) { state_ += k * 0x9E3779B97F4A7C15ull; }
    // Uniform in [0, n) for 0 < n < 2^32 (the high 32 bits scaled; the bias is below 2^-32 * n).
    int below(std::uint32_t n) { return static_cast<int>(((next() >> 32) * n) >> 32); }
    // count numbers uniform in [0, n) for 0 < n <= 256, four from each 64-bit number (16 bits
    // scaled each; the bias, below n / 65536, is far under what a noise picture shows).
    void smallBelow(std::uint8_t* out, int count, std::uint32_t n) {
        const auto scaled = [n](std::uint64_t r, int k) {
            return static_cast<std::uint8_t>((((r >> (16 * k)) & 0xFFFFu) * n) >> 16);
        };
        int i = 0;
        for (; i + 4 <= count; i += 4) {
            const std::uint64_t r = next();
            for (int k = 0; k < 4; ++k) out[i + k] = scaled(r, k);
        }
        const std::uint64_t r = i < count ? next() : 0;
        for (int k = 0; i + k < count; ++k) out[i + k] = scaled(r, k);
    }

private:
    std::uint64_t state_;
};
// The key of one effect run, from the program's generator.
inline std::uint64_t streamKey() { return (std::uint64_t(engine()()) << 32) | engine()(); }

}  // namespace pixoral::random
