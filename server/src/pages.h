#pragma once
// The pages, grouped by what they serve; each takes the request's context.
#include "page_handler.h"
#include "request_document.h"

namespace kt::server {

// Session pages.
PageResponse ConnectPage(PageContext& context);
PageResponse PingPage(PageContext& context);
PageResponse DisconnectPage(PageContext& context);

// Shared files.
PageResponse UploadListPage(PageContext& context);
PageResponse UploadFilePage(PageContext& context);

// Requests.
PageResponse GetQuestionsPage(PageContext& context);
PageResponse AskQuestionPage(PageContext& context);
PageResponse DeleteQuestionPage(PageContext& context);
PageResponse RefuseQuestionPage(PageContext& context);
PageResponse AnswerQuestionPage(PageContext& context);
PageResponse GetAnswerPage(PageContext& context);

// Searches.
PageResponse SearchGenealogistsPage(PageContext& context);
PageResponse WorldSearchIndividualsPage(PageContext& context);
PageResponse SearchLocationsPage(PageContext& context);
PageResponse AdvancedSearchIndividualsPage(PageContext& context);

// Web pages for people (HTML); nullopt when the path is not one of them.
std::optional<PageResponse> WebPage(PageContext& context);

// Helpers shared by the pages.
std::string ServerDateTimeText(int64_t time);  // "%04d-%02d-%02dT%02d:%02d:%02d", server local time
PrivacyRule CurrentPrivacy(int64_t now);
std::optional<RequestDocument> ParseXmlBody(PageContext& context, PageResponse& error);
std::string DefaultNewsUrl(const PageContext& context);

}  // namespace kt::server
