// CalendarServer: what the sync needs of one calendar collection on a server, and nothing of
// how it is reached. The CalDAV client implements it over HTTP; the engine's tests implement it
// in memory. Hrefs are paths as the server names its resources, percent-decoded, so that the
// same resource always has the same name in the sync state.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace calsync {

// A failure that ends the sync: the message is for the user (Japanese, UTF-8) and says what
// to do. What was done before it stays done and recorded, so the sync can simply be run again.
class SyncError : public std::runtime_error {
 public:
  enum class Kind { kNetwork, kAuthentication, kServer, kProtocol, kLocal, kStopped };
  SyncError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

struct ServerResource {
  std::string href;
  std::string etag;
};

// What changed on the server since a sync token. `full` says the list is the whole collection
// (a first sync, a token the server no longer knows, or a server without sync-collection):
// then a resource the caller knew that is not listed was removed.
struct ServerChanges {
  bool full = false;
  std::vector<ServerResource> changed;
  std::vector<std::string> removed;
  std::string token;  // to give next time; empty when the server has none
};

struct FetchedResource {
  std::string href;
  std::string etag;
  std::string text;  // the iCalendar object, UTF-8
};

class CalendarServer {
 public:
  virtual ~CalendarServer() = default;

  // The changes since `token` ("" for everything).
  virtual ServerChanges Changes(const std::string& token) = 0;
  // The resources named; one that is gone by now is left out of the answer.
  virtual std::vector<FetchedResource> Fetch(const std::vector<std::string>& hrefs) = 0;
  // Stores `text` at `href`: over the version `if_match` names, or only where nothing is yet
  // when `if_match` is empty. Gives the new ETag ("" when the server sends none), or nullopt
  // when the precondition failed (someone else changed or made the resource meanwhile).
  virtual std::optional<std::string> Put(const std::string& href, const std::string& text,
                                         const std::string& if_match) = 0;
  // Removes the version `if_match` names: false when the precondition failed. A resource
  // that is already gone counts as removed.
  virtual bool Remove(const std::string& href, const std::string& if_match) = 0;
  // The href a new resource of this name gets in the collection.
  virtual std::string HrefFor(const std::string& name) const = 0;
};

}  // namespace calsync
