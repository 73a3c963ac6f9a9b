#include "flistindivs.h"

#include <QApplication>
#include <QPointer>

#include "fprogress.h"
#include "individuallist.h"
#include "kintrail/platform_qt/messagebox.h"
#include "rawrecord.h"
#include "texttable.h"

namespace ktviewer {

FListIndivs::FListIndivs(const ViewerDocument& document, PickHandler pick, QWidget* parent)
    : QDialog(parent), document_(document), pick_(std::move(pick)) {
  setObjectName(QStringLiteral("FListIndivs"));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(266, 370);
  LIndivs = new QListWidget(this);
  LIndivs->setObjectName(QStringLiteral("LIndivs"));
  LIndivs->setGeometry(8, 8, 249, 285);
  LIndivs->setSortingEnabled(true);
  Combo1 = new QComboBox(this);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setGeometry(192, 300, 65, 22);
  LNumOfIndiv = new QLabel(this);
  LNumOfIndiv->setObjectName(QStringLiteral("LNumOfIndiv"));
  LNumOfIndiv->setGeometry(12, 296, 178, 17);
  LNumOfUnion = new QLabel(this);
  LNumOfUnion->setObjectName(QStringLiteral("LNumOfUnion"));
  LNumOfUnion->setGeometry(12, 316, 245, 17);
  BSeeIndiv = new QPushButton(this);
  BSeeIndiv->setObjectName(QStringLiteral("BSeeIndiv"));
  BSeeIndiv->setGeometry(8, 336, 129, 25);
  BClose = new QPushButton(this);
  BClose->setObjectName(QStringLiteral("BClose"));
  BClose->setGeometry(168, 336, 89, 25);

  InitListCaptions();
  for (int g = 0; g < kLetterGroupCount; ++g) Combo1->addItem(Texts().LetterGroups[g]);
  connect(Combo1, &QComboBox::currentIndexChanged, this, &FListIndivs::Combo1Click);
  connect(LIndivs, &QListWidget::itemDoubleClicked, this, &FListIndivs::LIndivsDblClick);
  connect(BSeeIndiv, &QPushButton::clicked, this, &FListIndivs::BSeeIndivClick);
  connect(BClose, &QPushButton::clicked, this, &FListIndivs::BCloseClick);
  FillList(0);
}

void FListIndivs::InitListCaptions() {
  setWindowTitle(Texts().ListCaption);
  BSeeIndiv->setText(Texts().ListPickCaption);
  BClose->setText(Texts().ListCloseCaption);
}

void FListIndivs::Combo1Click(int index) {
  if (index >= 0) FillList(index);
}

void FListIndivs::FillList(int indexForFirstLetter) {
  const int group = EffectiveLetterGroup(indexForFirstLetter, document_.individualNumber());
  if (group != indexForFirstLetter) {
    if (Combo1->currentIndex() != group)
      Combo1->setCurrentIndex(group);  // fills the list for that group
    else
      FillList(group);
    return;
  }
  const int generation = ++fillGeneration_;
  QPointer<FListIndivs> self(this);

  FProgress progress(parentWidget());
  QApplication::setOverrideCursor(Qt::WaitCursor);
  progress.GaugeMin() = 0;
  progress.GaugeMax() = document_.individualNumber();
  progress.SetValue(0);
  progress.LInfo->setText(Texts().CreatingListText);
  progress.show();

  LIndivs->clear();
  LNumOfIndiv->setText(QString::number(document_.individualNumber()) + Texts().IndividualsSuffix);
  LNumOfUnion->setText(QString::number(document_.unionNumber()) + Texts().UnionsSuffix);
  LIndivs->setVisible(false);

  const QString groupText = Texts().LetterGroups[group];
  for (int32_t i = 0; i < document_.IndividualCount(); ++i) {
    if (i % 16 == 15) {
      progress.SetValue(i);
      QApplication::processEvents();
      QApplication::processEvents();
    }
    if (!self || generation != fillGeneration_) break;
    if (const IndividualPtr individual = document_.Individual(i)) {
      const QString surname = FromWinnowText(individual->Name);
      if (InLetterGroup(surname, group, groupText)) {
        auto* entry = new QListWidgetItem(ListEntryText(*individual));
        entry->setData(Qt::UserRole, i);
        LIndivs->addItem(entry);
      }
    }
    if (group > 0) QApplication::processEvents();
    if (!self || generation != fillGeneration_) break;
  }
  QApplication::restoreOverrideCursor();
  if (!self || generation != fillGeneration_) return;
  LIndivs->setVisible(true);
}

void FListIndivs::BSeeIndivClick() {
  QListWidgetItem* selected = LIndivs->currentItem();
  if (!selected || !selected->isSelected()) {
    kt::MessageBoxRequest box;
    box.parent = this;
    box.icon = QMessageBox::Warning;
    box.caption = Texts().AppTitle;
    box.text = Texts().MsgSelectIndividual;
    kt::ShowMessageBox(box);
    return;
  }
  pick_(selected->data(Qt::UserRole).toInt());
}

void FListIndivs::LIndivsDblClick(QListWidgetItem* item) {
  if (item) LIndivs->setCurrentItem(item);
  BSeeIndivClick();
}

void FListIndivs::BCloseClick() {
  close();
}

}  // namespace ktviewer
