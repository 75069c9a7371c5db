#include "TForm1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstddef>
#include <type_traits>

#include "app/calculate.h"
#include "app/handlers.h"
#include "output/coordinate_files.h"
#include "output/corrected_tools.h"
#include "control_sync.h"
#include "dialogs/Flatfollower.h"
#include "dialogs/Followerdata.h"
#include "dialogs/Followerdata_b.h"
#include "dialogs/Rollerfollower.h"
#include "spin_edit_widget.h"
#include "surface_view.h"

using veltrano::form1;

namespace {
// The client area: the outer size of 1299 x 795 less a typical frame (8 pixels
// at the sides and the bottom, 31 for the caption bar).
constexpr int kClientWidth = 1299 - 16;
constexpr int kClientHeight = 795 - 39;
}  // namespace

// Pixel sizes rather than points: the layout is in pixels, so the text must
// not grow with the screen's text scaling. The condensed face keeps every
// caption inside the widths the layout gives it, as the classic 8-point face
// did.
QFont main_window_font() {
  QFont font(QStringLiteral("DejaVu Sans Condensed"));
  font.setPixelSize(11);
  return font;
}

QFont main_window_bold_font() {
  QFont font = main_window_font();
  font.setBold(true);
  font.setPixelSize(13);  // 10 points at 96 dots per inch
  return font;
}

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Veltrano            version 2.0.1"));
  setFont(main_window_font());
  resize(kClientWidth, kClientHeight);

  build_left_column();
  build_surface();
  build_right_column();
  connect_handlers();

  created_ = ControlSync::instance().run(veltrano::FormCreate);
}

TForm1::~TForm1() { ControlSync::instance().unbind_all(this); }

void TForm1::set_setup_dialogs(TForm2* finger_a, TForm3* finger_b, TForm4* flat,
                               TForm5* roller) {
  form2_ = finger_a;
  form3_ = finger_b;
  form4_ = flat;
  form5_ = roller;
}

// ---- building blocks -------------------------------------------------------

QLabel* TForm1::add_label(const QString& text, int left, int top) {
  auto* label = new QLabel(text, this);
  label->move(left, top);
  label->adjustSize();
  // The captions keep their trailing blanks, but the blanks take no room:
  // "Zoom factor  " would otherwise reach under the "Repaint " box.
  QString visible = text;
  while (visible.endsWith(u' ')) visible.chop(1);
  label->resize(label->fontMetrics().horizontalAdvance(visible) + 1, label->height());
  return label;
}

namespace {
// A control of kind W at its place, named, bound to `state` when there is one.
template <class W, class State = std::nullptr_t>
W* placed(QWidget* parent, const char* name, QRect place, State* state = nullptr) {
  auto* widget = new W(parent);
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(place);
  if constexpr (!std::is_same_v<State, std::nullptr_t>) ControlSync::instance().bind(widget, state);
  return widget;
}
}  // namespace

QPushButton* TForm1::add_button(const char* name, const QString& caption, QRect place,
                                bool bold) {
  auto* button = placed<QPushButton>(this, name, place);
  button->setText(caption);
  button->setAutoDefault(false);
  if (bold) button->setFont(main_window_bold_font());
  return button;
}

QCheckBox* TForm1::add_check(const char* name, const QString& caption, QRect place,
                             bool* state) {
  auto* check = placed<QCheckBox>(this, name, place, state);
  check->setText(caption);
  return check;
}

SpinEditWidget* TForm1::add_spin(const char* name, QRect place, veltrano::SpinEdit* field) {
  return placed<SpinEditWidget>(this, name, place, field);
}

QLineEdit* TForm1::add_line(const char* name, QRect place, std::string* text) {
  return placed<QLineEdit>(this, name, place, text);
}

QPlainTextEdit* TForm1::add_list(const char* name, QRect place, veltrano::TextList* lines) {
  auto* list = placed<QPlainTextEdit>(this, name, place);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ControlSync::instance().bind(list, lines);
  return list;
}

