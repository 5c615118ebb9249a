#pragma once

#include <QString>

class EKRecurrenceRule;

// A rule in words, for rules the full editor's list of repetitions cannot express, such as
// "Every month on the second Tuesday" or "Every week on Monday and Friday, 10 times".
namespace RecurrenceDescription {

QString describe(const EKRecurrenceRule& rule);

} // namespace RecurrenceDescription
