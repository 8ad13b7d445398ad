// Drag and drop data from other programs: any URI list, plain text and rich text dropped on
// a styled edit, and any CF_TEXT (CP932), CF_UNICODETEXT, CF_HDROP and rich text blocks a data
// object offers, read through the styled edit's format reader.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

#include "controls/AdvEddd.h"
#include "controls/AdvEdit.h"
#include "fuzz/FuzzSupport.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

// A data object offering fixed blocks of global memory, one per format.
class TBlockData : public TInterfacedObject<IDataObject> {
public:
  void Add(UINT Format, const std::string& Bytes) { FBlocks.emplace_back(CLIPFORMAT(Format), Bytes); }
  HRESULT GetData(const FORMATETC* Fmt, STGMEDIUM* Medium) override {
    *Medium = STGMEDIUM();
    for (auto& [format, bytes] : FBlocks)
      if (format == Fmt->cfFormat) {
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!bytes.empty()) std::memcpy(GlobalLock(mem), bytes.data(), bytes.size());
        GlobalUnlock(mem);
        Medium->tymed = TYMED_HGLOBAL;
        Medium->hGlobal = mem;
        return S_OK;
      }
    return DV_E_FORMATETC;
  }
  HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT QueryGetData(const FORMATETC*) override { return S_OK; }
  HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** Enum) override {
    *Enum = new TList(FBlocks);
    return S_OK;
  }
  HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDataObject; }

private:
  using TBlocks = std::vector<std::pair<CLIPFORMAT, std::string>>;
  class TList : public TInterfacedObject<IEnumFORMATETC> {
  public:
    explicit TList(const TBlocks& Blocks) : FBlocks(Blocks) {}
    HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) override {
      ULONG n = 0;
      for (; n < Count && FAt < FBlocks.size(); ++n, ++FAt) {
        Formats[n] = FORMATETC();
        Formats[n].cfFormat = FBlocks[FAt].first;
      }
      if (Fetched) *Fetched = n;
      return n == Count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG Count) override {
      FAt += Count;
      return S_OK;
    }
    HRESULT Reset() override {
      FAt = 0;
      return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC**) override { return E_NOTIMPL; }

  protected:
    bool Supports(REFIID Riid) const override { return Riid == IID_IEnumFORMATETC; }

  private:
    const TBlocks& FBlocks;
    size_t FAt = 0;
  };
  TBlocks FBlocks;
};

void ReadFormats(FuzzedDataProvider& In) {
  auto* data = new TBlockData;
  const uint8_t which = In.ConsumeIntegral<uint8_t>();
  if (which & 1) data->Add(CF_TEXT, In.ConsumeRandomLengthString(512));
  if (which & 2) data->Add(CF_UNICODETEXT, In.ConsumeRandomLengthString(512));
  if (which & 4) data->Add(CF_HDROP, In.ConsumeRandomLengthString(512));
  if (which & 8) data->Add(RichTextFormat, In.ConsumeRandomLengthString(512));
  {
    TEnumFormats formats(data);
    formats.Text();
    formats.RTF();
    if (formats.FileList() && formats.Files()->Count() == 0) __builtin_trap();
  }
  data->Release();
}

TAdvEdit* Edit() {
  static TAdvEdit* edit = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Application->Initialize();
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 200, 80);
    auto* e = new TAdvEdit(form);
    e->SetParent(form);
    e->SetBounds(5, 5, 150, 24);
    e->SetOleDropTarget(true);
    form->Show();
    return e;
  }();
  return edit;
}

// Another program's URI list, plain text and rich text dropped on the edit.
void DropMime(FuzzedDataProvider& In) {
  TAdvEdit* edit = Edit();
  edit->SetText(u"");
  std::vector<std::pair<std::string, std::string>> formats;
  const uint8_t which = In.ConsumeIntegral<uint8_t>();
  if (which & 1) formats.emplace_back("text/uri-list", In.ConsumeRandomLengthString(512));
  if (which & 2) formats.emplace_back("text/plain", In.ConsumeRandomLengthString(512));
  if (which & 4) formats.emplace_back("text/rtf", In.ConsumeRandomLengthString(512));
  SimulateOutsideDrop(edit, 10, 10, formats, (which & 8) ? TShiftState{ssCtrl} : TShiftState{});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Edit();
  FuzzedDataProvider in(data, size);
  ReadFormats(in);
  DropMime(in);
  return 0;
}
