#include "sqlite_storage.h"

#include <sqlite3.h>

#include <algorithm>
#include <unordered_map>

#include "name_keys.h"

namespace kt::server {

// A connection taken from the pool for one operation and given back after.
class BorrowedConnection {
public:
  explicit BorrowedConnection(SqliteStorage& storage) : storage_(storage), connection_(storage.Acquire()) {}
  ~BorrowedConnection() { storage_.Release(std::move(connection_)); }
  SqliteConnection& operator*() { return *connection_; }
  SqliteConnection* operator->() { return connection_.get(); }

private:
  SqliteStorage& storage_;
  std::unique_ptr<SqliteConnection> connection_;
};

namespace {

// Each entry brings the schema from the version before it to its own.
const char* const kMigrations[] = {
    // 1: accounts, sessions, shared files and their individuals, requests, towns.
    R"sql(
CREATE TABLE settings(name TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE accounts(
  id INTEGER PRIMARY KEY,
  login TEXT NOT NULL UNIQUE COLLATE NOCASE,
  password_hash TEXT NOT NULL,
  town TEXT NOT NULL,
  country TEXT NOT NULL,
  latitude REAL,
  longitude REAL,
  created INTEGER NOT NULL);
CREATE TABLE sessions(
  token_digest TEXT PRIMARY KEY,
  account_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
  client_version INTEGER NOT NULL,
  created INTEGER NOT NULL,
  last_seen INTEGER NOT NULL) WITHOUT ROWID;
CREATE INDEX sessions_last_seen ON sessions(last_seen);
CREATE TABLE gedcoms(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  account_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
  uploaded INTEGER NOT NULL,
  individual_count INTEGER NOT NULL);
CREATE INDEX gedcoms_account ON gedcoms(account_id);
CREATE TABLE places(id INTEGER PRIMARY KEY, text TEXT NOT NULL UNIQUE, key TEXT NOT NULL);
CREATE TABLE individuals(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  gedcom_id INTEGER NOT NULL REFERENCES gedcoms(id) ON DELETE CASCADE,
  account_id INTEGER NOT NULL,
  xref TEXT NOT NULL,
  last_name TEXT NOT NULL,
  last_name_key TEXT NOT NULL,
  first_names TEXT NOT NULL,
  first_names_key TEXT NOT NULL,
  birth_year INTEGER,
  birth_place_id INTEGER,
  death_year INTEGER,
  death_place_id INTEGER);
CREATE INDEX individuals_name ON individuals(last_name_key, account_id);
CREATE INDEX individuals_gedcom ON individuals(gedcom_id);
CREATE TABLE questions(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  asker_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
  addressee_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
  gedcom_id INTEGER,
  xref TEXT NOT NULL,
  full_name TEXT NOT NULL,
  type INTEGER NOT NULL,
  status INTEGER NOT NULL,
  posted INTEGER NOT NULL,
  read INTEGER,
  answered INTEGER,
  extract BLOB);
CREATE INDEX questions_asker ON questions(asker_id);
CREATE INDEX questions_addressee ON questions(addressee_id);
CREATE INDEX questions_gedcom ON questions(gedcom_id);
CREATE TABLE towns(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  name_key TEXT NOT NULL,
  ascii_key TEXT NOT NULL,
  country TEXT NOT NULL,
  latitude REAL NOT NULL,
  longitude REAL NOT NULL,
  population INTEGER NOT NULL);
CREATE INDEX towns_name ON towns(name_key, country);
CREATE INDEX towns_ascii ON towns(ascii_key, country);
)sql",
    // 2: the searches by name read only this index, in account order, so a
    // surname shared by a tenth of everyone is counted without the table.
    R"sql(
DROP INDEX individuals_name;
CREATE INDEX individuals_name_years ON individuals(
  last_name_key, account_id, birth_year, death_year, last_name, first_names_key);
)sql",
    // 3: counts of each surname in each file, for the world search without
    // years. Individuals hidden as living when the counts were made are left
    // out; hidden_min_birth tells when one of them may have become visible.
    R"sql(
CREATE TABLE name_counts(
  last_name_key TEXT NOT NULL,
  account_id INTEGER NOT NULL,
  gedcom_id INTEGER NOT NULL REFERENCES gedcoms(id) ON DELETE CASCADE,
  last_name TEXT NOT NULL,
  n INTEGER NOT NULL,
  min_birth INTEGER, min_death INTEGER, max_birth INTEGER, max_death INTEGER,
  hidden_min_birth INTEGER,
  PRIMARY KEY (last_name_key, account_id, gedcom_id)) WITHOUT ROWID;
CREATE INDEX name_counts_gedcom ON name_counts(gedcom_id);
)sql",
    // 4: the same counts summed per account, ordered by count, so that a
    // surname half the genealogists share is answered from one page of them.
    R"sql(
CREATE INDEX name_counts_account ON name_counts(account_id);
CREATE TABLE account_name_counts(
  last_name_key TEXT NOT NULL,
  account_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
  last_name TEXT NOT NULL,
  n INTEGER NOT NULL,
  min_birth INTEGER, min_death INTEGER, max_birth INTEGER, max_death INTEGER,
  hidden_min_birth INTEGER,
  PRIMARY KEY (last_name_key, account_id)) WITHOUT ROWID;
CREATE INDEX account_name_counts_rank ON account_name_counts(last_name_key, n DESC, account_id);
)sql",
    // 5: counts of each surname at each place in each file, for the advanced
    // search's places without a given name or years.
    R"sql(
