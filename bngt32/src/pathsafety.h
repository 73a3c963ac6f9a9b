#pragma once
// Extraction never writes outside its destination: stored names are checked
// here, and folders are created without following a link out of it.
#include <cstdint>
#include <string>

namespace bngt32 {

// Both "/" and "\" become "/".
std::string NormalizeSeparators(std::string name);

// A non-empty relative name without a ".." component, not starting with a
// separator or a drive letter and colon.
bool IsSafeRelativeName(const std::string& name);

// Creates the folders of `relativeFolder` (from a safe name) under
// `destination` (absolute, trailing "/"). An existing part that is a link
// leading outside the destination refuses the item. Returns 0, 3 or 8.
int32_t PrepareFoldersInside(const std::string& destination, const std::string& relativeFolder);

}  // namespace bngt32