// A radio group laid out as the classic toolkit lays out its radio groups: the
// items in one column inside the frame, each in an equal slot, its text
// centred in the slot. The frame is where this style draws it, below the
// caption rather than through it, so the slots start a few pixels lower.
QGroupBox* TForm1::add_radio_group(const char* name, const QString& caption, QRect place,
                                   const QStringList& items, int* selected,
                                   QButtonGroup** group) {
  auto* box = placed<QGroupBox>(this, name, place);
  box->setTitle(caption);
  auto* buttons = new QButtonGroup(box);
  buttons->setObjectName(QLatin1String(name) + QStringLiteral("_items"));
  box->ensurePolished();
  const QRect inside = box->contentsRect();
  const int n = static_cast<int>(items.size());
  const int slot = inside.height() / n;
  const int top = inside.top() + (inside.height() % n) / 2;
  for (int i = 0; i < n; ++i) {
    auto* button = new QRadioButton(items[i], box);
    button->setGeometry(inside.left(), top + i * slot, inside.width(), slot);
    buttons->addButton(button, i);
  }
  ControlSync::instance().bind(buttons, selected);
  *group = buttons;
  return box;
}

// A thin raised silver bar between the result blocks.
QFrame* TForm1::add_bar(const char* name, QRect place) {
  auto* bar = placed<QFrame>(this, name, place);
  bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
  bar->setAutoFillBackground(true);
  QPalette p = bar->palette();
  p.setColor(QPalette::Window, QColor(192, 192, 192));
  bar->setPalette(p);
  return bar;
}

// ---- the controls ----------------------------------------------------------

void TForm1::build_left_column() {
  add_label(QStringLiteral("Paste/Load 0.1 degree Lift data "), 27, 6);
  inputdata = add_list("inputdata", QRect(24, 24, 166, 97), &form1.inputdata);
  convert_inch_button =
      add_button("convert_inch_button", QStringLiteral("Convert Inch to mm."), {8, 129, 200, 25});
  loaddatabutton = add_button("loaddatabutton", QStringLiteral("Load data"), {8, 162, 80, 25});
  cleardata = add_button("cleardata", QStringLiteral("Clear data"), {128, 162, 80, 25});
  calculate_lobe = add_button("calculate_lobe", QStringLiteral("Calculate Cam lobe"),
                              {8, 195, 200, 34}, true);

  rotate = add_spin("rotate", {9, 240, 65, 21}, &form1.rotate);
  add_label(QStringLiteral("Rotate Cam "), 78, 243);
  deg10step = add_check("deg10step", QStringLiteral("10 D. step"), {141, 244, 72, 17},
                        &form1.deg10step);
  autoupdate = add_check("autoupdate", QStringLiteral("Auto upd."), {141, 260, 70, 17},
                         &form1.autoupdate);
  zoomfactor = add_spin("zoomfactor", {9, 273, 65, 21}, &form1.zoomfactor);
  add_label(QStringLiteral("Zoom factor  "), 78, 276);
  repaintchk = add_check("repaintchk", QStringLiteral("Repaint "), {140, 276, 65, 17},
                         &form1.repaintchk);

  flat_follower_setup = add_button("flat_follower_setup", QStringLiteral("Setup Flat Follower"),
                                   {8, 303, 200, 34});
  roller_follower_setup = add_button(
      "roller_follower_setup", QStringLiteral("Setup Roller Follower"), {8, 342, 200, 34});
  finger_follower_A_setup =
      add_button("finger_follower_A_setup", QStringLiteral("Setup Finger Follower type A spec."),
                 {8, 384, 200, 34});
  finger_follower_B_setup =
      add_button("finger_follower_B_setup", QStringLiteral("Setup Finger Follower type B spec."),
                 {8, 426, 200, 34});
  clockwiserotation = add_check("clockwiserotation", QStringLiteral("Clock wise rotating Cam"),
                                {9, 474, 178, 17}, &form1.clockwiserotation);

  type_select = add_radio_group(
      "type_select", QStringLiteral("Follower type "), {9, 504, 199, 193},
      {QStringLiteral("Flat Tappet"), QStringLiteral("Roller Follower"),
       QStringLiteral("Finger Follower type A"), QStringLiteral("Finger Follower type B"),
       QStringLiteral("Knife edge Follower")},
      &form1.type_select, &type_select_items);
  // Lies over the lower part of the follower group, between the two finger
  // items; made after the group, so it stays on top of it. Wider than the
  // classic 109 pixels so that its caption is not cut.
  drawencirclement = add_check("drawencirclement", QStringLiteral("Draw encirclement "),
                               {88, 615, 118, 17}, &form1.drawencirclement);

  add_label(QStringLiteral("Move Screen X / Y offset "), 48, 709);
  add_label(QStringLiteral("X"), 12, 732);
  X_move = add_spin("X_move", {27, 729, 60, 21}, &form1.X_move);
  add_label(QStringLiteral("Y"), 132, 732);
  Y_move = add_spin("Y_move", {147, 729, 60, 21}, &form1.Y_move);
}

