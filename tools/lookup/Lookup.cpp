// ./lookup: one search of the dictionary, as the main window runs it, without a window
// on the screen.  Prints the SQL text, the status line, and the records.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/DMa.h"
#include "app/Form1.h"
#include "framework/core/Exception.h"
#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"

namespace {

void Write(DWORD stream, const std::u16string& text) {
  std::string bytes = Utf16ToUtf8(text);
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Out(const std::u16string& line) { Write(STD_OUTPUT_HANDLE, line + u"\n"); }
void Err(const std::u16string& line) { Write(STD_ERROR_HANDLE, line + u"\n"); }

const char16_t* const kUsage =
    u"usage: lookup DICT [NAME=TEXT]... [--partial] [--db FILE] [--limit N]\n"
    u"  DICT  hz, cd, cy, en or xhy\n"
    u"  NAME  a search edit: seachEdit se2 se3 se4 (hz); Edit4 Edit2 Edit3 (cd);\n"
    u"        Edit5 Edit6 Edit7 (cy); Edit8 Edit9 Edit10 (en); Edit11 Edit12 (xhy)";

// Tabs and line breaks inside a field are written as \t and \n.
std::u16string Cell(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c == u'\t') out += u"\\t";
    else if (c == u'\n') out += u"\\n";
    else if (c == u'\r') continue;
    else out += c;
  }
  return out;
}

struct TDictionary {
  const char16_t* name;
  void (TForm1::*search)(TObject*);
  TADOQuery* TDMa::*query;
  std::vector<TEdit* TForm1::*> edits;
};

int Run(int argc, char16_t** argv) {
  const TDictionary dictionaries[] = {
      {u"hz", &TForm1::seachClick, &TDMa::seachQ, {&TForm1::seachEdit, &TForm1::se2, &TForm1::se3, &TForm1::se4}},
      {u"cd", &TForm1::seach2Click, &TDMa::cd_seachq, {&TForm1::Edit4, &TForm1::Edit2, &TForm1::Edit3}},
      {u"cy", &TForm1::seach3Click, &TDMa::cy_seachQ, {&TForm1::Edit5, &TForm1::Edit6, &TForm1::Edit7}},
      {u"en", &TForm1::seach4Click, &TDMa::en_seachQ, {&TForm1::Edit8, &TForm1::Edit9, &TForm1::Edit10}},
      {u"xhy", &TForm1::seach5Click, &TDMa::xhy_seachQ, {&TForm1::Edit11, &TForm1::Edit12}},
  };
  if (argc < 2) {
    Err(kUsage);
    return 2;
  }
  const TDictionary* dictionary = nullptr;
  for (const auto& d : dictionaries)
    if (std::u16string(argv[1]) == d.name) dictionary = &d;
  if (dictionary == nullptr) {
    Err(u"lookup: unknown dictionary '" + std::u16string(argv[1]) + u"'\n" + kUsage);
    return 2;
  }
  std::vector<std::pair<std::u16string, std::u16string>> conditions;
  bool partial = false;
  int64_t limit = -1;
  for (int i = 2; i < argc; ++i) {
    std::u16string arg = argv[i];
    if (arg == u"--partial") {
      partial = true;
    } else if (arg == u"--db" && i + 1 < argc) {
      TDMa::DataSourceOverride = argv[++i];
    } else if (arg == u"--limit" && i + 1 < argc) {
      if (!TryStrToInt(argv[++i], limit) || limit < 0) {
        Err(u"lookup: --limit needs a number");
        return 2;
      }
    } else if (size_t eq = arg.find(u'='); eq != std::u16string::npos && arg.rfind(u"--", 0) != 0) {
      conditions.emplace_back(arg.substr(0, eq), arg.substr(eq + 1));
    } else {
      Err(u"lookup: cannot read '" + arg + u"'\n" + kUsage);
      return 2;
    }
  }

  int status = 0;
  new TApplication(nullptr);
  Application->SetTitle(u"青禾词典");
  // Every box the program would show goes to standard error instead.
  Application->OnException = [&](TObject*, const std::exception& e) {
    Err(ExceptionText(e));
    status = 1;
  };
  Application->CreateForm(Form1);
  Form1->OnPrompt = [&](const std::u16string& text) {
    Err(text);
    status = 1;
  };
  Application->CreateForm(DMa);
  for (const auto& [name, text] : conditions) {
    TEdit* edit = nullptr;
    for (auto e : dictionary->edits)
      if ((Form1->*e)->Name() == name) edit = Form1->*e;
    if (edit == nullptr) {
      Err(u"lookup: " + std::u16string(dictionary->name) + u" has no search edit '" + name + u"'");
      FreeObject(Application);
      return 2;
    }
    edit->SetText(text);
  }
  Form1->CheckBox1->SetChecked(partial);
  if (status == 0) {
    try {
      (Form1->*dictionary->search)(nullptr);
    } catch (const std::exception& e) {
      Err(ExceptionText(e));
      status = 1;
    }
  }
  TADOQuery* query = DMa->*dictionary->query;
  if (status == 0 && query->Active()) {
    Out(Form1->Edit1->Text());
    Out(Form1->timeP->Caption());
    std::u16string header;
    for (int f = 0; f < query->FieldCount(); ++f) header += (f > 0 ? u"\t" : u"") + query->Fields(f)->FieldName();
    Out(header);
    int64_t printed = 0;
    for (query->First(); !query->Eof() && (limit < 0 || printed < limit); query->Next(), ++printed) {
      std::u16string line;
      for (int f = 0; f < query->FieldCount(); ++f) line += (f > 0 ? u"\t" : u"") + Cell(query->Fields(f)->AsString());
      Out(line);
    }
  }
  FreeObject(Application);
  return status;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  int status = Run(argc, reinterpret_cast<char16_t**>(argv));
  LocalFree(argv);
  return status;
}
