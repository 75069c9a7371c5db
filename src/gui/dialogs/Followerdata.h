// Setup dialog of the finger follower type A.
#pragma once

#include "dialogs/setup_dialog.h"

class SpinEditWidget;

class TForm2 : public SetupDialog {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);
  SpinEditWidget* F2_basecircle;
  SpinEditWidget* F2_camcenter_hinge;
  SpinEditWidget* F2_rollercenter_hinge;
  SpinEditWidget* F2_rollerdiameter;
  SpinEditWidget* F2_valvepoint_hinge;
};
