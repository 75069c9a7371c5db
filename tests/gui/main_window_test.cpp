// The main window: every control with its caption, default, range and place;
// the small handlers driven through the widgets; loading lift files; the
// drawing surface. Errors go to a recorder instead of the modal box.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <random>

#include "app/control_sync.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "app/spin_edit_widget.h"
#include "app/startup.h"
#include "app/surface_view.h"
#include "app/TForm1.h"
#include "dialogs/Flatfollower.h"
#include "dialogs/Followerdata.h"
#include "dialogs/Followerdata_b.h"
#include "dialogs/Rollerfollower.h"
#include "model/tables.h"
#include "view/surface.h"

namespace {

// A parabolic lift curve of 401 samples, 10 mm at sample 200 and 7.5 mm at
// samples 100 and 300: lift(i) = 10 (1 - ((i - 200) / 200)^2).
QString parabola_lift() {
  QStringList lines;
  for (int i = 0; i <= 400; ++i) {
    const double u = (i - 200) / 200.0;
    lines << QString::number(10 * (1 - u * u), 'g', 17);
  }
  return lines.join('\n');
}

QToolButton* arrow(SpinEditWidget* spin, Qt::ArrowType type) {
  for (QToolButton* b : spin->findChildren<QToolButton*>())
    if (b->arrowType() == type) return b;
  return nullptr;
}

QStringList memo_lines(const QPlainTextEdit* memo) {
  const QString text = memo->toPlainText();
  return text.isEmpty() ? QStringList() : text.split('\n');
}

bool write_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TForm1> window;
  QStringList errors;

  template <class T>
  T* control(const char* name) {
    T* w = window->findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }

  // Runs `answer` on the modal dialog that `click` opens.
  void with_modal(const std::function<void()>& click, const std::function<void(QWidget*)>& answer) {
    QTimer::singleShot(0, [answer] {
      QWidget* modal = QApplication::activeModalWidget();
      QVERIFY(modal);
      answer(modal);
    });
    click();
  }

 private slots:
  void initTestCase() {
    ControlSync::instance().set_error_sink([this](const QString& m) { errors << m; });
  }

  void init() {
    veltrano::reset_all();
    errors.clear();
    window = std::make_unique<TForm1>();
    window->set_setup_dialogs(new TForm2(window.get()), new TForm3(window.get()),
                              new TForm4(window.get()), new TForm5(window.get()));
  }

  void cleanup() { window.reset(); }

