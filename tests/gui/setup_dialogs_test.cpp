// The four follower setup dialogs on the offscreen platform: what they show,
// what OK and the close box store, the fields' notation and steps, and the
// layout of fields, labels and pictures.
//
// Set VELTRANO_DIALOG_SHOTS to a directory to have every dialog saved there as
// a PNG while the tests run.

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <map>
#include <memory>

#include "app/control_sync.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "app/spin_edit_widget.h"
#include "dialogs/Flatfollower.h"
#include "dialogs/Followerdata.h"
#include "dialogs/Followerdata_b.h"
#include "dialogs/Rollerfollower.h"
#include "model/controls.h"
#include "model/follower_params.h"

namespace {

// All four dialogs, built after the state they bind to was reset.
struct Dialogs {
  TForm2 finger_a;
  TForm3 finger_b;
  TForm4 flat;
  TForm5 roller;

  SetupDialog* operator[](const QString& name) {
    const std::map<QString, SetupDialog*> by_name = {
        {"finger_a", &finger_a}, {"finger_b", &finger_b}, {"flat", &flat}, {"roller", &roller}};
    auto it = by_name.find(name);
    if (it == by_name.end()) qFatal("no dialog %s", qPrintable(name));
    return it->second;
  }
};

SpinEditWidget* field_of(SetupDialog* dialog, const QString& name) {
  auto* w = dialog->findChild<SpinEditWidget*>(name);
  if (!w) qFatal("no field %s", qPrintable(name));
  return w;
}

// `text` with its '.' as the system's decimal separator.
QString local(QString text) { return text.replace('.', QChar(veltrano::system_decimal_separator)); }

// Replaces the field's text by typing, as a user would.
void type(SpinEditWidget* w, const QString& text) {
  w->lineEdit()->selectAll();
  QTest::keyClick(w->lineEdit(), Qt::Key_Backspace);
  QTest::keyClicks(w->lineEdit(), text);
}

void confirm(SetupDialog* dialog) { QTest::mouseClick(dialog->ok_button(), Qt::LeftButton); }

}  // namespace

class SetupDialogsTest : public QObject {
  Q_OBJECT

 private:
  QStringList errors_;
  std::unique_ptr<Dialogs> dialogs_;

  // Start state with the given system separator, and fresh dialogs.
  Dialogs& start(char separator = '.') {
    dialogs_.reset();
    veltrano::reset_all();
    veltrano::system_decimal_separator = separator;
    veltrano::reset_controls();
    dialogs_ = std::make_unique<Dialogs>();
    return *dialogs_;
  }

 private slots:
  void initTestCase() {
    ControlSync::instance().set_error_sink([this](const QString& e) { errors_ << e; });
  }
  void init() {
    errors_.clear();
    start();
  }
  void cleanup() {
    dialogs_.reset();
    QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
  }

  void showsDefaults_data() {
    QTest::addColumn<char>("separator");
    QTest::newRow("point") << '.';
    QTest::newRow("comma") << ',';
  }
  void showsDefaults() {
    QFETCH(char, separator);
    Dialogs& d = start(separator);
    const std::map<QString, std::vector<std::pair<QString, QString>>> expected = {
        {"finger_a",
         {{"F2_basecircle", "28.0"},
          {"F2_rollerdiameter", "44.0"},
          {"F2_camcenter_hinge", "32.0"},
          {"F2_rollercenter_hinge", "20.0"},
          {"F2_valvepoint_hinge", "22.0"}}},
        {"finger_b",
         {{"F3_basecircle", "28.0"},
          {"F3_rollerdiameter", "44.0"},
          {"F3_camcenter_hinge", "32.0"},
          {"F3_rollercenter_hinge", "20.0"},
          {"F3_valvepoint_hinge", "22.0"}}},
        {"flat",
         {{"F4_basecircle", "28.00"}, {"F4_flatfollower", "30.00"}, {"F4_rockerratio", "1.00"}}},
        {"roller",
         {{"F5_basecircle", "28.00"},
          {"F5_rollerdiameter", "20.00"},
          {"F5_rockerratio", "1.00"},
          {"follower_offset", "0.00"}}},
    };
    for (const auto& [name, fields] : expected) {
      SetupDialog* dialog = d[name];
      dialog->show();
      for (const auto& [field_name, text] : fields)
        QCOMPARE(field_of(dialog, field_name)->text(), local(text));
      dialog->close();
    }
  }