void TForm1::build_surface() {
  Panel1 = placed<QFrame>(this, "Panel1", {216, 3, 760, 750});
  Panel1->setAutoFillBackground(true);
  QPalette p = Panel1->palette();
  p.setColor(QPalette::Window, Qt::black);
  Panel1->setPalette(p);
  pbox1 = new SurfaceView(Panel1);
  pbox1->setObjectName(QStringLiteral("pbox1"));
  pbox1->move(6, 3);
}

void TForm1::build_right_column() {
  Panel3 = add_bar("Panel3", {990, 36, 274, 7});
  liftedit = add_line("liftedit", {990, 51, 65, 21}, &form1.liftedit);
  add_label(QStringLiteral("Lift "), 1062, 54);
  flatdistedit = add_line("flatdistedit", {990, 84, 65, 21}, &form1.flatdistedit);
  add_label(QStringLiteral("Flat Tappet contact radius "), 1062, 87);
  flatdistdiamedit = add_line("flatdistdiamedit", {990, 108, 65, 21}, &form1.flatdistdiamedit);
  add_label(QStringLiteral("Flat Tappet contact diameter"), 1062, 111);
  attackangleedit = add_line("attackangleedit", {990, 141, 65, 21}, &form1.attackangleedit);
  add_label(QStringLiteral("Roller Follower pressure angle "), 1062, 144);
  Panel2 = add_bar("Panel2", {990, 165, 274, 7});

  XYspacing = add_radio_group(
      "XYspacing", QStringLiteral("X - Y coords / Radius degree steps "), {990, 177, 187, 104},
      {QStringLiteral("1 Degree"), QStringLiteral("0.5 Degree"), QStringLiteral("0.1 Degree"),
       QStringLiteral("Raw unequal Degree spacing")},
      &form1.XYspacing, &XYspacing_items);
  dividersign =
      add_radio_group("dividersign", QStringLiteral("Divider"), {1184, 177, 81, 57},
                      {QStringLiteral("Comma"), QStringLiteral("Dot")}, &form1.dividersign,
                      &dividersign_items);
  add_label(QStringLiteral("Smoothing  "), 1196, 240);
  smoothres = add_spin("smoothres", {1196, 256, 53, 21}, &form1.smoothres);

  genXYcoord = add_button("genXYcoord", QStringLiteral("Generate XY coordinates"),
                          {990, 284, 274, 29}, true);
  addZcoord = add_check("addZcoord", QStringLiteral("Add 0.0 Z coordinate "),
                        {990, 318, 133, 17}, &form1.addZcoord);
  radiuscalc = add_check("radiuscalc", QStringLiteral("Gen. corr. radius values"),
                         {1125, 318, 142, 17}, &form1.radiuscalc);
  adddegreenumbers = add_check("adddegreenumbers", QStringLiteral("Add Degree numbers"),
                               {1125, 342, 142, 17}, &form1.adddegreenumbers);
  add_label(QStringLiteral("Raw coordinates :"), 990, 345);
  XYcoordinates = add_list("XYcoordinates", {990, 363, 280, 102}, &form1.XYcoordinates);

  add_label(QStringLiteral("Corrected coordinates : "), 990, 473);
  calclines = add_line("calclines", {1134, 471, 52, 21}, &form1.calclines);
  add_label(QStringLiteral("Lines calculated"), 1187, 474);
  subtractbasecircle =
      add_check("subtractbasecircle",
                QStringLiteral("Subtract base Circle radius  from radius Values "),
                {992, 496, 253, 17}, &form1.subtractbasecircle);
  XYequalcoordinates =
      add_list("XYequalcoordinates", {990, 520, 278, 93}, &form1.XYequalcoordinates);

  XYclear = add_button("XYclear", QStringLiteral("Clear XY Coordinates"), {993, 618, 130, 25});
  drawcorrectedcoords = add_button("drawcorrectedcoords", QStringLiteral("Draw Corrected coord."),
                                   {1134, 618, 130, 25});
  Panel4 = placed<QFrame>(this, "Panel4", {993, 650, 270, 2});
  Panel4->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  findcircle = add_button("findcircle", QStringLiteral("Find Cam Radius at:"), {993, 660, 130, 25});
  findcirclespin = add_spin("findcirclespin", {1132, 662, 53, 21}, &form1.findcirclespin);
  circleradius = add_line("circleradius", {1188, 662, 77, 21}, &form1.circleradius);
  savedxf = add_check("savedxf", QStringLiteral("Also save in .DXF "), {1134, 708, 124, 17},
                      &form1.savedxf);
  saveraw = add_button("saveraw", QStringLiteral("Save raw coordinates"), {993, 726, 130, 25});
  savecor = add_button("savecor", QStringLiteral("Save cor. coordinates"), {1134, 726, 130, 25});
}

