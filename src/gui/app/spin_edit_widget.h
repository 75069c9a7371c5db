// A numeric entry field with up and down arrows, in the manner of the classic
// spin edits: integer or float, a fixed number of decimals, an arrow increment,
// optional bounds. Its text is what counts; the value is that text read as a
// number, or the lower bound when it cannot be read. Every change of the text,
// typed or set, emits `changed`.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include "model/controls.h"

class SpinEditWidget : public QWidget {
  Q_OBJECT
 public:
  explicit SpinEditWidget(QWidget* parent = nullptr);

  // Kind, decimals, increment, bounds and text from the core's field.
  void configure(const veltrano::SpinEdit& field);
  // The core field with this widget's text.
  veltrano::SpinEdit field() const { return field_with_text(); }

  QString text() const { return edit_->text(); }
  // Sets the text; `changed` fires when it differs.
  void setText(const QString& text);
  double value() const { return field_with_text().value(); }
  void setValue(double value);
  void setIncrement(double increment) { field_.increment = increment; }
  double increment() const { return field_.increment; }
  void stepBy(int direction);

  QLineEdit* lineEdit() const { return edit_; }

 signals:
  void changed();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  veltrano::SpinEdit field_with_text() const;
  void correct_to_bounds();

  veltrano::SpinEdit field_;
  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
};
