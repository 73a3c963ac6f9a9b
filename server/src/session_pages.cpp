// Login, keep-alive and logout.
#include "credentials.h"
#include "pages.h"
#include "reply_writer.h"

namespace kt::server {

PageResponse ConnectPage(PageContext& context) {
  std::string error;
  const auto document = ParseConnectDocument(context.request.body, error);
  if (!document) return XmlError(errors::kMalformedRequest, error);
  const auto minimum = ParseClientVersion(context.storage.Setting(kMinClientSetting).value_or(""));
  if (!document->version || *document->version < minimum.value_or(kDefaultMinClient)) {
    return XmlError(errors::kUpdateNeeded, "You must update your installation to the latest version.");
  }
  const auto account = context.storage.FindAccountByLogin(document->login);
  if (!account) {
    VerifyAgainstNothing(document->password);
    return XmlError(errors::kLoginRefused, "Wrong login or password");
  }
  if (!VerifyPassword(account->passwordHash, document->password)) {
    return XmlError(errors::kLoginRefused, "Wrong login or password");
  }
  context.storage.DeleteSessionsIdleSince(context.now - context.options.sessionTimeout);
  const std::string token = NewSessionToken();
  SessionRecord session;
  session.tokenDigest = TokenDigest(token);
  session.accountId = account->id;
  session.clientVersion = *document->version;
  session.created = context.now;
  session.lastSeen = context.now;
  context.storage.CreateSession(session);

  ReplyWriter writer("connect");
  writer.Open("news").RawCData(DefaultNewsUrl(context)).Close("news");
  const std::string accountId = std::to_string(account->id);
  writer.Empty("account", {{"accountid", accountId}, {"login", account->login}});
  PageResponse response = XmlResponse(writer.Finish());
  response.headers.emplace_back("Set-Cookie",
                                std::string(kSessionCookie) + "=" + token + "; Path=/; HttpOnly");
  return response;
}

PageResponse PingPage(PageContext&) { return XmlResponse(EmptyReply("ping")); }

PageResponse DisconnectPage(PageContext& context) {
  context.storage.DeleteSession(context.session->tokenDigest);
  return XmlResponse(EmptyReply("disconnect"));
}

}  // namespace kt::server
