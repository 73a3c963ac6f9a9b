#include "core/veskglobals.h"

#include <QLocale>
#include <chrono>

#include "core/curldriver.h"
#include "core/shell.h"
#include "core/versinfo.h"
#include "core/veskconfig.h"
#include "core/webclientfactory.h"
#include "core/xmlparser.h"
#include "kintrail/platform/folders.h"
#include "kintrail/platform_qt/qtdatetime.h"

namespace {
std::unique_ptr<TVeskGlobals> GlobalsInstance;
std::unique_ptr<TVeskParams> ParamsInstance;
std::unique_ptr<TVeskConfig> ConfigInstance;
bool Terminating = false;
constexpr auto LogoutGrace = std::chrono::seconds(2);
}  // namespace

TVeskGlobals::TVeskGlobals() {
  Language = kt::UserLanguageCode(QLocale()).toStdString();
  Parser = std::make_unique<TXMLParser>();
  VersInfo = std::make_unique<TVersInfo>();
  WebClientFactory = std::make_unique<TWebClientFactory>(Parser.get(), VersInfo.get());
  ProgramFolder = kt::ProgramFolder();
  if (ProgramFolder.empty() || ProgramFolder.back() != '/') ProgramFolder += '/';
}

TVeskGlobals::~TVeskGlobals() {
  WebClientFactory.reset();
  Parser.reset();
  VersInfo.reset();
}

void TVeskGlobals::LaunchViewer(const std::string& parameters) const {
  StartProgram(ProgramFolder + "ktviewer", parameters);
}

TVeskGlobals& Globals() {
  if (!GlobalsInstance) GlobalsInstance = std::make_unique<TVeskGlobals>();
  return *GlobalsInstance;
}

TVeskParams& Params() {
  if (!ParamsInstance) ParamsInstance = std::make_unique<TVeskParams>();
  return *ParamsInstance;
}

TVeskConfig& Config() {
  if (!ConfigInstance) ConfigInstance = std::make_unique<TVeskConfig>();
  return *ConfigInstance;
}

void DestroyVeskObjects() {
  ConfigInstance.reset();
  GlobalsInstance.reset();
  ParamsInstance.reset();
  TCurlDriver::Instance().FinishDetached(LogoutGrace);
  Terminating = false;
}

bool ApplicationTerminating() {
  return Terminating;
}
void SetApplicationTerminating(bool terminating) {
  Terminating = terminating;
}