CREATE TABLE place_counts(
  last_name_key TEXT NOT NULL,
  place_id INTEGER NOT NULL,
  gedcom_id INTEGER NOT NULL REFERENCES gedcoms(id) ON DELETE CASCADE,
  n INTEGER NOT NULL,
  min_birth INTEGER, min_death INTEGER, max_birth INTEGER, max_death INTEGER,
  hidden_min_birth INTEGER,
  PRIMARY KEY (last_name_key, place_id, gedcom_id)) WITHOUT ROWID;
CREATE INDEX place_counts_gedcom ON place_counts(gedcom_id);
)sql",
};

// Sums the account's per-file counts into account_name_counts (all accounts
// when `accountWhere` is empty).
void RefreshAccountCounts(SqliteConnection& c, const std::string& accountWhere) {
  c.Execute("DELETE FROM account_name_counts " + accountWhere);
  c.Execute(
      "INSERT INTO account_name_counts(last_name_key, account_id, last_name, n, min_birth, min_death, "
      "max_birth, max_death, hidden_min_birth) SELECT last_name_key, account_id, MIN(last_name), SUM(n), "
      "MIN(min_birth), MIN(min_death), MAX(max_birth), MAX(max_death), MIN(hidden_min_birth) FROM name_counts " +
      accountWhere + " GROUP BY last_name_key, account_id");
}

// Fills place_counts for the individuals chosen by `where` (an individual
// counts once at a place, whether born or dead there or both).
std::string PlaceCountsFill(const std::string& where, const std::string& cutoff) {
  const std::string visible = "(birth_year IS NULL OR birth_year <= " + cutoff + " OR death_year IS NOT NULL)";
  const std::string and_ = where.empty() ? " WHERE " : " " + where + " AND ";
  return "INSERT INTO place_counts(last_name_key, place_id, gedcom_id, n, min_birth, min_death, max_birth, "
         "max_death, hidden_min_birth) SELECT last_name_key, pid, gedcom_id, SUM(" + visible + "), "
         "MIN(CASE WHEN " + visible + " THEN birth_year END), MIN(CASE WHEN " + visible + " THEN death_year END), "
         "MAX(CASE WHEN " + visible + " THEN birth_year END), MAX(CASE WHEN " + visible + " THEN death_year END), "
         "MIN(CASE WHEN NOT " + visible + " THEN birth_year END) FROM (SELECT id, last_name_key, gedcom_id, "
         "birth_place_id AS pid, birth_year, death_year FROM individuals" + and_ + "birth_place_id IS NOT NULL "
         "UNION SELECT id, last_name_key, gedcom_id, death_place_id, birth_year, death_year FROM individuals" +
         and_ + "death_place_id IS NOT NULL) GROUP BY last_name_key, pid, gedcom_id";
}

// Fills name_counts for the individuals chosen by `where`, `cutoff` being the
// birth year after which an individual without death is hidden.
std::string NameCountsFill(const std::string& where, const std::string& cutoff) {
  const std::string visible = "(birth_year IS NULL OR birth_year <= " + cutoff + " OR death_year IS NOT NULL)";
  return "INSERT INTO name_counts(gedcom_id, account_id, last_name_key, last_name, n, min_birth, min_death, "
         "max_birth, max_death, hidden_min_birth) SELECT gedcom_id, MIN(account_id), last_name_key, "
         "MIN(last_name), SUM(" + visible + "), MIN(CASE WHEN " + visible + " THEN birth_year END), "
         "MIN(CASE WHEN " + visible + " THEN death_year END), MAX(CASE WHEN " + visible + " THEN birth_year END), "
         "MAX(CASE WHEN " + visible + " THEN death_year END), MIN(CASE WHEN NOT " + visible +
         " THEN birth_year END) FROM individuals " + where + " GROUP BY gedcom_id, last_name_key";
}

constexpr int kPoolLimit = 16;

AccountRecord ReadAccount(SqliteStatement& s) {
  AccountRecord a;
  a.id = s.Int(0);
  a.login = s.Text(1);
  a.passwordHash = s.Text(2);
  a.town = s.Text(3);
  a.country = s.Text(4);
  a.latitude = s.OptionalDouble(5);
  a.longitude = s.OptionalDouble(6);
  a.created = s.Int(7);
  return a;
}

constexpr const char* kAccountColumns =
    "id, login, password_hash, town, country, latitude, longitude, created";

std::optional<int> OptionalYear(const SqliteStatement& s, int column) {
  if (s.IsNull(column)) return std::nullopt;
  return static_cast<int>(s.Int(column));
}

// Earliest and latest of birth and death years over two MIN and two MAX columns.
void YearSpan(const SqliteStatement& s, int first, std::optional<int>& minYear,
              std::optional<int>& maxYear) {
  for (int c : {first, first + 1}) {
    if (auto y = OptionalYear(s, c)) minYear = minYear ? std::min(*minYear, *y) : *y;
  }
  for (int c : {first + 2, first + 3}) {
    if (auto y = OptionalYear(s, c)) maxYear = maxYear ? std::max(*maxYear, *y) : *y;
  }
}

