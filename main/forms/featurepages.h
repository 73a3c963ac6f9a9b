#pragma once
// The four feature windows the main window shows as pages. Their content
// comes with their features; here they are named pages with their captions,
// and the two that refresh themselves when a session opens take the client.
#include <QWidget>

class TWebClient;

class TFormWorldSearch : public QWidget {
  Q_OBJECT
 public:
  explicit TFormWorldSearch(QWidget* parent = nullptr);
};

class TFormAdvancedSearch : public QWidget {
  Q_OBJECT
 public:
  explicit TFormAdvancedSearch(QWidget* parent = nullptr);
};

class TFormSharedGedcoms : public QWidget {
  Q_OBJECT
 public:
  explicit TFormSharedGedcoms(QWidget* parent = nullptr);
  // Runs the shared-list exchange through `client` (a session client).
  void Refresh(TWebClient& client);
};

class TFormRequests : public QWidget {
  Q_OBJECT
 public:
  explicit TFormRequests(QWidget* parent = nullptr);
  // Fetches the request list through `client` (a session client).
  void Refresh(TWebClient& client);
};

extern TFormWorldSearch* FormWorldSearch;
extern TFormSharedGedcoms* FormSharedGedcoms;
extern TFormAdvancedSearch* FormAdvancedSearch;
extern TFormRequests* FormRequests;
