// Date-time picker: a date-time edit with a check box in front and a drop-down calendar.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls_p.h"

namespace {

constexpr TColor kWindowColor = static_cast<TColor>(0xFF000005);

// ---- Conversions

QDateTime ToQDateTime(TDateTime v) {
  SYSTEMTIME st;
  DateTimeToSystemTime(v, st);
  return QDateTime(QDate(st.wYear, st.wMonth, st.wDay), QTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds));
}

bool ToSystemTime(const QDateTime& v, SYSTEMTIME& st) {
  if (!v.isValid()) return false;
  QDate d = v.date();
  QTime t = v.time();
  st.wYear = WORD(d.year());
  st.wMonth = WORD(d.month());
  st.wDay = WORD(d.day());
  st.wDayOfWeek = WORD(d.dayOfWeek() % 7);
  st.wHour = WORD(t.hour());
  st.wMinute = WORD(t.minute());
  st.wSecond = WORD(t.second());
  st.wMilliseconds = WORD(t.msec());
  return true;
}

QDateTime FromSystemTime(const SYSTEMTIME& st) {
  QDate d(st.wYear, st.wMonth, st.wDay);
  QTime t(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
  if (!d.isValid() || !t.isValid()) return QDateTime();
  return QDateTime(d, t);
}

const QDate kMinDate(1601, 1, 1);
const QDate kMaxDate(9999, 12, 31);

// ---- Formats

bool IsFieldLetter(Char c) {
  return c == u'd' || c == u'M' || c == u'y' || c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u't';
}

// The native format in Qt's letters. Qt knows no one-digit year and no one-letter AM/PM mark:
// they show as two digits and as the whole mark. Every other character is quoted for Qt.
QString QtFormatOf(const String& f) {
  QString out, literal;
  auto flush = [&] {
    if (literal.isEmpty()) return;
    out += u'\'';
    for (QChar c : literal) out += c == u'\'' ? QStringLiteral("''") : QString(c);
    out += u'\'';
    literal.clear();
  };
  for (size_t i = 0; i < f.size();) {
    Char c = f[i];
    if (c == u'\'') {
      // Quoted text up to the next lone quote; '' inside is one quote.
      ++i;
      while (i < f.size()) {
        if (f[i] == u'\'') {
          if (i + 1 < f.size() && f[i + 1] == u'\'') {
            literal += u'\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal += QChar(f[i++]);
      }
      continue;
    }
    if (!IsFieldLetter(c)) {
      literal += QChar(c);
      ++i;
      continue;
    }
    size_t n = 1;
    while (i + n < f.size() && f[i + n] == c) ++n;
    i += n;
    flush();
    switch (c) {
      case u'd': out += QString(int(std::min<size_t>(n, 4)), u'd'); break;
      case u'M': out += QString(int(std::min<size_t>(n, 4)), u'M'); break;
      case u'y': out += n <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy"); break;
      case u'h': out += n == 1 ? QStringLiteral("h") : QStringLiteral("hh"); break;
      case u'H': out += n == 1 ? QStringLiteral("H") : QStringLiteral("HH"); break;
      case u'm': out += n == 1 ? QStringLiteral("m") : QStringLiteral("mm"); break;
      case u's': out += n == 1 ? QStringLiteral("s") : QStringLiteral("ss"); break;
      case u't': out += QStringLiteral("AP"); break;
    }
  }
  flush();
  return out;
}

// A format of FormatDateTime's letters (the locale's date and time formats) in the native
// letters: m after h is the minute, otherwise the month; n is the minute; h is 0..23 unless
// the format has an AM/PM mark.
String NativeOfLocaleFormat(const String& f) {
  String lower;
  for (Char c : f) lower += (c >= u'A' && c <= u'Z') ? Char(c + 32) : c;
  const bool ampm = lower.find(u"am/pm") != String::npos || lower.find(u"a/p") != String::npos ||
                    lower.find(u"ampm") != String::npos;
  String out;
  bool afterHour = false;
  for (size_t i = 0; i < f.size();) {
    Char c = lower[i];
    if (f[i] == u'"' || f[i] == u'\'') {
      Char q = f[i];
      size_t end = f.find(q, i + 1);
      if (end == String::npos) end = f.size();
      out += u'\'' + f.substr(i + 1, end - i - 1) + u'\'';
      i = end + 1;
      continue;
    }
    if (lower.compare(i, 5, u"am/pm") == 0 || lower.compare(i, 4, u"ampm") == 0) {
      out += u"tt";
      i += lower.compare(i, 4, u"ampm") == 0 ? 4 : 5;
      continue;
    }
    if (lower.compare(i, 3, u"a/p") == 0) {
      out += u"t";
      i += 3;
      continue;
    }
    size_t n = 1;
    while (i + n < f.size() && lower[i + n] == c) ++n;
    switch (c) {
      case u'y': out += String(n, u'y'); break;
      case u'd': out += String(n, u'd'); break;
      case u'm': out += String(n, afterHour && n <= 2 ? u'm' : u'M'); break;
      case u'n': out += String(std::min<size_t>(n, 2), u'm'); break;
      case u's': out += String(std::min<size_t>(n, 2), u's'); break;
      case u'h': out += String(std::min<size_t>(n, 2), ampm ? u'h' : u'H'); break;
      default: out += f.substr(i, n); break;
    }
    // m right after an hour field (separators between) is the minute.
    if (c >= u'a' && c <= u'z') afterHour = c == u'h';
    i += n;
  }
  return out;
}

// ---- Widgets

// The fields. Keys act as the native control's: Right and Left move between the fields,
// Up and Down step the field, digits type into it; nothing else edits the text.
class PickerEdit : public QDateTimeEdit {
public:
  using QDateTimeEdit::lineEdit;
  std::function<void()> onPopupRequest;  // F4 or Alt+Down

  void SelectField(int index) {
    int count = sectionCount();
    if (count <= 0) return;
    index = ((index % count) + count) % count;
    setCurrentSectionIndex(index);
    // The field shows selected only while the picker has the focus.
    if (parentWidget() != nullptr && parentWidget()->hasFocus()) setSelectedSection(sectionAt(index));
    else lineEdit()->deselect();
  }
  // Opens the calendar as a click on the drop-down button does.
  void ClickButton() {
    QPointF p(width() - 6, height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, p, mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QDateTimeEdit::mousePressEvent(&press);
    QDateTimeEdit::mouseReleaseEvent(&release);
  }
  void ForgetTyping() { typed_.clear(); }

protected:
  void keyPressEvent(QKeyEvent* e) override {
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool plain = (mods & ~Qt::ShiftModifier) == Qt::NoModifier;
    switch (e->key()) {
      case Qt::Key_Right:
      case Qt::Key_Left:
        if (mods != Qt::NoModifier) break;
        typed_.clear();
        SelectField(currentSectionIndex() + (e->key() == Qt::Key_Right ? 1 : -1));
        return;
      case Qt::Key_Home:
      case Qt::Key_End:
        typed_.clear();
        SelectField(e->key() == Qt::Key_Home ? 0 : sectionCount() - 1);
        return;
      case Qt::Key_F4:
        if (onPopupRequest) onPopupRequest();
        return;
      case Qt::Key_Down:
        if (mods == Qt::AltModifier) {
          if (onPopupRequest) onPopupRequest();
          return;
        }
        [[fallthrough]];
      case Qt::Key_Up:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown: {
        typed_.clear();
        int index = currentSectionIndex();
        QDateTimeEdit::keyPressEvent(e);
        SelectField(index);
        return;
      }
      case Qt::Key_Backspace:
      case Qt::Key_Delete:
        typed_.clear();
        return;
      default:
        break;
    }
    const QString text = e->text();
    if (plain && text.size() == 1 && text[0].isPrint()) {
      if (text[0] >= u'0' && text[0] <= u'9') TypeDigit(text[0].unicode() - u'0');
      else TypeLetter(text[0]);
      return;
    }
    QDateTimeEdit::keyPressEvent(e);
  }
  void focusOutEvent(QFocusEvent* e) override {
    typed_.clear();
    int index = currentSectionIndex();
    QDateTimeEdit::focusOutEvent(e);
    setCurrentSectionIndex(index);
    lineEdit()->deselect();
  }
  void focusInEvent(QFocusEvent* e) override {
    int index = currentSectionIndex();
    QDateTimeEdit::focusInEvent(e);
    SelectField(index);
  }
  void mousePressEvent(QMouseEvent* e) override {
    typed_.clear();
    QDateTimeEdit::mousePressEvent(e);
  }
  // A click in the text selects the whole field it lands in.
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == lineEdit() && e->type() == QEvent::MouseButtonPress) typed_.clear();
    if (o == lineEdit() && e->type() == QEvent::MouseButtonRelease) {
      bool r = QDateTimeEdit::eventFilter(o, e);
      SelectField(currentSectionIndex());
      return r;
    }
    return QDateTimeEdit::eventFilter(o, e);
  }

private:
  bool Numeric(Section s) const {
    QString part = sectionText(s);
    if (part.isEmpty()) return false;
    return std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); });
  }

  bool TwelveHour() const { return displayFormat().contains(u"AP") || displayFormat().contains(u"ap"); }

  void Apply(const QDate& d, const QTime& t) {
    int index = currentSectionIndex();
    if (d.isValid() && t.isValid() && d >= kMinDate && d <= kMaxDate) setDateTime(QDateTime(d, t));
    SelectField(index);
  }

  void TypeDigit(int digit) {
    const int index = currentSectionIndex();
    const Section s = currentSection();
    if (!Numeric(s)) return;
    if (typedIndex_ != index) {
      typed_.clear();
      typedIndex_ = index;
    }
    typed_ += QChar(u'0' + digit);
    const QDateTime v = dateTime();
    const QDate d = v.date();
    const QTime t = v.time();
    if (s == YearSection) {
      const int width = sectionText(s).size() >= 4 ? 4 : 2;
      if (typed_.size() < width) return;
      int year = typed_.toInt();
      typed_.clear();
      if (width == 2) year += year < 30 ? 2000 : 1900;
      QDate nd(year, d.month(), 1);
      if (!nd.isValid()) return;
      Apply(QDate(year, d.month(), std::min(d.day(), nd.daysInMonth())), t);
      return;
    }
    int min = 0, max = 59;
    switch (s) {
      case DaySection: min = 1; max = d.daysInMonth(); break;
      case MonthSection: min = 1; max = 12; break;
      case HourSection: min = TwelveHour() ? 1 : 0; max = TwelveHour() ? 12 : 23; break;
      case MSecSection: max = 999; break;
      default: break;
    }
    int n = typed_.toInt();
    if (n > max) {
      typed_ = QString(QChar(u'0' + digit));
      n = digit;
    }
    const int width = s == MSecSection ? 3 : 2;
    if (typed_.size() >= width || n * 10 > max) typed_.clear();  // no further digit fits
    if (n < min) return;
    switch (s) {
      case DaySection: Apply(QDate(d.year(), d.month(), n), t); break;
      case MonthSection: Apply(QDate(d.year(), n, std::min(d.day(), QDate(d.year(), n, 1).daysInMonth())), t); break;
      case HourSection: {
        int h = n;
        if (TwelveHour()) h = (n % 12) + (t.hour() >= 12 ? 12 : 0);
        Apply(d, QTime(h, t.minute(), t.second(), t.msec()));
        break;
      }
      case MinuteSection: Apply(d, QTime(t.hour(), n, t.second(), t.msec())); break;
      case SecondSection: Apply(d, QTime(t.hour(), t.minute(), n, t.msec())); break;
      case MSecSection: Apply(d, QTime(t.hour(), t.minute(), t.second(), n)); break;
      default: break;
    }
  }

  void TypeLetter(QChar c) {
    typed_.clear();
    if (currentSection() != AmPmSection) return;
    const QDateTime v = dateTime();
    QTime t = v.time();
    const QChar l = c.toLower();
    int h = t.hour();
    if (l == u'a' && h >= 12) h -= 12;
    else if (l == u'p' && h < 12) h += 12;
    else return;
    Apply(v.date(), QTime(h, t.minute(), t.second(), t.msec()));
  }

  QString typed_;
  int typedIndex_ = -1;
};

