// ./bench search: each search of the main window with typical conditions, timed end to
// end, beside SQLCipher running the same SQL text on the same file.
//   search DICT CASE p50_ms=… p95_ms=… raw_p50_ms=… ratio=…
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/DMa.h"
#include "benchmarks/Timing.h"
#include "app/Form1.h"
#include "framework/core/Exception.h"
#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"

namespace {

constexpr int kRuns = 30;

struct TCase {
  const char* dict;
  const char* name;
  void (TForm1::*search)(TObject*);
  std::vector<std::pair<TEdit* TForm1::*, std::u16string>> edits;
  bool partial;
};

}  // namespace

int main() {
  new TApplication(nullptr);
  bool failed = false;
  Application->OnException = [&](TObject*, const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", Utf16ToUtf8(ExceptionText(e)).c_str());
    failed = true;
  };
  Application->CreateForm(Form1);
  Form1->OnPrompt = [&](const std::u16string& text) {
    std::fprintf(stderr, "prompt: %s\n", Utf16ToUtf8(text).c_str());
    failed = true;
  };
  Application->CreateForm(DMa);
  if (!DMa->db->Connected()) {
    std::fprintf(stderr, "no database (dll/kestlib.dll below the current directory)\n");
    return 1;
  }
  const TCase cases[] = {
      {"hz", "equality", &TForm1::seachClick, {{&TForm1::seachEdit, u"zhong"}}, false},
      {"hz", "code", &TForm1::seachClick, {{&TForm1::se4, u"2512"}}, false},
      {"hz", "contains", &TForm1::seachClick, {{&TForm1::se4, u"2512"}}, true},
      {"cd", "equality", &TForm1::seach2Click, {{&TForm1::Edit4, u"zg"}}, false},
      {"cd", "contains", &TForm1::seach2Click, {{&TForm1::Edit3, u"国"}}, false},
      {"cd", "explanation", &TForm1::seach2Click, {{&TForm1::Edit2, u"热情"}}, false},
      {"cy", "equality", &TForm1::seach3Click, {{&TForm1::Edit5, u"hhyy"}}, false},
      {"cy", "contains", &TForm1::seach3Click, {{&TForm1::Edit7, u"花"}}, false},
      {"en", "prefix", &TForm1::seach4Click, {{&TForm1::Edit8, u"good"}}, false},
      {"en", "contains", &TForm1::seach4Click, {{&TForm1::Edit9, u"tion"}}, false},
      {"en", "chinese", &TForm1::seach4Click, {{&TForm1::Edit10, u"中国"}}, false},
      {"xhy", "contains", &TForm1::seach5Click, {{&TForm1::Edit11, u"老鼠"}}, false},
  };
  for (const auto& c : cases) {
    for (TEdit* TForm1::*e : {&TForm1::seachEdit, &TForm1::se2, &TForm1::se3, &TForm1::se4, &TForm1::Edit2,
                              &TForm1::Edit3, &TForm1::Edit4, &TForm1::Edit5, &TForm1::Edit6, &TForm1::Edit7,
                              &TForm1::Edit8, &TForm1::Edit9, &TForm1::Edit10, &TForm1::Edit11, &TForm1::Edit12})
      (Form1->*e)->SetText(u"");
    for (const auto& [edit, text] : c.edits) (Form1->*edit)->SetText(text);
    Form1->CheckBox1->SetChecked(c.partial);
    std::vector<double> search, raw;
    (Form1->*c.search)(nullptr);  // warm the page cache
    std::u16string sql = Form1->Edit1->Text();
    for (int i = 0; i < kRuns && !failed; ++i) {
      double t0 = NowMs();
      (Form1->*c.search)(nullptr);
      search.push_back(NowMs() - t0);
      t0 = NowMs();
      DMa->db->CountResultRows(sql);
      raw.push_back(NowMs() - t0);
    }
    if (failed) return 1;
    double p50 = Percentile(search, 0.5), p95 = Percentile(search, 0.95), rawP50 = Percentile(raw, 0.5);
    std::printf("search %s %s p50_ms=%.3f p95_ms=%.3f raw_p50_ms=%.3f ratio=%.2f\n", c.dict, c.name, p50, p95,
                rawP50, rawP50 > 0 ? p50 / rawP50 : 0.0);
    std::fflush(stdout);
  }
  FreeObject(Application);
  return 0;
}
