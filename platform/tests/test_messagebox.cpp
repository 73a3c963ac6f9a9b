#include "kintrail/platform_qt/messagebox.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include "kintrail/testing/screenshot.h"

namespace {

// A tiny window whose button asks a question, as program windows do.
class AskingWindow : public QWidget {
public:
  AskingWindow() {
    auto* layout = new QVBoxLayout(this);
    label_ = new QLabel("no answer yet", this);
    button_ = new QPushButton("Ask", this);
    button_->setObjectName("ButtonAsk");
    layout->addWidget(label_);
    layout->addWidget(button_);
    QObject::connect(button_, &QPushButton::clicked, this, [this] {
      const auto answer = kt::ShowMessageBox({this, QMessageBox::Question, "Kintrail", "Go on?",
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No});
      label_->setText(answer == QMessageBox::Yes ? "yes" : "no");
    });
  }
  QLabel* label_;
  QPushButton* button_;
};

class MessageBoxTest : public ::testing::Test {
protected:
  void TearDown() override {
    kt::SetMessageBoxHandler({});
    kt::SetFileDialogHandler({});
  }
};

}  // namespace

TEST_F(MessageBoxTest, ModalBoxIsAnsweredByTheHook) {
  AskingWindow window;
  window.show();
  std::vector<QString> asked;
  kt::SetMessageBoxHandler([&](const kt::MessageBoxRequest& request) {
    asked.push_back(request.caption + "|" + request.text);
    EXPECT_EQ(request.defaultButton, QMessageBox::No);
    return QMessageBox::Yes;
  });
  window.findChild<QPushButton*>("ButtonAsk")->click();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "Kintrail|Go on?");
  EXPECT_EQ(window.label_->text(), "yes");

  const QString shot = kt::testing::SaveScreenshot(window, "platform_asking_window");
  EXPECT_TRUE(QFileInfo(shot).size() > 0);
}

TEST_F(MessageBoxTest, RealBoxReturnsItsButton) {
  // Without a hook the real box runs; it is closed from inside its event loop.
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w)) box->button(QMessageBox::No)->click();
  });
  const auto answer = kt::ShowMessageBox(
      {nullptr, QMessageBox::Question, "Kintrail", "Real?", QMessageBox::Yes | QMessageBox::No});
  EXPECT_EQ(answer, QMessageBox::No);
}

TEST_F(MessageBoxTest, FileDialogHookGivesThePath) {
  kt::SetFileDialogHandler([](const kt::FileDialogRequest& request) {
    return request.kind == kt::FileDialogRequest::Save ? QString("/tmp/out.ged") : QString();
  });
  EXPECT_EQ(kt::ShowFileDialog({kt::FileDialogRequest::Save}), "/tmp/out.ged");
  EXPECT_TRUE(kt::ShowFileDialog({kt::FileDialogRequest::Open}).isEmpty());
}
