#pragma once
// Passwords (Argon2id) and session tokens.
#include <string>
#include <string_view>

namespace kt::server {

// Initialises libsodium; false when the library cannot run here.
bool InitCredentials();

// Argon2id hash in libsodium's self-describing text form.
std::string HashPassword(std::string_view password);
bool VerifyPassword(std::string_view hash, std::string_view password);
// Spends the same time as a verification, for logins that do not exist.
void VerifyAgainstNothing(std::string_view password);

// 256 random bits as 64 lower-case hexadecimal digits.
std::string NewSessionToken();
// What the database keeps of a token: its SHA-256, so that a copy of the
// database does not hand out live sessions.
std::string TokenDigest(std::string_view token);

}  // namespace kt::server