// Watches the calendar pop-up opening and closing.
class PopupWatch : public QObject {
public:
  std::function<void(bool shown)> onShown;

protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (onShown && (e->type() == QEvent::Show || e->type() == QEvent::Hide)) onShown(e->type() == QEvent::Show);
    return false;
  }
};

// The picker's window: check box, fields and what is drawn over them. The window holds the
// focus and hands keys and focus to the fields, so the control's key messages see every key.
class PickerWidget : public QWidget {
public:
  PickerWidget() {
    check = new QCheckBox(this);
    check->setFocusPolicy(Qt::NoFocus);
    edit = new PickerEdit;
    edit->setParent(this);
    edit->setFocusProxy(this);
    edit->lineEdit()->installEventFilter(edit);
    // Drawn over the fields and the check box.
    decor = new TPaintOverLayer(this);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
  }
  QCheckBox* check;
  PickerEdit* edit;
  TPaintOverLayer* decor;
  PopupWatch* watch = nullptr;  // made with the calendar
  QDateTime shown;              // the value the fields last reported
  std::function<void(QWidget* from, QMouseEvent* e)> onChildMouse;

  void LayoutParts() {
    int x = 0;
    if (check->isVisibleTo(this)) {
      QSize s = check->sizeHint();
      check->setGeometry(3, (height() - s.height()) / 2, s.width(), s.height());
      x = check->geometry().right() + 2;
    }
    edit->setGeometry(x, 0, std::max(0, width() - x), height());
    decor->setGeometry(rect());
    decor->raise();
  }

protected:
  void resizeEvent(QResizeEvent*) override { LayoutParts(); }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), edit->palette().color(QPalette::Base));
  }
  void keyPressEvent(QKeyEvent* e) override { edit->event(e); }
  void keyReleaseEvent(QKeyEvent* e) override { edit->event(e); }
  void focusInEvent(QFocusEvent* e) override { edit->event(e); }
  void focusOutEvent(QFocusEvent* e) override { edit->event(e); }
  void inputMethodEvent(QInputMethodEvent* e) override { edit->event(e); }
  QVariant inputMethodQuery(Qt::InputMethodQuery q) const override { return edit->inputMethodQuery(q); }
  // Mouse input over the fields and the check box is the control's too.
  bool eventFilter(QObject* o, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        if (onChildMouse) onChildMouse(static_cast<QWidget*>(o), static_cast<QMouseEvent*>(e));
        break;
      default:
        break;
    }
    return false;
  }

