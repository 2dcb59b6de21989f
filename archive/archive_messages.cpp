#include "archive/archive_messages.h"

namespace archive {

std::string DeletionMessage(const std::vector<std::string>& removed,
                            const std::vector<std::string>& not_removed, int deleted_for_good) {
  std::string text;
  const size_t n = removed.size();
  if (n <= 11) {
    for (const std::string& path : removed) text += path + "\r\n";
  } else {
    for (size_t i = 0; i < 4; ++i) text += removed[i] + "\n";
    for (int i = 0; i < 3; ++i) text += "         :       \n";
  }
  text += std::to_string(n) + "個のファイルを削除しました。";
  if (deleted_for_good > 0) {
    text += "\n(ごみ箱がないため " + std::to_string(deleted_for_good) +
            " 個はごみ箱を通さずに削除しました)";
  }
  if (!not_removed.empty()) {
    text +=
        "\n\n次の " + std::to_string(not_removed.size()) + " 個のファイルは削除できませんでした:";
    for (const std::string& path : not_removed) text += "\n" + path;
  }
  return text;
}

std::string ExtractionMessage(const std::string& archive, int trashed, int not_trashed) {
  std::string text = archive + "を解凍しました。";
  if (trashed > 0) {
    text +=
        "\n置き換えた " + std::to_string(trashed) + " 個のファイルの元の内容はごみ箱にあります。";
  }
  if (not_trashed > 0) {
    text +=
        "\n" + std::to_string(not_trashed) + " 個のファイルはごみ箱に移せないまま上書きしました。";
  }
  return text;
}

}  // namespace archive
