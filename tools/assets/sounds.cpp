// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/assets/sounds.h"

#include "tools/assets/bytewriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

constexpr int sampleRate = 22050;

// A fixed-seed generator, so every run writes the same samples.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : m_state(seed) {}
    double next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t m_state;
};

// A band-pass resonator (state-variable filter) whose centre may move.
class Resonator {
public:
    explicit Resonator(double q) : m_damping(1.0 / q) {}
    double process(double in, double centre) {
        const double f = 2.0 * std::sin(std::numbers::pi * centre / sampleRate);
        m_low += f * m_band;
        const double high = in - m_low - m_damping * m_band;
        m_band += f * high;
        return m_band;
    }

private:
    double m_damping;
    double m_low = 0;
    double m_band = 0;
};

QByteArray wav(const std::vector<double>& samples) {
    double peak = 1e-9;
    for (double s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    const double gain = 0.8 * 32767.0 / peak;

    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    ByteWriter out;
    out.raw("RIFF");
    out.u32(36 + dataBytes);
    out.raw("WAVE");
    out.raw("fmt ");
    out.u32(16);
    out.u16(1); // PCM
    out.u16(1); // mono
    out.u32(sampleRate);
    out.u32(sampleRate * 2);
    out.u16(2);
    out.u16(16);
    out.raw("data");
    out.u32(dataBytes);
    for (double s : samples) {
        out.i16(static_cast<std::int16_t>(std::lround(std::clamp(s * gain, -32767.0, 32767.0))));
    }
    return out.bytes();
}

int samplesFor(double seconds) {
    return static_cast<int>(seconds * sampleRate);
}

// A swish that rises in pitch and loudness and ends in a short crack.
std::vector<double> whip() {
    Noise noise(0x5eed1234u);
    Resonator swish(3.0);
    Resonator crack(1.2);
    const int length = samplesFor(0.32);
    const int crackAt = samplesFor(0.21);
    std::vector<double> out(length);
    for (int i = 0; i < length; ++i) {
        const double t = double(i) / crackAt; // 0 .. 1 up to the crack
        const double n = noise.next();
        const double centre = 300.0 * std::pow(20.0, std::min(t, 1.0));
        double envelope = t < 1.0 ? t * t : std::exp(-(i - crackAt) / (0.02 * sampleRate));
        double s = swish.process(n, centre) * envelope;
        if (i >= crackAt) {
            const double decay = std::exp(-(i - crackAt) / (0.004 * sampleRate));
            s += 3.0 * crack.process(n, 4500.0) * decay;
        }
        out[i] = s;
    }
    return out;
}

struct Click {
    double at;    // seconds from the start
    double pitch; // the plastic's ring, Hz
    double level;
};

// A slide switch: a few short clicks, each a noise tick that rings briefly.
std::vector<double> clicks(const std::vector<Click>& parts, double seconds, std::uint32_t seed) {
    Noise noise(seed);
    std::vector<double> out(samplesFor(seconds));
    for (const Click& c : parts) {
        Resonator ring(8.0);
        const int start = samplesFor(c.at);
        for (int i = start; i < static_cast<int>(out.size()); ++i) {
            const double t = double(i - start) / sampleRate;
            const double tick = noise.next() * std::exp(-t / 0.0015);
            const double body = ring.process(tick, c.pitch) * std::exp(-t / 0.012);
            out[i] += c.level * (0.6 * tick + body);
        }
    }
    return out;
}

} // namespace

QByteArray whipSound() {
    return wav(whip());
}

QByteArray slideSwitchOnSound() {
    return wav(clicks({{0.0, 2200.0, 0.6}, {0.035, 3100.0, 1.0}}, 0.12, 0x0badf00du));
}

QByteArray slideSwitchOffSound() {
    return wav(clicks({{0.0, 2400.0, 1.0}, {0.05, 1600.0, 0.5}}, 0.14, 0xfeedbeefu));
}
