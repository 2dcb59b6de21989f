// The sync tests' QCoreApplication: the client and the keyring wait in local event loops,
// which need one. Made once before the first test, in the main thread.
#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QCoreApplication::instance()) application_ = new QCoreApplication(argc_, argv_);
  }
  void TearDown() override {
    delete application_;
    application_ = nullptr;
  }

 private:
  int argc_ = 1;
  char name_[32] = "mirune_sync_tests";
  char* argv_[2] = {name_, nullptr};
  QCoreApplication* application_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
