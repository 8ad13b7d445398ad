// Edit masks: any mask formats any value, and a masked edit takes any mask and any text.
// The input is the mask, a newline, then the value.
#include "fuzz/FuzzSupport.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2048) return 0;
  static TMaskEdit* edit = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Application->Initialize();
    auto* form = new TForm(Application);
    auto* e = new TMaskEdit(form);
    e->SetParent(form);
    return e;
  }();
  const std::string in(reinterpret_cast<const char*>(data), size);
  const size_t nl = in.find('\n');
  const String mask = UTF8ToString(in.substr(0, nl));
  const String value = nl == std::string::npos ? String() : UTF8ToString(in.substr(nl + 1));
  const String formatted = FormatMaskText(mask, value);
  try {
    edit->SetEditMask(u"");
    edit->SetText(u"");
    edit->SetEditMask(mask);
    // A masked edit keeps one character per position whatever is put into it.
    const size_t positions = edit->EditText().size();
    const auto keepsPositions = [&] {
      if (edit->IsMasked() && edit->EditText().size() != positions) __builtin_trap();
    };
    if (edit->IsMasked() && formatted.size() != positions) __builtin_trap();
    edit->SetEditText(value);
    keepsPositions();
    edit->Text();
    edit->SetText(value);
    keepsPositions();
    edit->SetSelStart(1);
    edit->SetSelLength(2);
    edit->SetSelText(value);
    keepsPositions();
  } catch (const EDBEditError&) {
  }
  return 0;
}
