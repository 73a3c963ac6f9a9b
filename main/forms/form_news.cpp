#include "forms/form_news.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

TFormNews* FormNews = nullptr;

TFormNews::TFormNews(QWidget* parent) : QWidget(parent) {
  setObjectName("FormNews");
  setWindowTitle("News");
  setWindowFlag(Qt::FramelessWindowHint);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  WebBrowser = new QWebEngineView(this);
  WebBrowser->setObjectName("WebBrowser");
  layout->addWidget(WebBrowser);
  WebBrowser->setUrl(QUrl("about:blank"));
}

void TFormNews::Navigate(const std::string& address) {
  WebBrowser->setUrl(QUrl::fromUserInput(QString::fromStdString(address)));
}
