#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Veltrano            version 2.0.1");
  window.show();
  return app.exec();
}
