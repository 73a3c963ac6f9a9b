#include "viewerdocument.h"

#include <QFileInfo>

#include <kintrail/winnow/factory.h>
#include <kintrail/winnow/mfunctions.h>
#include <kintrail/winnow/winnowgedcom.h>

#include "progressgauge.h"
#include "rawrecord.h"
#include "texttable.h"

namespace ktviewer {

// Forwards the library's reading events to the document's counts.
class ViewerDocument::EventSink final : public kt::winnow::WinnowGEDCOMEvents {
 public:
  explicit EventSink(ViewerDocument& document) : document_(document) {}

  void OnAddIndividual(int32_t numberOfIndividual, int32_t /*status*/) override {
    document_.individualNumber_ = numberOfIndividual;
    Report();
  }
  void OnAddMarriage(int32_t numberOfMarriages, int32_t /*status*/) override {
    document_.unionNumber_ = numberOfMarriages;
    Report();
  }

 private:
  void Report() {
    if (document_.observer_)
      document_.observer_->LoadProgress(document_.individualNumber_ + document_.unionNumber_);
  }
  ViewerDocument& document_;
};

ViewerDocument::ViewerDocument()
    : winnow_(kt::winnow::CreateWinnowGEDCOM()), sink_(std::make_unique<EventSink>(*this)) {
  sinkCookie_ = winnow_->Advise(sink_.get());
}

ViewerDocument::~ViewerDocument() {
  winnow_->Unadvise(sinkCookie_);
}

bool ViewerDocument::LoadGedcomFile(const QString& fileName, LoadObserver* observer) {
  // The library lets window messages run while it reads; a second load
  // started from there would analyse into the object that is being filled.
  if (loading_) return false;
  const QFileInfo file(fileName);
  if (fileName.isEmpty() || !file.isFile()) return false;

  struct LoadScope {
    ViewerDocument& document;
    ~LoadScope() {
      document.loading_ = false;
      if (document.observer_) document.observer_->LoadFinished();
      document.observer_ = nullptr;
    }
  };
  loading_ = true;
  observer_ = observer;
  LoadScope scope{*this};

  individualNumber_ = 0;
  unionNumber_ = 0;
  if (observer_)
    observer_->LoadStarting(GaugeMaxForFileLength(file.size()),
                            Texts().LoadingFilePrefix + ShortenPathForProgress(fileName));
  winnow_->removeAll();
  try {
    winnow_->AnalyzeGedcom(fileName.toStdString(), true);
  } catch (...) {
    // What was read belongs to no file: forget it rather than show half a tree.
    winnow_->removeAll();
    individualNumber_ = 0;
    unionNumber_ = 0;
    currentFileName_.clear();
    throw;
  }
  unionNumber_ = winnow_->LMarriagesCount;
  individualNumber_ = winnow_->LIndividualsCount;
  currentFileName_ = fileName;
  return true;
}

void ViewerDocument::Clear() {
  if (loading_) return;
  winnow_->removeAll();
}

int32_t ViewerDocument::IndividualCount() const {
  return winnow_->LIndividualsCount;
}
int32_t ViewerDocument::MarriageCount() const {
  return winnow_->LMarriagesCount;
}

IndividualPtr ViewerDocument::Individual(int32_t index) const {
  if (index < 0 || index >= IndividualCount()) return nullptr;
  return winnow_->getIndiv(index);
}

MarriagePtr ViewerDocument::Marriage(int32_t index) const {
  if (index < 0 || index >= MarriageCount()) return nullptr;
  return winnow_->getMarri(index);
}

int32_t ViewerDocument::FindIndiv(const std::string& id) const {
  return winnow_->FindIndiv(id);
}
int32_t ViewerDocument::FindFam(const std::string& id) const {
  return winnow_->FindFam(id);
}

QString ViewerDocument::RawText(std::string_view bytes) const {
  const std::string& charSet = winnow_->RecordTextCharSet();
  if (charSet == "UTF-8")
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (charSet == "ANSEL") return FromWinnowText(kt::winnow::MFunctions::AnselToAnsi(bytes));
  if (charSet == "IBMPC" || charSet == "IBM PC")
    return FromWinnowText(kt::winnow::MFunctions::IbmPcToAnsi(bytes));
  return FromWinnowText(bytes);
}

QString ShortenPathForProgress(const QString& path) {
  if (path.size() <= 45) return path;
  return path.left(8) + QStringLiteral("...") + path.right(35);
}

}  // namespace ktviewer
