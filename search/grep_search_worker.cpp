#include "search/grep_search_worker.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "search/reg_exp_parser_error.h"

namespace search {

GrepSearchWorker::~GrepSearchWorker() {
  Cancel();
  Wait();
}

void GrepSearchWorker::Start(const GrepSearchRequest& request) {
  Cancel();
  Wait();
  cancel_ = false;
  {
    std::lock_guard lock(mutex_);
    waiting_.clear();
    pending_ = Batch{};
    progress_changed_ = false;
  }
  busy_ = true;
  thread_ = std::thread(&GrepSearchWorker::Run, this, request);
}

void GrepSearchWorker::Cancel() {
  std::deque<std::string> dropped;
  {
    std::lock_guard lock(mutex_);
    cancel_ = true;
    dropped.swap(waiting_);
  }
  taken_.notify_all();
  // `dropped` is freed here, outside the lock: the search may be ending meanwhile.
}

void GrepSearchWorker::Wait() {
  if (thread_.joinable()) thread_.join();
}

GrepSearchWorker::Batch GrepSearchWorker::Take(size_t most_lines) {
  Batch batch;
  {
    std::lock_guard lock(mutex_);
    const size_t take = std::min(waiting_.size(), most_lines);
    batch.lines.reserve(take);
    for (size_t i = 0; i < take; ++i) {
      batch.lines.push_back(std::move(waiting_.front()));
      waiting_.pop_front();
    }
    if (progress_changed_) batch.progress = pending_.progress;
    progress_changed_ = false;
    if (pending_.finished && waiting_.empty()) {
      batch.finished = true;
      batch.files = pending_.files;
      batch.cancelled = pending_.cancelled;
      batch.error = pending_.error;
      pending_.finished = false;
    }
  }
  if (!batch.lines.empty()) taken_.notify_all();
  if (batch.finished) {
    Wait();  // the thread has nothing left to do but return
    busy_ = false;
  }
  return batch;
}

void GrepSearchWorker::Run(GrepSearchRequest request) {
  // The lines go over a share at a time, each waiting until the dialog has room for it.
  const DayResultBatch hand_over = [this](const DayResultLines& lines) {
    for (size_t first = 0; first < lines.size(); first += kShare) {
      std::unique_lock lock(mutex_);
      taken_.wait(lock, [this] { return cancel_ || waiting_.size() < kMostWaiting; });
      if (cancel_) return;  // the dialog lists nothing found after 中断
      const size_t end = std::min(lines.size(), first + kShare);
      for (size_t i = first; i < end; ++i) waiting_.emplace_back(lines[i]);
    }
  };
  DaySearchHooks hooks;
  hooks.cancel = &cancel_;
  hooks.on_progress = [this](const DaySearchProgress& progress) {
    std::lock_guard lock(mutex_);
    pending_.progress = progress;
    progress_changed_ = true;
  };
  DaySearchSummary result;
  std::optional<std::string> error;
  try {
    // Each search has a component of its own, so that nothing of it is shared with the
    // dialog's thread.
    TGrep grep;
    if (request.all_years) {
      result = SearchAllFolders(grep, request.pattern, request.data_dir, hand_over, hooks);
    } else {
      result =
          SearchYearFolder(grep, request.pattern, request.data_dir, request.year, hand_over, hooks);
    }
  } catch (const ERegExpParser& e) {
    error = e.what();
  } catch (const std::exception& e) {
    // Anything else that ends the search (memory, a folder vanishing mid-walk) is shown the
    // same way instead of ending the program from a thread.
    error = e.what();
  }
  std::lock_guard lock(mutex_);
  pending_.finished = true;
  pending_.files = result.files;
  pending_.cancelled = result.cancelled || cancel_;
  pending_.error = std::move(error);
}

}  // namespace search
