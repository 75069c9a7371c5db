#include "dialogs/Flatfollower.h"

#include <QPainter>

#include "app/setup_dialogs.h"
#include "app/spin_edit_widget.h"
#include "dialogs/pictures.h"
#include "model/controls.h"

using namespace veltrano;

TForm4::TForm4(QWidget* parent)
    : SetupDialog(parent, QStringLiteral("Follower data "), QSize(550, 750), TForm4_FormShow,
                  F4_okbuttonClick) {
  set_picture(QRect(18, 6, 500, 639), paint_flatfollower_picture);
  F4_rockerratio =
      add_field(QStringLiteral("F4_rockerratio"), &form4.F4_rockerratio, QRect(294, 108, 60, 21));
  F4_flatfollower =
      add_field(QStringLiteral("F4_flatfollower"), &form4.F4_flatfollower, QRect(348, 435, 60, 21));
  F4_basecircle =
      add_field(QStringLiteral("F4_basecircle"), &form4.F4_basecircle, QRect(348, 600, 60, 21));
  add_label(QStringLiteral("Rocker ratio "), QPoint(228, 111));
  add_label(QStringLiteral("Diameter "), QPoint(354, 417));
  add_label(QStringLiteral("Diameter "), QPoint(354, 582));
  set_ok_button(QStringLiteral("F4_okbutton"), QRect(207, 660, 142, 40));
}
