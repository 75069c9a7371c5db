#include "spin_edit_widget.h"

#include <QKeyEvent>
#include <QResizeEvent>

SpinEditWidget::SpinEditWidget(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIconSize(QSize(6, 6));
  }
  connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
  connect(edit_, &QLineEdit::textChanged, this, &SpinEditWidget::changed);
  // A value typed beyond the bounds reaches the handlers as typed; the field
  // corrects it when the user leaves it.
  connect(edit_, &QLineEdit::editingFinished, this, &SpinEditWidget::correct_to_bounds);
  edit_->installEventFilter(this);
  setFocusProxy(edit_);
}

void SpinEditWidget::configure(const veltrano::SpinEdit& field) {
  field_ = field;
  setText(QString::fromStdString(field.text));
}

veltrano::SpinEdit SpinEditWidget::field_with_text() const {
  veltrano::SpinEdit f = field_;
  f.text = edit_->text().toStdString();
  return f;
}

void SpinEditWidget::setText(const QString& text) {
  if (edit_->text() != text) edit_->setText(text);
}

void SpinEditWidget::setValue(double value) {
  setText(QString::fromStdString(field_.format(value)));
}

void SpinEditWidget::stepBy(int direction) {
  veltrano::SpinEdit f = field_with_text();
  f.step(direction);
  setText(QString::fromStdString(f.text));
}

void SpinEditWidget::correct_to_bounds() {
  veltrano::SpinEdit f = field_with_text();
  if (!f.bounded()) return;
  const double v = f.value();
  if (v != f.clamp(v)) setValue(v);
}

void SpinEditWidget::resizeEvent(QResizeEvent* event) {
  const int w = event->size().width(), h = event->size().height();
  const int bw = 15;
  edit_->setGeometry(0, 0, w - bw, h);
  up_->setGeometry(w - bw, 0, bw, h / 2);
  down_->setGeometry(w - bw, h / 2, bw, h - h / 2);
}

bool SpinEditWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up) {
      stepBy(1);
      return true;
    }
    if (key->key() == Qt::Key_Down) {
      stepBy(-1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
