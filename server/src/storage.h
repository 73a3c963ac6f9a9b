#pragma once
// What the server keeps, behind an interface: SQLite now, a server database
// later. Times are seconds since the Unix epoch; texts are UTF-8. Every
// operation is atomic and may be called from several threads at once.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "client_version.h"
#include "summary_document.h"

namespace kt::server {

using Id = int64_t;

struct AccountRecord {
  Id id = 0;
  std::string login;
  std::string passwordHash;
  std::string town;
  std::string country;  // ISO 3166 two-letter code
  std::optional<double> latitude, longitude;
  int64_t created = 0;
};

struct SessionRecord {
  std::string tokenDigest;
  Id accountId = 0;
  ClientVersion clientVersion = 0;
  int64_t created = 0;
  int64_t lastSeen = 0;
};

// Years kept: an individual whose birth or death year lies in [min, max];
// without a range every individual, with or without years.
struct YearRange {
  int min = 0;
  int max = 10000;
  bool IsAll() const { return min <= 0 && max >= 10000; }
};

// Individuals born after `bornAfter` with no death are living people and
// never shown.
struct PrivacyRule {
  int bornAfter = 0;
};

struct GenealogistQuery {
  std::string lastNameKey;
  YearRange years;
  PrivacyRule privacy;
};

struct GenealogistRow {
  Id accountId = 0;
  std::string login, town;
  std::optional<double> latitude, longitude;
  std::string lastName;
  std::optional<int> minYear, maxYear;
  int64_t count = 0;
};

struct IndividualQuery {
  std::string lastNameKey;
  std::optional<Id> accountId;      // only this genealogist's files
  std::string firstNamesContain;    // ContainsKey form; empty for any
  std::optional<std::string> place; // birth or death place, exactly
  YearRange years;
  PrivacyRule privacy;
};

struct IndividualRow {
  Id individualId = 0;
  Id accountId = 0;
  std::string login;
  std::string lastName, firstNames;
  std::optional<int> birthYear, deathYear;
  std::string birthPlace, deathPlace;
};

struct LocationQuery {
  std::string lastNameKey;
  std::string firstNamesContain;
  std::string placeContains;  // ContainsKey form; empty for any
  int64_t minIndividuals = 0;
  YearRange years;
  PrivacyRule privacy;
};

struct LocationRow {
  std::string place;
  std::optional<int> minYear, maxYear;
  int64_t count = 0;
};

template <typename Row>
struct PageOf {
  std::vector<Row> rows;
  int64_t total = 0;  // rows of the whole result
};

// One individual as a request names it.
struct IndividualRef {
  Id individualId = 0;
  Id gedcomId = 0;
  Id accountId = 0;
  std::string xref;
  std::string fullName;
};

enum class QuestionStatus { Waiting = 0, Accepted = 1, Refused = 2, Unavailable = 3 };

struct QuestionRecord {
  Id id = 0;
  Id askerId = 0;
  Id addresseeId = 0;
  std::optional<Id> gedcomId;  // gone once the file is no longer shared
  std::string xref;
  std::string fullName;
  int type = 0;
  QuestionStatus status = QuestionStatus::Waiting;
  int64_t posted = 0;
  std::optional<int64_t> read, answered;
};

// A request as one account lists it, with the other party's name.
struct QuestionListItem {
  QuestionRecord question;
  bool mine = false;
  Id otherAccountId = 0;
  std::string otherLogin;
};

enum class StoreOutcome { Created, Replaced, OtherAccount };
struct StoreResult {
  StoreOutcome outcome = StoreOutcome::Created;
  Id gedcomId = 0;
};

struct Town {
  std::string name;
  std::string nameKey;  // ContainsKey(name)
  std::string asciiName;
  std::string country;
  double latitude = 0, longitude = 0;
  int64_t population = 0;
};

struct Statistics {
  int64_t accounts = 0, sessions = 0, gedcoms = 0, individuals = 0, questions = 0, towns = 0;
};

struct SurnameCount {
  std::string lastName;
  int64_t count = 0;
};

class Storage {
public:
  virtual ~Storage() = default;

