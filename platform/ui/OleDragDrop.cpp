// OLE drag and drop over Qt's: data objects to and from MIME data, drop targets as event
// filters of their windows, and DoDragDrop over the window system's drag or a loop of its own.

#include "platform/ui/OleDragDrop.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/ui/OleDragDrop_p.h"
#include "platform/win/QtBridge_p.h"
#include "platform/win/WinUser_p.h"

namespace {

const QString kRtfMime = QStringLiteral("text/rtf");
// The MIME types of registered formats (see RegisterClipboardFormat).
const QString kRegisteredPrefix = QStringLiteral("application/x-");

UINT RtfFormat() {
  static const UINT format = RegisterClipboardFormat(u"Rich Text Format");
  return format;
}

// ---------------------------------------------------------------------------
// Global memory blocks of the formats

HGLOBAL BlockOf(const void* Bytes, size_t Size) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, Size);
  if (mem == nullptr) return nullptr;
  if (Size > 0) std::memcpy(GlobalLock(mem), Bytes, Size);
  GlobalUnlock(mem);
  return mem;
}

QByteArray BytesOf(HGLOBAL Mem) {
  const size_t size = GlobalSize(Mem);
  const auto* p = static_cast<const char*>(GlobalLock(Mem));
  QByteArray bytes = p != nullptr ? QByteArray(p, qsizetype(size)) : QByteArray();
  GlobalUnlock(Mem);
  return bytes;
}

// Text up to the first zero character.
QString UnicodeTextOf(const QByteArray& Bytes) {
  const auto* p = reinterpret_cast<const char16_t*>(Bytes.constData());
  qsizetype n = 0, max = Bytes.size() / 2;
  while (n < max && p[n] != 0) ++n;
  return QString::fromUtf16(p, n);
}

QByteArray ZeroEnded(const QByteArray& Bytes) {
  const qsizetype end = Bytes.indexOf('\0');
  return end < 0 ? Bytes : Bytes.left(end);
}

HGLOBAL FileListBlock(const QStringList& Files) {
  DROPFILES head;
  head.pFiles = sizeof(DROPFILES);
  head.fWide = 1;
  QByteArray block(reinterpret_cast<const char*>(&head), sizeof head);
  for (const QString& f : Files) {
    block.append(reinterpret_cast<const char*>(f.utf16()), f.size() * 2);
    block.append(2, '\0');
  }
  block.append(2, '\0');
  return BlockOf(block.constData(), size_t(block.size()));
}

// The bytes of one format of a data object (empty when it has none in global memory).
bool ReadFormat(IDataObject* Data, UINT Format, QByteArray& Bytes) {
  FORMATETC fmt;
  fmt.cfFormat = CLIPFORMAT(Format);
  STGMEDIUM medium;
  if (Data->GetData(&fmt, &medium) != S_OK) return false;
  const bool ok = medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr;
  if (ok) Bytes = BytesOf(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return ok;
}

// ---------------------------------------------------------------------------
// Format enumerator over a fixed list

class TFormatList : public TInterfacedObject<IEnumFORMATETC> {
public:
  explicit TFormatList(std::vector<FORMATETC> Formats) : FFormats(std::move(Formats)) {}
  HRESULT Next(ULONG Count, FORMATETC* Formats, ULONG* Fetched) override {
    ULONG n = 0;
    while (n < Count && FIndex < FFormats.size() && Formats != nullptr) Formats[n++] = FFormats[FIndex++];
    if (Fetched != nullptr) *Fetched = n;
    return n == Count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG Count) override {
    FIndex += Count;
    if (FIndex <= FFormats.size()) return S_OK;
    FIndex = FFormats.size();
    return S_FALSE;
  }
  HRESULT Reset() override {
    FIndex = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumFORMATETC** Enum) override {
    if (Enum == nullptr) return E_POINTER;
    auto* copy = new TFormatList(FFormats);
    copy->FIndex = FIndex;
    *Enum = copy;
    return S_OK;
  }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IEnumFORMATETC; }

private:
  std::vector<FORMATETC> FFormats;
  size_t FIndex = 0;
};

// ---------------------------------------------------------------------------
// A data object over MIME data from another program (or a drag of the desktop's own)

