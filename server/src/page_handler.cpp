#include "page_handler.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>

#include "credentials.h"
#include "form_data.h"
#include "pages.h"
#include "reply_writer.h"

namespace kt::server {
namespace {

using PageFunction = PageResponse (*)(PageContext&);

struct XmlPage {
  const char* path;
  PageFunction function;
  bool upload;  // takes a large body
};

// Every XML page but the login page needs a session.
const XmlPage kSessionPages[] = {
    {"/ping.asp", PingPage, false},
    {"/disconnect.asp", DisconnectPage, false},
    {"/uploadgedcom/uploadlist.asp", UploadListPage, false},
    {"/uploadgedcom/uploadfile.asp", UploadFilePage, true},
    {"/question/getquestions.asp", GetQuestionsPage, false},
    {"/question/askgedcomquestion.asp", AskQuestionPage, false},
    {"/question/deletequestion.asp", DeleteQuestionPage, false},
    {"/question/refusequestion.asp", RefuseQuestionPage, false},
    {"/question/answergedcomquestion.asp", AnswerQuestionPage, true},
    {"/question/getgedcomanswer.asp", GetAnswerPage, false},
    {"/worldsearch/searchgenealogists.asp", SearchGenealogistsPage, false},
    {"/worldsearch/searchindividuals.asp", WorldSearchIndividualsPage, false},
    {"/advancedsearch/searchlocations.asp", SearchLocationsPage, false},
    {"/advancedsearch/searchindividuals.asp", AdvancedSearchIndividualsPage, false},
};

const XmlPage* FindSessionPage(const std::string& path) {
  for (const XmlPage& page : kSessionPages) {
    if (path == page.path) return &page;
  }
  return nullptr;
}

// Paths compare without letter case, and a doubled slash (a base address
// ending in "/") counts as one. A request sent in the proxy form carries the
// whole address: its scheme and host are dropped.
std::string CanonicalPath(std::string path) {
  for (const char* scheme : {"http://", "https://"}) {
    if (path.rfind(scheme, 0) == 0) {
      const size_t slash = path.find('/', std::strlen(scheme));
      path = slash == std::string::npos ? "/" : path.substr(slash);
    }
  }
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out.empty() ? "/" : out;
}

// Session cookie values, last first: after a second login the client sends
// its first cookie followed by the new one.
std::vector<std::string> SessionTokens(const std::string& cookieHeader) {
  std::vector<std::string> tokens;
  size_t start = 0;
  while (start < cookieHeader.size()) {
    size_t end = cookieHeader.find(';', start);
    if (end == std::string::npos) end = cookieHeader.size();
    std::string_view pair(cookieHeader.data() + start, end - start);
    while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
    const size_t eq = pair.find('=');
    if (eq != std::string_view::npos && pair.substr(0, eq) == kSessionCookie) {
      std::string_view value = pair.substr(eq + 1);
      while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
      if (value.size() == 64) tokens.emplace(tokens.begin(), value);
    }
    start = end + 1;
  }
  return tokens;
}

int64_t SystemNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

PageResponse XmlResponse(std::string body) {
  PageResponse response;
  response.body = std::move(body);
  return response;
}

PageResponse XmlError(int code, std::string_view description) {
  return XmlResponse(ErrorReply(code, description));
}

PageHandler::PageHandler(Storage& storage, HandlerOptions options, Clock clock)
    : storage_(storage), options_(std::move(options)), clock_(clock ? std::move(clock) : SystemNow) {}

size_t PageHandler::BodyLimit(const std::string& target) const {
  std::string path, query;
  SplitTarget(target, path, query);
  const XmlPage* page = FindSessionPage(CanonicalPath(path));
  return page && page->upload ? options_.maxUpload : options_.maxXmlRequest;
}

PageResponse PageHandler::TooLarge(const std::string& target) const {
  std::string path, query;
  SplitTarget(target, path, query);
  if (CanonicalPath(path).rfind("/web/", 0) == 0) {
    PageResponse response;
    response.status = 413;
    response.contentType = "text/plain; charset=utf-8";
    response.body = "Request too large\n";
    return response;
  }
  return XmlError(errors::kRequestTooLarge,
                  "The request is larger than " + std::to_string(BodyLimit(target)) + " bytes");
}

PageResponse PageHandler::Handle(const PageRequest& request) {
  PageContext context{storage_, options_, request, {}, {}, clock_(), std::nullopt};
  std::string rawPath;
  SplitTarget(request.target, rawPath, context.query);
  context.path = CanonicalPath(rawPath);
  try {
    if (request.body.size() > BodyLimit(request.target)) return TooLarge(request.target);
    if (context.path == "/connect/connect.asp") return ConnectPage(context);
    if (const XmlPage* page = FindSessionPage(context.path)) {
      for (const std::string& token : SessionTokens(request.cookie)) {
        const std::string digest = TokenDigest(token);
        auto session = storage_.FindSession(digest);
        if (!session) continue;
        if (context.now - session->lastSeen > options_.sessionTimeout) {
          storage_.DeleteSession(digest);
          continue;
        }
        context.session = std::move(session);
        break;
      }
      if (!context.session) return XmlResponse("<not_connected/>");
      const auto minimum = ParseClientVersion(storage_.Setting(kMinClientSetting).value_or(""));
      if (context.session->clientVersion < minimum.value_or(kDefaultMinClient)) {
        return XmlResponse("<superseded/>");
      }
      // Writing the time of every request would make each ping a write;
      // ten seconds of slack on a five-minute limit is plenty.
      if (context.now - context.session->lastSeen >= 10) {
        storage_.TouchSession(context.session->tokenDigest, context.now);
      }
      return page->function(context);
    }
    if (auto web = WebPage(context)) return std::move(*web);
    if (context.path.size() > 4 && context.path.compare(context.path.size() - 4, 4, ".asp") == 0 &&
        context.path.rfind("/web/", 0) != 0) {
      return XmlError(errors::kUnknownPage, "No such page");
    }
    PageResponse notFound;
    notFound.status = 404;
    notFound.contentType = "text/plain; charset=utf-8";
    notFound.body = "Not found\n";
    return notFound;
  } catch (const std::exception& error) {
    std::cerr << "error: " << request.method << " " << context.path << ": " << error.what() << "\n";
    if (context.path.rfind("/web/", 0) == 0 || context.path == "/") {
      PageResponse failure;
      failure.status = 500;
      failure.contentType = "text/plain; charset=utf-8";
      failure.body = "Internal server error\n";
      return failure;
    }
    return XmlError(errors::kInternal, "Internal server error");
  }
}

std::string ServerDateTimeText(int64_t time) {
  const std::time_t t = static_cast<std::time_t>(time);
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return buffer;
}

PrivacyRule CurrentPrivacy(int64_t now) {
  const std::time_t t = static_cast<std::time_t>(now);
  std::tm utc{};
  gmtime_r(&t, &utc);
  return PrivacyRule{utc.tm_year + 1900 - 100};
}

std::optional<RequestDocument> ParseXmlBody(PageContext& context, PageResponse& error) {
  std::string message;
  auto document = RequestDocument::Parse(context.request.body, message);
  if (!document) error = XmlError(errors::kMalformedRequest, message);
  return document;
}

std::string DefaultNewsUrl(const PageContext& context) {
  if (!context.options.newsUrl.empty()) return context.options.newsUrl;
  // The Host header comes from the client: only a plain host[:port] is echoed.
  std::string host = context.request.host;
  const bool plain = !host.empty() && host.size() < 256 &&
                     host.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:[]") ==
                         std::string::npos;
  if (!plain) host = "127.0.0.1:8080";
  return "http://" + host + "/web/news.asp";
}

}  // namespace kt::server
