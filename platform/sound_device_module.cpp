// The sound library's device: wave files through Qt Multimedia's media player, rendered MIDI
// samples through an audio sink, and the FluidSynth rendering. Only the entry
// `MiruneCreateSoundDevice` is exported.
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include <memory>

#include "platform/sound_device.h"

namespace platform {
namespace {

class QtSoundDevice final : public SoundDevice {
 public:
  bool HasOutput() override { return !QMediaDevices::audioOutputs().isEmpty(); }

  void PlayWave(const QString& path, Ended ended) override {
    Stop();
    ended_ = std::move(ended);
    if (!media_) {
      media_ = std::make_unique<QMediaPlayer>();
      output_ = std::make_unique<QAudioOutput>();
      media_->setAudioOutput(output_.get());
      QObject::connect(media_.get(), &QMediaPlayer::mediaStatusChanged, media_.get(),
                       [this](QMediaPlayer::MediaStatus s) {
                         if (s == QMediaPlayer::EndOfMedia) End(true);
                         if (s == QMediaPlayer::InvalidMedia) End(false);
                       });
      QObject::connect(media_.get(), &QMediaPlayer::errorOccurred, media_.get(),
                       [this](QMediaPlayer::Error error, const QString&) {
                         if (error != QMediaPlayer::NoError) End(false);
                       });
    }
    media_->setSource(QUrl::fromLocalFile(path));
    media_->play();
  }

  bool PlaySamples(const RenderedSound& sound, Ended ended) override {
    Stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    QAudioFormat format;
    format.setSampleRate(sound.sample_rate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return false;
    ended_ = std::move(ended);
    pcm_ = std::make_unique<QBuffer>();
    pcm_->setData(reinterpret_cast<const char*>(sound.samples.data()),
                  static_cast<qsizetype>(sound.samples.size() * sizeof(std::int16_t)));
    pcm_->open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, format);
    QObject::connect(
        sink_.get(), &QAudioSink::stateChanged, sink_.get(), [this](QAudio::State state) {
          if (state == QAudio::IdleState) End(true);
          if (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError)
            End(false);
        });
    sink_->start(pcm_.get());
    return true;
  }

  void Stop() override {
    ended_ = nullptr;
    if (media_) media_->stop();
    if (sink_) {
      // Stopping from inside the sink's own signal must not destroy it under its feet.
      sink_->disconnect();
      sink_->stop();
      sink_.release()->deleteLater();
    }
    if (pcm_) pcm_.release()->deleteLater();
  }

  RenderedSound RenderMidi(std::string_view smf, long max_ms,
                           const std::atomic<bool>* cancel) override {
    return platform::RenderMidi(smf, max_ms, cancel);
  }

  ~QtSoundDevice() override { Stop(); }

 private:
  void End(bool played) {
    if (!ended_) return;
    Ended ended = std::move(ended_);
    ended_ = nullptr;
    ended(played);
  }

  Ended ended_;
  std::unique_ptr<QAudioOutput> output_;  // outlives the player that plays into it
  std::unique_ptr<QMediaPlayer> media_;
  std::unique_ptr<QAudioSink> sink_;
  std::unique_ptr<QBuffer> pcm_;
};

}  // namespace
}  // namespace platform

extern "C" __attribute__((visibility("default"))) platform::SoundDevice* MiruneCreateSoundDevice() {
  return new platform::QtSoundDevice;
}
