#include "dialogs/Rollerfollower.h"

#include <QPainter>

#include "app/setup_dialogs.h"
#include "app/spin_edit_widget.h"
#include "dialogs/pictures.h"
#include "model/controls.h"

using namespace veltrano;

TForm5::TForm5(QWidget* parent)
    : SetupDialog(parent, QStringLiteral("Follower data "), QSize(548, 758), TForm5_FormShow,
                  F5_okbuttonClick) {
  set_picture(QRect(12, 9, 500, 639), paint_rollerfollower_picture);
  F5_rockerratio =
      add_field(QStringLiteral("F5_rockerratio"), &form5.F5_rockerratio, QRect(294, 108, 60, 21));
  follower_offset =
      add_field(QStringLiteral("follower_offset"), &form5.follower_offset, QRect(160, 288, 57, 21));
  F5_rollerdiameter = add_field(QStringLiteral("F5_rollerdiameter"), &form5.F5_rollerdiameter,
                                QRect(309, 399, 60, 21));
  F5_basecircle =
      add_field(QStringLiteral("F5_basecircle"), &form5.F5_basecircle, QRect(342, 603, 60, 21));
  add_label(QStringLiteral("Rocker ratio "), QPoint(228, 111));
  add_label(QStringLiteral("<- neg. nr."), QPoint(76, 292), true);
  add_label(QStringLiteral("-> pos. nr. "), QPoint(236, 292), true);
  add_label(QStringLiteral("Follower offset"), QPoint(152, 316));
  add_label(QStringLiteral("Diameter "), QPoint(315, 378));
  add_label(QStringLiteral("Diameter "), QPoint(348, 585));
  set_ok_button(QStringLiteral("F5_okbutton"), QRect(210, 663, 142, 40));
}
