// The string grid's construction, window set-up, loading, copying and destruction, and the
// module's plain routines.
#include "grid/AdvGrid.h"

#include "controls/AdvXPVS.h"
#include "controls/VevAzez.h"

#include "grid/ArrowWindow.h"
#include "grid/GridFocusWindow.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/WindowWatch.h"
#include "platform/win/Gdi.h"
#include "platform/win/Modules.h"
#include "platform/win/Version.h"
#include "platform/win/WinUser.h"

DEreDuzeroVaro* FocusFrameGrid = nullptr;
TCursor GridLinkCursor = crDefault;

namespace {
constexpr UINT_PTR GridTimerId = 111;
constexpr UINT GridTimerInterval = 500;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT WHEEL_PAGESCROLL = 0xFFFFFFFF;
constexpr UINT WM_MOUSEWHEEL_ = 0x020A;
// Posted to the grid after its owner form reported a size change, so that the form's new
// size is read once the window system's change has reached the form.
constexpr UINT WM_GRIDFORMRESIZED = WM_USER + 0x5A1;
}  // namespace

// ===========================================================================
// Module routines

Char GetTimeSeparatorChar() { return FormatSettings.TimeSeparator; }
Char GetDateSeparatorChar() { return FormatSettings.DateSeparator; }
Char GetThousandSeparatorChar() { return FormatSettings.ThousandSeparator; }
Char GetDecimalSeparatorChar() { return FormatSettings.DecimalSeparator; }
String GetShortDateFormatString() { return FormatSettings.ShortDateFormat; }
String GetShortTimeFormatString() { return FormatSettings.ShortTimeFormat; }
String GetLongTimeFormatString() { return FormatSettings.LongTimeFormat; }

int32_t GetFileVersionMS(const String& FileName) {
  String name = FileName.substr(0, 255);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(name.c_str(), &handle);
  if (size == 0) return -1;
  std::vector<uint8_t> block(size);
  if (!GetFileVersionInfoW(name.c_str(), handle, size, block.data())) return -1;
  void* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(block.data(), u"\\", &info, &len) || len < sizeof(VS_FIXEDFILEINFO)) return -1;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(info);
  if (fixed->dwSignature != 0xFEEF04BD) return -1;
  return static_cast<int32_t>(fixed->dwFileVersionMS);
}

// ===========================================================================
// Construction

