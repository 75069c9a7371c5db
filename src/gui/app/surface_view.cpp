#include "surface_view.h"

#include <QPainter>
#include <QPaintEvent>

#include "control_sync.h"
#include "view/surface.h"

SurfaceView::SurfaceView(QWidget* parent)
    : QWidget(parent),
      // The const constructor keeps the image read-only, so Qt never detaches
      // it into a private copy: it always shows what the core drew last.
      image_(reinterpret_cast<const uchar*>(veltrano::surface_pixels), veltrano::kSurfaceSize,
             veltrano::kSurfaceSize, veltrano::kSurfaceSize * 4, QImage::Format_RGB32) {
  setFixedSize(veltrano::kSurfaceSize, veltrano::kSurfaceSize);
  // Every pixel is painted from the buffer; nothing behind needs drawing.
  setAttribute(Qt::WA_OpaquePaintEvent);
  connect(&ControlSync::instance(), &ControlSync::surfaceChanged, this,
          qOverload<>(&QWidget::update));
}

void SurfaceView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect r = event->rect();
  painter.drawImage(r.topLeft(), image_, r);
}
