// The rich edit: rich text markup read and written (checked also by an independent reader),
// character formats through the rich edit messages, rendering on device contexts of any
// resolution, size requests, window re-creation and damaged markup.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <random>

#include "platform/rtl/Classes.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Printers.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/tests/StdCtrlsTestSupport.h"
#include "testing/TempFolder.h"

namespace {

void Load(TCustomRichEdit* e, const std::string& bytes) {
  TMemoryStream s;
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), int32_t(bytes.size()));
  s.SetPosition(0);
  e->Lines()->LoadFromStream(&s);
}

std::string Save(TCustomRichEdit* e) {
  TMemoryStream s;
  e->Lines()->SaveToStream(&s);
  std::string out(size_t(s.Size()), '\0');
  s.SetPosition(0);
  if (!out.empty()) s.ReadBuffer(out.data(), int32_t(out.size()));
  return out;
}

CHARFORMATW SelFormat(TCustomRichEdit* e) {
  CHARFORMATW cf;
  e->Perform(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  return cf;
}

void SetOffset(TCustomRichEdit* e, LONG twips) {
  CHARFORMATW cf;
  cf.dwMask = CFM_OFFSET;
  cf.yOffset = twips;
  ASSERT_EQ(e->Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)), 1);
}

// Renders the whole text into a white image of w x h pixels at dpi through EM_FORMATRANGE.
QImage RenderRange(TCustomRichEdit* e, int w, int h, int dpi = 96) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  img.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
  img.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
  HDC dc = CreateDeviceDC(&img);
  FORMATRANGE fr;
  fr.hdc = fr.hdcTarget = dc;
  fr.rc = Rect(0, 0, w * 1440 / dpi, h * 1440 / dpi);
  fr.rcPage = fr.rc;
  fr.chrg.cpMin = 0;
  fr.chrg.cpMax = -1;
  e->Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&fr));
  e->Perform(EM_FORMATRANGE, 0, 0);
  DeleteDeviceDC(dc);
  return img;
}

// Rows [first, last] holding dark or coloured pixels; (-1, -1) when there are none.
std::pair<int, int> InkRows(const QImage& img) {
  int first = -1, last = -1;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qGray(img.pixel(x, y)) < 128) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return {first, last};
}

class RichEdit : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(Application);
    Edit = new TRichEdit(Form);
  }
  void TearDown() override { delete Form; }
  TForm* Form = nullptr;
  TRichEdit* Edit = nullptr;
};

}  // namespace

TEST_F(RichEdit, ReadsHandWrittenMarkup) {
  struct Case {
    const char* rtf;
    const char16_t* text;
  } cases[] = {
      {R"({\rtf1\ansi Hello \{world\} \\ ok})", u"Hello {world} \\ ok"},
      {R"({\rtf1\ansi One\par Two\line Three\par})", u"One\r\nTwo\vThree"},
      {R"({\rtf1\ansi A\tab B\~C\emdash D})", u"A\tB\u00A0C\u2014D"},
      // \uN with its stand-ins skipped, also negative N and \uc2 / \uc0
      {R"({\rtf1\ansi\uc1 Caf\u233\'e9 x\u-3844?y{\uc2\u12354\'82\'a0}z\uc0\u65 B})", u"Caf\u00E9 x\uF0FCy\u3042zAB"},
      // \'hh in the font's code page: 1252 by default, 932 for a Japanese font
      {R"({\rtf1\ansi\deff0{\fonttbl{\f0\fnil\fcharset0 Arial;}{\f1\fnil\fcharset128 Gothic;}}\f0 \'e9\'80\f1 \'82\'a0\'82\'a2})",
       u"\u00E9\u20AC\u3042\u3044"},
      {R"({\rtf1\ansi\ansicpg932 \'82\'a0})", u"\u3042"},
      // Destinations the text does not hold, binary data, a font table with nested groups
      {R"({\rtf1{\fonttbl{\f0\froman{\*\panose 0202}Times;}}{\info{\title T}}{\*\generator G;}{\pict\bin4 {}}ab}in})",
       u"in"},
      {"{\\rtf1 {\\*\\unknown hidden}{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}}", u"shown"},
      {R"({\rtf1\ansi\verylongunknowncontrolwordthatgoesonandonandon123 x})", u"x"},
  };
  for (const Case& c : cases) {
    Load(Edit, c.rtf);
    EXPECT_EQ(Edit->Text(), String(c.text)) << c.rtf;
  }
  EXPECT_EQ(Edit->Lines()->Count(), 1);
  Load(Edit, "{\\rtf1 One\\par Two\\par\\par Four}");
  ASSERT_EQ(Edit->Lines()->Count(), 4);
  EXPECT_EQ(Edit->Lines()->Strings(1), u"Two");
  EXPECT_EQ(Edit->Lines()->Strings(2), u"");
}

