#include "platform/wave_player.h"

#include <QAudioDevice>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace plat {
namespace {

// QSoundEffect reads only RIFF/WAVE; anything else is refused at once rather
// than failing later while the caller waits for the end of the sound.
bool LooksLikeWave(const QString& file) {
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

} // namespace

WavePlayer::WavePlayer(QObject* parent) : QObject(parent) {}

WavePlayer::~WavePlayer() {
    // Nothing is reported from a player that goes away.
    if (effect_)
        effect_->disconnect(this);
}

bool WavePlayer::Open(const QString& file) {
    Close();
    if (!LooksLikeWave(file))
        return false;
    file_ = QFileInfo(file).absoluteFilePath();
    return true;
}

bool WavePlayer::Play() {
    if (file_.isEmpty())
        return false;
    if (playing_) {
        Stop();
        if (file_.isEmpty() || playing_)
            return playing_; // the receiver of the report closed or restarted us
    }
    // Without an output device there is nothing to wait for: fail at once
    // and quietly instead of waiting for an end that never comes. The effect
    // is made only now, so that a silent machine never builds one.
    if (QMediaDevices::audioOutputs().isEmpty())
        return false;
    // A fresh effect for every play: one stopped and started again at once
    // may never start its output and then never reports an end.
    DiscardEffect();
    effect_ = new QSoundEffect(this);
    connect(effect_, &QSoundEffect::playingChanged, this, &WavePlayer::OnPlayingChanged);
    connect(effect_, &QSoundEffect::statusChanged, this, &WavePlayer::OnStatusChanged);
    effect_->setSource(QUrl::fromLocalFile(file_));
    if (effect_->status() == QSoundEffect::Error)
        return false;
    playing_ = true;
    effect_->play();
    if (!effect_->isPlaying()) {
        playing_ = false;
        return false;
    }
    return true;
}

void WavePlayer::Stop() {
    if (!effect_)
        return;
    const bool interrupted = playing_;
    playing_ = false; // the effect's own playingChanged is then not an end
    effect_->stop();
    // Last, because a receiver may close or reopen this player.
    if (interrupted)
        emit Notify(WaveStatus::Aborted);
}

void WavePlayer::Close() {
    const bool interrupted = playing_;
    playing_ = false;
    file_.clear();
    DiscardEffect();
    if (interrupted)
        emit Notify(WaveStatus::Aborted);
}

void WavePlayer::DiscardEffect() {
    if (!effect_)
        return;
    // Deleted later: this may run inside a signal of the effect itself.
    effect_->disconnect(this);
    effect_->stop();
    effect_->deleteLater();
    effect_ = nullptr;
}

bool WavePlayer::IsOpen() const {
    return !file_.isEmpty();
}

void WavePlayer::OnPlayingChanged() {
    if (!playing_ || !effect_ || effect_->isPlaying())
        return;
    playing_ = false;
    emit Notify(WaveStatus::Successful);
}

void WavePlayer::OnStatusChanged() {
    if (!playing_ || !effect_ || effect_->status() != QSoundEffect::Error)
        return;
    playing_ = false;
    emit Notify(WaveStatus::Failed);
}

} // namespace plat