// The shared filter of every search: name, privacy and years, with their
// parameters numbered from `first`.
std::string IndividualFilter(const YearRange& years, int first) {
  const std::string n = std::to_string(first);
  std::string where = "i.last_name_key = ?" + n + " AND (i.birth_year IS NULL OR i.birth_year <= ?" +
                      std::to_string(first + 1) + " OR i.death_year IS NOT NULL)";
  if (!years.IsAll()) {
    const std::string lo = std::to_string(first + 2), hi = std::to_string(first + 3);
    where += " AND (i.birth_year BETWEEN ?" + lo + " AND ?" + hi + " OR i.death_year BETWEEN ?" + lo +
             " AND ?" + hi + ")";
  }
  return where;
}

void BindFilter(SqliteStatement& s, const std::string& key, const YearRange& years,
                PrivacyRule privacy, int first) {
  s.Bind(first, key).Bind(first + 1, privacy.bornAfter);
  if (!years.IsAll()) s.Bind(first + 2, years.min).Bind(first + 3, years.max);
}

QuestionRecord ReadQuestion(SqliteStatement& s) {
  QuestionRecord q;
  q.id = s.Int(0);
  q.askerId = s.Int(1);
  q.addresseeId = s.Int(2);
  q.gedcomId = s.OptionalInt(3);
  q.xref = s.Text(4);
  q.fullName = s.Text(5);
  q.type = static_cast<int>(s.Int(6));
  q.status = static_cast<QuestionStatus>(s.Int(7));
  q.posted = s.Int(8);
  q.read = s.OptionalInt(9);
  q.answered = s.OptionalInt(10);
  return q;
}

constexpr const char* kQuestionColumns =
    "q.id, q.asker_id, q.addressee_id, q.gedcom_id, q.xref, q.full_name, q.type, q.status, q.posted, "
    "q.read, q.answered";

// A page asked past the last row carries no row to read the total from: it
// is counted apart, so the client still learns how many pages there are.
template <class Row, class Bind>
void CountWhenPastTheEnd(SqliteConnection& c, PageOf<Row>& page, int64_t offset,
                         const std::string& countSql, Bind bind) {
  if (!page.rows.empty() || offset <= 0) return;
  auto count = c.Prepare(countSql);
  bind(count);
  count.Step();
  page.total = count.Int(0);
}

}  // namespace

int SqliteStorage::SchemaVersion() { return static_cast<int>(std::size(kMigrations)); }

SqliteStorage::SqliteStorage(const std::string& path) : path_(path) {
  auto connection = Open();
  Migrate(*connection);
  Release(std::move(connection));
}

SqliteStorage::~SqliteStorage() = default;

std::unique_ptr<SqliteConnection> SqliteStorage::Open() {
  auto connection = std::make_unique<SqliteConnection>(path_);
  // WAL keeps readers going while one writer commits; synchronous=FULL makes
  // every committed upload survive a power cut, not only a crash.
  connection->Execute("PRAGMA journal_mode=WAL");
  connection->Execute("PRAGMA synchronous=FULL");
  connection->Execute("PRAGMA foreign_keys=ON");
  // Searches read far more than a default page cache holds; the file is
  // mapped so that reads do not copy through system calls.
  connection->Execute("PRAGMA cache_size=-32768");
  connection->Execute("PRAGMA mmap_size=2147483648");
  return connection;
}

std::unique_ptr<SqliteConnection> SqliteStorage::Acquire() {
  {
    std::lock_guard lock(poolMutex_);
    if (!pool_.empty()) {
      auto connection = std::move(pool_.back());
      pool_.pop_back();
      return connection;
    }
  }
  return Open();
}

void SqliteStorage::Release(std::unique_ptr<SqliteConnection> connection) {
  if (!connection) return;
  std::lock_guard lock(poolMutex_);
  if (pool_.size() < kPoolLimit) pool_.push_back(std::move(connection));
}

void SqliteStorage::Migrate(SqliteConnection& connection) {
  SqliteTransaction transaction(connection);
  auto versionQuery = connection.Prepare("PRAGMA user_version");
  versionQuery.Step();
  const int64_t version = versionQuery.Int(0);
  versionQuery.Reset();
  if (version > SchemaVersion()) {
    throw SqliteError("The database was made by a newer server (schema " + std::to_string(version) +
                          ")",
                      0);
  }
  for (int64_t v = version; v < SchemaVersion(); ++v) {
    connection.Execute(kMigrations[v]);
    if (v == 2) connection.Execute(NameCountsFill("", "CAST(strftime('%Y', 'now') AS INTEGER) - 100"));
    if (v == 3) RefreshAccountCounts(connection, "");
    if (v == 4) connection.Execute(PlaceCountsFill("", "CAST(strftime('%Y', 'now') AS INTEGER) - 100"));
  }
  if (version != SchemaVersion()) {
    connection.Execute("PRAGMA user_version=" + std::to_string(SchemaVersion()));
  }
  transaction.Commit();
}

// ---- accounts

std::optional<Id> SqliteStorage::CreateAccount(const AccountRecord& a) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "INSERT INTO accounts(login, password_hash, town, country, latitude, longitude, created) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7) ON CONFLICT(login) DO NOTHING");
  s.Bind(1, a.login).Bind(2, a.passwordHash).Bind(3, a.town).Bind(4, a.country);
  s.Bind(5, a.latitude).Bind(6, a.longitude).Bind(7, a.created);
  s.Run();
  if (c->Changes() == 0) return std::nullopt;
  return c->LastInsertId();
}

