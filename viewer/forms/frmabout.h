#pragma once
// frmAbout: title, version, description and a word on GEDCOM; can start the
// system's information program.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "treebox.h"

namespace ktviewer {

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent = nullptr);

  void InitAboutCaptions();
  // Starts the system information program found on PATH, or says it cannot.
  void StartSysInfo();

  QLabel* picIcon;
  QLabel* lblTitle;
  QLabel* lblVersion;
  QLabel* lblDescription;
  QLabel* lblDisclaimer;
  ClickableLabel* Image1;
  QPushButton* cmdOK;
  QPushButton* cmdSysInfo;
};

}  // namespace ktviewer
