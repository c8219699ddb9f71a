#pragma once

#include <QString>

#include <functional>

// The application's default error report: what the operator sees of a failure that no handler
// caught, after which the message loop goes on.

// The executable's file name without folder, cut at its first '.', every character after the
// first in small letters: "TAVREL.EXE" gives "Tavrel".
QString ApplicationTitle(const QString& executablePath);

// The failure's text with a full stop appended when its last character's code is above '.'.
QString ReportText(const QString& failure);

// A modal error box captioned with the running executable's title.
void ReportFailure(const QString& failure);

// Runs a window handler and reports whatever it throws, so no exception crosses a Qt frame.
void Guarded(const std::function<void()>& handler);