std::optional<AccountRecord> SqliteStorage::FindAccountByLogin(const std::string& login) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(std::string("SELECT ") + kAccountColumns + " FROM accounts WHERE login = ?1");
  s.Bind(1, login);
  if (!s.Step()) return std::nullopt;
  return ReadAccount(s);
}

std::optional<AccountRecord> SqliteStorage::FindAccount(Id id) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(std::string("SELECT ") + kAccountColumns + " FROM accounts WHERE id = ?1");
  s.Bind(1, id);
  if (!s.Step()) return std::nullopt;
  return ReadAccount(s);
}

std::vector<AccountRecord> SqliteStorage::ListAccounts() {
  BorrowedConnection c(*this);
  auto s = c->Prepare(std::string("SELECT ") + kAccountColumns + " FROM accounts ORDER BY id");
  std::vector<AccountRecord> out;
  while (s.Step()) out.push_back(ReadAccount(s));
  return out;
}

std::vector<AccountRecord> SqliteStorage::RecentAccounts(int limit) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(std::string("SELECT ") + kAccountColumns +
                      " FROM accounts ORDER BY created DESC, id DESC LIMIT ?1");
  s.Bind(1, limit);
  std::vector<AccountRecord> out;
  while (s.Step()) out.push_back(ReadAccount(s));
  return out;
}

// ---- sessions

void SqliteStorage::CreateSession(const SessionRecord& r) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "INSERT INTO sessions(token_digest, account_id, client_version, created, last_seen) "
      "VALUES (?1, ?2, ?3, ?4, ?5)");
  s.Bind(1, r.tokenDigest).Bind(2, r.accountId).Bind(3, static_cast<int64_t>(r.clientVersion));
  s.Bind(4, r.created).Bind(5, r.lastSeen);
  s.Run();
}

std::optional<SessionRecord> SqliteStorage::FindSession(const std::string& digest) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "SELECT account_id, client_version, created, last_seen FROM sessions WHERE token_digest = ?1");
  s.Bind(1, digest);
  if (!s.Step()) return std::nullopt;
  SessionRecord r;
  r.tokenDigest = digest;
  r.accountId = s.Int(0);
  r.clientVersion = static_cast<ClientVersion>(s.Int(1));
  r.created = s.Int(2);
  r.lastSeen = s.Int(3);
  return r;
}

void SqliteStorage::TouchSession(const std::string& digest, int64_t now) {
  BorrowedConnection c(*this);
  auto s = c->Prepare("UPDATE sessions SET last_seen = ?2 WHERE token_digest = ?1");
  s.Bind(1, digest).Bind(2, now);
  s.Run();
}

void SqliteStorage::DeleteSession(const std::string& digest) {
  BorrowedConnection c(*this);
  auto s = c->Prepare("DELETE FROM sessions WHERE token_digest = ?1");
  s.Bind(1, digest);
  s.Run();
}

void SqliteStorage::DeleteSessionsIdleSince(int64_t before) {
  BorrowedConnection c(*this);
  auto s = c->Prepare("DELETE FROM sessions WHERE last_seen < ?1");
  s.Bind(1, before);
  s.Run();
}

// ---- settings

std::optional<std::string> SqliteStorage::Setting(const std::string& name) {
  BorrowedConnection c(*this);
  auto s = c->Prepare("SELECT value FROM settings WHERE name = ?1");
  s.Bind(1, name);
  if (!s.Step()) return std::nullopt;
  return s.Text(0);
}

void SqliteStorage::SetSetting(const std::string& name, const std::string& value) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "INSERT INTO settings(name, value) VALUES (?1, ?2) "
      "ON CONFLICT(name) DO UPDATE SET value = excluded.value");
  s.Bind(1, name).Bind(2, value);
  s.Run();
}

// ---- shared files

