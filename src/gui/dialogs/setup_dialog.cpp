#include "setup_dialog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "app/control_sync.h"
#include "app/spin_edit_widget.h"

void SchematicPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), Qt::white);
  if (paint_) paint_(painter, size());
}

QFont dialog_font() {
  QFont font(QStringLiteral("DejaVu Sans Condensed"));
  font.setPixelSize(11);
  return font;
}

SetupDialog::SetupDialog(QWidget* parent, const QString& caption, QSize outer,
                         std::function<void()> form_show, std::function<void()> ok_click)
    : QDialog(parent), form_show_(std::move(form_show)), ok_click_(std::move(ok_click)) {
  setWindowTitle(caption);
  setModal(true);
  setFont(dialog_font());
  setFixedSize(outer - QSize(16, 39));
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

// The bindings point at this dialog's widgets; none may outlive them.
SetupDialog::~SetupDialog() { ControlSync::instance().unbind_all(this); }

SpinEditWidget* SetupDialog::add_field(const QString& name, veltrano::SpinEdit* field,
                                       QRect place) {
  auto* w = new SpinEditWidget(this);
  w->setObjectName(name);
  w->setGeometry(place);
  ControlSync::instance().bind(w, field);
  return w;
}

QLabel* SetupDialog::add_label(const QString& text, QPoint at, bool bold) {
  auto* label = new QLabel(text, this);
  if (bold) {
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
  }
  label->move(at);
  label->adjustSize();
  return label;
}

SchematicPicture* SetupDialog::set_picture(QRect place,
                                           std::function<void(QPainter&, QSize)> paint) {
  auto* picture = new SchematicPicture(this, std::move(paint));
  picture->setGeometry(place);
  picture->lower();
  return picture;
}

QPushButton* SetupDialog::set_ok_button(const QString& object_name, QRect place) {
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setObjectName(object_name);
  QFont f = ok_->font();
  f.setBold(true);
  f.setPointSize(14);
  ok_->setFont(f);
  ok_->setGeometry(place);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (ControlSync::instance().run(ok_click_)) accept();
  });
  return ok_;
}

void SetupDialog::showEvent(QShowEvent* event) {
  ControlSync::instance().run(form_show_);
  QDialog::showEvent(event);
}