  void window_frame() {
    QVERIFY(window->created());
    QCOMPARE(window->windowTitle(), QStringLiteral("Veltrano            version 2.0.1"));
    QCOMPARE(window->size(), QSize(1299 - 16, 795 - 39));
    QCOMPARE(control<QWidget>("Panel1")->geometry(), QRect(216, 3, 760, 750));
    QCOMPARE(control<QWidget>("pbox1")->geometry(), QRect(6, 3, 750, 750));
    QCOMPARE(control<QWidget>("Panel3")->geometry(), QRect(990, 36, 274, 7));
    QCOMPARE(control<QWidget>("Panel2")->geometry(), QRect(990, 165, 274, 7));
    QCOMPARE(control<QWidget>("Panel4")->geometry(), QRect(993, 650, 270, 2));
    QCOMPARE(control<QWidget>("Panel3")->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(control<QWidget>("Panel1")->palette().color(QPalette::Window), QColor(Qt::black));
    // FormCreate ran: formatted output starts with the decimal comma.
    QCOMPARE(veltrano::output_decimal_separator, ',');
  }

  void buttons() {
    struct Row { const char* name; const char* caption; QRect place; bool bold; };
    const Row rows[] = {
        {"convert_inch_button", "Convert Inch to mm.", {8, 129, 200, 25}, false},
        {"loaddatabutton", "Load data", {8, 162, 80, 25}, false},
        {"cleardata", "Clear data", {128, 162, 80, 25}, false},
        {"calculate_lobe", "Calculate Cam lobe", {8, 195, 200, 34}, true},
        {"flat_follower_setup", "Setup Flat Follower", {8, 303, 200, 34}, false},
        {"roller_follower_setup", "Setup Roller Follower", {8, 342, 200, 34}, false},
        {"finger_follower_A_setup", "Setup Finger Follower type A spec.", {8, 384, 200, 34}, false},
        {"finger_follower_B_setup", "Setup Finger Follower type B spec.", {8, 426, 200, 34}, false},
        {"genXYcoord", "Generate XY coordinates", {990, 284, 274, 29}, true},
        {"XYclear", "Clear XY Coordinates", {993, 618, 130, 25}, false},
        {"drawcorrectedcoords", "Draw Corrected coord.", {1134, 618, 130, 25}, false},
        {"findcircle", "Find Cam Radius at:", {993, 660, 130, 25}, false},
        {"saveraw", "Save raw coordinates", {993, 726, 130, 25}, false},
        {"savecor", "Save cor. coordinates", {1134, 726, 130, 25}, false},
    };
    for (const Row& r : rows) {
      auto* b = control<QPushButton>(r.name);
      QCOMPARE(b->text(), QString::fromLatin1(r.caption));
      QCOMPARE(b->geometry(), r.place);
      QVERIFY2(b->isEnabled() && b->isVisibleTo(window.get()), r.name);
      QCOMPARE(b->font().bold(), r.bold);
      if (r.bold) QCOMPARE(b->font().pixelSize(), 13);  // 10 points at 96 dpi
    }
  }

  void check_boxes() {
    struct Row { const char* name; const char* caption; bool checked; QRect place; };
    const Row rows[] = {
        {"deg10step", "10 D. step", true, {141, 244, 72, 17}},
        {"autoupdate", "Auto upd.", true, {141, 260, 70, 17}},
        {"repaintchk", "Repaint ", true, {140, 276, 65, 17}},
        {"clockwiserotation", "Clock wise rotating Cam", false, {9, 474, 178, 17}},
        // Wider than the classic 109 pixels, so the caption is not cut.
        {"drawencirclement", "Draw encirclement ", false, {88, 615, 118, 17}},
        {"addZcoord", "Add 0.0 Z coordinate ", false, {990, 318, 133, 17}},
        {"radiuscalc", "Gen. corr. radius values", true, {1125, 318, 142, 17}},
        {"adddegreenumbers", "Add Degree numbers", false, {1125, 342, 142, 17}},
        {"subtractbasecircle", "Subtract base Circle radius  from radius Values ", true,
         {992, 496, 253, 17}},
        {"savedxf", "Also save in .DXF ", false, {1134, 708, 124, 17}},
    };
    for (const Row& r : rows) {
      auto* c = control<QCheckBox>(r.name);
      QCOMPARE(c->text(), QString::fromLatin1(r.caption));
      QCOMPARE(c->isChecked(), r.checked);
      QCOMPARE(c->geometry(), r.place);
    }
  }

  void spin_edits() {
    struct Row {
      const char* name; const char* text; bool is_float; int decimals; double step, min, max;
      QRect place;
    };
    const Row rows[] = {
        {"rotate", "180", false, 0, 10, 0, 0, {9, 240, 65, 21}},
        {"zoomfactor", "10", false, 0, 1, 1, 100000, {9, 273, 65, 21}},
        {"X_move", "375", false, 0, 100, 0, 0, {27, 729, 60, 21}},
        {"Y_move", "400", false, 0, 100, 0, 0, {147, 729, 60, 21}},
        {"smoothres", "25", true, 0, 1, 0, 0, {1196, 256, 53, 21}},
        {"findcirclespin", "180", false, 0, 1, 1, 359, {1132, 662, 53, 21}},
    };
    for (const Row& r : rows) {
      auto* s = control<SpinEditWidget>(r.name);
      const veltrano::SpinEdit f = s->field();
      QCOMPARE(s->text(), QString::fromLatin1(r.text));
      QCOMPARE(f.is_float, r.is_float);
      QCOMPARE(f.decimals, r.decimals);
      QCOMPARE(f.increment, r.step);
      QCOMPARE(f.min_value, r.min);
      QCOMPARE(f.max_value, r.max);
      QCOMPARE(s->geometry(), r.place);
    }
    // Bounds hold at the arrows: 100000 is the highest zoom, 1 the lowest.
    auto* zoom = control<SpinEditWidget>("zoomfactor");
    zoom->setText("99999");
    arrow(zoom, Qt::UpArrow)->click();
    arrow(zoom, Qt::UpArrow)->click();
    QCOMPARE(zoom->text(), QStringLiteral("100000"));
    zoom->setText("1");
    arrow(zoom, Qt::DownArrow)->click();
    QCOMPARE(zoom->text(), QStringLiteral("1"));
  }

  void text_fields() {
    struct Row { const char* name; QRect place; bool list; };
    const Row rows[] = {
        {"inputdata", {24, 24, 166, 97}, true},
        {"liftedit", {990, 51, 65, 21}, false},
        {"flatdistedit", {990, 84, 65, 21}, false},
        {"flatdistdiamedit", {990, 108, 65, 21}, false},
        {"attackangleedit", {990, 141, 65, 21}, false},
        {"XYcoordinates", {990, 363, 280, 102}, true},
        {"calclines", {1134, 471, 52, 21}, false},
        {"XYequalcoordinates", {990, 520, 278, 93}, true},
        {"circleradius", {1188, 662, 77, 21}, false},
    };
    for (const Row& r : rows) {
      if (r.list) {
        auto* l = control<QPlainTextEdit>(r.name);
        QVERIFY(l->toPlainText().isEmpty());
        QCOMPARE(l->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(l->geometry(), r.place);
      } else {
        auto* e = control<QLineEdit>(r.name);
        QVERIFY(e->text().isEmpty());
        QCOMPARE(e->geometry(), r.place);
      }
    }
  }

  void radio_groups() {
    struct Row {
      const char* name; const char* caption; QStringList items; int selected; QRect place;
    };
    const Row rows[] = {
        {"type_select", "Follower type ",
         {"Flat Tappet", "Roller Follower", "Finger Follower type A", "Finger Follower type B",
          "Knife edge Follower"},
         0, {9, 504, 199, 193}},
        {"XYspacing", "X - Y coords / Radius degree steps ",
         {"1 Degree", "0.5 Degree", "0.1 Degree", "Raw unequal Degree spacing"}, 0,
         {990, 177, 187, 104}},
        {"dividersign", "Divider", {"Comma", "Dot"}, 0, {1184, 177, 81, 57}},
    };
    for (const Row& r : rows) {
      auto* box = control<QGroupBox>(r.name);
      QCOMPARE(box->title(), QString::fromLatin1(r.caption));
      QCOMPARE(box->geometry(), r.place);
      auto* group = box->findChild<QButtonGroup*>();
      QVERIFY(group);
      QCOMPARE(group->buttons().size(), r.items.size());
      for (int i = 0; i < r.items.size(); ++i) {
        QCOMPARE(group->button(i)->text(), r.items[i]);
        QVERIFY(box->contentsRect().contains(group->button(i)->geometry()));
      }
      QCOMPARE(group->checkedId(), r.selected);
    }
  }

  void labels() {
    struct Row { const char* text; QPoint at; };
    const Row rows[] = {
        {"Paste/Load 0.1 degree Lift data ", {27, 6}},
        {"Rotate Cam ", {78, 243}},
        {"Zoom factor  ", {78, 276}},
        {"Move Screen X / Y offset ", {48, 709}},
        {"X", {12, 732}},
        {"Y", {132, 732}},
        {"Lift ", {1062, 54}},
        {"Flat Tappet contact radius ", {1062, 87}},
        {"Flat Tappet contact diameter", {1062, 111}},
        {"Roller Follower pressure angle ", {1062, 144}},
        {"Smoothing  ", {1196, 240}},
        {"Raw coordinates :", {990, 345}},
        {"Corrected coordinates : ", {990, 473}},
        {"Lines calculated", {1187, 474}},
    };
    const QList<QLabel*> all = window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(all.size(), static_cast<qsizetype>(std::size(rows)));
    for (const Row& r : rows) {
      const auto it = std::find_if(all.begin(), all.end(), [&](QLabel* l) {
        return l->text() == QLatin1String(r.text);
      });
      QVERIFY2(it != all.end(), r.text);
      QCOMPARE((*it)->pos(), r.at);
    }
  }

  // Every caption is whole: no text runs past the edge of its control, and
  // no two controls cover each other (but for the check box that lies on the
  // follower group on purpose, and the one-pixel seams of the stacked check
  // boxes beside "Rotate Cam").
  void captions_fit_and_nothing_overlaps() {
    for (auto* b : window->findChildren<QAbstractButton*>()) {
      const QString text = b->text().trimmed();
      const int advance = b->fontMetrics().horizontalAdvance(text);
      if (qobject_cast<QPushButton*>(b)) {
        QVERIFY2(advance + 8 <= b->width(), qPrintable(text));
        continue;
      }
      if (qobject_cast<QToolButton*>(b)) continue;
      QStyleOptionButton opt;
      opt.initFrom(b);
      opt.text = b->text();
      const bool radio = qobject_cast<QRadioButton*>(b);
      const QRect contents = b->style()->subElementRect(
          radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &opt, b);
      QVERIFY2(contents.left() + advance <= b->width(), qPrintable(text));
    }
    for (auto* box : window->findChildren<QGroupBox*>()) {
      QStyleOptionGroupBox opt;
      opt.initFrom(box);
      opt.text = box->title();
      opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
      opt.textAlignment = box->alignment();
      const QRect label =
          box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
      QVERIFY2(label.left() + box->fontMetrics().horizontalAdvance(box->title().trimmed()) <=
                   box->width(),
               qPrintable(box->title()));
    }
    QList<QWidget*> controls;
    for (auto* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (!w->isWindow()) controls << w;
    for (int i = 0; i < controls.size(); ++i) {
      for (int k = i + 1; k < controls.size(); ++k) {
        const QString a = controls[i]->objectName(), b = controls[k]->objectName();
        if ((a == "drawencirclement" && b == "type_select") ||
            (a == "type_select" && b == "drawencirclement"))
          continue;
        const auto name = [](QWidget* w) {
          if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
          return w->objectName();
        };
        const QRect common = controls[i]->geometry() & controls[k]->geometry();
        QVERIFY2(common.isEmpty() || common.height() == 1 || common.width() == 1,
                 qPrintable(name(controls[i]) + " / " + name(controls[k])));
      }
    }
  }

  void rotate_step_follows_10_degree_box() {
    auto* rotate = control<SpinEditWidget>("rotate");
    control<QCheckBox>("deg10step")->click();
    arrow(rotate, Qt::UpArrow)->click();
    QCOMPARE(rotate->text(), QStringLiteral("181"));
    control<QCheckBox>("deg10step")->click();
    arrow(rotate, Qt::UpArrow)->click();
    QCOMPARE(rotate->text(), QStringLiteral("191"));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('|')));
  }

  // The follower stands on lift_table[10 x (180 + turn)] with the turn the
  // negative of (rotate - 180): 10 mm at the peak, 7.5 mm 10 degrees away.
  void auto_update_recalculates_on_every_turn() {
    control<QPlainTextEdit>("inputdata")->setPlainText(parabola_lift());
    auto* rotate = control<SpinEditWidget>("rotate");
    auto* lift = control<QLineEdit>("liftedit");
    control<QPushButton>("calculate_lobe")->click();
    QCOMPARE(lift->text(), QStringLiteral("10,0000"));

    unsigned long before = veltrano::surface_revision;
    arrow(rotate, Qt::UpArrow)->click();  // 190
    QVERIFY(veltrano::surface_revision != before);
    QCOMPARE(lift->text(), QStringLiteral("7,5000"));
    rotate->setText("180");  // typed text counts as well
    QCOMPARE(lift->text(), QStringLiteral("10,0000"));

    control<QCheckBox>("autoupdate")->click();
    before = veltrano::surface_revision;
    arrow(rotate, Qt::DownArrow)->click();  // 170
    QCOMPARE(veltrano::surface_revision, before);
    QCOMPARE(lift->text(), QStringLiteral("10,0000"));
    control<QPushButton>("calculate_lobe")->click();
    QCOMPARE(lift->text(), QStringLiteral("7,5000"));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('|')));
  }

  void follower_kind_sets_x_offset_only() {
    auto* group = window->type_select_items;
    auto* x_move = control<SpinEditWidget>("X_move");
    control<QPlainTextEdit>("inputdata")->setPlainText("0\n5\n0");
    const unsigned long revision = veltrano::surface_revision;
    struct Row { int item; const char* typed; const char* x; };
    const Row rows[] = {
        {2, nullptr, "200"}, {4, nullptr, "375"}, {3, nullptr, "200"}, {1, nullptr, "375"},
        {1, "123", "375"},  // a typed value is overwritten by the next click
        {3, "-50", "200"},
    };
    for (const Row& r : rows) {
      if (r.typed) x_move->setText(r.typed);
      group->button(r.item)->click();
      QCOMPARE(group->checkedId(), r.item);
      QCOMPARE(x_move->text(), QString::fromLatin1(r.x));
    }
    QCOMPARE(veltrano::surface_revision, revision);
    QVERIFY(control<QLineEdit>("liftedit")->text().isEmpty());
    QVERIFY(errors.isEmpty());
  }

  void inch_conversion() {
    struct Row { const char* lines; const char* expected; const char* error; };
    const Row rows[] = {
        {"0\n0.1\n1", "0\n2.54\n25.4", nullptr},
        {"", "", nullptr},
        {"1\nabc\n2", "1\nabc\n2", "'abc' is not a valid floating point value."},
    };
    auto* memo = control<QPlainTextEdit>("inputdata");
    for (const Row& r : rows) {
      errors.clear();
      memo->setPlainText(r.lines);
      control<QPushButton>("convert_inch_button")->click();
      QCOMPARE(memo->toPlainText(), QString::fromLatin1(r.expected));
      QCOMPARE(errors, r.error ? QStringList{r.error} : QStringList{});
    }
  }

  void divider_choice_in_result_fields() {
    control<QPlainTextEdit>("inputdata")->setPlainText("0\n6\n12.3456\n6\n0");
    auto* lift = control<QLineEdit>("liftedit");
    control<QPushButton>("calculate_lobe")->click();
    QCOMPARE(lift->text(), QStringLiteral("12,3456"));
    window->dividersign_items->button(1)->click();
    QCOMPARE(lift->text(), QStringLiteral("12,3456"));  // shown texts stay as they are
    control<QPushButton>("calculate_lobe")->click();
    QCOMPARE(lift->text(), QStringLiteral("12.3456"));
    window->dividersign_items->button(0)->click();
    control<QPushButton>("calculate_lobe")->click();
    QCOMPARE(lift->text(), QStringLiteral("12,3456"));
    QVERIFY(errors.isEmpty());
  }

  void generate_pass_clears_lists_first_and_resets_flags() {
    auto* raw = control<QPlainTextEdit>("XYcoordinates");
    auto* corrected = control<QPlainTextEdit>("XYequalcoordinates");
    auto* lines = control<QLineEdit>("calclines");
    control<QCheckBox>("addZcoord")->click();
    control<QCheckBox>("adddegreenumbers")->click();

    // A pass that stops at a bad line.
    raw->setPlainText("old raw");
    corrected->setPlainText("old corrected");
    lines->setText("99");
    control<QPlainTextEdit>("inputdata")->setPlainText("1\nbad\n2");
    control<QPushButton>("genXYcoord")->click();
    QCOMPARE(errors, QStringList{"'bad' is not a valid floating point value."});
    QVERIFY(raw->toPlainText().isEmpty());
    QVERIFY(corrected->toPlainText().isEmpty());
    QVERIFY(lines->text().isEmpty());
    QCOMPARE(veltrano::generate_mode + veltrano::add_degree_numbers + veltrano::add_z +
                 veltrano::radius_values,
             0);

    // A whole pass with raw spacing: one raw line per 0.1 degree, counted in
    // "Lines calculated", and no corrected list.
    errors.clear();
    window->XYspacing_items->button(3)->click();
    control<QPlainTextEdit>("inputdata")->setPlainText(parabola_lift());
    control<QPushButton>("genXYcoord")->click();
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('|')));
    QCOMPARE(memo_lines(raw).size(), 3600);
    QVERIFY(corrected->toPlainText().isEmpty());
    QCOMPARE(lines->text(), QStringLiteral("3600"));
    QCOMPARE(veltrano::generate_mode + veltrano::add_degree_numbers + veltrano::add_z +
                 veltrano::radius_values,
             0);

    control<QPushButton>("XYclear")->click();
    QVERIFY(raw->toPlainText().isEmpty() && corrected->toPlainText().isEmpty());
    QVERIFY(lines->text().isEmpty());
  }

  void error_text_ends_in_full_stop() {
    struct Row { const char* message; const char* shown; };
    const Row rows[] = {{"Floating point overflow", "Floating point overflow."},
                        {"Ends here.", "Ends here."}};
    for (const Row& r : rows) {
      errors.clear();
      ControlSync::instance().run([&r] { throw veltrano::Error(r.message); });
      QCOMPARE(errors, QStringList{r.shown});
    }
  }

  void clear_data_empties_memo() {
    auto* memo = control<QPlainTextEdit>("inputdata");
    memo->setPlainText("1\n2\n3");
    control<QPushButton>("cleardata")->click();
    QVERIFY(memo->toPlainText().isEmpty());
    QCOMPARE(veltrano::form1.inputdata.count(), 0);
  }

  void load_data_line_ends() {
    QTemporaryDir dir;
    struct Row { const char* name; QByteArray bytes; };
    const Row rows[] = {
        {"crlf.txt", "1.5\r\n2\r\n3\r\n"},
        {"lf.txt", "1.5\n2\n3"},
        {"cr.txt", "1.5\r2\r3\r"},
    };
    auto* memo = control<QPlainTextEdit>("inputdata");
    for (const Row& r : rows) {
      const QString path = dir.filePath(r.name);
      QVERIFY(write_file(path, r.bytes));
      memo->setPlainText("old");
      with_modal([this] { control<QPushButton>("loaddatabutton")->click(); },
                 [path](QWidget* modal) {
                   auto* dialog = qobject_cast<QFileDialog*>(modal);
                   QVERIFY(dialog);
                   QCOMPARE(dialog->nameFilters(), QStringList{"Cam Text Files (*.txt)"});
                   dialog->selectFile(path);
                   static_cast<QDialog*>(dialog)->accept();  // public there
                 });
      QCOMPARE(memo_lines(memo), (QStringList{"1.5", "2", "3"}));
      QCOMPARE(veltrano::form1.inputdata.count(), 3);
    }
    QVERIFY(errors.isEmpty());
  }

  void load_data_cancel_and_missing_file() {
    auto* memo = control<QPlainTextEdit>("inputdata");
    memo->setPlainText("7\n8");
    with_modal([this] { control<QPushButton>("loaddatabutton")->click(); },
               [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    QCOMPARE(memo->toPlainText(), QStringLiteral("7\n8"));
    QVERIFY(errors.isEmpty());

    QTemporaryDir dir;
    const QString missing = dir.filePath("gone.txt");
    window->load_lift_data(missing);
    QCOMPARE(errors, QStringList{"Cannot open file " + missing + "."});
    QCOMPARE(memo->toPlainText(), QStringLiteral("7\n8"));
    QCOMPARE(veltrano::form1.inputdata.count(), 2);
  }

  // Junk and huge files load without crash or hang; the calculation then
  // refuses them with a message.
  void load_data_junk_and_huge_files() {
    QTemporaryDir dir;
    std::mt19937 random(20240);
    QByteArray junk(1 << 20, '\0');
    for (char& c : junk) c = static_cast<char>(random() & 0xFF);
    QByteArray many;
    for (int i = 0; i < 100000; ++i) many += QByteArray::number(i % 7) + "\r\n";
    struct Row { const char* name; QByteArray bytes; int lines; };
    const Row rows[] = {{"junk.txt", junk, -1}, {"many.txt", many, 100000}};
    for (const Row& r : rows) {
      errors.clear();
      const QString path = dir.filePath(r.name);
      QVERIFY(write_file(path, r.bytes));
      QElapsedTimer clock;
      clock.start();
      window->load_lift_data(path);
      QVERIFY(errors.isEmpty());
      const int count = veltrano::form1.inputdata.count();
      if (r.lines >= 0) QCOMPARE(count, r.lines);
      QVERIFY(count > 0);
      QCOMPARE(control<QPlainTextEdit>("inputdata")->blockCount(), count);
      control<QPushButton>("calculate_lobe")->click();
      QCOMPARE(errors.size(), 1);
      QVERIFY2(clock.elapsed() < 20000, r.name);
    }
  }

  void setup_buttons_open_their_dialogs() {
    struct Row { const char* button; const char* dialog; };
    const Row rows[] = {{"flat_follower_setup", "TForm4"},
                        {"roller_follower_setup", "TForm5"},
                        {"finger_follower_A_setup", "TForm2"},
                        {"finger_follower_B_setup", "TForm3"}};
    for (const Row& r : rows) {
      QString shown;
      with_modal([&] { control<QPushButton>(r.button)->click(); },
                 [&shown](QWidget* modal) {
                   shown = modal->metaObject()->className();
                   QVERIFY(modal->isModal());
                   qobject_cast<QDialog*>(modal)->reject();
                 });
      QCOMPARE(shown, QString::fromLatin1(r.dialog));
    }
  }

  // The surface widget paints the core's buffer itself, afresh on every paint:
  // all black at start; after a calculation the red base circle (radius 14 mm
  // at zoom 10, so 140 pixels above the centre at 375, 400, where the lobe
  // does not reach) and the white contour (at the base radius on the
  // opposite side of the lobe).
  void surface_shows_the_buffer() {
    auto* view = control<SurfaceView>("pbox1");
    QCOMPARE(view->image().constBits(), reinterpret_cast<const uchar*>(veltrano::surface_pixels));
    QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage black(750, 750, QImage::Format_RGB32);
    black.fill(Qt::black);
    QCOMPARE(shown, black);

    control<QPlainTextEdit>("inputdata")->setPlainText(parabola_lift());
    control<QPushButton>("calculate_lobe")->click();
    shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, view->image());
    QCOMPARE(shown.pixel(375, 260), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(375, 540), qRgb(255, 255, 255));
  }

  void decimal_separator_from_locale() {
    struct Row { QLocale locale; char separator; };
    const Row rows[] = {{QLocale(QLocale::German, QLocale::Germany), ','},
                        {QLocale(QLocale::English, QLocale::UnitedStates), '.'},
                        {QLocale(QLocale::Arabic, QLocale::Egypt), '.'}};  // not ASCII
    for (const Row& r : rows) QCOMPARE(decimal_separator_of(r.locale), r.separator);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
