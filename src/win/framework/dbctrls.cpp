#include "win/framework/dbctrls.h"

#include <richedit.h>

#include <algorithm>

#include "win/framework/forms.h"
#include "win/framework/loader.h"
#include "win/framework/text.h"

namespace sapala::win {

// ---------------------------------------------------------------- TADOConnection

TADOConnection::TADOConnection(TComponent* owner) : TComponent(owner) {}
TADOConnection::~TADOConnection() = default;

void TADOConnection::Open() { connection_.Open(connection_string_); }
void TADOConnection::Close() { connection_.Close(); }

bool TADOConnection::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "ConnectionString") {
    connection_string_ = Narrow(loader.String(p));
    return true;
  }
  if (name == "Connected") {
    stored_connected_ = loader.Bool(p);
    return true;
  }
  if (name == "LoginPrompt") {
    login_prompt_ = loader.Bool(p);
    return true;
  }
  if (name == "Mode") {
    const std::string v = loader.Ident(p);
    static const std::pair<const char*, ConnectMode> modes[] = {
        {"cmUnknown", ConnectMode::cmUnknown},
        {"cmRead", ConnectMode::cmRead},
        {"cmWrite", ConnectMode::cmWrite},
        {"cmReadWrite", ConnectMode::cmReadWrite},
        {"cmShareDenyRead", ConnectMode::cmShareDenyRead},
        {"cmShareDenyWrite", ConnectMode::cmShareDenyWrite},
        {"cmShareExclusive", ConnectMode::cmShareExclusive},
        {"cmShareDenyNone", ConnectMode::cmShareDenyNone}};
    for (const auto& [n, m] : modes) {
      if (v == n) {
        mode_ = m;
        return true;
      }
    }
    loader.Fail(p, "unknown connection mode " + v);
  }
  return TComponent::ReadProperty(name, p, loader);
}

void TADOConnection::Loaded() {
  // The workbook is only ever read, with sharing for everybody, whatever the mode asks for.
  if (stored_connected_) Open();
}

// ---------------------------------------------------------------- TADOQuery

TADOQuery::TADOQuery(TComponent* owner) : TComponent(owner) {}

TADOQuery::~TADOQuery() {
  for (TDataSource* s : sources_) s->data_set_ = nullptr;
}

void TADOQuery::SetConnection(TADOConnection* connection) {
  connection_ = connection;
  query_.SetConnection(connection ? &connection->Core() : nullptr);
}

void TADOQuery::AddDataSource(TDataSource* source) { sources_.push_back(source); }
void TADOQuery::RemoveDataSource(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void TADOQuery::Changed(bool rows_changed) {
  for (TDataSource* s : std::vector<TDataSource*>(sources_)) s->Notify(rows_changed);
}

void TADOQuery::SetSql(std::string sql) {
  const bool was_active = query_.active();
  query_.SetLoading(Loading());
  query_.SetSql(std::move(sql));
  if (was_active != query_.active()) Changed(true);
}

void TADOQuery::Open() {
  try {
    query_.Open();
  } catch (...) {
    Changed(true);  // the query is closed now: its controls show nothing
    throw;
  }
  Changed(true);
}

void TADOQuery::Close() {
  const bool was_active = query_.active();
  query_.Close();
  if (was_active) Changed(true);
}

void TADOQuery::First() {
  query_.First();
  Changed(false);
}
void TADOQuery::Prior() {
  query_.Prior();
  Changed(false);
}
void TADOQuery::Next() {
  query_.Next();
  Changed(false);
}
void TADOQuery::Last() {
  query_.Last();
  Changed(false);
}
void TADOQuery::MoveTo(std::size_t recno) {
  query_.MoveTo(recno);
  Changed(false);
}

std::string TADOQuery::FieldText(std::string_view field) const {
  if (!query_.active() || RecordCount() == 0) return {};
  return query_.AsString(field);
}

bool TADOQuery::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "Connection") {
    loader.Defer([this, &loader, p] {
      auto* c = dynamic_cast<TADOConnection*>(loader.Reference(p));
      if (!c) loader.Fail(p, "not a connection");
      SetConnection(c);
    });
    return true;
  }
  if (name == "SQL.Strings") {
    const auto* list = std::get_if<forms::StringList>(&p.value);
    if (!list) loader.Fail(p, "a list of lines was expected");
    std::string sql;
    for (const auto& line : list->items) {
      if (!sql.empty()) sql += '\n';
      sql += line;
    }
    query_.SetLoading(true);
    query_.SetSql(std::move(sql));
    return true;
  }
  if (name == "Active") {
    stored_active_ = loader.Bool(p);
    return true;
  }
  if (name == "CursorType") {
    if (loader.Ident(p) != "ctStatic") loader.Fail(p, "only static cursors are supported");
    return true;
  }
  if (name == "Parameters") {
    const auto* c = std::get_if<forms::Collection>(&p.value);
    if (!c || !c->items.empty()) loader.Fail(p, "parameters are not supported");
    return true;
  }
  return TComponent::ReadProperty(name, p, loader);
}

