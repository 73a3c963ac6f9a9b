#pragma once
// The server's pages and the helpers every hand-built server document uses.
#include <string>

#include "kintrail/platform/datetime.h"

namespace page {
constexpr const char* Connect = "/connect/connect.asp";
constexpr const char* Ping = "/ping.asp";
constexpr const char* Disconnect = "/disconnect.asp";
constexpr const char* UploadList = "/uploadgedcom/uploadlist.asp";
constexpr const char* UploadFile = "/uploadgedcom/uploadfile.asp";
constexpr const char* GetQuestions = "/question/getquestions.asp";
constexpr const char* AskGedcomQuestion = "/question/askgedcomquestion.asp";
constexpr const char* DeleteQuestion = "/question/deletequestion.asp";
constexpr const char* RefuseQuestion = "/question/refusequestion.asp";
constexpr const char* AnswerGedcomQuestion = "/question/answergedcomquestion.asp";
constexpr const char* GetGedcomAnswer = "/question/getgedcomanswer.asp";
constexpr const char* SearchGenealogists = "/worldsearch/searchgenealogists.asp";
constexpr const char* WorldSearchIndividuals = "/worldsearch/searchindividuals.asp";
constexpr const char* SearchLocations = "/advancedsearch/searchlocations.asp";
constexpr const char* AdvancedSearchIndividuals = "/advancedsearch/searchindividuals.asp";
constexpr const char* SoftLinks = "/web/_client/softlinks.asp?folder=";
}  // namespace page

// `text` as a complete double-quoted attribute value: '"', '&' and '<'
// become entities, '>' and the apostrophe stay. What the document cannot
// carry as it is becomes a numeric reference (tab, line breaks, bytes that
// are not UTF-8, taken as Windows-1252); control characters that XML cannot
// hold at all are dropped, so no user text makes the document malformed.
std::string QuoteAttribute(const std::string& text);

// Reads "%04d-%02d-%02dT%02d:%02d:%02d" (local time, anything after the
// seconds ignored); `def` when fewer than six numbers are read. An impossible
// date or time raises EConvertError.
kt::DateTime ServerDateTime(const std::string& text, kt::DateTime def);
