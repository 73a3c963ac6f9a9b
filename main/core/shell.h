#pragma once
// Handing things to the desktop: a URL or document to its default
// application, a page of the service's web site to the browser.
#include <functional>
#include <string>

// Opens `target` (a URL or a file) with the desktop's default action; does not
// wait and reports nothing.
void RunProgram(const std::string& target);

// Opens the server's page for `folder` ("register", "support", "help", "news",
// "download"): server + "/web/_client/softlinks.asp?folder=" + folder, with
// "http://" in front unless it starts with exactly "http://" or "https://".
void OpenWebFolder(const std::string& folder);

// Starts `program` with `parameters` (one argument, none when empty) detached.
void StartProgram(const std::string& program, const std::string& parameters);

// Test hook: receives what would be opened or started instead of the desktop
// (`parameters` empty for RunProgram). An empty function restores the desktop.
using TShellHandler = std::function<void(const std::string& target, const std::string& parameters)>;
void SetShellHandler(TShellHandler handler);
