#include "core/questions.h"

TQuestions::TQuestions(TGedcoms& gedcoms) : Gedcoms(&gedcoms) {
  for (const char* field : {"mine", "questionid", "accountid", "login", "posteddate", "readdate",
                            "answereddate", "status", "gedcom_type", "gedcom_gedcomid",
                            "gedcom_gedcomindividualid", "gedcom_individualfullname"})
    AddField(field);
}
