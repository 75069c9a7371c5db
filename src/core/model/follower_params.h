// The follower parameter set: the geometry of the follower running on the cam.
// Edited through the setup dialogs, read afresh by every calculation.
#pragma once

namespace veltrano {

// Finger followers (both kinds share these five).
extern double ff_basecircle;          // base circle diameter, mm
extern double ff_rollerdiameter;      // mm
extern double ff_camcenter_hinge;     // cam centre to hinge, mm
extern double ff_rollercenter_hinge;  // roller centre to hinge, mm
extern double ff_valvepoint_hinge;    // valve contact point to hinge, mm
// Flat tappet, roller and knife edge.
extern double basecircle;      // base circle diameter, mm
extern double rollerdiameter;  // mm
extern double flatfollower;    // tappet face diameter, mm
extern double rockerratio;     // valve lift per unit of cam lift

// The defaults every start begins with.
void reset_follower_params();

}  // namespace veltrano