class TMimeDataObject : public TInterfacedObject<IDataObject> {
public:
  explicit TMimeDataObject(const QMimeData* Mime) {
    if (Mime == nullptr) return;
    if (Mime->hasFormat(kRtfMime)) FRtf = Mime->data(kRtfMime);
    // Plain text as offered: not the text form Qt derives from a file list.
    const bool hasText = Mime->formats().filter(QStringLiteral("text/plain")).size() > 0;
    if (hasText) FText = Mime->text();
    // Entries of a URI list that do not parse or name no scheme are left out.
    for (const QUrl& url : Mime->urls()) {
      if (!url.isValid() || url.isRelative()) continue;
      if (url.isLocalFile()) FFiles << url.toLocalFile();
      else if (FLink.isEmpty()) FLink = url.toString();
    }
    // A link travels as "UniformResourceLocator" and, without text of its own, as the text.
    if (!hasText && !FLink.isEmpty()) FText = FLink;
    if (hasText || !FLink.isEmpty()) {
      FFormats.push_back(Format(CF_UNICODETEXT));
      FFormats.push_back(Format(CF_TEXT));
    }
    if (!FFiles.isEmpty()) FFormats.push_back(Format(CF_HDROP));
    if (Mime->hasFormat(kRtfMime)) FFormats.push_back(Format(RtfFormat()));
    if (!FLink.isEmpty()) FFormats.push_back(Format(RegisterClipboardFormat(u"UniformResourceLocator")));
    // Registered byte formats come as "application/x-<name>"; names this program never
    // registered are no formats of its.
    for (const QString& type : Mime->formats()) {
      if (!type.startsWith(kRegisteredPrefix)) continue;
      const UINT format = RegisteredClipboardFormat(FromQString(type.mid(kRegisteredPrefix.size())));
      if (format == 0 || format == RtfFormat() || FBytes.count(format) != 0) continue;
      FBytes[format] = Mime->data(type);
      FFormats.push_back(Format(format));
    }
  }

