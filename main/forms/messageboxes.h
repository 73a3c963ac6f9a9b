#pragma once
// The four message boxes of the client, captioned "Kintrail" (message 257),
// each taking a text or a message identifier. They go through the platform's
// replaceable box, so window tests answer them.
#include <cstdint>
#include <string>

void ShowErrorMessage(const std::string& text);
void ShowErrorMessage(uint16_t id);
void ShowWarningMessage(const std::string& text);
void ShowWarningMessage(uint16_t id);
void ShowInfoMessage(const std::string& text);
void ShowInfoMessage(uint16_t id);
// True when the user chose Yes.
bool AskYesNo(const std::string& text);
bool AskYesNo(uint16_t id);
