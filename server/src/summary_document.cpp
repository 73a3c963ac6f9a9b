#include "summary_document.h"

#include <cstring>
#include <unordered_map>

#include "name_keys.h"

namespace kt::server {
namespace {

bool ReadIndexed(const RequestDocument& document, pugi::xml_node list, const char* childName,
                 std::unordered_map<int64_t, std::string>& out, std::string& error) {
  for (pugi::xml_node entry : list.children(childName)) {
    const auto id = RequestDocument::Integer(entry, "id");
    const pugi::xml_attribute txt = entry.attribute("txt");
    if (!id || txt.empty()) {
      error = std::string("A <") + childName + "> element lacks its id or txt attribute";
      return false;
    }
    out[*id] = document.Value(txt);
  }
  return true;
}

}  // namespace

std::optional<Summary> ReadSummary(const RequestDocument& document, std::string& error) {
  const pugi::xml_node root = document.Root();
  if (std::strcmp(root.name(), "gedcom") != 0) {
    error = "The summary's root element is not <gedcom>";
    return std::nullopt;
  }
  Summary summary;
  const auto gedcomId = RequestDocument::Integer(root, "id");
  if (!gedcomId || *gedcomId < 0) {
    error = "The <gedcom> element lacks a valid id";
    return std::nullopt;
  }
  summary.gedcomId = *gedcomId;
  std::unordered_map<int64_t, std::string> lastNames, places;
  if (!ReadIndexed(document, root.child("lnames"), "ln", lastNames, error)) return std::nullopt;
  if (!ReadIndexed(document, root.child("places"), "p", places, error)) return std::nullopt;
  const pugi::xml_node indivs = root.child("indivs");
  if (!indivs) {
    error = "The summary has no <indivs> element";
    return std::nullopt;
  }

  // Place 0 is "-": a year without a known place.
  auto placeOf = [&](pugi::xml_node event, std::string& place) -> bool {
    const auto pid = RequestDocument::Integer(event, "pid");
    if (!pid) return false;
    if (*pid == 0) return true;
    auto found = places.find(*pid);
    if (found == places.end()) return false;
    place = found->second;
    return true;
  };

  for (pugi::xml_node i : indivs.children("i")) {
    SummaryIndividual individual;
    const pugi::xml_attribute id = i.attribute("id");
    const auto lnid = RequestDocument::Integer(i, "lnid");
    const pugi::xml_attribute fn = i.attribute("fn");
    if (id.empty() || !lnid || fn.empty()) {
      error = "An <i> element lacks its id, lnid or fn attribute";
      return std::nullopt;
    }
    individual.xref = document.Value(id);
    if (*lnid != -1) {  // -1: the writer found no last-name table
      auto name = lastNames.find(*lnid);
      if (name == lastNames.end()) {
        error = "An <i> element names an unknown last name " + std::to_string(*lnid);
        return std::nullopt;
      }
      individual.lastName = name->second;
    }
    individual.firstNames = document.Value(fn);
    if (const pugi::xml_node birth = i.child("birth")) {
      const auto y = RequestDocument::Integer(birth, "y");
      if (!y || *y < -32768 || *y > 32767 || !placeOf(birth, individual.birthPlace)) {
        error = "A <birth> element lacks a valid pid or y attribute";
        return std::nullopt;
      }
      if (*y != 0) individual.birthYear = static_cast<int>(*y);
    }
    if (const pugi::xml_node death = i.child("death")) {
      const auto y = RequestDocument::Integer(death, "y");
      if (!y || *y < -32768 || *y > 32767 || !placeOf(death, individual.deathPlace)) {
        error = "A <death> element lacks a valid pid or y attribute";
        return std::nullopt;
      }
      if (*y != 9999) individual.deathYear = static_cast<int>(*y);
    }
    individual.lastNameKey = LastNameKey(individual.lastName);
    individual.firstNamesKey = ContainsKey(individual.firstNames);
    summary.individuals.push_back(std::move(individual));
  }
  return summary;
}

}  // namespace kt::server