public:
  void WatchChildMouse() {
    for (QWidget* w : {static_cast<QWidget*>(check), static_cast<QWidget*>(edit), static_cast<QWidget*>(edit->lineEdit())}) {
      w->installEventFilter(this);
      w->setMouseTracking(true);
    }
  }
};

}  // namespace

// ---------------------------------------------------------------------------

void DateTimeToSystemTime(TDateTime DateTime, SYSTEMTIME& SystemTime) {
  uint16_t y, mo, d, h, mi, s, ms;
  DecodeDateTime(DateTime, y, mo, d, h, mi, s, ms);
  SystemTime.wYear = y;
  SystemTime.wMonth = mo;
  SystemTime.wDay = d;
  SystemTime.wDayOfWeek = WORD(DayOfWeek(DateTime) - 1);
  SystemTime.wHour = h;
  SystemTime.wMinute = mi;
  SystemTime.wSecond = s;
  SystemTime.wMilliseconds = ms;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& SystemTime) {
  TDateTime date = EncodeDate(SystemTime.wYear, SystemTime.wMonth, SystemTime.wDay);
  TDateTime time = EncodeTime(SystemTime.wHour, SystemTime.wMinute, SystemTime.wSecond, SystemTime.wMilliseconds);
  // Before 1899-12-30 the time of day counts away from zero, as the date does.
  return date < 0 ? date - time : date + time;
}

