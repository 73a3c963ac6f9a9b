#include "server_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace kt::server::testing {

std::string ServerBinary() { return std::string(KINTRAIL_BINARY_DIR) + "/bin/kintrail-server"; }
std::string TownsFixture() { return std::string(KINTRAIL_SOURCE_DIR) + "/server/tests/data/towns.txt"; }

namespace {

pid_t Spawn(const std::vector<std::string>& args, int in, int out, int err) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (in >= 0) dup2(in, 0);
    if (out >= 0) dup2(out, 1);
    if (err >= 0) dup2(err, 2);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

int RunServerCommand(const std::vector<std::string>& args, const std::string& input, std::string* output) {
  int inPipe[2], outPipe[2];
  if (pipe(inPipe) != 0 || pipe(outPipe) != 0) throw std::runtime_error("pipe");
  std::vector<std::string> full = {ServerBinary()};
  full.insert(full.end(), args.begin(), args.end());
  const pid_t pid = Spawn(full, inPipe[0], outPipe[1], -1);
  close(inPipe[0]);
  close(outPipe[1]);
  if (write(inPipe[1], input.data(), input.size()) < 0) {
  }
  close(inPipe[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(outPipe[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  close(outPipe[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ServerProcess::ServerProcess(std::filesystem::path database, std::vector<std::string> extra)
    : database_(std::move(database)) {
  logDir_ = database_.parent_path();
  std::vector<std::string> args = {ServerBinary(), "--db", database_.string(), "--listen", "127.0.0.1:0",
                                   "--gazetteer", TownsFixture()};
  args.insert(args.end(), extra.begin(), extra.end());
  const std::filesystem::path out = logDir_ / (database_.filename().string() + ".out");
  const std::filesystem::path err = logDir_ / (database_.filename().string() + ".err");
  const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_ = Spawn(args, -1, outFd, errFd);
  close(outFd);
  close(errFd);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string text = ReadFile(out);
    const size_t at = text.find("listening on http://127.0.0.1:");
    if (at != std::string::npos) {
      port_ = static_cast<unsigned short>(std::stoi(text.substr(at + 30)));
      return;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      throw std::runtime_error("kintrail-server ended at start: " + ReadFile(err));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  throw std::runtime_error("kintrail-server did not start listening");
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0) Stop(SIGKILL);
}

int ServerProcess::Stop(int signal) {
  if (pid_ <= 0) return 0;
  kill(pid_, signal);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  if (WIFSIGNALED(status)) return -WTERMSIG(status);
  return WEXITSTATUS(status);
}

std::string ServerProcess::ErrorOutput() const {
  return ReadFile(logDir_ / (database_.filename().string() + ".err"));
}

std::string HttpReply::Header(const std::string& name) const {
  auto all = Headers(name);
  return all.empty() ? std::string() : all.front();
}

std::vector<std::string> HttpReply::Headers(const std::string& name) const {
  std::vector<std::string> values;
  std::istringstream lines(headers);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    if (strcasecmp(line.substr(0, colon).c_str(), name.c_str()) == 0) {
      size_t start = colon + 1;
      while (start < line.size() && line[start] == ' ') ++start;
      values.push_back(line.substr(start));
    }
  }
  return values;
}

int ConnectLoopback(unsigned short port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

HttpReply SendRaw(unsigned short port, const std::string& raw, std::chrono::milliseconds timeout) {
  const int fd = ConnectLoopback(port);
  if (fd < 0) throw std::runtime_error("connect failed");
  size_t sent = 0;
  while (sent < raw.size()) {
    const ssize_t n = send(fd, raw.data() + sent, raw.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;  // the server may stop reading and answer early
    sent += static_cast<size_t>(n);
  }
  shutdown(fd, SHUT_WR);
  std::string data;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  char buffer[65536];
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  HttpReply reply;
  const size_t end = data.find("\r\n\r\n");
  if (data.rfind("HTTP/", 0) != 0 || end == std::string::npos) return reply;
  reply.status = std::stoi(data.substr(9, 3));
  reply.headers = data.substr(0, end);
  reply.body = data.substr(end + 4);
  return reply;
}

std::string ClientRequest(const std::string& method, const std::string& path, const std::string& body,
                          const std::string& cookie) {
  std::string r = method + " " + path + " HTTP/1.0\r\n";
  r += "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n";
  if (method == "POST") r += "Content-Type: application/x-www-form-urlencoded\r\n";
  r += "User-Agent: Kintrail 0.2.1.0\r\nHost: 127.0.0.1\r\n";
  if (method == "POST") r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  if (!cookie.empty()) r += "Cookie: " + cookie + "\r\n";
  r += "\r\n";
  r += body;
  return r;
}

HttpReply TestClient::Post(const std::string& path, const std::string& body) {
  HttpReply reply = SendRaw(port_, ClientRequest("POST", path, body, cookie_));
  TakeCookies(reply);
  return reply;
}

HttpReply TestClient::Get(const std::string& path) {
  HttpReply reply = SendRaw(port_, ClientRequest("GET", path, "", cookie_));
  TakeCookies(reply);
  return reply;
}

HttpReply TestClient::Connect(const std::string& login, const std::string& password, const std::string& version) {
  return Post("/connect/connect.asp", "<connect><version " + version + " /><account><login>" + login +
                                          "</login><password>" + password + "</password></account></connect>");
}

void TestClient::TakeCookies(const HttpReply& reply) {
  for (const std::string& value : reply.Headers("Set-Cookie")) {
    if (!cookie_.empty()) cookie_ += ";";
    cookie_ += value.substr(0, value.find(';'));
  }
}

std::string Gzip(const std::string& data, int level) {
  z_stream s{};
  deflateInit2(&s, level, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&s, data.size()) + 32, '\0');
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  s.avail_in = static_cast<uInt>(data.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

}  // namespace kt::server::testing
