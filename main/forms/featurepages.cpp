#include "forms/featurepages.h"

TFormWorldSearch* FormWorldSearch = nullptr;
TFormSharedGedcoms* FormSharedGedcoms = nullptr;
TFormAdvancedSearch* FormAdvancedSearch = nullptr;
TFormRequests* FormRequests = nullptr;

namespace {
void Name(QWidget& page, const char* name, const char* caption) {
  page.setObjectName(name);
  page.setWindowTitle(caption);
}
}  // namespace

TFormWorldSearch::TFormWorldSearch(QWidget* parent) : QWidget(parent) {
  Name(*this, "FormWorldSearch", "World search");
}

TFormAdvancedSearch::TFormAdvancedSearch(QWidget* parent) : QWidget(parent) {
  Name(*this, "FormAdvancedSearch", "Advanced search");
}

TFormSharedGedcoms::TFormSharedGedcoms(QWidget* parent) : QWidget(parent) {
  Name(*this, "FormSharedGedcoms", "Shared gedcoms");
}

void TFormSharedGedcoms::Refresh(TWebClient&) {}

TFormRequests::TFormRequests(QWidget* parent) : QWidget(parent) {
  Name(*this, "FormRequests", "Requests");
}

void TFormRequests::Refresh(TWebClient&) {}
