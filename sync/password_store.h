// PasswordStore: the sync account's password in the desktop keyring (Secret Service or KWallet,
// through QtKeychain), under the service "mirune-sync" and the key "user@url". Never in a file:
// without a keyring every call fails with a message that says so.
//
// Each call waits for the keyring in a local event loop; the process needs a QCoreApplication.
#pragma once

#include <optional>
#include <string>

namespace calsync {

class PasswordStore {
 public:
  explicit PasswordStore(std::string service = "mirune-sync") : service_(std::move(service)) {}

  // nullopt when no password is stored for this account. Throws SyncError kLocal when the
  // keyring cannot be reached or refuses.
  std::optional<std::string> Read(const std::string& url, const std::string& user) const;
  // Throws SyncError kLocal; the password is then stored nowhere.
  void Write(const std::string& url, const std::string& user, const std::string& password) const;
  // Forgetting a password that is not stored succeeds. Throws SyncError kLocal.
  void Remove(const std::string& url, const std::string& user) const;

  static std::string Key(const std::string& url, const std::string& user) {
    return user + "@" + url;
  }

 private:
  std::string service_;
};

}  // namespace calsync