  HRESULT GetData(const FORMATETC* Fmt, STGMEDIUM* Medium) override {
    if (Medium == nullptr) return E_POINTER;
    *Medium = STGMEDIUM();
    HRESULT q = QueryGetData(Fmt);
    if (q != S_OK) return q;
    HGLOBAL mem = nullptr;
    if (Fmt->cfFormat == CF_UNICODETEXT) {
      mem = BlockOf(FText.utf16(), size_t(FText.size() + 1) * 2);
    } else if (Fmt->cfFormat == CF_TEXT) {
      std::string bytes;
      EncodeCodePage(FromQString(FText), SystemCodePage, bytes, true);
      mem = BlockOf(bytes.c_str(), bytes.size() + 1);
    } else if (Fmt->cfFormat == CF_HDROP) {
      mem = FileListBlock(FFiles);
    } else if (FBytes.count(Fmt->cfFormat) != 0) {
      const QByteArray& bytes = FBytes[Fmt->cfFormat];
      mem = BlockOf(bytes.constData(), size_t(bytes.size()));
    } else if (Fmt->cfFormat != RtfFormat()) {
      QByteArray link = FLink.toUtf8();
      link.append('\0');
      mem = BlockOf(link.constData(), size_t(link.size()));
    } else {
      QByteArray rtf = FRtf;
      rtf.append('\0');
      mem = BlockOf(rtf.constData(), size_t(rtf.size()));
    }
    if (mem == nullptr) return E_OUTOFMEMORY;
    Medium->tymed = TYMED_HGLOBAL;
    Medium->hGlobal = mem;
    return S_OK;
  }
  HRESULT GetDataHere(const FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT QueryGetData(const FORMATETC* Fmt) override {
    if (Fmt == nullptr) return E_INVALIDARG;
    if (Fmt->dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
    for (const FORMATETC& f : FFormats)
      if (f.cfFormat == Fmt->cfFormat) return (Fmt->tymed & TYMED_HGLOBAL) != 0 ? S_OK : DV_E_TYMED;
    return DV_E_FORMATETC;
  }
  HRESULT GetCanonicalFormatEtc(const FORMATETC*, FORMATETC* Out) override {
    if (Out != nullptr) Out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT SetData(const FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Enum) override {
    if (Enum == nullptr) return E_POINTER;
    *Enum = nullptr;
    if (Direction != DATADIR_GET) return E_NOTIMPL;
    *Enum = new TFormatList(FFormats);
    return S_OK;
  }
  HRESULT DAdvise(const FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT EnumDAdvise(IEnumSTATDATA** Enum) override {
    if (Enum != nullptr) *Enum = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
  }

protected:
  bool Supports(REFIID Riid) const override { return Riid == IID_IDataObject; }

private:
  static FORMATETC Format(UINT Cf) {
    FORMATETC f;
    f.cfFormat = CLIPFORMAT(Cf);
    return f;
  }
  std::vector<FORMATETC> FFormats;
  QString FText;
  QStringList FFiles;
  QByteArray FRtf;
  QString FLink;
  std::map<UINT, QByteArray> FBytes;
};

// MIME data of a drag started here: the data object itself for targets in this program, and
// its text, files and rich text for other programs.
class TOleMimeData : public QMimeData {
public:
  explicit TOleMimeData(IDataObject* Data) : FData(Data) {
    FData->AddRef();
    QByteArray bytes;
    if (ReadFormat(Data, CF_UNICODETEXT, bytes)) setText(UnicodeTextOf(bytes));
    else if (ReadFormat(Data, CF_TEXT, bytes)) {
      String text;
      DecodeCodePage(std::string_view(ZeroEnded(bytes).constData(), size_t(ZeroEnded(bytes).size())), SystemCodePage,
                     text, true);
      setText(ToQString(text));
    }
    if (ReadFormat(Data, RtfFormat(), bytes)) setData(kRtfMime, ZeroEnded(bytes));
    // The data object's other registered formats go to other programs under their names.
    IEnumFORMATETC* list = nullptr;
    if (Data->EnumFormatEtc(DATADIR_GET, &list) == S_OK && list != nullptr) {
      FORMATETC f;
      ULONG fetched = 0;
      Char name[256];
      while (list->Next(1, &f, &fetched) == S_OK && fetched == 1) {
        if (f.cfFormat == RtfFormat() || GetClipboardFormatName(f.cfFormat, name, 256) == 0) continue;
        if (ReadFormat(Data, f.cfFormat, bytes)) setData(kRegisteredPrefix + ToQString(String(name)), bytes);
      }
      list->Release();
    }
  }
  ~TOleMimeData() override { FData->Release(); }
  IDataObject* Data() const { return FData; }

private:
  IDataObject* FData;
};

// The data object a drop target sees for MIME data: the source's own, or one over the MIME
// data; a new reference.
IDataObject* DataObjectOf(const QMimeData* Mime) {
  if (auto* ole = dynamic_cast<const TOleMimeData*>(Mime)) {
    ole->Data()->AddRef();
    return ole->Data();
  }
  return new TMimeDataObject(Mime);
}

// ---------------------------------------------------------------------------
// Effects and key states

DWORD EffectsOf(Qt::DropActions Actions) {
  DWORD e = DROPEFFECT_NONE;
  if (Actions & Qt::CopyAction) e |= DROPEFFECT_COPY;
  if (Actions & Qt::MoveAction) e |= DROPEFFECT_MOVE;
  if (Actions & Qt::LinkAction) e |= DROPEFFECT_LINK;
  return e;
}

Qt::DropActions ActionsOf(DWORD Effects) {
  Qt::DropActions a;
  if (Effects & DROPEFFECT_COPY) a |= Qt::CopyAction;
  if (Effects & DROPEFFECT_MOVE) a |= Qt::MoveAction;
  if (Effects & DROPEFFECT_LINK) a |= Qt::LinkAction;
  return a;
}

// The one action of a target's answer: move before copy before link, as the answer names it.
Qt::DropAction ActionOf(DWORD Effect) {
  if (Effect & DROPEFFECT_MOVE) return Qt::MoveAction;
  if (Effect & DROPEFFECT_COPY) return Qt::CopyAction;
  if (Effect & DROPEFFECT_LINK) return Qt::LinkAction;
  return Qt::IgnoreAction;
}

DWORD KeyStateOf(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Mods) {
  DWORD k = 0;
  if (Buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (Buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (Buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (Mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (Mods & Qt::ControlModifier) k |= MK_CONTROL;
  if (Mods & Qt::AltModifier) k |= MK_ALT;
  return k;
}

POINTL ScreenPoint(QWidget* W, const QPointF& Local) {
  QPoint g = W->mapToGlobal(Local.toPoint());
  return POINTL{g.x(), g.y()};
}

// ---------------------------------------------------------------------------
// Drop targets: an event filter of the window's widget

class TDropBinding : public QObject {
public:
  TDropBinding(QWidget* W, IDropTarget* Target) : QObject(W), FWidget(W), FTarget(Target) {
    FTarget->AddRef();
    FWasAccepting = W->acceptDrops();
    W->setAcceptDrops(true);
    W->installEventFilter(this);
  }
  ~TDropBinding() override {
    EndData();
    if (FWidget) {
      FWidget->removeEventFilter(this);
      FWidget->setAcceptDrops(FWasAccepting);
    }
    FTarget->Release();
  }

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Watched != FWidget.data()) return false;
    switch (Event->type()) {
      case QEvent::DragEnter: {
        auto* e = static_cast<QDragEnterEvent*>(Event);
        EndData();
        FData = DataObjectOf(e->mimeData());
        DWORD effect = EffectsOf(e->possibleActions());
        FTarget->DragEnter(FData, KeyStateOf(e->buttons(), e->modifiers()), ScreenPoint(FWidget, e->position()), &effect);
        // The window keeps getting the moves, as a target that refuses now may take the data
        // at another point.
        Answer(e, effect, e->possibleActions());
        e->accept();
        return true;
      }
      case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(Event);
        DWORD effect = EffectsOf(e->possibleActions());
        FTarget->DragOver(KeyStateOf(e->buttons(), e->modifiers()), ScreenPoint(FWidget, e->position()), &effect);
        Answer(e, effect, e->possibleActions());
        return true;
      }
      case QEvent::DragLeave:
        FTarget->DragLeave();
        EndData();
        return true;
      case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(Event);
        IDataObject* data = FData != nullptr ? FData : DataObjectOf(e->mimeData());
        if (data == FData) FData = nullptr;
        DWORD effect = EffectsOf(e->possibleActions());
        FTarget->Drop(data, KeyStateOf(e->buttons(), e->modifiers()), ScreenPoint(FWidget, e->position()), &effect);
        data->Release();
        Answer(e, effect, e->possibleActions());
        return true;
      }
      default:
        return false;
    }
  }

private:
  static void Answer(QDropEvent* E, DWORD Effect, Qt::DropActions Allowed) {
    Qt::DropAction a = ActionOf(Effect & EffectsOf(Allowed));
    if (a == Qt::IgnoreAction) {
      E->ignore();
    } else {
      E->setDropAction(a);
      E->accept();
    }
  }
  void EndData() {
    if (FData != nullptr) FData->Release();
    FData = nullptr;
  }

  QPointer<QWidget> FWidget;
  IDropTarget* FTarget;
  IDataObject* FData = nullptr;
  bool FWasAccepting = false;
};

std::map<HWND, QPointer<TDropBinding>>& Targets() {
  static std::map<HWND, QPointer<TDropBinding>> targets;
  return targets;
}

int gOleInitCount = 0;

// ---------------------------------------------------------------------------
// The drag

// Asks the source about each key and button change of a drag; a cancel or drop it asks for
// is passed to the drag through the callbacks.
class TSourceWatch : public QObject {
public:
  TSourceWatch(IDropSource* Source, std::function<void()> Cancel, std::function<void()> DropNow,
               std::function<void(QPoint)> Moved)
      : FSource(Source), FCancel(std::move(Cancel)), FDrop(std::move(DropNow)), FMoved(std::move(Moved)) {
    qApp->installEventFilter(this);
  }
  ~TSourceWatch() override { qApp->removeEventFilter(this); }
  bool Ended() const { return FEnded; }

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (FEnded || !Watched->isWindowType()) return false;
    switch (Event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* e = static_cast<QKeyEvent*>(Event);
        const bool escape = Event->type() == QEvent::KeyPress && e->key() == Qt::Key_Escape;
        Ask(escape, KeyStateOf(QGuiApplication::mouseButtons(), e->modifiers()));
        return FMoved != nullptr;
      }
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(Event);
        if (Ask(false, KeyStateOf(e->buttons(), e->modifiers())) == S_OK && FMoved && Event->type() == QEvent::MouseMove)
          FMoved(e->globalPosition().toPoint());
        return FMoved != nullptr;
      }
      default:
        return false;
    }
  }

private:
  HRESULT Ask(bool Escape, DWORD Keys) {
    HRESULT r = FSource->QueryContinueDrag(Escape ? TRUE : FALSE, Keys);
    if (r == DRAGDROP_S_CANCEL) {
      FEnded = true;
      FCancel();
    } else if (r == DRAGDROP_S_DROP) {
      FEnded = true;
      FDrop();
    }
    return r;
  }

  IDropSource* FSource;
  std::function<void()> FCancel, FDrop;
  std::function<void(QPoint)> FMoved;
  bool FEnded = false;
};

// The drag where the window system has none: drag events go to the top-level window under the
// mouse, which passes them on to the widget there, as the window system's drag events do.
class TLocalDrag {
public:
  TLocalDrag(QMimeData* Mime, Qt::DropActions Actions, IDropSource* Source) : FMime(Mime), FActions(Actions), FSource(Source) {}

