#include "tools/assets/Instruments.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/assets/Noise.h"

namespace vellumry::assets {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

double Frequency(double pitch) { return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0); }

double Seconds(double s) { return s * kSampleRate; }

// Rises from 0 to 1 over `frames` with zero slope at both ends.
double RaisedCosine(double position, double frames)
{
    if (position <= 0)
        return 0;
    if (position >= frames)
        return 1;
    return 0.5 - 0.5 * std::cos(kPi * position / frames);
}

// Between an attack from silence and a release back to it, both raised-cosine
// shaped; the note is held for `length` frames from its start.
double HeldEnvelope(double t, double attack, double length, double release)
{
    return RaisedCosine(t, attack) * (1.0 - RaisedCosine(t - length, release));
}

// A sine with a little of its second and third harmonics.
double SoftPartials(double phase, double second, double third)
{
    return std::sin(phase) + second * std::sin(2.0 * phase) + third * std::sin(3.0 * phase);
}

// Where a voice's samples go: panned with constant power into the mix, and a
// share of them into the echo.
class Outlet {
public:
    Outlet(StereoLoop& dry, StereoLoop& send, double pan, double sendLevel)
        : m_dry(dry), m_send(send), m_sendLevel(sendLevel)
    {
        const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
        m_left = std::cos(angle);
        m_right = std::sin(angle);
    }

    void Put(std::int64_t frame, double value) const
    {
        m_dry.Add(frame, value * m_left, value * m_right);
        if (m_sendLevel > 0)
            m_send.Add(frame, value * m_left * m_sendLevel, value * m_right * m_sendLevel);
    }

private:
    StereoLoop& m_dry;
    StereoLoop& m_send;
    double m_sendLevel;
    double m_left = 0;
    double m_right = 0;
};

// One period of a band-limited saw-like wave with its upper partials rolled
// off, read with linear interpolation.
class Wavetable {
public:
    Wavetable()
    {
        for (std::size_t i = 0; i < kSize; ++i) {
            const double t = static_cast<double>(i) / kSize;
            double v = 0;
            for (int n = 1; n <= 16; ++n) {
                const double rolloff = 1.0 / (1.0 + (n / 3.0) * (n / 3.0));
                v += std::sin(kTwoPi * n * t) * rolloff / n;
            }
            m_table[i] = v;
        }
        m_table[kSize] = m_table[0];
        double peak = 0;
        for (double v : m_table)
            peak = std::max(peak, std::abs(v));
        for (double& v : m_table)
            v /= peak;
    }

    // `phase` in cycles, 0 to 1.
    double At(double phase) const
    {
        const double position = phase * kSize;
        const auto i = static_cast<std::size_t>(position);
        const double t = position - static_cast<double>(i);
        return m_table[i] + (m_table[i + 1] - m_table[i]) * t;
    }

private:
    static constexpr std::size_t kSize = 4096;
    std::array<double, kSize + 1> m_table{};
};

const Wavetable& PadWave()
{
    static const Wavetable table;
    return table;
}

void RenderPad(const Note& note, StereoLoop& dry, StereoLoop& send)
{
    constexpr std::array<double, 3> kDetune{-0.07, 0.0, 0.07};  // semitones
    constexpr std::array<double, 3> kSpread{-0.45, 0.0, 0.45};
    constexpr double kGain = 0.05;
    const double attack = Seconds(0.7);
    const double release = Seconds(1.6);
    const auto length = static_cast<double>(note.length);
    const auto total = static_cast<std::int64_t>(length + release);

    for (std::size_t o = 0; o < kDetune.size(); ++o) {
        const double step = Frequency(note.pitch + kDetune[o]) / kSampleRate;
        double phase = Hash01(static_cast<std::int32_t>(note.start / kFramesPerSixteenth), note.pitch,
                              static_cast<std::uint32_t>(20 + o));
        const Outlet out(dry, send, note.pan + kSpread[o], 0.0);
        for (std::int64_t i = 0; i < total; ++i) {
            const double envelope = HeldEnvelope(static_cast<double>(i), attack, length, release);
            out.Put(note.start + i, PadWave().At(phase) * envelope * note.velocity * kGain);
            phase += step;
            phase -= std::floor(phase);
        }
    }
}

