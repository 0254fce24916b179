// Random numbers of the random steps. Every plot (or plot group) of a data-set pass draws from a
// 64-bit Mersenne Twister (std::mt19937_64's numbers) of its own, seeded from the run seed mixed
// with a salt of the step, the pass and the plot's position by SplitMix64's finaliser. So a run
// with a given seed gives the same files on every machine, whatever the order or the thread in
// which plots are computed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>

namespace orr {

// SplitMix64's finaliser.
inline std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Seed of the generator at 0-based `position` in pass 1 or 2 of a step whose salt is `stepSalt`
// (0x600 for the LiDAR distribution, 0x700 for the Phase 1 computation).
inline std::uint64_t streamSeed(std::uint64_t runSeed, std::uint64_t stepSalt, int pass,
                                std::uint64_t position) {
    return mix(mix(runSeed ^ (stepSalt + static_cast<std::uint64_t>(pass))) ^ position);
}

// The 64-bit Mersenne Twister: the numbers of std::mt19937_64, bit for bit, made for the many
// short streams of the steps. std::mt19937_64 seeds all 312 words of its state and twists all of
// them before its first number; a Phase 1 plot draws about 75 numbers. Here the first block is
// seeded and twisted only as far as the numbers drawn need it (the twist goes in order, so each
// word is twisted from the same values as in a whole block), and later blocks are twisted whole.
class MersenneTwister64 {
  public:
    explicit MersenneTwister64(std::uint64_t seed) {
        x_[0] = seed;
        seeded_ = 1;
    }

    // The numbers of one block.
    static constexpr int kWords = 312;

    std::uint64_t operator()() {
        if (index_ >= kWords) {
            twistBlock();
            index_ = 0;
        } else if (firstBlock_) {
            twistFirst(index_);
        }
        return tempered(x_[index_++]);
    }
    // Seeds `count` generators that have drawn nothing yet through the words their first
    // `numbers[g]` numbers need (a generator seeded beyond its seed already is left as it is).
    // Each one's seeding is a chain of multiplications, every word from the one before: the chains
    // of eight generators run side by side, each kept in a register, instead of one after the
    // other. All eight go as far as the one that needs most; the further words are the words
    // seeding gives anyway.
    static void seedFirstNumbers(MersenneTwister64* generators, std::size_t count,
                                 const std::size_t* numbers) {
        constexpr std::size_t kSide = 8;
        std::uint64_t unused[kWords];
        for (std::size_t start = 0; start < count; start += kSide) {
            std::uint64_t* words[kSide];
            std::uint64_t before[kSide];
            int last = 0;
            for (std::size_t g = 0; g < kSide; ++g) {
                MersenneTwister64* generator = start + g < count ? &generators[start + g] : nullptr;
                if (generator && generator->seeded_ != 1) generator = nullptr;
                words[g] = generator ? generator->x_ : unused;
                before[g] = generator ? generator->x_[0] : 0;
                if (generator) last = std::max(last, lastSeedFor(numbers[start + g]));
            }
            for (int i = 1; i <= last; ++i) {
                for (std::size_t g = 0; g < kSide; ++g) {
                    before[g] = seeded(before[g], i);
                    words[g][i] = before[g];
                }
            }
            for (std::size_t g = 0; g < kSide && start + g < count; ++g) {
                MersenneTwister64& generator = generators[start + g];
                if (words[g] != unused) generator.seeded_ = last + 1;
            }
        }
    }
    // The next `count` numbers into `out`. For a generator that has drawn nothing yet and at most
    // a block of them, its first block is twisted as far as they need in loops without a test
    // per number, which can be done several words at a time.
    void nextNumbers(std::uint64_t* out, std::size_t count) {
        if (!firstBlock_ || index_ != 0 || count > static_cast<std::size_t>(kWords)) {
            for (std::size_t i = 0; i < count; ++i) out[i] = (*this)();
            return;
        }
        const int n = static_cast<int>(count);
        seedThrough(lastSeedFor(count));
        twistWords(n);
        for (int i = 0; i < n; ++i) out[i] = tempered(x_[i]);
        index_ = n;
    }
    // The next kWords numbers at once, for a generator whose numbers are all taken this way (a
    // long stream: the whole first block is seeded and twisted). The loop over the block has no
    // test per number and can be done several words at a time.
    void nextBlock(std::uint64_t* out) {
        seedThrough(kWords - 1);
        twistBlock();
        for (int i = 0; i < kWords; ++i) out[i] = tempered(x_[i]);
        index_ = kWords;
    }

