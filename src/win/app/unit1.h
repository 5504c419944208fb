// The main window, Form1: the search field, the two result lists with their meaning and script
// panes, the navigators and the help buttons. Its components and their settings come from the
// form description "TFORM1"; this class holds the event handlers.
#pragma once

#include <string_view>

#include "win/controls/glaze_button.h"
#include "win/controls/label_fx.h"
#include "win/framework/dbctrls.h"
#include "win/framework/forms.h"
#include "win/framework/stdctrls.h"
#include "win/skin/skin_manager.h"
#include "win/skin/dialog_hook.h"
#include "win/skin/skin_provider.h"

namespace sapala::app {

using namespace sapala::win;

class TForm1 : public TForm {
 public:
  // Applies `description` (by default the program's own resource "TFORM1"): the connection
  // opens and both queries run once; an error of the data layer escapes from here.
  explicit TForm1(TComponent* owner, std::string_view description = {});

  TBevel* Bevel1 = nullptr;
  TBevel* Bevel2 = nullptr;
  TsLabelFX* sLabelFX1 = nullptr;
  TsLabelFX* sLabelFX2 = nullptr;
  TsWebLabel* sWebLabel1 = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TSpeedButton* SpeedButton2 = nullptr;
  TEdit* Edit1 = nullptr;
  TGlazeButton* GlazeButton1 = nullptr;
  TGlazeButton* GlazeButton2 = nullptr;
  TDBGrid* DBGrid1 = nullptr;
  TDBNavigator* DBNavigator1 = nullptr;
  TDBRichEdit* DBRichEdit1 = nullptr;
  TDBRichEdit* DBRichEdit2 = nullptr;
  TDBGrid* DBGrid2 = nullptr;
  TDBRichEdit* DBRichEdit3 = nullptr;
  TDBRichEdit* DBRichEdit4 = nullptr;
  TDBNavigator* DBNavigator2 = nullptr;
  TADOConnection* ADOConnection1 = nullptr;
  TADOQuery* ADOQuery1 = nullptr;
  TDataSource* DataSource1 = nullptr;
  TADOQuery* ADOQuery2 = nullptr;
  TDataSource* DataSource2 = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;

  void FormCreate(TObject& sender);
  void GlazeButton1Click(TObject& sender);
  void GlazeButton2Click(TObject& sender);
  void Edit1KeyPress(TObject& sender, wchar_t& key);
  void Edit1KeyDown(TObject& sender, WORD& key, unsigned shift);
  void DBGrid1KeyPress(TObject& sender, wchar_t& key);
  void DBGrid2KeyPress(TObject& sender, wchar_t& key);
  void DBGrid1CellClick(TObject& column);
  void DBGrid2CellClick(TObject& column);
  void SpeedButton1Click(TObject& sender);
  void SpeedButton2Click(TObject& sender);

 private:
  void SubstringSearch();
  void PrefixSearch();
  void ShowPrefixPair();
  void ShowSubstringPair();
  template <typename T>
  T* Field(std::string_view name);
};

// The program's two windows, reachable from the handlers.
extern TForm1* Form1;

// Registers the classes the program's descriptions use.
void RegisterProgramClasses();

}  // namespace sapala::app