TEST_F(RichEdit, ReadsCharacterAndParagraphFormats) {
  Load(Edit, R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1 DejaVu Serif;}}{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;})"
             R"(\f0\fs20 n{\b b}{\i i}{\ul u}{\strike s}{\cf1 r}{\f1\fs36 f}{\up4 p}{\dn4 d}{\plain\cf2 q}\par\qc c\par\pard\qr r})");
  struct Case {
    int pos;
    DWORD effects;  // of bold, italic, underline, strike-out
    LONG twips;
    COLORREF color;  // 0xFFFFFFFF: automatic
    LONG offset;
    const char16_t* face;
  } cases[] = {
      {0, 0, 200, 0xFFFFFFFF, 0, u"Arial"},         {1, CFE_BOLD, 200, 0xFFFFFFFF, 0, u"Arial"},
      {2, CFE_ITALIC, 200, 0xFFFFFFFF, 0, u"Arial"}, {3, CFE_UNDERLINE, 200, 0xFFFFFFFF, 0, u"Arial"},
      {4, CFE_STRIKEOUT, 200, 0xFFFFFFFF, 0, u"Arial"}, {5, 0, 200, 0x0000FF, 0, u"Arial"},
      {6, 0, 360, 0xFFFFFFFF, 0, u"DejaVu Serif"},  {7, 0, 200, 0xFFFFFFFF, 40, u"Arial"},
      {8, 0, 200, 0xFFFFFFFF, -40, u"Arial"},       {9, 0, 0, 0xFF0000, 0, nullptr},
  };
  for (const Case& c : cases) {
    Edit->SetSelStart(c.pos);
    Edit->SetSelLength(1);
    const CHARFORMATW cf = SelFormat(Edit);
    SCOPED_TRACE(c.pos);
    EXPECT_EQ(cf.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT), c.effects);
    if (c.twips) {
      EXPECT_EQ(cf.yHeight, c.twips);
    }
    if (c.color == 0xFFFFFFFF) {
      EXPECT_TRUE(cf.dwEffects & CFE_AUTOCOLOR);
    } else {
      EXPECT_EQ(cf.crTextColor, c.color);
    }
    EXPECT_EQ(cf.yOffset, c.offset);
    if (c.face) {
      EXPECT_EQ(Edit->SelAttributes()->Name(), String(c.face));
    }
  }
  const TAlignment aligns[] = {taLeftJustify, taCenter, taRightJustify};
  for (int line = 0; line < 3; ++line) {
    int pos = 0;
    for (int i = 0; i < line; ++i) pos += int(Edit->Lines()->Strings(i).size()) + 1;
    Edit->SetSelStart(pos);
    Edit->SetSelLength(0);
    EXPECT_EQ(Edit->Paragraph()->Alignment(), aligns[line]) << line;
  }
}

