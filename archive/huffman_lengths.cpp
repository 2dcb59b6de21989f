#include "archive/huffman_lengths.h"

#include <algorithm>
#include <queue>
#include <utility>

namespace archive {

std::vector<std::uint8_t> HuffmanCodeLengths(const std::vector<std::uint32_t>& counts,
                                             int max_length) {
  const size_t n = counts.size();
  std::vector<std::uint8_t> lengths(n, 0);
  std::vector<size_t> used;
  for (size_t i = 0; i < n; ++i) {
    if (counts[i] > 0) used.push_back(i);
  }
  if (used.size() < 2) return lengths;

  // Plain Huffman tree over the used symbols; nodes 0..m-1 are leaves.
  const size_t m = used.size();
  std::vector<std::uint64_t> weight(2 * m - 1);
  std::vector<size_t> parent(2 * m - 1, 0);
  using Item = std::pair<std::uint64_t, size_t>;
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
  for (size_t i = 0; i < m; ++i) {
    weight[i] = counts[used[i]];
    queue.push({weight[i], i});
  }
  size_t next = m;
  while (queue.size() > 1) {
    Item a = queue.top();
    queue.pop();
    Item b = queue.top();
    queue.pop();
    weight[next] = a.first + b.first;
    parent[a.second] = next;
    parent[b.second] = next;
    queue.push({weight[next], next});
    ++next;
  }
  const size_t root = next - 1;
  std::vector<int> depth(2 * m - 1, 0);
  for (size_t i = root; i-- > 0;) depth[i] = depth[parent[i]] + 1;

  // Count the codes of each length, then move over-long codes up as JPEG encoders do: each
  // step keeps the sum of 2^-length equal to 1.
  int deepest = 0;
  for (size_t i = 0; i < m; ++i) deepest = std::max(deepest, depth[i]);
  std::vector<int> count(std::max(deepest, max_length) + 2, 0);
  for (size_t i = 0; i < m; ++i) ++count[depth[i]];
  for (int len = deepest; len > max_length; --len) {
    while (count[len] > 0) {
      int j = len - 2;
      while (count[j] == 0) --j;
      count[len] -= 2;
      count[len - 1] += 1;
      count[j + 1] += 2;
      count[j] -= 1;
    }
  }

  // The most frequent symbols get the shortest codes.
  std::vector<size_t> order(used);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return counts[a] > counts[b]; });
  size_t k = 0;
  for (int len = 1; len <= max_length; ++len) {
    for (int c = 0; c < count[len]; ++c) lengths[order[k++]] = static_cast<std::uint8_t>(len);
  }
  return lengths;
}

std::vector<std::uint16_t> CanonicalCodes(const std::vector<std::uint8_t>& lengths) {
  int max_length = 0;
  for (std::uint8_t len : lengths) max_length = std::max<int>(max_length, len);
  std::vector<unsigned> count(max_length + 2, 0), start(max_length + 2, 0);
  for (std::uint8_t len : lengths) {
    if (len > 0) ++count[len];
  }
  for (int len = 2; len <= max_length; ++len) start[len] = (start[len - 1] + count[len - 1]) << 1;
  std::vector<std::uint16_t> codes(lengths.size(), 0);
  for (size_t i = 0; i < lengths.size(); ++i) {
    if (lengths[i] > 0) codes[i] = static_cast<std::uint16_t>(start[lengths[i]]++);
  }
  return codes;
}

}  // namespace archive