void TForm1::connect_handlers() {
  connect(calculate_lobe, &QPushButton::clicked, this, &TForm1::calculate_lobeClick);
  connect(rotate, &SpinEditWidget::changed, this, &TForm1::rotateChange);
  connect(deg10step, &QCheckBox::clicked, this, &TForm1::deg10stepClick);
  connect(type_select_items, &QButtonGroup::idClicked, this, &TForm1::type_selectClick);
  connect(dividersign_items, &QButtonGroup::idClicked, this, &TForm1::dividersignClick);
  connect(loaddatabutton, &QPushButton::clicked, this, &TForm1::loaddatabuttonClick);
  connect(cleardata, &QPushButton::clicked, this, &TForm1::cleardataClick);
  connect(convert_inch_button, &QPushButton::clicked, this, &TForm1::convert_inch_buttonClick);
  connect(flat_follower_setup, &QPushButton::clicked, this, &TForm1::flat_follower_setupClick);
  connect(roller_follower_setup, &QPushButton::clicked, this,
          &TForm1::roller_follower_setupClick);
  connect(finger_follower_A_setup, &QPushButton::clicked, this,
          &TForm1::finger_follower_setup_A_Click);
  connect(finger_follower_B_setup, &QPushButton::clicked, this,
          &TForm1::finger_follower_B_setupClick);
  connect(XYclear, &QPushButton::clicked, this, &TForm1::XYclearClick);
  connect(genXYcoord, &QPushButton::clicked, this, &TForm1::genXYcoordClick);
  connect(saveraw, &QPushButton::clicked, this, &TForm1::saverawClick);
  connect(savecor, &QPushButton::clicked, this, &TForm1::savecorClick);
  connect(drawcorrectedcoords, &QPushButton::clicked, this, &TForm1::drawcorrectedcoordsClick);
  connect(findcircle, &QPushButton::clicked, this, &TForm1::findcircleClick);
  connect(findcirclespin, &SpinEditWidget::changed, this, &TForm1::findcircleClick);
}

// ---- handlers --------------------------------------------------------------

