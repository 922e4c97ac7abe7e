// The zone the host tests' local-time code reads in place of the system's.
#ifndef TETHRA_TESTS_TESTTIMEZONE_H
#define TETHRA_TESTS_TESTTIMEZONE_H

#include "fw/LocalTime.h"

// UTC, China (no daylight saving), US Eastern under its 1987-2006 rule
// (first Sunday of April to last Sunday of October), Sydney (first Sunday
// of October to first Sunday of April).
TimeZoneRules UtcZone();
TimeZoneRules ChinaZone();
TimeZoneRules UsEastern1987Zone();
TimeZoneRules SydneyZone();

// What SystemTimeZone() returns until the next call; UTC to begin with.
void SetTestTimeZone(const TimeZoneRules& zone);

#endif
