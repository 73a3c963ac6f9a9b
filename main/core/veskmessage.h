#pragma once
// The program's string table: every text set at run time is loaded from it by
// a 16-bit message identifier when it is needed.
#include <cstdint>
#include <string>

namespace msg {
constexpr uint16_t Caption = 257;  // "Kintrail", caption of every message box
constexpr uint16_t NeedReconnect = 769;
constexpr uint16_t UnableToLogIn = 1025;
constexpr uint16_t CouldNotConnect = 1026;
constexpr uint16_t Online = 1281;
constexpr uint16_t Offline = 1282;
constexpr uint16_t AskConnect = 1283;
constexpr uint16_t Disconnected = 1284;
constexpr uint16_t AskDownload = 1285;
constexpr uint16_t NewRequest = 1286;
constexpr uint16_t RequestAnswered = 1287;
constexpr uint16_t NewRequestAndAnswer = 1288;
constexpr uint16_t CheckingRequests = 1289;
constexpr uint16_t WebSending = 2305;
constexpr uint16_t WebWaiting = 2306;
constexpr uint16_t WebReceiving = 2307;
constexpr uint16_t ResponseError = 3841;
constexpr uint16_t StepSending = 4097;
constexpr uint16_t StepSent = 4098;
constexpr uint16_t StepReceiving = 4099;
constexpr uint16_t StepOK = 4100;
}  // namespace msg

// The text of message `id` (UTF-8); the empty text for an unknown identifier.
std::string LoadMessage(uint16_t id);

// printf-style formatting of a loaded message ("%d", "%s" with C strings).
std::string FormatMessage(uint16_t id, ...);
