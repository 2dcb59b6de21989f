#include "platform/sound_file.h"

#include <gtest/gtest.h>

#include "test_support/sound_samples.h"
#include "test_support/temp_dir.h"

namespace platform {
namespace {

using namespace test_support;

TEST(SoundFile, KindsLengthsAndTheMidiInsideAnRmi) {
  const std::string smf = MidiFile(2);
  const struct {
    std::string bytes;
    SoundKind kind;
    long wave_ms;
  } cases[] = {
      {WaveFile(250), SoundKind::kWave, 250},
      {WaveFile(3), SoundKind::kWave, 3},
      {smf, SoundKind::kMidi, 0},
      {RmiFile(smf), SoundKind::kMidi, 0},
      {RmiFile(smf + "x"), SoundKind::kMidi, 0},           // an odd body and its pad byte
      {"RIFF\x04\x00\x00\x00WAVE", SoundKind::kNone, 0},   // no fmt chunk
      {WaveFile(100).substr(0, 30), SoundKind::kNone, 0},  // fmt cut short
      {RmiFile("not midi at all"), SoundKind::kNone, 0},
      {RmiFile(smf).substr(0, 30), SoundKind::kNone, 0},
      {"MThd", SoundKind::kNone, 0},
      {smf.substr(0, smf.size() - 1), SoundKind::kNone, 0},  // its track cut short
      {smf.substr(0, 14), SoundKind::kNone, 0},              // no track at all
      {"ID3\x03 an mp3", SoundKind::kNone, 0},
      {"", SoundKind::kNone, 0},
  };
  for (const auto& c : cases) {
    SoundFile sound = ParseSound(c.bytes);
    EXPECT_EQ(sound.kind, c.kind) << c.bytes.size();
    EXPECT_EQ(sound.wave_ms, c.wave_ms) << c.bytes.size();
  }
  EXPECT_EQ(ParseSound(RmiFile(smf)).bytes, smf);
  EXPECT_EQ(ParseSound(RmiFile(smf + "x")).bytes, smf + "x");
}

TEST(SoundFile, MissingFilesAndFoldersAreNoSound) {
  TempDir dir;
  EXPECT_EQ(ReadSoundFile(dir.path() / "none.wav").kind, SoundKind::kNone);
  EXPECT_EQ(ReadSoundFile(dir.path()).kind, SoundKind::kNone);
  WriteBytes(dir.path() / "a.rmi", RmiFile(MidiFile(1)));
  EXPECT_EQ(ReadSoundFile(dir.path() / "a.rmi").kind, SoundKind::kMidi);
}

}  // namespace
}  // namespace platform
