#pragma once
// The process-wide objects every part of the client reaches without passing
// them: Globals(), Params() and Config(), each built on first use.
#include <memory>
#include <string>

#include "core/veskparams.h"

class TXMLParser;
class TWebClientFactory;
class TVersInfo;
class TVeskConfig;

class TVeskGlobals {
 public:
  TVeskGlobals();
  // Releases the session factory (ending an open session without notifying
  // anyone), then the parser, then the version object.
  ~TVeskGlobals();
  TVeskGlobals(const TVeskGlobals&) = delete;
  TVeskGlobals& operator=(const TVeskGlobals&) = delete;

  std::unique_ptr<TXMLParser> Parser;
  std::unique_ptr<TWebClientFactory> WebClientFactory;
  std::unique_ptr<TVersInfo> VersInfo;
  std::string Language;       // "fr", "en" or "de"
  std::string ProgramFolder;  // with a trailing '/'

  // Starts the viewer beside the program with `parameters` (a GEDCOM path or
  // nothing); does not wait and reports nothing.
  void LaunchViewer(const std::string& parameters) const;
};

TVeskGlobals& Globals();
TVeskParams& Params();
TVeskConfig& Config();

// Ends the process-wide objects in their exit order: the configuration first
// (it saves the file once more), then the global services, then the command
// line; a later accessor call builds them anew. Waits briefly for a logout
// request still on its way.
void DestroyVeskObjects();

// The application has been told to end (Quit): the session no longer notifies.
bool ApplicationTerminating();
void SetApplicationTerminating(bool terminating);
