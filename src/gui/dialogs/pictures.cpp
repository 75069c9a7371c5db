#include "dialogs/pictures.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <algorithm>
#include <cmath>

// Every picture is drawn in its own pixel coordinates, laid out so that each
// dimension ends beside the field the dialog places for it. Where a leader
// starts at a field, its start is given in the dialog's client coordinates
// less `at`, the picture's place in the dialog. Conventions: solid
// parts outlined in black on white, the moving levers in green, centre lines
// dash-dotted in grey, springs and fixed ground hatched in grey, dimensions as
// thin black lines with filled arrowheads.

namespace {

const QColor kInk(0, 0, 0);
const QColor kLever(0, 130, 0);
const QColor kGrey(150, 150, 150);

constexpr double kOutline = 1.5;
constexpr double kThin = 1.0;
constexpr double kHeadLength = 9;
constexpr double kHeadHalfWidth = 3;

void solid(QPainter& p) {
  p.setPen(QPen(kInk, kOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
}

void lever(QPainter& p) {
  p.setPen(QPen(kLever, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
}

void grey(QPainter& p) {
  p.setPen(QPen(kGrey, kThin, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
}

void centre(QPainter& p) {
  QPen pen(kGrey, kThin, Qt::CustomDashLine, Qt::FlatCap);
  pen.setDashPattern({12, 3, 2, 3});
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
}

void dimension(QPainter& p) {
  p.setPen(QPen(kInk, kThin, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(kInk);
}

QPointF unit(QPointF v) {
  const double length = std::hypot(v.x(), v.y());
  return length > 0 ? v / length : QPointF(0, 0);
}

QPointF polar(QPointF c, double r, double angle) {
  return c + QPointF(r * std::cos(angle), r * std::sin(angle));
}

// Centre lines through `c`, reaching `half` beyond it each way.
void centre_cross(QPainter& p, QPointF c, double half) {
  centre(p);
  p.drawLine(c - QPointF(half, 0), c + QPointF(half, 0));
  p.drawLine(c - QPointF(0, half), c + QPointF(0, half));
}

// A filled arrowhead with its tip at `tip`, pointing away from `from`.
void arrowhead(QPainter& p, QPointF tip, QPointF from) {
  const QPointF d = unit(tip - from);
  const QPointF n(-d.y(), d.x());
  const QPointF base = tip - d * kHeadLength;
  p.drawPolygon(QPolygonF({tip, base + n * kHeadHalfWidth, base - n * kHeadHalfWidth}));
}

// A distance: a dot at the point measured from, a line, the arrowhead on the
// rim of the circle of radius `r` around `to`.
void distance_to(QPainter& p, QPointF from, QPointF to, double r) {
  dimension(p);
  const QPointF tip = to - unit(to - from) * r;
  p.drawLine(from, tip);
  arrowhead(p, tip, from);
  p.drawEllipse(from, 2.0, 2.0);
}

// A diameter called out by a leader from `start` whose arrowhead stands on the
// circle, aimed at its centre.
void leader_onto_circle(QPainter& p, QPointF start, QPointF c, double r) {
  dimension(p);
  const QPointF tip = c + unit(start - c) * r;
  p.drawLine(start, tip);
  arrowhead(p, tip, start);
}

// A leader ending in an arrowhead at `tip`.
void leader(QPainter& p, QPointF start, QPointF tip) {
  dimension(p);
  p.drawLine(start, tip);
  arrowhead(p, tip, start);
}

// A diameter drawn across the circle at `angle`, arrowheads on both rims
// pointing outwards, carried on beyond the rim to `end`.
void diameter_out(QPainter& p, QPointF c, double r, double angle, QPointF end) {
  dimension(p);
  const QPointF a = polar(c, r, angle + M_PI), b = polar(c, r, angle);
  p.drawLine(a, end);
  arrowhead(p, a, c);
  arrowhead(p, b, c);
}

// The outline of a cam: the base circle of radius `rb` and a nose circle of
// radius `rn` at `d` from the centre towards `direction`, joined by their
// common tangents.
QPainterPath cam_outline(QPointF c, double rb, double rn, double d, double direction) {
  const double phi = std::acos((rb - rn) / d);
  const QPointF nose = polar(c, d, direction);
  QPolygonF points;
  const int steps = 96;
  for (int i = 0; i <= steps; ++i)
    points << polar(c, rb, direction + phi + (2 * M_PI - 2 * phi) * i / steps);
  for (int i = 0; i <= steps / 4; ++i)
    points << polar(nose, rn, direction - phi + 2 * phi * i / (steps / 4));
  QPainterPath path;
  path.addPolygon(points);
  path.closeSubpath();
  return path;
}

// The cam: outline, the base circle carried on through the lobe in grey, the
// shaft bore and the centre lines.
void draw_cam(QPainter& p, QPointF c, double rb, double rn, double d, double direction) {
  solid(p);
  p.drawPath(cam_outline(c, rb, rn, d, direction));
  grey(p);
  QPen pen = p.pen();
  pen.setStyle(Qt::DashLine);
  p.setPen(pen);
  const double phi = std::acos((rb - rn) / d);
  QPolygonF arc;
  for (int i = 0; i <= 24; ++i) arc << polar(c, rb, direction - phi + 2 * phi * i / 24);
  p.drawPolyline(arc);
  solid(p);
  p.drawEllipse(c, rb * 0.28, rb * 0.28);
  centre_cross(p, c, d + rn + 8);
}

void draw_roller(QPainter& p, QPointF c, double r) {
  solid(p);
  p.drawEllipse(c, r, r);
  p.drawEllipse(c, r * 0.62, r * 0.62);
  centre_cross(p, c, r + 6);
}

QPainterPath rect_path(const QRectF& r) {
  QPainterPath path;
  path.addRect(r);
  return path;
}

void draw_axle(QPainter& p, QPointF c) {
  solid(p);
  p.drawEllipse(c, 4.0, 4.0);
}

// A capsule from `a` to `b`, `half` wide each side of the line joining them.
QPainterPath bar(QPointF a, QPointF b, double half) {
  const QPointF d = unit(b - a);
  const double angle = std::atan2(d.y(), d.x());
  QPainterPath path;
  QPolygonF points;
  for (int i = 0; i <= 16; ++i) points << polar(b, half, angle - M_PI / 2 + M_PI * i / 16);
  for (int i = 0; i <= 16; ++i) points << polar(a, half, angle + M_PI / 2 + M_PI * i / 16);
  path.addPolygon(points);
  path.closeSubpath();
  return path;
}

// Fixed ground: a line from `a` to `b` with short hatch strokes on the side
// of `outward` (a unit vector).
void ground(QPainter& p, QPointF a, QPointF b, QPointF outward) {
  grey(p);
  const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
  const QPointF along = unit(b - a);
  for (double s = 4; s < length; s += 6)
    p.drawLine(a + along * s, a + along * (s - 6) + outward * 6);
  solid(p);
  p.drawLine(a, b);
}

// A fixed pivot: the bearing circle on a triangular support whose ground
// lies below (`below` true) or above it.
void draw_pivot(QPainter& p, QPointF c, double r, bool below) {
  const double s = below ? 1 : -1;
  const QPointF base(c.x(), c.y() + s * (r + 16));
  solid(p);
  p.drawPolygon(QPolygonF({c, base + QPointF(-12, 0), base + QPointF(12, 0)}));
  ground(p, base + QPointF(-18, 0), base + QPointF(18, 0), QPointF(0, s));
  solid(p);
  p.drawEllipse(c, r, r);
  p.setBrush(kInk);
  p.drawEllipse(c, 1.8, 1.8);
}

// A coil spring between y `top` and `bottom` around the axis x, drawn as the
// side view of its turns.
void draw_spring(QPainter& p, double x, double top, double bottom, double half, int turns) {
  grey(p);
  QPen pen = p.pen();
  pen.setWidthF(1.3);
  p.setPen(pen);
  QPolygonF zigzag;
  const double pitch = (bottom - top) / turns;
  zigzag << QPointF(x - half, top);
  for (int i = 0; i < turns; ++i) {
    zigzag << QPointF(x + half, top + pitch * (i + 0.5));
    zigzag << QPointF(x - half, top + pitch * (i + 1));
  }
  p.drawPolyline(zigzag);
}

// An upright valve: stem from `top` down to the head, whose seat face ends at
// `bottom`, with its spring, retainer and axis.
void draw_valve(QPainter& p, double x, double top, double bottom, double head_half) {
  const double stem_half = 5;
  const double head_top = bottom - 22;
  const double retainer = top + 22;
  const double seat = head_top - 10;
  draw_spring(p, x, retainer + 6, seat, stem_half + 15, std::max(3, int((seat - retainer) / 22)));
  solid(p);
  QPolygonF valve;
  valve << QPointF(x - stem_half, top) << QPointF(x + stem_half, top)
        << QPointF(x + stem_half, head_top) << QPointF(x + head_half, bottom - 6)
        << QPointF(x + head_half, bottom) << QPointF(x - head_half, bottom)
        << QPointF(x - head_half, bottom - 6) << QPointF(x - stem_half, head_top);
  p.drawPolygon(valve);
  p.drawRect(QRectF(x - stem_half - 16, retainer, 2 * (stem_half + 16), 6));
  ground(p, QPointF(x - stem_half - 30, seat), QPointF(x - stem_half - 3, seat), QPointF(0, 1));
  ground(p, QPointF(x + stem_half + 3, seat), QPointF(x + stem_half + 30, seat), QPointF(0, 1));
  centre(p);
  p.drawLine(QPointF(x, top - 8), QPointF(x, bottom + 8));
}

// The pushrod of the flat and roller followers, from the lifter up to the
// rocker, with its ball ends.
void draw_pushrod(QPainter& p, double x, double top, double bottom) {
  solid(p);
  p.drawRect(QRectF(x - 3, top + 4, 6, bottom - top - 8));
  p.drawEllipse(QPointF(x, top + 4), 5.0, 5.0);
  p.drawEllipse(QPointF(x, bottom - 4), 5.0, 5.0);
}

// The rocker arm of the flat and roller followers: pivoted in its middle,
// its left end on the pushrod, its right end on the valve stem.
void draw_rocker(QPainter& p, double left, double right, double y) {
  lever(p);
  p.drawPath(bar(QPointF(left, y), QPointF(right, y), 9));
  draw_pivot(p, QPointF((left + right) / 2, y), 6, false);
}

}  // namespace

// Finger follower type A: the cam on top, the roller below it carried by the
// finger, whose hinge is at its left end and whose right end works the valve.
void paint_followerdata_picture(QPainter& p, QSize) {
  const QPointF at(45, 48);
  const QPointF hinge(40, 226);
  const double hinge_r = 11;
  const QPointF roller(190, 174);
  const double roller_r = 38;
  const double base_r = 34;
  // The cam centre lies a little right of the roller's, so that the line
  // from it to the hinge passes clear of the roller.
  const double contact = (18.0 / 180) * M_PI;
  const QPointF cam = roller + QPointF(std::sin(contact), -std::cos(contact)) * (roller_r + base_r);
  // The finger falls towards the valve, passing below the fields beside the
  // hinge and the valve.
  const double slope = 0.28;
  const double bar_half = 7;
  auto on_bar = [&](double x) { return QPointF(x, hinge.y() + slope * (x - hinge.x())); };
  const QPointF pad = on_bar(338);

  draw_valve(p, pad.x(), pad.y() + bar_half, 414, 32);
  draw_pivot(p, hinge, hinge_r, true);
  // The finger: a bar from hinge to valve, and behind the roller the cheek
  // that carries its axle.
  lever(p);
  QPolygonF cheek;
  cheek << on_bar(roller.x() - 34) << QPointF(roller.x() - 16, roller.y())
        << QPointF(roller.x() + 16, roller.y()) << on_bar(roller.x() + 40);
  QPainterPath carrier;
  carrier.addPolygon(cheek);
  carrier.closeSubpath();
  p.drawPath(bar(hinge, pad, bar_half).united(carrier));
  draw_roller(p, roller, roller_r);
  draw_axle(p, roller);
  solid(p);
  p.drawEllipse(hinge, hinge_r, hinge_r);
  draw_cam(p, cam, base_r, 16, 36, 0);

  leader_onto_circle(p, QPointF(162, 55) - at, cam, base_r);                // from F2_basecircle
  diameter_out(p, roller, roller_r, 0, QPointF(357 - at.x(), roller.y()));  // to F2_rollerdiameter
  distance_to(p, cam, hinge, hinge_r);
  distance_to(p, roller, hinge, hinge_r);
  // The valve acts where its axis meets the finger's centre line.
  distance_to(p, pad, hinge, hinge_r);
}

// Finger follower type B: a rocker hinged in its middle, the roller at its
// left end on the cam below and to the left, its right end on the valve.
void paint_followerdata_b_picture(QPainter& p, QSize) {
  const QPointF at(45, 48);
  const QPointF roller(165, 100);
  const double roller_r = 38;
  const double base_r = 42;
  // The cam centre lies below and left of the roller's, far enough left for
  // its line to the hinge to pass above the field below it.
  const double contact = (40.0 / 180) * M_PI;
  const QPointF cam = roller + QPointF(-std::sin(contact), std::cos(contact)) * (roller_r + base_r);
  const QPointF hinge(340, 100);
  const double bar_half = 11;
  const QPointF pad(2 * hinge.x() - roller.x(), hinge.y());

  draw_valve(p, pad.x(), pad.y() + bar_half, 280, 32);
  draw_cam(p, cam, base_r, 16, 48, M_PI);
  lever(p);
  p.drawPath(bar(roller, pad, bar_half));
  draw_roller(p, roller, roller_r);
  draw_axle(p, roller);
  draw_pivot(p, hinge, 9, false);

  leader_onto_circle(p, QPointF(127, 128) - at, roller, roller_r);  // from F3_rollerdiameter
  leader_onto_circle(p, QPointF(325, 316) - at, cam, base_r);       // from F3_basecircle
  distance_to(p, roller, hinge, 9);
  distance_to(p, cam, hinge, 9);
  // The valve acts where its axis meets the rocker's centre line.
  distance_to(p, pad, hinge, 9);
}

// Flat follower: the cam at the bottom, the flat-faced tappet on it, the
// pushrod up to the rocker and the rocker down onto the valve.
void paint_flatfollower_picture(QPainter& p, QSize) {
  const QPointF at(18, 6);
  const QPointF cam(160, 565);
  const double base_r = 55;
  const double rocker_y = 80;
  const double right = 450;
  const QRectF tappet(cam.x() - 59, 430, 118, cam.y() - base_r - 430);

  draw_valve(p, right, rocker_y + 10, 340, 36);
  draw_cam(p, cam, base_r, 22, 54, M_PI);
  solid(p);
  p.drawRect(tappet);
  centre(p);
  p.drawLine(QPointF(cam.x(), rocker_y + 14), QPointF(cam.x(), tappet.bottom() + 2));
  draw_pushrod(p, cam.x(), rocker_y + 6, tappet.top() + 6);
  draw_rocker(p, cam.x(), right, rocker_y);

  const QPointF face = QPointF(345, 446) - at;  // from F4_flatfollower
  leader(p, face, QPointF(tappet.right(), face.y()));
  leader_onto_circle(p, QPointF(345, 610) - at, cam, base_r);  // from F4_basecircle
}

// Roller follower: as the flat follower, but the lifter runs on the cam with a
// roller; its sideways offset is entered on the lifter body.
void paint_rollerfollower_picture(QPainter& p, QSize) {
  const QPointF at(12, 9);
  const double axis = 176;
  const QRectF body(axis - 44, 240, 88, 180);
  const QPointF roller(axis, 454);
  const double roller_r = 34;
  const double base_r = 50;
  const QPointF cam(axis, roller.y() + roller_r + base_r);
  const double rocker_y = 80;
  const double right = 448;

  draw_valve(p, right, rocker_y + 10, 340, 36);
  draw_cam(p, cam, base_r, 20, 50, M_PI);
  draw_roller(p, roller, roller_r);
  // The lifter body and the cheek that carries the roller's axle.
  solid(p);
  p.drawPath(bar(QPointF(axis, body.bottom() - 14), roller, 14).united(rect_path(body)));
  draw_axle(p, roller);
  centre(p);
  p.drawLine(QPointF(axis, rocker_y + 14), QPointF(axis, body.top() + 24));
  draw_pushrod(p, axis, rocker_y + 6, body.top() + 6);
  draw_rocker(p, axis, right, rocker_y);

  leader_onto_circle(p, QPointF(306, 415) - at, roller, roller_r);  // from F5_rollerdiameter
  leader_onto_circle(p, QPointF(339, 613) - at, cam, base_r);       // from F5_basecircle
}
