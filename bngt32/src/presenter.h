#pragma once
// The host-installed presenter of boxes and dialogs, with the defaults used
// without one: the text on standard error and the box's default answer.
#include <cstdint>
#include <string>

#include "bngt32.h"

namespace bngt32 {

void InstallPresenter(const GTPRESENTER* presenter);

int32_t ShowMessageBox(const std::string& text, const std::string& caption, uint32_t flags);
int32_t ShowOverwriteDialog(const std::string& question, const std::string& caption);
// Empty when cancelled (or without a presenter).
std::string ShowRenameDialog(const std::string& title, const std::string& originalPath);

}  // namespace bngt32
