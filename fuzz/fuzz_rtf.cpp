// Rich text markup: any bytes load into a rich edit without crashing or hanging, and the
// markup it then writes reads back to the same text.
#include "fuzz/FuzzSupport.h"
#include "platform/ui/Forms.h"
#include "platform/ui/RichEdit.h"

namespace {

void Load(TRichEdit* Edit, const uint8_t* Data, size_t Size) {
  TMemoryStream s;
  FillStream(s, Data, Size);
  Edit->Lines()->LoadFromStream(&s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  static TRichEdit* edit[2] = {};
  if (edit[0] == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Application->Initialize();
    auto* form = new TForm(Application);
    edit[0] = new TRichEdit(form);
    edit[1] = new TRichEdit(form);
  }
  Load(edit[0], data, size);
  const String text = edit[0]->Text();
  TMemoryStream written;
  edit[0]->Lines()->SaveToStream(&written);
  written.SetPosition(0);
  edit[1]->Lines()->LoadFromStream(&written);
  if (edit[1]->Text() != text) __builtin_trap();
  return 0;
}