  // A value confirmed in one dialog is what its sibling shows next; the
  // other pair of dialogs keeps its own value.
  void confirmedValueShowsInSibling_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("source_field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sibling");
    QTest::addColumn<QString>("sibling_field");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("other_field");
    QTest::addColumn<QString>("other_shown");
    QTest::newRow("flat base circle") << "flat"
                                      << "F4_basecircle"
                                      << "32"
                                      << "roller"
                                      << "F5_basecircle"
                                      << "32.00"
                                      << "finger_a"
                                      << "F2_basecircle"
                                      << "28.0";
    QTest::newRow("roller rocker ratio") << "roller"
                                         << "F5_rockerratio"
                                         << "1.5"
                                         << "flat"
                                         << "F4_rockerratio"
                                         << "1.50"
                                         << "flat"
                                         << "F4_flatfollower"
                                         << "30.00";
    QTest::newRow("finger B hinge distance") << "finger_b"
                                             << "F3_camcenter_hinge"
                                             << "35.5"
                                             << "finger_a"
                                             << "F2_camcenter_hinge"
                                             << "35.5"
                                             << "finger_b"
                                             << "F3_basecircle"
                                             << "28.0";
    QTest::newRow("finger A base circle") << "finger_a"
                                          << "F2_basecircle"
                                          << "26"
                                          << "finger_b"
                                          << "F3_basecircle"
                                          << "26.0"
                                          << "flat"
                                          << "F4_basecircle"
                                          << "28.00";
  }
  void confirmedValueShowsInSibling() {
    QFETCH(QString, source);
    QFETCH(QString, source_field);
    QFETCH(QString, typed);
    QFETCH(QString, sibling);
    QFETCH(QString, sibling_field);
    QFETCH(QString, shown);
    QFETCH(QString, other);
    QFETCH(QString, other_field);
    QFETCH(QString, other_shown);
    Dialogs& d = *dialogs_;
    d[source]->show();
    type(field_of(d[source], source_field), typed);
    confirm(d[source]);
    QVERIFY(!d[source]->isVisible());
    QCOMPARE(d[source]->result(), int(QDialog::Accepted));

    d[sibling]->show();
    QCOMPARE(field_of(d[sibling], sibling_field)->text(), shown);
    d[sibling]->close();
    d[other]->show();
    QCOMPARE(field_of(d[other], other_field)->text(), other_shown);
  }

  void closeBoxStoresNothing_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("finger A") << "finger_a"
                              << "F2_camcenter_hinge"
                              << "32.0";
    QTest::newRow("finger B") << "finger_b"
                              << "F3_valvepoint_hinge"
                              << "22.0";
    QTest::newRow("flat") << "flat"
                          << "F4_flatfollower"
                          << "30.00";
    QTest::newRow("roller") << "roller"
                            << "F5_rollerdiameter"
                            << "20.00";
  }
  void closeBoxStoresNothing() {
    QFETCH(QString, dialog);
    QFETCH(QString, field);
    QFETCH(QString, shown);
    Dialogs& d = *dialogs_;
    d[dialog]->show();
    type(field_of(d[dialog], field), "2.5");
    d[dialog]->close();
    QCOMPARE(d[dialog]->result(), int(QDialog::Rejected));
    QCOMPARE(veltrano::ff_camcenter_hinge, 32.0);
    QCOMPARE(veltrano::ff_valvepoint_hinge, 22.0);
    QCOMPARE(veltrano::flatfollower, 30.0);
    QCOMPARE(veltrano::rollerdiameter, 20.0);
    d[dialog]->show();
    QCOMPARE(field_of(d[dialog], field)->text(), shown);
  }

  // A typed value is stored as typed; shown again it is rounded to the
  // field's decimals (half-way up), and an unchanged OK stores that.
  void typedDecimalsAreStoredAsTyped_data() {
    QTest::addColumn<char>("separator");
    QTest::newRow("point") << '.';
    QTest::newRow("comma") << ',';
  }
  void typedDecimalsAreStoredAsTyped() {
    QFETCH(char, separator);
    Dialogs& d = start(separator);
    d.finger_a.show();
    type(d.finger_a.F2_basecircle, local("28.25"));
    confirm(&d.finger_a);
    QCOMPARE(veltrano::ff_basecircle, 28.25);

    d.finger_a.show();
    QCOMPARE(d.finger_a.F2_basecircle->text(), local("28.3"));
    confirm(&d.finger_a);
    QCOMPARE(veltrano::ff_basecircle, 28.3);
    d.finger_b.show();
    QCOMPARE(d.finger_b.F3_basecircle->text(), local("28.3"));
  }

  // Nothing is checked: a rocker ratio that is no number is stored as 0.
  void unreadableRockerRatioStoresZero_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("roller, emptied") << "roller"
                                     << "F5_rockerratio"
                                     << "";
    QTest::newRow("flat, emptied") << "flat"
                                   << "F4_rockerratio"
                                   << "";
    QTest::newRow("roller, letters") << "roller"
                                     << "F5_rockerratio"
                                     << "x1";
  }
  void unreadableRockerRatioStoresZero() {
    QFETCH(QString, dialog);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    Dialogs& d = *dialogs_;
    d[dialog]->show();
    type(field_of(d[dialog], field), typed);
    QCOMPARE(field_of(d[dialog], field)->text(), typed);
    confirm(d[dialog]);
    QCOMPARE(veltrano::rockerratio, 0.0);
    QVERIFY(!d[dialog]->isVisible());
  }

  // The offset is read from its field by every calculation: typed and the
  // dialog closed without OK, it counts all the same, and showing the dialog
  // again keeps it.
  void followerOffsetCountsWithoutOk() {
    Dialogs& d = *dialogs_;
    d.roller.show();
    type(d.roller.follower_offset, "1.5");
    d.roller.close();
    QVERIFY(ControlSync::instance().run([] {}));
    QCOMPARE(veltrano::form5.follower_offset.value(), 1.5);

    d.roller.show();
    QCOMPARE(d.roller.follower_offset->text(), QString("1.5"));
    confirm(&d.roller);
    QCOMPARE(veltrano::form5.follower_offset.value(), 1.5);
  }

  // One arrow step up and one down from the default, in the field's notation.
  void decimalsAndSteps_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("up");
    QTest::addColumn<QString>("down");
    QTest::newRow("F2_basecircle") << "finger_a"
                                   << "F2_basecircle"
                                   << "28.5"
                                   << "27.5";
    QTest::newRow("F2_rollerdiameter") << "finger_a"
                                       << "F2_rollerdiameter"
                                       << "44.5"
                                       << "43.5";
    QTest::newRow("F2_camcenter_hinge") << "finger_a"
                                        << "F2_camcenter_hinge"
                                        << "32.5"
                                        << "31.5";
    QTest::newRow("F2_rollercenter_hinge") << "finger_a"
                                           << "F2_rollercenter_hinge"
                                           << "20.5"
                                           << "19.5";
    QTest::newRow("F2_valvepoint_hinge") << "finger_a"
                                         << "F2_valvepoint_hinge"
                                         << "22.5"
                                         << "21.5";
    QTest::newRow("F3_basecircle") << "finger_b"
                                   << "F3_basecircle"
                                   << "28.5"
                                   << "27.5";
    QTest::newRow("F3_rollerdiameter") << "finger_b"
                                       << "F3_rollerdiameter"
                                       << "44.5"
                                       << "43.5";
    QTest::newRow("F3_camcenter_hinge") << "finger_b"
                                        << "F3_camcenter_hinge"
                                        << "32.5"
                                        << "31.5";
    QTest::newRow("F3_rollercenter_hinge") << "finger_b"
                                           << "F3_rollercenter_hinge"
                                           << "20.5"
                                           << "19.5";
    QTest::newRow("F3_valvepoint_hinge") << "finger_b"
                                         << "F3_valvepoint_hinge"
                                         << "22.5"
                                         << "21.5";
    QTest::newRow("F4_rockerratio") << "flat"
                                    << "F4_rockerratio"
                                    << "1.05"
                                    << "0.95";
    QTest::newRow("F4_flatfollower") << "flat"
                                     << "F4_flatfollower"
                                     << "30.50"
                                     << "29.50";
    QTest::newRow("F4_basecircle") << "flat"
                                   << "F4_basecircle"
                                   << "28.50"
                                   << "27.50";
    QTest::newRow("F5_rockerratio") << "roller"
                                    << "F5_rockerratio"
                                    << "1.05"
                                    << "0.95";
    QTest::newRow("follower_offset") << "roller"
                                     << "follower_offset"
                                     << "1.00"
                                     << "-1.00";
    QTest::newRow("F5_rollerdiameter") << "roller"
                                       << "F5_rollerdiameter"
                                       << "20.50"
                                       << "19.50";
    QTest::newRow("F5_basecircle") << "roller"
                                   << "F5_basecircle"
                                   << "29.00"
                                   << "27.00";
  }
  void decimalsAndSteps() {
    QFETCH(QString, dialog);
    QFETCH(QString, field);
    QFETCH(QString, up);
    QFETCH(QString, down);
    Dialogs& d = *dialogs_;
    d[dialog]->show();
    SpinEditWidget* w = field_of(d[dialog], field);
    QTest::keyClick(w->lineEdit(), Qt::Key_Up);
    QCOMPARE(w->text(), up);
    QTest::keyClick(w->lineEdit(), Qt::Key_Down);
    QTest::keyClick(w->lineEdit(), Qt::Key_Down);
    QCOMPARE(w->text(), down);
  }

  // Every control lies inside its dialog, no two overlap, and every label's
  // text fits before whatever stands to its right.
  void layoutFits() {
    for (const QString name : {"finger_a", "finger_b", "flat", "roller"}) {
      SetupDialog* dialog = (*dialogs_)[name];
      dialog->show();
      QList<QWidget*> controls;
      for (auto* w : dialog->findChildren<SpinEditWidget*>(Qt::FindDirectChildrenOnly))
        controls << w;
      for (auto* w : dialog->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) controls << w;
      controls << dialog->ok_button();
      for (QWidget* w : controls) {
        const QString what =
            name + ": " +
            (w->objectName().isEmpty() ? qobject_cast<QLabel*>(w)->text() : w->objectName());
        QVERIFY2(dialog->rect().contains(w->geometry()), qPrintable(what));
        int room = dialog->width() - w->x();
        for (QWidget* other : controls) {
          if (other == w) continue;
          const bool same_row =
              other->y() < w->y() + w->height() && w->y() < other->y() + other->height();
          if (same_row && other->x() >= w->x()) room = std::min(room, other->x() - w->x());
          if (!qobject_cast<QLabel*>(w) && !qobject_cast<QLabel*>(other))
            QVERIFY2(!w->geometry().intersects(other->geometry()), qPrintable(what));
        }
        if (auto* label = qobject_cast<QLabel*>(w))
          QVERIFY2(label->sizeHint().width() <= room, qPrintable(QString("%1 needs %2 px, has %3")
                                                                     .arg(what)
                                                                     .arg(label->sizeHint().width())
                                                                     .arg(room)));
      }
    }
  }

  // Each picture is drawn, in black, green and grey.
  void picturesAreDrawn() {
    const QString shots = qEnvironmentVariable("VELTRANO_DIALOG_SHOTS");
    const std::map<QString, QString> files = {{"finger_a", "dialog-finger-a.png"},
                                              {"finger_b", "dialog-finger-b.png"},
                                              {"flat", "dialog-flat.png"},
                                              {"roller", "dialog-roller.png"}};
    for (const auto& [name, file] : files) {
      SetupDialog* dialog = (*dialogs_)[name];
      dialog->show();
      auto* picture = dialog->findChild<SchematicPicture*>();
      QVERIFY(picture);
      const QImage image = picture->grab().toImage();
      int black = 0, green = 0, grey = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const QColor c = image.pixelColor(x, y);
          if (c.red() < 40 && c.green() < 40 && c.blue() < 40) ++black;
          if (c.green() > c.red() + 60 && c.green() > c.blue() + 60) ++green;
          if (c.red() > 110 && c.red() < 200 && c.red() == c.green() && c.red() == c.blue()) ++grey;
        }
      }
      QVERIFY2(
          black > 500 && green > 200 && grey > 200,
          qPrintable(
              QString("%1: black %2 green %3 grey %4").arg(name).arg(black).arg(green).arg(grey)));
      if (!shots.isEmpty()) QVERIFY(dialog->grab().save(QDir(shots).filePath(file)));
      dialog->close();
    }
  }
};

QTEST_MAIN(SetupDialogsTest)
#include "setup_dialogs_test.moc"