DEreDuzeroVaro::DEreDuzeroVaro(TComponent* AOwner) : TBaseGrid(AOwner) {
  // 1. The base grid; it may hold controls (editors, cell controls, panels).
  TControlStyle style = ControlStyle();
  style.Include(csAcceptsControls);
  SetControlStyle(style);

  // 2. No colour tones given yet.
  for (TColorTone* t : {&FColorTones.Background, &FColorTones.Foreground, &FColorTones.Selected, &FColorTones.Hover,
                        &FColorTones.Disabled})
    t->BrushColor = t->BorderColor = clNone;

  // 4. Settings objects, in their order.
  cf = std::make_unique<TFont>();
  FFocusHelper = std::make_unique<TFocusHelper>(this);
  FSearchFooter = std::make_unique<TSearchFooter>(this, false);
  FSearchFooter->OnChange = [this](TObject* s) { UpdateSearchPanel(s); };
  FPrintSettings = std::make_unique<TPrintSettings>(this);
  FHTMLSettings = std::make_unique<THTMLSettings>();
  FSortSettings = std::make_unique<TSortSettings>(this);
  FDragScrollOptions = std::make_unique<TDragScrollOptions>();
  FControlLook = std::make_unique<TControlLook>(this);
  FNavigation = std::make_unique<TNavigation>();
  FNavigation->OnChange = [this](TObject* Sender) { NavigationChanged(Sender); };
  FColumnSize = std::make_unique<TColumnSize>(this);
  FColumnSize->OnStretch = [this](TObject*) { StretchColumn(FColumnSize->StretchColumn()); };
  FCellNode = std::make_unique<TCellNode>(this);
  FBands = std::make_unique<TBands>();
  FBands->OnChange = [this](TObject* s) { Repaint_(s); };
  FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
  FMouseActions = std::make_unique<TMouseActions>(this);
  FMouseActions->OnChange = [this](TObject* Sender) { MouseActionsChanged(Sender); };
  FMouseActions->OnIsDesigning = [this](TObject* Sender, bool& D) { MouseActionsIsDesigning(Sender, D); };
  FMouseActions->OnInvalidate = [this](TObject* Sender) { MouseActionsInvalidate(Sender); };
  FMouseActions->OnDisableEdit = [this](TObject* Sender) { DisableEditing(Sender); };
  FGrouping = std::make_unique<TGrouping>();
  FColumnHeaders = std::make_unique<TStringList>();
  FColumnHeaders->OnChange = [this](TObject*) {
    ColumnHeadersChanged();
    ShowColumnHeaders();
  };
  FImageCache = std::make_unique<THTMLPictureCache>();
  FOrigColSizes = std::make_unique<TIntList>(0, 0);

  // 6. Fonts.
  FFixedFont = std::make_unique<TFont>();
  FFixedFont->SetName(u"Tahoma");
  FFixedFont->SetStyle(TFontStyles{fsBold});
  FFixedFont->OnChange = [this](TObject* s) { Repaint_(s); };
  FActiveCellFont = std::make_unique<TFont>();
  FActiveCellFont->SetStyle(TFontStyles{fsBold});
  FActiveCellFont->OnChange = [this](TObject* s) { Repaint_(s); };

  // 7. Lists and look objects.
  FRowHeaders = std::make_unique<TStringList>();
  FRowHeaders->OnChange = [this](TObject*) { ShowRowHeaders(); };
  Sortlist = std::make_unique<TStringList>();
  FLookupItems = std::make_unique<TStringList>();
  FSortIndexes = std::make_unique<TSortIndexList>();
  for (auto* list : {&FSortRowXRef, &FUnSortRowXRef, &FMergedColumns, &FSelectedCells, &FSelectedRows,
                     &FModifiedRows, &FEnabledRows})
    *list = std::make_unique<TIntList>(0, 0);
  FRowIndicator = std::make_unique<TBitmap>();
  FBackGround = std::make_unique<TBackGround>(this);
  TBaseGrid::SetScrollBars(ssBoth);
  FControlList = std::make_unique<TControlList>();
  FProgressAppearance = std::make_unique<TGridProgressAppearance>();
  FProgressAppearance->OnChange = [this](TObject* s) { Repaint_(s); };
  FSyncGrid = std::make_unique<TSyncGrid>(this);

  // 8. Counts and size, the hidden-row store.
  SetColCount(5);
  SetRowCount(10);
  SetBounds(Left(), Top(), 400, 250);
  FFilter = std::make_unique<TFilter>(this);

  // 10. Balloons and modified rows.
  FBalloonSettings = std::make_unique<TBalloonSettings>();
  FBalloonSettings->OnEnableChange = [this](TObject* s) { BalloonEnableChanged(s); };
  FShowModified = std::make_unique<TShowModified>();
  FShowModified->OnChange = [this](TObject* s) { ShowModifiedChanged(s); };

  // 11. The owner form's size is followed through a subscription made with the window.
  if (auto* form = dynamic_cast<TForm*>(AOwner)) {
    FResizeForm = form;
    FreeNotification(form);
  }

  // 12. Row heights and the glZOL gradient.
  SetDefaultRowHeight(22);
  FFixedRowHeight = DefaultRowHeight();
  FZOLGradientFrom = clWhite;
  FZOLGradientTo = ColorToRGB(clBtnFace);

  // 13. Platform flags.
  FIsWinXP = IsWinXPOrLater();
  FIsWinVista = IsWinVistaOrLater();
  OSVERSIONINFOW vi;
  if (GetVersionEx(&vi)) FIsWin7 = vi.dwMajorVersion > 6 || (vi.dwMajorVersion == 6 && vi.dwMinorVersion > 0);
  int32_t comctl = GetFileVersionMS(u"COMCTL32.DLL");
  FIsComCtl6 = comctl != -1 ? ((static_cast<uint32_t>(comctl) >> 16) & 0xFF) > 5 : HasThemedComCtl();
  FBorderColor = FIsWinXP ? 0x00B99D7F : 0x00808080;
  FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  FColumnOrder = std::make_unique<TIntList>(0, 0);
  FCellGraphic = std::make_unique<TCellGraphic>();
  FOfficeHint = std::make_unique<TAdvHintInfo>();
  FIgnoreColumns = std::make_unique<TIntList>(0, 0);

  // 14. The filter drop-down and its list: sorted, each value once.
  FFilterDropDown = std::make_unique<TFilterDropDown>();
  FFilterDropDown->OnChange = [this](TObject* s) { Repaint_(s); };
  FFilterList = std::make_unique<TStringList>();
  FFilterList->SetSorted(true);
  FFilterList->SetDuplicates(dupIgnore);
  FOldLeftCol = LeftCol();
  FOldTopRow = TopRow();

  // 15. Run-time helper windows.
  FFocusWindow = new TGridFocusWindow(this);
  FArrows[0] = new TArrowWindow(this, arrUp);
  FArrows[1] = new TArrowWindow(this, arrDown);
  FArrows[2] = new TArrowWindow(this, arrLeft);
  FArrows[3] = new TArrowWindow(this, arrRight);

  // 16. The link cursor.
  GridLinkCursor = crHandPoint;
}