struct TPickerView {
  static PickerWidget* Of(const TDateTimePicker* p) { return dynamic_cast<PickerWidget*>(TControlHost::Widget(p)); }
  // Tells the control what the user did, as the native window's notification.
  static void Notify(TDateTimePicker* p, UINT code, DWORD flags) {
    NMDATETIMECHANGE nm;
    nm.nmhdr.hwndFrom = p->FHandle;
    nm.nmhdr.code = code;
    nm.dwFlags = flags;
    if (PickerWidget* w = Of(p)) ToSystemTime(w->edit->dateTime(), nm.st);
    GuardedCall([&] { p->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm)); });
  }
  static QString DisplayFormat(const TDateTimePicker* p) {
    if (!p->FFormat.empty()) return QtFormatOf(p->FFormat);
    if (p->FKind == dtkTime) return QtFormatOf(NativeOfLocaleFormat(FormatSettings.LongTimeFormat));
    return QtFormatOf(NativeOfLocaleFormat(p->FDateFormat == dfLong ? FormatSettings.LongDateFormat
                                                                     : FormatSettings.ShortDateFormat));
  }
};

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(kWindowColor);
  // The fields keep the mouse themselves (text selection, the calendar's button).
  FControlStyle.Exclude(csCaptureMouse);
  FControlStyle.Exclude(csSetCaption);
  FDateTime = Now();
}

