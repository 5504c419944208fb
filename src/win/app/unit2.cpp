#include "win/app/unit2.h"

#include <string>

namespace sapala::app {

TForm2* Form2 = nullptr;

TForm2::TForm2(win::TComponent* owner) : TForm(owner) {
  SetClassName("TForm2");
  LoadDescriptionResource(L"TFORM2");
  win::TsLabelFX** fields[] = {&sLabelFX1, &sLabelFX2, &sLabelFX3, &sLabelFX4, &sLabelFX5};
  for (int i = 0; i < 5; ++i) {
    const std::string name = "sLabelFX" + std::to_string(i + 1);
    *fields[i] = Find<win::TsLabelFX>(name);
    if (!*fields[i]) throw win::LoadError("the description of TForm2 has no " + name);
  }
}

}  // namespace sapala::app
