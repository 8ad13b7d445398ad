// The styled edit's untrusted text: range lists ("1-3,5;7-8") and its persistence store.
// Any range text reads (a good list writes back as text that reads back the same), and any
// settings file loads the edit's value and lookup history. The input is the range text, a
// newline, then the settings file.
#include <unistd.h>

#include <set>

#include "controls/AdvEdit.h"
#include "fuzz/FuzzSupport.h"
#include "platform/ui/Forms.h"

namespace {

std::set<int32_t> Items(const TRangeList& List) {
  std::set<int32_t> items;
  for (int i = 0; i < List.Count(); ++i) items.insert(List[i]);
  return items;
}

void Ranges(const String& Text) {
  TRangeList list;
  if (!list.StrToList(Text)) return;
  TRangeList again;
  const String written = list.ToRangeStr();
  if (!again.StrToList(written) || Items(again) != Items(list)) __builtin_trap();
}

TAdvEdit* Edit(const std::string& IniPath) {
  static TAdvEdit* edit = [&] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Application->Initialize();
    auto* form = new TForm(Application);
    auto* e = new TAdvEdit(form);
    e->SetName(u"Edit1");
    e->SetParent(form);
    e->Lookup()->SetEnabled(true);
    e->Lookup()->SetHistory(true);
    e->Persistence()->SetEnable(true);
    e->Persistence()->SetKey(UTF8ToString(IniPath));
    e->Persistence()->SetSection(u"Edit");
    return e;
  }();
  return edit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  static const std::string path = [] {
    char tmpl[] = "/tmp/fuzz-advedit-XXXXXX";
    if (!::mkdtemp(tmpl)) std::abort();
    return std::string(tmpl) + "/store.ini";
  }();
  const std::string in(reinterpret_cast<const char*>(data), size);
  const size_t nl = in.find('\n');
  Ranges(UTF8ToString(in.substr(0, nl)));
  const std::string ini = nl == std::string::npos ? std::string() : in.substr(nl + 1);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(ini.data(), 1, ini.size(), f);
  std::fclose(f);
  TAdvEdit* edit = Edit(path);
  edit->Lookup()->DisplayList()->Clear();
  edit->Lookup()->ValueList()->Clear();
  edit->SetText(u"");
  try {
    edit->LoadPersist();
  } catch (const EFOpenError&) {
    return 0;  // not text
  }
  TRangeList list;
  edit->RangeStrToList(&list);
  return 0;
}
