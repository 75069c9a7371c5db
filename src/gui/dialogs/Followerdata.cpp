#include "dialogs/Followerdata.h"

#include <QPainter>

#include "app/setup_dialogs.h"
#include "app/spin_edit_widget.h"
#include "dialogs/pictures.h"
#include "model/controls.h"

using namespace veltrano;

TForm2::TForm2(QWidget* parent)
    : SetupDialog(parent, QStringLiteral("Follower data "), QSize(519, 619), TForm2_FormShow,
                  F2_okbuttonClick) {
  set_picture(QRect(45, 48, 400, 424), paint_followerdata_picture);
  F2_basecircle =
      add_field(QStringLiteral("F2_basecircle"), &form2.F2_basecircle, QRect(102, 36, 58, 21));
  F2_camcenter_hinge = add_field(QStringLiteral("F2_camcenter_hinge"), &form2.F2_camcenter_hinge,
                                 QRect(111, 189, 58, 21));
  F2_rollercenter_hinge = add_field(QStringLiteral("F2_rollercenter_hinge"),
                                    &form2.F2_rollercenter_hinge, QRect(147, 258, 58, 21));
  F2_rollerdiameter = add_field(QStringLiteral("F2_rollerdiameter"), &form2.F2_rollerdiameter,
                                QRect(360, 210, 58, 21));
  F2_valvepoint_hinge = add_field(QStringLiteral("F2_valvepoint_hinge"), &form2.F2_valvepoint_hinge,
                                  QRect(306, 297, 58, 21));
  add_label(QStringLiteral("Diameter "), QPoint(51, 39));
  add_label(QStringLiteral("Diameter "), QPoint(423, 213));
  set_ok_button(QStringLiteral("F2_okbutton"), QRect(171, 525, 142, 40));
}
