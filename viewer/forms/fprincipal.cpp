#include "fprincipal.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>

#include "commandline.h"
#include "deliveredfiles.h"
#include "finfosviewer.h"
#include "flistindivs.h"
#include "fprogress.h"
#include "frmabout.h"
#include "frmsplash.h"
#include "kintrail/platform/atomicfile.h"
#include "kintrail/platform/folders.h"
#include "kintrail/platform_qt/messagebox.h"
#include "rawrecord.h"
#include "texttable.h"
#include "viewersettings.h"

namespace ktviewer {

namespace {

const QColor kBackground(238, 238, 238);
const QColor kFrameBorder(255, 153, 0);
const QColor kConnector(42, 139, 158);
const QColor kBand(0, 102, 127);
const QColor kEmptyPlaceFill(221, 221, 238);

// Client area of the window: the design's 790 x 550 outer size less the
// frame, the title bar and the menu bar.
constexpr int kClientWidth = 782;
constexpr int kClientHeight = 506;

const QString kGedcomFilter = QStringLiteral("GEDCOM (*.ged *.GED);;*.txt (*.txt);;* (*)");

std::function<void()>& SplashRunner() {
  static std::function<void()> runner;
  return runner;
}

// Restores the normal cursor at the end of a scope.
struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void FPrincipal::SetSplashRunnerForTests(std::function<void()> runner) {
  SplashRunner() = std::move(runner);
}

FPrincipal::FPrincipal(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FPrincipal"));
  BuildMenus();
  BuildControls();
  InitControlPosition();
  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

FPrincipal::~FPrincipal() = default;

void FPrincipal::BuildControls() {
  canvas = new Canvas(kBackground, this);
  canvas->setObjectName(QStringLiteral("canvas"));
  setCentralWidget(canvas);
  connect(canvas, &Canvas::MouseMoved, this, &FPrincipal::BackgroundMouseMove);
  connect(canvas, &Canvas::Resized, this, &FPrincipal::KeepBottomBand);

  auto shape = [this](const QString& name, QColor fill, QColor border, int width) {
    auto* s = new FilledShape(fill, border, width, canvas);
    s->setObjectName(name);
    return s;
  };
  SBottom = shape(QStringLiteral("SBottom"), kBand, QColor(), 0);
  for (int i = 0; i < 14; ++i)
    SlblBG[i] = shape(QStringLiteral("SlblBG(%1)").arg(i), Qt::white, kFrameBorder, 2);
  for (int i = 12; i <= 26; ++i)
    SLine[i] = shape(QStringLiteral("SLine(%1)").arg(i), kConnector, QColor(), 0);
  for (int b = 0; b < kChildPlaces; ++b)
    SLineChild[b] = shape(QStringLiteral("SLineChild(%1)").arg(b), kConnector, QColor(), 0);

  QFont boxFont = font();
  boxFont.setPixelSize(11);
  auto box = [&](const QString& name) {
    auto* b = new TreeBox(canvas);
    b->setObjectName(name);
    b->setFont(boxFont);
    connect(b, &TreeBox::MouseMoved, this, [this, b] { BoxMouseMove(b); });
    return b;
  };
  for (int k = 0; k < kShownAncestors; ++k) {
    LIndiv[k] = box(QStringLiteral("LIndiv(%1)").arg(k));
    connect(LIndiv[k], &TreeBox::Clicked, this, [this, k] { LIndivClick(k); });
  }
  LSpouse = box(QStringLiteral("LSpouse"));
  connect(LSpouse, &TreeBox::Clicked, this, &FPrincipal::LSpouseClick);
  for (int b = 0; b < kChildPlaces; ++b) {
    LChildren[b] = box(QStringLiteral("LChildren(%1)").arg(b));
    connect(LChildren[b], &TreeBox::Clicked, this, [this, b] { LChildrenClick(b); });
  }

  auto button = [this](const QString& name) {
    auto* b = new QPushButton(canvas);
    b->setObjectName(name);
    b->hide();
    return b;
  };
  BInfoIndiv = button(QStringLiteral("BInfoIndiv"));
  connect(BInfoIndiv, &QPushButton::clicked, this, &FPrincipal::BInfoIndivClick);
  BinfoUnion = button(QStringLiteral("BinfoUnion"));
  connect(BinfoUnion, &QPushButton::clicked, this, &FPrincipal::BinfoUnionClick);
  for (int i = 0; i < 2; ++i) {
    BprevnextSpouse[i] = button(QStringLiteral("BprevnextSpouse(%1)").arg(i));
    BprevnextSpouse[i]->setText(i == 0 ? QStringLiteral("<") : QStringLiteral(">"));
    connect(BprevnextSpouse[i], &QPushButton::clicked, this,
            [this, i] { BprevnextSpouseClick(i); });
  }
  LprevnextSpouse = new QLabel(canvas);
  LprevnextSpouse->setObjectName(QStringLiteral("LprevnextSpouse"));
  LprevnextSpouse->setAlignment(Qt::AlignCenter);
  LprevnextSpouse->hide();
  Botherchildren = button(QStringLiteral("Botherchildren"));
  connect(Botherchildren, &QPushButton::clicked, this, &FPrincipal::BotherchildrenClick);

  Image1 = new ClickableLabel(canvas);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image2 = new ClickableLabel(canvas);
  Image2->setObjectName(QStringLiteral("Image2"));
  connect(Image1, &ClickableLabel::Clicked, this, &FPrincipal::ImageClick);
  connect(Image2, &ClickableLabel::Clicked, this, &FPrincipal::ImageClick);
}

void FPrincipal::BuildMenus() {
  auto action = [this](QMenu* menu, const QString& name, void (FPrincipal::*handler)()) {
    auto* a = menu->addAction(QString());
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  MFile = menuBar()->addMenu(QString());
  MFile->setObjectName(QStringLiteral("MFile"));
  MOpen = action(MFile, QStringLiteral("MOpen"), &FPrincipal::MOpenClick);
  MSaveAs = action(MFile, QStringLiteral("MSaveAs"), &FPrincipal::MSaveAsClick);
  MQuit = action(MFile, QStringLiteral("MQuit"), &FPrincipal::MQuitClick);
  MEdit = menuBar()->addMenu(QString());
  MEdit->setObjectName(QStringLiteral("MEdit"));
  MFirstIndiv = action(MEdit, QStringLiteral("MFirstIndiv"), &FPrincipal::MFirstIndivClick);
  MListIndivs = action(MEdit, QStringLiteral("MListIndivs"), &FPrincipal::MListIndivsClick);
  MLanguage = menuBar()->addMenu(QString());
  MLanguage->setObjectName(QStringLiteral("MLanguage"));
  for (int i = 0; i < 2; ++i) {
    MLang[i] = MLanguage->addAction(QString());
    MLang[i]->setObjectName(QStringLiteral("MLang(%1)").arg(i));
    MLang[i]->setCheckable(true);
    connect(MLang[i], &QAction::triggered, this, [this, i] { MLangClick(i); });
  }
  Mquestionmark = menuBar()->addMenu(QString());
  Mquestionmark->setObjectName(QStringLiteral("Mquestionmark"));
  MAbout = action(Mquestionmark, QStringLiteral("MAbout"), &FPrincipal::MAboutClick);
  MOnlineHelp = action(Mquestionmark, QStringLiteral("MOnlineHelp"), &FPrincipal::MOnlineHelpClick);
}

void FPrincipal::InitControlPosition() {
  LIndiv[0]->setGeometry(222, 152, 166, 66);
  LIndiv[1]->setGeometry(412, 52, 166, 67);
  LIndiv[2]->setGeometry(412, 262, 166, 67);
  const int grandparentTops[4] = {12, 102, 212, 302};
  for (int k = 3; k < 7; ++k) LIndiv[k]->setGeometry(602, grandparentTops[k - 3], 166, 67);
  LSpouse->setGeometry(222, 302, 166, 66);
  LChildren[0]->setGeometry(12, 12, 165, 67);
  for (int b = 1; b < kChildPlaces; ++b) LChildren[b]->setGeometry(12, 12 + 80 * b, 166, 67);

  SlblBG[0]->setGeometry(220, 150, 171, 71);
  SlblBG[7]->setGeometry(220, 300, 171, 71);
  SlblBG[1]->setGeometry(410, 50, 171, 71);
  SlblBG[2]->setGeometry(410, 260, 171, 71);
  const int frameTops[4] = {10, 100, 210, 300};
  for (int i = 3; i < 7; ++i) SlblBG[i]->setGeometry(600, frameTops[i - 3], 171, 71);
  for (int b = 0; b < kChildPlaces; ++b) SlblBG[8 + b]->setGeometry(10, 10 + 80 * b, 171, 71);

  for (int b = 0; b < kChildPlaces; ++b) SLineChild[b]->setGeometry(180, 45 + 80 * b, 18, 3);
  SLine[12]->setGeometry(195, 45, 3, 402);
  SLine[13]->setGeometry(195, 185, 23, 3);
  SLine[14]->setGeometry(195, 335, 23, 3);
  SLine[26]->setGeometry(390, 185, 9, 3);
  SLine[23]->setGeometry(400, 85, 3, 212);
  SLine[24]->setGeometry(400, 85, 9, 3);
  SLine[25]->setGeometry(400, 295, 9, 3);
  SLine[21]->setGeometry(580, 85, 11, 3);
  SLine[22]->setGeometry(580, 295, 11, 3);
  SLine[20]->setGeometry(590, 45, 3, 92);
  SLine[15]->setGeometry(590, 245, 3, 92);
  SLine[19]->setGeometry(590, 45, 9, 3);
  SLine[16]->setGeometry(590, 135, 9, 3);
  SLine[17]->setGeometry(590, 245, 9, 3);
  SLine[18]->setGeometry(590, 335, 9, 3);

  BInfoIndiv->setGeometry(225, 225, 161, 26);
  BprevnextSpouse[0]->setGeometry(226, 266, 31, 21);
  LprevnextSpouse->setGeometry(256, 266, 101, 19);
  BprevnextSpouse[1]->setGeometry(356, 266, 31, 21);
  BinfoUnion->setGeometry(226, 376, 161, 26);
  Botherchildren->setGeometry(30, 480, 121, 21);
  Image1->setGeometry(600, 421, 180, 63);
  Image2->setGeometry(600, 490, 182, 16);
  KeepBottomBand();
  // The band lies under the pictures and the "other children" button.
  SBottom->lower();
  Image2->raise();
  Botherchildren->raise();
}

void FPrincipal::KeepBottomBand() {
  SBottom->setGeometry(0, canvas->height() - 20 + 1, canvas->width() + 4, 20);
}

void FPrincipal::Start(const QString& commandLine) {
  // Each step may fail on its own (a missing picture or setting) without
  // stopping the others.
  Image2->setPixmap(DeliveredPicture(QStringLiteral("slo.jpg")));
  Image1->setPixmap(DeliveredPicture(QStringLiteral("logo.jpg")));
  tree_.Reset();

  languageIndex_ = ViewerSettings::Language(static_cast<int>(MLang.size()) - 1);
  for (int i = 0; i < static_cast<int>(MLang.size()); ++i)
    MLang[i]->setChecked(i == languageIndex_);
  SetLanguageTexts(languageIndex_);
  InitCaptions();
  InitControlPosition();
  // The menu bar's height is known once its titles are set.
  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

  const QCursor select = SelectCursor();
  for (int k = 1; k < kShownAncestors; ++k) LIndiv[k]->setCursor(select);
  LSpouse->setCursor(select);
  for (TreeBox* child : LChildren) child->setCursor(select);

  setWindowTitle(Texts().AppTitle);
  if (commandLine.isEmpty()) {
    if (SplashRunner()) {
      SplashRunner()();
    } else {
      frmSplash splash;
      RunModal(splash);
    }
  }
  dialogFolder_ = ViewerSettings::GedPath();
  InitLabels();
  show();

  if (!commandLine.isEmpty()) {
    bool loaded = false;
    for (const QString& candidate :
         CommandLineCandidates(commandLine, QString::fromStdString(kt::ProgramFolder()))) {
      try {
        loaded = LoadGedcomFile(candidate);
      } catch (...) {
        loaded = true;  // the file is there but unreadable: no Open dialog over it
      }
      if (loaded) break;
    }
    if (!loaded) MOpenClick();
  }
}

bool FPrincipal::LoadGedcomFile(const QString& fileName) {
  if (document_.IsLoading()) return false;
  bool loaded = false;
  try {
    loaded = document_.LoadGedcomFile(fileName, this);
  } catch (...) {
    tree_.Reset();
    ShowTree();
    InitLabels();
    InitCaptions();
    throw;
  }
  if (!loaded) return false;
  tree_.Reset();
  SetInfos(0);
  setWindowTitle(Texts().AppTitle + u' ' + document_.currentFileName());
  return true;
}

void FPrincipal::SetInfos(int32_t indiv) {
  if (document_.IndividualCount() > 0 && indiv >= 0) {
    WaitCursor wait;
    const TreeResult result = tree_.SetInfos(indiv);
    if (result == TreeResult::Done) ShowTree();
    return;
  }
  Answer(tree_.SetInfos(indiv));
}

void FPrincipal::ShowTree() {
  for (int k = 0; k < kShownAncestors; ++k)
    LIndiv[k]->SetBoxText(tree_.ShowIndividual(tree_.ascendants()[k]));
  BInfoIndiv->setVisible(tree_.hasPrimary());
  LSpouse->SetBoxText(tree_.ShowIndividual(tree_.spouseShown()));
  ShowChildPlaces();
  BinfoUnion->setVisible(tree_.unionInfoVisible());
  const bool navigator = tree_.unionNavigatorVisible();
  if (navigator) LprevnextSpouse->setText(tree_.UnionCounterText());
  LprevnextSpouse->setVisible(navigator);
  BprevnextSpouse[0]->setVisible(navigator);
  BprevnextSpouse[1]->setVisible(navigator);
}

void FPrincipal::ShowChildPlaces() {
  const QRect line13 = SLine[13]->geometry();
  const QRect line14 = SLine[14]->geometry();
  SLine[12]->setGeometry(SLine[12]->x(), line13.y(), SLine[12]->width(),
                         line14.y() - line13.y() + 2);
  for (int b = 0; b < kChildPlaces; ++b) {
    const bool filled = b < tree_.childPlacesFilled();
    SlblBG[8 + b]->SetColours(filled ? QColor(Qt::white) : kEmptyPlaceFill,
                              filled ? kFrameBorder : kConnector);
    SLineChild[b]->setVisible(filled);
    LChildren[b]->SetBoxText(filled ? tree_.ShowIndividual(tree_.shownChild(b)) : QString());
    if (filled) {
      const int top = SLineChild[0]->y();
      const int bottom = std::max(line14.y(), SLineChild[b]->y());
      SLine[12]->setGeometry(SLine[12]->x(), top, SLine[12]->width(), bottom - top + 2);
    }
  }
  Botherchildren->setVisible(tree_.otherChildrenVisible());
}

void FPrincipal::Answer(TreeResult result) {
  if (result == TreeResult::NoFileLoaded) ShowExclamation(Texts().MsgLoadFileFirst);
  if (result == TreeResult::Done) ShowTree();
}

void FPrincipal::ShowExclamation(const QString& text) {
  kt::MessageBoxRequest box;
  box.parent = this;
  box.icon = QMessageBox::Warning;
  box.caption = Texts().AppTitle;
  box.text = text;
  box.buttons = QMessageBox::Ok;
  kt::ShowMessageBox(box);
}

void FPrincipal::InitCaptions() {
  const TextTable& t = Texts();
  BinfoUnion->setText(t.SeeUnionInfoCaption);
  BInfoIndiv->setText(t.SeeAllInfoCaption);
  Botherchildren->setText(t.OtherChildrenCaption);
  setWindowTitle(document_.currentFileName().isEmpty()
                     ? t.AppTitle
                     : t.AppTitle + u' ' + document_.currentFileName());
  LprevnextSpouse->clear();
  MFile->setTitle(t.MenuFile);
  MOpen->setText(t.MenuOpen);
  MSaveAs->setText(t.MenuSaveAs);
  MQuit->setText(t.MenuQuit);
  MEdit->setTitle(t.MenuBrowse);
  MFirstIndiv->setText(t.MenuFirstIndividual);
  MListIndivs->setText(t.MenuList);
  MLanguage->setTitle(t.MenuLanguage);
  for (size_t i = 0; i < MLang.size(); ++i) MLang[i]->setText(t.LanguageNames[i]);
  Mquestionmark->setTitle(t.MenuHelp);
  MAbout->setText(t.MenuAbout);
  MOnlineHelp->setText(t.MenuOnlineHelp);
}

void FPrincipal::InitLabels() {
  const TextTable& t = Texts();
  for (int b = 0; b < kChildPlaces; ++b) LChildren[b]->SetBoxText(t.ChildLabels[b]);
  for (int k = 0; k < kShownAncestors; ++k) LIndiv[k]->SetBoxText(t.RoleLabels[k]);
  LSpouse->SetBoxText(t.SpouseLabel);
  InitTooltips();
}

void FPrincipal::InitTooltips() {
  const TextTable& t = Texts();
  for (TreeBox* child : LChildren) child->setToolTip(t.ChildTooltip);
  for (int k = 0; k < kShownAncestors; ++k) LIndiv[k]->setToolTip(t.RoleTooltips[k]);
  LSpouse->setToolTip(t.SpouseTooltip);
}

void FPrincipal::LIndivClick(int k) {
  if (k == 0) return;
  Answer(tree_.MoveToAncestor(k));
}

void FPrincipal::LSpouseClick() {
  Answer(tree_.MoveToSpouse());
}

void FPrincipal::LChildrenClick(int b) {
  Answer(tree_.MoveToChild(b));
}

void FPrincipal::BprevnextSpouseClick(int i) {
  const TreeResult result = i == 0 ? tree_.PreviousUnion() : tree_.NextUnion();
  if (result == TreeResult::NoFileLoaded) {
    ShowExclamation(Texts().MsgLoadFileFirst);
    return;
  }
  LprevnextSpouse->setText(tree_.UnionCounterText());
  LSpouse->SetBoxText(tree_.ShowIndividual(tree_.spouseShown()));
  ShowChildPlaces();
}

void FPrincipal::BotherchildrenClick() {
  if (tree_.OtherChildren() == TreeResult::NoFileLoaded) {
    ShowExclamation(Texts().MsgLoadFileFirst);
    return;
  }
  ShowChildPlaces();
}

void FPrincipal::BInfoIndivClick() {
  const IndividualPtr individual = document_.Individual(tree_.ascendants()[0]);
  if (!individual) return;
  FInfosViewer window(this);
  window.setWindowTitle(Texts().InfoCaptionPrefix + FromWinnowText(individual->firstNames) + u' ' +
                        FromWinnowText(individual->Name));
  window.Label1->setText(Texts().RawIndividualCaption);
  window.SetRecordText(document_.RawText(FormatRawGedcomString(individual->gedcomString)));
  RunModal(window);
}

void FPrincipal::BinfoUnionClick() {
  FInfosViewer window(this);
  if (tree_.currentUnion() < 0) return;
  const MarriagePtr marriage =
      document_.Marriage(tree_.unionAt(tree_.currentUnion()).marriageIndex);
  if (!marriage) return;
  window.Label1->setText(Texts().RawUnionCaption);
  window.SetRecordText(document_.RawText(FormatRawGedcomString(marriage->gedcomString)));
  RunModal(window);
}

void FPrincipal::MOpenClick() {
  kt::FileDialogRequest dialog;
  dialog.kind = kt::FileDialogRequest::Open;
  dialog.parent = this;
  dialog.caption = Texts().OpenDialogTitle;
  dialog.folder = dialogFolder_;
  dialog.filter = kGedcomFilter;
  const QString chosen = kt::ShowFileDialog(dialog);
  if (chosen.isEmpty()) return;
  try {
    LoadGedcomFile(chosen);
  } catch (...) {
    // Open ends silently on any failure.
  }
  const QString folder = QFileInfo(chosen).absolutePath();
  ViewerSettings::SetGedPath(folder);
  dialogFolder_ = folder.endsWith(u'/') ? folder : folder + u'/';
}

void FPrincipal::MSaveAsClick() {
  const QString current = document_.currentFileName();
  if (current.isEmpty() || !QFileInfo(current).isFile()) {
    ShowExclamation(Texts().MsgNoCurrentFile);
    return;
  }
  kt::FileDialogRequest dialog;
  dialog.kind = kt::FileDialogRequest::Save;
  dialog.parent = this;
  dialog.caption = Texts().SaveDialogTitle;
  dialog.folder = dialogFolder_;
  dialog.filter = kGedcomFilter;
  QString chosen = kt::ShowFileDialog(dialog);
  if (chosen.isEmpty()) return;
  if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".ged");
  const QFileInfo target(chosen);
  // Copying the file onto itself would at best do nothing.
  if (target.exists() && target.canonicalFilePath() == QFileInfo(current).canonicalFilePath())
    return;
  try {
    kt::WriteFileAtomically(chosen.toStdString(), kt::ReadWholeFile(current.toStdString()));
  } catch (...) {
    // Save as ends silently on a failed copy; the old target stays intact.
  }
}

void FPrincipal::MQuitClick() {
  QCoreApplication::exit(0);
}

void FPrincipal::MFirstIndivClick() {
  Answer(tree_.MoveToFirstIndividual());
}

void FPrincipal::MListIndivsClick() {
  if (!listWindow_)
    listWindow_ = new FListIndivs(
        document_, [this](int32_t i) { SetInfos(i); }, this);
  listWindow_->show();
  listWindow_->raise();
}

void FPrincipal::MLangClick(int i) {
  for (QAction* item : MLang) item->setChecked(false);
  MLang[i]->setChecked(true);
  ViewerSettings::SetLanguage(i);
  languageIndex_ = i;
  SetLanguageTexts(i);
  InitTooltips();
  InitCaptions();
  if (document_.currentFileName().isEmpty()) InitLabels();
}

void FPrincipal::MAboutClick() {
  frmAbout about(this);
  RunModal(about);
}

void FPrincipal::MOnlineHelpClick() {
  OpenURL(SoftLinkUrl(QStringLiteral("ktviewer/help.asp")));
}

void FPrincipal::ImageClick() {
  OpenURL(HomePageUrl());
}

void FPrincipal::BoxMouseMove(TreeBox* box) {
  if (box == LIndiv[0] || box == highlightedLabel_) return;
  if (highlightedLabel_) highlightedLabel_->SetHighlighted(false);
  highlightedLabel_ = box;
  box->SetHighlighted(true);
}

void FPrincipal::BackgroundMouseMove() {
  if (!highlightedLabel_) return;
  highlightedLabel_->SetHighlighted(false);
  highlightedLabel_ = nullptr;
}

void FPrincipal::closeEvent(QCloseEvent* event) {
  if (listWindow_) listWindow_->close();
  document_.Clear();
  event->accept();
}

void FPrincipal::LoadStarting(int32_t gaugeMax, const QString& progressText) {
  InitLabels();
  progress_ = std::make_unique<FProgress>(this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  progress_->GaugeMin() = 0;
  progress_->GaugeMax() = gaugeMax;
  progress_->SetValue(0);
  progress_->LInfo->setText(progressText);
  progress_->show();
}

void FPrincipal::LoadProgress(int32_t value) {
  if (progress_) progress_->SetValue(value);
}

void FPrincipal::LoadFinished() {
  QApplication::restoreOverrideCursor();
  progress_.reset();
}

}  // namespace ktviewer
