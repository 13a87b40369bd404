// ./bench provider: an encrypted English-Chinese table of 770,000 rows (as large as the
// real one), built here, and for each query the engine's own time beside the time the
// provider takes to open it, move through it and close it.
//   provider CASE rows=… raw_ms=… open_ms=… materialise_ms=… walk_ms=… close_ms=…
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "benchmarks/Timing.h"
#include "framework/core/Component.h"
#include "framework/core/Exception.h"
#include "framework/core/Unicode.h"
#include "framework/data/ADOConnection.h"
#include "framework/data/ADOQuery.h"
#include "tests/harness/Db/FixtureDatabase.h"
#include "tests/harness/TempDir.h"

namespace {

const char kKey[] = "bench~770";
const char16_t kKey16[] = u"bench~770";

template <class F>
double MedianMs(int runs, F&& f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double start = NowMs();
    f();
    times.push_back(NowMs() - start);
  }
  return Percentile(times, 0.5);
}

int Run() {
  TTempDir dir;
  double start = NowMs();
  std::u16string file = WriteFixtureDatabase(dir, u"big.dll", R"SQL(
CREATE TABLE kest_en (ID INTEGER PRIMARY KEY, en VARCHAR(255) COLLATE NOCASE,
                      zh VARCHAR(255) COLLATE NOCASE);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 770000)
INSERT INTO kest_en (en, zh)
  SELECT 'word' || i, CASE WHEN i % 2 = 0 THEN 'adj. 形容词释义' || i ELSE 'n. 名词释义' || i END FROM n;
CREATE INDEX kest_en_en ON kest_en (en);
)SQL", kKey);
  std::printf("provider build rows=770000 ms=%.0f\n", NowMs() - start);

  auto* owner = new TComponent(nullptr);
  auto* db = new TADOConnection(owner);
  db->SetConnectionString(JetConnectionString(file, kKey16));
  start = NowMs();
  db->Open();
  std::printf("provider connect ms=%.1f\n", NowMs() - start);
  auto* q = new TADOQuery(owner);
  q->SetConnection(db);

  struct TCase {
    const char* Name;
    const char16_t* Sql;
    int Runs;
  };
  const TCase cases[] = {
      {"contains", u"select *  from kest_en where zh like '%a%'", 5},
      {"all", u"select *  from kest_en", 5},
      {"500 rows", u"select *  from kest_en where ID <= 500", 31},
      {"equality", u"select *  from kest_en where en = 'word4711'", 31},
  };
  for (const TCase& c : cases) {
    int64_t rows = 0;
    double raw = MedianMs(c.Runs, [&] { rows = db->CountResultRows(c.Sql); });
    double close = 0;
    double open = MedianMs(c.Runs, [&] {
      double t = NowMs();
      q->Close();
      q->SQL()->Clear();
      q->SQL()->Add(c.Sql);
      close = NowMs() - t;
      q->Open();
    }) - close;
    if (q->RecordCount() != rows) {
      std::fprintf(stderr, "error: %s: the query has %lld records, the engine counted %lld\n", c.Name,
                   static_cast<long long>(q->RecordCount()), static_cast<long long>(rows));
      return 1;
    }
    // Moving through everything and reading one field of each record.
    double walk = MedianMs(1, [&] {
      size_t chars = 0;
      for (q->First(); !q->Eof(); q->Next()) chars += q->Fields(1)->AsString().size();
      if (chars == 0) std::fprintf(stderr, "error: %s: every field read was empty\n", c.Name);
    });
    std::printf("provider %-9s rows=%7lld raw_ms=%8.2f open_ms=%8.2f materialise_ms=%7.2f walk_ms=%7.1f close_ms=%6.1f\n",
                c.Name, static_cast<long long>(rows), raw, open, open - raw, walk, close);
  }
  owner->Free();
  return 0;
}

}  // namespace

int main() {
  try {
    return Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", Utf16ToUtf8(ExceptionText(e)).c_str());
    return 1;
  }
}
