#include "sync/password_store.h"

#include <qt6keychain/keychain.h>
#include <QEventLoop>

#include "sync/calendar_server.h"

namespace calsync {
namespace {

// Runs `job` to its end; the job's own error, or NoError.
QKeychain::Error Run(QKeychain::Job& job) {
  job.setAutoDelete(false);
  job.setInsecureFallback(false);
  QEventLoop loop;
  bool finished = false;
  QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
    finished = true;
    loop.quit();
  });
  job.start();
  if (!finished) loop.exec(QEventLoop::ExcludeUserInputEvents);
  return job.error();
}

[[noreturn]] void Fail(const QKeychain::Job& job, const char* what) {
  std::string why = job.errorString().toUtf8().toStdString();
  throw SyncError(SyncError::Kind::kLocal,
                  std::string("パスワードを鍵束（キーリング）") + what + "ません: " + why +
                      "。デスクトップの鍵束サービスが動いているか確かめてください。");
}

}  // namespace

std::optional<std::string> PasswordStore::Read(const std::string& url,
                                               const std::string& user) const {
  QKeychain::ReadPasswordJob job(QString::fromStdString(service_));
  job.setKey(QString::fromStdString(Key(url, user)));
  const QKeychain::Error error = Run(job);
  if (error == QKeychain::EntryNotFound) return std::nullopt;
  if (error != QKeychain::NoError) Fail(job, "から読め");
  return job.textData().toUtf8().toStdString();
}

void PasswordStore::Write(const std::string& url, const std::string& user,
                          const std::string& password) const {
  QKeychain::WritePasswordJob job(QString::fromStdString(service_));
  job.setKey(QString::fromStdString(Key(url, user)));
  job.setTextData(QString::fromStdString(password));
  if (Run(job) != QKeychain::NoError) Fail(job, "に保存でき");
}

void PasswordStore::Remove(const std::string& url, const std::string& user) const {
  QKeychain::DeletePasswordJob job(QString::fromStdString(service_));
  job.setKey(QString::fromStdString(Key(url, user)));
  const QKeychain::Error error = Run(job);
  if (error != QKeychain::NoError && error != QKeychain::EntryNotFound) Fail(job, "から消せ");
}

}  // namespace calsync