TDateTimePicker::~TDateTimePicker() {
  // The window goes later, with the windowed control: nothing it does then may reach here.
  if (PickerWidget* w = TPickerView::Of(this)) {
    QObject::disconnect(w->edit, nullptr, nullptr, nullptr);
    QObject::disconnect(w->check, nullptr, nullptr, nullptr);
    w->decor->Stop();
    w->onChildMouse = nullptr;
    w->edit->onPopupRequest = nullptr;
    if (w->watch) w->watch->onShown = nullptr;
  }
}

void TDateTimePicker::CreateWnd() {
  auto* w = new PickerWidget;
  TControlHost::Attach(this, w, false);
  PickerEdit* edit = w->edit;
  edit->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  edit->setTimeSpec(Qt::LocalTime);
  edit->setMinimumDate(kMinDate);
  edit->setMaximumDate(kMaxDate);
  edit->setWrapping(true);
  edit->setKeyboardTracking(true);
  ApplySettings();
  w->WatchChildMouse();

  // Enter makes the fields report their value again: only a new value is a change.
  w->shown = edit->dateTime();
  QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, edit, [this, w](const QDateTime& v) {
    if (v == w->shown) return;
    w->shown = v;
    if (!FInCode) TPickerView::Notify(this, DTN_DATETIMECHANGE, GDT_VALID);
  });
  QObject::connect(w->check, &QCheckBox::clicked, w->check, [this, w](bool on) {
    if (FInCode) return;
    w->edit->setEnabled(on);
    TPickerView::Notify(this, DTN_DATETIMECHANGE, on ? GDT_VALID : GDT_NONE);
  });
  edit->onPopupRequest = [edit] {
    if (edit->calendarPopup() && edit->isEnabled()) edit->ClickButton();
  };
  w->onChildMouse = [this, w](QWidget* from, QMouseEvent* e) {
    if (!FHost) return;
    QPointF at = from->mapTo(w, e->position().toPoint());
    QMouseEvent mapped(e->type(), at, e->globalPosition(), e->button(), e->buttons(), e->modifiers());
    bool pass = true;
    FHost->MouseEvent(&mapped, pass);
  };
}

