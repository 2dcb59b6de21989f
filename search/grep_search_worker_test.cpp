// The search dialog's worker: it runs no further ahead of the dialog than it may, loses no line
// for waiting, and after a cancel hands over nothing more and ends.
#include "search/grep_search_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "test_support/temp_dir.h"

namespace search {
namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 3, kLinesPerFile = 30000;  // together more than the worker may hold

class GrepSearchWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path year = dir_.path() / "data" / "2026";
    fs::create_directories(year);
    for (int day = 1; day <= kFiles; ++day) {
      std::string text;
      for (int line = 0; line < kLinesPerFile; ++line)
        text += "hit " + std::to_string(line) + "\r\n";
      char name[32];
      std::snprintf(name, sizeof name, "KVR202601%02d.dat", day);
      test_support::WriteBytes(year / name, text);
    }
    request_.pattern = "hit";
    request_.data_dir = dir_.path() / "data";
    request_.year = 2026;
  }
  // Waits for the worker to run into its bound (it fills it in well under this time).
  static void LetItRunAhead() { std::this_thread::sleep_for(std::chrono::milliseconds(400)); }

  test_support::TempDir dir_;
  GrepSearchRequest request_;
};

TEST_F(GrepSearchWorkerTest, WaitsForTheDialogAndLosesNoLine) {
  GrepSearchWorker worker;
  worker.Start(request_);
  LetItRunAhead();
  GrepSearchWorker::Batch first = worker.Take();
  EXPECT_GE(first.lines.size(), GrepSearchWorker::kMostWaiting);
  EXPECT_LT(first.lines.size(), GrepSearchWorker::kMostWaiting + GrepSearchWorker::kShare);
  EXPECT_FALSE(first.finished);
  size_t lines = first.lines.size();
  std::string last = first.lines.back();
  // Taken a share at a time, as the dialog does, every line comes, in the list's order.
  for (;;) {
    GrepSearchWorker::Batch batch = worker.Take(3000);
    EXPECT_LE(batch.lines.size(), 3000u);
    for (const std::string& line : batch.lines) {
      EXPECT_FALSE(ResultLineLess(line, last)) << line << " after " << last;
      last = line;
    }
    lines += batch.lines.size();
    if (batch.finished) {
      EXPECT_FALSE(batch.cancelled);
      EXPECT_EQ(batch.files, kFiles);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(lines, static_cast<size_t>(kFiles * kLinesPerFile));
  EXPECT_FALSE(worker.Busy());
}

TEST_F(GrepSearchWorkerTest, CancelDropsWhatWaitsAndEndsTheSearch) {
  GrepSearchWorker worker;
  worker.Start(request_);
  LetItRunAhead();
  worker.Cancel();
  const auto cancelled = std::chrono::steady_clock::now();
  size_t after = 0;
  GrepSearchWorker::Batch batch;
  do {
    batch = worker.Take();
    after += batch.lines.size();
  } while (!batch.finished &&
           std::chrono::steady_clock::now() - cancelled < std::chrono::seconds(5));
  EXPECT_EQ(after, 0u);
  EXPECT_TRUE(batch.finished);
  EXPECT_TRUE(batch.cancelled);
  EXPECT_FALSE(worker.Busy());
  // The next search runs whole.
  worker.Start(request_);
  size_t lines = 0;
  for (batch = {}; !batch.finished;) {
    batch = worker.Take();
    lines += batch.lines.size();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_FALSE(batch.cancelled);
  EXPECT_EQ(lines, static_cast<size_t>(kFiles * kLinesPerFile));
}

}  // namespace
}  // namespace search
