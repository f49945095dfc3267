#include "tools/sound_chimes.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kRate = 22050;

void PutLE(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

// A soft bell-like note: the fundamental with a quiet octave and twelfth.
TChimeNote Bell(double start, double hz, double decay) {
    return {start, {{hz, 1.0}, {hz * 2, 0.28}, {hz * 3, 0.08}}, decay};
}

} // namespace

QByteArray RenderChime(const std::vector<TChimeNote>& notes, double seconds, int sampleRate,
                       double peak) {
    const int count = std::max(1, int(seconds * sampleRate));
    std::vector<double> mix(std::size_t(count), 0.0);
    const double attack = 0.006; // seconds
    for (const TChimeNote& note : notes) {
        const int first = int(note.StartSeconds * sampleRate);
        for (int i = std::max(0, first); i < count; ++i) {
            const double t = double(i - first) / sampleRate;
            const double envelope = std::min(1.0, t / attack) * std::exp(-note.DecayPerSecond * t);
            double v = 0;
            for (const TPartial& partial : note.Partials)
                v += partial.Level * std::sin(2 * std::numbers::pi * partial.Hz * t);
            mix[std::size_t(i)] += envelope * v;
        }
    }
    // Fade the last 10 ms to silence, then scale to the peak.
    const int tail = std::min(count, sampleRate / 100);
    for (int i = 0; i < tail; ++i)
        mix[std::size_t(count - 1 - i)] *= double(i) / tail;
    double top = 0;
    for (double v : mix)
        top = std::max(top, std::fabs(v));
    const double gain = top > 0 ? peak * 32767.0 / top : 0;

    QByteArray data;
    data.reserve(count * 2);
    for (double v : mix)
        PutLE(data, quint16(qint16(std::lround(v * gain))), 2);

    QByteArray wav("RIFF");
    PutLE(wav, quint32(36 + data.size()), 4);
    wav.append("WAVEfmt ");
    PutLE(wav, 16, 4);
    PutLE(wav, 1, 2); // PCM
    PutLE(wav, 1, 2); // mono
    PutLE(wav, quint32(sampleRate), 4);
    PutLE(wav, quint32(sampleRate * 2), 4);
    PutLE(wav, 2, 2);
    PutLE(wav, 16, 2);
    wav.append("data");
    PutLE(wav, quint32(data.size()), 4);
    wav.append(data);
    return wav;
}

QByteArray LogOnSound() {
    // C5 then G5: a rising welcome.
    return RenderChime({Bell(0.0, 523.25, 7.0), Bell(0.12, 783.99, 5.5)}, 0.6, kRate, 0.55);
}

QByteArray LogOffSound() {
    // G5 then C5: the same interval falling.
    return RenderChime({Bell(0.0, 783.99, 7.0), Bell(0.12, 523.25, 5.5)}, 0.6, kRate, 0.5);
}

QByteArray HoverSound() {
    // A short, quiet tick.
    return RenderChime({{0.0, {{1318.5, 1.0}, {2637.0, 0.15}}, 60.0}}, 0.07, kRate, 0.22);
}

QByteArray PageSound() {
    // E5 with a soft fifth above: a light page turn.
    return RenderChime({Bell(0.0, 659.25, 11.0), Bell(0.03, 987.77, 13.0)}, 0.32, kRate, 0.4);
}