DEreDuzeroVaro::~DEreDuzeroVaro() {
  Destroying();
  // A grid that goes no longer owns the focus frame.
  if (FocusFrameGrid == this) FocusFrameGrid = nullptr;
  if (!ComponentState().Contains(csDesigning)) BalloonDone();
  FFormWatch.reset();
  if (FResizeForm) FResizeForm->RemoveFreeNotification(this);
  FResizeForm = nullptr;
  if (HandleAllocated() && FGridTimerID != 0) KillTimer(Handle(), FGridTimerID);
  if (FColumnSize->Save()) {
    // The destructor cannot pass a failing store on: the application hears of it instead.
    try {
      SaveColSizes();
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
  }
  FClearTextOnly = false;
  FSaveHiddenCells = false;
  // Cell records may lie beyond the current counts: free them up to the largest counts seen.
  int rows = RowCount(), cols = ColCount();
  if (NumHiddenRows() == 0 && !HasNodes()) {
    rows = std::max(rows, FMaxRowCount);
    cols = std::max(cols, FMaxColCount);
  }
  if (rows > 0 && cols > 0 && HasCellProps()) ClearRect(0, 0, cols + FNumHidden - 1, rows - 1);
  FNotifierList.clear();
}

// ===========================================================================
// Window

void DEreDuzeroVaro::CreateWnd() {
  if (IsDestroying()) return;
  TBaseGrid::CreateWnd();
  if (!Parent()) return;
  if (FColumnSize->Save()) LoadColSizes();
  FGridTimerID = SetTimer(Handle(), GridTimerId, GridTimerInterval, nullptr);
  // The visual styles count only while the loader has them and a theme is active.
  FIsWinXP = FIsWinXP && XPVSThemeBinding.Loaded() && XPVSThemeBinding.IsThemeActive()();
  // The wheel: WM_MOUSEWHEEL, the lines a notch scrolls (a page: the visible rows).
  wheelmsg = WM_MOUSEWHEEL_;
  UINT lines = 0;
  if (SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) {
    wheelscrl = lines == WHEEL_PAGESCROLL ? VisibleRowCount() : static_cast<int>(lines);
  } else {
    wheelscrl = 3;  // the window system's usual notch
  }
  // Follow the owner form's size with a subscription of our own.
  if (FResizeForm && !FFormWatch) {
    // Changes are measured from the form's size when the grid starts to follow it.
    PrevSizeX = FWatchedFormW = FResizeForm->Width();
    PrevSizeY = FWatchedFormH = FResizeForm->Height();
    FFormWatch = std::make_unique<TWindowPosWatch>(FResizeForm, [this] { FormSizeWatched(); });
  }
  if (FBalloonSettings->Enable()) BalloonInit();
}

void DEreDuzeroVaro::FormSizeWatched() {
  if (!FResizeForm || IsDestroying()) return;
  // A programmatic size change is already in the form; one from the window system reaches
  // it after this report, so look again once the report has been handled.
  if (FResizeForm->Width() != FWatchedFormW || FResizeForm->Height() != FWatchedFormH) {
    FWatchedFormW = FResizeForm->Width();
    FWatchedFormH = FResizeForm->Height();
    FormResize(FResizeForm);
  } else if (HandleAllocated()) {
    PostMessage(Handle(), WM_GRIDFORMRESIZED, 0, 0);
  }
}

void DEreDuzeroVaro::FormResize(TCustomForm* Form) {
  if (IsDestroying()) return;
  if (Form && FSizeWithForm) {
    int nw = Width() + Form->Width() - PrevSizeX;
    int nh = Height() + Form->Height() - PrevSizeY;
    if (nw > 0 && nh > 0) {
      SetWidth(nw);
      SetHeight(nh);
      PrevSizeX = Form->Width();
      PrevSizeY = Form->Height();
    }
  }
  StretchColumn(FColumnSize->StretchColumn());
}

void DEreDuzeroVaro::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GRIDFORMRESIZED) {
    if (FResizeForm && (FResizeForm->Width() != FWatchedFormW || FResizeForm->Height() != FWatchedFormH)) {
      FWatchedFormW = FResizeForm->Width();
      FWatchedFormH = FResizeForm->Height();
      FormResize(FResizeForm);
    }
    return;
  }
  if (Message.Msg == WM_TIMER && FGridTimerID != 0 && Message.WParam == FGridTimerID) {
    WMTimer(Message);
    return;
  }
  TBaseGrid::WndProc(Message);
}

