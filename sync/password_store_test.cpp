#include "sync/password_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "sync/calendar_server.h"

namespace calsync {
namespace {

// Without a keyring the password goes nowhere, and every call says so; a file never stands in.
TEST(PasswordStore, WithoutAKeyringEveryCallFailsWithAMessage) {
  const char* saved = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  const std::string before = saved ? saved : "";
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/mirune-no-bus", 1);
  PasswordStore store("mirune-sync-test");
  int failures = 0;
  auto expect_failure = [&](auto call) {
    try {
      call();
    } catch (const SyncError& error) {
      EXPECT_EQ(error.kind(), SyncError::Kind::kLocal);
      EXPECT_NE(std::string(error.what()).find("鍵束"), std::string::npos) << error.what();
      ++failures;
    }
  };
  expect_failure([&] { store.Write("http://127.0.0.1/", "u", "secret"); });
  expect_failure([&] { store.Read("http://127.0.0.1/", "u"); });
  expect_failure([&] { store.Remove("http://127.0.0.1/", "u"); });
  EXPECT_EQ(failures, 3);
  if (saved) {
    setenv("DBUS_SESSION_BUS_ADDRESS", before.c_str(), 1);
  } else {
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
  }
}

}  // namespace
}  // namespace calsync
