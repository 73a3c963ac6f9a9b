#pragma once
// What the window tests share: hooks that answer boxes, dialogs, modal
// windows, URLs and the splash, and a settings store of their own.
#include <QDialog>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "deliveredfiles.h"
#include "fprincipal.h"
#include "kintrail/platform_qt/messagebox.h"

namespace ktviewer::testing {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settingsFolder_.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder_.path());
    kt::SetMessageBoxHandler([this](const kt::MessageBoxRequest& box) {
      messages.push_back(box);
      return QMessageBox::Ok;
    });
    kt::SetFileDialogHandler([this](const kt::FileDialogRequest& dialog) {
      dialogs.push_back(dialog);
      const QString answer = nextFileName;
      nextFileName.clear();
      return answer;
    });
    SetModalRunnerForTests([this](QDialog& dialog) {
      if (onModal) onModal(dialog);
      modalNames.push_back(dialog.objectName());
      return int(QDialog::Accepted);
    });
    SetUrlOpenerForTests([this](const QString& url) { urls.push_back(url); });
    FPrincipal::SetSplashRunnerForTests([this] { ++splashes; });
  }
  void TearDown() override {
    kt::SetMessageBoxHandler({});
    kt::SetFileDialogHandler({});
    SetModalRunnerForTests({});
    SetUrlOpenerForTests({});
    SetProgramStarterForTests({});
    FPrincipal::SetSplashRunnerForTests({});
  }

  void StoreSetting(const QString& key, const QString& value) {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Kintrail", "KTViewer")
        .setValue(key, value);
  }
  QString Setting(const QString& key) {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Kintrail", "KTViewer")
        .value(key)
        .toString();
  }

  // A box's lines as the window shows them.
  static QStringList Lines(const QLabel* box) { return box->text().split(u'\n'); }
  static QString Shown(const QString& summary) {
    QString text = summary;
    text.remove(u'\r');
    if (text.endsWith(u'\n')) text.chop(1);
    return text;
  }

  std::vector<kt::MessageBoxRequest> messages;
  std::vector<kt::FileDialogRequest> dialogs;
  std::vector<QString> modalNames;
  std::vector<QString> urls;
  std::function<void(QDialog&)> onModal;
  QString nextFileName;
  int splashes = 0;

 private:
  QTemporaryDir settingsFolder_;
};

}  // namespace ktviewer::testing
