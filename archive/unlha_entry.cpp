// The exported entries of the archiver library: `Unlha`, called with a command line and a buffer
// for the text it reports, and `UnlhaProgress`, the same with a callback that hears of every
// member and may cancel. The only symbols the library exports.
#include <cstring>
#include <string>

#include "archive/archive_progress.h"
#include "archive/unlha_command.h"
#include "archive/unlha_result.h"

namespace {

int RunEntry(const char* command, char* output, unsigned long size,
             const archive::ProgressCallback& progress) {
  std::string text;
  int result = archive::kUnlhaBadCommand;
  if (command) {
    result = archive::RunUnlhaCommand(command, text, progress);
  } else {
    text = "コマンドがありません\n";
  }
  if (output && size > 0) {
    size_t n = std::min<size_t>(text.size(), size - 1);
    // Never cut a UTF-8 character in two.
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(output, text.data(), n);
    output[n] = '\0';
    // Only a listing is worth asking for again with a larger buffer; other texts are
    // messages, and their commands have already done their work.
    const char* c = command;
    while (c && (*c == ' ' || *c == '\t')) ++c;
    if (n < text.size() && result == archive::kUnlhaOk && c && (*c == 'L' || *c == 'l')) {
      result = archive::kUnlhaBufferTooSmall;
    }
  }
  return result;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int Unlha(void* window, const char* command,
                                                            char* output, unsigned long size) {
  (void)window;  // no windows of our own: progress and errors go to the caller
  return RunEntry(command, output, size, {});
}

extern "C" __attribute__((visibility("default"))) int UnlhaProgress(
    void* window, const char* command, char* output, unsigned long size,
    archive::UnlhaProgressFunction progress, void* user) {
  (void)window;
  archive::ProgressCallback callback;
  if (progress) {
    callback = [progress, user](std::size_t done, std::size_t total) {
      return progress(user, static_cast<unsigned long>(done), static_cast<unsigned long>(total)) ==
             0;
    };
  }
  return RunEntry(command, output, size, callback);
}
