// Setup dialog of the roller follower.
#pragma once

#include "dialogs/setup_dialog.h"

class SpinEditWidget;

class TForm5 : public SetupDialog {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);
  SpinEditWidget* F5_rockerratio;
  SpinEditWidget* follower_offset;
  SpinEditWidget* F5_rollerdiameter;
  SpinEditWidget* F5_basecircle;
};
