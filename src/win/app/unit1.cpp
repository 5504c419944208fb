#include "win/app/unit1.h"

#include "core/data/search.h"
#include "win/app/unit2.h"
#include "win/framework/text.h"

namespace sapala::app {

TForm1* Form1 = nullptr;

void RegisterProgramClasses() {
  RegisterStandardControls();
  RegisterDataControls();
  RegisterSkinnedLabels();
  RegisterGlazeButton();
  RegisterSkinManager();
  RegisterSkinProvider();
  win::skin::RegisterDialogSkinning();
}

template <typename T>
T* TForm1::Field(std::string_view name) {
  T* c = Find<T>(name);
  if (!c) throw LoadError("the description of TForm1 has no " + std::string(name));
  return c;
}

TForm1::TForm1(TComponent* owner, std::string_view description) : TForm(owner) {
  SetClassName("TForm1");
  RegisterHandler("FormCreate", TNotifyEvent([this](TObject& s) { FormCreate(s); }));
  RegisterHandler("GlazeButton1Click", TNotifyEvent([this](TObject& s) { GlazeButton1Click(s); }));
  RegisterHandler("GlazeButton2Click", TNotifyEvent([this](TObject& s) { GlazeButton2Click(s); }));
  RegisterHandler("Edit1KeyPress",
                  TKeyPressEvent([this](TObject& s, wchar_t& k) { Edit1KeyPress(s, k); }));
  RegisterHandler("Edit1KeyDown",
                  TKeyEvent([this](TObject& s, WORD& k, unsigned sh) { Edit1KeyDown(s, k, sh); }));
  RegisterHandler("DBGrid1KeyPress",
                  TKeyPressEvent([this](TObject& s, wchar_t& k) { DBGrid1KeyPress(s, k); }));
  RegisterHandler("DBGrid2KeyPress",
                  TKeyPressEvent([this](TObject& s, wchar_t& k) { DBGrid2KeyPress(s, k); }));
  RegisterHandler("DBGrid1CellClick", TNotifyEvent([this](TObject& c) { DBGrid1CellClick(c); }));
  RegisterHandler("DBGrid2CellClick", TNotifyEvent([this](TObject& c) { DBGrid2CellClick(c); }));
  RegisterHandler("SpeedButton1Click", TNotifyEvent([this](TObject& s) { SpeedButton1Click(s); }));
  RegisterHandler("SpeedButton2Click", TNotifyEvent([this](TObject& s) { SpeedButton2Click(s); }));
  if (description.empty())
    LoadDescriptionResource(L"TFORM1");
  else
    LoadDescription(description);

  Bevel1 = Field<TBevel>("Bevel1");
  Bevel2 = Field<TBevel>("Bevel2");
  sLabelFX1 = Field<TsLabelFX>("sLabelFX1");
  sLabelFX2 = Field<TsLabelFX>("sLabelFX2");
  sWebLabel1 = Field<TsWebLabel>("sWebLabel1");
  SpeedButton1 = Field<TSpeedButton>("SpeedButton1");
  SpeedButton2 = Field<TSpeedButton>("SpeedButton2");
  Edit1 = Field<TEdit>("Edit1");
  GlazeButton1 = Field<TGlazeButton>("GlazeButton1");
  GlazeButton2 = Field<TGlazeButton>("GlazeButton2");
  DBGrid1 = Field<TDBGrid>("DBGrid1");
  DBNavigator1 = Field<TDBNavigator>("DBNavigator1");
  DBRichEdit1 = Field<TDBRichEdit>("DBRichEdit1");
  DBRichEdit2 = Field<TDBRichEdit>("DBRichEdit2");
  DBGrid2 = Field<TDBGrid>("DBGrid2");
  DBRichEdit3 = Field<TDBRichEdit>("DBRichEdit3");
  DBRichEdit4 = Field<TDBRichEdit>("DBRichEdit4");
  DBNavigator2 = Field<TDBNavigator>("DBNavigator2");
  ADOConnection1 = Field<TADOConnection>("ADOConnection1");
  ADOQuery1 = Field<TADOQuery>("ADOQuery1");
  DataSource1 = Field<TDataSource>("DataSource1");
  ADOQuery2 = Field<TADOQuery>("ADOQuery2");
  DataSource2 = Field<TDataSource>("DataSource2");
  sSkinManager1 = Field<TsSkinManager>("sSkinManager1");
}

void TForm1::FormCreate(TObject&) {
  SpeedButton2->Hide();
  ADOQuery1->ClearSql();
  ADOQuery2->ClearSql();
  DBRichEdit2->Show();
  DBRichEdit4->Hide();
  DBNavigator2->Hide();
}

// The search field's text, as the search SQL takes it (UTF-8).
namespace {
data::FieldText SearchText(TEdit* edit) {
  return [edit] { return Narrow(edit->Text()); };
}
}  // namespace

void TForm1::SubstringSearch() {
  ADOQuery2->Run([this](data::Query& q) { data::SubstringSearch(q, SearchText(Edit1)); });
}

void TForm1::PrefixSearch() {
  ADOQuery1->Run([this](data::Query& q) { data::PrefixSearch(q, SearchText(Edit1)); });
}

void TForm1::GlazeButton1Click(TObject&) {
  SubstringSearch();
  PrefixSearch();
  Edit1->SetFocus();
}

void TForm1::GlazeButton2Click(TObject&) { Close(); }

void TForm1::Edit1KeyPress(TObject&, wchar_t& key) {
  if (key == L'\r') SubstringSearch();
  PrefixSearch();
  Edit1->SetFocus();
}

void TForm1::Edit1KeyDown(TObject&, WORD& key, unsigned) {
  if (key == VK_DOWN) DBGrid1->SetFocus();
}

void TForm1::ShowPrefixPair() {
  DBRichEdit4->Hide();
  DBRichEdit2->Show();
  DBNavigator2->Hide();
  DBNavigator1->Show();
}

void TForm1::ShowSubstringPair() {
  DBRichEdit2->Hide();
  DBRichEdit4->Show();
  DBNavigator2->Show();
  DBNavigator1->Hide();
}

void TForm1::DBGrid1KeyPress(TObject&, wchar_t& key) {
  if (key == L'\r') DBGrid2->SetFocus();
  ShowSubstringPair();
}

void TForm1::DBGrid2KeyPress(TObject&, wchar_t& key) {
  if (key == L'\r') Edit1->SetFocus();
  ShowPrefixPair();
}

void TForm1::DBGrid1CellClick(TObject&) { ShowPrefixPair(); }

void TForm1::DBGrid2CellClick(TObject&) { ShowSubstringPair(); }

void TForm1::SpeedButton1Click(TObject&) {
  Form2->Show();
  SpeedButton2->Show();
  SpeedButton1->Hide();
}

void TForm1::SpeedButton2Click(TObject&) {
  Form2->Close();
  SpeedButton1->Show();
  SpeedButton2->Hide();
}

}  // namespace sapala::app
