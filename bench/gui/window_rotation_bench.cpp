// One step of "Rotate Cam" with "Auto upd." in the window, as a user clicks
// the arrow: the spin edit's change, the wrapper (widgets into the control
// state, the calculation, write-back), and the repaint of the drawing surface,
// which QWidget::repaint() performs at once. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen build/release/bench/window_rotation_bench
#include <QButtonGroup>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "app/TForm1.h"
#include "app/control_sync.h"
#include "app/handlers.h"
#include "app/spin_edit_widget.h"
#include "app/surface_view.h"
#include "dialogs/Flatfollower.h"
#include "dialogs/Followerdata.h"
#include "dialogs/Followerdata_b.h"
#include "dialogs/Rollerfollower.h"

class WindowRotationBench : public QObject {
  Q_OBJECT

 private slots:
  void rotation_step_data() {
    QTest::addColumn<int>("follower");
    QTest::newRow("flat tappet") << 0;
    QTest::newRow("roller") << 1;
    QTest::newRow("finger A") << 2;
    QTest::newRow("knife edge") << 4;
  }

  void rotation_step() {
    QFETCH(int, follower);
    veltrano::reset_all();
    veltrano::FormCreate();
    ControlSync::instance().set_error_sink([](const QString& m) { qFatal("%s", qPrintable(m)); });
    auto window = std::make_unique<TForm1>();
    window->set_setup_dialogs(new TForm2(window.get()), new TForm3(window.get()),
                              new TForm4(window.get()), new TForm5(window.get()));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));  // so that repaint() paints
    window->load_lift_data(QStringLiteral(VELTRANO_SOURCE_DIR "/examples/cycloidal-8mm.txt"));
    window->type_select_items->button(follower)->click();
    auto* rotate = window->findChild<SpinEditWidget*>(QStringLiteral("rotate"));
    auto* surface = window->findChild<SurfaceView*>(QStringLiteral("pbox1"));
    QToolButton* up = nullptr;
    for (QToolButton* b : rotate->findChildren<QToolButton*>())
      if (b->arrowType() == Qt::UpArrow) up = b;
    QVERIFY(up && surface);
    QBENCHMARK {
      up->click();
      surface->repaint();
    }
  }
};

QTEST_MAIN(WindowRotationBench)
#include "window_rotation_bench.moc"
