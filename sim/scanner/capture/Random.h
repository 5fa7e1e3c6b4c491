#pragma once
// A small, fast generator with the same sequence on every platform, so that a
// given seed always draws the same finger.

#include <cstdint>

namespace kv90sim {

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {
        if (state_ == 0) state_ = 1;
    }

    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    // Uniform in [0, 1).
    double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }

    double Between(double low, double high) { return low + (high - low) * Unit(); }

private:
    std::uint32_t state_;
};

}  // namespace kv90sim
