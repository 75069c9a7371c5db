// The finger position solution, shared by the finger drawing, the contour and
// the encirclement of the finger follower calculator.
#pragma once

#include <string>

namespace veltrano {

struct Finger {
  double R, r, C, P, V;  // base circle radius, roller radius, hinge distances
  double gamma0;         // angle at the hinge with the roller on the base circle
};

// The lever swung for one valve lift: swing psi, hinge angle gamma, distance
// D of the roller centre from the cam centre, angle Q at the roller centre and
// angle theta at the cam centre; all angles in degrees.
struct Position {
  double psi, gamma, D, Q, theta;
};

// The five lengths of the parameter set.
Finger read_finger();

// gamma0 of `f`. Zero hinge distances are a division by zero; lengths that
// cannot form the triangle with the roller on the base circle are refused.
void solve_gamma0(Finger& f);

// The position for valve lift L; a lift beyond twice the valve point distance
// is refused, naming its `sample` in the message.
Position solve_position(const Finger& f, double L, int sample);

// Polar angle in degrees of a contact point by the one-argument arctangent of
// y / x, so within [-90, 90].
double contact_angle_deg(double x, double y);

}  // namespace veltrano