  private:
    static constexpr int kShift = 156;
    static constexpr std::uint64_t kUpper = 0xffffffff80000000ULL;
    static constexpr std::uint64_t kLower = 0x7fffffffULL;
    static constexpr std::uint64_t kMatrix = 0xb5026f5aa96619e9ULL;

    static std::uint64_t tempered(std::uint64_t z) {
        z ^= (z >> 29) & 0x5555555555555555ULL;
        z ^= (z << 17) & 0x71d67fffeda60000ULL;
        z ^= (z << 37) & 0xfff7eee000000000ULL;
        return z ^ (z >> 43);
    }
    static std::uint64_t twisted(std::uint64_t word, std::uint64_t next, std::uint64_t far) {
        const std::uint64_t y = (word & kUpper) | (next & kLower);
        return far ^ (y >> 1) ^ (kMatrix & (0 - (y & 1)));
    }
    // The last seeded word that the first `numbers` numbers need (twistFirst).
    static int lastSeedFor(std::size_t numbers) {
        if (numbers == 0) return 0;
        return numbers < static_cast<std::size_t>(kWords - kShift)
                   ? static_cast<int>(numbers) - 1 + kShift
                   : kWords - 1;
    }
    // Seeded word i, from the word before it.
    static std::uint64_t seeded(std::uint64_t before, int i) {
        return 6364136223846793005ULL * (before ^ (before >> 62)) + static_cast<std::uint64_t>(i);
    }
    // The seeded words up to index `last`.
    void seedThrough(int last) {
        for (; seeded_ <= last; ++seeded_) x_[seeded_] = seeded(x_[seeded_ - 1], seeded_);
    }
    // Words 0 to n - 1 twisted in order: the first half from the words of the second not twisted
    // yet, the second half from the twisted words of the first, the last word from the first word.
    // Three runs without a dependence inside any of them, which the compiler can do several words
    // at a time.
    void twistWords(int n) {
        for (int i = 0; i < std::min(n, kWords - kShift); ++i)
            x_[i] = twisted(x_[i], x_[i + 1], x_[i + kShift]);
        for (int i = kWords - kShift; i < std::min(n, kWords - 1); ++i)
            x_[i] = twisted(x_[i], x_[i + 1], x_[i + kShift - kWords]);
        if (n == kWords) x_[kWords - 1] = twisted(x_[kWords - 1], x_[0], x_[kShift - 1]);
    }
    // Word i of the first block, from the seeded words it needs.
    void twistFirst(int i) {
        seedThrough(i < kWords - kShift ? i + kShift : kWords - 1);
        x_[i] = twisted(x_[i], x_[(i + 1) % kWords], x_[(i + kShift) % kWords]);
    }
    void twistBlock();

    std::uint64_t x_[kWords];
    int seeded_ = 0;
    int index_ = 0;
    bool firstBlock_ = true;
};

// The top 53 bits of one output, m: the uniform number in [0, 1) it gives is m / 2^53.
inline std::uint64_t drawBits(std::uint64_t output) {
    return output >> 11;
}
// A uniform number in [0, 1) from the top 53 bits of one output.
inline double uniform01(std::uint64_t output) {
    return static_cast<double>(drawBits(output)) * 0x1p-53;
}
inline double uniform01(std::mt19937_64& g) {
    return uniform01(g());
}
inline double uniform01(MersenneTwister64& g) {
    return uniform01(g());
}

// A run seed from the clock, below 2^53 so that its decimal text gives it back exactly.
std::uint64_t clockSeed();

}  // namespace orr
