#pragma once
// The viewer's document: one analysis object of the GEDCOM library, the
// counts of the loaded file and its path. Loading goes through here only, so
// the windows never talk to the library themselves.
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "winnowaccess.h"

namespace ktviewer {

// What the window does around a load: the progress window and the cursor.
class LoadObserver {
 public:
  virtual ~LoadObserver() = default;
  // The file exists and its reading starts: `gaugeMax` estimates the records.
  virtual void LoadStarting(int32_t gaugeMax, const QString& progressText) = 0;
  // Individuals plus marriages read so far.
  virtual void LoadProgress(int32_t value) = 0;
  // Reading ended, successfully or not.
  virtual void LoadFinished() = 0;
};

class ViewerDocument {
 public:
  ViewerDocument();
  ~ViewerDocument();
  ViewerDocument(const ViewerDocument&) = delete;
  ViewerDocument& operator=(const ViewerDocument&) = delete;

  // Reads `fileName` into the analysis object. False, with nothing changed,
  // when no file exists there or a load is already running. A failure of the
  // library leaves the document empty and is passed on.
  bool LoadGedcomFile(const QString& fileName, LoadObserver* observer = nullptr);

  // Empties the analysis object (the window is closing); not during a load.
  void Clear();

  bool IsLoading() const { return loading_; }
  int32_t individualNumber() const { return individualNumber_; }
  int32_t unionNumber() const { return unionNumber_; }
  const QString& currentFileName() const { return currentFileName_; }

  // The library's lists. Indexes outside them give nothing (-1, null), so a
  // stale index (a list entry of an earlier file) can do no harm.
  int32_t IndividualCount() const;
  int32_t MarriageCount() const;
  IndividualPtr Individual(int32_t index) const;
  MarriagePtr Marriage(int32_t index) const;
  int32_t FindIndiv(const std::string& id) const;
  int32_t FindFam(const std::string& id) const;

  // Text of raw record bytes (gedcomString), decoded as the file was written.
  QString RawText(std::string_view bytes) const;

 private:
  class EventSink;
  std::shared_ptr<kt::winnow::WinnowGEDCOM> winnow_;
  uint32_t sinkCookie_ = 0;
  std::unique_ptr<EventSink> sink_;
  LoadObserver* observer_ = nullptr;
  bool loading_ = false;
  int32_t individualNumber_ = 0;
  int32_t unionNumber_ = 0;
  QString currentFileName_;
};

// The path as the progress label shows it: longer than 45 characters, its
// first 8, "..." and its last 35.
QString ShortenPathForProgress(const QString& path);

}  // namespace ktviewer