TEST_F(RichEdit, WrittenMarkupReadsBackTheSameAndIsStable) {
  Edit->SetText(u"Plain caf\u00E9 \u3042\u3044 \U0001F600 {x}\\y\r\nSecond\vline\r\n\r\nFourth");
  Edit->SetSelStart(0);
  Edit->SetSelLength(5);
  Edit->SelAttributes()->SetStyle(TFontStyles{fsBold, fsItalic});
  Edit->SelAttributes()->SetColor(clRed);
  Edit->SetSelStart(6);
  Edit->SetSelLength(4);
  SetOffset(Edit, 40);
  Edit->SelAttributes()->SetSize(18);
  Edit->SelAttributes()->SetName(u"DejaVu Serif");
  Edit->SetSelStart(16);
  Edit->SetSelLength(1);
  SetOffset(Edit, -40);
  Edit->SetSelStart(int(Edit->Text().find(u"Second")) - 1);
  Edit->SetSelLength(0);
  Edit->Paragraph()->SetAlignment(taCenter);
  const std::string first = Save(Edit);

  auto* copy = new TRichEdit(Form);
  Load(copy, first);
  EXPECT_EQ(copy->Text(), Edit->Text());
  EXPECT_EQ(Save(copy), first);
  for (int pos : {0, 4, 5, 6, 9, 10, 16}) {
    Edit->SetSelStart(pos);
    Edit->SetSelLength(1);
    copy->SetSelStart(pos);
    copy->SetSelLength(1);
    const CHARFORMATW a = SelFormat(Edit), b = SelFormat(copy);
    EXPECT_EQ(a.dwEffects, b.dwEffects) << pos;
    EXPECT_EQ(a.yHeight, b.yHeight) << pos;
    EXPECT_EQ(a.yOffset, b.yOffset) << pos;
    EXPECT_EQ(a.crTextColor, b.crTextColor) << pos;
    EXPECT_EQ(copy->SelAttributes()->Name(), Edit->SelAttributes()->Name()) << pos;
  }
  copy->SetSelStart(int(copy->Text().find(u"Second")));
  EXPECT_EQ(copy->Paragraph()->Alignment(), taCenter);
  // The markup is 7-bit: every other character travels as \uN.
  for (char c : first) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST_F(RichEdit, AnotherReaderReadsTheWrittenMarkup) {
  Edit->SetText(u"Caf\u00E9 bold \u3042\r\ncentred");
  Edit->SetSelStart(5);
  Edit->SetSelLength(4);
  Edit->SelAttributes()->SetStyle(TFontStyles{fsBold});
  Edit->SetSelStart(12);
  Edit->Paragraph()->SetAlignment(taCenter);
  TempFolder dir;
  TFileStream* f = new TFileStream(dir.FileS("out.rtf"), fmCreate);
  Edit->Lines()->SaveToStream(f);
  delete f;
  const std::string cmd = "unrtf --html '" + dir.File("out.rtf") + "' 2>/dev/null";
  std::string html;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) html.append(buf, n);
    pclose(p);
  }
  EXPECT_NE(html.find("Caf&eacute; <b>bold</b>"), std::string::npos) << html;
  EXPECT_NE(html.find("&#12354;"), std::string::npos) << html;
  EXPECT_NE(html.find("<center>centred"), std::string::npos) << html;
}

TEST_F(RichEdit, LinesLoadPlainTextWithPlainTextOrWithoutMarkup) {
  Load(Edit, "just text\r\nsecond\r\n");
  EXPECT_EQ(Edit->Lines()->Count(), 2);
  EXPECT_EQ(Edit->Text(), u"just text\r\nsecond");
  Edit->SetPlainText(true);
  Load(Edit, "{\\rtf1 x}");
  EXPECT_EQ(Edit->Text(), u"{\\rtf1 x}");
  EXPECT_EQ(Save(Edit), "{\\rtf1 x}\r\n");
  Edit->SetPlainText(false);
  Edit->Lines()->Clear();
  Edit->Lines()->Add(u"a");
  Edit->Lines()->Add(u"c");
  Edit->Lines()->Insert(1, u"b");
  Edit->Lines()->Put(2, u"C");
  EXPECT_EQ(Edit->Text(), u"a\r\nb\r\nC");
  Edit->Lines()->Delete(2);
  Edit->Lines()->Delete(0);
  EXPECT_EQ(Edit->Text(), u"b");
  EXPECT_THROW(Edit->Lines()->Delete(3), EStringListError);
}

TEST_F(RichEdit, OffsetsAnswerWhatWasSetAndRaiseOrLowerTheText) {
  Edit->SetText(u"x");
  Edit->SelectAll();
  const QImage normal = RenderRange(Edit, 40, 40);
  SetOffset(Edit, 40);
  EXPECT_EQ(SelFormat(Edit).yOffset, 40);
  const QImage super = RenderRange(Edit, 40, 40);
  SetOffset(Edit, -40);
  EXPECT_EQ(SelFormat(Edit).yOffset, -40);
  const QImage sub = RenderRange(Edit, 40, 40);
  SetOffset(Edit, 0);
  EXPECT_EQ(SelFormat(Edit).yOffset, 0);
  const auto n = InkRows(normal), up = InkRows(super), down = InkRows(sub);
  ASSERT_GE(n.first, 0);
  EXPECT_LT(up.first, n.first);
  EXPECT_LT(up.second, n.second);
  EXPECT_GT(down.first, n.first);
  EXPECT_GT(down.second, n.second);
  // 40 twips are 2 points: about 3 pixels at 96 dpi.
  EXPECT_NEAR(n.first - up.first, 3, 1);
  // A mixed selection leaves the offset out of the answer's mask.
  Edit->SetText(u"ab");
  Edit->SetSelStart(1);
  Edit->SetSelLength(1);
  SetOffset(Edit, 40);
  Edit->SelectAll();
  EXPECT_FALSE(SelFormat(Edit).dwMask & CFM_OFFSET);
  EXPECT_TRUE(SelFormat(Edit).dwMask & CFM_BOLD);
}

