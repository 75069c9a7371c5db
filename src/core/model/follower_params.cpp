#include "model/follower_params.h"

namespace veltrano {

double ff_basecircle = 28;
double ff_rollerdiameter = 44;
double ff_camcenter_hinge = 32;
double ff_rollercenter_hinge = 20;
double ff_valvepoint_hinge = 22;
double basecircle = 28;
double rollerdiameter = 20;
double flatfollower = 30;
double rockerratio = 1.0;

void reset_follower_params() {
  ff_basecircle = 28;
  ff_rollerdiameter = 44;
  ff_camcenter_hinge = 32;
  ff_rollercenter_hinge = 20;
  ff_valvepoint_hinge = 22;
  basecircle = 28;
  rollerdiameter = 20;
  flatfollower = 30;
  rockerratio = 1.0;
}

}  // namespace veltrano
