#pragma once
// FPrincipal: the viewer's main window. It draws the family tree of the
// document as boxes, frames and connectors at fixed positions, turns clicks
// and menu commands into tree moves, and holds the file commands, the
// language menu and the help links.
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <functional>
#include <memory>

#include "familytree.h"
#include "flistindivs.h"
#include "treebox.h"
#include "viewerdocument.h"

class QAction;
class QMenu;

namespace ktviewer {

class FProgress;

class FPrincipal : public QMainWindow, private LoadObserver {
  Q_OBJECT
 public:
  explicit FPrincipal(QWidget* parent = nullptr);
  ~FPrincipal() override;

  // The start-up sequence: language, pictures, splash (without a command
  // line), then the file of the command line or the Open dialog.
  void Start(const QString& commandLine);

  // The splash runner; tests replace it (the real one shows frmSplash modally).
  static void SetSplashRunnerForTests(std::function<void()> runner);

  bool LoadGedcomFile(const QString& fileName);
  void SetInfos(int32_t indiv);

  const ViewerDocument& document() const { return document_; }
  const FamilyTree& tree() const { return tree_; }
  int languageIndex() const { return languageIndex_; }
  TreeBox* highlightedLabel() const { return highlightedLabel_; }
  FListIndivs* listWindow() const { return listWindow_; }

  // Controls, named as designed.
  std::array<TreeBox*, kShownAncestors> LIndiv{};
  TreeBox* LSpouse = nullptr;
  std::array<TreeBox*, kChildPlaces> LChildren{};
  std::array<FilledShape*, 14> SlblBG{};
  std::array<FilledShape*, 27> SLine{};  // 12 to 26 are used
  std::array<FilledShape*, kChildPlaces> SLineChild{};
  QPushButton* BInfoIndiv = nullptr;
  QPushButton* BinfoUnion = nullptr;
  std::array<QPushButton*, 2> BprevnextSpouse{};
  QLabel* LprevnextSpouse = nullptr;
  QPushButton* Botherchildren = nullptr;
  ClickableLabel* Image1 = nullptr;
  ClickableLabel* Image2 = nullptr;
  FilledShape* SBottom = nullptr;
  Canvas* canvas = nullptr;

  QMenu* MFile = nullptr;
  QAction* MOpen = nullptr;
  QAction* MSaveAs = nullptr;
  QAction* MQuit = nullptr;
  QMenu* MEdit = nullptr;
  QAction* MFirstIndiv = nullptr;
  QAction* MListIndivs = nullptr;
  QMenu* MLanguage = nullptr;
  std::array<QAction*, 2> MLang{};
  QMenu* Mquestionmark = nullptr;
  QAction* MAbout = nullptr;
  QAction* MOnlineHelp = nullptr;

  // Event procedures, named after their control and event.
  void LIndivClick(int k);
  void LSpouseClick();
  void LChildrenClick(int b);
  void BprevnextSpouseClick(int i);
  void BotherchildrenClick();
  void BInfoIndivClick();
  void BinfoUnionClick();
  void MOpenClick();
  void MSaveAsClick();
  void MQuitClick();
  void MFirstIndivClick();
  void MListIndivsClick();
  void MLangClick(int i);
  void MAboutClick();
  void MOnlineHelpClick();
  void ImageClick();
  void BoxMouseMove(TreeBox* box);
  void BackgroundMouseMove();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void InitCaptions();
  void InitControlPosition();
  void InitLabels();
  void InitTooltips();
  void KeepBottomBand();
  // Draws the state of the tree: boxes, buttons, union navigator, children.
  void ShowTree();
  void ShowChildPlaces();
  // MsgLoadFileFirst for a command that needs a file.
  void Answer(TreeResult result);
  void ShowExclamation(const QString& text);

  // LoadObserver: the progress window and the wait cursor around a load.
  void LoadStarting(int32_t gaugeMax, const QString& progressText) override;
  void LoadProgress(int32_t value) override;
  void LoadFinished() override;

  ViewerDocument document_;
  FamilyTree tree_{document_};
  int languageIndex_ = 0;
  TreeBox* highlightedLabel_ = nullptr;
  QString dialogFolder_;
  QPointer<FListIndivs> listWindow_;
  std::unique_ptr<FProgress> progress_;
};

}  // namespace ktviewer
