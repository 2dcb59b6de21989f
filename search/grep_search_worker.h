// GrepSearchWorker: runs one search of the day files on a thread of its own, so that the
// search dialog stays responsive, and hands what it finds to the dialog's thread in batches:
// the result lines found since the last look, the latest progress, and at the end the summary
// or the pattern's error. Free of Qt; the dialog polls it from a timer.
//
// The search runs at most kMostWaiting lines ahead of the dialog: a common word finds lines far
// faster than a list can take them, and an unbounded queue cost memory and made a stop slow
// (every line found had to be freed, and the last batch's lines sorted, before it settled).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "search/day_search.h"

namespace search {

struct GrepSearchRequest {
  std::string pattern;  // code page 932
  std::filesystem::path data_dir;
  bool all_years = false;
  int year = 0;  // the one year searched when all_years is false
};

class GrepSearchWorker {
 public:
  GrepSearchWorker() = default;
  GrepSearchWorker(const GrepSearchWorker&) = delete;
  GrepSearchWorker& operator=(const GrepSearchWorker&) = delete;
  // Cancels a running search and waits for its thread.
  ~GrepSearchWorker();

  // Starts a search; one that is still running is cancelled and waited for first.
  void Start(const GrepSearchRequest& request);
  // Asks the running search to stop; it ends within the block of the file it is reading. The
  // lines not yet taken are dropped at once, and none are added after.
  void Cancel();
  // Waits until the thread has ended (after Cancel, within one file).
  void Wait();
  // True from Start until the thread has ended and its end has been taken.
  bool Busy() const { return busy_; }

  struct Batch {
    std::vector<std::string> lines;             // in the order found
    std::optional<DaySearchProgress> progress;  // the newest, when it changed
    bool finished = false;                      // the search has ended; the fields below are set
    int files = 0;
    bool cancelled = false;
    std::optional<std::string> error;  // a faulty pattern's message (UTF-8)
  };
  // What the search has produced since the last call, but at most `most_lines` lines (the rest
  // wait for the next call). A batch says finished once the search has ended and its lines are
  // all taken; the thread has then been joined and Busy() is false.
  Batch Take(size_t most_lines = static_cast<size_t>(-1));

  static constexpr size_t kMostWaiting = 50000;
  static constexpr size_t kShare = 1000;  // lines added to those waiting at a time

 private:
  void Run(GrepSearchRequest request);

  std::thread thread_;
  std::atomic<bool> cancel_{false};
  bool busy_ = false;

  std::mutex mutex_;                 // guards what follows
  std::condition_variable taken_;    // lines were taken, or the search is cancelled
  std::deque<std::string> waiting_;  // lines found, not yet taken
  Batch pending_;                    // the rest of the next batch
  bool progress_changed_ = false;
};

}  // namespace search