void RenderBass(const Note& note, StereoLoop& dry, StereoLoop& send)
{
    constexpr double kGain = 0.24;
    const double attack = Seconds(0.012);
    const double release = Seconds(0.12);
    const double settle = Seconds(0.45);
    const double step = kTwoPi * Frequency(note.pitch) / kSampleRate;
    const auto length = static_cast<double>(note.length);
    const auto total = static_cast<std::int64_t>(length + release);
    const Outlet out(dry, send, note.pan, 0.0);
    double phase = 0;
    for (std::int64_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i);
        // Plucked: a short peak that settles to a held level.
        const double body = 0.65 + 0.35 * std::exp(-t / settle);
        const double tone = SoftPartials(phase, 0.22, 0.08);
        out.Put(note.start + i, tone * body * HeldEnvelope(t, attack, length, release) * note.velocity * kGain);
        phase += step;
    }
}

void RenderBell(const Note& note, StereoLoop& dry, StereoLoop& send)
{
    constexpr double kGain = 0.15;
    const double attack = Seconds(0.004);
    const double decay = Seconds(0.55);
    const double brightness = Seconds(0.18);
    const double tine = Seconds(0.05);
    // The bell rings on after the key is let go, for as long as it takes to
    // die away, and fades out completely over its last fifth of a second.
    const double ring = Seconds(1.8);
    const double fade = Seconds(0.2);
    const double step = kTwoPi * Frequency(note.pitch) / kSampleRate;
    const Outlet out(dry, send, note.pan, 0.45);
    double phase = 0;
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(ring); ++i) {
        const double t = static_cast<double>(i);
        const double index = 0.9 * std::exp(-t / brightness) + 0.25;
        const double tone =
            std::sin(phase + index * std::sin(phase)) + 0.12 * std::exp(-t / tine) * std::sin(4.0 * phase);
        const double envelope = HeldEnvelope(t, attack, ring - fade, fade) * std::exp(-t / decay);
        out.Put(note.start + i, tone * envelope * note.velocity * kGain);
        phase += step;
    }
}

void RenderFlute(const Note& note, StereoLoop& dry, StereoLoop& send)
{
    constexpr double kGain = 0.13;
    const double attack = Seconds(0.09);
    const double release = Seconds(0.3);
    const double swell = Seconds(0.3);
    const double vibratoDelay = Seconds(0.25);
    const double vibratoRise = Seconds(0.4);
    const double frequency = Frequency(note.pitch);
    const auto length = static_cast<double>(note.length);
    const auto total = static_cast<std::int64_t>(length + release);
    const Outlet out(dry, send, note.pan, 0.35);
    double phase = 0;
    for (std::int64_t i = 0; i < total; ++i) {
        const double t = static_cast<double>(i);
        // Vibrato of about 8 cents at 5.2 Hz that grows in once the note has settled.
        const double depth = 0.0045 * RaisedCosine(t - vibratoDelay, vibratoRise);
        const double bend = 1.0 + depth * std::sin(kTwoPi * 5.2 * t / kSampleRate);
        const double envelope = HeldEnvelope(t, attack, length, release) * (0.9 + 0.1 * std::exp(-t / swell));
        const double tone = SoftPartials(phase, 0.2, 0.06);
        out.Put(note.start + i, tone * envelope * note.velocity * kGain);
        phase += kTwoPi * frequency * bend / kSampleRate;
    }
}

}  // namespace

void RenderNote(const Note& note, StereoLoop& dry, StereoLoop& send)
{
    switch (note.instrument) {
    case Instrument::Pad:
        RenderPad(note, dry, send);
        break;
    case Instrument::Bass:
        RenderBass(note, dry, send);
        break;
    case Instrument::Bell:
        RenderBell(note, dry, send);
        break;
    case Instrument::Flute:
        RenderFlute(note, dry, send);
        break;
    }
}

}  // namespace vellumry::assets