StoreResult SqliteStorage::StoreSummary(Id accountId, Id requestedId,
                                        const std::vector<SummaryIndividual>& individuals, int64_t now,
                                        PrivacyRule privacy) {
  BorrowedConnection c(*this);
  SqliteTransaction transaction(*c);
  StoreResult result;
  if (requestedId > 0) {
    auto owner = c->Prepare("SELECT account_id FROM gedcoms WHERE id = ?1");
    owner.Bind(1, requestedId);
    if (owner.Step()) {
      if (owner.Int(0) != accountId) {
        result.outcome = StoreOutcome::OtherAccount;
        return result;  // rolled back: nothing was written
      }
      result.outcome = StoreOutcome::Replaced;
      result.gedcomId = requestedId;
    }
  }
  if (result.outcome == StoreOutcome::Replaced) {
    for (const char* sql : {"DELETE FROM individuals WHERE gedcom_id = ?1",
                            "DELETE FROM name_counts WHERE gedcom_id = ?1",
                            "DELETE FROM place_counts WHERE gedcom_id = ?1"}) {
      auto wipe = c->Prepare(sql);
      wipe.Bind(1, result.gedcomId);
      wipe.Run();
    }
    auto update = c->Prepare("UPDATE gedcoms SET uploaded = ?2, individual_count = ?3 WHERE id = ?1");
    update.Bind(1, result.gedcomId).Bind(2, now).Bind(3, static_cast<int64_t>(individuals.size()));
    update.Run();
  } else {
    auto insert = c->Prepare("INSERT INTO gedcoms(account_id, uploaded, individual_count) VALUES (?1, ?2, ?3)");
    insert.Bind(1, accountId).Bind(2, now).Bind(3, static_cast<int64_t>(individuals.size()));
    insert.Run();
    result.outcome = StoreOutcome::Created;
    result.gedcomId = c->LastInsertId();
  }

  auto findPlace = c->Prepare("SELECT id FROM places WHERE text = ?1");
  auto addPlace = c->Prepare("INSERT INTO places(text, key) VALUES (?1, ?2)");
  std::unordered_map<std::string, Id> placeIds;
  auto placeId = [&](const std::string& place) -> std::optional<Id> {
    if (place.empty()) return std::nullopt;
    if (auto found = placeIds.find(place); found != placeIds.end()) return found->second;
    Id id = 0;
    findPlace.Reset();
    findPlace.Bind(1, place);
    if (findPlace.Step()) {
      id = findPlace.Int(0);
    } else {
      addPlace.Reset();
      addPlace.Bind(1, place).Bind(2, ContainsKey(place));
      addPlace.Run();
      id = c->LastInsertId();
    }
    placeIds.emplace(place, id);
    return id;
  };

  auto insert = c->Prepare(
      "INSERT INTO individuals(gedcom_id, account_id, xref, last_name, last_name_key, first_names, "
      "first_names_key, birth_year, birth_place_id, death_year, death_place_id) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
  for (const SummaryIndividual& i : individuals) {
    insert.Reset();
    insert.Bind(1, result.gedcomId).Bind(2, accountId).Bind(3, i.xref).Bind(4, i.lastName);
    insert.Bind(5, i.lastNameKey).Bind(6, i.firstNames).Bind(7, i.firstNamesKey);
    insert.Bind(8, i.birthYear ? std::optional<int64_t>(*i.birthYear) : std::nullopt);
    insert.Bind(9, placeId(i.birthPlace));
    insert.Bind(10, i.deathYear ? std::optional<int64_t>(*i.deathYear) : std::nullopt);
    insert.Bind(11, placeId(i.deathPlace));
    insert.Run();
  }
  c->Execute(NameCountsFill("WHERE gedcom_id = " + std::to_string(result.gedcomId),
                            std::to_string(privacy.bornAfter)));
  RefreshAccountCounts(*c, "WHERE account_id = " + std::to_string(accountId));
  c->Execute(PlaceCountsFill("WHERE gedcom_id = " + std::to_string(result.gedcomId),
                             std::to_string(privacy.bornAfter)));
  transaction.Commit();
  return result;
}

std::vector<Id> SqliteStorage::GedcomIds(Id accountId) {
  BorrowedConnection c(*this);
  auto s = c->Prepare("SELECT id FROM gedcoms WHERE account_id = ?1 ORDER BY id");
  s.Bind(1, accountId);
  std::vector<Id> out;
  while (s.Step()) out.push_back(s.Int(0));
  return out;
}

void SqliteStorage::ForgetGedcomsExcept(Id accountId, const std::vector<Id>& keep) {
  BorrowedConnection c(*this);
  SqliteTransaction transaction(*c);
  std::vector<Id> forget;
  {
    auto s = c->Prepare("SELECT id FROM gedcoms WHERE account_id = ?1");
    s.Bind(1, accountId);
    while (s.Step()) {
      const Id id = s.Int(0);
      if (std::find(keep.begin(), keep.end(), id) == keep.end()) forget.push_back(id);
    }
  }
  auto questions = c->Prepare(
      "UPDATE questions SET status = ?2, gedcom_id = NULL WHERE gedcom_id = ?1 AND status = ?3");
  auto individuals = c->Prepare("DELETE FROM individuals WHERE gedcom_id = ?1");
  auto counts = c->Prepare("DELETE FROM name_counts WHERE gedcom_id = ?1");
  auto placeCounts = c->Prepare("DELETE FROM place_counts WHERE gedcom_id = ?1");
  auto gedcom = c->Prepare("DELETE FROM gedcoms WHERE id = ?1");
  for (Id id : forget) {
    questions.Reset();
    questions.Bind(1, id).Bind(2, static_cast<int64_t>(QuestionStatus::Unavailable));
    questions.Bind(3, static_cast<int64_t>(QuestionStatus::Waiting));
    questions.Run();
    individuals.Reset();
    individuals.Bind(1, id);
    individuals.Run();
    counts.Reset();
    counts.Bind(1, id);
    counts.Run();
    placeCounts.Reset();
    placeCounts.Bind(1, id);
    placeCounts.Run();
    gedcom.Reset();
    gedcom.Bind(1, id);
    gedcom.Run();
  }
  if (!forget.empty()) RefreshAccountCounts(*c, "WHERE account_id = " + std::to_string(accountId));
  transaction.Commit();
}

// ---- searches

PageOf<GenealogistRow> SqliteStorage::SearchGenealogists(const GenealogistQuery& q, int64_t offset,
                                                         int64_t limit) {
  BorrowedConnection c(*this);
  PageOf<GenealogistRow> page;
  auto readRow = [&](SqliteStatement& s) {
    GenealogistRow r;
    r.accountId = s.Int(0);
    r.login = s.Text(1);
    r.town = s.Text(2);
    r.latitude = s.OptionalDouble(3);
    r.longitude = s.OptionalDouble(4);
    r.lastName = s.Text(5);
    YearSpan(s, 6, r.minYear, r.maxYear);
    r.count = s.Int(10);
    page.total = s.Int(11);
    page.rows.push_back(std::move(r));
  };
  if (q.years.IsAll()) {
    // Without years the counts kept per file answer, unless someone left out
    // of them as living has since become old enough to be shown (then the
    // individuals are counted afresh below).
    // Accounts whose individuals of that name are all hidden have n = 0:
    // not a row of the result, but they may have become visible too.
    auto summary = c->Prepare(
        "SELECT SUM(n > 0), MIN(hidden_min_birth) FROM account_name_counts WHERE last_name_key = ?1");
    summary.Bind(1, q.lastNameKey);
    summary.Step();
    const int64_t total = summary.Int(0);
    const bool stale = !summary.IsNull(1) && summary.Int(1) <= q.privacy.bornAfter;
    if (!stale) {
      auto s = c->Prepare(
          "SELECT g.account_id, a.login, a.town, a.latitude, a.longitude, g.last_name, g.min_birth, "
          "g.min_death, g.max_birth, g.max_death, g.n, ?4 FROM account_name_counts g "
          "JOIN accounts a ON a.id = g.account_id WHERE g.last_name_key = ?1 AND g.n > 0 "
          "ORDER BY g.n DESC, g.account_id LIMIT ?2 OFFSET ?3");
      s.Bind(1, q.lastNameKey).Bind(2, limit).Bind(3, offset).Bind(4, total);
      while (s.Step()) readRow(s);
      page.total = total;
      return page;
    }
  }
  const std::string where = IndividualFilter(q.years, 1);
  // Grouped first, joined after: the accounts are looked up once a row of
  // the result, not once an individual.
  auto s = c->Prepare(
      "SELECT g.account_id, a.login, a.town, a.latitude, a.longitude, g.last_name, g.min_birth, "
      "g.min_death, g.max_birth, g.max_death, g.n, COUNT(*) OVER () FROM (SELECT i.account_id, "
      "MIN(i.last_name) AS last_name, MIN(i.birth_year) AS min_birth, MIN(i.death_year) AS min_death, "
      "MAX(i.birth_year) AS max_birth, MAX(i.death_year) AS max_death, COUNT(*) AS n FROM individuals i "
      "WHERE " + where + " GROUP BY i.account_id) g JOIN accounts a ON a.id = g.account_id "
      "ORDER BY g.n DESC, g.account_id LIMIT ?5 OFFSET ?6");
  BindFilter(s, q.lastNameKey, q.years, q.privacy, 1);
  s.Bind(5, limit).Bind(6, offset);
  while (s.Step()) readRow(s);
  CountWhenPastTheEnd(*c, page, offset,
                      "SELECT COUNT(DISTINCT i.account_id) FROM individuals i WHERE " + where,
                      [&](SqliteStatement& count) {
                        BindFilter(count, q.lastNameKey, q.years, q.privacy, 1);
                      });
  return page;
}

PageOf<IndividualRow> SqliteStorage::SearchIndividuals(const IndividualQuery& q, int64_t offset,
                                                       int64_t limit) {
  BorrowedConnection c(*this);
  std::string where = IndividualFilter(q.years, 1);
  if (q.accountId) where += " AND i.account_id = ?5";
  if (!q.firstNamesContain.empty()) where += " AND instr(i.first_names_key, ?6) > 0";
  if (q.place) {
    where += " AND (i.birth_place_id = (SELECT id FROM places WHERE text = ?7) OR "
             "i.death_place_id = (SELECT id FROM places WHERE text = ?7))";
  }
  auto bind = [&](SqliteStatement& s) {
    BindFilter(s, q.lastNameKey, q.years, q.privacy, 1);
    if (q.accountId) s.Bind(5, *q.accountId);
    if (!q.firstNamesContain.empty()) s.Bind(6, q.firstNamesContain);
    if (q.place) s.Bind(7, *q.place);
  };
  PageOf<IndividualRow> page;
  auto s = c->Prepare(
      "SELECT i.id, i.account_id, a.login, i.last_name, i.first_names, i.birth_year, bp.text, "
      "i.death_year, dp.text, COUNT(*) OVER () FROM individuals i JOIN accounts a ON a.id = i.account_id "
      "LEFT JOIN places bp ON bp.id = i.birth_place_id LEFT JOIN places dp ON dp.id = i.death_place_id "
      "WHERE " + where + " ORDER BY i.first_names, i.birth_year, i.id LIMIT ?8 OFFSET ?9");
  bind(s);
  s.Bind(8, limit).Bind(9, offset);
  while (s.Step()) {
    IndividualRow r;
    r.individualId = s.Int(0);
    r.accountId = s.Int(1);
    r.login = s.Text(2);
    r.lastName = s.Text(3);
    r.firstNames = s.Text(4);
    r.birthYear = OptionalYear(s, 5);
    r.birthPlace = s.Text(6);
    r.deathYear = OptionalYear(s, 7);
    r.deathPlace = s.Text(8);
    page.total = s.Int(9);
    page.rows.push_back(std::move(r));
  }
  CountWhenPastTheEnd(*c, page, offset, "SELECT COUNT(*) FROM individuals i WHERE " + where, bind);
  return page;
}

PageOf<LocationRow> SqliteStorage::SearchLocations(const LocationQuery& q, int64_t offset,
                                                   int64_t limit) {
  BorrowedConnection c(*this);
  auto readRow = [](SqliteStatement& s, PageOf<LocationRow>& page) {
    LocationRow r;
    r.place = s.Text(0);
    YearSpan(s, 1, r.minYear, r.maxYear);
    r.count = s.Int(5);
    page.total = s.Int(6);
    page.rows.push_back(std::move(r));
  };
  if (q.firstNamesContain.empty() && q.years.IsAll()) {
    // The counts kept per file and place answer, unless someone left out of
    // them as living may have become visible since.
    auto hidden = c->Prepare("SELECT MIN(hidden_min_birth) FROM place_counts WHERE last_name_key = ?1");
    hidden.Bind(1, q.lastNameKey);
    hidden.Step();
    if (hidden.IsNull(0) || hidden.Int(0) > q.privacy.bornAfter) {
      const std::string placeFilter = q.placeContains.empty() ? "" : " AND instr(p.key, ?2) > 0";
      const std::string grouped =
          "SELECT p.text, MIN(pc.min_birth), MIN(pc.min_death), MAX(pc.max_birth), MAX(pc.max_death), "
          "SUM(pc.n), COUNT(*) OVER () FROM place_counts pc JOIN places p ON p.id = pc.place_id "
          "WHERE pc.last_name_key = ?1" + placeFilter + " GROUP BY pc.place_id HAVING SUM(pc.n) >= ?3";
      auto bind = [&](SqliteStatement& s) {
        s.Bind(1, q.lastNameKey);
        if (!q.placeContains.empty()) s.Bind(2, q.placeContains);
        s.Bind(3, std::max<int64_t>(q.minIndividuals, 1));
      };
      PageOf<LocationRow> page;
      auto s = c->Prepare(grouped + " ORDER BY SUM(pc.n) DESC, p.text LIMIT ?4 OFFSET ?5");
      bind(s);
      s.Bind(4, limit).Bind(5, offset);
      while (s.Step()) readRow(s, page);
      CountWhenPastTheEnd(*c, page, offset, "SELECT COUNT(*) FROM (" + grouped + ")", bind);
      return page;
    }
  }
  std::string where = IndividualFilter(q.years, 1);
  if (!q.firstNamesContain.empty()) where += " AND instr(i.first_names_key, ?5) > 0";
  const std::string placeFilter = q.placeContains.empty() ? "" : " WHERE instr(p.key, ?6) > 0";
  // An individual counts once at a place, whether born or dead there or both.
  const std::string grouped =
      "WITH kept AS (SELECT i.id, i.birth_year, i.death_year, i.birth_place_id, i.death_place_id "
      "FROM individuals i WHERE " + where + "), "
      "located AS (SELECT id, birth_place_id AS pid, birth_year, death_year FROM kept "
      "WHERE birth_place_id IS NOT NULL UNION SELECT id, death_place_id, birth_year, death_year "
      "FROM kept WHERE death_place_id IS NOT NULL) "
      "SELECT p.text, MIN(l.birth_year), MIN(l.death_year), MAX(l.birth_year), MAX(l.death_year), "
      "COUNT(*), COUNT(*) OVER () FROM located l JOIN places p ON p.id = l.pid" + placeFilter +
      " GROUP BY l.pid HAVING COUNT(*) >= ?7";
  auto bind = [&](SqliteStatement& s) {
    BindFilter(s, q.lastNameKey, q.years, q.privacy, 1);
    if (!q.firstNamesContain.empty()) s.Bind(5, q.firstNamesContain);
    if (!q.placeContains.empty()) s.Bind(6, q.placeContains);
    s.Bind(7, std::max<int64_t>(q.minIndividuals, 1));
  };
  PageOf<LocationRow> page;
  auto s = c->Prepare(grouped + " ORDER BY COUNT(*) DESC, p.text LIMIT ?8 OFFSET ?9");
  bind(s);
  s.Bind(8, limit).Bind(9, offset);
  while (s.Step()) readRow(s, page);
  CountWhenPastTheEnd(*c, page, offset, "SELECT COUNT(*) FROM (" + grouped + ")", bind);
  return page;
}

std::optional<IndividualRef> SqliteStorage::FindIndividual(Id individualId) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "SELECT id, gedcom_id, account_id, xref, first_names, last_name FROM individuals WHERE id = ?1");
  s.Bind(1, individualId);
  if (!s.Step()) return std::nullopt;
  IndividualRef r;
  r.individualId = s.Int(0);
  r.gedcomId = s.Int(1);
  r.accountId = s.Int(2);
  r.xref = s.Text(3);
  const std::string first = s.Text(4), last = s.Text(5);
  r.fullName = first.empty() ? last : last.empty() ? first : first + " " + last;
  return r;
}

