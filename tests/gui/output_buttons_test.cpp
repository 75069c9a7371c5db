// The coordinate output of the main window: saving through the save dialog,
// the DXF failure box, the corrected drawing and the radius finder driven by
// its spin edit.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

#include "app/TForm1.h"
#include "app/control_sync.h"
#include "app/handlers.h"
#include "app/spin_edit_widget.h"
#include "dialogs/Flatfollower.h"
#include "dialogs/Followerdata.h"
#include "dialogs/Followerdata_b.h"
#include "dialogs/Rollerfollower.h"
#include "model/controls.h"
#include "view/surface.h"

namespace {

// A cycloidal lift of 8 mm over 240 degrees around 180.
QString cycloidal_lift() {
  QStringList lines;
  for (int i = 0; i < 3600; ++i) {
    const double u = (i * 0.1 - 60) / 240;
    double lift = 0;
    if (u > 0 && u < 1)
      lift = u <= 0.5 ? 8 * (2 * u - std::sin(4 * M_PI * u) / (2 * M_PI))
                      : 8 * (2 - 2 * u + std::sin(4 * M_PI * u) / (2 * M_PI));
    lines << QString::number(lift, 'f', 6);
  }
  return lines.join('\n');
}

QByteArray read_all(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class OutputButtonsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TForm1> window;
  QStringList boxes;  // "title: text"

  template <class T>
  T* control(const char* name) {
    T* w = window->findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }

  // Answers the save dialog that `click` opens with `name` (or cancels).
  void save_via_dialog(const char* button, const QString& name) {
    QTimer::singleShot(0, [name] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      if (name.isEmpty()) {
        dialog->reject();
      } else {
        // As a user does: the folder, then the name typed into the name field.
        dialog->setDirectory(QFileInfo(name).absolutePath());
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        edit->setText(QFileInfo(name).fileName());
        static_cast<QDialog*>(dialog)->accept();
      }
    });
    control<QPushButton>(button)->click();
  }