  Qt::DropAction Run() {
    QEventLoop loop;
    FLoop = &loop;
    TSourceWatch watch(
        FSource,
        [this] {
          Leave();
          Finish(Qt::IgnoreAction);
        },
        [this] { Finish(Drop()); }, [this](QPoint At) { Move(At); });
    Move(QCursor::pos());
    if (!FDone) loop.exec();
    FLoop = nullptr;
    return FResult;
  }

private:
  void Move(QPoint Global) {
    FAt = Global;
    QWindow* w = QGuiApplication::topLevelAt(Global);
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    if (w != FWindow) {
      Leave();
      FWindow = w;
      if (w == nullptr) return Feedback(Qt::IgnoreAction);
      QDragEnterEvent enter(w->mapFromGlobal(Global), FActions, FMime, buttons, mods);
      QCoreApplication::sendEvent(w, &enter);
      FAccepted = enter.isAccepted();
      FAction = FAccepted ? enter.dropAction() : Qt::IgnoreAction;
    } else if (w != nullptr) {
      QDragMoveEvent move(w->mapFromGlobal(Global), FActions, FMime, buttons, mods);
      if (FAccepted) move.setDropAction(FAction);
      else move.ignore();
      QCoreApplication::sendEvent(w, &move);
      FAccepted = move.isAccepted();
      FAction = FAccepted ? move.dropAction() : Qt::IgnoreAction;
    }
    Feedback(FAction);
  }
  void Leave() {
    if (FWindow) {
      QDragLeaveEvent leave;
      QCoreApplication::sendEvent(FWindow, &leave);
    }
    FWindow = nullptr;
  }
  Qt::DropAction Drop() {
    if (!FWindow || !FAccepted) {
      Leave();
      return Qt::IgnoreAction;
    }
    QDropEvent drop(FWindow->mapFromGlobal(QPointF(FAt)), FActions, FMime, Qt::NoButton,
                    QGuiApplication::keyboardModifiers());
    drop.setDropAction(FAction);
    QCoreApplication::sendEvent(FWindow, &drop);
    FWindow = nullptr;
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
  }
  void Feedback(Qt::DropAction A) { FSource->GiveFeedback(EffectsOf(A)); }
  void Finish(Qt::DropAction Result) {
    FResult = Result;
    FDone = true;
    if (FLoop != nullptr) FLoop->quit();
  }