TEST_F(RichEdit, FormatRangeDrawsColoursAtTheDevicesResolution) {
  Load(Edit, R"({\rtf1{\colortbl ;\red255\green0\blue0;}\fs40\cf1 HHHH})");
  const QImage screen = RenderRange(Edit, 200, 60);
  EXPECT_GT(CountColor(screen, Rect(0, 0, 200, 60), clRed, 60), 40);
  EXPECT_EQ(CountColor(screen, Rect(0, 0, 200, 60), clBlack, 60), 0);
  // Drawing ends at the rectangle; the answer is the first character that did not fit.
  Edit->SetText(u"one\r\ntwo\r\nthree");
  QImage img(100, 100, QImage::Format_RGB32);
  HDC dc = CreateDeviceDC(&img);
  FORMATRANGE fr;
  fr.hdc = fr.hdcTarget = dc;
  fr.rc = Rect(0, 0, 1440, 300);  // one line of 10 points fits in 300 twips, two do not
  fr.rcPage = fr.rc;
  fr.chrg.cpMax = -1;
  EXPECT_EQ(Edit->Perform(EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&fr)), 3);
  fr.rc.Bottom = 14400;
  EXPECT_EQ(Edit->Perform(EM_FORMATRANGE, 0, reinterpret_cast<LPARAM>(&fr)), 13);
  DeleteDeviceDC(dc);
}

TEST_F(RichEdit, RequestsTheSizeItsContentNeeds) {
  std::vector<TRect> requests;
  Edit->OnResizeRequest = [&](TObject*, const TRect& r) { requests.push_back(r); };
  Edit->SetBounds(0, 0, 0, 0);
  Edit->SetText(u"short");
  Edit->SetWordWrap(false);
  ASSERT_FALSE(requests.empty());
  const TRect one = requests.back();
  Edit->SetText(u"a longer line of text");
  const TRect longer = requests.back();
  EXPECT_GT(longer.Width(), one.Width());
  EXPECT_EQ(longer.Height(), one.Height());
  Edit->SetText(u"two\r\nlines");
  EXPECT_GT(requests.back().Height(), one.Height() * 3 / 2);
  // With word wrap the width is the window's and the text wraps to it.
  Edit->SetBounds(0, 0, 60, 20);
  Edit->SetText(u"a longer line of text that wraps");
  requests.clear();
  Edit->SetWordWrap(true);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests.back().Width(), Edit->ClientWidth());
  EXPECT_GT(requests.back().Height(), one.Height() * 2);
  // The same size again is reported only when asked for.
  requests.clear();
  Edit->Perform(EM_REQUESTRESIZE, 0, 0);
  Edit->SetWordWrap(true);
  EXPECT_EQ(requests.size(), 2u);
  Edit->Perform(EM_SETEVENTMASK, 0, ENM_NONE);
  Edit->SetWordWrap(true);
  EXPECT_EQ(requests.size(), 2u);
}

TEST_F(RichEdit, KeepsTextAndFormatsWhenTheWindowIsMadeAgain) {
  Form->SetBounds(100, 100, 300, 200);
  Edit->SetParent(Form);
  Edit->SetBounds(10, 10, 200, 100);
  Form->Show();
  Load(Edit, R"({\rtf1{\colortbl ;\red0\green128\blue0;}a{\cf1\b bc}d})");
  Edit->SetSelStart(1);
  Edit->SetSelLength(2);
  EXPECT_EQ(Edit->SelAttributes()->Color(), TColor(0x008000));
  Edit->RecreateWnd();
  ProcessPendingEvents();
  EXPECT_EQ(Edit->Text(), u"abcd");
  EXPECT_EQ(Edit->SelStart(), 1);
  EXPECT_EQ(Edit->SelLength(), 2);
  EXPECT_EQ(Edit->SelAttributes()->Color(), TColor(0x008000));
  EXPECT_TRUE(Edit->SelAttributes()->Style().Contains(fsBold));
  // The user types into the window: the text and the change events follow.
  int changes = 0, selChanges = 0;
  Edit->OnChange = [&](TObject*) { ++changes; };
  Edit->OnSelectionChange = [&](TObject*) { ++selChanges; };
  Edit->SetFocus();
  Edit->SetSelStart(4);
  SimulateTyping(Edit, u"ef");
  EXPECT_EQ(Edit->Text(), u"abcdef");
  EXPECT_GE(changes, 2);
  EXPECT_GE(selChanges, 1);
  EXPECT_TRUE(Edit->Modified());
  // What a window shows: the green run in green.
  const QImage shown = Render(Edit);
  EXPECT_GT(CountColor(shown, Rect(0, 0, Edit->Width(), Edit->Height()), TColor(0x008000), 60), 3);
}