void TADOQuery::Loaded() {
  query_.SetLoading(false);
  if (stored_active_) Open();
}

// ---------------------------------------------------------------- TDataSource

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  // The controls outlive their source: they forget it before they hear of the change.
  for (DataBinding* b : std::vector<DataBinding*>(links_)) b->source_ = nullptr;
  for (DataBinding* b : std::vector<DataBinding*>(links_)) b->Owner()->DataChanged(true);
  links_.clear();
}

void TDataSource::SetDataSet(TADOQuery* query) {
  if (data_set_) data_set_->RemoveDataSource(this);
  data_set_ = query;
  if (data_set_) data_set_->AddDataSource(this);
  Notify(true);
}

void TDataSource::Notify(bool rows_changed) {
  for (DataBinding* b : std::vector<DataBinding*>(links_)) b->Owner()->DataChanged(rows_changed);
}

bool TDataSource::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "DataSet") {
    loader.Defer([this, &loader, p] {
      auto* q = dynamic_cast<TADOQuery*>(loader.Reference(p));
      if (!q) loader.Fail(p, "not a query");
      SetDataSet(q);
    });
    return true;
  }
  return TComponent::ReadProperty(name, p, loader);
}

void DataBinding::Set(TDataSource* source) {
  if (source_ == source) return;
  if (source_) {
    auto& links = source_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  source_ = source;
  if (source_) source_->links_.push_back(this);
  owner_->DataChanged(true);
}

namespace {
// Resolves a "DataSource = Name" property once every component exists.
template <typename Control>
void BindLater(Control* control, const forms::Property& p, Loader& loader) {
  loader.Defer([control, &loader, p] {
    auto* s = dynamic_cast<TDataSource*>(loader.Reference(p));
    if (!s) loader.Fail(p, "not a data source");
    control->SetDataSource(s);
  });
}
}  // namespace

// ---------------------------------------------------------------- TDBGrid

TDBGrid::TDBGrid(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(true);
  color_ = graphics::clWindow;
  width_ = 320;
  height_ = 120;
}

TDBGrid::~TDBGrid() { binding_.Set(nullptr); }

void TDBGrid::CreateParams(struct CreateParams& params) {
  TCustomControl::CreateParams(params);
  params.style |= WS_VSCROLL;
  params.ex_style |= WS_EX_CLIENTEDGE;
}

void TDBGrid::CreateWnd() { UpdateScrollBar(); }

int TDBGrid::IndicatorWidth() const noexcept {
  const bool shown = options_.empty() ||
                     std::find(options_.begin(), options_.end(), "dgIndicator") != options_.end();
  return shown ? 11 : 0;
}

int TDBGrid::DefaultRowHeight() const {
  WindowDC screen(nullptr);
  int h = 16;
  if (!screen.get()) return h;
  SavedDC saved(screen.get());
  ::SelectObject(screen.get(), font_.Handle());
  SIZE s{};
  if (::GetTextExtentPoint32W(screen.get(), L"Wg", 2, &s)) h = s.cy + 3;
  return h;
}

int TDBGrid::VisibleRowCount() const {
  const RECT r = ClientRect();
  return std::max(1, static_cast<int>(r.bottom - r.top) / DefaultRowHeight());
}

void TDBGrid::EnsureCurrentVisible() {
  TADOQuery* q = binding_.Query();
  if (!q || !q->Active() || q->RecordCount() == 0) {
    top_row_ = 0;
    return;
  }
  const std::size_t current = q->RecNo() - 1;
  const auto visible = static_cast<std::size_t>(VisibleRowCount());
  if (current < top_row_) top_row_ = current;
  if (current >= top_row_ + visible) top_row_ = current + 1 - visible;
  const std::size_t count = q->RecordCount();
  if (count <= visible)
    top_row_ = 0;
  else
    top_row_ = std::min(top_row_, count - visible);
}

void TDBGrid::UpdateScrollBar() {
  if (!WindowHandle()) return;
  TADOQuery* q = binding_.Query();
  SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  if (q && q->Active() && q->RecordCount() > 1) {
    // Like the classic data grid: the bar shows the current record among all of them.
    si.nMax = static_cast<int>(std::min<std::size_t>(q->RecordCount() - 1, 0x7FFFFFFF));
    si.nPage = 1;
    si.nPos = static_cast<int>(std::min<std::size_t>(q->RecNo() - 1, 0x7FFFFFFF));
  }
  ::SetScrollInfo(WindowHandle(), SB_VERT, &si, TRUE);
}

void TDBGrid::DataChanged(bool rows_changed) {
  if (rows_changed) top_row_ = 0;
  EnsureCurrentVisible();
  UpdateScrollBar();
  Invalidate();
}

void TDBGrid::PaintBackground(TCanvas& canvas, const RECT& area) {
  canvas.Brush().SetColor(color_);
  canvas.FillRect(area);
}

void TDBGrid::Paint(TCanvas& canvas) {
  rows_painted_ = 0;
  const RECT client = ClientRect();
  const int row_h = DefaultRowHeight();
  const int ind = IndicatorWidth();
  TADOQuery* q = binding_.Query();
  const bool have_rows = q && q->Active() && q->RecordCount() > 0;
  const std::size_t count = have_rows ? q->RecordCount() : 0;
  const std::size_t current = have_rows ? q->RecNo() - 1 : 0;
  std::size_t field = 0;
  bool field_ok = false;
  if (have_rows && !columns_.empty()) {
    try {
      field = q->Core().FieldIndex(columns_.front()->field_name);
      field_ok = true;
    } catch (...) {
      field_ok = false;  // painting never throws: a missing field draws an empty column
    }
  }
  const int rows_fit = (client.bottom + row_h - 1) / row_h;
  for (int i = 0; i < rows_fit; ++i) {
    const RECT ind_rect{0, i * row_h, ind, (i + 1) * row_h};
    canvas.Brush().SetColor(fixed_color_);
    canvas.FillRect(ind_rect);
    RECT edge = ind_rect;
    ::DrawEdge(canvas.Handle(), &edge, BDR_RAISEDINNER, BF_RECT);
    const std::size_t row = top_row_ + static_cast<std::size_t>(i);
    if (row >= count) continue;
    ++rows_painted_;
    const bool is_current = row == current;
    if (is_current) {
      // The current-record mark: a small black triangle pointing right.
      const int cy = i * row_h + row_h / 2;
      POINT tri[3] = {{3, cy - 4}, {7, cy}, {3, cy + 4}};
      Brush black(::CreateSolidBrush(RGB(0, 0, 0)));
      SelectedObject sb(canvas.Handle(), black.get());
      SelectedObject sp(canvas.Handle(), ::GetStockObject(BLACK_PEN));
      ::Polygon(canvas.Handle(), tri, 3);
    }
    RECT cell{ind, i * row_h, client.right, (i + 1) * row_h};
    const bool focused = Focused();
    canvas.Brush().SetColor(is_current ? graphics::clHighlight : color_);
    canvas.FillRect(cell);
    if (is_current && focused) ::DrawFocusRect(canvas.Handle(), &cell);
    if (field_ok) {
      data::FieldValue v;
      try {
        v = q->Core().Value(row, field);  // the only rows the grid asks for: those on screen
      } catch (...) {
        v.reset();  // painting never throws: a row the engine cannot read draws empty
      }
      if (v) {
        RECT text = cell;
        text.left += 2;
        canvas.Font().SetColor(is_current ? graphics::clHighlightText : font_.Color());
        canvas.DrawText(Widen(*v), text,
                        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      }
    }
  }
}

void TDBGrid::Scroll(int code) {
  TADOQuery* q = binding_.Query();
  if (!q || !q->Active() || q->RecordCount() == 0) return;
  const auto page = static_cast<std::size_t>(VisibleRowCount());
  const std::size_t rec = q->RecNo();
  switch (code) {
    case SB_LINEUP:
      q->Prior();
      break;
    case SB_LINEDOWN:
      q->Next();
      break;
    case SB_PAGEUP:
      q->MoveTo(rec > page ? rec - page : 1);
      break;
    case SB_PAGEDOWN:
      q->MoveTo(rec + page);
      break;
    case SB_TOP:
      q->First();
      break;
    case SB_BOTTOM:
      q->Last();
      break;
    default:
      break;
  }
}

void TDBGrid::KeyDown(WORD& key, unsigned shift) {
  TCustomControl::KeyDown(key, shift);
  switch (key) {
    case VK_UP:
      Scroll(SB_LINEUP);
      break;
    case VK_DOWN:
      Scroll(SB_LINEDOWN);
      break;
    case VK_PRIOR:
      Scroll(SB_PAGEUP);
      break;
    case VK_NEXT:
      Scroll(SB_PAGEDOWN);
      break;
    case VK_HOME:
      Scroll(SB_TOP);
      break;
    case VK_END:
      Scroll(SB_BOTTOM);
      break;
    default:
      break;
  }
}

void TDBGrid::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  if (CanFocus() && !Focused()) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != MouseButton::mbLeft || x < IndicatorWidth()) return;
  TADOQuery* q = binding_.Query();
  if (!q || !q->Active() || q->RecordCount() == 0) return;
  const std::size_t row = top_row_ + static_cast<std::size_t>(y / DefaultRowHeight());
  if (row >= q->RecordCount()) return;
  q->MoveTo(row + 1);
  if (OnCellClick && !columns_.empty()) OnCellClick(*columns_.front());
}

