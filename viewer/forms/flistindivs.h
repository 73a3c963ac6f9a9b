#pragma once
// FListIndivs: the individuals of the loaded file by letter group of their
// surname; picking one makes it the primary individual.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <functional>

#include "viewerdocument.h"

namespace ktviewer {

class FListIndivs : public QDialog {
  Q_OBJECT
 public:
  using PickHandler = std::function<void(int32_t individual)>;
  FListIndivs(const ViewerDocument& document, PickHandler pick, QWidget* parent = nullptr);

  void InitListCaptions();
  // Lists group `indexForFirstLetter` of the letter groups (0 is "all").
  void FillList(int indexForFirstLetter);

  QListWidget* LIndivs;
  QComboBox* Combo1;
  QLabel* LNumOfIndiv;
  QLabel* LNumOfUnion;
  QPushButton* BSeeIndiv;
  QPushButton* BClose;

  void BSeeIndivClick();

 private:
  void Combo1Click(int index);
  void LIndivsDblClick(QListWidgetItem* item);
  void BCloseClick();

  const ViewerDocument& document_;
  PickHandler pick_;
  // Each fill counts itself; a fill started from inside another (the user
  // chose a group meanwhile) makes the outer one stop instead of mixing its
  // entries into the new list.
  int fillGeneration_ = 0;
};

}  // namespace ktviewer