std::vector<SurnameCount> SqliteStorage::TopSurnames(int limit, PrivacyRule privacy) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "SELECT MIN(last_name), COUNT(*) FROM individuals i WHERE i.last_name_key <> '' AND "
      "(i.birth_year IS NULL OR i.birth_year <= ?1 OR i.death_year IS NOT NULL) "
      "GROUP BY last_name_key ORDER BY COUNT(*) DESC, MIN(last_name) LIMIT ?2");
  s.Bind(1, privacy.bornAfter).Bind(2, limit);
  std::vector<SurnameCount> out;
  while (s.Step()) out.push_back({s.Text(0), s.Int(1)});
  return out;
}

// ---- requests

Id SqliteStorage::CreateQuestion(const QuestionRecord& q) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "INSERT INTO questions(asker_id, addressee_id, gedcom_id, xref, full_name, type, status, posted) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
  s.Bind(1, q.askerId).Bind(2, q.addresseeId).Bind(3, q.gedcomId).Bind(4, q.xref).Bind(5, q.fullName);
  s.Bind(6, q.type).Bind(7, static_cast<int64_t>(q.status)).Bind(8, q.posted);
  s.Run();
  return c->LastInsertId();
}

std::optional<QuestionRecord> SqliteStorage::FindQuestion(Id id) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(std::string("SELECT ") + kQuestionColumns + " FROM questions q WHERE q.id = ?1");
  s.Bind(1, id);
  if (!s.Step()) return std::nullopt;
  return ReadQuestion(s);
}