void TDBGrid::WndProc(Message& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_VSCROLL: {
      const int code = LOWORD(m.WParam);
      if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
        if (TADOQuery* q = binding_.Query(); q && q->Active()) {
          SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
          ::GetScrollInfo(WindowHandle(), SB_VERT, &si);
          q->MoveTo(static_cast<std::size_t>(si.nTrackPos) + 1);
        }
      } else {
        Scroll(code);
      }
      return;
    }
    case WM_MOUSEWHEEL:
      Scroll(GET_WHEEL_DELTA_WPARAM(m.WParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

bool TDBGrid::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "DataSource") {
    BindLater(this, p, loader);
    return true;
  }
  if (name == "Options") {
    options_ = loader.Set(p);
    return true;
  }
  if (name == "ReadOnly") {
    loader.Bool(p);
    return true;
  }  // the grid never edits
  if (name == "FixedColor") {
    fixed_color_ = loader.Color(p);
    return true;
  }
  if (name.starts_with("TitleFont.")) {
    loader.ReadFont(title_font_, name.substr(10), p);
    return true;
  }
  if (name == "ImeMode") {
    loader.Ident(p);
    return true;
  }
  if (name == "Columns") {
    const auto* c = std::get_if<forms::Collection>(&p.value);
    if (!c) loader.Fail(p, "a collection was expected");
    columns_.clear();
    for (const auto& item : c->items) {
      auto col = std::make_unique<TColumn>();
      for (const auto& ip : item.properties) {
        if (ip.name == "FieldName")
          col->field_name = Narrow(loader.String(ip));
        else if (ip.name == "Expanded" || ip.name == "Visible")
          loader.Bool(ip);
        else
          loader.Fail(ip, "unknown column property");
      }
      columns_.push_back(std::move(col));
    }
    return true;
  }
  if (name == "OnCellClick") {
    OnCellClick = loader.Event<TNotifyEvent>(p);
    return true;
  }
  return TCustomControl::ReadProperty(name, p, loader);
}

