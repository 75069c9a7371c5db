// The schematic pictures of the four setup dialogs, drawn with QPainter in
// the picture's own coordinates: black, green and grey lines on white.
#pragma once

#include <QPainter>
#include <QSize>

void paint_followerdata_picture(QPainter& p, QSize size);    // finger follower type A
void paint_followerdata_b_picture(QPainter& p, QSize size);  // finger follower type B
void paint_flatfollower_picture(QPainter& p, QSize size);    // flat follower
void paint_rollerfollower_picture(QPainter& p, QSize size);  // roller follower
