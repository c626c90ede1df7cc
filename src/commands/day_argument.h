// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

#include <optional>

class DayCalendar;

// The day a command names: "today", "yesterday", "tomorrow", a date
// "YYYY-MM-DD", or "+N" / "-N" days from today.
namespace DayArgument {

// What the forms are, for messages.
QString forms();

// Whether the text has one of the forms; it may still name a day beyond the
// calendar.
bool isWellFormed(const QString &text);

// The start of the day named, with today the day of the calendar that
// contains now. Days are stepped as the panel steps them (a date the zone
// skipped is stepped over); a date the zone skipped gives the next one. None
// for text of no form and for a day beyond the calendar.
std::optional<double> resolve(const QString &text, const DayCalendar &calendar, double now);

} // namespace DayArgument
