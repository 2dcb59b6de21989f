#include "platform/midi_renderer.h"

#include <fluidsynth.h>

#include <filesystem>
#include <memory>

namespace platform {
namespace {

struct Fluid {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  ~Fluid() {
    if (player) delete_fluid_player(player);
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

void Quiet() {
  // FluidSynth would print every warning of a damaged file to the terminal.
  static bool done = false;
  if (done) return;
  done = true;
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, nullptr, nullptr);
}

}  // namespace

std::string GeneralMidiSoundFont() {
  for (const char* path :
       {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2"}) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return path;
  }
  return {};
}

RenderedSound RenderMidi(std::string_view smf, long max_ms, const std::atomic<bool>* cancel) {
  RenderedSound out;
  Quiet();
  const std::string font = GeneralMidiSoundFont();
  if (font.empty()) {
    out.error = "no General MIDI sound font";
    return out;
  }
  Fluid f;
  f.settings = new_fluid_settings();
  if (!f.settings) return out;
  fluid_settings_setnum(f.settings, "synth.sample-rate", out.sample_rate);
  // The player must follow the rendered samples, not the wall clock: nothing plays live here.
  fluid_settings_setstr(f.settings, "player.timing-source", "sample");
  fluid_settings_setint(f.settings, "synth.lock-memory", 0);
  f.synth = new_fluid_synth(f.settings);
  if (!f.synth || fluid_synth_sfload(f.synth, font.c_str(), 1) == FLUID_FAILED) {
    out.error = "the sound font cannot be loaded";
    return out;
  }
  f.player = new_fluid_player(f.synth);
  if (!f.player || fluid_player_add_mem(f.player, smf.data(), smf.size()) != FLUID_OK ||
      fluid_player_play(f.player) != FLUID_OK) {
    out.error = "not a playable MIDI file";
    return out;
  }
  const long max_frames = max_ms * out.sample_rate / 1000;
  constexpr int kBlock = 1024;
  long frames = 0;
  while (frames < max_frames && fluid_player_get_status(f.player) == FLUID_PLAYER_PLAYING) {
    if (cancel && cancel->load()) {
      out.error = "cancelled";
      return out;
    }
    const size_t at = out.samples.size();
    out.samples.resize(at + 2 * kBlock);
    fluid_synth_write_s16(f.synth, kBlock, out.samples.data() + at, 0, 2, out.samples.data() + at,
                          1, 2);
    frames += kBlock;
  }
  if (frames == 0 && fluid_player_get_status(f.player) != FLUID_PLAYER_DONE) {
    out.error = "not a playable MIDI file";
    return out;
  }
  out.ok = true;
  return out;
}

}  // namespace platform
