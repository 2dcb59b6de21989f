#include "platform/sound_player.h"

#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include "platform/midi_renderer.h"

namespace platform {

TSoundPlayer::TSoundPlayer(QObject* parent) : QObject(parent) {
  limit_ = new QTimer(this);
  limit_->setSingleShot(true);
  connect(limit_, &QTimer::timeout, this,
          [this] { Finish(HasAudioOutput() ? Outcome::kPlayed : Outcome::kPlayedSilently); });
  silent_ = new QTimer(this);
  silent_->setSingleShot(true);
  connect(silent_, &QTimer::timeout, this, [this] { Finish(Outcome::kPlayedSilently); });
}

TSoundPlayer::~TSoundPlayer() {
  cancel_ = true;
  JoinRenderer();
}

bool TSoundPlayer::HasAudioOutput() {
  return !QMediaDevices::audioOutputs().isEmpty();
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
  if (sound_.kind == SoundKind::kWave) {
    if (HasAudioOutput()) {
      StartWave();
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

void TSoundPlayer::StartWave() {
  if (!media_) {
    media_ = new QMediaPlayer(this);
    output_ = new QAudioOutput(this);
    media_->setAudioOutput(output_);
    connect(media_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
      if (s == QMediaPlayer::EndOfMedia) Finish(Outcome::kPlayed);
      if (s == QMediaPlayer::InvalidMedia) Finish(Outcome::kFailed);
    });
    connect(media_, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString&) {
              if (error != QMediaPlayer::NoError) Finish(Outcome::kFailed);
            });
  }
  media_->setSource(QUrl::fromLocalFile(file_name_));
  media_->play();
}

void TSoundPlayer::StartMidi(long limit_ms) {
  // Loading the sound font takes a few tenths of a second: the rendering runs beside the event
  // loop, and only the finished samples come back to it.
  JoinRenderer();
  cancel_ = false;
  const unsigned generation = generation_;
  std::string smf = sound_.bytes;
  renderer_ = std::thread([this, generation, smf = std::move(smf), limit_ms] {
    auto sound = std::make_shared<RenderedSound>(RenderMidi(smf, limit_ms, &cancel_));
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
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) {
    RunSilently(sound->Milliseconds());
    return;
  }
  QAudioFormat format;
  format.setSampleRate(sound->sample_rate);
  format.setChannelCount(2);
  format.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format)) {
    RunSilently(sound->Milliseconds());
    return;
  }
  pcm_ = new QBuffer(this);
  pcm_->setData(reinterpret_cast<const char*>(sound->samples.data()),
                static_cast<qsizetype>(sound->samples.size() * sizeof(std::int16_t)));
  pcm_->open(QIODevice::ReadOnly);
  sink_ = new QAudioSink(device, format, this);
  connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
    if (state == QAudio::IdleState) Finish(Outcome::kPlayed);
    if (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError)
      Finish(Outcome::kFailed);
  });
  sink_->start(pcm_);
}

void TSoundPlayer::Stop() {
  cancel_ = true;
  limit_->stop();
  silent_->stop();
  if (media_) media_->stop();
  if (sink_) {
    sink_->disconnect(this);
    sink_->stop();
    sink_->deleteLater();
    sink_ = nullptr;
  }
  if (pcm_) {
    pcm_->deleteLater();
    pcm_ = nullptr;
  }
}

void TSoundPlayer::Finish(Outcome outcome) {
  if (!playing_) return;
  Stop();
  playing_ = false;
  emit Finished(outcome);
}

void TSoundPlayer::Close() {
  if (playing_) Finish(HasAudioOutput() ? Outcome::kPlayed : Outcome::kPlayedSilently);
  Stop();
  sound_ = {};
  file_name_.clear();
}

}  // namespace platform