  void generate() {
    control<QPlainTextEdit>("inputdata")->setPlainText(cycloidal_lift());
    control<QPushButton>("genXYcoord")->click();
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('|')));
  }

 private slots:
  void initTestCase() {
    ControlSync::instance().set_box_sink(
        [this](const QString& title, const QString& text) { boxes << title + ": " + text; });
  }

  void init() {
    veltrano::reset_all();
    veltrano::FormCreate();
    boxes.clear();
    window = std::make_unique<TForm1>();
    window->set_setup_dialogs(new TForm2(window.get()), new TForm3(window.get()),
                              new TForm4(window.get()), new TForm5(window.get()));
  }

  void cleanup() { window.reset(); }

  void save_buttons_write_both_lists_and_the_dxf() {
    generate();
    QTemporaryDir dir;
    control<QCheckBox>("savedxf")->click();
    save_via_dialog("savecor", dir.filePath("cam.txt"));
    const QByteArray text = read_all(dir.filePath("cam.txt"));
    QCOMPARE(text.count("\r\n"), 360);
    QVERIFY(text.contains(','));
    QVERIFY(read_all(dir.filePath("cam.dxf")).startsWith("  0\r\nSECTION\r\n"));
    QVERIFY(!QFile::exists(dir.filePath("cam.txt.txt")));

    save_via_dialog("saveraw", dir.filePath("raw"));
    QCOMPARE(read_all(dir.filePath("raw.txt")).count("\r\n"), 3600);

    // Cancelled: nothing is written.
    save_via_dialog("saveraw", QString());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    QVERIFY(boxes.isEmpty());
  }

  void failed_saves_are_reported() {
    generate();
    QTemporaryDir dir;
    // The DXF alone cannot be written: its own box, the text file stays.
    QVERIFY(QDir(dir.path()).mkdir("cam.dxf"));
    control<QCheckBox>("savedxf")->click();
    window->save_corrected_coordinates(dir.filePath("cam"));
    QCOMPARE(boxes, QStringList{"File error: Cannot save file"});
    QCOMPARE(read_all(dir.filePath("cam.txt")).count("\r\n"), 360);

    // The text file cannot be written: the error names it; no DXF is tried.
    boxes.clear();
    window->save_corrected_coordinates(dir.filePath("missing/cam"));
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].startsWith("Veltrano: Cannot create file " + dir.filePath("missing/cam.txt")),
             qPrintable(boxes[0]));
  }

  void corrected_points_are_drawn_dark_green() {
    generate();
    control<QPushButton>("calculate_lobe")->click();  // clears the raw tables
    control<QPushButton>("drawcorrectedcoords")->click();
    int green = 0;
    for (veltrano::Colour c : veltrano::surface_pixels) green += c == veltrano::colour::dark_green;
    QVERIFY2(green > 300, qPrintable(QString::number(green)));
  }

  void radius_finder_runs_on_every_change_of_its_spin_edit() {
    generate();
    auto* spin = control<SpinEditWidget>("findcirclespin");
    auto* rotate = control<SpinEditWidget>("rotate");
    auto* radius = control<QLineEdit>("circleradius");
    spin->lineEdit()->selectAll();
    QTest::keyClicks(spin->lineEdit(), "4");
    QCOMPARE(rotate->text(), QStringLiteral("4"));
    const QString at_4 = radius->text();
    QVERIFY(!at_4.isEmpty());
    QTest::keyClicks(spin->lineEdit(), "5");
    QCOMPARE(rotate->text(), QStringLiteral("45"));
    QVERIFY(radius->text() != at_4);
    // On the base circle the radius is the base radius, up to the smoothing.
    QVERIFY2(std::fabs(radius->text().toDouble() - 14) < 0.05, qPrintable(radius->text()));

    control<QPushButton>("findcircle")->click();
    QVERIFY(boxes.isEmpty());
  }

  // The batch tool is a second front end over the same core: for the same
  // settings its files are the window's, byte for byte.
  void batch_files_equal_the_windows() {
    QTemporaryDir dir;
    const QString lift = QStringLiteral(VELTRANO_SOURCE_DIR "/examples/polynomial-7mm-long-base-circle.txt");
    window->load_lift_data(lift);
    window->type_select_items->button(1)->click();           // roller
    window->XYspacing_items->button(1)->click();             // 0.5 degree
    window->dividersign_items->button(1)->click();           // dot
    control<QCheckBox>("adddegreenumbers")->click();
    control<QCheckBox>("radiuscalc")->click();               // X/Y lines
    control<QCheckBox>("addZcoord")->click();
    control<QCheckBox>("savedxf")->click();
    window->findChild<TForm5*>()->follower_offset->setText("3.5");  // typed into the roller dialog
    control<SpinEditWidget>("smoothres")->setText("40");
    control<QPushButton>("genXYcoord")->click();
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join('|')));
    window->save_raw_coordinates(dir.filePath("win-raw"));
    window->save_corrected_coordinates(dir.filePath("win"));

    QProcess batch;
    batch.start(QStringLiteral(VELTRANO_BATCH_EXE),
                {"--follower", "roller", "--offset", "3.5", "--step", "0.5", "--divider", "dot",
                 "--degrees", "--xy", "--z", "--smoothing", "40", "--decimal-point", ".", "--raw",
                 dir.filePath("b-raw.txt"), "--corrected", dir.filePath("b.txt"), "--dxf",
                 dir.filePath("b.dxf"), lift});
    QVERIFY(batch.waitForFinished(30000));
    QCOMPARE(batch.exitCode(), 0);
    QCOMPARE(read_all(dir.filePath("b-raw.txt")), read_all(dir.filePath("win-raw.txt")));
    QCOMPARE(read_all(dir.filePath("b.txt")), read_all(dir.filePath("win.txt")));
    QCOMPARE(read_all(dir.filePath("b.dxf")), read_all(dir.filePath("win.dxf")));
    QCOMPARE(read_all(dir.filePath("b.txt")).count("\r\n"), 720);
  }
};

QTEST_MAIN(OutputButtonsTest)
#include "output_buttons_test.moc"
