#pragma once

#include <QByteArray>
#include <vector>

// One partial of a tone: frequency in hertz and relative loudness.
struct TPartial {
    double Hz;
    double Level;
};

// One note of a chime: when it starts, its partials and how fast it fades.
struct TChimeNote {
    double StartSeconds;
    std::vector<TPartial> Partials;
    double DecayPerSecond;
};

// A mono 16-bit PCM RIFF/WAVE file of `seconds` at `sampleRate`, the notes
// mixed with a short attack so that nothing clicks, peaking at `peak` (0..1)
// of full scale.
QByteArray RenderChime(const std::vector<TChimeNote>& notes, double seconds, int sampleRate,
                       double peak);

// The program's four sounds: log-on, log-off, pointer on a button, page change.
QByteArray LogOnSound();
QByteArray LogOffSound();
QByteArray HoverSound();
QByteArray PageSound();