  QMimeData* FMime;
  Qt::DropActions FActions;
  IDropSource* FSource;
  QEventLoop* FLoop = nullptr;
  QPointer<QWindow> FWindow;
  QPoint FAt;
  bool FAccepted = false;
  Qt::DropAction FAction = Qt::IgnoreAction;
  Qt::DropAction FResult = Qt::IgnoreAction;
  bool FDone = false;
};

bool SystemDrags() {
  const QString name = QGuiApplication::platformName();
  return name != QLatin1String("offscreen") && name != QLatin1String("minimal");
}

int gDragDepth = 0;

}  // namespace

// ---------------------------------------------------------------------------

void ReleaseStgMedium(STGMEDIUM* Medium) {
  if (Medium == nullptr) return;
  if (Medium->pUnkForRelease != nullptr) {
    Medium->pUnkForRelease->Release();
  } else {
    if (Medium->tymed == TYMED_HGLOBAL && Medium->hGlobal != nullptr) GlobalFree(Medium->hGlobal);
    if (Medium->tymed == TYMED_ISTREAM && Medium->pstm != nullptr) Medium->pstm->Release();
  }
  *Medium = STGMEDIUM();
}

HRESULT OleInitialize(void*) { return gOleInitCount++ == 0 ? S_OK : S_FALSE; }

