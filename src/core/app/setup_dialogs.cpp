#include "app/setup_dialogs.h"

#include "model/controls.h"
#include "model/follower_params.h"

namespace veltrano {

// A field that cannot be read stores its lower bound, 0: nothing is checked
// here; the calculation that meets a bad value reports it.

void TForm2_FormShow() {
  form2.F2_basecircle.set_value(ff_basecircle);
  form2.F2_rollerdiameter.set_value(ff_rollerdiameter);
  form2.F2_camcenter_hinge.set_value(ff_camcenter_hinge);
  form2.F2_rollercenter_hinge.set_value(ff_rollercenter_hinge);
  form2.F2_valvepoint_hinge.set_value(ff_valvepoint_hinge);
}

void F2_okbuttonClick() {
  ff_basecircle = form2.F2_basecircle.value();
  ff_rollerdiameter = form2.F2_rollerdiameter.value();
  ff_camcenter_hinge = form2.F2_camcenter_hinge.value();
  ff_rollercenter_hinge = form2.F2_rollercenter_hinge.value();
  ff_valvepoint_hinge = form2.F2_valvepoint_hinge.value();
}

void TForm3_FormShow() {
  form3.F3_basecircle.set_value(ff_basecircle);
  form3.F3_rollerdiameter.set_value(ff_rollerdiameter);
  form3.F3_camcenter_hinge.set_value(ff_camcenter_hinge);
  form3.F3_rollercenter_hinge.set_value(ff_rollercenter_hinge);
  form3.F3_valvepoint_hinge.set_value(ff_valvepoint_hinge);
}

void F3_okbuttonClick() {
  ff_basecircle = form3.F3_basecircle.value();
  ff_rollerdiameter = form3.F3_rollerdiameter.value();
  ff_camcenter_hinge = form3.F3_camcenter_hinge.value();
  ff_rollercenter_hinge = form3.F3_rollercenter_hinge.value();
  ff_valvepoint_hinge = form3.F3_valvepoint_hinge.value();
}

void TForm4_FormShow() {
  form4.F4_basecircle.set_value(basecircle);
  form4.F4_flatfollower.set_value(flatfollower);
  form4.F4_rockerratio.set_value(rockerratio);
}

void F4_okbuttonClick() {
  basecircle = form4.F4_basecircle.value();
  flatfollower = form4.F4_flatfollower.value();
  rockerratio = form4.F4_rockerratio.value();
}

void TForm5_FormShow() {
  form5.F5_basecircle.set_value(basecircle);
  form5.F5_rollerdiameter.set_value(rollerdiameter);
  form5.F5_rockerratio.set_value(rockerratio);
}

void F5_okbuttonClick() {
  basecircle = form5.F5_basecircle.value();
  rollerdiameter = form5.F5_rollerdiameter.value();
  rockerratio = form5.F5_rockerratio.value();
}

}  // namespace veltrano