// ---------------------------------------------------------------- TDBRichEdit

TDBRichEdit::TDBRichEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  color_ = graphics::clWindow;
  width_ = 185;
  height_ = 89;
}

TDBRichEdit::~TDBRichEdit() { binding_.Set(nullptr); }

void TDBRichEdit::CreateParams(struct CreateParams& params) {
  TWinControl::CreateParams(params);
  // RichEdit 2.0 lives in riched20.dll, which stays loaded for the life of the process.
  static const HMODULE riched = ::LoadLibraryW(L"riched20.dll");
  (void)riched;
  params.window_class = RICHEDIT_CLASSW;
  params.standard_class = true;
  params.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_NOHIDESEL;
  params.ex_style |= WS_EX_CLIENTEDGE;
}

void TDBRichEdit::CreateWnd() {
  ::SendMessageW(WindowHandle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ToColorRef(color_)));
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_CHARSET;
  cf.crTextColor = ToColorRef(font_.Color());
  lstrcpynW(cf.szFaceName, font_.Name().c_str(), LF_FACESIZE);
  cf.yHeight = std::abs(font_.Height()) * 1440 / 96;
  cf.dwEffects =
      ((font_.Style() & fsBold) ? CFE_BOLD : 0) | ((font_.Style() & fsItalic) ? CFE_ITALIC : 0);
  cf.bCharSet = static_cast<BYTE>(font_.Charset());
  ::SendMessageW(WindowHandle(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  ShowField();
}

std::wstring TDBRichEdit::Text() const {
  if (!WindowHandle()) return {};
  const int n = ::GetWindowTextLengthW(WindowHandle());
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  s.resize(static_cast<std::size_t>(::GetWindowTextW(WindowHandle(), s.data(), n + 1)));
  return s;
}

void TDBRichEdit::ShowField() {
  if (!WindowHandle()) return;
  std::wstring text;
  if (TADOQuery* q = binding_.Query(); q && q->Active() && !data_field_.empty()) {
    text = Widen(q->FieldText(data_field_));
  }
  ::SetWindowTextW(WindowHandle(), text.c_str());
}

void TDBRichEdit::DataChanged(bool) { ShowField(); }

bool TDBRichEdit::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "DataSource") {
    BindLater(this, p, loader);
    return true;
  }
  if (name == "DataField") {
    data_field_ = Narrow(loader.String(p));
    return true;
  }
  if (name == "ReadOnly") {
    read_only_ = loader.Bool(p);
    return true;
  }
  return TWinControl::ReadProperty(name, p, loader);
}

