#include "credentials.h"

#include <sodium.h>

#include <mutex>
#include <stdexcept>

namespace kt::server {
namespace {

std::string Hex(const unsigned char* bytes, size_t size) {
  std::string out(size * 2 + 1, '\0');
  sodium_bin2hex(out.data(), out.size(), bytes, size);
  out.pop_back();
  return out;
}

}  // namespace

bool InitCredentials() { return sodium_init() >= 0; }

std::string HashPassword(std::string_view password) {
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str_alg(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                            crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0) {
    throw std::runtime_error("Out of memory while hashing a password");
  }
  return out;
}

bool VerifyPassword(std::string_view hash, std::string_view password) {
  const std::string terminated(hash);
  return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

void VerifyAgainstNothing(std::string_view password) {
  static std::once_flag once;
  static std::string dummy;
  std::call_once(once, [] { dummy = HashPassword("no account has this password"); });
  (void)VerifyPassword(dummy, password);
}

std::string NewSessionToken() {
  unsigned char bytes[32];
  randombytes_buf(bytes, sizeof bytes);
  return Hex(bytes, sizeof bytes);
}

std::string TokenDigest(std::string_view token) {
  unsigned char digest[crypto_hash_sha256_BYTES];
  crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(token.data()), token.size());
  return Hex(digest, sizeof digest);
}

}  // namespace kt::server
