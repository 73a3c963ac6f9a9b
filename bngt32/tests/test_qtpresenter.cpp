// The Qt presenter: message boxes through the platform hook, the overwrite
// dialog's layout and answers, the rename dialog, driven through ugt.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "bngt32/qtpresenter.h"
#include "kintrail/platform_qt/messagebox.h"
#include "kintrail/testing/screenshot.h"
#include "testsupport.h"

namespace bngt32test {
namespace {

class Bngt32QtPresenter : public TempFolderTest {
protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    bngt32qt::InstallQtPresenter();
  }
  void TearDown() override {
    bngt32qt::SetOverwriteDialogRunner(nullptr);
    bngt32qt::SetRenameDialogRunner(nullptr);
    kt::SetMessageBoxHandler(nullptr);
    TempFolderTest::TearDown();
  }

  // Extracts a gzip file over an existing output, asking through the presenter.
  int32_t ExtractOverExisting() {
    WriteFile(Path("src/a.txt"), "new");
    const std::string item = Path("src/a.txt"), gz = Path("a.txt.gz");
    GTCMDSTRUCT s = Quiet(GT_FUNCTION_GZIP);
    s.lpszItemList = item.c_str();
    s.lpszGTFile = gz.c_str();
    s.bNoDirectoryNames = 1;
    EXPECT_EQ(gt(&s), 0);
    WriteFile(Path("out/a.txt"), "old");
    UGTCMDSTRUCT u{};
    u.ulugtStructSize = UGTCMDSTRUCT_SIZE;
    u.lFunction = UGT_FUNCTION_GUNZIP;
    const std::string destination = Path("out");
    u.lpszGTFile = gz.c_str();
    u.lpszDestination = destination.c_str();
    return ugt(&u);
  }
};

TEST_F(Bngt32QtPresenter, OverwriteDialogLayout) {
  bngt32qt::TOverwriteDialog dialog("/x/a.txt exists, do you want to overwrite it?",
                                    "Brennet-GT Warning");
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), "Brennet-GT Warning");
  EXPECT_EQ(dialog.LabelQuestion->text(), "/x/a.txt exists, do you want to overwrite it?");
  const std::vector<std::pair<const char*, const char*>> buttons = {
      {"ButtonYes", "&Yes"},       {"ButtonYesToAll", "Yes to &All"}, {"ButtonRename", "&Rename"},
      {"ButtonNo", "&No"},         {"ButtonCancel", "&Cancel"}};
  int previousX = -1;
  for (const auto& [name, text] : buttons) {
    auto* button = dialog.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->text(), text);
    EXPECT_GT(button->x(), previousX) << name << " left to right";
    EXPECT_GT(button->y(), dialog.LabelQuestion->y());
    previousX = button->x();
  }
  EXPECT_TRUE(dialog.ButtonNo->isDefault());
  const QFontMetrics metrics(dialog.font());
  EXPECT_EQ(dialog.width(), 278 * metrics.averageCharWidth() / 4);
  EXPECT_EQ(dialog.height(), 86 * metrics.height() / 8);
  kt::testing::SaveScreenshot(dialog, "bngt32_overwrite_dialog");
}

TEST_F(Bngt32QtPresenter, OverwriteAnswersThroughTheDialog) {
  struct Case {
    const char* button;
    int32_t expected;
    const char* content;
  } cases[] = {
      {"ButtonYes", 0, "new"},
      {"ButtonYesToAll", 0, "new"},
      {"ButtonNo", UGT_FILE_SKIPPED, "old"},
      {"ButtonCancel", GT_ABORTED, "old"},
  };
  kt::SetMessageBoxHandler([](const kt::MessageBoxRequest&) { return QMessageBox::Ok; });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    std::string question;
    bngt32qt::SetOverwriteDialogRunner([&](bngt32qt::TOverwriteDialog& dialog) {
      question = dialog.LabelQuestion->text().toStdString();
      dialog.findChild<QPushButton*>(c.button)->click();
      return dialog.result();
    });
    EXPECT_EQ(ExtractOverExisting(), c.expected);
    EXPECT_EQ(ReadFile(Path("out/a.txt")), c.content);
    EXPECT_EQ(question, Path("out/a.txt") + " exists, do you want to overwrite it?");
  }
}

TEST_F(Bngt32QtPresenter, RenameWritesUnderTheChosenName) {
  bngt32qt::SetOverwriteDialogRunner([](bngt32qt::TOverwriteDialog& dialog) {
    dialog.ButtonRename->click();
    return dialog.result();
  });
  std::string original, title;
  const std::string chosen = Path("renamed/b.txt");
  bngt32qt::SetRenameDialogRunner([&](QFileDialog& dialog) {
    original = dialog.findChild<QLineEdit*>("EditOriginal")->text().toStdString();
    title = dialog.windowTitle().toStdString();
    return QString::fromStdString(chosen);
  });
  EXPECT_EQ(ExtractOverExisting(), 0);
  EXPECT_EQ(original, Path("out/a.txt"));
  EXPECT_EQ(title, "Brennet-GT Rename Request");
  EXPECT_EQ(ReadFile(Path("out/a.txt")), "old");
  EXPECT_EQ(ReadFile(chosen), "new");
}

TEST_F(Bngt32QtPresenter, ErrorsAreMessageBoxes) {
  std::vector<kt::MessageBoxRequest> shown;
  kt::SetMessageBoxHandler([&](const kt::MessageBoxRequest& r) {
    shown.push_back(r);
    return QMessageBox::Ok;
  });
  GTCMDSTRUCT s{};
  s.ulgtStructSize = GTCMDSTRUCT_SIZE;
  s.lFunction = GT_FUNCTION_GZIP;
  const std::string missing = Path("missing.xml"), target = Path("missing.xml.gz");
  s.lpszItemList = missing.c_str();
  s.lpszGTFile = target.c_str();
  EXPECT_EQ(gt(&s), GT_NO_MATCH);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Brennet-GT Error");
  EXPECT_EQ(shown[0].text, "ItemList does not match any file names");
  EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
  EXPECT_EQ(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

}  // namespace
}  // namespace bngt32test