void DEreDuzeroVaro::Loaded() {
  TBaseGrid::Loaded();
  FOldCursor = Cursor();
  ShowColumnHeaders();
  ShowRowHeaders();
  if (FColumnSize->Save()) LoadColSizes();
  FFixedRowsMin = TCustomGrid::FixedRows();
  FFixedColsMin = FixedCols();
  FMinRowHeight = DefaultRowHeight();
  FMinColWidth = 10;
  FMaxRowCount = std::max(FMaxRowCount, RowCount());
  FLoadedFlag = true;
  TGridOptions opts = Options();
  if (opts.Contains(goAlwaysShowEditor)) {
    opts.Exclude(goAlwaysShowEditor);
    SetOptions(opts);
    FNavigation->SetAlwaysEdit(true);
  }
  if (!FIsWinXP && FControlLook->ControlStyle() == csTheme) FControlLook->SetControlStyle(csClassic);
  FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
  if (FAutoThemeAdapt) AdaptToOfficeTheme();
  UpdateSearchPanel(this);
  InitOrigColSizes();
  SetColumnOrder();
  if (FBalloonSettings->Enable()) BalloonInit();
}

void DEreDuzeroVaro::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    if (AComponent == FGridImages) FGridImages = nullptr;
    if (AComponent == FContainer) FContainer = nullptr;
    if (AComponent == FFixedDropDownMenu) FFixedDropDownMenu = nullptr;
    if (AComponent == FResizeForm) {
      FFormWatch.reset();
      FResizeForm = nullptr;
    }
    if (!IsDestroying() && FSyncGrid && AComponent == FSyncGrid->Grid()) FSyncGrid->SetGrid(nullptr);
  }
  TBaseGrid::Notification(AComponent, Operation);
}

// ===========================================================================
// Copying

