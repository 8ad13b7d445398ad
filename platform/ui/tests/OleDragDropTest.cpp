// OLE drag and drop: a drag started with DoDragDrop, moved by the mouse over a window that has
// a registered drop target, dropped or cancelled; data objects over dragged MIME data.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWindow>
#include <QUrl>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/OleDragDrop.h"
#include "platform/ui/OleDragDrop_p.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

// A data object offering one Unicode text in global memory.
class TTextData : public TInterfacedObject<IDataObject> {
public:
  explicit TTextData(String Text) : FText(std::move(Text)) {}
  HRESULT GetData(const FORMATETC* Fmt, STGMEDIUM* Medium) override {
    *Medium = STGMEDIUM();
    if (QueryGetData(Fmt) != S_OK) return DV_E_FORMATETC;
    const size_t bytes = (FText.size() + 1) * 2;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    std::memcpy(GlobalLock(mem), FText.c_str(), bytes);
    GlobalUnlock(mem);
    Medium->tymed = TYMED_HGLOBAL;
    Medium->hGlobal = mem;
    return S_OK;
  }
  HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
  HRESULT QueryGetData(const FORMATETC* Fmt) override {
    return Fmt->cfFormat == CF_UNICODETEXT && Fmt->tymed == TYMED_HGLOBAL ? S_OK : DV_E_FORMATETC;
  }
  HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return DV_E_FORMATETC; }
  HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDataObject; }

private:
  String FText;
};