void OleUninitialize() {
  if (gOleInitCount > 0) --gOleInitCount;
}

HRESULT RegisterDragDrop(HWND Wnd, IDropTarget* Target) {
  if (Target == nullptr) return E_INVALIDARG;
  if (!IsWindow(Wnd) || WindowWidget(Wnd) == nullptr) return DRAGDROP_E_INVALIDHWND;
  auto& targets = Targets();
  auto it = targets.find(Wnd);
  if (it != targets.end() && it->second) return DRAGDROP_E_ALREADYREGISTERED;
  targets[Wnd] = new TDropBinding(WindowWidget(Wnd), Target);
  return S_OK;
}

HRESULT RevokeDragDrop(HWND Wnd) {
  auto& targets = Targets();
  auto it = targets.find(Wnd);
  if (it == targets.end() || !it->second) {
    if (it != targets.end()) targets.erase(it);
    return IsWindow(Wnd) ? DRAGDROP_E_NOTREGISTERED : DRAGDROP_E_INVALIDHWND;
  }
  delete it->second.data();
  targets.erase(it);
  return S_OK;
}

HRESULT DoDragDrop(IDataObject* DataObj, IDropSource* DropSource, DWORD OkEffects, DWORD* Effect) {
  if (DataObj == nullptr || DropSource == nullptr || Effect == nullptr) return E_INVALIDARG;
  *Effect = DROPEFFECT_NONE;
  const Qt::DropActions actions = ActionsOf(OkEffects);
  auto* mime = new TOleMimeData(DataObj);
  Qt::DropAction result = Qt::IgnoreAction;
  ++gDragDepth;
  if (SystemDrags()) {
    QWidget* from = QApplication::widgetAt(QCursor::pos());
    if (from == nullptr) from = QApplication::activeWindow();
    QDrag drag(from != nullptr ? static_cast<QObject*>(from) : qApp);
    drag.setMimeData(mime);
    TSourceWatch watch(DropSource, [] { QDrag::cancel(); }, [] {}, nullptr);
    QObject::connect(&drag, &QDrag::actionChanged,
                     [DropSource](Qt::DropAction a) { DropSource->GiveFeedback(EffectsOf(a)); });
    result = drag.exec(actions, actions & Qt::MoveAction ? Qt::MoveAction : Qt::CopyAction);
  } else {
    TLocalDrag drag(mime, actions, DropSource);
    result = drag.Run();
    delete mime;
  }
  --gDragDepth;
  *Effect = EffectsOf(result) & OkEffects;
  return *Effect == DROPEFFECT_NONE ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
}

bool DragInProgress() { return gDragDepth > 0; }

void WhenDragging(std::function<void()> Step) {
  // Polled from the event loop: the drag's own loop runs the step once it is under way.
  auto* timer = new QTimer(qApp);
  auto started = std::make_shared<QElapsedTimer>();
  started->start();
  QObject::connect(timer, &QTimer::timeout, timer, [timer, started, Step = std::move(Step)] {
    if (!DragInProgress() && started->elapsed() < 20000) return;
    timer->deleteLater();
    timer->stop();
    if (DragInProgress()) Step();
  });
  timer->start(5);
}
