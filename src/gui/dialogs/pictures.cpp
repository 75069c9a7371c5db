#include "dialogs/pictures.h"

// Placeholders until the schematics are drawn: a frame only.
void paint_followerdata_picture(QPainter& p, QSize size) { p.drawRect(0, 0, size.width() - 1, size.height() - 1); }
void paint_followerdata_b_picture(QPainter& p, QSize size) { p.drawRect(0, 0, size.width() - 1, size.height() - 1); }
void paint_flatfollower_picture(QPainter& p, QSize size) { p.drawRect(0, 0, size.width() - 1, size.height() - 1); }
void paint_rollerfollower_picture(QPainter& p, QSize size) { p.drawRect(0, 0, size.width() - 1, size.height() - 1); }
