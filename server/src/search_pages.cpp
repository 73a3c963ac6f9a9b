// The world search and the advanced search, paged.
#include <cstring>

#include "name_keys.h"
#include "packed_coordinate.h"
#include "pages.h"
#include "reply_writer.h"

namespace kt::server {
namespace {

// A <getrows page='N'><params .../></getrows> document.
struct GetRows {
  RequestDocument document;
  pugi::xml_node params;
  int64_t page = 1;
};

std::optional<GetRows> ReadGetRows(PageContext& context, PageResponse& error) {
  auto document = ParseXmlBody(context, error);
  if (!document) return std::nullopt;
  const pugi::xml_node root = document->Root();
  const pugi::xml_node params = root.child("params");
  if (std::strcmp(root.name(), "getrows") != 0 || !params || !RequestDocument::Has(params, "lastname")) {
    error = XmlError(errors::kMalformedRequest, "Expected <getrows page=''><params lastname=''/></getrows>");
    return std::nullopt;
  }
  const int64_t page = RequestDocument::Integer(root, "page").value_or(1);
  return GetRows{std::move(*document), params, page < 1 ? 1 : page};
}

YearRange Years(const pugi::xml_node params) {
  YearRange years;
  auto clamp = [](int64_t v) { return static_cast<int>(v < -100000 ? -100000 : v > 100000 ? 100000 : v); };
  years.min = clamp(RequestDocument::Integer(params, "minyear").value_or(0));
  years.max = clamp(RequestDocument::Integer(params, "maxyear").value_or(10000));
  return years;
}

std::string YearText(const std::optional<int>& year) { return year ? std::to_string(*year) : std::string(); }

// Runs `search` for the page asked; a page past the end gives the last one,
// whose number the reply carries (the client takes the server's number).
template <typename Row, typename Search>
PageOf<Row> RunPaged(PageContext& context, int64_t& page, int64_t& pageCount, Search search) {
  const int64_t size = context.options.pageSize;
  PageOf<Row> result = search((page - 1) * size, size);
  pageCount = (result.total + size - 1) / size;
  if (result.rows.empty() && pageCount > 0 && page > pageCount) {
    page = pageCount;
    result = search((page - 1) * size, size);
  }
  if (pageCount == 0) page = 0;
  return result;
}

void OpenRows(ReplyWriter& writer, int64_t page, int64_t pageCount) {
  const std::string p = std::to_string(page), c = std::to_string(pageCount);
  writer.Open("rows", {{"page", p}, {"pagecount", c}});
}

}  // namespace

PageResponse SearchGenealogistsPage(PageContext& context) {
  PageResponse error;
  auto request = ReadGetRows(context, error);
  if (!request) return error;
  GenealogistQuery query;
  query.lastNameKey = LastNameKey(request->document.Value(request->params.attribute("lastname")));
  query.years = Years(request->params);
  query.privacy = CurrentPrivacy(context.now);
  int64_t page = request->page, pageCount = 0;
  auto result = RunPaged<GenealogistRow>(context, page, pageCount, [&](int64_t offset, int64_t limit) {
    return query.lastNameKey.empty() ? PageOf<GenealogistRow>{}
                                     : context.storage.SearchGenealogists(query, offset, limit);
  });
  ReplyWriter writer("genealogists");
  OpenRows(writer, page, pageCount);
  for (const GenealogistRow& r : result.rows) {
    const std::string latitude = r.latitude ? PackedCoordinate(*r.latitude) : "0";
    const std::string longitude = r.longitude ? PackedCoordinate(*r.longitude) : "0";
    const std::string accountId = std::to_string(r.accountId);
    const std::string minYear = r.minYear ? std::to_string(*r.minYear) : "0";
    const std::string maxYear = r.maxYear ? std::to_string(*r.maxYear) : "9999";
    const std::string count = std::to_string(r.count);
    writer.Empty("row", {{"latitude", latitude},
                         {"longitude", longitude},
                         {"accountid", accountId},
                         {"login", r.login},
                         {"town", r.town},
                         {"lastname", r.lastName},
                         {"minyear", minYear},
                         {"maxyear", maxYear},
                         {"lastnamecount", count}});
  }
  writer.Close("rows");
  return XmlResponse(writer.Finish());
}

PageResponse WorldSearchIndividualsPage(PageContext& context) {
  PageResponse error;
  auto request = ReadGetRows(context, error);
  if (!request) return error;
  const auto accountId = RequestDocument::Integer(request->params, "accountid");
  if (!accountId) return XmlError(errors::kMalformedRequest, "The search names no genealogist");
  IndividualQuery query;
  query.lastNameKey = LastNameKey(request->document.Value(request->params.attribute("lastname")));
  query.accountId = *accountId;
  query.years = Years(request->params);
  query.privacy = CurrentPrivacy(context.now);
  int64_t page = request->page, pageCount = 0;
  auto result = RunPaged<IndividualRow>(context, page, pageCount, [&](int64_t offset, int64_t limit) {
    return query.lastNameKey.empty() ? PageOf<IndividualRow>{}
                                     : context.storage.SearchIndividuals(query, offset, limit);
  });
  ReplyWriter writer("individuals");
  OpenRows(writer, page, pageCount);
  for (const IndividualRow& r : result.rows) {
    const std::string birth = YearText(r.birthYear), death = YearText(r.deathYear);
    const std::string id = std::to_string(r.individualId);
    writer.Empty("row", {{"lastname", r.lastName},
                         {"firstname", r.firstNames},
                         {"birthyear", birth},
                         {"birthlocation", r.birthPlace},
                         {"deathyear", death},
                         {"deathlocation", r.deathPlace},
                         {"individualid", id}});
  }
  writer.Close("rows");
  return XmlResponse(writer.Finish());
}

PageResponse SearchLocationsPage(PageContext& context) {
  PageResponse error;
  auto request = ReadGetRows(context, error);
  if (!request) return error;
  const pugi::xml_node params = request->params;
  LocationQuery query;
  query.lastNameKey = LastNameKey(request->document.Value(params.attribute("lastname")));
  query.firstNamesContain = ContainsKey(request->document.Value(params.attribute("firstname")));
  query.placeContains = ContainsKey(request->document.Value(params.attribute("location")));
  query.minIndividuals = RequestDocument::Integer(params, "nbindividuals").value_or(0);
  query.years = Years(params);
  query.privacy = CurrentPrivacy(context.now);
  int64_t page = request->page, pageCount = 0;
  auto result = RunPaged<LocationRow>(context, page, pageCount, [&](int64_t offset, int64_t limit) {
    return query.lastNameKey.empty() ? PageOf<LocationRow>{}
                                     : context.storage.SearchLocations(query, offset, limit);
  });
  ReplyWriter writer("locations");
  OpenRows(writer, page, pageCount);
  for (const LocationRow& r : result.rows) {
    const std::string minYear = r.minYear ? std::to_string(*r.minYear) : "0";
    const std::string maxYear = r.maxYear ? std::to_string(*r.maxYear) : "9999";
    const std::string count = std::to_string(r.count);
    writer.Empty("row", {{"location", r.place},
                         {"minyear", minYear},
                         {"maxyear", maxYear},
                         {"nbindividuals", count}});
  }
  writer.Close("rows");
  return XmlResponse(writer.Finish());
}

PageResponse AdvancedSearchIndividualsPage(PageContext& context) {
  PageResponse error;
  auto request = ReadGetRows(context, error);
  if (!request) return error;
  const pugi::xml_node params = request->params;
  IndividualQuery query;
  query.lastNameKey = LastNameKey(request->document.Value(params.attribute("lastname")));
  query.firstNamesContain = ContainsKey(request->document.Value(params.attribute("firstname")));
  if (RequestDocument::Has(params, "location")) {
    const std::string location = request->document.Value(params.attribute("location"));
    if (!location.empty()) query.place = location;
  }
  query.years = Years(params);
  query.privacy = CurrentPrivacy(context.now);
  int64_t page = request->page, pageCount = 0;
  auto result = RunPaged<IndividualRow>(context, page, pageCount, [&](int64_t offset, int64_t limit) {
    return query.lastNameKey.empty() ? PageOf<IndividualRow>{}
                                     : context.storage.SearchIndividuals(query, offset, limit);
  });
  ReplyWriter writer("individuals");
  OpenRows(writer, page, pageCount);
  for (const IndividualRow& r : result.rows) {
    const std::string birth = YearText(r.birthYear), death = YearText(r.deathYear);
    const std::string id = std::to_string(r.individualId);
    const std::string accountId = std::to_string(r.accountId);
    writer.Empty("row", {{"individualid", id},
                         {"lastname", r.lastName},
                         {"firstname", r.firstNames},
                         {"birthyear", birth},
                         {"birthlocation", r.birthPlace},
                         {"deathyear", death},
                         {"deathlocation", r.deathPlace},
                         {"accountid", accountId},
                         {"login", r.login}});
  }
  writer.Close("rows");
  return XmlResponse(writer.Finish());
}

}  // namespace kt::server
