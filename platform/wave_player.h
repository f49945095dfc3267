#pragma once

#include <QObject>
#include <QString>

class QSoundEffect;

// Plays one wave file at a time without blocking and reports the end.
// Open only checks that the file is a RIFF/WAVE file; without an audio device
// Play fails quietly and nothing is reported.
namespace plat {

enum class WaveStatus { Successful, Aborted, Failed };

class WavePlayer : public QObject {
    Q_OBJECT
public:
    explicit WavePlayer(QObject* parent = nullptr);
    ~WavePlayer() override;

    // Closes what was open first. False for a missing file or one that is no wave file.
    virtual bool Open(const QString& file);
    // Starts from the beginning and returns at once; a sound still playing
    // is stopped first (reported as Aborted). False when nothing started.
    virtual bool Play();
    // Both report Aborted, synchronously, when they interrupt a sound.
    virtual void Stop();
    virtual void Close();
    virtual bool IsOpen() const;

signals:
    // A started sound ended (Successful), was stopped (Aborted) or could not be played (Failed).
    void Notify(plat::WaveStatus status);

private:
    void OnPlayingChanged();
    void OnStatusChanged();
    void DiscardEffect();
    QString file_; // absolute; empty when closed
    QSoundEffect* effect_ = nullptr;
    bool playing_ = false; // started and its end not yet reported
};

} // namespace plat
