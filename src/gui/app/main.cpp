// Start-up: the application, the main window, the four follower dialogs
// (hidden), then the event loop. An error while starting is shown in the
// program's error box and ends the program.
#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <exception>
#include <memory>

#include "app/numbers.h"
#include "control_sync.h"
#include "dialogs/Flatfollower.h"
#include "dialogs/Followerdata.h"
#include "dialogs/Followerdata_b.h"
#include "dialogs/Rollerfollower.h"
#include "model/controls.h"
#include "startup.h"
#include "TForm1.h"

namespace {

// Centres the window's outer frame (1299 x 795) on the screen it opens on.
void centre_on_screen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  window.move(area.left() + (area.width() - 1299) / 2, area.top() + (area.height() - 795) / 2);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Only the name: an explicit display name would be appended to every window
  // caption by the window system integration. The display name defaults to it.
  QApplication::setApplicationName(QStringLiteral("Veltrano"));
  try {
    veltrano::system_decimal_separator = decimal_separator_of(QLocale::system());
    veltrano::reset_controls();  // the default texts with that separator

    const auto main_window = std::make_unique<TForm1>();
    if (!main_window->created()) return 1;
    // Children of the main window, so they live exactly as long as it does.
    auto* finger_a = new TForm2(main_window.get());
    auto* finger_b = new TForm3(main_window.get());
    auto* flat = new TForm4(main_window.get());
    auto* roller = new TForm5(main_window.get());
    main_window->set_setup_dialogs(finger_a, finger_b, flat, roller);

    centre_on_screen(*main_window);
    main_window->show();
    return app.exec();
  } catch (const std::exception& e) {
    ControlSync::instance().show_error(QString::fromStdString(e.what()));
    return 1;
  }
}
