#pragma once
// FInfosViewer: the raw GEDCOM record of the primary individual or of the
// current union, indented by level.
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ktviewer {

class FInfosViewer : public QDialog {
  Q_OBJECT
 public:
  explicit FInfosViewer(QWidget* parent = nullptr);

  void InitInfoCaptions();
  // Shows `record` (CR LF line ends) in the text box.
  void SetRecordText(const QString& record);

  QLabel* Label1;
  QPlainTextEdit* TInfos;
  QPushButton* BOnlineHelp;
  QPushButton* BClose;

 private:
  void BOnlineHelpClick();
  void BCloseClick();
};

}  // namespace ktviewer
