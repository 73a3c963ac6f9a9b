// Seeds a benchmark database: genealogists with shared files of generated
// individuals whose surnames follow a long-tailed distribution, and live
// sessions whose tokens are written for the load generator.
#include <chrono>
#include <cmath>
#include <fstream>
#include <iostream>
#include <random>

#include "credentials.h"
#include "name_keys.h"
#include "sqlite_storage.h"

using namespace kt::server;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: server_bench_seed DB TOKENS_FILE [GENEALOGISTS [INDIVIDUALS [SESSIONS]]]\n"
                 "       server_bench_seed DB TOKENS_FILE --sessions N   (fresh sessions only)\n";
    return 2;
  }
  const bool sessionsOnly = argc > 3 && std::string(argv[3]) == "--sessions";
  const std::string db = argv[1];
  const std::string tokensFile = argv[2];
  const int genealogists = sessionsOnly ? 1000 : argc > 3 ? std::atoi(argv[3]) : 1000;
  const long individuals = argc > 4 ? std::atol(argv[4]) : 2'000'000;
  const int sessions = sessionsOnly ? std::atoi(argv[4]) : argc > 5 ? std::atoi(argv[5]) : 200;
  if (!InitCredentials()) return 1;
  SqliteStorage storage(db);
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();

  if (!sessionsOnly) {
  // 20000 surnames; the k-th is drawn with weight 1/k (rank 1 "COMMON" is
  // about one individual in ten, the last ones a handful each).
  const int surnames = 20000;
  std::vector<double> cumulative(surnames);
  double total = 0;
  for (int k = 0; k < surnames; ++k) cumulative[k] = (total += 1.0 / (k + 1));
  auto surname = [](int k) { return k == 0 ? std::string("COMMON") : k == surnames - 1 ? std::string("RARE") : "NAME" + std::to_string(k); };
  const char* given[] = {"JEAN", "MARIE", "PIERRE", "ANNE", "LOUIS", "JEANNE", "JACQUES", "CATHERINE"};
  const char* places[] = {"PARIS", "LYON", "MARSEILLE", "LILLE", "NANTES", "BORDEAUX", "ROUEN", "TOURS"};

  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> pick(0, total);
  const std::string hash = HashPassword("bench-password");
  const long perGenealogist = individuals / genealogists;
  const long perFile = std::max<long>(1, perGenealogist / 2);
  long made = 0;
  for (int g = 0; g < genealogists; ++g) {
    AccountRecord account;
    account.login = "genealogist" + std::to_string(g);
    account.passwordHash = hash;
    account.town = places[g % 8];
    account.country = "FR";
    account.latitude = 42 + (g % 90) * 0.1;
    account.longitude = -4 + (g % 80) * 0.1;
    account.created = now;
    const auto id = storage.CreateAccount(account);
    if (!id) continue;
    for (long start = 0; start < perGenealogist; start += perFile) {
      std::vector<SummaryIndividual> file;
      for (long i = 0; i < perFile && start + i < perGenealogist; ++i) {
        const double r = pick(random);
        const int k = static_cast<int>(std::lower_bound(cumulative.begin(), cumulative.end(), r) - cumulative.begin());
        SummaryIndividual person;
        person.xref = "I" + std::to_string(start + i);
        person.lastName = surname(std::min(k, surnames - 1));
        person.lastNameKey = LastNameKey(person.lastName);
        person.firstNames = given[random() % 8];
        person.firstNamesKey = ContainsKey(person.firstNames);
        person.birthYear = 1600 + static_cast<int>(random() % 300);
        person.birthPlace = places[random() % 8];
        if (random() % 2) person.deathYear = *person.birthYear + 20 + static_cast<int>(random() % 60);
        file.push_back(std::move(person));
      }
      made += static_cast<long>(file.size());
      storage.StoreSummary(*id, 0, file, now, PrivacyRule{1925});
    }
  }
  // Make sure the rare name exists, a few times.
  std::vector<SummaryIndividual> rare;
  for (int i = 0; i < 5; ++i) {
    SummaryIndividual person;
    person.xref = "R" + std::to_string(i);
    person.lastName = "RARE";
    person.lastNameKey = "RARE";
    person.firstNames = "ZOE";
    person.firstNamesKey = "ZOE";
    person.birthYear = 1800 + i;
    rare.push_back(person);
  }
  storage.StoreSummary(1, 0, rare, now, PrivacyRule{1925});
  std::cout << "seeded " << genealogists << " genealogists, " << made + 5 << " individuals\n";
  }


  std::ofstream tokens(tokensFile);
  for (int s = 0; s < sessions; ++s) {
    const std::string token = NewSessionToken();
    SessionRecord session{TokenDigest(token), 1 + s % genealogists, 0x0000000200010000ULL, now, now};
    storage.CreateSession(session);
    tokens << token << "\n";
  }
  std::cout << sessions << " sessions\n";
  return 0;
}
