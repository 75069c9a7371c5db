// What start-up takes from the system before the first window is made.
#pragma once

class QLocale;

// The decimal separator of `locale` as the number parser can use it: its one
// ASCII character, or the point when the locale writes something else.
char decimal_separator_of(const QLocale& locale);
