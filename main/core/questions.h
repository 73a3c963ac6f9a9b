#pragma once
// The last list of requests fetched from the server, kept in the
// configuration file as rows of twelve attributes.
#include "core/xmlrecordset.h"

class TGedcoms;

class TQuestions : public TXMLRecordset {
 public:
  explicit TQuestions(TGedcoms& gedcoms);

  TGedcoms* Gedcoms;  // not owned
};
