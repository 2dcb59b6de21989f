// RadicaleServer: a real CalDAV server for the tests, Radicale on 127.0.0.1 at a free port,
// with its own storage folder and one user (htpasswd, plain). For tests only.
//
//   RadicaleServer server;            // a temporary folder, the user "mirune"; not running
//   server.Start();                   // waits until it answers
//   server.MakeCalendar("work", "仕事");  // "/mirune/work/"
//   CaldavClient client({server.url(), server.user(), server.password()});
//   server.Stop();  server.Start();   // killed (SIGKILL, as a crash) and back, same port and data
//
// The destructor kills the server and removes the folder. testdata/phone.py plays a second
// client: PhoneCommand() gives its command line for this server.
#pragma once

#include <string>
#include <vector>

#include "sync/test_server_process.h"

namespace calsync {

class RadicaleServer {
 public:
  RadicaleServer();
  ~RadicaleServer();
  RadicaleServer(const RadicaleServer&) = delete;
  RadicaleServer& operator=(const RadicaleServer&) = delete;

  void Start();
  void Stop();  // SIGKILL: whatever was in flight is cut off
  bool running() const { return process_.running(); }

  std::string url() const;  // "http://127.0.0.1:PORT/"
  int port() const { return port_; }
  const std::string& user() const { return user_; }
  const std::string& password() const { return password_; }
  const std::string& folder() const { return folder_; }

  // MKCALENDAR /user/`name`/ with the display name given ("" leaves Radicale's own); gives the
  // collection's href. Throws std::runtime_error when the server refuses.
  std::string MakeCalendar(const std::string& name, const std::string& display_name = "");

  // The command line of testdata/phone.py on this server's calendar `calendar` with `args`,
  // ready for popen (each argument single-quoted).
  std::string PhoneCommand(const std::string& calendar, const std::vector<std::string>& args) const;
  // Runs it and gives its standard output; throws std::runtime_error when it fails.
  std::string Phone(const std::string& calendar, const std::vector<std::string>& args) const;

  // The folder of phone.py and faulty_server.py.
  static std::string TestdataFolder();

 private:
  std::string folder_;
  std::string user_ = "mirune";
  std::string password_ = "pässwörd-7";
  int port_ = 0;
  TestServerProcess process_;
};

// Sends one HTTP/1.0 request with Basic credentials to 127.0.0.1:`port`; gives the status.
int RawHttp(int port, const std::string& verb, const std::string& path, const std::string& user,
            const std::string& password, const std::string& body);

// `text` single-quoted for the shell.
std::string ShellQuote(const std::string& text);

}  // namespace calsync
