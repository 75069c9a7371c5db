// Setup dialog of the flat follower.
#pragma once

#include "dialogs/setup_dialog.h"

class SpinEditWidget;

class TForm4 : public SetupDialog {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);
  SpinEditWidget* F4_rockerratio;
  SpinEditWidget* F4_flatfollower;
  SpinEditWidget* F4_basecircle;
};
