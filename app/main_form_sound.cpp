// Sounds and hover feedback: one wave file at a time, each play from its
// beginning; the device is closed after every sound.
#include "app/main_form.h"

#include "platform/paths.h"
#include "platform/wave_player.h"
#include "widgets/base_btn.h"

#include <QFileInfo>

bool TMainForm::SoundOn() const {
    return SoundBtn->ButtonIsDown();
}

void TMainForm::SetWavePlayer(plat::WavePlayer* player) {
    if (!player || player == MediaPlayer)
        return;
    if (MediaPlayer) {
        StopSound();
        delete MediaPlayer;
    }
    MediaPlayer = player;
    MediaPlayer->setParent(this);
    soundFile_.clear();
    connect(MediaPlayer, &plat::WavePlayer::Notify, this, &TMainForm::MediaPlayerNotify);
}

void TMainForm::StopSoundWhenButtonsGo(bool on) {
    for (TBaseBtn* button : findChildren<TBaseBtn*>()) {
        if (on)
            button->OnDestroy = [this] { StopSound(); };
        else
            button->OnDestroy = {};
    }
}

void TMainForm::PlaySound(std::string_view relativePath) {
    const QString path = plat::ResolvePath(relativePath);
    if (!SoundOn() || !QFileInfo(path).isFile()) {
        StopSound();
        return;
    }
    const std::string file(relativePath);
    if (soundFile_ != file) {
        StopSound();
        soundFile_ = file;
    }
    // Opening closes what was open, so the sound starts from its beginning.
    if (!MediaPlayer->Open(path) || !MediaPlayer->Play())
        StopSound();
}

void TMainForm::StopSound() {
    if (soundFile_.empty() || !MediaPlayer)
        return;
    MediaPlayer->Stop();
    MediaPlayer->Close();
}

void TMainForm::MediaPlayerNotify(plat::WaveStatus status) {
    // Only a sound that ended by itself closes the device; a superseded or
    // aborted one was closed by whoever cut it off.
    if (status == plat::WaveStatus::Successful)
        StopSound();
}

void TMainForm::ButtonMouseIn(QObject* sender) {
    auto* button = qobject_cast<TBaseBtn*>(sender);
    if (!button || !button->isEnabled())
        return;
    QFont f = button->font();
    f.setUnderline(true);
    button->setFont(f);
    PlaySound("a\\2.wav");
}

void TMainForm::ButtonMouseOut(QObject* sender) {
    auto* button = qobject_cast<TBaseBtn*>(sender);
    if (!button || !button->isEnabled())
        return;
    QFont f = button->font();
    f.setUnderline(false);
    button->setFont(f);
}