void DEreDuzeroVaro::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<DEreDuzeroVaro*>(Source);
  if (!s) return;
  Font()->Assign(s->Font());
  FActiveCellColor = s->FActiveCellColor;
  FActiveCellColorTo = s->FActiveCellColorTo;
  FActiveCellFont->Assign(s->FActiveCellFont.get());
  FActiveCellShow = s->FActiveCellShow;
  SetActiveRowShow(s->ActiveRowShow());
  SetAlign(s->Align());
  FFilterDropDown->Assign(s->FFilterDropDown.get());
  FAnchorHint = s->FAnchorHint;
  FAutoNumAlign = s->FAutoNumAlign;
  FAutoSize = s->FAutoSize;
  FAutoThemeAdapt = s->FAutoThemeAdapt;
  FAutoFilterUpdate = s->FAutoFilterUpdate;
  FMouseActions->Assign(s->FMouseActions.get());
  FNavigation->Assign(s->FNavigation.get());
  FGrouping->Assign(s->FGrouping.get());
  FSearchFooter->Assign(s->FSearchFooter.get());
  UpdateSearchPanel(this);
  FPrintSettings->Assign(s->FPrintSettings.get());
  FFilter->Assign(s->FFilter.get());
  FHTMLSettings->Assign(s->FHTMLSettings.get());
  FBands->Assign(s->FBands.get());
  FSortSettings->Assign(s->FSortSettings.get());
  FCellNode->Assign(s->FCellNode.get());
  FDragScrollOptions->Assign(s->FDragScrollOptions.get());
  FProgressAppearance->Assign(s->FProgressAppearance.get());
  FColumnSize->Assign(s->FColumnSize.get());
  FSyncGrid->Assign(s->FSyncGrid.get());
  FFocusHelper->Assign(s->FFocusHelper.get());
  FOfficeHint->Assign(s->FOfficeHint.get());
  FFixedRowAlways = s->FFixedRowAlways;
  SetColCount(s->ColCount());
  SetRowCount(s->RowCount());
  SetFixedRows(s->TCustomGrid::FixedRows());
  SetFixedCols(s->FixedCols());
  SetDefaultColWidth(s->DefaultColWidth());
  SetDefaultRowHeight(s->DefaultRowHeight());
  SetFixedRowHeight(s->FixedRowHeight());
  SetFixedColWidth(s->FixedColWidth());
  FInvalidEntryTitle = s->FInvalidEntryTitle;
  FInvalidEntryIcon = s->FInvalidEntryIcon;
  FInvalidEntryText = s->FInvalidEntryText;
  SetOptions(s->Options());
  for (int c = 0; c < ColCount(); ++c) SetColWidths(c, s->ColWidths(c));
  FColumnHeaders->Assign(s->FColumnHeaders.get());
  for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, s->RowHeights(r));
  FScrollProportional = s->FScrollProportional;
  FScrollSynch = s->FScrollSynch;
  FScrollHints = s->FScrollHints;
  FScrollBarAlways = s->FScrollBarAlways;
  SetScrollBars(s->ScrollBars());
  SetScrollColor(s->ScrollColor());
  SetScrollType(s->ScrollType());
  SetScrollWidth(s->ScrollWidth());
  AssignCells(Source);
}

void DEreDuzeroVaro::AssignCells(TPersistent* Source) {
  auto* s = dynamic_cast<DEreDuzeroVaro*>(Source);
  if (!s) return;
  TMemoryStream stream;
  s->SaveToStream(&stream);
  stream.SetPosition(0);
  LoadFromStream(&stream);
}

// ===========================================================================
// Painting and geometry

void DEreDuzeroVaro::Invalidate() {
  if (FEditChange) {
    FEditChange = false;
    return;
  }
  TBaseGrid::Invalidate();
}

void DEreDuzeroVaro::Resize() {
  // The inherited handling fires the grid's OnResize.
  TBaseGrid::Resize();
  if ((FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
      FBackGround->ColorTo() != clNone)
    Invalidate();
}

void DEreDuzeroVaro::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FIntegralHeight && DefaultRowHeight() > 0) {
    int h = VisibleColCount() + FixedCols() < ColCount() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    int b = BorderStyle() == bsSingle ? 2 : 0;
    int rows = (AHeight - h - b) / DefaultRowHeight();
    AHeight = rows * DefaultRowHeight() + h + 2 * b;
  }
  TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
}

// ===========================================================================
// Counts and sizes

