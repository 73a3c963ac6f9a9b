#pragma once
// The gazetteer of world towns (GeoNames cities with 500 inhabitants or more,
// CC-BY 4.0), read from the tab-separated file of the GeoNames export.
#include <functional>
#include <optional>
#include <string>

#include "storage.h"

namespace kt::server {

// Where the file is looked for when no path is given: beside the program,
// then in the tree's npm data packages.
std::string DefaultGazetteerPath();

// Loads the file into `storage` when it holds no town yet. Returns the number
// of towns loaded (0 when they were there already); throws on an unreadable file.
int64_t LoadGazetteerOnce(Storage& storage, const std::string& path);

// One line of the export, or nullopt for a line that is not a town.
std::optional<Town> ParseGazetteerLine(const std::string& line);

// A town's position: the gazetteer's when the town is found there.
std::optional<Town> PlaceTown(Storage& storage, const std::string& town, const std::string& country);

}  // namespace kt::server
