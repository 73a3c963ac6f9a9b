// The shared-list exchange and summary uploads.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <semaphore>
#include <set>

#include "gunzip.h"
#include "pages.h"
#include "reply_writer.h"
#include "summary_document.h"

namespace kt::server {
namespace {

// A summary is held decompressed and as a tree while it is read; bounding
// the number read at once bounds the memory uploads can take.
std::counting_semaphore<2> gSummarySlots(2);

class SummarySlot {
public:
  SummarySlot() { gSummarySlots.acquire(); }
  ~SummarySlot() { gSummarySlots.release(); }
};

}  // namespace

PageResponse UploadListPage(PageContext& context) {
  PageResponse error;
  auto document = ParseXmlBody(context, error);
  if (!document) return error;
  const pugi::xml_node root = document->Root();
  if (std::strcmp(root.name(), "gedcoms") != 0) {
    return XmlError(errors::kMalformedRequest, "Expected a <gedcoms> document");
  }
  std::vector<Id> named;
  for (pugi::xml_node gedcom : root.children("gedcom")) {
    const auto id = RequestDocument::Integer(gedcom, "id");
    if (!id) return XmlError(errors::kMalformedRequest, "A <gedcom> element lacks a valid id");
    named.push_back(*id);
  }
  const Id account = context.session->accountId;
  const std::vector<Id> owned = context.storage.GedcomIds(account);
  // Files the client no longer shares are forgotten; identifiers it shares
  // that this account does not have are sent back for the client to forget.
  context.storage.ForgetGedcomsExcept(account, named);
  ReplyWriter writer("gedcoms");
  writer.Open("rows");
  std::set<Id> answered;
  for (Id id : named) {
    if (std::find(owned.begin(), owned.end(), id) != owned.end() || !answered.insert(id).second) continue;
    const std::string text = std::to_string(id);
    writer.Empty("row", {{"gedcomid", text}});
  }
  writer.Close("rows");
  return XmlResponse(writer.Finish());
}

PageResponse UploadFilePage(PageContext& context) {
  SummarySlot slot;
  GunzipResult unpacked = Gunzip(context.request.body, context.options.maxDecompressed);
  if (unpacked.status != GunzipStatus::Ok) {
    return XmlError(errors::kBadUpload, GunzipStatusText(unpacked.status));
  }
  std::string message;
  auto document = RequestDocument::Parse(std::move(unpacked.data), message);
  if (!document) return XmlError(errors::kBadSummary, message);
  auto summary = ReadSummary(*document, message);
  document.reset();
  if (!summary) return XmlError(errors::kBadSummary, message);
  const StoreResult stored = context.storage.StoreSummary(context.session->accountId, summary->gedcomId,
                                                          summary->individuals, context.now,
                                                          CurrentPrivacy(context.now));
  if (stored.outcome == StoreOutcome::OtherAccount) {
    return XmlError(errors::kOtherAccountsFile, "This shared GEDCOM belongs to another account");
  }
  const std::string id = std::to_string(stored.gedcomId);
  const std::string count = std::to_string(summary->individuals.size());
  ReplyWriter writer("gedcom", {{"gedcomid", id}});
  writer.Empty("individuals", {{"count", count}});
  return XmlResponse(writer.Finish());
}

}  // namespace kt::server
