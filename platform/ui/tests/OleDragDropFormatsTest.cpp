// Registered formats between programs: what another program's drag brings under
// "application/x-<name>", and what a drag started here offers under that name.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QWindow>
#include <cstring>

#include "platform/ui/Forms.h"
#include "platform/ui/OleDragDrop.h"
#include "testing/TestSupport.h"

namespace {

// Offers one block of a registered format.
class TBlockData : public TInterfacedObject<IDataObject> {
public:
  TBlockData(UINT Format, std::string Bytes) : FFormat(CLIPFORMAT(Format)), FBytes(std::move(Bytes)) {}
  HRESULT GetData(const FORMATETC* Fmt, STGMEDIUM* Medium) override {
    *Medium = STGMEDIUM();
    if (Fmt->cfFormat != FFormat) return DV_E_FORMATETC;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, FBytes.size());
    std::memcpy(GlobalLock(mem), FBytes.data(), FBytes.size());
    GlobalUnlock(mem);
    Medium->tymed = TYMED_HGLOBAL;
    Medium->hGlobal = mem;
    return S_OK;
  }
  HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
  HRESULT QueryGetData(const FORMATETC* Fmt) override { return Fmt->cfFormat == FFormat ? S_OK : DV_E_FORMATETC; }
  HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return DV_E_FORMATETC; }
  HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** Enum) override {
    *Enum = new TOne(FFormat);
    return S_OK;
  }
  HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDataObject; }

private:
  class TOne : public TInterfacedObject<IEnumFORMATETC> {
  public:
    explicit TOne(CLIPFORMAT F) : FF(F) {}
    HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) override {
      ULONG n = 0;
      if (!FDone && Count > 0) {
        Formats[0] = FORMATETC();
        Formats[0].cfFormat = FF;
        n = 1;
        FDone = true;
      }
      if (Fetched) *Fetched = n;
      return n == Count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG) override { return S_FALSE; }
    HRESULT Reset() override {
      FDone = false;
      return S_OK;
    }
    HRESULT Clone(IEnumFORMATETC**) override { return E_NOTIMPL; }

  protected:
    bool Supports(REFIID Riid) const override { return Riid == IID_IEnumFORMATETC; }

  private:
    CLIPFORMAT FF;
    bool FDone = false;
  };
  CLIPFORMAT FFormat;
  std::string FBytes;
};

class TSource : public TInterfacedObject<IDropSource> {
public:
  HRESULT QueryContinueDrag(BOOL Escape, DWORD Keys) override {
    return Escape ? DRAGDROP_S_CANCEL : (Keys & MK_LBUTTON) == 0 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDropSource; }
};

// Notes the bytes of one MIME type of the drags entering a window.
class TMimeSpy : public QObject {
public:
  TMimeSpy(QWindow* W, QString Type) : FType(std::move(Type)) { W->installEventFilter(this); }
  QByteArray Seen;
  bool eventFilter(QObject*, QEvent* E) override {
    if (E->type() == QEvent::DragEnter) Seen = static_cast<QDragEnterEvent*>(E)->mimeData()->data(FType);
    return false;
  }

private:
  QString FType;
};

}  // namespace

TEST(OleDragDropFormats, RegisteredFormatsNameTheirNumbersAndTravelUnderTheirNames) {
  const UINT f = RegisterClipboardFormat(u"Rcv Drag Cells");
  Char name[8];
  EXPECT_EQ(GetClipboardFormatName(f, name, 8), 7);
  EXPECT_EQ(String(name), u"Rcv Dra");
  EXPECT_EQ(GetClipboardFormatName(CF_TEXT, name, 8), 0);
  EXPECT_EQ(RegisteredClipboardFormat(u"RCV DRAG CELLS"), f);
  EXPECT_EQ(RegisteredClipboardFormat(u"Rcv Never Named"), 0u);

  TForm form(nullptr);
  form.SetBounds(30, 30, 200, 100);
  form.Show();
  ProcessPendingEvents();
  const TPoint at = form.ClientToScreen(TPoint(40, 30));
  TMimeSpy spy(QGuiApplication::topLevelAt(QPoint(at.X, at.Y)), QStringLiteral("application/x-Rcv Drag Cells"));
  SimulateMouseDown(&form, mbLeft, 20, 20);
  WhileDragging([&] {
    SimulateMouseMove(&form, 40, 30, {ssLeft});
    SimulateMouseUp(&form, mbLeft, 40, 30);
  });
  auto* data = new TBlockData(f, std::string("\x03\0\0\0\0\0\0\0abc", 11));
  auto* source = new TSource;
  DWORD effect = 0;
  DoDragDrop(data, source, DROPEFFECT_COPY, &effect);
  EXPECT_EQ(spy.Seen.toStdString(), std::string("\x03\0\0\0\0\0\0\0abc", 11));
  data->Release();
  source->Release();
}