void TDateTimePicker::ApplySettings() {
  PickerWidget* w = TPickerView::Of(this);
  if (!w) return;
  TInCode guard(FInCode);
  PickerEdit* edit = w->edit;
  const bool popup = FKind == dtkDate && FDateMode == dmComboBox;
  edit->setCalendarPopup(popup);
  edit->setButtonSymbols(popup ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
  if (popup && !w->watch) {
    // The calendar is made with the pop-up; watch it open and close.
    QWidget* calendar = edit->calendarWidget()->window();
    w->watch = new PopupWatch;
    w->watch->setParent(edit);
    calendar->installEventFilter(w->watch);
    w->watch->onShown = [this](bool shown) {
      TPickerView::Notify(this, shown ? DTN_DROPDOWN : DTN_CLOSEUP, GDT_VALID);
    };
  }
  edit->setDisplayFormat(TPickerView::DisplayFormat(this));
  edit->setMinimumDateTime(FMinDate != 0 ? std::max(ToQDateTime(FMinDate), QDateTime(kMinDate, QTime(0, 0)))
                                         : QDateTime(kMinDate, QTime(0, 0)));
  edit->setMaximumDateTime(FMaxDate != 0 ? std::min(ToQDateTime(FMaxDate), QDateTime(kMaxDate, QTime(23, 59, 59, 999)))
                                         : QDateTime(kMaxDate, QTime(23, 59, 59, 999)));
  edit->setDateTime(ToQDateTime(FDateTime));
  edit->setFrame(FCtl3D);
  w->check->setVisible(FShowCheckbox);
  w->check->setChecked(!FShowCheckbox || FChecked);
  edit->setEnabled(!FShowCheckbox || FChecked);
  ApplyColor(edit, Color(), QPalette::Base);
  w->LayoutParts();
  w->update();
}

bool TDateTimePicker::NativeMessage(TMessage& Message) {
  PickerWidget* w = TPickerView::Of(this);
  switch (Message.Msg) {
    case DTM_GETSYSTEMTIME: {
      auto* st = reinterpret_cast<SYSTEMTIME*>(Message.LParam);
      if (w == nullptr || st == nullptr) {
        Message.Result = static_cast<LRESULT>(static_cast<int32_t>(GDT_ERROR));
        return true;
      }
      ToSystemTime(w->edit->dateTime(), *st);
      Message.Result = w->check->isVisible() && !w->check->isChecked() ? GDT_NONE : GDT_VALID;
      return true;
    }
    case DTM_SETSYSTEMTIME: {
      Message.Result = 0;
      if (w == nullptr) return true;
      TInCode guard(FInCode);
      if (Message.WParam == GDT_NONE) {
        // No date: only a picker with a check box has that.
        if (!FShowCheckbox) return true;
        w->check->setChecked(false);
        w->edit->setEnabled(false);
        Message.Result = 1;
        return true;
      }
      auto* st = reinterpret_cast<const SYSTEMTIME*>(Message.LParam);
      if (Message.WParam != GDT_VALID || st == nullptr) return true;
      QDateTime v = FromSystemTime(*st);
      if (!v.isValid() || v.date() < kMinDate || v.date() > kMaxDate) return true;
      if (v != w->edit->dateTime()) {
        // The field being edited stays the current one.
        int index = w->edit->currentSectionIndex();
        w->edit->setDateTime(v);
        w->edit->SelectField(index);
      }
      w->check->setChecked(true);
      w->edit->setEnabled(true);
      Message.Result = 1;
      return true;
    }
    case DTM_SETFORMATW: {
      if (w == nullptr) return true;
      auto* f = reinterpret_cast<const Char*>(Message.LParam);
      TInCode guard(FInCode);
      QDateTime keep = w->edit->dateTime();
      w->edit->setDisplayFormat(f != nullptr && *f != 0 ? QtFormatOf(String(f)) : TPickerView::DisplayFormat(this));
      w->edit->setDateTime(keep);
      Message.Result = 1;
      return true;
    }
    case WM_GETDLGCODE:
      // The arrows step the fields.
      Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
      return true;
    case WM_KEYDOWN: {
      // A key-down posted or sent to the window acts as the key would.
      if (w == nullptr || (FHost && FHost->current == &Message)) return false;
      int key = QtKeyOf(static_cast<WORD>(Message.WParam));
      if (key == 0) return true;
      QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
      FHost->bypass = true;
      QCoreApplication::sendEvent(w, &e);
      FHost->bypass = false;
      return true;
    }
    default:
      return false;
  }
}

void TDateTimePicker::DefaultHandler(TMessage& Message) {
  if (NativeMessage(Message)) return;
  TWinControl::DefaultHandler(Message);
}

void TDateTimePicker::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    TWMNotify m(Message);
    CNNotify(m);
    return;
  }
  TWinControl::Dispatch(Message);
}

