#pragma once
// Administration from the command line, on the same database as the server.
#include <iosfwd>

#include "server_options.h"
#include "storage.h"

namespace kt::server {

// Runs options.command; returns the process exit status.
int RunAdminCommand(Storage& storage, const ServerOptions& options, std::istream& in, std::ostream& out,
                    std::ostream& err);

// The account scripts/run and first-time users log in with.
inline constexpr const char* kDemoLogin = "demo";
inline constexpr const char* kDemoPassword = "kintrail-demo";
// Creates it (in Paris) when no account exists yet; true when it was made.
bool SeedDemoAccount(Storage& storage);

}  // namespace kt::server
