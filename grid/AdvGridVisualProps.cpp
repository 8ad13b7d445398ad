// The visual properties file: the grid's look (colours, fonts, bands, control look, grouping
// colours, background) as name=value lines, read back through the property setters.
#include <functional>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

namespace {

const char16_t* const kControlStyleNames[] = {u"csClassic", u"csFlat", u"csWinXP", u"csPellow", u"csZOL", u"csGlyph", u"csTheme"};
const char16_t* const kDisplayNames[] = {u"bdTile", u"bdFixed", u"bdGradientHorz", u"bdGradientVert"};
const char16_t* const kBackCellsNames[] = {u"bcNormal", u"bcFixed", u"bcAll"};
const char16_t* const kFontStyleNames[] = {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"};

// A colour as the class library writes it: its constant name, else "$" and eight hex digits.
String ColorText(TColor C) {
  String name;
  if (ColorToIdent(C, name)) return name;
  return u"$" + IntToHex(static_cast<uint32_t>(C), 8);
}

// A colour name, "$" and hex digits or a decimal number; empty or unreadable gives clNone.
TColor TextToColor(const String& S) {
  TColor c;
  if (S.empty()) return clNone;
  if (IdentToColor(S, c)) return c;
  int64_t v;
  if (S[0] == u'$') {
    if (TryStrToInt64(u"$" + S.substr(1), v)) return static_cast<TColor>(v);
    return clNone;
  }
  if (TryStrToInt64(S, v)) return static_cast<TColor>(v);
  return clNone;
}

bool TextIsTrue(const String& S) { return UpperCase(S) == u"TRUE"; }

TFontStyles TextToFontStyles(const String& S) {
  TFontStyles styles;
  for (int i = 0; i < 4; ++i)
    if (S.find(kFontStyleNames[i]) != String::npos) styles.Include(static_cast<TFontStyle>(i));
  return styles;
}

template <size_t N>
int NameIndex(const char16_t* const (&Names)[N], const String& S) {
  for (size_t i = 0; i < N; ++i)
    if (SameText(S, Names[i])) return static_cast<int>(i);
  return -1;
}

}  // namespace

void DEreDuzeroVaro::SaveVisualProps(const String& FileName) {
  std::unique_ptr<TFileStream> fs;
  try {
    fs = std::make_unique<TFileStream>(FileName, fmCreate);
  } catch (const Exception&) {
    throw Exception(u"Cannot Create " + FileName);
  }
  TStringList lines;
  for (const TVisualItem& item : VisualItems()) item.Write(&lines);
  String text;
  for (int i = 0; i < lines.Count(); ++i) text += lines.Strings(i) + u"\r\n";
  std::string bytes = StringToUTF8(text);
  if (!bytes.empty()) fs->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void DEreDuzeroVaro::LoadVisualProps(const String& FileName) {
  TStringList lines;
  try {
    TFileStream probe(FileName, fmOpenRead | fmShareDenyNone);
  } catch (const Exception&) {
    throw Exception(u"Cannot open file " + FileName);
  }
  lines.LoadFromFile(FileName);
  // The two grid line colours are read right after the search footer's colours.
  std::vector<TVisualItem> items = VisualItems();
  std::vector<const TVisualItem*> order;
  for (const TVisualItem& i : items)
    if (i.Name != u"GridLineColor" && i.Name != u"GridFixedLineColor") order.push_back(&i);
  for (size_t k = 0; k < order.size(); ++k)
    if (order[k]->Name == u"SearchFooter.ColorTo") {
      for (const TVisualItem& i : items)
        if (i.Name == u"GridLineColor" || i.Name == u"GridFixedLineColor") order.insert(order.begin() + static_cast<ptrdiff_t>(++k), &i);
      break;
    }
  for (const TVisualItem* i : order) i->Read(&lines);
  Invalidate();
}

std::vector<DEreDuzeroVaro::TVisualItem> DEreDuzeroVaro::VisualItems() {
  std::vector<TVisualItem> items;
  auto color = [&](const String& Name, std::function<TColor()> Get, std::function<void(TColor)> Set) {
    items.push_back({Name, [=](TStrings* L) { L->Add(Name + u"=" + ColorText(Get())); },
                     [=](TStrings* L) { Set(TextToColor(L->Values(Name))); }});
  };
  auto boolean = [&](const String& Name, std::function<bool()> Get, std::function<void(bool)> Set) {
    items.push_back({Name, [=](TStrings* L) { L->Add(Name + u"=" + (Get() ? u"true" : u"false")); },
                     [=](TStrings* L) { Set(TextIsTrue(L->Values(Name))); }});
  };
  auto integer = [&](const String& Name, std::function<int()> Get, std::function<void(int)> Set) {
    items.push_back({Name, [=](TStrings* L) { L->Add(Name + u"=" + IntToStr(Get())); },
                     [=](TStrings* L) { Set(StrToInt(L->Values(Name))); }});
  };
  auto font = [&](const String& Name, TFont* F) {
    items.push_back({Name,
                     [=](TStrings* L) {
                       L->Add(Name + u".Color=" + ColorText(F->Color()));
                       String style;
                       for (int i = 0; i < 4; ++i)
                         if (F->Style().Contains(static_cast<TFontStyle>(i))) style += (style.empty() ? u"" : u",") + String(kFontStyleNames[i]);
                       L->Add(Name + u".Style=" + style);
                       L->Add(Name + u".Size=" + IntToStr(F->Size()));
                       L->Add(Name + u".Name=" + F->Name());
                     },
                     [=](TStrings* L) {
                       F->SetColor(TextToColor(L->Values(Name + u".Color")));
                       F->SetStyle(TextToFontStyles(L->Values(Name + u".Style")));
                       F->SetSize(StrToInt(L->Values(Name + u".Size")));
                       F->SetName(L->Values(Name + u".Name"));
                     }});
  };
  auto enumeration = [&](const String& Name, std::function<String()> Get, std::function<void(const String&)> Set) {
    items.push_back({Name, [=](TStrings* L) { L->Add(Name + u"=" + Get()); },
                     [=](TStrings* L) {
                       if (L->IndexOfName(Name) >= 0) Set(L->Values(Name));
                     }});
  };
  DEreDuzeroVaro* g = this;
  color(u"Color", [g] { return g->Color(); }, [g](TColor c) { g->SetColor(c); });
  color(u"HintColor", [g] { return g->HintColor(); }, [g](TColor c) { g->SetHintColor(c); });
  color(u"SelectionColor", [g] { return g->SelectionColor(); }, [g](TColor c) { g->SetSelectionColor(c); });
  color(u"SelectionColorTo", [g] { return g->SelectionColorTo(); }, [g](TColor c) { g->SetSelectionColorTo(c); });
  color(u"SelectionMirrorColor", [g] { return g->SelectionMirrorColor(); }, [g](TColor c) { g->SetSelectionMirrorColor(c); });
  color(u"SelectionMirrorColorTo", [g] { return g->SelectionMirrorColorTo(); },
        [g](TColor c) { g->SetSelectionMirrorColorTo(c); });
  color(u"SelectionTextColor", [g] { return g->SelectionTextColor(); }, [g](TColor c) { g->SetSelectionTextColor(c); });
  color(u"URLColor", [g] { return g->URLColor(); }, [g](TColor c) { g->SetURLColor(c); });
  boolean(u"URLShow", [g] { return g->URLShow(); }, [g](bool b) { g->SetURLShow(b); });
  boolean(u"URLShowInText", [g] { return g->URLShowInText(); }, [g](bool b) { g->SetURLShowInText(b); });
  color(u"ScrollColor", [g] { return g->ScrollColor(); }, [g](TColor c) { g->SetScrollColor(c); });
  color(u"ActiveRowColor", [g] { return g->ActiveRowColor(); }, [g](TColor c) { g->SetActiveRowColor(c); });
  boolean(u"ActiveRowShow", [g] { return g->ActiveRowShow(); }, [g](bool b) { g->SetActiveRowShow(b); });
  boolean(u"ActiveCellShow", [g] { return g->ActiveCellShow(); }, [g](bool b) { g->SetActiveCellShow(b); });
  font(u"Font", Font());
  color(u"ActiveCellColor", [g] { return g->ActiveCellColor(); }, [g](TColor c) { g->SetActiveCellColor(c); });
  color(u"ActiveCellColorTo", [g] { return g->ActiveCellColorTo(); }, [g](TColor c) { g->SetActiveCellColorTo(c); });
  font(u"ActiveCellFont", ActiveCellFont());
  font(u"FixedFont", FixedFont());
  TBalloonSettings* b = Balloon();
  color(u"Balloon.BackgroundColor", [b] { return b->BackgroundColor(); }, [b](TColor c) { b->SetBackgroundColor(c); });
  color(u"Balloon.TextColor", [b] { return b->TextColor(); }, [b](TColor c) { b->SetTextColor(c); });
  integer(u"Balloon.Transparency", [b] { return b->Transparency(); }, [b](int v) { b->SetTransparency(v); });
  TBands* bands = Bands();
  color(u"Bands.PrimaryColor", [bands] { return bands->PrimaryColor(); }, [bands](TColor c) { bands->SetPrimaryColor(c); });
  color(u"Bands.SecondaryColor", [bands] { return bands->SecondaryColor(); },
        [bands](TColor c) { bands->SetSecondaryColor(c); });
  boolean(u"Bands.Active", [bands] { return bands->Active(); }, [bands](bool v) { bands->SetActive(v); });
  TSortSettings* ss = SortSettings();
  color(u"SortSettings.IndexColor", [ss] { return ss->IndexColor(); }, [ss](TColor c) { ss->SetIndexColor(c); });
  TFloatingFooter* ff = FloatingFooter();
  color(u"FloatingFooter.Color", [ff] { return ff->Color(); }, [ff](TColor c) { ff->SetColor(c); });
  TControlLook* cl = ControlLook();
  integer(u"ControlLook.CheckSize", [cl] { return cl->CheckSize(); }, [cl](int v) { cl->SetCheckSize(v); });
  color(u"ControlLook.Color", [cl] { return cl->Color(); }, [cl](TColor c) { cl->SetColor(c); });
  color(u"ControlLook.CommentColor", [cl] { return cl->CommentColor(); }, [cl](TColor c) { cl->SetCommentColor(c); });
  enumeration(
      u"ControlLook.ControlStyle", [cl] { return String(kControlStyleNames[cl->ControlStyle()]); },
      [cl](const String& s) {
        int i = NameIndex(kControlStyleNames, s);
        if (i >= 0) cl->SetControlStyle(static_cast<TCellControlStyle>(i));
      });
  color(u"ControlLook.FixedGradientFrom", [cl] { return cl->FixedGradientFrom(); },
        [cl](TColor c) { cl->SetFixedGradientFrom(c); });
  color(u"ControlLook.FixedGradientTo", [cl] { return cl->FixedGradientTo(); }, [cl](TColor c) { cl->SetFixedGradientTo(c); });
  integer(u"ControlLook.RadioSize", [cl] { return cl->RadioSize(); }, [cl](int v) { cl->SetRadioSize(v); });
  boolean(u"ControlLook.FlatButton", [cl] { return cl->FlatButton(); }, [cl](bool v) { cl->SetFlatButton(v); });
  color(u"ControlLook.ProgressBorderColor", [cl] { return cl->ProgressBorderColor(); },
        [cl](TColor c) { cl->SetProgressBorderColor(c); });
  boolean(u"ControlLook.ProgressXP", [cl] { return cl->ProgressXP(); }, [cl](bool v) { cl->SetProgressXP(v); });
  enumeration(
      u"Look",
      [g] {
        String t;
        if (g->Look() != glCustom) LookToText(g->Look(), t);
        return t;
      },
      [g](const String& s) {
        for (int l = glStandard; l < glCustom; ++l) {
          String t;
          LookToText(static_cast<TGridLook>(l), t);
          if (SameText(s, t)) {
            g->SetLook(static_cast<TGridLook>(l));
            return;
          }
        }
      });
  TSearchFooter* sf = SearchFooter();
  color(u"SearchFooter.Color", [sf] { return sf->Color(); }, [sf](TColor c) { sf->SetColor(c); });
  color(u"SearchFooter.ColorTo", [sf] { return sf->ColorTo(); }, [sf](TColor c) { sf->SetColorTo(c); });
  TGrouping* gr = Grouping();
  color(u"Grouping.HeaderColor", [gr] { return gr->HeaderColor(); }, [gr](TColor c) { gr->SetHeaderColor(c); });
  color(u"Grouping.HeaderColorTo", [gr] { return gr->HeaderColorTo(); }, [gr](TColor c) { gr->SetHeaderColorTo(c); });
  color(u"Grouping.HeaderTextColor", [gr] { return gr->HeaderTextColor(); }, [gr](TColor c) { gr->SetHeaderTextColor(c); });
  boolean(u"Grouping.HeaderUnderline", [gr] { return gr->HeaderUnderline(); }, [gr](bool v) { gr->SetHeaderUnderline(v); });
  color(u"Grouping.HeaderLineColor", [gr] { return gr->HeaderLineColor(); }, [gr](TColor c) { gr->SetHeaderLineColor(c); });
  integer(u"Grouping.HeaderLineWidth", [gr] { return gr->HeaderLineWidth(); }, [gr](int v) { gr->SetHeaderLineWidth(v); });
  color(u"Grouping.SummaryColor", [gr] { return gr->SummaryColor(); }, [gr](TColor c) { gr->SetSummaryColor(c); });
  color(u"Grouping.SummaryColorTo", [gr] { return gr->SummaryColorTo(); }, [gr](TColor c) { gr->SetSummaryColorTo(c); });
  color(u"Grouping.SummaryTextColor", [gr] { return gr->SummaryTextColor(); },
        [gr](TColor c) { gr->SetSummaryTextColor(c); });
  boolean(u"Grouping.SummaryLine", [gr] { return gr->SummaryLine(); }, [gr](bool v) { gr->SetSummaryLine(v); });
  color(u"Grouping.SummaryLineColor", [gr] { return gr->SummaryLineColor(); },
        [gr](TColor c) { gr->SetSummaryLineColor(c); });
  integer(u"Grouping.SummaryLineWidth", [gr] { return gr->SummaryLineWidth(); }, [gr](int v) { gr->SetSummaryLineWidth(v); });
  color(u"GridLineColor", [g] { return g->GridLineColor(); }, [g](TColor c) { g->SetGridLineColor(c); });
  color(u"GridFixedLineColor", [g] { return g->GridFixedLineColor(); }, [g](TColor c) { g->SetGridFixedLineColor(c); });
  TBackGround* bg = BackGround();
  integer(u"BackGround.Top", [bg] { return bg->Top(); }, [bg](int v) { bg->SetTop(v); });
  integer(u"BackGround.Left", [bg] { return bg->Left(); }, [bg](int v) { bg->SetLeft(v); });
  enumeration(
      u"BackGround.Display", [bg] { return String(kDisplayNames[bg->Display()]); },
      [bg](const String& s) {
        int i = NameIndex(kDisplayNames, s);
        if (i >= 0) bg->SetDisplay(static_cast<TBackGroundDisplay>(i));
      });
  enumeration(
      u"BackGround.Cells", [bg] { return String(kBackCellsNames[bg->Cells()]); },
      [bg](const String& s) {
        int i = NameIndex(kBackCellsNames, s);
        if (i >= 0) bg->SetCells(static_cast<TBackGroundCells>(i));
      });
  color(u"BackGround.Color", [bg] { return bg->Color(); }, [bg](TColor c) { bg->SetColor(c); });
  color(u"BackGround.ColorTo", [bg] { return bg->ColorTo(); }, [bg](TColor c) { bg->SetColorTo(c); });
  return items;
}