std::vector<QuestionListItem> SqliteStorage::ListQuestions(Id accountId, int64_t now) {
  BorrowedConnection c(*this);
  SqliteTransaction transaction(*c);
  auto mark = c->Prepare("UPDATE questions SET read = ?2 WHERE addressee_id = ?1 AND read IS NULL");
  mark.Bind(1, accountId).Bind(2, now);
  mark.Run();
  auto s = c->Prepare(std::string("SELECT ") + kQuestionColumns +
                      ", other.id, other.login FROM questions q JOIN accounts other ON other.id = "
                      "CASE WHEN q.asker_id = ?1 THEN q.addressee_id ELSE q.asker_id END "
                      "WHERE q.asker_id = ?1 OR q.addressee_id = ?1 ORDER BY q.posted DESC, q.id DESC");
  s.Bind(1, accountId);
  std::vector<QuestionListItem> out;
  while (s.Step()) {
    QuestionListItem item;
    item.question = ReadQuestion(s);
    item.mine = item.question.askerId == accountId;
    item.otherAccountId = s.Int(11);
    item.otherLogin = s.Text(12);
    out.push_back(std::move(item));
  }
  transaction.Commit();
  return out;
}

bool SqliteStorage::RefuseQuestion(Id id, int64_t now) {
  BorrowedConnection c(*this);
  auto s = c->Prepare("UPDATE questions SET status = ?2, answered = ?3 WHERE id = ?1 AND status = ?4");
  s.Bind(1, id).Bind(2, static_cast<int64_t>(QuestionStatus::Refused)).Bind(3, now);
  s.Bind(4, static_cast<int64_t>(QuestionStatus::Waiting));
  s.Run();
  return c->Changes() > 0;
}

