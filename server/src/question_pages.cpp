// Requests: ask, list, refuse, answer, delete, get the answer.
#include <cstring>

#include "pages.h"
#include "reply_writer.h"

namespace kt::server {
namespace {

// The `questionid` of a <params> document, or an error reply.
std::optional<Id> QuestionIdParam(PageContext& context, PageResponse& error) {
  auto document = ParseXmlBody(context, error);
  if (!document) return std::nullopt;
  const auto id = RequestDocument::Integer(document->Root(), "questionid");
  if (std::strcmp(document->Root().name(), "params") != 0 || !id) {
    error = XmlError(errors::kMalformedRequest, "Expected <params questionid='...'/>");
    return std::nullopt;
  }
  return *id;
}

// The request when `account` is its asker (asker = true) or its addressee;
// another account is told the same as for a request that does not exist.
std::optional<QuestionRecord> OwnQuestion(PageContext& context, Id id, bool asker, PageResponse& error) {
  auto question = context.storage.FindQuestion(id);
  const Id account = context.session->accountId;
  if (!question || (asker ? question->askerId : question->addresseeId) != account) {
    error = XmlError(errors::kUnknownRequest, "No such request");
    return std::nullopt;
  }
  return question;
}

std::string OptionalDate(const std::optional<int64_t>& time) {
  return time ? ServerDateTimeText(*time) : std::string();
}

}  // namespace

PageResponse GetQuestionsPage(PageContext& context) {
  const auto items = context.storage.ListQuestions(context.session->accountId, context.now);
  ReplyWriter writer("questions");
  writer.Open("rows");
  for (const QuestionListItem& item : items) {
    const QuestionRecord& q = item.question;
    const std::string questionId = std::to_string(q.id);
    const std::string accountId = std::to_string(item.otherAccountId);
    const std::string posted = ServerDateTimeText(q.posted);
    const std::string read = OptionalDate(q.read);
    const std::string answered = OptionalDate(q.answered);
    const std::string status = std::to_string(static_cast<int>(q.status));
    const std::string type = std::to_string(q.type);
    const std::string gedcomId = q.gedcomId ? std::to_string(*q.gedcomId) : std::string();
    writer.Empty("row", {{"mine", item.mine ? "1" : "0"},
                         {"questionid", questionId},
                         {"accountid", accountId},
                         {"login", item.otherLogin},
                         {"posteddate", posted},
                         {"readdate", read},
                         {"answereddate", answered},
                         {"status", status},
                         {"gedcom_type", type},
                         {"gedcom_gedcomid", gedcomId},
                         {"gedcom_gedcomindividualid", q.xref},
                         {"gedcom_individualfullname", q.fullName}});
  }
  writer.Close("rows");
  return XmlResponse(writer.Finish());
}

PageResponse AskQuestionPage(PageContext& context) {
  PageResponse error;
  auto document = ParseXmlBody(context, error);
  if (!document) return error;
  const pugi::xml_node params = document->Root();
  const auto addressee = RequestDocument::Integer(params, "dstid");
  const auto type = RequestDocument::Integer(params, "type");
  const auto individualId = RequestDocument::Integer(params, "individualid");
  if (std::strcmp(params.name(), "params") != 0 || !addressee || !type || !individualId) {
    return XmlError(errors::kMalformedRequest, "Expected <params dstid='' type='' individualid=''/>");
  }
  if (*addressee == context.session->accountId) return XmlError(errors::kAskToSelf, "Can't ask to self");
  if (*type < 0 || *type > 2) return XmlError(errors::kBadRequestType, "Unknown kind of request");
  const auto individual = context.storage.FindIndividual(*individualId);
  if (!individual || individual->accountId != *addressee) {
    return XmlError(errors::kUnknownIndividual, "This individual is not shared by this genealogist");
  }
  QuestionRecord question;
  question.askerId = context.session->accountId;
  question.addresseeId = *addressee;
  question.gedcomId = individual->gedcomId;
  question.xref = individual->xref;
  question.fullName = individual->fullName;
  question.type = static_cast<int>(*type);
  question.posted = context.now;
  const Id id = context.storage.CreateQuestion(question);
  const std::string text = std::to_string(id);
  return XmlResponse(ReplyWriter("question", {{"questionid", text}}).Finish());
}

PageResponse DeleteQuestionPage(PageContext& context) {
  PageResponse error;
  const auto id = QuestionIdParam(context, error);
  if (!id || !OwnQuestion(context, *id, true, error)) return error;
  context.storage.DeleteQuestion(*id);
  return XmlResponse(EmptyReply("question"));
}

PageResponse RefuseQuestionPage(PageContext& context) {
  PageResponse error;
  const auto id = QuestionIdParam(context, error);
  if (!id || !OwnQuestion(context, *id, false, error)) return error;
  if (!context.storage.RefuseQuestion(*id, context.now)) {
    return XmlError(errors::kRequestState, "Only a waiting request can be refused");
  }
  return XmlResponse(EmptyReply("question"));
}

PageResponse AnswerQuestionPage(PageContext& context) {
  PageResponse error;
  auto document = ParseXmlBody(context, error);
  if (!document) return error;
  const pugi::xml_node result = document->Root();
  const auto id = RequestDocument::Integer(result, "questionid");
  if (std::strcmp(result.name(), "result") != 0 || !id) {
    return XmlError(errors::kBadExtract, "Expected <result questionid='...'>");
  }
  const auto extract = RequestDocument::RawCData(result.child("data"));
  if (!extract) return XmlError(errors::kBadExtract, "The answer holds no GEDCOM data");
  if (!OwnQuestion(context, *id, false, error)) return error;
  if (!context.storage.AnswerQuestion(*id, *extract, context.now)) {
    return XmlError(errors::kRequestState, "This request can no longer be answered");
  }
  return XmlResponse(EmptyReply("question"));
}

PageResponse GetAnswerPage(PageContext& context) {
  PageResponse error;
  const auto id = QuestionIdParam(context, error);
  if (!id) return error;
  const auto question = OwnQuestion(context, *id, true, error);
  if (!question) return error;
  const auto extract = question->status == QuestionStatus::Accepted
                           ? context.storage.QuestionAnswer(*id)
                           : std::nullopt;
  if (!extract) return XmlError(errors::kRequestState, "This request has no answer");
  ReplyWriter writer("answer");
  writer.Open("gedcomextract").RawCData(*extract).Close("gedcomextract");
  return XmlResponse(writer.Finish());
}

}  // namespace kt::server
