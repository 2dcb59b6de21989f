// The ten display items of the options dialog's colour page: for each, the two colour buttons'
// labels and keys and the font key with its sample text. A null key means the button is
// disabled. Texts are UTF-8.
#pragma once

#include <span>
#include <string_view>

#include "settings/schema.h"

namespace options {

struct DisplayItem {
  std::string_view caption;
  std::string_view colour1_label;
  const settings::Key* colour1;
  std::string_view colour2_label;
  const settings::Key* colour2;
  const settings::Key* font;
  std::string_view sample;  // the main window's title text when title_sample is set
  bool title_sample = false;
};

// The label of a colour button that has no colour.
inline constexpr std::string_view kNoColourLabel = "な　し";

std::span<const DisplayItem> DisplayItems();

}  // namespace options
