#include "core/veskparams.h"

#include <strings.h>
#include <QCoreApplication>
#include <QStringList>

namespace {
bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}
}  // namespace

TVeskParams::TVeskParams() {
  if (!QCoreApplication::instance()) return;
  const QStringList arguments = QCoreApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) Arguments.push_back(arguments[i].toStdString());
}

bool TVeskParams::HasParam(const std::string& name) const {
  for (const std::string& argument : Arguments)
    if (EqualNoCase(argument, name)) return true;
  return false;
}

std::string TVeskParams::ParamValue(const std::string& name) const {
  for (const std::string& argument : Arguments) {
    const size_t equals = argument.find('=');
    if (equals != std::string::npos && EqualNoCase(argument.substr(0, equals), name))
      return argument.substr(equals + 1);
  }
  return {};
}
