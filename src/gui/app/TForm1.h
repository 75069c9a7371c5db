// The main window: every control at its fixed place, bound to the core's
// control state `veltrano::form1`, and the handlers of its small actions. Each
// handler runs the core handler of the same name through ControlSync.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

#include "model/controls.h"

class QButtonGroup;
class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SpinEditWidget;
class SurfaceView;
class TForm2;
class TForm3;
class TForm4;
class TForm5;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // False when FormCreate ended with an error (already shown).
  bool created() const { return created_; }

  // The follower setup dialogs, created after the main window.
  void set_setup_dialogs(TForm2* finger_a, TForm3* finger_b, TForm4* flat, TForm5* roller);

  // Replaces the lift memo by the lines of a file; errors go to the error box.
  void load_lift_data(const QString& path);
  // The file-open dialog of "Load data", made on first use.
  QFileDialog* open1();
  QFileDialog* save1();
  // What "Save raw coordinates" and "Save cor. coordinates" do with the name
  // chosen in the save dialog.
  void save_raw_coordinates(const QString& chosen);
  void save_corrected_coordinates(const QString& chosen);

  // Inputs and actions, left column and below the surface.
  QPlainTextEdit* inputdata;
  QPushButton* convert_inch_button;
  QPushButton* loaddatabutton;
  QPushButton* cleardata;
  QPushButton* calculate_lobe;
  SpinEditWidget* rotate;
  QCheckBox* deg10step;
  QCheckBox* autoupdate;
  SpinEditWidget* zoomfactor;
  QCheckBox* repaintchk;
  QPushButton* flat_follower_setup;
  QPushButton* roller_follower_setup;
  QPushButton* finger_follower_A_setup;
  QPushButton* finger_follower_B_setup;
  QCheckBox* clockwiserotation;
  QGroupBox* type_select;
  QButtonGroup* type_select_items;
  QCheckBox* drawencirclement;
  SpinEditWidget* X_move;
  SpinEditWidget* Y_move;

  // Drawing surface.
  QFrame* Panel1;
  SurfaceView* pbox1;

  // Results and coordinate output, right column.
  QFrame* Panel3;
  QLineEdit* liftedit;
  QLineEdit* flatdistedit;
  QLineEdit* flatdistdiamedit;
  QLineEdit* attackangleedit;
  QFrame* Panel2;
  QGroupBox* XYspacing;
  QButtonGroup* XYspacing_items;
  QGroupBox* dividersign;
  QButtonGroup* dividersign_items;
  SpinEditWidget* smoothres;
  QPushButton* genXYcoord;
  QCheckBox* addZcoord;
  QCheckBox* radiuscalc;
  QCheckBox* adddegreenumbers;
  QPlainTextEdit* XYcoordinates;
  QLineEdit* calclines;
  QCheckBox* subtractbasecircle;
  QPlainTextEdit* XYequalcoordinates;
  QPushButton* XYclear;
  QPushButton* drawcorrectedcoords;
  QFrame* Panel4;
  QPushButton* findcircle;
  SpinEditWidget* findcirclespin;
  QLineEdit* circleradius;
  QCheckBox* savedxf;
  QPushButton* saveraw;
  QPushButton* savecor;

 public slots:
  void calculate_lobeClick();
  void rotateChange();
  void deg10stepClick();
  void type_selectClick();
  void dividersignClick();
  void loaddatabuttonClick();
  void cleardataClick();
  void convert_inch_buttonClick();
  void flat_follower_setupClick();
  void roller_follower_setupClick();
  void finger_follower_setup_A_Click();
  void finger_follower_B_setupClick();
  void XYclearClick();
  void genXYcoordClick();
  void saverawClick();
  void savecorClick();
  void drawcorrectedcoordsClick();
  void findcircleClick();

 private:
  void build_left_column();
  void build_surface();
  void build_right_column();
  void connect_handlers();

  QLabel* add_label(const QString& text, int left, int top);
  QPushButton* add_button(const char* name, const QString& caption, QRect place,
                          bool bold = false);
  QCheckBox* add_check(const char* name, const QString& caption, QRect place, bool* state);
  SpinEditWidget* add_spin(const char* name, QRect place, veltrano::SpinEdit* field);
  QLineEdit* add_line(const char* name, QRect place, std::string* text);
  QPlainTextEdit* add_list(const char* name, QRect place, veltrano::TextList* lines);
  QGroupBox* add_radio_group(const char* name, const QString& caption, QRect place,
                             const QStringList& items, int* selected, QButtonGroup** group);
  QFrame* add_bar(const char* name, QRect place);

  TForm2* form2_ = nullptr;
  TForm3* form3_ = nullptr;
  TForm4* form4_ = nullptr;
  TForm5* form5_ = nullptr;
  QFileDialog* open1_ = nullptr;
  QFileDialog* save1_ = nullptr;
  bool created_ = false;
};

// The window's text font, and its bold 10-point font for the main buttons.
QFont main_window_font();
QFont main_window_bold_font();
