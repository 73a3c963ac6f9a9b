#pragma once
// Small GEDCOM files written by the tests into their work folder.
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <string>

#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace ktviewer::testing {

// Writes `text` (LF line ends, as today's files have) and returns the path.
inline QString WriteGedcom(const QString& name, const std::string& text) {
  QFile file(name);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();
  return QFileInfo(file).absoluteFilePath();
}

inline QString TestData(const QString& name) {
  return QStringLiteral(KINTRAIL_TESTDATA_DIR "/gedcom/") + name;
}

// A family over three generations around Jean DUPONT (I1), a woman with two
// unions (I7: 13 children with I8, one with I9), a FAMS pointing nowhere and
// a family with two WIFE lines (I10), and people with odd events.
inline std::string FamilyFixture() {
  std::string g =
      "0 HEAD\n1 CHAR UTF-8\n"
      "0 @I1@ INDI\n1 NAME Jean /Dupont/\n1 SEX M\n1 BIRT\n2 DATE 12 MAR 1850\n2 PLAC PARIS\n"
      "1 DEAT\n2 DATE 1920\n2 PLAC saint-germain en laye\n1 FAMC @F1@\n1 FAMS @F2@\n"
      "0 @I2@ INDI\n1 NAME Pierre /Dupont/\n1 SEX M\n1 FAMC @F3@\n1 FAMS @F1@\n"
      "0 @I3@ INDI\n1 NAME Louise /Martin/\n1 SEX F\n1 FAMC @F7@\n1 FAMS @F1@\n"
      "0 @I4@ INDI\n1 NAME Paul /Dupont/\n1 SEX M\n1 FAMS @F3@\n"
      "0 @I5@ INDI\n1 NAME Anne /Leroy/\n1 SEX F\n1 FAMS @F3@\n"
      "0 @I6@ INDI\n1 NAME Sophie /Bernard/\n1 SEX F\n1 FAMS @F2@\n"
      "0 @I7@ INDI\n1 NAME Marie /Petit/\n1 SEX F\n1 FAMS @F4@\n1 FAMS @F5@\n"
      "0 @I8@ INDI\n1 NAME Louis /Durand/\n1 SEX M\n1 FAMS @F4@\n"
      "0 @I9@ INDI\n1 NAME Henri /Moreau/\n1 SEX M\n1 FAMS @F5@\n"
      "0 @I10@ INDI\n1 NAME Marc /Roux/\n1 SEX M\n1 FAMS @F99@\n1 FAMS @F6@\n"
      "0 @I11@ INDI\n1 NAME Claire /Roux/\n1 SEX F\n1 BIRT\n2 PLAC LYON\n1 DEAT\n2 DATE 1901\n"
      "0 @I12@ INDI\n1 NAME Alice /Roux/\n1 SEX F\n"
      "0 @I13@ INDI\n1 NAME Emile /Dupont/\n1 SEX M\n1 FAMC @F2@\n"
      "0 @I14@ INDI\n1 NAME Jacques /Martin/\n1 SEX M\n1 FAMS @F7@\n";
  for (int c = 0; c < 13; ++c)
    g += "0 @C" + std::to_string(c + 1) + "@ INDI\n1 NAME Child" + std::to_string(c + 1) +
         " /Durand/\n1 SEX M\n1 FAMC @F4@\n";
  g += "0 @I15@ INDI\n1 NAME Lea /Moreau/\n1 SEX F\n1 FAMC @F5@\n";
  g += "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I3@\n1 CHIL @I1@\n";
  g += "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I6@\n1 CHIL @I13@\n";
  g += "0 @F3@ FAM\n1 HUSB @I4@\n1 WIFE @I5@\n1 CHIL @I2@\n";
  g += "0 @F4@ FAM\n1 HUSB @I8@\n1 WIFE @I7@\n";
  for (int c = 0; c < 13; ++c) g += "1 CHIL @C" + std::to_string(c + 1) + "@\n";
  g += "0 @F5@ FAM\n1 HUSB @I9@\n1 WIFE @I7@\n1 CHIL @I15@\n";
  g += "0 @F6@ FAM\n1 HUSB @I10@\n1 WIFE @I11@\n1 WIFE @I12@\n";
  g += "0 @F7@ FAM\n1 HUSB @I14@\n1 CHIL @I3@\n";
  g += "0 TRLR\n";
  return g;
}

}  // namespace ktviewer::testing