// ---------------------------------------------------------------- TDBNavigator

TDBNavigator::TDBNavigator(TComponent* owner) : TCustomControl(owner) {
  width_ = 240;
  height_ = 25;
}

TDBNavigator::~TDBNavigator() { binding_.Set(nullptr); }

std::vector<NavigateButton> TDBNavigator::Buttons() const {
  std::vector<NavigateButton> out;
  for (NavigateButton b : {nbFirst, nbPrior, nbNext, nbLast}) {
    if (visible_buttons_ & b) out.push_back(b);
  }
  return out;
}

RECT TDBNavigator::ButtonRect(NavigateButton button) const {
  const auto buttons = Buttons();
  const auto it = std::find(buttons.begin(), buttons.end(), button);
  if (it == buttons.end() || buttons.empty()) return {};
  const int n = static_cast<int>(buttons.size());
  const int i = static_cast<int>(it - buttons.begin());
  // Equal widths; the pixels left over go to the last buttons, as the classic navigator does.
  const int w = width_ / n, extra = width_ % n;
  const int left = i * w + std::max(0, i - (n - extra));
  const int right = left + w + (i >= n - extra ? 1 : 0);
  return {left, 0, right, height_};
}

bool TDBNavigator::ButtonEnabled(NavigateButton button) const {
  TADOQuery* q = binding_.Query();
  if (!enabled_ || !q || !q->Active()) return false;
  const bool at_first = q->RecNo() <= 1;
  const bool at_last = q->RecNo() >= q->RecordCount();
  switch (button) {
    case nbFirst:
    case nbPrior:
      return !at_first;
    case nbNext:
    case nbLast:
      return !at_last;
  }
  return false;
}

