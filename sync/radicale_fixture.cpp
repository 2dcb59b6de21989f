#include "sync/radicale_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace calsync {
namespace {

std::string Base64(const std::string& in) {
  static const char kTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned value = 0;
  int bits = -6;
  for (unsigned char c : in) {
    value = (value << 8) + c;
    bits += 8;
    while (bits >= 0) {
      out += kTable[(value >> bits) & 0x3F];
      bits -= 6;
    }
  }
  if (bits > -6) out += kTable[((value << 8) >> (bits + 8)) & 0x3F];
  while (out.size() % 4) out += '=';
  return out;
}

}  // namespace

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

int RawHttp(int port, const std::string& verb, const std::string& path, const std::string& user,
            const std::string& password, const std::string& body) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("cannot connect to port " + std::to_string(port));
  }
  const std::string request = verb + " " + path +
                              " HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nAuthorization: Basic " + Base64(user + ":" + password) +
                              "\r\nContent-Type: application/xml; charset=utf-8\r\n"
                              "Content-Length: " +
                              std::to_string(body.size()) + "\r\n\r\n" + body;
  std::size_t sent = 0;
  while (sent < request.size()) {
    const ssize_t n = write(fd, request.data() + sent, request.size() - sent);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  std::string answer;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) answer.append(buffer, n);
  close(fd);
  // "HTTP/1.x NNN ..."
  const std::size_t space = answer.find(' ');
  if (space == std::string::npos) throw std::runtime_error("no HTTP answer: " + answer);
  return std::atoi(answer.c_str() + space + 1);
}

std::string RadicaleServer::TestdataFolder() {
  return MIRUNE_SYNC_TESTDATA;
}

RadicaleServer::RadicaleServer() {
  std::string pattern = (std::filesystem::temp_directory_path() / "mirune-radicale.XXXXXX");
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  folder_ = pattern;
  port_ = TestServerProcess::FreePort();
  std::ofstream(folder_ + "/users") << user_ << ":" << password_ << "\n";
  std::ofstream(folder_ + "/config") << "[server]\nhosts = 127.0.0.1:" << port_
                                     << "\n[auth]\ntype = htpasswd\nhtpasswd_filename = " << folder_
                                     << "/users\nhtpasswd_encryption = plain\ndelay = 0\n"
                                        "[storage]\nfilesystem_folder = "
                                     << folder_ << "/collections\n[logging]\nlevel = warning\n";
}

RadicaleServer::~RadicaleServer() {
  Stop();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void RadicaleServer::Start() {
  if (running()) return;
  process_.Start({"/usr/bin/python3", "-m", "radicale", "--config", folder_ + "/config"}, port_,
                 folder_ + "/radicale.log");
}

void RadicaleServer::Stop() {
  process_.Kill();
}

std::string RadicaleServer::url() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

std::string RadicaleServer::MakeCalendar(const std::string& name, const std::string& display_name) {
  const std::string href = "/" + user_ + "/" + name + "/";
  std::string body;
  if (!display_name.empty()) {
    body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><c:mkcalendar xmlns:d=\"DAV:\" "
        "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:set><d:prop><d:displayname>" +
        display_name + "</d:displayname></d:prop></d:set></c:mkcalendar>";
  }
  const int status = RawHttp(port_, "MKCALENDAR", href, user_, password_, body);
  if (status != 201) {
    throw std::runtime_error("MKCALENDAR " + href + ": HTTP " + std::to_string(status));
  }
  return href;
}

std::string RadicaleServer::PhoneCommand(const std::string& calendar,
                                         const std::vector<std::string>& args) const {
  std::string command = "/usr/bin/python3 " + ShellQuote(TestdataFolder() + "/phone.py") +
                        " --url " + ShellQuote(url()) + " --user " + ShellQuote(user_) +
                        " --password " + ShellQuote(password_) + " --calendar " +
                        ShellQuote(calendar);
  for (const std::string& arg : args) command += " " + ShellQuote(arg);
  return command;
}

std::string RadicaleServer::Phone(const std::string& calendar,
                                  const std::vector<std::string>& args) const {
  const std::string command = PhoneCommand(calendar, args);
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("popen failed");
  std::string output;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("phone.py failed (its messages are on standard error): " + output);
  }
  return output;
}

}  // namespace calsync