void TForm1::calculate_lobeClick() { ControlSync::instance().run(veltrano::calculate_lobeClick); }
void TForm1::rotateChange() { ControlSync::instance().run(veltrano::rotateChange); }
void TForm1::deg10stepClick() { ControlSync::instance().run(veltrano::deg10stepClick); }
void TForm1::type_selectClick() { ControlSync::instance().run(veltrano::type_selectClick); }
void TForm1::dividersignClick() { ControlSync::instance().run(veltrano::dividersignClick); }
void TForm1::cleardataClick() { ControlSync::instance().run(veltrano::cleardataClick); }
void TForm1::convert_inch_buttonClick() {
  ControlSync::instance().run(veltrano::convert_inch_buttonClick);
}
void TForm1::XYclearClick() { ControlSync::instance().run(veltrano::XYclearClick); }
void TForm1::genXYcoordClick() { ControlSync::instance().run(veltrano::genXYcoordClick); }
void TForm1::drawcorrectedcoordsClick() {
  ControlSync::instance().run(veltrano::drawcorrectedcoordsClick);
}
void TForm1::findcircleClick() { ControlSync::instance().run(veltrano::findcircleClick); }

QFileDialog* TForm1::open1() {
  if (!open1_) {
    open1_ = new QFileDialog(this);
    open1_->setObjectName(QStringLiteral("open1"));
    open1_->setFileMode(QFileDialog::ExistingFile);
    open1_->setAcceptMode(QFileDialog::AcceptOpen);
  }
  return open1_;
}

void TForm1::loaddatabuttonClick() {
  QFileDialog* dialog = open1();
  dialog->setNameFilter(QStringLiteral("Cam Text Files (*.txt)"));
  const int answer = dialog->exec();
  // A file name typed fast and confirmed with Return can leave the name
  // completer's popup open after the dialog has gone; it would swallow the
  // next clicks on this window.
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  if (answer != QDialog::Accepted) return;
  const QStringList files = dialog->selectedFiles();
  if (files.isEmpty()) return;
  load_lift_data(files.first());
}

QFileDialog* TForm1::save1() {
  if (!save1_) {
    save1_ = new QFileDialog(this);
    save1_->setObjectName(QStringLiteral("save1"));
    save1_->setFileMode(QFileDialog::AnyFile);
    save1_->setAcceptMode(QFileDialog::AcceptSave);
    // The extensions are added by the program itself; replacing a file needs
    // no question, as the earlier file survives any failed save.
    save1_->setOption(QFileDialog::DontConfirmOverwrite);
  }
  return save1_;
}

namespace {
// The name the user chose in a save dialog, or empty when cancelled.
QString chosen_save_name(QFileDialog* dialog, const QString& filter) {
  dialog->setNameFilter(filter);
  const int answer = dialog->exec();
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  if (answer != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().first();
}
}  // namespace

void TForm1::saverawClick() {
  const QString chosen = chosen_save_name(save1(), QStringLiteral("Cam raw coordinate Files (*.txt)"));
  if (!chosen.isEmpty()) save_raw_coordinates(chosen);
}

void TForm1::savecorClick() {
  const QString chosen =
      chosen_save_name(save1(), QStringLiteral("Cam corrected coordinates/Radius Files (*.txt)"));
  if (!chosen.isEmpty()) save_corrected_coordinates(chosen);
}

void TForm1::save_raw_coordinates(const QString& chosen) {
  const std::string name = QFile::encodeName(chosen).toStdString();
  ControlSync::instance().run([&name] { veltrano::saverawClick(name); });
}

void TForm1::save_corrected_coordinates(const QString& chosen) {
  const std::string name = QFile::encodeName(chosen).toStdString();
  bool dxf_saved = true;
  ControlSync::instance().run([&] { dxf_saved = veltrano::savecorClick(name); });
  if (!dxf_saved)
    ControlSync::instance().show_box(QStringLiteral("File error"), QStringLiteral("Cannot save file"));
}

void TForm1::load_lift_data(const QString& path) {
  const std::string name = QFile::encodeName(path).toStdString();
  ControlSync::instance().run([&name] { veltrano::load_lift_file(name); });
}

namespace {
// A setup dialog is modal: its own handlers run through ControlSync while it
// is open, so it is not itself wrapped in one.
void show_modal(QDialog* dialog) {
  if (dialog) dialog->exec();
}
}  // namespace

void TForm1::flat_follower_setupClick() { show_modal(form4_); }
void TForm1::roller_follower_setupClick() { show_modal(form5_); }
void TForm1::finger_follower_setup_A_Click() { show_modal(form2_); }
void TForm1::finger_follower_B_setupClick() { show_modal(form3_); }
