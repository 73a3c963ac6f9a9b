#pragma once
// The embedded storage: one SQLite database file in WAL mode.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sqlite_connection.h"
#include "storage.h"

namespace kt::server {

class SqliteStorage final : public Storage {
public:
  // Opens (creating when missing) the database and brings its schema up to
  // the current version.
  explicit SqliteStorage(const std::string& path);
  ~SqliteStorage() override;

  static int SchemaVersion();

  std::optional<Id> CreateAccount(const AccountRecord& account) override;
  std::optional<AccountRecord> FindAccountByLogin(const std::string& login) override;
  std::optional<AccountRecord> FindAccount(Id id) override;
  std::vector<AccountRecord> ListAccounts() override;
  std::vector<AccountRecord> RecentAccounts(int limit) override;

  void CreateSession(const SessionRecord& session) override;
  std::optional<SessionRecord> FindSession(const std::string& tokenDigest) override;
  void TouchSession(const std::string& tokenDigest, int64_t now) override;
  void DeleteSession(const std::string& tokenDigest) override;
  void DeleteSessionsIdleSince(int64_t lastSeenBefore) override;

  std::optional<std::string> Setting(const std::string& name) override;
  void SetSetting(const std::string& name, const std::string& value) override;

  StoreResult StoreSummary(Id accountId, Id requestedId,
                           const std::vector<SummaryIndividual>& individuals, int64_t now,
                           PrivacyRule privacy) override;
  std::vector<Id> GedcomIds(Id accountId) override;
  void ForgetGedcomsExcept(Id accountId, const std::vector<Id>& keep) override;

  PageOf<GenealogistRow> SearchGenealogists(const GenealogistQuery& query, int64_t offset,
                                            int64_t limit) override;
  PageOf<IndividualRow> SearchIndividuals(const IndividualQuery& query, int64_t offset,
                                          int64_t limit) override;
  PageOf<LocationRow> SearchLocations(const LocationQuery& query, int64_t offset,
                                      int64_t limit) override;
  std::optional<IndividualRef> FindIndividual(Id individualId) override;
  std::vector<SurnameCount> TopSurnames(int limit, PrivacyRule privacy) override;

  Id CreateQuestion(const QuestionRecord& question) override;
  std::optional<QuestionRecord> FindQuestion(Id id) override;
  std::vector<QuestionListItem> ListQuestions(Id accountId, int64_t now) override;
  bool RefuseQuestion(Id id, int64_t now) override;
  bool AnswerQuestion(Id id, const std::string& extract, int64_t now) override;
  std::optional<std::string> QuestionAnswer(Id id) override;
  void DeleteQuestion(Id id) override;

  int64_t TownCount() override;
  void AddTowns(const std::vector<Town>& towns) override;
  std::optional<Town> FindTown(const std::string& nameKey, const std::string& country) override;

  Statistics Stats() override;

private:
  friend class BorrowedConnection;
  std::unique_ptr<SqliteConnection> Open();
  std::unique_ptr<SqliteConnection> Acquire();
  void Release(std::unique_ptr<SqliteConnection> connection);
  void Migrate(SqliteConnection& connection);

  std::string path_;
  std::mutex poolMutex_;
  std::vector<std::unique_ptr<SqliteConnection>> pool_;
};

}  // namespace kt::server
