#pragma once
// The summary document a client uploads: last names, places, individuals.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "request_document.h"

namespace kt::server {

struct SummaryIndividual {
  std::string xref;          // identifier of the individual inside its GEDCOM file
  std::string lastName;      // as written in the summary (UTF-8)
  std::string lastNameKey;   // LastNameKey(lastName)
  std::string firstNames;
  std::string firstNamesKey; // ContainsKey(firstNames)
  std::optional<int> birthYear, deathYear;
  std::string birthPlace, deathPlace;  // empty when unknown
};

struct Summary {
  int64_t gedcomId = 0;  // the `id` the client gave: 0 for a new file
  std::vector<SummaryIndividual> individuals;
};

// Reads and checks the whole document; nullopt with `error` set when an
// element lacks an attribute, an identifier does not resolve or a number is
// not a number. Nothing of a rejected summary is kept.
std::optional<Summary> ReadSummary(const RequestDocument& document, std::string& error);

}  // namespace kt::server
