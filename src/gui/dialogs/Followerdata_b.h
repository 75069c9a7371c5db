// Setup dialog of the finger follower type B.
#pragma once

#include "dialogs/setup_dialog.h"

class SpinEditWidget;

class TForm3 : public SetupDialog {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);
  SpinEditWidget* F3_rollerdiameter;
  SpinEditWidget* F3_rollercenter_hinge;
  SpinEditWidget* F3_camcenter_hinge;
  SpinEditWidget* F3_basecircle;
  SpinEditWidget* F3_valvepoint_hinge;
};
