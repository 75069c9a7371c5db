// The one place where the widgets and the core's control state meet. Every
// handler runs through ControlSync::run: the widgets are read into the control
// state, the core handler runs, what it changed is written back (signals
// blocked, so no handler fires twice), the drawing surface is repainted when it
// changed, and an error that leaves the handler is shown by the error display.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "model/controls.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class SpinEditWidget;

class ControlSync : public QObject {
  Q_OBJECT
 public:
  static ControlSync& instance();

  void bind(SpinEditWidget* widget, veltrano::SpinEdit* field);
  void bind(QCheckBox* widget, bool* state);
  void bind(QButtonGroup* group, int* selected);  // button ids are the items
  void bind(QLineEdit* widget, std::string* text);
  void bind(QPlainTextEdit* widget, veltrano::TextList* lines);
  // Forgets every binding of widgets that are children of `owner` (or it).
  void unbind_all(QObject* owner);

  // Widgets into the control state.
  void pull();
  // Control state into the widgets, only what differs; no signal fires.
  void push();

  // Runs a core handler as every handler of the program runs. Returns false
  // when it ended with an error (already shown). A handler started while
  // another runs (a widget signal during write-back) is ignored.
  bool run(const std::function<void()>& handler);

  // Shows an error the way the program shows every error: a modal box titled
  // "Veltrano" with a stop icon and OK, the text ending in a full stop.
  void show_error(const QString& message);
  // A modal box with a stop icon and OK, with its own title and text.
  void show_box(const QString& title, const QString& text);
  // Tests replace the modal boxes with a recorder of their texts (and titles).
  void set_error_sink(std::function<void(const QString&)> sink) {
    box_sink_ = [sink = std::move(sink)](const QString&, const QString& text) {
      if (sink) sink(text);
    };
  }
  void set_box_sink(std::function<void(const QString&, const QString&)> sink) {
    box_sink_ = std::move(sink);
  }

  bool running() const { return running_; }

 signals:
  // The surface buffer changed and wants painting.
  void surfaceChanged();

 private:
  ControlSync() = default;

  struct SpinBinding { SpinEditWidget* widget; veltrano::SpinEdit* field; };
  struct CheckBinding { QCheckBox* widget; bool* state; };
  struct GroupBinding { QButtonGroup* group; int* selected; };
  struct LineBinding { QLineEdit* widget; std::string* text; };
  struct ListBinding {
    QPlainTextEdit* widget;
    veltrano::TextList* lines;
    unsigned long pushed_revision;
    bool edited;  // the user changed the widget since the last push
  };

  std::vector<SpinBinding> spins_;
  std::vector<CheckBinding> checks_;
  std::vector<GroupBinding> groups_;
  std::vector<LineBinding> lines_;
  std::vector<ListBinding> lists_;
  std::function<void(const QString&, const QString&)> box_sink_;
  unsigned long painted_revision_ = ~0ul;
  bool running_ = false;
  bool pushing_ = false;
};