void DEreDuzeroVaro::SetRowCount(int Value) {
  TBaseGrid::SetRowCount(Value);
  if (FFixedRowAlways && TCustomGrid::FixedRows() < FFixedRowsMin && FFixedRowsMin < RowCount())
    TBaseGrid::SetFixedRows(FFixedRowsMin);
  FMaxRowCount = std::max(FMaxRowCount, RowCount());
  SetNormalRowCount(RowCount());
}

void DEreDuzeroVaro::SetColCount(int Value) {
  TBaseGrid::SetColCount(Value);
  if (FFixedColAlways && FixedCols() < FFixedColsMin && FFixedColsMin < ColCount())
    TBaseGrid::SetFixedCols(FFixedColsMin);
  FMaxColCount = std::max(FMaxColCount, ColCount());
}

int DEreDuzeroVaro::FixedRows() const {
  int v = TCustomGrid::FixedRows();
  return v == 0 && FFixedRowAlways ? 1 : v;
}

void DEreDuzeroVaro::SetFixedRows(int Value) {
  if (FFixedRowAlways) {
    if (Value == 0) Value = 1;
    if (Value >= RowCount()) Value = RowCount() - 1;
  }
  TBaseGrid::SetFixedRows(Value);
  if (!IsLoading()) FFixedRowsMin = Value;
}

void DEreDuzeroVaro::SetFixedCols(int Value) {
  if (FFixedColAlways) {
    if (Value == 0) Value = 1;
    if (Value >= ColCount()) Value = ColCount() - 1;
  }
  TBaseGrid::SetFixedCols(Value);
  if (!IsLoading()) FFixedColsMin = Value;
}

void DEreDuzeroVaro::SetDefaultRowHeight(int Value) { TBaseGrid::SetDefaultRowHeight(Value); }

void DEreDuzeroVaro::SetFixedRowHeight(int Value) {
  FFixedRowHeight = Value;
  if (IsLoading()) return;
  if (Value == DefaultRowHeight()) {
    TBaseGrid::SetDefaultRowHeight(Value);
  } else {
    for (int r = 0; r < TCustomGrid::FixedRows(); ++r) SetRowHeights(r, Value);
  }
}

void DEreDuzeroVaro::SetFixedColWidth(int Value) {
  if (IsLoading() || Value == DefaultColWidth()) return;
  for (int c = 0; c < FixedCols(); ++c) SetColWidths(c, Value);
}

int DEreDuzeroVaro::SaveStartCol() const { return FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols(); }
int DEreDuzeroVaro::SaveStartRow() const { return FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows(); }
int DEreDuzeroVaro::SaveEndCol() const {
  return FSaveFixedCells || FSaveFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}
int DEreDuzeroVaro::SaveEndRow() const {
  return FSaveFixedCells || FSaveFixedRows ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}
int DEreDuzeroVaro::SaveColCount() const {
  return FSaveFixedCells || FSaveFixedCols ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}
int DEreDuzeroVaro::SaveRowCount() const {
  return FSaveFixedCells || FSaveFixedRows ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}

// ===========================================================================
// Small properties

