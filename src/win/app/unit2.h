// The examples window, Form2: how the accented vowels of the dictionary's spelling are typed.
// Created hidden at start-up; its close box only hides it.
#pragma once

#include "win/controls/label_fx.h"
#include "win/framework/forms.h"

namespace sapala::app {

class TForm2 : public win::TForm {
 public:
  explicit TForm2(win::TComponent* owner);

  win::TsLabelFX* sLabelFX1 = nullptr;
  win::TsLabelFX* sLabelFX2 = nullptr;
  win::TsLabelFX* sLabelFX3 = nullptr;
  win::TsLabelFX* sLabelFX4 = nullptr;
  win::TsLabelFX* sLabelFX5 = nullptr;
};

extern TForm2* Form2;

}  // namespace sapala::app
