// TSoundPlayer: plays an alarm sound file, a wave file or a MIDI file (.mid, .rmi), for at
// most a given time, through the sound library's device (loaded at the first sound). Where the
// machine has no audio output, or the library cannot be loaded, the sound runs silently for
// its length, so that everything waiting on it goes on as usual; nothing here blocks the event
// loop or fails for want of a device.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "platform/sound_file.h"

class QTimer;

namespace platform {

class SoundDevice;
struct RenderedSound;

class TSoundPlayer : public QObject {
  Q_OBJECT

 public:
  enum class Outcome { kPlayed, kPlayedSilently, kFailed };
  Q_ENUM(Outcome)

  explicit TSoundPlayer(QObject* parent = nullptr);
  ~TSoundPlayer() override;

  // Reads and checks the file; false when it cannot be opened as a wave or MIDI file.
  bool Open(const QString& path);
  QString FileName() const { return file_name_; }
  // Starts the opened sound; it stops by itself after `limit_ms`. False when nothing is open.
  bool Play(long limit_ms);
  // Stops the sound (Finished follows if it was playing) and forgets the file.
  void Close();
  bool Playing() const { return playing_; }
  // Whether the machine has an audio output at all (false without the sound library).
  static bool HasAudioOutput();

 signals:
  // Once for each Play: at the sound's end, at the limit, at Close, or on failure.
  void Finished(platform::TSoundPlayer::Outcome outcome);

 private:
  void Stop();
  void Finish(Outcome outcome);
  SoundDevice* Device();
  bool Audible() const;
  // What the device calls when a sound it plays has ended.
  std::function<void(bool played)> OnDeviceEnd();
  void StartMidi(long limit_ms);
  void MidiRendered(unsigned generation, std::shared_ptr<RenderedSound> sound);
  void RunSilently(long ms);
  void JoinRenderer();

  QString file_name_;
  SoundFile sound_;
  bool playing_ = false;
  unsigned generation_ = 0;
  QTimer* limit_ = nullptr;
  QTimer* silent_ = nullptr;
  std::unique_ptr<SoundDevice> device_;
  bool device_tried_ = false;
  std::thread renderer_;
  std::atomic<bool> cancel_{false};
};

}  // namespace platform