bool SqliteStorage::AnswerQuestion(Id id, const std::string& extract, int64_t now) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "UPDATE questions SET status = ?2, answered = ?3, extract = ?4 WHERE id = ?1 AND status IN (?5, ?2)");
  s.Bind(1, id).Bind(2, static_cast<int64_t>(QuestionStatus::Accepted)).Bind(3, now);
  s.BindBlob(4, extract).Bind(5, static_cast<int64_t>(QuestionStatus::Waiting));
  s.Run();
  return c->Changes() > 0;
}

std::optional<std::string> SqliteStorage::QuestionAnswer(Id id) {
  BorrowedConnection c(*this);
  auto s = c->Prepare("SELECT extract FROM questions WHERE id = ?1 AND extract IS NOT NULL");
  s.Bind(1, id);
  if (!s.Step()) return std::nullopt;
  return s.Text(0);
}

void SqliteStorage::DeleteQuestion(Id id) {
  BorrowedConnection c(*this);
  auto s = c->Prepare("DELETE FROM questions WHERE id = ?1");
  s.Bind(1, id);
  s.Run();
}

// ---- towns

int64_t SqliteStorage::TownCount() {
  BorrowedConnection c(*this);
  auto s = c->Prepare("SELECT COUNT(*) FROM towns");
  s.Step();
  return s.Int(0);
}

void SqliteStorage::AddTowns(const std::vector<Town>& towns) {
  BorrowedConnection c(*this);
  SqliteTransaction transaction(*c);
  auto s = c->Prepare(
      "INSERT INTO towns(name, name_key, ascii_key, country, latitude, longitude, population) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  for (const Town& t : towns) {
    s.Reset();
    s.Bind(1, t.name).Bind(2, t.nameKey).Bind(3, ContainsKey(t.asciiName)).Bind(4, t.country);
    s.Bind(5, t.latitude).Bind(6, t.longitude).Bind(7, t.population);
    s.Run();
  }
  transaction.Commit();
}

std::optional<Town> SqliteStorage::FindTown(const std::string& nameKey, const std::string& country) {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "SELECT name, name_key, country, latitude, longitude, population FROM towns "
      "WHERE (name_key = ?1 OR ascii_key = ?1) AND country = ?2 ORDER BY population DESC LIMIT 1");
  s.Bind(1, nameKey).Bind(2, country);
  if (!s.Step()) return std::nullopt;
  Town t;
  t.name = s.Text(0);
  t.nameKey = s.Text(1);
  t.country = s.Text(2);
  t.latitude = s.Double(3);
  t.longitude = s.Double(4);
  t.population = s.Int(5);
  return t;
}

Statistics SqliteStorage::Stats() {
  BorrowedConnection c(*this);
  auto s = c->Prepare(
      "SELECT (SELECT COUNT(*) FROM accounts), (SELECT COUNT(*) FROM sessions), "
      "(SELECT COUNT(*) FROM gedcoms), (SELECT COUNT(*) FROM individuals), "
      "(SELECT COUNT(*) FROM questions), (SELECT COUNT(*) FROM towns)");
  s.Step();
  return {s.Int(0), s.Int(1), s.Int(2), s.Int(3), s.Int(4), s.Int(5)};
}

}  // namespace kt::server
