#include "presenter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace bngt32 {
namespace {

std::mutex g_mutex;
GTPRESENTER g_presenter{};
bool g_installed = false;

bool Current(GTPRESENTER& out) {
  std::lock_guard lock(g_mutex);
  out = g_presenter;
  return g_installed;
}

int32_t DefaultAnswer(uint32_t flags) {
  switch (flags & 0xF) {
    case 2: return 3;  // Abort
    case 3:
    case 4: return 7;  // No
    case 5: return 4;  // Retry
    default: return 1; // OK
  }
}

}  // namespace

void InstallPresenter(const GTPRESENTER* presenter) {
  std::lock_guard lock(g_mutex);
  g_presenter = GTPRESENTER{};
  g_installed = false;
  if (presenter == nullptr || presenter->ulStructSize < sizeof(uint32_t)) return;
  // A host built against a shorter record gets the fields it knows.
  const size_t size = std::min<size_t>(presenter->ulStructSize, sizeof(GTPRESENTER));
  std::memcpy(&g_presenter, presenter, size);
  g_presenter.ulStructSize = sizeof(GTPRESENTER);
  g_installed = true;
}

int32_t ShowMessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  GTPRESENTER p;
  if (Current(p) && p.lpMessageBox != nullptr) {
    return p.lpMessageBox(text.c_str(), caption.c_str(), flags, p.lpUserData);
  }
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  return DefaultAnswer(flags);
}

int32_t ShowOverwriteDialog(const std::string& question, const std::string& caption) {
  GTPRESENTER p;
  if (Current(p) && p.lpOverwriteDialog != nullptr) {
    return p.lpOverwriteDialog(question.c_str(), caption.c_str(), p.lpUserData);
  }
  std::fprintf(stderr, "%s: %s No\n", caption.c_str(), question.c_str());
  return 7;
}

std::string ShowRenameDialog(const std::string& title, const std::string& originalPath) {
  GTPRESENTER p;
  if (Current(p) && p.lpRenameDialog != nullptr) {
    std::vector<char> buffer(4096, '\0');
    if (p.lpRenameDialog(title.c_str(), originalPath.c_str(), buffer.data(),
                         static_cast<uint32_t>(buffer.size()), p.lpUserData) == 0) {
      return {};
    }
    buffer.back() = '\0';
    return std::string(buffer.data());
  }
  std::fprintf(stderr, "%s: %s (cancelled)\n", title.c_str(), originalPath.c_str());
  return {};
}

}  // namespace bngt32