String DEreDuzeroVaro::GetVersionString() {
  int v = GetVersionNr();
  return Format(u"%d.%d.%d.%d Jan, 2012", {(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
}

String DEreDuzeroVaro::Version() {
  int v = GetVersionNr();
  return Format(u"%d.%d.%d.%d", {(v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF});
}

TFont* DEreDuzeroVaro::GetCellFont(int i, int j) {
  if (!HasCellProperties(i, j)) return Font();
  TCellProperties* p = GetCellProperties(i, j);
  cf->SetName(p->FontName());
  cf->SetSize(p->FontSize());
  cf->SetStyle(p->FontStyle());
  cf->SetColor(p->FontColor());
  return cf.get();
}

TCustomForm* DEreDuzeroVaro::FindParentForm(TControl* Control) {
  for (TControl* c = Control; c != nullptr; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(c)) return f;
  return nullptr;
}

String DEreDuzeroVaro::GetEditMask(int ACol, int ARow) {
  String mask = EditMask;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, mask);
  return mask;
}

void DEreDuzeroVaro::SetActiveCellFont(TFont* Value) {
  FActiveCellFont->Assign(Value);
  Invalidate();
}

void DEreDuzeroVaro::SetGridImages(TCustomImageList* Value) {
  if (FGridImages) FGridImages->RemoveFreeNotification(this);
  FGridImages = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void DEreDuzeroVaro::SetPictureContainer(TPictureContainer* Value) {
  if (FContainer) FContainer->RemoveFreeNotification(this);
  FContainer = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void DEreDuzeroVaro::SetFixedDropDownMenu(TPopupMenu* Value) {
  if (FFixedDropDownMenu) FFixedDropDownMenu->RemoveFreeNotification(this);
  FFixedDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void DEreDuzeroVaro::SetZOLGradientFrom(TColor Value) {
  FZOLGradientFrom = ColorToRGB(Value);
  Invalidate();
}

void DEreDuzeroVaro::SetZOLGradientTo(TColor Value) {
  FZOLGradientTo = ColorToRGB(Value);
  Invalidate();
}

void DEreDuzeroVaro::SetAutoThemeAdapt(bool Value) {
  if (FAutoThemeAdapt == Value) return;
  FAutoThemeAdapt = Value;
  FSearchFooter->SetAutoThemeAdapt(Value);
  if (Value) AdaptToOfficeTheme();
}

void DEreDuzeroVaro::SetScrollBars(TScrollStyle Value) {
  FScrollBars = Value;
  TBaseGrid::SetScrollBars(Value);
}

void DEreDuzeroVaro::SetScrollBarAlways(TScrollBarAlways Value) {
  FScrollBarAlways = Value;
  ApplyScrollBarAlways();
}

void DEreDuzeroVaro::SetComponentStyle(TZOLStyle AStyle) { ApplyComponentStyle(AStyle); }

void DEreDuzeroVaro::SetColorTones(const TColorTones& ATones) {
  FColorTones = ATones;
  ApplyColorTones(ATones);
}

void DEreDuzeroVaro::RegisterNotifier(TGridChangeNotifier* Notifier) {
  if (std::find(FNotifierList.begin(), FNotifierList.end(), Notifier) == FNotifierList.end())
    FNotifierList.push_back(Notifier);
}

void DEreDuzeroVaro::UnRegisterNotifier(TGridChangeNotifier* Notifier) {
  FNotifierList.erase(std::remove(FNotifierList.begin(), FNotifierList.end(), Notifier), FNotifierList.end());
}

void DEreDuzeroVaro::RepaintRow(int ARow) {
  if (ARow < 0 || ARow >= RowCount() || !HandleAllocated()) return;
  if (ARow >= TCustomGrid::FixedRows() && (ARow < TopRow() || ARow > TopRow() + VisibleRowCount())) return;
  for (int c = 0; c < ColCount(); ++c)
    if (c < FixedCols() || (c >= LeftCol() && c <= LeftCol() + VisibleColCount())) RepaintCell(c, ARow);
}

void DEreDuzeroVaro::SetColumnOrder() {
  FColumnOrder->Clear();
  for (int c = 0; c < ColCount(); ++c) FColumnOrder->Add(c);
}

// ===========================================================================
// Handlers bound to the settings objects

void DEreDuzeroVaro::ShowModifiedChanged(TObject*) {
  for (int r = 0; r < RowCount(); ++r) RepaintCell(0, r);
}

void DEreDuzeroVaro::ShowColumnHeaders() {
  if (TCustomGrid::FixedRows() <= 0) return;
  for (int c = 0; c < FColumnHeaders->Count() && c < TotalColCount(); ++c)
    SetCells(c, 0, BackslashNToCR(FColumnHeaders->Strings(c)));
}

void DEreDuzeroVaro::ShowRowHeaders() {
  if (FixedCols() <= 0) return;
  for (int r = 0; r < FRowHeaders->Count() && r < RowCount(); ++r)
    SetCells(0, r, BackslashNToCR(FRowHeaders->Strings(r)));
}
