// The data components: TADOConnection and TADOQuery over the core data layer, TDataSource
// linking a query to data-aware controls, and those controls: TDBGrid (the rows' first column,
// current row marked), TDBRichEdit (one field of the current record, read-only) and
// TDBNavigator (first, prior, next, last).
//
// A query tells its data sources whenever its rows or its current record change; each source
// tells its linked controls. A closed query empties every control linked to it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/data/query.h"
#include "win/framework/controls.h"

namespace sapala::win {

class TADOQuery;
class TDataSource;
class DataBinding;

enum class ConnectMode {
  cmUnknown,
  cmRead,
  cmWrite,
  cmReadWrite,
  cmShareDenyRead,
  cmShareDenyWrite,
  cmShareExclusive,
  cmShareDenyNone
};

class TADOConnection : public TComponent {
 public:
  explicit TADOConnection(TComponent* owner);
  ~TADOConnection() override;

  const std::string& ConnectionString() const noexcept { return connection_string_; }
  void SetConnectionString(std::string text) { connection_string_ = std::move(text); }
  bool Connected() const noexcept { return connection_.connected(); }
  void Open();
  void Close();
  bool LoginPrompt() const noexcept { return login_prompt_; }
  ConnectMode Mode() const noexcept { return mode_; }
  data::Connection& Core() noexcept { return connection_; }

  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;
  void Loaded() override;

 private:
  std::string connection_string_;
  bool stored_connected_ = false;
  bool login_prompt_ = true;
  ConnectMode mode_ = ConnectMode::cmUnknown;
  data::Connection connection_;
};

class TADOQuery : public TComponent {
 public:
  explicit TADOQuery(TComponent* owner);
  ~TADOQuery() override;

  void SetConnection(TADOConnection* connection);
  TADOConnection* Connection() const noexcept { return connection_; }
  // The SQL text: replacing it closes an open query (except while the form is loading);
  // clearing it closes the query and empties its controls.
  void SetSql(std::string sql);
  void ClearSql() { SetSql(std::string()); }
  const std::string& Sql() const noexcept { return query_.sql(); }
  void Open();
  void Close();
  bool Active() const noexcept { return query_.active(); }
  void First();
  void Prior();
  void Next();
  void Last();
  void MoveTo(std::size_t recno);
  bool Bof() const noexcept { return query_.Bof(); }
  bool Eof() const noexcept { return query_.Eof(); }
  std::size_t RecNo() const noexcept { return query_.RecNo(); }
  // Exact: an open query is always counted before its controls hear of it.
  std::size_t RecordCount() const noexcept { return query_.KnownRecordCount().value_or(0); }
  // Runs steps on the core query (the word search's), counts the rows of a query they leave
  // open, then tells the controls: the rows may have changed, whether the steps finished or
  // threw. A query that cannot be counted is closed, and the error goes on to the caller.
  template <typename Steps>
  void Run(Steps&& steps) {
    try {
      steps(query_);
      CountRows();
    } catch (...) {
      if (!query_.KnownRecordCount()) query_.Close();
      Changed(true);
      throw;
    }
    Changed(true);
  }
  // The current record's field as text ("" when closed, empty or NULL).
  std::string FieldText(std::string_view field) const;
  const data::Query& Core() const noexcept { return query_; }

  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);

  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;
  void Loaded() override;

 private:
  void Changed(bool rows_changed);
  void CountRows() {
    if (query_.active()) query_.RecordCount();
  }

  TADOConnection* connection_ = nullptr;
  bool stored_active_ = false;
  data::Query query_;
  std::vector<TDataSource*> sources_;
};

// A control bound to a data source.
class DataLinked {
 public:
  virtual ~DataLinked() = default;
  // rows_changed: the query opened, closed or re-ran; otherwise only the current record moved.
  virtual void DataChanged(bool rows_changed) = 0;
};

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;

  TADOQuery* DataSet() const noexcept { return data_set_; }
  void SetDataSet(TADOQuery* query);
  void Notify(bool rows_changed);

  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 private:
  friend class TADOQuery;
  friend class DataBinding;
  TADOQuery* data_set_ = nullptr;
  // The bindings of the controls that show this source. A source freed before its controls
  // (they may be created, and so freed, in any order) clears their bindings first.
  std::vector<DataBinding*> links_;
};

