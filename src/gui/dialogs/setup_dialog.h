// Common frame of the four follower setup dialogs: white, fixed size, a
// schematic picture, numeric fields placed beside the dimensions they name,
// and a bold OK button. Showing loads the parameters into the fields; OK
// stores them and closes; the close box stores nothing.
#pragma once

#include <QDialog>
#include <QFont>
#include <functional>

#include "model/controls.h"

class QLabel;
class QPainter;
class QPushButton;
class SpinEditWidget;

// The picture of a dialog, drawn in vector form by `paint` in its own
// coordinates (0, 0 at its top left).
class SchematicPicture : public QWidget {
 public:
  SchematicPicture(QWidget* parent, std::function<void(QPainter&, QSize)> paint)
      : QWidget(parent), paint_(std::move(paint)) {}

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::function<void(QPainter&, QSize)> paint_;
};

class SetupDialog : public QDialog {
  Q_OBJECT
 public:
  // outer: the window's outer size as given for the classic toolkit; the
  // client area is that less a typical frame.
  SetupDialog(QWidget* parent, const QString& caption, QSize outer,
              std::function<void()> form_show, std::function<void()> ok_click);
  ~SetupDialog() override;

  // The widget takes the field's name as its object name.
  SpinEditWidget* add_field(const QString& name, veltrano::SpinEdit* field, QRect place);
  QLabel* add_label(const QString& text, QPoint at, bool bold = false);
  SchematicPicture* set_picture(QRect place, std::function<void(QPainter&, QSize)> paint);
  QPushButton* set_ok_button(const QString& object_name, QRect place);

  QPushButton* ok_button() const { return ok_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::function<void()> form_show_;
  std::function<void()> ok_click_;
  QPushButton* ok_ = nullptr;
};

// The classic toolkit's 8-point dialog font, as near as this system has it.
QFont dialog_font();
