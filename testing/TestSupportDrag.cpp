// Drags in tests: steps inside the program's own drags, and drops from other programs.

#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

#include "platform/ui/OleDragDrop.h"
#include "platform/ui/OleDragDrop_p.h"
#include "platform/win/QtBridge_p.h"
#include "testing/TestSupport.h"

void WhileDragging(std::function<void()> Steps) { WhenDragging(std::move(Steps)); }

namespace {

// As the window system delivers another program's drag: enter, a move, then the drop.
uint32_t DeliverOutsideDrop(TControl* Control, int X, int Y, QMimeData& Mime, TShiftState Shift) {
  const TPoint at = Control->ClientToScreen(TPoint(X, Y));
  QWindow* window = QGuiApplication::topLevelAt(QPoint(at.X, at.Y));
  if (window == nullptr) throw EInvalidOperation(u"No window of the program at the drop point");
  Qt::KeyboardModifiers mods;
  if (Shift.Contains(ssCtrl)) mods |= Qt::ControlModifier;
  if (Shift.Contains(ssShift)) mods |= Qt::ShiftModifier;
  if (Shift.Contains(ssAlt)) mods |= Qt::AltModifier;
  const QPoint pos = window->mapFromGlobal(QPoint(at.X, at.Y));
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(pos, actions, &Mime, Qt::LeftButton, mods);
  QCoreApplication::sendEvent(window, &enter);
  QDragMoveEvent move(pos, actions, &Mime, Qt::LeftButton, mods);
  QCoreApplication::sendEvent(window, &move);
  QDropEvent drop(QPointF(pos), actions, &Mime, Qt::NoButton, mods);
  QCoreApplication::sendEvent(window, &drop);
  if (!drop.isAccepted()) return DROPEFFECT_NONE;
  return drop.dropAction() == Qt::CopyAction ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

}  // namespace

uint32_t SimulateOutsideDrop(TControl* Control, int X, int Y, const String& Text, const std::vector<String>& Files,
                             TShiftState Shift) {
  QMimeData mime;
  if (!Text.empty()) mime.setText(ToQString(Text));
  QList<QUrl> urls;
  for (const String& f : Files) urls << QUrl::fromLocalFile(ToQString(f));
  if (!urls.isEmpty()) mime.setUrls(urls);
  return DeliverOutsideDrop(Control, X, Y, mime, Shift);
}

uint32_t SimulateOutsideDrop(TControl* Control, int X, int Y,
                             const std::vector<std::pair<std::string, std::string>>& Formats, TShiftState Shift) {
  QMimeData mime;
  for (const auto& [type, bytes] : Formats)
    mime.setData(QString::fromStdString(type), QByteArray::fromStdString(bytes));
  return DeliverOutsideDrop(Control, X, Y, mime, Shift);
}