// Binding shared by the data-aware controls.
class DataBinding {
 public:
  explicit DataBinding(DataLinked* owner) : owner_(owner) {}
  ~DataBinding() { Set(nullptr); }
  void Set(TDataSource* source);
  TDataSource* Source() const noexcept { return source_; }
  DataLinked* Owner() const noexcept { return owner_; }
  TADOQuery* Query() const noexcept { return source_ ? source_->DataSet() : nullptr; }
  bool Active() const noexcept { return Query() && Query()->Active(); }

 private:
  friend class TDataSource;
  DataLinked* owner_;
  TDataSource* source_ = nullptr;
};

// A column of a grid: the field it shows.
class TColumn : public TObject {
 public:
  std::string field_name;
};

class TDBGrid : public TCustomControl, public DataLinked {
 public:
  explicit TDBGrid(TComponent* owner);
  ~TDBGrid() override;

  void SetDataSource(TDataSource* source) { binding_.Set(source); }
  TDataSource* DataSource() const noexcept { return binding_.Source(); }
  const std::vector<std::unique_ptr<TColumn>>& Columns() const noexcept { return columns_; }
  int DefaultRowHeight() const;
  int IndicatorWidth() const noexcept;
  // Index of the first row on screen and how many rows fit.
  std::size_t TopRow() const noexcept { return top_row_; }
  int VisibleRowCount() const;
  // How many rows the last paint drew (only rows on screen are painted).
  int RowsPainted() const noexcept { return rows_painted_; }

  TNotifyEvent OnCellClick;  // the sender is the column clicked

  void DataChanged(bool rows_changed) override;
  void Paint(TCanvas& canvas) override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 protected:
  void CreateParams(struct CreateParams& params) override;
  void CreateWnd() override;
  void WndProc(Message& m) override;
  void KeyDown(WORD& key, unsigned shift) override;
  void MouseDown(MouseButton button, unsigned shift, int x, int y) override;
  void PaintBackground(TCanvas& canvas, const RECT& area) override;

 private:
  void UpdateScrollBar();
  void EnsureCurrentVisible();
  void Scroll(int code);

  DataBinding binding_{this};
  std::vector<std::unique_ptr<TColumn>> columns_;
  std::vector<std::string> options_;
  TColor fixed_color_ = graphics::clBtnFace;
  TFont title_font_;
  std::size_t top_row_ = 0;
  int rows_painted_ = 0;
};

class TDBRichEdit : public TWinControl, public DataLinked {
 public:
  explicit TDBRichEdit(TComponent* owner);
  ~TDBRichEdit() override;

  void SetDataSource(TDataSource* source) { binding_.Set(source); }
  TDataSource* DataSource() const noexcept { return binding_.Source(); }
  const std::string& DataField() const noexcept { return data_field_; }
  std::wstring Text() const;

  void DataChanged(bool rows_changed) override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 protected:
  void CreateParams(struct CreateParams& params) override;
  void CreateWnd() override;

 private:
  void ShowField();

  DataBinding binding_{this};
  std::string data_field_;
  bool read_only_ = false;
};

enum NavigateButton : unsigned { nbFirst = 1, nbPrior = 2, nbNext = 4, nbLast = 8 };

class TDBNavigator : public TCustomControl, public DataLinked {
 public:
  explicit TDBNavigator(TComponent* owner);
  ~TDBNavigator() override;

  void SetDataSource(TDataSource* source) { binding_.Set(source); }
  TDataSource* DataSource() const noexcept { return binding_.Source(); }
  unsigned VisibleButtons() const noexcept { return visible_buttons_; }
  bool ButtonEnabled(NavigateButton button) const;
  // Presses a button as a click would.
  void BtnClick(NavigateButton button);
  RECT ButtonRect(NavigateButton button) const;

  void DataChanged(bool rows_changed) override;
  void Paint(TCanvas& canvas) override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 protected:
  void MouseDown(MouseButton button, unsigned shift, int x, int y) override;
  void MouseUp(MouseButton button, unsigned shift, int x, int y) override;

 private:
  std::vector<NavigateButton> Buttons() const;

  DataBinding binding_{this};
  unsigned visible_buttons_ = nbFirst | nbPrior | nbNext | nbLast;
  NavigateButton pressed_{};
  bool has_pressed_ = false;
};

void RegisterDataControls();

}  // namespace sapala::win
