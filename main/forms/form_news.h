#pragma once
// The news page: the server's news page named at login, in an embedded browser.
#include <QWidget>
#include <string>

class QWebEngineView;

class TFormNews : public QWidget {
  Q_OBJECT
 public:
  explicit TFormNews(QWidget* parent = nullptr);
  void Navigate(const std::string& address);

  QWebEngineView* WebBrowser;
};

extern TFormNews* FormNews;