void TDBNavigator::BtnClick(NavigateButton button) {
  TADOQuery* q = binding_.Query();
  if (!q || !ButtonEnabled(button)) return;
  switch (button) {
    case nbFirst:
      q->First();
      break;
    case nbPrior:
      q->Prior();
      break;
    case nbNext:
      q->Next();
      break;
    case nbLast:
      q->Last();
      break;
  }
}

void TDBNavigator::Paint(TCanvas& canvas) {
  for (NavigateButton b : Buttons()) {
    RECT r = ButtonRect(b);
    const bool down = has_pressed_ && pressed_ == b;
    ::DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    const bool on = ButtonEnabled(b);
    const COLORREF ink = on ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT);
    const int cx = (r.left + r.right) / 2 + (down ? 1 : 0),
              cy = (r.top + r.bottom) / 2 + (down ? 1 : 0);
    Brush brush(::CreateSolidBrush(ink));
    Pen pen(::CreatePen(PS_SOLID, 1, ink));
    SelectedObject sb(canvas.Handle(), brush.get());
    SelectedObject sp(canvas.Handle(), pen.get());
    // Triangles 4 px wide pointing left or right; first and last add a bar.
    const bool left = b == nbFirst || b == nbPrior;
    const int tip = left ? cx - 2 : cx + 2, base = left ? cx + 1 : cx - 1;
    POINT tri[3] = {{tip, cy}, {base, cy - 3}, {base, cy + 3}};
    ::Polygon(canvas.Handle(), tri, 3);
    if (b == nbFirst) ::Rectangle(canvas.Handle(), tip - 3, cy - 3, tip - 1, cy + 4);
    if (b == nbLast) ::Rectangle(canvas.Handle(), tip + 2, cy - 3, tip + 4, cy + 4);
  }
}

void TDBNavigator::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != MouseButton::mbLeft) return;
  for (NavigateButton b : Buttons()) {
    const RECT r = ButtonRect(b);
    if (x >= r.left && x < r.right && ButtonEnabled(b)) {
      pressed_ = b;
      has_pressed_ = true;
      ::SetCapture(WindowHandle());
      Repaint();
    }
  }
}

void TDBNavigator::MouseUp(MouseButton button, unsigned shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (!has_pressed_) return;
  has_pressed_ = false;
  if (::GetCapture() == WindowHandle()) ::ReleaseCapture();
  const RECT r = ButtonRect(pressed_);
  Repaint();
  if (x >= r.left && x < r.right && y >= 0 && y < height_) BtnClick(pressed_);
}

void TDBNavigator::DataChanged(bool) { Invalidate(); }

bool TDBNavigator::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "DataSource") {
    BindLater(this, p, loader);
    return true;
  }
  if (name == "VisibleButtons") {
    visible_buttons_ = 0;
    for (const auto& m : loader.Set(p)) {
      if (m == "nbFirst")
        visible_buttons_ |= nbFirst;
      else if (m == "nbPrior")
        visible_buttons_ |= nbPrior;
      else if (m == "nbNext")
        visible_buttons_ |= nbNext;
      else if (m == "nbLast")
        visible_buttons_ |= nbLast;
      else
        loader.Fail(p, "this navigator has no button " + m);
    }
    return true;
  }
  return TCustomControl::ReadProperty(name, p, loader);
}

void RegisterDataControls() {
  RegisterComponentClass<TADOConnection>("TADOConnection");
  RegisterComponentClass<TADOQuery>("TADOQuery");
  RegisterComponentClass<TDataSource>("TDataSource");
  RegisterComponentClass<TDBGrid>("TDBGrid");
  RegisterComponentClass<TDBRichEdit>("TDBRichEdit");
  RegisterComponentClass<TDBNavigator>("TDBNavigator");
}

}  // namespace sapala::win
