#include "startup.h"

#include <QLocale>
#include <QString>

char decimal_separator_of(const QLocale& locale) {
  const QString point = locale.decimalPoint();
  if (point.size() != 1) return '.';
  const char16_t c = point[0].unicode();
  if (c <= u' ' || c >= 0x7F || (c >= u'0' && c <= u'9')) return '.';
  return static_cast<char>(c);
}
