#include "dialogs/Followerdata_b.h"

#include <QPainter>

#include "app/setup_dialogs.h"
#include "app/spin_edit_widget.h"
#include "dialogs/pictures.h"
#include "model/controls.h"

using namespace veltrano;

TForm3::TForm3(QWidget* parent)
    : SetupDialog(parent, QStringLiteral("Follower data"), QSize(710, 532), TForm3_FormShow,
                  F3_okbuttonClick) {
  set_picture(QRect(45, 48, 600, 286), paint_followerdata_b_picture);
  F3_rollerdiameter = add_field(QStringLiteral("F3_rollerdiameter"), &form3.F3_rollerdiameter,
                                QRect(66, 117, 58, 21));
  F3_rollercenter_hinge = add_field(QStringLiteral("F3_rollercenter_hinge"),
                                    &form3.F3_rollercenter_hinge, QRect(258, 99, 58, 21));
  F3_camcenter_hinge = add_field(QStringLiteral("F3_camcenter_hinge"), &form3.F3_camcenter_hinge,
                                 QRect(297, 180, 58, 21));
  F3_basecircle =
      add_field(QStringLiteral("F3_basecircle"), &form3.F3_basecircle, QRect(327, 318, 58, 21));
  F3_valvepoint_hinge = add_field(QStringLiteral("F3_valvepoint_hinge"), &form3.F3_valvepoint_hinge,
                                  QRect(471, 93, 58, 21));
  add_label(QStringLiteral("Diameter"), QPoint(72, 99));
  add_label(QStringLiteral("Diameter "), QPoint(390, 321));
  set_ok_button(QStringLiteral("F3_okbutton"), QRect(303, 438, 142, 40));
}
