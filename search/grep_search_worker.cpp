#include "search/grep_search_worker.h"

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
    pending_ = Batch{};
    progress_changed_ = false;
  }
  busy_ = true;
  thread_ = std::thread(&GrepSearchWorker::Run, this, request);
}

void GrepSearchWorker::Cancel() {
  cancel_ = true;
}

void GrepSearchWorker::Wait() {
  if (thread_.joinable()) thread_.join();
}

GrepSearchWorker::Batch GrepSearchWorker::Take() {
  Batch batch;
  {
    std::lock_guard lock(mutex_);
    batch.lines.swap(pending_.lines);
    if (progress_changed_) batch.progress = pending_.progress;
    progress_changed_ = false;
    if (pending_.finished) {
      batch.finished = true;
      batch.files = pending_.files;
      batch.cancelled = pending_.cancelled;
      batch.error = pending_.error;
      pending_.finished = false;
    }
  }
  if (batch.finished) {
    Wait();  // the thread has nothing left to do but return
    busy_ = false;
  }
  return batch;
}

void GrepSearchWorker::Run(GrepSearchRequest request) {
  DaySearchHooks hooks;
  hooks.cancel = &cancel_;
  hooks.on_result = [this](const std::string& line) {
    if (cancel_) return;  // the dialog lists nothing found after 中断
    std::lock_guard lock(mutex_);
    pending_.lines.push_back(line);
  };
  hooks.on_progress = [this](const DaySearchProgress& progress) {
    std::lock_guard lock(mutex_);
    pending_.progress = progress;
    progress_changed_ = true;
  };
  DaySearchResult result;
  std::optional<std::string> error;
  try {
    // Each search has a component of its own, so that nothing of it is shared with the
    // dialog's thread.
    TGrep grep;
    if (request.all_years) {
      result = SearchAllFolders(grep, request.pattern, request.data_dir, hooks);
    } else {
      result = SearchYearFolder(grep, request.pattern, request.data_dir, request.year, hooks);
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