// A source that goes on while the left button is down, drops when it is up, cancels on Escape.
class TButtonSource : public TInterfacedObject<IDropSource> {
public:
  std::vector<DWORD> Feedback;
  HRESULT QueryContinueDrag(BOOL Escape, DWORD Keys) override {
    if (Escape) return DRAGDROP_S_CANCEL;
    return (Keys & MK_LBUTTON) == 0 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT GiveFeedback(DWORD Effect) override {
    Feedback.push_back(Effect);
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDropSource; }
};

// Reads the text formats of a data object.
String ReadText(IDataObject* Data, UINT Format) {
  FORMATETC fmt;
  fmt.cfFormat = CLIPFORMAT(Format);
  STGMEDIUM m;
  if (Data->GetData(&fmt, &m) != S_OK) return u"<none>";
  const auto* p = static_cast<const char*>(GlobalLock(m.hGlobal));
  String text;
  if (Format == CF_UNICODETEXT) text = reinterpret_cast<const Char*>(p);
  else DecodeCodePage(p, SystemCodePage, text);
  GlobalUnlock(m.hGlobal);
  ReleaseStgMedium(&m);
  return text;
}

// A target that takes text, copying with Ctrl and moving otherwise, and records what came.
class TRecordingTarget : public TInterfacedObject<IDropTarget> {
public:
  std::vector<String> Calls;
  String Dropped, DroppedAnsi;
  DWORD DropKeys = 0;
  POINTL DropPoint;
  HRESULT DragEnter(IDataObject* Data, DWORD Keys, POINTL, DWORD* Effect) override {
    Calls.push_back(u"enter");
    FOk = Data->QueryGetData(&TextFormat()) == S_OK;
    *Effect = EffectFor(Keys);
    return S_OK;
  }
  HRESULT DragOver(DWORD Keys, POINTL, DWORD* Effect) override {
    if (Calls.back() != u"over") Calls.push_back(u"over");
    *Effect = EffectFor(Keys);
    return S_OK;
  }
  HRESULT DragLeave() override {
    Calls.push_back(u"leave");
    return S_OK;
  }
  HRESULT Drop(IDataObject* Data, DWORD Keys, POINTL Pt, DWORD* Effect) override {
    Calls.push_back(u"drop");
    Dropped = ReadText(Data, CF_UNICODETEXT);
    DroppedAnsi = ReadText(Data, CF_TEXT);
    DropKeys = Keys;
    DropPoint = Pt;
    *Effect = EffectFor(Keys);
    return S_OK;
  }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDropTarget; }

private:
  static const FORMATETC& TextFormat() {
    static FORMATETC f = [] {
      FORMATETC t;
      t.cfFormat = CF_UNICODETEXT;
      return t;
    }();
    return f;
  }
  DWORD EffectFor(DWORD Keys) const {
    if (!FOk) return DROPEFFECT_NONE;
    return (Keys & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  }
  bool FOk = false;
};

// A shown form with a source edit and a target edit whose window has the recording target.
struct TDragForm {
  TForm form{nullptr};
  TEdit source{nullptr}, target{nullptr};
  TRecordingTarget* drop = new TRecordingTarget;
  TDragForm() {
    form.SetBounds(50, 50, 400, 200);
    for (TEdit* e : {&source, &target}) e->SetParent(&form);
    source.SetBounds(10, 10, 150, 24);
    target.SetBounds(200, 10, 150, 24);
    form.Show();
    ProcessPendingEvents();
    EXPECT_EQ(RegisterDragDrop(target.Handle(), drop), S_OK);
  }
  ~TDragForm() {
    RevokeDragDrop(target.Handle());
    drop->Release();
  }
  // Presses the button on the source, then drags with Steps run inside the drag.
  HRESULT Drag(const String& Text, DWORD OkEffects, DWORD& Effect, TButtonSource& Source, std::function<void()> Steps) {
    SimulateMouseDown(&source, mbLeft, 20, 10);
    WhenDragging(std::move(Steps));
    auto* data = new TTextData(Text);
    HRESULT r = DoDragDrop(data, &Source, OkEffects, &Effect);
    data->Release();
    return r;
  }
};

TEST(OleDragDrop, TextDraggedOntoARegisteredWindowIsDroppedWithTheTargetsEffect) {
  TDragForm f;
  TButtonSource source;
  DWORD effect = 99;
  const String text = u"ﾃﾞｰﾀ 日本 €";  // the euro sign has no CP932 code
  HRESULT r = f.Drag(text, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect, source, [&] {
    SimulateMouseMove(&f.source, 100, 10, {ssLeft});
    SimulateMouseMove(&f.target, 20, 10, {ssLeft});
    SimulateMouseMove(&f.target, 40, 12, {ssLeft});
    SimulateMouseUp(&f.target, mbLeft, 40, 12);
  });
  EXPECT_EQ(r, DRAGDROP_S_DROP);
  EXPECT_EQ(effect, DROPEFFECT_MOVE);
  EXPECT_EQ(f.drop->Calls, (std::vector<String>{u"enter", u"over", u"drop"}));
  EXPECT_EQ(f.drop->Dropped, text);
  // Within the program the target reads the source's own data object, which has no 8-bit text.
  EXPECT_EQ(f.drop->DroppedAnsi, u"<none>");
  EXPECT_EQ(f.drop->DropKeys & MK_LBUTTON, 0u);
  TPoint at = f.target.ClientToScreen(TPoint(40, 12));
  EXPECT_EQ(f.drop->DropPoint.x, at.X);
  EXPECT_EQ(f.drop->DropPoint.y, at.Y);
  ASSERT_FALSE(source.Feedback.empty());
  EXPECT_EQ(source.Feedback.back(), DROPEFFECT_MOVE);
}

TEST(OleDragDrop, CtrlCopiesAndEscapeOrAReleaseOverNoTargetCancels) {
  TDragForm f;
  {
    TButtonSource source;
    DWORD effect = 0;
    HRESULT r = f.Drag(u"abc", DROPEFFECT_COPY | DROPEFFECT_MOVE, effect, source, [&] {
      SimulateMouseMove(&f.target, 20, 10, {ssLeft, ssCtrl});
      SimulateMouseUp(&f.target, mbLeft, 20, 10, {ssCtrl});
    });
    EXPECT_EQ(r, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_NE(f.drop->DropKeys & MK_CONTROL, 0u);
  }
  {
    // Released over the form, which takes no drops.
    TButtonSource source;
    DWORD effect = 99;
    f.drop->Calls.clear();
    HRESULT r = f.Drag(u"abc", DROPEFFECT_MOVE, effect, source, [&] {
      SimulateMouseMove(&f.target, 20, 10, {ssLeft});
      SimulateMouseMove(&f.form, 180, 120, {ssLeft});
      SimulateMouseUp(&f.form, mbLeft, 180, 120);
    });
    EXPECT_EQ(r, DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(f.drop->Calls, (std::vector<String>{u"enter", u"leave"}));
  }
  {
    TButtonSource source;
    DWORD effect = 99;
    f.drop->Calls.clear();
    HRESULT r = f.Drag(u"abc", DROPEFFECT_MOVE, effect, source, [&] {
      SimulateMouseMove(&f.target, 20, 10, {ssLeft});
      SimulateKeyDown(&f.source, VK_ESCAPE);
    });
    EXPECT_EQ(r, DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(f.drop->Calls, (std::vector<String>{u"enter", u"leave"}));
  }
}

// Another program's drag arriving at the form's window: enter and drop at a client point of
// the target edit, as the window system delivers them.
DWORD DropFromOutside(TDragForm& f, QMimeData& Mime, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
  QWindow* window = TControlHost::Widget(&f.form)->window()->windowHandle();
  TPoint at = f.target.ClientToScreen(TPoint(30, 10));
  QPoint pos = window->mapFromGlobal(QPoint(at.X, at.Y));
  QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, &Mime, Qt::LeftButton, Mods);
  QCoreApplication::sendEvent(window, &enter);
  QDropEvent drop(QPointF(pos), Qt::CopyAction | Qt::MoveAction, &Mime, Qt::NoButton, Mods);
  QCoreApplication::sendEvent(window, &drop);
  return drop.isAccepted() ? (drop.dropAction() == Qt::CopyAction ? DROPEFFECT_COPY : DROPEFFECT_MOVE)
                           : DROPEFFECT_NONE;
}

TEST(OleDragDrop, OtherProgramsTextReadsAsUnicodeAndInTheSystemCodePage) {
  TDragForm f;
  QMimeData mime;
  mime.setText(QString::fromUtf8("ﾃﾞｰﾀ 日本 €"));
  EXPECT_EQ(DropFromOutside(f, mime, Qt::ControlModifier), DROPEFFECT_COPY);
  EXPECT_EQ(f.drop->Calls, (std::vector<String>{u"enter", u"drop"}));
  EXPECT_EQ(f.drop->Dropped, u"ﾃﾞｰﾀ 日本 €");
  EXPECT_EQ(f.drop->DroppedAnsi, u"ﾃﾞｰﾀ 日本 ");  // the euro sign has no code in CP932
}

TEST(OleDragDrop, RegistrationIsOncePerWindowAndEndsWithRevoke) {
  TDragForm f;
  auto* other = new TRecordingTarget;
  EXPECT_EQ(RegisterDragDrop(f.target.Handle(), other), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_EQ(RegisterDragDrop(nullptr, other), DRAGDROP_E_INVALIDHWND);
  EXPECT_EQ(RevokeDragDrop(f.source.Handle()), DRAGDROP_E_NOTREGISTERED);
  EXPECT_EQ(RegisterDragDrop(f.source.Handle(), other), S_OK);
  EXPECT_EQ(RevokeDragDrop(f.source.Handle()), S_OK);
  EXPECT_EQ(RevokeDragDrop(f.source.Handle()), DRAGDROP_E_NOTREGISTERED);
  other->Release();
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  OleUninitialize();
  OleUninitialize();
}

}  // namespace
