// The text that tells the owner, after an unlock, how many wrong passwords
// were typed during the lock and when the last one was. No windows.h: tested
// on the build host.
#ifndef TETHRA_LOCK_WRONGPASSWORDNOTICE_H
#define TETHRA_LOCK_WRONGPASSWORDNOTICE_H

#include <cstddef>

#include "fw/Time.h"

// pattern comes from the string table: "%1" stands for the count (not
// negative), "%2" for the local date and time of the last wrong password ("2026-03-05 14:07:09";
// "?" when lastKnown is false); "%%" for a percent sign. The text goes to
// out (outSize bytes, at least 1), terminated, cut where it would not fit.
void FormatWrongPasswordNotice(const char* pattern, int count, const LocalDateTime& last, bool lastKnown, char* out,
                               size_t outSize);

#endif
