#include "widgets/gradient_table.h"

#include <cmath>

namespace widgets {

GradientTable MakeGradientTable(std::uint32_t start, std::uint32_t end) {
  GradientTable table{};
  double value[3], step[3];
  for (int c = 0; c < 3; ++c) {
    int from = static_cast<int>((start >> (8 * c)) & 0xFF);
    int to = static_cast<int>((end >> (8 * c)) & 0xFF);
    value[c] = from;
    step[c] = (from - to) / 255.0;
  }
  table[0] = start & 0xFFFFFF;
  for (int i = 1; i <= 254; ++i) {
    std::uint32_t colour = 0;
    for (int c = 0; c < 3; ++c) {
      value[c] -= step[c];
      // Halves round to even, as the platform's rounding does.
      long channel = std::lrint(value[c]);
      colour |= static_cast<std::uint32_t>(channel < 0     ? 0
                                           : channel > 255 ? 255
                                                           : channel)
                << (8 * c);
    }
    table[static_cast<size_t>(i)] = colour;
  }
  table[255] = end & 0xFFFFFF;
  return table;
}

}  // namespace widgets