  // Accounts. CreateAccount gives nullopt when the login is taken (logins
  // differ by more than letter case).
  virtual std::optional<Id> CreateAccount(const AccountRecord& account) = 0;
  virtual std::optional<AccountRecord> FindAccountByLogin(const std::string& login) = 0;
  virtual std::optional<AccountRecord> FindAccount(Id id) = 0;
  virtual std::vector<AccountRecord> ListAccounts() = 0;
  virtual std::vector<AccountRecord> RecentAccounts(int limit) = 0;

  // Sessions, by token digest.
  virtual void CreateSession(const SessionRecord& session) = 0;
  virtual std::optional<SessionRecord> FindSession(const std::string& tokenDigest) = 0;
  virtual void TouchSession(const std::string& tokenDigest, int64_t now) = 0;
  virtual void DeleteSession(const std::string& tokenDigest) = 0;
  virtual void DeleteSessionsIdleSince(int64_t lastSeenBefore) = 0;

  // Settings shared by every server process on this storage.
  virtual std::optional<std::string> Setting(const std::string& name) = 0;
  virtual void SetSetting(const std::string& name, const std::string& value) = 0;

  // Shared files. StoreSummary replaces `requestedId` when it is one of the
  // account's files, refuses when it is another account's, else creates a
  // new file; all or nothing.
  // `privacy` is today's rule; storage may keep counts computed with it.
  virtual StoreResult StoreSummary(Id accountId, Id requestedId,
                                   const std::vector<SummaryIndividual>& individuals, int64_t now,
                                   PrivacyRule privacy) = 0;
  virtual std::vector<Id> GedcomIds(Id accountId) = 0;
  // Forgets the account's files not in `keep`: their individuals go, and
  // their waiting requests become Unavailable without a file.
  virtual void ForgetGedcomsExcept(Id accountId, const std::vector<Id>& keep) = 0;

  // Searches, one page of `limit` rows from `offset`.
  virtual PageOf<GenealogistRow> SearchGenealogists(const GenealogistQuery& query, int64_t offset,
                                                    int64_t limit) = 0;
  virtual PageOf<IndividualRow> SearchIndividuals(const IndividualQuery& query, int64_t offset,
                                                  int64_t limit) = 0;
  virtual PageOf<LocationRow> SearchLocations(const LocationQuery& query, int64_t offset,
                                              int64_t limit) = 0;
  virtual std::optional<IndividualRef> FindIndividual(Id individualId) = 0;
  virtual std::vector<SurnameCount> TopSurnames(int limit, PrivacyRule privacy) = 0;

  // Requests.
  virtual Id CreateQuestion(const QuestionRecord& question) = 0;
  virtual std::optional<QuestionRecord> FindQuestion(Id id) = 0;
  // Marks the account's received requests read at `now` where they were not,
  // then lists every request it made or received, newest first.
  virtual std::vector<QuestionListItem> ListQuestions(Id accountId, int64_t now) = 0;
  // Changes the status when it is still `from`; false when it was not.
  virtual bool RefuseQuestion(Id id, int64_t now) = 0;
  virtual bool AnswerQuestion(Id id, const std::string& extract, int64_t now) = 0;
  virtual std::optional<std::string> QuestionAnswer(Id id) = 0;
  virtual void DeleteQuestion(Id id) = 0;

  // The gazetteer of towns, loaded once.
  virtual int64_t TownCount() = 0;
  virtual void AddTowns(const std::vector<Town>& towns) = 0;
  // The most populous town of that name (ContainsKey form) in the country.
  virtual std::optional<Town> FindTown(const std::string& nameKey, const std::string& country) = 0;

  virtual Statistics Stats() = 0;
};

}  // namespace kt::server
