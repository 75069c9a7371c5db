#include "control_sync.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <exception>

#include "app/errors.h"
#include "spin_edit_widget.h"
#include "view/surface.h"

ControlSync& ControlSync::instance() {
  static ControlSync sync;
  return sync;
}

void ControlSync::bind(SpinEditWidget* widget, veltrano::SpinEdit* field) {
  widget->configure(*field);
  spins_.push_back({widget, field});
}

void ControlSync::bind(QCheckBox* widget, bool* state) {
  widget->setChecked(*state);
  checks_.push_back({widget, state});
}

void ControlSync::bind(QButtonGroup* group, int* selected) {
  if (QAbstractButton* b = group->button(*selected)) b->setChecked(true);
  groups_.push_back({group, selected});
}

void ControlSync::bind(QLineEdit* widget, std::string* text) {
  widget->setText(QString::fromStdString(*text));
  lines_.push_back({widget, text});
}

void ControlSync::bind(QPlainTextEdit* widget, veltrano::TextList* lines) {
  {
    const QSignalBlocker blocker(widget);
    widget->setPlainText(QString::fromStdString(lines->text()));
  }
  lists_.push_back({widget, lines, lines->revision(), false});
  // Found by widget, not by index: bindings of a closed window are removed and
  // the indices of the others move.
  connect(widget->document(), &QTextDocument::contentsChanged, this, [this, widget] {
    if (pushing_) return;
    for (auto& b : lists_)
      if (b.widget == widget) b.edited = true;
  });
}

namespace {
bool owned_by(QObject* object, QObject* owner) {
  for (QObject* o = object; o; o = o->parent())
    if (o == owner) return true;
  return false;
}
}  // namespace

void ControlSync::unbind_all(QObject* owner) {
  auto gone = [owner](const auto& b) {
    if constexpr (requires { b.group; })
      return owned_by(b.group, owner);
    else
      return owned_by(b.widget, owner);
  };
  std::erase_if(spins_, gone);
  std::erase_if(checks_, gone);
  std::erase_if(groups_, gone);
  std::erase_if(lines_, gone);
  for (const auto& b : lists_)
    if (gone(b)) disconnect(b.widget->document(), nullptr, this, nullptr);
  std::erase_if(lists_, gone);
}

void ControlSync::pull() {
  for (auto& b : spins_) b.field->text = b.widget->text().toStdString();
  for (auto& b : checks_) *b.state = b.widget->isChecked();
  for (auto& b : groups_) *b.selected = b.group->checkedId();
  for (auto& b : lines_) *b.text = b.widget->text().toStdString();
  for (auto& b : lists_) {
    if (!b.edited) continue;
    b.lines->set_text(b.widget->toPlainText().toStdString());
    b.pushed_revision = b.lines->revision();
    b.edited = false;
  }
}

void ControlSync::push() {
  pushing_ = true;
  for (auto& b : spins_) {
    const QSignalBlocker blocker(b.widget);
    b.widget->setIncrement(b.field->increment);
    b.widget->setText(QString::fromStdString(b.field->text));
  }
  for (auto& b : checks_) {
    const QSignalBlocker blocker(b.widget);
    b.widget->setChecked(*b.state);
  }
  for (auto& b : groups_) {
    if (QAbstractButton* button = b.group->button(*b.selected)) {
      const QSignalBlocker blocker(b.group);
      button->setChecked(true);
    }
  }
  for (auto& b : lines_) {
    const QString text = QString::fromStdString(*b.text);
    if (b.widget->text() != text) {
      b.widget->setText(text);
      // Show the start of a number too long for its field, not its tail.
      b.widget->setCursorPosition(0);
    }
  }
  for (auto& b : lists_) {
    if (b.lines->revision() == b.pushed_revision) continue;
    const QSignalBlocker blocker(b.widget);
    // One assignment of the whole text: thousands of lines per handler.
    b.widget->setPlainText(QString::fromStdString(b.lines->text()));
    b.pushed_revision = b.lines->revision();
    b.edited = false;
  }
  pushing_ = false;
  if (veltrano::surface_revision != painted_revision_) {
    painted_revision_ = veltrano::surface_revision;
    emit surfaceChanged();
  }
}

namespace {

// Qt's own drawing code uses the wide AVX registers and may leave their upper
// halves in use. The core is built for every x86-64 processor and so runs
// plain SSE code, which on many processors then waits on those stale upper
// halves at every instruction: a calculation took eight times as long as in
// the batch tool. Clearing them before a handler avoids that.
void clear_upper_vector_state() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  static const bool has_avx = __builtin_cpu_supports("avx");
  if (has_avx) asm volatile("vzeroupper");
#endif
}

}  // namespace

bool ControlSync::run(const std::function<void()>& handler) {
  if (running_ || pushing_) return true;
  running_ = true;
  pull();
  bool ok = true;
  QString message;
  try {
    clear_upper_vector_state();
    handler();
  } catch (const std::exception& e) {
    ok = false;
    message = QString::fromStdString(e.what());
  }
  push();
  running_ = false;
  if (!ok) show_error(message);
  return ok;
}

void ControlSync::show_error(const QString& message) {
  show_box(QStringLiteral("Veltrano"),
           QString::fromStdString(veltrano::error_display_text(message.toStdString())));
}

void ControlSync::show_box(const QString& title, const QString& text) {
  if (box_sink_) {
    box_sink_(title, text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}
