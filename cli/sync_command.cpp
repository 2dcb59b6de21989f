// mirune-cli sync: the same two-way sync with a CalDAV calendar as ファイル → 同期. Without
// options it uses the account of the settings file and the password in the keyring. Built into
// mirune-sync, to which mirune-cli hands the command over.
#include <QCoreApplication>

#include <ctime>
#include <iostream>

#include "cli/cli_context.h"
#include "cli/sync_usage.h"
#include "platform/file_system.h"
#include "settings/ini_store.h"
#include "sync/sync_session.h"

namespace cli {
namespace {

constexpr const char* kUsage = kSyncUsage;

int Sync(CliContext& context, const Args& args) {
  // The client and the keyring wait for their answers in Qt event loops.
  int argc = 1;
  char name[] = "mirune-cli";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  const settings::IniStore ini(context.IniPath());
  calsync::SyncRequest request;
  request.account = calsync::ReadAccount(ini);
  std::optional<std::string> password_file;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) throw UsageError(kUsage);
    const std::string& value = args[++i];
    if (option == "--url") {
      request.account.url = value;
    } else if (option == "--user") {
      request.account.user = value;
    } else if (option == "--calendar") {
      request.calendar = value;
    } else if (option == "--password-file") {
      password_file = value;
    } else {
      throw UsageError("不明な指定です: " + option + "\n" + kUsage);
    }
  }
  if (!request.account.Configured()) {
    throw UsageError(
        "同期するサーバーが設定されていません。--url と --user を指定するか、設定の「同期」ページで"
        "設定してください。");
  }
  try {
    if (password_file) {
      std::string bytes;
      if (!platform::ReadFile(*password_file, bytes)) {
        throw CommandError("パスワードのファイルを読めません: " + *password_file);
      }
      request.password = bytes.substr(0, bytes.find_first_of("\r\n"));
    } else {
      request.password = calsync::ReadPassword(request.account);
    }
    request.data_dir = context.ExistingDataDir(true);
    request.state_dir = calsync::StateDir();
    request.now = std::time(nullptr);
    calsync::SyncOutcome outcome = calsync::RunSync(request);
    *context.out << calsync::ReportText(outcome.report) << "\n";
  } catch (const calsync::SyncError& error) {
    throw CommandError(error.what());
  }
  return 0;
}

const CommandRegistration registration("sync", kUsage, Sync);

}  // namespace
}  // namespace cli
