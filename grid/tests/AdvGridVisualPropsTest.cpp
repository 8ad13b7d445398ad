// The visual properties file: its lines in order, a round trip of the look, hand-edited
// values and the failures.
#include <gtest/gtest.h>

#include <sstream>

#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "testing/TempFolder.h"

namespace {

// The file as name=value pairs in order, each line ended by CR LF.
std::vector<std::pair<std::string, std::string>> ParseLines(const std::string& Bytes) {
  std::vector<std::pair<std::string, std::string>> out;
  size_t p = 0;
  while (p < Bytes.size()) {
    size_t e = Bytes.find("\r\n", p);
    EXPECT_NE(e, std::string::npos) << "line without CR LF";
    if (e == std::string::npos) break;
    std::string line = Bytes.substr(p, e - p);
    size_t eq = line.find('=');
    out.emplace_back(line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 1));
    p = e + 2;
  }
  return out;
}

}  // namespace

TEST(GridVisualProps, WritesEveryItemInOrder) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  g->SetSelectionColor(0x00123456);
  g->Font()->SetStyle(TFontStyles{fsBold, fsItalic});
  g->SetLook(glXP);
  g->SaveVisualProps(tmp.FileS("v.txt"));
  auto lines = ParseLines(tmp.Read("v.txt"));
  ASSERT_EQ(lines.size(), 69u);
  EXPECT_EQ(lines[0].first, "Color");
  EXPECT_EQ(lines[2], (std::pair<std::string, std::string>{"SelectionColor", "$00123456"}));
  EXPECT_EQ(lines[14].first, "Font.Color");
  EXPECT_EQ(lines[15], (std::pair<std::string, std::string>{"Font.Style", "fsBold,fsItalic"}));
  EXPECT_EQ(lines[8].second == "true" || lines[8].second == "false", true);
  auto look = std::find_if(lines.begin(), lines.end(), [](auto& l) { return l.first == "Look"; });
  ASSERT_NE(look, lines.end());
  EXPECT_EQ(look->second, "glXP");
  EXPECT_EQ(lines.back().first, "BackGround.ColorTo");
}

TEST(GridVisualProps, RoundTripAndHandEditedValues) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  g->SetLook(glOffice2007);
  g->Bands()->SetActive(true);
  g->Bands()->SetPrimaryColor(clWindow);
  g->ControlLook()->SetControlStyle(csFlat);
  g->ControlLook()->SetCheckSize(17);
  g->FixedFont()->SetSize(13);
  g->SaveVisualProps(tmp.FileS("v.txt"));

  TGridForm f2;
  DEreDuzeroVaro* t = f2.grid;
  t->LoadVisualProps(tmp.FileS("v.txt"));
  EXPECT_EQ(t->Look(), glOffice2007);
  EXPECT_TRUE(t->Bands()->Active());
  EXPECT_EQ(t->Bands()->PrimaryColor(), clWindow);
  EXPECT_EQ(t->ControlLook()->ControlStyle(), csFlat);
  EXPECT_EQ(t->ControlLook()->CheckSize(), 17);
  EXPECT_EQ(t->FixedFont()->Size(), 13);
  EXPECT_EQ(t->SelectionColor(), g->SelectionColor());

  // Names in another case, a style in another order, an empty style, a custom look.
  std::string text = tmp.Read("v.txt");
  auto replace = [&](const std::string& from, const std::string& to) {
    size_t p = text.find(from);
    ASSERT_NE(p, std::string::npos) << from;
    text.replace(p, from.size(), to);
  };
  replace("Look=glOffice2007", "look=glxp");
  replace("FixedFont.Style=", "FixedFont.Style=fsItalic,fsBold");
  tmp.Write("e.txt", text);
  t->LoadVisualProps(tmp.FileS("e.txt"));
  EXPECT_EQ(t->Look(), glXP);
  EXPECT_TRUE(t->FixedFont()->Style().Contains(fsBold));
  EXPECT_TRUE(t->FixedFont()->Style().Contains(fsItalic));
  t->SetLook(glCustom);
  t->SaveVisualProps(tmp.FileS("c.txt"));
  EXPECT_NE(tmp.Read("c.txt").find("\r\nLook=\r\n"), std::string::npos);
}

TEST(GridVisualProps, Failures) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  try {
    g->LoadVisualProps(tmp.FileS("none.txt"));
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Cannot open file " + tmp.FileS("none.txt"));
  }
  try {
    g->SaveVisualProps(tmp.FileS("no/such/dir.txt"));
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Cannot Create " + tmp.FileS("no/such/dir.txt"));
  }
  // A missing integer stops the load; what came before it stays.
  tmp.Write("part.txt", "Color=clRed\r\nFont.Color=clBlue\r\n");
  EXPECT_THROW(g->LoadVisualProps(tmp.FileS("part.txt")), EConvertError);
  EXPECT_EQ(g->Color(), clRed);
}