void TDateTimePicker::CNNotify(TWMNotify& Message) {
  NMHDR* hdr = Message.NMHdr();
  if (hdr == nullptr) return DefaultHandler(Message.M);
  switch (hdr->code) {
    case DTN_DATETIMECHANGE: {
      auto* nm = reinterpret_cast<NMDATETIMECHANGE*>(hdr);
      if (nm->dwFlags == GDT_NONE) {
        FChecked = false;
      } else if (nm->dwFlags == GDT_VALID) {
        FChecked = true;
        FDateTime = SystemTimeToDateTime(nm->st);
      }
      Change();
      break;
    }
    case DTN_DROPDOWN: DropDown(); break;
    case DTN_CLOSEUP: CloseUp(); break;
    default: DefaultHandler(Message.M); break;
  }
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

void TDateTimePicker::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TDateTimePicker::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

String TDateTimePicker::GetText() const {
  if (PickerWidget* w = TPickerView::Of(this)) return FromQString(w->edit->text());
  return FromQString(ToQDateTime(FDateTime).toString(TPickerView::DisplayFormat(this)));
}

void TDateTimePicker::SetKind(TDateTimeKind v) {
  if (v == FKind) return;
  FKind = v;
  ApplySettings();
}

void TDateTimePicker::SetDateTime(TDateTime v) {
  // The native control holds 1601-01-01 to 9999-12-31 only.
  if (!std::isfinite(v) || v < -110000.0 || v > 3000000.0) throw EDateTimeError(u"Failed to set calendar date or time");
  SYSTEMTIME st;
  DateTimeToSystemTime(v, st);
  QDate d(st.wYear, st.wMonth, st.wDay);
  if (!d.isValid() || d < kMinDate || d > kMaxDate) throw EDateTimeError(u"Failed to set calendar date or time");
  if (FMinDate != 0 && v < FMinDate) throw EDateTimeError(u"Date is less than minimum of " + DateTimeToStr(FMinDate));
  if (FMaxDate != 0 && v > FMaxDate) throw EDateTimeError(u"Date exceeds maximum of " + DateTimeToStr(FMaxDate));
  FDateTime = v;
  if (!HandleAllocated()) return;
  SendMessage(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  // A picker without a date keeps the value shown, greyed.
  if (FShowCheckbox && !FChecked) SendMessage(FHandle, DTM_SETSYSTEMTIME, GDT_NONE, 0);
}

void TDateTimePicker::SetMinDate(TDateTime v) {
  FMinDate = v;
  ApplySettings();
}

void TDateTimePicker::SetMaxDate(TDateTime v) {
  FMaxDate = v;
  ApplySettings();
}

TDateTime TDateTimePicker::Date() const {
  TDateTime whole = static_cast<TDateTime>(static_cast<int64_t>(FDateTime));
  return whole;
}

void TDateTimePicker::SetDate(TDateTime v) {
  TDateTime time = std::abs(FDateTime - static_cast<TDateTime>(static_cast<int64_t>(FDateTime)));
  TDateTime day = static_cast<TDateTime>(static_cast<int64_t>(v));
  SetDateTime(day < 0 ? day - time : day + time);
}

TDateTime TDateTimePicker::Time() const {
  return std::abs(FDateTime - static_cast<TDateTime>(static_cast<int64_t>(FDateTime)));
}

void TDateTimePicker::SetTime(TDateTime v) {
  TDateTime time = std::abs(v - static_cast<TDateTime>(static_cast<int64_t>(v)));
  TDateTime day = Date();
  SetDateTime(day < 0 ? day - time : day + time);
}

void TDateTimePicker::SetFormat(const String& v) {
  FFormat = v;
  if (HandleAllocated()) SendMessage(FHandle, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(FFormat.c_str()));
}

void TDateTimePicker::SetDateFormat(TDTDateFormat v) {
  if (v == FDateFormat) return;
  FDateFormat = v;
  ApplySettings();
}

void TDateTimePicker::SetDateMode(TDTDateMode v) {
  if (v == FDateMode) return;
  FDateMode = v;
  ApplySettings();
}

void TDateTimePicker::SetShowCheckbox(bool v) {
  if (v == FShowCheckbox) return;
  FShowCheckbox = v;
  ApplySettings();
}

void TDateTimePicker::SetChecked(bool v) {
  FChecked = v;
  if (!FShowCheckbox || !HandleAllocated()) return;
  if (v) {
    SYSTEMTIME st;
    DateTimeToSystemTime(FDateTime, st);
    SendMessage(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  } else {
    SendMessage(FHandle, DTM_SETSYSTEMTIME, GDT_NONE, 0);
  }
}

bool TDateTimePicker::DroppedDown() const {
  PickerWidget* w = TPickerView::Of(this);
  if (!w || !w->edit->calendarPopup()) return false;
  QCalendarWidget* calendar = w->edit->calendarWidget();
  return calendar && calendar->window()->isVisible();
}

void TDateTimePicker::SetCtl3D(bool v) {
  FParentCtl3D = false;
  if (v == FCtl3D) return;
  FCtl3D = v;
  ApplySettings();
}

void TDateTimePicker::CMColorChanged(TMessage& Message) {
  if (PickerWidget* w = TPickerView::Of(this)) {
    ApplyColor(w->edit, Color(), QPalette::Base);
    w->update();
  }
  TWinControl::CMColorChanged(Message);
}
