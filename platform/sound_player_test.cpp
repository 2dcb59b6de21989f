// The sound player on this machine, with or without an audio device: every sound it starts
// ends by itself within its limit, and says whether it played.
#include "platform/sound_player.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "platform/sound_library.h"
#include "test_support/sound_samples.h"
#include "test_support/temp_dir.h"

namespace platform {
namespace {

using namespace test_support;
using Outcome = TSoundPlayer::Outcome;

// Waits for the end of the sound; a player that never ends fails here instead of hanging.
bool Ends(QSignalSpy& spy) {
  return spy.count() > 0 || spy.wait(30000);
}

TEST(SoundPlayer, WaveAndMidiStartAndStopWithinTheirLimit) {
  TempDir dir;
  WriteBytes(dir.path() / "long.wav", WaveFile(20000));
  WriteBytes(dir.path() / "long.mid", MidiFile(20));
  WriteBytes(dir.path() / "long.rmi", RmiFile(MidiFile(20)));
  WriteBytes(dir.path() / "short.wav", WaveFile(50));
  for (const char* name : {"long.wav", "long.mid", "long.rmi", "short.wav"}) {
    TSoundPlayer player;
    QSignalSpy finished(&player, &TSoundPlayer::Finished);
    ASSERT_TRUE(player.Open(QString::fromStdString((dir.path() / name).string()))) << name;
    ASSERT_TRUE(player.Play(400)) << name;
    EXPECT_TRUE(player.Playing());
    ASSERT_TRUE(Ends(finished)) << name;
    ASSERT_EQ(finished.count(), 1) << name;
    const auto outcome = finished[0][0].value<Outcome>();
    EXPECT_NE(outcome, Outcome::kFailed) << name;
    if (!TSoundPlayer::HasAudioOutput()) {
      EXPECT_EQ(outcome, Outcome::kPlayedSilently) << name;
    }
    EXPECT_FALSE(player.Playing());
  }
}

TEST(SoundPlayer, FilesThatAreNoSoundDoNotOpenAndCloseStopsAtOnce) {
  TempDir dir;
  WriteBytes(dir.path() / "text.wav", "just text");
  WriteBytes(dir.path() / "bad.mid",
             "MThd\0\0\0\6\0\0\0\1\1\xE0MTrk\0\0\0\x40" + std::string(4, 'z'));
  TSoundPlayer player;
  EXPECT_FALSE(player.Open(QString::fromStdString((dir.path() / "none.wav").string())));
  EXPECT_FALSE(player.Open(QString::fromStdString((dir.path() / "text.wav").string())));
  EXPECT_FALSE(player.Open(QString::fromStdString((dir.path() / "bad.mid").string())));
  EXPECT_FALSE(player.Play(100));

  WriteBytes(dir.path() / "long.mid", MidiFile(20));
  ASSERT_TRUE(player.Open(QString::fromStdString((dir.path() / "long.mid").string())));
  QSignalSpy closed(&player, &TSoundPlayer::Finished);
  ASSERT_TRUE(player.Play(60000));
  player.Close();
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(player.Playing());
  QTest::qWait(50);  // a rendering still under way comes back to a closed player
  EXPECT_EQ(closed.count(), 1);
}

TEST(MidiRenderer, RendersUpToTheLimitOrTheEnd) {
  // The device comes from the sound library beside the test program, as it does beside ours.
  std::string error;
  const std::unique_ptr<SoundDevice> device = OpenSoundDevice(&error);
  ASSERT_TRUE(device) << error;
  RenderedSound limited = device->RenderMidi(MidiFile(20), 300, nullptr);
  if (limited.error == "no General MIDI sound font") GTEST_SKIP() << limited.error;
  ASSERT_TRUE(limited.ok) << limited.error;
  EXPECT_GE(limited.Milliseconds(), 300);
  EXPECT_LT(limited.Milliseconds(), 400);
  // A one-second note ends the rendering well before the limit.
  RenderedSound whole = device->RenderMidi(MidiFile(1), 20000, nullptr);
  ASSERT_TRUE(whole.ok) << whole.error;
  EXPECT_GE(whole.Milliseconds(), 900);
  EXPECT_LT(whole.Milliseconds(), 10000);
}

}  // namespace
}  // namespace platform
