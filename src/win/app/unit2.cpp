#include "win/app/unit2.h"

namespace sapala::app {

TForm2* Form2 = nullptr;

TForm2::TForm2(win::TComponent* owner) : TForm(owner) {
  SetClassName("TForm2");
  LoadDescriptionResource(L"TFORM2");
}

}  // namespace sapala::app