TEST_F(RichEdit, DamagedMarkupGivesTheTextReadSoFar) {
  const std::string fixture =
      R"({\rtf1\ansi\deff0{\fonttbl{\f0\fnil\fcharset0 Arial;}}{\colortbl ;\red255\green0\blue0;})"
      R"(\pard\f0\fs20 Alpha {\b beta} {\cf1 gamma\'e9}\par\qc delta {\i epsilon}\line zeta\par})";
  Load(Edit, fixture);
  const String full = Edit->Text();
  ASSERT_EQ(full, u"Alpha beta gamma\u00E9\r\ndelta epsilon\vzeta");
  // Cut anywhere: a prefix of the whole text.
  for (size_t n = 5; n < fixture.size(); ++n) {
    Load(Edit, fixture.substr(0, n));
    const String t = Edit->Text();
    EXPECT_EQ(full.compare(0, t.size(), t), 0) << n << ": " << fixture.substr(0, n);
  }
  // Bytes flipped at random (seeded): whatever comes out, the reader ends and writes markup
  // that reads back to the same text.
  std::mt19937 rng(12345);
  for (int round = 0; round < 400; ++round) {
    std::string bad = fixture;
    const int flips = 1 + int(rng() % 8);
    for (int i = 0; i < flips; ++i) bad[5 + rng() % (bad.size() - 5)] = char(rng() % 256);
    Load(Edit, bad);
    const String t = Edit->Text();
    auto* copy = new TRichEdit(Form);
    Load(copy, Save(Edit));
    EXPECT_EQ(copy->Text(), t) << bad;
    delete copy;
  }
}

TEST_F(RichEdit, DeepNestingAndHugeMarkupEndWithTheirText) {
  std::string deep = "{\\rtf1 a";
  deep += std::string(200000, '{') + "\\b deep" + std::string(200000, '}') + "b}";
  Load(Edit, deep);
  EXPECT_EQ(Edit->Text(), u"adeepb");
  // Unclosed groups, a \bin longer than the data, a cut \u and a cut \'.
  const char* cut[] = {"{\\rtf1 x{{{{", "{\\rtf1 x\\bin99999 abc", "{\\rtf1 x\\u", "{\\rtf1 x\\'", "{\\rtf1 x\\'4"};
  for (const char* c : cut) {
    Load(Edit, c);
    EXPECT_EQ(Edit->Text(), u"x") << c;
  }
  std::string huge = "{\\rtf1 ";
  for (int i = 0; i < 100000; ++i) huge += "{\\b x}\\'e9 ";
  huge += "}";
  Load(Edit, huge);
  EXPECT_EQ(Edit->Text().size(), 300000u);
}

TEST_F(RichEdit, FormatRangePrintsAtThePrintersResolution) {
  Load(Edit, R"({\rtf1\fs40 HHHH})");
  const auto screen = InkRows(RenderRange(Edit, 200, 60));
  ASSERT_GE(screen.first, 0);
  TempFolder dir;
  TPrinter p;
  p.SetPrinterIndex(p.Printers()->Count() - 1);
  p.SetFileName(dir.FileS("rich.pdf"));
  p.BeginDoc();
  HDC dc = p.Canvas()->Handle();
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ASSERT_GT(dpi, 96);
  FORMATRANGE fr;
  fr.hdc = fr.hdcTarget = dc;
  fr.rc = Rect(1440, 1440, 1440 * 4, 1440 * 2);  // from one inch in, one inch tall
  fr.rcPage = fr.rc;
  fr.chrg.cpMax = -1;
  // A mark at the rectangle's top, left of it: where the page's one inch lies.
  p.Canvas()->Brush()->SetColor(clBlack);
  p.Canvas()->FillRect(Rect(0, dpi, dpi / 2, dpi + dpi / 10));
  EXPECT_EQ(Edit->Perform(EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&fr)), 4);
  Edit->Perform(EM_FORMATRANGE, 0, 0);
  p.EndDoc();
  // Read back at 96 dots per inch: the same letters as on the screen, one inch down.
  const std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r96 -o '" + dir.File("page.ppm") + "' '" +
                          dir.File("rich.pdf") + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const QImage page = QImage(QString::fromStdString(dir.File("page.ppm"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(page.isNull());
  const auto mark = InkRows(page.copy(0, 0, 80, 96 * 3));
  const auto printed = InkRows(page.copy(90, 0, page.width() - 90, 96 * 3));
  ASSERT_GE(mark.first, 96);
  EXPECT_NEAR(printed.first - mark.first, screen.first, 2);
  EXPECT_NEAR(printed.second - printed.first, screen.second - screen.first, 2);
}
