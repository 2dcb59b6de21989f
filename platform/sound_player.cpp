#include "platform/sound_player.h"

#include <QTimer>

#include <cstdio>

#include "platform/sound_library.h"

namespace platform {

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {
  limit_ = new QTimer(this);
  limit_->setSingleShot(true);
  connect(limit_, &QTimer::timeout, this,
          [this] { Finish(Audible() ? Outcome::kPlayed : Outcome::kPlayedSilently); });
  silent_ = new QTimer(this);
  silent_->setSingleShot(true);
  connect(silent_, &QTimer::timeout, this, [this] { Finish(Outcome::kPlayedSilently); });
}

TSoundPlayer::~TSoundPlayer() {
  cancel_ = true;
  JoinRenderer();
}

bool TSoundPlayer::HasAudioOutput() {
  const std::unique_ptr<SoundDevice> device = OpenSoundDevice();
  return device && device->HasOutput();
}

bool TSoundPlayer::Audible() const {
  return device_ && device_->HasOutput();
}

SoundDevice* TSoundPlayer::Device() {
  if (!device_tried_) {
    device_tried_ = true;
    std::string error;
    device_ = OpenSoundDevice(&error);
    // The alarms still go off without it, silently; the reason is for whoever installed it.
    if (!device_) std::fprintf(stderr, "mirune: no sound: %s\n", error.c_str());
  }
  return device_.get();
}

std::function<void(bool)> TSoundPlayer::OnDeviceEnd() {
  return [this](bool played) { Finish(played ? Outcome::kPlayed : Outcome::kFailed); };
}

void TSoundPlayer::JoinRenderer() {
  if (renderer_.joinable()) renderer_.join();
}

bool TSoundPlayer::Open(const QString& path) {
  Close();
  sound_ = ReadSoundFile(path.toStdString());
  if (sound_.kind == SoundKind::kNone) return false;
  file_name_ = path;
  return true;
}

bool TSoundPlayer::Play(long limit_ms) {
  Stop();
  if (sound_.kind == SoundKind::kNone) return false;
  playing_ = true;
  ++generation_;
  limit_->start(static_cast<int>(limit_ms));
  SoundDevice* device = Device();
  if (!device) {
    // Without the library a MIDI file's length is unknown: it lasts to the limit.
    if (sound_.kind == SoundKind::kWave) RunSilently(sound_.wave_ms);
  } else if (sound_.kind == SoundKind::kWave) {
    if (device->HasOutput()) {
      device->PlayWave(file_name_, OnDeviceEnd());
    } else {
      RunSilently(sound_.wave_ms);
    }
  } else {
    StartMidi(limit_ms);
  }
  return true;
}

void TSoundPlayer::RunSilently(long ms) {
  if (ms >= 0 && ms < limit_->remainingTime()) silent_->start(static_cast<int>(ms));
}

void TSoundPlayer::StartMidi(long limit_ms) {
  // Loading the sound font takes a few tenths of a second: the rendering runs beside the event
  // loop, and only the finished samples come back to it.
  JoinRenderer();
  cancel_ = false;
  const unsigned generation = generation_;
  std::string smf = sound_.bytes;
  SoundDevice* device = device_.get();
  renderer_ = std::thread([this, device, generation, smf = std::move(smf), limit_ms] {
    auto sound = std::make_shared<RenderedSound>(device->RenderMidi(smf, limit_ms, &cancel_));
    QMetaObject::invokeMethod(
        this, [this, generation, sound] { MidiRendered(generation, sound); }, Qt::QueuedConnection);
  });
}

void TSoundPlayer::MidiRendered(unsigned generation, std::shared_ptr<RenderedSound> sound) {
  if (generation != generation_ || !playing_) return;
  if (!sound->ok) {
    Finish(Outcome::kFailed);
    return;
  }
  if (!device_->PlaySamples(*sound, OnDeviceEnd())) RunSilently(sound->Milliseconds());
}

void TSoundPlayer::Stop() {
  cancel_ = true;
  limit_->stop();
  silent_->stop();
  if (device_) device_->Stop();
}

void TSoundPlayer::Finish(Outcome outcome) {
  if (!playing_) return;
  Stop();
  playing_ = false;
  emit Finished(outcome);
}

void TSoundPlayer::Close() {
  if (playing_) Finish(Audible() ? Outcome::kPlayed : Outcome::kPlayedSilently);
  Stop();
  sound_ = {};
  file_name_.clear();
}

}  // namespace platform
