// The drawing surface `pbox1`: shows the core's 750 x 750 pixel buffer as it
// is, through an image over the same memory. Every paint reads the buffer, so
// the picture survives being covered and uncovered; the calculations repaint
// it through ControlSync::surfaceChanged.
#pragma once

#include <QImage>
#include <QWidget>

class SurfaceView : public QWidget {
  Q_OBJECT
 public:
  explicit SurfaceView(QWidget* parent = nullptr);

  // The buffer as an image, without a copy.
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};
