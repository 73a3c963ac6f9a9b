#pragma once
// The client's windows started as the program starts them, against a
// recording loopback server, with every modal box and dialog answered by the
// test and every desktop hand-off recorded.
#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/shell.h"
#include "core/veskconfig.h"
#include "core/veskglobals.h"
#include "core/veskserver.h"
#include "core/webclientfactory.h"
#include "forms/application.h"
#include "forms/form_main.h"
#include "forms/modaldialog.h"
#include "kintrail/platform_qt/messagebox.h"
#include "recordingserver.h"

struct ShownBox {
  QMessageBox::Icon Icon;
  std::string Text;
  QString Caption;
  QString OnlineState;  // status panel 0 while the box showed
};

inline const char* NewsAddress = "about:blank#news";

class VeskWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Path = std::filesystem::absolute(
               std::string("config-") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xml")
               .string();
    std::filesystem::remove(Path);
    WriteConfig("<account><login>ann</login><password>right</password></account><server>" +
                Server.Url() + "</server>");
    Server.SetHandler([](const RecordedRequest& request) {
      if (request.Target != page::Connect) return RecordingServer::Reply("<ok/>");
      if (request.Body.find("<password>right</password>") == std::string::npos)
        return RecordingServer::Reply("<connect><error code='2'>Wrong password</error></connect>");
      return RecordingServer::Reply(
          std::string("<connect><news><![CDATA[") + NewsAddress + "]]></news></connect>", 200, "OK",
          {"Set-Cookie: SID=42; path=/"});
    });
    kt::SetMessageBoxHandler([this](const kt::MessageBoxRequest& request) {
      Boxes.push_back({request.icon, request.text.toStdString(), request.caption,
                       FormMain ? FormMain->StatusText(0) : QString()});
      if (OnBox) OnBox();
      if (!Answers.empty()) {
        const auto answer = Answers.front();
        Answers.pop_front();
        return answer;
      }
      return (request.buttons & QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
    });
    SetModalDialogHandler([this](QDialog& dialog) {
      Dialogs.push_back(dialog.objectName().toStdString());
      return OnDialog ? OnDialog(dialog) : int(QDialog::Rejected);
    });
    SetShellHandler([this](const std::string& target, const std::string& parameters) {
      Shell.push_back(parameters.empty() ? target : target + " " + parameters);
    });
  }

  void TearDown() override {
    DestroyApplicationWindows();
    DestroyVeskObjects();
    kt::SetMessageBoxHandler(nullptr);
    SetModalDialogHandler(nullptr);
    SetShellHandler(nullptr);
  }

  void WriteConfig(const std::string& inner) const {
    const std::string text = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><veskconfiguration>" +
                             inner + "</veskconfiguration>";
    FILE* file = std::fopen(Path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }

  // Starts the windows as the program does, with these arguments besides
  // config=. Without `firstActivation` the window counts as activated already,
  // so that a test's own actions are the only ones.
  void Start(const std::vector<std::string>& arguments = {}, bool firstActivation = false) {
    Params().Arguments = {"config=" + Path};
    Params().Arguments.insert(Params().Arguments.end(), arguments.begin(), arguments.end());
    CreateApplicationWindows();
    if (!firstActivation) FormMain->FirstActivation = false;
    ShowMainWindowAtStart();
  }

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : Boxes) texts.push_back(box.Text);
    return texts;
  }

  TWebClientFactory& Session() { return *Globals().WebClientFactory; }

  RecordingServer Server;
  std::string Path;
  std::vector<ShownBox> Boxes;
  std::deque<QMessageBox::StandardButton> Answers;
  std::function<void()> OnBox;
  std::vector<std::string> Dialogs;
  std::function<int(QDialog&)> OnDialog;
  std::vector<std::string> Shell;
};
